// The join window: the part detection and the selection in join mode, then the join itself, its
// refusals and its failures.
#include "join/AppendCopy.h"
#include "join/JoinScript.h"
#include "platform/RuntimeError.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

using Names = std::vector<std::string>;

Names selectedItems(FileList& list) {
    Names out;
    for (int i = 0; i < list.count(); ++i)
        if (list.selected(i))
            out.push_back(list.item(i));
    return out;
}

MainWindow& startAmong(TestApp& app, const std::string& folder, const Names& names) {
    for (const std::string& n : names)
        app.drives.write(folder + "\\" + n, "x");
    return app.startIn(folder);
}

TEST(JoinTest, TheRunStopsAtAMissingNumberAndKeepsTheBaseNameOfItsPartZero) {
    struct Case {
        Names files;
        Names found;
        std::string base;
    };
    // A thousand parts; after 999 the expected number is 000 again, and the next set's 000 is
    // another set's all the same.
    Names thousandFound;
    for (int i = 0; i < 1000; ++i)
        thousandFound.push_back("p." + std::to_string(1000 + i).substr(1));
    Names thousandFiles = thousandFound;
    thousandFiles.insert(thousandFiles.end(), {"q.000", "q.001"});
    const Case cases[] = {
        {{"a.avi", "a.avi.000", "a.avi.001", "a.avi.002", "leggimi.txt"},
         {"a.avi.000", "a.avi.001", "a.avi.002"},
         "a.avi"},
        {{"f.000", "f.001", "f.003"}, {"f.000", "f.001"}, "f"},
        {{"x.000", "x.001", "y.000", "y.001"}, {"x.000", "x.001"}, "x"},
        // The next number under another name is another set's part, passed over as any other name.
        {{"x.bin.000", "x.bin.001", "y.bin.000", "y.bin.001", "y.bin.002", "y.bin.003"},
         {"x.bin.000", "x.bin.001"},
         "x.bin"},
        {{"a.000", "b.001", "c.002", "a.001"}, {"a.000", "a.001"}, "a"},
        {thousandFiles, thousandFound, "p"},
        // The last four characters go, whatever they are, counted as characters.
        {{"backup2000", "note.txt"}, {"backup2000"}, "backup"},
        {{"filmè000", "filmè001"}, {"filmè000", "filmè001"}, "film"},
        // A part that is only its number has no base name to propose, and the run goes on.
        {{"000", "001", "002"}, {"000", "001", "002"}, ""},
    };
    for (const Case& c : cases) {
        TestApp app;
        MainWindow& m = startAmong(app, "c:\\serie", c.files);
        enterJoinMode(app.desktop, m, static_cast<int>(c.found.size()));
        EXPECT_EQ(selectedItems(m.File2), c.found) << c.files[0];
        EXPECT_EQ(m.Label5.caption(), std::to_string(c.found.size())) << c.files[0];
        EXPECT_EQ(m.nomebase, c.base) << c.files[0];
    }
}

TEST(JoinTest, TheCounterFollowsTheUserAndAFolderChangeRepeatsTheDetection) {
    TestApp app;
    app.drives.makeFolders("c:\\altro");
    MainWindow& m = startAmong(app, "c:\\parti", {"a.avi.000", "a.avi.001", "a.avi.002", "b.txt"});
    clickFile(m, "b.txt");
    enterJoinMode(app.desktop, m, 3);
    EXPECT_EQ(m.pathbar.text(), "c:\\parti") << "the join reads from the folder, not the file picked last";
    m.dir.setPath("c:\\altro");
    EXPECT_EQ(m.Label5.caption(), "0");
    app.desktop.answer(mb::IdOK);
    m.dir.setPath("c:\\parti");
    for (int i : {1, 3})
        m.File2.userClickItem(i);
    EXPECT_EQ(selectedItems(m.File2), (Names{"a.avi.000", "a.avi.002", "b.txt"}));
    EXPECT_EQ(m.Label5.caption(), "3");
}

// The join writes what the user chose, as it was when the list showed it. A chosen file changed
// since (a newer set named there, a rewrite of the same length, a change while it is copied) is
// refused and the detection runs again; a change to a file not chosen, or a selection the user
// made by hand, goes through.
TEST(JoinTest, TheFilesJoinedAreTheChosenOnesAsTheListShowedThem) {
    struct Case {
        const char* label;
        std::function<void(TestApp&)> act; // after the detection, before "Unisci"
        std::string joined;                // what the join writes; empty: refused
        int foundAgain = 0;                // the repeated detection's count, when refused
        bool named = true;                 // whether the name is asked for before that
    };
    const std::string p0 = patternBytes(3000, 1), p1 = patternBytes(3000, 2), p2 = patternBytes(3000, 3);
    const auto rewrite = [](const char* name, unsigned seed) {
        return [name, seed](TestApp& app) {
            app.drives.write(std::string("c:\\serie\\") + name, patternBytes(3000, seed));
        };
    };
    const auto whileRead = [](const char* read, const char* changed) {
        return [read, changed](TestApp& app) {
            app.files.afterRead = [&app, read, changed, done = false](const std::string& path, size_t, size_t) mutable {
                if (!done && path.ends_with(read)) {
                    done = true;
                    app.drives.write(std::string("c:\\serie\\") + changed, patternBytes(3000, 9));
                }
            };
        };
    };
    const Case cases[] = {
        {"a newer split names six parts there",
         [](TestApp& app) {
             for (int i = 0; i < 6; ++i)
                 app.drives.write("c:\\serie\\film.bin.00" + std::to_string(i), patternBytes(2000, 7));
         },
         "", 6, false},
        {"a part rewritten in place to the same length", rewrite("film.bin.001", 8), "", 3, false},
        {"a part that changes while it is copied", whileRead("film.bin.001", "film.bin.001"), "", 3},
        {"a part that changes while the next is copied", whileRead("film.bin.002", "film.bin.000"), "", 3},
        {"a part that changes while the joined file is flushed",
         [](TestApp& app) {
             app.files.beforeSync = [&app](const std::string& path) {
                 if (path.ends_with("unito.bin"))
                     app.drives.write("c:\\serie\\film.bin.001", patternBytes(3000, 9));
             };
         },
         "", 3},
        {"a file not chosen", rewrite("leggimi.txt", 8), p0 + p1 + p2},
        {"the user's own selection",
         [](TestApp& app) {
             for (int i : {2, 3})
                 app.main().File2.userClickItem(i);
         },
         p0 + p1 + "leggimi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestApp app;
        for (const auto& [name, bytes] : {std::pair{"film.bin.000", p0},
                                          {"film.bin.001", p1},
                                          {"film.bin.002", p2},
                                          {"leggimi.txt", std::string("leggimi")}}) {
            app.drives.write(std::string("c:\\serie\\") + name, bytes);
            // Written long ago: a rewrite now shows in the time of writing, however coarse the clock.
            std::filesystem::last_write_time(app.drives.hostFile(std::string("c:\\serie\\") + name),
                                             std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
        }
        MainWindow& m = app.startIn("c:\\serie");
        enterJoinMode(app.desktop, m, 3);
        c.act(app);
        if (c.foundAgain > 0)
            app.desktop.answer(mb::IdOK);
        if (c.named)
            answerName(app.desktop, "unito.bin");
        const size_t boxes = app.desktop.boxes.size();
        m.uniscifile.userClick();
        if (c.joined.empty()) {
            EXPECT_EQ(m.infolabel.caption(), "Unione rifiutata: i file selezionati sono cambiati da quando sono stati "
                                             "elencati. Ricerca ripetuta: controlla la selezione e premi di nuovo "
                                             "Unisci.");
            EXPECT_FALSE(app.drives.exists("c:\\myfiles\\unito.bin"));
            EXPECT_EQ(temporariesIn(app.drives, "c:\\myfiles"), std::vector<std::string>{});
            ASSERT_EQ(app.desktop.boxes.size(), boxes + 1);
            EXPECT_NE(app.desktop.boxes.back().text.find("trovato " + std::to_string(c.foundAgain) + " File"),
                      std::string::npos);
            EXPECT_EQ(m.Label5.caption(), std::to_string(c.foundAgain)) << "the run found now, selected";
            EXPECT_EQ(m.barra.width(), 0);
        } else {
            EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\unito.bin");
            EXPECT_TRUE(app.drives.read("c:\\myfiles\\unito.bin") == c.joined);
        }
    }
}

TEST(JoinTest, JoinsTheSelectionInListOrderIntoTheStoredDestinationOrBesideItsParts) {
    // The stored destination, whose missing levels are made, or none; the name typed, if any.
    const std::pair<std::string, std::optional<std::string>> cases[] = {{"c:\\uscita\\nuova", {}}, {"", "unito.bin"}};
    for (const auto& [stored, typed] : cases) {
        TestApp app;
        app.store("Destinazione", "dir", stored);
        const std::string a1 = patternBytes(5000, 1), a2 = patternBytes(7000, 2), a3 = patternBytes(3000, 3);
        MainWindow& m = selectToJoin(app, {{"a1", a1}, {"a2", a2}, {"a3", a3}, {"altro", "non unire"}});
        for (int i : {3, 0, 0})
            m.File2.userClickItem(i);
        answerName(app.desktop, typed);
        m.uniscifile.userClick();
        const std::string folder = stored.empty() ? "c:\\dati" : stored;
        const std::string out = folder + "\\" + typed.value_or("nuovofile.exe");
        EXPECT_EQ(app.drives.read(out), a1 + a2 + a3) << "in list order";
        EXPECT_EQ(m.infolabel.caption(), "File Creato in " + out);
        EXPECT_FALSE(app.drives.exists("c:\\myfiles"));
        EXPECT_EQ(app.launcher.opened, std::vector<std::string>{folder});
    }
}

TEST(JoinTest, AnEmptyPartPartsAroundABlockAndADriveRootAsTheSourceFolder) {
    TestApp app;
    constexpr size_t Block = File::BlockSize;
    const std::string p0 = patternBytes(Block + 1, 4), p2 = patternBytes(Block, 5), p3 = patternBytes(1, 6);
    for (const auto& [name, bytes] : {std::pair{"p.000", p0}, {"p.001", ""}, {"p.002", p2}, {"p.003", p3}})
        app.drives.write(std::string("d:\\") + name, bytes);
    MainWindow& m = app.startIn("d:\\");
    enterJoinMode(app.desktop, m, 4);
    answerName(app.desktop);
    m.uniscifile.userClick();
    EXPECT_EQ(app.drives.read("c:\\myfiles\\p"), p0 + p2 + p3) << "under the detected base name";
}

TEST(JoinTest, AnOutputNameThatCannotBeOpenedShowsTheJoinsErrorBoxAndWritesNothing) {
    // A name of spaces names the folder itself, as Windows drops a name's trailing spaces.
    std::vector<std::pair<std::string, int>> cases = {
        {"", 75}, {"   ", 75}, {"cartella", 75}, {"/", 75}, {"manca\\out.bin", 76}, {std::string(256, 'x'), 75}};
    for (char c : std::string(":*?\"<>|"))
        cases.push_back({std::string("out") + c + "bin", 52});
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(name);
        TwoSourceJoin j;
        j.app.drives.makeFolders("c:\\myfiles\\cartella");
        j.join(name, false, number);
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::recursive_directory_iterator(j.app.drives.host("c:\\myfiles")))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"cartella"});
    }
}

TEST(JoinTest, AnExistingOutputIsReplacedWholeOnlyAfterAYesAndClosingTheNameDialogCancels) {
    const std::string out = "c:\\myfiles\\out.bin", old = patternBytes(20000, 9);
    TwoSourceJoin yes(5);
    yes.app.drives.write(out, old);
    yes.join("out.bin", true); // the whole file compared: no tail of the old one is left
    // 0: the user closes the name dialog from its frame instead of pressing OK.
    for (int reply : {mb::IdNo, 0}) {
        TwoSourceJoin j(5);
        j.app.drives.write(out, old);
        if (reply == mb::IdNo) {
            answerName(j.app.desktop, "out.bin");
            j.app.desktop.answer(reply);
        } else {
            j.app.desktop.onModal("nomefile", [](Form& f) {
                static_cast<NameDialog&>(f).nf.userEdit("ripensato.bin");
                f.userClose();
            });
        }
        j.app.main().uniscifile.userClick();
        ASSERT_EQ(j.app.desktop.boxes.size(), reply ? 1u : 0u);
        EXPECT_TRUE(!reply || j.app.desktop.boxes[0].flags == (mb::YesNo | mb::Question)) << "a question";
        EXPECT_EQ(j.app.drives.read(out), old);
        EXPECT_EQ(j.app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"});
        EXPECT_EQ(j.app.main().infolabel.caption(),
                  reply ? "Unione annullata: il file " + out + " non è stato sostituito."
                        : "Unione annullata: nessun file è stato creato.");
    }
}

TEST(JoinTest, AnOutputThatIsOneOfTheSourcesIsRefusedHoweverSpelled) {
    // On e: (the same folder) only the files' identity tells. The last case's file is deleted
    // while the name dialog is open: only the spelling tells, and the join would read its own
    // output.
    const std::pair<std::string, std::string> cases[] = {{"C:/altro/../dati/", "a"}, {"e:\\", "c"}, {"c:\\dati", "c"}};
    for (const auto& [destination, name] : cases) {
        const bool vanishes = destination == "c:\\dati";
        TestApp app;
        app.store("Destinazione", "dir", destination);
        app.drives.mapDrive('e', app.drives.host("c:\\dati"));
        selectToJoin(app, {{"a", "uno"}, {"b", "due"}, {"c", "tre"}});
        app.desktop.onModal("nomefile", [&app, vanishes, name = name](Form& f) {
            if (vanishes)
                std::remove(app.drives.host("c:\\dati\\c").c_str());
            auto& dialog = static_cast<NameDialog&>(f);
            dialog.nf.userEdit(name);
            dialog.ok.userClick();
        });
        app.main().uniscifile.userClick();
        EXPECT_NE(app.main().infolabel.caption().find("è uno dei file da unire"), std::string::npos) << destination;
        EXPECT_EQ(app.drives.read("c:\\dati\\a") + app.drives.read("c:\\dati\\b"), "unodue") << destination;
        EXPECT_TRUE(vanishes || app.drives.read("c:\\dati\\c") == "tre") << destination;
    }
}

// A folder another Brenvik holds past the wait's bound is said to be so, by the split and the join
// alike, and not as a file already open.
TEST(JoinTest, AFolderAnotherBrenvikHoldsTooLongIsSaidSo) {
    TwoSourceJoin j;
    j.app.files.beforeLock = [](const std::string&) { throw RuntimeError(err::FileAlreadyOpen); };
    answerName(j.app.desktop, "out.bin");
    j.app.main().uniscifile.userClick();
    EXPECT_EQ(j.app.main().infolabel.caption(), "Unione interrotta: un altro Brenvik sta scrivendo in questa cartella");
    EXPECT_FALSE(j.app.drives.exists("c:\\myfiles\\out.bin"));

    j.app.main().Option1.userClick();
    clickFile(j.app.main(), "a");
    j.app.main().Text.setText("8");
    j.app.main().split.click();
    EXPECT_EQ(j.app.main().infolabel.caption(), "Split interrotto: un altro Brenvik sta scrivendo in questa cartella");
    EXPECT_TRUE(j.app.desktop.boxes.empty());
}

TEST(JoinTest, AFailingJoinLeavesNoOutputKeepsTheFileItWasToReplaceAndTheNextJoinWorks) {
    struct Case {
        const char* label;
        bool replacing; // c:\myfiles\out.bin is there before, and the user agrees to replace it
        std::function<void(TestApp&)> breakIt;
        int number;
        std::string made = {}; // what another program puts under the name meanwhile
    };
    const std::string out = "c:\\myfiles\\out.bin";
    bool broken = true; // until the fault is gone
    const auto refuse = [out, &broken](int number) {
        return [out, number, &broken](const std::string& path, auto...) {
            if (broken && path == out)
                throw RuntimeError(number);
        };
    };
    const Case cases[] = {
        // Once the name is given, as the output is made.
        {"a source that vanished", false,
         [&](TestApp& app) {
             app.files.beforeCreate = [&app, &broken](const std::string&) {
                 if (broken)
                     std::remove(app.drives.host("c:\\dati\\b").c_str());
             };
         },
         err::FileNotFound},
        {"a full disk", false, [&](TestApp& app) { app.files.beforeWrite = refuse(err::DiskFull); }, err::DiskFull},
        {"an output that cannot reach the disk", false,
         [&](TestApp& app) { app.files.beforeSync = refuse(err::DeviceIo); }, err::DeviceIo},
        // The second source claims 100 bytes more than it holds: it shrank after it was measured.
        {"a source shorter than measured, replacing", true,
         [&](TestApp& app) {
             app.files.reportedLength = [&broken](const std::string& path, int64_t length) {
                 return broken && path == "c:\\dati\\b" ? length + 100 : length;
             };
         },
         err::InputPastEnd},
        // As on a read-only disk, even after the user's Yes.
        {"a folder that takes no new file, replacing", true,
         [&](TestApp& app) { app.files.beforeCreate = refuse(err::PermissionDenied); }, err::PermissionDenied},
        {"a file that may not be replaced", true,
         [&](TestApp& app) { app.files.beforeName = refuse(err::PermissionDenied); }, err::PermissionDenied},
        // After the user was asked, with nothing there to replace.
        {"a file of that name made meanwhile", false,
         [&](TestApp& app) {
             app.files.beforeCreate = [&app, out, &broken](const std::string&) {
                 if (broken)
                     app.drives.write(out, "di un altro");
             };
         },
         err::FileAlreadyExists, "di un altro"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TwoSourceJoin j;
        broken = true;
        if (c.replacing)
            j.app.drives.write(out, "del proprietario");
        c.breakIt(j.app);
        j.join("out.bin", c.replacing, c.number);
        if (c.replacing)
            EXPECT_EQ(j.app.drives.read(out), "del proprietario");
        else if (!c.made.empty())
            EXPECT_EQ(j.app.drives.read(out), c.made) << "never replaced without a Yes";
        else
            EXPECT_FALSE(j.app.drives.exists(out));

        // Once the fault is gone the same join succeeds, which it could not with a source harmed.
        broken = false;
        if (c.number == err::FileNotFound) {
            j.app.drives.write("c:\\dati\\b", j.second);
            j.chooseAgain();
        }
        j.join("out.bin", c.replacing || !c.made.empty());
    }
}

} // namespace
} // namespace brenvik

// The join window: the part detection and the selection in join mode, then the join itself, its
// refusals and its failures.
#include "join/AppendCopy.h"
#include "join/JoinScript.h"
#include "platform/RuntimeError.h"

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

TEST(JoinTest, TheRunStopsAtAMissingNumberAndAtTheNextSetAndStartsAgainAfterAThousand) {
    struct Case {
        Names files;
        Names found;
        std::string base;
    };
    // A thousand parts, then the next set's run up to its gap.
    Names thousandFound;
    for (int i = 0; i < 1000; ++i)
        thousandFound.push_back("p." + std::to_string(1000 + i).substr(1));
    thousandFound.insert(thousandFound.end(), {"q.000", "q.001"});
    Names thousandFiles = thousandFound;
    thousandFiles.push_back("q.003");
    const Case cases[] = {
        {{"a.avi", "a.avi.000", "a.avi.001", "a.avi.002", "leggimi.txt"},
         {"a.avi.000", "a.avi.001", "a.avi.002"},
         "a.avi"},
        {{"f.000", "f.001", "f.003"}, {"f.000", "f.001"}, "f"},
        {{"x.000", "x.001", "y.000", "y.001"}, {"x.000", "x.001"}, "x"},
        // After 999 the expected number is 000 again.
        {thousandFiles, thousandFound, "q"},
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
    constexpr size_t Block = AppendCopy::BlockSize;
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
    // after it was selected: only the spelling tells, and the join would read its own output.
    const std::pair<std::string, std::string> cases[] = {{"C:/altro/../dati/", "a"}, {"e:\\", "c"}, {"c:\\dati", "c"}};
    for (const auto& [destination, name] : cases) {
        const bool vanishes = destination == "c:\\dati";
        TestApp app;
        app.store("Destinazione", "dir", destination);
        app.drives.mapDrive('e', app.drives.host("c:\\dati"));
        selectToJoin(app, {{"a", "uno"}, {"b", "due"}, {"c", "tre"}});
        if (vanishes)
            std::remove(app.drives.host("c:\\dati\\c").c_str());
        answerName(app.desktop, name);
        app.main().uniscifile.userClick();
        EXPECT_NE(app.main().infolabel.caption().find("è uno dei file da unire"), std::string::npos) << destination;
        EXPECT_EQ(app.drives.read("c:\\dati\\a") + app.drives.read("c:\\dati\\b"), "unodue") << destination;
        EXPECT_TRUE(vanishes || app.drives.read("c:\\dati\\c") == "tre") << destination;
    }
}

TEST(JoinTest, AFailingJoinLeavesNoOutputKeepsTheFileItWasToReplaceAndTheNextJoinWorks) {
    struct Case {
        const char* label;
        bool replacing; // c:\myfiles\out.bin is there before, and the user agrees to replace it
        std::function<void(TestApp&)> breakIt;
        int number;
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
        {"a source that vanished", false, [](TestApp& app) { std::remove(app.drives.host("c:\\dati\\b").c_str()); },
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
        // A source written to since it was read, as a download still running does, or replaced
        // by a split naming its set in that folder.
        {"a source that changes once read", false,
         [&](TestApp& app) {
             app.files.afterRead = [&app, &broken](const std::string& path, size_t, size_t) {
                 if (broken && path == "c:\\dati\\b")
                     app.drives.write("c:\\dati\\a", patternBytes(40001, 1));
             };
         },
         err::FileAlreadyOpen},
        // As on a read-only disk, even after the user's Yes.
        {"a folder that takes no new file, replacing", true,
         [&](TestApp& app) { app.files.beforeCreate = refuse(err::PermissionDenied); }, err::PermissionDenied},
        {"a file that may not be replaced", true,
         [&](TestApp& app) { app.files.beforeName = refuse(err::PermissionDenied); }, err::PermissionDenied},
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
        else
            EXPECT_FALSE(j.app.drives.exists(out));

        // Once the fault is gone the same join succeeds, which it could not with a source harmed.
        broken = false;
        if (c.number == err::FileNotFound)
            j.app.drives.write("c:\\dati\\b", j.second);
        if (c.number == err::FileAlreadyOpen)
            j.app.drives.write("c:\\dati\\a", j.first);
        j.join("out.bin", c.replacing);
    }
}

} // namespace
} // namespace brenvik

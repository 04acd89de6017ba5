#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <utility>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::SecondSplit;
using splittest::Split;

TEST(SplitCommandTest, PartsOfTheChosenSizeReplaceWhatIsThereAndTheScriptComesWithThem) {
    // A thousand parts is the most the three digits of the names allow.
    for (int parts : {3, 1000}) {
        Split s("film.avi", patternBytes(parts == 3 ? 10000 : 1000 * 1024), parts == 3 ? 4 : 1);
        // A longer part of an earlier set is cut to the new length.
        s.app.drives.write(s.part(parts - 1), patternBytes(50000, 9));
        s.run();
        const std::string count = std::to_string(parts);
        ASSERT_EQ(s.m().infolabel.caption(), " " + count + "/ " + count + " files creati con  SUCCESSO") << parts;
        const auto size = static_cast<size_t>(s.m().grandezza);
        std::vector<std::string> files{"Assembla[film.avi].bat"};
        for (int i = 0; i < parts; ++i) {
            files.push_back("film.avi." + std::to_string(1000 + i).substr(1));
            EXPECT_EQ(s.app.drives.read(s.part(i)), s.source.substr(static_cast<size_t>(i) * size, size)) << i;
        }
        EXPECT_EQ(s.app.drives.fs().files(s.dest()), files);
        EXPECT_TRUE(s.app.launcher.opened.empty()) << "cartsplit absent: no file manager";
    }
}

TEST(SplitCommandTest, RefusalsWriteNothingAndOpenNothing) {
    struct Case {
        size_t size;
        int64_t kb;
        std::string status;
    };
    for (const Case& c : {Case{100, 1, "Il file da creare è più grande grande del file d'origine"},
                          Case{5000, 0, "Grandezza dei file da creare = 0!"},
                          Case{1000 * 1024 + 1, 1,
                               "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!"}}) {
        Split s("file.bin", patternBytes(c.size), c.kb);
        s.app.store("opzioni", "cartsplit", "1");
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), c.status) << c.size;
        EXPECT_TRUE(!s.app.drives.exists(s.dest()) || s.app.drives.fs().files(s.dest()).empty()) << c.size;
        EXPECT_TRUE(s.app.launcher.opened.empty()) << c.size;
    }
}

TEST(SplitCommandTest,
     DestinationIsReachedWhateverItsSpellingTheFileManagerOpensThereAndTheSourceIsMeasuredAtTheSplit) {
    // Stored empty, as the destination dialog then shows it: beside the source, no folder made,
    // and an earlier set there goes with its 000.
    Split s("film.avi", patternBytes(10000), 4);
    s.app.store("opzioni", "cartsplit", "1");
    s.app.store("Destinazione", "dir", "");
    clickFile(s.m(), "film.avi");
    s.app.desktop.onModal("optionsfrm", [](Form& f) { f.hide(); });
    s.m().options.userClick();
    EXPECT_EQ(s.m().optionsfrm().outputdir.text(), "") << "as the dialog showed it";
    for (const char* earlier : {"000", "001", "002", "003"})
        s.app.drives.write("c:\\src\\film.avi." + std::string(earlier), "serie precedente");
    s.run();
    EXPECT_FALSE(s.app.drives.exists("c:\\myfiles"));
    EXPECT_FALSE(s.app.drives.exists("c:\\src\\film.avi.003"));
    EXPECT_EQ(joinParts(s.app.drives, "c:\\src\\film.avi.", 3), s.source);
    EXPECT_TRUE(s.app.drives.exists("c:\\src\\Assembla[film.avi].bat"));
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
    EXPECT_EQ(s.app.launcher.opened, std::vector<std::string>{"c:\\src\\"});

    // With a final separator, read afresh; the source, grown since its click, measured again.
    s.app.store("Destinazione", "dir", "d:\\parti\\");
    clickFile(s.m(), "film.avi");
    const std::string grown = patternBytes(12000, 2);
    s.app.drives.write("c:\\src\\film.avi", grown);
    s.run();
    EXPECT_EQ(joinParts(s.app.drives, "d:\\parti\\[film.avi]\\film.avi.", 3), grown);
}

// A destination that cannot be made is reported for what stops it, by the split and by the join:
// here a file stands where a folder of the path must be.
TEST(SplitCommandTest, ADestinationThatCannotBeMadeIsReportedForWhatStopsIt) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.write("c:\\occupato", "un file");
    s.app.store("Destinazione", "dir", "c:\\occupato\\parti");
    clickFile(s.m(), "film.avi");
    s.app.desktop.answer(mb::IdOK);
    s.run();
    EXPECT_EQ(s.app.desktop.count("box Errore di accesso..."), 1) << "not \"Percorso inesistente...\"";
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + describeError(err::PathFileAccess));

    s.m().dir.setPath("c:\\src");
    enterJoinMode(s.app.desktop, s.m(), 0);
    s.m().File2.userClickItem(0);
    answerName(s.app.desktop);
    s.app.desktop.answer(mb::IdOK);
    s.m().uniscifile.userClick();
    EXPECT_EQ(s.app.desktop.boxes.back().text, "Errore numero 75:" + describeError(err::PathFileAccess));
}

// On a slow disk the flush at the end takes long: the last part's line is on the screen before
// it begins, and the window keeps painting while it runs.
TEST(SplitCommandTest, TheLastPartsLineShowsBeforeTheFlushAndTheWindowPaintsThroughIt) {
    Split s("film.avi", patternBytes(10 * 4096), 4);
    std::vector<std::string> shown; // the status line at every paint, and every flush of a part
    s.app.desktop.onPaint = [&] { shown.push_back(s.m().infolabel.caption()); };
    s.app.files.beforeSync = [&shown](const std::string& path) {
        if (path.back() == '\\')
            return;
        shown.push_back("flush");
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    };
    s.run();
    const auto first = std::find(shown.begin(), shown.end(), "flush");
    ASSERT_NE(first, shown.begin());
    EXPECT_EQ(*(first - 1), "Creando film.avi.009   # 10 of  10");
    const auto last = std::find(shown.rbegin(), shown.rend(), "flush").base();
    EXPECT_GE(std::count_if(first, last, [](const std::string& entry) { return entry != "flush"; }), 3)
        << "paints while the parts are flushed";
}

// A hook that fails its operation once, on the path ending in `tail`, with the runtime error
// `number`: as a flush that failed does, which Linux reports once and then never again.
auto failOnceOn(const std::string& tail, int number) {
    return [tail, number, failed = false](const std::string& path, auto...) mutable {
        if (!failed && path.ends_with(tail)) {
            failed = true;
            throw RuntimeError(number);
        }
    };
}

// The full disks and refusals of a real file system are tried in the host's own tests.
TEST(SplitCommandTest, AFailureLeavesTheEarlierSetAsItWasAndTheProgramRunsOn) {
    struct Case {
        const char* label;
        std::function<void(SecondSplit&, int number)> breakIt;
        int number; // the error shown, answered OK; 0 for none
        // Once the earlier set is being cleared there is no going back: a failure then leaves no
        // part 000 of the name, so that the part detection finds no set rather than a wrong one.
        bool naming = false;
    };
    const auto failAt = [](auto hook, const char* tail) {
        return [hook, tail](SecondSplit& s, int number) { s.app.files.*hook = failOnceOn(tail, number); };
    };
    // Once its first block is read, the source is rewritten with `bytes` other bytes.
    const auto sourceBecomes = [](size_t bytes) {
        return [bytes](SecondSplit& s, int) {
            s.app.files.afterRead = [&s, bytes, done = false](const std::string&, size_t, size_t) mutable {
                if (!std::exchange(done, true))
                    s.app.drives.write("c:\\src\\film.avi", patternBytes(bytes, 3));
            };
        };
    };
    const Case cases[] = {
        {"naming the script fails", failAt(&FaultyFiles::beforeName, ".bat"), err::DeviceIo, true},
        {"naming part 004 fails", failAt(&FaultyFiles::beforeName, ".004"), err::DeviceIo, true},
        {"naming part 000 fails", failAt(&FaultyFiles::beforeName, ".000"), err::DeviceIo, true},
        {"a disk that fills up at part 6 of 10", failAt(&FaultyFiles::beforeWrite, ".005"), err::DiskFull},
        {"a part whose flush fails", failAt(&FaultyFiles::beforeSync, ".003"), err::DeviceIo},
        {"the script's flush fails", failAt(&FaultyFiles::beforeSync, ".bat"), err::DeviceIo},
        {"a source that cannot be read any more",
         [](SecondSplit& s, int number) {
             s.app.files.afterRead = [number, n = 0](const std::string& path, size_t, size_t) mutable {
                 if (path == "c:\\src\\film.avi" && ++n == 4)
                     throw RuntimeError(number);
             };
         },
         err::DeviceIo},
        {"a source that shrinks once its first block is read", sourceBecomes(20000), 0},
        {"a source that grows once its first block is read", sourceBecomes(50000), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SecondSplit s;
        c.breakIt(s, c.number);
        s.app.store("opzioni", "cartsplit", "1");
        if (c.number)
            s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.app.desktop.boxes.size(), c.number ? 1u : 0u);
        EXPECT_EQ(s.m().infolabel.caption(),
                  "Split interrotto: " +
                      (c.number ? describeError(c.number) : "il file d'origine è cambiato durante lo split"));
        EXPECT_EQ(s.m().barra.width(), 0) << "the bar claims nothing";
        EXPECT_EQ(s.m().bianco.caption(), "0");
        if (c.naming)
            EXPECT_FALSE(s.app.drives.exists(s.part(0)));
        else
            EXPECT_EQ(s.folder(), s.earlier) << "the earlier set, byte for byte, and nothing beside it";
        EXPECT_TRUE(s.app.launcher.opened.empty());
        s.app.files.heal();
        s.expectSplitsWhole();
    }
}

// Every name the set takes or clears is tried before a byte is copied, so that a name that cannot
// be taken costs neither the copy nor the earlier set.
TEST(SplitCommandTest, ANameThatCannotBeTakenStopsTheSplitBeforeAByteIsCopied) {
    struct Case {
        const char* label;
        std::string name;
        std::function<void(Split&)> prepare;
        int number; // the error shown, answered OK; 0 for the source's own name, which shows none
    };
    const Case cases[] = {
        {"a folder named like part 005", "film.avi", [](Split& s) { s.app.drives.makeFolders(s.part(5)); }, 75},
        // The parts' names fit, the script's ("Assembla[" + name + "].bat") does not.
        {"a name too long for the script", std::string(240, 'n') + ".avi", nullptr, 75},
        // A hard link: only the files' identity tells.
        {"a second name of the source among the parts", "film.avi",
         [](Split& s) {
             std::filesystem::create_hard_link(s.app.drives.hostFile("c:\\src\\film.avi"),
                                               s.app.drives.hostFile(s.part(1)));
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Split s(c.name, patternBytes(40000), 4);
        s.app.drives.makeFolders(s.dest());
        if (c.prepare)
            c.prepare(s);
        const auto before = s.folder();
        size_t written = 0;
        s.app.files.beforeWrite = [&written](const std::string&, size_t) { ++written; };
        if (c.number)
            s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(),
                  "Split interrotto: " +
                      (c.number ? describeError(c.number) : "una parte sovrascriverebbe il file d'origine"));
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(s.folder(), before);
        EXPECT_EQ(s.app.drives.read("c:\\src\\" + c.name), s.source);
    }
}

// The program removes only what it made: files named as its temporaries are or once were, the
// source among them, stay whatever happens beside them.
// On a disk that ignores case (Windows) a set written "Film.avi.000" onwards is the earlier set of
// film.avi, which the part detection would take for it; elsewhere it is another file's, and stays,
// and hides nothing of the earlier set spelled as the new one.
TEST(SplitCommandTest, AnEarlierSetSpelledInAnotherCase) {
    Split s("film.avi", patternBytes(10000), 4);
    for (int i = 0; i < 5; ++i)
        s.app.drives.write(s.dest() + "\\Film.avi.00" + std::to_string(i), "vecchia");
    s.app.drives.write(s.dest() + "\\Assembla[Film.avi].bat", "vecchio");
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    const std::vector<std::string> names = s.app.drives.fs().files(s.dest());
#ifdef _WIN32
    EXPECT_EQ(names,
              (std::vector<std::string>{"Assembla[film.avi].bat", "film.avi.000", "film.avi.001", "film.avi.002"}));
#else
    EXPECT_EQ(names.size(), 10u) << "both sets";

    // Where case counts, another file spelled like a part of the earlier set hides none of it:
    // the earlier set's part 003 is still cleared, and the look-alike stays.
    Split t("film.avi", patternBytes(10000), 4);
    for (int i = 0; i < 6; ++i)
        t.app.drives.write(t.dest() + "\\film.avi.00" + std::to_string(i), "vecchia");
    t.app.drives.write(t.dest() + "\\FILM.AVI.003", "un altro");
    t.run();
    const auto [count, bytes] = splittest::partRun(t.app.drives, t.dest(), "film.avi");
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(bytes == t.source);
    EXPECT_EQ(t.app.drives.read(t.dest() + "\\FILM.AVI.003"), "un altro");
#endif
    EXPECT_TRUE(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3) == s.source);
}

TEST(SplitCommandTest, NothingTheProgramDidNotMakeIsRemoved) {
    const std::string name = "~brenvik2.$$$";
    Split s(name, patternBytes(10000), 4);
    // Beside the source: the parts go into its own folder.
    s.app.store("Destinazione", "dir", "");
    clickFile(s.m(), name);
    std::vector<std::string> lookAlikes = {"~brenvik.$$$", "~brenvik7.$$$", "~brenvik-0123456789abcdef.$$$"};
    const auto plant = [&s](const std::vector<std::string>& names) {
        for (const std::string& n : names)
            s.app.drives.write("c:\\src\\" + n, "dell'utente");
    };
    plant(lookAlikes);
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");

    // Split again, and the folder's names cannot be made durable: whatever stands under the names
    // of temporaries by then is not the program's to clear.
    for (int n = 0; n < 1000; ++n)
        if (n != 2) // the source's own name
            lookAlikes.push_back("~brenvik" + std::to_string(n) + ".$$$");
    s.app.files.beforeSync = [&](const std::string& path) {
        if (path == "c:\\src\\") {
            plant(lookAlikes);
            throw RuntimeError(err::DeviceIo);
        }
    };
    s.setKb(2);
    s.app.desktop.answer(mb::IdOK);
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + describeError(err::DeviceIo));
    s.app.files.heal();

    // Joined under a name a temporary could have.
    s.m().File2.refresh();
    enterJoinMode(s.app.desktop, s.m(), 5);
    answerName(s.app.desktop, "~brenvik-fedcba9876543210.$$$");
    s.m().uniscifile.userClick();
    EXPECT_TRUE(s.app.drives.read("c:\\src\\~brenvik-fedcba9876543210.$$$") == s.source);
    EXPECT_TRUE(s.app.drives.read("c:\\src\\" + name) == s.source) << "the source";
    for (const std::string& n : lookAlikes)
        ASSERT_EQ(s.app.drives.read("c:\\src\\" + n), "dell'utente") << n;
}

} // namespace
} // namespace brenvik

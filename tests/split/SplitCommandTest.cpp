#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
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
        // A longer part of an earlier set is cut to the new length; an earlier set of one part goes.
        s.app.drives.write(s.part(parts - 1), patternBytes(50000, 9));
        s.app.drives.write(s.part(0), "una parte sola");
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

// The copy runs aside and the window paints all through it: before the first part is written (the
// names are tried first, which a slow disk makes long), and through the flush at the end, with each
// step's line.
TEST(SplitCommandTest, TheWindowPaintsEachStepsLineWhileTheCopyRunsAside) {
    Split s("film.avi", patternBytes(10 * 4096), 4);
    std::mutex mutex;
    std::vector<std::string> shown; // the status line at every paint, and what the disk is doing
    const auto record = [&](const std::string& entry) {
        const std::lock_guard<std::mutex> lock(mutex);
        shown.push_back(entry);
    };
    s.app.desktop.onPaint = [&] { record(s.m().infolabel.caption()); };
    const auto slowly = [&](const std::string& what) {
        record(what);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        record(what + " done");
    };
    s.app.files.beforeCreate = [&](const std::string& path) {
        if (path.ends_with(".000"))
            slowly("create");
    };
    s.app.files.beforeSync = [&](const std::string& path) {
        if (path.back() != '\\')
            slowly("flush");
    };
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 10/ 10 files creati con  SUCCESSO");
    const auto painted = [&](const std::string& from, const std::string& to, const std::string& line) {
        const auto begin = std::find(shown.begin(), shown.end(), from);
        const auto end = std::find(shown.rbegin(), shown.rend(), to).base();
        return begin < end && std::find(begin, end, line) != end;
    };
    EXPECT_TRUE(painted("create", "create done", "Genero estensioni progressive... OK")) << "before the first part";
    EXPECT_TRUE(painted("flush", "flush done", "Creando film.avi.009   # 10 of  10")) << "through the flush";
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

// Every failure before the new set stands leaves the earlier set as it was, byte for byte, and
// nothing of the new one: a refused copy, flush or name, an earlier file that cannot go aside, a
// source that changed. A failure once the set stands says the set was written. The full disks and
// refusals of a real file system are tried in the host's own tests.
TEST(SplitCommandTest, AFailureLeavesTheEarlierSetAsItWasAndTheProgramRunsOn) {
    struct Case {
        const char* label;
        std::function<void(SecondSplit&, int number)> breakIt;
        int number;            // the error shown; 0 for none
        int answer = mb::IdOK; // to its message
        bool written = false;  // the new set stands, and the status says the disk failed after
        std::string note = {}; // what the status adds to the error's description
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
    // Two files of killed runs, which the program cannot prove its own, take room at the destination.
    const auto fullAmongLeftovers = [failAt](SecondSplit& s, int number) {
        for (const char* token : {"0123456789abcdef", "fedcba9876543210"}) {
            const std::string name = std::string("~brenvik-") + token + ".$$$";
            s.app.drives.write(s.dest() + "\\" + name, patternBytes(3000));
            s.earlier[name] = patternBytes(3000);
        }
        failAt(&FaultyFiles::beforeWrite, ".005")(s, number);
    };
    const Case cases[] = {
        {"a disk that fills up at part 6 of 10", fullAmongLeftovers, err::DiskFull, mb::IdOK, false,
         " (nella cartella 2 file temporanei ~brenvik-….$$$ lasciati da operazioni interrotte occupano 6 KB: se "
         "nessun Brenvik è in funzione si possono cancellare)"},
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
        {"a source rewritten to the same length while it is read", sourceBecomes(40000), 0},
        // The folder refuses one more name (a full disk, a quota), or a security module every name.
        {"no room for part 004's name", failAt(&FaultyFiles::beforeAside, ".004"), err::DiskFull},
        {"part 000 may not be named", failAt(&FaultyFiles::beforeAside, ".000"), err::PermissionDenied, mb::IdCancel},
        // An earlier file held by another program, or on a disk that fails as it is moved.
        {"the earlier script cannot go aside", failAt(&FaultyFiles::beforeSetAside, ".bat"), err::PermissionDenied,
         mb::IdCancel},
        {"earlier part 001 cannot go aside", failAt(&FaultyFiles::beforeSetAside, ".001"), err::DeviceIo},
        {"naming part 004 fails", failAt(&FaultyFiles::beforeName, ".004"), err::DeviceIo},
        {"naming part 000 fails", failAt(&FaultyFiles::beforeName, ".000"), err::DeviceIo},
        {"naming the script fails", failAt(&FaultyFiles::beforeName, ".bat"), err::DeviceIo},
        {"the folder's names cannot be made durable", failAt(&FaultyFiles::beforeSync, "]\\"), err::DeviceIo, mb::IdOK,
         true},
        {"an earlier part cannot be removed once aside", failAt(&FaultyFiles::beforeRemove, ".002"), err::DeviceIo,
         mb::IdOK, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SecondSplit s;
        c.breakIt(s, c.number);
        s.app.store("opzioni", "cartsplit", "1");
        if (c.number && !c.written)
            s.app.desktop.answer(c.answer);
        s.run();
        if (c.written) {
            EXPECT_EQ(s.m().infolabel.caption(),
                      " 10/ 10 files creati, ma il disco ha segnalato un errore: " + describeError(c.number));
            const auto [count, bytes] = splittest::partRun(s.app.drives, s.dest(), "film.avi");
            EXPECT_EQ(count, 10);
            EXPECT_TRUE(bytes == s.source) << "the new set, whole";
            // An earlier file the disk would not remove stays aside, where no run takes it.
            const std::vector<std::string> left = temporariesIn(s.app.drives, s.dest());
            EXPECT_EQ(s.app.drives.fs().files(s.dest()).size() - left.size(), 11u) << "and nothing beside it";
            s.app.files.heal();
            for (const std::string& name : left)
                std::filesystem::remove(s.app.drives.hostFile(s.dest() + "\\" + name));
            s.expectSplitsWhole();
            continue;
        }
        EXPECT_EQ(s.app.desktop.boxes.size(), c.number ? 1u : 0u);
        EXPECT_EQ(s.m().infolabel.caption(),
                  "Split interrotto: " +
                      (c.number ? describeError(c.number) + c.note : "il file d'origine è cambiato durante lo split"));
        EXPECT_EQ(s.m().barra.width(), 0) << "the bar claims nothing";
        EXPECT_EQ(s.m().bianco.caption(), "0");
        EXPECT_EQ(s.folder(), s.earlier) << "the earlier set, byte for byte, and nothing beside it";
        EXPECT_TRUE(s.app.launcher.opened.empty());
        s.app.files.heal();
        // The user deletes what killed runs left, as the status line told them they may.
        for (const std::string& name : temporariesIn(s.app.drives, s.dest()))
            std::filesystem::remove(s.app.drives.hostFile(s.dest() + "\\" + name));
        s.expectSplitsWhole();
    }
}

// The window closed while the split copies: Yes to the question stops the split where nothing is
// lost, and the program ends with the folder as it was.
TEST(SplitCommandTest, ClosingTheWindowDuringASplitStopsItWithTheFolderAsItWas) {
    SecondSplit s(400 * 1024);
    s.setKb(1);
    s.app.files.beforeWrite = [](const std::string&, size_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    bool asked = false;
    s.app.desktop.onBusy = [&] {
        if (asked || s.m().infolabel.caption().rfind("Creando film.avi.0", 0) != 0)
            return;
        asked = true;
        s.app.desktop.answer(mb::IdYes);
        s.m().userClose();
    };
    EXPECT_THROW(s.run(), ProgramEnded);
    EXPECT_TRUE(asked);
    EXPECT_EQ(s.app.desktop.count("box Sicuro di voler uscire"), 1);
    EXPECT_EQ(s.folder(), s.earlier) << "the earlier set, byte for byte, and nothing beside it";
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
        // Never replaced nor removed, as writing into it never could be.
        // Past the new set's last part: only the earlier set's own names are tried for it.
        {"an earlier part its owner made read-only", "film.avi",
         [](Split& s) {
             for (int i = 0; i < 12; ++i)
                 s.app.drives.write(s.part(i), "serie precedente");
             std::filesystem::permissions(s.app.drives.hostFile(s.part(11)),
                                          std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
         },
         70},
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
            s.app.desktop.answer(c.number == err::PermissionDenied ? mb::IdCancel : mb::IdOK);
        {
            const PermissionBitsApply asAUser;
            s.run();
        }
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
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(),
              " 5/ 5 files creati, ma il disco ha segnalato un errore: " + describeError(err::DeviceIo));
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

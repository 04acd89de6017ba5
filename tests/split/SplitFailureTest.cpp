#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::SecondSplit;
using splittest::Split;

// A hook that fails its operation once, on the path ending in `tail`, with the runtime error
// `number`: as a flush that failed does, which Linux reports once and then never again.
auto failOnceOn(const std::string& tail, int number) {
    return [tail, number, failed = false](const std::string& path, auto...) mutable {
        if (!failed && path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) {
            failed = true;
            throw RuntimeError(number);
        }
    };
}

// The full disks and refusals of a real file system are tried in the host's own tests.
TEST(SplitFailureTest, AFailureLeavesTheEarlierSetAsItWasAndTheProgramRunsOn) {
    struct Case {
        const char* label;
        std::function<void(SecondSplit&)> breakIt;
        int number; // the error shown, answered OK; 0 for none
        std::string status;
        // Once the earlier set is being cleared there is no going back: a failure then leaves no
        // part 000 of the name, so that the part detection finds no set rather than a wrong one.
        bool naming = false;
    };
    const auto failNamingAt = [](const char* tail) {
        return [tail](SecondSplit& s) { s.app.files.beforeName = failOnceOn(tail, err::DeviceIo); };
    };
    const Case cases[] = {
        {"naming the script fails", failNamingAt(".bat"), err::DeviceIo, "", true},
        {"naming part 004 fails", failNamingAt(".004"), err::DeviceIo, "", true},
        {"naming part 000 fails", failNamingAt(".000"), err::DeviceIo, "", true},
        {"a disk that fills up at part 6 of 10",
         [](SecondSplit& s) { s.app.files.beforeWrite = failOnceOn(".005", err::DiskFull); }, err::DiskFull, ""},
        {"a source that cannot be read any more",
         [](SecondSplit& s) {
             s.app.files.afterRead = [n = 0](const std::string& path, size_t, size_t) mutable {
                 if (path == "c:\\src\\film.avi" && ++n == 4)
                     throw RuntimeError(err::DeviceIo);
             };
         },
         err::DeviceIo, ""},
        {"a part whose flush fails", [](SecondSplit& s) { s.app.files.beforeSync = failOnceOn(".003", err::DeviceIo); },
         err::DeviceIo, ""},
        {"the script's flush fails", [](SecondSplit& s) { s.app.files.beforeSync = failOnceOn(".bat", err::DeviceIo); },
         err::DeviceIo, ""},
        {"a source that shrinks once its first block is read",
         [](SecondSplit& s) {
             s.app.files.afterRead = [&s, done = false](const std::string&, size_t, size_t) mutable {
                 if (!std::exchange(done, true))
                     s.app.drives.write("c:\\src\\film.avi", patternBytes(20000, 3));
             };
         },
         0, "il file d'origine è cambiato durante lo split"},
        {"a source that grows once its first block is read",
         [](SecondSplit& s) {
             s.app.files.afterRead = [&s, done = false](const std::string&, size_t, size_t) mutable {
                 if (!std::exchange(done, true))
                     s.app.drives.write("c:\\src\\film.avi", patternBytes(50000, 3));
             };
         },
         0, "il file d'origine è cambiato durante lo split"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SecondSplit s;
        c.breakIt(s);
        s.app.store("opzioni", "cartsplit", "1");
        if (c.number)
            s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.app.desktop.boxes.size(), c.number ? 1u : 0u);
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + (c.number ? describeError(c.number) : c.status));
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
TEST(SplitFailureTest, ANameThatCannotBeTakenStopsTheSplitBeforeAByteIsCopied) {
    struct Case {
        const char* label;
        std::string name;
        std::function<void(Split&)> prepare;
        std::string status;
    };
    const Case cases[] = {
        {"a folder named like part 005", "film.avi", [](Split& s) { s.app.drives.makeFolders(s.part(5)); },
         "Split interrotto: " + describeError(75)},
        // The parts' names fit, the script's ("Assembla[" + name + "].bat") does not.
        {"a name too long for the script", std::string(240, 'n') + ".avi", nullptr,
         "Split interrotto: " + describeError(75)},
        // A hard link: only the files' identity tells.
        {"a second name of the source among the parts", "film.avi",
         [](Split& s) {
             std::filesystem::create_hard_link(s.app.drives.hostFile("c:\\src\\film.avi"),
                                               s.app.drives.hostFile(s.part(1)));
         },
         "Split interrotto: una parte sovrascriverebbe il file d'origine"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Split s(c.name, patternBytes(40000), 4);
        s.app.drives.makeFolders(s.dest());
        if (c.prepare)
            c.prepare(s);
        const auto before = splittest::contents(s.app.drives, s.dest());
        size_t written = 0;
        s.app.files.beforeWrite = [&written](const std::string&, size_t) { ++written; };
        if (c.status.find("origine") == std::string::npos)
            s.app.desktop.answer(mb::IdOK);
        s.run();
        EXPECT_EQ(s.m().infolabel.caption(), c.status);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(splittest::contents(s.app.drives, s.dest()), before);
        EXPECT_EQ(s.app.drives.read("c:\\src\\" + c.name), s.source);
    }
}

// The program removes only what it made: files named as its temporaries are or once were, the
// source among them, stay whatever happens beside them.
// On a disk that ignores case (Windows) a set written "Film.avi.000" onwards is the earlier set of
// film.avi, which the part detection would take for it; elsewhere it is another file's, and stays.
TEST(SplitFailureTest, AnEarlierSetSpelledInAnotherCase) {
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.makeFolders(s.dest());
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
#endif
    EXPECT_TRUE(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3) == s.source);
}

TEST(SplitFailureTest, NothingTheProgramDidNotMakeIsRemoved) {
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
    splittest::setSizeKb(s.m(), 2);
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

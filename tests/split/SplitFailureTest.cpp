#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"
#include "support/Recorders.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace brenvik {
namespace {

using splittest::joinParts;
using splittest::Split;

// A hook that fails its operation on the paths ending in `tail` with the runtime error `number`.
auto failOn(const std::string& tail, int number) {
    return [tail, number](const std::string& path, auto...) {
        if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0)
            throw RuntimeError(number);
    };
}

// The full disks and refusals of a real file system are tried in the host's own tests.
TEST(SplitFailureTest, AFailureKeepsOnlyCompletePartsAndNoScriptAndTheProgramRunsOn) {
    struct Case {
        const char* label;
        std::function<void(Split&)> breakIt;
        int answer; // 0: no message box
        const char* status;
        size_t left; // complete parts kept
    };
    const Case cases[] = {
        {"the script refused", [](Split& s) { s.app.files.beforeCreate = failOn(".bat", err::PermissionDenied); },
         mb::IdCancel, "Autorizzazione negata", 3},
        {"a part that cannot reach the disk, the ones after it complete",
         [](Split& s) { s.app.files.beforeSync = failOn(".001", err::DeviceIo); }, mb::IdOK, "DEVICE", 1},
        {"a source that grows once its first block is read",
         [](Split& s) {
             s.app.files.afterRead = [&s, done = false](const std::string&, size_t, size_t) mutable {
                 if (!std::exchange(done, true))
                     s.app.drives.write("c:\\src\\film.avi", patternBytes(11000));
             };
         },
         0, "il file d'origine è cambiato durante lo split", 3},
    };
    for (const Case& c : cases) {
        Split s("film.avi", patternBytes(10000), 4);
        c.breakIt(s);
        s.app.store("opzioni", "cartsplit", "1");
        if (c.answer)
            s.app.desktop.answer(c.answer);
        s.run();
        EXPECT_EQ(s.app.desktop.boxes.size(), c.answer ? 1u : 0u) << c.label;
        const std::string status = c.status == std::string("DEVICE") ? describeError(err::DeviceIo) : c.status;
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + status) << c.label;
        EXPECT_EQ(s.m().barra.width(), 0) << c.label << ": the bar claims nothing";
        EXPECT_EQ(s.m().bianco.caption(), "0") << c.label;
        std::vector<std::string> left;
        for (size_t i = 0; i < c.left; ++i)
            left.push_back("film.avi.00" + std::to_string(i));
        EXPECT_EQ(s.app.drives.fs().files(s.dest()), left) << c.label;
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", static_cast<int>(c.left)),
                  s.source.substr(0, c.left * static_cast<size_t>(s.m().grandezza)))
            << c.label;
        EXPECT_TRUE(s.app.launcher.started.empty()) << c.label;

        s.app.files.beforeCreate = nullptr;
        s.app.files.afterRead = nullptr;
        s.app.files.beforeSync = nullptr;
        s.run();
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", s.m().numparti),
                  s.app.drives.read("c:\\src\\film.avi"))
            << c.label;
        EXPECT_TRUE(s.app.drives.exists(s.script())) << c.label;
    }
}

TEST(SplitFailureTest, ASplitShortOfOpenFilesNamesThePartsWrittenSoFarAndGoesOn) {
    Split s("film.avi", patternBytes(10000), 2);
    bool namedBeforeRetry = false;
    s.app.files.beforeCreate = [&s, &namedBeforeRetry, refused = false](const std::string& path) mutable {
        if (path != s.part(3))
            return;
        if (!std::exchange(refused, true))
            throw RuntimeError(err::TooManyFiles);
        // Tried again once the parts before it are flushed, named and closed.
        namedBeforeRetry = s.app.drives.exists(s.part(2));
    };
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 5/ 5 files creati con  SUCCESSO");
    EXPECT_TRUE(namedBeforeRetry);
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 5), s.source);
}

TEST(SplitFailureTest, PartNamingTheSourceItselfIsRefused) {
    // A hard link: only the files' identity tells.
    Split s("film.avi", patternBytes(10000), 4);
    s.app.drives.makeFolders(s.dest());
    std::filesystem::create_hard_link(s.app.drives.hostFile("c:\\src\\film.avi"), s.app.drives.hostFile(s.part(1)));
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: una parte sovrascriverebbe il file d'origine");
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
}

TEST(SplitFailureTest, EveryPartAndTheScriptAreOnTheDiskBeforeSuccessIsShown) {
    Split s("film.avi", patternBytes(10000), 4);
    std::vector<std::string> log;
    s.app.files.beforeSync = [&log](const std::string& path) { log.push_back("flush " + path); };
    s.app.files.beforeReplace = [&log](const std::string& path) { log.push_back("name " + path); };
    ControlRecorder status(s.m().infolabel, Property::Caption, log, [&] { return s.m().infolabel.caption(); });
    s.run();
    const auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
    const auto success = at(" 3/ 3 files creati con  SUCCESSO");
    ASSERT_LT(success, static_cast<long>(log.size())) << "the split succeeded";
    for (const std::string& file : {s.part(0), s.part(1), s.part(2), s.dest() + "\\"})
        EXPECT_LT(at("flush " + file), success) << file;
    // A part takes its name only once every part is on the disk: killed before, no run is left.
    EXPECT_LT(at("flush " + s.part(2)), at("name " + s.part(0)));
    EXPECT_LT(at("flush " + s.script()), static_cast<long>(log.size())) << "the script is flushed";
}

} // namespace
} // namespace brenvik

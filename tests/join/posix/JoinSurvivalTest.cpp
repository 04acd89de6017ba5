#include "join/JoinScript.h"
#include "platform/RuntimeError.h"
#include "support/posix/KilledChild.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace brenvik {
namespace {

namespace fs = std::filesystem;
const std::string Out = "c:\\myfiles\\out.bin";

// Killed half-way, the join leaves nothing at all, and a file or a link it was to replace as they
// were; the next join replaces a link, not what it points to.
TEST(JoinSurvivalTest, AKilledJoinLeavesNothingUnderTheNameAndTheFileOrLinkItWasReplacing) {
    for (const std::string there : {"nothing", "a file", "a link"}) {
        SCOPED_TRACE(there);
        const bool replacing = there != "nothing";
        TwoSourceJoin j(2 * 1024 * 1024);
        j.app.drives.makeFolders("c:\\myfiles");
        j.app.drives.write("c:\\vittima", "del proprietario");
        if (there == "a file")
            j.app.drives.write(Out, "del proprietario");
        else if (there == "a link")
            fs::create_symlink(j.app.drives.hostFile("c:\\vittima"), j.app.drives.hostFile(Out));
        killWhereItHalts([&j, replacing](const std::function<void()>& halt) {
            int writes = 0;
            j.app.files.beforeWrite = [&](const std::string& path, size_t) {
                if (path == Out && ++writes == 3)
                    halt();
            };
            j.join("out.bin", replacing);
        });
        EXPECT_EQ(j.app.drives.exists(Out) ? j.app.drives.read(Out) : "", replacing ? "del proprietario" : "");
        EXPECT_EQ(j.app.drives.fs().files("c:\\myfiles"),
                  replacing ? std::vector<std::string>{"out.bin"} : std::vector<std::string>{});
        j.join("out.bin", replacing);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(j.app.drives.hostFile(Out))));
        EXPECT_EQ(j.app.drives.read("c:\\vittima"), "del proprietario");
    }
}

TEST(JoinSurvivalTest, APipeOrASocketAmongTheSourcesIsRefusedAtOnceAndNothingIsWritten) {
    for (const std::string kind : {"pipe", "socket"}) {
        SCOPED_TRACE(kind);
        TwoSourceJoin j;
        const std::string special = j.app.drives.host("c:\\dati\\b");
        fs::remove(special);
        int listener = -1;
        if (kind == "pipe") {
            ASSERT_EQ(::mkfifo(special.c_str(), 0644), 0);
        } else {
            listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            ASSERT_LT(special.size(), sizeof(address.sun_path));
            special.copy(address.sun_path, special.size());
            ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        }
        j.app.main().File2.refresh();
        for (int i = 0; i < j.app.main().File2.count(); ++i)
            j.app.main().File2.setSelected(i, true);
        // A join that waits for a writer would hang here; the alarm ends the test instead.
        ::alarm(60);
        j.join("out.bin", false, err::PathFileAccess);
        ::alarm(0);
        EXPECT_FALSE(j.app.drives.exists(Out));
        if (listener >= 0)
            ::close(listener);
    }
}

// A join that finds another Brenvik naming files in its folder waits, saying so, the window
// answering meanwhile, and names its file once the other is done.
TEST(JoinSurvivalTest, AJoinWaitsForAnotherBrenvikWithoutTheWindowStopping) {
    TwoSourceJoin j;
    j.app.drives.makeFolders("c:\\myfiles");
    int other = ::open(j.app.drives.host("c:\\myfiles").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    bool waited = false;
    const auto start = std::chrono::steady_clock::now();
    j.app.desktop.onBusy = [&] {
        // A join that never says it waits must not wait for ever either.
        if (other >= 0 && std::chrono::steady_clock::now() - start > std::chrono::seconds(5))
            ::close(std::exchange(other, -1));
        if (other >= 0 && j.app.main().infolabel.caption() ==
                              "Un altro Brenvik sta scrivendo in questa cartella: attendo che finisca...") {
            waited = true;
            EXPECT_FALSE(j.app.drives.exists(Out)) << "nothing named while the other holds the folder";
            ::close(std::exchange(other, -1));
        }
    };
    j.join("out.bin", false);
    EXPECT_TRUE(waited);
}

} // namespace
} // namespace brenvik

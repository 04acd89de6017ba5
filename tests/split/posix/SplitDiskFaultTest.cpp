#include "platform/RuntimeError.h"
#include "split/SplitTestSupport.h"
#include "support/HostFaults.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brenvik {
namespace {

using splittest::filesIn;
using splittest::joinParts;
using splittest::setSizeKb;
using splittest::Split;

// The split against a real disk that fails: a small tmpfs over c:\myfiles, where every
// destination of these tests lies.
struct SplitOnSmallDisk : Split {
    SplitOnSmallDisk(const std::string& bytes, int64_t kb, size_t diskBytes)
        : Split("film.avi", bytes, kb), disk(app.drives.host("c:\\myfiles"), diskBytes) {}

    // After a failed split the user picks a destination off the small disk and tries again.
    void splitsElsewhere() {
        m().optionsfrm.outputdir.setText("c:\\altrove\\");
        run();
        EXPECT_EQ(m().infolabel.caption(), " " + std::to_string(m().numparti) + "/ " + std::to_string(m().numparti) +
                                               " files creati con  SUCCESSO");
        EXPECT_EQ(joinParts(app.drives, "c:\\altrove\\film.avi.", m().numparti), source);
        EXPECT_TRUE(app.drives.exists("c:\\altrove\\Assembla[film.avi].bat"));
    }

    SmallDisk disk;
};

#define SKIP_WITHOUT_DISK(d)                                                                                           \
    if (!(d).disk.mounted())                                                                                           \
    GTEST_SKIP() << (d).disk.skipReason()

TEST(SplitDiskFaultTest, ADiskThatFillsUpKeepsOnlyCompletePartsAndNoScript) {
    struct Case {
        size_t size;
        int64_t kb;
        size_t disk;
        int complete;
    };
    // 40 KiB parts on 64 KiB: the first part fits, the second fills the disk. Three parts of
    // 16 KiB fill 48 KiB exactly: the script finds no room.
    for (const Case& c : {Case{200000, 40, 64 * 1024, 1}, Case{3 * 16384, 16, 48 * 1024, 3}}) {
        SplitOnSmallDisk s(patternBytes(c.size), c.kb, c.disk);
        SKIP_WITHOUT_DISK(s);
        s.app.desktop.answer(mb::IdOK);
        s.run();
        ASSERT_EQ(s.app.desktop.boxes.size(), 1u) << c.kb;
        EXPECT_EQ(s.app.desktop.boxes[0].text, "Disco Pieno!");
        EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Disco pieno");
        if (c.complete == 1) {
            EXPECT_NE(s.m().bianco.caption(), "100");
        }
        std::vector<std::string> parts;
        for (int i = 0; i < c.complete; ++i)
            parts.push_back("film.avi." + std::to_string(1000 + i).substr(1));
        EXPECT_EQ(filesIn(s.app.drives, s.dest()), parts) << c.kb << ": no incomplete part, no script";
        EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", c.complete),
                  s.source.substr(0, static_cast<size_t>(c.complete * c.kb * 1024)));
        EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);
        s.splitsElsewhere();
    }
}

TEST(SplitDiskFaultTest, AReadOnlyDestinationKeepsAnEarlierSetAsItWas) {
    SplitOnSmallDisk s(patternBytes(10000), 4, 1024 * 1024);
    SKIP_WITHOUT_DISK(s);
    s.run();
    ASSERT_TRUE(s.app.drives.exists(s.script()));
    const std::string earlierScript = s.app.drives.read(s.script());
    s.disk.makeReadOnly();

    setSizeKb(s.m(), 2);
    s.app.desktop.answer(mb::IdCancel);
    s.run();
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Accesso negato!");
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_EQ(filesIn(s.app.drives, s.dest()),
              (std::vector<std::string>{"Assembla[film.avi].bat", "film.avi.000", "film.avi.001", "film.avi.002"}));
    EXPECT_EQ(s.app.drives.read(s.script()), earlierScript);
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source) << "the earlier set still rebuilds";
    s.splitsElsewhere();
}

TEST(SplitDiskFaultTest, ASourceWithoutReadPermissionWritesNothing) {
    Split s("film.avi", patternBytes(10000), 4);
    const std::string host = s.app.drives.host("c:\\src\\film.avi");
    {
        PermissionBitsApply bits;
        ASSERT_EQ(::chmod(host.c_str(), 0200), 0);
        s.app.desktop.answer(mb::IdCancel);
        s.run();
        ASSERT_EQ(::chmod(host.c_str(), 0600), 0);
    }
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Accesso negato!");
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: Autorizzazione negata");
    EXPECT_TRUE(filesIn(s.app.drives, s.dest()).empty());
    EXPECT_EQ(s.app.drives.read("c:\\src\\film.avi"), s.source);

    s.run();
    EXPECT_EQ(joinParts(s.app.drives, s.dest() + "\\film.avi.", 3), s.source);
}

TEST(SplitDiskFaultTest, ADestinationOnADriveThatCannotBeReachedWaitsForIt) {
    Split s("film.avi", patternBytes(10000), 4);
    const std::string media = s.app.drives.root() + "/media";
    s.app.drives.mapDrive('e', media);
    s.m().optionsfrm.outputdir.setText("e:\\parti\\");

    s.app.desktop.answer(mb::IdCancel);
    s.run();
    ASSERT_EQ(s.app.desktop.boxes.size(), 1u);
    EXPECT_EQ(s.app.desktop.boxes[0].text, "Unità non pronta!");
    EXPECT_EQ(s.m().infolabel.caption(), "Split interrotto: " + describeError(err::DiskNotReady));
    EXPECT_FALSE(std::filesystem::exists(media));

    // OK with the medium put in runs the split again, and it succeeds.
    s.app.desktop.answer(mb::IdOK, [&] { std::filesystem::create_directories(media); });
    s.run();
    EXPECT_EQ(s.m().infolabel.caption(), " 3/ 3 files creati con  SUCCESSO");
    EXPECT_EQ(joinParts(s.app.drives, "e:\\parti\\film.avi.", 3), s.source);
}

} // namespace
} // namespace brenvik

#include "app/FolderCreation.h"
#include "support/TestDrives.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brenvik {
namespace {

TEST(FareCartelleTest, CreatesEveryMissingLevelSkipsWhatItCannotAndEndsTheTextInABackslash) {
    struct Case {
        std::string dir, after;
        const char* folder; // made by the walk
    };
    TestDrives d;
    d.makeFolders("c:\\esiste");
    d.write("c:\\blocco", "a file where a folder should go");
    for (const Case& c : {Case{"c:\\esiste\\[film.avi]\\", "c:\\esiste\\[film.avi]\\", "c:\\esiste\\[film.avi]"},
                          Case{"d:\\a\\b\\c", "d:\\a\\b\\c\\", "d:\\a\\b\\c"}, Case{"c:", "c:\\", nullptr},
                          Case{"c:\\blocco\\sotto", "c:\\blocco\\sotto\\", nullptr},
                          Case{"q:\\x\\y", "q:\\x\\y\\", nullptr}, Case{"", "\\", nullptr}}) {
        std::string dir = c.dir;
        EXPECT_NO_THROW(FareCartelle(d.fs(), dir)) << c.dir;
        EXPECT_EQ(dir, c.after);
        EXPECT_TRUE(!c.folder || d.isFolder(c.folder)) << c.dir;
    }
    EXPECT_EQ(d.read("c:\\blocco"), "a file where a folder should go");
    EXPECT_EQ(d.fs().folders("c:\\"), std::vector<std::string>{"esiste"}) << "nothing else was made";
}

} // namespace
} // namespace brenvik

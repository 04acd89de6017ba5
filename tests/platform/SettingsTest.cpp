#include "app/Settings.h"

#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(SettingsTest, EveryKeyEditedByHandToSomethingUnusableReadsAsItsDefault) {
    const std::string huge = "99999999999999999999";
    for (const std::string& bad : {std::string(), std::string("abc"), huge, std::string("1e400"),
                                   std::string("c:\\non\\esiste"), std::string("\\senza\\unita"), std::string("  ")}) {
        MemorySettingsStore store;
        Settings s(store);
        for (Settings::Key k : {Settings::Eseguito, Settings::InitialDir, Settings::Destinazione, Settings::CartSplit,
                                Settings::CartUnisci, Settings::About})
            s.save(k, bad);
        const bool number = bad == huge || bad == "1e400";
        EXPECT_EQ(s.firstRun(), !number) << bad << ": only a leading number other than 0 marks the first run done";
        EXPECT_EQ(s.initialDir(), bad) << "the start-up falls back from a folder it cannot show";
        // The empty destination is a choice: the parts beside their source.
        EXPECT_EQ(s.destination(), bad.empty() || bad.rfind("c:", 0) == 0 ? bad : "c:\\myfiles") << bad;
        EXPECT_EQ(s.openAfterSplit(), bad == huge) << bad << ": a number past the largest one counts as none";
        EXPECT_TRUE(s.openAfterJoin()) << bad;
        EXPECT_TRUE(s.showStartupPicture()) << bad;
        EXPECT_EQ(s.checkState(Settings::CartSplit, 0), 0) << bad;
        EXPECT_EQ(s.checkState(Settings::About, 1), 1) << bad;
    }
    // Usable values are read as numbers, and reading writes nothing.
    MemorySettingsStore store;
    Settings s(store);
    EXPECT_EQ(s.initialDir(), "c:\\windows\\desktop");
    EXPECT_EQ(store.saves(), 0);
    s.save(Settings::Eseguito, "2abc");
    s.save(Settings::CartSplit, "-3");
    s.save(Settings::About, "0");
    EXPECT_FALSE(s.firstRun());
    EXPECT_TRUE(s.openAfterSplit()) << "a number is true when not 0";
    EXPECT_FALSE(s.showStartupPicture());
}

} // namespace
} // namespace brenvik

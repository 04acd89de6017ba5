#include "app/Settings.h"
#include "platform/Convert.h"
#include "platform/IniSettingsStore.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(ConvertTest, NumbersFromText) {
    EXPECT_EQ(leadingNumber("1"), 1);
    EXPECT_EQ(leadingNumber("12ab"), 12);
    EXPECT_EQ(leadingNumber(" 7.5x"), 7.5);
    EXPECT_EQ(leadingNumber("x"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_FALSE(strictNumber(""));
    EXPECT_FALSE(strictNumber("12a"));
    EXPECT_FALSE(strictNumber("."));
    EXPECT_EQ(*strictNumber(" 500 "), 500);
    EXPECT_THROW(toNumber("abc"), RuntimeError);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_THROW(toInt16(32767.5), RuntimeError) << "rounds to 32768";
    EXPECT_THROW(toInt32(3e9), RuntimeError);
    EXPECT_EQ(formatNumber(3), "3");
    EXPECT_EQ(formatNumber(2.5), "2.5");
}

TEST(SettingsTest, StoredTextThatCannotBeUsedCountsAsTheDefault) {
    MemorySettingsStore store;
    Settings s(store);
    EXPECT_TRUE(s.firstRun());
    EXPECT_EQ(s.initialDir(), "c:\\windows\\desktop");
    EXPECT_EQ(store.saves(), 0) << "reading writes nothing";
    auto set = [&](Settings::Key k, const char* v) { s.save(k, v); };
    set(Settings::Eseguito, "x");
    EXPECT_TRUE(s.firstRun());
    set(Settings::Eseguito, "2abc");
    EXPECT_FALSE(s.firstRun());
    set(Settings::About, "maybe");
    EXPECT_TRUE(s.showStartupPicture());
    set(Settings::About, "0");
    EXPECT_FALSE(s.showStartupPicture());
    set(Settings::CartSplit, "-3");
    EXPECT_TRUE(s.openAfterSplit()) << "a number is true when not 0";
    EXPECT_EQ(s.checkState(Settings::CartSplit, 0), 0) << "not a check box state";
    set(Settings::CartUnisci, "False");
    EXPECT_FALSE(s.openAfterJoin());
    EXPECT_EQ(s.checkState(Settings::CartUnisci, 1), 1);
}

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
        EXPECT_EQ(s.destination(), bad.rfind("c:", 0) == 0 ? bad : "c:\\myfiles") << bad;
        EXPECT_EQ(s.openAfterSplit(), bad == huge) << bad << ": a number past the largest one counts as none";
        EXPECT_TRUE(s.openAfterJoin()) << bad;
        EXPECT_TRUE(s.showStartupPicture()) << bad;
        EXPECT_EQ(s.checkState(Settings::CartSplit, 0), 0) << bad;
        EXPECT_EQ(s.checkState(Settings::About, 1), 1) << bad;
    }
}

} // namespace
} // namespace brenvik

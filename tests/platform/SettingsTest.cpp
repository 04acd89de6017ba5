#include "app/Settings.h"

#include "platform/Convert.h"
#include "platform/MemorySettingsStore.h"
#include "platform/RuntimeError.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

namespace brenvik {
namespace {

TEST(ConvertTest, NumbersKeepTheRuntimesRulesWhateverTheLocale) {
#ifndef _WIN32
    // Under an Italian locale, whose decimal separator is a comma, made for this test; a system
    // without the locale sources checks the rules under its own.
    const std::string folder = ::testing::TempDir() + "brenvik-locale";
    if (std::system(("localedef -i it_IT -f UTF-8 " + folder + "/it_IT.UTF-8 >/dev/null 2>&1").c_str()) == 0) {
        ::setenv("LOCPATH", folder.c_str(), 1);
        ASSERT_NE(std::setlocale(LC_ALL, "it_IT.UTF-8"), nullptr);
    }
#endif
    EXPECT_EQ(strictNumber("1.5"), 1.5);
    EXPECT_EQ(strictNumber("1,5"), std::nullopt);
    EXPECT_EQ(strictNumber("+.5"), 0.5);
    EXPECT_EQ(strictNumber("1e400"), std::nullopt) << "not a finite number";
    EXPECT_EQ(leadingNumber("2.25kb"), 2.25);
    EXPECT_EQ(leadingNumber("-0.5e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(formatNumber(0.1), "0.1");
    EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_THROW(toInt16(32767.5), RuntimeError) << "rounds to 32768";
    std::setlocale(LC_ALL, "C");
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

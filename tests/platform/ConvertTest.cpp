#include "platform/Convert.h"

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
    EXPECT_EQ(fitInt16(32767.4), 32767);
    EXPECT_EQ(fitInt16(32767.5), std::nullopt) << "rounds to 32768";
    EXPECT_EQ(fitInt32(-2147483648.4), -2147483647 - 1);
    EXPECT_EQ(fitInt64(9223372036854775808.0), std::nullopt) << "2^63 itself does not fit";
    std::setlocale(LC_ALL, "C");
}

} // namespace
} // namespace brenvik

#include "platform/ole_currency.h"
#include "platform_test_locale.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

std::int64_t Parsed(const char* text) {
    COleCurrency currency;
    EXPECT_TRUE(currency.ParseCurrency(text)) << text;
    return currency.m_cur.int64;
}
} // namespace

TEST(OleCurrencyTest, FormatDropsTrailingZerosAndUsesTheLocaleSeparator) {
    struct Case {
        std::int64_t scaled;
        const char* c;
        const char* german;
    };
    const Case cases[] = {
        {125000, "12.5", "12,5"},
        {120000, "12", "12"},
        {-1, "-0.0001", "-0,0001"},
        {0, "0", "0"},
        {123456780000, "12345678", "12345678"}, // no grouping
        {kMax, "922337203685477.5807", "922337203685477,5807"},
        {kMin, "-922337203685477.5808", "-922337203685477,5808"},
    };
    for (const Case& c : cases) {
        {
            ScopedLocaleEnvironment environment("C");
            EXPECT_EQ(COleCurrency::FromScaled(c.scaled).Format(), c.c);
        }
        ScopedLocaleEnvironment environment(nullptr, nullptr, kGerman);
        EXPECT_EQ(COleCurrency::FromScaled(c.scaled).Format(), c.german);
        EXPECT_EQ(Parsed(c.german), c.scaled) << c.german;
    }
    COleCurrency null;
    null.SetStatus(COleCurrency::null);
    EXPECT_EQ(null.Format(), "");
    COleCurrency invalid;
    invalid.SetStatus(COleCurrency::invalid);
    EXPECT_EQ(invalid.Format(), "Invalid Currency");

    EXPECT_EQ(COleCurrency(12, 5000).m_cur.int64, 125000);
    EXPECT_EQ(COleCurrency(-12, -5000).m_cur.int64, -125000);
    EXPECT_EQ(COleCurrency(kMax / 10000 + 1, 0).GetStatus(), COleCurrency::invalid);
    EXPECT_EQ(COleCurrency(kMax / 10000, 9999).GetStatus(), COleCurrency::invalid);
    EXPECT_EQ(COleCurrency(kMax / 10000, 5807).m_cur.int64, kMax);
}

TEST(OleCurrencyTest, ParseRoundsAndRefusesOverflowAndGarbage) {
    {
        ScopedLocaleEnvironment german(kGerman);
        EXPECT_EQ(Parsed("1.234,5"), 12345000);
        EXPECT_EQ(Parsed("1.234.567"), 12345670000);
        EXPECT_EQ(Parsed("  +12,3456  "), 123456);
        EXPECT_EQ(Parsed(",5"), 5000);
        EXPECT_EQ(Parsed("7,"), 70000);
        // Half away from zero at the fifth decimal.
        EXPECT_EQ(Parsed("0,00005"), 1);
        EXPECT_EQ(Parsed("-0,00005"), -1);
        EXPECT_EQ(Parsed("0,000049999"), 0);
        EXPECT_EQ(Parsed("2,99995"), 30000);
        EXPECT_EQ(Parsed("922337203685477,5807"), kMax);
        EXPECT_EQ(Parsed("-922337203685477,5808"), kMin);
        EXPECT_EQ(Parsed("-0"), 0);
    }
    {
        ScopedLocaleEnvironment c(nullptr, kGerman, "C");
        EXPECT_EQ(Parsed("12.5"), 125000);
    }
    for (const char* locale : {"C", kGerman}) {
        ScopedLocaleEnvironment environment(locale);
        const bool german = locale == kGerman;
        for (const char* bad : std::initializer_list<const char*>{
                 "", " ", "12a", "--1", "1-", ",", ".", "1e3", "922337203685477,5808",
                 "922337203685477,58075", "-922337203685477,5809", "99999999999999999999999", "1 2",
                 german ? "1.5" : "1,234", german ? "1.23,4" : "1.2.3", german ? ".123" : ",5",
                 nullptr}) {
            COleCurrency currency(5, 0);
            EXPECT_FALSE(currency.ParseCurrency(bad)) << locale << " " << (bad ? bad : "(null)");
            EXPECT_EQ(currency.GetStatus(), COleCurrency::invalid);
        }
    }
}

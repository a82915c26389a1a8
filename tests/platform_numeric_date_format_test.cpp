#include "platform/numeric_date_format.h"

#include <gtest/gtest.h>

#include <locale.h>

namespace {

std::string Strftime(const std::string& format, const std::tm& tm) {
    char buffer[4096];
    const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::size_t length = strftime_l(buffer, sizeof buffer, format.c_str(), &tm, c);
    freelocale(c);
    return std::string(buffer, length);
}

TEST(NumericDateFormatTest, WritesWhatStrftimeWrites) {
    const char* formats[] = {"%d.%m.%Y", "%m/%d/%Y", "%Y-%m-%d %H:%M:%S",  "%T", "%D", "%F",
                             "%R",       "%e.%y",    "Tag %d, 100%% um %H"};
    for (const char* format : formats) {
        const auto compiled = numeric_date_format::Compile(format);
        ASSERT_TRUE(compiled) << format;
        for (int year : {100, 999, 1000, 1899, 1999, 2000, 2009, 2026, 9999}) {
            for (int step = 0; step < 40; ++step) {
                std::tm tm{};
                tm.tm_year = year - 1900;
                tm.tm_mon = step % 12;
                tm.tm_mday = 1 + step * 7 % 31;
                tm.tm_hour = step * 5 % 24;
                tm.tm_min = step * 13 % 60;
                tm.tm_sec = step * 29 % 60;
                std::string text;
                numeric_date_format::Append(text, *compiled, tm);
                EXPECT_EQ(text, Strftime(format, tm)) << format << " " << year << " " << step;
            }
        }
    }
}

TEST(NumericDateFormatTest, LeavesEverythingElseToStrftime) {
    for (const char* format : {"%x", "%r", "%A", "%b", "%p", "%-d", "%Ey", "%Od", "%5Y", "%d%"})
        EXPECT_FALSE(numeric_date_format::Compile(format)) << format;
}

} // namespace

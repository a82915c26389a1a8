#include "platform/ole_date_time.h"
#include "platform_test_locale.h"
#include "tests/support/test_seed.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

namespace {
struct Expected {
    int year, month, day, hour, minute, second;
};

void ExpectParts(const COleDateTime& date, const Expected& e) {
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(date.GetYear(), e.year);
    EXPECT_EQ(date.GetMonth(), e.month);
    EXPECT_EQ(date.GetDay(), e.day);
    EXPECT_EQ(date.GetHour(), e.hour);
    EXPECT_EQ(date.GetMinute(), e.minute);
    EXPECT_EQ(date.GetSecond(), e.second);
}

// Values whose text must read back to the same date in every locale.
const DATE kRoundTrips[] = {
    COleDateTime(2026, 12, 5, 14, 3, 9).m_dt,
    COleDateTime(2026, 12, 5, 0, 0, 0).m_dt,
    COleDateTime(1899, 12, 30, 23, 59, 59).m_dt,
    0.0,
    -1.25,
    COleDateTime(100, 1, 1, 0, 0, 1).m_dt,
    COleDateTime(9999, 12, 31, 23, 59, 59).m_dt,
    COleDateTime(2024, 2, 29, 12, 0, 0).m_dt,
};
} // namespace

TEST(OleDateTimeTest, CTimeIsLocalTime) {
    const CTime time(2026, 12, 5, 14, 3, 9);
    EXPECT_NE(time.GetTime(), 0);
    EXPECT_EQ(time.GetYear(), 2026);
    EXPECT_EQ(time.GetMonth(), 12);
    EXPECT_EQ(time.GetDay(), 5);
    EXPECT_EQ(time.GetHour(), 14);
    EXPECT_EQ(time.GetMinute(), 3);
    EXPECT_EQ(time.GetSecond(), 9);
    EXPECT_EQ(time.GetDayOfWeek(), 7);
    EXPECT_EQ(CTime(time.GetTime() + 86400).GetDay(), 6);
    ExpectParts(COleDateTime(time), {2026, 12, 5, 14, 3, 9});
    EXPECT_EQ(CTime(2026, 2, 30, 0, 0, 0).GetTime(), 0);
    EXPECT_EQ(CTime(1899, 12, 31, 0, 0, 0).GetTime(), 0);

    ScopedLocaleEnvironment german(kGerman);
    EXPECT_EQ(time.Format("%A, %d. %B %Y"), "Samstag, 05. Dezember 2026");
}

TEST(OleDateTimeTest, FormatLeavesOutTheZeroDateAndMidnight) {
    ScopedLocaleEnvironment c("C");
    const COleDateTime full(2026, 12, 5, 14, 3, 9);
    EXPECT_EQ(full.Format(), "12/05/2026 14:03:09");
    EXPECT_EQ(full.Format(VAR_DATEVALUEONLY), "12/05/2026");
    EXPECT_EQ(full.Format(VAR_TIMEVALUEONLY), "14:03:09");
    EXPECT_EQ(COleDateTime(2026, 12, 5, 0, 0, 0).Format(), "12/05/2026");
    EXPECT_EQ(COleDateTime(2026, 12, 5, 0, 0, 0).Format(VAR_TIMEVALUEONLY), "00:00:00");
    EXPECT_EQ(COleDateTime(1899, 12, 30, 14, 3, 9).Format(), "14:03:09");
    EXPECT_EQ(COleDateTime(1899, 12, 30, 14, 3, 9).Format(VAR_DATEVALUEONLY), "12/30/1899");
    EXPECT_EQ(COleDateTime().Format(), "00:00:00");
    EXPECT_EQ(COleDateTime(-1.25).Format(), "12/29/1899 06:00:00");
    EXPECT_EQ(COleDateTime(100, 1, 1, 0, 0, 0).Format(), "01/01/100");
    EXPECT_EQ(full.Format("%Y-%m-%d %A %j"), "2026-12-05 Saturday 339");
    EXPECT_EQ(full.Format(""), "");
    // Texts longer than the first buffer grow it; a width no memory could hold gives nothing.
    EXPECT_EQ(full.Format("%0300Y").GetLength(), 300);
    EXPECT_EQ(full.Format("%0300Y").Right(5), "02026");
    EXPECT_EQ(full.Format("%99999999999Y"), "");

    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(null.Format(), "");
    EXPECT_EQ(COleDateTime(2026, 2, 30, 0, 0, 0).Format(), "Invalid DateTime");
    EXPECT_EQ(COleDateTime(1e9).Format("%Y"), "Invalid DateTime");
}

// LC_ALL before LC_TIME before LANG; LC_NUMERIC has no say; an unknown locale is "C".
TEST(OleDateTimeTest, FormatFollowsTheUsersLocale) {
    struct Case {
        const char *lcAll, *lcTime, *lcNumeric, *lang;
        const char* text;
    };
    const char* german = "05.12.2026 14:03:09";
    const char* c = "12/05/2026 14:03:09";
    const Case cases[] = {
        {kGerman, nullptr, nullptr, nullptr, german}, {nullptr, kGerman, "C", "C", german},
        {nullptr, nullptr, nullptr, kGerman, german}, {"C", kGerman, kGerman, kGerman, c},
        {nullptr, nullptr, kGerman, nullptr, c},      {"xx_YY.UTF-8", nullptr, nullptr, nullptr, c},
    };
    const COleDateTime date(2026, 12, 5, 14, 3, 9);
    for (const Case& e : cases) {
        ScopedLocaleEnvironment environment(e.lcAll, e.lcTime, e.lcNumeric, e.lang);
        EXPECT_EQ(date.Format(), e.text) << "case " << &e - cases;
    }
    ScopedLocaleEnvironment environment(kGerman);
    EXPECT_EQ(date.Format("%A"), "Samstag");
}

TEST(OleDateTimeTest, ValuesWithoutADayOfTheYears100To9999HaveNoText) {
    // Not a number, past the range, or rounded to the second up into the year 10000.
    for (DATE value : {std::nan(""), 2958466.0, 2958465.9999999}) {
        const COleDateTime date(value);
        EXPECT_EQ(date.Format(), "Invalid DateTime") << value;
        EXPECT_EQ(DateTimeFormat().Format(date), "Invalid DateTime") << value;
        EXPECT_EQ(date.GetYear(), -1) << value;
    }
    EXPECT_EQ(COleDateTime(2958465.99999).GetYear(), 9999); // half a second short of the end
}

TEST(OleDateTimeTest, ParseReadsWhatFormatWrites) {
    for (const char* locale : {"C", kGerman}) {
        ScopedLocaleEnvironment environment(locale);
        for (DATE value : kRoundTrips) {
            const CString text = COleDateTime(value).Format();
            COleDateTime parsed;
            EXPECT_TRUE(parsed.ParseDateTime(text)) << locale << " " << text.c_str();
            EXPECT_EQ(parsed.m_dt, value) << locale << " " << text.c_str();
        }
    }
}

TEST(OleDateTimeTest, ParseAcceptsLooseInputAndRefusesGarbage) {
    ScopedLocaleEnvironment german(kGerman);
    COleDateTime date;
    ASSERT_TRUE(date.ParseDateTime("  5.12.26 14:03  "));
    ExpectParts(date, {2026, 12, 5, 14, 3, 0});
    ASSERT_TRUE(date.ParseDateTime("1.1.30"));
    EXPECT_EQ(date.GetYear(), 1930);
    ASSERT_TRUE(date.ParseDateTime("1.1.29"));
    EXPECT_EQ(date.GetYear(), 2029);
    ASSERT_TRUE(date.ParseDateTime("2026-12-05 14:03:09"));
    ExpectParts(date, {2026, 12, 5, 14, 3, 9});
    ASSERT_TRUE(date.ParseDateTime("2026-12-05"));
    ExpectParts(date, {2026, 12, 5, 0, 0, 0});
    ASSERT_TRUE(date.ParseDateTime("9:05"));
    EXPECT_EQ(date.m_dt, COleDateTime(1899, 12, 30, 9, 5, 0).m_dt);
    ASSERT_TRUE(date.ParseDateTime("05.12.2026 14:03:09", VAR_DATEVALUEONLY));
    EXPECT_EQ(date.m_dt, COleDateTime(2026, 12, 5, 0, 0, 0).m_dt);
    ASSERT_TRUE(date.ParseDateTime("05.12.2026 14:03:09", VAR_TIMEVALUEONLY));
    EXPECT_EQ(date.m_dt, COleDateTime(1899, 12, 30, 14, 3, 9).m_dt);

    for (const char* bad : std::initializer_list<const char*>{
             "", "   ", "abc", "31.02.2026", "05.12.2026 24:00:00", "14:60",
             "05.12.2026 14:03:09 x", "12/05/2026", "05.12.99999", "1.1.0099", "2026-13-01",
             "05..12.2026", nullptr}) {
        date = COleDateTime(45000.5);
        EXPECT_FALSE(date.ParseDateTime(bad)) << (bad ? bad : "(null)");
        EXPECT_EQ(date.GetStatus(), COleDateTime::invalid) << (bad ? bad : "(null)");
    }

    ScopedLocaleEnvironment c("C");
    ASSERT_TRUE(date.ParseDateTime("12/5/2026 2:03:09"));
    ExpectParts(date, {2026, 12, 5, 2, 3, 9});
    EXPECT_FALSE(date.ParseDateTime("05.12.2026"));

    // A twelve-hour clock: 12 AM is midnight, 12 PM noon; its hours run from 1 to 12.
    ScopedLocaleEnvironment english("en_US.UTF-8");
    ASSERT_TRUE(date.ParseDateTime("12/5/2026 1:03:09 PM"));
    ExpectParts(date, {2026, 12, 5, 13, 3, 9});
    ASSERT_TRUE(date.ParseDateTime("12/5/2026 12:00:00 am"));
    ExpectParts(date, {2026, 12, 5, 0, 0, 0});
    ASSERT_TRUE(date.ParseDateTime("12/5/2026 12:30:00 PM"));
    ExpectParts(date, {2026, 12, 5, 12, 30, 0});
    EXPECT_FALSE(date.ParseDateTime("12/5/2026 13:03:09 PM"));
    EXPECT_FALSE(date.ParseDateTime("12/5/2026 0:03:09 AM"));
}

// Moments all over the years 100 to 9999 against the standard library's calendar: the parts
// read back, the OLE date counts days from 30 Dec 1899 (before it, the time of day taken
// positively), the weekday and the day of the year agree, and later moments compare later.
TEST(OleDateTimeTest, RandomMomentsAgreeWithTheStandardCalendar) {
    using namespace std::chrono;
    const sys_days epoch = sys_days(year{1899} / December / 30);
    const int first = (sys_days(year{100} / January / 1) - epoch).count();
    const int last = (sys_days(year{9999} / December / 31) - epoch).count();
    std::mt19937 random(TestSeed(3));
    std::uniform_int_distribution<int> anyDay(first, last);
    std::uniform_int_distribution<int> anySecond(0, 86399);
    std::optional<std::pair<long long, COleDateTime>> previous; // seconds since the epoch, date
    for (int i = 0; i < 20000; ++i) {
        // Near the epoch now and then, where the sign of the fraction turns.
        const int dayNumber = i % 10 == 0 ? anyDay(random) % 4 - 2 : anyDay(random);
        const int second = anySecond(random);
        const year_month_day civil{epoch + days{dayNumber}};
        const int y = int(civil.year()), mo = int(unsigned(civil.month())),
                  d = int(unsigned(civil.day()));
        const COleDateTime date(y, mo, d, second / 3600, second / 60 % 60, second % 60);
        SCOPED_TRACE(std::to_string(y) + "-" + std::to_string(mo) + "-" + std::to_string(d) + " +" +
                     std::to_string(second) + "s");
        ASSERT_NO_FATAL_FAILURE(
            ExpectParts(date, {y, mo, d, second / 3600, second / 60 % 60, second % 60}));
        const double fraction = second / 86400.0;
        ASSERT_EQ(date.m_dt, dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction);
        ASSERT_EQ(date.GetDayOfWeek(),
                  int(weekday{sys_days(civil)}.c_encoding()) + 1); // 1 = Sunday
        ASSERT_EQ(date.GetDayOfYear(),
                  (sys_days(civil) - sys_days(civil.year() / January / 1)).count() + 1);
        char text[32];
        std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", y, mo, d, second / 3600,
                      second / 60 % 60, second % 60);
        ASSERT_EQ(COleDateTime(date.m_dt).Format("%Y-%m-%d %H:%M:%S"), CString(text));
        const long long moment = dayNumber * 86400LL + second;
        if (previous) {
            ASSERT_EQ(previous->second < date, previous->first < moment);
            ASSERT_EQ(date < previous->second, moment < previous->first);
        }
        previous.emplace(moment, date);
    }
}

// CTime and COleDateTime: whole-second local time and the OLE date (days since 30 Dec 1899).
#pragma once

#include "platform/cstring.h"

#include <ctime>
#include <locale.h>
#include <optional>
#include <string>

class CTime {
public:
    CTime() = default;
    explicit CTime(std::time_t time) : m_time(time) {}
    // Local time; out-of-range parts give the time 0 (as an invalid CTime).
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();
    std::time_t GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    // strftime in the user's locale.
    CString Format(const char* format) const;

    friend bool operator==(const CTime& a, const CTime& b) { return a.m_time == b.m_time; }
    friend bool operator<(const CTime& a, const CTime& b) { return a.m_time < b.m_time; }

private:
    std::time_t m_time = 0;
};

// Flags of COleDateTime::Format and ParseDateTime.
constexpr DWORD VAR_TIMEVALUEONLY = 0x00000001;
constexpr DWORD VAR_DATEVALUEONLY = 0x00000002;

using DATE = double;

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default; // valid, 30 Dec 1899 00:00:00
    COleDateTime(DATE date) : m_dt(date) {}
    COleDateTime(int year, int month, int day, int hour, int minute, int second);
    COleDateTime(const CTime& time);
    explicit COleDateTime(std::time_t time);

    static COleDateTime GetCurrentTime();

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    // Returns 0 on success; invalid parts leave the status invalid.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    int SetTime(int hour, int minute, int second) {
        return SetDateTime(1899, 12, 30, hour, minute, second);
    }

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    int GetDayOfYear() const;

    // The user's locale (LC_ALL, LC_TIME, LANG): short date and time; the date is left out for
    // the zero date and the time at midnight. VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY choose one.
    // Null gives an empty text, an invalid value "Invalid DateTime".
    CString Format(DWORD flags = 0) const;
    // strftime-style format of the value.
    CString Format(const char* format) const;
    // Parses a date and/or time as the user's locale writes them (and ISO 8601); false leaves the
    // status invalid.
    bool ParseDateTime(const char* text, DWORD flags = 0);

    friend bool operator==(const COleDateTime& a, const COleDateTime& b) {
        return a.m_status == b.m_status && a.m_dt == b.m_dt;
    }
    friend bool operator<(const COleDateTime& a, const COleDateTime& b);

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// The user's short date and time formats as COleDateTime::Format(flags) uses them, read from the
// environment and the locale when this is made. Whoever formats many dates at once (a list being
// filled) keeps one for the run instead of reading them again for every date; COleDateTime::Format
// makes a new one on each call and so always follows the environment.
class DateTimeFormat {
public:
    DateTimeFormat();
    // The same text as date.Format(flags) gives under the locale read at construction.
    CString Format(const COleDateTime& date, DWORD flags = 0) const;
    // The same, into `out`, whose storage is reused: a list formats a date or two per row.
    void Format(CString& out, const COleDateTime& date, DWORD flags = 0) const;

private:
    // A format as strftime takes it, ending in a marker that tells an empty text from a short
    // buffer; and, when it holds numeric conversions only, spelled out to be written directly.
    struct Pattern {
        std::string marked;
        std::optional<std::string> numeric;
    };
    static Pattern MakePattern(const std::string& format);
    void Append(std::string& out, const Pattern& pattern, const std::tm& tm) const;

    locale_t m_locale;
    Pattern m_date;
    Pattern m_time;
    std::optional<Pattern> m_dateAndTime; // nothing when the two cannot be run as one format
    mutable std::string m_text;           // the text being written, kept for its storage
};

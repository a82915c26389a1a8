#include "platform/ole_date_time.h"

#include "platform/numeric_date_format.h"
#include "platform/user_locale.h"

#include <algorithm>
#include <cmath>
#include <langinfo.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr long long kDaysFrom1899To1970 = 25569;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
const char kInvalidText[] = "Invalid DateTime";

// Proleptic Gregorian calendar by day number relative to 1 Jan 1970 (H. Hinnant's algorithms).
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ValidParts(int year, int month, int day, int hour, int minute, int second) {
    return year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

// An OLE date counts days from 30 Dec 1899; before that day the integer part still names the day
// but the fraction is the time of day taken positively (-1.25 is 29 Dec 1899, 06:00).
DATE DateFromParts(int year, int month, int day, int hour, int minute, int second) {
    const double serial =
        static_cast<double>(DaysFromCivil(year, month, day) + kDaysFrom1899To1970);
    const double time = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
    return serial >= 0 ? serial + time : serial - time;
}

// Days from 30 Dec 1899 on one continuous line (-1.25 becomes -0.75), for splitting and ordering.
double Linear(DATE date) {
    const double whole = std::trunc(date);
    return whole + std::fabs(date - whole);
}

struct Parts {
    long long serial; // days since 30 Dec 1899
    int secondOfDay;
    int year, month, day, hour, minute, second;
};

// Splits to the nearest second; false outside the years 100 to 9999.
std::optional<Parts> Split(DATE date) {
    if (!std::isfinite(date) || date <= -657435.0 || date >= 2958466.0)
        return std::nullopt;
    const long long seconds = std::llround(Linear(date) * kSecondsPerDay);
    Parts parts;
    parts.serial = seconds / kSecondsPerDay;
    long long rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --parts.serial;
    }
    parts.secondOfDay = static_cast<int>(rest);
    CivilFromDays(parts.serial - kDaysFrom1899To1970, parts.year, parts.month, parts.day);
    if (parts.year < kMinYear || parts.year > kMaxYear) // rounded up past the last second
        return std::nullopt;
    parts.hour = parts.secondOfDay / 3600;
    parts.minute = parts.secondOfDay / 60 % 60;
    parts.second = parts.secondOfDay % 60;
    return parts;
}

std::tm TmFromParts(const Parts& parts) {
    // Days in the year before each month's first, in a common year.
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    std::tm tm{};
    tm.tm_year = parts.year - 1900;
    tm.tm_mon = parts.month - 1;
    tm.tm_mday = parts.day;
    tm.tm_hour = parts.hour;
    tm.tm_min = parts.minute;
    tm.tm_sec = parts.second;
    // 30 Dec 1899 was a Saturday.
    tm.tm_wday = static_cast<int>(((parts.serial + 6) % 7 + 7) % 7);
    tm.tm_yday = kDaysBefore[parts.month - 1] + parts.day - 1 +
                 (parts.month > 2 && IsLeapYear(parts.year) ? 1 : 0);
    tm.tm_isdst = -1;
    return tm;
}

// Ends every format given to strftime, so that an empty text is told from a short buffer.
constexpr char kFormatEnd = '\x01';

// The longest text a format may make: a field width beyond it ("%99999999Y") would otherwise
// take all the memory there is before strftime gave up.
constexpr std::size_t kMaxFormattedLength = std::size_t{1} << 20;

// strftime of `marked` (a format ending in kFormatEnd) in `locale`, of any length up to
// kMaxFormattedLength, appended to `out` without the marker; a longer text appends nothing. Short
// texts, such as dates, need no allocation of their own.
void AppendFormatted(std::string& out, const std::string& marked, const std::tm& tm,
                     locale_t locale) {
    char small[128];
    std::size_t length = strftime_l(small, sizeof small, marked.c_str(), &tm, locale);
    if (length > 0) {
        out.append(small, length - 1);
        return;
    }
    std::string buffer(marked.size() * 4 + sizeof small, '\0');
    for (;;) {
        length = strftime_l(buffer.data(), buffer.size(), marked.c_str(), &tm, locale);
        if (length > 0) {
            out.append(buffer.data(), length - 1);
            return;
        }
        if (buffer.size() > kMaxFormattedLength)
            return;
        buffer.resize(buffer.size() * 2);
    }
}

// strftime in the user's locale, of any length.
CString FormatTm(const char* format, const std::tm& tm) {
    if (!format || !*format)
        return CString();
    std::string text;
    AppendFormatted(text, std::string(format) + kFormatEnd, tm,
                    user_locale::Current(user_locale::Category::Time).handle);
    return CString(std::move(text));
}

// The position of the conversion character after a "%" and the flags, width and E/O modifier
// that may stand between (format.size() when the format ends first).
std::size_t SkipConversionFlags(std::string_view format, std::size_t i) {
    while (i < format.size() &&
           std::string_view("-_0^#123456789EO").find(format[i]) != std::string_view::npos)
        ++i;
    return i;
}

// Whether the format ends inside a conversion ("%", or "%" with flags, width or modifier only),
// which the next character would complete.
bool EndsInsideConversion(std::string_view format) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        i = SkipConversionFlags(format, i + 1);
        if (i >= format.size())
            return true;
    }
    return false;
}

struct LocaleFormats {
    std::string date;
    std::string time;
    std::string timeAmPm; // for %r
    std::string am, pm;
    locale_t locale;
};

// The short date and time formats; the "C" locale's own date has a two-digit year, which a date
// spanning the years 100 to 9999 cannot do with.
LocaleFormats CurrentFormats() {
    const user_locale::Locale locale = user_locale::Current(user_locale::Category::Time);
    LocaleFormats formats{"%m/%d/%Y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM", locale.handle};
    if (!locale.isC) {
        const std::string date = nl_langinfo_l(D_FMT, locale.handle);
        const std::string time = nl_langinfo_l(T_FMT, locale.handle);
        const std::string timeAmPm = nl_langinfo_l(T_FMT_AMPM, locale.handle);
        if (!date.empty())
            formats.date = date;
        if (!time.empty())
            formats.time = time;
        if (!timeAmPm.empty() && timeAmPm.find("%r") == std::string::npos)
            formats.timeAmPm = timeAmPm;
        formats.am = nl_langinfo_l(AM_STR, locale.handle);
        formats.pm = nl_langinfo_l(PM_STR, locale.handle);
    }
    return formats;
}

// --- Parsing by a strftime format -----------------------------------------------------------

struct Fields {
    int year = -1, month = -1, day = -1;
    int hour = -1, minute = -1, second = -1;
    bool twelveHour = false;
    int pm = -1; // -1 unknown, 0 AM, 1 PM
    bool HasDate() const { return year >= 0 || month >= 0 || day >= 0; }
    bool HasTime() const { return hour >= 0 || minute >= 0 || second >= 0; }
};

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

char AsciiLower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    return true;
}

// Replaces the composite conversions by their parts and drops flags, widths and the E/O
// modifiers, so that the matcher only meets single fields.
std::string Expand(std::string_view format, const LocaleFormats& formats, int depth = 0) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        i = SkipConversionFlags(format, i + 1);
        if (i >= format.size())
            break;
        const char conversion = format[i];
        std::string_view composite;
        switch (conversion) {
        case 'T':
            composite = "%H:%M:%S";
            break;
        case 'R':
            composite = "%H:%M";
            break;
        case 'D':
            composite = "%m/%d/%y";
            break;
        case 'F':
            composite = "%Y-%m-%d";
            break;
        case 'r':
            composite = formats.timeAmPm;
            break;
        case 'x':
            composite = formats.date;
            break;
        case 'X':
            composite = formats.time;
            break;
        default:
            break;
        }
        if (!composite.empty() && depth < 4)
            out += Expand(composite, formats, depth + 1);
        else {
            out += '%';
            out += conversion;
        }
    }
    return out;
}

// The same format without its seconds, so that "14:03" is taken where "14:03:09" is written.
std::optional<std::string> WithoutSeconds(const std::string& format) {
    const std::size_t seconds = format.find("%S");
    if (seconds == std::string::npos)
        return std::nullopt;
    std::size_t start = seconds;
    while (start > 0 && !(start >= 2 && format[start - 2] == '%'))
        --start;
    return format.substr(0, start) + format.substr(seconds + 2);
}

class Matcher {
public:
    Matcher(std::string_view text, const LocaleFormats& formats)
        : m_text(text), m_formats(formats) {}

    // True when the whole text is read by `format`.
    bool Match(std::string_view format, Fields& fields) {
        for (std::size_t i = 0; i < format.size(); ++i) {
            const char ch = format[i];
            if (IsBlank(ch)) {
                SkipBlanks();
            } else if (ch == '%' && i + 1 < format.size()) {
                if (!Field(format[++i], fields))
                    return false;
            } else if (m_text.empty() || m_text.front() != ch) {
                return false;
            } else {
                m_text.remove_prefix(1);
            }
        }
        return m_text.empty();
    }

private:
    void SkipBlanks() {
        while (!m_text.empty() && IsBlank(m_text.front()))
            m_text.remove_prefix(1);
    }

    // Up to `maxDigits` digits, at least one; -1 when there are none.
    int Number(int maxDigits, int* digitCount = nullptr) {
        int value = 0;
        int count = 0;
        while (count < maxDigits && !m_text.empty() && m_text.front() >= '0' &&
               m_text.front() <= '9') {
            value = value * 10 + (m_text.front() - '0');
            m_text.remove_prefix(1);
            ++count;
        }
        if (digitCount)
            *digitCount = count;
        return count > 0 ? value : -1;
    }

    // Reads the longest of the locale's names for `items`; its index, or -1 when none matches.
    int Name(const nl_item* items, int count) {
        int best = -1;
        std::size_t bestLength = 0;
        for (int i = 0; i < count; ++i) {
            const std::string_view name = nl_langinfo_l(items[i], m_formats.locale);
            if (!name.empty() && name.size() > bestLength && StartsWithNoCase(m_text, name)) {
                best = i;
                bestLength = name.size();
            }
        }
        m_text.remove_prefix(bestLength);
        return best;
    }

    bool Field(char conversion, Fields& fields) {
        static constexpr nl_item kMonths[] = {
            MON_1,   MON_2,   MON_3,   MON_4,   MON_5,   MON_6,    MON_7,    MON_8,
            MON_9,   MON_10,  MON_11,  MON_12,  ABMON_1, ABMON_2,  ABMON_3,  ABMON_4,
            ABMON_5, ABMON_6, ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
        static constexpr nl_item kDays[] = {DAY_1,   DAY_2,   DAY_3,   DAY_4,   DAY_5,
                                            DAY_6,   DAY_7,   ABDAY_1, ABDAY_2, ABDAY_3,
                                            ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
        switch (conversion) {
        case 'e':
            SkipBlanks();
            [[fallthrough]];
        case 'd':
            return (fields.day = Number(2)) >= 0;
        case 'm':
            return (fields.month = Number(2)) >= 0;
        case 'b':
        case 'B':
        case 'h': {
            const int month = Name(kMonths, 24);
            fields.month = month < 0 ? -1 : month % 12 + 1;
            return month >= 0;
        }
        case 'a':
        case 'A': // the weekday follows from the date; it is read and passed over
            return Name(kDays, 14) >= 0;
        case 'y':
        case 'Y': {
            int digits = 0;
            int year = Number(4, &digits);
            if (year >= 0 && digits <= 2) // two digits name 2000-2029 or 1930-1999
                year += year < 30 ? 2000 : 1900;
            fields.year = year;
            return year >= 0;
        }
        case 'H':
            return (fields.hour = Number(2)) >= 0;
        case 'I':
            fields.twelveHour = true;
            return (fields.hour = Number(2)) >= 0;
        case 'M':
            return (fields.minute = Number(2)) >= 0;
        case 'S':
            return (fields.second = Number(2)) >= 0;
        case 'p':
            return AmPm(fields);
        case 'n':
        case 't':
            SkipBlanks();
            return true;
        case '%':
            if (m_text.empty() || m_text.front() != '%')
                return false;
            m_text.remove_prefix(1);
            return true;
        default:
            return false;
        }
    }

    bool AmPm(Fields& fields) {
        const std::string& am = m_formats.am;
        const std::string& pm = m_formats.pm;
        if (am.empty() && pm.empty())
            return true;
        // The longer first, in case one begins with the other.
        const bool pmFirst = pm.size() > am.size();
        for (int pass = 0; pass < 2; ++pass) {
            const bool tryPm = (pass == 0) == pmFirst;
            const std::string& name = tryPm ? pm : am;
            if (!name.empty() && StartsWithNoCase(m_text, name)) {
                m_text.remove_prefix(name.size());
                fields.pm = tryPm ? 1 : 0;
                return true;
            }
        }
        return false;
    }

    std::string_view m_text;
    const LocaleFormats& m_formats;
};

// Completes and checks what a format read: a missing date is the zero date, a missing time
// midnight.
std::optional<DATE> DateFromFields(Fields fields, DWORD flags) {
    if (fields.twelveHour && fields.hour >= 0) {
        if (fields.hour < 1 || fields.hour > 12)
            return std::nullopt;
        if (fields.pm >= 0)
            fields.hour = fields.hour % 12 + (fields.pm == 1 ? 12 : 0);
    }
    int year = 1899, month = 12, day = 30;
    if (fields.HasDate()) {
        if (fields.year < 0 || fields.month < 0 || fields.day < 0)
            return std::nullopt;
        year = fields.year;
        month = fields.month;
        day = fields.day;
    }
    int hour = 0, minute = 0, second = 0;
    if (fields.HasTime()) {
        if (fields.hour < 0 || fields.minute < 0)
            return std::nullopt;
        hour = fields.hour;
        minute = fields.minute;
        second = fields.second < 0 ? 0 : fields.second;
    }
    if (!ValidParts(year, month, day, hour, minute, second))
        return std::nullopt;
    if (flags & VAR_DATEVALUEONLY)
        hour = minute = second = 0;
    if (flags & VAR_TIMEVALUEONLY) {
        year = 1899;
        month = 12;
        day = 30;
    }
    return DateFromParts(year, month, day, hour, minute, second);
}

std::optional<DATE> ParseText(std::string_view text, DWORD flags) {
    const LocaleFormats formats = CurrentFormats();
    const std::string date = Expand(formats.date, formats);
    const std::string time = Expand(formats.time, formats);
    std::vector<std::string> candidates = {date + ' ' + time, date, time};
    if (auto shortTime = WithoutSeconds(time)) {
        candidates.push_back(date + ' ' + *shortTime);
        candidates.push_back(*shortTime);
    }
    for (const char* iso :
         {"%Y-%m-%d", "%Y-%m-%d %H:%M", "%Y-%m-%d %H:%M:%S", "%Y-%m-%dT%H:%M", "%Y-%m-%dT%H:%M:%S"})
        candidates.emplace_back(iso);
    for (const std::string& candidate : candidates) {
        Fields fields;
        if (Matcher(text, formats).Match(candidate, fields))
            if (auto result = DateFromFields(fields, flags))
                return result;
    }
    return std::nullopt;
}

bool LocalTime(std::time_t time, std::tm& tm) {
    return localtime_r(&time, &tm) != nullptr;
}

} // namespace

// --- CTime ------------------------------------------------------------------------------------

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1900 || !ValidParts(year, month, day, hour, minute, second))
        return;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::time_t time = std::mktime(&tm);
    std::tm check{};
    // -1 is also a real instant (one second before 1970 UTC); only then is it the answer.
    if (time == -1 &&
        (!LocalTime(time, check) || check.tm_year != year - 1900 || check.tm_mday != day))
        return;
    m_time = time;
}

CTime CTime::GetCurrentTime() {
    return CTime(std::time(nullptr));
}

namespace {
int LocalField(std::time_t time, int std::tm::*field, int offset = 0) {
    std::tm tm{};
    return LocalTime(time, tm) ? tm.*field + offset : -1;
}
} // namespace

int CTime::GetYear() const {
    return LocalField(m_time, &std::tm::tm_year, 1900);
}
int CTime::GetMonth() const {
    return LocalField(m_time, &std::tm::tm_mon, 1);
}
int CTime::GetDay() const {
    return LocalField(m_time, &std::tm::tm_mday);
}
int CTime::GetHour() const {
    return LocalField(m_time, &std::tm::tm_hour);
}
int CTime::GetMinute() const {
    return LocalField(m_time, &std::tm::tm_min);
}
int CTime::GetSecond() const {
    return LocalField(m_time, &std::tm::tm_sec);
}
int CTime::GetDayOfWeek() const {
    return LocalField(m_time, &std::tm::tm_wday, 1);
}

CString CTime::Format(const char* format) const {
    std::tm tm{};
    return LocalTime(m_time, tm) ? FormatTm(format, tm) : CString();
}

// --- COleDateTime -----------------------------------------------------------------------------

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime::COleDateTime(const CTime& time) : COleDateTime(time.GetTime()) {}

COleDateTime::COleDateTime(std::time_t time) {
    std::tm tm{};
    if (!LocalTime(time, tm)) {
        m_status = invalid;
        return;
    }
    SetDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                std::min(tm.tm_sec, 59)); // a leap second is not an OLE date
}

COleDateTime COleDateTime::GetCurrentTime() {
    return COleDateTime(std::time(nullptr));
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (!ValidParts(year, month, day, hour, minute, second)) {
        m_dt = 0.0;
        m_status = invalid;
        return 1;
    }
    m_dt = DateFromParts(year, month, day, hour, minute, second);
    m_status = valid;
    return 0;
}

namespace {
// A part of a valid date, or -1 (MFC's AFX_OLE_DATETIME_ERROR).
template <typename Get> int DatePart(const COleDateTime& date, Get get) {
    if (date.GetStatus() != COleDateTime::valid)
        return -1;
    const auto parts = Split(date.m_dt);
    return parts ? get(*parts) : -1;
}
} // namespace

int COleDateTime::GetYear() const {
    return DatePart(*this, [](const Parts& p) { return p.year; });
}
int COleDateTime::GetMonth() const {
    return DatePart(*this, [](const Parts& p) { return p.month; });
}
int COleDateTime::GetDay() const {
    return DatePart(*this, [](const Parts& p) { return p.day; });
}
int COleDateTime::GetHour() const {
    return DatePart(*this, [](const Parts& p) { return p.hour; });
}
int COleDateTime::GetMinute() const {
    return DatePart(*this, [](const Parts& p) { return p.minute; });
}
int COleDateTime::GetSecond() const {
    return DatePart(*this, [](const Parts& p) { return p.second; });
}
int COleDateTime::GetDayOfWeek() const {
    return DatePart(*this, [](const Parts& p) { return TmFromParts(p).tm_wday + 1; });
}
int COleDateTime::GetDayOfYear() const {
    return DatePart(*this, [](const Parts& p) { return TmFromParts(p).tm_yday + 1; });
}

CString COleDateTime::Format(DWORD flags) const {
    return DateTimeFormat().Format(*this, flags);
}

CString COleDateTime::Format(const char* format) const {
    if (m_status == null)
        return CString();
    const auto parts = m_status == valid ? Split(m_dt) : std::nullopt;
    return parts ? FormatTm(format, TmFromParts(*parts)) : CString(kInvalidText);
}

bool COleDateTime::ParseDateTime(const char* text, DWORD flags) {
    CString trimmed(text);
    trimmed.Trim();
    const auto date = trimmed.IsEmpty() ? std::nullopt : ParseText(trimmed.str(), flags);
    m_dt = date.value_or(0.0);
    m_status = date ? valid : invalid;
    return date.has_value();
}

bool operator<(const COleDateTime& a, const COleDateTime& b) {
    return Linear(a.m_dt) < Linear(b.m_dt);
}

// --- DateTimeFormat ---------------------------------------------------------------------------

DateTimeFormat::Pattern DateTimeFormat::MakePattern(const std::string& format) {
    return {format + kFormatEnd, numeric_date_format::Compile(format)};
}

DateTimeFormat::DateTimeFormat() {
    const LocaleFormats formats = CurrentFormats();
    m_locale = formats.locale;
    m_date = MakePattern(formats.date);
    m_time = MakePattern(formats.time);
    // Run as one format, a date format ending inside a conversion would take the blank in.
    if (!EndsInsideConversion(formats.date))
        m_dateAndTime = MakePattern(formats.date + ' ' + formats.time);
}

void DateTimeFormat::Append(std::string& out, const Pattern& pattern, const std::tm& tm) const {
    if (pattern.numeric)
        numeric_date_format::Append(out, *pattern.numeric, tm);
    else
        AppendFormatted(out, pattern.marked, tm, m_locale);
}

CString DateTimeFormat::Format(const COleDateTime& date, DWORD flags) const {
    CString text;
    Format(text, date, flags);
    return text;
}

void DateTimeFormat::Format(CString& out, const COleDateTime& date, DWORD flags) const {
    if (date.m_status == COleDateTime::null) {
        out.Empty();
        return;
    }
    const auto parts = date.m_status == COleDateTime::valid ? Split(date.m_dt) : std::nullopt;
    if (!parts) {
        out = kInvalidText;
        return;
    }
    bool showDate = flags & VAR_DATEVALUEONLY;
    bool showTime = flags & VAR_TIMEVALUEONLY;
    if (!showDate && !showTime) {
        showDate = parts->serial != 0;
        showTime = parts->secondOfDay != 0 || !showDate;
    }
    const std::tm tm = TmFromParts(*parts);
    m_text.clear();
    if (showDate && showTime && m_dateAndTime) {
        Append(m_text, *m_dateAndTime, tm);
    } else {
        if (showDate)
            Append(m_text, m_date, tm);
        if (showTime) {
            if (showDate)
                m_text += ' ';
            Append(m_text, m_time, tm);
        }
    }
    out.SetString(m_text.data(), static_cast<int>(m_text.size()));
}

#include "platform/dao/field_types.h"

#include "platform/utf8.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace dao_detail {
namespace {

struct TypeName {
    short type;
    const char* name;
    long size;       // 0 for the sized types: the size comes from "(n)"
    long attributes; // what a column of this name reports without an ATTR suffix
    bool sized;
};

// MEMO is declared LONGTEXT (Jet's synonym): the engine gives "MEMO" numeric affinity, which would
// turn a stored "0123" into 123.
constexpr TypeName kTypeNames[] = {
    {dbBoolean, "BIT", 1, dbFixedField, false},
    {dbByte, "BYTE", 1, dbFixedField, false},
    {dbInteger, "SHORT", 2, dbFixedField, false},
    {dbLong, "LONG", 4, dbFixedField, false},
    {dbCurrency, "CURRENCY", 8, dbFixedField, false},
    {dbSingle, "SINGLE", 4, dbFixedField, false},
    {dbDouble, "DOUBLE", 8, dbFixedField, false},
    {dbDate, "DATETIME", 8, dbFixedField, false},
    {dbBinary, "BINARY", 0, dbFixedField, true},
    {dbBinary, "VARBINARY", 0, dbVariableField, true},
    {dbText, "CHAR", 0, dbFixedField, true},
    {dbText, "TEXT", 0, dbVariableField, true},
    {dbLongBinary, "LONGBINARY", 0, dbVariableField, false},
    {dbMemo, "LONGTEXT", 0, dbVariableField, false},
    {dbMemo, "MEMO", 0, dbVariableField, false},
};

constexpr long kSizeBits = dbFixedField | dbVariableField;
constexpr long kDefaultSizedLength = 255; // Jet SQL's TEXT without a length

const TypeName& NameFor(short type, long attributes) {
    const bool fixed = (attributes & dbFixedField) != 0;
    for (const TypeName& entry : kTypeNames) {
        if (entry.type != type)
            continue;
        if (!entry.sized || fixed == (entry.attributes == dbFixedField))
            return entry;
    }
    ThrowDao(3259, "Invalid field data type.");
}

[[noreturn]] void ThrowConversion() {
    ThrowDao(DAO_ERROR_CONVERSION, "Data type conversion error.");
}

[[noreturn]] void ThrowTooSmall() {
    ThrowDao(DAO_ERROR_FIELD_TOO_SMALL, "The field is too small to accept the amount of data you "
                                        "attempted to add. Try inserting or pasting less data.");
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Contains(std::string_view upper, std::string_view part) {
    return upper.find(part) != std::string_view::npos;
}

// Reads "(digits)" at `pos`, skipping blanks; advances past it.
std::optional<long> ParseParenNumber(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    if (pos >= text.size() || text[pos] != '(')
        return std::nullopt;
    std::size_t end = text.find(')', pos);
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string digits(text.substr(pos + 1, end - pos - 1));
    char* stop = nullptr;
    const long value = std::strtol(digits.c_str(), &stop, 10);
    if (digits.empty() || *stop != '\0')
        return std::nullopt;
    pos = end + 1;
    return value;
}

// The variant in the wanted type: itself when it already is, else through ChangeType.
const COleVariant& Converted(const COleVariant& value, VARTYPE type, COleVariant& scratch) {
    if (value.vt == type)
        return value;
    try {
        scratch.ChangeType(type, &value);
    } catch (const COleException&) {
        ThrowConversion();
    }
    if (scratch.vt != type)
        ThrowConversion();
    return scratch;
}

void Reset(COleVariant& out, VARTYPE type) {
    out.vt = type;
    out.dblVal = 0.0;
    if (!out.strVal.IsEmpty())
        out.strVal.Empty();
    out.byteVal.clear();
}

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

// Day 0 of OLE dates, 30 December 1899, counted from 1 January 1970.
constexpr std::int64_t kOleEpoch = -25569;

} // namespace

FieldDesc NormalizeNewField(const char* name, short type, long size, long attributes) {
    FieldDesc field;
    field.name = name ? name : "";
    if (field.name.empty() || field.name.find_first_of(".!`[]") != std::string::npos) {
        const std::string message = "'" + field.name + "' is not a valid name.";
        ThrowDao(3125, message.c_str());
    }
    field.type = type;
    if (attributes & dbAutoIncrField) {
        // The counter becomes the table's rowid, which carries no declared type to keep more in.
        if (type != dbLong)
            ThrowDao(3259, "Invalid field data type.");
        field.size = 4;
        field.attributes = dbAutoIncrField | dbFixedField;
        return field;
    }
    const TypeName* base = nullptr;
    for (const TypeName& entry : kTypeNames)
        if (entry.type == type)
            base = &entry;
    if (!base)
        ThrowDao(3259, "Invalid field data type.");
    if ((attributes & kSizeBits) == 0)
        attributes |= type == dbBinary || type == dbText ? dbVariableField : base->attributes;
    field.attributes = attributes;
    if (type == dbBinary || type == dbText)
        field.size = size > 0 ? size : kDefaultSizedLength;
    else
        field.size = NameFor(type, attributes).size;
    return field;
}

std::string ColumnDefinition(const FieldDesc& field) {
    std::string definition = QuoteIdentifier(field.name) + " ";
    if (field.counter())
        return definition + "INTEGER PRIMARY KEY AUTOINCREMENT";
    const TypeName& base = NameFor(field.type, field.attributes);
    // The engine takes several words before the one "(n)" of a type name, nothing after it.
    definition += base.name;
    if (field.attributes != base.attributes)
        definition += " ATTR" + std::to_string(field.attributes);
    if (base.sized)
        definition += "(" + std::to_string(field.size) + ")";
    if (field.required)
        definition += " NOT NULL";
    return definition;
}

void DescribeDeclaredType(std::string_view declared, FieldDesc& field) {
    std::string upper;
    for (char c : declared)
        upper += Upper(c);
    std::size_t pos = 0;
    while (pos < upper.size() && upper[pos] == ' ')
        ++pos;
    std::size_t end = pos;
    while (end < upper.size() && upper[end] >= 'A' && upper[end] <= 'Z')
        ++end;
    const std::string_view word = std::string_view(upper).substr(pos, end - pos);
    pos = end;
    while (pos < upper.size() && upper[pos] == ' ')
        ++pos;
    std::optional<long> attributes;
    if (std::string_view(upper).substr(pos, 4) == "ATTR") {
        pos += 4;
        const std::size_t digits = pos;
        long value = 0;
        while (pos < upper.size() && upper[pos] >= '0' && upper[pos] <= '9')
            value = value * 10 + (upper[pos++] - '0');
        if (pos > digits)
            attributes = value;
    }
    const std::optional<long> length = ParseParenNumber(upper, pos);
    for (const TypeName& entry : kTypeNames) {
        if (word != entry.name)
            continue;
        field.type = entry.type;
        field.size = entry.sized ? length.value_or(kDefaultSizedLength) : entry.size;
        field.attributes = attributes.value_or(entry.attributes);
        return;
    }
    // Tables made by other tools: the engine's affinity rules decide.
    const std::string_view all(upper);
    if (Contains(all, "INT")) {
        field.type = dbLong;
        field.size = 4;
    } else if (Contains(all, "CHAR") || Contains(all, "CLOB") || Contains(all, "TEXT")) {
        field.type = length ? dbText : dbMemo;
        field.size = length.value_or(0);
    } else if (Contains(all, "BLOB") || all.empty()) {
        field.type = dbLongBinary;
        field.size = 0;
    } else if (Contains(all, "BOOL")) {
        field.type = dbBoolean;
        field.size = 1;
    } else if (Contains(all, "DATE") || Contains(all, "TIME")) {
        field.type = dbDate;
        field.size = 8;
    } else {
        field.type = dbDouble;
        field.size = 8;
    }
    field.attributes = field.type == dbText || field.type == dbMemo || field.type == dbLongBinary
                           ? dbVariableField
                           : dbFixedField;
}

Value ToStored(const FieldDesc& field, const COleVariant& value, bool checkSize) {
    Value stored;
    if (value.vt == VT_NULL || value.vt == VT_EMPTY)
        return stored;
    COleVariant scratch;
    switch (field.type) {
    case dbBoolean:
        return Value::OfInteger(Converted(value, VT_BOOL, scratch).boolVal != 0 ? 1 : 0);
    case dbByte:
        return Value::OfInteger(Converted(value, VT_UI1, scratch).bVal);
    case dbInteger:
        return Value::OfInteger(Converted(value, VT_I2, scratch).iVal);
    case dbLong:
        return Value::OfInteger(Converted(value, VT_I4, scratch).lVal);
    case dbCurrency:
        return Value::OfInteger(Converted(value, VT_CY, scratch).cyVal.int64);
    case dbSingle:
        stored.kind = Value::Real;
        stored.real = Converted(value, VT_R4, scratch).fltVal;
        return stored;
    case dbDouble:
        stored.kind = Value::Real;
        stored.real = Converted(value, VT_R8, scratch).dblVal;
        return stored;
    case dbDate: {
        std::optional<std::string> iso = DateToIso(Converted(value, VT_DATE, scratch).date);
        if (!iso)
            ThrowConversion();
        stored.kind = Value::Text;
        stored.bytes = std::move(*iso);
        return stored;
    }
    case dbText:
    case dbMemo:
        stored.kind = Value::Text;
        stored.bytes = Converted(value, VT_BSTR, scratch).strVal.str();
        if (checkSize && field.type == dbText && CountCharacters(stored.bytes) > field.size)
            ThrowTooSmall();
        return stored;
    case dbBinary:
    case dbLongBinary:
        stored.kind = Value::Blob;
        if (value.vt == (VT_ARRAY | VT_UI1))
            stored.bytes.assign(value.byteVal.begin(), value.byteVal.end());
        else if (value.vt == VT_BSTR)
            stored.bytes = value.strVal.str();
        else
            ThrowConversion();
        if (checkSize && field.type == dbBinary && stored.bytes.size() > std::size_t(field.size))
            ThrowTooSmall();
        return stored;
    default:
        ThrowConversion();
    }
}

namespace {

// A stored real as a whole number, as the engine reads one: cut towards zero and held to the
// 64-bit range. Another program may have stored any real in any column.
std::int64_t WholeOf(double real) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(real))
        return 0;
    if (real <= -kTwoTo63)
        return std::numeric_limits<std::int64_t>::min();
    if (real >= kTwoTo63)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(real);
}

// A real for a single field; beyond its range, the infinity of its sign.
float SingleOf(double real) {
    if (std::fabs(real) > std::numeric_limits<float>::max())
        return real < 0 ? -std::numeric_limits<float>::infinity()
                        : std::numeric_limits<float>::infinity();
    return static_cast<float>(real);
}

// A number stored where text or bytes belong, as text.
std::string NumberText(const Value& value) {
    if (value.kind == Value::Integer)
        return std::to_string(value.integer);
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value.real);
    return text;
}

} // namespace

void ToVariant(const FieldDesc& field, const Value& value, COleVariant& out) {
    if (value.kind == Value::Null) {
        Reset(out, VT_NULL);
        return;
    }
    const std::int64_t integer = value.kind == Value::Real ? WholeOf(value.real) : value.integer;
    const double real =
        value.kind == Value::Integer ? static_cast<double>(value.integer) : value.real;
    switch (field.type) {
    case dbBoolean:
        Reset(out, VT_BOOL);
        out.boolVal = integer != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case dbByte:
        Reset(out, VT_UI1);
        out.bVal = static_cast<BYTE>(integer);
        break;
    case dbInteger:
        Reset(out, VT_I2);
        out.iVal = static_cast<std::int16_t>(integer);
        break;
    case dbLong:
        Reset(out, VT_I4);
        out.lVal = static_cast<std::int32_t>(integer);
        break;
    case dbCurrency:
        Reset(out, VT_CY);
        out.cyVal.int64 = integer;
        break;
    case dbSingle:
        Reset(out, VT_R4);
        out.fltVal = SingleOf(real);
        break;
    case dbDouble:
        Reset(out, VT_R8);
        out.dblVal = real;
        break;
    case dbDate:
        if (std::optional<double> date = IsoToDate(value.bytes);
            value.kind == Value::Text && date) {
            Reset(out, VT_DATE);
            out.date = *date;
        } else if (value.kind == Value::Text) {
            Reset(out, VT_BSTR); // not a date this layer wrote: hand it over as it is
            out.strVal = CString(value.bytes);
        } else {
            Reset(out, VT_DATE);
            out.date = real;
        }
        break;
    case dbBinary:
    case dbLongBinary: {
        Reset(out, VT_ARRAY | VT_UI1);
        if (value.kind == Value::Text || value.kind == Value::Blob) {
            out.byteVal.assign(value.bytes.begin(), value.bytes.end());
        } else { // a number another program stored here comes as its text, as in a text field
            const std::string number = NumberText(value);
            out.byteVal.assign(number.begin(), number.end());
        }
        break;
    }
    default:
        Reset(out, VT_BSTR);
        out.strVal = value.kind == Value::Text || value.kind == Value::Blob
                         ? CString(value.bytes)
                         : CString(NumberText(value));
        break;
    }
}

void ColumnToVariant(const FieldDesc& field, sqlite3_stmt* statement, int column,
                     COleVariant& out) {
    const int kind = sqlite3_column_type(statement, column);
    if (kind == SQLITE_NULL) {
        Reset(out, VT_NULL);
        return;
    }
    switch (field.type) {
    case dbBoolean:
        Reset(out, VT_BOOL);
        out.boolVal = sqlite3_column_int64(statement, column) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case dbByte:
        Reset(out, VT_UI1);
        out.bVal = static_cast<BYTE>(sqlite3_column_int(statement, column));
        return;
    case dbInteger:
        Reset(out, VT_I2);
        out.iVal = static_cast<std::int16_t>(sqlite3_column_int(statement, column));
        return;
    case dbLong:
        Reset(out, VT_I4);
        out.lVal = sqlite3_column_int(statement, column);
        return;
    case dbCurrency:
        Reset(out, VT_CY);
        out.cyVal.int64 = sqlite3_column_int64(statement, column);
        return;
    case dbSingle:
        Reset(out, VT_R4);
        out.fltVal = SingleOf(sqlite3_column_double(statement, column));
        return;
    case dbDouble:
        Reset(out, VT_R8);
        out.dblVal = sqlite3_column_double(statement, column);
        return;
    case dbDate:
        if (kind == SQLITE_TEXT) {
            // Parsed where the engine holds it: no copy of the text on the way.
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            if (std::optional<double> date = IsoToDate(std::string_view(text, length))) {
                Reset(out, VT_DATE);
                out.date = *date;
                return;
            }
        }
        break;
    case dbText:
    case dbMemo:
        if (kind == SQLITE_TEXT || kind == SQLITE_BLOB) {
            Reset(out, VT_BSTR);
            const auto* text =
                kind == SQLITE_TEXT
                    ? reinterpret_cast<const char*>(sqlite3_column_text(statement, column))
                    : static_cast<const char*>(sqlite3_column_blob(statement, column));
            const int length = sqlite3_column_bytes(statement, column);
            out.strVal = CString(text, length);
            return;
        }
        break;
    default:
        break;
    }
    // Everything else goes through the general path; it copies anyway.
    ToVariant(field, ColumnValue(statement, column), out);
}

Value ColumnValue(sqlite3_stmt* statement, int column) {
    Value value;
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        value.kind = Value::Integer;
        value.integer = sqlite3_column_int64(statement, column);
        break;
    case SQLITE_FLOAT:
        value.kind = Value::Real;
        value.real = sqlite3_column_double(statement, column);
        break;
    case SQLITE_TEXT: {
        value.kind = Value::Text;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        value.bytes.assign(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        break;
    }
    case SQLITE_BLOB: {
        value.kind = Value::Blob;
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const int size = sqlite3_column_bytes(statement, column);
        if (size > 0)
            value.bytes.assign(bytes, static_cast<std::size_t>(size));
        break;
    }
    default:
        break;
    }
    return value;
}

bool SameStoredValue(const Value& a, const Value& b) {
    const auto number = [](const Value& v) {
        return v.kind == Value::Integer ? static_cast<long double>(v.integer)
                                        : static_cast<long double>(v.real);
    };
    const bool aNumber = a.kind == Value::Integer || a.kind == Value::Real;
    const bool bNumber = b.kind == Value::Integer || b.kind == Value::Real;
    if (aNumber || bNumber) {
        if (!aNumber || !bNumber)
            return false;
        if (a.kind == Value::Integer && b.kind == Value::Integer)
            return a.integer == b.integer;
        return number(a) == number(b);
    }
    return a.kind == b.kind && a.bytes == b.bytes;
}

void Bind(sqlite3_stmt* statement, int parameter, const Value& value) {
    switch (value.kind) {
    case Value::Null:
        sqlite3_bind_null(statement, parameter);
        break;
    case Value::Integer:
        sqlite3_bind_int64(statement, parameter, value.integer);
        break;
    case Value::Real:
        sqlite3_bind_double(statement, parameter, value.real);
        break;
    case Value::Text:
        sqlite3_bind_text64(statement, parameter, value.bytes.data(), value.bytes.size(),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    case Value::Blob:
        sqlite3_bind_blob64(statement, parameter, value.bytes.data(), value.bytes.size(),
                            SQLITE_TRANSIENT);
        break;
    }
}

std::optional<std::string> DateToIso(double date) {
    if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0)
        return std::nullopt; // outside 1 Jan 100 .. 31 Dec 9999, as OLE dates go
    const double whole = std::trunc(date);
    auto days = static_cast<std::int64_t>(whole);
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days + kOleEpoch, year, month, day);
    if (year < 100 || year > 9999)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(year), month,
                  day, static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return std::string(text);
}

namespace {

// The number written by `count` decimal digits at `text`, or -1 when one of them is no digit.
inline int FixedDigits(const char* text, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned('0');
        if (digit > 9)
            return -1;
        value = value * 10 + static_cast<int>(digit);
    }
    return value;
}

} // namespace

std::optional<double> IsoToDate(std::string_view text) {
    // YYYY-MM-DD, optionally followed by " HH:MM" or " HH:MM:SS" (or 'T' for the blank), the
    // seconds optionally with a fraction, as the engine's own date functions and many programs
    // write them ("13:45:30.250").
    double secondFraction = 0;
    if (text.size() > 20 && text[19] == '.') {
        double scale = 1;
        for (const char ch : text.substr(20)) {
            if (ch < '0' || ch > '9')
                return std::nullopt;
            scale /= 10;
            secondFraction += (ch - '0') * scale;
        }
        text = text.substr(0, 19);
    }
    const std::size_t size = text.size();
    if (size != 10 && size != 16 && size != 19)
        return std::nullopt;
    const char* at = text.data();
    const int year = FixedDigits(at, 4);
    const int month = FixedDigits(at + 5, 2);
    const int day = FixedDigits(at + 8, 2);
    // Before the year 100 there are no dates, as DateToIso does not write them either.
    if (year < 100 || at[4] != '-' || at[7] != '-' || month < 1 || month > 12 || day < 1 ||
        day > 31)
        return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (size > 10) {
        hour = FixedDigits(at + 11, 2);
        minute = FixedDigits(at + 14, 2);
        if ((at[10] != ' ' && at[10] != 'T') || at[13] != ':' || hour < 0 || hour > 23 ||
            minute < 0 || minute > 59)
            return std::nullopt;
        if (size == 19) {
            second = FixedDigits(at + 17, 2);
            if (at[16] != ':' || second < 0 || second > 59)
                return std::nullopt;
        }
    }
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kOleEpoch;
    const double fraction = (hour * 3600 + minute * 60 + second + secondFraction) / 86400.0;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

} // namespace dao_detail

#include "platform/ole_variant.h"

#include "platform/exceptions.h"
#include "platform/user_locale.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr VARTYPE VT_BINARY = VT_ARRAY | VT_UI1;

[[noreturn]] void ThrowTypeMismatch() {
    throw COleException(DISP_E_TYPEMISMATCH, "Typen unverträglich.");
}

[[noreturn]] void ThrowOverflow() {
    throw COleException(DISP_E_OVERFLOW, "Überlauf.");
}

// A numeric value as its source holds it, so that each conversion rounds only once.
struct Number {
    enum Kind { Integer, Real, Scaled } kind;
    long long integer = 0;
    double real = 0.0;
    std::int64_t scaled = 0; // currency, ten-thousandths
};

Number Integer(long long value) {
    return {Number::Integer, value};
}
Number Real(double value) {
    return {Number::Real, 0, value};
}

bool IsNumeric(VARTYPE type) {
    switch (type) {
    case VT_UI1:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
        return true;
    default:
        return false;
    }
}

Number NumberOf(const COleVariant& value) {
    switch (value.vt) {
    case VT_UI1:
        return Integer(value.bVal);
    case VT_I2:
        return Integer(value.iVal);
    case VT_I4:
        return Integer(value.lVal);
    case VT_BOOL:
        return Integer(value.boolVal);
    case VT_R4:
        return Real(value.fltVal);
    case VT_R8:
        return Real(value.dblVal);
    case VT_DATE:
        return Real(value.date);
    case VT_CY:
        return {Number::Scaled, 0, 0.0, value.cyVal.int64};
    default:
        ThrowTypeMismatch();
    }
}

// A number written the user's way; a text that is none is a type mismatch, one beyond the
// double's range an overflow.
Number ParseNumberText(const CString& text) {
    user_locale::ParsedNumber parsed;
    if (!user_locale::ParseNumber(text, parsed))
        ThrowTypeMismatch();
    const double value = user_locale::ToDouble(parsed);
    if (std::isinf(value))
        ThrowOverflow();
    return Real(value);
}

// Integers from real numbers and currency round half to even, as the platform does.
long long ToInteger(const Number& number, long long min, long long max) {
    long long result = 0;
    switch (number.kind) {
    case Number::Integer:
        result = number.integer;
        break;
    case Number::Real: {
        const double rounded = std::nearbyint(number.real);
        // NaN fails both comparisons' negation, so it counts as out of range.
        if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max)))
            ThrowOverflow();
        return static_cast<long long>(rounded);
    }
    case Number::Scaled: {
        result = number.scaled / 10000;
        const long long remainder = number.scaled % 10000;
        const long long half = remainder < 0 ? -remainder : remainder;
        if (half > 5000 || (half == 5000 && result % 2 != 0))
            result += remainder < 0 ? -1 : 1;
        break;
    }
    }
    if (result < min || result > max)
        ThrowOverflow();
    return result;
}

double ToReal(const Number& number) {
    switch (number.kind) {
    case Number::Integer:
        return static_cast<double>(number.integer);
    case Number::Real:
        return number.real;
    case Number::Scaled:
        return static_cast<double>(number.scaled) / 10000.0;
    }
    return 0.0;
}

std::int64_t ToScaled(const Number& number) {
    std::int64_t scaled = 0;
    switch (number.kind) {
    case Number::Integer:
        if (__builtin_mul_overflow(number.integer, std::int64_t{10000}, &scaled))
            ThrowOverflow();
        return scaled;
    case Number::Real: {
        const double rounded = std::nearbyint(number.real * 10000.0);
        // 2^63 is exactly representable; everything below it converts.
        if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
            ThrowOverflow();
        return static_cast<std::int64_t>(rounded);
    }
    case Number::Scaled:
        return number.scaled;
    }
    return 0;
}

double ToDate(const Number& number) {
    const double date = ToReal(number);
    if (!(date > -657435.0 && date < 2958466.0)) // the years 100 to 9999
        ThrowOverflow();
    return date;
}

// Like "%.*G" but independent of the process locale, then with the user's decimal separator.
CString FormatReal(double value, int significantDigits) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    std::string text(buffer, result.ptr);
    const std::string separator = user_locale::DecimalSeparator();
    std::string out;
    for (char ch : text) {
        if (ch == '.')
            out += separator;
        else
            out += ch == 'e' ? 'E' : ch;
    }
    return CString(std::move(out));
}

CString ToText(const COleVariant& value) {
    switch (value.vt) {
    case VT_EMPTY:
        return CString();
    case VT_UI1:
    case VT_I2:
    case VT_I4:
        return CString(std::to_string(NumberOf(value).integer));
    case VT_BOOL:
        // The platform's words when no localisation is asked for; ParseBool also takes German.
        return value.boolVal ? "True" : "False";
    case VT_R4:
        return FormatReal(value.fltVal, 7);
    case VT_R8:
        return FormatReal(value.dblVal, 15);
    case VT_CY:
        return COleCurrency(value.cyVal).Format();
    case VT_DATE: {
        const COleDateTime date(value.date);
        if (date.GetYear() < 0)
            ThrowOverflow();
        return date.Format();
    }
    case VT_BINARY:
        return CString(reinterpret_cast<const char*>(value.byteVal.data()),
                       static_cast<int>(value.byteVal.size()));
    default:
        ThrowTypeMismatch();
    }
}

VARIANT_BOOL ParseBool(CString text) {
    text.Trim();
    for (const char* word : {"True", "Wahr"})
        if (text.CompareNoCase(word) == 0)
            return VARIANT_TRUE;
    for (const char* word : {"False", "Falsch"})
        if (text.CompareNoCase(word) == 0)
            return VARIANT_FALSE;
    return ToReal(ParseNumberText(text)) != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
}

// The numeric form of `source` for a numeric target: its own value, 0 for empty, or parsed text.
Number NumericSource(const COleVariant& source) {
    if (source.vt == VT_EMPTY)
        return Integer(0);
    if (source.vt == VT_BSTR)
        return ParseNumberText(source.strVal);
    if (IsNumeric(source.vt))
        return NumberOf(source);
    ThrowTypeMismatch();
}

COleVariant Converted(const COleVariant& source, VARTYPE type) {
    if (source.vt == type)
        return source;
    COleVariant result;
    if (type == VT_EMPTY)
        return result;
    if (type == VT_NULL) {
        if (source.vt != VT_EMPTY)
            ThrowTypeMismatch();
        return COleVariant::Null();
    }
    result.vt = type;
    switch (type) {
    case VT_BSTR:
        result.strVal = ToText(source);
        return result;
    case VT_BINARY:
        if (source.vt != VT_BSTR)
            ThrowTypeMismatch();
        result.byteVal.assign(source.strVal.str().begin(), source.strVal.str().end());
        return result;
    case VT_BOOL:
        if (source.vt == VT_BSTR)
            result.boolVal = ParseBool(source.strVal);
        else
            result.boolVal = ToReal(NumericSource(source)) != 0.0 ? VARIANT_TRUE : VARIANT_FALSE;
        return result;
    case VT_DATE:
        if (source.vt == VT_BSTR) {
            COleDateTime date;
            if (!date.ParseDateTime(source.strVal))
                ThrowTypeMismatch();
            result.date = date.m_dt;
        } else {
            result.date = ToDate(NumericSource(source));
        }
        return result;
    case VT_CY:
        if (source.vt == VT_BSTR) {
            COleCurrency currency;
            // A number the currency cannot hold is an overflow, not a mismatch.
            result.cyVal.int64 = currency.ParseCurrency(source.strVal)
                                     ? currency.m_cur.int64
                                     : ToScaled(ParseNumberText(source.strVal));
        } else {
            result.cyVal.int64 = ToScaled(NumericSource(source));
        }
        return result;
    case VT_UI1:
        result.bVal = static_cast<BYTE>(ToInteger(NumericSource(source), 0, 255));
        return result;
    case VT_I2:
        result.iVal =
            static_cast<std::int16_t>(ToInteger(NumericSource(source), INT16_MIN, INT16_MAX));
        return result;
    case VT_I4:
        result.lVal =
            static_cast<std::int32_t>(ToInteger(NumericSource(source), INT32_MIN, INT32_MAX));
        return result;
    case VT_R4: {
        const double value = ToReal(NumericSource(source));
        if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
            ThrowOverflow();
        result.fltVal = static_cast<float>(value);
        return result;
    }
    case VT_R8:
        result.dblVal = ToReal(NumericSource(source));
        return result;
    default: // VT_ERROR takes nothing but itself
        ThrowTypeMismatch();
    }
}

} // namespace

COleVariant::COleVariant(const char* text, VARTYPE type) : vt(VT_BSTR), strVal(text) {
    if (type != VT_BSTR)
        throw CInvalidArgException("COleVariant: text must be VT_BSTR");
}

COleVariant::COleVariant(const CString& text) : vt(VT_BSTR), strVal(text) {}

COleVariant::COleVariant(BYTE value) : vt(VT_UI1) {
    bVal = value;
}

COleVariant::COleVariant(std::int16_t value, VARTYPE type) : vt(type) {
    if (type == VT_BOOL)
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else if (type == VT_I2)
        iVal = value;
    else
        throw CInvalidArgException("COleVariant: a short must be VT_I2 or VT_BOOL");
}

COleVariant::COleVariant(std::int32_t value, VARTYPE type) : vt(type) {
    if (type == VT_BOOL)
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    else if (type == VT_I4)
        lVal = value;
    else if (type == VT_ERROR)
        scode = value;
    else
        throw CInvalidArgException("COleVariant: a long must be VT_I4, VT_ERROR or VT_BOOL");
}

COleVariant::COleVariant(float value) : vt(VT_R4) {
    fltVal = value;
}

COleVariant::COleVariant(double value) : vt(VT_R8) {
    dblVal = value;
}

// A null currency or date becomes a null variant rather than the value 0 it happens to hold.
COleVariant::COleVariant(const COleCurrency& value)
    : vt(value.GetStatus() == COleCurrency::null ? VT_NULL : VT_CY) {
    cyVal = value.m_cur;
}

COleVariant::COleVariant(const COleDateTime& value)
    : vt(value.GetStatus() == COleDateTime::null ? VT_NULL : VT_DATE) {
    date = value.m_dt;
}

COleVariant::COleVariant(const CByteArray& bytes) : vt(VT_BINARY), byteVal(bytes) {}

COleVariant COleVariant::Null() {
    COleVariant value;
    value.vt = VT_NULL;
    return value;
}

void COleVariant::Clear() {
    vt = VT_EMPTY;
    dblVal = 0.0;
    strVal.Empty();
    CByteArray().swap(byteVal);
}

void COleVariant::ChangeType(VARTYPE type, const COleVariant* source) {
    // Built aside and assigned only when complete, so that a failure leaves the value as it was.
    *this = Converted(source ? *source : *this, type);
}

bool operator==(const COleVariant& a, const COleVariant& b) {
    if (a.vt != b.vt)
        return false;
    switch (a.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_UI1:
        return a.bVal == b.bVal;
    case VT_I2:
        return a.iVal == b.iVal;
    case VT_I4:
        return a.lVal == b.lVal;
    case VT_ERROR:
        return a.scode == b.scode;
    case VT_BOOL:
        return a.boolVal == b.boolVal;
    case VT_R4:
        return a.fltVal == b.fltVal;
    case VT_R8:
        return a.dblVal == b.dblVal;
    case VT_DATE:
        return a.date == b.date;
    case VT_CY:
        return a.cyVal.int64 == b.cyVal.int64;
    case VT_BSTR:
        return a.strVal == b.strVal;
    case VT_BINARY:
        return a.byteVal == b.byteVal;
    default:
        return false;
    }
}

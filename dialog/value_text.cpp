#include "dialog/value_text.h"

#include "platform/dao/dao.h"
#include "platform/exceptions.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// Buffer sizes of the conversions; a text never runs past them.
constexpr std::size_t kLongBufferSize = 20;
constexpr std::size_t kRealBufferSize = 50;

// Six decimals ("%f"). A value whose fixed-point text would not fit the buffer (beyond about
// 1e42) is written with an exponent instead ("%e", six decimals as well), never cut.
CString FormatReal(double value) {
    char buffer[kRealBufferSize];
    const int length = std::snprintf(buffer, sizeof buffer, "%f", value);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        std::snprintf(buffer, sizeof buffer, "%e", value);
    return CString(buffer);
}

// atol on a platform whose long has 32 bits: out-of-range numbers saturate.
std::int32_t Atol32(const char* text) {
    const long long number = std::strtoll(text, nullptr, 10);
    if (number > INT32_MAX)
        return INT32_MAX;
    if (number < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(number);
}

// A string value's text as 8-bit text, which ends at its first zero character.
CString EightBitText(const CString& wide) {
    return CString(wide.c_str());
}

} // namespace

// "%1ld": the plain decimal text, a minus sign for negative numbers.
CString FormatLong(std::int32_t number) {
    char buffer[kLongBufferSize];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
    return CString(buffer, static_cast<int>(end - buffer));
}

namespace {

// `dates` null: the user's date format is read for a date value when one comes.
int ValueText(CString& text, COleVariant& value, const DateTimeFormat* dates) {
    text.Empty();
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return 1;
    case VT_I2:
        text = FormatLong(value.iVal);
        return 1;
    case VT_I4:
        text = FormatLong(value.lVal);
        return 1;
    case VT_R4:
        text = FormatReal(static_cast<double>(value.fltVal));
        return 1;
    case VT_R8:
        text = FormatReal(value.dblVal);
        return 1;
    case VT_CY:
        text = COleCurrency(value.cyVal).Format();
        return 1;
    case VT_DATE:
        if (dates)
            dates->Format(text, COleDateTime(value.date));
        else
            text = COleDateTime(value.date).Format();
        return 1;
    case VT_BSTR:
        text = EightBitText(value.strVal);
        return 1;
    case VT_ERROR:
        text = FormatLong(value.scode);
        return 1;
    case VT_BOOL:
        text = CString(value.boolVal ? '1' : '0');
        return 1;
    case VT_UI1:
        text = FormatLong(value.bVal);
        return 1;
    default:
        try {
            value.ChangeType(VT_BSTR);
        } catch (const CException& error) {
            error.ReportError(MB_OK);
            return 0;
        }
        text = EightBitText(value.strVal);
        return 1;
    }
}

} // namespace

int VariantToText(CString& text, COleVariant& value) {
    return ValueText(text, value, nullptr);
}

int VariantToText(CString& text, COleVariant& value, const DateTimeFormat& dates) {
    return ValueText(text, value, &dates);
}

int TextToVariant(COleVariant& value, const CString& text, WORD fieldType) {
    try {
        if (text.IsEmpty()) {
            value = COleVariant::Null();
            return 1;
        }
        value = COleVariant(text);
        switch (fieldType) {
        case dbBoolean:
            value.ChangeType(VT_BOOL);
            return 1;
        case dbLong:
            value = COleVariant(Atol32(text));
            return 1;
        case dbCurrency: {
            COleCurrency currency;
            if (!currency.ParseCurrency(text))
                return 0;
            value = COleVariant(currency);
            return 1;
        }
        case dbDate: {
            COleDateTime date;
            if (!date.ParseDateTime(text))
                return 0;
            value = COleVariant(date);
            return 1;
        }
        case dbText:
            return 1;
        default: // the field cannot take text
            return 0;
        }
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        return 0;
    }
}

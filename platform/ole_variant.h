// COleVariant: the tagged value DAO fields travel in.
#pragma once

#include "platform/cstring.h"
#include "platform/ole_currency.h"
#include "platform/ole_date_time.h"

#include <cstdint>
#include <vector>

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R4 = 4;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_CY = 6;
constexpr VARTYPE VT_DATE = 7;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_ERROR = 10;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_UI1 = 17;
constexpr VARTYPE VT_ARRAY = 0x2000;
constexpr VARTYPE VT_BSTRT = VT_BSTR; // 8-bit text is the only kind of text here

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

using CByteArray = std::vector<BYTE>;

class COleVariant {
public:
    COleVariant() {} // not defaulted: CURRENCY's initializer would make that deleted
    COleVariant(const char* text, VARTYPE type = VT_BSTR);
    COleVariant(const CString& text);
    COleVariant(BYTE value);
    // VT_I2 or VT_BOOL.
    COleVariant(std::int16_t value, VARTYPE type = VT_I2);
    // VT_I4, VT_ERROR or VT_BOOL.
    COleVariant(std::int32_t value, VARTYPE type = VT_I4);
    COleVariant(float value);
    COleVariant(double value);
    COleVariant(const COleCurrency& value);
    COleVariant(const COleDateTime& value);
    // VT_ARRAY | VT_UI1.
    COleVariant(const CByteArray& bytes);

    static COleVariant Null();

    void Clear(); // VT_EMPTY
    // Converts in place (or from `source` when given) as the platform's type change does, by the
    // user's locale; throws COleException (type mismatch, overflow) and leaves the value as it
    // was when the value cannot be converted.
    void ChangeType(VARTYPE type, const COleVariant* source = nullptr);

    bool IsNull() const { return vt == VT_NULL; }
    bool IsEmpty() const { return vt == VT_EMPTY; }

    friend bool operator==(const COleVariant& a, const COleVariant& b);

    VARTYPE vt = VT_EMPTY;
    union {
        BYTE bVal;
        std::int16_t iVal;
        std::int32_t lVal;
        float fltVal;
        double dblVal = 0.0; // zeroes the whole union
        VARIANT_BOOL boolVal;
        SCODE scode;
        CURRENCY cyVal;
        DATE date;
    };
    CString strVal;     // VT_BSTR
    CByteArray byteVal; // VT_ARRAY | VT_UI1
};

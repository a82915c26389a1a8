#include "platform/exceptions.h"
#include "platform/ole_variant.h"
#include "platform_test_locale.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
// Converts, expecting the platform's exception; checks that the value did not change.
void ExpectFailure(const COleVariant& original, VARTYPE type, SCODE code, const char* message) {
    COleVariant value = original;
    try {
        value.ChangeType(type);
        ADD_FAILURE() << "converted " << original.vt << " to " << type;
    } catch (const COleException& error) {
        EXPECT_EQ(error.m_sc, code);
        EXPECT_EQ(error.GetErrorMessage(), message);
    }
    EXPECT_EQ(value.vt, original.vt);
    if (original.vt == VT_R8 && std::isnan(original.dblVal)) // NaN equals nothing, itself included
        EXPECT_TRUE(std::isnan(value.dblVal));
    else
        EXPECT_TRUE(value == original);
}

void ExpectOverflow(const COleVariant& original, VARTYPE type) {
    ExpectFailure(original, type, DISP_E_OVERFLOW, "Überlauf.");
}

void ExpectMismatch(const COleVariant& original, VARTYPE type) {
    ExpectFailure(original, type, DISP_E_TYPEMISMATCH, "Typen unverträglich.");
}

COleVariant Converted(const COleVariant& value, VARTYPE type) {
    COleVariant result;
    result.ChangeType(type, &value);
    EXPECT_EQ(result.vt, type);
    return result;
}

CString Text(const COleVariant& value) {
    return Converted(value, VT_BSTR).strVal;
}
} // namespace

TEST(OleVariantTest, NumbersConvertWithRangeChecksAndBankersRounding) {
    EXPECT_EQ(Converted(2.5, VT_I4).lVal, 2);
    EXPECT_EQ(Converted(3.5, VT_I4).lVal, 4);
    EXPECT_EQ(Converted(-2.5, VT_I2).iVal, -2);
    EXPECT_EQ(Converted(-2.6, VT_I2).iVal, -3);
    EXPECT_EQ(Converted(COleCurrency::FromScaled(25000), VT_I2).iVal, 2);
    EXPECT_EQ(Converted(COleCurrency::FromScaled(35000), VT_I2).iVal, 4);
    EXPECT_EQ(Converted(COleCurrency::FromScaled(-25001), VT_I4).lVal, -3);
    EXPECT_EQ(Converted(32767.4, VT_I2).iVal, 32767);
    EXPECT_EQ(Converted(std::int32_t{255}, VT_UI1).bVal, 255);
    EXPECT_EQ(Converted(std::int32_t{0}, VT_UI1).bVal, 0); // the ends of a range are in it
    EXPECT_EQ(Converted(std::int32_t{-32768}, VT_I2).iVal, -32768);
    EXPECT_EQ(Converted(std::int32_t{5}, VT_CY).cyVal.int64, 50000);
    EXPECT_EQ(Converted(1.23456, VT_CY).cyVal.int64, 12346);
    EXPECT_EQ(Converted(COleCurrency::FromScaled(12345), VT_R8).dblVal, 1.2345);
    EXPECT_EQ(Converted(COleVariant(std::int16_t{1}, VT_BOOL), VT_I2).iVal, -1);
    EXPECT_EQ(Converted(std::int32_t{7}, VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Converted(0.0, VT_BOOL).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Converted(45000.25, VT_DATE).date, 45000.25);
    EXPECT_EQ(Converted(COleDateTime(2026, 12, 5, 12, 0, 0), VT_I4).lVal,
              46362); // 46361.5, to even
    EXPECT_EQ(Converted(BYTE{200}, VT_R4).fltVal, 200.0f);

    ExpectOverflow(32767.5, VT_I2);
    ExpectOverflow(std::int32_t{-1}, VT_UI1);
    ExpectOverflow(std::int32_t{256}, VT_UI1);
    ExpectOverflow(COleVariant(std::int16_t{1}, VT_BOOL), VT_UI1);
    ExpectOverflow(2147483647.5, VT_I4);
    ExpectOverflow(1e39, VT_R4);
    EXPECT_EQ(Converted(double{std::numeric_limits<float>::max()}, VT_R4).fltVal,
              std::numeric_limits<float>::max());
    ExpectOverflow(1e15, VT_CY);
    ExpectOverflow(922337203685477.6, VT_CY); // 2^63 ten-thousandths, one past the top
    ExpectOverflow(COleCurrency::FromScaled(400000000000000), VT_I4);
    ExpectOverflow(3e6, VT_DATE);
    ExpectOverflow(-657435.0, VT_DATE); // 31 Dec 99, the day before the first
    EXPECT_EQ(Converted(-657434.0, VT_DATE).date, -657434.0);
    ExpectOverflow(std::nan(""), VT_I4);

    COleVariant empty;
    EXPECT_EQ(Converted(empty, VT_I4).lVal, 0);
    EXPECT_EQ(Converted(empty, VT_R8).dblVal, 0.0);
    EXPECT_EQ(Converted(empty, VT_BOOL).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Converted(empty, VT_BSTR).strVal, "");
    EXPECT_TRUE(Converted(COleVariant::Null(), VT_EMPTY).IsEmpty());
    EXPECT_TRUE(Converted(empty, VT_NULL).IsNull());
    ExpectMismatch(COleVariant::Null(), VT_I4);
    ExpectMismatch(COleVariant::Null(), VT_BSTR);
    ExpectMismatch(std::int32_t{1}, VT_NULL);
    ExpectMismatch(COleVariant(std::int32_t{5}, VT_ERROR), VT_I4);
    ExpectMismatch(std::int32_t{5}, VT_ERROR);
    ExpectMismatch(std::int32_t{5}, VT_ARRAY | VT_UI1);

    // A failed conversion from another variant leaves the target alone too.
    COleVariant target("keep");
    const COleVariant source(1e10);
    EXPECT_THROW(target.ChangeType(VT_I4, &source), COleException);
    EXPECT_TRUE(target == COleVariant("keep"));
}

TEST(OleVariantTest, TextFollowsTheUsersLocale) {
    const COleDateTime date(2026, 12, 5, 14, 3, 9);
    {
        ScopedLocaleEnvironment c("C");
        EXPECT_EQ(Text(1.5), "1.5");
        EXPECT_EQ(Text(1.0 / 3), "0.333333333333333");
        EXPECT_EQ(Text(1e20), "1E+20");
        EXPECT_EQ(Text(0.1f), "0.1");
        EXPECT_EQ(Text(std::int32_t{-42}), "-42");
        EXPECT_EQ(Text(BYTE{200}), "200");
        EXPECT_EQ(Text(COleVariant(std::int16_t{1}, VT_BOOL)), "True");
        EXPECT_EQ(Text(COleVariant(std::int16_t{0}, VT_BOOL)), "False");
        EXPECT_EQ(Text(COleCurrency::FromScaled(125000)), "12.5");
        EXPECT_EQ(Text(date), "12/05/2026 14:03:09");
        EXPECT_EQ(Converted("  -1.5e1 ", VT_R8).dblVal, -15.0);
    }
    ScopedLocaleEnvironment german(kGerman);
    EXPECT_EQ(Text(1.5), "1,5");
    EXPECT_EQ(Text(-1234567.125), "-1234567,125");
    EXPECT_EQ(Text(COleCurrency::FromScaled(-1)), "-0,0001");
    EXPECT_EQ(Text(date), "05.12.2026 14:03:09");
    EXPECT_EQ(Text(CByteArray{'a', 'b', 0xC3, 0xA4}), "ab\xC3\xA4");
    ExpectOverflow(COleDateTime(3e6), VT_BSTR);

    EXPECT_EQ(Converted("1.234,5", VT_R8).dblVal, 1234.5);
    EXPECT_EQ(Converted(" -2,5 ", VT_I4).lVal, -2);
    EXPECT_EQ(Converted("12,34567", VT_CY).cyVal.int64, 123457);
    EXPECT_EQ(Converted("1E3", VT_CY).cyVal.int64, 10000000);
    EXPECT_EQ(Converted("05.12.2026 14:03:09", VT_DATE).date, date.m_dt);
    EXPECT_EQ(Converted(" wahr ", VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Converted("TRUE", VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Converted("Falsch", VT_BOOL).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Converted("0", VT_BOOL).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Converted("-0,5", VT_BOOL).boolVal, VARIANT_TRUE);
    const CByteArray bytes = Converted("ab", VT_ARRAY | VT_UI1).byteVal;
    EXPECT_EQ(bytes, (CByteArray{'a', 'b'}));

    ExpectMismatch("abc", VT_I4);
    ExpectMismatch("1.5", VT_R8); // "." groups in threes here
    ExpectMismatch("", VT_I2);
    ExpectMismatch("vielleicht", VT_BOOL);
    ExpectMismatch("32.13.2026", VT_DATE);
    ExpectMismatch("zwölf", VT_CY);
    ExpectMismatch(CByteArray{1, 2}, VT_I4);
    ExpectOverflow("70000", VT_I2);
    ExpectOverflow("1E30", VT_CY);
    ExpectOverflow("1E400", VT_R8);
    ExpectMismatch("1E", VT_R8); // an exponent needs its digits
    ExpectMismatch("1E+", VT_R8);
    EXPECT_EQ(Converted("2E-3", VT_R8).dblVal, 0.002);
    ExpectOverflow("4E38", VT_R4);
    EXPECT_EQ(Converted("3E38", VT_R4).fltVal, 3e38f);
}

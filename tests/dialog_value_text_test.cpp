#include "dialog/value_text.h"
#include "platform/dao/dao.h"
#include "platform/user_notifier.h"
#include "platform_test_locale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

class ValueTextTest : public ::testing::Test {
protected:
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope{notifier};
};

CString TextOf(COleVariant value, int expectedResult = 1) {
    CString text = "stale";
    EXPECT_EQ(VariantToText(text, value), expectedResult);
    return text;
}

TEST_F(ValueTextTest, FormatLongWritesDecimalWithSign) {
    EXPECT_EQ(FormatLong(0), "0");
    EXPECT_EQ(FormatLong(7), "7");
    EXPECT_EQ(FormatLong(-42), "-42");
    EXPECT_EQ(FormatLong(INT32_MAX), "2147483647");
    EXPECT_EQ(FormatLong(INT32_MIN), "-2147483648");
}

TEST_F(ValueTextTest, IntegersBooleansAndErrorsAsDecimalText) {
    EXPECT_EQ(TextOf(COleVariant()), "");
    EXPECT_EQ(TextOf(COleVariant::Null()), "");
    EXPECT_EQ(TextOf(COleVariant(std::int16_t{-32768})), "-32768"); // sign-extended
    EXPECT_EQ(TextOf(COleVariant(std::int32_t{-2000000000})), "-2000000000");
    EXPECT_EQ(TextOf(COleVariant(BYTE{255})), "255"); // a byte is never negative
    EXPECT_EQ(TextOf(COleVariant(std::int32_t{-5}, VT_ERROR)), "-5");
    EXPECT_EQ(TextOf(COleVariant(std::int32_t{1}, VT_BOOL)), "1");
    EXPECT_EQ(TextOf(COleVariant(std::int32_t{0}, VT_BOOL)), "0");
    COleVariant oddTrue(std::int16_t{0}, VT_BOOL);
    oddTrue.boolVal = 2; // any nonzero value counts as true
    EXPECT_EQ(TextOf(oddTrue), "1");
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(ValueTextTest, RealsWithSixDecimalsInTheCLocaleWhateverTheUser) {
    ScopedLocaleEnvironment german(kGerman);
    EXPECT_EQ(TextOf(COleVariant(2.5)), "2.500000");
    EXPECT_EQ(TextOf(COleVariant(-0.0000004)), "-0.000000");
    EXPECT_EQ(TextOf(COleVariant(0.1f)), "0.100000"); // widened to double, then rounded
    EXPECT_EQ(TextOf(COleVariant(16777216.0f)), "16777216.000000");
    // Too long for the buffer as fixed point: written with an exponent, never cut or overrun.
    EXPECT_EQ(TextOf(COleVariant(1e300)), "1.000000e+300");
    EXPECT_EQ(TextOf(COleVariant(-1.5e42)), "-1.500000e+42");
    EXPECT_EQ(TextOf(COleVariant(1e41)).GetLength(), 49); // the longest that still fits
    EXPECT_EQ(TextOf(COleVariant(1e42)), "1.000000e+42"); // one character more
    EXPECT_EQ(TextOf(COleVariant(3.4e38f)).Find('e'), -1);
}

TEST_F(ValueTextTest, CurrencyAndDatesFollowTheUsersLocale) {
    const struct {
        const char* locale;
        const char* date;
        const char* midnight; // a date without a time of day shows none
        const char* currency;
    } cases[] = {{"C", "12/05/2026 14:03:09", "12/05/2026", "12.34"},
                 {kGerman, "05.12.2026 14:03:09", "05.12.2026", "12,34"}};
    for (const auto& c : cases) {
        ScopedLocaleEnvironment environment(c.locale);
        EXPECT_EQ(TextOf(COleVariant(COleDateTime(2026, 12, 5, 14, 3, 9))), c.date) << c.locale;
        EXPECT_EQ(TextOf(COleVariant(COleDateTime(2026, 12, 5, 0, 0, 0))), c.midnight);
        EXPECT_EQ(TextOf(COleVariant(COleCurrency(12, 3400))), c.currency) << c.locale;
    }
    ScopedLocaleEnvironment german(kGerman);
    EXPECT_EQ(TextOf(COleVariant(COleCurrency(-1234, -5000))), "-1234,5");
}

TEST_F(ValueTextTest, TextIsTakenAsItIs) {
    EXPECT_EQ(TextOf(COleVariant("Straßenbahn")), "Straßenbahn");
    EXPECT_EQ(TextOf(COleVariant("")), "");
    // As 8-bit text a string ends at its first zero character.
    COleVariant withZero("");
    withZero.strVal = CString("ab\0cd", 5);
    EXPECT_EQ(TextOf(withZero), "ab");
}

TEST_F(ValueTextTest, OtherTypesAreChangedInPlaceOrReportTheError) {
    const char bytes[] = "Bild";
    COleVariant binary(CByteArray(bytes, bytes + 4));
    CString text;
    EXPECT_EQ(VariantToText(text, binary), 1);
    EXPECT_EQ(text, "Bild");
    EXPECT_EQ(binary.vt, VT_BSTR); // the value itself became a string value
    EXPECT_EQ(binary.strVal, "Bild");
    const char zeroInside[] = {'B', '\0', 'x'};
    COleVariant binaryWithZero(CByteArray(zeroInside, zeroInside + 3));
    EXPECT_EQ(VariantToText(text, binaryWithZero), 1);
    EXPECT_EQ(text, "B");
    EXPECT_TRUE(notifier.messages.empty());

    COleVariant strange;
    strange.vt = 9; // a type that cannot become text
    text = "stale";
    EXPECT_EQ(VariantToText(text, strange), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(strange.vt, 9); // left as it was
    ASSERT_EQ(notifier.messages.size(), 1u);
    EXPECT_EQ(notifier.messages[0].text, "Typen unverträglich.");
    EXPECT_EQ(notifier.messages[0].type, MB_OK);
}

TEST_F(ValueTextTest, EmptyTextIsNullForEveryFieldType) {
    for (short type : {dbBoolean, dbLong, dbCurrency, dbDate, dbText, dbDouble, dbMemo}) {
        COleVariant value(std::int32_t{5});
        EXPECT_EQ(TextToVariant(value, "", type), 1) << type;
        EXPECT_EQ(value.vt, VT_NULL) << type;
    }
}

TEST_F(ValueTextTest, LongTextIsReadLikeAtol) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    for (const Case& c :
         {Case{"12abc", 12}, Case{"  -7", -7}, Case{"+3", 3}, Case{"abc", 0}, Case{"1.9", 1},
          Case{"99999999999", INT32_MAX}, Case{"-99999999999", INT32_MIN}}) {
        COleVariant value;
        EXPECT_EQ(TextToVariant(value, c.text, dbLong), 1) << c.text;
        EXPECT_EQ(value.vt, VT_I4) << c.text;
        EXPECT_EQ(value.lVal, c.value) << c.text;
    }
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(ValueTextTest, BooleanTextByThePlatformsTypeChange) {
    COleVariant value;
    EXPECT_EQ(TextToVariant(value, "1", dbBoolean), 1);
    EXPECT_EQ(value.vt, VT_BOOL);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
    EXPECT_EQ(TextToVariant(value, "0", dbBoolean), 1);
    EXPECT_EQ(value.boolVal, VARIANT_FALSE);
    EXPECT_EQ(TextToVariant(value, "Wahr", dbBoolean), 1);
    EXPECT_EQ(value.boolVal, VARIANT_TRUE);
    EXPECT_TRUE(notifier.messages.empty());

    EXPECT_EQ(TextToVariant(value, "vielleicht", dbBoolean), 0);
    ASSERT_EQ(notifier.messages.size(), 1u);
    EXPECT_EQ(notifier.messages[0].text, "Typen unverträglich.");
}

TEST_F(ValueTextTest, CurrencyAndDateTextParsedByTheUsersLocale) {
    ScopedLocaleEnvironment german(kGerman);
    COleVariant value;
    EXPECT_EQ(TextToVariant(value, "1.234,5", dbCurrency), 1);
    EXPECT_EQ(value.vt, VT_CY);
    EXPECT_EQ(value.cyVal.int64, 12345000);
    EXPECT_EQ(TextToVariant(value, "1.5", dbCurrency), 0); // not German
    EXPECT_EQ(TextToVariant(value, "zwölf", dbCurrency), 0);

    EXPECT_EQ(TextToVariant(value, "05.12.2026 14:03:09", dbDate), 1);
    EXPECT_EQ(value.vt, VT_DATE);
    EXPECT_EQ(value.date, COleDateTime(2026, 12, 5, 14, 3, 9).m_dt);
    EXPECT_EQ(TextToVariant(value, "gestern", dbDate), 0);
    EXPECT_TRUE(notifier.messages.empty()); // unparsable text fails silently
}

TEST_F(ValueTextTest, TextFieldsTakeTextOtherTypesRefuseIt) {
    COleVariant value;
    EXPECT_EQ(TextToVariant(value, "Müller", dbText), 1);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(value.strVal, "Müller");
    for (short type : {dbByte, dbInteger, dbSingle, dbDouble, dbBinary, dbLongBinary, dbMemo,
                       short{0}, short{99}}) {
        EXPECT_EQ(TextToVariant(value, "12", type), 0) << type;
        EXPECT_EQ(value.vt, VT_BSTR) << type; // left as the string value
    }
    EXPECT_TRUE(notifier.messages.empty());
}

} // namespace

#include "platform/collections.h"
#include "platform/cstring.h"

#include <climits>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

TEST(CStringTest, CompareIsBytewiseAndCompareNoCaseFoldsOnlyAscii) {
    EXPECT_LT(CString("abc").Compare("abd"), 0);
    EXPECT_GT(CString("abc").Compare("ab"), 0);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    // Bytes from 0x80 on sort after ASCII, as unsigned values.
    EXPECT_GT(CString("\xC3\xA4").Compare("z"), 0);
    EXPECT_GT(CString("\xC3\xA4").CompareNoCase("Z"), 0);

    EXPECT_EQ(CString("HeLLo World").CompareNoCase("hello wORLD"), 0);
    EXPECT_EQ(CString("Zz").CompareNoCase("zZ"), 0); // the alphabet's ends fold as well
    CString ends("aAzZ@[`{");
    ends.MakeUpper();
    EXPECT_EQ(ends, "AAZZ@[`{");
    ends.MakeLower();
    EXPECT_EQ(ends, "aazz@[`{");
    EXPECT_NE(CString("\xC3\xA4").CompareNoCase("\xC3\x84"), 0); // "ä" against "Ä"
    // Folding goes to lower case as _stricmp does: '_' (0x5F) lies between 'Z' and 'a'.
    EXPECT_LT(CString("_").CompareNoCase("A"), 0);
    EXPECT_GT(CString("b").CompareNoCase("A"), 0);
    EXPECT_LT(CString("ab").CompareNoCase("ABC"), 0);

    CString mixed("\xC3\xA4"
                  "bC");
    mixed.MakeUpper();
    EXPECT_EQ(mixed, "\xC3\xA4"
                     "BC");
    mixed.MakeLower();
    EXPECT_EQ(mixed, "\xC3\xA4"
                     "bc");
}

TEST(CStringTest, ExtractionClampsLikeMfc) {
    const CString text("Hello");
    EXPECT_EQ(text.Mid(1, 3), "ell");
    EXPECT_EQ(text.Mid(-2, 3), "Hel");
    EXPECT_EQ(text.Mid(3, 100), "lo");
    EXPECT_EQ(text.Mid(2), "llo");
    EXPECT_EQ(text.Mid(-5), "Hello");
    EXPECT_EQ(text.Mid(10), "");
    EXPECT_EQ(text.Mid(1, -1), "");
    EXPECT_EQ(text.Mid(INT_MAX, INT_MAX), "");
    EXPECT_EQ(text.Mid(1, INT_MAX), "ello");
    EXPECT_EQ(text.Left(2), "He");
    EXPECT_EQ(text.Left(-1), "");
    EXPECT_EQ(text.Left(99), "Hello");
    EXPECT_EQ(text.Right(2), "lo");
    EXPECT_EQ(text.Right(-3), "");
    EXPECT_EQ(text.Right(99), "Hello");

    CString set("vorher");
    set.SetString("ab\0cd", 5); // a length, not a terminator, ends the text
    EXPECT_EQ(set.GetLength(), 5);
    EXPECT_EQ(set.str(), std::string("ab\0cd", 5));
    set.SetString("xyz", 0);
    EXPECT_TRUE(set.IsEmpty());
    set.SetString(nullptr, 3);
    EXPECT_TRUE(set.IsEmpty());
}

TEST(CStringTest, FindAndReplace) {
    const CString text("Hello");
    EXPECT_EQ(text.Find('l'), 2);
    EXPECT_EQ(text.Find('l', 3), 3);
    EXPECT_EQ(text.Find('l', 5), -1);
    EXPECT_EQ(text.Find('H', -1), -1);
    EXPECT_EQ(text.Find("lo"), 3);
    EXPECT_EQ(text.Find("l", 4), -1);
    EXPECT_EQ(text.Find(""), 0);
    EXPECT_EQ(text.Find("", 6), -1);
    EXPECT_EQ(text.Find(nullptr), -1);
    EXPECT_EQ(text.ReverseFind('l'), 3);
    EXPECT_EQ(text.ReverseFind('x'), -1);

    CString runs("aaaa");
    EXPECT_EQ(runs.Replace("aa", "b"), 2);
    EXPECT_EQ(runs, "bb");
    CString growing("aXa");
    EXPECT_EQ(growing.Replace("a", "aa"), 2); // what was inserted is not searched again
    EXPECT_EQ(growing, "aaXaa");
    EXPECT_EQ(growing.Replace("X", ""), 1);
    EXPECT_EQ(growing, "aaaa");
    EXPECT_EQ(growing.Replace("", "x"), 0);
    EXPECT_EQ(growing.Replace("q", "x"), 0);
    EXPECT_EQ(growing, "aaaa");
}

TEST(CStringTest, TrimTakesCWhiteSpaceOnly) {
    CString text(" \t\r\n abc d \v\f ");
    EXPECT_EQ(text.Trim(), "abc d");
    CString blanks(" \t \n ");
    EXPECT_EQ(blanks.Trim(), "");
    CString left("  x  ");
    EXPECT_EQ(left.TrimLeft(), "x  ");
    CString right("  x  ");
    EXPECT_EQ(right.TrimRight(), "  x");
    CString noBreak("\xC2\xA0x\xC2\xA0"); // U+00A0 is no C white space
    EXPECT_EQ(noBreak.Trim(), "\xC2\xA0x\xC2\xA0");
}

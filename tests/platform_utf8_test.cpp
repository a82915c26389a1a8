// Reading texts as UTF-8, and bytes of other programs as Windows-1252.
#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Characters = std::vector<unsigned>;

TEST(Utf8, WellFormedSequencesAreReadAsTheyAreAndStayUnchanged) {
    // Among them the first and the last character of each length.
    const std::string text = "A\u00e4\u20ac\U0001F600\u0080\u07ff\u0800\uffff\U00010000\U0010FFFF";
    EXPECT_EQ(DecodeUtf8(text), (Characters{'A', 0xE4, 0x20AC, 0x1F600, 0x80, 0x7FF, 0x800, 0xFFFF,
                                            0x10000, 0x10FFFF}));
    EXPECT_EQ(WellFormedUtf8(text), text);
    for (const unsigned ch : DecodeUtf8(text))
        EXPECT_EQ(DecodeUtf8(EncodeUtf8(ch)), Characters{ch});
    EXPECT_EQ(WellFormedUtf8(""), "");
    EXPECT_EQ(WellFormedUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8, StrayBytesAreWindows1252Characters) {
    // A name a Windows program wrote in its code page.
    EXPECT_EQ(WellFormedUtf8("Gr\xF6\xDF"
                             "e"),
              "Gr\u00f6\u00dfe");
    EXPECT_EQ(DecodeUtf8("\x80\x81\x8A\x9F\xA0\xFF"),
              (Characters{0x20AC, 0x81, 0x160, 0x178, 0xA0, 0xFF}));
    // Not characters: overlong forms, surrogates, past U+10FFFF, a lead without enough
    // continuation bytes, a continuation byte alone. Each of their bytes stands for itself, and
    // what follows is read afresh.
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (Characters{0xC0, 0xAF}));
    EXPECT_EQ(DecodeUtf8("\xE0\x9F\xBF"), (Characters{0xE0, 0x178, 0xBF}));
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (Characters{0xED, 0xA0, 0x20AC}));
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), (Characters{0xF4, 0x90, 0x20AC, 0x20AC}));
    EXPECT_EQ(DecodeUtf8("\xE2\x82"
                         "a\xC3"),
              (Characters{0xE2, 0x201A, 'a', 0xC3}));
    EXPECT_EQ(DecodeUtf8("\xA9\xC3\xA9"), (Characters{0xA9, 0xE9}));
    // Well-formed parts around stray bytes keep their characters.
    EXPECT_EQ(WellFormedUtf8("\u00e9\xE9\u20ac\x80"), "\u00e9\u00e9\u20ac\u20ac");
    const std::string repaired = WellFormedUtf8("\xF0\x9F\x98");
    EXPECT_EQ(WellFormedUtf8(repaired), repaired);
    EXPECT_EQ(DecodeUtf8(repaired), (Characters{0xF0, 0x178, 0x2DC}));
}

} // namespace

TEST(Utf8, APrefixWithinALimitEndsBetweenCharacters) {
    EXPECT_EQ(FittingPrefixLength("Größe", 99), 7u);
    EXPECT_EQ(FittingPrefixLength("Größe", 7), 7u);
    EXPECT_EQ(FittingPrefixLength("Größe", 6), 6u);
    EXPECT_EQ(FittingPrefixLength("Größe", 5), 4u); // not through "ß"
    EXPECT_EQ(FittingPrefixLength("Größe", 3), 2u); // not through "ö"
    EXPECT_EQ(FittingPrefixLength("Größe", 0), 0u);
    EXPECT_EQ(FittingPrefixLength("\x80\x80\x80", 2), 2u); // stray bytes: one character each
    EXPECT_EQ(FittingPrefixLength("a\xF0\x9F\x98\x80", 4), 1u);
}

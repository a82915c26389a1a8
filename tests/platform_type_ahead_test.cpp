#include "platform/type_ahead.h"

#include <gtest/gtest.h>

TEST(TypeAheadTest, LettersMatchEitherCaseToTheEndsOfTheirRanges) {
    // The first and last letters of each range fold; their neighbours do not.
    EXPECT_TRUE(StartsWithIgnoringCase("Alpha", "a"));
    EXPECT_TRUE(StartsWithIgnoringCase("Zeta", "z"));
    EXPECT_TRUE(StartsWithIgnoringCase("zeta", "Z"));
    EXPECT_FALSE(StartsWithIgnoringCase("[x]", "{"));
    EXPECT_FALSE(StartsWithIgnoringCase("@home", "`"));
    EXPECT_TRUE(StartsWithIgnoringCase("\xC3\x80rger", "\xC3\xA0"));      // "Àrger", "à"
    EXPECT_TRUE(StartsWithIgnoringCase("\xC3\x9Eingvellir", "\xC3\xBE")); // "Þ", "þ"
    EXPECT_TRUE(StartsWithIgnoringCase("\xDEingvellir", "\xFE")); // as a Windows program writes
    EXPECT_FALSE(StartsWithIgnoringCase("\xC3\x97", "\xC3\xB7")); // "×" is not "÷"
    EXPECT_FALSE(StartsWithIgnoringCase("Ze", "zet"));
}

#include "platform/edit_words.h"

#include <gtest/gtest.h>

TEST(EditWords, WordsLieBetweenBlanks) {
    const std::string_view text = "Hafen  Nord\tam\r\nKai ";
    // Ctrl+Right: past the word and its blanks, line breaks included.
    EXPECT_EQ(NextWordStart(text, 0), 7);
    EXPECT_EQ(NextWordStart(text, 3), 7);
    EXPECT_EQ(NextWordStart(text, 5), 7);
    EXPECT_EQ(NextWordStart(text, 11), 12);
    EXPECT_EQ(NextWordStart(text, 12), 16);
    EXPECT_EQ(NextWordStart(text, 20), 20);
    EXPECT_EQ(NextWordStart(text, 99), 20);
    // Ctrl+Left: back over blanks to the start of the word before.
    EXPECT_EQ(PreviousWordStart(text, 20), 16);
    EXPECT_EQ(PreviousWordStart(text, 16), 12);
    EXPECT_EQ(PreviousWordStart(text, 9), 7);
    EXPECT_EQ(PreviousWordStart(text, 7), 0);
    EXPECT_EQ(PreviousWordStart(text, 0), 0);
    EXPECT_EQ(PreviousWordStart(text, -3), 0);
    EXPECT_EQ(PreviousWordStart("   ", 3), 0);
    EXPECT_EQ(NextWordStart("", 0), 0);
}

TEST(EditWords, ADoubleClickTakesTheWordAndTheSpacesAfterIt) {
    const std::string_view text = "Hafen  Nord\tam\r\nKai";
    using Range = std::pair<int, int>;
    EXPECT_EQ(WordAt(text, 0), (Range{0, 7}));
    EXPECT_EQ(WordAt(text, 2), (Range{0, 7}));
    // On a word's end, the word before wins over the blanks after.
    EXPECT_EQ(WordAt(text, 5), (Range{0, 7}));
    EXPECT_EQ(WordAt(text, 6), (Range{5, 7})) << "between two blanks: the blanks";
    EXPECT_EQ(WordAt(text, 7), (Range{7, 12})) << "a tab is a blank";
    // The blanks after a word stop at a line break.
    EXPECT_EQ(WordAt(text, 13), (Range{12, 14}));
    EXPECT_EQ(WordAt(text, 15), (Range{14, 16}));
    EXPECT_EQ(WordAt(text, 19), (Range{16, 19}));
    EXPECT_EQ(WordAt(text, 42), (Range{16, 19}));
    EXPECT_EQ(WordAt("", 0), (Range{0, 0}));
    // Characters of more than one byte, and bytes that are not UTF-8, are letters of words.
    EXPECT_EQ(WordAt("Größe \xF6l", 1), (Range{0, 8}));
    EXPECT_EQ(WordAt("Größe \xF6l", 9), (Range{8, 10}));
}

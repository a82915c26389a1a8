#include "platform/list_sub_item_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(SubItemTextsTest, TextsKeepTheirPlacesWhenNeighboursChange) {
    SubItemTexts texts;
    EXPECT_EQ(texts.Get(1), "");
    texts.Set(3, "drei");
    EXPECT_EQ(texts.Get(1), "");
    EXPECT_EQ(texts.Get(2), "");
    EXPECT_EQ(texts.Get(3), "drei");
    EXPECT_EQ(texts.Get(4), "");
    texts.Set(1, "eins");
    texts.Set(2, std::string(200, 'z')); // beyond the first block
    texts.Set(1, "1");
    texts.Set(2, "zwei");
    EXPECT_EQ(texts.Get(1), "1");
    EXPECT_EQ(texts.Get(2), "zwei");
    EXPECT_EQ(texts.Get(3), "drei");
    texts.Set(2, "");
    EXPECT_EQ(texts.Get(2), "");
    EXPECT_EQ(texts.Get(3), "drei");
    texts.Set(0, "label"); // not a sub-item
    EXPECT_EQ(texts.Get(0), "");
}

TEST(SubItemTextsTest, ATextEndsAtItsFirstZeroByte) {
    SubItemTexts texts;
    texts.Set(1, std::string_view("ab\0cd", 5));
    texts.Set(2, "x");
    EXPECT_EQ(texts.Get(1), "ab");
    EXPECT_EQ(texts.Get(2), "x");
}

TEST(SubItemTextsTest, InsertedAndErasedColumnsMoveTheTextsAfterThem) {
    SubItemTexts texts;
    texts.Set(1, "a");
    texts.Set(2, "b");
    texts.InsertEmpty(2);
    EXPECT_EQ(texts.Get(1), "a");
    EXPECT_EQ(texts.Get(2), "");
    EXPECT_EQ(texts.Get(3), "b");
    texts.InsertEmpty(9); // past the last text: nothing moves
    texts.Set(4, "d");
    texts.Erase(1);
    EXPECT_EQ(texts.Get(1), "");
    EXPECT_EQ(texts.Get(2), "b");
    EXPECT_EQ(texts.Get(3), "d");
    EXPECT_EQ(texts.Get(4), "");
    texts.Erase(7);
    EXPECT_EQ(texts.Get(3), "d");
}

} // namespace

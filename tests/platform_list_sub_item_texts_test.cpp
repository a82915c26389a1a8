// The edges of a row's sub-item texts. How texts move with inserted and deleted columns, the
// list's model test checks against a plain model of rows and cells.
#include "platform/list_sub_item_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(SubItemTextsTest, OnlySubItemsHoldTextsAndATextEndsAtItsFirstZeroByte) {
    SubItemTexts texts;
    EXPECT_EQ(texts.Get(1), "");
    texts.Set(2, std::string_view("ab\0cd", 5));
    texts.Set(3, "x");
    EXPECT_EQ(texts.Get(1), "");
    EXPECT_EQ(texts.Get(2), "ab");
    EXPECT_EQ(texts.Get(3), "x");
    EXPECT_EQ(texts.Get(4), "");
    texts.Set(0, "label"); // not a sub-item: nothing changes
    EXPECT_EQ(texts.Get(0), "");
    EXPECT_EQ(texts.Get(1), "");
    EXPECT_EQ(texts.Get(2), "ab");
}

TEST(SubItemTextsTest, ColumnsInsertedOrErasedPastTheLastTextMoveNothing) {
    SubItemTexts texts;
    texts.Set(1, "a");
    texts.Set(2, "b");
    texts.InsertEmpty(3);
    texts.InsertEmpty(9);
    texts.Erase(7);
    texts.Set(3, "c");
    EXPECT_EQ(texts.Get(1), "a");
    EXPECT_EQ(texts.Get(2), "b");
    EXPECT_EQ(texts.Get(3), "c");
    EXPECT_EQ(texts.Get(4), "");
}

} // namespace

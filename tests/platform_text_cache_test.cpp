#include "platform/text_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TextCache, KeepsWhatWasMadeUntilTooManyTextsOrBytes) {
    TextCache<int> widths(3, 1000);
    EXPECT_EQ(widths.Find("Bild"), nullptr);
    EXPECT_EQ(widths.Insert("Bild", 22), 22);
    // Looked up by the text itself, not a copy's address.
    const std::string same = std::string("Bi") + "ld";
    ASSERT_NE(widths.Find(same), nullptr);
    EXPECT_EQ(*widths.Find(same), 22);
    EXPECT_EQ(widths.Find("Bil"), nullptr);
    // A text already cached keeps its value and is counted once.
    widths.Insert("Bild", 99);
    EXPECT_EQ(*widths.Find("Bild"), 22);
    EXPECT_EQ(widths.Bytes(), 4u);

    widths.Insert("Haus", 30);
    widths.Insert("See", 18);
    EXPECT_EQ(widths.Texts(), 3u);
    // A fourth text finds the cache full: it starts again with that text alone.
    EXPECT_EQ(widths.Insert("Tal", 17), 17);
    EXPECT_EQ(widths.Texts(), 1u);
    EXPECT_EQ(widths.Find("Bild"), nullptr);
    EXPECT_EQ(*widths.Find("Tal"), 17);
    EXPECT_EQ(widths.Bytes(), 3u);
}

TEST(TextCache, LongTextsAndLargeValuesAreBoundedByTheirBytes) {
    // Masks of long names: each far more than the text it was made from.
    const std::size_t limit = 1 << 20;
    TextCache<std::vector<unsigned char>> masks(20000, limit);
    std::size_t made = 0;
    std::size_t mostHeld = 0;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "Bild " + std::to_string(i) + std::string(3000, 'W');
        std::vector<unsigned char> mask(100000, static_cast<unsigned char>(i));
        made += name.size() + mask.size();
        const std::vector<unsigned char>& kept = masks.Insert(name, std::move(mask), 100000);
        EXPECT_EQ(kept.front(), static_cast<unsigned char>(i));
        mostHeld = std::max(mostHeld, masks.Bytes());
        ASSERT_NE(masks.Find(name), nullptr);
    }
    EXPECT_GT(made, 10 * limit);
    // Dropped once past the limit, so never more than the limit and one text.
    EXPECT_GT(mostHeld, limit);
    EXPECT_LE(mostHeld, limit + 103010);
    EXPECT_LT(masks.Texts(), 12u);
}

#include "resources/artwork.h"
#include "resources/pixel_art.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// One image of a strip, cut out.
struct Cell {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::size_t Count(std::uint32_t rgb) const {
        std::size_t n = 0;
        for (std::uint32_t pixel : pixels) {
            n += pixel == rgb ? 1 : 0;
        }
        return n;
    }
    bool Has(std::uint32_t rgb) const { return Count(rgb) != 0; }
    std::set<std::uint32_t> Colours() const { return {pixels.begin(), pixels.end()}; }
};

Cell CutOut(const ResourceImage& strip, int index, int width, int height) {
    Cell cell{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            cell.pixels.push_back(
                strip.pixels[static_cast<std::size_t>(y) * strip.width + index * width + x]);
        }
    }
    return cell;
}

void ExpectShape(const ResourceImage* image, int width, int height) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    EXPECT_EQ(image->pixels.size(), static_cast<std::size_t>(width) * height);
    for (std::uint32_t pixel : image->pixels) {
        ASSERT_EQ(pixel & 0xFF000000u, 0u) << "the top byte must stay clear";
    }
}

// Transparent somewhere, and a picture rather than a blank or a filled square.
void ExpectDrawn(const Cell& cell, const std::string& what) {
    SCOPED_TRACE(what);
    const std::size_t area = cell.pixels.size();
    const std::size_t transparent = cell.Count(kTransparentColour);
    EXPECT_GT(transparent, 0u);
    EXPECT_GT(area - transparent, area / 8) << "hardly anything drawn";
    EXPECT_GE(cell.Colours().size(), 3u) << "magenta and at least two colours";
}

void ExpectStrip(UINT id, int cellWidth, int cellHeight, int count) {
    const ResourceImage* strip = FindBitmapResource(id);
    ExpectShape(strip, cellWidth * count, cellHeight);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->hotX, 0);
    EXPECT_EQ(strip->hotY, 0);
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(CutOut(*strip, i, cellWidth, cellHeight));
        ExpectDrawn(cells.back(), "bitmap " + std::to_string(id) + " image " + std::to_string(i));
    }
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            EXPECT_NE(cells[i].pixels, cells[j].pixels)
                << "bitmap " << id << ": images " << i << " and " << j << " are the same";
        }
    }
}

TEST(ResourcesArtwork, ToolbarStripHoldsTenImages) {
    ExpectStrip(IDB_TOOLBAR, kToolbarImageWidth, kToolbarImageHeight, kToolbarImageCount);
    EXPECT_EQ(kToolbarImageWidth, 16);
    EXPECT_EQ(kToolbarImageHeight, 15); // the toolbar's default bitmap size
    EXPECT_EQ(FindBitmapResource(IDB_TOOLBAR)->width, 160);
}

TEST(ResourcesArtwork, SmallItemStrip) {
    ExpectStrip(IDB_SMALL_IMAGES, 16, 16, 4);
    EXPECT_EQ(FindBitmapResource(IDB_SMALL_IMAGES)->width, 64);
}

TEST(ResourcesArtwork, LargeItemStrip) {
    ExpectStrip(IDB_LARGE_IMAGES, 32, 32, 4);
    EXPECT_EQ(FindBitmapResource(IDB_LARGE_IMAGES)->width, 128);
}

// The image lists index both strips alike: 0 folder, 1 chunk, 2 entry, 3 open folder.
TEST(ResourcesArtwork, ItemImagesAreInTheirPlaces) {
    const std::uint32_t folder = pixel_art::ColourOf('y');
    const std::uint32_t sky = pixel_art::ColourOf('b');
    const std::uint32_t grass = pixel_art::ColourOf('e');
    const std::uint32_t ribbon = pixel_art::ColourOf('r');
    for (UINT id : {IDB_SMALL_IMAGES, IDB_LARGE_IMAGES}) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const ResourceImage* strip = FindBitmapResource(id);
        ASSERT_NE(strip, nullptr);
        const int size = strip->height;
        const Cell closed = CutOut(*strip, kImageFolder, size, size);
        const Cell chunk = CutOut(*strip, kImageChunk, size, size);
        const Cell entry = CutOut(*strip, kImageEntry, size, size);
        const Cell open = CutOut(*strip, kImageOpenFolder, size, size);
        EXPECT_GT(closed.Count(folder), closed.pixels.size() / 3);
        EXPECT_FALSE(closed.Has(sky));
        EXPECT_TRUE(chunk.Has(sky) && chunk.Has(grass));
        EXPECT_FALSE(chunk.Has(folder));
        EXPECT_TRUE(entry.Has(kWhite) && entry.Has(ribbon));
        EXPECT_FALSE(entry.Has(folder));
        EXPECT_GT(open.Count(folder), open.pixels.size() / 4);
        EXPECT_FALSE(open.Has(sky));
    }
}

TEST(ResourcesArtwork, IconIsAFolderWithAPicture) {
    const ResourceImage* icon = FindIconResource(IDI_EXPLORER);
    ExpectShape(icon, 32, 32);
    ASSERT_NE(icon, nullptr);
    const Cell cell{icon->width, icon->height, icon->pixels};
    ExpectDrawn(cell, "icon 128");
    EXPECT_TRUE(cell.Has(pixel_art::ColourOf('y')));
    EXPECT_TRUE(cell.Has(pixel_art::ColourOf('b')));
}

TEST(ResourcesArtwork, UnknownIdsGiveNull) {
    for (UINT id : {0u, 129u, 130u, 150u, 26018u, 26020u}) {
        EXPECT_EQ(FindBitmapResource(id), nullptr) << id;
    }
    for (UINT id : {0u, 129u, 130u, 132u}) {
        EXPECT_EQ(FindIconResource(id), nullptr) << id;
    }
    for (UINT id : {0u, 128u, 131u}) {
        EXPECT_EQ(FindCursorResource(id), nullptr) << id;
    }
}

TEST(ResourcesArtwork, ImagesAreBuiltOnceAndKept) {
    const ResourceImage* first = FindBitmapResource(IDB_TOOLBAR);
    EXPECT_EQ(FindBitmapResource(IDB_TOOLBAR), first);
    EXPECT_EQ(FindCursorResource(IDC_SPLITTER), FindCursorResource(IDC_SPLITTER));
    EXPECT_NE(static_cast<const void*>(FindIconResource(IDI_EXPLORER)),
              static_cast<const void*>(first));
}

TEST(ResourcesPixelArt, OnlyTheDotIsTransparent) {
    std::set<char> keys;
    for (const pixel_art::PaletteEntry& entry : pixel_art::kPalette) {
        EXPECT_TRUE(keys.insert(entry.key).second) << "'" << entry.key << "' twice";
        EXPECT_EQ(entry.rgb == kTransparentColour, entry.key == '.') << entry.key;
        EXPECT_EQ(entry.rgb & 0xFF000000u, 0u) << entry.key;
    }
    EXPECT_EQ(pixel_art::ColourOf('.'), 0xFF00FFu);
    EXPECT_EQ(pixel_art::ColourOf('K'), kBlack);
    EXPECT_EQ(pixel_art::ColourOf('W'), kWhite);
}

TEST(ResourcesPixelArt, ArtErrorNamesEveryMalformedPicture) {
    using pixel_art::ArtError;
    EXPECT_EQ(ArtError("\n.K\nW.\n", 2, 2), nullptr);
    EXPECT_STREQ(ArtError(".K\nW.\n", 2, 2),
                 "the picture must start on the line after its opening");
    EXPECT_STREQ(ArtError("\n.K\nW\n", 2, 2), "a row has the wrong width");
    EXPECT_STREQ(ArtError("\n.K\nW..\n", 2, 2), "a row has the wrong width");
    EXPECT_STREQ(ArtError("\n.K\n", 2, 2), "a row is missing or not ended by a newline");
    EXPECT_STREQ(ArtError("\n.K\nW.", 2, 2), "a row is missing or not ended by a newline");
    EXPECT_STREQ(ArtError("\n.K\nW.\n..\n", 2, 2), "there are more rows than the picture's height");
    EXPECT_STREQ(ArtError("\n.K\nW?\n", 2, 2), "a character is not in the legend");
    EXPECT_STREQ(ArtError("\n", 0, 0), "the picture has no area");
}

} // namespace

#include "host/dib.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

std::uint32_t Read32(const std::vector<BYTE>& dib, std::size_t at) {
    return dib.at(at) | dib.at(at + 1) << 8 | dib.at(at + 2) << 16 |
           static_cast<std::uint32_t>(dib.at(at + 3)) << 24;
}
std::uint16_t Read16(const std::vector<BYTE>& dib, std::size_t at) {
    return static_cast<std::uint16_t>(dib.at(at) | dib.at(at + 1) << 8);
}

class PreviewDib : public ::testing::TestWithParam<int> {};

TEST_P(PreviewDib, HeaderPaletteAndRowsAreConsistent) {
    const int bits = GetParam();
    for (const auto& [width, height] : {std::pair{16, 16}, {13, 7}, {64, 48}, {1, 1}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const std::vector<BYTE> dib =
            refhost::MakePreviewDib(width, height, bits, refhost::Motif::Disc);
        EXPECT_EQ(Read32(dib, 0), 40u);
        EXPECT_EQ(Read32(dib, 4), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Read32(dib, 8), static_cast<std::uint32_t>(height)); // positive: bottom-up
        EXPECT_EQ(Read16(dib, 12), 1);
        EXPECT_EQ(Read16(dib, 14), bits);
        EXPECT_EQ(Read32(dib, 16), 0u);    // BI_RGB
        EXPECT_EQ(Read32(dib, 24), 2835u); // 72 dpi each way
        EXPECT_EQ(Read32(dib, 28), 2835u);
        EXPECT_EQ(Read32(dib, 36), 0u); // every colour counts
        const std::size_t palette = bits <= 8 ? std::size_t{1} << bits : 0;
        EXPECT_EQ(Read32(dib, 32), palette);
        const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
        EXPECT_EQ(Read32(dib, 20), stride * height);
        ASSERT_EQ(dib.size(), 40 + 4 * palette + stride * height);

        // Bits past the last pixel of each row are zero.
        const std::size_t used = static_cast<std::size_t>(width) * bits;
        for (int row = 0; row < height; ++row) {
            const std::size_t start = 40 + 4 * palette + stride * row;
            for (std::size_t bit = used; bit < stride * 8; ++bit)
                ASSERT_EQ(dib[start + bit / 8] >> (7 - bit % 8) & 1, 0) << "row " << row;
        }
        for (std::size_t quad = 0; quad < palette; ++quad)
            EXPECT_EQ(dib[40 + 4 * quad + 3], 0) << "reserved byte of colour " << quad;
    }
}

INSTANTIATE_TEST_SUITE_P(BitDepths, PreviewDib, ::testing::Values(1, 4, 8, 24, 32));

TEST(PreviewDibMotifs, DifferFromEachOther) {
    const auto disc = refhost::MakePreviewDib(32, 24, 24, refhost::Motif::Disc);
    const auto band = refhost::MakePreviewDib(32, 24, 24, refhost::Motif::Band);
    const auto checker = refhost::MakePreviewDib(32, 24, 24, refhost::Motif::Checker);
    EXPECT_NE(disc, band);
    EXPECT_NE(band, checker);
}

TEST(PreviewDibMotifs, UnsupportedDepthsAndSizesAreRefused) {
    EXPECT_THROW(refhost::MakePreviewDib(16, 16, 16, refhost::Motif::Disc), std::invalid_argument);
    EXPECT_THROW(refhost::MakePreviewDib(16, 16, 2, refhost::Motif::Disc), std::invalid_argument);
    EXPECT_THROW(refhost::MakePreviewDib(0, 16, 8, refhost::Motif::Disc), std::invalid_argument);
    EXPECT_THROW(refhost::MakePreviewDib(16, 5000, 8, refhost::Motif::Disc), std::invalid_argument);
}

} // namespace

#include "host/dib.h"

#include "host/little_endian.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace refhost {
namespace {

struct Rgb {
    int r, g, b;
};

constexpr std::array<Rgb, 16> kVgaPalette{{{0, 0, 0},
                                           {128, 0, 0},
                                           {0, 128, 0},
                                           {128, 128, 0},
                                           {0, 0, 128},
                                           {128, 0, 128},
                                           {0, 128, 128},
                                           {192, 192, 192},
                                           {128, 128, 128},
                                           {255, 0, 0},
                                           {0, 255, 0},
                                           {255, 255, 0},
                                           {0, 0, 255},
                                           {255, 0, 255},
                                           {0, 255, 255},
                                           {255, 255, 255}}};

// 4x4 ordered dither thresholds, so that one bit still shows the gradient.
constexpr std::array<int, 16> kBayer{0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// The picture in top-down coordinates.
Rgb PixelAt(int x, int y, int width, int height, Motif motif) {
    const int w = width > 1 ? width - 1 : 1;
    const int h = height > 1 ? height - 1 : 1;
    Rgb colour{255 * x / w, 255 * y / h, 160};
    const int cx = width / 2, cy = height / 2;
    switch (motif) {
    case Motif::Disc: {
        const int radius = std::min(width, height) / 3;
        const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 <= radius * radius)
            colour = d2 >= (radius - 1) * (radius - 1) ? Rgb{0, 0, 0} : Rgb{255, 220, 0};
        break;
    }
    case Motif::Band:
        if (std::abs(x * h - y * w) <= w * h / 6)
            colour = {0, 0, 128};
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
            colour = {255, 255, 255};
        break;
    case Motif::Checker:
        if (((x / 4) + (y / 4)) % 2 == 0)
            colour = {colour.r / 3, colour.g / 3, colour.b / 3};
        break;
    }
    return colour;
}

int NearestVga(Rgb c) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const Rgb& p = kVgaPalette[i];
        const long d = long(c.r - p.r) * (c.r - p.r) + long(c.g - p.g) * (c.g - p.g) +
                       long(c.b - p.b) * (c.b - p.b);
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// 8 bits: a 6x6x6 colour cube in entries 0..215, grey steps after it.
Rgb CubeColour(int index) {
    if (index < 216)
        return {index / 36 * 51, index / 6 % 6 * 51, index % 6 * 51};
    const int grey = (index - 216) * 255 / 39;
    return {grey, grey, grey};
}

int CubeIndex(Rgb c) {
    return (c.r + 25) / 51 * 36 + (c.g + 25) / 51 * 6 + (c.b + 25) / 51;
}

int PaletteIndex(int bitCount, Rgb c, int x, int y) {
    switch (bitCount) {
    case 1: {
        const int luminance = (c.r * 299 + c.g * 587 + c.b * 114) / 1000;
        return luminance * 16 / 256 > kBayer[(y % 4) * 4 + x % 4] ? 1 : 0;
    }
    case 4:
        return NearestVga(c);
    default:
        return CubeIndex(c);
    }
}

Rgb PaletteColour(int bitCount, int index) {
    switch (bitCount) {
    case 1:
        return index ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    case 4:
        return kVgaPalette[index];
    default:
        return CubeColour(index);
    }
}

} // namespace

std::size_t DibStride(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

int DibPaletteSize(int bitCount) {
    return bitCount <= 8 ? 1 << bitCount : 0;
}

std::vector<BYTE> MakePreviewDib(int width, int height, int bitCount, Motif motif) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        throw std::invalid_argument("unsupported DIB bit depth");
    if (width < 1 || height < 1 || width > 4096 || height > 4096)
        throw std::invalid_argument("DIB size out of range");

    const int paletteSize = DibPaletteSize(bitCount);
    const std::size_t stride = DibStride(width, bitCount);
    const std::size_t bitsOffset =
        kBitmapInfoHeaderSize + 4 * static_cast<std::size_t>(paletteSize);
    std::vector<BYTE> dib(bitsOffset + stride * height, 0);

    Store32(&dib[0], kBitmapInfoHeaderSize);
    Store32(&dib[4], static_cast<std::uint32_t>(width));
    Store32(&dib[8], static_cast<std::uint32_t>(height)); // positive: bottom-up
    Store16(&dib[12], 1);
    Store16(&dib[14], static_cast<std::uint16_t>(bitCount));
    Store32(&dib[16], kBiRgb);
    Store32(&dib[20], static_cast<std::uint32_t>(stride * height));
    Store32(&dib[24], 2835); // 72 dpi
    Store32(&dib[28], 2835);
    Store32(&dib[32], static_cast<std::uint32_t>(paletteSize));
    Store32(&dib[36], 0);

    for (int i = 0; i < paletteSize; ++i) {
        const Rgb c = PaletteColour(bitCount, i);
        BYTE* quad = &dib[kBitmapInfoHeaderSize + 4 * i];
        quad[0] = static_cast<BYTE>(c.b);
        quad[1] = static_cast<BYTE>(c.g);
        quad[2] = static_cast<BYTE>(c.r);
    }

    for (int y = 0; y < height; ++y) {
        BYTE* row = &dib[bitsOffset + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const Rgb c = PixelAt(x, y, width, height, motif);
            switch (bitCount) {
            case 32:
                row[4 * x + 3] = 0;
                [[fallthrough]];
            case 24: {
                BYTE* pixel = row + x * (bitCount / 8);
                pixel[0] = static_cast<BYTE>(c.b);
                pixel[1] = static_cast<BYTE>(c.g);
                pixel[2] = static_cast<BYTE>(c.r);
                break;
            }
            case 8:
                row[x] = static_cast<BYTE>(PaletteIndex(8, c, x, y));
                break;
            case 4:
                row[x / 2] |= static_cast<BYTE>(PaletteIndex(4, c, x, y) << (x % 2 ? 0 : 4));
                break;
            case 1:
                row[x / 8] |= static_cast<BYTE>(PaletteIndex(1, c, x, y) << (7 - x % 8));
                break;
            }
        }
    }
    return dib;
}

} // namespace refhost

// Pictures drawn as text, one character per pixel, checked while compiling and turned into
// ResourceImage pixels on first use.
//
// A picture is a raw string literal that opens with a newline and holds its rows top to bottom,
// each row exactly as wide as the picture and ended by a newline:
//
//     constexpr pixel_art::Frame<4, 2> kDot = R"(
//     .KK.
//     .KK.
//     )";
//
// A row of the wrong width, a missing or extra row, or a character outside the legend below stops
// the build.
#pragma once

#include "resources/artwork.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pixel_art {

struct PaletteEntry {
    char key;
    std::uint32_t rgb;
};

// The legend. '.' is the transparent magenta; no other character may map to it.
inline constexpr std::array<PaletteEntry, 21> kPalette{{
    {'.', kTransparentColour}, {'K', 0x000000}, // black
    {'G', 0x808080},                            // grey
    {'g', 0xC0C0C0},                            // silver
    {'W', 0xFFFFFF},                            // white
    {'n', 0x8A5A0C},                            // folder outline
    {'Y', 0xD69A1C},                            // folder shade
    {'y', 0xF5C542},                            // folder
    {'o', 0xFFECA8},                            // folder highlight
    {'s', 0xFFE24A},                            // sun, gilding, sparkle
    {'f', 0xB07434},                            // wood
    {'F', 0x6C4014},                            // dark wood
    {'c', 0xD8EEFF},                            // pale sky
    {'b', 0x84BEF0},                            // sky
    {'B', 0x2A64C8},                            // blue
    {'N', 0x123A80},                            // navy
    {'e', 0x5CB040},                            // grass
    {'E', 0x2F7626},                            // dark grass
    {'r', 0xE23C28},                            // red
    {'R', 0x8C1414},                            // dark red
    {'d', 0x404040},                            // dark grey
}};

// The legend's entry for `key`, or -1.
constexpr int PaletteIndex(char key) {
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        if (kPalette[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Why `text` is not a picture of width x height, or null when it is one.
constexpr const char* ArtError(std::string_view text, int width, int height) {
    if (width <= 0 || height <= 0) {
        return "the picture has no area";
    }
    if (text.empty() || text.front() != '\n') {
        return "the picture must start on the line after its opening";
    }
    std::size_t pos = 1;
    for (int row = 0; row < height; ++row) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            return "a row is missing or not ended by a newline";
        }
        if (end - pos != static_cast<std::size_t>(width)) {
            return "a row has the wrong width";
        }
        for (std::size_t i = pos; i < end; ++i) {
            if (PaletteIndex(text[i]) < 0) {
                return "a character is not in the legend";
            }
        }
        pos = end + 1;
    }
    if (pos != text.size()) {
        return "there are more rows than the picture's height";
    }
    return nullptr;
}

// One picture of Width x Height pixels. Built only while compiling: a malformed picture fails
// the build at its definition (ArtError on the same text tells why).
template <int Width, int Height> class Frame {
public:
    static constexpr int kWidth = Width;
    static constexpr int kHeight = Height;

    // Implicit, so that arrays of frames can be written as lists of literals.
    consteval Frame(const char* text) : text_(text) {
        if (const char* error = ArtError(text_, Width, Height)) {
            throw error; // not a constant expression, so the build stops here
        }
    }

    constexpr char At(int x, int y) const {
        return text_[1 + static_cast<std::size_t>(y) * (Width + 1) + static_cast<std::size_t>(x)];
    }

private:
    std::string_view text_;
};

constexpr std::uint32_t ColourOf(char key) {
    const int index = PaletteIndex(key);
    return index >= 0 ? kPalette[static_cast<std::size_t>(index)].rgb : kTransparentColour;
}

// The frames side by side, the first at the left.
template <int Width, int Height, std::size_t Count>
ResourceImage MakeStrip(const std::array<Frame<Width, Height>, Count>& frames, int hotX = 0,
                        int hotY = 0) {
    const int stripWidth = Width * static_cast<int>(Count);
    ResourceImage image{stripWidth, Height,
                        std::vector<std::uint32_t>(static_cast<std::size_t>(stripWidth) * Height),
                        hotX, hotY};
    for (std::size_t i = 0; i < Count; ++i) {
        const int left = Width * static_cast<int>(i);
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                image.pixels[static_cast<std::size_t>(y) * stripWidth + left + x] =
                    ColourOf(frames[i].At(x, y));
            }
        }
    }
    return image;
}

template <int Width, int Height>
ResourceImage MakeImage(const Frame<Width, Height>& frame, int hotX = 0, int hotY = 0) {
    return MakeStrip(std::array<Frame<Width, Height>, 1>{frame}, hotX, hotY);
}

} // namespace pixel_art

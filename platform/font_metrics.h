// Text measurement for layout. Every geometry the window layer computes (dialog units, list and
// tree layout, hit tests) comes from these numbers, so a backend that draws text must measure it
// the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    // Width in pixels of `text` (UTF-8) on one line.
    virtual int TextWidth(std::string_view text) const = 0;
    // The greatest TextWidth among `texts`, 0 for none. A backend whose measuring is costly
    // answers for many texts without measuring each one.
    virtual int WidestTextWidth(const std::vector<std::string_view>& texts) const;
    // Height of one line in pixels.
    virtual int LineHeight() const = 0;
    // Average character width: the horizontal dialog base unit.
    virtual int AverageCharWidth() const = 0;
};

// Every character `charWidth` pixels wide, lines `lineHeight` high: the headless backend's font.
class FixedFontMetrics : public FontMetrics {
public:
    constexpr FixedFontMetrics(int charWidth = 6, int lineHeight = 13)
        : m_charWidth(charWidth), m_lineHeight(lineHeight) {}

    int TextWidth(std::string_view text) const override;
    int LineHeight() const override { return m_lineHeight; }
    int AverageCharWidth() const override { return m_charWidth; }

private:
    int m_charWidth;
    int m_lineHeight;
};

// `text` as it fits `width` pixels on one line: whole when it fits, otherwise as many of its first
// characters as leave room for "..." behind them (DT_END_ELLIPSIS). When not even the dots fit,
// the dots alone: the rectangle clips them.
std::string FitWithEndEllipsis(const FontMetrics& metrics, std::string_view text, long width);

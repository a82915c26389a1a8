#include "platform/font_metrics.h"

#include "platform/utf8.h"

#include <algorithm>
#include <vector>

std::string FitWithEndEllipsis(const FontMetrics& metrics, std::string_view text, long width) {
    if (metrics.TextWidth(text) <= width)
        return std::string(text);
    constexpr std::string_view kDots = "...";
    const long room = width - metrics.TextWidth(kDots);
    // The character boundaries, then the longest run of characters that fits: widths grow with
    // the run, so a binary search over the boundaries finds it.
    const std::vector<std::size_t> boundaries = CharacterBoundaries(text);
    std::size_t low = 0; // characters known to fit
    std::size_t high = boundaries.size() - 1;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (metrics.TextWidth(text.substr(0, boundaries[middle])) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    std::string fitted(text.substr(0, boundaries[low]));
    fitted += kDots;
    return fitted;
}

int FontMetrics::WidestTextWidth(const std::vector<std::string_view>& texts) const {
    int widest = 0;
    for (std::string_view text : texts)
        widest = std::max(widest, TextWidth(text));
    return widest;
}

int FixedFontMetrics::TextWidth(std::string_view text) const {
    return CountCharacters(text) * m_charWidth;
}

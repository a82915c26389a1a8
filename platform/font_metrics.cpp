#include "platform/font_metrics.h"

int CountCharacters(std::string_view text) {
    int count = 0;
    for (char ch : text)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80)
            ++count;
    return count;
}

int FixedFontMetrics::TextWidth(std::string_view text) const {
    return CountCharacters(text) * m_charWidth;
}

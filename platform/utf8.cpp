#include "platform/utf8.h"

#include <algorithm>

std::string EncodeUtf8(unsigned ch) {
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

unsigned TakeUtf8(std::string_view& text) {
    const auto lead = static_cast<unsigned char>(text.front());
    unsigned ch = lead;
    std::size_t length = 1;
    if (lead >= 0xF0) {
        ch = lead & 0x07;
        length = 4;
    } else if (lead >= 0xE0) {
        ch = lead & 0x0F;
        length = 3;
    } else if (lead >= 0xC0) {
        ch = lead & 0x1F;
        length = 2;
    }
    for (std::size_t k = 1; k < length && k < text.size(); ++k)
        ch = (ch << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
    text.remove_prefix(std::min(length, text.size()));
    return ch;
}

std::vector<unsigned> DecodeUtf8(std::string_view text) {
    std::vector<unsigned> characters;
    while (!text.empty())
        characters.push_back(TakeUtf8(text));
    return characters;
}

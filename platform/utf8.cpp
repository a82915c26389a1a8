#include "platform/utf8.h"

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

std::vector<unsigned> DecodeUtf8(std::string_view text) {
    std::vector<unsigned> characters;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
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
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            ch = (ch << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        characters.push_back(ch);
        i += length;
    }
    return characters;
}

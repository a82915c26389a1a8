#include "platform/utf8.h"

namespace {

// Windows-1252 at 0x80 to 0x9F; the five bytes it leaves unassigned stay the C1 controls, as
// Windows converts them.
constexpr unsigned kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned FromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence `text` starts with, and its character; 0 when it starts
// with none.
std::size_t WellFormedPrefix(std::string_view text, unsigned& ch) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) {
        ch = lead;
        return 1;
    }
    std::size_t length;
    unsigned smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        smallest = 0x80;
        ch = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        smallest = 0x800;
        ch = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        smallest = 0x10000;
        ch = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[k]);
        if (!IsContinuation(byte))
            return 0;
        ch = (ch << 6) | (byte & 0x3F);
    }
    // Overlong forms, surrogates and code points past the last are no characters.
    if (ch < smallest || (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

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

std::size_t FirstCharacterLength(std::string_view text) {
    unsigned ch = 0;
    const std::size_t length = WellFormedPrefix(text, ch);
    return length ? length : 1;
}

unsigned TakeUtf8(std::string_view& text) {
    unsigned ch = 0;
    std::size_t length = WellFormedPrefix(text, ch);
    if (length == 0) {
        ch = FromWindows1252(static_cast<unsigned char>(text.front()));
        length = 1;
    }
    text.remove_prefix(length);
    return ch;
}

std::vector<unsigned> DecodeUtf8(std::string_view text) {
    std::vector<unsigned> characters;
    while (!text.empty())
        characters.push_back(TakeUtf8(text));
    return characters;
}

int CountCharacters(std::string_view text) {
    int count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) // plain ASCII needs no decoding
        at +=
            static_cast<unsigned char>(text[at]) < 0x80 ? 1 : FirstCharacterLength(text.substr(at));
    return count;
}

std::size_t FittingPrefixLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t length = 0;
    while (true) {
        const std::size_t next = length + FirstCharacterLength(text.substr(length));
        if (next > maxBytes)
            return length;
        length = next;
    }
}

std::vector<std::size_t> CharacterBoundaries(std::string_view text) {
    std::vector<std::size_t> boundaries{0};
    for (std::size_t at = 0; at < text.size();) {
        at += FirstCharacterLength(text.substr(at));
        boundaries.push_back(at);
    }
    return boundaries;
}

std::string WellFormedUtf8(std::string_view text) {
    std::string_view rest = text;
    unsigned ch = 0;
    while (!rest.empty()) {
        const std::size_t length = WellFormedPrefix(rest, ch);
        if (length == 0)
            break;
        rest.remove_prefix(length);
    }
    std::string out(text.substr(0, text.size() - rest.size()));
    while (!rest.empty())
        out += EncodeUtf8(TakeUtf8(rest));
    return out;
}

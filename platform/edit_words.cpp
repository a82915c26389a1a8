#include "platform/edit_words.h"

#include "platform/utf8.h"

#include <algorithm>

namespace {

bool Blank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

int Clamped(std::string_view text, int offset) {
    return std::clamp(offset, 0, static_cast<int>(text.size()));
}

// A line break of a multi-line text ("\r\n") is one step: the caret never stands inside it.
bool LineBreakAt(std::string_view text, int offset) {
    return offset >= 0 && static_cast<std::size_t>(offset) + 1 < text.size() &&
           text[std::size_t(offset)] == '\r' && text[std::size_t(offset) + 1] == '\n';
}

} // namespace

int NextBoundary(std::string_view text, int offset) {
    if (offset >= static_cast<int>(text.size()))
        return static_cast<int>(text.size());
    if (LineBreakAt(text, offset))
        return offset + 2;
    return offset + static_cast<int>(FirstCharacterLength(text.substr(std::size_t(offset))));
}

// Characters are read from the front: a byte that looks like the tail of a character may be one
// of its own.
int PreviousBoundary(std::string_view text, int offset) {
    int boundary = 0;
    while (boundary < offset) {
        const int next = NextBoundary(text, boundary);
        if (next >= offset)
            break;
        boundary = next;
    }
    return boundary;
}

int PreviousWordStart(std::string_view text, int offset) {
    int at = Clamped(text, offset);
    while (at > 0 && Blank(text[at - 1]))
        --at;
    while (at > 0 && !Blank(text[at - 1]))
        --at;
    return at;
}

int NextWordStart(std::string_view text, int offset) {
    const int size = static_cast<int>(text.size());
    int at = Clamped(text, offset);
    while (at < size && !Blank(text[at]))
        ++at;
    while (at < size && Blank(text[at]))
        ++at;
    return at;
}

std::pair<int, int> WordAt(std::string_view text, int offset) {
    const int size = static_cast<int>(text.size());
    if (size == 0)
        return {0, 0};
    offset = Clamped(text, offset);
    const int at = offset == size || (offset > 0 && !Blank(text[offset - 1])) ? offset - 1 : offset;
    const bool blank = Blank(text[at]);
    int start = at;
    while (start > 0 && Blank(text[start - 1]) == blank)
        --start;
    int end = at + 1;
    while (end < size && Blank(text[end]) == blank)
        ++end;
    if (!blank)
        while (end < size && (text[end] == ' ' || text[end] == '\t'))
            ++end;
    return {start, end};
}

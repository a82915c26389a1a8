#include "platform/edit_words.h"

#include <algorithm>

namespace {

bool Blank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

int Clamped(std::string_view text, int offset) {
    return std::clamp(offset, 0, static_cast<int>(text.size()));
}

} // namespace

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

#include "platform/type_ahead.h"

#include "platform/utf8.h"

#include <algorithm>

namespace {

unsigned Folded(unsigned ch) {
    if (ch >= 'A' && ch <= 'Z')
        return ch + ('a' - 'A');
    // Latin-1 capitals "À" to "Þ", the multiplication sign aside.
    if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)
        return ch + 0x20;
    return ch;
}

} // namespace

bool TypeAhead::Searches(unsigned ch, DWORD now) const {
    if (ch == ' ')
        return !m_typed.empty() && now - m_last < kPause;
    return ch > ' ' && ch != 0x7F;
}

TypeAhead::Search TypeAhead::Type(unsigned ch, DWORD now) {
    if (m_typed.empty() || now - m_last >= kPause)
        m_typed.clear();
    m_last = now;
    m_typed.push_back(static_cast<char32_t>(ch));
    // One character typed again and again: its items one after the other.
    const bool repeated = std::all_of(m_typed.begin(), m_typed.end(),
                                      [&](char32_t typed) { return typed == m_typed.front(); });
    Search search;
    for (char32_t typed : repeated ? m_typed.substr(0, 1) : m_typed)
        search.prefix += EncodeUtf8(typed);
    search.fromNext = repeated;
    return search;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    while (!prefix.empty()) {
        if (text.empty() || Folded(TakeUtf8(text)) != Folded(TakeUtf8(prefix)))
            return false;
    }
    return true;
}

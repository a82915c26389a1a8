// Finding an item by typing the start of its text, as lists and trees do: characters typed in
// quick succession add up to one prefix; after a pause the next character starts afresh, and the
// same character typed again and again steps through the items that start with it.
// Layer-internal.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <string_view>

// Whether `text` starts with `prefix`, letters compared without regard to case (ASCII and the
// Latin-1 letters such as "Ä" and "ä").
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// The index of the first of `count` items, from `start` on and wrapping round, whose text
// (`textOf(index)`) starts with `prefix`; -1 when there is none.
template <typename TextOf>
int FindByPrefix(int count, int start, std::string_view prefix, TextOf textOf) {
    for (int step = 0; step < count; ++step) {
        const int index = (start + step) % count;
        if (StartsWithIgnoringCase(textOf(index), prefix))
            return index;
    }
    return -1;
}

class TypeAhead {
public:
    // Characters typed within this many milliseconds of the one before belong to one search.
    static constexpr DWORD kPause = 1000;

    // The item a character (of WM_CHAR) typed at `now` leads to, among `count` items of which
    // `current` is the current one (-1: none) and `textOf(index)` gives an item's text; -1 when
    // the character does not search or no item starts with what was typed.
    template <typename TextOf>
    int Find(unsigned ch, DWORD now, int count, int current, TextOf textOf) {
        if (count <= 0 || !Searches(ch, now))
            return -1;
        const Search search = Type(ch, now);
        const int start = current < 0 ? 0 : (current + (search.fromNext ? 1 : 0)) % count;
        return FindByPrefix(count, start, search.prefix, textOf);
    }

private:
    struct Search {
        std::string prefix; // UTF-8
        // Whether the search starts after the current item: a new search, or one character
        // repeated, moves on; a longer prefix may still match where it stands.
        bool fromNext = true;
    };

    // Whether `ch` typed at `now` searches at all: control characters do not, nor does a blank
    // that would begin a search (it toggles selections); a blank within a search is part of the
    // name sought.
    bool Searches(unsigned ch, DWORD now) const;
    // Takes a character typed at `now` (milliseconds) and tells what to look for.
    Search Type(unsigned ch, DWORD now);

    std::u32string m_typed;
    DWORD m_last = 0;
};

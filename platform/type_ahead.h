// Finding an item by typing the start of its text, as lists and trees do: characters typed in
// quick succession add up to one prefix; after a pause the next character starts afresh, and the
// same character typed again and again steps through the items that start with it.
// Layer-internal.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <string_view>

class TypeAhead {
public:
    // Characters typed within this many milliseconds of the one before belong to one search.
    static constexpr DWORD kPause = 1000;

    struct Search {
        std::string prefix; // UTF-8
        // Whether the search starts after the current item: a new search, or one character
        // repeated, moves on; a longer prefix may still match where it stands.
        bool fromNext = true;
    };

    // Whether `ch` (a character of WM_CHAR) typed at `now` searches at all: control characters do
    // not, nor does a blank that would begin a search (it toggles selections); a blank within a
    // search is part of the name sought.
    bool Searches(unsigned ch, DWORD now) const;
    // Takes a character typed at `now` (milliseconds) and tells what to look for.
    Search Type(unsigned ch, DWORD now);
    // Forgets the characters typed so far.
    void Reset() { m_typed.clear(); }

private:
    std::u32string m_typed;
    DWORD m_last = 0;
};

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

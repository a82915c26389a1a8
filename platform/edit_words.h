// Steps through an edit's text as Windows' edits take them: characters, a line break ("\r\n")
// being one, and words, runs of characters between blanks (spaces, tabs and line breaks). Offsets
// are bytes; blanks are single bytes, so each offset returned lies on a character boundary when
// the one given does.
#pragma once

#include <string_view>
#include <utility>

// The character boundary after and before `offset`: where Right and Left go.
int NextBoundary(std::string_view text, int offset);
int PreviousBoundary(std::string_view text, int offset);
// Where Ctrl+Left goes: the start of the word before the offset, over the blanks between.
int PreviousWordStart(std::string_view text, int offset);
// Where Ctrl+Right goes: the start of the next word, past the rest of this one and the blanks.
int NextWordStart(std::string_view text, int offset);
// What a double click at an offset selects: the word there with the spaces and tabs after it, or
// the run of blanks there. The word before the offset wins over the one after it.
std::pair<int, int> WordAt(std::string_view text, int offset);

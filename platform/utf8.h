// UTF-8, the encoding of the layer's texts: characters to bytes and back. Layer-internal.
//
// Texts another program wrote may hold bytes that are no UTF-8: most likely the Windows code page
// of German systems, 1252. Each byte outside a well-formed sequence is read as that code page's
// character, so such a name still shows as its author meant it instead of vanishing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The bytes of one character (a code point).
std::string EncodeUtf8(unsigned ch);
// The characters of `text`.
std::vector<unsigned> DecodeUtf8(std::string_view text);
// The first character of `text`, which must not be empty, taken off its front: a well-formed
// sequence, or else one byte read as a Windows-1252 character.
unsigned TakeUtf8(std::string_view& text);
// How many bytes of `text`, which must not be empty, TakeUtf8 takes for its first character.
std::size_t FirstCharacterLength(std::string_view text);
// Number of characters in `text`, as TakeUtf8 reads them.
int CountCharacters(std::string_view text);
// The length of the longest run of `text`'s first characters within `maxBytes` bytes.
std::size_t FittingPrefixLength(std::string_view text, std::size_t maxBytes);
// The byte offsets between the characters of `text`, as TakeUtf8 reads them: 0 first, the size
// last.
std::vector<std::size_t> CharacterBoundaries(std::string_view text);
// `text` as well-formed UTF-8, read as TakeUtf8 reads it; unchanged when it is well-formed.
std::string WellFormedUtf8(std::string_view text);

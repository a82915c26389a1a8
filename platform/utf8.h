// UTF-8, the encoding of the layer's texts: characters to bytes and back. Layer-internal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The bytes of one character (a code point).
std::string EncodeUtf8(unsigned ch);
// The characters of `text`; a sequence cut short at the end gives what its bytes hold.
std::vector<unsigned> DecodeUtf8(std::string_view text);
// The first character of `text`, which must not be empty, taken off its front.
unsigned TakeUtf8(std::string_view& text);

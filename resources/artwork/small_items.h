// Bitmap 132: the 16-pixel item images, in the order of ItemImage. Legend in pixel_art.h.
#pragma once

#include "resources/pixel_art.h"

namespace artwork {

using SmallItemFrame = pixel_art::Frame<kSmallImageSize, kSmallImageSize>;

inline constexpr std::array<SmallItemFrame, kItemImageCount> kSmallItemArt{
    // folder
    R"(
................
................
.nnnnn..........
noooooon........
noyyyyyonnnnnnn.
noooooooooooooYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
noyyyyyyyyyyyyYn
nYYYYYYYYYYYYYYn
.nnnnnnnnnnnnnn.
................
)",
    // chunk: a framed picture
    R"(
................
FFFFFFFFFFFFFFF.
FffffffffffffFG.
FfWWWWWWWWWWWfG.
FfWcccccccsscfG.
FfWccccccsWWsfG.
FfWbcccccsWWsfG.
FfWbbbbbbbssbfG.
FfWbbbEEbbbbbfG.
FfWbbEeeEbbEEfG.
FfWbEeeeeEEeefG.
FfWEeeeeeeeeefG.
FfWeeeeeeeeeefG.
FffffffffffffFG.
FFFFFFFFFFFFFFG.
.GGGGGGGGGGGGGG.
)",
    // entry: a page with a bookmark
    R"(
.....rrR........
..KKKrrRKKK.....
..KWWrrRWWKK....
..KWWrrRWWKWK...
..KWWrrRWWKKKK..
..KWWrrRWWWWWK..
..KWWrrRgggWWK..
..KWWrWRWWWWWK..
..KWWWWWWWWWWK..
..KWgggggggWWK..
..KWWWWWWWWWWK..
..KWggggggggWK..
..KWWWWWWWWWWK..
..KWgggggWWWWK..
..KWWWWWWWWWWK..
..KKKKKKKKKKKK..
)",
    // open folder
    R"(
................
................
.nnnnn..........
noooooon........
noyyyyyonnnnnn..
noyyyyyyyyyyyYn.
noyyyyyyyyyyyYn.
noyynnnnnnnnnnnn
noyynoooooooooon
noynoyyyyyyyyyn.
noynoyyyyyyyyYn.
nonoyyyyyyyyYn..
nonoyyyyyyyyYn..
nnoYYYYYYYYYn...
nnnnnnnnnnnn....
................
)",
};

} // namespace artwork

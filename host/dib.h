// Preview pictures as the host stores them in CHUNKS: packed device-independent bitmaps, that is
// a BITMAPINFOHEADER, the colour table and the pixel rows as one block, without a file header.
#pragma once

#include "platform/win_types.h"

#include <cstddef>
#include <vector>

namespace refhost {

constexpr std::size_t kBitmapInfoHeaderSize = 40;
constexpr DWORD kBiRgb = 0;

// Bytes per pixel row: rows are padded to a multiple of four bytes.
std::size_t DibStride(int width, int bitCount);
// Colour table entries for a bit depth: 2, 16 or 256 up to eight bits, none above.
int DibPaletteSize(int bitCount);

enum class Motif { Disc, Band, Checker };

// An uncompressed bottom-up DIB of 1, 4, 8, 24 or 32 bits per pixel: a colour gradient with the
// motif on it, quantised to the palette below eight bits. Throws std::invalid_argument for other
// depths or sizes outside 1..4096.
std::vector<BYTE> MakePreviewDib(int width, int height, int bitCount, Motif motif);

} // namespace refhost

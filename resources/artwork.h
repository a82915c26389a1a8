// The library's own bitmaps, icon and cursor as plain RGB pixels.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <vector>

struct ResourceImage {
    int width;
    int height;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, row-major, top row first
    int hotX;                          // a cursor's hot spot; 0, 0 for bitmaps and icons
    int hotY;
};

// Pixels of this colour are transparent, in the bitmaps, the icon and the cursor alike.
constexpr std::uint32_t kTransparentColour = 0xFF00FF;

// Bitmap 128: the toolbar strip, images side by side, in this order.
constexpr int kToolbarImageWidth = 16;
constexpr int kToolbarImageHeight = 15;
constexpr int kToolbarImageCount = 10;
enum ToolbarImage {
    kToolbarNewFolder,
    kToolbarDelete,
    kToolbarUp,
    kToolbarLargeIcons,
    kToolbarSmallIcons,
    kToolbarList,
    kToolbarDetails,
    kToolbarInfoPane,
    kToolbarCut,
    kToolbarPaste,
};

// Bitmaps 132 (16 x 16) and 26019 (32 x 32): the item images, side by side, in this order.
constexpr int kSmallImageSize = 16;
constexpr int kLargeImageSize = 32;
constexpr int kItemImageCount = 4;
enum ItemImage { kImageFolder, kImageChunk, kImageEntry, kImageOpenFolder };

// Bitmap `id` (128, 132, 26019), or null.
const ResourceImage* FindBitmapResource(UINT id);
// Icon `id` (128, 32 x 32), or null.
const ResourceImage* FindIconResource(UINT id);
// Cursor `id` (130, 32 x 32), or null.
const ResourceImage* FindCursorResource(UINT id);

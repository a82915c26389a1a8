// The library's bitmap, icon and cursor resources as pixel images. Layer-internal.
#pragma once

#include "platform/window_backend.h"

// Bitmap `id` with no transparency; null when there is none.
const PixelImage* FindBitmapPixels(UINT id);
// Icon or cursor `id` with magenta transparent; null when there is none.
const PixelImage* FindIconPixels(UINT id);
const PixelImage* FindCursorPixels(UINT id, CPoint* hotspot);

// Whether text or a picture shows in part of a window as last painted.
#pragma once

#include "platform/afxwin.h"
#include "platform/ui_driver.h"

// How far from the left of `area` its first pixel other than `background` lies, the area scanned
// column by column; -1 when all of it is background.
inline long FirstInk(UiDriver& driver, CWnd& window, const CRect& area, COLORREF background) {
    for (long x = area.left; x < area.right; ++x)
        for (long y = area.top; y < area.bottom; ++y)
            if (driver.PixelAt(window, CPoint(x, y)) != background)
                return x - area.left;
    return -1;
}

// A connection of our own to the X server, for the few things the toolkit does not offer (spare
// keys for typing, reading the screen). Brings in Xlib and its macros: include it after the
// toolkit's headers, in the files that talk to the X server only.
#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace wxui {

struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayClose>;

// The display of $DISPLAY, the one the toolkit shows its windows on; null when it cannot be
// opened.
inline DisplayConnection OpenDisplay() {
    return DisplayConnection(XOpenDisplay(nullptr));
}

} // namespace wxui

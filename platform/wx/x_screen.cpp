// What the X server shows, read from it directly: the toolkit's screen device context keeps
// handing out its first picture of the screen, so later reads would show a stale dialog.
#include "platform/wx/wx_internal.h"

#include "platform/wx/x_display.h"

#include <X11/Xutil.h>

#include <memory>

namespace wxui {

namespace {

struct ImageDestroy {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// One colour channel of a pixel, from its mask, as 8 bits.
std::uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<std::uint32_t>((((pixel & mask) >> shift) * 255 + top / 2) / top);
}

} // namespace

bool ReadScreen(const CRect& area, Framebuffer& out) {
    const DisplayConnection connection = OpenDisplay();
    if (!connection)
        return false;
    Display* display = connection.get();
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes))
        return false;
    CRect rect(0, 0, attributes.width, attributes.height);
    if (!area.IsRectEmpty() && !rect.IntersectRect(&rect, &area))
        return false;
    const std::unique_ptr<XImage, ImageDestroy> image(
        XGetImage(display, root, static_cast<int>(rect.left), static_cast<int>(rect.top),
                  static_cast<unsigned>(rect.Width()), static_cast<unsigned>(rect.Height()),
                  AllPlanes, ZPixmap));
    if (!image)
        return false;
    out.width = static_cast<int>(rect.Width());
    out.height = static_cast<int>(rect.Height());
    out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    std::uint32_t* to = out.pixels.data();
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const unsigned long pixel = XGetPixel(image.get(), x, y);
            *to++ = Channel(pixel, image->red_mask) << 16 | Channel(pixel, image->green_mask) << 8 |
                    Channel(pixel, image->blue_mask);
        }
    return true;
}

} // namespace wxui

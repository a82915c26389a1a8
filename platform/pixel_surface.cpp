#include "platform/pixel_surface.h"

#include "platform/gdi.h"

#include <algorithm>
#include <cstdlib>

PixelSurface::PixelSurface(std::vector<std::uint32_t>& pixels, int width, int height, CPoint offset,
                           CRect bounds)
    : m_pixels(pixels), m_width(width), m_offset(offset), m_bounds(bounds) {
    const CRect all(0, 0, width, height);
    if (bounds.left < 0 && bounds.right < 0)
        m_bounds = all;
    else
        m_bounds.IntersectRect(&m_bounds, &all);
    m_clip = m_bounds;
    m_clip.OffsetRect(-offset.x, -offset.y);
}

CSize PixelSurface::Size() const {
    return {m_bounds.Width(), m_bounds.Height()};
}

void PixelSurface::SetClip(const CRect& clip) {
    m_clip = clip;
}

CRect PixelSurface::Clipped(const CRect& rect) const {
    CRect r = rect;
    r.NormalizeRect();
    CRect clipped;
    clipped.IntersectRect(&r, &m_clip);
    clipped.OffsetRect(m_offset);
    clipped.IntersectRect(&clipped, &m_bounds);
    return clipped;
}

void PixelSurface::FillRect(const CRect& rect, COLORREF color) {
    const CRect r = Clipped(rect);
    const std::uint32_t rgb = ColorToRgb(color);
    for (long y = r.top; y < r.bottom; ++y)
        std::fill_n(&At(r.left, y), r.Width(), rgb);
}

void PixelSurface::PatBlt(const CRect& rect, const BrushPattern& brush, DWORD rop) {
    const CRect r = Clipped(rect);
    for (long y = r.top; y < r.bottom; ++y) {
        for (long x = r.left; x < r.right; ++x) {
            // The pattern is aligned to the surface's own origin.
            const long sx = x - m_offset.x;
            const long sy = y - m_offset.y;
            COLORREF pattern = brush.color;
            if (brush.patterned) {
                const bool set = (brush.rows[sy & 7] >> (7 - (sx & 7))) & 1;
                pattern = set ? brush.color : brush.background;
            }
            std::uint32_t& pixel = At(x, y);
            switch (rop) {
            case PATCOPY:
                if (!brush.hollow)
                    pixel = ColorToRgb(pattern);
                break;
            case PATINVERT:
                if (!brush.hollow)
                    pixel ^= ColorToRgb(pattern);
                break;
            case DSTINVERT:
                pixel = ~pixel & 0xFFFFFF;
                break;
            case BLACKNESS:
                pixel = 0;
                break;
            case WHITENESS:
                pixel = 0xFFFFFF;
                break;
            default:
                break;
            }
        }
    }
}

void PixelSurface::DrawLine(CPoint from, CPoint to, COLORREF color) {
    // Bresenham, end point excluded as GDI's LineTo does.
    long x = from.x;
    long y = from.y;
    const long dx = std::labs(to.x - from.x);
    const long dy = -std::labs(to.y - from.y);
    const long sx = from.x < to.x ? 1 : -1;
    const long sy = from.y < to.y ? 1 : -1;
    long error = dx + dy;
    const std::uint32_t rgb = ColorToRgb(color);
    while (x != to.x || y != to.y) {
        const CRect dot = Clipped(CRect(x, y, x + 1, y + 1));
        if (!dot.IsRectEmpty())
            At(dot.left, dot.top) = rgb;
        const long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void PixelSurface::DrawText(CPoint origin, std::string_view text, COLORREF color,
                            const FontMetrics& metrics) {
    const int height = metrics.LineHeight();
    long x = origin.x;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = std::min(length, text.size() - i);
        const std::string_view ch = text.substr(i, length);
        const int advance = metrics.TextWidth(ch);
        if (ch != " " && advance > 2 && height > 6)
            FillRect(CRect(x + 1, origin.y + 3, x + advance - 1, origin.y + height - 3), color);
        x += advance;
        i += length;
    }
}

void PixelSurface::DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) {
    if (dest.IsRectEmpty() || source.IsRectEmpty() || image.width <= 0 || image.height <= 0)
        return;
    const CRect r = Clipped(dest);
    for (long y = r.top; y < r.bottom; ++y) {
        const long dy = y - m_offset.y - dest.top;
        const long sy = source.top + dy * source.Height() / dest.Height();
        if (sy < 0 || sy >= image.height)
            continue;
        for (long x = r.left; x < r.right; ++x) {
            const long dx = x - m_offset.x - dest.left;
            const long sx = source.left + dx * source.Width() / dest.Width();
            if (sx < 0 || sx >= image.width || image.IsTransparent(sx, sy))
                continue;
            At(x, y) = image.pixels[static_cast<std::size_t>(sy) * image.width + sx] & 0xFFFFFF;
        }
    }
}

COLORREF PixelSurface::GetPixel(CPoint point) const {
    const long x = point.x + m_offset.x;
    const long y = point.y + m_offset.y;
    if (!m_bounds.PtInRect(CPoint(x, y)))
        return CLR_INVALID;
    return RgbToColor(m_pixels[static_cast<std::size_t>(y) * m_width + x]);
}

// A drawing surface over plain RGB pixels: the headless backend's framebuffers and the drag
// images the layer makes. Text is drawn as one block per character at the metrics' advance, so
// what it shows is exact, if not readable.
#pragma once

#include "platform/window_backend.h"

#include <cstdint>
#include <vector>

class PixelSurface : public DrawSurface {
public:
    // Draws into `pixels` (0x00RRGGBB, `width` x `height`, top row first); the surface's (0, 0)
    // lies at `offset` in the pixel buffer and it may touch `bounds` (buffer coordinates) only.
    PixelSurface(std::vector<std::uint32_t>& pixels, int width, int height,
                 CPoint offset = CPoint(), CRect bounds = CRect(-1, -1, -1, -1));

    CSize Size() const override;
    void SetClip(const CRect& clip) override;
    void FillRect(const CRect& rect, COLORREF color) override;
    void PatBlt(const CRect& rect, const BrushPattern& brush, DWORD rop) override;
    void DrawLine(CPoint from, CPoint to, COLORREF color) override;
    void DrawText(CPoint origin, std::string_view text, COLORREF color,
                  const FontMetrics& metrics) override;
    void DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) override;
    COLORREF GetPixel(CPoint point) const override;

private:
    // Buffer rectangle of a surface rectangle, clipped.
    CRect Clipped(const CRect& rect) const;
    std::uint32_t& At(long x, long y) {
        return m_pixels[static_cast<std::size_t>(y) * m_width + x];
    }

    std::vector<std::uint32_t>& m_pixels;
    int m_width;
    CPoint m_offset;
    CRect m_bounds;
    CRect m_clip; // surface coordinates
};

// 0x00BBGGRR <-> 0x00RRGGBB.
constexpr std::uint32_t ColorToRgb(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}
constexpr COLORREF RgbToColor(std::uint32_t rgb) {
    return RGB(static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
}

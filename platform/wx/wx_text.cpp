#include "platform/wx/wx_internal.h"

#include "platform/utf8.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>

namespace wxui {

namespace {

// A dialog needs a few hundred short texts; a mask of 8,192 pixels takes 100 KB.
constexpr std::size_t kCachedTexts = 20000;
constexpr std::size_t kCachedBytes = std::size_t{32} << 20;

} // namespace

wxString ToolkitText(std::string_view text) {
    const std::string wellFormed = WellFormedUtf8(text);
    return wxString::FromUTF8(wellFormed.data(), wellFormed.size());
}

std::string LayerText(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

wxString LineText(std::string_view text) {
    std::string line = WellFormedUtf8(text);
    for (char& ch : line)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            ch = ' ';
    return wxString::FromUTF8(line.data(), line.size());
}

// ---- WxFont ----

WxFont::WxFont(const wxString& face, int pointSize)
    : m_font(wxFontInfo(pointSize).FaceName(face)), m_probe(8, 8, 24),
      m_widths(kCachedTexts, kCachedBytes), m_masks(kCachedTexts, kCachedBytes) {
    m_measure.SelectObject(m_probe);
    m_measure.SetFont(m_font);
    m_lineHeight = m_measure.GetCharHeight();
    // The dialog base unit as Windows derives it: the mean width of the Latin letters, rounded.
    const wxSize letters =
        m_measure.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_averageWidth = std::max(1, (letters.x / 26 + 1) / 2);
}

int WxFont::TextWidth(std::string_view text) const {
    if (text.empty())
        return 0;
    if (const int* width = m_widths.Find(text))
        return *width;
    return m_widths.Insert(text, m_measure.GetTextExtent(LineText(text)).x);
}

const WxFont::Mask& WxFont::TextMask(std::string_view text) const {
    if (const Mask* mask = m_masks.Find(text))
        return *mask;
    Mask mask;
    const wxString string = LineText(text);
    const wxSize extent = m_measure.GetTextExtent(string);
    // Wider than any screen, and well within the toolkit's largest bitmap (32767 pixels), which a
    // name of some thousand characters would exceed.
    mask.width = std::min(extent.x, kMaxMaskWidth);
    mask.height = std::max(extent.y, m_lineHeight);
    if (mask.width > 0 && mask.height > 0) {
        wxBitmap bitmap(mask.width, mask.height, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxBLACK_BRUSH);
            dc.Clear();
            dc.SetFont(m_font);
            dc.SetTextForeground(*wxWHITE);
            dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
            dc.DrawText(string, 0, 0);
        }
        const wxImage image = bitmap.ConvertToImage();
        const unsigned char* rgb = image.GetData();
        mask.alpha.resize(static_cast<std::size_t>(mask.width) * mask.height);
        for (std::size_t i = 0; i < mask.alpha.size(); ++i)
            mask.alpha[i] = std::max({rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]});
    }
    const std::size_t bytes = mask.alpha.size();
    return m_masks.Insert(text, std::move(mask), bytes);
}

std::pair<std::size_t, int> WxFont::HiddenStart(std::string_view text, int hidden) const {
    const std::vector<std::size_t> boundaries = CharacterBoundaries(text);
    auto width = [&](std::size_t index) {
        return m_measure.GetTextExtent(LineText(text.substr(0, boundaries[index]))).x;
    };
    // The last boundary no further than `hidden`: widths grow with the prefix.
    std::size_t low = 0;
    std::size_t high = boundaries.size() - 1;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (width(middle) <= hidden)
            low = middle;
        else
            high = middle - 1;
    }
    return {boundaries[low], low ? width(low) : 0};
}

// ---- Framebuffer ----

void Framebuffer::Resize(int newWidth, int newHeight, std::uint32_t fill) {
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    pixels.assign(static_cast<std::size_t>(width) * height, fill);
}

// ---- WxSurface ----

WxSurface::WxSurface(Framebuffer& buffer)
    : PixelSurface(buffer.pixels, buffer.width, buffer.height), m_buffer(buffer),
      m_clip(0, 0, buffer.width, buffer.height) {}

void WxSurface::SetClip(const CRect& clip) {
    PixelSurface::SetClip(clip);
    m_clip = clip;
}

void WxSurface::Touch(CRect rect) {
    rect.NormalizeRect();
    CRect visible;
    if (!visible.IntersectRect(&rect, &m_clip))
        return;
    const CRect all(0, 0, m_buffer.width, m_buffer.height);
    if (!visible.IntersectRect(&visible, &all))
        return;
    m_touched.UnionRect(&m_touched, &visible);
}

void WxSurface::FillRect(const CRect& rect, COLORREF color) {
    PixelSurface::FillRect(rect, color);
    Touch(rect);
}

void WxSurface::PatBlt(const CRect& rect, const BrushPattern& brush, DWORD rop) {
    PixelSurface::PatBlt(rect, brush, rop);
    Touch(rect);
}

void WxSurface::DrawLine(CPoint from, CPoint to, COLORREF color) {
    PixelSurface::DrawLine(from, to, color);
    Touch(CRect(std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                std::max(from.y, to.y) + 1));
}

void WxSurface::DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) {
    PixelSurface::DrawImage(dest, image, source);
    Touch(dest);
}

void WxSurface::DrawText(CPoint origin, std::string_view text, COLORREF color,
                         const FontMetrics& metrics) {
    const auto* font = dynamic_cast<const WxFont*>(&metrics);
    if (!font) {
        PixelSurface::DrawText(origin, text, color, metrics);
        Touch(CRect(origin, CSize(metrics.TextWidth(text), metrics.LineHeight())));
        return;
    }
    // A text wider than a mask is drawn from its first character that shows.
    if (m_clip.left > origin.x && font->TextWidth(text) > WxFont::kMaxMaskWidth) {
        const auto [bytes, width] =
            font->HiddenStart(text, static_cast<int>(m_clip.left - origin.x));
        text.remove_prefix(bytes);
        origin.x += width;
    }
    const WxFont::Mask& mask = font->TextMask(text);
    CRect area(origin, CSize(mask.width, mask.height));
    CRect visible;
    const CRect all(0, 0, m_buffer.width, m_buffer.height);
    if (!visible.IntersectRect(&area, &m_clip) || !visible.IntersectRect(&visible, &all))
        return;
    const std::uint32_t rgb = ColorToRgb(color);
    const int red = static_cast<int>((rgb >> 16) & 0xFF);
    const int green = static_cast<int>((rgb >> 8) & 0xFF);
    const int blue = static_cast<int>(rgb & 0xFF);
    for (long y = visible.top; y < visible.bottom; ++y) {
        const std::uint8_t* coverage =
            &mask.alpha[static_cast<std::size_t>(y - origin.y) * mask.width];
        std::uint32_t* row = &m_buffer.pixels[static_cast<std::size_t>(y) * m_buffer.width];
        for (long x = visible.left; x < visible.right; ++x) {
            const int a = coverage[x - origin.x];
            if (a == 0)
                continue;
            std::uint32_t& pixel = row[x];
            if (a == 255) {
                pixel = rgb;
                continue;
            }
            auto mix = [a](int under, int over) { return (under * (255 - a) + over * a) / 255; };
            pixel =
                static_cast<std::uint32_t>(mix(static_cast<int>((pixel >> 16) & 0xFF), red) << 16) |
                static_cast<std::uint32_t>(mix(static_cast<int>((pixel >> 8) & 0xFF), green) << 8) |
                static_cast<std::uint32_t>(mix(static_cast<int>(pixel & 0xFF), blue));
        }
    }
    m_touched.UnionRect(&m_touched, &visible);
}

// ---- Images ----

wxBitmap ToBitmap(const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0)
        return wxBitmap();
    wxImage converted(image.width, image.height, false);
    unsigned char* rgb = converted.GetData();
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            unsigned char* out = rgb + 3 * (static_cast<std::size_t>(y) * image.width + x);
            out[0] = static_cast<unsigned char>(pixel >> 16);
            out[1] = static_cast<unsigned char>(pixel >> 8);
            out[2] = static_cast<unsigned char>(pixel);
        }
    if (!image.transparent.empty()) {
        converted.SetAlpha();
        unsigned char* alpha = converted.GetAlpha();
        for (std::size_t i = 0; i < image.transparent.size(); ++i)
            alpha[i] = image.transparent[i] ? 0 : 255;
    }
    return wxBitmap(converted);
}

bool SavePng(const Framebuffer& buffer, const std::string& path) {
    if (buffer.width <= 0 || buffer.height <= 0)
        return false;
    wxImage image(buffer.width, buffer.height, false);
    unsigned char* rgb = image.GetData();
    for (const std::uint32_t pixel : buffer.pixels) {
        *rgb++ = static_cast<unsigned char>(pixel >> 16);
        *rgb++ = static_cast<unsigned char>(pixel >> 8);
        *rgb++ = static_cast<unsigned char>(pixel);
    }
    return image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

} // namespace wxui

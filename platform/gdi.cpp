#include "platform/gdi.h"

#include "platform/app.h"
#include "platform/pixel_surface.h"
#include "platform/resource_access.h"
#include "platform/window.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>
#include <utility>

struct GdiObjectData {
    enum Kind { Brush, Pen, Bitmap } kind = Brush;
    BrushPattern brush;
    int penStyle = PS_SOLID;
    COLORREF penColor = 0;
    std::shared_ptr<PixelImage> bitmap;
    bool stock = false;
    CGdiObject* owner = nullptr;
    std::unique_ptr<CGdiObject> wrapper;
};

struct GdiAccess {
    static void SetOwns(CGdiObject& object, bool owns) { object.m_owns = owns; }
};

namespace {

// Never destroyed: GDI objects may be released by static destructors at exit.
std::unordered_set<GdiObjectData*>& LiveObjects() {
    static auto* live = new std::unordered_set<GdiObjectData*>;
    return *live;
}

GdiObjectData* LiveObject(HGDIOBJ object) {
    return object && LiveObjects().count(object) ? object : nullptr;
}

GdiObjectData* NewObject(GdiObjectData::Kind kind) {
    auto* data = new GdiObjectData;
    data->kind = kind;
    LiveObjects().insert(data);
    return data;
}

GdiObjectData* SolidBrush(COLORREF color) {
    GdiObjectData* data = NewObject(GdiObjectData::Brush);
    data->brush.color = color;
    return data;
}

GdiObjectData* StockObject(int index) {
    static std::array<GdiObjectData*, 9> stock = [] {
        std::array<GdiObjectData*, 9> objects{};
        const COLORREF brushes[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                    RGB(64, 64, 64), RGB(0, 0, 0)};
        for (int i = 0; i < 5; ++i)
            objects[i] = SolidBrush(brushes[i]);
        objects[NULL_BRUSH] = NewObject(GdiObjectData::Brush);
        objects[NULL_BRUSH]->brush.hollow = true;
        const COLORREF pens[] = {RGB(255, 255, 255), RGB(0, 0, 0)};
        for (int i = 0; i < 2; ++i) {
            objects[WHITE_PEN + i] = NewObject(GdiObjectData::Pen);
            objects[WHITE_PEN + i]->penColor = pens[i];
        }
        objects[NULL_PEN] = NewObject(GdiObjectData::Pen);
        objects[NULL_PEN]->penStyle = PS_NULL;
        for (GdiObjectData* object : objects)
            object->stock = true;
        return objects;
    }();
    if (index < 0 || index >= static_cast<int>(stock.size()))
        return nullptr;
    return stock[static_cast<std::size_t>(index)];
}

void DeleteData(GdiObjectData* data) {
    if (!data || data->stock)
        return;
    LiveObjects().erase(data);
    delete data;
}

// Rows of a monochrome bitmap become an 8x8 pattern (set bits: foreground).
BrushPattern PatternOf(const PixelImage& image) {
    BrushPattern pattern;
    pattern.patterned = true;
    pattern.color = RGB(0, 0, 0);
    pattern.background = RGB(255, 255, 255);
    for (int y = 0; y < 8; ++y) {
        std::uint8_t row = 0;
        for (int x = 0; x < 8; ++x) {
            const int sx = image.width ? x % image.width : 0;
            const int sy = image.height ? y % image.height : 0;
            const bool dark =
                image.width && image.height &&
                (image.pixels[static_cast<std::size_t>(sy) * image.width + sx] & 0xFFFFFF) == 0;
            row = static_cast<std::uint8_t>((row << 1) | (dark ? 1 : 0));
        }
        pattern.rows[y] = row;
    }
    return pattern;
}

} // namespace

COLORREF GetSysColor(int index) {
    return CurrentWindowBackend().SysColor(index);
}

HGDIOBJ GetStockObject(int index) {
    return StockObject(index);
}

int GetSystemMetrics(int index) {
    return CurrentWindowBackend().SystemMetric(index);
}

// ---- CGdiObject ----

CGdiObject::~CGdiObject() {
    if (m_owns)
        DeleteObject();
    else if (GdiObjectData* data = LiveObject(m_hObject); data && data->owner == this)
        data->owner = nullptr;
}

void CGdiObject::Own(HGDIOBJ object) {
    DeleteObject();
    m_hObject = object;
    m_owns = true;
    if (object)
        object->owner = this;
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!LiveObject(object))
        return FALSE;
    Own(object);
    if (object->stock)
        m_owns = false;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    if (GdiObjectData* data = LiveObject(object); data && data->owner == this)
        data->owner = nullptr;
    m_hObject = nullptr;
    m_owns = false;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    GdiObjectData* data = LiveObject(m_hObject);
    const bool owned = m_owns;
    m_hObject = nullptr;
    m_owns = false;
    if (!data)
        return FALSE;
    if (data->owner == this)
        data->owner = nullptr;
    if (owned)
        DeleteData(data);
    return TRUE;
}

BOOL CGdiObject::CreateStockObject(int index) {
    GdiObjectData* data = StockObject(index);
    if (!data)
        return FALSE;
    DeleteObject();
    m_hObject = data;
    return TRUE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    GdiObjectData* data = LiveObject(object);
    if (!data)
        return nullptr;
    if (data->owner)
        return data->owner;
    if (!data->wrapper) {
        switch (data->kind) {
        case GdiObjectData::Brush:
            data->wrapper = std::make_unique<CBrush>();
            break;
        case GdiObjectData::Pen:
            data->wrapper = std::make_unique<CPen>();
            break;
        case GdiObjectData::Bitmap:
            data->wrapper = std::make_unique<CBitmap>();
            break;
        }
        data->wrapper->m_hObject = data;
    }
    return data->wrapper.get();
}

// ---- CBrush, CPen, CBitmap ----

CBrush::CBrush(COLORREF color) {
    CreateSolidBrush(color);
}
CBrush::CBrush(CBitmap* pattern) {
    CreatePatternBrush(pattern);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    Own(SolidBrush(color));
    return TRUE;
}

BOOL CBrush::CreatePatternBrush(CBitmap* pattern) {
    const PixelImage* image = pattern ? pattern->Pixels() : nullptr;
    if (!image)
        return FALSE;
    GdiObjectData* data = NewObject(GdiObjectData::Brush);
    data->brush = PatternOf(*image);
    Own(data);
    return TRUE;
}

BOOL CBrush::CreateSysColorBrush(int index) {
    return CreateSolidBrush(GetSysColor(index));
}

CBrush* CBrush::FromHandle(HBRUSH brush) {
    GdiObjectData* data = LiveObject(brush);
    if (!data || data->kind != GdiObjectData::Brush)
        return nullptr;
    return static_cast<CBrush*>(CGdiObject::FromHandle(brush));
}

CPen::CPen(int style, int width, COLORREF color) {
    CreatePen(style, width, color);
}

BOOL CPen::CreatePen(int style, int /*width*/, COLORREF color) {
    GdiObjectData* data = NewObject(GdiObjectData::Pen);
    data->penStyle = style;
    data->penColor = color;
    Own(data);
    return TRUE;
}

CPen* CPen::FromHandle(HPEN pen) {
    GdiObjectData* data = LiveObject(pen);
    if (!data || data->kind != GdiObjectData::Pen)
        return nullptr;
    return static_cast<CPen*>(CGdiObject::FromHandle(pen));
}

BOOL CBitmap::LoadBitmap(UINT id) {
    const PixelImage* image = FindBitmapPixels(id);
    if (!image)
        return FALSE;
    return CreateFromPixels(image->width, image->height, image->pixels.data());
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT /*planes*/, UINT bitsPerPixel,
                           const void* bits) {
    if (width <= 0 || height <= 0)
        return FALSE;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
    if (bits && bitsPerPixel == 1) {
        const auto* bytes = static_cast<const std::uint8_t*>(bits);
        const int stride = ((width + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool set = (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1;
                pixels[static_cast<std::size_t>(y) * width + x] = set ? 0xFFFFFF : 0;
            }
    } else if (bits && bitsPerPixel == 32) {
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(std::uint32_t));
    } else if (bits) {
        return FALSE;
    }
    return CreateFromPixels(width, height, pixels.data());
}

BOOL CBitmap::CreateFromPixels(int width, int height, const std::uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels)
        return FALSE;
    GdiObjectData* data = NewObject(GdiObjectData::Bitmap);
    data->bitmap = std::make_shared<PixelImage>();
    data->bitmap->width = width;
    data->bitmap->height = height;
    data->bitmap->pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
    Own(data);
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* info) const {
    const PixelImage* image = Pixels();
    if (!image || !info)
        return 0;
    *info = BITMAP{0, image->width, image->height, image->width * 4, 1, 32, nullptr};
    return static_cast<int>(sizeof(BITMAP));
}

CSize CBitmap::GetBitmapDimension() const {
    const PixelImage* image = Pixels();
    return image ? CSize(image->width, image->height) : CSize();
}

const PixelImage* CBitmap::Pixels() const {
    GdiObjectData* data = LiveObject(m_hObject);
    return data && data->kind == GdiObjectData::Bitmap ? data->bitmap.get() : nullptr;
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
    GdiObjectData* data = LiveObject(bitmap);
    if (!data || data->kind != GdiObjectData::Bitmap)
        return nullptr;
    return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap));
}

// ---- CDC ----

CDC::CDC() {
    m_hDC = reinterpret_cast<HDC>(this);
    m_brush = StockObject(WHITE_BRUSH);
    m_pen = StockObject(BLACK_PEN);
}

CDC::~CDC() = default;

CDC* CDC::FromHandle(HDC dc) {
    return reinterpret_cast<CDC*>(dc);
}

void CDC::AttachSurface(DrawSurface* surface, CPoint origin, const CRect& clip,
                        const FontMetrics* metrics) {
    m_surface = surface;
    m_origin = origin;
    m_clip = clip;
    m_metrics = metrics;
}

void CDC::OwnSurface(std::unique_ptr<DrawSurface> surface) {
    m_ownedSurface = std::move(surface);
}

CRect CDC::ToSurface(const CRect& rect) const {
    CRect r = rect;
    r.NormalizeRect();
    r.OffsetRect(m_origin.x + m_viewportOrg.x, m_origin.y + m_viewportOrg.y);
    return r;
}

CPoint CDC::ToSurface(CPoint point) const {
    return CPoint(point.x + m_origin.x + m_viewportOrg.x, point.y + m_origin.y + m_viewportOrg.y);
}

void CDC::ApplyClip(const CRect&) {
    if (m_surface)
        m_surface->SetClip(m_clip);
}

CGdiObject* CDC::SelectStockObject(int index) {
    return SelectObject(CGdiObject::FromHandle(StockObject(index)));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    GdiObjectData* data = LiveObject(object);
    if (!data)
        return nullptr;
    HGDIOBJ previous = nullptr;
    if (data->kind == GdiObjectData::Brush) {
        previous = m_brush;
        m_brush = object;
    } else if (data->kind == GdiObjectData::Pen) {
        previous = m_pen;
        m_pen = object;
    }
    return previous;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(SelectObject(object->m_hObject));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush)
        return nullptr;
    return CBrush::FromHandle(SelectObject(brush->m_hObject));
}

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen)
        return nullptr;
    return CPen::FromHandle(SelectObject(pen->m_hObject));
}

CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(m_brush);
}
CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(m_pen);
}

CBrush* CDC::GetHalftoneBrush() {
    // A checkerboard whose set pixels are white: PATINVERT inverts every other pixel.
    static CBrush* halftone = [] {
        auto* brush = new CBrush;
        GdiObjectData* data = NewObject(GdiObjectData::Brush);
        data->stock = true;
        data->brush.patterned = true;
        data->brush.color = RGB(255, 255, 255);
        data->brush.background = RGB(0, 0, 0);
        for (int y = 0; y < 8; ++y)
            data->brush.rows[y] = (y % 2) ? 0xAA : 0x55;
        brush->m_hObject = data;
        data->owner = brush;
        return brush;
    }();
    return halftone;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return std::exchange(m_textColor, color);
}
COLORREF CDC::SetBkColor(COLORREF color) {
    return std::exchange(m_bkColor, color);
}
int CDC::SetBkMode(int mode) {
    return std::exchange(m_bkMode, mode);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (!m_surface || !rect || !brush)
        return;
    GdiObjectData* data = LiveObject(brush->m_hObject);
    if (!data || data->kind != GdiObjectData::Brush || data->brush.hollow)
        return;
    const CRect target = ToSurface(*rect);
    ApplyClip(target);
    if (data->brush.patterned)
        m_surface->PatBlt(target, data->brush, PATCOPY);
    else
        m_surface->FillRect(target, data->brush.color);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    if (!m_surface || !rect)
        return;
    const CRect target = ToSurface(*rect);
    ApplyClip(target);
    m_surface->FillRect(target, color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    const CRect r(rect);
    Draw3dRect(r.left, r.top, r.Width(), r.Height(), topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    // As MFC draws it: top and left edges, then bottom and right ones over the corners.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    const CRect r(rect);
    const CRect edges[] = {{r.left, r.top, r.right, r.top + 1},
                           {r.left, r.bottom - 1, r.right, r.bottom},
                           {r.left, r.top, r.left + 1, r.bottom},
                           {r.right - 1, r.top, r.right, r.bottom}};
    for (const CRect& edge : edges)
        FillRect(&edge, brush);
}

void CDC::InvertRect(LPCRECT rect) {
    if (!m_surface || !rect)
        return;
    const CRect target = ToSurface(*rect);
    ApplyClip(target);
    m_surface->PatBlt(target, BrushPattern{}, DSTINVERT);
}

void CDC::DrawFocusRect(LPCRECT rect) {
    if (!m_surface || !rect)
        return;
    // A dotted frame drawn by inversion, so drawing it twice removes it.
    BrushPattern dots;
    dots.patterned = true;
    dots.color = RGB(255, 255, 255);
    dots.background = RGB(0, 0, 0);
    for (int y = 0; y < 8; ++y)
        dots.rows[y] = (y % 2) ? 0xAA : 0x55;
    const CRect r = ToSurface(*rect);
    ApplyClip(r);
    const CRect edges[] = {{r.left, r.top, r.right, r.top + 1},
                           {r.left, r.bottom - 1, r.right, r.bottom},
                           {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                           {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
    for (const CRect& edge : edges)
        m_surface->PatBlt(edge, dots, PATINVERT);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    if (!m_surface)
        return FALSE;
    const CRect target = ToSurface(CRect(x, y, x + width, y + height));
    ApplyClip(target);
    GdiObjectData* brush = LiveObject(m_brush);
    m_surface->PatBlt(target, brush ? brush->brush : BrushPattern{}, rop);
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    const CRect rect(x1, y1, x2, y2);
    return Rectangle(&rect);
}

BOOL CDC::Rectangle(LPCRECT rect) {
    if (!m_surface || !rect)
        return FALSE;
    CRect r(rect);
    r.NormalizeRect();
    GdiObjectData* pen = LiveObject(m_pen);
    GdiObjectData* brush = LiveObject(m_brush);
    const bool outline = pen && pen->penStyle != PS_NULL;
    CRect inside = r;
    if (outline)
        inside.DeflateRect(1, 1);
    if (brush && !brush->brush.hollow) {
        const CRect target = ToSurface(inside);
        ApplyClip(target);
        if (brush->brush.patterned)
            m_surface->PatBlt(target, brush->brush, PATCOPY);
        else
            m_surface->FillRect(target, brush->brush.color);
    }
    if (outline) {
        CBrush frame(pen->penColor);
        FrameRect(&r, &frame);
    }
    return TRUE;
}

CPoint CDC::MoveTo(int x, int y) {
    return std::exchange(m_position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y) {
    GdiObjectData* pen = LiveObject(m_pen);
    if (m_surface && pen && pen->penStyle != PS_NULL) {
        ApplyClip(m_clip);
        m_surface->DrawLine(ToSurface(m_position), ToSurface(CPoint(x, y)), pen->penColor);
    }
    m_position = CPoint(x, y);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    FillSolidRect(x, y, 1, 1, color);
    return color;
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!m_surface)
        return CLR_INVALID;
    const CPoint point = ToSurface(CPoint(x, y));
    if (!m_clip.PtInRect(point))
        return CLR_INVALID;
    return m_surface->GetPixel(point);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    if (!m_surface || !text || !m_metrics)
        return FALSE;
    const std::string_view view(text,
                                count < 0 ? std::strlen(text) : static_cast<std::size_t>(count));
    const CPoint origin = ToSurface(CPoint(x, y));
    ApplyClip(m_clip);
    if (m_bkMode == OPAQUE) {
        const CRect back(origin.x, origin.y, origin.x + m_metrics->TextWidth(view),
                         origin.y + m_metrics->LineHeight());
        m_surface->FillRect(back, m_bkColor);
    }
    m_surface->DrawText(origin, view, m_textColor, *m_metrics);
    return TRUE;
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text.c_str(), text.GetLength());
}

namespace {

// Moves the words of `line` that fill `width` line by line into `lines`, breaking at blanks, and
// gives back the last line. A word wider than `width` has a line of its own. Each line measures
// only the words it may take, so a text of thousands of words wraps in time linear in its length.
std::string_view WrapWords(const FontMetrics& metrics, std::string_view line, long width,
                           std::vector<std::string_view>& lines) {
    for (;;) {
        // The first word is taken whatever its width, then one word more while the line fits.
        std::size_t end = line.find(' ', 1);
        while (end != std::string_view::npos) {
            const std::size_t next = line.find(' ', end + 1);
            const std::size_t candidate = next == std::string_view::npos ? line.size() : next;
            if (metrics.TextWidth(line.substr(0, candidate)) > width)
                break;
            end = next;
        }
        if (end == std::string_view::npos)
            return line;
        lines.push_back(line.substr(0, end));
        line = line.substr(end + 1);
    }
}

} // namespace

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    if (!text || !rect || !m_metrics)
        return 0;
    const std::string_view all(text,
                               count < 0 ? std::strlen(text) : static_cast<std::size_t>(count));
    const int lineHeight = m_metrics->LineHeight();
    // Break into lines: at newlines, and at blanks where DT_WORDBREAK asks for it.
    std::vector<std::string_view> lines;
    const long width = rect->right - rect->left;
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos || (format & DT_SINGLELINE))
            end = all.size();
        std::string_view line = all.substr(start, end - start);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            line = WrapWords(*m_metrics, line, width, lines);
        lines.push_back(line);
        if (end >= all.size())
            break;
        start = end + 1;
    }
    const int height = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        long widest = 0;
        for (std::string_view line : lines)
            widest = std::max<long>(widest, m_metrics->TextWidth(line));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    // Wrapped words running past the bottom: the last line that shows takes the rest of the text,
    // and so ends in dots.
    std::string lastShown;
    if ((format & DT_END_ELLIPSIS) && (format & DT_WORDBREAK) && !(format & DT_SINGLELINE) &&
        lineHeight > 0) {
        const auto room =
            static_cast<std::size_t>(std::max<long>(1, (rect->bottom - rect->top) / lineHeight));
        if (lines.size() > room) {
            const std::string_view last = lines[room - 1];
            lastShown.assign(last.data(),
                             static_cast<std::size_t>(all.data() + all.size() - last.data()));
            std::replace(lastShown.begin(), lastShown.end(), '\n', ' ');
            lines.resize(room);
            lines.back() = lastShown;
        }
    }
    long y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect->bottom - lineHeight;
    }
    const CRect saved = m_clip;
    if (!(format & DT_NOCLIP)) {
        CRect bounded = ToSurface(CRect(rect));
        m_clip.IntersectRect(&m_clip, &bounded);
    }
    std::string fitted;
    for (std::string_view line : lines) {
        if ((format & DT_END_ELLIPSIS) && m_metrics->TextWidth(line) > width) {
            fitted = FitWithEndEllipsis(*m_metrics, line, width);
            line = fitted;
        }
        const long lineWidth = m_metrics->TextWidth(line);
        long x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (width - lineWidth) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - lineWidth;
        TextOut(static_cast<int>(x), static_cast<int>(y), line.data(),
                static_cast<int>(line.size()));
        y += lineHeight;
    }
    m_clip = saved;
    return height;
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.c_str(), text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
    if (!text || !m_metrics)
        return CSize();
    const std::string_view view(text,
                                count < 0 ? std::strlen(text) : static_cast<std::size_t>(count));
    return CSize(m_metrics->TextWidth(view), m_metrics->LineHeight());
}

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text.c_str(), text.GetLength());
}

BOOL CDC::DrawPixelsScaled(const CRect& dest, int width, int height, const std::uint32_t* pixels,
                           const CRect& source) {
    if (!pixels || width <= 0 || height <= 0)
        return FALSE;
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
    return DrawImage(dest, image, source);
}

BOOL CDC::DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) {
    if (!m_surface)
        return FALSE;
    const CRect target = ToSurface(dest);
    ApplyClip(target);
    m_surface->DrawImage(target, image, source);
    return TRUE;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    return std::exchange(m_viewportOrg, CPoint(x, y));
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    const CPoint previous = m_viewportOrg;
    m_viewportOrg.Offset(dx, dy);
    return previous;
}

int CDC::IntersectClipRect(LPCRECT rect) {
    const CRect target = ToSurface(CRect(rect));
    m_clip.IntersectRect(&m_clip, &target);
    return m_clip.IsRectEmpty() ? 1 /* NULLREGION */ : 2 /* SIMPLEREGION */;
}

int CDC::GetClipBox(LPRECT rect) const {
    CRect box = m_clip;
    box.OffsetRect(-(m_origin.x + m_viewportOrg.x), -(m_origin.y + m_viewportOrg.y));
    if (rect)
        *rect = box;
    return box.IsRectEmpty() ? 1 : 2;
}

int CDC::SaveDC() {
    m_saved.push_back({m_viewportOrg, m_clip, m_brush, m_pen, m_textColor, m_bkColor, m_bkMode});
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int saved) {
    if (saved < 0)
        saved = static_cast<int>(m_saved.size()) + 1 + saved;
    if (saved <= 0 || saved > static_cast<int>(m_saved.size()))
        return FALSE;
    const State state = m_saved[static_cast<std::size_t>(saved - 1)];
    m_saved.resize(static_cast<std::size_t>(saved - 1));
    m_viewportOrg = state.viewportOrg;
    m_clip = state.clip;
    m_brush = state.brush;
    m_pen = state.pen;
    m_textColor = state.textColor;
    m_bkColor = state.bkColor;
    m_bkMode = state.bkMode;
    return TRUE;
}

// ---- Window contexts ----

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    m_ps.hdc = m_hDC;
    m_ps.fErase = FALSE;
    CRect paint;
    if (!winsys::BeginPaint(m_hWnd, *this, paint)) {
        // Outside a paint cycle: draw on the client area like GetDC.
        winsys::ClientDC(m_hWnd, *this, false);
        paint = winsys::ClientRect(m_hWnd);
    }
    m_ps.rcPaint = paint;
}

CPaintDC::~CPaintDC() = default;

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    winsys::ClientDC(m_hWnd, *this, false);
}

CClientDC::~CClientDC() = default;

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    winsys::ClientDC(m_hWnd, *this, true);
}

CWindowDC::~CWindowDC() = default;

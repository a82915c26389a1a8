// Drawing: GDI objects (brushes, pens, bitmaps) and the device context, over a backend surface.
#pragma once

#include "platform/cstring.h"
#include "platform/win_geometry.h"
#include "platform/win_messages.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class CWnd;
class DrawSurface;
class FontMetrics;
struct PixelImage;

class CObject {
public:
    virtual ~CObject() = default;
};

// Raster operations of PatBlt.
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

struct BITMAP {
    int bmType;
    int bmWidth;
    int bmHeight;
    int bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

// The system colours of the running backend (the classic Windows palette in headless runs).
COLORREF GetSysColor(int index);
HGDIOBJ GetStockObject(int index);
int GetSystemMetrics(int index);

// Base of brushes, pens and bitmaps: owns its handle unless it only wraps a stock or foreign one.
class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);

    // The wrapper of `object`: its owner when one exists, else a wrapper kept with the handle.
    static CGdiObject* FromHandle(HGDIOBJ object);

protected:
    // Takes ownership of a freshly made object.
    void Own(HGDIOBJ object);

private:
    friend struct GdiAccess;
    bool m_owns = false;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    explicit CBrush(class CBitmap* pattern);

    BOOL CreateSolidBrush(COLORREF color);
    // An 8x8 monochrome pattern: set bits take the text colour, clear bits the background.
    BOOL CreatePatternBrush(class CBitmap* pattern);
    BOOL CreateSysColorBrush(int index);

    static CBrush* FromHandle(HBRUSH brush);
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    BOOL CreatePen(int style, int width, COLORREF color);

    static CPen* FromHandle(HPEN pen);
};

// A bitmap: pixels in 0x00RRGGBB, top row first.
class CBitmap : public CGdiObject {
public:
    // The library's bitmap resource `id`.
    BOOL LoadBitmap(UINT id);
    // A monochrome (1 bit per pixel, rows padded to 16 bits) or 32-bit (0x00RRGGBB) bitmap.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    // Pixels as 0x00RRGGBB, row-major, top row first.
    BOOL CreateFromPixels(int width, int height, const std::uint32_t* pixels);
    int GetBitmap(BITMAP* info) const;
    CSize GetBitmapDimension() const;
    // The pixels (null when there is no bitmap).
    const PixelImage* Pixels() const;

    static CBitmap* FromHandle(HBITMAP bitmap);
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

// A device context: drawing in a window's client coordinates, clipped to what it may touch.
class CDC : public CObject {
public:
    CDC();
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    static CDC* FromHandle(HDC dc);

    // Selection; the previous object comes back so that it can be selected again.
    CGdiObject* SelectStockObject(int index);
    CBrush* SelectObject(CBrush* brush);
    CPen* SelectObject(CPen* pen);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CBrush* GetCurrentBrush() const;
    CPen* GetCurrentPen() const;

    // The shared 50 % grey checkerboard brush.
    static CBrush* GetHalftoneBrush();

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }

    void FillRect(LPCRECT rect, CBrush* brush);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    void DrawFocusRect(LPCRECT rect);
    // Uses the selected brush (PATCOPY, PATINVERT) or none (DSTINVERT, BLACKNESS, WHITENESS).
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    // Outline with the selected pen, inside with the selected brush.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT rect);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    // CLR_INVALID outside the clip or where the backend cannot read back.
    COLORREF GetPixel(int x, int y) const;

    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text);
    // Single-line and word-broken text inside `rect`; the height of the text drawn.
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const;

    // Draws pixel data (0x00RRGGBB, row-major, top row first, `width` x `height`) with its
    // `source` part scaled into `dest`: the hook through which picture data reaches the screen.
    BOOL DrawPixelsScaled(const CRect& dest, int width, int height, const std::uint32_t* pixels,
                          const CRect& source);
    // The same for an image with transparency.
    BOOL DrawImage(const CRect& dest, const PixelImage& image, const CRect& source);

    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const { return m_viewportOrg; }
    CPoint OffsetViewportOrg(int dx, int dy);
    int IntersectClipRect(LPCRECT rect);
    int GetClipBox(LPRECT rect) const;
    int SaveDC();
    BOOL RestoreDC(int saved);

    // Layer-internal: a context on `surface` whose logical origin lies at `origin` on it and
    // which may touch `clip` (surface coordinates) only.
    void AttachSurface(DrawSurface* surface, CPoint origin, const CRect& clip,
                       const FontMetrics* metrics);
    void OwnSurface(std::unique_ptr<DrawSurface> surface);
    DrawSurface* Surface() const { return m_surface; }

protected:
    struct State {
        CPoint viewportOrg;
        CRect clip;
        HGDIOBJ brush;
        HGDIOBJ pen;
        COLORREF textColor;
        COLORREF bkColor;
        int bkMode;
    };
    CRect ToSurface(const CRect& rect) const;
    CPoint ToSurface(CPoint point) const;
    void ApplyClip(const CRect& surfaceRect);

    DrawSurface* m_surface = nullptr;
    std::unique_ptr<DrawSurface> m_ownedSurface;
    const FontMetrics* m_metrics = nullptr;
    CPoint m_origin;      // surface position of logical (0, 0) before the viewport origin
    CPoint m_viewportOrg; // added to logical coordinates
    CRect m_clip;         // in surface coordinates
    HGDIOBJ m_brush = nullptr;
    HGDIOBJ m_pen = nullptr;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
    CPoint m_position;
    std::vector<State> m_saved;
};

// Selects an object into a context for the lifetime of the scope and selects the previous back.
class CDCObjectSelection {
public:
    CDCObjectSelection(CDC& dc, CGdiObject* object)
        : m_dc(dc), m_previous(dc.SelectObject(object)) {}
    ~CDCObjectSelection() {
        if (m_previous)
            m_dc.SelectObject(m_previous);
    }
    CDCObjectSelection(const CDCObjectSelection&) = delete;
    CDCObjectSelection& operator=(const CDCObjectSelection&) = delete;

private:
    CDC& m_dc;
    CGdiObject* m_previous;
};

// The context of a WM_PAINT: the invalid part of the window, validated when it ends.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// The client area of a window (GetDC/ReleaseDC for the lifetime of the object).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// The whole window rectangle, frame included.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

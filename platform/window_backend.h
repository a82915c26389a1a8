// The interface a window backend implements. The window layer keeps every window's and control's
// state itself and computes all geometry; a backend provides real top-level windows, drawing
// surfaces, a modal loop, popup menus, the cursor and the drag image. Subsystem code never sees
// this header's classes.
#pragma once

#include "platform/commctrl.h"
#include "platform/font_metrics.h"
#include "platform/win_geometry.h"
#include "platform/win_messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CString;

// Pixels of an image: 0x00RRGGBB, row-major, top row first.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // One byte per pixel, nonzero where the pixel is transparent; empty when nothing is.
    std::vector<std::uint8_t> transparent;

    bool IsTransparent(int x, int y) const {
        return !transparent.empty() && transparent[static_cast<std::size_t>(y) * width + x] != 0;
    }
};

// What a brush paints: a solid colour, or an 8x8 pattern of two colours (bit set: foreground).
struct BrushPattern {
    bool hollow = false;
    bool patterned = false;
    COLORREF color = 0;
    COLORREF background = 0;
    std::uint8_t rows[8] = {};
};

// A surface to draw on, in its own pixel coordinates. The device context clips and offsets before
// calling; the surface only has to respect the clip rectangle it was given last.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;
    virtual CSize Size() const = 0;
    virtual void SetClip(const CRect& clip) = 0;
    virtual void FillRect(const CRect& rect, COLORREF color) = 0;
    // PATCOPY, PATINVERT, DSTINVERT, BLACKNESS and WHITENESS; the pattern is aligned to the
    // surface's origin.
    virtual void PatBlt(const CRect& rect, const BrushPattern& brush, DWORD rop) = 0;
    virtual void DrawLine(CPoint from, CPoint to, COLORREF color) = 0;
    // One line of text with its top-left corner at `origin`.
    virtual void DrawText(CPoint origin, std::string_view text, COLORREF color,
                          const FontMetrics& metrics) = 0;
    // The `source` part of `image` scaled into `dest`; transparent pixels are left alone.
    virtual void DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) = 0;
    // CLR_INVALID where the surface cannot be read back.
    virtual COLORREF GetPixel(CPoint point) const = 0;
    // A one-pixel frame just inside `rect`, one colour on its top and left edges and another on
    // its bottom and right: the 3D edges of frames and buttons.
    void Edge(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
};

// A real window behind one top-level window of the layer (a dialog, a popup).
class TopLevelPeer {
public:
    virtual ~TopLevelPeer() = default;
    // The whole window rectangle in screen coordinates, frame included.
    virtual void SetWindowRect(const CRect& screenRect) = 0;
    virtual void Show(bool visible) = 0;
    virtual void SetTitle(const CString& title) = 0;
    virtual void SetIcon(HICON icon) = 0;
    // Part of the client area needs painting; the backend calls PaintTopLevel for it later.
    virtual void Invalidate(const CRect& clientRect) = 0;
    // Paints what is invalid now.
    virtual void Update() = 0;
    // A surface on the client area for drawing outside a paint (GetDC).
    virtual std::unique_ptr<DrawSurface> ClientSurface() = 0;
    // The pointer is captured by a window of this top-level window (or released).
    virtual void SetCapture(bool captured) = 0;
};

// Something the model of a control changed, for backends that mirror a control natively.
struct ControlChange {
    enum Kind {
        ItemInserted,
        ItemDeleted,
        AllItemsDeleted,
        ItemChanged, // text, images, data or state
        Expanded,    // expansion state of `item`
        SelectionChanged,
        StyleChanged,
        LabelEditStarted,
        LabelEditEnded,
        ImageListChanged,
        Scrolled,
    };
    Kind kind;
    HTREEITEM treeItem = nullptr;
    int listItem = -1;
};

// A native control standing in for a child window the layer keeps the model of (a backend may
// decide, for instance, to show the tree view with the toolkit's tree). The model stays the
// source of truth: the backend mirrors changes and turns the user's actions into the layer's
// input calls.
class NativeControl {
public:
    virtual ~NativeControl() = default;
    // Position in the top-level window's client coordinates.
    virtual void SetBounds(const CRect& rect) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetFocus() = 0;
    virtual void ModelChanged(const ControlChange& change) = 0;
};

// A running modal loop: a dialog's, a message box's or a popup menu's.
class ModalLoop {
public:
    virtual ~ModalLoop() = default;
    virtual bool Ended() const = 0;
    // Ends the loop the way a cancelled run ends (the dialog with IDCANCEL, the menu with
    // nothing chosen). The backend calls this when nobody will end it otherwise.
    virtual void Cancel() = 0;
    // The top-level window the loop belongs to, when there is one.
    virtual HWND Window() const = 0;
    // For reports: "dialog "Title"", "popup menu", ...
    virtual CString Describe() const = 0;
};

// A popup menu being tracked, as the backend shows it.
struct TrackedMenuInfo {
    HMENU menu;
    UINT flags;
    CPoint screenPoint;
    HWND owner;
};

// The drag image of the image-list drag functions.
struct DragImageState {
    bool dragging = false;     // between BeginDrag and EndDrag
    bool visible = false;      // between DragEnter and DragLeave (and not hidden)
    HWND lockWindow = nullptr; // the window given to DragEnter
    PixelImage image;          // the image being dragged
    CPoint hotspot;            // grab point inside the image
    CPoint position;           // pointer position relative to the lock window's window rect
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;

    // Metrics of a dialog font (face and point size of a template) and of the controls' font.
    virtual const FontMetrics& Metrics(const char* face, int pointSize) = 0;
    // The screen area dialogs are centred in, in screen coordinates.
    virtual CRect WorkArea() = 0;
    // Thickness of the frame a top-level window with these styles gets on each side (left, top,
    // right and bottom in the rectangle's four members).
    virtual CRect FrameInsets(DWORD style, DWORD exStyle) = 0;
    virtual COLORREF SysColor(int index) = 0;
    virtual int SystemMetric(int index) = 0;
    virtual UINT DoubleClickTime() = 0;
    // Milliseconds from some start on, for what depends on how quickly input follows input.
    virtual DWORD TickCount() = 0;

    virtual std::unique_ptr<TopLevelPeer> CreateTopLevel(HWND window) = 0;
    // Null: the layer draws the control itself.
    virtual std::unique_ptr<NativeControl> CreateNativeControl(HWND window) = 0;

    // Runs until `loop.Ended()`; dispatches input and posted messages and paints meanwhile.
    virtual void RunModalLoop(ModalLoop& loop) = 0;
    // A message was posted: wake the loop up.
    virtual void MessagePosted() = 0;

    // Shows `menu` and tracks it until the user chooses or dismisses; the chosen command or 0.
    virtual UINT TrackPopupMenu(const TrackedMenuInfo& menu) = 0;

    virtual void SetCursor(HCURSOR cursor) = 0;
    virtual void DragImageChanged(const DragImageState& state) = 0;
    // A timer was set (winsys::SetTimer): the backend sees to it that it falls due in time.
    virtual void TimersChanged() = 0;

    // The desktop's clipboard, for text (UTF-8): puts `text` there, in place of what was there.
    virtual void SetClipboardText(const std::string& text) = 0;
    // The text on the clipboard; nothing when it holds no text.
    virtual std::optional<std::string> ClipboardText() = 0;
};

// The backend in effect: the headless one unless a host registered another.
WindowBackend& CurrentWindowBackend();
// Installs `backend` (null: the default headless backend); returns the previous one. Windows
// created under one backend must be destroyed before it is replaced.
WindowBackend* SetWindowBackend(WindowBackend* backend);

class ScopedWindowBackend {
public:
    explicit ScopedWindowBackend(WindowBackend& backend) : m_previous(SetWindowBackend(&backend)) {}
    ~ScopedWindowBackend() { SetWindowBackend(m_previous); }
    ScopedWindowBackend(const ScopedWindowBackend&) = delete;
    ScopedWindowBackend& operator=(const ScopedWindowBackend&) = delete;

private:
    WindowBackend* m_previous;
};

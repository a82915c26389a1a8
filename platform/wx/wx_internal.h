// Inside the wx backend: the pieces that see wx types. Not for use outside platform/wx.
#pragma once

#include "platform/double_click.h"
#include "platform/pixel_surface.h"
#include "platform/text_cache.h"
#include "platform/ui_driver.h"
#include "platform/user_notifier.h"
#include "platform/wx/wx_backend.h"

#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/dcmemory.h>
#include <wx/dragimag.h>
#include <wx/font.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class wxDialog;
class wxMenu;
class wxTopLevelWindow;

namespace headless {
class ScriptRunner;
}

namespace wxui {

// A text of the layer (UTF-8, or bytes of another program read as WellFormedUtf8 reads them) as
// the toolkit's string: the toolkit would take a text that is not UTF-8 for nothing at all.
wxString ToolkitText(std::string_view text);
// The toolkit's text as the layer's UTF-8.
std::string LayerText(const wxString& text);
// A text as the window layer draws and measures it, on one line: as TextOut, it breaks at no
// newline and expands no tab. The toolkit would do both; control characters show as blanks.
wxString LineText(std::string_view text);

// A script that has run out of steps gets this long for the last one's effects to end a modal
// loop, a popup menu or a message box; then it is cancelled and reported.
constexpr auto kLeftRunning = std::chrono::seconds(5);

// ---- Text ----

// A dialog font of the layer in the real font: what layout measures and what is drawn agree.
class WxFont : public FontMetrics {
public:
    WxFont(const wxString& face, int pointSize);

    int TextWidth(std::string_view text) const override;
    int WidestTextWidth(const std::vector<std::string_view>& texts) const override;
    int LineHeight() const override { return m_lineHeight; }
    int AverageCharWidth() const override { return m_averageWidth; }

    // Coverage of the text drawn in white on black: one byte a pixel.
    struct Mask {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> alpha;
    };
    const Mask& TextMask(std::string_view text) const;
    // Text masks end at this width.
    static constexpr int kMaxMaskWidth = 8192;
    // For a text whose start lies `hidden` pixels left of where it shows: the bytes of its
    // characters wholly within those pixels, and their width. Measured afresh, not cached: the
    // texts that need it run to thousands of characters.
    std::pair<std::size_t, int> HiddenStart(std::string_view text, int hidden) const;
    const wxFont& Font() const { return m_font; }

private:
    wxFont m_font;
    int m_lineHeight = 0;
    int m_averageWidth = 0;
    mutable wxBitmap m_probe;
    mutable wxMemoryDC m_measure;
    mutable TextCache<int> m_widths;
    mutable TextCache<Mask> m_masks;

    // Width with its fraction, as the toolkit lays the text out; TextWidth rounds it.
    double FractionalWidth(std::string_view text) const;
    // The width of a text laid out as its characters side by side, each pair of neighbours moved
    // closer or apart by what the font kerns them: the sum of the characters' widths and the
    // pairs' shifts. Nothing when the layout may do otherwise: a character outside Latin-1 and
    // Latin Extended-A, a control or soft hyphen, bytes that are not UTF-8, or an "f" before a
    // letter (f-ligatures join letters into one glyph, which kerns with its neighbours as a whole).
    std::optional<double> EstimatedWidth(std::string_view text) const;
    double Advance(unsigned ch) const;
    double PairShift(unsigned first, unsigned second) const;
    mutable std::vector<float> m_advances;   // by character; NaN until measured
    mutable std::vector<float> m_pairShifts; // by pair of characters; NaN until measured
};

// The pixels of a top-level window's client area: the layer paints into them, the canvas shows
// them.
struct Framebuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first

    void Resize(int newWidth, int newHeight, std::uint32_t fill);
};

// Plain pixel drawing for everything but text, which is blended from the real font's coverage.
// Remembers the part it touched so that the caller can put just that on the screen.
class WxSurface : public PixelSurface {
public:
    explicit WxSurface(Framebuffer& buffer);

    void SetClip(const CRect& clip) override;
    void FillRect(const CRect& rect, COLORREF color) override;
    void PatBlt(const CRect& rect, const BrushPattern& brush, DWORD rop) override;
    void DrawLine(CPoint from, CPoint to, COLORREF color) override;
    void DrawText(CPoint origin, std::string_view text, COLORREF color,
                  const FontMetrics& metrics) override;
    void DrawImage(const CRect& dest, const PixelImage& image, const CRect& source) override;

    const CRect& Touched() const { return m_touched; }

protected:
    void Touch(CRect rect);

    Framebuffer& m_buffer;
    CRect m_clip;
    CRect m_touched;
};

// ---- Windows ----

class TopLevel;

// The one child of a top-level toolkit window: shows the framebuffer and passes input on.
class Canvas : public wxWindow {
public:
    Canvas(wxWindow* parent, TopLevel* owner);
    ~Canvas() override;
    // The top-level peer is going. Until the toolkit deletes the canvas, pointer events the X
    // server still sends it (the release of a press that closed the window) go to whatever
    // window of the layer lies under the pointer, as they would on Windows.
    void Detach();
    // The backend is going: nothing more reaches the layer.
    void Orphan() { m_backend = nullptr; }
    void Blit(wxDC& dc, const CRect& area);
    // While the layer holds the pointer, it is looked at now and then: the toolkit drops moves
    // that come while it takes the pointer (a quick drag loses its way) and some while it holds
    // it, and a move to where the pointer really is makes up for them.
    void WatchPointer();

private:
    void CatchUpPointer();
    // A move to `screen` when the layer saw the pointer last elsewhere; whether one was sent.
    bool CatchUpTo(CPoint screen, UINT modifiers);
    // Where a point of the canvas lies in the layer's screen coordinates.
    CPoint LayerScreenPoint(wxPoint client) const;
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    TopLevel* m_owner;
    WxBackend::Impl* m_backend;
    wxTimer m_pointerWatch{this};
};

class TopLevel : public TopLevelPeer {
public:
    TopLevel(WxBackend::Impl& backend, HWND window);
    ~TopLevel() override;
    TopLevel(const TopLevel&) = delete;
    TopLevel& operator=(const TopLevel&) = delete;

    void SetWindowRect(const CRect& screenRect) override;
    void Show(bool visible) override;
    void SetTitle(const CString& title) override;
    void SetIcon(HICON icon) override;
    void Invalidate(const CRect& clientRect) override;
    void Update() override;
    std::unique_ptr<DrawSurface> ClientSurface() override;
    void SetCapture(bool captured) override;

    HWND Window() const { return m_window; }
    WxBackend::Impl& Backend() const { return m_backend; }
    Canvas* GetCanvas() const { return m_canvas; }
    wxWindow* Frame() const { return m_frame; }
    Framebuffer& Buffer() { return m_buffer; }
    bool LayerPainted() const { return m_layerPainted; }

    // Puts part of the framebuffer on the screen at once.
    void Present(const CRect& area);
    // The layer's idea of where the client area lies follows the real window.
    void SyncPosition();
    // The toolkit resized the client area (a person dragged the frame).
    void ClientResized(int width, int height);
    void RequestClientSize(int width, int height);
    // Moves the toolkit's window so that its client area starts at `clientOrigin` (screen
    // coordinates); the layer's window follows once the toolkit reports the move.
    void RequestClientOrigin(CPoint clientOrigin);
    void Activate();
    void CloseRequested();
    void CaptureLost();
    void ApplyCapture();
    // The screen position of the client area, as the toolkit reports it.
    CPoint RealClientOrigin() const;

private:
    void ApplyPosition(CPoint clientOrigin);

    WxBackend::Impl& m_backend;
    HWND m_window;
    wxWindow* m_frame = nullptr; // a wxFrame or a wxPopupWindow; owned by the toolkit
    Canvas* m_canvas = nullptr;
    Framebuffer m_buffer;
    CRect m_dirty;
    CRect m_rect;
    bool m_layerPainted = false;
    bool m_syncing = false;
    bool m_resizing = false;
    bool m_captureWanted = false;
};

// ---- Backend state ----

struct WxBackend::Impl {
    explicit Impl(WxBackend& owner) : self(owner) {}

    WxBackend& self;
    std::map<std::pair<std::string, int>, std::unique_ptr<WxFont>> fonts;
    std::vector<TopLevel*> topLevels;
    std::vector<Canvas*> detached; // canvases of closed windows the toolkit has not deleted yet
    std::vector<ModalLoop*> loops;
    // The popups open now, innermost last, each with its number (counted from 1): the address of
    // a menu's record may recur in the next popup.
    struct OpenMenu {
        const TrackedMenuInfo* info;
        std::uint64_t serial;
        // The toolkit's copy on the screen; its item with id firstId + i stands for commands[i].
        const wxMenu* shown;
        int firstId;
        const std::vector<UINT>* commands;
    };
    std::vector<OpenMenu> menus;
    std::uint64_t menusShown = 0;
    headless::ScriptRunner* script = nullptr;
    NotifierListener* listener = nullptr;
    std::function<void(HWND)> paintObserver;
    std::unique_ptr<UserNotifier> notifier;
    HCURSOR cursor = nullptr;
    std::map<HCURSOR, wxCursor> cursors;
    DragImageState dragState;
    std::unique_ptr<wxDragImage> dragImage;
    TopLevel* dragOwner = nullptr;
    std::map<UINT, std::uint64_t> inputCounts;
    std::optional<DoubleClickDetector> doubleClicks; // made on the first press, from the settings
    DoubleClickDetector& DoubleClicks();
    int assertions = 0;
    // Delivers the layer's timers (winsys::SetTimer) when the first of them falls due.
    wxTimer layerTimer;
    void ScheduleLayerTimer();
    // Runs script steps while the toolkit runs a modal loop of its own (menus, message boxes).
    wxTimer scriptTimer;
    int nativeModalDepth = 0;
    bool scriptStepRunning = false;
    wxDialog* openBox = nullptr;
    std::map<int, int> openBoxButtons; // answer (IDYES, ...) -> toolkit button id
    Framebuffer lastClosed;            // for screenshots of tests that fail after a run

    TopLevel* Find(HWND window) const;
    TopLevel* FrontTopLevel() const;
    // A layer input event is about to be handled.
    void NoteInput(UINT message);
    // After input: posted messages delivered, invalid areas painted.
    void AfterInput();
    void PaintAll();
    // Delivers one round of toolkit events; waits at most `waitMilliseconds` for one.
    void DispatchOnce(int waitMilliseconds);
    void ReportFailure(const std::string& failure);
    // While a toolkit modal loop runs, script steps run from a timer.
    void BeginNativeModal();
    void EndNativeModal();
    void RunScriptFromTimer();
    const wxCursor& CursorFor(HCURSOR cursor);
    wxWindow* ParentForDialogs() const;
};

// Win32 virtual keys and toolkit key codes.
UINT VirtualKeyFromWx(int keyCode);
int WxKeyFromVirtual(UINT virtualKey);

// A notifier showing the toolkit's message dialog and beeping with the toolkit.
std::unique_ptr<UserNotifier> MakeWxNotifier(WxBackend::Impl& backend);

// A toolkit bitmap of layer pixels (transparent pixels masked).
wxBitmap ToBitmap(const PixelImage& image);
bool SavePng(const Framebuffer& buffer, const std::string& path);
// What the X server shows in `area` (empty: the whole screen), in screen coordinates.
bool ReadScreen(const CRect& area, Framebuffer& out);

} // namespace wxui

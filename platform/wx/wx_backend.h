// The wxWidgets (GTK 3) backend of the window layer. The layer keeps every window's and control's
// state and geometry and paints them itself; this backend gives each top-level window a real
// toolkit window whose client area shows the layer's painting (text in the real font), feeds the
// pointer and the keyboard into the layer's input functions, and shows popup menus, message
// boxes, cursors and drag images with the toolkit. No wx header is needed to use it.
#pragma once

#include "platform/window_backend.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class UserNotifier;
class wxString;
struct MessageBoxInfo;

namespace headless {
class ScriptRunner;
}

namespace wxui {

// Told about every message box and beep the backend shows (the test driver listens).
class NotifierListener {
public:
    virtual ~NotifierListener() = default;
    virtual void MessageShown(const MessageBoxInfo& box) = 0;
    virtual void MessageAnswered(int answer) = 0;
    virtual void Beeped(UINT type) = 0;
};

class WxBackend : public WindowBackend {
public:
    WxBackend();
    ~WxBackend() override;
    WxBackend(const WxBackend&) = delete;
    WxBackend& operator=(const WxBackend&) = delete;

    const FontMetrics& Metrics(const char* face, int pointSize) override;
    CRect WorkArea() override;
    CRect FrameInsets(DWORD style, DWORD exStyle) override;
    COLORREF SysColor(int index) override;
    int SystemMetric(int index) override;
    UINT DoubleClickTime() override;
    DWORD TickCount() override;
    void TimersChanged() override;
    std::unique_ptr<TopLevelPeer> CreateTopLevel(HWND window) override;
    std::unique_ptr<NativeControl> CreateNativeControl(HWND window) override;
    void RunModalLoop(ModalLoop& loop) override;
    void MessagePosted() override;
    UINT TrackPopupMenu(const TrackedMenuInfo& menu) override;
    void SetCursor(HCURSOR cursor) override;
    void DragImageChanged(const DragImageState& state) override;
    void SetClipboardText(const std::string& text) override;
    std::optional<std::string> ClipboardText() override;

    // The notifier that shows message boxes with the toolkit and beeps.
    UserNotifier& Notifier();

    // ---- For hosts and tools ----
    // Called each time a top-level window's content has reached the screen by a paint of the
    // toolkit (after the layer painted it at least once).
    void SetPaintObserver(std::function<void(HWND topLevel)> observer);
    // The window's client area as the layer last painted it, as a PNG file.
    bool SaveWindowImage(HWND topLevel, const std::string& pngPath);
    // What the X server shows in the rectangle (screen coordinates; empty: the whole screen).
    bool SaveScreenImage(const std::string& pngPath, const CRect& area = CRect());
    // What the X server shows at a screen point; CLR_INVALID off the screen.
    COLORREF ScreenPixel(CPoint screenPoint);
    // The last top-level window that closed, as it looked then.
    bool SaveLastClosedWindowImage(const std::string& pngPath);
    bool HasOpenWindow() const;
    // Runs the toolkit's events for `milliseconds`, or until `done` holds; false on timeout.
    bool Pump(int milliseconds);
    bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds);

    // ---- For test drivers ----
    void SetScriptRunner(headless::ScriptRunner* runner);
    headless::ScriptRunner* GetScriptRunner() const;
    void SetNotifierListener(NotifierListener* listener);
    const std::vector<ModalLoop*>& ModalLoops() const;
    const TrackedMenuInfo* TrackedMenu() const;
    // The number of the popup menu open now (counted from 1 over the backend's life), 0 for none.
    std::uint64_t TrackedMenuSerial() const;
    HCURSOR Cursor() const;
    const DragImageState& DragImage() const;
    // How many pointer and key events the toolkit delivered that became `message`
    // (WM_LBUTTONDOWN, WM_KEYDOWN, ...).
    std::uint64_t InputCount(UINT message) const;
    // The colour at a client point of a top-level window as last painted; CLR_INVALID outside.
    COLORREF PixelAt(HWND topLevel, CPoint clientPoint);
    // The title the toolkit shows on a top-level window's frame; empty for a window without one
    // (a borderless popup).
    std::string FrameTitle(HWND topLevel) const;
    // The size of the icon the toolkit shows on a top-level window's frame; empty for none.
    CSize FrameIconSize(HWND topLevel) const;
    // Asks the toolkit for a new client size of a top-level window, as a person drags its frame.
    void RequestClientSize(HWND topLevel, int width, int height);
    // Asks the toolkit to move a top-level window so that its client area starts at `origin` (in
    // screen coordinates), as a person drags its caption.
    void RequestClientOrigin(HWND topLevel, CPoint origin);
    // Asks the toolkit to close a top-level window, as the close button on its frame does.
    void RequestClose(HWND topLevel);
    // Moves the keyboard focus of the display to the top-level window.
    void ActivateTopLevel(HWND topLevel);
    // The open message box's button for `answer` (IDYES, ...) in screen coordinates.
    bool MessageBoxButtonRect(int answer, CRect& screenRect) const;
    // The label on the open box's button for `answer`, as the toolkit shows it; empty for none.
    std::string MessageBoxButtonLabel(int answer) const;
    bool MessageBoxOpen() const;
    // Whether the open box has the keyboard focus (one of its buttons, or the box itself).
    bool MessageBoxHasFocus() const;
    // The toolkit's assertion failures reported while this backend was installed.
    int AssertionCount() const;

    struct Impl;
    Impl& impl() { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Keeps the backend installed as the layer's backend, with its notifier and the toolkit's
// assertion handler, until destroyed; shuts the toolkit down when it started it.
class WxInstallation {
public:
    ~WxInstallation();
    WxInstallation(const WxInstallation&) = delete;
    WxInstallation& operator=(const WxInstallation&) = delete;

    WxBackend& Backend() { return *m_backend; }
    bool StartedToolkit() const { return m_startedToolkit; }

private:
    friend std::unique_ptr<WxInstallation> InstallWxBackend(std::string* error);
    WxInstallation() = default;

    bool m_startedToolkit = false;
    std::unique_ptr<WxBackend> m_backend;
    WindowBackend* m_previousBackend = nullptr;
    UserNotifier* m_previousNotifier = nullptr;
    using AssertHandler = void (*)(const wxString&, int, const wxString&, const wxString&,
                                   const wxString&);
    AssertHandler m_previousAssertHandler = nullptr;
};

// Initialises the toolkit unless the host already runs it (then its application object is used)
// and installs the backend. Null, with the reason in `error`, when there is no display.
std::unique_ptr<WxInstallation> InstallWxBackend(std::string* error = nullptr);

} // namespace wxui

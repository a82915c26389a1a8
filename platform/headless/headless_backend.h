// The headless backend: deterministic and in-process. Fixed font metrics, a virtual 1280 x 1024
// screen, one RGB framebuffer per top-level window that the layer paints into, and modal loops
// that run a test script instead of waiting for a person.
#pragma once

#include "platform/window_backend.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace headless {

// Pixels 0x00RRGGBB, row-major, top row first.
class Framebuffer {
public:
    Framebuffer() = default;
    Framebuffer(int width, int height, std::uint32_t fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::uint32_t At(int x, int y) const;
    void Set(int x, int y, std::uint32_t rgb);
    void Resize(int width, int height, std::uint32_t fill);
    const std::vector<std::uint32_t>& Pixels() const { return m_pixels; }
    std::vector<std::uint32_t>& Pixels() { return m_pixels; }
    // Writes a binary PPM (P6); false when the file cannot be written.
    bool SavePpm(const std::string& path) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

// What runs in the modal loops' idle time: the test driver's script.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    // Runs the next step; false when there is none.
    virtual bool RunNextStep() = 0;
    virtual void ReportFailure(std::string failure) = 0;
};

class HeadlessBackend : public WindowBackend {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    static constexpr int kCharWidth = 6;
    static constexpr int kLineHeight = 13;
    static constexpr int kCaptionHeight = 18;
    static constexpr int kSizingFrame = 4;
    static constexpr int kDialogFrame = 3;
    static constexpr UINT kDoubleClickTime = 500;

    HeadlessBackend();
    ~HeadlessBackend() override;

    const FontMetrics& Metrics(const char* face, int pointSize) override;
    CRect WorkArea() override;
    CRect FrameInsets(DWORD style, DWORD exStyle) override;
    COLORREF SysColor(int index) override;
    int SystemMetric(int index) override;
    UINT DoubleClickTime() override { return kDoubleClickTime; }
    // Headless time stands still until the script lets it pass.
    DWORD TickCount() override { return m_ticks; }
    void Elapse(DWORD milliseconds) { m_ticks += milliseconds; }
    std::unique_ptr<TopLevelPeer> CreateTopLevel(HWND window) override;
    std::unique_ptr<NativeControl> CreateNativeControl(HWND) override { return nullptr; }
    void RunModalLoop(ModalLoop& loop) override;
    void MessagePosted() override {}
    UINT TrackPopupMenu(const TrackedMenuInfo& menu) override;
    void SetCursor(HCURSOR cursor) override { m_cursor = cursor; }
    void DragImageChanged(const DragImageState& state) override { m_dragImage = state; }
    // Timers fall due as the script lets time pass (TestDriver::Wait).
    void TimersChanged() override {}
    // A clipboard of the process's own, empty at first.
    void SetClipboardText(const std::string& text) override { m_clipboard = text; }
    std::optional<std::string> ClipboardText() override { return m_clipboard; }

    // The script the modal loops run (null: a loop is cancelled at once and reported).
    void SetScriptRunner(ScriptRunner* runner) { m_script = runner; }
    ScriptRunner* GetScriptRunner() const { return m_script; }

    // The framebuffer of a top-level window (null for other windows), painted up to date.
    const Framebuffer* FramebufferOf(HWND topLevel);
    // Paints every top-level window's invalid area.
    void PaintAll();
    // The title in a top-level window's caption bar; empty for a window without one.
    std::string FrameTitle(HWND topLevel) const;
    // The size of the icon a top-level window was given; empty for none.
    CSize FrameIconSize(HWND topLevel) const;

    HCURSOR Cursor() const { return m_cursor; }
    const DragImageState& DragImage() const { return m_dragImage; }
    // The popup menu being tracked, or null; choosing or dismissing ends its loop.
    const TrackedMenuInfo* TrackedMenu() const;
    bool ChooseTrackedMenuItem(UINT command);
    void DismissTrackedMenu();
    // Loops running now, innermost last.
    const std::vector<ModalLoop*>& ModalLoops() const { return m_loops; }
    // Failures reported while no script was attached.
    const std::vector<std::string>& UnscriptedFailures() const { return m_unscriptedFailures; }

private:
    class Peer;
    friend class Peer;
    struct MenuRun;

    const Peer* FindPeer(HWND topLevel) const;
    void ReportFailure(std::string failure);
    bool RunScriptStep();

    FixedFontMetrics m_metrics;
    ScriptRunner* m_script = nullptr;
    std::vector<Peer*> m_peers;
    std::vector<ModalLoop*> m_loops;
    std::vector<MenuRun*> m_menus;
    HCURSOR m_cursor = nullptr;
    std::optional<std::string> m_clipboard;
    DragImageState m_dragImage;
    DWORD m_ticks = 0;
    std::vector<std::string> m_unscriptedFailures;
};

// The process's headless backend (the default backend of the layer).
HeadlessBackend& DefaultHeadlessBackend();

} // namespace headless

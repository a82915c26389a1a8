// The test driver of the wxWidgets backend: the same scripts as the headless driver, carried out
// with real input through the X server (XTest), so that what a test does is what a person does.
// Points come from the layer's geometry and its client-to-screen mapping, which follows the real
// windows.
#pragma once

#include "platform/headless/headless_backend.h"
#include "platform/ui_driver.h"
#include "platform/user_notifier.h"
#include "platform/wx/wx_backend.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class wxUIActionSimulator;

namespace wxui {

class WxTestDriver : public UiDriver, private headless::ScriptRunner, private NotifierListener {
public:
    // Becomes the backend's script, makes its notifier the one in effect and listens to its
    // message boxes, for its lifetime.
    explicit WxTestDriver(WxBackend& backend);
    ~WxTestDriver() override;
    WxTestDriver(const WxTestDriver&) = delete;
    WxTestDriver& operator=(const WxTestDriver&) = delete;

    WxBackend& Backend() const { return m_backend; }

    WxTestDriver& Then(Step step) override;
    std::size_t PendingSteps() const override { return m_steps.size(); }
    const std::vector<std::string>& Failures() const override { return m_failures; }
    void ReportFailure(std::string failure) override;
    void Flush() override;

    CWnd* ActiveWindow() const override;
    void ResizeWindow(CWnd& topLevel, int width, int height) override;
    void DragWindowTo(CWnd& topLevel, CPoint screenTopLeft) override;
    void ClickCloseButton(CWnd& topLevel) override;
    std::string FrameTitle(CWnd& topLevel) const override;
    CSize FrameIconSize(CWnd& topLevel) const override;

    void MouseMove(CWnd& window, CPoint point, UINT keys = 0) override;
    void MouseDown(CWnd& window, CPoint point, MouseButton button = MouseButton::Left,
                   UINT keys = 0) override;
    void MouseUp(CWnd& window, CPoint point, MouseButton button = MouseButton::Left,
                 UINT keys = 0) override;
    void MouseDoubleDown(CWnd& window, CPoint point, UINT keys = 0) override;
    void ElapseDoubleClickTime() override;
    void PressAndMoveAtOnce(CWnd& window, CPoint from, CPoint to, bool release) override;
    void Wait(int milliseconds) override;
    void MouseWheel(CWnd& window, CPoint point, int notches, UINT keys = 0) override;
    void MouseWheelSideways(CWnd& window, CPoint point, int notches) override;

    void PressKey(UINT virtualKey, UINT modifiers = 0) override;
    void TypeText(std::string_view text) override;

    bool MenuShown() const override;
    std::vector<MenuItemInfo> MenuItems() const override;
    bool ChooseMenuItem(UINT command) override;
    void DismissMenu() override;

    void QueueMessageBoxAnswer(int button) override { m_answers.push_back(button); }
    void SetInteractiveMessageBoxes(bool interactive) override { m_interactive = interactive; }
    const MessageBoxInfo* MessageBoxShown() const override;
    std::string MessageBoxButtonLabel(int answer) const override;
    void AnswerMessageBox(int button) override;
    const std::vector<MessageBoxInfo>& Messages() const override { return m_messages; }
    const std::vector<UINT>& Beeps() const override { return m_beeps; }

    COLORREF PixelAt(CWnd& window, CPoint point) override;
    HCURSOR CurrentCursor() const override;

    // What the screen shows now, as a PNG file (for a failing test).
    bool SaveScreenshot(const std::string& path);

private:
    bool RunNextStep() override;
    void MessageShown(const MessageBoxInfo& box) override;
    void MessageAnswered(int answer) override;
    void Beeped(UINT type) override { m_beeps.push_back(type); }

    CPoint ToScreen(CWnd& window, CPoint point);
    // Puts the pointer at a screen point (a motion event for the layer when it moves).
    void PointerTo(CPoint screen, UINT keys);
    void Button(MouseButton button, bool down, UINT message, UINT keys);
    // Waits until the toolkit delivered one more event that became `message`.
    void AwaitInput(UINT message, std::uint64_t before, const char* what);
    bool NativeModalOpen() const;
    // A visible window of ours lies under the point or holds the pointer.
    bool PointerOverOurWindows(CPoint screen) const;
    void HoldModifiers(UINT keys, bool down);
    // Turns the wheel `notches` at a screen point by the X server's buttons for either direction,
    // and waits until the turns arrived as `message`.
    void PressWheelButtons(CPoint screen, int notches, UINT keys, UINT message,
                           const char* positive, const char* negative);
    void EnsureKeyboardFocus();
    bool ClickBoxButton(int answer);
    // Cancels, and reports, a popup menu or message box no step has answered for a while.
    void CancelWhatIsLeftOpen();

    WxBackend& m_backend;
    std::unique_ptr<wxUIActionSimulator> m_simulator;
    headless::ScriptRunner* m_previousRunner = nullptr;
    UserNotifier* m_previousNotifier = nullptr;
    std::deque<Step> m_steps;
    std::vector<std::string> m_failures;
    std::deque<int> m_answers;
    bool m_interactive = false;
    std::vector<MessageBoxInfo> m_messages;
    std::vector<UINT> m_beeps;
    // The box shown now: its record, and the answer to click for it when the script does not.
    std::optional<std::size_t> m_openBox;
    std::optional<int> m_autoAnswer;
    bool m_boxClicked = false;
    // The popup a step has answered (by its number); no step runs until it is gone.
    std::uint64_t m_answeredMenu = 0;
    // The popup or box open with no step left to answer it, and since when.
    std::uint64_t m_unanswered = 0;
    std::chrono::steady_clock::time_point m_unansweredSince;
    std::chrono::steady_clock::time_point m_lastPress;
    CPoint m_lastPressPoint{-1000, -1000};
    // A press whose handler opened a modal run (a double click opening an editor) is still held
    // when that run's steps begin; a person lets go then, and the script's release comes later.
    std::optional<MouseButton> m_held;
    HWND m_pressWindow = nullptr; // the top-level window the last press went to
    bool m_releasedEarly = false;
    int m_stepDepth = 0;
};

} // namespace wxui

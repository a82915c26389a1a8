// The headless test driver: scripts what a person does during a modal run and observes what the
// windows show.
//
//   headless::TestDriver driver;
//   MyDialog dialog;
//   driver.Then([&](UiDriver& d) { d.ClickListItem(dialog.m_list, 2); })
//         .Then([&](UiDriver& d) { d.PressKey(VK_RETURN); });
//   EXPECT_EQ(dialog.DoModal(), IDOK);
//   EXPECT_TRUE(driver.Failures().empty());
#pragma once

#include "platform/headless/headless_backend.h"
#include "platform/ui_driver.h"
#include "platform/user_notifier.h"

#include <deque>
#include <memory>

namespace headless {

class TestDriver : public UiDriver, private ScriptRunner, private UserNotifier {
public:
    // Attaches to `backend` (by default the process's headless backend, installed as the
    // backend in effect for the driver's lifetime) and becomes its script and the notifier.
    TestDriver();
    explicit TestDriver(HeadlessBackend& backend);
    ~TestDriver() override;
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    HeadlessBackend& Backend() const { return m_backend; }

    TestDriver& Then(Step step) override;
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
    HCURSOR CurrentCursor() const override { return m_backend.Cursor(); }

    // The framebuffer of a top-level window, painted up to date.
    const Framebuffer* Screenshot(CWnd& topLevel);
    const DragImageState& DragImage() const { return m_backend.DragImage(); }

private:
    class MessageBoxLoop;

    bool RunNextStep() override;
    int ShowMessage(const CString& text, const CString& caption, UINT type) override;
    void Beep(UINT type) override { m_beeps.push_back(type); }

    HeadlessBackend& m_backend;
    std::unique_ptr<ScopedWindowBackend> m_backendScope;
    ScriptRunner* m_previousRunner = nullptr;
    UserNotifier* m_previousNotifier = nullptr;
    std::deque<Step> m_steps;
    std::vector<std::string> m_failures;
    std::deque<int> m_answers;
    bool m_interactive = false;
    std::vector<MessageBoxInfo> m_messages;
    std::vector<UINT> m_beeps;
    MessageBoxLoop* m_openBox = nullptr;
};

} // namespace headless

#include "platform/headless/test_driver.h"

#include "platform/menu.h"
#include "platform/pixel_surface.h"
#include "platform/utf8.h"
#include "platform/window_system.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace headless {

// A message box shown while interactive boxes are on: a modal loop a step ends by answering.
class TestDriver::MessageBoxLoop : public ModalLoop {
public:
    explicit MessageBoxLoop(MessageBoxInfo box) : info(std::move(box)) {}
    bool Ended() const override { return ended; }
    void Cancel() override {
        info.answer = FirstMessageBoxButton(info.type);
        ended = true;
    }
    HWND Window() const override { return nullptr; }
    CString Describe() const override { return CString("message box \"") + info.text + "\""; }

    MessageBoxInfo info;
    bool ended = false;
};

TestDriver::TestDriver() : TestDriver(DefaultHeadlessBackend()) {}

TestDriver::TestDriver(HeadlessBackend& backend) : m_backend(backend) {
    if (&CurrentWindowBackend() != &backend)
        m_backendScope = std::make_unique<ScopedWindowBackend>(backend);
    m_previousRunner = backend.GetScriptRunner();
    backend.SetScriptRunner(this);
    m_previousNotifier = SetUserNotifier(this);
}

TestDriver::~TestDriver() {
    SetUserNotifier(m_previousNotifier);
    m_backend.SetScriptRunner(m_previousRunner);
}

TestDriver& TestDriver::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

bool TestDriver::RunNextStep() {
    if (m_steps.empty())
        return false;
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(*this);
    Flush();
    return true;
}

void TestDriver::ReportFailure(std::string failure) {
    m_failures.push_back(std::move(failure));
}

void TestDriver::Flush() {
    while (winsys::DispatchPosted()) {
    }
    m_backend.PaintAll();
}

CWnd* TestDriver::ActiveWindow() const {
    const auto& loops = m_backend.ModalLoops();
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if (HWND window = (*it)->Window(); winsys::Live(window))
            return CWnd::FromHandle(window);
    return nullptr;
}

void TestDriver::ResizeWindow(CWnd& topLevel, int width, int height) {
    CRect rect;
    topLevel.GetWindowRect(&rect);
    CRect client;
    topLevel.GetClientRect(&client);
    // The frame keeps its borders and caption around the client area.
    topLevel.MoveWindow(rect.left, rect.top, width + rect.Width() - client.Width(),
                        height + rect.Height() - client.Height());
    Flush();
}

void TestDriver::DragWindowTo(CWnd& topLevel, CPoint screenTopLeft) {
    topLevel.SetWindowPos(nullptr, screenTopLeft.x, screenTopLeft.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER);
    Flush();
}

// The frame's close button asks the window to close, as the system's close command does.
void TestDriver::ClickCloseButton(CWnd& topLevel) {
    topLevel.SendMessage(WM_CLOSE);
    Flush();
}

std::string TestDriver::FrameTitle(CWnd& topLevel) const {
    return m_backend.FrameTitle(topLevel.m_hWnd);
}

CSize TestDriver::FrameIconSize(CWnd& topLevel) const {
    return m_backend.FrameIconSize(topLevel.m_hWnd);
}

namespace {
CPoint ToScreen(CWnd& window, CPoint point) {
    const CPoint origin = winsys::ClientOrigin(window.m_hWnd);
    return CPoint(point.x + origin.x, point.y + origin.y);
}
} // namespace

void TestDriver::MouseMove(CWnd& window, CPoint point, UINT keys) {
    winsys::InjectMouse(winsys::MouseAction::Move, ToScreen(window, point), keys);
    Flush();
}

void TestDriver::MouseDown(CWnd& window, CPoint point, MouseButton button, UINT keys) {
    winsys::InjectMouse(button == MouseButton::Left ? winsys::MouseAction::LeftDown
                                                    : winsys::MouseAction::RightDown,
                        ToScreen(window, point), keys);
    Flush();
}

void TestDriver::MouseUp(CWnd& window, CPoint point, MouseButton button, UINT keys) {
    winsys::InjectMouse(button == MouseButton::Left ? winsys::MouseAction::LeftUp
                                                    : winsys::MouseAction::RightUp,
                        ToScreen(window, point), keys);
    Flush();
}

void TestDriver::MouseWheel(CWnd& window, CPoint point, int notches, UINT keys) {
    winsys::InjectWheel(ToScreen(window, point), notches * WHEEL_DELTA, keys);
    Flush();
}

void TestDriver::MouseWheelSideways(CWnd& window, CPoint point, int notches) {
    winsys::InjectWheel(ToScreen(window, point), notches * WHEEL_DELTA, 0,
                        winsys::WheelAxis::Sideways);
    Flush();
}

void TestDriver::MouseDoubleDown(CWnd& window, CPoint point, UINT keys) {
    winsys::InjectMouse(winsys::MouseAction::LeftDoubleClick, ToScreen(window, point), keys);
    Flush();
}

void TestDriver::ElapseDoubleClickTime() {
    Wait(static_cast<int>(HeadlessBackend::kDoubleClickTime));
}

void TestDriver::Wait(int milliseconds) {
    const DWORD end = m_backend.TickCount() + static_cast<DWORD>(std::max(0, milliseconds));
    // Timers fall due at their times on the way.
    for (std::optional<DWORD> next = winsys::NextTimerDue(); next && *next <= end;
         next = winsys::NextTimerDue()) {
        if (*next > m_backend.TickCount())
            m_backend.Elapse(*next - m_backend.TickCount());
        winsys::RunDueTimers(m_backend.TickCount());
        Flush();
    }
    m_backend.Elapse(end - m_backend.TickCount());
    Flush();
}

void TestDriver::PressKey(UINT virtualKey, UINT modifiers) {
    if (m_openBox) { // the box has the keyboard
        if (const int answer = MessageBoxKeyAnswer(m_openBox->info.type, virtualKey);
            answer != 0 && !(modifiers & MK_CONTROL))
            AnswerMessageBox(answer);
        return;
    }
    winsys::InjectKey(virtualKey, modifiers);
    Flush();
}

void TestDriver::TypeText(std::string_view text) {
    for (const unsigned ch : DecodeUtf8(text))
        winsys::InjectChar(ch);
    Flush();
}

bool TestDriver::MenuShown() const {
    return m_backend.TrackedMenu() != nullptr;
}

std::vector<MenuItemInfo> TestDriver::MenuItems() const {
    const TrackedMenuInfo* menu = m_backend.TrackedMenu();
    return menu ? DescribeMenu(CMenu::FromHandle(menu->menu)) : std::vector<MenuItemInfo>();
}

bool TestDriver::ChooseMenuItem(UINT command) {
    if (!MenuShown()) {
        ReportFailure("no popup menu to choose " + std::to_string(command) + " from");
        return false;
    }
    return m_backend.ChooseTrackedMenuItem(command);
}

void TestDriver::DismissMenu() {
    if (!MenuShown())
        ReportFailure("no popup menu to dismiss");
    m_backend.DismissTrackedMenu();
}

const MessageBoxInfo* TestDriver::MessageBoxShown() const {
    return m_openBox ? &m_openBox->info : nullptr;
}

std::string TestDriver::MessageBoxButtonLabel(int answer) const {
    if (m_openBox)
        for (const MessageBoxButton& button : MessageBoxButtons(m_openBox->info.type))
            if (button.answer == answer)
                return button.label;
    return {};
}

void TestDriver::AnswerMessageBox(int button) {
    if (!m_openBox) {
        ReportFailure("no message box to answer");
        return;
    }
    m_openBox->info.answer = button;
    m_openBox->ended = true;
}

int TestDriver::ShowMessage(const CString& text, const CString& caption, UINT type) {
    MessageBoxInfo info{text, caption, type, 0};
    const std::size_t index = m_messages.size();
    m_messages.push_back(info);
    int answer = FirstMessageBoxButton(type);
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else if (m_interactive) {
        MessageBoxLoop loop(info);
        MessageBoxLoop* outer = std::exchange(m_openBox, &loop);
        m_backend.RunModalLoop(loop);
        m_openBox = outer;
        answer = loop.info.answer;
    }
    m_messages[index].answer = answer;
    return answer;
}

COLORREF TestDriver::PixelAt(CWnd& window, CPoint point) {
    HWND top = winsys::TopLevelOf(window.m_hWnd);
    WindowData* data = winsys::Live(top);
    const Framebuffer* framebuffer = m_backend.FramebufferOf(top);
    if (!data || !framebuffer)
        return CLR_INVALID;
    const CRect insets = winsys::Insets(*data);
    const CPoint origin = winsys::OriginInTopLevel(window.m_hWnd);
    const int x = static_cast<int>(point.x + origin.x + insets.left);
    const int y = static_cast<int>(point.y + origin.y + insets.top);
    if (x < 0 || y < 0 || x >= framebuffer->Width() || y >= framebuffer->Height())
        return CLR_INVALID;
    return RgbToColor(framebuffer->At(x, y));
}

const Framebuffer* TestDriver::Screenshot(CWnd& topLevel) {
    return m_backend.FramebufferOf(winsys::TopLevelOf(topLevel.m_hWnd));
}

} // namespace headless

#include "platform/wx/wx_driver.h"

#include "platform/user_notifier.h"
#include "platform/utf8.h"
#include "platform/window_system.h"
#include "platform/wx/wx_internal.h"

#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "platform/wx/x_display.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>

namespace wxui {

namespace {

using Clock = std::chrono::steady_clock;

// Events of the X server arrive within milliseconds; this long means they never will.
constexpr int kInputTimeout = 3000;
// How far apart two presses must be for the toolkit not to make them a double click.
constexpr long kDoubleClickDistance = 8;

// Starts xdotool with `arguments`: input the toolkit's simulator cannot give (the wheel,
// characters beyond its keyboard) comes from outside, as from another input device. The text it
// is given is UTF-8 whatever locale the tests run in (none at all, on a bare system, where it
// would reject every character beyond ASCII).
std::optional<pid_t> StartXdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string utf8 = "LC_ALL=C.UTF-8";
    std::vector<char*> environment;
    for (char** entry = environ; *entry; ++entry)
        if (std::string_view(*entry).rfind("LC_ALL=", 0) != 0)
            environment.push_back(*entry);
    environment.push_back(utf8.data());
    environment.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, argv.data(), environment.data()) != 0)
        return std::nullopt;
    return child;
}

// Whether xdotool has ended, and how: nullopt while it runs (or always, with `wait`, once it
// ended).
std::optional<bool> XdotoolEnded(pid_t child, bool wait) {
    int status = 0;
    const pid_t ended = waitpid(child, &status, wait ? 0 : WNOHANG);
    if (ended == 0)
        return std::nullopt;
    return ended == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs xdotool and waits for it.
bool RunXdotool(std::vector<std::string> arguments) {
    const std::optional<pid_t> child = StartXdotool(std::move(arguments));
    return child && XdotoolEnded(*child, true).value_or(false);
}

// Puts each character on a key of the X server's keyboard that has nothing on it, unless a key
// already carries it. Typing tools otherwise change the keyboard for every character they type,
// faster than the toolkit follows, and it reads the keys as nothing.
struct XlibFree {
    void operator()(KeySym* data) const { XFree(data); }
};

bool PutOnKeys(const std::set<unsigned>& characters) {
    const DisplayConnection connection = OpenDisplay();
    if (!connection)
        return false;
    Display* display = connection.get();
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perKey = 0;
    const std::unique_ptr<KeySym, XlibFree> mapping(
        XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKey));
    if (!mapping)
        return false;
    KeySym* map = mapping.get();
    auto onKey = [&](KeySym symbol) {
        for (int i = 0; i < (last - first + 1) * perKey; ++i)
            if (map[i] == symbol)
                return true;
        return false;
    };
    int spare = last;
    bool ok = true;
    for (const unsigned ch : characters) {
        // Latin-1 characters are their own keysyms; the rest are 0x01000000 plus the code point.
        const KeySym symbol = ch < 0x100 ? ch : 0x01000000 + ch;
        if (onKey(symbol))
            continue;
        auto empty = [&](int code) {
            for (int i = 0; i < perKey; ++i)
                if (map[(code - first) * perKey + i] != NoSymbol)
                    return false;
            return true;
        };
        while (spare >= first && !empty(spare))
            --spare;
        if (spare < first) {
            ok = false;
            break;
        }
        KeySym symbols[2] = {symbol, symbol};
        XChangeKeyboardMapping(display, spare, 2, symbols, 1);
        map[(spare - first) * perKey] = symbol;
        --spare;
    }
    XSync(display, False);
    return ok;
}

// Characters the simulator types on its keyboard.
bool SimulatorTypes(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == ' ' || ch == '.' || ch == ',' || ch == '-';
}

// The items of a popup as the toolkit shows them: labels, states and sub-menus are read from its
// menu, so that what is checked or greyed is what a person sees.
std::vector<MenuItemInfo> DescribeShownMenu(const wxMenu& menu, int firstId,
                                            const std::vector<UINT>& commands) {
    std::vector<MenuItemInfo> items;
    for (const wxMenuItem* shown : menu.GetMenuItems()) {
        MenuItemInfo item;
        item.separator = shown->IsSeparator();
        item.popup = shown->IsSubMenu();
        if (!item.separator) {
            item.text = CString(LayerText(shown->GetItemLabel()));
            item.grayed = !shown->IsEnabled();
            item.checked = shown->IsCheckable() && shown->IsChecked();
        }
        const int index = shown->GetId() - firstId;
        if (item.popup)
            item.subItems = DescribeShownMenu(*shown->GetSubMenu(), firstId, commands);
        else if (!item.separator && index >= 0 && index < static_cast<int>(commands.size()))
            item.id = commands[static_cast<std::size_t>(index)];
        items.push_back(std::move(item));
    }
    return items;
}

// The keyboard path to `command`: for each menu level, how many selectable items precede the
// one to take. Empty when the command is missing or greyed (itself or a sub-menu on its way).
bool MenuPath(const std::vector<MenuItemInfo>& items, UINT command, std::vector<int>& path) {
    int selectable = 0;
    for (const MenuItemInfo& item : items) {
        if (item.separator)
            continue;
        if (item.popup && !item.grayed) {
            path.push_back(selectable);
            if (MenuPath(item.subItems, command, path))
                return true;
            path.pop_back();
        } else if (!item.popup && item.id == command) {
            if (item.grayed)
                return false;
            path.push_back(selectable);
            return true;
        }
        if (!item.grayed)
            ++selectable;
    }
    return false;
}

int ToolkitButton(MouseButton button) {
    return button == MouseButton::Left ? wxMOUSE_BTN_LEFT : wxMOUSE_BTN_RIGHT;
}

} // namespace

WxTestDriver::WxTestDriver(WxBackend& backend)
    : m_backend(backend), m_simulator(std::make_unique<wxUIActionSimulator>()) {
    m_previousRunner = backend.GetScriptRunner();
    backend.SetScriptRunner(this);
    backend.SetNotifierListener(this);
    // Boxes and beeps go to the toolkit while the script runs, whatever notifier was in effect.
    m_previousNotifier = SetUserNotifier(&backend.Notifier());
}

WxTestDriver::~WxTestDriver() {
    SetUserNotifier(m_previousNotifier);
    m_backend.SetNotifierListener(nullptr);
    m_backend.SetScriptRunner(m_previousRunner);
}

WxTestDriver& WxTestDriver::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

void WxTestDriver::ReportFailure(std::string failure) {
    m_failures.push_back(std::move(failure));
}

bool WxTestDriver::NativeModalOpen() const {
    return m_backend.TrackedMenu() != nullptr || m_backend.MessageBoxOpen();
}

bool WxTestDriver::RunNextStep() {
    if (m_openBox) {
        // A box answered by the driver itself gets its click before any further step runs; an
        // answer that did not land leaves it up, and the watch over loops left running ends it.
        if (m_boxClicked) {
            CancelWhatIsLeftOpen();
            return false;
        }
        if (m_autoAnswer) {
            if (ClickBoxButton(*m_autoAnswer))
                m_boxClicked = true;
            return true;
        }
    }
    if (m_answeredMenu != 0 && m_backend.TrackedMenuSerial() == m_answeredMenu)
        return false;
    m_answeredMenu = 0;
    if (m_steps.empty()) {
        CancelWhatIsLeftOpen();
        return false;
    }
    if (m_stepDepth > 0 && m_held) {
        m_simulator->MouseUp(ToolkitButton(*m_held));
        m_held.reset();
        m_releasedEarly = true;
        Flush();
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    ++m_stepDepth;
    step(*this);
    --m_stepDepth;
    Flush();
    return true;
}

void WxTestDriver::Flush() {
    // Whatever the toolkit has queued now is handled, and the windows are painted.
    m_backend.PumpUntil(
        [] {
            wxEventLoopBase* loop = wxEventLoopBase::GetActive();
            return !loop || !loop->Pending();
        },
        500);
}

CWnd* WxTestDriver::ActiveWindow() const {
    const auto& loops = m_backend.ModalLoops();
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if (HWND window = (*it)->Window(); winsys::Live(window))
            return CWnd::FromHandle(window);
    return nullptr;
}

void WxTestDriver::DragWindowTo(CWnd& topLevel, CPoint screenTopLeft) {
    HWND top = winsys::TopLevelOf(topLevel.m_hWnd);
    CRect window;
    CWnd::FromHandle(top)->GetWindowRect(&window);
    // The toolkit moves its window; the layer's is to follow by itself.
    const CPoint client = winsys::ClientOrigin(top);
    const CPoint wanted = screenTopLeft + (client - window.TopLeft());
    m_backend.RequestClientOrigin(top, wanted);
    const bool moved =
        m_backend.PumpUntil([&] { return winsys::ClientOrigin(top) == wanted; }, kInputTimeout);
    if (!moved)
        ReportFailure("the window was not moved to " + std::to_string(screenTopLeft.x) + ", " +
                      std::to_string(screenTopLeft.y));
    Flush();
}

void WxTestDriver::ClickCloseButton(CWnd& topLevel) {
    m_backend.RequestClose(winsys::TopLevelOf(topLevel.m_hWnd));
    Flush();
}

std::string WxTestDriver::FrameTitle(CWnd& topLevel) const {
    return m_backend.FrameTitle(topLevel.m_hWnd);
}

CSize WxTestDriver::FrameIconSize(CWnd& topLevel) const {
    return m_backend.FrameIconSize(topLevel.m_hWnd);
}

void WxTestDriver::ResizeWindow(CWnd& topLevel, int width, int height) {
    HWND top = winsys::TopLevelOf(topLevel.m_hWnd);
    const CRect before = winsys::ClientRect(top);
    m_backend.RequestClientSize(top, width, height);
    const bool changed = m_backend.PumpUntil(
        [&] {
            const CRect now = winsys::ClientRect(top);
            return now != before || (now.Width() == width && now.Height() == height);
        },
        kInputTimeout);
    if (!changed)
        ReportFailure("the window was not resized to " + std::to_string(width) + " x " +
                      std::to_string(height));
    Flush();
}

CPoint WxTestDriver::ToScreen(CWnd& window, CPoint point) {
    // The layer's screen coordinates follow the real windows once they have been placed.
    for (TopLevel* top : m_backend.impl().topLevels)
        top->SyncPosition();
    const CPoint origin = winsys::ClientOrigin(window.m_hWnd);
    return CPoint(origin.x + point.x, origin.y + point.y);
}

void WxTestDriver::HoldModifiers(UINT keys, bool down) {
    for (const auto& [mask, key] : {std::pair{MK_SHIFT, WXK_SHIFT}, {MK_CONTROL, WXK_CONTROL}}) {
        if (!(keys & mask))
            continue;
        if (down)
            m_simulator->KeyDown(key);
        else
            m_simulator->KeyUp(key);
    }
}

void WxTestDriver::AwaitInput(UINT message, std::uint64_t before, const char* what) {
    if (NativeModalOpen()) {
        Flush();
        return;
    }
    if (!m_backend.PumpUntil([&] { return m_backend.InputCount(message) > before; }, kInputTimeout))
        ReportFailure(std::string("no ") + what + " arrived from the X server");
}

bool WxTestDriver::PointerOverOurWindows(CPoint screen) const {
    for (TopLevel* top : m_backend.impl().topLevels) {
        const wxWindow* canvas = top->GetCanvas();
        if (!top->Frame()->IsShown())
            continue;
        if (canvas->HasCapture() || canvas->GetScreenRect().Contains(static_cast<int>(screen.x),
                                                                     static_cast<int>(screen.y)))
            return true;
    }
    return false;
}

void WxTestDriver::PointerTo(CPoint screen, UINT keys) {
    const wxPoint now = wxGetMousePosition();
    if (now.x == screen.x && now.y == screen.y)
        return;
    const std::uint64_t before = m_backend.InputCount(WM_MOUSEMOVE);
    HoldModifiers(keys, true);
    m_simulator->MouseMove(static_cast<long>(screen.x), static_cast<long>(screen.y));
    HoldModifiers(keys, false);
    if (PointerOverOurWindows(screen))
        AwaitInput(WM_MOUSEMOVE, before, "pointer motion");
    else
        Flush();
}

void WxTestDriver::MouseMove(CWnd& window, CPoint point, UINT keys) {
    PointerTo(ToScreen(window, point), keys);
    Flush();
}

void WxTestDriver::Button(MouseButton button, bool down, UINT message, UINT keys) {
    const std::uint64_t before = m_backend.InputCount(message);
    const wxPoint at = wxGetMousePosition();
    bool expected = PointerOverOurWindows(CPoint(at.x, at.y));
    if (down) {
        // The window the press goes to: the one holding the pointer, else the one under it.
        HWND target = winsys::Capture();
        if (!target)
            target = winsys::WindowFromPoint(CPoint(at.x, at.y));
        m_pressWindow = winsys::TopLevelOf(target);
    } else if (!winsys::IsVisible(m_pressWindow)) {
        // The press closed its window (a click outside an editor): X ends the press's grab
        // with it, and the release may reach nobody.
        expected = false;
    }
    HoldModifiers(keys, true);
    if (down)
        m_simulator->MouseDown(ToolkitButton(button));
    else
        m_simulator->MouseUp(ToolkitButton(button));
    HoldModifiers(keys, false);
    if (expected)
        AwaitInput(message, before, down ? "button press" : "button release");
    else
        Flush();
}

void WxTestDriver::MouseWheel(CWnd& window, CPoint point, int notches, UINT keys) {
    // The X server's wheel buttons: 4 turns away from the person, 5 towards.
    PressWheelButtons(ToScreen(window, point), notches, keys, WM_MOUSEWHEEL, "4", "5");
}

void WxTestDriver::MouseWheelSideways(CWnd& window, CPoint point, int notches) {
    // The X server's sideways wheel buttons: 7 to the right, 6 to the left.
    PressWheelButtons(ToScreen(window, point), notches, 0, WM_MOUSEHWHEEL, "7", "6");
}

void WxTestDriver::PressWheelButtons(CPoint screen, int notches, UINT keys, UINT message,
                                     const char* positive, const char* negative) {
    PointerTo(screen, keys);
    if (notches == 0) {
        Flush();
        return;
    }
    // The toolkit's simulator has no wheel: the X server's wheel buttons are pressed instead.
    const std::uint64_t before = m_backend.InputCount(message);
    HoldModifiers(keys, true);
    const bool turned = RunXdotool({"click", "--repeat", std::to_string(std::abs(notches)),
                                    "--delay", "10", notches > 0 ? positive : negative});
    HoldModifiers(keys, false);
    if (!turned) {
        ReportFailure("xdotool could not turn the wheel");
        return;
    }
    AwaitInput(message, before, "wheel turn");
    Flush();
}

void WxTestDriver::MouseDown(CWnd& window, CPoint point, MouseButton button, UINT keys) {
    const CPoint screen = ToScreen(window, point);
    PointerTo(screen, keys);
    // Two single clicks on one spot must not become a double click: let its time pass, as a
    // person's two clicks would.
    const CSize distance = screen - m_lastPressPoint;
    if (std::labs(distance.cx) <= kDoubleClickDistance &&
        std::labs(distance.cy) <= kDoubleClickDistance) {
        const auto due = m_lastPress + std::chrono::milliseconds(m_backend.DoubleClickTime() + 100);
        m_backend.PumpUntil([&] { return Clock::now() >= due; }, 2000);
    }
    m_held = button;
    m_releasedEarly = false;
    Button(button, true, button == MouseButton::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, keys);
    m_lastPress = Clock::now();
    m_lastPressPoint = screen;
    Flush();
}

void WxTestDriver::MouseUp(CWnd& window, CPoint point, MouseButton button, UINT keys) {
    PointerTo(ToScreen(window, point), keys);
    if (std::exchange(m_releasedEarly, false)) {
        Flush();
        return;
    }
    m_held.reset();
    Button(button, false, button == MouseButton::Left ? WM_LBUTTONUP : WM_RBUTTONUP, keys);
    Flush();
}

void WxTestDriver::MouseDoubleDown(CWnd& window, CPoint point, UINT keys) {
    PointerTo(ToScreen(window, point), keys);
    m_held = MouseButton::Left;
    m_releasedEarly = false;
    Button(MouseButton::Left, true, WM_LBUTTONDBLCLK, keys);
    m_lastPress = Clock::now();
    m_lastPressPoint = ToScreen(window, point);
    Flush();
}

void WxTestDriver::PressAndMoveAtOnce(CWnd& window, CPoint from, CPoint to, bool release) {
    const CPoint start = ToScreen(window, from);
    const CPoint screen = ToScreen(window, to);
    const CPoint halfway((start.x + screen.x) / 2, (start.y + screen.y) / 2);
    PointerTo(start, 0);
    std::vector<std::string> steps = {"mousedown",
                                      "1",
                                      "mousemove",
                                      std::to_string(halfway.x),
                                      std::to_string(halfway.y),
                                      "mousemove",
                                      std::to_string(screen.x),
                                      std::to_string(screen.y)};
    if (release)
        steps.insert(steps.end(), {"mouseup", "1"});
    const std::uint64_t releases = m_backend.InputCount(WM_LBUTTONUP);
    // The windows go on handling events meanwhile: the moves come while the press is handled.
    const std::optional<pid_t> child = StartXdotool(std::move(steps));
    if (!child) {
        ReportFailure("xdotool could not press and move");
        return;
    }
    m_held = MouseButton::Left;
    m_releasedEarly = false;
    m_lastPress = Clock::now();
    m_lastPressPoint = start;
    std::optional<bool> ended;
    auto arrived = [&] {
        if (!ended)
            ended = XdotoolEnded(*child, false);
        return ended && winsys::CursorPos() == screen &&
               (!release || m_backend.InputCount(WM_LBUTTONUP) > releases);
    };
    if (!m_backend.PumpUntil(arrived, kInputTimeout))
        ReportFailure(ended ? "the moves after the press never reached the windows"
                            : "xdotool did not end");
    if (!ended) {
        kill(*child, SIGKILL);
        XdotoolEnded(*child, true);
    } else if (!*ended) {
        ReportFailure("xdotool could not press and move");
    }
    if (release)
        m_held.reset();
    Flush();
}

void WxTestDriver::ElapseDoubleClickTime() {
    // The backend runs the layer's deferred actions when the time has passed after the click.
    m_backend.Pump(static_cast<int>(m_backend.DoubleClickTime()) + 100);
    m_lastPressPoint = CPoint(-1000, -1000);
    Flush();
}

void WxTestDriver::Wait(int milliseconds) {
    m_backend.Pump(milliseconds);
    Flush();
}

void WxTestDriver::EnsureKeyboardFocus() {
    if (m_backend.MessageBoxOpen()) {
        // The box takes the keyboard itself once shown; a key sent before would go astray.
        if (!m_backend.PumpUntil([&] { return m_backend.MessageBoxHasFocus(); }, kInputTimeout))
            ReportFailure("the message box did not get the keyboard focus");
        return;
    }
    if (NativeModalOpen())
        return;
    TopLevel* front = m_backend.impl().FrontTopLevel();
    if (!front)
        return;
    auto focused = [&] {
        for (TopLevel* top : m_backend.impl().topLevels)
            if (wxWindow::FindFocus() == top->GetCanvas())
                return true;
        return false;
    };
    if (focused())
        return;
    front->Activate();
    if (!m_backend.PumpUntil(focused, kInputTimeout))
        ReportFailure("the window did not get the keyboard focus");
}

void WxTestDriver::PressKey(UINT virtualKey, UINT modifiers) {
    const int key = WxKeyFromVirtual(virtualKey);
    if (!key) {
        ReportFailure("no key for virtual key " + std::to_string(virtualKey));
        return;
    }
    EnsureKeyboardFocus();
    int toolkitModifiers = 0;
    if (modifiers & MK_SHIFT)
        toolkitModifiers |= wxMOD_SHIFT;
    if (modifiers & MK_CONTROL)
        toolkitModifiers |= wxMOD_CONTROL;
    if (m_openBox) {
        // The box has the keyboard; one the key answers ends once the step has returned.
        m_simulator->Char(key, toolkitModifiers);
        if (!(modifiers & MK_CONTROL) &&
            MessageBoxKeyAnswer(m_messages[*m_openBox].type, virtualKey) != 0)
            m_boxClicked = true;
        return;
    }
    const std::uint64_t before = m_backend.InputCount(WM_KEYDOWN);
    m_simulator->Char(key, toolkitModifiers);
    AwaitInput(WM_KEYDOWN, before, "key press");
    Flush();
}

void WxTestDriver::TypeText(std::string_view text) {
    EnsureKeyboardFocus();
    if (!std::all_of(text.begin(), text.end(), SimulatorTypes)) {
        // Umlauts and the like: typed by xdotool, one WM_CHAR a character.
        const std::vector<unsigned> characters = DecodeUtf8(text);
        if (!PutOnKeys(std::set<unsigned>(characters.begin(), characters.end()))) {
            ReportFailure("no free key for the characters of '" + std::string(text) + "'");
            return;
        }
        // The toolkit hears of the new keys before the first of them is pressed.
        m_backend.PumpUntil([] { return false; }, 100);
        const std::uint64_t before = m_backend.InputCount(WM_CHAR);
        if (!RunXdotool({"type", "--delay", "20", "--", std::string(text)})) {
            ReportFailure("xdotool could not type '" + std::string(text) + "'");
            return;
        }
        if (!m_backend.PumpUntil(
                [&] { return m_backend.InputCount(WM_CHAR) >= before + characters.size(); },
                kInputTimeout))
            ReportFailure("not every character of '" + std::string(text) + "' arrived");
        Flush();
        return;
    }
    for (const char ch : text) {
        int key = static_cast<unsigned char>(ch);
        int modifiers = 0;
        if (ch >= 'A' && ch <= 'Z')
            modifiers = wxMOD_SHIFT;
        else if (ch >= 'a' && ch <= 'z')
            key = ch - 'a' + 'A';
        const std::uint64_t before = m_backend.InputCount(WM_CHAR);
        m_simulator->Char(key, modifiers);
        AwaitInput(WM_CHAR, before, "typed character");
    }
    Flush();
}

bool WxTestDriver::MenuShown() const {
    return m_backend.TrackedMenu() != nullptr;
}

std::vector<MenuItemInfo> WxTestDriver::MenuItems() const {
    const std::vector<WxBackend::Impl::OpenMenu>& open = m_backend.impl().menus;
    if (open.empty())
        return {};
    return DescribeShownMenu(*open.back().shown, open.back().firstId, *open.back().commands);
}

bool WxTestDriver::ChooseMenuItem(UINT command) {
    const TrackedMenuInfo* menu = m_backend.TrackedMenu();
    if (!menu) {
        ReportFailure("no popup menu to choose " + std::to_string(command) + " from");
        return false;
    }
    std::vector<int> path;
    if (!MenuPath(MenuItems(), command, path))
        return false;
    // The keyboard walks the toolkit's menu: Home takes the first item, Down the next
    // selectable one (separators and greyed items are skipped), Right opens a sub-menu on its
    // first item, Return chooses.
    m_simulator->Char(WXK_HOME);
    for (std::size_t level = 0; level < path.size(); ++level) {
        if (level > 0)
            m_simulator->Char(WXK_RIGHT);
        for (int i = 0; i < path[level]; ++i)
            m_simulator->Char(WXK_DOWN);
    }
    m_simulator->Char(WXK_RETURN);
    m_answeredMenu = m_backend.TrackedMenuSerial();
    return true;
}

void WxTestDriver::DismissMenu() {
    const TrackedMenuInfo* menu = m_backend.TrackedMenu();
    if (!menu) {
        ReportFailure("no popup menu to dismiss");
        return;
    }
    m_simulator->Char(WXK_ESCAPE);
    m_answeredMenu = m_backend.TrackedMenuSerial();
}

void WxTestDriver::CancelWhatIsLeftOpen() {
    // The toolkit runs the loops of popup menus and message boxes itself, so the backend's watch
    // over loops left running does not reach them: the script's timer comes here while one is up.
    // What is open: a box, by its place among the messages, or a popup, by its number.
    constexpr std::uint64_t kBoxMark = std::uint64_t{1} << 63;
    const std::uint64_t open = m_openBox ? kBoxMark | *m_openBox : m_backend.TrackedMenuSerial();
    const auto now = Clock::now();
    if (open == 0 || open != m_unanswered) {
        m_unanswered = open;
        m_unansweredSince = now;
        return;
    }
    if (now - m_unansweredSince < kLeftRunning)
        return;
    if (m_openBox) {
        // Answered with its first button at the next tick, as a box nobody is there for.
        const MessageBoxInfo& box = m_messages[*m_openBox];
        ReportFailure("message box \"" + box.text.str() +
                      (m_boxClicked ? "\" did not take the answer it was given and was cancelled"
                                    : "\" was left running by the script and cancelled"));
        m_autoAnswer = FirstMessageBoxButton(box.type);
        m_boxClicked = false;
        m_unansweredSince = now; // the click that follows gets its time as well
        return;
    }
    ReportFailure("popup menu was left running by the script and cancelled");
    m_simulator->Char(WXK_ESCAPE);
    m_answeredMenu = open;
}

const MessageBoxInfo* WxTestDriver::MessageBoxShown() const {
    return m_openBox ? &m_messages[*m_openBox] : nullptr;
}

std::string WxTestDriver::MessageBoxButtonLabel(int answer) const {
    return m_backend.MessageBoxButtonLabel(answer);
}

bool WxTestDriver::ClickBoxButton(int answer) {
    CRect rect;
    if (!m_backend.MessageBoxButtonRect(answer, rect))
        return false;
    const CPoint centre(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
    m_simulator->MouseMove(static_cast<long>(centre.x), static_cast<long>(centre.y));
    m_simulator->MouseClick(wxMOUSE_BTN_LEFT);
    return true;
}

void WxTestDriver::AnswerMessageBox(int button) {
    if (!m_openBox) {
        ReportFailure("no message box to answer");
        return;
    }
    if (!m_backend.PumpUntil([&] { return ClickBoxButton(button); }, kInputTimeout))
        ReportFailure("the message box has no button " + std::to_string(button));
    else
        m_boxClicked = true;
}

void WxTestDriver::MessageShown(const MessageBoxInfo& box) {
    m_messages.push_back(box);
    m_openBox = m_messages.size() - 1;
    m_boxClicked = false;
    m_autoAnswer.reset();
    if (!m_answers.empty()) {
        m_autoAnswer = m_answers.front();
        m_answers.pop_front();
    } else if (!m_interactive) {
        m_autoAnswer = FirstMessageBoxButton(box.type);
    }
}

void WxTestDriver::MessageAnswered(int answer) {
    if (m_openBox)
        m_messages[*m_openBox].answer = answer;
    m_openBox.reset();
    m_autoAnswer.reset();
    m_boxClicked = false;
}

COLORREF WxTestDriver::PixelAt(CWnd& window, CPoint point) {
    HWND top = winsys::TopLevelOf(window.m_hWnd);
    const CPoint origin = winsys::OriginInTopLevel(window.m_hWnd);
    return m_backend.PixelAt(top, CPoint(point.x + origin.x, point.y + origin.y));
}

HCURSOR WxTestDriver::CurrentCursor() const {
    return m_backend.Cursor();
}

bool WxTestDriver::SaveScreenshot(const std::string& path) {
    return m_backend.SaveScreenImage(path);
}

} // namespace wxui

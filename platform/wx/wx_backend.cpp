#include "platform/wx/wx_internal.h"

#include "platform/app.h"
#include "platform/headless/headless_backend.h"
#include "platform/menu.h"
#include "platform/win_styles.h"
#include "platform/window_system.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

namespace wxui {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kScriptTick = 15; // milliseconds

// The templates' fonts ("MS Sans Serif", "Small Fonts") are Windows bitmap fonts; every dialog
// font becomes the sans-serif face a Debian desktop has, at the template's point size.
constexpr const char kDialogFace[] = "DejaVu Sans";

WxBackend* InstalledBackend() {
    return dynamic_cast<WxBackend*>(&CurrentWindowBackend());
}

// Debian's wx has its assertions on; the default handler would open a dialog and wait.
void LogAssertion(const wxString& file, int line, const wxString& function, const wxString& cond,
                  const wxString& message) {
    std::fprintf(stderr, "wx assertion: %s:%d %s: %s %s\n", file.utf8_str().data(), line,
                 function.utf8_str().data(), cond.utf8_str().data(), message.utf8_str().data());
    if (WxBackend* backend = InstalledBackend())
        ++backend->impl().assertions;
}

// Menu ids of the toolkit are numbered from here, away from its stock ids.
constexpr int kFirstMenuId = 100;

void BuildMenu(CMenu* source, wxMenu& target, std::vector<UINT>& commands) {
    if (!source)
        return;
    for (int i = 0; i < source->GetMenuItemCount(); ++i) {
        const UINT state = source->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        CString text;
        source->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        const wxString label = ToolkitText(text.c_str());
        const bool grayed = state & (MF_GRAYED | MF_DISABLED);
        if (state & MF_SEPARATOR) {
            target.AppendSeparator();
        } else if (state & MF_POPUP) {
            auto* sub = new wxMenu;
            BuildMenu(source->GetSubMenu(i), *sub, commands);
            wxMenuItem* item = target.AppendSubMenu(sub, label);
            item->Enable(!grayed);
        } else {
            const int id = kFirstMenuId + static_cast<int>(commands.size());
            commands.push_back(source->GetMenuItemID(i));
            wxMenuItem* item =
                (state & MF_CHECKED) ? target.AppendCheckItem(id, label) : target.Append(id, label);
            if (state & MF_CHECKED)
                item->Check(true);
            item->Enable(!grayed);
        }
    }
}

wxStockCursor StockCursorFor(LPCTSTR name) {
    if (name == IDC_IBEAM)
        return wxCURSOR_IBEAM;
    if (name == IDC_WAIT)
        return wxCURSOR_WAIT;
    if (name == IDC_CROSS)
        return wxCURSOR_CROSS;
    if (name == IDC_SIZEWE)
        return wxCURSOR_SIZEWE;
    if (name == IDC_NO)
        return wxCURSOR_NO_ENTRY;
    return wxCURSOR_ARROW;
}

} // namespace

// ---- Impl ----

TopLevel* WxBackend::Impl::Find(HWND window) const {
    for (TopLevel* top : topLevels)
        if (top->Window() == window)
            return top;
    return nullptr;
}

TopLevel* WxBackend::Impl::FrontTopLevel() const {
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if (TopLevel* top = Find((*it)->Window()))
            return top;
    return topLevels.empty() ? nullptr : topLevels.back();
}

wxWindow* WxBackend::Impl::ParentForDialogs() const {
    TopLevel* top = FrontTopLevel();
    return top ? top->Frame() : nullptr;
}

void WxBackend::Impl::NoteInput(UINT message) {
    ++inputCounts[message];
}

void WxBackend::Impl::AfterInput() {
    winsys::DispatchPosted();
    PaintAll();
}

void WxBackend::Impl::ScheduleLayerTimer() {
    const std::optional<DWORD> due = winsys::NextTimerDue();
    if (!due) {
        layerTimer.Stop();
        return;
    }
    const auto wait = static_cast<std::int32_t>(*due - self.TickCount());
    layerTimer.StartOnce(std::max(1, static_cast<int>(wait)));
}

void WxBackend::Impl::PaintAll() {
    const std::vector<TopLevel*> tops = topLevels;
    for (TopLevel* top : tops)
        if (std::find(topLevels.begin(), topLevels.end(), top) != topLevels.end())
            top->Update();
}

void WxBackend::Impl::DispatchOnce(int waitMilliseconds) {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (!loop)
        return;
    if (wxTheApp)
        wxTheApp->ProcessPendingEvents();
    if (loop->Pending()) {
        loop->Dispatch();
        return;
    }
    if (wxTheApp)
        wxTheApp->ProcessIdle();
    if (waitMilliseconds > 0)
        loop->DispatchTimeout(static_cast<unsigned long>(waitMilliseconds));
}

void WxBackend::Impl::ReportFailure(const std::string& failure) {
    if (script)
        script->ReportFailure(failure);
    else
        std::fprintf(stderr, "%s\n", failure.c_str());
}

void WxBackend::Impl::BeginNativeModal() {
    if (nativeModalDepth++ == 0 && script)
        scriptTimer.Start(kScriptTick);
}

void WxBackend::Impl::EndNativeModal() {
    if (--nativeModalDepth == 0)
        scriptTimer.Stop();
}

void WxBackend::Impl::RunScriptFromTimer() {
    // One step at a time: a step that pumps events must not start the next from in here.
    if (scriptStepRunning || !script)
        return;
    scriptStepRunning = true;
    script->RunNextStep();
    scriptStepRunning = false;
}

const wxCursor& WxBackend::Impl::CursorFor(HCURSOR handle) {
    auto it = cursors.find(handle);
    if (it != cursors.end())
        return it->second;
    const CursorInfoView info = DescribeCursor(handle);
    wxCursor made;
    if (info.image) {
        wxImage image = ToBitmap(*info.image).ConvertToImage();
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, static_cast<int>(info.hotspot.x));
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, static_cast<int>(info.hotspot.y));
        made = wxCursor(image);
    } else {
        made = wxCursor(StockCursorFor(info.standardName));
    }
    return cursors.emplace(handle, made).first->second;
}

// ---- WxBackend ----

WxBackend::WxBackend() : m_impl(std::make_unique<Impl>(*this)) {
    m_impl->scriptTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { m_impl->RunScriptFromTimer(); });
    m_impl->layerTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        winsys::RunDueTimers(TickCount());
        m_impl->AfterInput();
        m_impl->ScheduleLayerTimer();
    });
    m_impl->notifier = MakeWxNotifier(*m_impl);
}

WxBackend::~WxBackend() {
    for (Canvas* canvas : m_impl->detached)
        canvas->Orphan();
    m_impl->scriptTimer.Stop();
    m_impl->layerTimer.Stop();
    m_impl->dragImage.reset();
}

const FontMetrics& WxBackend::Metrics(const char* face, int pointSize) {
    const std::string name = face ? face : "MS Sans Serif";
    const int size = pointSize > 0 ? pointSize : 8;
    auto& slot = m_impl->fonts[{name, size}];
    if (!slot)
        slot = std::make_unique<WxFont>(kDialogFace, size);
    return *slot;
}

CRect WxBackend::WorkArea() {
    const wxRect area = wxGetClientDisplayRect();
    return CRect(area.x, area.y, area.x + area.width, area.y + area.height);
}

// The window manager draws the frame outside the client area: the layer's window rectangle of a
// top-level window is its client area.
CRect WxBackend::FrameInsets(DWORD, DWORD) {
    return CRect();
}

COLORREF WxBackend::SysColor(int index) {
    if (index < 0 || index >= wxSYS_COLOUR_MAX)
        return 0;
    const wxColour colour = wxSystemSettings::GetColour(static_cast<wxSystemColour>(index));
    return RGB(colour.Red(), colour.Green(), colour.Blue());
}

int WxBackend::SystemMetric(int index) {
    auto metric = [](wxSystemMetric which, int fallback) {
        const int value = wxSystemSettings::GetMetric(which);
        return value > 0 ? value : fallback;
    };
    switch (index) {
    case SM_CXSCREEN:
        return wxGetDisplaySize().x;
    case SM_CYSCREEN:
        return wxGetDisplaySize().y;
    case SM_CXDRAG:
        return metric(wxSYS_DRAG_X, 4);
    case SM_CYDRAG:
        return metric(wxSYS_DRAG_Y, 4);
    case SM_CXDOUBLECLK:
        return metric(wxSYS_DCLICK_X, 4);
    case SM_CYDOUBLECLK:
        return metric(wxSYS_DCLICK_Y, 4);
    case SM_CXVSCROLL:
        return metric(wxSYS_VSCROLL_X, 16);
    case SM_CYHSCROLL:
        return metric(wxSYS_HSCROLL_Y, 16);
    default:
        // Icon sizes, edges and spacings are the layer's own drawing; the classic values fit it.
        return headless::DefaultHeadlessBackend().SystemMetric(index);
    }
}

DoubleClickDetector& WxBackend::Impl::DoubleClicks() {
    if (!doubleClicks)
        doubleClicks.emplace(self.DoubleClickTime(), CSize(self.SystemMetric(SM_CXDOUBLECLK),
                                                           self.SystemMetric(SM_CYDOUBLECLK)));
    return *doubleClicks;
}

UINT WxBackend::DoubleClickTime() {
    const int time = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
    return time > 0 ? static_cast<UINT>(time) : 500;
}

void WxBackend::TimersChanged() {
    m_impl->ScheduleLayerTimer();
}

DWORD WxBackend::TickCount() {
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
}

std::unique_ptr<TopLevelPeer> WxBackend::CreateTopLevel(HWND window) {
    return std::make_unique<TopLevel>(*m_impl, window);
}

// Every control is the layer's own, painted into the top-level window's framebuffer.
std::unique_ptr<NativeControl> WxBackend::CreateNativeControl(HWND) {
    return nullptr;
}

void WxBackend::RunModalLoop(ModalLoop& loop) {
    Impl& impl = *m_impl;
    impl.loops.push_back(&loop);
    struct Pop {
        std::vector<ModalLoop*>& loops;
        ~Pop() { loops.pop_back(); }
    } pop{impl.loops};

    wxGUIEventLoop eventLoop;
    wxEventLoopActivator activate(&eventLoop);
    if (TopLevel* top = impl.Find(loop.Window()))
        top->Activate();
    auto lastStep = Clock::now();
    while (!loop.Ended()) {
        winsys::DispatchPosted();
        if (loop.Ended())
            break;
        impl.PaintAll();
        if (eventLoop.Pending()) {
            eventLoop.Dispatch();
            continue;
        }
        wxTheApp->ProcessPendingEvents();
        if (loop.Ended())
            break;
        if (impl.script) {
            if (impl.script->RunNextStep()) {
                lastStep = Clock::now();
                continue;
            }
            if (Clock::now() - lastStep > kLeftRunning) {
                impl.ReportFailure(std::string(loop.Describe().c_str()) +
                                   " was left running by the script and cancelled");
                loop.Cancel();
                winsys::DispatchPosted();
                break;
            }
        }
        wxTheApp->ProcessIdle();
        eventLoop.DispatchTimeout(impl.script ? 5 : 50);
    }
    impl.PaintAll();
}

void WxBackend::MessagePosted() {
    wxWakeUpIdle();
}

UINT WxBackend::TrackPopupMenu(const TrackedMenuInfo& info) {
    Impl& impl = *m_impl;
    TopLevel* owner = impl.Find(winsys::TopLevelOf(info.owner));
    if (!owner)
        owner = impl.FrontTopLevel();
    if (!owner)
        return 0;
    wxMenu menu;
    std::vector<UINT> commands;
    BuildMenu(CMenu::FromHandle(info.menu), menu, commands);
    // The point is in the layer's screen coordinates, which follow the real window's.
    const CPoint origin = winsys::ClientOrigin(owner->Window());
    const wxPoint at(static_cast<int>(info.screenPoint.x - origin.x),
                     static_cast<int>(info.screenPoint.y - origin.y));
    if (winsys::Capture())
        winsys::ReleaseCapture();
    impl.menus.push_back({&info, ++impl.menusShown, &menu, kFirstMenuId, &commands});
    impl.BeginNativeModal();
    const int chosen = owner->GetCanvas()->GetPopupMenuSelectionFromUser(menu, at);
    impl.EndNativeModal();
    impl.menus.pop_back();
    const int index = chosen - kFirstMenuId;
    if (chosen == wxID_NONE || index < 0 || index >= static_cast<int>(commands.size()))
        return 0;
    return commands[static_cast<std::size_t>(index)];
}

void WxBackend::SetCursor(HCURSOR cursor) {
    m_impl->cursor = cursor;
    const wxCursor& shown = m_impl->CursorFor(cursor);
    for (TopLevel* top : m_impl->topLevels)
        top->GetCanvas()->SetCursor(shown);
}

void WxBackend::DragImageChanged(const DragImageState& state) {
    Impl& impl = *m_impl;
    const DragImageState previous = impl.dragState;
    impl.dragState = state;
    TopLevel* owner = state.lockWindow ? impl.Find(winsys::TopLevelOf(state.lockWindow)) : nullptr;

    auto end = [&] {
        if (!impl.dragImage)
            return;
        TopLevel* was = impl.dragOwner;
        impl.dragImage->Hide();
        // The drag image releases the pointer itself, and insists on having it then.
        if (was && !was->GetCanvas()->HasCapture())
            was->GetCanvas()->CaptureMouse();
        impl.dragImage->EndDrag();
        impl.dragImage.reset();
        impl.dragOwner = nullptr;
        if (was)
            was->ApplyCapture();
    };

    if (!state.dragging || !state.visible || !owner) {
        if (impl.dragImage && (!state.dragging || !state.visible))
            end();
        return;
    }
    const bool sameImage = previous.dragging && previous.image.pixels == state.image.pixels &&
                           previous.hotspot == state.hotspot;
    if (impl.dragImage && (impl.dragOwner != owner || !sameImage))
        end();
    // The position is relative to the lock window's window rectangle; the image moves in the
    // top-level window's client area.
    WindowData* lock = winsys::Live(state.lockWindow);
    const CRect insets = lock ? winsys::Insets(*lock) : CRect();
    const CPoint lockOrigin = winsys::OriginInTopLevel(state.lockWindow);
    const wxPoint at(static_cast<int>(state.position.x + lockOrigin.x - insets.left),
                     static_cast<int>(state.position.y + lockOrigin.y - insets.top));
    if (!impl.dragImage) {
        Canvas* canvas = owner->GetCanvas();
        // It captures the pointer itself.
        if (canvas->HasCapture())
            canvas->ReleaseMouse();
        impl.dragImage = std::make_unique<wxDragImage>(ToBitmap(state.image));
        impl.dragOwner = owner;
        impl.dragImage->BeginDrag(
            wxPoint(static_cast<int>(state.hotspot.x), static_cast<int>(state.hotspot.y)), canvas,
            false);
        impl.dragImage->Move(at);
        impl.dragImage->Show();
        return;
    }
    impl.dragImage->Move(at);
}

UserNotifier& WxBackend::Notifier() {
    return *m_impl->notifier;
}

void WxBackend::SetPaintObserver(std::function<void(HWND)> observer) {
    m_impl->paintObserver = std::move(observer);
}

bool WxBackend::SaveWindowImage(HWND topLevel, const std::string& pngPath) {
    TopLevel* top = m_impl->Find(topLevel);
    if (!top)
        return false;
    m_impl->PaintAll();
    return SavePng(top->Buffer(), pngPath);
}

bool WxBackend::SaveLastClosedWindowImage(const std::string& pngPath) {
    return SavePng(m_impl->lastClosed, pngPath);
}

bool WxBackend::HasOpenWindow() const {
    for (TopLevel* top : m_impl->topLevels)
        if (top->Frame()->IsShown())
            return true;
    return false;
}

bool WxBackend::SaveScreenImage(const std::string& pngPath, const CRect& area) {
    Framebuffer screen;
    return ReadScreen(area, screen) && SavePng(screen, pngPath);
}

COLORREF WxBackend::ScreenPixel(CPoint screenPoint) {
    Framebuffer pixel;
    if (!ReadScreen(CRect(screenPoint, CSize(1, 1)), pixel) || pixel.pixels.size() != 1)
        return CLR_INVALID;
    return RgbToColor(pixel.pixels.front());
}

bool WxBackend::Pump(int milliseconds) {
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    // At least one round, so that a host's idle work (deleting closed windows) is done.
    bool first = true;
    return PumpUntil([&] { return !std::exchange(first, false) && Clock::now() >= until; },
                     milliseconds + 1000);
}

bool WxBackend::PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
    std::unique_ptr<wxGUIEventLoop> temporary;
    std::unique_ptr<wxEventLoopActivator> activate;
    if (!wxEventLoopBase::GetActive()) {
        temporary = std::make_unique<wxGUIEventLoop>();
        activate = std::make_unique<wxEventLoopActivator>(temporary.get());
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (true) {
        winsys::DispatchPosted();
        m_impl->PaintAll();
        if (done())
            return true;
        if (Clock::now() >= deadline)
            return false;
        m_impl->DispatchOnce(2);
    }
}

void WxBackend::SetScriptRunner(headless::ScriptRunner* runner) {
    m_impl->script = runner;
}
headless::ScriptRunner* WxBackend::GetScriptRunner() const {
    return m_impl->script;
}
void WxBackend::SetNotifierListener(NotifierListener* listener) {
    m_impl->listener = listener;
}
const std::vector<ModalLoop*>& WxBackend::ModalLoops() const {
    return m_impl->loops;
}

const TrackedMenuInfo* WxBackend::TrackedMenu() const {
    return m_impl->menus.empty() ? nullptr : m_impl->menus.back().info;
}

std::uint64_t WxBackend::TrackedMenuSerial() const {
    return m_impl->menus.empty() ? 0 : m_impl->menus.back().serial;
}

namespace {

// The toolkit's frame of a top-level window; null for none, or for a borderless popup.
const wxTopLevelWindow* ToolkitFrame(const WxBackend::Impl& impl, HWND topLevel) {
    const TopLevel* top = impl.Find(topLevel);
    return top ? dynamic_cast<const wxTopLevelWindow*>(top->Frame()) : nullptr;
}

} // namespace

std::string WxBackend::FrameTitle(HWND topLevel) const {
    const wxTopLevelWindow* frame = ToolkitFrame(*m_impl, topLevel);
    return frame ? LayerText(frame->GetTitle()) : std::string();
}

CSize WxBackend::FrameIconSize(HWND topLevel) const {
    const wxTopLevelWindow* frame = ToolkitFrame(*m_impl, topLevel);
    if (!frame)
        return {};
    const wxIcon icon = frame->GetIcon();
    return icon.IsOk() ? CSize(icon.GetWidth(), icon.GetHeight()) : CSize();
}

HCURSOR WxBackend::Cursor() const {
    return m_impl->cursor;
}
const DragImageState& WxBackend::DragImage() const {
    return m_impl->dragState;
}
std::uint64_t WxBackend::InputCount(UINT message) const {
    auto it = m_impl->inputCounts.find(message);
    return it == m_impl->inputCounts.end() ? 0 : it->second;
}
int WxBackend::AssertionCount() const {
    return m_impl->assertions;
}

COLORREF WxBackend::PixelAt(HWND topLevel, CPoint point) {
    TopLevel* top = m_impl->Find(topLevel);
    if (!top)
        return CLR_INVALID;
    m_impl->PaintAll();
    const Framebuffer& buffer = top->Buffer();
    if (point.x < 0 || point.y < 0 || point.x >= buffer.width || point.y >= buffer.height)
        return CLR_INVALID;
    return RgbToColor(buffer.pixels[static_cast<std::size_t>(point.y) * buffer.width +
                                    static_cast<std::size_t>(point.x)]);
}

void WxBackend::RequestClientSize(HWND topLevel, int width, int height) {
    if (TopLevel* top = m_impl->Find(topLevel))
        top->RequestClientSize(width, height);
}

void WxBackend::RequestClientOrigin(HWND topLevel, CPoint origin) {
    if (TopLevel* top = m_impl->Find(topLevel))
        top->RequestClientOrigin(origin);
}

// The toolkit's close event, which a window manager's close button raises, and which the frame
// hands to the layer as WM_CLOSE.
void WxBackend::RequestClose(HWND topLevel) {
    if (TopLevel* top = m_impl->Find(topLevel))
        top->Frame()->Close();
}

void WxBackend::ActivateTopLevel(HWND topLevel) {
    if (TopLevel* top = m_impl->Find(topLevel))
        top->Activate();
}

bool WxBackend::MessageBoxOpen() const {
    return m_impl->openBox != nullptr;
}

bool WxBackend::MessageBoxHasFocus() const {
    // The toolkit names a focused button as soon as the box is made; the keys reach it only once
    // the box's window is the active one.
    if (!m_impl->openBox || !m_impl->openBox->IsActive())
        return false;
    for (wxWindow* focus = wxWindow::FindFocus(); focus; focus = focus->GetParent())
        if (focus == m_impl->openBox)
            return true;
    return false;
}

namespace {

// The open box's button for `answer`; null when no box is open or it has no such button.
wxWindow* OpenBoxButton(const WxBackend::Impl& impl, int answer) {
    if (!impl.openBox)
        return nullptr;
    auto it = impl.openBoxButtons.find(answer);
    return it == impl.openBoxButtons.end() ? nullptr : impl.openBox->FindWindow(it->second);
}

} // namespace

bool WxBackend::MessageBoxButtonRect(int answer, CRect& screenRect) const {
    wxWindow* button = OpenBoxButton(*m_impl, answer);
    if (!button || !button->IsShownOnScreen())
        return false;
    const wxRect rect = button->GetScreenRect();
    screenRect = CRect(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height);
    return true;
}

std::string WxBackend::MessageBoxButtonLabel(int answer) const {
    wxWindow* button = OpenBoxButton(*m_impl, answer);
    return button ? LayerText(button->GetLabel()) : std::string();
}

// ---- Installation ----

WxInstallation::~WxInstallation() {
    SetUserNotifier(m_previousNotifier);
    SetWindowBackend(m_previousBackend);
    wxSetAssertHandler(m_previousAssertHandler);
    m_backend.reset();
    if (m_startedToolkit) {
        if (wxTheApp)
            wxTheApp->ProcessIdle(); // windows waiting to be deleted
        wxEntryCleanup();
    }
}

std::unique_ptr<WxInstallation> InstallWxBackend(std::string* error) {
    std::unique_ptr<WxInstallation> installation(new WxInstallation);
    if (!wxTheApp) {
        // The host does not run the toolkit: start it without a main loop of its own; the
        // layer's modal loops drive it.
        static char name[] = "explorer";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new wxApp);
        if (!wxEntryStart(argc, argv)) {
            if (error)
                *error = "the toolkit could not be initialised (no display?)";
            return nullptr;
        }
        installation->m_startedToolkit = true;
        delete wxLog::SetActiveTarget(new wxLogStderr);
    }
    wxInitAllImageHandlers();
    installation->m_previousAssertHandler = wxSetAssertHandler(LogAssertion);
    installation->m_backend = std::make_unique<WxBackend>();
    installation->m_previousBackend = SetWindowBackend(installation->m_backend.get());
    installation->m_previousNotifier = SetUserNotifier(&installation->m_backend->Notifier());
    return installation;
}

} // namespace wxui

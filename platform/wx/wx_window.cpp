#include "platform/wx/wx_internal.h"

#include "platform/app.h"
#include "platform/win_styles.h"
#include "platform/window_system.h"

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/popupwin.h>

#include <algorithm>

namespace wxui {

namespace {

// How often the pointer is looked at while a window holds it.
constexpr int kPointerWatchInterval = 30;

UINT Modifiers(const wxKeyboardState& state) {
    UINT modifiers = 0;
    if (state.ShiftDown())
        modifiers |= MK_SHIFT;
    if (state.ControlDown())
        modifiers |= MK_CONTROL;
    return modifiers;
}

} // namespace

// ---- Canvas ----

Canvas::Canvas(wxWindow* parent, TopLevel* owner)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxWANTS_CHARS | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_owner(owner), m_backend(&owner->Backend()) {
    // Every pixel comes from the framebuffer: nothing to erase, nothing for the toolkit to draw.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &Canvas::OnPaint, this);
    for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_RIGHT_DOWN,
                            wxEVT_RIGHT_UP, wxEVT_RIGHT_DCLICK, wxEVT_MOTION})
        Bind(type, &Canvas::OnMouse, this);
    Bind(wxEVT_MOUSEWHEEL, &Canvas::OnWheel, this);
    Bind(wxEVT_KEY_DOWN, &Canvas::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &Canvas::OnKeyUp, this);
    Bind(wxEVT_CHAR, &Canvas::OnChar, this);
    Bind(wxEVT_SIZE, &Canvas::OnSize, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &Canvas::OnCaptureLost, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { CatchUpPointer(); });
}

Canvas::~Canvas() {
    if (m_backend) {
        auto& detached = m_backend->detached;
        detached.erase(std::remove(detached.begin(), detached.end(), this), detached.end());
        // A canvas made later at this address is another window.
        if (m_backend->doubleClicks)
            m_backend->doubleClicks->ForgetWindow(this);
    }
}

void Canvas::Detach() {
    m_owner = nullptr;
    if (m_backend)
        m_backend->detached.push_back(this);
}

void Canvas::Blit(wxDC& dc, const CRect& area) {
    if (!m_owner)
        return;
    const Framebuffer& buffer = m_owner->Buffer();
    CRect visible;
    const CRect all(0, 0, buffer.width, buffer.height);
    if (!visible.IntersectRect(&area, &all))
        return;
    const int width = static_cast<int>(visible.Width());
    const int height = static_cast<int>(visible.Height());
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row =
            &buffer.pixels[static_cast<std::size_t>(visible.top + y) * buffer.width +
                           static_cast<std::size_t>(visible.left)];
        for (int x = 0; x < width; ++x) {
            *rgb++ = static_cast<unsigned char>(row[x] >> 16);
            *rgb++ = static_cast<unsigned char>(row[x] >> 8);
            *rgb++ = static_cast<unsigned char>(row[x]);
        }
    }
    dc.DrawBitmap(wxBitmap(image), static_cast<int>(visible.left), static_cast<int>(visible.top));
}

void Canvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (!m_owner)
        return;
    m_owner->SyncPosition();
    const wxRect box = GetUpdateRegion().GetBox();
    Blit(dc, CRect(box.x, box.y, box.x + box.width, box.y + box.height));
    if (m_owner->LayerPainted() && m_owner->Backend().paintObserver) {
        // A copy: the observer may replace itself while it runs.
        auto observer = m_owner->Backend().paintObserver;
        observer(m_owner->Window());
    }
}

void Canvas::OnMouse(wxMouseEvent& event) {
    if (!m_backend) {
        event.Skip();
        return;
    }
    winsys::MouseAction action = winsys::MouseAction::Move;
    UINT message = WM_MOUSEMOVE;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK) {
        action = winsys::MouseAction::LeftDown;
        message = WM_LBUTTONDOWN;
    } else if (type == wxEVT_LEFT_UP) {
        action = winsys::MouseAction::LeftUp;
        message = WM_LBUTTONUP;
    } else if (type == wxEVT_RIGHT_DOWN || type == wxEVT_RIGHT_DCLICK) {
        action = winsys::MouseAction::RightDown;
        message = WM_RBUTTONDOWN;
    } else if (type == wxEVT_RIGHT_UP) {
        action = winsys::MouseAction::RightUp;
        message = WM_RBUTTONUP;
    }
    if (m_owner && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)) {
        // Keys go where the pointer was last pressed, as on a desktop with click-to-focus.
        if (FindFocus() != this)
            SetFocus();
    }
    WxBackend::Impl& backend = *m_backend;
    const CPoint screen = LayerScreenPoint(event.GetPosition());
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
        // Each press comes once, as a press or as the toolkit's double or triple click; which
        // presses make a double click is decided here, the desktop's way.
        const bool left = message == WM_LBUTTONDOWN;
        if (backend.DoubleClicks().Press(left ? 1 : 2, this, screen,
                                         static_cast<std::uint32_t>(event.GetTimestamp())) &&
            left) {
            action = winsys::MouseAction::LeftDoubleClick;
            message = WM_LBUTTONDBLCLK;
        }
    }
    // On Windows the pointer arrives before a button changes there; the toolkit may have dropped
    // the moves that brought it (a press, a quick move and the release at once).
    if (m_owner && message != WM_MOUSEMOVE)
        CatchUpTo(screen, Modifiers(event));
    backend.NoteInput(message);
    winsys::InjectMouse(action, screen, Modifiers(event));
    backend.AfterInput();
}

CPoint Canvas::LayerScreenPoint(wxPoint client) const {
    // The layer's screen coordinates are the real ones once its windows are placed; a closed
    // window's canvas has only the real ones.
    CPoint origin;
    if (m_owner) {
        origin = winsys::ClientOrigin(m_owner->Window());
    } else {
        const wxPoint real = GetScreenPosition();
        origin = CPoint(real.x, real.y);
    }
    return CPoint(origin.x + client.x, origin.y + client.y);
}

void Canvas::WatchPointer() {
    m_pointerWatch.Start(kPointerWatchInterval);
}

void Canvas::CatchUpPointer() {
    if (!m_backend || !m_owner || !HasCapture()) {
        m_pointerWatch.Stop();
        return;
    }
    const wxMouseState state = wxGetMouseState();
    if (CatchUpTo(LayerScreenPoint(ScreenToClient(state.GetPosition())), Modifiers(state)))
        m_backend->AfterInput();
}

bool Canvas::CatchUpTo(CPoint screen, UINT modifiers) {
    if (screen == winsys::CursorPos())
        return false;
    m_backend->NoteInput(WM_MOUSEMOVE);
    winsys::InjectMouse(winsys::MouseAction::Move, screen, modifiers);
    return true;
}

void Canvas::OnWheel(wxMouseEvent& event) {
    if (!m_backend || !m_owner) {
        event.Skip();
        return;
    }
    // The toolkit counts in its own units per notch (smooth scrolling sends parts of one); a
    // sideways turn to the right is positive, as the layer has it.
    const int perNotch = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : WHEEL_DELTA;
    const int delta = event.GetWheelRotation() * WHEEL_DELTA / perNotch;
    const bool sideways = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL;
    WxBackend::Impl& backend = *m_backend;
    backend.NoteInput(sideways ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL);
    const CPoint origin = winsys::ClientOrigin(m_owner->Window());
    winsys::InjectWheel(CPoint(origin.x + event.GetX(), origin.y + event.GetY()), delta,
                        Modifiers(event),
                        sideways ? winsys::WheelAxis::Sideways : winsys::WheelAxis::Vertical);
    backend.AfterInput();
}

// Keys go to the layer's focus window, whichever of our windows the toolkit gave them to.
void Canvas::OnKeyDown(wxKeyEvent& event) {
    const UINT key = VirtualKeyFromWx(event.GetKeyCode());
    if (!m_backend || !key) {
        event.Skip();
        return;
    }
    WxBackend::Impl& backend = *m_backend;
    backend.NoteInput(WM_KEYDOWN);
    winsys::InjectKey(key, Modifiers(event));
    backend.AfterInput();
    // Letters, digits and the like also come as characters; keys that steer never do.
    if (event.GetUnicodeKey() != WXK_NONE && key != VK_RETURN && key != VK_ESCAPE &&
        key != VK_TAB && key != VK_BACK)
        event.Skip();
}

void Canvas::OnKeyUp(wxKeyEvent& event) {
    if (m_backend)
        m_backend->NoteInput(WM_KEYUP);
    event.Skip();
}

void Canvas::OnChar(wxKeyEvent& event) {
    const wxChar ch = event.GetUnicodeKey();
    if (!m_backend || ch == WXK_NONE || ch < 0x20 || ch == 0x7F || event.ControlDown())
        return;
    WxBackend::Impl& backend = *m_backend;
    backend.NoteInput(WM_CHAR);
    winsys::InjectChar(static_cast<unsigned>(ch));
    backend.AfterInput();
}

void Canvas::OnSize(wxSizeEvent& event) {
    if (m_owner) {
        const wxSize size = GetClientSize();
        m_owner->ClientResized(size.x, size.y);
    }
    event.Skip();
}

void Canvas::OnCaptureLost(wxMouseCaptureLostEvent&) {
    if (m_owner)
        m_owner->CaptureLost();
}

// ---- TopLevel ----

TopLevel::TopLevel(WxBackend::Impl& backend, HWND window) : m_backend(backend), m_window(window) {
    WindowData* data = winsys::Live(window);
    const DWORD style = data ? data->style : WS_POPUP;
    TopLevel* owner = data && data->owner ? backend.Find(data->owner) : nullptr;
    wxWindow* parent = owner ? owner->Frame() : nullptr;
    if ((style & WS_CAPTION) != WS_CAPTION && parent) {
        // A borderless popup over its owner (the cell editor): placed exactly, no decoration.
        m_frame = new wxPopupWindow(parent, wxBORDER_NONE);
    } else {
        long frameStyle = wxCLIP_CHILDREN;
        if ((style & WS_CAPTION) == WS_CAPTION) {
            frameStyle |= wxCAPTION | wxCLOSE_BOX;
            if (style & WS_SYSMENU)
                frameStyle |= wxSYSTEM_MENU;
            if (style & WS_THICKFRAME)
                frameStyle |= wxRESIZE_BORDER;
            if (style & WS_MAXIMIZEBOX)
                frameStyle |= wxMAXIMIZE_BOX;
            if (style & WS_MINIMIZEBOX)
                frameStyle |= wxMINIMIZE_BOX;
        } else {
            frameStyle |= wxBORDER_NONE;
        }
        if (parent)
            frameStyle |= wxFRAME_FLOAT_ON_PARENT | wxFRAME_NO_TASKBAR;
        auto* frame =
            new wxFrame(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, frameStyle);
        frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (event.CanVeto())
                event.Veto();
            CloseRequested();
        });
        frame->Bind(wxEVT_MOVE, [this](wxMoveEvent& event) {
            SyncPosition();
            event.Skip();
        });
        // Switching to another window ends whatever the pointer was dragging, as WM_CANCELMODE
        // does on Windows (the splitter drops its bar and keeps its place).
        frame->Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
            HWND capture = winsys::Capture();
            if (!event.GetActive() && capture && winsys::TopLevelOf(capture) == m_window)
                winsys::Send(m_window, WM_CANCELMODE);
            event.Skip();
        });
        m_frame = frame;
    }
    m_canvas = new Canvas(m_frame, this);
    m_backend.topLevels.push_back(this);
}

TopLevel::~TopLevel() {
    auto& tops = m_backend.topLevels;
    tops.erase(std::remove(tops.begin(), tops.end(), this), tops.end());
    if (m_backend.dragOwner == this) {
        m_backend.dragImage.reset();
        m_backend.dragOwner = nullptr;
    }
    if (m_layerPainted)
        m_backend.lastClosed = m_buffer;
    m_canvas->Detach();
    if (m_canvas->HasCapture())
        m_canvas->ReleaseMouse();
    m_frame->Hide();
    // The toolkit deletes it once its events are done with; we may be inside one of them.
    m_frame->Destroy();
}

CPoint TopLevel::RealClientOrigin() const {
    const wxPoint origin = m_canvas->GetScreenPosition();
    return CPoint(origin.x, origin.y);
}

void TopLevel::ApplyPosition(CPoint clientOrigin) {
    if (!m_frame->IsShown()) {
        m_frame->Move(static_cast<int>(clientOrigin.x), static_cast<int>(clientOrigin.y));
        return;
    }
    RequestClientOrigin(clientOrigin);
}

void TopLevel::RequestClientOrigin(CPoint clientOrigin) {
    const CPoint real = RealClientOrigin();
    if (real == clientOrigin)
        return;
    // Move the outer frame so that the client area lands there.
    const wxPoint frame = m_frame->GetScreenPosition();
    m_frame->Move(static_cast<int>(clientOrigin.x - (real.x - frame.x)),
                  static_cast<int>(clientOrigin.y - (real.y - frame.y)));
}

void TopLevel::SetWindowRect(const CRect& screenRect) {
    const bool resized =
        screenRect.Width() != m_rect.Width() || screenRect.Height() != m_rect.Height();
    m_rect = screenRect;
    if (resized) {
        m_buffer.Resize(static_cast<int>(screenRect.Width()), static_cast<int>(screenRect.Height()),
                        ColorToRgb(m_backend.self.SysColor(COLOR_BTNFACE)));
        m_dirty = CRect(0, 0, m_buffer.width, m_buffer.height);
        m_layerPainted = false;
        if (!m_resizing) {
            m_resizing = true;
            const wxSize size(m_buffer.width, m_buffer.height);
            m_frame->SetClientSize(size);
            m_canvas->SetSize(size);
            m_resizing = false;
        }
    }
    if (!m_syncing)
        ApplyPosition(screenRect.TopLeft());
}

void TopLevel::Show(bool visible) {
    if (visible == m_frame->IsShown())
        return;
    m_frame->Show(visible);
    if (visible) {
        ApplyPosition(m_rect.TopLeft());
        Activate();
    } else if (m_canvas->HasCapture()) {
        m_canvas->ReleaseMouse();
    }
}

void TopLevel::Activate() {
    if (!m_frame->IsShown())
        return;
    m_frame->Raise();
    m_canvas->SetFocus();
}

void TopLevel::SetTitle(const CString& title) {
    if (auto* frame = dynamic_cast<wxTopLevelWindow*>(m_frame))
        frame->SetTitle(ToolkitText(title.c_str()));
}

void TopLevel::SetIcon(HICON icon) {
    auto* frame = dynamic_cast<wxTopLevelWindow*>(m_frame);
    const CursorInfoView info = DescribeCursor(icon);
    if (!frame || !info.image)
        return;
    wxIcon converted;
    converted.CopyFromBitmap(ToBitmap(*info.image));
    frame->SetIcon(converted);
}

void TopLevel::Invalidate(const CRect& clientRect) {
    CRect area = clientRect;
    area.NormalizeRect();
    const CRect all(0, 0, m_buffer.width, m_buffer.height);
    if (!area.IntersectRect(&area, &all))
        return;
    m_dirty.UnionRect(&m_dirty, &area);
}

void TopLevel::Update() {
    if (m_dirty.IsRectEmpty())
        return;
    const CRect area = m_dirty;
    m_dirty.SetRectEmpty();
    WxSurface surface(m_buffer);
    winsys::PaintTopLevel(m_window, surface, area);
    m_layerPainted = true;
    Present(area);
}

std::unique_ptr<DrawSurface> TopLevel::ClientSurface() {
    // What is drawn outside a paint (the splitter's tracking bar) goes to the screen as soon as
    // the context is given back.
    class Presenting : public WxSurface {
    public:
        explicit Presenting(TopLevel& owner) : WxSurface(owner.Buffer()), m_owner(owner) {}
        ~Presenting() override {
            const auto& now = m_owner.Backend().topLevels;
            if (std::find(now.begin(), now.end(), &m_owner) != now.end() &&
                !Touched().IsRectEmpty())
                m_owner.Present(Touched());
        }

    private:
        TopLevel& m_owner;
    };
    return std::make_unique<Presenting>(*this);
}

void TopLevel::Present(const CRect& area) {
    if (area.IsRectEmpty() || !m_frame->IsShown())
        return;
    wxClientDC dc(m_canvas);
    m_canvas->Blit(dc, area);
}

void TopLevel::SyncPosition() {
    if (!m_frame->IsShown() || m_syncing)
        return;
    const CPoint real = RealClientOrigin();
    if (real == m_rect.TopLeft())
        return;
    CRect moved = m_rect;
    moved.OffsetRect(real.x - m_rect.left, real.y - m_rect.top);
    m_syncing = true;
    winsys::SetWindowRect(m_window, moved, false);
    m_syncing = false;
}

void TopLevel::ClientResized(int width, int height) {
    if (m_resizing || (width == m_buffer.width && height == m_buffer.height) || width <= 0 ||
        height <= 0)
        return;
    m_resizing = true;
    CRect rect = m_rect;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    winsys::SetWindowRect(m_window, rect, true);
    m_resizing = false;
    // The layer may have refused the size (a minimum); the toolkit window follows the layer.
    if (m_buffer.width != width || m_buffer.height != height) {
        const wxSize size(m_buffer.width, m_buffer.height);
        m_frame->SetClientSize(size);
        m_canvas->SetSize(size);
    }
    m_backend.PaintAll();
}

void TopLevel::RequestClientSize(int width, int height) {
    m_frame->SetClientSize(width, height);
    if (dynamic_cast<wxPopupWindow*>(m_frame))
        m_canvas->SetSize(width, height);
}

void TopLevel::CloseRequested() {
    winsys::Send(m_window, WM_CLOSE);
}

void TopLevel::SetCapture(bool captured) {
    m_captureWanted = captured;
    ApplyCapture();
}

void TopLevel::ApplyCapture() {
    // While a drag image is shown here, it holds the pointer; the layer gets it back after.
    if (m_backend.dragOwner == this && m_backend.dragImage)
        return;
    if (m_captureWanted && !m_canvas->HasCapture() && m_frame->IsShown()) {
        m_canvas->CaptureMouse();
        m_canvas->WatchPointer();
    } else if (!m_captureWanted && m_canvas->HasCapture())
        m_canvas->ReleaseMouse();
}

void TopLevel::CaptureLost() {
    m_captureWanted = false;
    if (HWND capture = winsys::Capture(); capture && winsys::TopLevelOf(capture) == m_window)
        winsys::ReleaseCapture();
}

} // namespace wxui

#include "platform/headless/headless_backend.h"

#include "platform/app.h"
#include "platform/cstring.h"
#include "platform/menu.h"
#include "platform/pixel_surface.h"
#include "platform/win_styles.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace headless {

// ---- Framebuffer ----

Framebuffer::Framebuffer(int width, int height, std::uint32_t fill) {
    Resize(width, height, fill);
}

std::uint32_t Framebuffer::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

void Framebuffer::Set(int x, int y, std::uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[static_cast<std::size_t>(y) * m_width + x] = rgb & 0xFFFFFF;
}

void Framebuffer::Resize(int width, int height, std::uint32_t fill) {
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, fill);
}

bool Framebuffer::SavePpm(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", m_width, m_height);
    for (std::uint32_t pixel : m_pixels) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                      static_cast<unsigned char>(pixel >> 8),
                                      static_cast<unsigned char>(pixel)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

// ---- Top-level windows ----

class HeadlessBackend::Peer : public TopLevelPeer {
public:
    Peer(HeadlessBackend& backend, HWND window) : m_backend(backend), m_window(window) {
        m_backend.m_peers.push_back(this);
    }
    ~Peer() override {
        auto& peers = m_backend.m_peers;
        peers.erase(std::remove(peers.begin(), peers.end(), this), peers.end());
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    HWND Window() const { return m_window; }

    void SetWindowRect(const CRect& screenRect) override {
        if (screenRect.Width() != m_frame.Width() || m_frame.Height() != screenRect.Height()) {
            m_framebuffer.Resize(screenRect.Width(), screenRect.Height(),
                                 ColorToRgb(m_backend.SysColor(COLOR_BTNFACE)));
            m_frameDirty = true;
            m_dirty = ClientArea();
            m_dirty.OffsetRect(-Insets().left, -Insets().top);
        }
        m_frame = screenRect;
    }
    void Show(bool visible) override { m_visible = visible; }
    void SetTitle(const CString& title) override {
        m_title = title;
        m_frameDirty = true;
    }
    void SetIcon(HICON icon) override { m_icon = icon; }
    void Invalidate(const CRect& clientRect) override {
        CRect client = ClientArea();
        client.OffsetRect(-Insets().left, -Insets().top);
        CRect area;
        if (!area.IntersectRect(&clientRect, &client))
            return;
        m_dirty.UnionRect(&m_dirty, &area);
    }
    void Update() override {
        if (m_frameDirty)
            PaintFrame();
        if (m_dirty.IsRectEmpty())
            return;
        const CRect area = m_dirty;
        m_dirty.SetRectEmpty();
        PixelSurface surface(m_framebuffer.Pixels(), m_framebuffer.Width(), m_framebuffer.Height(),
                             Insets().TopLeft(), ClientArea());
        winsys::PaintTopLevel(m_window, surface, area);
    }
    std::unique_ptr<DrawSurface> ClientSurface() override {
        return std::make_unique<PixelSurface>(m_framebuffer.Pixels(), m_framebuffer.Width(),
                                              m_framebuffer.Height(), Insets().TopLeft(),
                                              ClientArea());
    }
    void SetCapture(bool) override {}

    const Framebuffer& Buffer() const { return m_framebuffer; }
    CSize IconSize() const {
        const CursorInfoView info = DescribeCursor(m_icon);
        return info.image ? CSize(info.image->width, info.image->height) : CSize();
    }
    std::string CaptionTitle() const {
        WindowData* data = winsys::Live(m_window);
        return data && (data->style & WS_CAPTION) == WS_CAPTION ? m_title.str() : std::string();
    }

private:
    CRect Insets() const {
        WindowData* data = winsys::Live(m_window);
        return data ? m_backend.FrameInsets(data->style, data->exStyle) : CRect();
    }
    // The client area in framebuffer coordinates.
    CRect ClientArea() const {
        const CRect insets = Insets();
        return CRect(insets.left, insets.top, m_framebuffer.Width() - insets.right,
                     m_framebuffer.Height() - insets.bottom);
    }
    // A frame in the system colours and a caption bar with the title as text blocks.
    void PaintFrame() {
        m_frameDirty = false;
        PixelSurface surface(m_framebuffer.Pixels(), m_framebuffer.Width(), m_framebuffer.Height());
        const CRect all(0, 0, m_framebuffer.Width(), m_framebuffer.Height());
        const CRect client = ClientArea();
        const CRect insets = Insets();
        surface.FillRect(CRect(0, 0, all.right, client.top), m_backend.SysColor(COLOR_BTNFACE));
        surface.FillRect(CRect(0, client.bottom, all.right, all.bottom),
                         m_backend.SysColor(COLOR_BTNFACE));
        surface.FillRect(CRect(0, 0, client.left, all.bottom), m_backend.SysColor(COLOR_BTNFACE));
        surface.FillRect(CRect(client.right, 0, all.right, all.bottom),
                         m_backend.SysColor(COLOR_BTNFACE));
        WindowData* data = winsys::Live(m_window);
        if (data && (data->style & WS_CAPTION) == WS_CAPTION) {
            const CRect caption(insets.left, insets.left, all.right - insets.right, insets.top);
            surface.FillRect(caption, m_backend.SysColor(COLOR_ACTIVECAPTION));
            surface.SetClip(caption);
            surface.DrawText(CPoint(caption.left + 4, caption.top + 2), m_title.str(),
                             m_backend.SysColor(COLOR_CAPTIONTEXT), m_backend.m_metrics);
        }
    }

    HeadlessBackend& m_backend;
    HWND m_window;
    Framebuffer m_framebuffer;
    CRect m_frame;
    CRect m_dirty;
    bool m_frameDirty = true;
    bool m_visible = false;
    CString m_title;
    HICON m_icon = nullptr;
};

struct HeadlessBackend::MenuRun : ModalLoop {
    explicit MenuRun(const TrackedMenuInfo& menu) : info(menu) {}
    bool Ended() const override { return ended; }
    void Cancel() override { ended = true; }
    HWND Window() const override { return nullptr; }
    CString Describe() const override { return "popup menu"; }

    TrackedMenuInfo info;
    UINT chosen = 0;
    bool ended = false;
};

HeadlessBackend::HeadlessBackend() : m_metrics(kCharWidth, kLineHeight) {}

HeadlessBackend::~HeadlessBackend() = default;

const FontMetrics& HeadlessBackend::Metrics(const char*, int) {
    return m_metrics;
}

CRect HeadlessBackend::WorkArea() {
    return CRect(0, 0, kScreenWidth, kScreenHeight);
}

CRect HeadlessBackend::FrameInsets(DWORD style, DWORD) {
    if (style & WS_CHILD)
        return CRect();
    long edge = 0;
    if (style & WS_THICKFRAME)
        edge = kSizingFrame;
    else if (style & (WS_DLGFRAME | WS_BORDER | DS_MODALFRAME))
        edge = kDialogFrame;
    CRect insets(edge, edge, edge, edge);
    if ((style & WS_CAPTION) == WS_CAPTION)
        insets.top += kCaptionHeight;
    return insets;
}

COLORREF HeadlessBackend::SysColor(int index) {
    // The classic Windows palette.
    static const COLORREF colors[] = {
        RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128),
        RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
        RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),
        RGB(255, 255, 225)};
    if (index < 0 || index >= static_cast<int>(std::size(colors)))
        return 0;
    return colors[index];
}

int HeadlessBackend::SystemMetric(int index) {
    switch (index) {
    case SM_CXSCREEN:
        return kScreenWidth;
    case SM_CYSCREEN:
        return kScreenHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 16;
    case SM_CYCAPTION:
        return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return kSizingFrame;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXICONSPACING:
        return 76;
    case SM_CYICONSPACING:
        return 72;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

std::unique_ptr<TopLevelPeer> HeadlessBackend::CreateTopLevel(HWND window) {
    return std::make_unique<Peer>(*this, window);
}

void HeadlessBackend::ReportFailure(std::string failure) {
    if (m_script)
        m_script->ReportFailure(std::move(failure));
    else
        m_unscriptedFailures.push_back(std::move(failure));
}

bool HeadlessBackend::RunScriptStep() {
    return m_script && m_script->RunNextStep();
}

void HeadlessBackend::RunModalLoop(ModalLoop& loop) {
    m_loops.push_back(&loop);
    struct Pop {
        std::vector<ModalLoop*>& loops;
        ~Pop() { loops.pop_back(); }
    } pop{m_loops};
    while (!loop.Ended()) {
        winsys::DispatchPosted();
        if (loop.Ended())
            break;
        PaintAll();
        if (RunScriptStep())
            continue;
        // Nobody is left to end it: cancel rather than hang.
        ReportFailure(std::string(loop.Describe().c_str()) +
                      " was left running by the script and cancelled");
        loop.Cancel();
        winsys::DispatchPosted();
        break;
    }
}

UINT HeadlessBackend::TrackPopupMenu(const TrackedMenuInfo& menu) {
    MenuRun run(menu);
    m_menus.push_back(&run);
    struct Pop {
        std::vector<MenuRun*>& menus;
        ~Pop() { menus.pop_back(); }
    } pop{m_menus};
    RunModalLoop(run);
    return run.chosen;
}

const TrackedMenuInfo* HeadlessBackend::TrackedMenu() const {
    return m_menus.empty() ? nullptr : &m_menus.back()->info;
}

namespace {
// The enabled command item `command` in `menu` or its sub-menus.
bool Choosable(CMenu* menu, UINT command) {
    if (!menu)
        return false;
    for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
        const UINT state = menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        if (state & MF_POPUP) {
            if (!(state & (MF_GRAYED | MF_DISABLED)) && Choosable(menu->GetSubMenu(i), command))
                return true;
            continue;
        }
        if (!(state & MF_SEPARATOR) && menu->GetMenuItemID(i) == command)
            return !(state & (MF_GRAYED | MF_DISABLED));
    }
    return false;
}
} // namespace

bool HeadlessBackend::ChooseTrackedMenuItem(UINT command) {
    if (m_menus.empty() || !Choosable(CMenu::FromHandle(m_menus.back()->info.menu), command))
        return false;
    m_menus.back()->chosen = command;
    m_menus.back()->ended = true;
    return true;
}

void HeadlessBackend::DismissTrackedMenu() {
    if (!m_menus.empty())
        m_menus.back()->ended = true;
}

const Framebuffer* HeadlessBackend::FramebufferOf(HWND topLevel) {
    for (Peer* peer : m_peers)
        if (peer->Window() == topLevel) {
            winsys::DispatchPosted();
            peer->Update();
            return &peer->Buffer();
        }
    return nullptr;
}

const HeadlessBackend::Peer* HeadlessBackend::FindPeer(HWND topLevel) const {
    for (const Peer* peer : m_peers)
        if (peer->Window() == topLevel)
            return peer;
    return nullptr;
}

std::string HeadlessBackend::FrameTitle(HWND topLevel) const {
    const Peer* peer = FindPeer(topLevel);
    return peer ? peer->CaptionTitle() : std::string();
}

CSize HeadlessBackend::FrameIconSize(HWND topLevel) const {
    const Peer* peer = FindPeer(topLevel);
    return peer ? peer->IconSize() : CSize();
}

void HeadlessBackend::PaintAll() {
    const std::vector<Peer*> peers = m_peers;
    for (Peer* peer : peers)
        if (std::find(m_peers.begin(), m_peers.end(), peer) != m_peers.end())
            peer->Update();
}

HeadlessBackend& DefaultHeadlessBackend() {
    static auto* backend = new HeadlessBackend;
    return *backend;
}

} // namespace headless

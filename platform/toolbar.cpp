#include "platform/toolbar_ctrl.h"

#include "platform/control_classes.h"
#include "platform/resource_access.h"
#include "platform/window_system.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kSeparatorWidth = 8;
constexpr int kTopMargin = 2;

ToolBarClass* Bar(const CToolBarCtrl* control) {
    return ToolBarOf(control->m_hWnd);
}

// Images `count` of a strip, each the bitmap size; magenta is transparent as in every toolbar
// strip of the library.
std::vector<std::shared_ptr<PixelImage>> CutStrip(const PixelImage& strip, CSize size, int count) {
    std::vector<std::shared_ptr<PixelImage>> images;
    for (int i = 0; i < count; ++i) {
        auto image = std::make_shared<PixelImage>();
        image->width = size.cx;
        image->height = size.cy;
        image->pixels.assign(static_cast<std::size_t>(size.cx) * size.cy, 0);
        image->transparent.assign(image->pixels.size(), 0);
        for (int y = 0; y < size.cy && y < strip.height; ++y)
            for (int x = 0; x < size.cx && i * size.cx + x < strip.width; ++x) {
                const std::uint32_t pixel =
                    strip.pixels[static_cast<std::size_t>(y) * strip.width + i * size.cx + x] &
                    0xFFFFFF;
                const std::size_t index = static_cast<std::size_t>(y) * size.cx + x;
                image->pixels[index] = pixel;
                image->transparent[index] = pixel == 0xFF00FF;
            }
        images.push_back(std::move(image));
    }
    return images;
}

} // namespace

std::unique_ptr<WindowClass> MakeToolBarClass() {
    return std::make_unique<ToolBarClass>();
}

CRect ToolBarClass::ButtonRect(int index) const {
    int left = 0;
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        const TBBUTTON& button = buttons[static_cast<std::size_t>(i)];
        if (button.fsState & TBSTATE_HIDDEN) {
            if (i == index)
                return CRect(left, kTopMargin, left, kTopMargin + buttonSize.cy);
            continue;
        }
        const int width = (button.fsStyle & TBSTYLE_SEP) ? kSeparatorWidth : buttonSize.cx;
        if (i == index)
            return CRect(left, kTopMargin, left + width, kTopMargin + buttonSize.cy);
        left += width;
    }
    return CRect();
}

int ToolBarClass::ButtonAt(CPoint point) const {
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        const TBBUTTON& button = buttons[static_cast<std::size_t>(i)];
        if (!(button.fsStyle & TBSTYLE_SEP) && !(button.fsState & TBSTATE_HIDDEN) &&
            ButtonRect(i).PtInRect(point))
            return i;
    }
    return -1;
}

int ToolBarClass::IndexOf(int command) const {
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
        if (!(buttons[static_cast<std::size_t>(i)].fsStyle & TBSTYLE_SEP) &&
            buttons[static_cast<std::size_t>(i)].idCommand == command)
            return i;
    return -1;
}

LRESULT ToolBarClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int index = ButtonAt(point);
        if (index < 0 || !(buttons[static_cast<std::size_t>(index)].fsState & TBSTATE_ENABLED))
            return 0;
        pressedIndex = index;
        buttons[static_cast<std::size_t>(index)].fsState |= TBSTATE_PRESSED;
        winsys::SetCapture(window);
        winsys::Invalidate(window, nullptr);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int index = std::exchange(pressedIndex, -1);
        if (winsys::Capture() == window)
            winsys::ReleaseCapture();
        if (index < 0 || index >= static_cast<int>(buttons.size()))
            return 0;
        TBBUTTON& button = buttons[static_cast<std::size_t>(index)];
        button.fsState &= ~TBSTATE_PRESSED;
        winsys::Invalidate(window, nullptr);
        if (ButtonAt(point) != index)
            return 0;
        if (button.fsStyle & TBSTYLE_CHECK) {
            if ((button.fsStyle & TBSTYLE_GROUP) == TBSTYLE_GROUP) {
                // A check group: this one pressed, the others of its run released.
                int first = index;
                while (first > 0 && (buttons[static_cast<std::size_t>(first - 1)].fsStyle &
                                     TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
                    --first;
                for (int i = first; i < static_cast<int>(buttons.size()) &&
                                    (buttons[static_cast<std::size_t>(i)].fsStyle &
                                     TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP;
                     ++i)
                    buttons[static_cast<std::size_t>(i)].fsState &= ~TBSTATE_CHECKED;
                button.fsState |= TBSTATE_CHECKED;
            } else {
                button.fsState ^= TBSTATE_CHECKED;
            }
        }
        WindowData* data = winsys::Live(window);
        if (data && data->parent)
            winsys::Send(data->parent, WM_COMMAND,
                         MAKEWPARAM(static_cast<WORD>(button.idCommand), BN_CLICKED),
                         reinterpret_cast<LPARAM>(window));
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (pressedIndex >= 0 && pressedIndex < static_cast<int>(buttons.size())) {
            buttons[static_cast<std::size_t>(pressedIndex)].fsState &= ~TBSTATE_PRESSED;
            pressedIndex = -1;
            winsys::Invalidate(window, nullptr);
        }
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    default:
        return winsys::DefaultProc(window, message, wParam, lParam);
    }
}

void ToolBarClass::Paint(HWND window) {
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        const TBBUTTON& button = buttons[static_cast<std::size_t>(i)];
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        const CRect rect = ButtonRect(i);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        const bool down = button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED);
        if (button.fsState & TBSTATE_CHECKED) {
            // A checked button shows a lighter face.
            CRect face = rect;
            face.DeflateRect(2, 2);
            dc.FillSolidRect(&face, GetSysColor(COLOR_3DLIGHT));
        }
        DrawEdge3d(dc, rect, down);
        if (button.iBitmap >= 0 && button.iBitmap < static_cast<int>(images.size())) {
            const PixelImage& image = *images[static_cast<std::size_t>(button.iBitmap)];
            CPoint at(rect.left + (rect.Width() - image.width) / 2,
                      rect.top + (rect.Height() - image.height) / 2);
            if (down)
                at.Offset(1, 1);
            if (button.fsState & TBSTATE_ENABLED) {
                dc.DrawImage(CRect(at, CSize(image.width, image.height)), image,
                             CRect(0, 0, image.width, image.height));
            } else {
                // Disabled: the image's shape in the shadow colour.
                PixelImage grey = image;
                for (std::uint32_t& pixel : grey.pixels)
                    pixel = 0x808080;
                dc.DrawImage(CRect(at, CSize(image.width, image.height)), grey,
                             CRect(0, 0, image.width, image.height));
            }
        }
    }
}

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(TOOLBARCLASSNAME, "", style, rect, parent, id))
        return FALSE;
    AutoSize();
    return TRUE;
}

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId) {
    ToolBarClass* bar = Bar(this);
    const PixelImage* strip = FindBitmapPixels(bitmapId);
    if (!bar || !strip || count <= 0)
        return -1;
    const int first = static_cast<int>(bar->images.size());
    for (auto& image : CutStrip(*strip, bar->bitmapSize, count))
        bar->images.push_back(std::move(image));
    Invalidate();
    return first;
}

int CToolBarCtrl::AddBitmap(int count, CBitmap* bitmap) {
    ToolBarClass* bar = Bar(this);
    const PixelImage* strip = bitmap ? bitmap->Pixels() : nullptr;
    if (!bar || !strip || count <= 0)
        return -1;
    const int first = static_cast<int>(bar->images.size());
    for (auto& image : CutStrip(*strip, bar->bitmapSize, count))
        bar->images.push_back(std::move(image));
    Invalidate();
    return first;
}

BOOL CToolBarCtrl::AddButtons(int count, LPTBBUTTON buttons) {
    ToolBarClass* bar = Bar(this);
    if (!bar || count < 0 || (count && !buttons))
        return FALSE;
    bar->buttons.insert(bar->buttons.end(), buttons, buttons + count);
    Invalidate();
    return TRUE;
}

BOOL CToolBarCtrl::InsertButton(int index, LPTBBUTTON button) {
    ToolBarClass* bar = Bar(this);
    if (!bar || !button || index < 0)
        return FALSE;
    index = std::min(index, static_cast<int>(bar->buttons.size()));
    bar->buttons.insert(bar->buttons.begin() + index, *button);
    Invalidate();
    return TRUE;
}

BOOL CToolBarCtrl::DeleteButton(int index) {
    ToolBarClass* bar = Bar(this);
    if (!bar || index < 0 || index >= static_cast<int>(bar->buttons.size()))
        return FALSE;
    bar->buttons.erase(bar->buttons.begin() + index);
    Invalidate();
    return TRUE;
}

int CToolBarCtrl::GetButtonCount() const {
    ToolBarClass* bar = Bar(this);
    return bar ? static_cast<int>(bar->buttons.size()) : 0;
}

BOOL CToolBarCtrl::GetButton(int index, LPTBBUTTON button) const {
    ToolBarClass* bar = Bar(this);
    if (!bar || !button || index < 0 || index >= static_cast<int>(bar->buttons.size()))
        return FALSE;
    *button = bar->buttons[static_cast<std::size_t>(index)];
    return TRUE;
}

int CToolBarCtrl::CommandToIndex(UINT command) const {
    ToolBarClass* bar = Bar(this);
    return bar ? bar->IndexOf(static_cast<int>(command)) : -1;
}

BOOL CToolBarCtrl::GetItemRect(int index, LPRECT rect) const {
    ToolBarClass* bar = Bar(this);
    if (!bar || !rect || index < 0 || index >= static_cast<int>(bar->buttons.size()))
        return FALSE;
    *rect = bar->ButtonRect(index);
    return TRUE;
}

namespace {
BOOL ChangeState(CToolBarCtrl* control, int command, BYTE bit, bool on) {
    ToolBarClass* bar = Bar(control);
    const int index = bar ? bar->IndexOf(command) : -1;
    if (index < 0)
        return FALSE;
    BYTE& state = bar->buttons[static_cast<std::size_t>(index)].fsState;
    state = on ? static_cast<BYTE>(state | bit) : static_cast<BYTE>(state & ~bit);
    control->Invalidate();
    return TRUE;
}

bool HasState(const CToolBarCtrl* control, int command, BYTE bit) {
    ToolBarClass* bar = Bar(control);
    const int index = bar ? bar->IndexOf(command) : -1;
    return index >= 0 && (bar->buttons[static_cast<std::size_t>(index)].fsState & bit);
}
} // namespace

BOOL CToolBarCtrl::CheckButton(int command, BOOL check) {
    return ChangeState(this, command, TBSTATE_CHECKED, check);
}
BOOL CToolBarCtrl::IsButtonChecked(int command) const {
    return HasState(this, command, TBSTATE_CHECKED);
}
BOOL CToolBarCtrl::EnableButton(int command, BOOL enable) {
    return ChangeState(this, command, TBSTATE_ENABLED, enable);
}
BOOL CToolBarCtrl::IsButtonEnabled(int command) const {
    return HasState(this, command, TBSTATE_ENABLED);
}
BOOL CToolBarCtrl::PressButton(int command, BOOL press) {
    return ChangeState(this, command, TBSTATE_PRESSED, press);
}
BOOL CToolBarCtrl::IsButtonPressed(int command) const {
    return HasState(this, command, TBSTATE_PRESSED);
}
BOOL CToolBarCtrl::HideButton(int command, BOOL hide) {
    return ChangeState(this, command, TBSTATE_HIDDEN, hide);
}
BOOL CToolBarCtrl::IsButtonHidden(int command) const {
    return HasState(this, command, TBSTATE_HIDDEN);
}

int CToolBarCtrl::GetState(int command) const {
    ToolBarClass* bar = Bar(this);
    const int index = bar ? bar->IndexOf(command) : -1;
    return index < 0 ? -1 : bar->buttons[static_cast<std::size_t>(index)].fsState;
}

BOOL CToolBarCtrl::SetState(int command, UINT state) {
    ToolBarClass* bar = Bar(this);
    const int index = bar ? bar->IndexOf(command) : -1;
    if (index < 0)
        return FALSE;
    bar->buttons[static_cast<std::size_t>(index)].fsState = static_cast<BYTE>(state);
    Invalidate();
    return TRUE;
}

BOOL CToolBarCtrl::SetBitmapSize(CSize size) {
    ToolBarClass* bar = Bar(this);
    if (!bar || size.cx <= 0 || size.cy <= 0)
        return FALSE;
    bar->bitmapSize = size;
    bar->buttonSize =
        CSize(std::max(bar->buttonSize.cx, size.cx + 7), std::max(bar->buttonSize.cy, size.cy + 7));
    return TRUE;
}

BOOL CToolBarCtrl::SetButtonSize(CSize size) {
    ToolBarClass* bar = Bar(this);
    if (!bar || size.cx <= 0 || size.cy <= 0)
        return FALSE;
    bar->buttonSize = size;
    Invalidate();
    return TRUE;
}

CSize CToolBarCtrl::GetButtonSize() const {
    ToolBarClass* bar = Bar(this);
    return bar ? bar->buttonSize : CSize();
}

void CToolBarCtrl::AutoSize() {
    // A top-aligned bar spans its parent's width with room for one row of buttons.
    ToolBarClass* bar = Bar(this);
    WindowData* data = winsys::Live(m_hWnd);
    if (!bar || !data || !data->parent || (data->style & 0x0004) /* CCS_NORESIZE */)
        return;
    const CRect parent = winsys::ClientRect(data->parent);
    winsys::SetWindowRect(m_hWnd, CRect(0, 0, parent.Width(), bar->buttonSize.cy + 2 * kTopMargin),
                          true);
}

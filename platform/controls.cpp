#include "platform/controls.h"

#include "platform/app.h"
#include "platform/control_classes.h"
#include "platform/edit_words.h"
#include "platform/user_notifier.h"
#include "platform/utf8.h"
#include "platform/window_system.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr UINT kDefaultEditLimit = 30000;

int CharCount(std::string_view text) {
    return CountCharacters(text);
}

// Byte offset of character `index` (clamped to the text).
int ByteOffset(std::string_view text, int index) {
    std::size_t offset = 0;
    for (int chars = 0; index >= 0 && offset < text.size(); ++chars) {
        if (chars == index)
            return static_cast<int>(offset);
        offset += FirstCharacterLength(text.substr(offset));
    }
    return static_cast<int>(text.size());
}

template <class T> T* ClassOf(HWND window) {
    WindowData* data = winsys::Live(window);
    return data ? dynamic_cast<T*>(data->cls.get()) : nullptr;
}

} // namespace

void DrawEdge3d(CDC& dc, const CRect& rect, bool sunken) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    CRect r = rect;
    dc.Draw3dRect(&r, sunken ? dark : light, sunken ? light : dark);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, sunken ? shadow : GetSysColor(COLOR_3DLIGHT),
                  sunken ? GetSysColor(COLOR_3DLIGHT) : shadow);
}

HWND CreateLabelEditor(HWND owner, const CRect& rect, const char* text,
                       std::function<void(bool commit)> end) {
    winsys::CreateParams params;
    params.kind = WindowKind::Edit;
    params.text = text;
    params.style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    params.rect = rect;
    params.parent = owner;
    params.id = 1;
    HWND edit = winsys::Create(params);
    if (!edit)
        return nullptr;
    EditOf(edit)->labelEditEnd = std::move(end);
    return edit;
}

void FocusLabelEditor(HWND edit) {
    winsys::Send(edit, EM_SETSEL, 0, -1);
    winsys::SetFocus(edit);
}

std::string DetachLabelEditor(HWND edit) {
    if (EditClass* editClass = EditOf(edit))
        editClass->labelEditEnd = nullptr;
    WindowData* data = winsys::Live(edit);
    return data ? data->text.str() : std::string();
}

void DestroyLabelEditor(HWND owner, HWND edit) {
    const bool hadFocus = winsys::Focus() == edit;
    winsys::Destroy(edit);
    if (hadFocus && winsys::Live(owner))
        winsys::SetFocus(owner);
}

EditClass* EditOf(HWND window) {
    return ClassOf<EditClass>(window);
}
ButtonClass* ButtonOf(HWND window) {
    return ClassOf<ButtonClass>(window);
}
ToolBarClass* ToolBarOf(HWND window) {
    return ClassOf<ToolBarClass>(window);
}
DialogClass* DialogOf(HWND window) {
    return ClassOf<DialogClass>(window);
}

std::unique_ptr<WindowClass> MakeWindowClass(WindowKind kind) {
    switch (kind) {
    case WindowKind::Dialog:
        return std::make_unique<DialogClass>();
    case WindowKind::Button:
        return std::make_unique<ButtonClass>();
    case WindowKind::Edit:
        return std::make_unique<EditClass>();
    case WindowKind::Static:
        return std::make_unique<StaticClass>();
    case WindowKind::TreeView:
        return MakeTreeViewClass();
    case WindowKind::ListView:
        return MakeListViewClass();
    case WindowKind::ToolBar:
        return MakeToolBarClass();
    case WindowKind::Generic:
        break;
    }
    return std::make_unique<WindowClass>();
}

// ---- Edit ----

HCURSOR EditClass::ClassCursor() const {
    return LoadCursor(nullptr, IDC_IBEAM);
}

void EditClass::ReplaceSelection(HWND window, std::string_view text, bool notify, bool typed) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return;
    std::string current = data->text.str();
    const int start = std::min(selStart, selEnd);
    const int end = std::max(selStart, selEnd);
    std::string insert(text);
    if (limit) {
        const int room =
            static_cast<int>(limit) -
            (CharCount(current) -
             CharCount(std::string_view(current).substr(static_cast<std::size_t>(start),
                                                        static_cast<std::size_t>(end - start))));
        if (CharCount(insert) > room) {
            insert.resize(static_cast<std::size_t>(ByteOffset(insert, std::max(0, room))));
            if (notify)
                winsys::CommandToParent(window, EN_MAXTEXT);
            if (!winsys::Live(window))
                return;
        }
    }
    // Typing on where the last typed characters end continues their change; a change that
    // changes nothing leaves the last one to undo.
    if ((start != end || !insert.empty()) && !(typed && start == end && end == typedEnd))
        undo = UndoState{current, selStart, selEnd};
    current.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), insert);
    selStart = selEnd = start + static_cast<int>(insert.size());
    typedEnd = typed ? selEnd : -1;
    ChangeText(window, current, notify);
}

void EditClass::ChangeText(HWND window, const std::string& text, bool notify) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return;
    data->text = text;
    draggedWord.reset();         // its words are gone
    ScrollCaretIntoView(window); // a multi-line edit's bar follows the text's new length there
    winsys::Invalidate(window, nullptr);
    if (notify)
        winsys::CommandToParent(window, EN_CHANGE);
}

LRESULT EditClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return 0;
    if (LRESULT result = 0; HandleLineMessage(window, message, wParam, lParam, result))
        return result;
    if (LRESULT result = 0; HandleEditCommand(window, message, wParam, result))
        return result;
    const std::string text = data->text.str();
    const bool multiLine = data->style & ES_MULTILINE;
    const bool shift = winsys::KeyDown(VK_SHIFT);
    const bool control = winsys::KeyDown(VK_CONTROL);
    switch (message) {
    case WM_GETDLGCODE: {
        UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (labelEditEnd || (multiLine && (data->style & ES_WANTRETURN) && wParam == VK_RETURN))
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETTEXT: {
        winsys::DefaultProc(window, message, wParam, lParam);
        selStart = selEnd = 0;
        draggedWord.reset(); // its words are gone
        undo.reset();        // a text set anew cannot be undone
        typedEnd = -1;
        scrollX = 0;
        if (multiLine) {
            firstLine = 0;
            UpdateLineBar(window);
        } else {
            winsys::CommandToParent(window, EN_CHANGE);
        }
        return TRUE;
    }
    case WM_CHAR: {
        if (wParam < 0x20 || wParam == 0x7F)
            return 0;
        if (!Editable(*data)) {
            MessageBeep(0);
            return 0;
        }
        ReplaceSelection(window, EncodeUtf8(static_cast<unsigned>(wParam)), true, true);
        return 0;
    }
    case WM_KEYDOWN: {
        const auto key = static_cast<UINT>(wParam);
        if (labelEditEnd && (key == VK_RETURN || key == VK_ESCAPE)) {
            // Ends the edit and destroys this window; nothing of it may be touched afterwards.
            auto end = labelEditEnd;
            end(key == VK_RETURN);
            return 0;
        }
        const bool editable = Editable(*data);
        switch (key) {
        case VK_LEFT:
            if (control)
                selEnd = PreviousWordStart(text, selEnd);
            else
                selEnd = (selStart != selEnd && !shift) ? std::min(selStart, selEnd)
                                                        : PreviousBoundary(text, selEnd);
            if (!shift)
                selStart = selEnd;
            break;
        case VK_RIGHT:
            if (control)
                selEnd = NextWordStart(text, selEnd);
            else
                selEnd = (selStart != selEnd && !shift) ? std::max(selStart, selEnd)
                                                        : NextBoundary(text, selEnd);
            if (!shift)
                selStart = selEnd;
            break;
        case VK_HOME:
            selEnd = 0;
            if (!shift)
                selStart = selEnd;
            break;
        case VK_END:
            selEnd = static_cast<int>(text.size());
            if (!shift)
                selStart = selEnd;
            break;
        case VK_BACK:
            if (!editable)
                break;
            // Ctrl takes the word before the caret.
            if (selStart == selEnd)
                selStart =
                    control ? PreviousWordStart(text, selEnd) : PreviousBoundary(text, selEnd);
            ReplaceSelection(window, "", true);
            return 0;
        case VK_DELETE:
            if (!editable)
                break;
            // Ctrl takes the rest of the word after the caret, and the blanks up to the next one.
            if (selStart == selEnd)
                selEnd = control ? NextWordStart(text, selStart) : NextBoundary(text, selStart);
            ReplaceSelection(window, "", true);
            return 0;
        case VK_RETURN:
            if (multiLine && editable)
                ReplaceSelection(window, "\r\n", true);
            return 0;
        default:
            return 0;
        }
        ScrollCaretIntoView(window);
        winsys::Invalidate(window, nullptr);
        return 0;
    }
    case WM_KILLFOCUS:
        winsys::Invalidate(window, nullptr);
        if (labelEditEnd) {
            auto end = labelEditEnd;
            end(true);
        }
        return 0;
    case WM_SETFOCUS:
        winsys::Invalidate(window, nullptr);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        winsys::SetFocus(window);
        if (!winsys::Live(window))
            return 0;
        const int offset =
            OffsetAtPoint(window, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        if (message == WM_LBUTTONDBLCLK) {
            draggedWord = WordAt(text, offset);
            std::tie(selStart, selEnd) = *draggedWord;
        } else {
            // Shift extends the selection to the click; a press without it starts one there,
            // which dragging draws out.
            draggedWord.reset();
            selEnd = offset;
            if (!(wParam & MK_SHIFT))
                selStart = selEnd;
        }
        dragging.emplace(window);
        ScrollCaretIntoView(window);
        winsys::Invalidate(window, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE:
        // A drag whose capture another window took is over.
        if (dragging && winsys::Capture() == window && (wParam & MK_LBUTTON))
            DragTo(window, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_LBUTTONUP:
        EndDrag(window);
        return 0;
    case WM_TIMER:
        if (wParam == kDragTimer) {
            DragStep(window);
            return 0;
        }
        return winsys::DefaultProc(window, message, wParam, lParam);
    case WM_RBUTTONDOWN:
        winsys::SetFocus(window);
        return 0;
    case WM_RBUTTONUP: {
        const CPoint origin = winsys::ClientOrigin(window);
        winsys::Send(
            window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
            MAKEPOINTLPARAM(GET_X_LPARAM(lParam) + origin.x, GET_Y_LPARAM(lParam) + origin.y));
        return 0;
    }
    case WM_CONTEXTMENU: {
        // From the keyboard (-1, -1): at the edit's top left corner.
        const CPoint at = lParam == -1 ? winsys::ClientOrigin(window)
                                       : CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ShowContextMenu(window, at);
        return 0;
    }
    case EM_SETSEL: {
        const auto start = static_cast<int>(static_cast<std::intptr_t>(wParam));
        const auto end = static_cast<int>(lParam);
        if (start < 0) {
            selStart = selEnd;
        } else {
            selStart = ByteOffset(text, start);
            selEnd = ByteOffset(text, end);
        }
        // A one-line edit keeps its caret in sight; a multi-line one scrolls when told
        // (EM_SCROLLCARET).
        if (!multiLine)
            ScrollCaretIntoView(window);
        winsys::Invalidate(window, nullptr);
        return 0;
    }
    case EM_SCROLLCARET:
        ScrollCaretIntoView(window);
        return TRUE;
    case EM_POSFROMCHAR: {
        const std::optional<CPoint> point =
            PointOfOffset(window, ByteOffset(text, static_cast<int>(wParam)));
        return point ? MAKELONG(static_cast<WORD>(point->x), static_cast<WORD>(point->y)) : -1;
    }
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(CharCount(std::string_view(text).substr(
            0, static_cast<std::size_t>(std::min(selStart, selEnd)))));
        const auto end = static_cast<DWORD>(CharCount(std::string_view(text).substr(
            0, static_cast<std::size_t>(std::max(selStart, selEnd)))));
        if (auto* out = reinterpret_cast<DWORD*>(wParam))
            *out = start;
        if (auto* out = reinterpret_cast<DWORD*>(lParam))
            *out = end;
        return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_REPLACESEL:
        ReplaceSelection(window, reinterpret_cast<const char*>(lParam), true);
        return 0;
    case EM_LIMITTEXT:
        limit = static_cast<UINT>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return limit ? limit : kDefaultEditLimit;
    case EM_SETREADONLY: // the style says it from then on, as Windows keeps it
        if (wParam)
            data->style |= ES_READONLY;
        else
            data->style &= ~static_cast<DWORD>(ES_READONLY);
        winsys::Invalidate(window, nullptr);
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        Paint(window);
        return 0;
    default:
        return winsys::DefaultProc(window, message, wParam, lParam);
    }
}

int EditClass::OffsetAtPoint(HWND window, CPoint point) const {
    const WindowData* data = winsys::Live(window);
    if (!data)
        return 0;
    if (data->style & ES_MULTILINE)
        return LineOffsetAt(window, point);
    return OffsetAtX(data->text.str(), static_cast<int>(point.x) - 2 + scrollX,
                     winsys::MetricsOf(window));
}

void EditClass::Paint(HWND window) {
    WindowData* data = winsys::Live(window);
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    const bool disabled = data->style & WS_DISABLED;
    const bool grey = disabled || !Editable(*data);
    dc.FillSolidRect(&client, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    const FontMetrics& metrics = winsys::MetricsOf(window);
    const std::string text = data->text.str();
    const bool focused = winsys::Focus() == window;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    if (data->style & ES_MULTILINE) {
        PaintLines(window, dc, text, focused);
        return;
    }
    const int y = (client.Height() - metrics.LineHeight()) / 2;
    PaintEditLine(dc, 2 - scrollX, y, text, focused ? std::min(selStart, selEnd) : -1,
                  std::max(selStart, selEnd), metrics);
}

void PaintEditLine(CDC& dc, int x, int y, std::string_view line, int from, int to,
                   const FontMetrics& metrics) {
    dc.TextOut(x, y, line.data(), static_cast<int>(line.size()));
    if (from < 0)
        return;
    const int x0 = x + metrics.TextWidth(line.substr(0, static_cast<std::size_t>(from)));
    if (from == to) {
        dc.FillSolidRect(x0, y, 1, metrics.LineHeight(), GetSysColor(COLOR_WINDOWTEXT));
        return;
    }
    const int x1 = x + metrics.TextWidth(line.substr(0, static_cast<std::size_t>(to)));
    dc.FillSolidRect(x0, y, x1 - x0, metrics.LineHeight(), GetSysColor(COLOR_HIGHLIGHT));
    const std::string_view selected =
        line.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    const COLORREF ink = dc.SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    dc.TextOut(x0, y, selected.data(), static_cast<int>(selected.size()));
    dc.SetTextColor(ink);
}

// ---- Button ----

LRESULT ButtonClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return 0;
    const DWORD type = data->style & 0x0F;
    const bool pushButton = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    auto click = [&] {
        if (type == BS_AUTOCHECKBOX) {
            check = check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            winsys::Invalidate(window, nullptr);
        }
        winsys::CommandToParent(window, BN_CLICKED);
    };
    switch (message) {
    case WM_GETDLGCODE:
        if (pushButton)
            return DLGC_BUTTON |
                   (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return DLGC_BUTTON;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        winsys::SetFocus(window);
        if (!winsys::Live(window))
            return 0;
        pressed = true;
        winsys::SetCapture(window);
        winsys::Invalidate(window, nullptr);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed)
            return 0;
        pressed = false;
        if (winsys::Capture() == window)
            winsys::ReleaseCapture();
        winsys::Invalidate(window, nullptr);
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (winsys::ClientRect(window).PtInRect(point))
            click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (pressed) {
            pressed = false;
            winsys::Invalidate(window, nullptr);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            click();
        return 0;
    case BM_CLICK:
        click();
        return 0;
    case BM_GETCHECK:
        return check;
    case BM_SETCHECK:
        // A two-state check box holds at most "checked".
        check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX
                    ? static_cast<int>(std::min<WPARAM>(wParam, BST_CHECKED))
                    : static_cast<int>(wParam);
        winsys::Invalidate(window, nullptr);
        return 0;
    case BM_GETSTATE:
        return check | (pressed ? BST_PUSHED : 0) | (winsys::Focus() == window ? BST_FOCUS : 0);
    case BM_SETSTATE:
        pressed = wParam != 0;
        winsys::Invalidate(window, nullptr);
        return 0;
    case BM_SETSTYLE:
        winsys::SetStyle(window, (data->style & ~0x0FUL) | (wParam & 0x0F), data->exStyle);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        winsys::Invalidate(window, nullptr);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    default:
        return winsys::DefaultProc(window, message, wParam, lParam);
    }
}

void ButtonClass::Paint(HWND window) {
    WindowData* data = winsys::Live(window);
    CPaintDC dc(winsys::ObjectOf(window));
    const DWORD type = data->style & 0x0F;
    if (type == BS_OWNERDRAW)
        return; // its owner draws it, or nobody
    const CRect client = winsys::ClientRect(window);
    const bool disabled = data->style & WS_DISABLED;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
        const int top = (client.Height() - 13) / 2;
        const CRect box(0, top, 13, top + 13);
        dc.FillSolidRect(&box, GetSysColor(COLOR_WINDOW));
        DrawEdge3d(dc, box, true);
        if (check == BST_CHECKED)
            dc.FillSolidRect(3, top + 3, 7, 7, GetSysColor(COLOR_WINDOWTEXT));
        CRect label(17, 0, client.right, client.bottom);
        dc.DrawText(data->text, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    CRect face = client;
    dc.FillSolidRect(&face, GetSysColor(COLOR_BTNFACE));
    if (type == BS_DEFPUSHBUTTON) {
        CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
        dc.FrameRect(&face, &frame);
        face.DeflateRect(1, 1);
    }
    DrawEdge3d(dc, face, pressed);
    CRect label = client;
    if (pressed)
        label.OffsetRect(1, 1);
    dc.DrawText(data->text, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (winsys::Focus() == window) {
        CRect focus = client;
        focus.DeflateRect(4, 4);
        dc.DrawFocusRect(&focus);
    }
}

// ---- Static ----

LRESULT StaticClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return winsys::DefaultProc(window, message, wParam, lParam);
    WindowData* data = winsys::Live(window);
    CPaintDC dc(winsys::ObjectOf(window));
    CRect client = winsys::ClientRect(window);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor((data->style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    UINT format = DT_NOPREFIX;
    if ((data->style & 0x0F) == SS_CENTER)
        format |= DT_CENTER;
    if (data->style & SS_CENTERIMAGE)
        format |= DT_VCENTER | DT_SINGLELINE;
    else
        format |= DT_WORDBREAK;
    dc.DrawText(data->text, &client, format);
    return 0;
}

// ---- The MFC classes ----

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_EDIT, "", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(start)), end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::SetSel(DWORD selection, BOOL noScroll) {
    SetSel(static_cast<SHORT>(LOWORD(selection)), static_cast<SHORT>(HIWORD(selection)), noScroll);
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD from = 0;
    DWORD to = 0;
    winsys::Send(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    start = static_cast<int>(from);
    end = static_cast<int>(to);
}

DWORD CEdit::GetSel() const {
    return static_cast<DWORD>(winsys::Send(m_hWnd, EM_GETSEL));
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL) {
    SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

void CEdit::LimitText(int maxChars) {
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars));
}

void CEdit::SetLimitText(UINT maxChars) {
    SendMessage(EM_LIMITTEXT, maxChars);
}

UINT CEdit::GetLimitText() const {
    return static_cast<UINT>(winsys::Send(m_hWnd, EM_GETLIMITTEXT));
}

void CEdit::Copy() {
    SendMessage(WM_COPY);
}

void CEdit::Cut() {
    SendMessage(WM_CUT);
}

void CEdit::Paste() {
    SendMessage(WM_PASTE);
}

BOOL CEdit::Undo() {
    return static_cast<BOOL>(SendMessage(EM_UNDO));
}

BOOL CEdit::CanUndo() const {
    return static_cast<BOOL>(winsys::Send(m_hWnd, EM_CANUNDO));
}

void CEdit::EmptyUndoBuffer() {
    SendMessage(EM_EMPTYUNDOBUFFER);
}

int CEdit::GetLineCount() const {
    return static_cast<int>(winsys::Send(m_hWnd, EM_GETLINECOUNT));
}

int CEdit::GetFirstVisibleLine() const {
    return static_cast<int>(winsys::Send(m_hWnd, EM_GETFIRSTVISIBLELINE));
}

CPoint CEdit::PosFromChar(UINT index) const {
    const auto position =
        static_cast<DWORD>(winsys::Send(m_hWnd, EM_POSFROMCHAR, static_cast<WPARAM>(index)));
    return CPoint(GET_X_LPARAM(position), GET_Y_LPARAM(position));
}

void CEdit::LineScroll(int lines, int chars) {
    SendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines);
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly)));
}

void CEdit::Clear() {
    SendMessage(WM_CLEAR);
}

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_STATIC, text, style, rect, parent, id);
}

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_BUTTON, caption, style, rect, parent, id);
}

int CButton::GetCheck() const {
    return static_cast<int>(winsys::Send(m_hWnd, BM_GETCHECK));
}

void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

UINT CButton::GetState() const {
    return static_cast<UINT>(winsys::Send(m_hWnd, BM_GETSTATE));
}

void CButton::SetState(BOOL highlight) {
    SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight));
}

UINT CButton::GetButtonStyle() const {
    return GetStyle() & 0x0F;
}

void CButton::SetButtonStyle(UINT style, BOOL) {
    SendMessage(BM_SETSTYLE, style);
}

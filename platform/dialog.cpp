#include "platform/dialog.h"

#include "platform/control_classes.h"
#include "platform/user_notifier.h"
#include "platform/utf8.h"
#include "platform/window_system.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Win32 MulDiv: a * b / c rounded half away from zero.
long MulDiv(long a, long b, long c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<long>(product >= 0 ? (product + half) / c : (product - half) / c);
}

CRect DialogUnitsToPixels(const CRect& units, const FontMetrics& metrics) {
    const long baseX = metrics.AverageCharWidth();
    const long baseY = metrics.LineHeight();
    return CRect(MulDiv(units.left, baseX, 4), MulDiv(units.top, baseY, 8),
                 MulDiv(units.right, baseX, 4), MulDiv(units.bottom, baseY, 8));
}

WindowKind KindOf(ControlClass controlClass) {
    switch (controlClass) {
    case ControlClass::Button:
        return WindowKind::Button;
    case ControlClass::Edit:
        return WindowKind::Edit;
    case ControlClass::Static:
        return WindowKind::Static;
    case ControlClass::TreeView:
        return WindowKind::TreeView;
    case ControlClass::ListView:
        return WindowKind::ListView;
    }
    return WindowKind::Generic;
}

HWND FirstTabStop(HWND dialog) {
    WindowData* data = winsys::Live(dialog);
    if (!data)
        return nullptr;
    for (HWND child : data->children)
        if ((child->style & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE) &&
            !(child->style & WS_DISABLED))
            return child;
    return nullptr;
}

// The window a modal dialog without a parent belongs to: the one the user works in now.
HWND ActiveWindow() {
    const std::vector<HWND> tops = winsys::TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (((*it)->style & WS_VISIBLE) && !((*it)->style & WS_DISABLED))
            return *it;
    return nullptr;
}

} // namespace

struct DialogAccess {
    static bool Ended(const CDialog& dialog) { return dialog.m_modalEnded; }
};

namespace {

class DialogLoop : public ModalLoop {
public:
    explicit DialogLoop(CDialog& dialog) : m_dialog(dialog) {}
    bool Ended() const override {
        return DialogAccess::Ended(m_dialog) || !winsys::Live(m_dialog.m_hWnd);
    }
    void Cancel() override { m_dialog.EndDialog(IDCANCEL); }
    HWND Window() const override { return m_dialog.m_hWnd; }
    CString Describe() const override {
        CString title;
        m_dialog.GetWindowText(title);
        return CString("dialog \"") + title + "\"";
    }

private:
    CDialog& m_dialog;
};

// Everything a modal run changes outside the dialog, put back however the run ends.
class ModalRunScope {
public:
    ModalRunScope(CDialog& dialog, HWND owner)
        : m_dialog(dialog), m_owner(owner), m_previousFocus(winsys::Focus()) {
        WindowData* data = winsys::Live(owner);
        m_ownerWasEnabled = data && !(data->style & WS_DISABLED);
        if (m_ownerWasEnabled)
            winsys::SetStyle(owner, data->style | WS_DISABLED, data->exStyle);
    }
    ~ModalRunScope() {
        if (WindowData* data = winsys::Live(m_owner); data && m_ownerWasEnabled)
            winsys::SetStyle(m_owner, data->style & ~WS_DISABLED, data->exStyle);
        m_dialog.DestroyWindow();
        if (winsys::Live(m_previousFocus))
            winsys::SetFocus(m_previousFocus);
    }
    ModalRunScope(const ModalRunScope&) = delete;
    ModalRunScope& operator=(const ModalRunScope&) = delete;

private:
    CDialog& m_dialog;
    HWND m_owner;
    HWND m_previousFocus;
    bool m_ownerWasEnabled = false;
};

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_templateId(templateId) {}

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* parent)
    : m_pParentWnd(parent), m_template(&dialogTemplate) {}

CDialog::~CDialog() {
    if (winsys::Live(m_hWnd))
        DestroyWindow();
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dialogTemplate =
        m_template ? m_template : FindDialogTemplate(m_templateId);
    if (!dialogTemplate || m_hWnd)
        return -1;
    m_template = dialogTemplate;
    m_modalEnded = false;
    m_modalResult = -1;

    WindowBackend& backend = CurrentWindowBackend();
    const FontMetrics& metrics =
        backend.Metrics(dialogTemplate->fontName ? dialogTemplate->fontName : "MS Sans Serif",
                        dialogTemplate->pointSize);
    const DWORD style = (dialogTemplate->style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;
    const CRect client =
        DialogUnitsToPixels(CRect(0, 0, dialogTemplate->cx, dialogTemplate->cy), metrics);
    const CRect insets = backend.FrameInsets(style, dialogTemplate->exStyle);
    const long width = client.Width() + insets.left + insets.right;
    const long height = client.Height() + insets.top + insets.bottom;

    HWND owner = m_pParentWnd ? winsys::TopLevelOf(m_pParentWnd->m_hWnd) : ActiveWindow();
    CPoint topLeft;
    if (dialogTemplate->style & DS_CENTER) {
        const CRect area = backend.WorkArea();
        topLeft =
            CPoint(area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2);
    } else {
        const CRect position = DialogUnitsToPixels(
            CRect(dialogTemplate->x, dialogTemplate->y, dialogTemplate->x, dialogTemplate->y),
            metrics);
        topLeft = owner ? winsys::ClientOrigin(owner) : backend.WorkArea().TopLeft();
        topLeft.Offset(position.left, position.top);
    }

    winsys::CreateParams params;
    params.kind = WindowKind::Dialog;
    params.exStyle = dialogTemplate->exStyle;
    params.text = dialogTemplate->title;
    params.style = style;
    params.rect = CRect(topLeft, CSize(width, height));
    params.owner = owner;
    params.metrics = &metrics;
    params.object = this;
    if (!winsys::Create(params))
        return -1;

    ModalRunScope scope(*this, owner);
    for (const ControlTemplate& control : dialogTemplate->controls) {
        winsys::CreateParams child;
        child.kind = KindOf(control.controlClass);
        child.exStyle = control.exStyle;
        child.text = control.text;
        child.style = control.style | WS_CHILD | WS_VISIBLE;
        child.rect = DialogUnitsToPixels(
            CRect(control.x, control.y, control.x + control.cx, control.y + control.cy), metrics);
        child.parent = m_hWnd;
        child.id = control.id;
        child.metrics = &metrics;
        if (!winsys::Create(child))
            return -1;
        if (child.kind == WindowKind::Button && (control.style & 0x0F) == BS_DEFPUSHBUTTON)
            DialogOf(m_hWnd)->defaultId = control.id;
    }

    SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(m_hWnd)), 0);
    if (!m_modalEnded && winsys::Live(m_hWnd)) {
        winsys::SetVisible(m_hWnd, true);
        DialogLoop loop(*this);
        backend.RunModalLoop(loop);
    }
    return m_modalResult;
}

LRESULT CDialog::HandleInitDialog(WPARAM wParam, LPARAM) {
    const BOOL setFocus = OnInitDialog();
    if (setFocus && !m_modalEnded)
        winsys::SetFocus(reinterpret_cast<HWND>(wParam));
    return setFocus;
}

void CDialog::EndDialog(int result) {
    m_modalResult = result;
    m_modalEnded = true;
    if (winsys::Live(m_hWnd))
        winsys::SetVisible(m_hWnd, false);
}

void CDialog::MapDialogRect(LPRECT rect) const {
    if (!rect)
        return;
    const FontMetrics* metrics = nullptr;
    if (WindowData* data = winsys::Live(m_hWnd))
        metrics = data->metrics;
    if (!metrics && m_template)
        metrics = &CurrentWindowBackend().Metrics(m_template->fontName, m_template->pointSize);
    if (!metrics)
        metrics = &winsys::MetricsOf(nullptr);
    *rect = DialogUnitsToPixels(CRect(rect), *metrics);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

DWORD CDialog::GetDefID() const {
    const LRESULT result = winsys::Send(m_hWnd, DM_GETDEFID);
    return static_cast<DWORD>(result);
}

void CDialog::SetDefID(UINT id) {
    SendMessage(DM_SETDEFID, id);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control)
        winsys::DialogSetFocus(control->m_hWnd);
}

void CDialog::NextDlgCtrl() const {
    winsys::InjectKey(VK_TAB, 0);
}

void CDialog::PrevDlgCtrl() const {
    winsys::InjectKey(VK_TAB, MK_SHIFT);
}

void CDialog::CheckDlgButton(int id, UINT check) {
    SendDlgItemMessage(id, BM_SETCHECK, check);
}

UINT CDialog::IsDlgButtonChecked(int id) const {
    CWnd* item = GetDlgItem(id);
    return item ? static_cast<UINT>(item->SendMessage(BM_GETCHECK)) : 0;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT DialogClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case DM_GETDEFID:
        return MAKELONG(static_cast<WORD>(defaultId), DC_HASDEFID);
    case DM_SETDEFID:
        defaultId = static_cast<UINT>(wParam);
        return TRUE;
    case WM_CLOSE:
        winsys::Send(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    default:
        return winsys::DefaultProc(window, message, wParam, lParam);
    }
}

// ---- Data exchange ----

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!control)
        throw CInvalidArgException(CString("no dialog control with this id"));
    m_hWndLastControl = control->m_hWnd;
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    if (winsys::Live(m_hWndLastControl)) {
        winsys::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            winsys::Send(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

namespace {

CString TextOf(HWND control) {
    WindowData* data = winsys::Live(control);
    return data ? data->text : CString();
}

void SetTextOf(HWND control, const CString& text) {
    winsys::Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

template <typename T> void ExchangeNumber(CDataExchange* dx, int id, T& value, bool isSigned) {
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        CString text;
        if (isSigned)
            text.Format("%lld", static_cast<long long>(value));
        else
            text.Format("%llu", static_cast<unsigned long long>(value));
        SetTextOf(control, text);
        return;
    }
    CString text = TextOf(control);
    text.Trim();
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long parsed = isSigned ? std::strtoll(begin, &end, 10)
                                      : static_cast<long long>(std::strtoull(begin, &end, 10));
    if (end == begin || *end != '\0' || errno == ERANGE || (!isSigned && text.Find('-') >= 0)) {
        AfxMessageBox("Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
        dx->Fail();
    }
    value = static_cast<T>(parsed);
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = TextOf(control);
    else
        SetTextOf(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    ExchangeNumber(dx, id, value, true);
}
void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    ExchangeNumber(dx, id, value, false);
}
void DDX_Text(CDataExchange* dx, int id, long& value) {
    ExchangeNumber(dx, id, value, true);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(winsys::Send(control, BM_GETCHECK));
        return;
    }
    // A value that is no check state is taken as off, in the member too.
    if (value < BST_UNCHECKED || value > BST_INDETERMINATE)
        value = BST_UNCHECKED;
    winsys::Send(control, BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
    if (!dx->m_bSaveAndValidate) {
        if (dx->m_hWndLastControl && dx->m_bEditLastControl)
            winsys::Send(dx->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars));
        return;
    }
    if (CountCharacters(value.str()) > maxChars) {
        CString message;
        message.Format("Please enter no more than %d characters.", maxChars);
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        dx->Fail();
    }
}

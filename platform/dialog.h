// CDialog from a dialog template, its modal run, and dialog data exchange.
#pragma once

#include "platform/dialog_template.h"
#include "platform/exceptions.h"
#include "platform/window.h"

class CDataExchange;

// Thrown by CDataExchange::Fail; UpdateData catches it.
class CUserException : public CException {
public:
    CString GetErrorMessage() const override { return CString(); }
};

class CDialog : public CWnd {
public:
    CDialog();
    // The library's dialog template `templateId` (FindDialogTemplate).
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    // A template given directly; it must outlive the dialog's window.
    explicit CDialog(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window from the template, runs OnInitDialog and a modal loop until EndDialog;
    // the value given to EndDialog, or -1 when the window could not be created.
    virtual INT_PTR DoModal();
    // Ends the modal run with `result` once the current message is handled.
    void EndDialog(int result);

    // Converts dialog units into pixels by the dialog's font.
    void MapDialogRect(LPRECT rect) const;
    // Transfers between the controls and the members: FALSE when validation failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    DWORD GetDefID() const;
    void SetDefID(UINT id);
    void GotoDlgCtrl(CWnd* control);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // The template this dialog is made from (null when none was found).
    const DialogTemplate* Template() const { return m_template; }

protected:
    virtual void DoDataExchange(CDataExchange* dx);

    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

    // WM_INITDIALOG: runs OnInitDialog and sets the first focus when it asks for it.
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend struct DialogAccess;
    const DialogTemplate* m_template = nullptr;
    UINT m_templateId = 0;
    int m_modalResult = -1;
    bool m_modalEnded = false;
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control `id` (it must exist), remembered as the last one for DDV_ functions.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Validation failed: focus the last control and abandon the transfer.
    [[noreturn]] void Fail();

    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// Attaches `control` to the dialog's control `id` the first time (SubclassDlgItem).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Loading: limits the last edit control to `maxChars`. Saving: a longer text is refused with a
// message and the transfer fails.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

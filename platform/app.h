// The application object, module state and cursors.
#pragma once

#include "platform/cstring.h"
#include "platform/gdi.h"
#include "platform/win_messages.h"

class CWnd;

class CWinApp : public CObject {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The library's cursor or icon resource `id`; the standard ones by their IDC_ name.
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCTSTR name) const;
    HICON LoadIcon(UINT id) const;
    HICON LoadStandardIcon(LPCTSTR name) const;

    LPCTSTR m_pszAppName = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    CString m_appName;
};

// The one application object (null before it is constructed).
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxEnableControlContainer();

// Resources are found in the library wherever the call comes from, so switching the module state
// has nothing to do; the macro keeps the entry points' shape.
struct AFX_MODULE_STATE;
AFX_MODULE_STATE* AfxGetStaticModuleState();
AFX_MODULE_STATE* AfxGetModuleState();
#define AFX_MANAGE_STATE(state) static_cast<void>(state)

// With a null instance the standard cursors (IDC_ARROW, ...), else the library's resource.
HCURSOR LoadCursor(HINSTANCE instance, LPCTSTR name);
HICON LoadIcon(HINSTANCE instance, LPCTSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR cursor);
BOOL DestroyIcon(HICON icon);
// The hot spot and image of a cursor or icon (null for a null handle).
struct CursorInfoView {
    CPoint hotspot;
    const struct PixelImage* image;
    LPCTSTR standardName; // the IDC_ name of a standard cursor, else null
    UINT resourceId;      // the resource id of a library cursor or icon, else 0
};
CursorInfoView DescribeCursor(HCURSOR cursor);

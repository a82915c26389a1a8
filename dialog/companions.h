// The small window classes around the browser dialog and the library's application object.
#pragma once

#include "platform/afxwin.h"

// Carries the toolbar: the button 1017 of the template, subclassed so that the toolbar's clicks
// reach the dialog's command handlers.
class ToolbarHost : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

// The item list; the Delete key starts the delete command.
class ExplorerList : public CListCtrl {
protected:
    afx_msg void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    DECLARE_MESSAGE_MAP()
};

// The folder tree; the Delete key starts the delete command.
class ExplorerTree : public CTreeCtrl {
protected:
    afx_msg void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    DECLARE_MESSAGE_MAP()
};

// The library's application object: constructed when the library is loaded.
class ExplorerApp : public CWinApp {
public:
    ExplorerApp();
    BOOL InitInstance() override;
};

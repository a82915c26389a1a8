#include "dialog/companions.h"

#include "dialog/explorer_dialog.h"
#include "interface/context.h"

// Loading the library constructs this object; it starts the library without a host.
ExplorerApp theApp;

BOOL ToolbarHost::OnCommand(WPARAM wParam, LPARAM lParam) {
    CWnd* parent = GetParent();
    if (!parent)
        return TRUE;
    return static_cast<BOOL>(parent->SendMessage(WM_COMMAND, wParam, lParam));
}

namespace {

// The Delete key of either view removes what that view has selected.
void RemoveFromKeyboard(CWnd& view, UINT key) {
    if (key != VK_DELETE)
        return;
    if (auto* dialog = dynamic_cast<ExplorerDialog*>(view.GetParent()))
        dialog->OnRemoveChecked();
}

} // namespace

BEGIN_MESSAGE_MAP(ExplorerList, CListCtrl)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void ExplorerList::OnKeyDown(UINT key, UINT repeatCount, UINT flags) {
    RemoveFromKeyboard(*this, key);
    CListCtrl::OnKeyDown(key, repeatCount, flags);
}

BEGIN_MESSAGE_MAP(ExplorerTree, CTreeCtrl)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void ExplorerTree::OnKeyDown(UINT key, UINT repeatCount, UINT flags) {
    RemoveFromKeyboard(*this, key);
    CTreeCtrl::OnKeyDown(key, repeatCount, flags);
}

ExplorerApp::ExplorerApp() {
    ReloadLibraryContext();
}

BOOL ExplorerApp::InitInstance() {
    AfxEnableControlContainer();
    return TRUE;
}

// View modes, sorting, the info-pane switch and the focus notifications: filled in by the list
// work.
#include "dialog/explorer_dialog.h"

void ExplorerDialog::OnViewLargeIcons() {}

void ExplorerDialog::OnViewSmallIcons() {}

void ExplorerDialog::OnViewList() {}

void ExplorerDialog::OnViewDetails() {}

void ExplorerDialog::OnInfoPane() {}

void ExplorerDialog::OnColumnClickList(NMHDR*, LRESULT* result) {
    *result = 0;
}

int ExplorerDialog::CompareRows(LPARAM, LPARAM, LPARAM) {
    return 0;
}

void ExplorerDialog::OnSetFocusList(NMHDR*, LRESULT* result) {
    m_bListFocus = 1;
    *result = 0;
}

void ExplorerDialog::OnSetFocusTree(NMHDR*, LRESULT* result) {
    m_bListFocus = 0;
    *result = 0;
}

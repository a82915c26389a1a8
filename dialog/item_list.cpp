// The item list: filled in by the list work.
#include "dialog/explorer_dialog.h"

int ExplorerDialog::FillList(ItemTag tag) {
    m_list.DeleteAllItems();
    m_listTag = tag;
    return 1;
}

int ExplorerDialog::InsertListRows(const CDWordArray&, const CStringArray&, const CDWordArray&,
                                   const CStringArray&) {
    return 1;
}

int ExplorerDialog::ShowChunkInfo(ItemTag) {
    return 0;
}

void ExplorerDialog::OnItemChangedList(NMHDR*, LRESULT* result) {
    *result = 0;
}

void ExplorerDialog::OnDblClkList(NMHDR*, LRESULT* result) {
    *result = 0;
}

// The pane layout, drag and drop, the editing commands, cell editing and the preview drawing hook
// in here. Until they do, the dialog keeps the template's layout, the mouse and paint messages get
// the window's default handling and the commands do nothing.
#include "dialog/explorer_dialog.h"

// ---- Pane layout and splitter ----

void ExplorerDialog::CaptureLayout() {}

void ExplorerDialog::LayoutControls() {}

void ExplorerDialog::BeginTracking() {}

void ExplorerDialog::EndTracking(BOOL) {}

void ExplorerDialog::DrawTrackBar(const CRect& rect) {
    m_trackRect = rect;
}

void ExplorerDialog::OnPaint() {
    CDialog::OnPaint();
}

void ExplorerDialog::OnMouseMove(UINT flags, CPoint point) {
    CDialog::OnMouseMove(flags, point);
}

BOOL ExplorerDialog::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
    return CDialog::OnSetCursor(window, hitTest, message);
}

void ExplorerDialog::OnLButtonDown(UINT flags, CPoint point) {
    CDialog::OnLButtonDown(flags, point);
}

void ExplorerDialog::OnLButtonUp(UINT flags, CPoint point) {
    CDialog::OnLButtonUp(flags, point);
}

void ExplorerDialog::OnCancelMode() {
    CDialog::OnCancelMode();
}

void ExplorerDialog::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
}

// ---- Drag and drop ----

void ExplorerDialog::OnBeginDragList(NMHDR*, LRESULT* result) {
    *result = 0;
}

CPoint ExplorerDialog::DragImageOffset() {
    return CPoint(0, 0);
}

void ExplorerDialog::ClearDropHighlight() {}

BOOL ExplorerDialog::MayMoveInto(ItemTag) {
    return FALSE;
}

BOOL ExplorerDialog::CanPasteInto(ItemTag) {
    return FALSE;
}

// ---- Commands, context menus, renaming ----

void ExplorerDialog::GatherCmdTags(BOOL) {
    m_cmdTags.RemoveAll();
}

void ExplorerDialog::BuildContextMenu(BOOL) {}

BOOL ExplorerDialog::WalkItems(int, const CDWordArray&) {
    return FALSE;
}

CString ExplorerDialog::MakeUniqueName(UINT baseId, UINT) {
    CString name;
    name.LoadString(baseId);
    return name;
}

HTREEITEM ExplorerDialog::FindSiblingByName(HTREEITEM, const CString&) {
    return nullptr;
}

BOOL ExplorerDialog::RemoveFromViews(const CDWordArray&) {
    return FALSE;
}

void ExplorerDialog::OnNewFolder() {}

void ExplorerDialog::OnNewChunk() {}

void ExplorerDialog::OnOpen() {}

void ExplorerDialog::OnCut() {}

void ExplorerDialog::OnPaste() {}

void ExplorerDialog::OnRemove() {}

void ExplorerDialog::OnRename() {}

void ExplorerDialog::OnSelect() {}

void ExplorerDialog::OnUp() {}

void ExplorerDialog::OnRemoveChecked() {}

void ExplorerDialog::OnListRightClick(NMHDR*, LRESULT* result) {
    *result = 0;
}

void ExplorerDialog::OnTreeRightClick(NMHDR*, LRESULT* result) {
    *result = 0;
}

// Without the rename commands no edit is allowed to start.
void ExplorerDialog::OnListBeginLabelEdit(NMHDR*, LRESULT* result) {
    *result = 1;
}

void ExplorerDialog::OnListEndLabelEdit(NMHDR*, LRESULT* result) {
    *result = 0;
}

void ExplorerDialog::OnTreeBeginLabelEdit(NMHDR*, LRESULT* result) {
    *result = 1;
}

void ExplorerDialog::OnTreeEndLabelEdit(NMHDR*, LRESULT* result) {
    *result = 0;
}

// ---- Cell editing and the preview drawing ----

void ExplorerDialog::OnDblClkListCell(CPoint) {}

void ExplorerDialog::OnCustomDrawList(NMHDR*, LRESULT* result) {
    *result = CDRF_DODEFAULT;
}

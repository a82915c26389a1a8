// The browser dialog behind EXPL_GetFolder, EXPL_GetTarget, EXPL_GetChunk and EXPL_ChunkSaveAs:
// the folder tree, the item list, the toolbar, the caption and, for saving, the name field.
#pragma once

#include "dialog/companions.h"
#include "interface/explorer_callback.h"
#include "platform/afxwin.h"
#include "platform/collections.h"
#include "store/item_tag.h"

#include <cstdint>

// What the dialog is run for; the entry point chooses it.
enum class ExplorerMode : int {
    None = -1,
    Folder = 1, // EXPL_GetFolder: choose a folder
    Target = 2, // EXPL_GetTarget: choose a chunk or an entry inside one
    Chunk = 3,  // EXPL_GetChunk: choose one or more chunks
    SaveAs = 4, // EXPL_ChunkSaveAs: choose a folder and a name
};

// All bits set: no key.
constexpr std::uint32_t kNoKey = 0xFFFFFFFFu;

// The placeholder child of a folder item that has not been expanded yet. Its item data has both
// kind bits set, which no item's tag has, so a folder that happens to bear the placeholder's name
// is never taken for it.
constexpr const char kTreePlaceholder[] = "zzzzzzzzzztmp";
constexpr ItemTag kPlaceholderTag = 0xC0000000u;

class ExplorerDialog : public CDialog {
public:
    explicit ExplorerDialog(CWnd* parent = nullptr);
    ~ExplorerDialog() override;

    // ---- Members ----
    int m_bReadOnly = 0; // check box 1003; passed through for EXPL_GetChunk
    CString m_strName;   // name edit 1000, at most 128 characters
    CImageList m_imlSmall;
    CImageList m_imlLarge;
    CToolBarCtrl m_toolBar;
    ToolbarHost m_toolHost;
    ExplorerList m_list;
    ExplorerTree m_tree;

    // Pane layout and splitter.
    CRect m_splitterRect;
    int m_bTracking = 0;
    CRect m_trackRect;
    int m_minWidth = -1; // -1: not captured yet
    int m_initHeight = 0;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    int m_treeLeft = 0;
    int m_treeTop = 0;
    int m_listRightMargin = 0;
    int m_listBottomMargin = 0;
    int m_okRight = 0;
    int m_okBottom = 0;
    int m_cancelRight = 0;

    int m_bListFocus = 0;       // 1 when the list, 0 when the tree last got the focus
    ItemTag m_listTag = NoItem; // what the list was last filled for

    // Drag and drop.
    int m_dropKind = 1; // 1 none, 2 a list row, 3 a tree node highlighted
    HTREEITEM m_dropTreeNode = nullptr;
    int m_dropListRow = -1;
    int m_bDragging = 0;
    CPoint m_dragHotspot;

    CDWordArray m_moveTags; // what cut or drag moves
    int m_bCutPending = 0;
    CDWordArray m_cmdTags; // what the current command acts on
    int m_bMenuFromList = 0;

    HTREEITEM m_hRoot = nullptr;

    // Exchange fields of the entry points.
    CString m_strTitle;
    std::uint32_t m_resultKey = kNoKey;
    std::uint32_t m_resultEntry = kNoKey;
    std::uint32_t m_folderKey = kNoKey;
    CDWordArray m_multiKeys;

    // The extra list columns: same length, filled once at start-up.
    CStringArray m_colNames;
    CWordArray m_colFields; // CHUNKS field numbers, from 1
    CWordArray m_colTypes;  // DAO field types

    ItemTag m_curTag = NoItem; // the current tree item
    int m_bInfoPane = 0;
    int m_sortColumn = 0; // 0 unsorted, +(c + 1) ascending, -(c + 1) descending by column c
    ExplorerMode m_mode = ExplorerMode::None;

    // ---- Life cycle ----
    BOOL OnInitDialog() override;
    void OnOK() override;
    // The one way the dialog ends with OK.
    void EndWithResult(std::uint32_t key, std::uint32_t entry);
    void ValidateSaveAs();

    // ---- Folder tree ----
    int FillRoot();
    void ExpandFolder(HTREEITEM item, FolderId folderKey);
    int InsertTreeChildren(HTREEITEM parent, const CDWordArray& folderKeys,
                           const CStringArray& folderNames, const CDWordArray& chunkKeys,
                           const CStringArray& chunkNames);
    // `start` may be TVI_ROOT for the top level.
    HTREEITEM FindTreeItem(HTREEITEM start, ItemTag tag, BOOL recurse);
    int SelectTreeItem(std::uint32_t key, ItemKind kind, BOOL expand);
    int OpenItem(ItemTag tag, BOOL expand);

    // ---- Item list ----
    int FillList(ItemTag tag);
    int InsertListRows(const CDWordArray& folderKeys, const CStringArray& folderNames,
                       const CDWordArray& chunkKeys, const CStringArray& chunkNames);
    int ShowChunkInfo(ItemTag tag);

    // ---- Cell editing (the value text is in dialog/value_text.h) ----
    // The editing path of a double click that hits no list item.
    void OnDblClkListCell(CPoint point);

    // ---- Commands and context menus ----
    enum WalkMode { MayRename = 1, MayRemove = 2, Remove = 3 };
    void GatherCmdTags(BOOL fromList);
    void BuildContextMenu(BOOL fromList);
    BOOL WalkItems(int mode, const CDWordArray& tags);
    CString MakeUniqueName(UINT baseId, UINT formatId);
    HTREEITEM FindSiblingByName(HTREEITEM parentItem, const CString& name);
    BOOL RemoveFromViews(const CDWordArray& tags);
    BOOL MayMoveInto(ItemTag destination);
    BOOL CanPasteInto(ItemTag destination);

    afx_msg void OnNewFolder();
    afx_msg void OnNewChunk();
    afx_msg void OnOpen();
    afx_msg void OnCut();
    afx_msg void OnPaste();
    afx_msg void OnRemove();
    afx_msg void OnRename();
    afx_msg void OnSelect();
    afx_msg void OnUp();
    afx_msg void OnRemoveChecked();

    // ---- Drag and drop ----
    CPoint DragImageOffset();
    void ClearDropHighlight();

    // ---- Pane layout and splitter ----
    void CaptureLayout();
    void LayoutControls();
    void BeginTracking();
    void EndTracking(BOOL apply);
    void DrawTrackBar(const CRect& rect);

    // ---- View modes and sorting ----
    afx_msg void OnViewLargeIcons();
    afx_msg void OnViewSmallIcons();
    afx_msg void OnViewList();
    afx_msg void OnViewDetails();
    afx_msg void OnInfoPane();
    // The list's sort callback: tags of two rows and the sort key m_sortColumn.
    static int CompareRows(LPARAM tag1, LPARAM tag2, LPARAM sortKey);

protected:
    void DoDataExchange(CDataExchange* dx) override;

    // Tree.
    afx_msg void OnItemExpandedTree(NMHDR* notify, LRESULT* result);
    afx_msg void OnSelChangedTree(NMHDR* notify, LRESULT* result);
    afx_msg void OnDblClkTree(NMHDR* notify, LRESULT* result);
    afx_msg void OnSetFocusTree(NMHDR* notify, LRESULT* result);
    afx_msg void OnTreeBeginLabelEdit(NMHDR* notify, LRESULT* result);
    afx_msg void OnTreeEndLabelEdit(NMHDR* notify, LRESULT* result);
    afx_msg void OnTreeRightClick(NMHDR* notify, LRESULT* result);

    // List.
    afx_msg void OnColumnClickList(NMHDR* notify, LRESULT* result);
    afx_msg void OnDblClkList(NMHDR* notify, LRESULT* result);
    afx_msg void OnItemChangedList(NMHDR* notify, LRESULT* result);
    afx_msg void OnSetFocusList(NMHDR* notify, LRESULT* result);
    afx_msg void OnBeginDragList(NMHDR* notify, LRESULT* result);
    afx_msg void OnListBeginLabelEdit(NMHDR* notify, LRESULT* result);
    afx_msg void OnListEndLabelEdit(NMHDR* notify, LRESULT* result);
    afx_msg void OnListRightClick(NMHDR* notify, LRESULT* result);
    afx_msg void OnCustomDrawList(NMHDR* notify, LRESULT* result);

    // Splitter and drag.
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnSize(UINT type, int cx, int cy);

private:
    void CreateToolBar();
    void FindExtraColumns();

    DECLARE_MESSAGE_MAP()
};

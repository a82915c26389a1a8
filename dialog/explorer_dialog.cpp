#include "dialog/explorer_dialog.h"

#include "interface/context.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "store/shared_recordsets.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kNameLimit = 128;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// The toolbar: with the read-only flag the editing buttons before "up one level" are left out.
constexpr int kToolbarButtons = 10;
constexpr int kToolbarImages = 10;
constexpr int kReadOnlyButtons = 7;

constexpr TBBUTTON Button(int image, UINT command) {
    return TBBUTTON{image, static_cast<int>(command), TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1};
}
constexpr TBBUTTON Separator() {
    return TBBUTTON{0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, -1};
}

constexpr std::array<TBBUTTON, kToolbarButtons> kToolbarTable{{
    Button(0, ID_NEW_FOLDER),
    Button(1, ID_REMOVE_CHECKED),
    Separator(),
    Button(2, ID_UP),
    Separator(),
    Button(3, ID_VIEW_LARGE_ICONS),
    Button(4, ID_VIEW_SMALL_ICONS),
    Button(5, ID_VIEW_LIST),
    Button(6, ID_VIEW_DETAILS),
    Button(7, ID_INFO_PANE),
}};

} // namespace

ExplorerDialog::ExplorerDialog(CWnd* parent) : CDialog(IDD_EXPLORER, parent) {}

ExplorerDialog::~ExplorerDialog() = default;

void ExplorerDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_READ_ONLY, m_bReadOnly);
    DDX_Text(dx, IDC_NAME_EDIT, m_strName);
    DDV_MaxChars(dx, m_strName, kNameLimit);
}

// The message map; entries are searched in this order.
BEGIN_MESSAGE_MAP(ExplorerDialog, CDialog)
ON_NOTIFY(TVN_ITEMEXPANDED, IDC_TREE, OnItemExpandedTree)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnSelChangedTree)
ON_COMMAND(ID_INFO_PANE, OnInfoPane)
ON_COMMAND(ID_VIEW_SMALL_ICONS, OnViewSmallIcons)
ON_COMMAND(ID_VIEW_LARGE_ICONS, OnViewLargeIcons)
ON_COMMAND(ID_VIEW_LIST, OnViewList)
ON_COMMAND(ID_VIEW_DETAILS, OnViewDetails)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_LIST, OnColumnClickList)
ON_NOTIFY(NM_DBLCLK, IDC_TREE, OnDblClkTree)
ON_NOTIFY(NM_DBLCLK, IDC_LIST, OnDblClkList)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChangedList)
ON_WM_SIZE()
ON_NOTIFY(NM_SETFOCUS, IDC_LIST, OnSetFocusList)
ON_NOTIFY(NM_SETFOCUS, IDC_TREE, OnSetFocusTree)
ON_NOTIFY(LVN_BEGINDRAG, IDC_LIST, OnBeginDragList)
ON_NOTIFY(LVN_ENDLABELEDIT, IDC_LIST, OnListEndLabelEdit)
ON_NOTIFY(LVN_BEGINLABELEDIT, IDC_LIST, OnListBeginLabelEdit)
ON_NOTIFY(TVN_BEGINLABELEDIT, IDC_TREE, OnTreeBeginLabelEdit)
ON_NOTIFY(TVN_ENDLABELEDIT, IDC_TREE, OnTreeEndLabelEdit)
ON_NOTIFY(NM_RCLICK, IDC_LIST, OnListRightClick)
ON_NOTIFY(NM_RCLICK, IDC_TREE, OnTreeRightClick)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_LIST, OnCustomDrawList)
ON_COMMAND(ID_NEW_FOLDER, OnNewFolder)
ON_COMMAND(ID_NEW_CHUNK, OnNewChunk)
ON_COMMAND(ID_OPEN, OnOpen)
ON_COMMAND(ID_CUT, OnCut)
ON_COMMAND(ID_PASTE, OnPaste)
ON_COMMAND(ID_REMOVE, OnRemove)
ON_COMMAND(ID_REMOVE_CHECKED, OnRemoveChecked)
ON_COMMAND(ID_RENAME, OnRename)
ON_COMMAND(ID_SELECT, OnSelect)
ON_COMMAND(ID_UP, OnUp)
END_MESSAGE_MAP()

BOOL ExplorerDialog::OnInitDialog() {
    SetWindowText(m_strTitle);
    SetIcon(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_EXPLORER)), TRUE);

    CreateToolBar();

    if (CWnd* info = GetDlgItem(IDC_INFO_EDIT))
        info->ShowWindow(SW_HIDE);

    m_list.SubclassDlgItem(IDC_LIST, this);
    m_tree.SubclassDlgItem(IDC_TREE, this);
    if (!IsReadOnly()) {
        m_list.ModifyStyle(0, LVS_EDITLABELS);
        m_tree.ModifyStyle(0, TVS_EDITLABELS);
    }

    // The check box only carries the host's value through; the name belongs to save-as.
    if (CWnd* check = GetDlgItem(IDC_READ_ONLY))
        check->ShowWindow(SW_HIDE);
    if (m_mode != ExplorerMode::SaveAs) {
        if (CWnd* label = GetDlgItem(IDC_NAME_LABEL))
            label->ShowWindow(SW_HIDE);
        if (CWnd* name = GetDlgItem(IDC_NAME_EDIT))
            name->ShowWindow(SW_HIDE);
    }

    m_imlSmall.Create(IDB_SMALL_IMAGES, 16, 0, kMaskColour);
    m_imlLarge.Create(IDB_LARGE_IMAGES, 32, 1, kMaskColour);
    m_imlLarge.SetBkColor(CLR_NONE);
    m_tree.SetImageList(&m_imlSmall, TVSIL_NORMAL);
    m_list.SetImageList(&m_imlSmall, LVSIL_SMALL);
    m_list.SetImageList(&m_imlLarge, LVSIL_NORMAL);

    if (!IsReadOnly())
        FindExtraColumns();

    CDialog::OnInitDialog();

    CaptureLayout();
    LayoutControls();

    FillRoot();
    if (m_folderKey != kNoKey && m_folderKey != 0)
        SelectTreeItem(m_folderKey, ItemKind::Folder, TRUE);

    OnViewList();
    return TRUE;
}

void ExplorerDialog::CreateToolBar() {
    m_toolHost.SubclassDlgItem(IDC_TOOLBAR_HOST, this);
    m_toolBar.Create(WS_CHILD | WS_VISIBLE | CCS_TOP | CCS_NODIVIDER, CRect(0, 0, 50, 50),
                     &m_toolHost, IDC_TOOLBAR);
    m_toolBar.AddBitmap(kToolbarImages, IDB_TOOLBAR);

    std::array<TBBUTTON, kToolbarButtons> buttons = kToolbarTable;
    const int count = IsReadOnly() ? kReadOnlyButtons : kToolbarButtons;
    m_toolBar.AddButtons(count, buttons.data() + (kToolbarButtons - count));

    // The host button is only as wide as the buttons it carries.
    CRect last;
    if (!m_toolBar.GetItemRect(count - 1, &last))
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!m_toolHost.GetWindowPlacement(&placement))
        return;
    placement.rcNormalPosition.right = last.right + 5;
    m_toolHost.SetWindowPlacement(&placement);
}

void ExplorerDialog::FindExtraColumns() {
    m_colNames.RemoveAll();
    m_colFields.RemoveAll();
    m_colTypes.RemoveAll();
    ChunksTableScope scope(g_context.database);
    if (!ChunksRecordset.IsOpen())
        return;
    const short count = ChunksRecordset.GetFieldCount();
    for (short i = 0; i < count; ++i) {
        CDaoFieldInfo info;
        ChunksRecordset.GetFieldInfo(i, info, AFX_DAO_PRIMARY_INFO);
        if (!IsHaveAddPrefix(info.m_strName))
            continue;
        m_colFields.Add(static_cast<WORD>(i + 1));
        m_colTypes.Add(static_cast<WORD>(info.m_nType));
        m_colNames.Add(FilterAddPrefix(info.m_strName));
    }
}

void ExplorerDialog::OnOK() {
    if (m_mode == ExplorerMode::SaveAs) {
        ValidateSaveAs();
        return;
    }

    // Only the OK that ends the dialog hands the picked chunks over; an OK that opened a folder
    // instead must not leave its picks behind for the next one.
    m_multiKeys.RemoveAll();
    ItemTag tag = m_curTag;
    if (m_bListFocus) {
        const int first = m_list.GetNextItem(-1, LVNI_SELECTED);
        if (first < 0)
            return;
        tag = static_cast<ItemTag>(m_list.GetItemData(first));
        if (m_list.GetSelectedCount() >= 2) {
            for (int row = first; row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED)) {
                const auto rowTag = static_cast<ItemTag>(m_list.GetItemData(row));
                if (TagKind(rowTag) == ItemKind::Chunk)
                    m_multiKeys.Add(TagKey(rowTag));
            }
        }
    }
    if (tag == NoItem) {
        MessageBeep(MB_OK);
        return;
    }

    switch (m_mode) {
    case ExplorerMode::Folder:
        EndWithResult(TagKey(tag), kNoKey);
        break;
    case ExplorerMode::Target:
    case ExplorerMode::Chunk:
        if (TagKind(tag) == ItemKind::Folder) {
            // A folder is opened, not chosen; the view that had the focus keeps it.
            const BOOL fromList = m_bListFocus;
            OpenItem(tag, !fromList);
            if (fromList)
                m_list.SetFocus();
            else
                m_tree.SetFocus();
        } else if (m_mode == ExplorerMode::Target && TagKind(tag) == ItemKind::Entry) {
            EndWithResult(TagKey(m_curTag), TagKey(tag));
        } else {
            EndWithResult(TagKey(tag), kNoKey);
        }
        break;
    default:
        break;
    }
}

void ExplorerDialog::ValidateSaveAs() {
    if (IsReadOnly())
        return;
    UpdateData(TRUE);
    m_strName.Trim();
    if (m_strName.IsEmpty())
        return;
    // The field shows what is going to be stored; the transfer on ending reads it back.
    UpdateData(FALSE);

    // Save-as lists folders only, so the current tag is the folder's key.
    CDWordArray keys;
    CStringArray names;
    GetFolderChunks(m_curTag, keys, &names);
    const int count = std::min(keys.GetSize(), names.GetSize());
    for (int i = 0; i < count; ++i) {
        if (names[i].CompareNoCase(m_strName) != 0)
            continue;
        if (keys[i] == m_resultKey) {
            AfxMessageBox(IDS_ALREADY_IN_FOLDER, MB_OK);
            return;
        }
        if (AfxMessageBox(IDS_ASK_REPLACE, MB_YESNO) == IDYES)
            EndWithResult(keys[i], kNoKey);
        return;
    }
    EndWithResult(m_resultKey, kNoKey);
}

void ExplorerDialog::EndWithResult(std::uint32_t key, std::uint32_t entry) {
    m_resultKey = key;
    m_resultEntry = entry;
    if (TagKind(m_curTag) == ItemKind::Chunk)
        m_folderKey = static_cast<std::uint32_t>(GetChunkFolder(TagKey(m_curTag)));
    else
        m_folderKey = TagKey(m_curTag);
    UpdateData(TRUE);
    EndDialog(IDOK);
}

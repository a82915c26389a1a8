// The item list: the contents of the current tree item with their columns, the info pane that
// follows the selected row, and double clicks on items.
#include "dialog/explorer_dialog.h"
#include "dialog/redraw_pause.h"
#include "dialog/value_text.h"
#include "interface/context.h"
#include "interface/entry_table_reader.h"
#include "resources/artwork.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/listed_chunks.h"
#include "store/shared_recordsets.h"

#include <charconv>
#include <cstring>

namespace {

constexpr int kTypeColumn = 1;
constexpr int kDateColumn = 2;
constexpr int kKeyColumn = 3;
constexpr int kFirstExtraColumn = 4;

// List item indices above this are ignored by the double click and the save-as name copy.
constexpr int kMaxItemIndex = 10000;

constexpr UINT kRowMask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// A share of the list's client width, cut towards zero.
int ColumnWidth(const CListCtrl& list, double factor) {
    CRect client;
    list.GetClientRect(&client);
    return static_cast<int>((client.right - client.left) * factor);
}

CString KeyText(std::uint32_t key) {
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, key).ptr;
    return CString(buffer, static_cast<int>(end - buffer));
}

// The date field of the current record, read into a date that starts as zero and valid, as text
// in `text` (its storage reused from row to row).
const CString& DateText(CDaoRecord& record, int field, const DateTimeFormat& format,
                        CString& text) {
    COleDateTime date;
    record.GetField(field, date);
    format.Format(text, date);
    return text;
}

// The store hands out text as 8-bit characters; the value's text is taken as such, up to its
// first zero byte.
void RebuildText(COleVariant& value) {
    if (value.vt == VT_BSTR &&
        std::strlen(value.strVal.c_str()) != static_cast<std::size_t>(value.strVal.GetLength()))
        value.strVal = CString(value.strVal.c_str());
}

} // namespace

int ExplorerDialog::FillList(ItemTag tag) {
    const RedrawPause pause(m_list);
    m_list.DeleteAllItems();
    const bool rebuild = m_listTag == NoItem || TagKind(m_listTag) != TagKind(tag);
    if (rebuild) {
        while (m_list.GetColumnCount() > 0 && m_list.DeleteColumn(0)) {
        }
    }
    m_listTag = tag;

    if (TagKind(tag) == ItemKind::Chunk) {
        if (rebuild)
            m_list.InsertColumn(0, LoadText(IDS_COLUMN_NAME), LVCFMT_LEFT,
                                ColumnWidth(m_list, 0.85));
        HGLOBAL table = nullptr;
        if (g_context.callback && g_context.callback->GetEntries)
            table = g_context.callback->GetEntries(TagKey(tag));
        // Read within the block's bounds; the block is freed here.
        const std::vector<ChunkEntry> entries = ReadEntryTable(table);
        m_list.SetItemCount(static_cast<int>(entries.size()));
        for (std::size_t i = 0; i < entries.size(); ++i)
            m_list.InsertItem(kRowMask, static_cast<int>(i), entries[i].name, 0, 0, kImageEntry,
                              MakeTag(entries[i].key, ItemKind::Entry));
        return 1;
    }

    if (rebuild) {
        m_list.InsertColumn(0, LoadText(IDS_COLUMN_NAME), LVCFMT_LEFT, ColumnWidth(m_list, 0.4));
        m_list.InsertColumn(kTypeColumn, LoadText(IDS_COLUMN_TYPE), LVCFMT_LEFT,
                            ColumnWidth(m_list, 0.15));
        m_list.InsertColumn(kDateColumn, LoadText(IDS_COLUMN_CHANGED), LVCFMT_LEFT,
                            ColumnWidth(m_list, 0.3));
        m_list.InsertColumn(kKeyColumn, LoadText(IDS_COLUMN_ID), LVCFMT_LEFT,
                            ColumnWidth(m_list, 0.1));
        for (int k = 0; k < m_colNames.GetSize(); ++k)
            m_list.InsertColumn(kFirstExtraColumn + k, m_colNames[k]);
    }
    CDWordArray folderKeys;
    CStringArray folderNames;
    CDWordArray chunkKeys;
    CStringArray chunkNames;
    GetSubFolders(TagKey(tag), folderKeys, &folderNames);
    if (m_mode != ExplorerMode::Folder)
        GetFolderChunks(TagKey(tag), chunkKeys, &chunkNames);
    m_list.SetItemCount(folderKeys.GetSize() + chunkKeys.GetSize());
    return InsertListRows(folderKeys, folderNames, chunkKeys, chunkNames);
}

int ExplorerDialog::InsertListRows(const CDWordArray& folderKeys, const CStringArray& folderNames,
                                   const CDWordArray& chunkKeys, const CStringArray& chunkNames) {
    ExplorerTableScope folderScope(g_context.database);
    ChunksTableScope chunkScope(g_context.database);
    CDaoRecord folderRecord(&ExplorerRecordset);
    ListedChunkReader chunks(chunkKeys);
    const CString folderWord = LoadText(IDS_KIND_FOLDER);
    const CString chunkWord = LoadText(IDS_KIND_CHUNK);
    // The user's date format, read once for all the rows of this call.
    const DateTimeFormat dates;
    CString cell; // one cell's text at a time, its storage reused

    int position = 0;
    for (int i = 0; i < folderKeys.GetSize(); ++i) {
        const std::uint32_t key = folderKeys[i];
        const CString name = i < folderNames.GetSize() ? folderNames[i] : CString();
        const int row = m_list.InsertItem(kRowMask, position, name, 0, 0, kImageFolder,
                                          MakeTag(key, ItemKind::Folder));
        ++position;
        if (row < 0)
            continue;
        m_list.SetItemText(row, kTypeColumn, folderWord);
        // A folder whose record vanished keeps an empty date.
        if (SeekFolder(key))
            m_list.SetItemText(row, kDateColumn,
                               DateText(folderRecord, explorer_field::Date, dates, cell));
        m_list.SetItemText(row, kKeyColumn, KeyText(key));
    }
    for (int i = 0; i < chunkKeys.GetSize(); ++i) {
        const std::uint32_t key = chunkKeys[i];
        const CString name = i < chunkNames.GetSize() ? chunkNames[i] : CString();
        const int row = m_list.InsertItem(kRowMask, position, name, 0, 0, kImageChunk,
                                          MakeTag(key, ItemKind::Chunk));
        ++position;
        if (row < 0)
            continue;
        m_list.SetItemText(row, kTypeColumn, chunkWord);
        const bool found = chunks.Find(i) != 0;
        CDaoRecord& chunkRecord = chunks.Record();
        // A chunk whose record vanished keeps an empty date and empty extra cells.
        if (found)
            m_list.SetItemText(row, kDateColumn,
                               DateText(chunkRecord, chunk_field::ModifyDate, dates, cell));
        m_list.SetItemText(row, kKeyColumn, KeyText(key));
        if (!found)
            continue;
        for (int k = 0; k < m_colFields.GetSize(); ++k) {
            COleVariant value;
            if (!chunkRecord.GetFieldTrace(m_colFields[k], value))
                continue;
            RebuildText(value);
            if (::VariantToText(cell, value, dates))
                m_list.SetItemText(row, kFirstExtraColumn + k, cell);
        }
    }
    return 1;
}

int ExplorerDialog::ShowChunkInfo(ItemTag tag) {
    CWnd* info = GetDlgItem(IDC_INFO_EDIT);
    const bool treeShown = (m_tree.GetStyle() & WS_VISIBLE) != 0;
    const bool infoShown = info && (info->GetStyle() & WS_VISIBLE) != 0;
    if (m_bInfoPane && TagKind(tag) == ItemKind::Chunk) {
        if (treeShown)
            m_tree.ShowWindow(SW_HIDE);
        if (info && !infoShown)
            info->ShowWindow(SW_SHOW);
        ChunksTableScope scope(g_context.database);
        CDaoRecord record(&ChunksRecordset);
        CString text;
        char* data = nullptr;
        unsigned long size = 0;
        // A chunk that cannot be found counts as a failed read.
        if (!SeekChunk(TagKey(tag)) || !record.GetBLOB(chunk_field::Text, &data, size, nullptr)) {
            text = "error";
        } else if (size != 0) {
            text = CString(data, static_cast<int>(strnlen(data, size)));
            record.FreeLastAssignMem();
        }
        if (info)
            info->SetWindowText(text);
        return 1;
    }
    if (!treeShown)
        m_tree.ShowWindow(SW_SHOW);
    if (infoShown)
        info->ShowWindow(SW_HIDE);
    return 0;
}

void ExplorerDialog::OnItemChangedList(NMHDR* notify, LRESULT* result) {
    *result = 0;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(notify);
    if (!(change->uChanged & (LVIF_STATE | LVIF_TEXT)))
        return;
    const bool selected =
        (change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0;
    const auto tag = static_cast<ItemTag>(change->lParam);
    if (selected)
        ShowChunkInfo(tag);
    if (m_mode == ExplorerMode::SaveAs && TagKind(tag) == ItemKind::Chunk &&
        (selected || (change->uChanged & LVIF_TEXT) != 0)) {
        UpdateData(TRUE);
        if (change->iItem >= 0 && change->iItem <= kMaxItemIndex)
            m_strName = m_list.GetItemText(change->iItem, 0);
        UpdateData(FALSE);
    }
}

void ExplorerDialog::OnDblClkList(NMHDR*, LRESULT* result) {
    *result = 0;
    CPoint point;
    GetCursorPos(&point);
    m_list.ScreenToClient(&point);

    UINT flags = 0;
    int index = m_list.HitTest(point, &flags);
    if (index >= 0 && !(flags & LVHT_ONITEM))
        index = -1;
    if (index >= 0 && (m_list.GetStyle() & LVS_TYPEMASK) == LVS_REPORT) {
        // In the report view only the first column is the item.
        LVHITTESTINFO hit{};
        hit.pt = point;
        if (m_list.SubItemHitTest(&hit) != index || hit.iSubItem != 0)
            index = -1;
    }
    if (index < 0) {
        OnDblClkListCell(point);
        return;
    }
    if (index > kMaxItemIndex)
        return;

    const auto tag = static_cast<ItemTag>(m_list.GetItemData(index));
    const ItemKind kind = TagKind(tag);
    switch (m_mode) {
    case ExplorerMode::Folder:
        if (kind == ItemKind::Folder)
            SelectTreeItem(TagKey(tag), ItemKind::Folder, FALSE);
        break;
    case ExplorerMode::Target:
        if (kind == ItemKind::Folder || kind == ItemKind::Chunk)
            OpenItem(tag, FALSE);
        else if (kind == ItemKind::Entry)
            EndWithResult(TagKey(m_curTag), TagKey(tag));
        break;
    case ExplorerMode::Chunk:
        if (kind == ItemKind::Folder)
            OpenItem(tag, FALSE);
        else if (kind == ItemKind::Chunk)
            EndWithResult(TagKey(tag), kNoKey);
        break;
    case ExplorerMode::SaveAs:
        if (kind == ItemKind::Folder)
            OpenItem(tag, FALSE);
        break;
    default:
        break;
    }
}

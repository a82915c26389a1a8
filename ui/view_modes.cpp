// The list's four views with their toolbar buttons, sorting by the standard columns, the info-pane
// switch and the focus notifications.
#include "dialog/explorer_dialog.h"
#include "interface/context.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/listed_chunks.h"
#include "store/shared_recordsets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// The view buttons in the order their pressed states are set.
constexpr UINT kViewButtons[] = {ID_VIEW_SMALL_ICONS, ID_VIEW_LARGE_ICONS, ID_VIEW_LIST,
                                 ID_VIEW_DETAILS};

constexpr int kNameColumn = 0;
constexpr int kTypeColumn = 1;
constexpr int kDateColumn = 2;
constexpr int kLastSortColumn = 3;

// What a row sorts by: its tag and, for the name and date columns, the field read from the store.
struct SortKey {
    ItemTag tag = NoItem;
    CString name;
    COleDateTime date; // zero and valid until read
};

// The column a sort key means (0 to 3), or -1 for key 0.
int SortColumn(int sortKey) {
    return sortKey == 0 ? -1 : std::abs(sortKey) - 1;
}

// Whether comparing the two tags under `sortKey` looks at stored fields at all.
bool NeedsFields(ItemTag tag1, ItemTag tag2, int sortKey) {
    const int column = SortColumn(sortKey);
    return (column == kNameColumn || column == kDateColumn) && TagKind(tag1) != ItemKind::Entry &&
           TagKind(tag1) == TagKind(tag2);
}

// The name or date of the current record; a field that cannot be read leaves the empty name or
// the zero date.
void ReadSortField(SortKey& key, CDaoRecord& record, int column, int nameField, int dateField) {
    if (column == kNameColumn)
        record.GetField(nameField, key.name);
    else
        record.GetField(dateField, key.date);
}

// Reads the row's name or date, opening the table for its kind (a nested scope costs nothing
// when the table is open already). A record that is missing leaves the empty name or the zero
// date.
void ReadSortKey(SortKey& key, int column) {
    const ItemKind kind = TagKind(key.tag);
    if (kind == ItemKind::Folder) {
        ExplorerTableScope scope(g_context.database);
        CDaoRecord record(&ExplorerRecordset);
        if (SeekFolder(TagKey(key.tag)))
            ReadSortField(key, record, column, explorer_field::Name, explorer_field::Date);
    } else if (kind == ItemKind::Chunk) {
        ChunksTableScope scope(g_context.database);
        CDaoRecord record(&ChunksRecordset);
        if (SeekChunk(TagKey(key.tag)))
            ReadSortField(key, record, column, chunk_field::UsrId, chunk_field::ModifyDate);
    }
}

// The order of two rows, from their tags and the fields read for them.
int CompareSortKeys(const SortKey& a, const SortKey& b, int sortKey) {
    if (sortKey == 0)
        return 0;
    const int direction = sortKey > 0 ? 1 : -1;
    const ItemKind kind1 = TagKind(a.tag);
    const ItemKind kind2 = TagKind(b.tag);
    if (kind1 == ItemKind::Entry)
        return 0; // entry rows are not ordered
    const int column = SortColumn(sortKey);
    if (kind1 != kind2) {
        const int folderFirst = kind1 == ItemKind::Chunk ? 1 : -1;
        return column == kTypeColumn ? folderFirst * direction : folderFirst;
    }
    switch (column) {
    case kNameColumn: {
        // Byte order of unsigned 8-bit values up to the terminating zero; case matters.
        const int order = std::strcmp(a.name.c_str(), b.name.c_str());
        if (order == 0)
            return 0;
        return (order > 0 ? 1 : -1) * direction;
    }
    case kTypeColumn:
        return 0;
    case kDateColumn: {
        // Equal values are one instant, however encoded: a time on 30 Dec 1899 can be stored
        // either way round (-0.25 and 0.25 are both 06:00). Only so is the order a real one.
        const bool later = b.date < a.date;
        const bool sameInstant = !later && !(a.date < b.date);
        if (sameInstant && a.date.GetStatus() == b.date.GetStatus())
            return 0;
        if (sameInstant) // told apart by their states alone
            return (a.date.GetStatus() > b.date.GetStatus() ? 1 : -1) * direction;
        return (later ? 1 : -1) * direction;
    }
    default: // the key, as an unsigned number
        return (TagKey(a.tag) > TagKey(b.tag) ? 1 : -1) * direction;
    }
}

// Each row's fields read once before sorting, for a comparison that looks them up by tag.
struct SortCache {
    int sortKey = 0;
    std::unordered_map<ItemTag, SortKey> keys;

    const SortKey& Find(ItemTag tag) {
        auto found = keys.find(tag);
        if (found == keys.end())
            found = keys.emplace(tag, SortKey{tag, CString(), COleDateTime()}).first;
        return found->second;
    }
};

int CompareCached(LPARAM tag1, LPARAM tag2, LPARAM cache) {
    auto& sort = *reinterpret_cast<SortCache*>(cache);
    return CompareSortKeys(sort.Find(static_cast<ItemTag>(tag1)),
                           sort.Find(static_cast<ItemTag>(tag2)), sort.sortKey);
}

// Sorts the rows as CompareRows orders them. For the name and date columns each row's field is
// read once beforehand, with both tables open for the whole read, instead of twice per
// comparison; the comparison itself is the same.
void SortRows(ExplorerDialog& dialog) {
    const int sortKey = dialog.m_sortColumn;
    if (sortKey == 0)
        return; // every pair compares equal and the list's sort is stable: nothing moves
    const int column = SortColumn(sortKey);
    if (column != kNameColumn && column != kDateColumn) {
        dialog.m_list.SortItems(&ExplorerDialog::CompareRows, sortKey);
        return;
    }
    const int count = dialog.m_list.GetItemCount();
    std::vector<ItemTag> tags(static_cast<std::size_t>(count));
    int folders = 0;
    int chunks = 0;
    for (int i = 0; i < count; ++i) {
        tags[static_cast<std::size_t>(i)] = static_cast<ItemTag>(dialog.m_list.GetItemData(i));
        folders += TagKind(tags[static_cast<std::size_t>(i)]) == ItemKind::Folder;
        chunks += TagKind(tags[static_cast<std::size_t>(i)]) == ItemKind::Chunk;
    }
    // Fields are compared only between two rows of one kind, so a kind with a single row (or
    // none) needs neither its fields nor its table: the table stays closed, as it would if every
    // comparison read for itself.
    const bool readFolders = folders > 1;
    const bool readChunks = chunks > 1;
    SortCache cache;
    cache.sortKey = sortKey;
    {
        std::optional<ExplorerTableScope> folderScope;
        std::optional<ChunksTableScope> chunkScope;
        if (readFolders)
            folderScope.emplace(g_context.database);
        if (readChunks)
            chunkScope.emplace(g_context.database);
        cache.keys.reserve(tags.size());
        // Read in the order of the records' keys, whatever order the rows are in: records looked
        // up one after another in key order are found a step or two on from the last, and chunks
        // numbered as they were filed come in the order a listing of their folder meets them.
        std::vector<ItemTag> reading(tags);
        std::sort(reading.begin(), reading.end());
        reading.erase(std::unique(reading.begin(), reading.end()), reading.end());
        CDWordArray chunkKeys;
        for (const ItemTag tag : reading)
            if (readChunks && TagKind(tag) == ItemKind::Chunk)
                chunkKeys.Add(TagKey(tag));
        ListedChunkReader chunkReader(chunkKeys);
        CDaoRecord folderRecord(&ExplorerRecordset);
        int nextChunk = 0;
        for (const ItemTag tag : reading) {
            const ItemKind kind = TagKind(tag);
            SortKey key{tag, CString(), COleDateTime()};
            // A record that is missing leaves the empty name or the zero date.
            if (kind == ItemKind::Folder && readFolders) {
                if (SeekFolder(TagKey(tag)))
                    ReadSortField(key, folderRecord, column, explorer_field::Name,
                                  explorer_field::Date);
            } else if (kind == ItemKind::Chunk && readChunks) {
                if (chunkReader.Find(nextChunk++))
                    ReadSortField(key, chunkReader.Record(), column, chunk_field::UsrId,
                                  chunk_field::ModifyDate);
            } else {
                continue;
            }
            cache.keys.emplace(tag, std::move(key));
        }
    }
    dialog.m_list.SortItems(&CompareCached, reinterpret_cast<LPARAM>(&cache));
}

void SwitchView(ExplorerDialog& dialog, UINT command, DWORD view) {
    if ((dialog.m_list.GetStyle() & LVS_TYPEMASK) != view) {
        dialog.m_list.ModifyStyle(LVS_TYPEMASK, view);
        SortRows(dialog);
    }
    for (UINT button : kViewButtons)
        dialog.m_toolBar.CheckButton(static_cast<int>(button), button == command);
}

} // namespace

void ExplorerDialog::OnViewLargeIcons() {
    SwitchView(*this, ID_VIEW_LARGE_ICONS, LVS_ICON);
}

void ExplorerDialog::OnViewSmallIcons() {
    SwitchView(*this, ID_VIEW_SMALL_ICONS, LVS_SMALLICON);
}

void ExplorerDialog::OnViewList() {
    SwitchView(*this, ID_VIEW_LIST, LVS_LIST);
}

void ExplorerDialog::OnViewDetails() {
    SwitchView(*this, ID_VIEW_DETAILS, LVS_REPORT);
}

void ExplorerDialog::OnInfoPane() {
    m_bInfoPane = m_bInfoPane == 0 ? 1 : 0;
    if (m_list.GetSelectedCount() == 1) {
        const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
        if (row >= 0)
            ShowChunkInfo(static_cast<ItemTag>(m_list.GetItemData(row)));
    }
    m_toolBar.CheckButton(ID_INFO_PANE, m_bInfoPane);
}

void ExplorerDialog::OnColumnClickList(NMHDR* notify, LRESULT* result) {
    const int column = reinterpret_cast<const NMLISTVIEW*>(notify)->iSubItem;
    if (column < 0 || column > kLastSortColumn)
        return; // extra columns do not sort
    if (std::abs(m_sortColumn) == column + 1)
        m_sortColumn = -m_sortColumn;
    else
        m_sortColumn = column + 1;
    SortRows(*this);
    *result = 0;
}

int ExplorerDialog::CompareRows(LPARAM tag1, LPARAM tag2, LPARAM sortKey) {
    const int key = static_cast<int>(sortKey);
    SortKey a{static_cast<ItemTag>(tag1), CString(), COleDateTime()};
    SortKey b{static_cast<ItemTag>(tag2), CString(), COleDateTime()};
    if (NeedsFields(a.tag, b.tag, key)) {
        ReadSortKey(a, SortColumn(key));
        ReadSortKey(b, SortColumn(key));
    }
    return CompareSortKeys(a, b, key);
}

void ExplorerDialog::OnSetFocusList(NMHDR*, LRESULT* result) {
    m_bListFocus = 1;
    *result = 0;
}

void ExplorerDialog::OnSetFocusTree(NMHDR*, LRESULT* result) {
    m_bListFocus = 0;
    *result = 0;
}

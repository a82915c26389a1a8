#include "dialog/value_text.h"
#include "interface/context.h"
#include "list_dialog_fixture.h"
#include "platform/global_memory.h"
#include "platform_test_locale.h"
#include "store/chunk_records.h"
#include "store/shared_recordsets.h"

#include <gmock/gmock.h>

#include <cstring>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const COleDateTime kShot(2025, 7, 14, 9, 30, 0);

class ItemListTest : public OnEveryBackend<ListDialogTest> {
protected:
    void SetUp() override {
        ListDialogTest::SetUp();
        if (IsSkipped())
            return;
        using namespace refhost::chunk_col;
        chunks().SetField(c1, Photographer, COleVariant("Müller"));
        chunks().SetField(c1, PictureNumber, COleVariant(std::int32_t{42}));
        chunks().SetField(c1, Released, COleVariant(std::int16_t{1}, VT_BOOL));
        chunks().SetField(c1, Fee, COleVariant(COleCurrency(12, 5000)));
        chunks().SetField(c1, ShotDate, COleVariant(kShot));
        chunks().SetField(c1, Exposure, COleVariant(0.125));
        chunks().SetText(c1, "Abendlicht");
        SetFolderDate(a1, "2024-05-06 07:08:09");
        SetFolderDate(a2, "2024-05-07 00:00:00");
        SetChunkDate(c1, "2026-01-02 03:04:05");
        SetChunkDate(c2, "2026-01-03 12:00:00");
    }

    static std::string Key(std::uint32_t key) { return std::to_string(key); }
};

const std::vector<std::string> kFolderHeaders{
    "Name",        "Typ",     "Geändert",      "ID",        "Fotograf", "Bildnummer",
    "Freigegeben", "Honorar", "Aufnahmedatum", "Belichtung"};

TEST_P(ItemListTest, FolderLayoutListsSubFoldersThenChunksWithEveryColumn) {
    ScopedLocaleEnvironment german(kGerman);
    db().Execute(
        ("UPDATE CHUNKS SET ADD_Fotograf = 'Ab' || char(0) || 'cd' WHERE ChunkSysID = " + Key(c2))
            .c_str());
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        // Column widths are the columns' own in the report view only.
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        EXPECT_EQ(dialog.m_listTag, MakeTag(a, ItemKind::Folder));
        EXPECT_EQ(ColumnHeaders(list), kFolderHeaders);
        const int width = ClientWidth(list);
        ASSERT_GT(width, 100);
        // Shares of the client width, left-aligned.
        const double shares[] = {0.4, 0.15, 0.3, 0.1};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(list.GetColumnWidth(c), static_cast<int>(width * shares[c])) << c;
            LVCOLUMN column{};
            column.mask = LVCF_FMT;
            ASSERT_TRUE(list.GetColumn(c, &column));
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }

        EXPECT_THAT(RowTags(list),
                    ElementsAre(MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder),
                                MakeTag(c1, ItemKind::Chunk), MakeTag(c2, ItemKind::Chunk)));
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Alt", "Neu", "Hafen", "Leer"));
        EXPECT_THAT(ColumnTexts(list, 1),
                    ElementsAre("Verzeichnis", "Verzeichnis", "Standbild", "Standbild"));
        // Dates in the user's format; midnight without its time.
        EXPECT_THAT(ColumnTexts(list, 2),
                    ElementsAre("06.05.2024 07:08:09", "07.05.2024", "02.01.2026 03:04:05",
                                "03.01.2026 12:00:00"));
        EXPECT_THAT(ColumnTexts(list, 3), ElementsAre(Key(a1), Key(a2), Key(c1), Key(c2)));
        EXPECT_THAT((std::vector<int>{ItemImage(list, 0), ItemImage(list, 1), ItemImage(list, 2),
                                      ItemImage(list, 3)}),
                    ElementsAre(0, 0, 1, 1));

        // The extra cells of a chunk through VariantToText; folders and empty fields stay empty.
        std::vector<std::string> hafen;
        for (int c = 4; c < 10; ++c)
            hafen.push_back(list.GetItemText(2, c).str());
        EXPECT_THAT(hafen,
                    ElementsAre("Müller", "42", "1", "12,5", "14.07.2025 09:30:00", "0.125000"));
        // Text another program stored with a zero byte in it ends at that byte.
        EXPECT_EQ(list.GetItemText(3, 4).str(), "Ab");
        for (int c = 4; c < 10; ++c) {
            EXPECT_EQ(list.GetItemText(0, c), "") << c;
            if (c > 4) {
                EXPECT_EQ(list.GetItemText(3, c), "") << c;
            }
        }

        // Each fill writes dates in the format of the moment.
        ScopedLocaleEnvironment c("C");
        dialog.FillList(MakeTag(a, ItemKind::Folder));
        EXPECT_EQ(list.GetItemText(0, 2), "05/06/2024 07:08:09");
        EXPECT_EQ(list.GetItemText(2, 8), "07/14/2025 09:30:00");
    });
    EXPECT_EQ(ExplorerScopeDepth(), 0);
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

// In either mode the folder layout, extra columns included; an empty folder and one whose record
// is gone list nothing.
TEST_P(ItemListTest, FoldersAreListedWithChunksOutsideTheFolderModeAndEmptyOnesWithNothing) {
    for (const ExplorerMode mode : {ExplorerMode::Folder, ExplorerMode::Chunk}) {
        SCOPED_TRACE(static_cast<int>(mode));
        std::vector<ItemTag> rows{MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder)};
        if (mode != ExplorerMode::Folder)
            rows.insert(rows.end(), {MakeTag(c1, ItemKind::Chunk), MakeTag(c2, ItemKind::Chunk)});
        ExplorerDialog dialog;
        Run(dialog, mode, a, [&](UiDriver&) {
            EXPECT_EQ(ColumnHeaders(dialog.m_list), kFolderHeaders);
            EXPECT_EQ(RowTags(dialog.m_list), rows);
            for (const FolderId folder : {b, FolderId{4711}}) {
                EXPECT_EQ(dialog.FillList(MakeTag(folder, ItemKind::Folder)), 1);
                EXPECT_EQ(dialog.m_list.GetItemCount(), 0);
                EXPECT_EQ(ColumnHeaders(dialog.m_list), kFolderHeaders);
            }
        });
    }
}

TEST_P(ItemListTest, ColumnsAreRebuiltOnlyWhenTheKindChanges) {
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Target, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        const int width = ClientWidth(list);
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        // The user's widths survive a switch from folder to folder.
        list.SetColumnWidth(0, 77);
        list.SetColumnWidth(5, 33);
        ASSERT_TRUE(dialog.OpenItem(MakeTag(b, ItemKind::Folder), FALSE));
        EXPECT_EQ(dialog.m_curTag, MakeTag(b, ItemKind::Folder));
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(list.GetColumnWidth(0), 77);
        EXPECT_EQ(list.GetColumnWidth(5), 33);
        ASSERT_TRUE(dialog.OpenItem(MakeTag(a, ItemKind::Folder), FALSE));
        EXPECT_EQ(list.GetItemCount(), 4);
        EXPECT_EQ(list.GetColumnWidth(0), 77);

        // A chunk of the tree: its entries in the entry layout.
        ASSERT_TRUE(dialog.OpenItem(MakeTag(c1, ItemKind::Chunk), FALSE));
        EXPECT_EQ(dialog.m_listTag, MakeTag(c1, ItemKind::Chunk));
        EXPECT_THAT(ColumnHeaders(list), ElementsAre("Name"));
        EXPECT_EQ(list.GetColumnWidth(0), static_cast<int>(width * 0.85));
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Eins", "Zwei"));
        EXPECT_THAT(RowTags(list),
                    ElementsAre(MakeTag(e1, ItemKind::Entry), MakeTag(e2, ItemKind::Entry)));
        EXPECT_EQ(ItemImage(list, 0), 2);
        // From chunk to chunk the entry column keeps the user's width.
        list.SetColumnWidth(0, 55);
        ASSERT_TRUE(dialog.OpenItem(MakeTag(c2, ItemKind::Chunk), FALSE));
        EXPECT_EQ(dialog.m_listTag, MakeTag(c2, ItemKind::Chunk));
        EXPECT_EQ(list.GetColumnWidth(0), 55);
        EXPECT_EQ(list.GetItemCount(), 0);

        // Back to a folder: the layout is made anew from the client width.
        ASSERT_TRUE(dialog.OpenItem(MakeTag(a, ItemKind::Folder), FALSE));
        EXPECT_EQ(ColumnHeaders(list), kFolderHeaders);
        EXPECT_EQ(list.GetColumnWidth(0), static_cast<int>(width * 0.4));
        EXPECT_EQ(list.GetItemCount(), 4);
    });
}

// Entry tables handed out by the test instead of the host.
HGLOBAL nextTable = nullptr;
int entryCalls = 0;
HGLOBAL HandOutTable(ChunkId) {
    ++entryCalls;
    return nextTable;
}

// A block with the given header and room for `size` bytes; entries are written by the caller.
HGLOBAL MakeTable(std::size_t size, std::uint16_t first, std::uint16_t count,
                  std::uint16_t entrySize) {
    HGLOBAL block = GlobalAlloc(GHND, size);
    GlobalLockGuard lock(block);
    auto* bytes = static_cast<unsigned char*>(lock.data());
    const std::uint16_t header[] = {0, first, count, entrySize};
    std::memcpy(bytes, header, sizeof header);
    return block;
}

void PutEntry(HGLOBAL block, std::size_t at, std::uint32_t key, const char* name) {
    GlobalLockGuard lock(block);
    auto* bytes = static_cast<unsigned char*>(lock.data());
    std::memcpy(bytes + at + entry_table::kKeyOffset, &key, 4);
    std::memcpy(bytes + at + entry_table::kNameOffset, name, std::strlen(name));
}

TEST_P(ItemListTest, EntryTablesAreReadWithinTheirBlockAndFreed) {
    entryCalls = 0;
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Target, a, [&](UiDriver&) {
        CListCtrl& list = dialog.m_list;
        // The host has no table for a chunk without entries: an empty list, entry layout.
        ASSERT_TRUE(dialog.OpenItem(MakeTag(c2, ItemKind::Chunk), FALSE));
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_THAT(ColumnHeaders(list), ElementsAre("Name"));

        m_callback.GetEntries = &HandOutTable;
        const ItemTag chunk = MakeTag(c1, ItemKind::Chunk);
        // Three entries announced, the block holds one and a half: the rest lies past its end.
        nextTable = MakeTable(8 + 40 + 30, 8, 3, 40);
        PutEntry(nextTable, 8, 7, "Ganz");
        PutEntry(nextTable, 48, 0x40000009, ""); // its name would start past the block
        HGLOBAL handed = nextTable;
        dialog.FillList(chunk);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Ganz", ""));
        EXPECT_THAT(RowTags(list),
                    ElementsAre(MakeTag(7, ItemKind::Entry), MakeTag(9, ItemKind::Entry)));
        EXPECT_EQ(GlobalSize(handed), 0u) << "the block must be freed";

        // A count of zero.
        nextTable = MakeTable(64, 8, 0, 40);
        PutEntry(nextTable, 8, 5, "Nie");
        handed = nextTable;
        dialog.FillList(chunk);
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(GlobalSize(handed), 0u);

        // No GetEntries slot: nothing listed.
        m_callback.GetEntries = nullptr;
        dialog.FillList(chunk);
        EXPECT_EQ(list.GetItemCount(), 0);
        m_callback.GetEntries = refhost::Host::Callbacks()->GetEntries;
    });
    EXPECT_EQ(entryCalls, 2);
}

TEST_P(ItemListTest, InsertedRowsComeFirstInTheirOrderAndMissingRecordsStayEmpty) {
    ScopedLocaleEnvironment german(kGerman);
    SetFolderDate(b, "2023-03-04 05:06:07");
    const ChunkId c3 = chunks().Create("Dritter", b);
    chunks().SetField(c3, refhost::chunk_col::PictureNumber, COleVariant(std::int32_t{-3}));
    SetChunkDate(c3, "");
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver&) {
        CListCtrl& list = dialog.m_list;
        CDWordArray folderKeys, chunkKeys;
        CStringArray folderNames, chunkNames;
        folderKeys.Add(b);
        folderNames.Add("Bilder");
        folderKeys.Add(4711); // no such folder
        folderNames.Add("Weg");
        chunkKeys.Add(c3);
        chunkNames.Add("Dritter");
        chunkKeys.Add(4712); // no such chunk
        chunkNames.Add("Fort");
        EXPECT_EQ(dialog.InsertListRows(folderKeys, folderNames, chunkKeys, chunkNames), 1);
        EXPECT_EQ(ExplorerScopeDepth(), 0);
        EXPECT_EQ(ChunksScopeDepth(), 0);

        EXPECT_THAT(ColumnTexts(list, 0),
                    ElementsAre("Bilder", "Weg", "Dritter", "Fort", "Alt", "Neu", "Hafen", "Leer"));
        EXPECT_THAT(ColumnTexts(list, 1),
                    ElementsAre("Verzeichnis", "Verzeichnis", "Standbild", "Standbild",
                                "Verzeichnis", "Verzeichnis", "Standbild", "Standbild"));
        EXPECT_THAT(ColumnTexts(list, 3), ElementsAre(Key(b), "4711", Key(c3), "4712", Key(a1),
                                                      Key(a2), Key(c1), Key(c2)));
        EXPECT_EQ(list.GetItemText(0, 2), "04.03.2023 05:06:07");
        EXPECT_EQ(list.GetItemText(1, 2), "");
        // A null date reads as the zero date; a chunk whose record is gone shows nothing.
        EXPECT_EQ(list.GetItemText(2, 2), "00:00:00");
        EXPECT_EQ(list.GetItemText(2, 5), "-3");
        EXPECT_EQ(list.GetItemText(3, 2), "");
        for (int c = 4; c < 10; ++c)
            EXPECT_EQ(list.GetItemText(3, c), "") << c;
        EXPECT_EQ(list.GetItemText(6, 4), "Müller");

        // A date field holding text that is no date cannot be read as a date: the zero date.
        SetChunkDate(c2, "kein Datum");
        dialog.FillList(MakeTag(a, ItemKind::Folder));
        EXPECT_EQ(list.GetItemText(3, 2), "00:00:00");
        EXPECT_EQ(list.GetItemText(3, 0), "Leer");
    });
}

// A folder big enough that the fill meets its chunks on a walk of the folder, lying between
// another folder's: every row shows its own chunk's fields, also for a chunk that left the folder
// or vanished after the folder was listed.
TEST_P(ItemListTest, ABigScatteredFolderShowsEachChunksOwnFields) {
    using namespace refhost::chunk_col;
    std::vector<ChunkId> filed;
    for (int i = 0; i < 40; ++i) {
        filed.push_back(chunks().Create(("x" + std::to_string(i)).c_str(), b));
        chunks().SetField(filed.back(), PictureNumber, COleVariant(std::int32_t{i}));
        chunks().Create("y", a1);
    }
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, b, [&](UiDriver&) {
        CListCtrl& list = dialog.m_list;
        CDWordArray folderKeys, chunkKeys;
        CStringArray folderNames, chunkNames;
        for (int i = 0; i < 40; ++i) {
            chunkKeys.Add(filed[static_cast<std::size_t>(i)]);
            chunkNames.Add(("x" + std::to_string(i)).c_str());
        }
        CDWordArray listed;
        ASSERT_EQ(GetFolderChunks(b, listed, nullptr), 1);
        ASSERT_EQ(std::vector<DWORD>(listed.begin(), listed.end()),
                  std::vector<DWORD>(filed.begin(), filed.end()));
        list.DeleteAllItems();
        chunks().SetField(filed[10], PictureNumber, COleVariant(std::int32_t{-10}));
        CDWordArray moved;
        moved.Add(MakeTag(filed[10], ItemKind::Chunk));
        ASSERT_EQ(MoveItems(moved, a), 1);
        ASSERT_TRUE(chunks().Remove(filed[20]));
        EXPECT_EQ(dialog.InsertListRows(folderKeys, folderNames, chunkKeys, chunkNames), 1);

        ASSERT_EQ(list.GetItemCount(), 40);
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(list.GetItemText(i, 3), Key(filed[static_cast<std::size_t>(i)])) << i;
            const std::string number = i == 10 ? "-10" : i == 20 ? "" : std::to_string(i);
            EXPECT_EQ(list.GetItemText(i, 5), number) << i;
            EXPECT_EQ(list.GetItemText(i, 2) != "", i != 20) << i;
        }
    });
}

// While its button is pressed the info pane takes the tree's place for the one selected chunk and
// shows its text: up to the first zero byte, empty for an empty text, "error" for a chunk that
// cannot be read. A folder row, or more than one row selected, leaves the tree.
TEST_P(ItemListTest, InfoPaneShowsTheTextOfTheOneSelectedChunkWhileSwitchedOn) {
    chunks().SetText(c2, "");
    const ChunkId c3 = chunks().Create("Gemischt", a);
    chunks().SetText(c3, std::string("vorn\0hinten", 11));
    std::string longText;
    for (int i = 1; i <= 60; ++i)
        longText += "Zeile " + std::to_string(i) + "\r\n";
    chunks().SetText(chunks().Create("Lang", a), longText);
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        CWnd* info = dialog.GetDlgItem(IDC_INFO_EDIT);
        ASSERT_NE(info, nullptr);
        auto infoText = [&] {
            CString text;
            info->GetWindowText(text);
            return text;
        };
        auto expectPane = [&](bool infoShown, bool switchedOn) {
            EXPECT_EQ((dialog.m_tree.GetStyle() & WS_VISIBLE) == 0, infoShown);
            EXPECT_EQ((info->GetStyle() & WS_VISIBLE) != 0, infoShown);
            EXPECT_EQ(dialog.m_bInfoPane, switchedOn ? 1 : 0);
            EXPECT_EQ(dialog.m_toolBar.IsButtonChecked(ID_INFO_PANE) != 0, switchedOn);
        };
        auto toggle = [&] { d.ClickToolbarButton(dialog.m_toolBar, ID_INFO_PANE); };

        d.ClickListItem(list, 2);
        expectPane(false, false);
        toggle();
        expectPane(true, true);
        EXPECT_EQ(infoText(), "Abendlicht");
        d.ClickListItem(list, 3); // an empty text
        EXPECT_EQ(infoText(), "");
        expectPane(true, true);
        list.SetItemState(4, LVIS_FOCUSED, LVIS_FOCUSED); // focus alone shows nothing new
        EXPECT_EQ(infoText(), "");
        d.ClickListItem(list, 4);
        EXPECT_EQ(infoText(), "vorn");
        d.PressKey(VK_UP); // the list keeps its own keys
        EXPECT_EQ(infoText(), "");
        d.PressKey(VK_DOWN);
        EXPECT_EQ(infoText(), "vorn");
        // A text longer than the pane scrolls under the wheel; the next one starts at its top.
        d.ClickListItem(list, 5);
        auto* pane = static_cast<CEdit*>(info);
        CRect paneClient;
        pane->GetClientRect(&paneClient);
        d.MouseWheel(*pane, paneClient.CenterPoint(), -2);
        EXPECT_EQ(pane->GetFirstVisibleLine(), 6);
        d.ClickListItem(list, 4);
        EXPECT_EQ(pane->GetFirstVisibleLine(), 0);
        ASSERT_TRUE(chunks().Remove(c1));
        d.ClickListItem(list, 2);
        EXPECT_EQ(infoText(), "error");
        d.ClickListItem(list, 0);
        expectPane(false, true);
        toggle();
        expectPane(false, false);

        // Two rows selected: the switch changes the flag and the button, not the panes.
        d.ClickListItem(list, 3);
        d.ClickListItem(list, 4, MK_CONTROL);
        ASSERT_EQ(list.GetSelectedCount(), 2u);
        toggle();
        expectPane(false, true);

        // Switched on with one chunk selected, the pane shows it at once, in the first row too.
        toggle();
        CDWordArray none, keys;
        CStringArray noNames, names;
        keys.Add(c3);
        names.Add("Gemischt");
        dialog.InsertListRows(none, noNames, keys, names);
        d.ClickListItem(list, 0);
        toggle();
        expectPane(true, true);
        EXPECT_EQ(infoText(), "vorn");
    });
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

TEST_P(ItemListTest, SaveAsCopiesTheNameOfTheSelectedOrRenamedChunk) {
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::SaveAs, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        CWnd* name = dialog.GetDlgItem(IDC_NAME_EDIT);
        ASSERT_NE(name, nullptr);
        auto field = [&] {
            CString text;
            name->GetWindowText(text);
            return text;
        };
        d.ClickListItem(list, 2);
        EXPECT_EQ(dialog.m_strName, "Hafen");
        EXPECT_EQ(field(), "Hafen");
        list.SetItemState(3, LVIS_FOCUSED, LVIS_FOCUSED); // focused, not selected: not copied
        EXPECT_EQ(field(), "Hafen");
        d.ClickListItem(list, 0); // a folder: the name stays
        EXPECT_EQ(field(), "Hafen");
        list.SetItemText(3, 0, "Umbenannt"); // a chunk given a new name in the list
        EXPECT_EQ(dialog.m_strName, "Umbenannt");
        EXPECT_EQ(field(), "Umbenannt");
        list.SetItemText(1, 0, "Ordner"); // a folder's new name is not copied
        EXPECT_EQ(field(), "Umbenannt");

        // Rows past index 10000 are not copied.
        CDWordArray none, keys;
        CStringArray noNames, names;
        for (int i = 0; i < 10002; ++i) {
            keys.Add(static_cast<DWORD>(100000 + i));
            names.Add(CString(std::to_string(i)));
        }
        dialog.InsertListRows(none, noNames, keys, names);
        list.SetItemState(10001, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(field(), "Umbenannt");
        list.SetItemState(10000, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(field(), "10000");
        list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED); // the inserted rows come first
        EXPECT_EQ(field(), "0");
    });
}

TEST_P(ItemListTest, DoubleClickOnAChunkChoosesItInChunkModeUpToRow10000) {
    ExplorerDialog dialog;
    const INT_PTR result = Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        // Rows past index 10000 are ignored: 9,999 rows on top push "Hafen" to row 10001.
        CDWordArray none, keys;
        CStringArray noNames, names;
        for (int i = 0; i < 9999; ++i) {
            keys.Add(c2);
            names.Add("Kopie");
        }
        dialog.InsertListRows(none, noNames, keys, names);
        ASSERT_STREQ(list.GetItemText(10001, 0), "Hafen");
        list.EnsureVisible(10001, FALSE);
        d.DoubleClickListItem(list, 10001);
        EXPECT_EQ(dialog.m_resultKey, kNoKey);
        EXPECT_EQ(dialog.m_curTag, MakeTag(a, ItemKind::Folder));
        // At row 10000 it is chosen.
        list.DeleteItem(0);
        ASSERT_STREQ(list.GetItemText(10000, 0), "Hafen");
        d.DoubleClickListItem(list, 10000);
        Ended();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_resultKey, c1);
    EXPECT_EQ(dialog.m_resultEntry, kNoKey);
    EXPECT_EQ(dialog.m_folderKey, a);
}

TEST_P(ItemListTest, DoubleClicksInTheReportViewCountOnTheFirstColumnOnly) {
    ExplorerDialog dialog;
    const INT_PTR result = Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        CRect cell;
        ASSERT_TRUE(list.GetSubItemRect(2, 3, LVIR_BOUNDS, cell));
        d.DoubleClick(list, cell.CenterPoint()); // the "ID" cell: no item, no editor
        EXPECT_EQ(dialog.m_curTag, MakeTag(a, ItemKind::Folder));
        ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell)); // the first row's too
        d.DoubleClick(list, cell.CenterPoint());
        EXPECT_EQ(dialog.m_curTag, MakeTag(a, ItemKind::Folder));
        // A folder row opens the folder.
        d.DoubleClickListItem(list, 1);
        EXPECT_EQ(dialog.m_curTag, MakeTag(a2, ItemKind::Folder));
        EXPECT_EQ(list.GetItemCount(), 0);
    });
    EXPECT_EQ(result, IDCANCEL);
}

// A folder row opens the folder in the tree, unexpanded, in every mode; a chunk row does nothing
// when saving, opens the chunk in the target mode, where an entry row is then chosen.
TEST_P(ItemListTest, DoubleClicksByModeOpenFoldersUnexpanded) {
    // Both sub-folders have folders below them, so an expansion would show.
    MakeFolder("Unter Alt", a1);
    MakeFolder("Unter Neu", a2);
    const struct {
        ExplorerMode mode;
        int row;
        FolderId opened;
    } cases[] = {{ExplorerMode::Folder, 0, a1},
                 {ExplorerMode::Chunk, 0, a1},
                 {ExplorerMode::SaveAs, 1, a2},
                 {ExplorerMode::Target, 1, a2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        ExplorerDialog dialog;
        const INT_PTR result = Run(dialog, c.mode, a, [&](UiDriver& d) {
            if (c.mode == ExplorerMode::SaveAs) {
                d.DoubleClickListItem(dialog.m_list, 2); // a chunk: nothing
                EXPECT_EQ(dialog.m_curTag, MakeTag(a, ItemKind::Folder));
            }
            d.DoubleClickListItem(dialog.m_list, c.row);
            EXPECT_EQ(dialog.m_curTag, MakeTag(c.opened, ItemKind::Folder));
            const HTREEITEM item = dialog.m_tree.GetSelectedItem();
            EXPECT_EQ(dialog.m_tree.GetItemData(item), MakeTag(c.opened, ItemKind::Folder));
            EXPECT_TRUE(dialog.m_tree.ItemHasChildren(item));
            EXPECT_FALSE(dialog.m_tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
    ExplorerDialog dialog;
    EXPECT_EQ(Run(dialog, ExplorerMode::Target, a,
                  [&](UiDriver& d) {
                      d.DoubleClickListItem(dialog.m_list, 2); // the chunk opens in the tree
                      EXPECT_EQ(dialog.m_curTag, MakeTag(c1, ItemKind::Chunk));
                      ASSERT_THAT(ColumnTexts(dialog.m_list, 0), ElementsAre("Eins", "Zwei"));
                      d.DoubleClickListItem(dialog.m_list, 1); // an entry is chosen
                      Ended();
                  }),
              IDOK);
    EXPECT_EQ(dialog.m_resultKey, c1);
    EXPECT_EQ(dialog.m_resultEntry, e2);
    EXPECT_EQ(dialog.m_folderKey, a);
}

INSTANTIATE_TEST_SUITE_P(Backends, ItemListTest, testing::ValuesIn(UiDriverNames()));

} // namespace

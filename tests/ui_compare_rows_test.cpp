// CompareRows on its own, reading the store for every comparison, and the list's sorts proved
// to order exactly as it does.
#include "list_dialog_fixture.h"
#include "store/shared_recordsets.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <iterator>

namespace {

using ::testing::ElementsAre;

class CompareRowsTest : public ListDialogTest {
protected:
    int Compare(ItemTag tag1, ItemTag tag2, int key) {
        return ExplorerDialog::CompareRows(static_cast<LPARAM>(tag1), static_cast<LPARAM>(tag2),
                                           key);
    }
};

TEST_F(CompareRowsTest, KindsComeFirstAndOnlyTypeDescendingPutsChunksFirst) {
    const ItemTag folder = MakeTag(a1, ItemKind::Folder);
    const ItemTag chunk = MakeTag(c1, ItemKind::Chunk);
    const ItemTag entry = MakeTag(e1, ItemKind::Entry);
    for (int key : {1, -1, 3, -3, 4, -4}) {
        EXPECT_EQ(Compare(folder, chunk, key), -1) << key;
        EXPECT_EQ(Compare(chunk, folder, key), 1) << key;
    }
    EXPECT_EQ(Compare(folder, chunk, 2), -1);
    EXPECT_EQ(Compare(folder, chunk, -2), 1);
    EXPECT_EQ(Compare(chunk, folder, -2), -1);
    EXPECT_EQ(Compare(folder, MakeTag(a2, ItemKind::Folder), 2), 0);
    EXPECT_EQ(Compare(folder, MakeTag(a2, ItemKind::Folder), -2), 0);
    for (int key : {0, 1, -1, 2, -2, 3, 4, -4}) {
        EXPECT_EQ(Compare(entry, MakeTag(e2, ItemKind::Entry), key), 0) << key;
        EXPECT_EQ(Compare(entry, folder, key), 0) << key; // an entry first: no order
    }
    EXPECT_EQ(Compare(folder, chunk, 0), 0);
    EXPECT_EQ(ExplorerScopeDepth(), 0);
    EXPECT_EQ(ChunksScopeDepth(), 0);
}

TEST_F(CompareRowsTest, NamesByUnsignedBytesWithCase) {
    const ChunkId upper = chunks().Create("Bild", a);
    const ChunkId lower = chunks().Create("bild", a);
    const ChunkId umlaut = chunks().Create("Ähre", a);
    const ChunkId same = chunks().Create("Bild", b);
    const ChunkId longer = chunks().Create("Bilder", a);
    auto tag = [](ChunkId key) { return MakeTag(key, ItemKind::Chunk); };
    EXPECT_EQ(Compare(tag(upper), tag(lower), 1), -1); // 'B' before 'b'
    EXPECT_EQ(Compare(tag(lower), tag(upper), 1), 1);
    EXPECT_EQ(Compare(tag(upper), tag(lower), -1), 1);
    EXPECT_EQ(Compare(tag(lower), tag(umlaut), 1), -1); // 0xC3 is above every ASCII byte
    EXPECT_EQ(Compare(tag(upper), tag(same), 1), 0);
    EXPECT_EQ(Compare(tag(upper), tag(same), -1), 0);
    EXPECT_EQ(Compare(tag(upper), tag(longer), 1), -1);
    // Folders by their own names.
    EXPECT_EQ(Compare(MakeTag(a, ItemKind::Folder), MakeTag(b, ItemKind::Folder), 1), -1);
    EXPECT_EQ(Compare(MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder), -1), 1);
    // A record that is gone reads as an empty name.
    EXPECT_EQ(Compare(tag(4711), tag(upper), 1), -1);
    EXPECT_EQ(Compare(tag(4711), tag(4712), 1), 0);
}

TEST_F(CompareRowsTest, DatesAndUnsignedKeys) {
    SetChunkDate(c1, "2026-01-02 03:04:05");
    SetChunkDate(c2, "2026-01-02 03:04:06");
    const ChunkId undated = chunks().Create("Ohne", a);
    const ChunkId twin = chunks().Create("Zwilling", a);
    SetChunkDate(undated, "");
    SetChunkDate(twin, "2026-01-02 03:04:05");
    auto tag = [](ChunkId key) { return MakeTag(key, ItemKind::Chunk); };
    EXPECT_EQ(Compare(tag(c1), tag(c2), 3), -1);
    EXPECT_EQ(Compare(tag(c2), tag(c1), 3), 1);
    EXPECT_EQ(Compare(tag(c1), tag(c2), -3), 1);
    EXPECT_EQ(Compare(tag(c1), tag(twin), 3), 0);
    EXPECT_EQ(Compare(tag(undated), tag(c1), 3), -1); // null is the zero date
    EXPECT_EQ(Compare(tag(undated), tag(4711), 3), 0);
    const ChunkId garbled = chunks().Create("Kaputt", a);
    SetChunkDate(garbled, "kein Datum"); // unreadable as a date: the zero date as well
    EXPECT_EQ(Compare(tag(garbled), tag(undated), -3), 0);
    EXPECT_EQ(Compare(tag(garbled), tag(c1), -3), 1);
    SetFolderDate(a1, "1999-12-31 23:59:59");
    SetFolderDate(a2, "1899-12-29 06:00:00"); // before the zero date
    EXPECT_EQ(Compare(MakeTag(a2, ItemKind::Folder), MakeTag(a1, ItemKind::Folder), 3), -1);
    EXPECT_EQ(Compare(MakeTag(a2, ItemKind::Folder), MakeTag(a1, ItemKind::Folder), -3), 1);
    // Before the zero date the time of day still runs forwards.
    SetFolderDate(a1, "1899-12-29 12:00:00");
    EXPECT_EQ(Compare(MakeTag(a2, ItemKind::Folder), MakeTag(a1, ItemKind::Folder), 3), -1);
    EXPECT_EQ(Compare(MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder), 3), 1);
    // Two encodings of one instant, as another program may store them, are the same date.
    db().Execute(("UPDATE EXPLORER SET DATE = -0.25 WHERE ID = " + std::to_string(a1)).c_str());
    db().Execute(("UPDATE EXPLORER SET DATE = 0.25 WHERE ID = " + std::to_string(a2)).c_str());
    EXPECT_EQ(Compare(MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder), 3), 0);
    EXPECT_EQ(Compare(MakeTag(a2, ItemKind::Folder), MakeTag(a1, ItemKind::Folder), 3), 0);

    // Keys as unsigned 30-bit numbers, whatever the records say.
    EXPECT_EQ(Compare(MakeTag(0x3FFFFFFF, ItemKind::Chunk), MakeTag(1, ItemKind::Chunk), 4), 1);
    EXPECT_EQ(Compare(MakeTag(0x20000000, ItemKind::Folder), MakeTag(7, ItemKind::Folder), 4), 1);
    EXPECT_EQ(Compare(MakeTag(7, ItemKind::Folder), MakeTag(0x20000000, ItemKind::Folder), -4), 1);
    EXPECT_EQ(Compare(tag(5), tag(5), 4), -1); // equal keys: never 0
    EXPECT_EQ(Compare(tag(5), tag(5), -4), 1);
    // Neither keys nor types are read from a record: with the chunk table gone nothing is said.
    db().Execute("DROP TABLE CHUNKS");
    EXPECT_EQ(Compare(tag(c2), tag(c1), 4), 1);
    EXPECT_EQ(Compare(tag(c2), tag(c1), 2), 0);
    EXPECT_TRUE(m_driver->Messages().empty());
}

// The sort of the view reads each row's field once; its order must be the one CompareRows gives.
TEST_F(CompareRowsTest, TheViewsSortOrdersExactlyAsCompareRows) {
    // Duplicates, case variants, bytes above ASCII, null and equal dates, a vanished record.
    const char* names[] = {"bild", "Bild", "BILD", "Bild", "Ähre", "", "Zebra", "bild", "Anker"};
    const char* dates[] = {"2026-01-02 03:04:05", "", "2026-01-02 03:04:05", "1899-12-29 06:00:00",
                           "2020-02-02 02:02:02", "", "2030-01-01 00:00:00", "2026-01-02 03:04:05",
                           "2026-01-02 03:04:04"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const ChunkId chunk = chunks().Create(("x" + std::to_string(i)).c_str(), a);
        SetChunkName(chunk, names[i]);
        SetChunkDate(chunk, dates[i]);
    }
    const FolderId upper = MakeFolder("NEU", a);
    const FolderId same = MakeFolder("Alt2", a);
    db().Execute(("UPDATE EXPLORER SET NAME = 'Alt' WHERE ID = " + std::to_string(same)).c_str());
    SetFolderDate(a1, "");
    SetFolderDate(upper, "2026-01-02 03:04:05");

    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        const ItemTag folder = MakeTag(a, ItemKind::Folder);
        // The list as filled, with a row on top whose record is gone.
        auto refill = [&] {
            dialog.FillList(folder);
            CDWordArray noFolders, gone;
            CStringArray noNames, goneNames;
            gone.Add(4711);
            goneNames.Add("Weg");
            dialog.InsertListRows(noFolders, noNames, gone, goneNames);
        };
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        for (int column : {0, 2, 3, 1}) {
            for (int direction : {1, -1}) {
                const int key = direction * (column + 1);
                refill();
                ASSERT_EQ(list.GetItemCount(), 16);
                list.SortItems(&ExplorerDialog::CompareRows, key);
                const std::vector<ItemTag> expected = RowTags(list);

                refill();
                dialog.m_sortColumn = direction > 0 ? 0 : -key; // the click turns it round
                d.ClickColumnHeader(list, column);
                ASSERT_EQ(dialog.m_sortColumn, key);
                EXPECT_EQ(RowTags(list), expected) << "sort key " << key;
                // A real order: every neighbour pair is in CompareRows order.
                const std::vector<ItemTag> rows = RowTags(list);
                for (std::size_t i = 1; i < rows.size(); ++i)
                    EXPECT_LE(ExplorerDialog::CompareRows(rows[i - 1], rows[i], key), 0)
                        << "sort key " << key << " row " << i;
            }
        }
        // By name: folders first, then the bytes' order; the vanished row reads as empty.
        refill();
        dialog.m_sortColumn = 0;
        d.ClickColumnHeader(list, 0);
        EXPECT_THAT(ColumnTexts(list, 0),
                    ElementsAre("Alt", "Alt", "NEU", "Neu", "Weg", "", "Anker", "BILD", "Bild",
                                "Bild", "Hafen", "Leer", "Zebra", "bild", "bild", "Ähre"));
    });
}

// A folder big enough that the sort reads its chunks on a walk of the folder, its chunks lying
// between another folder's: the order is still exactly CompareRows'.
TEST_F(CompareRowsTest, ABigScatteredFolderSortsExactlyAsCompareRows) {
    const char* names[] = {"Kai", "kai", "Mole", "Ähre", "Boje", "Kai", "", "Anker", "Mole"};
    for (int i = 0; i < 45; ++i) {
        const ChunkId chunk = chunks().Create("x", a);
        SetChunkName(chunk, names[i % std::size(names)]);
        // Dates out of step with the names, some equal, some null.
        const std::string date = "2026-03-" + std::to_string(10 + (i * 7) % 13) + " 12:00:00";
        SetChunkDate(chunk, i % 11 == 0 ? "" : date.c_str());
        chunks().Create("y", b);
    }

    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        for (int column : {0, 2}) {
            for (int direction : {1, -1}) {
                const int key = direction * (column + 1);
                dialog.FillList(MakeTag(a, ItemKind::Folder));
                ASSERT_GT(list.GetItemCount(), 45);
                list.SortItems(&ExplorerDialog::CompareRows, key);
                const std::vector<ItemTag> expected = RowTags(list);

                dialog.FillList(MakeTag(a, ItemKind::Folder));
                dialog.m_sortColumn = direction > 0 ? 0 : -key;
                d.ClickColumnHeader(list, column);
                EXPECT_EQ(RowTags(list), expected) << "sort key " << key;
            }
        }
    });
}

} // namespace

// Choosing from the item list: OK with one or several rows selected, per mode, and what the entry
// points hand back, the picked-chunk block included.
#include "host/chunk_list.h"
#include "platform/global_memory.h"
#include "resources/resource_ids.h"
#include "tests/dialog_test_fixture.h"

namespace {

class DialogListChoiceTest : public OnEveryBackend<DialogTest> {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped())
            return;
        Init();
        m_folder = MakeFolder("Ablage", 0);
        m_sub = MakeFolder("Unterordner", m_folder);
        m_c1 = MakeChunk("Eins", m_folder);
        m_c2 = MakeChunk("Zwei", m_folder);
        m_c3 = MakeChunk("Drei", m_folder);
    }

    // Selects the rows named `names`, the first with a plain click, the others with Ctrl.
    static void SelectRows(UiDriver& d, CListCtrl& list, const std::vector<const char*>& names) {
        UINT keys = 0;
        for (const char* name : names) {
            const int row = d.FindListItem(list, name);
            ASSERT_GE(row, 0) << name;
            d.ClickListItem(list, row, keys);
            keys = MK_CONTROL;
        }
    }

    FolderId m_folder = 0;
    FolderId m_sub = 0;
    ChunkId m_c1 = 0;
    ChunkId m_c2 = 0;
    ChunkId m_c3 = 0;
};

// The first selected row in list order is the choice, whatever the order of the clicks; the block
// holds every selected chunk in list order and nothing else: sorted by "Typ" descending the chunks
// come first, and a folder selected after them stays out, also when one chunk is all there is.
// The hidden check box gives back a check state: what it was given, or off for anything else.
TEST_P(DialogListChoiceTest, SelectedChunksComeBackAsABlockAfterTheFirst) {
    struct Case {
        std::vector<const char*> rows;
        int check, checkBack;
        std::vector<std::uint32_t> block;
    };
    for (const Case& c : {Case{{"Drei", "Unterordner", "Eins", "Zwei"}, 1, 1, {m_c1, m_c2, m_c3}},
                          Case{{"Zwei", "Unterordner"}, 5, 0, {m_c2}}}) {
        std::uint32_t chunk = 0;
        std::uint32_t folder = m_folder;
        int check = c.check;
        void* list = nullptr;
        m_driver->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            d.ClickToolbarButton(dialog->m_toolBar, ID_VIEW_DETAILS);
            d.ClickColumnHeader(dialog->m_list, 1);
            d.ClickColumnHeader(dialog->m_list, 1);
            SelectRows(d, dialog->m_list, c.rows);
            EXPECT_EQ(dialog->m_list.GetSelectedCount(), c.rows.size());
            d.PressButton(IDOK);
        });
        ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bilder"), 1);
        ExpectScriptDone();
        EXPECT_EQ(chunk, c.block.front());
        EXPECT_EQ(folder, m_folder);
        EXPECT_EQ(check, c.checkBack);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(GlobalSize(static_cast<HGLOBAL>(list)), 4 + 4 * c.block.size()); // count, keys
        EXPECT_EQ(refhost::TakeChunkList(list), c.block);
    }
}

// The folder is opened in the list, which keeps the focus, and not expanded in the tree; the
// later choice of one chunk comes back alone, with none of the earlier OK's picks.
TEST_P(DialogListChoiceTest, AFolderAmongTheSelectedRowsIsOpenedInstead) {
    MakeFolder("Tiefer", m_sub);
    const ChunkId inner = MakeChunk("Vier", m_sub);
    std::uint32_t chunk = 0;
    std::uint32_t folder = m_folder;
    int check = 0;
    void* list = reinterpret_cast<void*>(1);
    m_driver
        ->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            // Folders are listed first, so the folder is the chosen row.
            SelectRows(d, dialog->m_list, {"Unterordner", "Eins", "Zwei"});
            d.PressButton(IDOK);
            EXPECT_TRUE(StillOpen(d));
            EXPECT_EQ(dialog->m_curTag, FolderTag(m_sub));
            EXPECT_FALSE(IsExpanded(dialog->m_tree, dialog->m_tree.GetSelectedItem()));
            EXPECT_EQ(dialog->m_bListFocus, 1);
        })
        .Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            SelectRows(d, dialog->m_list, {"Vier"});
            d.PressButton(IDOK);
        });
    ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bild"), 1);
    ExpectScriptDone();
    EXPECT_EQ(chunk, inner);
    EXPECT_EQ(folder, m_sub);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(list, nullptr);
}

TEST_P(DialogListChoiceTest, FolderModeChoosesTheSelectedSubFolder) {
    std::uint32_t item = 0;
    std::uint32_t folder = m_folder;
    m_driver->Then([&](UiDriver& d) {
        ExplorerDialog* dialog = Active(d);
        ASSERT_NE(dialog, nullptr);
        SelectRows(d, dialog->m_list, {"Unterordner"});
        EXPECT_EQ(dialog->m_bListFocus, 1);
        d.PressButton(IDOK);
    });
    ASSERT_EQ(EXPL_GetFolder(item, folder, "Ordner"), 1);
    ExpectScriptDone();
    EXPECT_EQ(item, m_sub);
    // The folder is the one the tree shows, not the chosen one.
    EXPECT_EQ(folder, m_folder);
}

TEST_P(DialogListChoiceTest, AnEntryIsChosenWithTheChunkShownInTheTree) {
    ASSERT_NE(m_host.chunks().AddEntry(m_c2, "Erster Eintrag"), 0u);
    m_host.chunks().AddEntry(m_c2, "Zweiter Eintrag");
    const EntryId third = m_host.chunks().AddEntry(m_c2, "Dritter Eintrag");
    ASSERT_NE(third, m_c2); // the entry's key is told apart from the chunk's
    for (const bool doubleClick : {false, true}) {
        std::uint32_t item = 0;
        std::uint32_t entry = 0;
        std::uint32_t folder = m_folder;
        m_driver->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->OpenItem(ChunkTag(m_c2), FALSE), 1);
            const int row = d.FindListItem(dialog->m_list, "Dritter Eintrag");
            ASSERT_GE(row, 0);
            if (doubleClick) {
                d.DoubleClickListItem(dialog->m_list, row);
            } else {
                d.ClickListItem(dialog->m_list, row);
                d.PressButton(IDOK);
            }
        });
        ASSERT_EQ(EXPL_GetTarget(item, entry, folder, "Ziel"), 1);
        ExpectScriptDone();
        EXPECT_EQ(item, m_c2);
        EXPECT_EQ(entry, third);
        EXPECT_EQ(folder, m_folder);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogListChoiceTest, testing::ValuesIn(UiDriverNames()));

} // namespace

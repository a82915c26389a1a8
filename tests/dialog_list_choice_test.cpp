// Choosing from the item list: OK with one or several rows selected, per mode, and what the entry
// points hand back, the picked-chunk block included.
#include "platform/global_memory.h"
#include "tests/dialog_test_fixture.h"

#include <cstring>

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
    static void SelectRows(UiDriver& d, CListCtrl& list, std::initializer_list<const char*> names) {
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

std::vector<std::uint32_t> ReadBlock(void* handle, std::size_t& size) {
    auto* block = static_cast<HGLOBAL>(handle);
    size = GlobalSize(block);
    std::vector<std::uint32_t> words(size / 4);
    GlobalLockGuard lock(block);
    const auto* bytes = static_cast<const unsigned char*>(lock.data());
    for (std::size_t i = 0; bytes && i < words.size(); ++i)
        words[i] = bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 |
                   static_cast<std::uint32_t>(bytes[4 * i + 3]) << 24;
    return words;
}

TEST_P(DialogListChoiceTest, ThreeChunksComeBackAsABlockAfterTheFirst) {
    std::uint32_t chunk = 0;
    std::uint32_t folder = m_folder;
    int check = 1;
    void* list = nullptr;
    m_driver->Then([&](UiDriver& d) {
        ExplorerDialog* dialog = Active(d);
        ASSERT_NE(dialog, nullptr);
        SelectRows(d, dialog->m_list, {"Eins", "Zwei", "Drei"});
        EXPECT_EQ(dialog->m_list.GetSelectedCount(), 3u);
        d.PressButton(IDOK);
    });
    ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bilder"), 1);
    ExpectScriptDone();
    EXPECT_EQ(chunk, m_c1);
    EXPECT_EQ(folder, m_folder);
    EXPECT_EQ(check, 1); // the hidden check box gives back what it was given
    ASSERT_NE(list, nullptr);
    std::size_t size = 0;
    EXPECT_EQ(ReadBlock(list, size), (std::vector<std::uint32_t>{3, m_c1, m_c2, m_c3}));
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(GlobalFree(static_cast<HGLOBAL>(list)), nullptr);
}

TEST_P(DialogListChoiceTest, OneChunkComesBackAloneWithTheCheckValueUnchanged) {
    for (const int given : {0, 1}) {
        std::uint32_t chunk = 0;
        std::uint32_t folder = m_folder;
        int check = given;
        void* list = reinterpret_cast<void*>(1);
        m_driver->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            SelectRows(d, dialog->m_list, {"Zwei"});
            d.PressKey(VK_RETURN);
        });
        ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bild"), 1);
        ExpectScriptDone();
        EXPECT_EQ(chunk, m_c2);
        EXPECT_EQ(folder, m_folder);
        EXPECT_EQ(check, given);
        EXPECT_EQ(list, nullptr);
    }
}

TEST_P(DialogListChoiceTest, AFolderAmongTheSelectedRowsIsOpenedInstead) {
    const ChunkId inner = MakeChunk("Vier", m_sub);
    std::uint32_t chunk = 0;
    std::uint32_t folder = m_folder;
    int check = 0;
    void* list = nullptr;
    m_driver
        ->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            // Folders are listed first, so the folder is the chosen row.
            SelectRows(d, dialog->m_list, {"Unterordner", "Eins", "Zwei"});
            d.PressButton(IDOK);
            EXPECT_EQ(Active(d), dialog);
            EXPECT_EQ(dialog->m_curTag, FolderTag(m_sub));
        })
        .Then([&](UiDriver& d) {
            // The later choice of one chunk carries no picks of the earlier OK.
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            SelectRows(d, dialog->m_list, {"Vier"});
            d.PressButton(IDOK);
        });
    ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bild"), 1);
    ExpectScriptDone();
    EXPECT_EQ(chunk, inner);
    EXPECT_EQ(folder, m_sub);
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
    const EntryId first = m_host.chunks().AddEntry(m_c2, "Erster Eintrag");
    const EntryId second = m_host.chunks().AddEntry(m_c2, "Zweiter Eintrag");
    ASSERT_NE(first, 0u);
    for (const bool doubleClick : {false, true}) {
        std::uint32_t item = 0;
        std::uint32_t entry = 0;
        std::uint32_t folder = m_folder;
        m_driver->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->OpenItem(ChunkTag(m_c2), FALSE), 1);
            const int row = d.FindListItem(dialog->m_list, "Zweiter Eintrag");
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
        EXPECT_EQ(entry, second);
        EXPECT_EQ(folder, m_folder);
    }
}

TEST_P(DialogListChoiceTest, DoubleClickOnAChunkRowEndsTheChunkMode) {
    std::uint32_t chunk = 0;
    std::uint32_t folder = m_folder;
    int check = 0;
    void* list = nullptr;
    m_driver->Then([&](UiDriver& d) {
        ExplorerDialog* dialog = Active(d);
        ASSERT_NE(dialog, nullptr);
        d.DoubleClickListItem(dialog->m_list, d.FindListItem(dialog->m_list, "Drei"));
    });
    ASSERT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Bild"), 1);
    ExpectScriptDone();
    EXPECT_EQ(chunk, m_c3);
    EXPECT_EQ(folder, m_folder);
    EXPECT_EQ(list, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogListChoiceTest, testing::ValuesIn(UiDriverNames()));

} // namespace

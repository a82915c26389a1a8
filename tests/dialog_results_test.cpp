// How the dialog ends in each mode: OK on the tree, the save-as checks with their two messages,
// and the results the entry points copy back.
#include "interface/context.h"
#include "resources/resource_ids.h"
#include "tests/dialog_test_fixture.h"

#include <string>

namespace {

using DialogResultsTest = OnEveryBackend<DialogTest>;

TEST_P(DialogResultsTest, FolderModeReturnsTheCurrentTreeFolder) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const FolderId b = MakeFolder("B", a);
    std::uint32_t item = 0;
    std::uint32_t folder = b;
    m_driver->Then([&](UiDriver& d) {
        ASSERT_NE(Active(d), nullptr);
        EXPECT_EQ(Active(d)->m_curTag, FolderTag(b));
        d.PressButton(IDOK);
    });
    EXPECT_EQ(EXPL_GetFolder(item, folder, "Ordner"), 1);
    ExpectScriptDone();
    EXPECT_EQ(item, b);
    EXPECT_EQ(folder, b);

    // The root is a folder like any other.
    m_driver->Then([&](UiDriver& d) {
        ExplorerDialog* dialog = Active(d);
        ASSERT_NE(dialog, nullptr);
        d.ClickTreeItem(dialog->m_tree, dialog->m_hRoot);
        d.PressKey(VK_RETURN);
    });
    EXPECT_EQ(EXPL_GetFolder(item, folder, "Ordner"), 1);
    ExpectScriptDone();
    EXPECT_EQ(item, 0u);
    EXPECT_EQ(folder, 0u);
}

TEST_P(DialogResultsTest, OkWithTheListFocusedAndNoRowSelectedDoesNothing) {
    Init();
    MakeFolder("A", 0);
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, 0, [&](UiDriver& d) {
        d.Click(dialog.m_list, CPoint(3, 3));
        ASSERT_EQ(dialog.m_bListFocus, 1);
        ASSERT_EQ(dialog.m_list.GetSelectedCount(), 0u);
        d.PressButton(IDOK);
        EXPECT_TRUE(d.Beeps().empty());
        // Back in the tree, OK would act on the tree again.
        d.ClickTreeItem(dialog.m_tree, dialog.m_hRoot);
        EXPECT_EQ(dialog.m_bListFocus, 0);
    });
    EXPECT_EQ(dialog.m_resultKey, kNoKey);
}

TEST_P(DialogResultsTest, OkOnATreeFolderOpensItInTheTargetAndChunkModes) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    MakeFolder("B", a);
    for (const ExplorerMode mode : {ExplorerMode::Target, ExplorerMode::Chunk}) {
        SCOPED_TRACE(static_cast<int>(mode));
        ExplorerDialog dialog;
        RunThenEscape(dialog, mode, 0, [&](UiDriver& d) {
            HTREEITEM itemA = dialog.m_tree.GetChildItem(dialog.m_hRoot);
            d.ClickTreeItem(dialog.m_tree, itemA);
            ASSERT_FALSE(IsExpanded(dialog.m_tree, itemA));
            d.PressButton(IDOK);
            EXPECT_TRUE(IsExpanded(dialog.m_tree, itemA));
            EXPECT_EQ(CWnd::GetFocus(), &dialog.m_tree); // back from the button
        });
        EXPECT_EQ(dialog.m_resultKey, kNoKey);
    }
}

// The folder handed back with a chunk that is the current tree item is the chunk's own folder.
TEST_P(DialogResultsTest, ATreeChunkIsChosenAsTheTargetByOkOrDoubleClick) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    const ChunkId chunk = MakeChunk("Ziel", a);
    for (const bool doubleClick : {false, true}) {
        SCOPED_TRACE(doubleClick);
        std::uint32_t item = 0;
        std::uint32_t entry = 0;
        std::uint32_t folder = a;
        m_driver->Then([&](UiDriver& d) {
            ExplorerDialog* dialog = Active(d);
            ASSERT_NE(dialog, nullptr);
            HTREEITEM chunkItem = d.FindTreeItem(dialog->m_tree, {"Sammlung", "A", "Ziel"});
            ASSERT_NE(chunkItem, nullptr);
            if (doubleClick) {
                d.DoubleClickTreeItem(dialog->m_tree, chunkItem);
            } else {
                d.ClickTreeItem(dialog->m_tree, chunkItem);
                EXPECT_EQ(dialog->m_curTag, ChunkTag(chunk));
                d.PressButton(IDOK);
            }
        });
        EXPECT_EQ(EXPL_GetTarget(item, entry, folder, "Ziel"), 1);
        ExpectScriptDone();
        EXPECT_EQ(item, chunk);
        EXPECT_EQ(entry, kNoKey);
        EXPECT_EQ(folder, a);
    }
}

class SaveAsTest : public DialogResultsTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (IsSkipped())
            return;
        Init();
        m_folder = MakeFolder("Ablage", 0);
        m_own = MakeChunk("Mein Bild", m_folder);
        m_other = MakeChunk("ABC", m_folder);
        MakeChunk("abc", MakeFolder("Anderswo", 0));
    }

    // EXPL_ChunkSaveAs for the host's own chunk with `name` in the field.
    int SaveAs(const char* name) {
        m_chunk = m_own;
        m_name = name;
        m_folderOut = m_folder;
        return EXPL_ChunkSaveAs(m_chunk, m_name, m_folderOut, "Speichern unter");
    }

    FolderId m_folder = 0;
    ChunkId m_own = 0;
    ChunkId m_other = 0;
    std::uint32_t m_chunk = 0;
    CString m_name;
    std::uint32_t m_folderOut = 0;
};

constexpr char kReplaceQuestion[] =
    "Standbild mit diesem Namen existiert bereits. Vorhandenes Lesezeichen ersetzen ?";

TEST_P(SaveAsTest, ANewNameEndsWithTheHostsOwnChunk) {
    m_driver->Then([&](UiDriver& d) {
        CWnd* field = d.Control(IDC_NAME_EDIT);
        ASSERT_NE(field, nullptr);
        CString shown;
        field->GetWindowText(shown);
        EXPECT_STREQ(shown, "Vorschlag");
        // The suggestion cut and pasted back behind a typed name.
        d.Click(*field, CPoint(5, 5));
        d.PressKey('A', MK_CONTROL);
        d.PressKey('X', MK_CONTROL);
        d.TypeText("Neues Bild ");
        d.PressKey('V', MK_CONTROL);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(SaveAs("Vorschlag"), 1);
    ExpectScriptDone();
    EXPECT_TRUE(m_driver->Messages().empty());
    EXPECT_EQ(m_chunk, m_own);
    EXPECT_STREQ(m_name, "Neues Bild Vorschlag");
    EXPECT_EQ(m_folderOut, m_folder);
}

TEST_P(SaveAsTest, ATypedNameStopsAt128Characters) {
    m_driver->Then([&](UiDriver& d) {
        CWnd* field = d.Control(IDC_NAME_EDIT);
        ASSERT_NE(field, nullptr);
        d.Click(*field, CPoint(5, 5));
        d.PressKey('A', MK_CONTROL);
        d.TypeText(std::string(130, 'x'));
        d.PressButton(IDOK);
    });
    EXPECT_EQ(SaveAs("Vorschlag"), 1);
    ExpectScriptDone();
    EXPECT_EQ(std::string(m_name.str()), std::string(128, 'x'));
}

TEST_P(SaveAsTest, TheNameOfAnotherChunkAsksAndYesReplacesIt) {
    m_driver->QueueMessageBoxAnswer(IDYES);
    m_driver->Then([&](UiDriver& d) { d.PressButton(IDOK); });
    EXPECT_EQ(SaveAs("  abc\t "), 1);
    ExpectScriptDone();
    ASSERT_EQ(m_driver->Messages().size(), 1u);
    EXPECT_STREQ(m_driver->Messages()[0].text, kReplaceQuestion);
    EXPECT_EQ(m_driver->Messages()[0].type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(m_chunk, m_other);
    EXPECT_STREQ(m_name, "abc");
    EXPECT_EQ(m_folderOut, m_folder);
}

// The host's own chunk is in the folder already (letter case aside), the other chunk of the name
// is not to be replaced, the name is white space only, or the project has become read-only: the
// dialog stays open and the host gets nothing.
TEST_P(SaveAsTest, AnOkThatSavesNothingKeepsTheDialogOpen) {
    const struct {
        const char* name;
        const char* message; // the one the OK shows, or none
        UINT type;
        bool readOnly;
    } cases[] = {
        {"mein bild", "Verzeichnis enthält schon das Standbild.", MB_OK, false},
        {"ABC", kReplaceQuestion, MB_YESNO, false}, // answered No
        {" \t  ", nullptr, 0, false},
        {"Neu", nullptr, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t messages = m_driver->Messages().size();
        if (c.type == MB_YESNO)
            m_driver->QueueMessageBoxAnswer(IDNO);
        m_driver->Then([&](UiDriver& d) {
            g_context.readOnly = c.readOnly ? 1 : 0;
            d.PressButton(IDOK);
            g_context.readOnly = 0;
            EscapeOpenDialog(d);
        });
        EXPECT_EQ(SaveAs(c.name), 0);
        ExpectScriptDone();
        ASSERT_EQ(m_driver->Messages().size(), messages + (c.message ? 1 : 0));
        if (c.message) {
            EXPECT_STREQ(m_driver->Messages().back().text, c.message);
            EXPECT_EQ(m_driver->Messages().back().type & MB_TYPEMASK, c.type);
        }
        EXPECT_EQ(m_chunk, m_own);
        EXPECT_STREQ(m_name, c.name);
    }
    EXPECT_TRUE(m_driver->Beeps().empty());
}

TEST_P(SaveAsTest, AfterItsMessageTheNameIsSelectedToBeTypedOver) {
    m_driver->QueueMessageBoxAnswer(IDOK);
    m_driver->Then([&](UiDriver& d) {
        CWnd* field = d.Control(IDC_NAME_EDIT);
        ASSERT_NE(field, nullptr);
        d.Click(*field, CPoint(2, 5));
        d.PressKey(VK_END);
        d.PressKey(VK_RETURN); // the folder holds this chunk already: a message, and it stays
        EXPECT_EQ(CWnd::GetFocus(), field);
        d.TypeText("Neu");
        d.PressKey(VK_RETURN);
    });
    EXPECT_EQ(SaveAs("mein bild"), 1);
    ExpectScriptDone();
    ASSERT_EQ(m_driver->Messages().size(), 1u);
    EXPECT_STREQ(m_driver->Messages()[0].text, "Verzeichnis enthält schon das Standbild.");
    EXPECT_EQ(m_chunk, m_own);
    EXPECT_STREQ(m_name, "Neu");
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogResultsTest, testing::ValuesIn(UiDriverNames()));
INSTANTIATE_TEST_SUITE_P(Backends, SaveAsTest, testing::ValuesIn(UiDriverNames()));

} // namespace

// The browser dialog's start-up in each mode, with and without the read-only flag, and the
// preconditions of the four dialog entry points.
#include "platform/app.h"
#include "resources/resource_ids.h"
#include "tests/dialog_test_fixture.h"
#include "tests/support/ink.h"

#include <array>

namespace {

using DialogModesTest = OnEveryBackend<DialogTest>;

std::vector<int> ToolbarCommands(const CToolBarCtrl& toolbar) {
    std::vector<int> commands;
    for (int i = 0; i < toolbar.GetButtonCount(); ++i) {
        TBBUTTON button{};
        EXPECT_TRUE(toolbar.GetButton(i, &button));
        commands.push_back((button.fsStyle & TBSTYLE_SEP) ? 0 : button.idCommand);
    }
    return commands;
}

const std::vector<int> kAllButtons{57346, 57361, 0, 57360, 0, 32783, 32790, 32789, 32787, 32775};
const std::vector<int> kReadOnlyButtons{57360, 0, 32783, 32790, 32789, 32787, 32775};

bool Shown(ExplorerDialog& dialog, UINT id) {
    CWnd* control = dialog.GetDlgItem(static_cast<int>(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control && control->IsWindowVisible();
}

TEST(DialogAppTest, LoadingTheLibraryLeavesTheContextUninitialised) {
    // No fixture here: this is the state the application object left at load time.
    EXPECT_EQ(g_context.database, nullptr);
    EXPECT_EQ(g_context.callback, nullptr);
    EXPECT_EQ(g_context.readOnly, -1);
    auto* app = dynamic_cast<ExplorerApp*>(AfxGetApp());
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(app->InitInstance());
}

TEST(DialogObjectTest, AToolbarHostWithoutAParentSwallowsItsCommands) {
    ToolbarHost orphan;
    EXPECT_TRUE(orphan.OnCommand(MAKEWPARAM(ID_UP, 0), 0));
}

TEST_P(DialogModesTest, EachModeShowsTheNameFieldOnlyForSaving) {
    Init();
    for (const ExplorerMode mode :
         {ExplorerMode::Folder, ExplorerMode::Target, ExplorerMode::Chunk, ExplorerMode::SaveAs}) {
        SCOPED_TRACE(static_cast<int>(mode));
        ExplorerDialog dialog;
        const bool saving = mode == ExplorerMode::SaveAs;
        RunThenEscape(dialog, mode, kNoKey, [&](UiDriver& d) {
            CString title;
            dialog.GetWindowText(title);
            EXPECT_STREQ(title, "Auswahl");
            EXPECT_EQ(Shown(dialog, IDC_NAME_EDIT), saving);
            EXPECT_EQ(Shown(dialog, IDC_NAME_LABEL), saving);
            EXPECT_FALSE(Shown(dialog, IDC_READ_ONLY));
            EXPECT_FALSE(Shown(dialog, IDC_INFO_EDIT));
            for (UINT id :
                 {IDC_TREE, IDC_LIST, IDC_CAPTION, IDC_TOOLBAR_HOST, UINT(IDOK), UINT(IDCANCEL)})
                EXPECT_TRUE(Shown(dialog, id)) << "control " << id;
            EXPECT_EQ(dialog.m_list.GetDlgCtrlID(), int(IDC_LIST));
            EXPECT_EQ(dialog.m_tree.GetDlgCtrlID(), int(IDC_TREE));
            EXPECT_NE(dialog.GetIcon(TRUE), nullptr);
            // ... and the frame shows it: the library's icon is 32 pixels square.
            const CSize icon = d.FrameIconSize(dialog);
            EXPECT_EQ(icon.cx, 32);
            EXPECT_EQ(icon.cy, 32);
            // The first control the tab key reaches has the focus.
            EXPECT_EQ(CWnd::GetFocus(), &dialog.m_tree);
        });
    }
}

TEST_P(DialogModesTest, WritableDialogHasTenButtonsLabelEditingAndTheExtraColumns) {
    Init();
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Chunk, kNoKey, [&](UiDriver& d) {
        CToolBarCtrl& toolbar = dialog.m_toolBar;
        EXPECT_EQ(toolbar.GetDlgCtrlID(), int(IDC_TOOLBAR));
        EXPECT_EQ(toolbar.GetParent(), &dialog.m_toolHost);
        EXPECT_EQ(ToolbarCommands(toolbar), kAllButtons);
        const std::array<int, 10> images{0, 1, -1, 2, -1, 3, 4, 5, 6, 7};
        for (int i = 0; i < toolbar.GetButtonCount(); ++i) {
            TBBUTTON button{};
            toolbar.GetButton(i, &button);
            if (images[i] >= 0) {
                EXPECT_EQ(button.iBitmap, images[i]) << "button " << i;
                EXPECT_TRUE(toolbar.IsButtonEnabled(button.idCommand));
                // Its picture shows inside the edges: not all of it is the button's face.
                CRect inside;
                ASSERT_TRUE(toolbar.GetItemRect(i, &inside));
                inside.DeflateRect(3, 3);
                EXPECT_GE(FirstInk(d, toolbar, inside, d.PixelAt(toolbar, inside.TopLeft())), 0)
                    << "button " << i;
            }
        }

        // The host is cut to the buttons it carries.
        CRect last;
        ASSERT_TRUE(toolbar.GetItemRect(toolbar.GetButtonCount() - 1, &last));
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        ASSERT_TRUE(dialog.m_toolHost.GetWindowPlacement(&placement));
        EXPECT_EQ(placement.rcNormalPosition.right, last.right + 5);

        EXPECT_TRUE(dialog.m_list.GetStyle() & LVS_EDITLABELS);
        EXPECT_TRUE(dialog.m_tree.GetStyle() & TVS_EDITLABELS);

        EXPECT_EQ(dialog.m_tree.GetImageList(TVSIL_NORMAL), &dialog.m_imlSmall);
        EXPECT_EQ(dialog.m_list.GetImageList(LVSIL_SMALL), &dialog.m_imlSmall);
        EXPECT_EQ(dialog.m_list.GetImageList(LVSIL_NORMAL), &dialog.m_imlLarge);
        EXPECT_EQ(dialog.m_imlSmall.GetImageSize(), CSize(16, 16));
        EXPECT_EQ(dialog.m_imlLarge.GetImageSize(), CSize(32, 32));
        EXPECT_GE(dialog.m_imlSmall.GetImageCount(), 4);
        EXPECT_GE(dialog.m_imlLarge.GetImageCount(), 4);

        ASSERT_EQ(dialog.m_colNames.GetSize(), 6);
        ASSERT_EQ(dialog.m_colFields.GetSize(), 6);
        ASSERT_EQ(dialog.m_colTypes.GetSize(), 6);
        const char* names[] = {"Fotograf", "Bildnummer",    "Freigegeben",
                               "Honorar",  "Aufnahmedatum", "Belichtung"};
        const WORD types[] = {dbText, dbLong, dbBoolean, dbCurrency, dbDate, dbDouble};
        for (int k = 0; k < 6; ++k) {
            EXPECT_STREQ(dialog.m_colNames[k], names[k]);
            EXPECT_EQ(dialog.m_colFields[k], 23 + k); // counted from 1
            EXPECT_EQ(dialog.m_colTypes[k], types[k]);
        }
    });
}

TEST_P(DialogModesTest, ReadOnlyDialogHasSevenButtonsNoLabelEditingNoExtraColumns) {
    Init(1);
    std::uint32_t chunk = 5;
    std::uint32_t folder = 0;
    int check = 1;
    void* list = reinterpret_cast<void*>(1);
    m_driver->Then([&](UiDriver& d) {
        ExplorerDialog* dialog = Active(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->m_mode, ExplorerMode::Chunk);
        EXPECT_EQ(ToolbarCommands(dialog->m_toolBar), kReadOnlyButtons);
        EXPECT_FALSE(dialog->m_list.GetStyle() & LVS_EDITLABELS);
        EXPECT_FALSE(dialog->m_tree.GetStyle() & TVS_EDITLABELS);
        EXPECT_TRUE(dialog->m_colNames.IsEmpty());
        EXPECT_TRUE(dialog->m_colFields.IsEmpty());
        EXPECT_TRUE(dialog->m_colTypes.IsEmpty());
        EXPECT_STREQ(dialog->m_tree.GetItemText(dialog->m_hRoot), "Sammlung");
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(EXPL_GetChunk(chunk, check, folder, list, "Lesen"), 0);
    ExpectScriptDone();
    EXPECT_EQ(chunk, 5u);
    EXPECT_EQ(check, 1);
    EXPECT_EQ(list, reinterpret_cast<void*>(1));

    // The target dialog is shown read-only as well.
    std::uint32_t item = 9;
    std::uint32_t entry = 9;
    m_driver->Then([&](UiDriver& d) {
        ASSERT_NE(Active(d), nullptr);
        EXPECT_EQ(ToolbarCommands(Active(d)->m_toolBar), kReadOnlyButtons);
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(EXPL_GetTarget(item, entry, folder, "Ziel"), 0);
    ExpectScriptDone();
}

TEST_P(DialogModesTest, ReadOnlyFlagRefusesFolderChoiceAndSaveAsWithoutADialog) {
    Init(1);
    std::uint32_t item = 3;
    std::uint32_t folder = 4;
    CString name("Bild");
    EXPECT_EQ(EXPL_GetFolder(item, folder, "Ordner"), 0);
    EXPECT_EQ(EXPL_ChunkSaveAs(item, name, folder, "Speichern"), 0);
    EXPECT_EQ(item, 3u);
    EXPECT_EQ(folder, 4u);
    EXPECT_STREQ(name, "Bild");
    // A dialog would have found no script and been reported.
    ExpectScriptDone();
}

TEST_P(DialogModesTest, WithoutAnOpenDatabaseNoDialogRuns) {
    std::uint32_t item = 1;
    std::uint32_t entry = 2;
    std::uint32_t folder = 3;
    int check = 0;
    void* list = reinterpret_cast<void*>(1);
    CString name("Bild");

    // Before EXPL_Init nothing is there to browse.
    EXPECT_EQ(EXPL_GetFolder(item, folder, "a"), 0);
    EXPECT_EQ(EXPL_GetTarget(item, entry, folder, "b"), 0);
    EXPECT_EQ(EXPL_GetChunk(item, check, folder, list, "c"), 0);
    EXPECT_EQ(EXPL_ChunkSaveAs(item, name, folder, "d"), 0);
    ExpectScriptDone();

    // A database the host closed again.
    Init();
    db().Close();
    EXPECT_EQ(EXPL_GetFolder(item, folder, "a"), 0);
    EXPECT_EQ(EXPL_GetTarget(item, entry, folder, "b"), 0);
    EXPECT_EQ(EXPL_GetChunk(item, check, folder, list, "c"), 0);
    ExpectScriptDone();
    EXPECT_EQ(item, 1u);
    EXPECT_EQ(entry, 2u);
    EXPECT_EQ(folder, 3u);
    EXPECT_EQ(list, reinterpret_cast<void*>(1));
}

TEST_P(DialogModesTest, EscapeOrTheCloseButtonCopiesNothingBackInAnyMode) {
    Init();
    const FolderId a = MakeFolder("A", 0);
    MakeChunk("Bild", a);
    std::uint32_t item = 11;
    std::uint32_t entry = 12;
    std::uint32_t folder = a;
    int check = 1;
    void* list = reinterpret_cast<void*>(1);
    CString name("Neu");
    auto escape = [](UiDriver& d) { d.PressKey(VK_ESCAPE); };
    auto close = [](UiDriver& d) { d.ClickCloseButton(*d.ActiveWindow()); };

    m_driver->Then(escape);
    EXPECT_EQ(EXPL_GetFolder(item, folder, "1"), 0);
    m_driver->Then(close);
    EXPECT_EQ(EXPL_GetTarget(item, entry, folder, "2"), 0);
    m_driver->Then(escape);
    EXPECT_EQ(EXPL_GetChunk(item, check, folder, list, "3"), 0);
    m_driver->Then(close);
    EXPECT_EQ(EXPL_ChunkSaveAs(item, name, folder, "4"), 0);
    ExpectScriptDone();

    EXPECT_EQ(item, 11u);
    EXPECT_EQ(entry, 12u);
    EXPECT_EQ(folder, a);
    EXPECT_EQ(check, 1);
    EXPECT_EQ(list, reinterpret_cast<void*>(1));
    EXPECT_STREQ(name, "Neu");
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogModesTest, testing::ValuesIn(UiDriverNames()));

} // namespace

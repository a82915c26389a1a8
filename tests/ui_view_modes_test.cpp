// The list's four views with their toolbar buttons and sorting by column clicks, on every backend.
#include "list_dialog_fixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

constexpr UINT kViewCommands[] = {ID_VIEW_SMALL_ICONS, ID_VIEW_LARGE_ICONS, ID_VIEW_LIST,
                                  ID_VIEW_DETAILS};

// The view commands whose toolbar buttons are pressed, and the list's view.
std::vector<UINT> PressedViews(const CToolBarCtrl& toolbar) {
    std::vector<UINT> pressed;
    for (UINT command : kViewCommands)
        if (toolbar.IsButtonChecked(static_cast<int>(command)))
            pressed.push_back(command);
    return pressed;
}

DWORD View(const CListCtrl& list) {
    return list.GetStyle() & LVS_TYPEMASK;
}

using ViewModesTest = OnEveryBackend<ListDialogTest>;

// The dialog opens in the list view, unsorted; each view command sets its style and presses its
// button alone, the info-pane button untouched.
TEST_P(ViewModesTest, EachViewCommandSetsItsStyleAndPressesOnlyItsButton) {
    struct Case {
        UINT command;
        DWORD view;
    };
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        EXPECT_EQ(View(dialog.m_list), static_cast<DWORD>(LVS_LIST));
        EXPECT_THAT(PressedViews(dialog.m_toolBar), ElementsAre(ID_VIEW_LIST));
        EXPECT_FALSE(dialog.m_toolBar.IsButtonChecked(ID_INFO_PANE));
        EXPECT_THAT(ColumnTexts(dialog.m_list, 0), ElementsAre("Alt", "Neu", "Hafen", "Leer"));
        d.ClickToolbarButton(dialog.m_toolBar, ID_INFO_PANE);
        for (const Case& c :
             {Case{ID_VIEW_LARGE_ICONS, LVS_ICON}, Case{ID_VIEW_DETAILS, LVS_REPORT},
              Case{ID_VIEW_SMALL_ICONS, LVS_SMALLICON}, Case{ID_VIEW_LIST, LVS_LIST},
              Case{ID_VIEW_DETAILS, LVS_REPORT}}) {
            d.ClickToolbarButton(dialog.m_toolBar, c.command);
            EXPECT_EQ(View(dialog.m_list), c.view) << c.command;
            EXPECT_THAT(PressedViews(dialog.m_toolBar), ElementsAre(c.command));
            EXPECT_TRUE(dialog.m_toolBar.IsButtonChecked(ID_INFO_PANE));
            // The other style bits stay.
            EXPECT_TRUE(dialog.m_list.GetStyle() & LVS_EDITLABELS);
        }
    });
}

TEST_P(ViewModesTest, OnlyARealViewChangeSortsAgainNotARefill) {
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        dialog.m_sortColumn = -1; // by name, descending: folders stay first
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Neu", "Alt", "Leer", "Hafen"));

        // Rows added unsorted at the top stay there when the same view is chosen again...
        CDWordArray folderKeys, chunkKeys;
        CStringArray folderNames, chunkNames;
        chunkKeys.Add(c1);
        chunkNames.Add("Hafen");
        dialog.InsertListRows(folderKeys, folderNames, chunkKeys, chunkNames);
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Hafen", "Neu", "Alt", "Leer", "Hafen"));
        EXPECT_THAT(PressedViews(dialog.m_toolBar), ElementsAre(ID_VIEW_DETAILS));
        // ... and are sorted in when the view really changes.
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_LIST);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Neu", "Alt", "Leer", "Hafen", "Hafen"));
        // A list filled anew keeps the store's order, whatever the sort column.
        ASSERT_TRUE(dialog.FillList(MakeTag(a, ItemKind::Folder)));
        EXPECT_EQ(dialog.m_sortColumn, -1);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Alt", "Neu", "Hafen", "Leer"));
    });
}

TEST_P(ViewModesTest, ColumnClicksSortAndASecondClickReverses) {
    const ChunkId c3 = chunks().Create("Anker", a);
    ExplorerDialog dialog;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        d.ClickColumnHeader(list, 0);
        EXPECT_EQ(dialog.m_sortColumn, 1);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Alt", "Neu", "Anker", "Hafen", "Leer"));
        d.ClickColumnHeader(list, 0);
        EXPECT_EQ(dialog.m_sortColumn, -1);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Neu", "Alt", "Leer", "Hafen", "Anker"));
        d.ClickColumnHeader(list, 3);
        EXPECT_EQ(dialog.m_sortColumn, 4);
        EXPECT_THAT(RowTags(list),
                    ElementsAre(MakeTag(a1, ItemKind::Folder), MakeTag(a2, ItemKind::Folder),
                                MakeTag(c1, ItemKind::Chunk), MakeTag(c2, ItemKind::Chunk),
                                MakeTag(c3, ItemKind::Chunk)));
        d.ClickColumnHeader(list, 1);
        EXPECT_EQ(dialog.m_sortColumn, 2);
        d.ClickColumnHeader(list, 1); // "Typ" descending: chunks first
        EXPECT_EQ(dialog.m_sortColumn, -2);
        EXPECT_THAT(ColumnTexts(list, 1), ElementsAre("Standbild", "Standbild", "Standbild",
                                                      "Verzeichnis", "Verzeichnis"));
        // Extra columns do not sort (narrow columns bring the first of them into view).
        for (int c = 0; c < 4; ++c)
            list.SetColumnWidth(c, 30);
        const std::vector<ItemTag> before = RowTags(list);
        d.ClickColumnHeader(list, 4);
        EXPECT_EQ(dialog.m_sortColumn, -2);
        EXPECT_EQ(RowTags(list), before);
        d.ClickColumnHeader(list, 2);
        EXPECT_EQ(dialog.m_sortColumn, 3);
    });
}

TEST_P(ViewModesTest, SortingOpensOnlyTheTablesItsComparisonsNeed) {
    chunks().Remove(c2);
    ExplorerDialog dialog;
    std::size_t messages = 0;
    Run(dialog, ExplorerMode::Chunk, a, [&](UiDriver& d) {
        CListCtrl& list = dialog.m_list;
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        ASSERT_THAT(ColumnTexts(list, 0), ElementsAre("Alt", "Neu", "Hafen"));
        // A lone chunk is never compared with another chunk: its table is not needed.
        db().Execute("DROP TABLE CHUNKS");
        d.ClickColumnHeader(list, 0);
        d.ClickColumnHeader(list, 0);
        EXPECT_EQ(dialog.m_sortColumn, -1);
        EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("Neu", "Alt", "Hafen"));
        messages = d.Messages().size();
    });
    EXPECT_EQ(messages, 0u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ViewModesTest, testing::ValuesIn(UiDriverNames()));

} // namespace

// The toolbar's buttons reach the dialog's command handlers through the button that carries it.
#include "resources/resource_ids.h"
#include "tests/dialog_test_fixture.h"

namespace {

using DialogToolbarTest = OnEveryBackend<DialogTest>;

TEST_P(DialogToolbarTest, ToolbarClicksReachTheDialogThroughItsHost) {
    Init();
    ExplorerDialog dialog;
    RunThenEscape(dialog, ExplorerMode::Folder, kNoKey, [&](UiDriver& d) {
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_DETAILS);
        EXPECT_EQ(dialog.m_list.GetStyle() & LVS_TYPEMASK, LVS_REPORT);
        d.ClickToolbarButton(dialog.m_toolBar, ID_VIEW_SMALL_ICONS);
        EXPECT_EQ(dialog.m_list.GetStyle() & LVS_TYPEMASK, LVS_SMALLICON);
    });

    // Without a parent window the host has nobody to pass the command to.
    ToolbarHost orphan;
    EXPECT_TRUE(orphan.OnCommand(MAKEWPARAM(ID_UP, 0), 0));
}

INSTANTIATE_TEST_SUITE_P(Backends, DialogToolbarTest, testing::ValuesIn(UiDriverNames()));

} // namespace

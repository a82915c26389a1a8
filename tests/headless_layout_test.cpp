// Exact geometry from the headless backend's fixed metrics (6 pixels a character, 13 a line):
// dialog units and the list view's views. The real backend shows the same
// layout with its own metrics; these numbers pin the formulas down.
#include "platform/afxwin.h"
#include "platform/headless/test_driver.h"

#include <gtest/gtest.h>

namespace {

CRect Placement(CWnd* window) {
    WINDOWPLACEMENT placement{};
    window->GetWindowPlacement(&placement);
    return placement.rcNormalPosition;
}

TEST(HeadlessDialogLayout, BrowserTemplateIsMappedFromDialogUnitsAndCentred) {
    headless::TestDriver driver;
    CDialog dialog(150u);
    CRect window;
    CRect client;
    CRect tree;
    CRect list;
    CRect ok;
    CRect treeClient;
    driver.Then([&](UiDriver& d) {
        dialog.GetWindowRect(&window);
        dialog.GetClientRect(&client);
        tree = Placement(d.Control(1012));
        list = Placement(d.Control(1013));
        ok = Placement(d.Control(IDOK));
        d.Control(1012)->GetClientRect(&treeClient);
        d.PressKey(VK_ESCAPE);
    });
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    // 312 x 177 units at 6 x 13 pixels a character: x * 6 / 4, y * 13 / 8, rounded.
    EXPECT_EQ(client, CRect(0, 0, 468, 288));
    // A sizing frame of 4 and a caption of 18; centred on the 1280 x 1024 screen.
    EXPECT_EQ(window, CRect(402, 355, 878, 669));
    EXPECT_EQ(tree, CRect(2, 28, 213, 254));
    EXPECT_EQ(list, CRect(290, 28, 467, 255));
    EXPECT_EQ(ok, CRect(311, 263, 378, 284));
    // Border and client edge: two pixels on each side.
    EXPECT_EQ(treeClient, CRect(0, 0, 207, 222));
    EXPECT_TRUE(driver.Failures().empty());
}

class HeadlessListLayout : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(CRect(0, 0, 400, 300)));
        ASSERT_TRUE(
            list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 320, 240), &host, 1));
        small.Create(16, 16, ILC_COLOR24, 4, 0);
        large.Create(32, 32, ILC_COLOR24, 4, 0);
        list.SetImageList(&small, LVSIL_SMALL);
        list.SetImageList(&large, LVSIL_NORMAL);
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
        list.InsertColumn(1, "Typ", LVCFMT_LEFT, 60);
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            CString name;
            name.Format("I%03d", i); // four characters: 24 pixels
            list.InsertItem(i, name, 0);
        }
    }
    CRect Rect(int item, UINT code) {
        CRect rect;
        EXPECT_TRUE(list.GetItemRect(item, &rect, code));
        return rect;
    }
    int Hit(CPoint point, UINT expectedFlags) {
        UINT flags = 0;
        const int item = list.HitTest(point, &flags);
        EXPECT_EQ(flags, expectedFlags) << point.x << "," << point.y;
        return item;
    }

    headless::TestDriver driver;
    RecordingWindow host;
    CImageList small;
    CImageList large;
    CListCtrl list;
};

TEST_F(HeadlessListLayout, ReportRowsSitUnderTheHeader) {
    Fill(3);
    EXPECT_EQ(list.GetHeaderHeight(), 19);
    EXPECT_EQ(Rect(1, LVIR_BOUNDS), CRect(0, 36, 160, 53));
    EXPECT_EQ(Rect(1, LVIR_ICON), CRect(2, 36, 18, 53));
    EXPECT_EQ(Rect(1, LVIR_LABEL), CRect(20, 36, 100, 53));
    EXPECT_EQ(Rect(1, LVIR_SELECTBOUNDS), CRect(2, 36, 100, 53));
    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell, CRect(100, 36, 160, 53));
    EXPECT_EQ(Hit(CPoint(50, 40), LVHT_ONITEMLABEL), 1);
    EXPECT_EQ(Hit(CPoint(10, 40), LVHT_ONITEMICON), 1);
    EXPECT_EQ(Hit(CPoint(130, 40), LVHT_NOWHERE), -1);
    EXPECT_EQ(Hit(CPoint(50, 10), LVHT_NOWHERE), -1);
    EXPECT_EQ(Hit(CPoint(50, 80), LVHT_NOWHERE), -1);
    EXPECT_EQ(list.GetCountPerPage(), 13);
}

TEST_F(HeadlessListLayout, ReportScrollsByWholeRowsAndColumnsMoveLeft) {
    Fill(30);
    list.Scroll(CSize(0, 20)); // less than two rows: one row
    EXPECT_EQ(list.GetTopIndex(), 1);
    EXPECT_EQ(Rect(1, LVIR_BOUNDS).top, 19);
    list.SetColumnWidth(0, 400);
    list.Scroll(CSize(50, 0));
    EXPECT_EQ(Rect(1, LVIR_LABEL), CRect(-30, 19, 350, 36));
    // The last row may be scrolled fully into view, no further. Both bars show: the client is
    // 224 high, (224 - 19) / 17 = 12 rows to a page.
    EXPECT_EQ(list.GetStyle() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    list.Scroll(CSize(0, 100000));
    EXPECT_EQ(list.GetTopIndex(), 30 - 12);
}

TEST_F(HeadlessListLayout, SmallIconViewFillsRowsLeftToRight) {
    list.ModifyStyle(LVS_TYPEMASK, LVS_SMALLICON);
    Fill(16);
    // 320 / 54 = 5 cells a row.
    EXPECT_EQ(Rect(7, LVIR_BOUNDS), CRect(108, 17, 156, 34));
    EXPECT_EQ(Hit(CPoint(130, 25), LVHT_ONITEMLABEL), 7);
    EXPECT_EQ(list.GetTopIndex(), 0);
}

TEST_F(HeadlessListLayout, IconViewCellsHoldTheIconAboveTheLabel) {
    list.ModifyStyle(LVS_TYPEMASK, LVS_ICON);
    Fill(6);
    list.InsertItem(6, "A very long name", 0); // 96 pixels: two lines
    // Cells 32 + 44 = 76 wide and 32 + 26 + 14 = 72 high; 320 / 76 = 4 a row.
    EXPECT_EQ(Rect(5, LVIR_ICON), CRect(78, 72, 150, 108));
    EXPECT_EQ(Rect(5, LVIR_LABEL), CRect(100, 108, 128, 123));
    EXPECT_EQ(Rect(5, LVIR_BOUNDS), CRect(78, 72, 150, 123));
    EXPECT_EQ(Rect(6, LVIR_LABEL), CRect(154, 108, 226, 136));
    EXPECT_EQ(Hit(CPoint(114, 90), LVHT_ONITEMICON), 5);
    EXPECT_EQ(Hit(CPoint(114, 115), LVHT_ONITEMLABEL), 5);
    EXPECT_EQ(Hit(CPoint(77, 90), LVHT_NOWHERE), -1);
    EXPECT_EQ(Hit(CPoint(90, 115), LVHT_NOWHERE), -1);
}

} // namespace

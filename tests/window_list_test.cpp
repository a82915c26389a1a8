// The list view as a person and the dialog code use it, on every backend: the bodies compute
// their points from the control's own geometry, never from fixed pixels.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"
#include "tests/support/context_menu_check.h"
#include "tests/support/ink.h"
#include "tests/support/test_seed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

class ListConformance : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        driver = MakeUiDriver(GetParam());
        if (!driver)
            GTEST_SKIP() << GetParam() << " backend not available";
        ASSERT_TRUE(host.Create(CRect(100, 100, 520, 420)));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                                CRect(10, 10, 330, 250), &host, kListId));
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
        list.SetImageList(&images, LVSIL_SMALL);
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        list.InsertColumn(1, "Typ", LVCFMT_LEFT, 80);
        const char* names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
        for (int i = 0; i < 5; ++i) {
            list.InsertItem(LVIF_TEXT | LVIF_PARAM, i, names[i], 0, 0, 0, 100 + i);
            list.SetItemText(i, 1, i % 2 ? "odd" : "even");
        }
        host.Clear();
    }

    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0;
             i = list.GetNextItem(i, LVNI_SELECTED))
            selected.push_back(i);
        return selected;
    }

    // Items that LVN_ITEMCHANGED reported as becoming selected.
    std::vector<int> NewlySelected() const {
        std::vector<int> items;
        for (const auto& n : host.Recorded(LVN_ITEMCHANGED))
            if ((n.changed & LVIF_STATE) && (n.newState & LVIS_SELECTED) &&
                !(n.oldState & LVIS_SELECTED))
                items.push_back(n.item);
        return items;
    }

    static constexpr UINT kListId = 1013;
    std::unique_ptr<UiDriver> driver;
    RecordingWindow host;
    CImageList images;
    CListCtrl list;
};

TEST_P(ListConformance, ItemsAreFoundByDataOrTextAndRowsBeyondTheEndRefused) {
    EXPECT_EQ(driver->FindListItem(list, "Delta"), 3);
    LVFINDINFO byData{LVFI_PARAM, nullptr, 103, {0, 0}, 0};
    EXPECT_EQ(list.FindItem(&byData), 3);
    LVFINDINFO byText{LVFI_STRING, "Gamma", 0, {0, 0}, 0};
    EXPECT_EQ(list.FindItem(&byText), 2);
    // Whole texts and, with LVFI_PARTIAL, beginnings, in either case.
    LVFINDINFO byStart{LVFI_STRING | LVFI_PARTIAL, "ep", 0, {0, 0}, 0};
    EXPECT_EQ(list.FindItem(&byStart), 4);
    byStart.psz = "Epsilonx";
    EXPECT_EQ(list.FindItem(&byStart), -1);
    byText.psz = "gAMMA";
    EXPECT_EQ(list.FindItem(&byText), 2);
    byText.psz = "Gam";
    EXPECT_EQ(list.FindItem(&byText), -1);
    EXPECT_FALSE(list.SetItemText(17, 0, "none"));

    // A text read into a buffer too short for it is cut to fit, its zero byte included.
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(list.GetItemText(4, 0, buffer, 4), 3);
    EXPECT_STREQ(buffer, "Eps");
    EXPECT_EQ(std::string(buffer + 4, 4), "####");
    std::fill(std::begin(buffer), std::end(buffer), '#');
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = 4;
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = 4;
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_STREQ(buffer, "eve");
    EXPECT_EQ(std::string(buffer + 4, 4), "####");
    item.cchTextMax = 0; // no room at all: nothing written
    buffer[0] = '#';
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_EQ(buffer[0], '#');
}

TEST_P(ListConformance, ClickSelectsOneItemAndReportsEachChange) {
    driver->ClickListItem(list, 1);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    EXPECT_EQ(NewlySelected(), std::vector<int>{1});
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 1);

    host.Clear();
    driver->ClickListItem(list, 3);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    // The old row loses its selection in a notification of its own.
    const auto changes = host.Recorded(LVN_ITEMCHANGED);
    const bool deselected = std::any_of(changes.begin(), changes.end(), [](const auto& n) {
        return n.item == 1 && (n.oldState & LVIS_SELECTED) && !(n.newState & LVIS_SELECTED);
    });
    EXPECT_TRUE(deselected);
    EXPECT_EQ(NewlySelected(), std::vector<int>{3});
    // A click on empty space clears the selection.
    CRect client;
    list.GetClientRect(&client);
    const CPoint empty(client.right - 5, client.bottom - 5);
    ASSERT_EQ(list.HitTest(empty), -1);
    driver->Click(list, empty);
    EXPECT_TRUE(Selected().empty());
}

TEST_P(ListConformance, ControlAndShiftExtendTheSelection) {
    driver->ClickListItem(list, 1);
    driver->ClickListItem(list, 3, MK_CONTROL);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    driver->ClickListItem(list, 1, MK_CONTROL);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    // The range runs from the last clicked row, even one the click deselected.
    driver->ClickListItem(list, 4, MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
    // A shorter range from the same row lets go of the rows it no longer covers.
    driver->ClickListItem(list, 2, MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));
    // A plain click on a row of the selection keeps it for a drag, then selects that row only.
    driver->ClickListItem(list, 2);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    // Shift with an arrow key selects from the last clicked row, and nothing else.
    driver->ClickListItem(list, 4, MK_CONTROL);
    driver->PressKey(VK_UP, MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
    // With Control as well, the range is added and the rest stays.
    driver->ClickListItem(list, 0, MK_CONTROL);
    driver->ClickListItem(list, 1, MK_CONTROL | MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 3, 4}));
}

TEST_P(ListConformance, DoubleRightAndHeaderClicksNotifyWithTheItemOrColumn) {
    driver->DoubleClickListItem(list, 2);
    const auto doubles = host.Recorded(NM_DBLCLK);
    ASSERT_EQ(doubles.size(), 1u);
    EXPECT_EQ(doubles[0].item, 2);
    CPoint cursor;
    GetCursorPos(&cursor);
    list.ScreenToClient(&cursor);
    EXPECT_EQ(list.HitTest(cursor), 2);

    driver->RightClickListItem(list, 4);
    const auto rights = host.Recorded(NM_RCLICK);
    ASSERT_EQ(rights.size(), 1u);
    EXPECT_EQ(rights[0].item, 4);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    ExpectAMenuOnlyForAClickLeftAlone(host, list, driver->ListItemPoint(list, 4),
                                      [&] { driver->RightClickListItem(list, 4); });
    driver->RightClickListItem(list, 0); // the first row is a row like the others
    EXPECT_EQ(Selected(), std::vector<int>{0});

    driver->ClickColumnHeader(list, 1);
    const auto clicks = host.Recorded(LVN_COLUMNCLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].subItem, 1);
    EXPECT_EQ(clicks[0].item, -1);
    // A header pressed and let go elsewhere, below on the rows or over another column, is no click.
    const CPoint header = driver->ColumnHeaderPoint(list, 1);
    for (const CPoint release :
         {CPoint(header.x, header.y + 40), driver->ColumnHeaderPoint(list, 0)}) {
        driver->MouseDown(list, header);
        driver->MouseUp(list, release);
    }
    EXPECT_EQ(host.Recorded(LVN_COLUMNCLICK).size(), 1u);
}

TEST_P(ListConformance, FocusChangesAreNotified) {
    CEdit other;
    ASSERT_TRUE(
        other.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 260, 200, 280), &host, 7));
    other.SetFocus();
    host.Clear();
    driver->ClickListItem(list, 0);
    EXPECT_EQ(host.Recorded(NM_SETFOCUS).size(), 1u);
    EXPECT_EQ(CWnd::GetFocus(), &list);
    driver->Click(other, CPoint(5, 5));
    EXPECT_EQ(host.Recorded(NM_KILLFOCUS).size(), 1u);
}

TEST_P(ListConformance, PressAndMoveBeyondTheThresholdBeginsADrag) {
    const CPoint from = driver->ListItemPoint(list, 1);
    driver->Drag(list, from, {CPoint(from.x + 1, from.y)}, CPoint(from.x + 20, from.y + 30));
    const auto drags = host.Recorded(LVN_BEGINDRAG);
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0].item, 1);
    EXPECT_EQ(drags[0].point, from);
    // A move within the threshold is still a click.
    host.Clear();
    const CPoint other = driver->ListItemPoint(list, 3);
    driver->Drag(list, other, {}, CPoint(other.x + 1, other.y + 1));
    EXPECT_TRUE(host.Recorded(LVN_BEGINDRAG).empty());
    EXPECT_EQ(host.Recorded(NM_CLICK).size(), 1u);
    // The threshold is a rectangle around the press; its edge is still within it.
    driver->ElapseDoubleClickTime();
    driver->Drag(list, other, {}, CPoint(other.x + GetSystemMetrics(SM_CXDRAG) / 2, other.y));
    EXPECT_TRUE(host.Recorded(LVN_BEGINDRAG).empty());
}

TEST_P(ListConformance, ArrowKeysMoveTheSelectionByRowsAndInTheIconViewByColumnsToo) {
    driver->ClickListItem(list, 1);
    driver->PressKey(VK_DOWN);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    driver->PressKey(VK_DOWN, MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{2, 3}));
    driver->PressKey(VK_END);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    driver->PressKey(VK_HOME);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    EXPECT_FALSE(host.Recorded(LVN_KEYDOWN).empty());
    // In the report view the sideways arrows stay; a page down stops at the last row.
    driver->PressKey(VK_RIGHT);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    driver->PressKey(VK_DOWN);
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    driver->PressKey(VK_NEXT);
    EXPECT_EQ(Selected(), std::vector<int>{4});
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 4);
    driver->PressKey(VK_F2);
    EXPECT_NE(list.GetEditControl(), nullptr);
    driver->PressKey(VK_ESCAPE);
    // Space alone changes nothing; with Control it turns the focused row's selection over.
    driver->PressKey(VK_HOME);
    driver->PressKey(VK_SPACE);
    EXPECT_EQ(Selected(), std::vector<int>{0});
    driver->PressKey(VK_SPACE, MK_CONTROL);
    EXPECT_TRUE(Selected().empty());
    driver->PressKey(VK_SPACE, MK_CONTROL);
    EXPECT_EQ(Selected(), std::vector<int>{0});

    list.ModifyStyle(LVS_TYPEMASK, LVS_ICON);
    for (int i = 5; i < 12; ++i)
        list.InsertItem(i, "More");
    driver->PressKey(VK_RIGHT);
    EXPECT_EQ(Selected(), std::vector<int>{1});
    // One row down is as many items further as fit in a row.
    driver->PressKey(VK_DOWN);
    CRect first;
    CRect below;
    list.GetItemRect(1, &first, LVIR_BOUNDS);
    list.GetItemRect(Selected().front(), &below, LVIR_BOUNDS);
    EXPECT_EQ(below.left, first.left);
    EXPECT_GT(below.top, first.top);
    EXPECT_EQ(list.GetTopIndex(), 0);
    const int underFirst = Selected().front();
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(Selected(), std::vector<int>{underFirst - 1});

    // An emptied list, as an empty folder shows, still reports its keys and has nothing to move to.
    list.DeleteAllItems();
    host.Clear();
    const UINT moves[] = {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
    for (UINT key : moves)
        driver->PressKey(key);
    EXPECT_EQ(host.Recorded(LVN_KEYDOWN).size(), std::size(moves));
    EXPECT_TRUE(host.Recorded(LVN_ITEMCHANGED).empty());
}

TEST_P(ListConformance, DropHighlightIsAStateAndAllRowsChangeInOneNotification) {
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(4, LVIS_DROPHILITED, LVIS_DROPHILITED);
    EXPECT_EQ(list.GetItemState(4, LVIS_DROPHILITED), LVIS_DROPHILITED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_DROPHILITED), 4);
    EXPECT_EQ(list.GetItemState(4, LVIS_SELECTED), 0u);
    list.SetItemState(4, 0, LVIS_DROPHILITED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_DROPHILITED), -1);
    // All items at once: one notification for item -1.
    host.Clear();
    list.SetItemState(-1, 0, LVIS_SELECTED);
    ASSERT_EQ(host.Recorded(LVN_ITEMCHANGED).size(), 1u);
    EXPECT_EQ(host.Recorded(LVN_ITEMCHANGED)[0].item, -1);
    EXPECT_EQ(list.GetSelectedCount(), 0u);
}

TEST_P(ListConformance, ItemChangingCanRefuseAChange) {
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_ITEMCHANGING; };
    driver->ClickListItem(list, 1);
    EXPECT_TRUE(Selected().empty());
    EXPECT_TRUE(host.Recorded(LVN_ITEMCHANGED).empty());
    // Setting what a row already has changes nothing, so nothing is asked.
    LVITEM row{};
    row.mask = LVIF_IMAGE | LVIF_TEXT;
    row.iItem = 1;
    char text[64] = {};
    row.pszText = text;
    row.cchTextMax = sizeof text;
    ASSERT_TRUE(list.GetItem(&row));
    host.Clear();
    EXPECT_TRUE(list.SetItem(&row));
    EXPECT_TRUE(host.Recorded(LVN_ITEMCHANGING).empty());
}

TEST_P(ListConformance, LabelEditEndsWithTheTypedTextWhenAccepted) {
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_ENDLABELEDIT; };
    CEdit* edit = list.EditLabel(2);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(list.GetEditControl(), edit);
    EXPECT_EQ(CWnd::GetFocus(), edit);
    ASSERT_EQ(host.Recorded(LVN_BEGINLABELEDIT).size(), 1u);
    EXPECT_EQ(host.Recorded(LVN_BEGINLABELEDIT)[0].item, 2);
    // The handler of the end still finds the edit control with the text.
    CString seen;
    host.observe = [&](NMHDR* header) {
        if (header->code == LVN_ENDLABELEDIT && list.GetEditControl())
            list.GetEditControl()->GetWindowText(seen);
    };
    driver->TypeText("Neu");
    driver->PressKey(VK_RETURN);
    const auto ends = host.Recorded(LVN_ENDLABELEDIT);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].hasText);
    EXPECT_EQ(ends[0].text, "Neu");
    EXPECT_EQ(ends[0].textMax, 4); // the text and its terminating zero
    EXPECT_EQ(seen, "Neu");
    EXPECT_EQ(list.GetItemText(2, 0), "Neu");
    EXPECT_EQ(list.GetEditControl(), nullptr);
    EXPECT_EQ(CWnd::GetFocus(), &list);
    // Another view keeps what was typed so far.
    ASSERT_NE(list.EditLabel(0), nullptr);
    driver->TypeText("Ikone");
    list.ModifyStyle(LVS_TYPEMASK, LVS_ICON);
    EXPECT_EQ(list.GetEditControl(), nullptr);
    EXPECT_EQ(list.GetItemText(0, 0), "Ikone");
    // The accepted text arrives as a text change of the item.
    const auto changes = host.Recorded(LVN_ITEMCHANGED);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().changed & LVIF_TEXT, LVIF_TEXT);
}

TEST_P(ListConformance, LabelEditRefusedAtTheStartOrEndKeepsTheOldText) {
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_BEGINLABELEDIT; };
    EXPECT_EQ(list.EditLabel(0), nullptr);
    EXPECT_EQ(list.GetEditControl(), nullptr);
    EXPECT_TRUE(host.Recorded(LVN_ENDLABELEDIT).empty());

    host.answer = nullptr;
    ASSERT_NE(list.EditLabel(1), nullptr);
    driver->TypeText("Rejected");
    driver->PressKey(VK_RETURN); // the handler answers 0: rejected
    EXPECT_EQ(list.GetItemText(1, 0), "Beta");
    // Without the style there is no label editing at all.
    list.ModifyStyle(LVS_EDITLABELS, 0);
    EXPECT_EQ(list.EditLabel(0), nullptr);

    // Cancelling, sorting or emptying the list ends the edit running, unsaved.
    list.ModifyStyle(0, LVS_EDITLABELS);
    EXPECT_FALSE(list.CancelEditLabel());
    const auto endsUnsaved = [&](const std::function<void()>& action) {
        host.Clear();
        if (!list.EditLabel(3))
            return false;
        driver->TypeText("Lost");
        action();
        const auto ends = host.Recorded(LVN_ENDLABELEDIT);
        return list.GetEditControl() == nullptr && ends.size() == 1 && !ends[0].hasText;
    };
    EXPECT_TRUE(endsUnsaved([&] { EXPECT_TRUE(list.CancelEditLabel()); }));
    EXPECT_TRUE(endsUnsaved([&] {
        list.SortItems([](LPARAM a, LPARAM b, LPARAM) { return a < b ? 1 : a > b ? -1 : 0; }, 0);
    }));
    EXPECT_EQ(list.GetItemText(1, 0), "Delta");
    EXPECT_TRUE(endsUnsaved([&] { list.DeleteAllItems(); }));
}

TEST_P(ListConformance, SlowSecondClickOnASelectedLabelStartsEditing) {
    driver->ClickListItem(list, 3);
    driver->SlowClickListItem(list, 3);
    EXPECT_NE(list.GetEditControl(), nullptr);
    driver->PressKey(VK_ESCAPE);
    // A double click instead opens nothing for editing.
    driver->DoubleClickListItem(list, 3);
    driver->ElapseDoubleClickTime();
    EXPECT_EQ(list.GetEditControl(), nullptr);
    // Nor does a slow click on the row's icon.
    CRect icon;
    ASSERT_TRUE(list.GetItemRect(3, &icon, LVIR_ICON));
    driver->SlowClick(list, icon.CenterPoint());
    EXPECT_EQ(list.GetEditControl(), nullptr);
}

TEST_P(ListConformance, ClickingElsewhereCommitsAnEdit) {
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_ENDLABELEDIT; };
    ASSERT_NE(list.EditLabel(0), nullptr);
    driver->TypeText("Omega");
    driver->ClickListItem(list, 4);
    EXPECT_EQ(list.GetItemText(0, 0), "Omega");
    EXPECT_EQ(list.GetEditControl(), nullptr);
}

// Orders rows by their data: ascending for a `direction` of 1, descending for -1.
int CALLBACK_ByData(LPARAM a, LPARAM b, LPARAM direction) {
    return (a < b ? -1 : (a > b ? 1 : 0)) * static_cast<int>(direction);
}
constexpr DWORD_PTR kDescending = static_cast<DWORD_PTR>(-1);

// The same by the data's tens: rows within one ten compare equal.
int CALLBACK_ByTens(LPARAM a, LPARAM b, LPARAM direction) {
    return CALLBACK_ByData(a / 10, b / 10, direction);
}

// Rows, their cell texts, data and selection, and the columns with their widths, follow every
// insert, delete, text change, column insert and delete, sort and selection change, in a long
// random run checked against a model.
TEST_P(ListConformance, RowsFollowEveryInsertDeleteSortAndColumnChange) {
    struct Row {
        std::vector<std::string> cells; // one per column, column 0 the label
        LPARAM data;
        bool selected;
    };
    std::vector<Row> rows;
    for (int i = 0; i < list.GetItemCount(); ++i)
        rows.push_back({{list.GetItemText(i, 0).str(), list.GetItemText(i, 1).str()},
                        static_cast<LPARAM>(list.GetItemData(i)),
                        false});
    std::vector<int> widths{120, 80}; // one per column
    unsigned seed = TestSeed(11);
    auto random = [&](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(below));
    };
    LPARAM nextData = 1000;
    for (int step = 0; step < 600; ++step) {
        const int action = random(12);
        const int count = static_cast<int>(rows.size());
        const int columns = static_cast<int>(widths.size());
        const std::string text = "t" + std::to_string(step) + std::string(step % 5 * 4, 'x');
        host.Clear();
        if (action < 3 || count < 2) {
            const int where = random(count + 1);
            ASSERT_EQ(
                list.InsertItem(LVIF_TEXT | LVIF_PARAM, where, text.c_str(), 0, 0, 0, nextData),
                where);
            rows.insert(rows.begin() + where,
                        Row{std::vector<std::string>(std::size_t(columns)), nextData++, false});
            rows[std::size_t(where)].cells[0] = text;
        } else if (action < 4) {
            const int row = random(count);
            ASSERT_TRUE(list.DeleteItem(row));
            const auto deleted = host.Recorded(LVN_DELETEITEM);
            ASSERT_EQ(deleted.size(), 1u) << "step " << step;
            ASSERT_EQ(deleted[0].lParam, rows[std::size_t(row)].data) << "step " << step;
            rows.erase(rows.begin() + row);
        } else if (action < 7) {
            const int row = random(count);
            const int column = random(columns);
            ASSERT_TRUE(list.SetItemText(row, column, text.c_str()));
            rows[std::size_t(row)].cells[std::size_t(column)] = text;
        } else if (action < 8 && columns < 6) {
            // Some columns come without a width and get one of their own.
            const int column = 1 + random(columns);
            const int width = random(3) == 0 ? -1 : 20 + random(60);
            ASSERT_EQ(list.InsertColumn(column, "Spalte", LVCFMT_LEFT, width), column);
            widths.insert(widths.begin() + column, width < 0 ? list.GetColumnWidth(column) : width);
            ASSERT_GT(widths[std::size_t(column)], 0);
            for (Row& row : rows)
                row.cells.insert(row.cells.begin() + column, std::string());
        } else if (action < 9 && columns > 1) {
            const int column = 1 + random(columns - 1);
            ASSERT_TRUE(list.DeleteColumn(column));
            widths.erase(widths.begin() + column);
            for (Row& row : rows)
                row.cells.erase(row.cells.begin() + column);
        } else if (action < 10) {
            const LPARAM direction = random(2) == 0 ? kDescending : 1;
            // Rows that compare equal keep their order: a sort on one column keeps the last.
            ASSERT_TRUE(list.SortItems(CALLBACK_ByTens, direction));
            std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
                return CALLBACK_ByTens(a.data, b.data, direction) < 0;
            });
        } else {
            // A change is reported with the row and its data; setting what is set says nothing.
            const int row = random(count);
            const bool select = random(2) == 0;
            ASSERT_TRUE(list.SetItemState(row, select ? LVIS_SELECTED : 0, LVIS_SELECTED));
            const auto changes = host.Recorded(LVN_ITEMCHANGED);
            ASSERT_EQ(changes.size(), rows[std::size_t(row)].selected == select ? 0u : 1u);
            if (!changes.empty()) {
                ASSERT_EQ(changes[0].lParam, rows[std::size_t(row)].data) << "step " << step;
            }
            rows[std::size_t(row)].selected = select;
        }

        ASSERT_EQ(list.GetColumnCount(), static_cast<int>(widths.size())) << "step " << step;
        LVCOLUMN column{};
        column.mask = LVCF_WIDTH;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            ASSERT_TRUE(list.GetColumn(static_cast<int>(i), &column));
            ASSERT_EQ(column.cx, widths[i]) << "step " << step << " column " << i;
        }
        ASSERT_FALSE(list.GetColumn(static_cast<int>(widths.size()), &column));
        ASSERT_EQ(list.GetItemCount(), static_cast<int>(rows.size())) << "step " << step;
        std::vector<int> selected;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int index = static_cast<int>(i);
            ASSERT_EQ(list.GetItemData(index), static_cast<DWORD_PTR>(rows[i].data))
                << "step " << step << " row " << i;
            for (std::size_t c = 0; c < widths.size(); ++c)
                ASSERT_EQ(list.GetItemText(index, static_cast<int>(c)).str(), rows[i].cells[c])
                    << "step " << step << " row " << i << " column " << c;
            if (rows[i].selected)
                selected.push_back(index);
        }
        ASSERT_EQ(Selected(), selected) << "step " << step;
    }
    // At the end every column goes, the first one too; the rows stay.
    for (std::size_t i = 0; i < widths.size(); ++i)
        ASSERT_TRUE(list.DeleteColumn(0));
    EXPECT_FALSE(list.DeleteColumn(0));
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(list.GetItemCount(), static_cast<int>(rows.size()));
}

TEST_P(ListConformance, SortingKeepsTheShiftClickAnchorOnItsRow) {
    driver->ClickListItem(list, 0);           // Alpha: the anchor
    driver->ClickListItem(list, 2, MK_SHIFT); // Gamma: the focus
    ASSERT_TRUE(list.SortItems(CALLBACK_ByData, kDescending));
    // Epsilon, Delta, Gamma, Beta, Alpha: the anchor went to the bottom with Alpha.
    EXPECT_EQ(list.GetItemText(4, 0), "Alpha");
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
    driver->ClickListItem(list, 0, MK_SHIFT);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_P(ListConformance, ReportViewCountsOnlyTheFirstColumnAsTheItem) {
    CRect cell;
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
    EXPECT_EQ(cell.Width(), 80);
    EXPECT_EQ(list.HitTest(cell.CenterPoint()), -1);
    LVHITTESTINFO info{};
    info.pt = cell.CenterPoint();
    EXPECT_EQ(list.SubItemHitTest(&info), 1);
    EXPECT_EQ(info.iSubItem, 1);
    // No cell beyond the columns or the rows.
    EXPECT_FALSE(list.GetSubItemRect(1, 2, LVIR_BOUNDS, cell));
    EXPECT_FALSE(list.GetSubItemRect(1, -1, LVIR_BOUNDS, cell));
    EXPECT_FALSE(list.GetSubItemRect(5, 1, LVIR_BOUNDS, cell));
    CRect bounds;
    list.GetItemRect(1, &bounds, LVIR_BOUNDS);
    EXPECT_EQ(bounds.Width(), 200);
    EXPECT_TRUE(bounds.PtInRect(cell.CenterPoint()));
    CRect first;
    ASSERT_TRUE(list.GetSubItemRect(1, 0, LVIR_BOUNDS, first));
    EXPECT_EQ(first, bounds) << "the first column's cell is the whole row";
    // A column's left edge is its own pixel; the one before it is the column before.
    info.pt = CPoint(cell.left, cell.top + 1);
    list.SubItemHitTest(&info);
    EXPECT_EQ(info.iSubItem, 1);
    info.pt.x = cell.left - 1;
    list.SubItemHitTest(&info);
    EXPECT_EQ(info.iSubItem, 0);
}

TEST_P(ListConformance, CustomDrawRunsThroughEveryStageInThePaint) {
    host.answer = [](NMHDR* header) -> LRESULT {
        if (header->code != NM_CUSTOMDRAW)
            return 0;
        const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
        if (draw->dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        if (draw->dwDrawStage == CDDS_ITEMPREPAINT)
            return CDRF_NOTIFYPOSTPAINT;
        return 0;
    };
    list.Invalidate();
    list.UpdateWindow();
    const auto draws = host.Recorded(NM_CUSTOMDRAW);
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.front().drawStage, CDDS_PREPAINT);
    EXPECT_EQ(draws.back().drawStage, CDDS_POSTPAINT);
    int postPaints = 0;
    for (const auto& n : draws)
        if (n.drawStage == CDDS_ITEMPOSTPAINT) {
            ++postPaints;
            CRect bounds;
            list.GetItemRect(n.item, &bounds, LVIR_BOUNDS);
            EXPECT_EQ(n.rect, bounds);
            EXPECT_EQ(n.lParam, 100 + n.item);
        }
    EXPECT_EQ(postPaints, 5);
}

TEST_P(ListConformance, RowsShowTheirImagesAndCellTexts) {
    CBitmap green;
    const std::vector<std::uint32_t> pixels(16 * 16, 0x00FF00);
    ASSERT_TRUE(green.CreateFromPixels(16, 16, pixels.data()));
    ASSERT_EQ(images.Add(&green, CLR_NONE), 0);
    list.SetItem(1, 0, LVIF_IMAGE, nullptr, 0, 0, 0, 0);
    list.Invalidate();
    list.UpdateWindow();
    CRect icon;
    ASSERT_TRUE(list.GetItemRect(1, &icon, LVIR_ICON));
    EXPECT_EQ(driver->PixelAt(list, icon.CenterPoint()), RGB(0, 255, 0));

    // How far into a cell the first ink of its text lies, or -1 for a blank cell; a
    // right-aligned column's short text lies in its right half.
    const auto firstInk = [&](int row, int column) {
        CRect cell;
        if (!list.GetSubItemRect(row, column, LVIR_LABEL, cell))
            return -1L;
        return FirstInk(*driver, list, cell, driver->PixelAt(list, cell.TopLeft()));
    };
    EXPECT_GE(firstInk(1, 1), 0);
    EXPECT_LT(firstInk(1, 1), list.GetColumnWidth(1) / 2);
    LVCOLUMN right{};
    right.mask = LVCF_FMT;
    right.fmt = LVCFMT_RIGHT;
    ASSERT_TRUE(list.SetColumn(1, &right));
    list.Invalidate();
    list.UpdateWindow();
    EXPECT_GT(firstInk(1, 1), list.GetColumnWidth(1) / 2);
}

TEST_P(ListConformance, ChangedCellsAndColumnsRepaintTheList) {
    // Whether a change, once shown, brings a paint (each paint opens with a custom-draw notice).
    auto repaints = [&](const std::function<void()>& change) {
        list.UpdateWindow();
        host.Clear();
        change();
        list.UpdateWindow();
        return !host.Recorded(NM_CUSTOMDRAW).empty();
    };
    EXPECT_FALSE(repaints([] {}));
    EXPECT_TRUE(repaints([&] { list.SetItemText(2, 1, "neu"); }));
    EXPECT_TRUE(repaints([&] {
        LVCOLUMN column{};
        column.mask = LVCF_WIDTH;
        column.cx = 60;
        EXPECT_TRUE(list.SetColumn(1, &column));
    }));
    EXPECT_TRUE(repaints([&] { EXPECT_TRUE(list.Update(2)); }));
    EXPECT_TRUE(repaints([&] { EXPECT_TRUE(list.DeleteColumn(1)); }));
    list.ModifyStyle(LVS_TYPEMASK, LVS_LIST);
    EXPECT_TRUE(repaints([&] { EXPECT_TRUE(list.SetColumnWidth(0, 200)); }));
}

TEST_P(ListConformance, AutosizedColumnsFitTheirWidestText) {
    // Every label, behind its icon, finds room for its whole text within the first column.
    list.SetItemText(2, 0, "Gamma mit einem viel längeren Namen");
    ASSERT_TRUE(list.SetColumnWidth(0, LVSCW_AUTOSIZE));
    const int width = list.GetColumnWidth(0);
    for (int i = 0; i < list.GetItemCount(); ++i) {
        CRect label;
        ASSERT_TRUE(list.GetItemRect(i, &label, LVIR_LABEL));
        EXPECT_LE(label.right, width);
        EXPECT_GE(label.Width(), list.GetStringWidth(list.GetItemText(i, 0))) << i;
    }
    // The other columns fit their texts, or their heading when that is wider.
    list.SetItemText(0, 1, "a much longer type text");
    list.SetColumnWidth(1, LVSCW_AUTOSIZE);
    const int fitted = list.GetColumnWidth(1);
    EXPECT_GT(fitted, list.GetStringWidth("a much longer type text"));
    list.SetItemText(0, 1, "x");
    list.SetColumnWidth(1, LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_GT(list.GetColumnWidth(1), list.GetStringWidth("even"));
    EXPECT_LT(list.GetColumnWidth(1), fitted);
}

INSTANTIATE_TEST_SUITE_P(Backends, ListConformance, testing::ValuesIn(UiDriverNames()));

TEST(ListControl, AControlWithoutItsWindowAnswersNothing) {
    CListCtrl none;
    EXPECT_EQ(none.GetItemCount(), 0);
    EXPECT_EQ(none.InsertItem(0, "A"), -1);
    EXPECT_EQ(none.GetItemText(0, 0), "");
}

} // namespace

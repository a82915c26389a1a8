// The tree view as a person and the dialog code use it, on every backend.
#include "platform/afxwin.h"
#include "platform/ui_driver.h"
#include "tests/support/context_menu_check.h"
#include "tests/support/test_seed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>

namespace {

class TreeConformance : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        driver = MakeUiDriver(GetParam());
        if (!driver)
            GTEST_SKIP() << GetParam() << " backend not available";
        ASSERT_TRUE(host.Create(CRect(100, 100, 420, 460)));
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_EDITLABELS | TVS_DISABLEDRAGDROP,
                                CRect(10, 10, 300, 330), &host, kTreeId));
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
        tree.SetImageList(&images, TVSIL_NORMAL);
        root = Insert("Sammlung", TVI_ROOT, 0);
        a = Insert("A", root, 1);
        a1 = Insert("A1", a, 11);
        Insert("A2", a, 12);
        b = Insert("B", root, 2);
        host.Clear();
    }

    HTREEITEM Insert(const char* text, HTREEITEM parent, LPARAM data) {
        return tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, text, 0, 3,
                               0, 0, data, parent, TVI_LAST);
    }

    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& n : host.notifications)
            if (n.code != NM_CUSTOMDRAW && n.code != NM_SETFOCUS && n.code != NM_KILLFOCUS &&
                n.code != NM_CLICK)
                codes.push_back(n.code);
        return codes;
    }

    // Expansions and collapses reported so far.
    std::size_t Expansions() const { return host.Recorded(TVN_ITEMEXPANDED).size(); }

    static constexpr UINT kTreeId = 1012;
    std::unique_ptr<UiDriver> driver;
    RecordingWindow host;
    CImageList images;
    CTreeCtrl tree;
    HTREEITEM root = nullptr;
    HTREEITEM a = nullptr;
    HTREEITEM a1 = nullptr;
    HTREEITEM b = nullptr;
};

TEST_P(TreeConformance, FirstProgrammaticExpansionNotifiesLaterOnesDoNotAndCanBeRefused) {
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == TVN_ITEMEXPANDING; };
    EXPECT_FALSE(tree.Expand(root, TVE_EXPAND));
    EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), 0u);
    EXPECT_EQ(Codes(), std::vector<UINT>{TVN_ITEMEXPANDING});
    host.answer = nullptr;
    host.Clear();
    ASSERT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
    const auto expanded = host.Recorded(TVN_ITEMEXPANDED);
    EXPECT_EQ(expanded[0].action, TVE_EXPAND);
    EXPECT_EQ(expanded[0].itemNew, root);
    EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), TVIS_EXPANDED);
    host.Clear();
    tree.Expand(root, TVE_COLLAPSE);
    tree.Expand(root, TVE_EXPAND);
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(tree.GetItemState(root, TVIS_EXPANDED), TVIS_EXPANDED);
    // An item without children does not expand; an open one opens again, a closed one does
    // not close.
    EXPECT_FALSE(tree.Expand(b, TVE_EXPAND));
    EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_FALSE(tree.Expand(a, TVE_COLLAPSE));
    EXPECT_TRUE(Codes().empty());

    // Bringing an item into view opens its closed ancestors as a program's expansion does:
    // announced only the first time.
    host.Clear();
    ASSERT_TRUE(tree.EnsureVisible(a1));
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
    tree.Expand(a, TVE_COLLAPSE);
    host.Clear();
    ASSERT_TRUE(tree.SelectSetFirstVisible(a1));
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_TRUE(Codes().empty());
}

TEST_P(TreeConformance, ClickOnTheButtonTogglesAndAlwaysNotifies) {
    tree.Expand(root, TVE_EXPAND);
    tree.Expand(a, TVE_EXPAND);
    tree.Expand(a, TVE_COLLAPSE);
    host.Clear();
    driver->ClickTreeButton(tree, a);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
    host.Clear();
    driver->ClickTreeButton(tree, a);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    ASSERT_EQ(host.Recorded(TVN_ITEMEXPANDED).size(), 1u);
    EXPECT_EQ(host.Recorded(TVN_ITEMEXPANDED)[0].action, TVE_COLLAPSE);
    // The button is not the item: the selection stays where it was.
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
}

TEST_P(TreeConformance, SelectionNotifiesChangingThenChanged) {
    ASSERT_TRUE(tree.SelectItem(a1));
    // Selecting reveals the item: its parents expand on the way.
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    const auto changed = host.Recorded(TVN_SELCHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].itemNew, a1);
    EXPECT_EQ(changed[0].itemOld, nullptr);
    EXPECT_EQ(changed[0].lParam, 11);
    EXPECT_EQ(changed[0].action, TVC_UNKNOWN);
    EXPECT_EQ(host.Recorded(TVN_SELCHANGING).size(), 1u);
    EXPECT_EQ(tree.GetSelectedItem(), a1);
    EXPECT_EQ(tree.GetItemState(a1, TVIS_SELECTED), TVIS_SELECTED);
    host.Clear();
    tree.SelectItem(a1);
    EXPECT_TRUE(host.Recorded(TVN_SELCHANGED).empty());

    driver->ClickTreeItem(tree, b);
    const auto byMouse = host.Recorded(TVN_SELCHANGED);
    ASSERT_EQ(byMouse.size(), 1u);
    EXPECT_EQ(byMouse[0].itemOld, a1);
    EXPECT_EQ(byMouse[0].itemNew, b);
    EXPECT_EQ(byMouse[0].action, TVC_BYMOUSE);
    EXPECT_EQ(tree.GetItemState(a1, TVIS_SELECTED), 0u);
    EXPECT_EQ(host.Recorded(NM_CLICK).size(), 1u); // the click itself is reported too
}

TEST_P(TreeConformance, DeletingTheSelectionSelectsTheNextSibling) {
    tree.SelectItem(a);
    host.Clear();
    ASSERT_TRUE(tree.DeleteItem(a1)); // below the selection, not it: nothing moves
    EXPECT_EQ(tree.GetSelectedItem(), a);
    EXPECT_TRUE(host.Recorded(TVN_SELCHANGED).empty());
    host.Clear();
    ASSERT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), b);
    const auto deleted = host.Recorded(TVN_DELETEITEM);
    ASSERT_EQ(deleted.size(), 2u);
    EXPECT_EQ(deleted.back().itemOld, a); // children go first
    EXPECT_EQ(host.Recorded(TVN_SELCHANGED).size(), 1u);
    EXPECT_EQ(tree.GetItemText(a), ""); // a stale handle finds nothing
    EXPECT_FALSE(tree.SelectItem(a));
}

TEST_P(TreeConformance, HitTestFindsButtonIconLabelAndEmptySpace) {
    tree.Expand(root, TVE_EXPAND);
    CRect label;
    ASSERT_TRUE(tree.GetItemRect(a, &label, TRUE));
    const long y = label.CenterPoint().y;
    const std::pair<CPoint, UINT> hits[] = {{label.CenterPoint(), TVHT_ONITEMLABEL},
                                            {CPoint(label.left - 4, y), TVHT_ONITEMICON},
                                            {driver->TreeButtonPoint(tree, a), TVHT_ONITEMBUTTON},
                                            {CPoint(label.right + 10, y), TVHT_ONITEMRIGHT}};
    UINT flags = 0;
    for (const auto& [point, expected] : hits) {
        EXPECT_EQ(tree.HitTest(point, &flags), a);
        EXPECT_EQ(flags, expected) << "at " << point.x << "," << point.y;
    }
    CRect client;
    tree.GetClientRect(&client);
    EXPECT_EQ(tree.HitTest(CPoint(5, client.bottom - 2), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_NOWHERE);
    // Right below the last item, and at the client's right and left edges.
    CRect last;
    ASSERT_TRUE(tree.GetItemRect(b, &last, FALSE));
    EXPECT_EQ(tree.HitTest(CPoint(5, last.bottom), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_NOWHERE);
    EXPECT_EQ(tree.HitTest(CPoint(client.right, y), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_TORIGHT);
    EXPECT_EQ(tree.HitTest(CPoint(0, last.CenterPoint().y), &flags), b);
    EXPECT_EQ(flags, TVHT_ONITEMINDENT);
    // The client's top row of pixels is the first item's; above it, nothing.
    EXPECT_EQ(tree.HitTest(CPoint(0, 0), &flags), root);
    EXPECT_EQ(tree.HitTest(CPoint(5, -1), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_ABOVE);
    // Without the style, the button's place is indent.
    const CPoint button = driver->TreeButtonPoint(tree, a);
    tree.ModifyStyle(TVS_HASBUTTONS, 0);
    EXPECT_EQ(tree.HitTest(button, &flags), a);
    EXPECT_EQ(flags, TVHT_ONITEMINDENT);
}

TEST_P(TreeConformance, DropHighlightIsSetByStateOrSelectionAndShowsDuringARightClick) {
    tree.Select(b, TVGN_DROPHILITE);
    EXPECT_EQ(tree.GetDropHilightItem(), b);
    EXPECT_EQ(tree.GetItemState(b, TVIS_DROPHILITED), TVIS_DROPHILITED);
    tree.SelectDropTarget(nullptr);
    EXPECT_EQ(tree.GetItemState(b, TVIS_DROPHILITED), 0u);
    // Set as a state, the highlight leaves the item's other states alone.
    tree.Expand(root, TVE_EXPAND);
    tree.SetItemState(root, TVIS_DROPHILITED, TVIS_DROPHILITED);
    EXPECT_EQ(tree.GetItemState(root, TVIS_DROPHILITED | TVIS_EXPANDED),
              TVIS_DROPHILITED | TVIS_EXPANDED);
    tree.SetItemState(root, 0, TVIS_DROPHILITED);
    EXPECT_EQ(tree.GetItemState(root, TVIS_DROPHILITED | TVIS_EXPANDED), TVIS_EXPANDED);
    // The item right-clicked is the drop target while its handler runs, and only then.
    tree.SelectItem(a);
    HTREEITEM during = nullptr;
    host.observe = [&](NMHDR* header) {
        if (header->code == NM_RCLICK)
            during = tree.GetDropHilightItem();
    };
    driver->RightClickTreeItem(tree, b);
    EXPECT_EQ(during, b);
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    EXPECT_EQ(host.Recorded(NM_RCLICK).size(), 1u);
    ExpectAMenuOnlyForAClickLeftAlone(host, tree, driver->TreeItemPoint(tree, b),
                                      [&] { driver->RightClickTreeItem(tree, b); });
}

TEST_P(TreeConformance, DoubleClickTogglesUnlessTheHandlerTakesIt) {
    tree.Expand(root, TVE_EXPAND);
    host.Clear();
    driver->DoubleClickTreeItem(tree, a);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(host.Recorded(NM_DBLCLK).size(), 1u);
    // Each toggle by the user is reported, not only the first.
    driver->ElapseDoubleClickTime();
    driver->DoubleClickTreeItem(tree, a);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    EXPECT_EQ(Expansions(), 2u);
    // On the button the press toggles and the second one toggles back.
    driver->ElapseDoubleClickTime();
    driver->DoubleClick(tree, driver->TreeButtonPoint(tree, a));
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    EXPECT_EQ(Expansions(), 4u);
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == NM_DBLCLK; };
    driver->ElapseDoubleClickTime();
    driver->DoubleClickTreeItem(tree, a);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    EXPECT_EQ(Expansions(), 4u);
}

TEST_P(TreeConformance, LabelEditingWithVetoAcceptanceRefusalAndCancel) {
    tree.Expand(root, TVE_EXPAND);
    bool acceptEnd = true;
    host.answer = [&](NMHDR* header) -> LRESULT {
        auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        if (header->code == TVN_BEGINLABELEDIT)
            return info->item.hItem == root; // the root keeps its name
        return header->code == TVN_ENDLABELEDIT && acceptEnd;
    };
    EXPECT_EQ(tree.EditLabel(root), nullptr);
    EXPECT_EQ(tree.GetEditControl(), nullptr);

    CEdit* edit = tree.EditLabel(b);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(host.Recorded(TVN_BEGINLABELEDIT).back().textMax, 2); // "B" and its terminating zero
    EXPECT_EQ(tree.GetEditControl(), edit);
    driver->PressKey(VK_END); // the editor opens with its text selected
    driver->TypeText("ravo");
    driver->PressKey(VK_RETURN);
    EXPECT_EQ(tree.GetItemText(b), "Bravo");
    const auto ends = host.Recorded(TVN_ENDLABELEDIT);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].text, "Bravo");
    EXPECT_EQ(ends[0].itemNew, b);
    EXPECT_EQ(ends[0].lParam, 2); // the item's own data comes along
    EXPECT_EQ(ends[0].textMax, 6);

    // Refused at the end: the item keeps its text.
    acceptEnd = false;
    ASSERT_NE(tree.EditLabel(b), nullptr);
    driver->TypeText("Refused");
    driver->PressKey(VK_RETURN);
    EXPECT_EQ(tree.GetItemText(b), "Bravo");
    EXPECT_EQ(host.Recorded(TVN_ENDLABELEDIT).back().text, "Refused");

    acceptEnd = true;
    ASSERT_NE(tree.EditLabel(b), nullptr);
    driver->TypeText("Nope");
    driver->PressKey(VK_ESCAPE);
    EXPECT_EQ(tree.GetItemText(b), "Bravo");
    EXPECT_FALSE(host.Recorded(TVN_ENDLABELEDIT).back().hasText);

    // A new edit, or a right click, commits the one running.
    ASSERT_NE(tree.EditLabel(b), nullptr);
    driver->TypeText("Berg");
    ASSERT_NE(tree.EditLabel(a), nullptr);
    EXPECT_EQ(tree.GetItemText(b), "Berg");
    driver->TypeText("Ast");
    driver->RightClickTreeItem(tree, root);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    EXPECT_EQ(tree.GetItemText(a), "Ast");

    // Ended from the program: cancelled or kept as typed; with no edit running, nothing to end.
    ASSERT_NE(tree.EditLabel(b), nullptr);
    driver->TypeText("Dropped");
    EXPECT_TRUE(tree.EndEditLabelNow(TRUE));
    EXPECT_EQ(tree.GetItemText(b), "Berg");
    EXPECT_FALSE(host.Recorded(TVN_ENDLABELEDIT).back().hasText);
    ASSERT_NE(tree.EditLabel(b), nullptr);
    driver->TypeText("Kept");
    EXPECT_TRUE(tree.EndEditLabelNow(FALSE));
    EXPECT_EQ(tree.GetItemText(b), "Kept");
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    const std::size_t endsSoFar = host.Recorded(TVN_ENDLABELEDIT).size();
    EXPECT_FALSE(tree.EndEditLabelNow(FALSE));
    EXPECT_EQ(host.Recorded(TVN_ENDLABELEDIT).size(), endsSoFar);
}

TEST_P(TreeConformance, SlowClickOnTheSelectedLabelStartsEditing) {
    tree.Expand(root, TVE_EXPAND);
    driver->ClickTreeItem(tree, b);
    driver->SlowClickTreeItem(tree, b);
    ASSERT_NE(tree.GetEditControl(), nullptr);
    EXPECT_EQ(host.Recorded(TVN_BEGINLABELEDIT).size(), 1u);
    driver->PressKey(VK_ESCAPE);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
}

TEST_P(TreeConformance, KeysWalkTheVisibleItems) {
    tree.SelectItem(root);
    tree.Expand(root, TVE_EXPAND);
    driver->ClickTreeItem(tree, root);
    host.Clear();
    driver->PressKey(VK_DOWN);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    driver->PressKey(VK_RIGHT);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    driver->PressKey(VK_RIGHT);
    EXPECT_EQ(tree.GetSelectedItem(), a1);
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    driver->PressKey(VK_LEFT);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    EXPECT_EQ(host.Recorded(TVN_SELCHANGED).back().action, TVC_BYKEYBOARD);
    EXPECT_FALSE(host.Recorded(TVN_KEYDOWN).empty());
    // Expanding and collapsing by key is reported every time, not only the first.
    EXPECT_EQ(Expansions(), 2u);
    driver->PressKey(VK_RIGHT);
    EXPECT_EQ(Expansions(), 3u);

    // Visible now: the root, A, A1, A2, B.
    const HTREEITEM a2 = tree.GetNextSiblingItem(a1);
    // Up from the first item stays there; a page down the short tree reaches its end.
    const std::pair<UINT, HTREEITEM> walk[] = {{VK_END, b},   {VK_UP, a2},  {VK_HOME, root},
                                               {VK_UP, root}, {VK_NEXT, b}, {VK_PRIOR, root}};
    for (const auto& [key, expected] : walk) {
        driver->PressKey(key);
        EXPECT_EQ(tree.GetSelectedItem(), expected) << "key " << key;
    }

    driver->PressKey(VK_DOWN);
    driver->PressKey(VK_SUBTRACT);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    driver->PressKey(VK_ADD);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(Expansions(), 5u);

    // Backspace goes up to the parent, and stays on the root.
    driver->PressKey(VK_DOWN);
    driver->PressKey(VK_BACK);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    driver->PressKey(VK_HOME);
    driver->PressKey(VK_BACK);
    EXPECT_EQ(tree.GetSelectedItem(), root);
    // F2 edits the selected label, where the style allows it.
    driver->PressKey(VK_F2);
    ASSERT_NE(tree.GetEditControl(), nullptr);
    driver->PressKey(VK_ESCAPE);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    tree.ModifyStyle(TVS_EDITLABELS, 0);
    driver->PressKey(VK_F2);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
}

TEST_P(TreeConformance, ADragIsReportedOnlyWhereTheStyleAllowsIt) {
    tree.Expand(root, TVE_EXPAND);
    const CPoint onB = driver->TreeItemPoint(tree, b);
    const CPoint below(onB.x, onB.y + 40); // straight down: no sideways move at all
    driver->Drag(tree, onB, {}, below);
    EXPECT_TRUE(host.Recorded(TVN_BEGINDRAG).empty());
    tree.ModifyStyle(TVS_DISABLEDRAGDROP, 0);
    driver->ElapseDoubleClickTime();
    driver->Drag(tree, onB, {}, below);
    const auto drags = host.Recorded(TVN_BEGINDRAG);
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0].itemNew, b);
}

TEST_P(TreeConformance, CollapsingAboveTheSelectionSelectsTheCollapsedItem) {
    tree.SelectItem(a1);
    host.Clear();
    driver->ClickTreeButton(tree, a);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    EXPECT_EQ(host.Recorded(TVN_SELCHANGED).size(), 1u);
    // Collapse with reset forgets the children and the expanded-once state.
    tree.Expand(a, TVE_EXPAND);
    ASSERT_TRUE(tree.Expand(a, TVE_COLLAPSE | TVE_COLLAPSERESET));
    EXPECT_EQ(tree.GetChildItem(a), nullptr);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDEDONCE), 0u);
}

TEST_P(TreeConformance, ItemRecordsImagesAndSortedInserts) {
    int image = -1;
    int selectedImage = -1;
    ASSERT_TRUE(tree.GetItemImage(a, image, selectedImage));
    EXPECT_EQ(std::make_pair(image, selectedImage), std::make_pair(0, 3));
    EXPECT_EQ(driver->FindTreeItem(tree, {"Sammlung", "A", "A2"}), tree.GetNextSiblingItem(a1));
    HTREEITEM c = tree.InsertItem("C", root, TVI_SORT);
    HTREEITEM aa = tree.InsertItem("AA", root, TVI_SORT);
    EXPECT_EQ(tree.GetNextSiblingItem(a), aa);
    EXPECT_EQ(tree.GetNextSiblingItem(b), c);
    TVITEM item{};
    item.mask = TVIF_TEXT | TVIF_STATE;
    item.hItem = a;
    item.stateMask = TVIS_EXPANDED;
    char text[8];
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ASSERT_TRUE(tree.GetItem(&item));
    EXPECT_STREQ(text, "A");
    EXPECT_EQ(item.state, 0u);
    // A selection cannot be set through the item state; only through Select.
    tree.SetItemState(b, TVIS_SELECTED, TVIS_SELECTED);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);

    // Nothing to insert, an item that is gone, no rectangle to fill: refused.
    EXPECT_EQ(tree.InsertItem(static_cast<LPTVINSERTSTRUCT>(nullptr)), nullptr);
    tree.DeleteItem(c);
    image = selectedImage = -1;
    EXPECT_FALSE(tree.GetItemImage(c, image, selectedImage));
    EXPECT_EQ(std::make_pair(image, selectedImage), std::make_pair(-1, -1));
    EXPECT_FALSE(tree.SelectSetFirstVisible(c));
    EXPECT_FALSE(tree.GetItemRect(root, nullptr, FALSE));
    tree.SetIndent(31);
    EXPECT_EQ(tree.GetIndent(), 31u);
}

TEST_P(TreeConformance, DeepItemsScrollSidewaysIntoView) {
    HTREEITEM parent = b;
    std::vector<HTREEITEM> chain;
    for (int i = 0; i < 8; ++i) {
        parent =
            Insert(("Ein sehr langer Ordnername " + std::to_string(i)).c_str(), parent, 50 + i);
        chain.push_back(parent);
    }
    EXPECT_FALSE(tree.GetStyle() & WS_HSCROLL); // nothing of it shows yet
    // Making the deepest visible expands its ancestors and scrolls its label into view.
    tree.EnsureVisible(chain.back());
    EXPECT_TRUE(tree.GetStyle() & WS_HSCROLL);
    CRect client;
    tree.GetClientRect(&client);
    CRect label;
    ASSERT_TRUE(tree.GetItemRect(chain.back(), &label, TRUE));
    EXPECT_GE(label.left, 0);
    EXPECT_LE(label.right, client.right);
    const int scrolled = tree.GetScrollPos(SB_HORZ);
    EXPECT_GT(scrolled, 0);
    // The left arrow of the horizontal bar moves everything one indentation to the right.
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    driver->Click(tree, CPoint(bar / 2, client.bottom + bar / 2));
    CRect moved;
    ASSERT_TRUE(tree.GetItemRect(chain.back(), &moved, TRUE));
    EXPECT_EQ(moved.left - label.left, static_cast<long>(tree.GetIndent()));
    EXPECT_EQ(tree.GetScrollPos(SB_HORZ), scrolled - static_cast<int>(tree.GetIndent()));
    // Hit tests follow the scrolled labels.
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(moved.CenterPoint(), &flags), chain.back());
    EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
    // Scrolling sideways ends a label edit too, keeping what was typed.
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == TVN_ENDLABELEDIT; };
    ASSERT_NE(tree.EditLabel(chain.back()), nullptr);
    driver->TypeText("Tief");
    driver->MouseWheelSideways(tree, client.CenterPoint(), -1);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    EXPECT_EQ(tree.GetItemText(chain.back()), "Tief");
    // Collapsed, everything fits: the bar goes and the tree stands at its left edge again.
    tree.Expand(b, TVE_COLLAPSE);
    EXPECT_FALSE(tree.GetStyle() & WS_HSCROLL);
    ASSERT_TRUE(tree.GetItemRect(b, &label, TRUE));
    EXPECT_EQ(label.left, static_cast<long>(tree.GetIndent()) + 16 + 3); // level 1, image, gap
}

// The scroll ranges as the items shown make them: one row each, and as wide as the right end of
// the widest label (unscrolled).
void ExpectRangesOfItemsShown(CTreeCtrl& tree, const char* when) {
    int rows = 0;
    long right = 0;
    for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextVisibleItem(item)) {
        ++rows;
        CRect label;
        ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE));
        right = std::max(right, label.right + tree.GetScrollPos(SB_HORZ));
    }
    SCROLLINFO vertical;
    SCROLLINFO horizontal;
    ASSERT_TRUE(tree.GetScrollInfo(SB_VERT, &vertical));
    ASSERT_TRUE(tree.GetScrollInfo(SB_HORZ, &horizontal));
    EXPECT_EQ(vertical.nMax, rows - 1) << when;
    EXPECT_EQ(horizontal.nMax, right - 1) << when;
}

// Walks over siblings and over the items shown follow the order the items were put in, items keep
// their texts and data, and the scroll ranges the items shown, however the tree changed in
// between: items inserted first, last and in the middle, deleted with what lies below them,
// renamed (often to another item's text), opened and closed by Expand or by their state, the
// indent changed, with redraw on and off.
TEST_P(TreeConformance, NavigationFollowsEveryInsertDeleteRenameAndExpansion) {
    ASSERT_TRUE(tree.DeleteAllItems());
    std::map<HTREEITEM, std::vector<HTREEITEM>> children; // the model; TVI_ROOT holds the roots
    std::map<HTREEITEM, std::pair<std::string, LPARAM>> records; // text and data
    std::vector<HTREEITEM> items;
    unsigned seed = TestSeed(7);
    auto random = [&](std::size_t below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::size_t>((seed >> 8) % below);
    };
    auto forget = [&](auto& self, HTREEITEM item) -> void {
        for (HTREEITEM child : children[item])
            self(self, child);
        children.erase(item);
        records.erase(item);
        items.erase(std::find(items.begin(), items.end(), item));
    };
    auto shown = [&](auto& self, HTREEITEM parent, std::vector<HTREEITEM>& out) -> void {
        for (HTREEITEM item : children[parent]) {
            out.push_back(item);
            if (tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED)
                self(self, item, out);
        }
    };
    std::size_t most = 0; // the most items the tree held at once
    for (int step = 0; step < 400; ++step) {
        const std::size_t action = random(13);
        const HTREEITEM picked = items.empty() ? nullptr : items[random(items.size())];
        if (action < 7 || items.size() < 3) {
            const HTREEITEM parent = !picked || random(8) == 0 ? TVI_ROOT : picked;
            std::vector<HTREEITEM>& siblings = children[parent];
            const std::size_t where = random(siblings.size() + 2);
            const HTREEITEM after = where == 0                ? TVI_FIRST
                                    : where > siblings.size() ? TVI_LAST
                                                              : siblings[where - 1];
            const std::string text = "i" + std::to_string(step) + std::string(step % 7 * 3, 'w');
            const HTREEITEM item = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, text.c_str(), 0, 0, 0, 0,
                                                   step, parent, after);
            ASSERT_NE(item, nullptr);
            siblings.insert(siblings.begin() +
                                static_cast<std::ptrdiff_t>(std::min(where, siblings.size())),
                            item);
            items.push_back(item);
            records[item] = {text, step};
        } else if (action < 8) {
            ASSERT_TRUE(tree.DeleteItem(picked));
            forget(forget, picked);
            for (auto& [parent, list] : children)
                list.erase(std::remove(list.begin(), list.end(), picked), list.end());
        } else if (action < 9) {
            if (!children[picked].empty())
                tree.Expand(picked, TVE_TOGGLE);
        } else if (action < 10) {
            ASSERT_TRUE(tree.SetItemState(picked, random(2) ? TVIS_EXPANDED : 0, TVIS_EXPANDED));
        } else if (action < 12) {
            const std::string text =
                random(2) ? records[items[random(items.size())]].first
                          : "r" + std::to_string(step) + std::string(step % 11 * 2, 'w');
            ASSERT_TRUE(tree.SetItemText(picked, text.c_str()));
            records[picked].first = text;
        } else {
            tree.SetIndent(static_cast<UINT>(8 + random(24)));
        }

        ASSERT_EQ(tree.GetCount(), items.size()) << "step " << step;
        for (const auto& [parent, list] : children) {
            std::vector<HTREEITEM> forwards;
            for (HTREEITEM item = tree.GetChildItem(parent); item;
                 item = tree.GetNextSiblingItem(item)) {
                forwards.push_back(item);
                ASSERT_EQ(tree.GetParentItem(item), parent == TVI_ROOT ? nullptr : parent);
            }
            ASSERT_EQ(forwards, list) << "step " << step;
            std::vector<HTREEITEM> backwards;
            for (HTREEITEM item = list.empty() ? nullptr : list.back(); item;
                 item = tree.GetPrevSiblingItem(item))
                backwards.insert(backwards.begin(), item);
            ASSERT_EQ(backwards, list) << "step " << step;
        }
        std::vector<HTREEITEM> expected;
        shown(shown, TVI_ROOT, expected);
        std::vector<HTREEITEM> forwards;
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextVisibleItem(item))
            forwards.push_back(item);
        ASSERT_EQ(forwards, expected) << "step " << step;
        std::vector<HTREEITEM> backwards;
        for (HTREEITEM item = expected.empty() ? nullptr : expected.back(); item;
             item = tree.GetPrevVisibleItem(item))
            backwards.insert(backwards.begin(), item);
        ASSERT_EQ(backwards, expected) << "step " << step;
        // Some of the changes come with redraw off, taken in when it is on again.
        if (step % 50 == 25)
            tree.SetRedraw(FALSE);
        if (step % 50 == 35)
            tree.SetRedraw(TRUE);
        if (step % 50 < 25 || step % 50 >= 35)
            ExpectRangesOfItemsShown(tree, ("step " + std::to_string(step)).c_str());
        // Each item shown has its row across the client area, counted from the first shown, and
        // a label as wide as the others with its text; an item no one sees has neither a row nor
        // neighbours among those shown.
        const auto first = std::find(expected.begin(), expected.end(), tree.GetFirstVisibleItem());
        ASSERT_TRUE(expected.empty() || first != expected.end()) << "step " << step;
        CRect client;
        tree.GetClientRect(&client);
        const long height = static_cast<long>(tree.GetItemHeight());
        std::map<std::string, long> widths;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            CRect row;
            ASSERT_TRUE(tree.GetItemRect(expected[i], &row, FALSE)) << "step " << step;
            const long top = (static_cast<long>(i) - (first - expected.begin())) * height;
            ASSERT_EQ(row, CRect(0, top, client.right, top + height)) << "step " << step;
            ASSERT_TRUE(tree.GetItemRect(expected[i], &row, TRUE));
            const auto [known, added] = widths.emplace(records[expected[i]].first, row.Width());
            ASSERT_EQ(row.Width(), known->second) << "step " << step << " " << known->first;
        }
        most = std::max(most, items.size());
        for (HTREEITEM item : items) {
            ASSERT_EQ(tree.GetItemText(item).str(), records[item].first) << "step " << step;
            ASSERT_EQ(tree.GetItemData(item), static_cast<DWORD_PTR>(records[item].second));
            ASSERT_EQ(tree.ItemHasChildren(item) != FALSE, !children[item].empty());
            if (std::find(expected.begin(), expected.end(), item) == expected.end()) {
                CRect row;
                ASSERT_FALSE(tree.GetItemRect(item, &row, FALSE)) << "step " << step;
                ASSERT_EQ(tree.GetNextVisibleItem(item), nullptr);
                ASSERT_EQ(tree.GetPrevVisibleItem(item), nullptr);
            }
        }
    }
    EXPECT_GT(most, 40u);
    ASSERT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_EQ(tree.GetFirstVisibleItem(), nullptr);
    ExpectRangesOfItemsShown(tree, "emptied");
}

// What the layout reads say: the first item shown and every shown item's label rectangle.
std::vector<CRect> LabelRects(CTreeCtrl& tree) {
    std::vector<CRect> rects;
    for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextVisibleItem(item)) {
        CRect rect;
        tree.GetItemRect(item, &rect, TRUE);
        rects.push_back(rect);
    }
    return rects;
}

TEST_P(TreeConformance, WithRedrawOffTheLayoutIsReadAsItWillBeShown) {
    tree.Expand(root, TVE_EXPAND);
    tree.Expand(a, TVE_EXPAND);
    HTREEITEM last = nullptr;
    for (int i = 0; i < 30; ++i)
        last = Insert(("r" + std::to_string(i)).c_str(), root, 100 + i);
    const HTREEITEM wide = Insert(std::string(120, 'w').c_str(), root, 99);
    tree.EnsureVisible(last);
    tree.SendMessage(WM_HSCROLL, SB_RIGHT);
    ASSERT_GT(tree.GetScrollPos(SB_HORZ), 0);

    // Scrolled to the end and right, a collapse above and the widest label gone: what is read
    // while redraw is off is what shows once it is on again. Until then the bars wait.
    SCROLLINFO before;
    ASSERT_TRUE(tree.GetScrollInfo(SB_VERT, &before));
    tree.SetRedraw(FALSE);
    tree.Expand(a, TVE_COLLAPSE);
    SCROLLINFO unread;
    ASSERT_TRUE(tree.GetScrollInfo(SB_VERT, &unread));
    EXPECT_EQ(unread.nMax, before.nMax);
    tree.SetItemText(wide, "w");
    const std::vector<CRect> during = LabelRects(tree);
    const HTREEITEM firstDuring = tree.GetFirstVisibleItem();
    tree.SelectSetFirstVisible(last); // as far as the items reach
    const HTREEITEM firstAfterAsking = tree.GetFirstVisibleItem();
    tree.SetRedraw(TRUE);
    tree.SelectSetFirstVisible(tree.GetFirstVisibleItem());
    EXPECT_EQ(tree.GetFirstVisibleItem(), firstAfterAsking);
    EXPECT_NE(firstAfterAsking, last);
    tree.SelectSetFirstVisible(firstDuring);
    EXPECT_EQ(LabelRects(tree), during);
    EXPECT_EQ(tree.GetScrollPos(SB_HORZ), 0); // nothing left to scroll sideways
    ExpectRangesOfItemsShown(tree, "redrawn");
}

TEST_P(TreeConformance, DeletionHandlersSeeTheTreeAsItIsThen) {
    tree.Expand(root, TVE_EXPAND);
    tree.Expand(a, TVE_EXPAND);
    // Each item's handler finds the scroll bar counting the rows shown at that moment.
    std::vector<std::pair<int, int>> seen; // the bar's last row, the last row shown
    HTREEITEM late = nullptr;
    HTREEITEM later = nullptr;
    host.observe = [&](NMHDR* header) {
        if (header->code != TVN_DELETEITEM)
            return;
        tree.EnsureVisible(root); // brings the bars up to date
        SCROLLINFO vertical;
        ASSERT_TRUE(tree.GetScrollInfo(SB_VERT, &vertical));
        int rows = 0;
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextVisibleItem(item))
            ++rows;
        seen.emplace_back(vertical.nMax, rows - 1);
        // A child added to the item being deleted goes with it.
        const auto* info = reinterpret_cast<NMTREEVIEW*>(header);
        if (info->itemOld.hItem == a && !late)
            late = tree.InsertItem(TVIF_TEXT | TVIF_STATE, "spät", 0, 0, TVIS_EXPANDED,
                                   TVIS_EXPANDED, 0, a, TVI_LAST);
        // One added while that child is announced goes too, unannounced.
        else if (info->itemOld.hItem == late && !later)
            later = tree.InsertItem("noch später", a);
    };
    tree.DeleteItem(a);
    host.observe = nullptr;
    ASSERT_EQ(seen.size(), 4u); // A1, A2, A, the late child
    for (const auto& [bar, rows] : seen)
        EXPECT_EQ(bar, rows);
    ASSERT_NE(late, nullptr);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(tree.GetCount(), 2u); // the root and B
    EXPECT_EQ(tree.InsertItem("darunter", late), nullptr);
}

// An item deleted while its label is edited ends the edit first; a handler that deletes the item
// once the edit is given up (as one does with an item just made) deletes it a second time.
TEST_P(TreeConformance, AnItemDeletedByItsOwnEndOfEditGoesOnce) {
    tree.Expand(root, TVE_EXPAND);
    const HTREEITEM c = Insert("C", root, 3);
    ASSERT_NE(tree.EditLabel(b), nullptr);
    std::vector<HTREEITEM> neighbours;
    host.observe = [&](NMHDR* header) {
        const auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        if (header->code != TVN_ENDLABELEDIT || info->item.pszText)
            return;
        neighbours = {tree.GetPrevVisibleItem(b), tree.GetNextVisibleItem(b),
                      tree.GetPrevSiblingItem(b), tree.GetNextSiblingItem(b)};
        tree.DeleteItem(b);
    };
    EXPECT_TRUE(tree.DeleteItem(b));
    host.observe = nullptr;
    // Taken out of the tree already, the item had no neighbours left.
    EXPECT_EQ(neighbours, std::vector<HTREEITEM>(4, nullptr));
    std::vector<HTREEITEM> children;
    for (HTREEITEM item = tree.GetChildItem(root); item; item = tree.GetNextSiblingItem(item))
        children.push_back(item);
    EXPECT_EQ(children, (std::vector<HTREEITEM>{a, c}));
    EXPECT_EQ(tree.GetCount(), 5u); // the root, A with A1 and A2, C
    ExpectRangesOfItemsShown(tree, "deleted while edited");
}

TEST_P(TreeConformance, ScrollingBringsItemsIntoView) {
    tree.Expand(root, TVE_EXPAND);
    std::vector<HTREEITEM> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(Insert("Item", root, 100 + i));
    CRect rect;
    ASSERT_TRUE(tree.GetItemRect(many.back(), &rect, TRUE));
    CRect client;
    tree.GetClientRect(&client);
    EXPECT_GT(rect.top, client.bottom);
    tree.EnsureVisible(many.back());
    ASSERT_TRUE(tree.GetItemRect(many.back(), &rect, TRUE));
    EXPECT_LE(rect.bottom, client.bottom);
    EXPECT_GE(rect.top, 0);
    tree.SelectSetFirstVisible(many[5]);
    EXPECT_EQ(tree.GetFirstVisibleItem(), many[5]);
    ASSERT_TRUE(tree.GetItemRect(many[5], &rect, FALSE));
    EXPECT_EQ(rect.top, 0);
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(rect.CenterPoint(), &flags), many[5]);
    // The items outgrow the tree: it shows its vertical bar, set to the first row shown.
    EXPECT_TRUE(tree.GetStyle() & WS_VSCROLL);
    SCROLLINFO info;
    ASSERT_TRUE(tree.GetScrollInfo(SB_VERT, &info));
    EXPECT_EQ(info.nPos, 3 + 5);
    // Page Down and Page Up move a page less one row.
    const int page = static_cast<int>(tree.GetVisibleCount());
    ASSERT_LT(2 * (page - 1), 40);
    tree.SelectItem(many[0]);
    tree.SetFocus();
    driver->PressKey(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), many[page - 1]);
    driver->PressKey(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), many[2 * (page - 1)]);
    driver->PressKey(VK_PRIOR);
    EXPECT_EQ(tree.GetSelectedItem(), many[page - 1]);
    // A turn of the wheel ends a label edit, keeping what was typed.
    host.answer = [](NMHDR* header) -> LRESULT { return header->code == TVN_ENDLABELEDIT; };
    ASSERT_NE(tree.EditLabel(many[page - 1]), nullptr);
    driver->TypeText("Gerollt");
    driver->MouseWheel(tree, CPoint(20, 20), -1);
    EXPECT_EQ(tree.GetEditControl(), nullptr);
    EXPECT_EQ(tree.GetItemText(many[page - 1]), "Gerollt");
    // Selecting the item already selected brings it back into view.
    tree.SelectItem(many[0]);
    tree.EnsureVisible(many.back());
    tree.SelectItem(many[0]);
    ASSERT_TRUE(tree.GetItemRect(many[0], &rect, FALSE));
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.bottom, client.bottom);
    // Scrolled to the end, a collapse above leaves no empty rows below the last item.
    tree.Expand(a, TVE_EXPAND);
    tree.EnsureVisible(many.back());
    tree.Expand(a, TVE_COLLAPSE);
    ASSERT_TRUE(tree.GetItemRect(many.back(), &rect, FALSE));
    EXPECT_LE(rect.bottom, client.bottom);
    EXPECT_GT(rect.bottom + rect.Height(), client.bottom);
    // Collapsed, everything fits again: the bar goes and nothing stays scrolled away above.
    tree.Expand(root, TVE_COLLAPSE);
    EXPECT_FALSE(tree.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(tree.GetFirstVisibleItem(), root);
}

INSTANTIATE_TEST_SUITE_P(Backends, TreeConformance, testing::ValuesIn(UiDriverNames()));

} // namespace

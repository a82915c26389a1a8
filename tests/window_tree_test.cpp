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
#include <vector>

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

TEST_P(TreeConformance, ScrollingBringsItemsIntoView) {
    tree.Expand(root, TVE_EXPAND);
    std::vector<HTREEITEM> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(Insert("Item", root, 100 + i));
    CRect client;
    tree.GetClientRect(&client);
    auto shown = [&](HTREEITEM item) {
        CRect rect;
        return tree.GetItemRect(item, &rect, FALSE) && rect.top >= 0 &&
               rect.bottom <= client.bottom;
    };
    EXPECT_FALSE(shown(many.back()));
    tree.EnsureVisible(many.back());
    EXPECT_TRUE(shown(many.back()));
    tree.SelectSetFirstVisible(many[5]);
    EXPECT_EQ(tree.GetFirstVisibleItem(), many[5]);
    // Selecting the item already selected brings it back into view.
    tree.SelectItem(many[0]);
    tree.EnsureVisible(many.back());
    ASSERT_FALSE(shown(many[0]));
    tree.SelectItem(many[0]);
    EXPECT_TRUE(shown(many[0]));
}

INSTANTIATE_TEST_SUITE_P(Backends, TreeConformance, testing::ValuesIn(UiDriverNames()));

} // namespace

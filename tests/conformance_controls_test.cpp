// What the list and tree controls, their notifications and popup menus do under a person's mouse
// and keyboard, the same on every backend. Each test runs a small dialog modally and scripts the
// person; points come from the controls' own rectangles, so a backend whose pixels disagree with
// the layer's geometry fails here.
#include "tests/e2e/conformance_backend.h"

#include "platform/app.h"
#include "platform/dialog.h"
#include "platform/image_list.h"
#include "platform/list_ctrl.h"
#include "platform/menu.h"
#include "platform/tree_ctrl.h"
#include "platform/user_notifier.h"
#include "platform/win_styles.h"
#include "resources/resource_ids.h"
#include "tests/support/ink.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kListId = 100;
constexpr UINT kTreeId = 101;

// The context menu: a sub-menu, a separator and a greyed item, as the browser's menus have.
constexpr UINT kCmdOpen = 601;
constexpr UINT kCmdNewFolder = 602;
constexpr UINT kCmdNewStill = 603;
constexpr UINT kCmdGreyed = 604;
constexpr UINT kCmdRemove = 605;

const ControlTemplate kControls[] = {
    {kListId, ControlClass::ListView, nullptr, 4, 4, 190, 120,
     WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE},
    {kTreeId, ControlClass::TreeView, nullptr, 200, 4, 110, 120,
     WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
         TVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE},
};

const DialogTemplate kTemplate{9001,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                               0,
                               "Konformität",
                               "MS Sans Serif",
                               8,
                               0,
                               0,
                               316,
                               130,
                               kControls};

struct Note {
    UINT control = 0;
    UINT code = 0;
    int item = -1; // list row
    bool hasText = false;
    std::string text;
};

// A dialog with a list and a tree that records what they notify; label edits are accepted.
class ControlsDialog : public CDialog {
public:
    ControlsDialog() : CDialog(kTemplate) {}

    CListCtrl& List() { return *static_cast<CListCtrl*>(GetDlgItem(kListId)); }
    CTreeCtrl& Tree() { return *static_cast<CTreeCtrl*>(GetDlgItem(kTreeId)); }

    std::function<void(ControlsDialog&)> setUp;
    std::vector<Note> notes;
    int menusShown = 0;
    UINT menuChoice = 0;
    bool clicksFail = false; // a click's handler fails as on a store error

    std::vector<Note> Notes(UINT control, UINT code) const {
        std::vector<Note> found;
        for (const Note& note : notes)
            if (note.control == control && note.code == code)
                found.push_back(note);
        return found;
    }

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        // The browser's own images, so that rows and items have icons to hit.
        m_small.Create(IDB_SMALL_IMAGES, 16, 0, RGB(255, 0, 255));
        m_large.Create(IDB_LARGE_IMAGES, 32, 1, RGB(255, 0, 255));
        List().SetImageList(&m_small, LVSIL_SMALL);
        List().SetImageList(&m_large, LVSIL_NORMAL);
        Tree().SetImageList(&m_small, TVSIL_NORMAL);
        if (setUp)
            setUp(*this);
        return TRUE;
    }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Note note;
        note.control = static_cast<UINT>(header->idFrom);
        note.code = header->code;
        if (note.control == kListId) {
            switch (header->code) {
            case NM_CLICK:
            case NM_DBLCLK:
            case NM_RCLICK:
                note.item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
                break;
            case LVN_ENDLABELEDIT: {
                const auto* info = reinterpret_cast<const NMLVDISPINFO*>(lParam);
                note.item = info->item.iItem;
                note.hasText = info->item.pszText != nullptr;
                note.text = note.hasText ? info->item.pszText : "";
                break;
            }
            default:
                break;
            }
        }
        notes.push_back(note);
        switch (header->code) {
        case LVN_ENDLABELEDIT:
        case TVN_ENDLABELEDIT:
            *result = TRUE;
            return TRUE;
        case NM_RCLICK:
            ShowContextMenu();
            *result = 0;
            return TRUE;
        case NM_CLICK:
            if (clicksFail)
                throw CDaoException(AFX_DAO_ERROR_ENGINE, "Die Datenbank ist gesperrt.");
            return CDialog::OnNotify(wParam, lParam, result);
        default:
            return CDialog::OnNotify(wParam, lParam, result);
        }
    }

private:
    CImageList m_small;
    CImageList m_large;

    void ShowContextMenu() {
        ++menusShown;
        CMenu create;
        create.CreatePopupMenu();
        create.AppendMenu(MF_STRING, kCmdNewFolder, "&Verzeichnis");
        create.AppendMenu(MF_STRING, kCmdNewStill, "&Standbild");
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, kCmdOpen, "&Öffnen");
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(create.Detach()), "Erzeugen");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_GRAYED, kCmdGreyed, "Ein&fügen");
        menu.AppendMenu(MF_STRING, kCmdRemove, "&Entfernen");
        CPoint point;
        GetCursorPos(&point);
        menuChoice = static_cast<UINT>(
            menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, point.x, point.y, this));
    }
};

void FillList(CListCtrl& list, int rows) {
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 110);
    list.InsertColumn(1, "Typ", LVCFMT_LEFT, 70);
    list.InsertColumn(2, "ID", LVCFMT_LEFT, 40);
    for (int i = 0; i < rows; ++i) {
        const std::string name = "Standbild " + std::to_string(i + 1);
        const int row = list.InsertItem(i, name.c_str());
        list.SetItemText(row, 1, i % 2 ? "Standbild" : "Verzeichnis");
        list.SetItemText(row, 2, std::to_string(100 - i).c_str());
        list.SetItemData(row, static_cast<DWORD_PTR>(100 - i));
    }
}

struct TreeItems {
    HTREEITEM root = nullptr;
    HTREEITEM reisen = nullptr;
    HTREEITEM tiere = nullptr;
    HTREEITEM hafen = nullptr;
};

TreeItems FillTree(CTreeCtrl& tree) {
    TreeItems items;
    items.root = tree.InsertItem("Sammlung");
    items.reisen = tree.InsertItem("Reisen", items.root);
    items.tiere = tree.InsertItem("Tiere", items.root);
    items.hafen = tree.InsertItem("Hafen", items.reisen);
    tree.InsertItem("Küste", items.reisen);
    return items;
}

std::vector<int> Selected(const CListCtrl& list) {
    std::vector<int> rows;
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0;
         i = list.GetNextItem(i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

// ---- List: handlers, states, marquees ----

TEST_P(ConformanceTest, AHandlersExceptionIsShownAndTheDialogGoesOn) {
    RecordingNotifier notifier;
    ScopedUserNotifier notifierScope(notifier);
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 3); };
    dialog.clicksFail = true;
    driver().Then([&](UiDriver& d) { d.ClickListItem(dialog.List(), 1); }).Then([&](UiDriver& d) {
        ASSERT_EQ(notifier.messages.size(), 1u);
        EXPECT_EQ(notifier.messages[0].text, "Die Datenbank ist gesperrt.");
        // The click itself was done before its handler failed; the next one works as well.
        EXPECT_EQ(Selected(dialog.List()), std::vector<int>{1});
        d.ClickListItem(dialog.List(), 2);
        EXPECT_EQ(Selected(dialog.List()), std::vector<int>{2});
        EXPECT_EQ(notifier.messages.size(), 2u);
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.Notes(kListId, NM_CLICK).size(), 2u);
}

TEST_P(ConformanceTest, ADropHighlightedRowShowsInTheHighlightColour) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 4); };
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            list.SetItemState(1, LVIS_DROPHILITED, LVIS_DROPHILITED);
            d.Flush();
            // A highlighted row is painted in the highlight colour, an ordinary one is not.
            CRect row1;
            CRect row3;
            list.GetItemRect(1, &row1, LVIR_LABEL);
            list.GetItemRect(3, &row3, LVIR_LABEL);
            const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
            EXPECT_EQ(d.PixelAt(list, CPoint(row1.right - 2, row1.top + 1)), highlight);
            EXPECT_NE(d.PixelAt(list, CPoint(row3.right - 2, row3.top + 1)), highlight);
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_P(ConformanceTest, OnlyTheControlWithTheFocusShowsItsSelectionHighlighted) {
    ControlsDialog dialog;
    TreeItems items;
    dialog.setUp = [&](ControlsDialog& d) {
        FillList(d.List(), 4);
        items = FillTree(d.Tree());
        d.Tree().Expand(items.root, TVE_EXPAND);
    };
    std::vector<COLORREF> listColours;
    std::vector<COLORREF> treeColours;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            CTreeCtrl& tree = dialog.Tree();
            d.ClickTreeItem(tree, items.tiere);
            d.ClickListItem(list, 1);
            auto look = [&] {
                CRect row;
                list.GetItemRect(1, &row, LVIR_LABEL);
                CRect item;
                tree.GetItemRect(items.tiere, &item, TRUE);
                listColours.push_back(d.PixelAt(list, CPoint(row.right - 2, row.top + 1)));
                treeColours.push_back(d.PixelAt(tree, CPoint(item.right - 2, item.top + 1)));
            };
            look();
            d.ClickTreeItem(tree, items.tiere);
            look();
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(listColours, (std::vector<COLORREF>{highlight, face}));
    EXPECT_EQ(treeColours, (std::vector<COLORREF>{face, highlight}));
}

TEST_P(ConformanceTest, AMarqueeFromEmptySpaceSelectsTheRowsItTouches) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 4); };
    std::vector<std::vector<int>> selections;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            CRect client;
            list.GetClientRect(&client);
            CRect row[4];
            for (int i = 0; i < 4; ++i)
                list.GetItemRect(i, &row[i], LVIR_BOUNDS);
            const CPoint below(40, row[3].bottom + 12);
            ASSERT_LT(below.y, client.bottom);
            d.Drag(list, below, {CPoint(50, row[3].top)}, CPoint(60, row[2].CenterPoint().y));
            selections.push_back(Selected(list));
            // With Control the rows touched change sides; with Shift they join.
            d.Drag(list, below, {CPoint(50, row[2].top)}, CPoint(50, row[1].CenterPoint().y),
                   MK_CONTROL);
            selections.push_back(Selected(list));
            d.Drag(list, below, {CPoint(45, row[3].bottom)}, CPoint(45, row[3].CenterPoint().y),
                   MK_SHIFT);
            selections.push_back(Selected(list));
            // A plain click there clears the selection, as before.
            d.Click(list, below);
            selections.push_back(Selected(list));
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    using Rows = std::vector<int>;
    EXPECT_EQ(selections, (std::vector<Rows>{{2, 3}, {1}, {1, 3}, {}}));
    // Marquees are neither clicks nor drags of rows.
    EXPECT_EQ(dialog.Notes(kListId, NM_CLICK).size(), 1u);
    EXPECT_TRUE(dialog.Notes(kListId, LVN_BEGINDRAG).empty());
}

TEST_P(ConformanceTest, AMarqueeHeldBelowTheListScrollsItAndSelectsOnTheWay) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 60); };
    int page = 0;
    int topWhileHeld = -1;
    int topAfterRelease = -1;
    int topLater = -1;
    std::vector<int> selected;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            page = list.GetCountPerPage();
            CRect client;
            list.GetClientRect(&client);
            CRect typ;
            list.GetSubItemRect(1, 1, LVIR_BOUNDS, typ); // beside the label: empty space
            const CPoint start = typ.CenterPoint();
            const CPoint below(start.x, client.bottom + 20);
            d.MouseDown(list, start);
            d.MouseMove(list, CPoint(start.x, client.bottom - 5));
            d.MouseMove(list, below);
            d.Wait(600);
            topWhileHeld = list.GetTopIndex();
            d.MouseUp(list, below);
            topAfterRelease = list.GetTopIndex();
            d.Wait(300);
            topLater = list.GetTopIndex();
            selected = Selected(list);
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    ASSERT_GT(page, 1);
    EXPECT_GT(topWhileHeld, 2);           // a row every 50 ms while the pointer stays below
    EXPECT_EQ(topLater, topAfterRelease); // and no more once the button is up
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front(), 1);
    EXPECT_GE(selected.back(), page + 2); // rows scrolled into the marquee joined it
    EXPECT_EQ(static_cast<int>(selected.size()), selected.back()); // one run from row 1 on
}

// ---- List: label editing ----

TEST_P(ConformanceTest, ListLabelEditStartsOnASlowClickEndsOnEscapeAndCommitsTypedText) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 4); };
    std::string afterEscape;
    driver()
        .Then([&](UiDriver& d) {
            d.ClickListItem(dialog.List(), 1);
            d.ElapseDoubleClickTime();
            // A second, slow click on the selected label opens the editor.
            d.SlowClickListItem(dialog.List(), 1);
            ASSERT_NE(dialog.List().GetEditControl(), nullptr);
        })
        .Then([&](UiDriver& d) {
            d.TypeText("Weg");
            d.PressKey(VK_ESCAPE); // ends the edit, not the dialog
            afterEscape = dialog.List().GetItemText(1, 0).str();
            ASSERT_NE(dialog.List().EditLabel(1), nullptr);
        })
        .Then([&](UiDriver& d) {
            d.PressKey(VK_END);
            d.TypeText(" Größe");
            d.PressKey(VK_RETURN);
        })
        .Then([&](UiDriver& d) {
            EXPECT_EQ(dialog.List().GetEditControl(), nullptr);
            d.PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(afterEscape, "Standbild 2");
    const std::vector<Note> ends = dialog.Notes(kListId, LVN_ENDLABELEDIT);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_FALSE(ends[0].hasText); // cancelled
    EXPECT_EQ(ends[1].text, "Standbild 2 Größe");
}

// ---- List: columns ----

TEST_P(ConformanceTest, HeaderDividersSizeColumnsByDragAndFitThemByDoubleClick) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 5); };
    HCURSOR onDivider = nullptr;
    HCURSOR belowDivider = nullptr;
    int whileDragging = -1;
    int dragged = -1;
    int typLeft = -1;
    int fitted = -1;
    int fittedByCall = -1;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            const long y = d.ColumnHeaderPoint(list, 0).y;
            d.MouseMove(list, CPoint(111, y)); // the divider after "Name" (110 wide)
            onDivider = d.CurrentCursor();
            d.MouseMove(list, CPoint(111, y + 40)); // on the rows, in line with the divider
            belowDivider = d.CurrentCursor();
            // Dragged from a pixel right of the divider: the column keeps that offset.
            d.MouseDown(list, CPoint(112, y));
            d.MouseMove(list, CPoint(142, y));
            whileDragging = list.GetColumnWidth(0);
            d.MouseMove(list, CPoint(162, y));
            d.MouseUp(list, CPoint(162, y));
            dragged = list.GetColumnWidth(0);
            CRect typCell;
            list.GetSubItemRect(0, 1, LVIR_BOUNDS, typCell);
            typLeft = typCell.left;
            // A double click on a divider fits the column to its texts and header.
            d.DoubleClick(list, CPoint(160, y));
            fitted = list.GetColumnWidth(0);
            list.SetColumnWidth(0, 200);
            list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
            fittedByCall = list.GetColumnWidth(0);
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    EXPECT_EQ(onDivider, LoadCursor(nullptr, IDC_SIZEWE));
    EXPECT_NE(belowDivider, LoadCursor(nullptr, IDC_SIZEWE));
    EXPECT_EQ(whileDragging, 140); // the column follows the pointer
    EXPECT_EQ(dragged, 160);
    EXPECT_EQ(typLeft, 160);
    EXPECT_EQ(fitted, fittedByCall);
    EXPECT_GT(fitted, 0);
    EXPECT_LT(fitted, 160);
}

// ---- Finding items by typing ----

TEST_P(ConformanceTest, TypingFindsListRowsAndTreeItemsByTheStartOfTheirText) {
    ControlsDialog dialog;
    HTREEITEM berge = nullptr;
    HTREEITEM bilder = nullptr;
    HTREEITEM buecher = nullptr;
    HTREEITEM oelfarben = nullptr;
    dialog.setUp = [&](ControlsDialog& d) {
        d.List().InsertColumn(0, "Name", LVCFMT_LEFT, 110);
        int row = 0;
        for (const char* name : {"Alpha", "Beta", "Bern", "Berlin", "Gamma", "Ärger", "ärmel",
                                 "Neue Alben", "Neue Bilder"})
            d.List().InsertItem(row++, name);
        CTreeCtrl& tree = d.Tree();
        const HTREEITEM root = tree.InsertItem("Sammlung");
        tree.InsertItem("Archiv", root);
        berge = tree.InsertItem("Berge", root);
        tree.InsertItem("Bach", berge); // collapsed: never found
        bilder = tree.InsertItem("Bilder", root);
        buecher = tree.InsertItem("Bücher", root);
        oelfarben = tree.InsertItem("\xD6lfarben", root); // written by a Windows program
        tree.Expand(root, TVE_EXPAND);
        tree.SelectItem(root);
    };
    std::vector<std::vector<int>> rows;
    std::vector<HTREEITEM> items;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            list.SetFocus();
            auto type = [&](std::string_view text) {
                d.TypeText(text);
                rows.push_back(Selected(list));
            };
            type("b"); // the first "B"
            type("b"); // the same letter again: the next one, then round to the first
            type("b");
            type("b");
            d.Wait(1500);
            type("berl"); // a prefix typed in one go
            d.Wait(1500);
            type("ä"); // letters match either case, umlauts too
            type("ä");
            d.Wait(1500);
            type("x"); // nothing starts so: the selection stays
            d.Wait(1500);
            type("a"); // the first letter of the alphabet folds as well
            d.Wait(1500);
            type("neue b"); // a blank within a search belongs to it
        })
        .Then([&](UiDriver& d) {
            CTreeCtrl& tree = dialog.Tree();
            tree.SetFocus();
            for (const char* text : {"b", "b", "b", "b"}) {
                d.TypeText(text);
                items.push_back(tree.GetSelectedItem());
            }
            d.Wait(1500);
            d.TypeText("bü");
            items.push_back(tree.GetSelectedItem());
            d.Wait(1500);
            d.TypeText("öl");
            items.push_back(tree.GetSelectedItem());
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    using Rows = std::vector<int>;
    EXPECT_EQ(rows, (std::vector<Rows>{{1}, {2}, {3}, {1}, {3}, {5}, {6}, {6}, {0}, {8}}));
    EXPECT_EQ(items, (std::vector<HTREEITEM>{berge, bilder, buecher, berge, buecher, oelfarben}));
}

// ---- Mouse wheel ----

TEST_P(ConformanceTest, ASidewaysTurnScrollsTheControlUnderThePointerSideways) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) {
        FillList(d.List(), 60);
        d.List().InsertColumn(3, "Notiz", LVCFMT_LEFT, 400);
        const HTREEITEM root = d.Tree().InsertItem("Sammlung");
        d.Tree().InsertItem("Ordner mit einem Namen, der weit über den Rand des Baums reicht",
                            root);
        d.Tree().Expand(root, TVE_EXPAND);
    };
    auto rowLeft = [&](int row) {
        CRect bounds;
        dialog.List().GetItemRect(row, &bounds, LVIR_BOUNDS);
        return static_cast<int>(bounds.left);
    };
    auto rootLeft = [&] {
        CRect label;
        dialog.Tree().GetItemRect(dialog.Tree().GetRootItem(), &label, TRUE);
        return static_cast<int>(label.left);
    };
    auto centre = [](CWnd& control) {
        CRect client;
        control.GetClientRect(&client);
        return client.CenterPoint();
    };
    std::vector<int> listLefts;
    std::vector<int> treeLefts;
    int listRight = 0;
    int columnsRight = 0;
    int topIndex = -1;
    int listColumnStep = 0;
    int listColumnLeft = 0;
    int indent = 0;
    int arrowLeft = 0;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            listLefts.push_back(rowLeft(0));
            d.MouseWheelSideways(list, centre(list), 1); // to the right
            listLefts.push_back(rowLeft(0));
            d.MouseWheelSideways(list, centre(list), 1);
            listLefts.push_back(rowLeft(0));
            d.MouseWheelSideways(list, centre(list), -5); // past the left edge: stops there
            listLefts.push_back(rowLeft(0));
            // The bar's right arrow moves a third of a notch.
            CRect inside;
            list.GetClientRect(&inside);
            const int bar = GetSystemMetrics(SM_CXVSCROLL);
            d.Click(list, CPoint(inside.right - bar / 2, inside.bottom + bar / 2));
            arrowLeft = rowLeft(0);
            d.MouseWheelSideways(list, centre(list), -1);
            d.MouseWheelSideways(list, centre(list), 100); // to the end
            CRect client;
            list.GetClientRect(&client);
            listRight = client.right;
            CRect last;
            list.GetSubItemRect(0, 3, LVIR_BOUNDS, last);
            columnsRight = last.right;
            topIndex = list.GetTopIndex();
            listLefts.push_back(rowLeft(0));
            // Over the tree only the tree moves.
            indent = static_cast<int>(dialog.Tree().GetIndent());
            treeLefts.push_back(rootLeft());
            d.MouseWheelSideways(dialog.Tree(), centre(dialog.Tree()), 1);
            treeLefts.push_back(rootLeft());
            listLefts.push_back(rowLeft(0));
            d.MouseWheelSideways(dialog.Tree(), centre(dialog.Tree()), -1);
            treeLefts.push_back(rootLeft());
            // The list view runs sideways in columns: a notch moves it one.
            list.ModifyStyle(LVS_TYPEMASK, LVS_LIST);
            const int first = rowLeft(0);
            int row = 1;
            while (row < list.GetItemCount() && rowLeft(row) == first)
                ++row;
            listColumnStep = rowLeft(row) - first;
            d.MouseWheelSideways(list, centre(list), 1);
            listColumnLeft = rowLeft(0) - first;
        })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    ASSERT_EQ(listLefts.size(), 6u);
    const int notch = listLefts[0] - listLefts[1];
    EXPECT_GT(notch, 0);
    EXPECT_EQ(listLefts[0] - listLefts[2], 2 * notch);
    EXPECT_EQ(listLefts[3], listLefts[0]);
    EXPECT_EQ(listLefts[0] - arrowLeft, notch / 3);
    EXPECT_EQ(columnsRight, listRight) << "the last column's right edge at the list's right";
    EXPECT_EQ(topIndex, 0) << "a sideways turn scrolls no rows";
    EXPECT_EQ(listLefts[5], listLefts[4]);
    ASSERT_EQ(treeLefts.size(), 3u);
    EXPECT_EQ(treeLefts[0] - treeLefts[1], 3 * indent);
    EXPECT_EQ(treeLefts[2], treeLefts[0]);
    EXPECT_GT(listColumnStep, 0);
    EXPECT_EQ(listColumnLeft, -listColumnStep);
}

// ---- Popup menus ----

TEST_P(ConformanceTest, ContextMenusShowTheirStructureAndReturnTheChoice) {
    ControlsDialog dialog;
    dialog.setUp = [](ControlsDialog& d) { FillList(d.List(), 3); };
    std::vector<MenuItemInfo> shown;
    bool greyedRefused = false;
    UINT firstChoice = 0;
    driver()
        .Then([&](UiDriver& d) { d.RightClickListItem(dialog.List(), 1); })
        .Then([&](UiDriver& d) {
            ASSERT_TRUE(d.MenuShown());
            shown = d.MenuItems();
            greyedRefused = !d.ChooseMenuItem(kCmdGreyed);
            EXPECT_TRUE(d.ChooseMenuItem(kCmdNewStill));
        })
        .Then([&](UiDriver& d) {
            EXPECT_FALSE(d.MenuShown());
            firstChoice = dialog.menuChoice;
            d.RightClickListItem(dialog.List(), 2);
        })
        .Then([&](UiDriver& d) { d.DismissMenu(); })
        .Then([&](UiDriver& d) { d.PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].id, kCmdOpen);
    EXPECT_TRUE(shown[1].popup);
    ASSERT_EQ(shown[1].subItems.size(), 2u);
    EXPECT_EQ(shown[1].subItems[1].id, kCmdNewStill);
    EXPECT_TRUE(shown[2].separator);
    EXPECT_TRUE(shown[3].grayed);
    EXPECT_FALSE(shown[4].grayed);
    EXPECT_TRUE(greyedRefused);
    EXPECT_EQ(firstChoice, kCmdNewStill);
    EXPECT_EQ(dialog.menusShown, 2);
    EXPECT_EQ(dialog.menuChoice, 0u); // dismissed
    // The right click selected the row under the pointer before the menu came.
    const std::vector<Note> rightClicks = dialog.Notes(kListId, NM_RCLICK);
    ASSERT_EQ(rightClicks.size(), 2u);
    EXPECT_EQ(rightClicks[0].item, 1);
    EXPECT_EQ(rightClicks[1].item, 2);
}

} // namespace

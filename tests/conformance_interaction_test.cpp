// What the browser's interaction needs from every backend beyond the controls: a splitter-like
// drag with the mouse captured, its own cursor and an inverted tracking bar; drawing over list
// rows after they are painted; a row dragged with its drag image; a borderless editor placed
// exactly over a list cell that commits on a click outside it.
#include "tests/e2e/conformance_backend.h"

#include "platform/app.h"
#include "platform/dialog.h"
#include "platform/image_list.h"
#include "platform/list_ctrl.h"
#include "platform/tree_ctrl.h"
#include "platform/win_styles.h"
#include "resources/resource_ids.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr UINT kListId = 100;
constexpr UINT kTreeId = 101;
constexpr UINT kSplitterCursor = 130;
constexpr COLORREF kMarker = RGB(255, 0, 0);

// The list and the tree with a gap between them, the splitter's place.
const ControlTemplate kControls[] = {
    {kListId, ControlClass::ListView, nullptr, 4, 4, 150, 120,
     WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE},
    {kTreeId, ControlClass::TreeView, nullptr, 170, 4, 140, 120,
     WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE},
};
const DialogTemplate kTemplate{9002,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                               0,
                               "Zusammenspiel",
                               "MS Sans Serif",
                               8,
                               0,
                               0,
                               316,
                               130,
                               kControls};

// The cell editor's shape: a popup without caption or border holding one edit, with an OK
// button below its visible area so that Enter commits.
constexpr UINT kCellEdit = 1001;
const ControlTemplate kEditorControls[] = {
    {kCellEdit, ControlClass::Edit, "", 0, 0, 113, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {IDOK, ControlClass::Button, "OK", 99, 16, 7, 6, BS_DEFPUSHBUTTON, 0},
};
const DialogTemplate kEditorTemplate{9003, WS_POPUP, 0,   "", "Small Fonts",  7,
                                     0,    0,        113, 14, kEditorControls};

class CellEditor : public CDialog {
public:
    explicit CellEditor(CWnd* parent) : CDialog(kEditorTemplate, parent) {}

    CRect cell; // screen coordinates
    CString text;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetDlgItemText(kCellEdit, text);
        SetWindowPos(&wndTop, cell.left, cell.top, cell.Width(), cell.Height(), SWP_SHOWWINDOW);
        GetDlgItem(kCellEdit)->MoveWindow(0, 0, cell.Width(), cell.Height());
        SetCapture();
        GetDlgItem(kCellEdit)->SetFocus();
        return FALSE;
    }
    void OnOK() override {
        GetDlgItemText(kCellEdit, text);
        EndDialog(IDOK);
    }
    void OnLButtonDown(UINT, CPoint point) {
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point)) {
            ReleaseCapture();
            OnOK();
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CellEditor, CDialog)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class InteractionDialog : public CDialog {
public:
    InteractionDialog() : CDialog(kTemplate) {}

    CListCtrl& List() { return *static_cast<CListCtrl*>(GetDlgItem(kListId)); }
    CTreeCtrl& Tree() { return *static_cast<CTreeCtrl*>(GetDlgItem(kTreeId)); }

    // The gap between the two controls, in client coordinates.
    CRect Gap() {
        CRect list;
        CRect tree;
        List().GetWindowRect(&list);
        Tree().GetWindowRect(&tree);
        ScreenToClient(&list);
        ScreenToClient(&tree);
        return CRect(list.right, tree.top, tree.left, tree.bottom);
    }

    HCURSOR splitterCursor = nullptr;
    bool tracking = false;
    CRect bar;
    std::vector<CPoint> trackedMoves;
    std::optional<int> trackEnd;
    bool drawOverRows = false;
    // Row drag.
    int draggedRow = -1;
    bool dragging = false;
    CString dropTarget;
    int treeClicks = 0;
    // Cell editing.
    CRect editorCell;
    CRect editorClientOnScreen;
    std::optional<CString> committed;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        splitterCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kSplitterCursor));
        m_small.Create(IDB_SMALL_IMAGES, 16, 0, RGB(255, 0, 255));
        List().SetImageList(&m_small, LVSIL_SMALL);
        Tree().SetImageList(&m_small, TVSIL_NORMAL);
        List().InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        List().InsertColumn(1, "Fotograf", LVCFMT_LEFT, 100);
        for (int i = 0; i < 5; ++i) {
            const int row = List().InsertItem(i, ("Bild " + std::to_string(i + 1)).c_str(), 1);
            List().SetItemText(row, 1, "Anna");
        }
        const HTREEITEM root = Tree().InsertItem("Sammlung", 0, 3);
        Tree().InsertItem("Reisen", 0, 3, root);
        Tree().InsertItem("Tiere", 0, 3, root);
        Tree().Expand(root, TVE_EXPAND);
        return TRUE;
    }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kListId && header->code == NM_CUSTOMDRAW) {
            auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
            switch (draw->nmcd.dwDrawStage) {
            case CDDS_PREPAINT:
                *result = drawOverRows ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
                break;
            case CDDS_ITEMPREPAINT:
                *result = CDRF_NOTIFYPOSTPAINT;
                break;
            case CDDS_ITEMPOSTPAINT: {
                CRect icon;
                List().GetItemRect(static_cast<int>(draw->nmcd.dwItemSpec), &icon, LVIR_ICON);
                CDC::FromHandle(draw->nmcd.hdc)->FillSolidRect(&icon, kMarker);
                *result = 0;
                break;
            }
            default:
                *result = 0;
            }
            return TRUE;
        }
        if (header->idFrom == kListId && header->code == LVN_BEGINDRAG) {
            const auto* info = reinterpret_cast<const NMLISTVIEW*>(lParam);
            draggedRow = info->iItem;
            CPoint topLeft;
            m_dragImage = List().CreateDragImage(info->iItem, &topLeft);
            const CPoint grab(info->ptAction.x - topLeft.x, info->ptAction.y - topLeft.y);
            m_dragImage->BeginDrag(0, grab);
            CPoint at = info->ptAction;
            List().ClientToScreen(&at);
            CRect window;
            GetWindowRect(&window);
            CImageList::DragEnter(this, CPoint(at.x - window.left, at.y - window.top));
            SetCapture();
            dragging = true;
            *result = 0;
            return TRUE;
        }
        if (header->idFrom == kTreeId && header->code == NM_CLICK)
            ++treeClicks;
        if (header->idFrom == kListId && header->code == NM_DBLCLK) {
            // In the report view only the first column is the item: find the cell as the
            // browser does for its extra columns.
            LVHITTESTINFO hit{};
            hit.pt = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->ptAction;
            if (List().SubItemHitTest(&hit) >= 0 && hit.iSubItem == 1)
                EditCell(hit.iItem, 1);
            *result = 0;
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, result);
    }

    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
        if (window == this && hitTest == HTCLIENT && !tracking) {
            CPoint point;
            GetCursorPos(&point);
            ScreenToClient(&point);
            if (Gap().PtInRect(point)) {
                ::SetCursor(splitterCursor);
                return TRUE;
            }
        }
        return CDialog::OnSetCursor(window, hitTest, message);
    }

    void OnLButtonDown(UINT, CPoint point) {
        if (!Gap().PtInRect(point))
            return;
        SetCapture();
        tracking = true;
        DrawBar(CRect(point.x - 1, Gap().top, point.x + 2, Gap().bottom));
    }

    void OnMouseMove(UINT, CPoint point) {
        if (tracking) {
            trackedMoves.push_back(point);
            DrawBar(bar);
            DrawBar(CRect(point.x - 1, bar.top, point.x + 2, bar.bottom));
        } else if (dragging) {
            CRect window;
            GetWindowRect(&window);
            CPoint at = point;
            ClientToScreen(&at);
            CImageList::DragMove(CPoint(at.x - window.left, at.y - window.top));
        }
    }

    void OnLButtonUp(UINT, CPoint point) {
        if (tracking) {
            DrawBar(bar);
            tracking = false;
            ReleaseCapture();
            trackEnd = point.x;
        } else if (dragging) {
            CImageList::EndDrag();
            CImageList::DragLeave(this);
            ReleaseCapture();
            dragging = false;
            m_dragImage.reset();
            CPoint inTree = point;
            MapWindowPoints(&Tree(), &inTree, 1);
            if (const HTREEITEM hit = Tree().HitTest(inTree))
                dropTarget = Tree().GetItemText(hit);
        }
    }

    DECLARE_MESSAGE_MAP()

private:
    // The tracking bar: a halftone inverted on the client area; drawn twice it is gone.
    void DrawBar(const CRect& rect) {
        bar = rect;
        CDC* dc = GetDC();
        CBrush* previous = dc->SelectObject(CDC::GetHalftoneBrush());
        dc->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
        dc->SelectObject(previous);
        ReleaseDC(dc);
    }

    void EditCell(int row, int column) {
        CRect cell;
        List().GetSubItemRect(row, column, LVIR_LABEL, cell);
        List().ClientToScreen(&cell);
        CellEditor editor(this);
        editor.cell = cell;
        editor.text = List().GetItemText(row, column);
        editorCell = cell;
        if (editor.DoModal() == IDOK) {
            committed = editor.text;
            List().SetItemText(row, column, editor.text);
        }
    }

    CImageList m_small;
    std::unique_ptr<CImageList> m_dragImage;
};

BEGIN_MESSAGE_MAP(InteractionDialog, CDialog)
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// Whether the bar's halftone shows at `y` around `x`: a checkerboard inverts every other pixel.
bool Inverted(UiDriver& d, CWnd& window, int x, int y, COLORREF under) {
    const COLORREF inverted = under ^ 0xFFFFFF;
    return d.PixelAt(window, CPoint(x, y)) == inverted ||
           d.PixelAt(window, CPoint(x + 1, y)) == inverted;
}

TEST_P(ConformanceTest, SplitterDragCapturesTheMouseShowsItsCursorAndAnInvertedBar) {
    InteractionDialog dialog;
    COLORREF face = 0;
    bool barShown = false;
    bool barFollowed = false;
    bool oldPlaceRestored = false;
    bool barGone = false;
    HCURSOR overGap = nullptr;
    HCURSOR overList = nullptr;
    driver().Then([&](UiDriver& d) {
        const CRect gap = dialog.Gap();
        const CPoint grab = gap.CenterPoint();
        face = d.PixelAt(dialog, grab);
        d.MouseMove(dialog, grab);
        overGap = d.CurrentCursor();
        d.MouseMove(dialog, CPoint(gap.left - 30, grab.y)); // over the list
        overList = d.CurrentCursor();
        d.MouseMove(dialog, grab);
        d.MouseDown(dialog, grab);
        barShown = Inverted(d, dialog, grab.x - 1, grab.y, face);
        // Over the tree: the dialog still gets the moves, the tree no click.
        CRect tree;
        dialog.Tree().GetWindowRect(&tree);
        dialog.ScreenToClient(&tree);
        const CPoint over(tree.left + 40, grab.y);
        const COLORREF treeBack = d.PixelAt(dialog, CPoint(over.x - 1, tree.bottom - 8));
        EXPECT_EQ(d.PixelAt(dialog, CPoint(over.x, tree.bottom - 8)), treeBack);
        d.MouseMove(dialog, CPoint(grab.x + 20, grab.y));
        d.MouseMove(dialog, over);
        barFollowed = Inverted(d, dialog, over.x - 1, tree.bottom - 8, treeBack);
        oldPlaceRestored = d.PixelAt(dialog, CPoint(grab.x - 1, grab.y)) == face &&
                           d.PixelAt(dialog, CPoint(grab.x, grab.y)) == face;
        d.MouseUp(dialog, over);
        barGone = d.PixelAt(dialog, CPoint(over.x - 1, tree.bottom - 8)) == treeBack &&
                  d.PixelAt(dialog, CPoint(over.x, tree.bottom - 8)) == treeBack;
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        ASSERT_TRUE(dialog.trackEnd.has_value());
        EXPECT_EQ(*dialog.trackEnd, over.x);
        ASSERT_FALSE(dialog.trackedMoves.empty());
        EXPECT_EQ(dialog.trackedMoves.back(), over);
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_NE(dialog.splitterCursor, nullptr);
    EXPECT_EQ(overGap, dialog.splitterCursor);
    EXPECT_NE(overList, dialog.splitterCursor);
    EXPECT_TRUE(barShown);
    EXPECT_TRUE(barFollowed);
    EXPECT_TRUE(oldPlaceRestored);
    EXPECT_TRUE(barGone);
    EXPECT_EQ(dialog.treeClicks, 0);
}

TEST_P(ConformanceTest, DrawingAfterARowIsPaintedShowsOverIt) {
    InteractionDialog dialog;
    COLORREF before = 0;
    COLORREF after = 0;
    driver().Then([&](UiDriver& d) {
        CListCtrl& list = dialog.List();
        CRect icon;
        list.GetItemRect(2, &icon, LVIR_ICON);
        before = d.PixelAt(list, icon.CenterPoint());
        dialog.drawOverRows = true;
        list.Invalidate();
        d.Flush();
        after = d.PixelAt(list, icon.CenterPoint());
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_NE(before, kMarker);
    EXPECT_EQ(after, kMarker);
}

TEST_P(ConformanceTest, ARowDraggedOntoTheTreeDropsOnTheItemUnderThePointer) {
    InteractionDialog dialog;
    driver().Then([&](UiDriver& d) {
        CListCtrl& list = dialog.List();
        CTreeCtrl& tree = dialog.Tree();
        const HTREEITEM tiere = d.FindTreeItem(tree, "Tiere");
        ASSERT_NE(tiere, nullptr);
        CPoint target = d.TreeItemPoint(tree, tiere);
        tree.MapWindowPoints(&list, &target, 1);
        const CPoint from = d.ListItemPoint(list, 3);
        d.Drag(list, from, {CPoint(from.x + 10, from.y + 2), CPoint(from.x + 60, from.y)}, target);
        EXPECT_FALSE(dialog.dragging);
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        d.PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.draggedRow, 3);
    EXPECT_EQ(dialog.dropTarget, CString("Tiere"));
}

TEST_P(ConformanceTest, ACellEditorOpensOverTheCellAndCommitsOnAClickOutside) {
    InteractionDialog dialog;
    driver()
        .Then([&](UiDriver& d) {
            CListCtrl& list = dialog.List();
            CRect cell;
            list.GetSubItemRect(1, 1, LVIR_LABEL, cell);
            d.DoubleClick(list, cell.CenterPoint());
        })
        .Then([&](UiDriver& d) {
            // Inside the editor's own modal run.
            CWnd* editor = d.ActiveWindow();
            ASSERT_NE(editor, nullptr);
            ASSERT_NE(editor, &dialog);
            CPoint origin(0, 0);
            editor->ClientToScreen(&origin);
            EXPECT_EQ(origin, dialog.editorCell.TopLeft());
            d.PressKey(VK_END);
            d.TypeText(" Lund");
            // A click on the tree, outside the editor, commits.
            CRect tree;
            dialog.Tree().GetClientRect(&tree);
            d.Click(dialog.Tree(), tree.CenterPoint());
        })
        .Then([&](UiDriver& d) {
            EXPECT_EQ(dialog.List().GetItemText(1, 1), CString("Anna Lund"));
            d.PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_TRUE(dialog.committed.has_value());
    EXPECT_EQ(*dialog.committed, CString("Anna Lund"));
}

} // namespace

// The list view's model and behaviour: rows with their sub-item texts, images, states and data,
// columns, the item layout of the four views with its hit tests and rectangles, scrolling,
// selection by mouse and keyboard, label editing, drag start, custom draw and painting. Every
// backend shows this layout, so it is computed here from font metrics and image sizes only.
// Layer-internal; CListCtrl is its MFC face.
//
// Geometry, with W(t) the text width, L the line height, (sx, sy) the small and (lx, ly) the
// large image size (16 x 16 and 32 x 32 when no list is set), all in client pixels:
// - report: header L + 6 high; rows max(sy, L) + 1 high from under the header; column 0 holds
//   the image at +2 and the label from the image's right edge + 2 to the column's end; the
//   bounds span all columns; only column 0 counts as the item in hit tests.
// - list and small icons: cells C wide and max(sy, L) + 1 high, where C is the widest item plus
//   6 (an item: 2, image, 2, label of W(t) + 4); the list fills columns top to bottom, the small
//   icon view rows left to right.
// - icons: cells lx + 44 wide and ly + 2L + 14 high, rows left to right; the icon area is the cell
//   less 2 on each side and ly + 4 high (image centred, 2 below its top); the label below it is
//   W(t) + 4 wide, at most the cell less 4, one line or two when it does not fit, centred.
#pragma once

#include "platform/control_classes.h"
#include "platform/image_list_data.h"
#include "platform/list_sub_item_texts.h"
#include "platform/mouse_wheel.h"
#include "platform/type_ahead.h"

#include <memory>
#include <vector>

class CImageList;

class ListView : public WindowClass {
public:
    struct Column {
        CString text;
        int width = 0;
        int format = LVCFMT_LEFT;
        int subItem = 0;
    };
    struct Item {
        CString label;         // sub-item 0
        SubItemTexts subItems; // the other columns' texts
        int image = 0;
        UINT state = 0;
        LPARAM lParam = 0;
        int indent = 0;
    };

    // Width of a column inserted without LVCF_WIDTH.
    static constexpr int kDefaultColumnWidth = 50;

    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroyed(HWND window) override;
    ListView* AsListView() override { return this; }

    HWND window = nullptr;
    std::vector<Column> columns;
    std::vector<Item> items;

    DWORD View() const;
    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    // ---- Rows and columns ----
    int InsertItem(const LVITEM& item);
    bool SetItem(const LVITEM& item);
    bool GetItem(LVITEM& item) const;
    bool DeleteItem(int index);
    bool DeleteAllItems();
    int InsertColumn(int index, const LVCOLUMN& column);
    bool DeleteColumn(int index);
    bool GetColumn(int index, LVCOLUMN& column) const;
    bool SetColumn(int index, const LVCOLUMN& column);
    int ColumnWidth(int index) const;
    bool SetColumnWidth(int index, int width);
    CString Text(int index, int subItem) const;
    bool SortItems(PFNLVCOMPARE compare, LPARAM data);

    // ---- States ----
    // Changes the masked state bits of `index` (-1: every item), with LVN_ITEMCHANGING and
    // LVN_ITEMCHANGED as the control sends them.
    bool SetState(int index, UINT state, UINT mask);
    int NextItem(int start, int flags) const;
    int SelectedCount() const;

    // ---- Geometry ----
    int LineHeight() const;
    CSize SmallImageSize() const;
    CSize LargeImageSize() const;
    int HeaderHeight() const;
    int RowHeight() const;
    int CellWidth() const; // list and small-icon views
    // Items that may show in the client area now (`last` < `first` when none).
    void VisibleRange(int& first, int& last) const;
    CSize IconSpacing() const;
    int ItemsPerColumn() const; // list view
    int ItemsPerRow() const;    // icon views
    int ColumnLeft(int column) const;
    int TotalColumnWidth() const;
    bool ItemRect(int index, UINT code, CRect& rect) const;
    bool SubItemRect(int index, int subItem, UINT code, CRect& rect) const;
    int HitTest(CPoint point, UINT& flags, int* subItem = nullptr) const;
    int HeaderHitTest(CPoint point) const;
    CSize ContentSize() const;
    CPoint Scroll() const { return m_scroll; }
    bool ScrollBy(CSize delta);
    bool EnsureVisible(int index, bool partialOK);
    int TopIndex() const;
    int CountPerPage() const;

    // ---- Label editing ----
    HWND EditLabel(int index);
    void EndEditLabel(bool commit);
    HWND EditWindow() const { return m_editWindow; }
    int EditItem() const { return m_editItem; }

    // ---- Images ----
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* GetImageList(int which) const;
    std::unique_ptr<CImageList> CreateDragImage(int index, CPoint& topLeft) const;

    COLORREF background = CLR_DEFAULT;
    COLORREF textColor = CLR_DEFAULT;
    COLORREF textBackground = CLR_DEFAULT;

private:
    LRESULT NotifyItem(UINT code, int index, UINT newState, UINT oldState, UINT changed,
                       CPoint point = CPoint(), int subItem = 0);
    LRESULT NotifyActivate(UINT code, int index, CPoint point);
    void Changed(ControlChange::Kind kind, int index = -1);
    void ClampScroll();
    void SetScroll(CPoint position);
    void SelectOnly(int index);
    void SelectRange(int from, int to, bool keepOthers);
    void DeselectAllExcept(int keep);
    void MoveTo(int index, bool shift, bool control);
    // The column whose right edge in the header lies at `point` (the last one when several
    // meet there, so that a column dragged to no width can be opened again); -1 elsewhere.
    int HeaderDividerAt(CPoint point) const;
    // Where the pointer is, in client coordinates.
    CPoint PointerInClient() const;
    void OnButtonDown(CPoint point, bool doubleClick);
    void BeginMarquee(CPoint point, UINT keys);
    // The marquee from its start to `point`, and the selection that goes with it.
    void FollowMarquee(CPoint point);
    void EndMarquee();
    // The pointer beyond the list's edge while a marquee is drawn: a step towards it, now and then.
    void AutoScrollTowards(CPoint point);
    // The direction the list scrolls to follow `point`, in ScrollBy's units; empty inside.
    CSize AutoScrollStep(CPoint point) const;
    void OnButtonUp(CPoint point);
    void OnMouseMove(UINT keys, CPoint point);
    void OnRightDown(CPoint point);
    void OnRightUp(CPoint point);
    void OnKey(UINT key);
    // A typed character finds the next row whose label starts with what was typed.
    void OnChar(unsigned ch);
    void OnWheel(int delta);
    void OnSidewaysWheel(int delta);
    void OnScroll(int bar, int code);
    // Shows the scroll bars the contents need and sets them to the view's place.
    void UpdateScrollBars();
    void Paint();
    void PaintItem(CDC& dc, int index, const NMLVCUSTOMDRAW& colors);
    void PaintHeader(CDC& dc);
    const ImageListData* ViewImages() const;

    std::shared_ptr<ImageListData> m_lists[3];
    CImageList* m_listObjects[3] = {};
    CPoint m_scroll;
    int m_listColumnWidth = 0;     // list view: set by SetColumnWidth, 0 = from the items
    mutable int m_widestText = -1; // widest item text, -1 until measured again
    int m_anchor = -1;
    HWND m_editWindow = nullptr;
    int m_editItem = -1;
    bool m_ending = false;
    // Mouse gestures in progress.
    int m_pressItem = -1;
    CPoint m_pressPoint;
    bool m_dragCandidate = false;
    bool m_afterDoubleClick = false;
    int m_selectOnlyOnRelease = -1;
    int m_armedEdit = -1;
    int m_pressedColumn = -1;
    // A press on empty space that, dragged, draws a marquee selecting the items it touches.
    bool m_marqueePressed = false;
    bool m_marqueeShown = false;
    CPoint m_marqueeStart;  // where the press was, in content coordinates (client + scroll)
    CRect m_marquee;        // client coordinates, while shown
    UINT m_marqueeKeys = 0; // MK_CONTROL: toggle against the selection before; MK_SHIFT: add to it
    std::vector<bool> m_selectedBefore;
    bool m_autoScrolling = false; // the marquee's pointer is outside: the list scrolls towards it
    int m_sizedColumn = -1;       // the column whose header divider is being dragged
    long m_sizePressX = 0;        // where the pointer took hold of the divider
    int m_sizeStartWidth = 0;     // the column's width then
    bool m_rightPressed = false;
    bool m_redraw = true; // WM_SETREDRAW: changes repaint the control
    WheelTurns m_wheel;
    WheelTurns m_sidewaysWheel;
    TypeAhead m_typeAhead;
    bool m_updatingBars = false;
};

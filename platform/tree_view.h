// The tree view's model and behaviour: items, expansion, selection, drop highlight, label
// editing, the layout its hit tests and rectangles come from, and its painting. Layer-internal;
// CTreeCtrl is its MFC face.
#pragma once

#include "platform/control_classes.h"
#include "platform/image_list_data.h"
#include "platform/mouse_wheel.h"
#include "platform/type_ahead.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CImageList;

class TreeView : public WindowClass {
public:
    struct Node {
        HTREEITEM handle = nullptr;
        CString text;
        int image = 0;
        int selectedImage = 0;
        UINT state = 0;
        LPARAM lParam = 0;
        int childrenFlag = 0; // TVIF_CHILDREN: 1 shows a button even without children
        Node* parent = nullptr;
        std::vector<Node*> children;
        mutable int textWidth = -1; // the label's text in pixels, measured when first needed
        // Where it stood among its siblings when last looked for: walking siblings one after
        // another finds each at once.
        mutable std::size_t placeHint = 0;
        // Its row among the items shown when they were last listed.
        mutable std::size_t rowHint = 0;

        // A new label, to be measured anew.
        void SetText(const CString& newText) {
            text = newText;
            textWidth = -1;
        }
        // The fields `item`'s mask names.
        void Apply(const TVITEM& item);
    };

    // Layout constants (pixels) besides what the metrics and image list give.
    static constexpr int kDefaultIndent = 19;
    static constexpr int kButtonSize = 9;
    static constexpr int kImageGap = 3;
    static constexpr int kLabelPadding = 2;

    LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroyed(HWND window) override;
    TreeView* AsTreeView() override { return this; }

    HWND window = nullptr;

    Node* Find(HTREEITEM item) const;
    HTREEITEM Insert(const TVINSERTSTRUCT& insert);
    bool Delete(HTREEITEM item);
    bool DeleteAll();
    HTREEITEM Next(HTREEITEM item, UINT code) const;
    bool GetItem(TVITEM& item) const;
    bool SetItem(const TVITEM& item);
    bool Expand(HTREEITEM item, UINT code, bool byUser);
    bool Select(HTREEITEM item, UINT code, UINT action);
    bool EnsureVisible(HTREEITEM item);
    std::size_t Count() const { return m_nodes.size(); }

    // ---- Geometry (client coordinates) ----
    int ItemHeight() const;
    int Indent() const { return m_indent; }
    void SetIndent(int indent);
    // The items shown, top to bottom, listed when first asked for after a change of them.
    const std::vector<Node*>& VisibleItems() const;
    // The node's siblings (its parent's children, or the roots) and its place among them.
    const std::vector<Node*>& SiblingsOf(const Node* node) const;
    std::size_t PlaceOf(const Node* node) const;
    int VisibleIndex(const Node* node) const;
    int PageRows() const;
    // Left edge of the item's image (or label when there is no image list).
    int ItemLeft(const Node* node) const;
    bool ItemRect(HTREEITEM item, CRect& rect, bool textOnly) const;
    bool ButtonRect(HTREEITEM item, CRect& rect) const;
    HTREEITEM HitTest(CPoint point, UINT& flags) const;
    bool HasButton(const Node* node) const;

    // ---- Label editing ----
    HWND EditLabel(HTREEITEM item);
    void EndEditLabel(bool commit);
    HWND EditWindow() const { return m_editWindow; }

    // ---- Image lists ----
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* GetImageList(int which) const;
    const ImageListData* NormalImages() const { return m_normal.get(); }

private:
    // Fills a TVITEM of a notification; the text is copied into `buffer` so that handlers that
    // delete the item do not leave it dangling.
    static void Describe(const Node* node, TVITEM& item, std::string& buffer);
    LRESULT NotifyTree(UINT code, UINT action, const Node* oldNode, const Node* newNode,
                       CPoint point = CPoint());
    LRESULT NotifySimple(UINT code);
    // `layoutKept`: the change moved no item and changed no label (a state bit, an image).
    void Changed(ControlChange::Kind kind, HTREEITEM item = nullptr, bool layoutKept = false);
    void Unlink(Node* node);
    void RemoveSubtree(Node* node);
    void RemoveChildren(Node* node);
    // Takes `node` and everything below it out of the item records without telling anybody.
    void DropSilently(Node* node);
    bool HasChildren(const Node* node) const;
    int Level(const Node* node) const;
    void Paint();
    void OnButtonDown(CPoint point);
    void OnButtonUp(CPoint point);
    void OnDoubleClick(CPoint point);
    void OnRightUp(CPoint point);
    void OnKey(UINT key);
    // A typed character selects the next item shown whose label starts with what was typed.
    void OnChar(unsigned ch);
    // The keypad's "*": the item and every item below it expanded, as a person would one by one.
    void ExpandAllBelow(HTREEITEM item);
    void OnWheel(int delta);
    void OnSidewaysWheel(int delta);
    void OnScroll(int code);
    // `lines` lines (levels of indentation) at a time for SB_LINELEFT and SB_LINERIGHT.
    void OnHorizontalScroll(int code, int lines = 1);
    // The width the items take unscrolled: the right end of the widest label.
    int ContentWidth() const;
    int TextWidth(const Node* node) const;
    // Makes `row` (of the visible items) the first shown, as far as the items reach.
    void ScrollToRow(int row);
    // Shows the vertical bar when the items outgrow the client area and sets it to the first row.
    void UpdateScrollBars();
    int VisibleCount() const;
    // Calls visit(node, depth) for each item no collapsed parent hides, top to bottom, with its
    // depth below the roots.
    template <class Visit> void ForEachVisible(Visit&& visit) const;

    std::unordered_map<std::uintptr_t, std::unique_ptr<Node>> m_nodes;
    std::vector<Node*> m_roots;
    std::uintptr_t m_nextId = 1;
    HTREEITEM m_selected = nullptr;
    HTREEITEM m_drop = nullptr;
    int m_indent = kDefaultIndent;
    int m_scrollTop = 0;  // first visible row
    int m_scrollLeft = 0; // pixels scrolled off to the left
    WheelTurns m_wheel;
    WheelTurns m_sidewaysWheel;
    TypeAhead m_typeAhead;
    bool m_updatingBars = false;
    bool m_redraw = true; // WM_SETREDRAW: changes repaint the control
    // Changes made with redraw off leave the scroll bars (and so the scroll position and the
    // client area) to be brought up to date by the first read of the layout, or by redrawing.
    bool m_barsStale = false;
    void Settle() const;
    // What the scroll bars are made from, kept between changes: an item inserted where it shows
    // adds to them at once and a shown item deleted leaves them (LoseRow); other changes of the
    // items have them counted anew when next asked. So filling or emptying an open folder item by
    // item costs each item, not each item all items shown.
    mutable int m_shownCount = -1;
    mutable int m_widestRow = -1;       // greatest depth * indent + label width of the items shown
    mutable int m_widestRowIndent = -1; // the indent m_widestRow was taken with
    // The rows themselves, for painting, hit tests and walks: listed anew after any change of the
    // items shown, but only when next asked for, so changes in a row cost nothing here.
    mutable std::vector<Node*> m_shownRows;
    mutable bool m_shownRowsListed = false;
    // Everything kept of the layout is made anew when next asked for.
    void ForgetLayout() const;
    // No collapsed item above hides `node`.
    bool Shown(const Node* node) const;
    void KeepOrForgetLayout(ControlChange::Kind kind, HTREEITEM item);
    // The row of `node`, shown until now, leaves the layout.
    void LoseRow(const Node* node);
    // One of the siblings nearest `node` has a label `width` pixels wide.
    bool SiblingAsWide(const Node* node, int width) const;
    std::shared_ptr<ImageListData> m_normal;
    std::shared_ptr<ImageListData> m_state;
    CImageList* m_normalObject = nullptr;
    CImageList* m_stateObject = nullptr;
    HWND m_editWindow = nullptr;
    HTREEITEM m_editItem = nullptr;
    bool m_ending = false;
    // A press on the label of the selected item in a focused tree arms a delayed label edit.
    HTREEITEM m_pressItem = nullptr;
    HTREEITEM m_armedEdit = nullptr;
    bool m_dragCandidate = false;
    CPoint m_pressPoint;
    HTREEITEM m_rightItem = nullptr;
};

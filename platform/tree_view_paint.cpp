// How the tree view draws its lines, buttons, images and labels.
#include "platform/tree_view.h"

#include "platform/app.h"
#include "platform/label_look.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

void TreeView::Paint() {
    Settle();
    WindowData* data = winsys::Live(window);
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    const std::vector<Node*>& visible = VisibleItems();
    const int height = ItemHeight();
    const bool focused = winsys::Focus() == window;
    const bool lines = data->style & TVS_HASLINES;
    const bool showSelection = focused || (data->style & TVS_SHOWSELALWAYS);
    const COLORREF lineColor = GetSysColor(COLOR_BTNSHADOW);
    CPen linePen(PS_SOLID, 1, lineColor);
    CDCObjectSelection penScope(dc, &linePen);
    for (int row = m_scrollTop; row < static_cast<int>(visible.size()); ++row) {
        const int top = (row - m_scrollTop) * height;
        if (top >= client.bottom)
            break;
        const Node* node = visible[static_cast<std::size_t>(row)];
        const int left = ItemLeft(node);
        const int middle = top + height / 2;
        const bool hasColumn = node->parent || (data->style & TVS_LINESATROOT);
        if (lines && hasColumn) {
            const int x = left - m_indent + m_indent / 2;
            const std::vector<Node*>& siblings = node->parent ? node->parent->children : m_roots;
            const bool last = siblings.back() == node;
            dc.MoveTo(x, top);
            dc.LineTo(x, last ? middle : top + height);
            dc.MoveTo(x, middle);
            dc.LineTo(left, middle);
            // Lines of the ancestors that have siblings below.
            int ancestorX = x - m_indent;
            for (const Node* a = node->parent; a && ancestorX >= 0; a = a->parent) {
                const std::vector<Node*>& level = a->parent ? a->parent->children : m_roots;
                if (level.back() != a && (a->parent || (data->style & TVS_LINESATROOT))) {
                    dc.MoveTo(ancestorX, top);
                    dc.LineTo(ancestorX, top + height);
                }
                ancestorX -= m_indent;
            }
        }
        CRect button;
        if (ButtonRect(node->handle, button)) {
            dc.FillSolidRect(&button, GetSysColor(COLOR_WINDOW));
            CBrush frame(lineColor);
            dc.FrameRect(&button, &frame);
            const long cy = button.top + kButtonSize / 2;
            const long cx = button.left + kButtonSize / 2;
            dc.FillSolidRect(button.left + 2, cy, kButtonSize - 4, 1,
                             GetSysColor(COLOR_WINDOWTEXT));
            if (!(node->state & TVIS_EXPANDED))
                dc.FillSolidRect(cx, button.top + 2, 1, kButtonSize - 4,
                                 GetSysColor(COLOR_WINDOWTEXT));
        }
        const bool selected = node->state & TVIS_SELECTED;
        if (m_normal) {
            const int image = selected ? node->selectedImage : node->image;
            DrawImageListImage(dc, *m_normal, image,
                               CPoint(left, top + (height - m_normal->cy) / 2), ILD_TRANSPARENT);
        }
        CRect label;
        ItemRect(node->handle, label, true);
        // While an item is the drop target, the selection does not show.
        const LabelLook look = LookOfLabel((node->state & TVIS_DROPHILITED) != 0,
                                           selected && showSelection && !Find(m_drop), focused);
        if (look.back)
            dc.FillSolidRect(&label, GetSysColor(*look.back));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(look.text.value_or(COLOR_WINDOWTEXT)));
        const FontMetrics& metrics = winsys::MetricsOf(window);
        dc.TextOut(label.left + kLabelPadding, top + (height - metrics.LineHeight()) / 2,
                   node->text);
        if (selected && focused && !Find(m_drop))
            dc.DrawFocusRect(&label);
    }
}

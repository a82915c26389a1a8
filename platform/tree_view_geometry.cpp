// Where the tree view puts its items, and how it scrolls.
#include "platform/tree_view.h"

#include "platform/font_metrics.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

int TreeView::ItemHeight() const {
    const int text = winsys::MetricsOf(window).LineHeight() + 3;
    return m_normal ? std::max(text, m_normal->cy + 2) : text;
}

void TreeView::SetIndent(int indent) {
    m_indent = std::max(indent, 0);
    UpdateScrollBars(); // the items' right ends moved
    winsys::Invalidate(window, nullptr);
}

template <class Visit> void TreeView::ForEachVisible(Visit&& visit) const {
    std::vector<std::pair<Node*, int>> pending;
    auto push = [&](const std::vector<Node*>& level, int depth) {
        for (auto it = level.rbegin(); it != level.rend(); ++it)
            pending.emplace_back(*it, depth);
    };
    push(m_roots, 0);
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        visit(node, depth);
        if (node->state & TVIS_EXPANDED)
            push(node->children, depth + 1);
    }
}

const std::vector<TreeView::Node*>& TreeView::VisibleItems() const {
    if (!m_shownRowsListed) {
        m_shownRows.clear();
        ForEachVisible([&](Node* node, int) {
            node->rowHint = m_shownRows.size();
            m_shownRows.push_back(node);
        });
        m_shownRowsListed = true;
    }
    return m_shownRows;
}

int TreeView::VisibleCount() const {
    if (m_shownCount < 0) {
        m_shownCount = 0;
        ForEachVisible([&](Node*, int) { ++m_shownCount; });
    }
    return m_shownCount;
}

bool TreeView::Shown(const Node* node) const {
    for (const Node* above = node->parent; above; above = above->parent)
        if (!(above->state & TVIS_EXPANDED))
            return false;
    return true;
}

void TreeView::ForgetLayout() const {
    m_shownCount = -1;
    m_widestRow = -1;
    m_shownRowsListed = false;
}

void TreeView::LoseRow(const Node* node) {
    if (m_shownCount >= 0)
        --m_shownCount;
    if (m_widestRow < 0 || m_widestRowIndent != m_indent)
        return;
    // With redraw off many more are likely to go: the rest are measured together when redrawing
    // resumes. Otherwise the widest row stays unless this was it and no sibling is as wide.
    if (!m_redraw) {
        m_widestRow = -1;
        return;
    }
    const int width = TextWidth(node);
    if (Level(node) * m_indent + width >= m_widestRow && !SiblingAsWide(node, width))
        m_widestRow = -1;
}

bool TreeView::SiblingAsWide(const Node* node, int width) const {
    // Labels as wide as each other are common among siblings (numbered names): the nearest few
    // are tried before all the rows shown are measured again.
    constexpr std::size_t kTried = 16;
    const std::vector<Node*>& siblings = SiblingsOf(node);
    const std::size_t place = PlaceOf(node);
    for (std::size_t distance = 1; distance <= kTried; ++distance) {
        if (place >= distance && TextWidth(siblings[place - distance]) == width)
            return true;
        if (place + distance < siblings.size() && TextWidth(siblings[place + distance]) == width)
            return true;
    }
    return false;
}

void TreeView::KeepOrForgetLayout(ControlChange::Kind kind, HTREEITEM item) {
    switch (kind) {
    case ControlChange::SelectionChanged:
    case ControlChange::Scrolled:
    case ControlChange::LabelEditStarted:
    case ControlChange::ItemDeleted: // each row left the layout as its item went (Unlink)
        return;
    case ControlChange::ItemInserted:
        if (const Node* node = Find(item)) {
            if (!Shown(node))
                return; // under a collapsed item: nothing shown changes
            m_shownRowsListed = false;
            if (m_shownCount >= 0)
                ++m_shownCount;
            // With redraw off, many more are likely to come: they are measured together when
            // redrawing resumes.
            if (!m_redraw)
                m_widestRow = -1;
            else if (m_widestRow >= 0 && m_widestRowIndent == m_indent)
                m_widestRow = std::max(m_widestRow, Level(node) * m_indent + TextWidth(node));
            return;
        }
        break;
    default:
        break;
    }
    ForgetLayout();
}

int TreeView::VisibleIndex(const Node* node) const {
    if (!node)
        return -1;
    // Every item shown got its row when the rows were listed; one not shown may hold the row of
    // an earlier listing, where another item stands now.
    const std::vector<Node*>& visible = VisibleItems();
    return node->rowHint < visible.size() && visible[node->rowHint] == node
               ? static_cast<int>(node->rowHint)
               : -1;
}

int TreeView::PageRows() const {
    Settle();
    return winsys::ClientRect(window).Height() / ItemHeight();
}

int TreeView::ItemLeft(const Node* node) const {
    WindowData* data = winsys::Live(window);
    const bool rootLines = data && (data->style & TVS_LINESATROOT);
    return (Level(node) + (rootLines ? 1 : 0)) * m_indent - m_scrollLeft;
}

int TreeView::TextWidth(const Node* node) const {
    if (node->textWidth < 0)
        node->textWidth = winsys::MetricsOf(window).TextWidth(node->text.str());
    return node->textWidth;
}

int TreeView::ContentWidth() const {
    if (VisibleCount() == 0)
        return 0;
    if (m_widestRow < 0 || m_widestRowIndent != m_indent) {
        // Levels come with the walk: asking each item for its level would climb to the root from
        // every one of them.
        m_widestRow = 0;
        m_widestRowIndent = m_indent;
        // Labels not measured yet are asked for together, level by level: the widest of many is
        // found without measuring each one.
        std::vector<std::vector<std::string_view>> unmeasured;
        ForEachVisible([&](const Node* node, int depth) {
            if (node->textWidth >= 0) {
                m_widestRow = std::max(m_widestRow, depth * m_indent + node->textWidth);
                return;
            }
            if (unmeasured.size() <= static_cast<std::size_t>(depth))
                unmeasured.resize(static_cast<std::size_t>(depth) + 1);
            unmeasured[static_cast<std::size_t>(depth)].push_back(node->text.str());
        });
        const FontMetrics& metrics = winsys::MetricsOf(window);
        for (std::size_t depth = 0; depth < unmeasured.size(); ++depth)
            if (!unmeasured[depth].empty())
                m_widestRow = std::max(m_widestRow, static_cast<int>(depth) * m_indent +
                                                        metrics.WidestTextWidth(unmeasured[depth]));
    }
    WindowData* data = winsys::Live(window);
    const int firstLevel = data && (data->style & TVS_LINESATROOT) ? 1 : 0;
    const int image = m_normal ? m_normal->cx + kImageGap : 0;
    return firstLevel * m_indent + image + m_widestRow + 2 * kLabelPadding;
}

bool TreeView::HasButton(const Node* node) const {
    WindowData* data = winsys::Live(window);
    if (!data || !(data->style & TVS_HASBUTTONS) || !HasChildren(node))
        return false;
    return node->parent || (data->style & TVS_LINESATROOT);
}

bool TreeView::ItemRect(HTREEITEM item, CRect& rect, bool textOnly) const {
    Settle();
    const Node* node = Find(item);
    const int index = VisibleIndex(node);
    if (index < 0)
        return false;
    const int height = ItemHeight();
    const int top = (index - m_scrollTop) * height;
    if (!textOnly) {
        rect = CRect(0, top, winsys::ClientRect(window).Width(), top + height);
        return true;
    }
    int left = ItemLeft(node);
    if (m_normal)
        left += m_normal->cx + kImageGap;
    rect = CRect(left, top, left + TextWidth(node) + 2 * kLabelPadding, top + height);
    return true;
}

bool TreeView::ButtonRect(HTREEITEM item, CRect& rect) const {
    Settle();
    const Node* node = Find(item);
    if (!HasButton(node))
        return false;
    CRect line;
    if (!ItemRect(item, line, false))
        return false;
    const int column = ItemLeft(node) - m_indent;
    const int left = column + (m_indent - kButtonSize) / 2;
    const int top = line.top + (line.Height() - kButtonSize) / 2;
    rect = CRect(left, top, left + kButtonSize, top + kButtonSize);
    return true;
}

HTREEITEM TreeView::HitTest(CPoint point, UINT& flags) const {
    Settle();
    const CRect client = winsys::ClientRect(window);
    flags = 0;
    if (point.y < 0)
        flags |= TVHT_ABOVE;
    if (point.y >= client.bottom)
        flags |= TVHT_BELOW;
    if (point.x < 0)
        flags |= TVHT_TOLEFT;
    if (point.x >= client.right)
        flags |= TVHT_TORIGHT;
    if (flags)
        return nullptr;
    const std::vector<Node*>& visible = VisibleItems();
    const int row = m_scrollTop + point.y / ItemHeight();
    if (row >= static_cast<int>(visible.size())) {
        flags = TVHT_NOWHERE;
        return nullptr;
    }
    const Node* node = visible[static_cast<std::size_t>(row)];
    const int left = ItemLeft(node);
    CRect label;
    ItemRect(node->handle, label, true);
    if (point.x < left) {
        flags =
            (point.x >= left - m_indent && HasButton(node)) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    } else if (m_normal && point.x < left + m_normal->cx) {
        flags = TVHT_ONITEMICON;
    } else if (point.x < label.left) {
        flags = TVHT_ONITEMICON; // the gap between image and label belongs to the image
    } else if (point.x < label.right) {
        flags = TVHT_ONITEMLABEL;
    } else {
        flags = TVHT_ONITEMRIGHT;
    }
    return node->handle;
}

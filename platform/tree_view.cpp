#include "platform/tree_view.h"

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/image_list.h"
#include "platform/label_look.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

std::uintptr_t IdOf(HTREEITEM item) {
    return reinterpret_cast<std::uintptr_t>(item);
}

bool IsSpecial(HTREEITEM item) {
    return item == TVI_ROOT || item == TVI_FIRST || item == TVI_LAST || item == TVI_SORT;
}

// Fills a TVITEM of a notification; the text is copied into `buffer` so that handlers that
// delete the item do not leave it dangling.
void Describe(const TreeView::Node* node, TVITEM& item, std::string& buffer) {
    item = TVITEM{};
    if (!node)
        return;
    buffer = node->text.str();
    item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node->handle;
    item.state = node->state;
    item.stateMask = 0xFFFF;
    item.lParam = node->lParam;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size()) + 1;
    item.iImage = node->image;
    item.iSelectedImage = node->selectedImage;
}

} // namespace

std::unique_ptr<WindowClass> MakeTreeViewClass() {
    return std::make_unique<TreeView>();
}

TreeView* TreeViewOf(HWND window) {
    WindowData* data = winsys::Live(window);
    return data && data->cls ? data->cls->AsTreeView() : nullptr;
}

void TreeView::Destroyed(HWND) {
    m_editWindow = nullptr;
    m_nodes.clear();
    m_roots.clear();
}

TreeView::Node* TreeView::Find(HTREEITEM item) const {
    if (!item || IsSpecial(item))
        return nullptr;
    auto it = m_nodes.find(IdOf(item));
    return it == m_nodes.end() ? nullptr : it->second.get();
}

void TreeView::Changed(ControlChange::Kind kind, HTREEITEM item) {
    if (WindowData* data = winsys::Live(window); data && data->native)
        data->native->ModelChanged({kind, item, -1});
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::UpdateScrollBars() {
    WindowData* data = winsys::Live(window);
    if (!data || !data->parent || m_updatingBars)
        return;
    m_updatingBars = true;
    const int count = VisibleCount();
    const int width = ContentWidth();
    const int height = ItemHeight();
    const DWORD bars = data->style & TVS_NOSCROLL ? 0 : winsys::NeededScrollBars(window, [&] {
        return CSize(width, count * height);
    });
    winsys::ShowScrollBars(window, bars);
    const CRect client = winsys::ClientRect(window);
    const int page = PageRows();
    // Items collapsed or deleted near the end leave no empty rows below the last, nor empty
    // room right of the widest.
    m_scrollTop = std::clamp(m_scrollTop, 0, std::max(0, count - std::max(1, page)));
    m_scrollLeft = std::clamp(m_scrollLeft, 0, std::max(0, width - client.Width()));
    winsys::SetScrollState(window, SB_VERT, {0, count - 1, page, m_scrollTop});
    winsys::SetScrollState(window, SB_HORZ, {0, width - 1, client.Width(), m_scrollLeft});
    m_updatingBars = false;
}

LRESULT TreeView::NotifyTree(UINT code, UINT action, const Node* oldNode, const Node* newNode,
                             CPoint point) {
    NMTREEVIEW info{};
    std::string oldText;
    std::string newText;
    info.action = action;
    Describe(oldNode, info.itemOld, oldText);
    Describe(newNode, info.itemNew, newText);
    info.ptDrag = point;
    return winsys::Notify(window, info.hdr, code);
}

LRESULT TreeView::NotifySimple(UINT code) {
    NMHDR header{};
    return winsys::Notify(window, header, code);
}

bool TreeView::HasChildren(const Node* node) const {
    return node && (!node->children.empty() || node->childrenFlag > 0);
}

int TreeView::Level(const Node* node) const {
    int level = 0;
    for (const Node* p = node ? node->parent : nullptr; p; p = p->parent)
        ++level;
    return level;
}

HTREEITEM TreeView::Insert(const TVINSERTSTRUCT& insert) {
    Node* parent = nullptr;
    if (insert.hParent && insert.hParent != TVI_ROOT) {
        parent = Find(insert.hParent);
        if (!parent)
            return nullptr;
    }
    std::vector<Node*>& siblings = parent ? parent->children : m_roots;
    auto node = std::make_unique<Node>();
    node->handle = reinterpret_cast<HTREEITEM>(m_nextId++);
    node->parent = parent;
    const TVITEM& item = insert.item;
    if (item.mask & TVIF_TEXT) {
        node->text = item.pszText ? item.pszText : "";
        node->textWidth = -1;
    }
    if (item.mask & TVIF_IMAGE)
        node->image = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE)
        node->selectedImage = item.iSelectedImage;
    if (item.mask & TVIF_PARAM)
        node->lParam = item.lParam;
    if (item.mask & TVIF_STATE)
        node->state = (item.state & item.stateMask) & ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
    if (item.mask & TVIF_CHILDREN)
        node->childrenFlag = item.cChildren;
    std::size_t position = siblings.size();
    if (insert.hInsertAfter == TVI_FIRST) {
        position = 0;
    } else if (insert.hInsertAfter == TVI_SORT) {
        position = 0;
        while (position < siblings.size() &&
               siblings[position]->text.CompareNoCase(node->text) <= 0)
            ++position;
    } else if (insert.hInsertAfter && insert.hInsertAfter != TVI_LAST) {
        auto it = std::find_if(siblings.begin(), siblings.end(),
                               [&](const Node* s) { return s->handle == insert.hInsertAfter; });
        if (it != siblings.end())
            position = static_cast<std::size_t>(it - siblings.begin()) + 1;
    }
    Node* raw = node.get();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), raw);
    m_nodes.emplace(IdOf(raw->handle), std::move(node));
    Changed(ControlChange::ItemInserted, raw->handle);
    return raw->handle;
}

void TreeView::Unlink(Node* node) {
    std::vector<Node*>& siblings = node->parent ? node->parent->children : m_roots;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
}

// Children first, each announced with TVN_DELETEITEM before it goes.
void TreeView::RemoveSubtree(Node* node) {
    const HTREEITEM handle = node->handle;
    std::vector<HTREEITEM> children;
    for (Node* child : node->children)
        children.push_back(child->handle);
    for (HTREEITEM child : children)
        if (Node* childNode = Find(child))
            RemoveSubtree(childNode);
    node = Find(handle);
    if (!node)
        return;
    NotifyTree(TVN_DELETEITEM, TVC_UNKNOWN, node, nullptr);
    node = Find(handle);
    if (!node)
        return;
    Unlink(node);
    if (m_selected == handle)
        m_selected = nullptr;
    if (m_drop == handle)
        m_drop = nullptr;
    if (m_editItem == handle)
        EndEditLabel(false);
    if (m_pressItem == handle)
        m_pressItem = nullptr;
    if (m_armedEdit == handle)
        m_armedEdit = nullptr;
    m_nodes.erase(IdOf(handle));
}

bool TreeView::Delete(HTREEITEM item) {
    if (item == TVI_ROOT || !item)
        return DeleteAll();
    Node* node = Find(item);
    if (!node)
        return false;
    // The selection moves on when it goes with the deleted items, as the common control does.
    HTREEITEM newSelection = nullptr;
    bool selectionGoes = false;
    for (Node* s = Find(m_selected); s; s = s->parent)
        if (s == node)
            selectionGoes = true;
    if (selectionGoes) {
        const std::vector<Node*>& siblings = node->parent ? node->parent->children : m_roots;
        auto it = std::find(siblings.begin(), siblings.end(), node);
        if (it + 1 != siblings.end())
            newSelection = (*(it + 1))->handle;
        else if (node->parent)
            newSelection = node->parent->handle;
        else if (it != siblings.begin())
            newSelection = (*(it - 1))->handle;
    }
    RemoveSubtree(node);
    m_scrollTop =
        std::clamp(m_scrollTop, 0, std::max(0, static_cast<int>(VisibleItems().size()) - 1));
    Changed(ControlChange::ItemDeleted, item);
    if (newSelection && Find(newSelection))
        Select(newSelection, TVGN_CARET, TVC_UNKNOWN);
    return true;
}

bool TreeView::DeleteAll() {
    if (m_editWindow)
        EndEditLabel(false);
    std::vector<HTREEITEM> roots;
    for (Node* root : m_roots)
        roots.push_back(root->handle);
    for (HTREEITEM root : roots)
        if (Node* node = Find(root))
            RemoveSubtree(node);
    m_selected = nullptr;
    m_drop = nullptr;
    m_scrollTop = 0;
    m_scrollLeft = 0;
    Changed(ControlChange::AllItemsDeleted);
    return true;
}

HTREEITEM TreeView::Next(HTREEITEM item, UINT code) const {
    Node* node = Find(item);
    auto siblingOf = [&](Node* n, int step) -> HTREEITEM {
        if (!n)
            return nullptr;
        const std::vector<Node*>& siblings = n->parent ? n->parent->children : m_roots;
        auto it = std::find(siblings.begin(), siblings.end(), n);
        const std::ptrdiff_t index = (it - siblings.begin()) + step;
        if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size()))
            return nullptr;
        return siblings[static_cast<std::size_t>(index)]->handle;
    };
    switch (code) {
    case TVGN_ROOT:
        return m_roots.empty() ? nullptr : m_roots.front()->handle;
    case TVGN_NEXT:
        return siblingOf(node, 1);
    case TVGN_PREVIOUS:
        return siblingOf(node, -1);
    case TVGN_PARENT:
        return node && node->parent ? node->parent->handle : nullptr;
    case TVGN_CHILD:
        if (!item || item == TVI_ROOT)
            return m_roots.empty() ? nullptr : m_roots.front()->handle;
        return node && !node->children.empty() ? node->children.front()->handle : nullptr;
    case TVGN_CARET:
        return Find(m_selected) ? m_selected : nullptr;
    case TVGN_DROPHILITE:
        return Find(m_drop) ? m_drop : nullptr;
    case TVGN_FIRSTVISIBLE: {
        const std::vector<Node*> visible = VisibleItems();
        if (m_scrollTop < static_cast<int>(visible.size()))
            return visible[static_cast<std::size_t>(m_scrollTop)]->handle;
        return nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const std::vector<Node*> visible = VisibleItems();
        return visible.empty() ? nullptr : visible.back()->handle;
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        const std::vector<Node*> visible = VisibleItems();
        auto it = std::find(visible.begin(), visible.end(), node);
        if (it == visible.end())
            return nullptr;
        if (code == TVGN_NEXTVISIBLE)
            return it + 1 == visible.end() ? nullptr : (*(it + 1))->handle;
        return it == visible.begin() ? nullptr : (*(it - 1))->handle;
    }
    default:
        return nullptr;
    }
}

bool TreeView::GetItem(TVITEM& item) const {
    const Node* node = Find(item.hItem);
    if (!node)
        return false;
    if (item.mask & TVIF_TEXT) {
        if (item.pszText && item.cchTextMax > 0) {
            const int count = std::min(item.cchTextMax - 1, node->text.GetLength());
            std::memcpy(item.pszText, node->text.c_str(), static_cast<std::size_t>(count));
            item.pszText[count] = '\0';
        }
    }
    if (item.mask & TVIF_IMAGE)
        item.iImage = node->image;
    if (item.mask & TVIF_SELECTEDIMAGE)
        item.iSelectedImage = node->selectedImage;
    if (item.mask & TVIF_PARAM)
        item.lParam = node->lParam;
    if (item.mask & TVIF_STATE)
        item.state = node->state & item.stateMask;
    if (item.mask & TVIF_CHILDREN)
        item.cChildren = HasChildren(node) ? 1 : 0;
    return true;
}

bool TreeView::SetItem(const TVITEM& item) {
    Node* node = Find(item.hItem);
    if (!node)
        return false;
    if (item.mask & TVIF_TEXT)
        node->text = item.pszText ? item.pszText : "";
    if (item.mask & TVIF_IMAGE)
        node->image = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE)
        node->selectedImage = item.iSelectedImage;
    if (item.mask & TVIF_PARAM)
        node->lParam = item.lParam;
    if (item.mask & TVIF_CHILDREN)
        node->childrenFlag = item.cChildren;
    if (item.mask & TVIF_STATE) {
        // Selection and expansion go through their own operations; the other bits are plain.
        const UINT mask = item.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
        node->state = (node->state & ~mask) | (item.state & mask);
    }
    Changed(ControlChange::ItemChanged, item.hItem);
    return true;
}

bool TreeView::Expand(HTREEITEM item, UINT code, bool byUser) {
    Node* node = Find(item);
    if (!node)
        return false;
    UINT action = code & TVE_TOGGLE;
    if (action == TVE_TOGGLE)
        action = (node->state & TVIS_EXPANDED) ? TVE_COLLAPSE : TVE_EXPAND;
    // Programmatic expansions notify only until the item has been expanded once.
    const bool notify = byUser || !(node->state & TVIS_EXPANDEDONCE);
    if (action == TVE_EXPAND) {
        if (node->state & TVIS_EXPANDED)
            return true;
        if (!HasChildren(node))
            return false;
        if (notify && NotifyTree(TVN_ITEMEXPANDING, TVE_EXPAND, nullptr, node))
            return false;
        node = Find(item);
        if (!node)
            return false;
        node->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        Changed(ControlChange::Expanded, item);
        if (notify)
            NotifyTree(TVN_ITEMEXPANDED, TVE_EXPAND, nullptr, node);
        return true;
    }
    if (action != TVE_COLLAPSE || !(node->state & TVIS_EXPANDED))
        return false;
    if (notify && NotifyTree(TVN_ITEMEXPANDING, TVE_COLLAPSE, nullptr, node))
        return false;
    node = Find(item);
    if (!node)
        return false;
    node->state &= ~TVIS_EXPANDED;
    if (code & TVE_COLLAPSERESET) {
        node->state &= ~TVIS_EXPANDEDONCE;
        std::vector<HTREEITEM> children;
        for (Node* child : node->children)
            children.push_back(child->handle);
        for (HTREEITEM child : children)
            if (Node* childNode = Find(child))
                RemoveSubtree(childNode);
    }
    m_scrollTop =
        std::clamp(m_scrollTop, 0, std::max(0, static_cast<int>(VisibleItems().size()) - 1));
    Changed(ControlChange::Expanded, item);
    if (notify)
        if (Node* again = Find(item))
            NotifyTree(TVN_ITEMEXPANDED, TVE_COLLAPSE, nullptr, again);
    // A selection hidden by the collapse moves to the collapsed item.
    for (Node* s = Find(m_selected); s; s = s->parent)
        if (s->parent && s->parent->handle == item) {
            Select(item, TVGN_CARET, byUser ? TVC_BYMOUSE : TVC_UNKNOWN);
            break;
        }
    return true;
}

bool TreeView::Select(HTREEITEM item, UINT code, UINT action) {
    Node* node = Find(item);
    if (item && !node && code != TVGN_CARET && code != TVGN_DROPHILITE)
        return false;
    switch (code) {
    case TVGN_CARET: {
        if (item && !node)
            return false;
        Node* old = Find(m_selected);
        if (old == node) {
            if (node)
                EnsureVisible(item);
            return true;
        }
        if (NotifyTree(TVN_SELCHANGING, action, old, node))
            return false;
        old = Find(m_selected);
        node = Find(item);
        if (old)
            old->state &= ~TVIS_SELECTED;
        m_selected = node ? item : nullptr;
        if (node) {
            node->state |= TVIS_SELECTED;
            EnsureVisible(item);
        }
        Changed(ControlChange::SelectionChanged, item);
        NotifyTree(TVN_SELCHANGED, action, Find(old ? old->handle : nullptr), Find(item));
        return true;
    }
    case TVGN_DROPHILITE: {
        if (Node* old = Find(m_drop))
            old->state &= ~TVIS_DROPHILITED;
        m_drop = node ? item : nullptr;
        if (node)
            node->state |= TVIS_DROPHILITED;
        Changed(ControlChange::ItemChanged, item);
        return true;
    }
    case TVGN_FIRSTVISIBLE: {
        EnsureVisible(item);
        const int index = VisibleIndex(Find(item));
        if (index >= 0)
            m_scrollTop = index;
        Changed(ControlChange::Scrolled);
        return true;
    }
    default:
        return false;
    }
}

bool TreeView::EnsureVisible(HTREEITEM item) {
    Node* node = Find(item);
    if (!node)
        return false;
    std::vector<HTREEITEM> ancestors;
    for (Node* p = node->parent; p; p = p->parent)
        ancestors.push_back(p->handle);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        if (Node* ancestor = Find(*it); ancestor && !(ancestor->state & TVIS_EXPANDED))
            Expand(*it, TVE_EXPAND, false);
    const int index = VisibleIndex(Find(item));
    if (index < 0)
        return false;
    const int rows = std::max(1, PageRows());
    if (index < m_scrollTop)
        m_scrollTop = index;
    else if (index >= m_scrollTop + rows)
        m_scrollTop = index - rows + 1;
    // Sideways so that the label shows, its start first when it is wider than the tree.
    CRect label;
    ItemRect(item, label, true);
    const CRect client = winsys::ClientRect(window);
    if (label.left < 0)
        m_scrollLeft += label.left;
    else if (label.right > client.right)
        m_scrollLeft += std::min(label.left, label.right - client.right);
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
    return true;
}

// ---- Geometry ----

int TreeView::ItemHeight() const {
    const int text = winsys::MetricsOf(window).LineHeight() + 3;
    return m_normal ? std::max(text, m_normal->cy + 2) : text;
}

void TreeView::SetIndent(int indent) {
    m_indent = std::max(indent, 0);
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

std::vector<TreeView::Node*> TreeView::VisibleItems() const {
    std::vector<Node*> visible;
    ForEachVisible([&](Node* node, int) { visible.push_back(node); });
    return visible;
}

int TreeView::VisibleCount() const {
    int count = 0;
    ForEachVisible([&](Node*, int) { ++count; });
    return count;
}

int TreeView::VisibleIndex(const Node* node) const {
    if (!node)
        return -1;
    const std::vector<Node*> visible = VisibleItems();
    auto it = std::find(visible.begin(), visible.end(), node);
    return it == visible.end() ? -1 : static_cast<int>(it - visible.begin());
}

int TreeView::PageRows() const {
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
    // Levels come with the walk: asking each item for its level would climb to the root from
    // every one of them.
    WindowData* data = winsys::Live(window);
    const int firstLevel = data && (data->style & TVS_LINESATROOT) ? 1 : 0;
    const int image = m_normal ? m_normal->cx + kImageGap : 0;
    int widest = 0;
    ForEachVisible([&](const Node* node, int depth) {
        widest = std::max(widest, (firstLevel + depth) * m_indent + image + TextWidth(node) +
                                      2 * kLabelPadding);
    });
    return widest;
}

bool TreeView::HasButton(const Node* node) const {
    WindowData* data = winsys::Live(window);
    if (!data || !(data->style & TVS_HASBUTTONS) || !HasChildren(node))
        return false;
    return node->parent || (data->style & TVS_LINESATROOT);
}

bool TreeView::ItemRect(HTREEITEM item, CRect& rect, bool textOnly) const {
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
    const std::vector<Node*> visible = VisibleItems();
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

// ---- Label editing ----

HWND TreeView::EditLabel(HTREEITEM item) {
    if (m_editWindow)
        EndEditLabel(true);
    if (!Find(item))
        return nullptr;
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    EnsureVisible(item);
    Node* node = Find(item);
    if (!node)
        return nullptr;
    NMTVDISPINFO info{};
    std::string text;
    Describe(node, info.item, text);
    if (winsys::Notify(window, info.hdr, TVN_BEGINLABELEDIT))
        return nullptr;
    node = Find(item);
    CRect label;
    if (!node || !winsys::Live(window) || !ItemRect(item, label, true))
        return nullptr;
    // Wide enough for the text and some more, within the client area.
    const CRect client = winsys::ClientRect(window);
    label.right = std::min<long>(client.right, std::max<long>(label.right + 40, label.left + 60));
    label.InflateRect(0, 1);
    winsys::CreateParams params;
    params.kind = WindowKind::Edit;
    params.text = node->text.c_str();
    params.style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    params.rect = label;
    params.parent = window;
    params.id = 1;
    HWND edit = winsys::Create(params);
    if (!edit)
        return nullptr;
    m_editWindow = edit;
    m_editItem = item;
    HWND self = window;
    EditOf(edit)->labelEditEnd = [self](bool commit) {
        if (TreeView* tree = TreeViewOf(self))
            tree->EndEditLabel(commit);
    };
    winsys::Send(edit, EM_SETSEL, 0, -1);
    winsys::SetFocus(edit);
    Changed(ControlChange::LabelEditStarted, item);
    return edit;
}

void TreeView::EndEditLabel(bool commit) {
    if (!m_editWindow || m_ending)
        return;
    m_ending = true;
    HWND edit = m_editWindow;
    const HTREEITEM item = m_editItem;
    if (EditClass* editClass = EditOf(edit))
        editClass->labelEditEnd = nullptr;
    WindowData* editData = winsys::Live(edit);
    std::string text = editData ? editData->text.str() : std::string();
    NMTVDISPINFO info{};
    std::string itemText;
    Describe(Find(item), info.item, itemText);
    info.item.hItem = item;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size()) + 1;
    const LRESULT accept = winsys::Notify(window, info.hdr, TVN_ENDLABELEDIT);
    if (commit && accept)
        if (Node* node = Find(item))
            node->text = text;
    const bool hadFocus = winsys::Focus() == edit;
    m_editWindow = nullptr;
    m_editItem = nullptr;
    winsys::Destroy(edit);
    if (hadFocus && winsys::Live(window))
        winsys::SetFocus(window);
    m_ending = false;
    Changed(ControlChange::LabelEditEnded, item);
}

// ---- Image lists ----

CImageList* TreeView::SetImageList(CImageList* list, int which) {
    auto& slot = which == TVSIL_STATE ? m_state : m_normal;
    CImageList*& object = which == TVSIL_STATE ? m_stateObject : m_normalObject;
    CImageList* previous = object;
    slot = list ? ShareImageList(list->m_hImageList) : nullptr;
    object = list;
    Changed(ControlChange::ImageListChanged);
    return previous;
}

CImageList* TreeView::GetImageList(int which) const {
    return which == TVSIL_STATE ? m_stateObject : m_normalObject;
}

// ---- Behaviour ----

LRESULT TreeView::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    window = hwnd;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        winsys::Invalidate(window, nullptr);
        NotifySimple(NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        winsys::Invalidate(window, nullptr);
        NotifySimple(NM_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(point);
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragCandidate && (wParam & MK_LBUTTON)) {
            const int dx = GetSystemMetrics(SM_CXDRAG) / 2;
            if (std::labs(point.x - m_pressPoint.x) > dx ||
                std::labs(point.y - m_pressPoint.y) > dx) {
                m_dragCandidate = false;
                m_armedEdit = nullptr;
                if (winsys::Capture() == window)
                    winsys::ReleaseCapture();
                if (Node* node = Find(m_pressItem))
                    NotifyTree(TVN_BEGINDRAG, 0, nullptr, node, m_pressPoint);
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        m_dragCandidate = false;
        return 0;
    case WM_RBUTTONDOWN: {
        if (m_editWindow)
            EndEditLabel(true);
        if (winsys::Focus() != window)
            winsys::SetFocus(window);
        UINT flags = 0;
        const HTREEITEM hit = HitTest(point, flags);
        m_rightItem = (flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) ? hit : nullptr;
        return 0;
    }
    case WM_RBUTTONUP:
        OnRightUp(point);
        return 0;
    case WM_KEYDOWN:
        OnKey(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<unsigned>(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_VSCROLL:
        OnScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHorizontalScroll(LOWORD(wParam));
        return 0;
    case WM_STYLECHANGED:
    case WM_SIZE:
        UpdateScrollBars();
        winsys::Invalidate(window, nullptr);
        return 0;
    default:
        return winsys::DefaultProc(hwnd, message, wParam, lParam);
    }
}

void TreeView::OnWheel(int delta) {
    const int notches = m_wheel.Notches(delta);
    if (notches != 0)
        ScrollToRow(m_scrollTop - notches * kWheelScrollLines);
}

void TreeView::OnScroll(int code) {
    // Rows: a line is one.
    if (const std::optional<int> row =
            scroll_bar::Target(winsys::ScrollState(window, SB_VERT), code, 1))
        ScrollToRow(*row);
}

void TreeView::OnHorizontalScroll(int code) {
    // Pixels: a line is one level of indentation.
    const std::optional<int> position =
        scroll_bar::Target(winsys::ScrollState(window, SB_HORZ), code, m_indent);
    if (!position || *position == m_scrollLeft)
        return;
    if (m_editWindow)
        EndEditLabel(true);
    m_scrollLeft = *position;
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::ScrollToRow(int row) {
    // Down to where the last item sits at the bottom (or no further than the tree already is).
    const int last = std::max({0, VisibleCount() - std::max(1, PageRows()), m_scrollTop});
    const int top = std::clamp(row, 0, last);
    if (top == m_scrollTop)
        return;
    if (m_editWindow)
        EndEditLabel(true);
    m_scrollTop = top;
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::OnButtonDown(CPoint point) {
    const bool hadFocus = winsys::Focus() == window;
    if (m_editWindow)
        EndEditLabel(true);
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    winsys::CancelDeferred(window);
    m_armedEdit = nullptr;
    UINT flags = 0;
    const HTREEITEM hit = HitTest(point, flags);
    m_pressItem = nullptr;
    if (flags & TVHT_ONITEMBUTTON) {
        Expand(hit, TVE_TOGGLE, true);
        return;
    }
    if (!(flags & TVHT_ONITEM))
        return;
    WindowData* data = winsys::Live(window);
    if (hit == m_selected && hadFocus && (flags & TVHT_ONITEMLABEL) && data &&
        (data->style & TVS_EDITLABELS))
        m_armedEdit = hit;
    m_pressItem = hit;
    m_pressPoint = point;
    m_dragCandidate = data && !(data->style & TVS_DISABLEDRAGDROP);
    if (m_dragCandidate)
        winsys::SetCapture(window);
    Select(hit, TVGN_CARET, TVC_BYMOUSE);
}

void TreeView::OnButtonUp(CPoint) {
    const bool wasCandidate = m_dragCandidate;
    m_dragCandidate = false;
    if (wasCandidate && winsys::Capture() == window)
        winsys::ReleaseCapture();
    NotifySimple(NM_CLICK);
    // The edit starts once the double-click time has passed without a second click.
    if (const HTREEITEM armed = std::exchange(m_armedEdit, nullptr); armed && Find(armed)) {
        HWND self = window;
        winsys::Defer(window, [self, armed] {
            if (TreeView* tree = TreeViewOf(self))
                tree->EditLabel(armed);
        });
    }
}

void TreeView::OnDoubleClick(CPoint point) {
    winsys::CancelDeferred(window);
    m_armedEdit = nullptr;
    UINT flags = 0;
    const HTREEITEM hit = HitTest(point, flags);
    if (flags & TVHT_ONITEMBUTTON) {
        Expand(hit, TVE_TOGGLE, true);
        return;
    }
    if (NotifySimple(NM_DBLCLK))
        return;
    if ((flags & TVHT_ONITEM) && Find(hit))
        Expand(hit, TVE_TOGGLE, true);
}

void TreeView::OnRightUp(CPoint point) {
    // While NM_RCLICK is handled, the item under the pointer shows as the drop target.
    const HTREEITEM previousDrop = Find(m_drop) ? m_drop : nullptr;
    const HTREEITEM item = std::exchange(m_rightItem, nullptr);
    if (item && Find(item))
        Select(item, TVGN_DROPHILITE, 0);
    if (!NotifySimple(NM_RCLICK) && winsys::Live(window)) {
        CPoint screen = point;
        const CPoint origin = winsys::ClientOrigin(window);
        screen.Offset(origin.x, origin.y);
        winsys::Send(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                     MAKEPOINTLPARAM(screen.x, screen.y));
    }
    if (item && winsys::Live(window))
        Select(Find(previousDrop) ? previousDrop : nullptr, TVGN_DROPHILITE, 0);
}

void TreeView::OnChar(unsigned ch) {
    const std::vector<Node*> visible = VisibleItems();
    const int found = m_typeAhead.Find(
        ch, GetTickCount(), static_cast<int>(visible.size()), VisibleIndex(Find(m_selected)),
        [&](int index) {
            const CString& text = visible[static_cast<std::size_t>(index)]->text;
            return std::string_view(text.c_str(), static_cast<std::size_t>(text.GetLength()));
        });
    if (found >= 0)
        Select(visible[static_cast<std::size_t>(found)]->handle, TVGN_CARET, TVC_BYKEYBOARD);
}

void TreeView::ExpandAllBelow(HTREEITEM item) {
    // Handles, not nodes: an expansion notification may insert or delete items on the way.
    std::vector<HTREEITEM> pending{item};
    while (!pending.empty()) {
        const HTREEITEM next = pending.back();
        pending.pop_back();
        Node* node = Find(next);
        if (!node || !HasChildren(node))
            continue;
        if (!(node->state & TVIS_EXPANDED))
            Expand(next, TVE_EXPAND, true);
        if (!winsys::Live(window))
            return;
        if ((node = Find(next)) == nullptr)
            continue;
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
            pending.push_back((*child)->handle);
    }
}

void TreeView::OnKey(UINT key) {
    NMTVKEYDOWN info{};
    info.wVKey = static_cast<WORD>(key);
    winsys::Notify(window, info.hdr, TVN_KEYDOWN);
    if (!winsys::Live(window))
        return;
    const std::vector<Node*> visible = VisibleItems();
    if (visible.empty())
        return;
    Node* current = Find(m_selected);
    int index = VisibleIndex(current);
    auto selectRow = [&](int row) {
        row = std::clamp(row, 0, static_cast<int>(visible.size()) - 1);
        Select(visible[static_cast<std::size_t>(row)]->handle, TVGN_CARET, TVC_BYKEYBOARD);
    };
    switch (key) {
    case VK_UP:
        selectRow(index < 0 ? 0 : index - 1);
        break;
    case VK_DOWN:
        selectRow(index < 0 ? 0 : index + 1);
        break;
    case VK_HOME:
        selectRow(0);
        break;
    case VK_END:
        selectRow(static_cast<int>(visible.size()) - 1);
        break;
    case VK_PRIOR:
        selectRow(index - std::max(1, PageRows() - 1));
        break;
    case VK_NEXT:
        selectRow(index + std::max(1, PageRows() - 1));
        break;
    case VK_LEFT:
        if (!current)
            selectRow(0);
        else if (current->state & TVIS_EXPANDED)
            Expand(current->handle, TVE_COLLAPSE, true);
        else if (current->parent)
            Select(current->parent->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (!current)
            selectRow(0);
        else if (!(current->state & TVIS_EXPANDED) && HasChildren(current))
            Expand(current->handle, TVE_EXPAND, true);
        else if (!current->children.empty())
            Select(current->children.front()->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_ADD:
        if (current && !(current->state & TVIS_EXPANDED) && HasChildren(current))
            Expand(current->handle, TVE_EXPAND, true);
        break;
    case VK_SUBTRACT:
        if (current && (current->state & TVIS_EXPANDED))
            Expand(current->handle, TVE_COLLAPSE, true);
        break;
    case VK_MULTIPLY:
        if (current)
            ExpandAllBelow(current->handle);
        break;
    case VK_BACK:
        if (current && current->parent)
            Select(current->parent->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_F2:
        if (WindowData* data = winsys::Live(window);
            data && (data->style & TVS_EDITLABELS) && current)
            EditLabel(current->handle);
        break;
    default:
        break;
    }
}

// ---- Painting ----

void TreeView::Paint() {
    WindowData* data = winsys::Live(window);
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    const std::vector<Node*> visible = VisibleItems();
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

// ---- CTreeCtrl ----

namespace {
TreeView* Tree(const CTreeCtrl* control) {
    return TreeViewOf(control->m_hWnd);
}
} // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_TREEVIEW, "", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
    TreeView* tree = Tree(this);
    return tree && insert ? tree->Insert(*insert) : nullptr;
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
                                UINT stateMask, LPARAM lParam, HTREEITEM parent,
                                HTREEITEM insertAfter) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPTSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = lParam;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM insertAfter) {
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, insertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0,
                      0, parent, insertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
    TreeView* tree = Tree(this);
    return tree && tree->Delete(item);
}

BOOL CTreeCtrl::DeleteAllItems() {
    TreeView* tree = Tree(this);
    return tree && tree->DeleteAll();
}

UINT CTreeCtrl::GetCount() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->Count()) : 0;
}

UINT CTreeCtrl::GetVisibleCount() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(std::max(0, tree->PageRows())) : 0;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    TreeView* tree = Tree(this);
    return tree ? tree->Next(item, code) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_CHILD);
}
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXT);
}
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PREVIOUS);
}
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PARENT);
}
HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetNextItem(nullptr, TVGN_ROOT);
}
HTREEITEM CTreeCtrl::GetSelectedItem() const {
    return GetNextItem(nullptr, TVGN_CARET);
}
HTREEITEM CTreeCtrl::GetDropHilightItem() const {
    return GetNextItem(nullptr, TVGN_DROPHILITE);
}
HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
    return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXTVISIBLE);
}
HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PREVIOUSVISIBLE);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    TVITEM info{};
    info.mask = TVIF_CHILDREN;
    info.hItem = item;
    return GetItem(&info) && info.cChildren ? TRUE : FALSE;
}

BOOL CTreeCtrl::GetItem(TVITEM* item) const {
    TreeView* tree = Tree(this);
    return tree && item && tree->GetItem(*item);
}

BOOL CTreeCtrl::SetItem(TVITEM* item) {
    TreeView* tree = Tree(this);
    return tree && item && tree->SetItem(*item);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    TreeView* tree = Tree(this);
    const TreeView::Node* node = tree ? tree->Find(item) : nullptr;
    return node ? node->text : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
    TVITEM info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<LPTSTR>(text);
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEM info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    TVITEM info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEM info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!GetItem(&info))
        return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEM info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
    TVITEM info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.stateMask = stateMask;
    return GetItem(&info) ? info.state : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
    TVITEM info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = stateMask;
    return SetItem(&info);
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    TreeView* tree = Tree(this);
    return tree && tree->Expand(item, code, false);
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
    TreeView* tree = Tree(this);
    return tree && tree->Select(item, code, TVC_UNKNOWN);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    return Select(item, TVGN_CARET);
}
BOOL CTreeCtrl::SelectDropTarget(HTREEITEM item) {
    return Select(item, TVGN_DROPHILITE);
}
BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM item) {
    return Select(item, TVGN_FIRSTVISIBLE);
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
    TreeView* tree = Tree(this);
    return tree && tree->EnsureVisible(item);
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
    TreeView* tree = Tree(this);
    UINT result = TVHT_NOWHERE;
    HTREEITEM item = tree ? tree->HitTest(point, result) : nullptr;
    if (flags)
        *flags = result;
    return item;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const {
    if (!info)
        return nullptr;
    info->hItem = HitTest(CPoint(info->pt), &info->flags);
    return info->hItem;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    TreeView* tree = Tree(this);
    CRect result;
    if (!tree || !rect || !tree->ItemRect(item, result, textOnly))
        return FALSE;
    *rect = result;
    return TRUE;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM item) {
    TreeView* tree = Tree(this);
    HWND edit = tree ? tree->EditLabel(item) : nullptr;
    return static_cast<CEdit*>(CWnd::FromHandle(edit));
}

CEdit* CTreeCtrl::GetEditControl() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<CEdit*>(CWnd::FromHandle(tree->EditWindow())) : nullptr;
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL cancel) {
    TreeView* tree = Tree(this);
    if (!tree || !tree->EditWindow())
        return FALSE;
    tree->EndEditLabel(!cancel);
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* imageList, int which) {
    TreeView* tree = Tree(this);
    return tree ? tree->SetImageList(imageList, which) : nullptr;
}

CImageList* CTreeCtrl::GetImageList(int which) const {
    TreeView* tree = Tree(this);
    return tree ? tree->GetImageList(which) : nullptr;
}

UINT CTreeCtrl::GetIndent() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->Indent()) : 0;
}

void CTreeCtrl::SetIndent(UINT indent) {
    if (TreeView* tree = Tree(this))
        tree->SetIndent(static_cast<int>(indent));
}

UINT CTreeCtrl::GetItemHeight() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->ItemHeight()) : 0;
}

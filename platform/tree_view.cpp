// The tree view control: its items, their states, notifications and image lists.
#include "platform/tree_view.h"

#include "platform/image_list.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

std::uintptr_t IdOf(HTREEITEM item) {
    return reinterpret_cast<std::uintptr_t>(item);
}

bool IsSpecial(HTREEITEM item) {
    return item == TVI_ROOT || item == TVI_FIRST || item == TVI_LAST || item == TVI_SORT;
}

} // namespace

void TreeView::Describe(const Node* node, TVITEM& item, std::string& buffer) {
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
    ForgetLayout();
}

TreeView::Node* TreeView::Find(HTREEITEM item) const {
    if (!item || IsSpecial(item))
        return nullptr;
    auto it = m_nodes.find(IdOf(item));
    return it == m_nodes.end() ? nullptr : it->second.get();
}

void TreeView::Changed(ControlChange::Kind kind, HTREEITEM item, bool layoutKept) {
    if (!layoutKept)
        KeepOrForgetLayout(kind, item);
    if (WindowData* data = winsys::Live(window); data && data->native)
        data->native->ModelChanged({kind, item, -1});
    if (!m_redraw) {
        m_barsStale = true;
        return;
    }
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::Settle() const {
    if (m_barsStale)
        const_cast<TreeView*>(this)->UpdateScrollBars();
}

void TreeView::UpdateScrollBars() {
    m_barsStale = false;
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

void TreeView::Node::Apply(const TVITEM& item) {
    if (item.mask & TVIF_TEXT)
        SetText(item.pszText ? item.pszText : "");
    if (item.mask & TVIF_IMAGE)
        image = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE)
        selectedImage = item.iSelectedImage;
    if (item.mask & TVIF_PARAM)
        lParam = item.lParam;
    if (item.mask & TVIF_CHILDREN)
        childrenFlag = item.cChildren;
    if (item.mask & TVIF_STATE) {
        // Selection and expansion go through their own operations; the other bits are plain.
        const UINT mask = item.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDEDONCE);
        state = (state & ~mask) | (item.state & mask);
    }
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
    node->Apply(insert.item);
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
    const std::size_t place = PlaceOf(node);
    if (place >= siblings.size())
        return; // taken out already: deleted again by a handler told of its deletion
    // Handlers told of a deletion on the way may ask for the layout before it is done: each row
    // leaves it as its item goes.
    if (Shown(node))
        LoseRow(node);
    m_shownRowsListed = false;
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(place));
}

void TreeView::DropSilently(Node* node) {
    for (Node* child : node->children)
        DropSilently(child);
    m_nodes.erase(IdOf(node->handle));
}

// The children as they are now, each with its subtree; handlers told on the way may change the
// children, so they are taken by handle and looked up again one by one.
void TreeView::RemoveChildren(Node* node) {
    std::vector<HTREEITEM> children;
    for (Node* child : node->children)
        children.push_back(child->handle);
    for (HTREEITEM child : children)
        if (Node* childNode = Find(child))
            RemoveSubtree(childNode);
}

// Children first, each announced with TVN_DELETEITEM before it goes.
void TreeView::RemoveSubtree(Node* node) {
    const HTREEITEM handle = node->handle;
    RemoveChildren(node);
    node = Find(handle);
    if (!node)
        return;
    NotifyTree(TVN_DELETEITEM, TVC_UNKNOWN, node, nullptr);
    node = Find(handle);
    if (!node)
        return;
    // Children its handler added go with it: announced once, and what their own handlers add
    // then goes unannounced.
    RemoveChildren(node);
    node = Find(handle);
    if (!node)
        return;
    if (!node->children.empty())
        ForgetLayout(); // rows of items added since, not taken off one by one
    for (Node* child : node->children)
        DropSilently(child);
    node->children.clear();
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
        const std::vector<Node*>& siblings = SiblingsOf(node);
        const std::size_t place = PlaceOf(node);
        if (place + 1 < siblings.size())
            newSelection = siblings[place + 1]->handle;
        else if (node->parent)
            newSelection = node->parent->handle;
        else if (place > 0)
            newSelection = siblings[place - 1]->handle;
    }
    RemoveSubtree(node);
    m_scrollTop = std::clamp(m_scrollTop, 0, std::max(0, VisibleCount() - 1));
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

const std::vector<TreeView::Node*>& TreeView::SiblingsOf(const Node* node) const {
    return node->parent ? node->parent->children : m_roots;
}

std::size_t TreeView::PlaceOf(const Node* node) const {
    const std::vector<Node*>& siblings = SiblingsOf(node);
    if (node->placeHint >= siblings.size() || siblings[node->placeHint] != node)
        node->placeHint = static_cast<std::size_t>(
            std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
    return node->placeHint;
}

HTREEITEM TreeView::Next(HTREEITEM item, UINT code) const {
    Settle();
    Node* node = Find(item);
    auto siblingOf = [&](Node* n, int step) -> HTREEITEM {
        if (!n)
            return nullptr;
        const std::vector<Node*>& siblings = SiblingsOf(n);
        const std::size_t place = PlaceOf(n);
        if (place >= siblings.size())
            return nullptr; // taken out of its siblings: its deletion is under way
        const std::ptrdiff_t index = static_cast<std::ptrdiff_t>(place) + step;
        if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size()))
            return nullptr;
        siblings[static_cast<std::size_t>(index)]->placeHint = static_cast<std::size_t>(index);
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
        const std::vector<Node*>& visible = VisibleItems();
        if (m_scrollTop < static_cast<int>(visible.size()))
            return visible[static_cast<std::size_t>(m_scrollTop)]->handle;
        return nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const std::vector<Node*>& visible = VisibleItems();
        return visible.empty() ? nullptr : visible.back()->handle;
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        // An item not shown (hidden, or taken out on its way to deletion) has no row.
        const int row = VisibleIndex(node);
        const int wanted = code == TVGN_NEXTVISIBLE ? row + 1 : row - 1;
        const std::vector<Node*>& visible = VisibleItems();
        if (row < 0 || wanted < 0 || wanted >= static_cast<int>(visible.size()))
            return nullptr;
        return visible[static_cast<std::size_t>(wanted)]->handle;
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
    node->Apply(item);
    const bool layoutKept =
        !(item.mask & TVIF_TEXT) && !((item.mask & TVIF_STATE) && (item.stateMask & TVIS_EXPANDED));
    Changed(ControlChange::ItemChanged, item.hItem, layoutKept);
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
    ForgetLayout(); // at once: the deletions of a reset tell handlers, who may read the layout
    if (code & TVE_COLLAPSERESET) {
        node->state &= ~TVIS_EXPANDEDONCE;
        std::vector<HTREEITEM> children;
        for (Node* child : node->children)
            children.push_back(child->handle);
        for (HTREEITEM child : children)
            if (Node* childNode = Find(child))
                RemoveSubtree(childNode);
    }
    m_scrollTop = std::clamp(m_scrollTop, 0, std::max(0, VisibleCount() - 1));
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
    Settle();
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
        Changed(ControlChange::ItemChanged, item, true);
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
    Settle();
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

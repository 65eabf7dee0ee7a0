#include "document/treelist.h"

#include <algorithm>
#include <vector>

// The item tree's structural edits: reordering, removing, detaching and putting back, moving.

void TTreeList::Reorder(const std::vector<TTreeListOrder>& orders)
{
    // Every list is checked before the views hear of anything.
    std::vector<TTreeListTextNode*> parents;
    parents.reserve(orders.size());
    for (const TTreeListOrder& order : orders) {
        if (order.parent && !IsAttached(order.parent))
            throw EListError(-1);
        const TTreeListChildren& list = ChildListOf(order.parent);
        if (order.items.size() != static_cast<size_t>(list.count))
            throw EListError(static_cast<int>(order.items.size()));
        std::vector<bool> seen(order.items.size());
        for (const TTreeListTextNode* item : order.items) {
            if (!item || item->m_owner != this || item->m_parent != order.parent || item->m_index < 0 ||
                item->m_index >= list.count || list.items[item->m_index] != item || seen[item->m_index])
                throw EListError(item ? item->m_index : -1);
            seen[item->m_index] = true;
        }
        parents.push_back(order.parent);
    }
    if (orders.empty())
        return;
    Notify([&](TTreeListObserver& o) { o.ChildrenAboutToBeReordered(parents); });
    for (const TTreeListOrder& order : orders) {
        TTreeListChildren& list = ChildListOf(order.parent);
        std::copy(order.items.begin(), order.items.end(), list.items);
        Renumber(list, 0);
    }
    if (m_selection.size() > 1)
        m_selectionSorted = false;
    Notify([](TTreeListObserver& o) { o.ChildrenReordered(); });
}

void TTreeList::Delete(TTreeListTextNode* item)
{
    if (!item || &item->Owner() != this || item->m_deleting || !IsAttached(item))
        return;
    RemoveSubtree(item, true);
}

TTreeListPlace TTreeList::DetachSubtree(TTreeListTextNode* item)
{
    if (!item || &item->Owner() != this || item->m_deleting || !IsAttached(item))
        throw EListError(item ? item->m_index : -1);
    // Room first, so that a detached subtree is always known to the tree.
    m_detached.reserve(m_detached.size() + 1);
    TTreeListPlace place = RemoveSubtree(item, false);
    m_detached.insert(item);
    return place;
}

TTreeListPlace TTreeList::RemoveSubtree(TTreeListTextNode* item, bool free)
{
    TTreeListTextNode* parent = item->m_parent;
    const int row = item->m_index;
    const TTreeListPlace place{parent, row, parent && parent->m_expanded};
    const TTreeListChildren& siblings = SiblingsOf(item);

    const bool focusInside = m_focused && m_focused->IsInside(item);
    TTreeListTextNode* nextFocus = nullptr;
    if (row > 0)
        nextFocus = siblings.items[row - 1];
    else if (parent)
        nextFocus = parent;
    else if (siblings.count > 1)
        nextFocus = siblings.items[1];
    const bool topRowInside = m_topRow && m_topRow->IsInside(item);

    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeRemoved(parent, row, row); });

    size_t selectedBefore = m_selection.size();
    m_selection.erase(std::remove_if(m_selection.begin(), m_selection.end(),
                                     [item](TTreeListTextNode* n) {
                                         if (!n->IsInside(item))
                                             return false;
                                         // A subtree put back later comes back unselected.
                                         n->m_selected = false;
                                         return true;
                                     }),
                      m_selection.end());
    const bool selectionChanged = m_selection.size() != selectedBefore;

    item->m_deleting = true;
    Detach(item);
    // Observers of the removal ask for the focus and the top row: neither may
    // still be an item that is gone, or about to be freed, by then.
    if (focusInside)
        m_focused = nullptr;
    if (topRowInside)
        m_topRow = m_top.count > 0 ? m_top.items[0] : nullptr;
    const bool parentEmptied = parent && !parent->HasChildren();
    if (free)
        FreeSubtree(item);
    else
        item->m_deleting = false;
    Notify([](TTreeListObserver& o) { o.ItemsRemoved(); });
    if (parentEmptied)
        Notify([parent](TTreeListObserver& o) { o.ExpandedChanged(parent); });

    if (selectionChanged) {
        Notify([](TTreeListObserver& o) { o.SelectionChanged(nullptr); });
        SelectionCountChanged();
    }

    if (m_top.count == 0) {
        m_topRow = nullptr;
        m_selection.clear();
        m_selectionSorted = true;
        if (focusInside)
            Notify([](TTreeListObserver& o) { o.FocusChanged(nullptr); });
        else
            Focus(nullptr, false);
        return place;
    }
    if (focusInside)
        Focus(nextFocus, false);
    return place;
}

void TTreeList::Reattach(TTreeListTextNode* item, const TTreeListPlace& place)
{
    auto detached = m_detached.find(item);
    if (detached == m_detached.end())
        return;
    TTreeListChildren& list = ChildListOf(place.parent);
    if (place.index < 0 || place.index > list.count)
        throw EListError(place.index);
    // Make room first: once the view has been told, the insertion must not fail.
    ReserveChildren(list, 1);
    m_detached.erase(detached);
    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeInserted(place.parent, place.index, place.index); });
    item->m_parent = place.parent;
    InsertChild(list, place.index, item);
    Notify([](TTreeListObserver& o) { o.ItemsInserted(); });
    if (place.parent)
        place.parent->SetExpanded(place.parentExpanded);
    ItemAdded(item);
}

void TTreeList::FreeDetached(TTreeListTextNode* item)
{
    // Only what is still detached: a clear has freed the rest already.
    if (m_detached.erase(item) > 0)
        FreeSubtree(item);
}

void TTreeList::MoveItem(TTreeListTextNode* item, TTreeListTextNode* parent, int index)
{
    TTreeListTextNode* formerParent = item->m_parent;
    const bool sameList = parent == formerParent;
    const int source = item->m_index;
    TTreeListChildren& dest = ChildListOf(parent);
    if (index < 0 || index > dest.count - (sameList ? 1 : 0))
        throw EListError(index);
    const int destinationRow = sameList && index >= source ? index + 1 : index;

    TTreeListUpdate bracket(*this);
    // Room first: once the view has been told, the move must not fail. An
    // item leaving a list makes room in that same list.
    if (!sameList)
        ReserveChildren(dest, 1);
    Notify([&](TTreeListObserver& o) { o.ItemAboutToBeMoved(item, parent, destinationRow); });
    Detach(item, sameList);
    const bool formerParentEmptied = formerParent && !formerParent->HasChildren();
    item->m_parent = parent;
    InsertChild(dest, index, item);
    if (m_selection.size() > 1)
        m_selectionSorted = false;  // document order among selected items may have changed
    Notify([](TTreeListObserver& o) { o.ItemMoved(); });
    if (formerParentEmptied)
        Notify([formerParent](TTreeListObserver& o) { o.ExpandedChanged(formerParent); });
}

#include "document/outlineedit.h"

#include <unordered_map>
#include <unordered_set>

std::vector<TTreeListTextNode*> OutlineItems(const TTreeList& tree, bool orFocused)
{
    std::vector<TTreeListTextNode*> items;
    const int count = tree.SelectedCount();
    if (count == 0) {
        if (orFocused && tree.FocusedItem())
            items.push_back(tree.FocusedItem());
        return items;
    }
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TTreeListTextNode* item = tree.SelectedItem(i);
        // In document order an item inside another selected one follows it;
        // it is inside the last one taken, or that one's own selected ancestor.
        if (!items.empty() && item->IsInside(items.back()))
            continue;
        bool inside = false;
        for (const TTreeListTextNode* p = item->Parent(); p && !inside; p = p->Parent())
            inside = p->Selected();
        if (!inside)
            items.push_back(item);
    }
    return items;
}

namespace {
TTreeListTextNode* SiblingAt(const TTreeList& tree, const TTreeListTextNode* item, int index)
{
    return item->Parent() ? item->Parent()->Child(index) : tree.TopItem(index);
}
}  // namespace

bool CanMoveDown(const std::vector<TTreeListTextNode*>& items)
{
    // From the last item up: one stays when the sibling below it is missing
    // or stays too.
    std::unordered_set<const TTreeListTextNode*> staying;
    for (size_t i = items.size(); i-- > 0;) {
        const TTreeListTextNode* item = items[i];
        const TTreeList& tree = item->Owner();
        const TTreeListTextNode* next = SiblingAt(tree, item, item->Index() + 1);
        if (next && staying.count(next) == 0)
            return true;
        staying.insert(item);
    }
    return false;
}

std::vector<TTreeListOrder> MoveDownOrders(const TTreeList& tree, const std::vector<TTreeListTextNode*>& items)
{
    struct TList {
        TTreeListOrder order;
        std::vector<bool> moving;
        bool changed = false;
    };
    std::vector<TList> lists;
    std::unordered_map<const TTreeListTextNode*, size_t> listOf;
    for (TTreeListTextNode* item : items) {
        auto [at, added] = listOf.emplace(item->Parent(), lists.size());
        if (added) {
            TList list;
            list.order.parent = item->Parent();
            const int count = item->Parent() ? item->Parent()->Count() : tree.TopItemCount();
            list.order.items.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                list.order.items.push_back(SiblingAt(tree, item, i));
            list.moving.assign(static_cast<size_t>(count), false);
            lists.push_back(std::move(list));
        }
        lists[at->second].moving[static_cast<size_t>(item->Index())] = true;
    }
    std::vector<TTreeListOrder> orders;
    for (TList& list : lists) {
        // From the bottom up, so that a block moves as a whole and a block
        // at the end stays where it is.
        for (size_t i = list.moving.size(); i-- > 0;) {
            if (!list.moving[i] || i + 1 >= list.moving.size() || list.moving[i + 1])
                continue;
            std::swap(list.order.items[i], list.order.items[i + 1]);
            list.moving[i] = false;
            list.moving[i + 1] = true;
            list.changed = true;
        }
        if (list.changed)
            orders.push_back(std::move(list.order));
    }
    return orders;
}

TTreeListTextNode* IndentTarget(const TTreeList& tree, const std::vector<TTreeListTextNode*>& items)
{
    if (items.empty() || items.front()->Index() == 0)
        return nullptr;
    return SiblingAt(tree, items.front(), items.front()->Index() - 1);
}

bool CanOutdent(const std::vector<TTreeListTextNode*>& items)
{
    for (const TTreeListTextNode* item : items)
        if (item->Parent())
            return true;
    return false;
}

#include "fuzz/treemodel.h"

#include <algorithm>

bool TItemSnapshot::operator==(const TItemSnapshot& other) const
{
    return level == other.level && count == other.count && imageIndex == other.imageIndex &&
           selectedIndex == other.selectedIndex && stateIndex == other.stateIndex && data == other.data &&
           texts == other.texts;
}

TTreeSnapshot Snapshot(const TTreeList& tree, std::string& problem)
{
    TTreeSnapshot items;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const TTreeListTextNode* parent = item->Parent();
        if ((parent ? parent->Child(item->Index()) : tree.TopItem(item->Index())) != item ||
            item->HasChildren() != (item->Count() > 0)) {
            problem = "item " + std::to_string(items.size()) + " is not where its parent and index say";
            return items;
        }
        TItemSnapshot snapshot{item->Level(),      item->Count(), item->ImageIndex(), item->SelectedIndex(),
                               item->StateIndex(), item->Data(),  {}};
        for (int i = 0; i < item->TextCount(); ++i)
            snapshot.texts.emplace_back(item->GetText(i));
        items.push_back(std::move(snapshot));
    }
    return items;
}

std::string Difference(const TTreeSnapshot& expected, const TTreeSnapshot& actual)
{
    for (size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        if (!(expected[i] == actual[i]))
            return "item " + std::to_string(i) + " differs";
    if (expected.size() != actual.size())
        return std::to_string(actual.size()) + " items instead of " + std::to_string(expected.size());
    return {};
}

TTreeListTextNode* ItemAt(const TTreeList& tree, int position)
{
    TTreeListTextNode* item = tree.TopItem(0);
    for (; position > 0 && item; --position)
        item = tree.NextInDocument(item);
    return item;
}

int PositionOf(const TTreeList& tree, const TTreeListTextNode* item)
{
    int position = 0;
    for (const TTreeListTextNode* p = tree.TopItem(0); p && p != item; p = tree.NextInDocument(p))
        ++position;
    return position;
}

int CountItems(const TTreeList& tree)
{
    return PositionOf(tree, nullptr);
}

TTreeModel::TTreeModel(const TTreeList& tree)
{
    // Walks the tree in document order; the last item of each level is the
    // parent of the next one a level deeper.
    std::vector<TItem*> path;
    for (const TTreeListTextNode* node = tree.TopItem(0); node; node = tree.NextInDocument(node)) {
        const auto level = static_cast<size_t>(node->Level());
        path.resize(level);
        TItem& item = m_items.emplace_back();
        item.parent = level > 0 ? path.back() : nullptr;
        ListOf(item.parent).push_back(&item);
        item.imageIndex = node->ImageIndex();
        item.selectedIndex = node->SelectedIndex();
        item.stateIndex = node->StateIndex();
        item.data = node->Data();
        for (int i = 0; i < node->TextCount(); ++i)
            item.texts.emplace_back(node->GetText(i));
        path.push_back(&item);
    }
}

std::vector<TTreeModel::TItem*> TTreeModel::InDocumentOrder() const
{
    std::vector<TItem*> order;
    std::vector<TItem*> pending(m_top.rbegin(), m_top.rend());
    while (!pending.empty()) {
        TItem* item = pending.back();
        pending.pop_back();
        order.push_back(item);
        pending.insert(pending.end(), item->children.rbegin(), item->children.rend());
    }
    return order;
}

TTreeSnapshot TTreeModel::Snapshot() const
{
    TTreeSnapshot items;
    for (const TItem* item : InDocumentOrder()) {
        int level = 0;
        for (const TItem* p = item->parent; p; p = p->parent)
            ++level;
        items.push_back({level, static_cast<int>(item->children.size()), item->imageIndex, item->selectedIndex,
                         item->stateIndex, item->data, item->texts});
    }
    return items;
}

std::string TTreeModel::Mismatch(const TTreeList& tree) const
{
    std::string problem;
    const TTreeSnapshot actual = ::Snapshot(tree, problem);
    return problem.empty() ? Difference(Snapshot(), actual) : problem;
}

void TTreeModel::SetText(int item, int index, std::string_view value)
{
    TItem* target = InDocumentOrder().at(static_cast<size_t>(item));
    if (static_cast<size_t>(index) >= target->texts.size())
        target->texts.resize(static_cast<size_t>(index) + 1);
    target->texts[static_cast<size_t>(index)] = std::string(value);
}

void TTreeModel::Delete(int item)
{
    TItem* doomed = InDocumentOrder().at(static_cast<size_t>(item));
    std::vector<TItem*>& list = ListOf(doomed->parent);
    list.erase(std::find(list.begin(), list.end(), doomed));
}

void TTreeModel::AddChild(int item)
{
    TItem* parent = item < 0 ? nullptr : InDocumentOrder().at(static_cast<size_t>(item));
    TItem& child = m_items.emplace_back();
    child.parent = parent;
    ListOf(parent).push_back(&child);
}

void TTreeModel::MoveTo(int item, int target, TItemAttachMode mode)
{
    const std::vector<TItem*> order = InDocumentOrder();
    TItem* moved = order.at(static_cast<size_t>(item));
    TItem* to = order.at(static_cast<size_t>(target));
    const bool asChild = mode == amAddChild || mode == amAddChildFirst;
    if (to == moved && mode != amAdd && mode != amAddFirst)
        return;
    for (TItem* p = to->parent; p && to != moved; p = p->parent)
        if (p == moved)
            return;
    std::vector<TItem*>& source = ListOf(moved->parent);
    source.erase(std::find(source.begin(), source.end(), moved));
    moved->parent = asChild ? to : to->parent;
    std::vector<TItem*>& dest = ListOf(moved->parent);
    auto position = dest.end();
    if (mode == amAddFirst || mode == amAddChildFirst)
        position = dest.begin();
    else if (mode == amInsert)
        position = std::find(dest.begin(), dest.end(), to);
    dest.insert(position, moved);
}

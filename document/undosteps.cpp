#include "document/undosteps.h"

#include <unordered_set>

void TSubtreeStep::Record(TTreeList& tree, TTreeListTextNode* item, const TTreeListPlace& place)
{
    m_tree = &tree;
    m_items.push_back(item);
    m_places.push_back(place);
}

size_t TSubtreeStep::Cost() const
{
    if (!m_counted) {
        for (const TTreeListTextNode* item : m_items)
            m_bytes += m_tree->SubtreeBytes(item);
        m_counted = true;
    }
    return m_bytes;
}

void TSubtreeStep::TakeOut(TTreeList& tree)
{
    TTreeListUpdate bracket(tree);
    if (m_inserted) {
        for (size_t i = m_items.size(); i-- > 0;)
            tree.DetachSubtree(m_items[i]);
    } else {
        for (TTreeListTextNode* item : m_items)
            tree.DetachSubtree(item);
    }
}

void TSubtreeStep::PutBack(TTreeList& tree)
{
    TTreeListUpdate bracket(tree);
    if (m_inserted) {
        for (size_t i = 0; i < m_items.size(); ++i)
            tree.Reattach(m_items[i], m_places[i]);
    } else {
        for (size_t i = m_items.size(); i-- > 0;)
            tree.Reattach(m_items[i], m_places[i]);
    }
}

// Out of the tree are the inserted items of an undone step and the removed
// ones of a done step.
void TSubtreeStep::Discard(TTreeList& tree, bool done)
{
    if (done != m_inserted)
        for (TTreeListTextNode* item : m_items)
            tree.FreeDetached(item);
}

void TRemoveStep::Remove(TTreeList& tree, TTreeListTextNode* item)
{
    Record(tree, item, tree.DetachSubtree(item));
}

namespace {
void SetParentExpanded(TTreeListTextNode* parent, bool expanded)
{
    if (parent)
        parent->SetExpanded(expanded);
}
}  // namespace

void TMoveStep::Move(TTreeList& tree, TTreeListTextNode* item, TTreeListTextNode* parent, int index)
{
    TMove move{item, tree.PlaceOf(item), {}, parent && parent->Expanded()};
    tree.MoveItem(item, parent, index);
    move.to = tree.PlaceOf(item);
    m_moves.push_back(move);
}

void TMoveStep::MoveTo(TTreeList& tree, TTreeListTextNode* item, TTreeListTextNode* target, TItemAttachMode mode)
{
    if (!target)
        return;
    TTreeListTextNode* parent = mode == amAddChild || mode == amAddChildFirst ? target : target->Parent();
    TMove move{item, tree.PlaceOf(item), {}, parent && parent->Expanded()};
    item->MoveTo(target, mode);
    move.to = tree.PlaceOf(item);
    // MoveTo refuses some moves (into the item's own subtree).
    if (move.to.parent != move.from.parent || move.to.index != move.from.index)
        m_moves.push_back(move);
}

void TMoveStep::Undo(TTreeList& tree)
{
    TTreeListUpdate bracket(tree);
    for (size_t i = m_moves.size(); i-- > 0;) {
        const TMove& move = m_moves[i];
        tree.MoveItem(move.item, move.from.parent, move.from.index);
        SetParentExpanded(move.to.parent, move.toParentExpanded);
        SetParentExpanded(move.from.parent, move.from.parentExpanded);
    }
}

void TMoveStep::Redo(TTreeList& tree)
{
    TTreeListUpdate bracket(tree);
    for (const TMove& move : m_moves) {
        tree.MoveItem(move.item, move.to.parent, move.to.index);
        SetParentExpanded(move.to.parent, move.to.parentExpanded);
    }
}

std::vector<TTreeListTextNode*> TMoveStep::Touched() const
{
    std::vector<TTreeListTextNode*> items;
    std::unordered_set<const TTreeListTextNode*> seen;
    for (const TMove& move : m_moves)
        if (seen.insert(move.item).second)
            items.push_back(move.item);
    return items;
}

TTextStep::TTextStep(std::string name, TTreeListTextNode* item, int column, std::string before, int countBefore)
    : TUndoStep(std::move(name)), m_item(item), m_column(column), m_before(std::move(before)),
      m_after(item->GetText(column)), m_countBefore(countBefore), m_countAfter(item->TextCount())
{
}

void TTextStep::Undo(TTreeList& /*tree*/)
{
    m_item->SetText(m_column, m_before);
    m_item->TruncateTexts(m_countBefore);
}

void TTextStep::Redo(TTreeList& /*tree*/)
{
    m_item->SetText(m_column, m_after);
    m_item->TruncateTexts(m_countAfter);
}

TIconStep::TIconStep(std::string name, TTreeListTextNode* item, int32_t before, int32_t after)
    : TUndoStep(std::move(name)), m_item(item), m_before(before), m_after(after)
{
}

void TIconStep::Undo(TTreeList& /*tree*/)
{
    m_item->SetImageIndex(m_before);
}

void TIconStep::Redo(TTreeList& /*tree*/)
{
    m_item->SetImageIndex(m_after);
}

void TReorderStep::Add(const TTreeList& tree, TTreeListOrder order)
{
    TTreeListOrder before{order.parent, {}};
    const int count = order.parent ? order.parent->Count() : tree.TopItemCount();
    before.items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        before.items.push_back(order.parent ? order.parent->Child(i) : tree.TopItem(i));
    if (before.items == order.items)
        return;
    m_bytes += 2 * before.items.size() * sizeof(TTreeListTextNode*) + 2 * sizeof(TTreeListOrder);
    m_before.push_back(std::move(before));
    m_after.push_back(std::move(order));
}

void TReorderStep::Undo(TTreeList& tree)
{
    tree.Reorder(m_before);
}

void TReorderStep::Redo(TTreeList& tree)
{
    tree.Reorder(m_after);
}

void TCompoundStep::Undo(TTreeList& tree)
{
    for (size_t i = m_steps.size(); i-- > 0;)
        m_steps[i]->Undo(tree);
}

void TCompoundStep::Redo(TTreeList& tree)
{
    for (const auto& step : m_steps)
        step->Redo(tree);
}

std::vector<TTreeListTextNode*> TCompoundStep::Touched() const
{
    return m_steps.empty() ? std::vector<TTreeListTextNode*>{} : m_steps.front()->Touched();
}

size_t TCompoundStep::Cost() const
{
    size_t cost = 0;
    for (const auto& step : m_steps)
        cost += step->Cost();
    return cost;
}

void TCompoundStep::Discard(TTreeList& tree, bool done)
{
    for (const auto& step : m_steps)
        step->Discard(tree, done);
}

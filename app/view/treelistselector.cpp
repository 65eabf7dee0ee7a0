#include "app/view/treelistselector.h"

#include <algorithm>

#include "app/view/treelistlayout.h"

TTreeListSelector::TTreeListSelector(TTreeList& tree, const TTreeListLayout& layout)
    : m_tree(tree), m_layout(layout)
{
    m_tree.AddObserver(this);
}

TTreeListSelector::~TTreeListSelector()
{
    m_tree.RemoveObserver(this);
}

void TTreeListSelector::SetAnchor(TTreeListTextNode* item)
{
    m_anchor = item;
}

TTreeListTextNode* TTreeListSelector::Anchor() const
{
    return m_anchor ? m_anchor : m_tree.FocusedItem();
}

void TTreeListSelector::SelectOnly(TTreeListTextNode* item)
{
    Commit();
    m_anchor = item;
    const TTreeListUpdate bracket(m_tree);
    m_tree.ClearSelection();
    if (item)
        item->SetSelected(true);
}

void TTreeListSelector::SetSelected(TTreeListTextNode* item, bool selected)
{
    Commit();
    m_anchor = item;
    if (!item)
        return;
    const TTreeListUpdate bracket(m_tree);
    item->SetSelected(selected);
}

void TTreeListSelector::SelectRange(TTreeListTextNode* item, bool selected)
{
    const int to = m_layout.RowOf(item);
    const int from = m_layout.RowOf(Anchor());
    SelectRows(from < 0 ? to : from, to, selected);
}

void TTreeListSelector::SelectRows(int from, int to, bool selected, bool alone)
{
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, m_layout.RowCount() - 1);
    const TTreeListUpdate bracket(m_tree);
    if (alone)
        m_tree.ClearSelection();
    else
        for (TTreeListTextNode* item : m_changed)
            item->SetSelected(!item->Selected());
    m_changed.clear();
    TTreeListTextNode* item = from <= to ? m_layout.ItemAtRow(from) : nullptr;
    for (int row = from; item && row <= to; ++row, item = m_layout.NextRow(item)) {
        if (item->Selected() != selected) {
            item->SetSelected(selected);
            m_changed.push_back(item);
        }
    }
}

void TTreeListSelector::Forget()
{
    m_anchor = nullptr;
    m_changed.clear();
}

// Items going away may be freed later without a word (a detached subtree).
void TTreeListSelector::ItemsAboutToBeRemoved(TTreeListTextNode* /*parent*/, int /*first*/, int /*last*/)
{
    Forget();
}

void TTreeListSelector::AboutToReset()
{
    Forget();
}

#include "document/treesnapshot.h"

#include "document/treefile.h"

#include <algorithm>
#include <cstdint>
#include <utility>

TTreeSnapshot::TTreeSnapshot(TTreeList& tree) : m_tree(tree), m_orderNext(tree.TopItem(0))
{
    AppendTreeHead(tree, Part());
    m_tree.AddObserver(this);
}

TTreeSnapshot::~TTreeSnapshot()
{
    m_tree.RemoveObserver(this);
}

std::string& TTreeSnapshot::Part()
{
    if (m_parts.empty() || m_parts.back().size() >= PartSize) {
        m_parts.emplace_back();
        m_parts.back().reserve(PartSize + (size_t(64) << 10));
    }
    return m_parts.back();
}

void TTreeSnapshot::TakeOrder(size_t items)
{
    while (m_orderNext && items > 0) {
        if (!m_added.empty() && m_added.count(m_orderNext) > 0) {
            m_orderNext = m_tree.NextAfterSubtree(m_orderNext);
            continue;
        }
        m_order.push_back(m_orderNext);
        m_orderNext = m_tree.NextInDocument(m_orderNext);
        --items;
    }
}

bool TTreeSnapshot::Next(size_t bytes)
{
    if (m_orderNext) {
        TakeOrder(std::max<size_t>(bytes / 64, 1));
        if (m_orderNext)
            return false;
    }
    size_t taken = 0;
    while (m_next < m_order.size() && taken < bytes) {
        std::string& out = Part();
        const size_t before = out.size();
        const TTreeListTextNode* item = m_order[m_next++];
        const auto kept = m_kept.empty() ? m_kept.end() : m_kept.find(item);
        if (kept == m_kept.end()) {
            AppendItemRecord(*item, out);
        } else {
            out += kept->second;
            m_kept.erase(kept);
        }
        taken += out.size() - before;
    }
    if (m_next < m_order.size())
        return false;
    m_kept.clear();
    return true;
}

// The first record taken of an item counts: it is the item as it was. An
// item not in the order (added since) is kept for nothing.
void TTreeSnapshot::Keep(const TTreeListTextNode* item)
{
    if (!item || Done())
        return;
    const auto [kept, added] = m_kept.try_emplace(item);
    if (added)
        AppendItemRecord(*item, kept->second);
}

void TTreeSnapshot::KeepSubtree(const TTreeListTextNode* root)
{
    std::vector<const TTreeListTextNode*> pending{root};
    while (!pending.empty()) {
        const TTreeListTextNode* item = pending.back();
        pending.pop_back();
        Keep(item);
        for (int i = 0; i < item->Count(); ++i)
            pending.push_back(item->Child(i));
    }
}

// Items added come in after the snapshot began, and the order passes over
// them; any other change to the order takes the rest of it as it still is.
void TTreeSnapshot::ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last)
{
    Keep(parent);
    m_arriving = {parent, first, last};
}

void TTreeSnapshot::ItemsInserted()
{
    const TArriving arriving = std::exchange(m_arriving, TArriving{});
    if (!m_orderNext)
        return;
    for (int row = arriving.first; row <= arriving.last; ++row)
        if (const TTreeListTextNode* item = arriving.parent ? arriving.parent->Child(row) : m_tree.TopItem(row))
            m_added.insert(item);
}

void TTreeSnapshot::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    TakeOrder(SIZE_MAX);
    Keep(parent);
    for (int row = first; row <= last; ++row)
        KeepSubtree(parent ? parent->Child(row) : m_tree.TopItem(row));
}

void TTreeSnapshot::ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent, int)
{
    TakeOrder(SIZE_MAX);
    Keep(item->Parent());
    Keep(destinationParent);
}

void TTreeSnapshot::AboutToReset()
{
    // The items go: what is left is taken while they are still there.
    while (!Next(PartSize)) {
    }
}

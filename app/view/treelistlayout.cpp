#include "app/view/treelistlayout.h"

#include <vector>

#include "document/treelist.h"

namespace {

TTreeListTextNode* ChildOf(const TTreeList& tree, const TTreeListTextNode* parent, int index)
{
    return parent ? parent->Child(index) : tree.TopItem(index);
}

int ChildCountOf(const TTreeList& tree, const TTreeListTextNode* parent)
{
    return parent ? parent->Count() : tree.TopItemCount();
}

} // namespace

TTreeListLayout::TTreeListLayout(TTreeList& tree) : m_tree(tree)
{
    m_tree.AddObserver(this);
}

TTreeListLayout::~TTreeListLayout()
{
    m_tree.RemoveObserver(this);
}

int TTreeListLayout::RowsBelow(const TTreeListTextNode* item) const
{
    if (!item || !item->Expanded() || !item->HasChildren())
        return 0;
    if (const auto found = m_rowsBelow.find(item); found != m_rowsBelow.end())
        return found->second;
    // Without recursion: a file may nest items deeper than the stack allows.
    struct TFrame {
        const TTreeListTextNode* item;
        int next;
        int rows;
    };
    std::vector<TFrame> stack{{item, 0, 0}};
    int result = 0;
    while (!stack.empty()) {
        TFrame& frame = stack.back();
        if (frame.next < frame.item->Count()) {
            const TTreeListTextNode* child = frame.item->Child(frame.next++);
            frame.rows += 1;
            if (child->Expanded() && child->HasChildren()) {
                const auto found = m_rowsBelow.find(child);
                if (found != m_rowsBelow.end())
                    frame.rows += found->second;
                else
                    stack.push_back({child, 0, 0});
            }
            continue;
        }
        const TFrame done = frame;
        stack.pop_back();
        if (WorthKeeping(done.item, done.rows))
            m_rowsBelow[done.item] = done.rows;
        if (stack.empty())
            result = done.rows;
        else
            stack.back().rows += done.rows;
    }
    return result;
}

bool TTreeListLayout::WorthKeeping(const TTreeListTextNode* item, int rows) const
{
    // A few rows are counted again faster than a count is kept and found: most
    // items of an expanded tree are just above its leaves. Among many
    // siblings every count is kept, since rows are found by adding up those of
    // the siblings before.
    constexpr int FewRows = 16;
    constexpr int ManySiblings = 32;
    return rows >= FewRows || ChildCountOf(m_tree, item->Parent()) > ManySiblings;
}

int TTreeListLayout::ChildRows(const TTreeListTextNode* item) const
{
    int rows = 0;
    for (int i = 0; item && i < item->Count(); ++i)
        rows += 1 + RowsBelow(item->Child(i));
    return rows;
}

int TTreeListLayout::RowCount() const
{
    if (m_rowCount < 0 && m_root) {
        m_rowCount = 1 + RowsBelow(m_root);
    } else if (m_rowCount < 0) {
        int rows = 0;
        for (int i = 0; i < m_tree.TopItemCount(); ++i)
            rows += 1 + RowsBelow(m_tree.TopItem(i));
        m_rowCount = rows;
    }
    return m_rowCount;
}

int TTreeListLayout::RowOf(const TTreeListTextNode* item) const
{
    if (!item || (m_root && !item->IsInside(m_root)))
        return -1;
    if (item == m_root)
        return 0;
    for (const TTreeListTextNode* p = item->Parent(); p; p = p->Parent()) {
        if (!p->Expanded())
            return -1;
        if (p == m_root)
            break;
    }
    int row = 0;
    for (const TTreeListTextNode* node = item; node != m_root; node = node->Parent()) {
        const TTreeListTextNode* parent = node->Parent();
        for (int i = 0; i < node->Index(); ++i)
            row += 1 + RowsBelow(ChildOf(m_tree, parent, i));
        if (parent)
            row += 1;
    }
    return row;
}

TTreeListTextNode* TTreeListLayout::ItemAtRow(int row) const
{
    if (row < 0)
        return nullptr;
    if (m_root && row == 0)
        return m_root;
    if (m_root && --row >= RowsBelow(m_root))
        return nullptr;
    const TTreeListTextNode* parent = m_root;
    for (;;) {
        const int count = ChildCountOf(m_tree, parent);
        bool descended = false;
        for (int i = 0; i < count; ++i) {
            TTreeListTextNode* child = ChildOf(m_tree, parent, i);
            if (row == 0)
                return child;
            --row;
            const int below = RowsBelow(child);
            if (row < below) {
                parent = child;
                descended = true;
                break;
            }
            row -= below;
        }
        if (!descended)
            return nullptr;
    }
}

void TTreeListLayout::SetRoot(TTreeListTextNode* root)
{
    m_root = root;
    m_rowCount = -1;
}

TTreeListTextNode* TTreeListLayout::NextRow(const TTreeListTextNode* item) const
{
    TTreeListTextNode* next = item ? m_tree.NextVisible(item) : nullptr;
    return next && (!m_root || next->IsInside(m_root)) ? next : nullptr;
}

TTreeListTextNode* TTreeListLayout::PreviousRow(const TTreeListTextNode* item) const
{
    return item && item != m_root ? m_tree.PrevVisible(item) : nullptr;
}

TTreeListTextNode* TTreeListLayout::LastRow() const
{
    if (!m_root)
        return m_tree.LastVisible();
    TTreeListTextNode* item = m_root;
    while (item->Expanded() && item->HasChildren())
        item = item->Child(item->Count() - 1);
    return item;
}

int TTreeListLayout::Depth(const TTreeListTextNode* item) const
{
    return item->Level() - (m_root ? m_root->Level() : 0);
}

void TTreeListLayout::Invalidate(const TTreeListTextNode* item)
{
    for (const TTreeListTextNode* p = item; p; p = p->Parent())
        m_rowsBelow.erase(p);
    m_rowCount = -1;
}

void TTreeListLayout::ForgetLeaving()
{
    for (const TTreeListTextNode* item : m_leaving)
        m_rowsBelow.erase(item);
}

void TTreeListLayout::Clear()
{
    m_rowsBelow.clear();
    m_rowCount = -1;
}

void TTreeListLayout::ItemsAboutToBeInserted(TTreeListTextNode* parent, int /*first*/, int /*last*/)
{
    m_changingParent = parent;
}

void TTreeListLayout::ItemsInserted()
{
    Invalidate(m_changingParent);
    m_changingParent = nullptr;
}

void TTreeListLayout::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    // The counts stay right until the items are gone, and are asked for
    // meanwhile; the items leaving are only noted, to be forgotten after.
    m_changingParent = parent;
    m_leaving.clear();
    for (int row = first; row <= last; ++row) {
        const TTreeListTextNode* root = ChildOf(m_tree, parent, row);
        if (root && m_root && m_root->IsInside(root))
            m_rootLeaving = true;
        if (root && root->HasChildren())
            NoteLeaving(root);
    }
}

void TTreeListLayout::NoteLeaving(const TTreeListTextNode* root)
{
    // Counts are kept for few items next to a big subtree (none while it is
    // collapsed): once the walk has cost more than going through those, they
    // are looked through instead.
    const size_t budget = 8 * m_rowsBelow.size() + 64;
    const size_t first = m_leaving.size();
    size_t walked = 0;
    std::vector<const TTreeListTextNode*> open{root};
    while (!open.empty() && walked <= budget) {
        const TTreeListTextNode* item = open.back();
        open.pop_back();
        m_leaving.push_back(item);
        walked += static_cast<size_t>(item->Count());
        for (int i = 0; i < item->Count(); ++i)
            if (item->Child(i)->HasChildren())
                open.push_back(item->Child(i));
    }
    if (open.empty())
        return;
    m_leaving.resize(first);
    for (const auto& [item, rows] : m_rowsBelow)
        if (item->IsInside(root))
            m_leaving.push_back(item);
}

void TTreeListLayout::ItemsRemoved()
{
    ForgetLeaving();
    m_leaving.clear();
    if (m_rootLeaving)
        m_root = nullptr;
    m_rootLeaving = false;
    Invalidate(m_changingParent);
    m_changingParent = nullptr;
}

void TTreeListLayout::ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* /*destinationParent*/,
                                         int /*destinationRow*/)
{
    m_movingItem = item;
    m_changingParent = item ? item->Parent() : nullptr;
}

void TTreeListLayout::ItemMoved()
{
    Invalidate(m_changingParent);
    if (m_movingItem)
        Invalidate(m_movingItem->Parent());
    m_movingItem = nullptr;
    m_changingParent = nullptr;
}

void TTreeListLayout::AboutToReset()
{
    m_root = nullptr;
    Clear();
}

void TTreeListLayout::ResetDone()
{
    Clear();
}

void TTreeListLayout::ExpandedChanged(TTreeListTextNode* item)
{
    if (item)
        Invalidate(item);
    else
        Clear();  // many items at once
}

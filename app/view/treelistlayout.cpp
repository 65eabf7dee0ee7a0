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

// The filter's marks in each item's view byte.
constexpr uint8_t MarkShown = 1;
constexpr uint8_t MarkSelf = 2;    // shown for itself, not only as an ancestor
constexpr uint8_t MarkParent = 4;  // has shown children
constexpr uint8_t MarkClosed = 8;  // closed by the user under the filter

// Each item's view byte holds two sets of marks: those shown, and those of
// the next filter, which its search writes meanwhile.
constexpr int MarkBits = 4;
constexpr uint8_t MarkMask = 0xF;

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
    if (!item || !IsOpen(item))
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
            if (!Shown(child))
                continue;
            frame.rows += 1;
            if (IsOpen(child)) {
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
        if (Shown(item->Child(i)))
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
            if (Shown(m_tree.TopItem(i)))
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
    if (!Shown(item))
        return -1;
    for (const TTreeListTextNode* p = item->Parent(); p; p = p->Parent()) {
        if (!IsOpen(p))
            return -1;
        if (p == m_root)
            break;
    }
    int row = 0;
    for (const TTreeListTextNode* node = item; node != m_root; node = node->Parent()) {
        const TTreeListTextNode* parent = node->Parent();
        for (int i = 0; i < node->Index(); ++i)
            if (const TTreeListTextNode* sibling = ChildOf(m_tree, parent, i); Shown(sibling))
                row += 1 + RowsBelow(sibling);
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
            if (!Shown(child))
                continue;
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
    if (m_filtered && item) {
        if (IsOpen(item))
            if (TTreeListTextNode* child = NextShownSibling(item, -1))
                return child;
        for (const TTreeListTextNode* node = item; node && node != m_root; node = node->Parent())
            if (TTreeListTextNode* sibling = NextShownSibling(node->Parent(), node->Index()))
                return sibling;
        return nullptr;
    }
    TTreeListTextNode* next = item ? m_tree.NextVisible(item) : nullptr;
    return next && (!m_root || next->IsInside(m_root)) ? next : nullptr;
}

TTreeListTextNode* TTreeListLayout::PreviousRow(const TTreeListTextNode* item) const
{
    if (!item || item == m_root)
        return nullptr;
    if (!m_filtered)
        return m_tree.PrevVisible(item);
    if (TTreeListTextNode* sibling = PreviousShownSibling(item->Parent(), item->Index()))
        return LastOpenRow(sibling);
    return item->Parent();
}

TTreeListTextNode* TTreeListLayout::LastRow() const
{
    if (m_filtered) {
        TTreeListTextNode* last = m_root ? m_root : PreviousShownSibling(nullptr, m_tree.TopItemCount());
        return last ? LastOpenRow(last) : nullptr;
    }
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

uint8_t TTreeListLayout::Mark(const TTreeListTextNode* item, bool next) const
{
    return (item->ViewMark() >> (m_phase != next ? MarkBits : 0)) & MarkMask;
}

void TTreeListLayout::SetMark(TTreeListTextNode* item, uint8_t mark, bool next)
{
    const int shift = m_phase != next ? MarkBits : 0;
    item->SetViewMark(static_cast<uint8_t>((item->ViewMark() & ~(MarkMask << shift)) | (mark << shift)));
}

bool TTreeListLayout::Has(const TTreeListTextNode* item, uint8_t mark, bool next) const
{
    return (Mark(item, next) & mark) == mark;
}

void TTreeListLayout::AddMark(TTreeListTextNode* item, uint8_t mark, bool next)
{
    SetMark(item, Mark(item, next) | mark, next);
}

bool TTreeListLayout::Shown(const TTreeListTextNode* item) const
{
    return !m_filtered || Has(item, MarkShown);
}

bool TTreeListLayout::ShownForItself(const TTreeListTextNode* item) const
{
    return !m_filtered || Has(item, MarkSelf);
}

bool TTreeListLayout::IsOpen(const TTreeListTextNode* item) const
{
    if (!m_filtered)
        return item->Expanded() && item->HasChildren();
    return (Mark(item) & (MarkParent | MarkClosed)) == MarkParent;
}

bool TTreeListLayout::CanOpen(const TTreeListTextNode* item) const
{
    return m_filtered ? Has(item, MarkParent) : item->HasChildren();
}

void TTreeListLayout::SetOpen(TTreeListTextNode* item, bool open)
{
    if (!m_filtered) {
        item->SetExpanded(open);
        return;
    }
    if (!Has(item, MarkParent) || IsOpen(item) == open)
        return;
    SetMark(item, open ? Mark(item) & ~MarkClosed : Mark(item) | MarkClosed);
    Invalidate(item);
}

void TTreeListLayout::SetSubtreeOpen(TTreeListTextNode* root, bool open)
{
    std::vector<TTreeListTextNode*> pending;
    if (root)
        pending.push_back(root);
    for (int i = 0; !root && i < m_tree.TopItemCount(); ++i)
        pending.push_back(m_tree.TopItem(i));
    while (!pending.empty()) {
        TTreeListTextNode* item = pending.back();
        pending.pop_back();
        if (!CanOpen(item))
            continue;
        SetOpen(item, open);
        for (int i = 0; i < item->Count(); ++i)
            pending.push_back(item->Child(i));
    }
}

bool TTreeListLayout::Reveal(TTreeListTextNode* item)
{
    if (!m_filtered || !item || Has(item, MarkShown))
        return false;
    MarkItemShown(item);
    Invalidate(item);
    return true;
}

void TTreeListLayout::SetFilter(const std::vector<TTreeListTextNode*>& matches)
{
    // Before the first filter, marks may be left from an earlier one on
    // items that were away meanwhile; later, only the shown ones carry any.
    ClearMarks(!m_filtered);
    m_filtered = true;
    for (TTreeListTextNode* item : matches)
        MarkItemShown(item);
    Clear();
}

void TTreeListLayout::ClearFilter()
{
    // The marks may stay: the next filter writes its own over all of them.
    m_filtered = false;
    Clear();
}

void TTreeListLayout::BeginNextFilter()
{
    m_nextPath.clear();
    m_nextRowsBelow.clear();
    m_nextRowCount = 0;
}

void TTreeListLayout::VisitNext(TTreeListTextNode* item, bool match)
{
    while (!m_nextPath.empty() && m_nextPath.back().item != item->Parent())
        PopNext();
    SetMark(item, match ? MarkShown | MarkSelf : 0, true);
    // The ancestors are the path: those not yet shown are now.
    if (match)
        for (auto it = m_nextPath.rbegin(); it != m_nextPath.rend() && !Has(it->item, MarkShown | MarkParent, true); ++it)
            AddMark(it->item, MarkShown | MarkParent, true);
    m_nextPath.push_back({item, 0});
}

void TTreeListLayout::PopNext()
{
    const TNextFrame done = m_nextPath.back();
    m_nextPath.pop_back();
    const uint8_t mark = Mark(done.item, true);
    if (mark & MarkParent)
        m_nextRowsBelow[done.item] = done.rows;
    if (mark & MarkShown)
        (m_nextPath.empty() ? m_nextRowCount : m_nextPath.back().rows) += 1 + (mark & MarkParent ? done.rows : 0);
}

void TTreeListLayout::ShowNextFilter()
{
    while (!m_nextPath.empty())
        PopNext();
    m_phase = !m_phase;
    m_filtered = true;
    m_rowsBelow.swap(m_nextRowsBelow);
    m_nextRowsBelow.clear();
    m_rowCount = m_root ? -1 : m_nextRowCount;
}

void TTreeListLayout::MarkItemShown(TTreeListTextNode* item)
{
    AddMark(item, MarkShown | MarkSelf);
    MarkAncestors(item);
}

void TTreeListLayout::MarkAncestors(TTreeListTextNode* item)
{
    for (TTreeListTextNode* p = item->Parent(); p && !Has(p, MarkShown | MarkParent); p = p->Parent())
        AddMark(p, MarkShown | MarkParent);
}

void TTreeListLayout::Prune(TTreeListTextNode* parent)
{
    // An ancestor whose last shown child went leads nowhere any more: it goes
    // too, unless it is shown for itself.
    for (TTreeListTextNode* p = parent; m_filtered && p && !NextShownSibling(p, -1); p = p->Parent()) {
        const uint8_t mark = Mark(p) & ~(MarkParent | MarkClosed);
        SetMark(p, mark & MarkSelf ? mark : 0);
        if (mark & MarkSelf)
            break;
    }
}

void TTreeListLayout::ClearMarks(bool all)
{
    if (all) {
        for (TTreeListTextNode* item = m_tree.TopItem(0); item; item = m_tree.NextInDocument(item))
            SetMark(item, 0);
        return;
    }
    // Shown items have shown parents: the walk goes down only through those.
    std::vector<const TTreeListTextNode*> open{nullptr};
    while (!open.empty()) {
        const TTreeListTextNode* parent = open.back();
        open.pop_back();
        const int count = ChildCountOf(m_tree, parent);
        for (int i = 0; i < count; ++i) {
            TTreeListTextNode* child = ChildOf(m_tree, parent, i);
            if (Has(child, MarkParent))
                open.push_back(child);
            SetMark(child, 0);
        }
    }
}

TTreeListTextNode* TTreeListLayout::NextShownSibling(const TTreeListTextNode* parent, int after) const
{
    const int count = ChildCountOf(m_tree, parent);
    for (int i = after + 1; i < count; ++i)
        if (TTreeListTextNode* sibling = ChildOf(m_tree, parent, i); Shown(sibling))
            return sibling;
    return nullptr;
}

TTreeListTextNode* TTreeListLayout::PreviousShownSibling(const TTreeListTextNode* parent, int before) const
{
    for (int i = before - 1; i >= 0; --i)
        if (TTreeListTextNode* sibling = ChildOf(m_tree, parent, i); Shown(sibling))
            return sibling;
    return nullptr;
}

TTreeListTextNode* TTreeListLayout::LastOpenRow(TTreeListTextNode* item) const
{
    while (IsOpen(item)) {
        TTreeListTextNode* last = PreviousShownSibling(item, item->Count());
        if (!last)
            break;
        item = last;
    }
    return item;
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

void TTreeListLayout::ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last)
{
    m_changingParent = parent;
    m_insertFirst = first;
    m_insertLast = last;
}

void TTreeListLayout::ItemsInserted()
{
    if (m_filtered)
        ItemsInsertedUnderFilter();
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
    Prune(m_changingParent);
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
    // Moved under a hidden item (indented under one), it stays in view.
    if (m_filtered && m_movingItem) {
        AddMark(m_movingItem, MarkShown);
        MarkAncestors(m_movingItem);
    }
    Prune(m_changingParent);
    Invalidate(m_changingParent);
    if (m_movingItem)
        Invalidate(m_movingItem->Parent());
    m_movingItem = nullptr;
    m_changingParent = nullptr;
}

void TTreeListLayout::ItemsInsertedUnderFilter()
{
    // What arrives under the filter is shown whole, whether it matches or
    // not, each item open as its own expanded state says.
    for (int row = m_insertFirst; row <= m_insertLast; ++row) {
        TTreeListTextNode* root = ChildOf(m_tree, m_changingParent, row);
        if (!root)
            continue;
        std::vector<TTreeListTextNode*> open{root};
        while (!open.empty()) {
            TTreeListTextNode* item = open.back();
            open.pop_back();
            uint8_t mark = MarkShown | MarkSelf;
            if (item->HasChildren())
                mark |= item->Expanded() ? MarkParent : MarkParent | MarkClosed;
            SetMark(item, mark);
            for (int i = 0; i < item->Count(); ++i)
                open.push_back(item->Child(i));
        }
        MarkAncestors(root);
    }
}

void TTreeListLayout::AboutToReset()
{
    m_root = nullptr;
    m_filtered = false;
    BeginNextFilter();
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

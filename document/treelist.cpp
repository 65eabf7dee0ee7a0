#include "document/treelist.h"

#include <algorithm>
#include <utility>

namespace {

TTreeListTextNode* AsText(const TTreeListNode* node)
{
    // Every node the tree creates is a text node; the base class only exists
    // to keep structure apart from content.
    return static_cast<TTreeListTextNode*>(const_cast<TTreeListNode*>(node));
}

}  // namespace

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")")
{
}

// ---------------------------------------------------------------------------
// TTreeListNode

TTreeListNode::TTreeListNode(TTreeList& owner) : m_owner(&owner) {}

TTreeListNode::~TTreeListNode()
{
    // A file may nest items 100,000 levels deep: tear the subtree down with an
    // explicit stack so that no destructor recurses.
    if (m_children.empty())
        return;
    std::vector<std::unique_ptr<TTreeListTextNode>> pending = std::move(m_children);
    m_children.clear();
    while (!pending.empty()) {
        std::unique_ptr<TTreeListTextNode> node = std::move(pending.back());
        pending.pop_back();
        TTreeListNode* base = node.get();
        for (auto& child : base->m_children)
            pending.push_back(std::move(child));
        base->m_children.clear();
    }
}

TTreeListTextNode* TTreeListNode::Child(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_children[static_cast<size_t>(index)].get();
}

int TTreeListNode::Level() const
{
    int level = 0;
    for (const TTreeListNode* p = m_parent; p; p = p->m_parent)
        ++level;
    return level;
}

bool TTreeListNode::IsInside(const TTreeListNode* other) const
{
    for (const TTreeListNode* p = this; p; p = p->m_parent)
        if (p == other)
            return true;
    return false;
}

void TTreeListNode::SetExpanded(bool expanded)
{
    if (!HasChildren() || m_expanded == expanded)
        return;
    m_expanded = expanded;
    TTreeList& tree = *m_owner;
    tree.Notify([this](TTreeListObserver& o) { o.ExpandedChanged(AsText(this)); });
    if (!expanded && tree.m_focused && tree.m_focused != this && tree.m_focused->IsInside(this))
        tree.Focus(AsText(this), false);
}

void TTreeListNode::SetImageIndex(int32_t value)
{
    if (value != m_imageIndex)
        m_imageIndex = value;
    m_owner->Notify([this](TTreeListObserver& o) { o.ItemChanged(AsText(this)); });
}

int32_t TTreeListNode::SelectedIndex() const
{
    int32_t index = m_selectedIndex;
    if (m_owner->OnGetSelectedIndex)
        m_owner->OnGetSelectedIndex(*m_owner, AsText(this), index);
    return index;
}

void TTreeListNode::SetSelectedIndex(int32_t value)
{
    if (value != SelectedIndex())
        m_selectedIndex = value;
    m_owner->Notify([this](TTreeListObserver& o) { o.ItemChanged(AsText(this)); });
}

void TTreeListNode::SetStateIndex(int32_t value)
{
    if (value != m_stateIndex)
        m_stateIndex = value;
    m_owner->Notify([this](TTreeListObserver& o) { o.ItemChanged(AsText(this)); });
}

bool TTreeListNode::Focused() const
{
    return m_owner->m_focused == this;
}

void TTreeListNode::SetFocused()
{
    TTreeList& tree = *m_owner;
    if (tree.m_focused == this)
        return;
    TTreeListTextNode* old = tree.m_focused;
    TTreeListTextNode* self = AsText(this);
    tree.m_focused = self;
    MakeVisible();
    tree.Notify([self](TTreeListObserver& o) { o.FocusChanged(self); });
    if (tree.OnChangeNode)
        tree.OnChangeNode(tree, old, self);
}

void TTreeListNode::SetSelected(bool flag)
{
    if (m_selected == flag)
        return;
    TTreeList& tree = *m_owner;
    TTreeListTextNode* self = AsText(this);
    if (flag) {
        tree.m_selection.push_back(self);
        if (tree.m_selection.size() > 1)
            tree.m_selectionSorted = false;
    } else {
        auto it = std::find(tree.m_selection.begin(), tree.m_selection.end(), self);
        if (it != tree.m_selection.end())
            tree.m_selection.erase(it);  // erasing keeps a sorted vector sorted
    }
    m_selected = flag;
    tree.Notify([self](TTreeListObserver& o) { o.SelectionChanged(self); });
    tree.SelectionCountChanged();
}

TTreeListTextNode* TTreeListNode::AddChild()
{
    return m_owner->Attach(AsText(this), Count(), std::make_unique<TTreeListTextNode>(*m_owner));
}

void TTreeListNode::MoveTo(TTreeListTextNode* target, TItemAttachMode mode)
{
    if (!target || &target->Owner() != m_owner)
        return;
    const bool asChild = mode == amAddChild || mode == amAddChildFirst;
    if (target == this) {
        if (mode != amAdd && mode != amAddFirst)
            return;
    } else if (target->IsInside(this)) {
        return;
    }

    TTreeList& tree = *m_owner;
    TTreeListTextNode* self = AsText(this);
    TTreeListTextNode* formerParent = m_parent;
    TTreeListTextNode* destParent = asChild ? target : target->Parent();
    const bool sameList = destParent == formerParent;
    const int source = m_index;

    // Final position in the destination list once the item has left its own.
    int position = 0;
    switch (mode) {
    case amAdd:
        position = static_cast<int>(tree.ChildListOf(destParent).size()) - (sameList ? 1 : 0);
        break;
    case amAddChild:
        position = target->Count() - (sameList ? 1 : 0);
        break;
    case amInsert:
        position = target->Index() - (sameList && source < target->Index() ? 1 : 0);
        break;
    case amAddFirst:
    case amAddChildFirst:
        position = 0;
        break;
    }
    const int destinationRow = sameList && position >= source ? position + 1 : position;

    TTreeListUpdate bracket(tree);
    tree.Notify([&](TTreeListObserver& o) { o.ItemAboutToBeMoved(self, destParent, destinationRow); });
    std::unique_ptr<TTreeListTextNode> owned = tree.Detach(self);
    const bool formerParentEmptied = formerParent && !formerParent->HasChildren();
    TTreeList::Children& dest = tree.ChildListOf(destParent);
    m_parent = destParent;
    dest.insert(dest.begin() + position, std::move(owned));
    tree.Renumber(dest, position);
    if (tree.m_selection.size() > 1)
        tree.m_selectionSorted = false;  // document order among selected items may have changed
    tree.Notify([](TTreeListObserver& o) { o.ItemMoved(); });
    if (formerParentEmptied)
        tree.Notify([formerParent](TTreeListObserver& o) { o.ExpandedChanged(formerParent); });

    tree.m_focused = self;
    tree.Notify([self](TTreeListObserver& o) { o.FocusChanged(self); });
    MakeVisible();
}

void TTreeListNode::MakeVisible()
{
    std::vector<TTreeListTextNode*> collapsed;
    for (TTreeListTextNode* p = m_parent; p; p = p->m_parent)
        if (!p->m_expanded)
            collapsed.push_back(p);
    // Outermost first, so a view never expands a row it cannot reach yet.
    for (auto it = collapsed.rbegin(); it != collapsed.rend(); ++it)
        (*it)->SetExpanded(true);
    if (m_owner->m_presenter)
        m_owner->m_presenter->ScrollIntoView(AsText(this));
}

// ---------------------------------------------------------------------------
// TTreeListTextNode

const std::string& TTreeListTextNode::GetText(int index) const
{
    static const std::string empty;
    if (index < 0 || index >= TextCount())
        return empty;
    return m_texts[static_cast<size_t>(index)];
}

void TTreeListTextNode::SetText(int index, std::string value)
{
    if (index < 0)
        throw EListError(index);
    if (index >= TextCount())
        m_texts.resize(static_cast<size_t>(index) + 1);
    m_texts[static_cast<size_t>(index)] = std::move(value);
    Owner().Notify([this](TTreeListObserver& o) { o.ItemChanged(this); });
}

// ---------------------------------------------------------------------------
// TTreeList

TTreeList::TTreeList() = default;

TTreeList::~TTreeList() = default;

void TTreeList::AddObserver(TTreeListObserver* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void TTreeList::RemoveObserver(TTreeListObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void TTreeList::ClearItems()
{
    const bool hadSelection = !m_selection.empty();
    {
        TTreeListReset reset(*this);
        for (TTreeListTextNode* item : m_selection)
            item->m_selected = false;
        m_selection.clear();
        m_selectionSorted = true;
        m_focused = nullptr;
        m_topRow = nullptr;
        Children doomed = std::move(m_top);
        m_top.clear();
        doomed.clear();
    }
    if (hadSelection)
        SelectionCountChanged();
}

TTreeListTextNode* TTreeList::AddItem()
{
    return Attach(nullptr, TopItemCount(), std::make_unique<TTreeListTextNode>(*this));
}

TTreeListTextNode* TTreeList::InsertItem(TTreeListTextNode* before)
{
    if (!before)
        return AddItem();
    const int position = before->Index();
    if (position > TopItemCount())
        throw EListError(position);
    return Attach(nullptr, position, std::make_unique<TTreeListTextNode>(*this));
}

void TTreeList::AppendItemsFrom(TTreeList& source)
{
    if (&source == this || source.m_top.empty())
        return;
    // Make room first: once the view has been told, the insertion must not fail.
    m_top.reserve(m_top.size() + source.m_top.size());
    Children moved;
    {
        TTreeListReset reset(source);
        for (TTreeListTextNode* item : source.m_selection)
            item->m_selected = false;
        source.m_selection.clear();
        source.m_selectionSorted = true;
        source.m_focused = nullptr;
        source.m_topRow = nullptr;
        moved.swap(source.m_top);
    }
    std::vector<TTreeListNode*> pending;
    for (auto& item : moved)
        pending.push_back(item.get());
    while (!pending.empty()) {
        TTreeListNode* node = pending.back();
        pending.pop_back();
        node->m_owner = this;
        for (auto& child : node->m_children)
            pending.push_back(child.get());
    }

    const int first = TopItemCount();
    const int last = first + static_cast<int>(moved.size()) - 1;
    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeInserted(nullptr, first, last); });
    for (auto& item : moved)
        m_top.push_back(std::move(item));
    Renumber(m_top, first);
    Notify([](TTreeListObserver& o) { o.ItemsInserted(); });
    ItemAdded(m_top[static_cast<size_t>(first)].get());
}

void TTreeList::Delete(TTreeListTextNode* item)
{
    if (!item || &item->Owner() != this || item->m_deleting)
        return;
    TTreeListTextNode* parent = item->m_parent;
    const int row = item->m_index;
    Children& siblings = SiblingsOf(item);

    const bool focusInside = m_focused && m_focused->IsInside(item);
    TTreeListTextNode* nextFocus = nullptr;
    if (row > 0)
        nextFocus = siblings[static_cast<size_t>(row) - 1].get();
    else if (parent)
        nextFocus = parent;
    else if (siblings.size() > 1)
        nextFocus = siblings[1].get();
    const bool topRowInside = m_topRow && m_topRow->IsInside(item);

    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeRemoved(parent, row, row); });

    size_t selectedBefore = m_selection.size();
    m_selection.erase(std::remove_if(m_selection.begin(), m_selection.end(),
                                     [item](TTreeListTextNode* n) { return n->IsInside(item); }),
                      m_selection.end());
    const bool selectionChanged = m_selection.size() != selectedBefore;

    item->m_deleting = true;
    std::unique_ptr<TTreeListTextNode> owned = Detach(item);
    const bool parentEmptied = parent && !parent->HasChildren();
    owned.reset();
    Notify([](TTreeListObserver& o) { o.ItemsRemoved(); });
    if (parentEmptied)
        Notify([parent](TTreeListObserver& o) { o.ExpandedChanged(parent); });

    if (selectionChanged) {
        Notify([](TTreeListObserver& o) { o.SelectionChanged(nullptr); });
        SelectionCountChanged();
    }

    if (m_top.empty()) {
        m_topRow = nullptr;
        m_selection.clear();
        m_selectionSorted = true;
        Focus(nullptr, false);
        return;
    }
    if (topRowInside)
        m_topRow = m_top.front().get();
    if (focusInside)
        Focus(nextFocus, false);
}

TTreeListTextNode* TTreeList::TopItem(int index) const
{
    if (index < 0 || index >= TopItemCount())
        return nullptr;
    return m_top[static_cast<size_t>(index)].get();
}

TTreeListTextNode* TTreeList::SelectedItem(int index) const
{
    if (index < 0 || index >= SelectedCount())
        return nullptr;
    if (!m_selectionSorted) {
        // Document order is the order of the index paths from the top level.
        std::vector<std::pair<std::vector<int>, TTreeListTextNode*>> keyed;
        keyed.reserve(m_selection.size());
        for (TTreeListTextNode* item : m_selection) {
            std::vector<int> path;
            for (const TTreeListNode* p = item; p; p = p->m_parent)
                path.push_back(p->m_index);
            std::reverse(path.begin(), path.end());
            keyed.emplace_back(std::move(path), item);
        }
        std::sort(keyed.begin(), keyed.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i)
            m_selection[i] = keyed[i].second;
        m_selectionSorted = true;
    }
    return m_selection[static_cast<size_t>(index)];
}

void TTreeList::ClearSelection()
{
    if (m_selection.empty())
        return;
    for (TTreeListTextNode* item : m_selection)
        item->m_selected = false;
    m_selection.clear();
    m_selectionSorted = true;
    Notify([](TTreeListObserver& o) { o.SelectionChanged(nullptr); });
    SelectionCountChanged();
}

void TTreeList::BeginUpdate()
{
    if (m_updateCount++ == 0)
        m_selectedAtBegin = SelectedCount();
}

void TTreeList::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0 && SelectedCount() != m_selectedAtBegin && OnSelectedCountChange)
        OnSelectedCountChange(*this);
}

void TTreeList::ExpandAll()
{
    TTreeListUpdate bracket(*this);
    for (TTreeListTextNode* item = TopItem(0); item; item = NextInDocument(item))
        if (item->HasChildren())
            item->m_expanded = true;
    Notify([](TTreeListObserver& o) { o.ExpandedChanged(nullptr); });
}

TTreeListTextNode* TTreeList::NextVisible(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->m_expanded && item->HasChildren())
        return item->m_children.front().get();
    return NextAfterSubtree(item);
}

TTreeListTextNode* TTreeList::NextInDocument(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->HasChildren())
        return item->m_children.front().get();
    return NextAfterSubtree(item);
}

// The next sibling of the item or of its nearest ancestor that has one.
TTreeListTextNode* TTreeList::NextAfterSubtree(const TTreeListNode* item) const
{
    for (const TTreeListNode* p = item; p; p = p->m_parent) {
        const Children& list = p->m_parent ? p->m_parent->m_children : m_top;
        if (static_cast<size_t>(p->m_index) + 1 < list.size())
            return list[static_cast<size_t>(p->m_index) + 1].get();
    }
    return nullptr;
}

TTreeListTextNode* TTreeList::PrevVisible(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->m_index == 0)
        return item->m_parent;
    const Children& list = item->m_parent ? item->m_parent->m_children : m_top;
    TTreeListTextNode* p = list[static_cast<size_t>(item->m_index) - 1].get();
    while (p->m_expanded && p->HasChildren())
        p = p->m_children.back().get();
    return p;
}

TTreeListTextNode* TTreeList::LastVisible() const
{
    if (m_top.empty())
        return nullptr;
    TTreeListTextNode* p = m_top.back().get();
    while (p->m_expanded && p->HasChildren())
        p = p->m_children.back().get();
    return p;
}

TItemHitArea TTreeList::HitTest(int x, int y) const
{
    return m_presenter ? m_presenter->HitTest(x, y) : iaNone;
}

TTreeListTextNode* TTreeList::ItemAt(int x, int y) const
{
    return m_presenter ? m_presenter->ItemAt(x, y) : nullptr;
}

void TTreeList::StartRename()
{
    if (!m_focused)
        return;
    TTreeListTextNode* item = m_focused;
    item->MakeVisible();
    if (m_presenter)
        m_presenter->EditName(item);
}

void TTreeList::EndRename(TTreeListTextNode* item, std::string text, bool textChanged)
{
    if (!item)
        return;
    item->SetText(TreeListColumnName, std::move(text));
    if (OnEdited)
        OnEdited(*this, item, textChanged);
}

void TTreeList::BeginReset()
{
    if (m_resetCount == 0)
        Notify([](TTreeListObserver& o) { o.AboutToReset(); });
    ++m_resetCount;
}

void TTreeList::EndReset()
{
    if (m_resetCount == 0)
        return;
    if (--m_resetCount == 0)
        Notify([](TTreeListObserver& o) { o.ResetDone(); });
}

TTreeList::Children& TTreeList::SiblingsOf(TTreeListNode* item)
{
    return item->m_parent ? item->m_parent->m_children : m_top;
}

TTreeList::Children& TTreeList::ChildListOf(TTreeListTextNode* parent)
{
    return parent ? parent->m_children : m_top;
}

TTreeListTextNode* TTreeList::Attach(TTreeListTextNode* parent, int position,
                                     std::unique_ptr<TTreeListTextNode> item)
{
    Children& list = ChildListOf(parent);
    // Make room first: once the view has been told, the insertion must not fail.
    if (list.size() == list.capacity())
        list.reserve(list.empty() ? 1 : list.size() * 2);
    TTreeListTextNode* raw = item.get();
    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeInserted(parent, position, position); });
    raw->m_parent = parent;
    list.insert(list.begin() + position, std::move(item));
    Renumber(list, position);
    Notify([](TTreeListObserver& o) { o.ItemsInserted(); });
    ItemAdded(raw);
    return raw;
}

std::unique_ptr<TTreeListTextNode> TTreeList::Detach(TTreeListTextNode* item)
{
    Children& list = SiblingsOf(item);
    const auto position = static_cast<size_t>(item->m_index);
    std::unique_ptr<TTreeListTextNode> owned = std::move(list[position]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
    Renumber(list, static_cast<int>(position));
    if (list.empty() && item->m_parent) {
        TTreeListTextNode* parent = item->m_parent;
        Children().swap(parent->m_children);
        parent->m_expanded = false;
    }
    item->m_parent = nullptr;
    return owned;
}

void TTreeList::Renumber(Children& list, int from)
{
    for (size_t i = static_cast<size_t>(from); i < list.size(); ++i)
        list[i]->m_index = static_cast<int>(i);
}

void TTreeList::ItemAdded(TTreeListTextNode* item)
{
    if (!m_topRow)
        m_topRow = item;
    if (!m_focused)
        Focus(m_topRow, false);
}

void TTreeList::SelectionCountChanged()
{
    if (m_updateCount > 0)
        return;
    if (OnSelectedCountChange)
        OnSelectedCountChange(*this);
}

void TTreeList::Focus(TTreeListTextNode* item, bool notify)
{
    if (m_focused == item)
        return;
    TTreeListTextNode* old = m_focused;
    m_focused = item;
    if (notify && item)
        item->MakeVisible();
    Notify([item](TTreeListObserver& o) { o.FocusChanged(item); });
    if (notify && OnChangeNode)
        OnChangeNode(*this, old, item);
}

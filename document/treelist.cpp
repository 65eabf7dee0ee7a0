#include "document/treelist.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")")
{
}

TTreeList::TTreeList() : m_store(sizeof(TTreeListTextNode)) {}

// With a list of its own instead of recursion: a file may nest items
// 100,000 levels deep.
template <typename Node, typename F> void TTreeList::ForEachInSubtree(Node* item, F&& f)
{
    std::vector<Node*> pending{item};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        const TTreeListChildren& children = node->m_children;
        pending.insert(pending.end(), children.items, children.items + children.count);
        f(node);
    }
}

template <typename F> void TTreeList::ForEachTextSlot(F&& f) const
{
    auto slots = [&f](TTreeListTextNode* item) {
        const char** texts = item->Texts();
        for (int32_t i = 0; i < item->m_textCount; ++i)
            f(texts[i]);
    };
    for (TTreeListTextNode* item = TopItem(0); item; item = NextInDocument(item))
        slots(item);
    for (TTreeListTextNode* root : m_detached)
        ForEachInSubtree(root, slots);
}

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
        m_selection.clear();
        m_selectionSorted = true;
        m_focused = nullptr;
        m_topRow = nullptr;
        m_top = {};
        m_detached.clear();
        m_ownersSetFor = nullptr;
        // Every item, list and string lives in the store: it goes in one piece.
        m_store.ReleaseAll();
    }
    if (hadSelection)
        SelectionCountChanged();
}

TTreeListTextNode* TTreeList::AddItem()
{
    return Attach(nullptr, TopItemCount());
}

TTreeListTextNode* TTreeList::InsertItem(TTreeListTextNode* before)
{
    if (!before)
        return AddItem();
    const int position = before->Index();
    if (position > TopItemCount())
        throw EListError(position);
    return Attach(nullptr, position);
}

void TTreeList::AppendItemsFrom(TTreeList& source)
{
    InsertItemsFrom(source, nullptr, TopItemCount());
}

void TTreeList::InsertItemsFrom(TTreeList& source, TTreeListTextNode* parent, int index)
{
    if (&source == this || source.m_top.count == 0)
        return;
    if (parent && !IsAttached(parent))
        throw EListError(index);
    TTreeListChildren& list = ChildListOf(parent);
    if (index < 0 || index > list.count)
        throw EListError(index);
    // Make room first: once the view has been told, the insertion must not fail.
    ReserveChildren(list, source.m_top.count);
    // The items move with the store pieces they live in, so they keep their
    // place; the bytes of a file the source loaded come along only into a
    // store without any.
    if (!m_store.CanTakeBytesOf(source.m_store))
        source.m_store.OwnTexts([&source](const auto& own) { source.ForEachTextSlot(own); });
    m_store.Absorb(source.m_store);
    TTreeListChildren moved;
    {
        TTreeListReset reset(source);
        for (TTreeListTextNode* item : source.m_selection)
            item->m_selected = false;
        source.m_selection.clear();
        source.m_selectionSorted = true;
        source.m_focused = nullptr;
        source.m_topRow = nullptr;
        std::swap(moved, source.m_top);
    }
    if (source.m_ownersSetFor != this)
        SetOwner(moved, this);
    source.m_ownersSetFor = nullptr;
    for (int32_t i = 0; i < moved.count; ++i)
        moved.items[i]->m_parent = parent;

    const int last = index + moved.count - 1;
    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeInserted(parent, index, last); });
    TTreeListTextNode** at = list.items + index;
    std::memmove(at + moved.count, at, static_cast<size_t>(list.count - index) * sizeof(TTreeListTextNode*));
    std::memcpy(at, moved.items, static_cast<size_t>(moved.count) * sizeof(TTreeListTextNode*));
    list.count += moved.count;
    Renumber(list, index);
    m_store.FreeArray(moved.items, static_cast<size_t>(moved.capacity));
    Notify([](TTreeListObserver& o) { o.ItemsInserted(); });
    ItemAdded(list.items[index]);
}

void TTreeList::SetOwner(const TTreeListChildren& top, TTreeList* owner)
{
    std::vector<TTreeListNode*> pending(top.items, top.items + top.count);
    while (!pending.empty()) {
        TTreeListNode* node = pending.back();
        pending.pop_back();
        node->m_owner = owner;
        pending.insert(pending.end(), node->m_children.items, node->m_children.items + node->m_children.count);
    }
}

void TTreeList::PrepareMoveInto(TTreeList& target)
{
    // The items only point at the target; it is not touched here.
    SetOwner(m_top, &target);
    m_ownersSetFor = &target;
}

TTreeListTextNode* TTreeList::AddCopyOf(const TTreeListTextNode* item)
{
    TTreeListTextNode* root = AddItem();
    // A list of its own instead of recursion, for deeply nested items.
    std::vector<std::pair<const TTreeListTextNode*, TTreeListTextNode*>> pending{{item, root}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->ReserveTexts(from->m_textCount);
        for (int32_t i = 0; i < from->m_textCount; ++i)
            to->SetText(i, from->GetText(i));
        to->m_data = from->m_data;
        to->m_imageIndex = from->m_imageIndex;
        to->m_selectedIndex = from->m_selectedIndex;
        to->m_stateIndex = from->m_stateIndex;
        ReserveChildren(to->m_children, from->m_children.count);
        for (int32_t i = 0; i < from->m_children.count; ++i)
            pending.emplace_back(from->m_children.items[i], Attach(to, i));
        to->m_expanded = from->m_expanded;
    }
    return root;
}

void TTreeList::SetSubtreeExpanded(TTreeListTextNode* root, bool expanded)
{
    auto set = [expanded](TTreeListTextNode* node) { node->m_expanded = expanded && node->HasChildren(); };
    if (root)
        ForEachInSubtree(root, set);
    else
        for (int32_t i = 0; i < m_top.count; ++i)
            ForEachInSubtree(m_top.items[i], set);
    Notify([root](TTreeListObserver& o) { o.ExpandedChanged(root); });
}

TTreeListPlace TTreeList::PlaceOf(const TTreeListTextNode* item) const
{
    return {item->m_parent, item->m_index, item->m_parent && item->m_parent->m_expanded};
}

bool TTreeList::IsAttached(const TTreeListTextNode* item) const
{
    if (!item || item->m_owner != this)
        return false;
    const TTreeListNode* root = item;
    while (root->m_parent)
        root = root->m_parent;
    return root->m_index >= 0 && root->m_index < m_top.count && m_top.items[root->m_index] == root;
}

size_t TTreeList::SubtreeBytes(const TTreeListTextNode* item) const
{
    size_t bytes = 0;
    ForEachInSubtree(item, [&bytes](const TTreeListTextNode* node) {
        bytes += sizeof(TTreeListTextNode);
        for (int32_t i = 0; i < node->m_textCount; ++i)
            bytes += node->GetText(i).size();
    });
    return bytes;
}

TTreeListTextNode* TTreeList::TopItem(int index) const
{
    if (index < 0 || index >= TopItemCount())
        return nullptr;
    return m_top.items[index];
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
    // Down the child lists rather than up through each item's parent: the
    // walk reads every item once.
    auto expand = [](TTreeListTextNode* node) { node->m_expanded = node->HasChildren(); };
    for (int32_t i = 0; i < m_top.count; ++i)
        ForEachInSubtree(m_top.items[i], expand);
    Notify([](TTreeListObserver& o) { o.ExpandedChanged(nullptr); });
}

TTreeListTextNode* TTreeList::NextVisible(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->m_expanded && item->HasChildren())
        return item->m_children.items[0];
    return NextAfterSubtree(item);
}

TTreeListTextNode* TTreeList::NextInDocument(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->HasChildren())
        return item->m_children.items[0];
    return NextAfterSubtree(item);
}

// The next sibling of the item or of its nearest ancestor that has one.
TTreeListTextNode* TTreeList::NextAfterSubtree(const TTreeListNode* item) const
{
    for (const TTreeListNode* p = item; p; p = p->m_parent) {
        const TTreeListChildren& list = p->m_parent ? p->m_parent->m_children : m_top;
        if (p->m_index + 1 < list.count)
            return list.items[p->m_index + 1];
    }
    return nullptr;
}

TTreeListTextNode* TTreeList::PrevVisible(const TTreeListNode* item) const
{
    if (!item)
        return nullptr;
    if (item->m_index == 0)
        return item->m_parent;
    const TTreeListChildren& list = item->m_parent ? item->m_parent->m_children : m_top;
    TTreeListTextNode* p = list.items[item->m_index - 1];
    while (p->m_expanded && p->HasChildren())
        p = p->m_children.items[p->m_children.count - 1];
    return p;
}

TTreeListTextNode* TTreeList::LastVisible() const
{
    if (m_top.count == 0)
        return nullptr;
    TTreeListTextNode* p = m_top.items[m_top.count - 1];
    while (p->m_expanded && p->HasChildren())
        p = p->m_children.items[p->m_children.count - 1];
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
    std::string oldName(item->GetText(TreeListColumnName));
    const int oldCount = item->TextCount();
    // The same name leaves the item as it was, so that only a real change
    // is a change of the document.
    if (text != oldName) {
        item->SetText(TreeListColumnName, std::move(text));
        if (OnRenamed)
            OnRenamed(*this, item, std::move(oldName), oldCount);
    }
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

TTreeListChildren& TTreeList::SiblingsOf(TTreeListNode* item)
{
    return item->m_parent ? item->m_parent->m_children : m_top;
}

TTreeListChildren& TTreeList::ChildListOf(TTreeListTextNode* parent)
{
    return parent ? parent->m_children : m_top;
}

TTreeListTextNode* TTreeList::NewItem()
{
    return new (m_store.NewItem()) TTreeListTextNode(*this);
}

void TTreeList::ReserveChildren(TTreeListChildren& list, int32_t more)
{
    if (more <= list.capacity - list.count)
        return;
    const int32_t capacity = std::max(list.count + more, list.capacity * 2);
    auto** items = m_store.NewArray<TTreeListTextNode*>(static_cast<size_t>(capacity));
    if (list.count > 0)
        std::memcpy(items, list.items, static_cast<size_t>(list.count) * sizeof(TTreeListTextNode*));
    m_store.FreeArray(list.items, static_cast<size_t>(list.capacity));
    list.items = items;
    list.capacity = capacity;
}

void TTreeList::InsertChild(TTreeListChildren& list, int position, TTreeListTextNode* item)
{
    TTreeListTextNode** at = list.items + position;
    std::memmove(at + 1, at, static_cast<size_t>(list.count - position) * sizeof(TTreeListTextNode*));
    *at = item;
    ++list.count;
    Renumber(list, position);
}

TTreeListTextNode* TTreeList::Attach(TTreeListTextNode* parent, int position)
{
    TTreeListChildren& list = ChildListOf(parent);
    // Make room first: once the view has been told, the insertion must not fail.
    ReserveChildren(list, 1);
    TTreeListTextNode* item = NewItem();
    Notify([&](TTreeListObserver& o) { o.ItemsAboutToBeInserted(parent, position, position); });
    item->m_parent = parent;
    InsertChild(list, position, item);
    Notify([](TTreeListObserver& o) { o.ItemsInserted(); });
    ItemAdded(item);
    return item;
}

void TTreeList::Detach(TTreeListTextNode* item, bool keepList)
{
    TTreeListChildren& list = SiblingsOf(item);
    const int position = item->m_index;
    TTreeListTextNode** at = list.items + position;
    std::memmove(at, at + 1, static_cast<size_t>(list.count - position - 1) * sizeof(TTreeListTextNode*));
    --list.count;
    Renumber(list, position);
    if (list.count == 0 && item->m_parent) {
        TTreeListTextNode* parent = item->m_parent;
        if (!keepList) {
            m_store.FreeArray(list.items, static_cast<size_t>(list.capacity));
            list = {};
        }
        parent->m_expanded = false;
    }
    item->m_parent = nullptr;
}

// Frees a detached item with its subtree.
void TTreeList::FreeSubtree(TTreeListTextNode* item)
{
    ForEachInSubtree(item, [this](TTreeListTextNode* node) {
        const TTreeListChildren& children = node->m_children;
        m_store.FreeArray(children.items, static_cast<size_t>(children.capacity));
        const char* const* texts = node->Texts();
        for (int32_t i = 0; i < node->m_textCount; ++i)
            m_store.ReleaseText(texts[i]);
        if (node->m_textCapacity > TTreeListTextNode::InlineTexts)
            m_store.FreeArray(node->m_texts, static_cast<size_t>(node->m_textCapacity));
        m_store.FreeItem(node);
    });
}

void TTreeList::Renumber(TTreeListChildren& list, int from)
{
    for (int32_t i = from; i < list.count; ++i)
        list.items[i]->m_index = i;
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

void TTreeList::CompactTexts() const
{
    if (m_store.WorthCompacting())
        m_store.CompactBytes([this](const auto& move) { ForEachTextSlot(move); });
}

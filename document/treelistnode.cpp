// The items' own operations; the tree's are in treelist.cpp.
#include "document/treelist.h"

#include <cstring>
#include <vector>

namespace {

TTreeListTextNode* AsText(const TTreeListNode* node)
{
    // Every node the tree creates is a text node; the base class only exists
    // to keep structure apart from content.
    return static_cast<TTreeListTextNode*>(const_cast<TTreeListNode*>(node));
}

}  // namespace

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
    if (value != m_imageIndex) {
        m_owner->Notify([this](TTreeListObserver& o) { o.ItemAboutToChange(AsText(this)); });
        m_imageIndex = value;
    }
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
    if (value != SelectedIndex()) {
        m_owner->Notify([this](TTreeListObserver& o) { o.ItemAboutToChange(AsText(this)); });
        m_selectedIndex = value;
    }
    m_owner->Notify([this](TTreeListObserver& o) { o.ItemChanged(AsText(this)); });
}

void TTreeListNode::SetStateIndex(int32_t value)
{
    if (value != m_stateIndex) {
        m_owner->Notify([this](TTreeListObserver& o) { o.ItemAboutToChange(AsText(this)); });
        m_stateIndex = value;
    }
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
    return m_owner->Attach(AsText(this), Count());
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
    TTreeListTextNode* destParent = asChild ? target : target->Parent();
    const bool sameList = destParent == m_parent;
    const int source = m_index;

    // Final position in the destination list once the item has left its own.
    int position = 0;
    switch (mode) {
    case amAdd:
        position = tree.ChildListOf(destParent).count - (sameList ? 1 : 0);
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
    tree.MoveItem(self, destParent, position);

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

std::string_view TTreeListTextNode::GetText(int index) const
{
    if (index < 0 || index >= m_textCount)
        return std::string_view("", 0);
    return Owner().m_store.Text(Texts()[index]);
}

void TTreeListTextNode::SetText(int index, std::string_view value)
{
    if (index < 0)
        throw EListError(index);
    Owner().Notify([this](TTreeListObserver& o) { o.ItemAboutToChange(this); });
    TItemStore& store = Owner().m_store;
    // The new string first: `value` may be the string it replaces.
    const char* text = value.empty() ? nullptr : store.NewText(value);
    if (index >= m_textCapacity) {
        try {
            ReserveTexts(index + 1 > m_textCapacity * 2 ? index + 1 : m_textCapacity * 2);
        } catch (...) {
            store.ReleaseText(text);
            throw;
        }
    }
    const char** texts = Texts();
    for (; m_textCount <= index; ++m_textCount)
        texts[m_textCount] = nullptr;
    const char* old = texts[index];
    texts[index] = text;
    store.ReleaseText(old);
    Owner().Notify([this](TTreeListObserver& o) { o.ItemChanged(this); });
}

void TTreeListTextNode::TruncateTexts(int count)
{
    if (count < 0 || count >= m_textCount)
        return;
    Owner().Notify([this](TTreeListObserver& o) { o.ItemAboutToChange(this); });
    TItemStore& store = Owner().m_store;
    const char** texts = Texts();
    for (int32_t i = count; i < m_textCount; ++i)
        store.ReleaseText(texts[i]);
    m_textCount = count;
    Owner().Notify([this](TTreeListObserver& o) { o.ItemChanged(this); });
}

void TTreeListTextNode::ReserveTexts(int32_t count)
{
    if (count <= m_textCapacity)
        return;
    TItemStore& store = Owner().m_store;
    const char** texts = store.NewArray<const char*>(static_cast<size_t>(count));
    if (m_textCount > 0)
        std::memcpy(texts, Texts(), static_cast<size_t>(m_textCount) * sizeof(const char*));
    if (m_textCapacity > InlineTexts)
        store.FreeArray(m_texts, static_cast<size_t>(m_textCapacity));
    m_texts = texts;
    m_textCapacity = count;
}

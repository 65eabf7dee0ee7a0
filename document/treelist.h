#pragma once

#include "document/itemstore.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The item tree: the document held in memory. Plain C++, no toolkit: the
// editor shows it through a model adapter, the command-line tool and the
// tests use it directly.

class TTreeList;
class TTreeListTextNode;

enum TItemAttachMode { amAdd = 0, amAddFirst = 1, amAddChild = 2, amAddChildFirst = 3, amInsert = 4 };

enum TItemHitArea {
    iaNone = 0,
    iaButton = 3,
    iaIcon = 4,
    iaStateIcon = 5,
    iaIndent = 6,
    iaLabel = 7,
    iaRight = 8,
    iaOutside = 9  // headers, bands, outside the control: never an item area
};

constexpr int TreeListColumnName = 0;
constexpr int TreeListColumnDesc = 1;

// Thrown for an index outside a list, with the message "List index out of bounds (%d)".
class EListError : public std::runtime_error {
public:
    explicit EListError(int index);
};

// Where an item stands: its parent (none for the top level), its position
// among its siblings, and whether that parent was expanded.
struct TTreeListPlace {
    TTreeListTextNode* parent = nullptr;
    int index = 0;
    bool parentExpanded = false;
};

// A new order for the children of `parent` (the top level for none): the
// same items, each once.
struct TTreeListOrder {
    TTreeListTextNode* parent = nullptr;
    std::vector<TTreeListTextNode*> items;
};

// The items of one list: the children of an item, or the top-level items.
struct TTreeListChildren {
    TTreeListTextNode** items = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};

// Structure and numbers of an item; owned by its tree, which keeps it in
// place from its creation until it is freed.
class TTreeListNode {
public:
    TTreeListNode(const TTreeListNode&) = delete;
    TTreeListNode& operator=(const TTreeListNode&) = delete;

    TTreeList& Owner() const { return *m_owner; }
    TTreeListTextNode* Parent() const { return m_parent; }
    int Count() const { return m_children.count; }
    TTreeListTextNode* Child(int index) const  // none when out of range
    {
        return static_cast<unsigned>(index) < static_cast<unsigned>(m_children.count) ? m_children.items[index]
                                                                                       : nullptr;
    }
    int Index() const { return m_index; }  // position among its siblings
    int Level() const;                     // number of ancestors
    bool HasChildren() const { return m_children.count > 0; }

    bool Expanded() const { return m_expanded; }
    void SetExpanded(bool expanded);

    int32_t Data() const { return m_data; }
    void SetData(int32_t value) { m_data = value; }

    int32_t ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int32_t value);
    // Effective selected index: the stored value as answered by OnGetSelectedIndex.
    int32_t SelectedIndex() const;
    int32_t StoredSelectedIndex() const { return m_selectedIndex; }
    void SetSelectedIndex(int32_t value);
    int32_t StateIndex() const { return m_stateIndex; }
    void SetStateIndex(int32_t value);

    bool Focused() const;
    void SetFocused();
    bool Selected() const { return m_selected; }
    void SetSelected(bool flag);

    TTreeListTextNode* AddChild();
    void MoveTo(TTreeListTextNode* target, TItemAttachMode mode);
    void MakeVisible();

    // True when this item is `other` or one of its ancestors is.
    bool IsInside(const TTreeListNode* other) const;

    // A byte kept for the view (which rows a filter leaves shown): a dense
    // mark costs no lookup and no memory, as it fits the item's padding. The
    // tree never reads it.
    uint8_t ViewMark() const { return m_viewMark; }
    void SetViewMark(uint8_t mark) { m_viewMark = mark; }

protected:
    explicit TTreeListNode(TTreeList& owner) : m_owner(&owner) {}
    ~TTreeListNode() = default;

private:
    friend class TTreeList;
    friend class TTreeFileReader;

    TTreeList* m_owner;
    TTreeListTextNode* m_parent = nullptr;
    TTreeListChildren m_children;
    int32_t m_index = 0;
    int32_t m_data = 0;
    int32_t m_imageIndex = 0;
    int32_t m_selectedIndex = -1;
    int32_t m_stateIndex = -1;
    bool m_expanded = false;
    bool m_selected = false;
    bool m_deleting = false;
    uint8_t m_viewMark = 0;
};

// An item with one byte string per column: 0 the name, 1 the description.
class TTreeListTextNode : public TTreeListNode {
public:
    int TextCount() const { return m_textCount; }
    // The empty string for an index at or beyond the number of strings. The
    // bytes stay valid until this string is set again, the item is freed or
    // moved to another tree (AppendItemsFrom), or the tree is cleared, loaded
    // or saved (a save may move unedited strings out of the loaded file's
    // bytes).
    std::string_view GetText(int index) const;
    // Pads with empty strings until string `index` exists.
    void SetText(int index, std::string_view value);
    // Drops the strings from `count` on, so that the item has at most `count`.
    void TruncateTexts(int count);

private:
    friend class TTreeList;
    friend class TTreeFileReader;

    static constexpr int32_t InlineTexts = 2;

    explicit TTreeListTextNode(TTreeList& owner) : TTreeListNode(owner), m_inline{} {}
    ~TTreeListTextNode() = default;

    // The strings as the tree's store holds them (see TItemStore): up to two
    // in the item, more in an array of the store.
    const char** Texts() { return m_textCapacity > InlineTexts ? m_texts : m_inline; }
    const char* const* Texts() const { return m_textCapacity > InlineTexts ? m_texts : m_inline; }
    void ReserveTexts(int32_t count);

    int32_t m_textCount = 0;
    int32_t m_textCapacity = InlineTexts;
    union {
        const char* m_inline[InlineTexts];
        const char** m_texts;
    };
};

// What a view learns of the tree's changes, so it can keep in step.
// Rows are positions in the parent's child list (the top-level list for
// a null parent). While a bulk reset runs no per-item notification comes.
class TTreeListObserver {
public:
    virtual ~TTreeListObserver() = default;
    virtual void ItemsAboutToBeInserted(TTreeListTextNode* /*parent*/, int /*first*/, int /*last*/) {}
    virtual void ItemsInserted() {}
    virtual void ItemsAboutToBeRemoved(TTreeListTextNode* /*parent*/, int /*first*/, int /*last*/) {}
    virtual void ItemsRemoved() {}
    // `destinationRow` counts positions before the item is taken out, as
    // QAbstractItemModel::beginMoveRows expects.
    virtual void ItemAboutToBeMoved(TTreeListTextNode* /*item*/, TTreeListTextNode* /*destinationParent*/,
                                    int /*destinationRow*/) {}
    virtual void ItemMoved() {}
    // The children of each parent named (null: the top level) take a new
    // order; no item changes its parent.
    virtual void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>& /*parents*/) {}
    virtual void ChildrenReordered() {}
    virtual void AboutToReset() {}
    virtual void ResetDone() {}
    // Before an item's strings or numbers change; ItemChanged follows.
    virtual void ItemAboutToChange(TTreeListTextNode* /*item*/) {}
    virtual void ItemChanged(TTreeListTextNode* /*item*/) {}
    // A null item means many items changed (ExpandAll, a reset).
    virtual void ExpandedChanged(TTreeListTextNode* /*item*/) {}
    virtual void FocusChanged(TTreeListTextNode* /*item*/) {}
    virtual void SelectionChanged(TTreeListTextNode* /*item*/) {}
};

// What only a view on screen can answer; the tree forwards to it.
class TTreeListPresenter {
public:
    virtual ~TTreeListPresenter() = default;
    virtual TItemHitArea HitTest(int x, int y) const = 0;
    virtual TTreeListTextNode* ItemAt(int x, int y) const = 0;
    virtual void ScrollIntoView(TTreeListTextNode* item) = 0;
    virtual void EditName(TTreeListTextNode* item) = 0;
};

class TTreeList {
public:
    TTreeList();
    ~TTreeList();
    TTreeList(const TTreeList&) = delete;
    TTreeList& operator=(const TTreeList&) = delete;

    // Notifications to the owner (the main window).
    std::function<void(TTreeList&, TTreeListTextNode* oldNode, TTreeListTextNode* node)> OnChangeNode;
    std::function<void(TTreeList&)> OnSelectedCountChange;
    std::function<void(TTreeList&, TTreeListTextNode* node, bool textChanged)> OnEdited;
    // A rename changed the name's bytes; told before OnEdited, with the name
    // and the string count the item had.
    std::function<void(TTreeList&, TTreeListTextNode* node, std::string oldName, int oldCount)> OnRenamed;
    std::function<void(TTreeList&, TTreeListTextNode* node, int32_t& index)> OnGetSelectedIndex;
    // Asked before the whole tree is read (saving, exporting), so an editor
    // that keeps a description in step lazily can put its text in first.
    std::function<void(const TTreeList&)> OnCommitEdits;
    void CommitEdits() const
    {
        if (OnCommitEdits)
            OnCommitEdits(*this);
    }

    void AddObserver(TTreeListObserver* observer);
    void RemoveObserver(TTreeListObserver* observer);
    void SetPresenter(TTreeListPresenter* presenter) { m_presenter = presenter; }
    TTreeListPresenter* Presenter() const { return m_presenter; }

    void ClearItems();
    TTreeListTextNode* AddItem();
    TTreeListTextNode* InsertItem(TTreeListTextNode* before);
    // Frees the item with its whole subtree.
    void Delete(TTreeListTextNode* item);
    // Takes the item with its subtree out of the tree, as Delete does for the
    // views, the selection and the focus, but keeps the items: Reattach puts
    // them back where `place` says, FreeDetached frees them. A clear frees
    // them too.
    TTreeListPlace DetachSubtree(TTreeListTextNode* item);
    void Reattach(TTreeListTextNode* item, const TTreeListPlace& place);
    void FreeDetached(TTreeListTextNode* item);
    // Moves the item with its subtree to position `index` of `parent`'s
    // children (the top level for none), counted once it has left its own
    // list. The focus and the expanded states stay as they are.
    void MoveItem(TTreeListTextNode* item, TTreeListTextNode* parent, int index);
    TTreeListPlace PlaceOf(const TTreeListTextNode* item) const;
    // False for an item detached from the tree, or inside such a subtree.
    bool IsAttached(const TTreeListTextNode* item) const;
    // The bytes of the item's strings and of its subtree's, with the items.
    size_t SubtreeBytes(const TTreeListTextNode* item) const;

    // Moves every top-level item of `source`, with its subtree, behind this
    // tree's last top-level item, in order, as one insertion for the views;
    // `source` is left empty. Items built apart this way reach the view whole.
    void AppendItemsFrom(TTreeList& source);
    // The same, but the items become `parent`'s children (the top level for
    // none) from position `index` on.
    void InsertItemsFrom(TTreeList& source, TTreeListTextNode* parent, int index);
    // Makes `target` the owner of every item ahead of a move into it, so that
    // the move itself walks no item: a tree read on a worker thread is made
    // ready there, and the window's thread only links its top-level items in.
    // Nothing but that move may use this tree afterwards.
    void PrepareMoveInto(TTreeList& target);
    // Appends a copy of the item and of its subtree, from this tree or
    // another, as the last top-level item: strings, numbers and expanded
    // states.
    TTreeListTextNode* AddCopyOf(const TTreeListTextNode* item);
    // Puts the children of each list in its new order, as one change for the
    // views. Focus, selection and expanded states stay with their items.
    void Reorder(const std::vector<TTreeListOrder>& orders);
    // Expands or collapses the item and every item below it (the whole tree
    // for none), as one change for the views.
    void SetSubtreeExpanded(TTreeListTextNode* root, bool expanded);

    int TopItemCount() const { return m_top.count; }
    TTreeListTextNode* TopItem(int index) const;
    TTreeListTextNode* FocusedItem() const { return m_focused; }
    TTreeListTextNode* TopRow() const { return m_topRow; }
    int SelectedCount() const { return static_cast<int>(m_selection.size()); }
    // Member `index` of the selection in document order; none when out of range.
    TTreeListTextNode* SelectedItem(int index) const;
    void ClearSelection();

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateCount > 0; }

    void ExpandAll();
    TTreeListTextNode* NextVisible(const TTreeListNode* item) const;
    TTreeListTextNode* PrevVisible(const TTreeListNode* item) const;
    TTreeListTextNode* LastVisible() const;
    // Pre-order successor, whatever is collapsed.
    TTreeListTextNode* NextInDocument(const TTreeListNode* item) const;
    // The first item after `item`'s subtree in document order.
    TTreeListTextNode* NextAfterSubtree(const TTreeListNode* item) const;

    TItemHitArea HitTest(int x, int y) const;
    TTreeListTextNode* ItemAt(int x, int y) const;
    void StartRename();
    // Called by the in-place editor when it closes with a result.
    void EndRename(TTreeListTextNode* item, std::string text, bool textChanged);

    // Bulk replacement of the content (file loading): one reset for the view.
    void BeginReset();
    void EndReset();

    // Moves the strings still held in a loaded file's bytes into a buffer of
    // their own size when most of those bytes are no longer used. Changes no
    // string, but invalidates what GetText answered before.
    void CompactTexts() const;

    // The memory the items and their strings take, for checks on how much a
    // file costs.
    size_t MemoryBytes() const { return m_store.MemoryBytes(); }

private:
    friend class TTreeListNode;
    friend class TTreeListTextNode;
    friend class TTreeFileReader;

    TTreeListTextNode* NewItem();
    // Takes the item out for Delete and DetachSubtree.
    TTreeListPlace RemoveSubtree(TTreeListTextNode* item, bool free);
    void FreeSubtree(TTreeListTextNode* item);
    // Sets the owner of the items in `top` and of their subtrees.
    static void SetOwner(const TTreeListChildren& top, TTreeList* owner);
    TTreeListChildren& SiblingsOf(TTreeListNode* item);
    TTreeListChildren& ChildListOf(TTreeListTextNode* parent);
    // Room for `more` items in `list`; afterwards inserting them cannot fail.
    void ReserveChildren(TTreeListChildren& list, int32_t more);
    void InsertChild(TTreeListChildren& list, int position, TTreeListTextNode* item);
    TTreeListTextNode* Attach(TTreeListTextNode* parent, int position);
    // Takes the item out of its list; `keepList` keeps an emptied list's array.
    void Detach(TTreeListTextNode* item, bool keepList = false);
    static void Renumber(TTreeListChildren& list, int from);
    void ItemAdded(TTreeListTextNode* item);
    void SelectionCountChanged();
    void Focus(TTreeListTextNode* item, bool notify);
    // Calls f on the item and on every item below it, parents first.
    template <typename Node, typename F> static void ForEachInSubtree(Node* item, F&& f);
    // Calls f(const char*& slot) for every string of every item, as the store
    // holds it.
    template <typename F> void ForEachTextSlot(F&& f) const;

    template <typename F> void Notify(F&& f) {
        if (m_resetCount == 0)
            for (TTreeListObserver* o : m_observers) f(*o);
    }

    // First, so that it outlives every item: the items live in it.
    mutable TItemStore m_store;
    TTreeListChildren m_top;
    TTreeListTextNode* m_focused = nullptr;
    TTreeListTextNode* m_topRow = nullptr;
    mutable std::vector<TTreeListTextNode*> m_selection;
    mutable bool m_selectionSorted = true;
    int m_updateCount = 0;
    int m_selectedAtBegin = 0;
    int m_resetCount = 0;
    std::vector<TTreeListObserver*> m_observers;
    TTreeListPresenter* m_presenter = nullptr;
    // Subtrees taken out by DetachSubtree and not yet put back or freed:
    // their strings must follow when the file's bytes are compacted.
    std::unordered_set<TTreeListTextNode*> m_detached;
    // The tree PrepareMoveInto made every item's owner.
    const TTreeList* m_ownersSetFor = nullptr;
};

// Keeps a bracket of the tree open for its lifetime, so it is closed also
// when the work inside throws.
template <void (TTreeList::*Begin)(), void (TTreeList::*End)()>
class TTreeListBracket {
public:
    explicit TTreeListBracket(TTreeList& tree) : m_tree(tree) { (m_tree.*Begin)(); }
    ~TTreeListBracket() { (m_tree.*End)(); }
    TTreeListBracket(const TTreeListBracket&) = delete;
    TTreeListBracket& operator=(const TTreeListBracket&) = delete;

private:
    TTreeList& m_tree;
};

using TTreeListUpdate = TTreeListBracket<&TTreeList::BeginUpdate, &TTreeList::EndUpdate>;
using TTreeListReset = TTreeListBracket<&TTreeList::BeginReset, &TTreeList::EndReset>;

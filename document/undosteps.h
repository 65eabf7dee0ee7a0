#pragma once

#include "document/treelist.h"
#include "document/undohistory.h"

#include <memory>
#include <string>
#include <vector>

// Subtrees a command put into the tree or took out of it. Those out of the
// tree are kept detached, not copied, and put back where they stood.
class TSubtreeStep : public TUndoStep {
public:
    bool Empty() const { return m_items.empty(); }

    void Undo(TTreeList& tree) override { m_inserted ? TakeOut(tree) : PutBack(tree); }
    void Redo(TTreeList& tree) override { m_inserted ? PutBack(tree) : TakeOut(tree); }
    std::vector<TTreeListTextNode*> Touched() const override { return m_items; }
    // Counted on the first call: a big subtree's walk is left out of the
    // command, which mostly never needs it.
    size_t Cost() const override;
    void Discard(TTreeList& tree, bool done) override;

protected:
    // `inserted`: the command inserted the items; otherwise it removed them.
    TSubtreeStep(std::string name, bool inserted) : TUndoStep(std::move(name)), m_inserted(inserted) {}
    // Records the item with its subtree, in the tree at `place`.
    void Record(TTreeList& tree, TTreeListTextNode* item, const TTreeListPlace& place);

private:
    // Undo goes through the command's changes backwards and redo forwards,
    // so that each item finds the tree as its change left it.
    void TakeOut(TTreeList& tree);
    void PutBack(TTreeList& tree);

    bool m_inserted;
    const TTreeList* m_tree = nullptr;
    std::vector<TTreeListTextNode*> m_items;
    std::vector<TTreeListPlace> m_places;
    mutable size_t m_bytes = 0;
    mutable bool m_counted = false;
};

// New items (New Item, New Sub Item, Paste, Duplicate, dropped files, Import).
class TInsertStep : public TSubtreeStep {
public:
    explicit TInsertStep(std::string name) : TSubtreeStep(std::move(name), true) {}
    // An item just inserted, with its subtree; items are recorded in the
    // order they were inserted.
    void Add(TTreeList& tree, TTreeListTextNode* item) { Record(tree, item, tree.PlaceOf(item)); }
};

// Items taken out (Delete, Cut).
class TRemoveStep : public TSubtreeStep {
public:
    explicit TRemoveStep(std::string name) : TSubtreeStep(std::move(name), false) {}
    // Takes the item with its subtree out of the tree.
    void Remove(TTreeList& tree, TTreeListTextNode* item);
};

// Items moved within the tree (Move Up, Indent, Outdent, a drag), each move
// replayed in order and taken back in reverse.
class TMoveStep : public TUndoStep {
public:
    using TUndoStep::TUndoStep;
    // Moves the item to position `index` of `parent`'s children, as
    // TTreeList::MoveItem counts it, and records the move.
    void Move(TTreeList& tree, TTreeListTextNode* item, TTreeListTextNode* parent, int index);
    // Moves the item as TTreeListNode::MoveTo does, and records the move.
    void MoveTo(TTreeList& tree, TTreeListTextNode* item, TTreeListTextNode* target, TItemAttachMode mode);
    bool Empty() const { return m_moves.empty(); }

    void Undo(TTreeList& tree) override;
    void Redo(TTreeList& tree) override;
    std::vector<TTreeListTextNode*> Touched() const override;
    size_t Cost() const override { return m_moves.size() * sizeof(TMove); }

private:
    struct TMove {
        TTreeListTextNode* item;
        TTreeListPlace from;
        TTreeListPlace to;
        bool toParentExpanded;  // before the move; `to.parentExpanded` is after it
    };
    std::vector<TMove> m_moves;
};

// One string of one item changed (Rename, typing in a description, Replace
// All, Load Description): the step keeps the two texts.
class TTextStep : public TUndoStep {
public:
    // `before` is the item's text before the change; the item holds `after`.
    TTextStep(std::string name, TTreeListTextNode* item, int column, std::string before, int countBefore);

    void Undo(TTreeList& tree) override;
    void Redo(TTreeList& tree) override;
    std::vector<TTreeListTextNode*> Touched() const override { return {m_item}; }
    size_t Cost() const override { return m_before.size() + m_after.size(); }

private:
    TTreeListTextNode* m_item;
    int m_column;
    std::string m_before;
    std::string m_after;
    // How many strings the item had: a file records the count, so a string
    // added by the change goes again with its undo.
    int m_countBefore;
    int m_countAfter;
};

// An item's icon changed (Change Icon).
class TIconStep : public TUndoStep {
public:
    TIconStep(std::string name, TTreeListTextNode* item, int32_t before, int32_t after);

    void Undo(TTreeList& tree) override;
    void Redo(TTreeList& tree) override;
    std::vector<TTreeListTextNode*> Touched() const override { return {m_item}; }
    size_t Cost() const override { return sizeof(*this); }

private:
    TTreeListTextNode* m_item;
    int32_t m_before;
    int32_t m_after;
};

// Children put in a new order (Move Down, Sort Children, Sort Subtree): the
// step keeps both orders of each list.
class TReorderStep : public TUndoStep {
public:
    using TUndoStep::TUndoStep;
    // Records `order` as the new order of its parent's children, beside the
    // order they have now; a list already in that order is left out.
    void Add(const TTreeList& tree, TTreeListOrder order);
    bool Empty() const { return m_after.empty(); }
    // What the step shows once undone or redone: the sorted item, or the
    // items moved down.
    void Show(std::vector<TTreeListTextNode*> items) { m_shown = std::move(items); }

    void Undo(TTreeList& tree) override;
    void Redo(TTreeList& tree) override;
    std::vector<TTreeListTextNode*> Touched() const override { return m_shown; }
    size_t Cost() const override { return m_bytes; }

private:
    std::vector<TTreeListOrder> m_before;
    std::vector<TTreeListOrder> m_after;
    std::vector<TTreeListTextNode*> m_shown;
    size_t m_bytes = 0;
};

// Several steps made by one command (a Rename with the links it rewrote),
// undone and redone as one. The first step's items are the ones shown.
class TCompoundStep : public TUndoStep {
public:
    using TUndoStep::TUndoStep;
    void Add(std::unique_ptr<TUndoStep> step) { m_steps.push_back(std::move(step)); }

    void Undo(TTreeList& tree) override;
    void Redo(TTreeList& tree) override;
    std::vector<TTreeListTextNode*> Touched() const override;
    size_t Cost() const override;
    void Discard(TTreeList& tree, bool done) override;

private:
    std::vector<std::unique_ptr<TUndoStep>> m_steps;
};

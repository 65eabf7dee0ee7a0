#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTreeList;
class TTreeListTextNode;

// One change of the document, done already when it joins the history, that
// can be taken back and done again as a whole. A step refers to the items it
// changed by address: the history undoes and redoes in order, so each step
// finds the tree exactly as it left it, and an item lives on, detached, while
// a step may still need it.
class TUndoStep {
public:
    explicit TUndoStep(std::string name) : m_name(std::move(name)) {}
    virtual ~TUndoStep() = default;
    TUndoStep(const TUndoStep&) = delete;
    TUndoStep& operator=(const TUndoStep&) = delete;

    // What the Undo and Redo commands call it: "Delete", "Move Up".
    const std::string& Name() const { return m_name; }
    virtual void Undo(TTreeList& tree) = 0;
    virtual void Redo(TTreeList& tree) = 0;
    // The items to show once the step is undone or redone; those no longer
    // in the tree are left out.
    virtual std::vector<TTreeListTextNode*> Touched() const = 0;
    // The bytes the step keeps alive: texts, and detached subtrees.
    virtual size_t Cost() const = 0;
    // The step leaves the history; `done`: its change is in the tree. A step
    // that holds detached items frees them here.
    virtual void Discard(TTreeList& /*tree*/, bool /*done*/) {}

    // The item that had the focus before the step, and the one after it: shown
    // when none of the touched items is in the tree.
    TTreeListTextNode* FocusBefore = nullptr;
    TTreeListTextNode* FocusAfter = nullptr;

private:
    std::string m_name;
};

// The document's history of steps: undo goes back one step, redo forward;
// a new step drops what could have been redone. It remembers which state
// matches the file, so the document can tell whether it is modified.
class TUndoHistory {
public:
    explicit TUndoHistory(TTreeList& tree);
    ~TUndoHistory();
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;

    // At least this many steps stay; older ones go, oldest first, while the
    // steps hold more than ByteLimit bytes.
    static constexpr size_t MinSteps = 100;
    size_t ByteLimit = size_t{256} << 20;

    // Called after every change of the history (a step added, undone,
    // redone, dropped, the clean state set).
    std::function<void()> OnChanged;

    // Adds a step whose change is already done.
    void Push(std::unique_ptr<TUndoStep> step);
    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < m_steps.size(); }
    // The names of the steps Undo and Redo would take.
    std::string UndoName() const;
    std::string RedoName() const;
    // Undoes or redoes one step and shows the items it touched: focused,
    // selected and in view. Answers the step; none when there was none.
    TUndoStep* Undo();
    TUndoStep* Redo();

    // Drops every step: the document was replaced or closed.
    void Clear();
    // The current state is the one the file holds.
    void SetClean();
    bool IsClean() const { return m_clean == static_cast<std::ptrdiff_t>(m_index); }
    // A save that writes the current state while the history goes on: the
    // mark follows the state as steps come and go, and SetCleanAtMark makes
    // it the clean one once the file is written (none if it was dropped).
    void MarkSaving();
    void SetCleanAtMark();

    size_t Count() const { return m_steps.size(); }
    size_t HeldBytes() const;

private:
    // A step's cost is asked for only once the history holds more than
    // MinSteps steps: a big subtree's count would slow every delete.
    static constexpr size_t Uncounted = static_cast<size_t>(-1);
    void CountCosts() const;
    void DropFrom(size_t first);
    void Trim();
    void ShowTouched(const TUndoStep& step, TTreeListTextNode* fallback);
    void Changed();

    TTreeList& m_tree;
    std::vector<std::unique_ptr<TUndoStep>> m_steps;
    mutable std::vector<size_t> m_costs;  // Uncounted until asked for
    size_t m_index = 0;                   // steps before it are done
    std::ptrdiff_t m_clean = 0;           // the index that matches the file; -1: none does
    std::ptrdiff_t m_saving = -1;         // the index a save in progress writes; -1: none
    mutable size_t m_heldBytes = 0;       // of the counted steps
};

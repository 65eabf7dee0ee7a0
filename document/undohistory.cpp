#include "document/undohistory.h"

#include "document/treelist.h"

#include <initializer_list>

TUndoHistory::TUndoHistory(TTreeList& tree) : m_tree(tree) {}

TUndoHistory::~TUndoHistory()
{
    OnChanged = nullptr;
    Clear();
}

void TUndoHistory::Push(std::unique_ptr<TUndoStep> step)
{
    if (!step)
        return;
    DropFrom(m_index);
    m_costs.push_back(Uncounted);
    m_steps.push_back(std::move(step));
    ++m_index;
    Trim();
    Changed();
}

std::string TUndoHistory::UndoName() const
{
    return CanUndo() ? m_steps[m_index - 1]->Name() : std::string();
}

std::string TUndoHistory::RedoName() const
{
    return CanRedo() ? m_steps[m_index]->Name() : std::string();
}

TUndoStep* TUndoHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    TUndoStep& step = *m_steps[m_index - 1];
    step.Undo(m_tree);
    --m_index;
    ShowTouched(step, step.FocusBefore);
    Changed();
    return &step;
}

TUndoStep* TUndoHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    TUndoStep& step = *m_steps[m_index];
    step.Redo(m_tree);
    ++m_index;
    ShowTouched(step, step.FocusAfter);
    Changed();
    return &step;
}

void TUndoHistory::Clear()
{
    if (m_steps.empty() && m_clean == 0)
        return;
    // Newest first: a later step may hold items that an earlier one put back.
    DropFrom(m_index);
    while (!m_steps.empty()) {
        m_steps.back()->Discard(m_tree, true);
        m_steps.pop_back();
    }
    m_costs.clear();
    m_index = 0;
    m_clean = 0;
    m_saving = -1;
    m_heldBytes = 0;
    Changed();
}

void TUndoHistory::SetClean()
{
    m_clean = static_cast<std::ptrdiff_t>(m_index);
    Changed();
}

void TUndoHistory::MarkSaving()
{
    m_saving = static_cast<std::ptrdiff_t>(m_index);
}

void TUndoHistory::SetCleanAtMark()
{
    m_clean = m_saving;
    m_saving = -1;
    Changed();
}

// Drops the steps from `first` on, which are undone.
void TUndoHistory::DropFrom(size_t first)
{
    // A state past the steps dropped can no longer be reached.
    for (std::ptrdiff_t* state : {&m_clean, &m_saving})
        if (*state > static_cast<std::ptrdiff_t>(first))
            *state = -1;
    while (m_steps.size() > first) {
        m_steps.back()->Discard(m_tree, false);
        if (m_costs.back() != Uncounted)
            m_heldBytes -= m_costs.back();
        m_steps.pop_back();
        m_costs.pop_back();
    }
}

size_t TUndoHistory::HeldBytes() const
{
    CountCosts();
    return m_heldBytes;
}

void TUndoHistory::CountCosts() const
{
    for (size_t i = 0; i < m_steps.size(); ++i) {
        if (m_costs[i] == Uncounted) {
            m_costs[i] = m_steps[i]->Cost();
            m_heldBytes += m_costs[i];
        }
    }
}

void TUndoHistory::Trim()
{
    if (m_steps.size() <= MinSteps)
        return;
    CountCosts();
    size_t drop = 0;
    while (m_steps.size() - drop > MinSteps && m_heldBytes > ByteLimit && drop < m_index) {
        m_steps[drop]->Discard(m_tree, true);
        m_heldBytes -= m_costs[drop];
        ++drop;
    }
    if (drop == 0)
        return;
    m_steps.erase(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(drop));
    m_costs.erase(m_costs.begin(), m_costs.begin() + static_cast<std::ptrdiff_t>(drop));
    m_index -= drop;
    for (std::ptrdiff_t* state : {&m_clean, &m_saving})
        *state = *state >= static_cast<std::ptrdiff_t>(drop) ? *state - static_cast<std::ptrdiff_t>(drop) : -1;
}

void TUndoHistory::ShowTouched(const TUndoStep& step, TTreeListTextNode* fallback)
{
    std::vector<TTreeListTextNode*> shown;
    for (TTreeListTextNode* item : step.Touched())
        if (m_tree.IsAttached(item))
            shown.push_back(item);
    if (shown.empty() && m_tree.IsAttached(fallback))
        shown.push_back(fallback);
    if (shown.empty())
        return;
    TTreeListUpdate bracket(m_tree);
    m_tree.ClearSelection();
    for (TTreeListTextNode* item : shown)
        item->SetSelected(true);
    // The last first, so that the first one ends up in view.
    if (shown.size() > 1)
        shown.back()->MakeVisible();
    shown.front()->SetFocused();
    shown.front()->MakeVisible();
}

void TUndoHistory::Changed()
{
    if (OnChanged)
        OnChanged();
}

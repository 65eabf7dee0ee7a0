#pragma once

#include <vector>

#include "document/treelist.h"

class TTreeListLayout;

// How clicks and keys change the focus and the selection. The tree keeps
// both: every change here is one of its own operations, inside one update
// bracket, so the window hears of a new selection once.
// Beside the tree's state it keeps only where the next Shift range starts,
// and which items the last range changed, so that a range can be pulled back
// or stretched without touching what was selected before it.
class TTreeListSelector : private TTreeListObserver {
public:
    TTreeListSelector(TTreeList& tree, const TTreeListLayout& layout);
    ~TTreeListSelector() override;
    TTreeListSelector(const TTreeListSelector&) = delete;
    TTreeListSelector& operator=(const TTreeListSelector&) = delete;

    // Where the next range starts: the item itself, or the focused item for none.
    void SetAnchor(TTreeListTextNode* item);
    TTreeListTextNode* Anchor() const;
    // The selection becomes the item alone (nothing for none); the item starts the next range.
    void SelectOnly(TTreeListTextNode* item);
    // Adds the item to or takes it out of the selection.
    void SetSelected(TTreeListTextNode* item, bool selected);
    // The rows from the anchor to the item become selected (or deselected),
    // in place of what the last range changed.
    void SelectRange(TTreeListTextNode* item, bool selected = true);
    // The same for the rows `from` to `to`, in any order, clamped to the rows
    // there are; `alone`: they become the whole selection.
    void SelectRows(int from, int to, bool selected, bool alone = false);
    // Ends the last range: what it changed stays.
    void Commit() { m_changed.clear(); }

private:
    void Forget();
    // TTreeListObserver
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void AboutToReset() override;

    TTreeList& m_tree;
    const TTreeListLayout& m_layout;
    TTreeListTextNode* m_anchor = nullptr;
    std::vector<TTreeListTextNode*> m_changed;
};

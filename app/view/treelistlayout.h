#pragma once

#include <unordered_map>
#include <vector>

#include "document/treelist.h"

// The rows of the item tree on screen, from the tree's own expanded state:
// the top-level items and, below every expanded item, its children, each
// followed by its own rows. No toolkit: the view asks it which item is on
// which row and the reverse.
// Only the number of rows below each expanded item is kept, and only once
// asked for and when not a few: a million expanded rows cost no row table,
// and a change costs forgetting the counts of the changed item and its
// ancestors. It follows the tree's changes itself; an observer of the tree
// added after it can ask it for rows before a change and after it.
class TTreeListLayout : private TTreeListObserver {
public:
    explicit TTreeListLayout(TTreeList& tree);
    ~TTreeListLayout() override;
    TTreeListLayout(const TTreeListLayout&) = delete;
    TTreeListLayout& operator=(const TTreeListLayout&) = delete;

    int RowCount() const;
    // Rows below an expanded item with children; 0 for any other.
    int RowsBelow(const TTreeListTextNode* item) const;
    // The rows the item's children take when it is expanded, whether it is or not.
    int ChildRows(const TTreeListTextNode* item) const;
    // The item's row, -1 when a collapsed ancestor hides it.
    int RowOf(const TTreeListTextNode* item) const;
    // None outside 0 .. RowCount() - 1.
    TTreeListTextNode* ItemAtRow(int row) const;

    // The rows start at `root` and show only its subtree (the whole tree for
    // none). The root is forgotten when it leaves the tree or the tree is reset.
    void SetRoot(TTreeListTextNode* root);
    TTreeListTextNode* Root() const { return m_root; }
    // The rows next to an item's row, and the last row; none beyond the rows.
    TTreeListTextNode* NextRow(const TTreeListTextNode* item) const;
    TTreeListTextNode* PreviousRow(const TTreeListTextNode* item) const;
    TTreeListTextNode* LastRow() const;
    // How far the item is indented: 0 for the first row's level.
    int Depth(const TTreeListTextNode* item) const;

private:
    // Whether the count of rows below `item` is kept once counted.
    bool WorthKeeping(const TTreeListTextNode* item, int rows) const;
    // The counts of `item` and its ancestors are stale (only the total for none).
    void Invalidate(const TTreeListTextNode* item);
    // Notes the items of `root`'s subtree that may hold a count in m_leaving.
    void NoteLeaving(const TTreeListTextNode* root);
    // Forgets the counts of the subtrees in m_leaving, which are going away.
    void ForgetLeaving();
    void Clear();

    // TTreeListObserver
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemsRemoved() override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent,
                            int destinationRow) override;
    void ItemMoved() override;
    void AboutToReset() override;
    void ResetDone() override;
    void ExpandedChanged(TTreeListTextNode* item) override;

    TTreeList& m_tree;
    mutable std::unordered_map<const TTreeListTextNode*, int> m_rowsBelow;
    mutable int m_rowCount = -1;
    // The parent whose list changes, and for a move the moved item.
    TTreeListTextNode* m_changingParent = nullptr;
    TTreeListTextNode* m_movingItem = nullptr;
    // The items with children of subtrees being removed: a count asked for
    // between the announcement and the removal must not outlive them.
    std::vector<const TTreeListTextNode*> m_leaving;
    TTreeListTextNode* m_root = nullptr;
    bool m_rootLeaving = false;
};

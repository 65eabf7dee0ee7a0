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

    // The filter. While it is on, the rows hold only the matches, their
    // ancestors, and the items that arrived or took the focus meanwhile; an
    // item with such children is open unless the user closed it under the
    // filter. The items' own expanded states stay as they are, so that the
    // tree comes back as it was when the filter goes. The marks live in the
    // items (ViewMark), so asking costs no lookup.
    void SetFilter(const std::vector<TTreeListTextNode*>& matches);
    void ClearFilter();
    bool Filtered() const { return m_filtered; }
    bool Shown(const TTreeListTextNode* item) const;
    // Shown for itself, not only as the ancestor of what is.
    bool ShownForItself(const TTreeListTextNode* item) const;
    // Whether the item's children take rows: its expanded state, or under the filter its own.
    bool IsOpen(const TTreeListTextNode* item) const;
    // Whether it has children that can take rows.
    bool CanOpen(const TTreeListTextNode* item) const;
    // Under the filter, opens or closes the item for the filter alone.
    void SetOpen(TTreeListTextNode* item, bool open);
    // The same for every item of `root`'s subtree (the whole tree for none)
    // that can open.
    void SetSubtreeOpen(TTreeListTextNode* root, bool open);
    // Under the filter, shows the item and its ancestors; true when its row is new.
    bool Reveal(TTreeListTextNode* item);
    // The next filter, built while the rows stay as they are: its search
    // visits every item of the tree in document order, each once, and the
    // result then shows at once, its row counts already known. A change of
    // the tree in between must start it again.
    void BeginNextFilter();
    void VisitNext(TTreeListTextNode* item, bool match);
    void ShowNextFilter();

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
    // The marks in an item's view byte: those shown, or the next filter's.
    uint8_t Mark(const TTreeListTextNode* item, bool next = false) const;
    void SetMark(TTreeListTextNode* item, uint8_t mark, bool next = false);
    bool Has(const TTreeListTextNode* item, uint8_t mark, bool next = false) const;
    void AddMark(TTreeListTextNode* item, uint8_t mark, bool next = false);
    // The next filter leaves the subtree at the end of its path.
    void PopNext();
    // The item shown for itself, with its ancestors as ancestors.
    void MarkItemShown(TTreeListTextNode* item);
    void MarkAncestors(TTreeListTextNode* item);
    void Prune(TTreeListTextNode* parent);
    // Sets every mark to none: the shown items' alone, or all the tree's.
    void ClearMarks(bool all);
    TTreeListTextNode* NextShownSibling(const TTreeListTextNode* parent, int after) const;
    TTreeListTextNode* PreviousShownSibling(const TTreeListTextNode* parent, int before) const;
    TTreeListTextNode* LastOpenRow(TTreeListTextNode* item) const;

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
    void ItemsInsertedUnderFilter();

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
    bool m_filtered = false;
    // Which half of each view byte holds the marks shown.
    bool m_phase = false;
    struct TNextFrame {
        TTreeListTextNode* item;
        int rows;
    };
    // The items from the top to the one the next filter visited last, each
    // with the rows its children take so far.
    std::vector<TNextFrame> m_nextPath;
    std::unordered_map<const TTreeListTextNode*, int> m_nextRowsBelow;
    int m_nextRowCount = 0;
    int m_insertFirst = 0;
    int m_insertLast = -1;
};

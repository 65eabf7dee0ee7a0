#pragma once

#include <cstddef>
#include <vector>

class TTreeListNode;
class TTreeListTextNode;

// The places the focus was, for Back and Forward: the last 100 of them and
// where in that list the user stands. Plain C++, so it can be checked
// without a window. Items that leave the tree leave it too, and stay out
// when an undo puts them back.
class TNavigationHistory {
public:
    static constexpr size_t Capacity = 100;

    // A recorded move of the focus from `from` (none at first) to `to`:
    // the places ahead of the current one are dropped.
    void Visit(TTreeListTextNode* from, TTreeListTextNode* to);
    // The place to go back to from `current`, the focused item, which may
    // have wandered off the current place by small steps; none when there is
    // no place behind. `current` is kept, so that Forward returns to it.
    TTreeListTextNode* Back(TTreeListTextNode* current);
    TTreeListTextNode* Forward();
    bool CanGoBack(const TTreeListTextNode* current) const;
    bool CanGoForward() const { return m_current + 1 < m_places.size(); }

    // `root` and its subtree are about to leave the tree.
    void Forget(const TTreeListNode* root);
    void Clear();

    const std::vector<TTreeListTextNode*>& Places() const { return m_places; }
    size_t Current() const { return m_current; }

private:
    void Push(TTreeListTextNode* item);

    std::vector<TTreeListTextNode*> m_places;
    size_t m_current = 0;  // meaningless while m_places is empty
};

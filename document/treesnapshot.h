#pragma once

#include "document/treelist.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The bytes WriteItems gives for the tree as it is when this is made, taken
// a slice at a time while the tree goes on changing. The items' order is
// taken first, also in slices, and at once before items are removed, moved
// or put in another order; items added meanwhile are passed over by it; an item about to change its strings or numbers, to gain or lose
// children, or to leave the tree with its subtree has its record taken
// first, as it still is. Only a reset (the whole content replaced or
// cleared) has every record left taken at once.
class TTreeSnapshot : private TTreeListObserver {
public:
    // The parts the bytes come in: no growing string is copied whole.
    static constexpr size_t PartSize = size_t(4) << 20;

    explicit TTreeSnapshot(TTreeList& tree);
    ~TTreeSnapshot() override;
    TTreeSnapshot(const TTreeSnapshot&) = delete;
    TTreeSnapshot& operator=(const TTreeSnapshot&) = delete;

    // Takes the order of up to `bytes` / 64 more items while it is not all
    // taken, else records until at least `bytes` more are taken or all are;
    // true once all are.
    bool Next(size_t bytes);
    // The bytes in order, once Next has answered true.
    std::vector<std::string> TakeParts() { return std::move(m_parts); }

private:
    std::string& Part();
    void TakeOrder(size_t items);
    bool Done() const { return !m_orderNext && m_next >= m_order.size(); }
    void Keep(const TTreeListTextNode* item);
    void KeepSubtree(const TTreeListTextNode* root);

    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override;
    void ItemsInserted() override;
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void ItemAboutToBeMoved(TTreeListTextNode* item, TTreeListTextNode* destinationParent, int) override;
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { TakeOrder(SIZE_MAX); }
    void AboutToReset() override;
    void ItemAboutToChange(TTreeListTextNode* item) override { Keep(item); }

    TTreeList& m_tree;
    // Pointers only compared once their item may be gone: a kept record
    // stands in for every item that left the tree. In blocks, because a
    // vector of ten million pointers copies itself whole as it grows, and
    // that copy would land in one slice on the window's thread.
    std::deque<const TTreeListTextNode*> m_order;
    const TTreeListTextNode* m_orderNext;  // the next item the order takes; none once it is all taken
    size_t m_next = 0;
    std::unordered_map<const TTreeListTextNode*, std::string> m_kept;
    // Items added while the order was still being taken, with their
    // subtrees: the order passes over them. Taking the rest of a huge order
    // at once would hold the window for as long as a walk of every item.
    std::unordered_set<const TTreeListTextNode*> m_added;
    struct TArriving {
        TTreeListTextNode* parent = nullptr;
        int first = 0;
        int last = -1;
    };
    TArriving m_arriving;
    std::vector<std::string> m_parts;
};

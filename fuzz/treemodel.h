#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "document/treelist.h"

// A plain reference for the item tree: what every item should hold after a
// series of edits, kept with nothing but standard containers, so that a
// fault of the tree's own storage shows as a difference.

// One item as both sides show it, in document order.
struct TItemSnapshot {
    int level;
    int count;
    int32_t imageIndex;
    int32_t selectedIndex;
    int32_t stateIndex;
    int32_t data;
    std::vector<std::string> texts;

    bool operator==(const TItemSnapshot& other) const;
};
using TTreeSnapshot = std::vector<TItemSnapshot>;

// Every item of `tree` in document order, checking on the way that each item
// is where its parent and index say. `problem` names the first that is not.
TTreeSnapshot Snapshot(const TTreeList& tree, std::string& problem);
// The first difference of two snapshots, or an empty string.
std::string Difference(const TTreeSnapshot& expected, const TTreeSnapshot& actual);

// The item at `position` in document order, and the other way round: the
// model names items by their position.
TTreeListTextNode* ItemAt(const TTreeList& tree, int position);
int PositionOf(const TTreeList& tree, const TTreeListTextNode* item);
int CountItems(const TTreeList& tree);

class TTreeModel {
public:
    // A copy of the tree's items.
    explicit TTreeModel(const TTreeList& tree);

    TTreeSnapshot Snapshot() const;
    // The first way `tree` differs from the model, or an empty string.
    std::string Mismatch(const TTreeList& tree) const;

    // The same operations as the tree's, on the item at position `item` in
    // document order; the tree's rules for refused moves apply.
    void SetText(int item, int index, std::string_view value);
    void Delete(int item);
    void AddChild(int item);  // -1: a new top-level item
    void MoveTo(int item, int target, TItemAttachMode mode);

private:
    struct TItem {
        TItem* parent = nullptr;
        std::vector<TItem*> children;
        int32_t imageIndex = 0;
        int32_t selectedIndex = -1;
        int32_t stateIndex = -1;
        int32_t data = 0;
        std::vector<std::string> texts;
    };

    std::vector<TItem*> InDocumentOrder() const;
    std::vector<TItem*>& ListOf(TItem* parent) { return parent ? parent->children : m_top; }

    std::deque<TItem> m_items;  // never shrinks: a deleted item only leaves its list
    std::vector<TItem*> m_top;
};

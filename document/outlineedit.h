#pragma once

#include "document/treelist.h"

#include <vector>

// What the outline commands (Move Down, Indent, Outdent, Cut, Copy,
// Duplicate) work on and whether they can: plain tree logic, shared by the
// commands and the rules that enable them.

// The selected items that no other selected item contains, in document
// order; with nothing selected, the focused item alone when `orFocused`.
std::vector<TTreeListTextNode*> OutlineItems(const TTreeList& tree, bool orFocused);

// Move Down: each item changes places with the sibling below it; items
// next to each other move as a block, and a block at the end of its list
// stays. The new orders of the lists that change; none when nothing moves.
std::vector<TTreeListOrder> MoveDownOrders(const TTreeList& tree, const std::vector<TTreeListTextNode*>& items);
bool CanMoveDown(const std::vector<TTreeListTextNode*>& items);

// Indent: the sibling above the first item, which takes the items as its
// last children; none when the first item has none above it.
TTreeListTextNode* IndentTarget(const TTreeList& tree, const std::vector<TTreeListTextNode*>& items);

// Outdent: true when some item has a parent to follow.
bool CanOutdent(const std::vector<TTreeListTextNode*>& items);

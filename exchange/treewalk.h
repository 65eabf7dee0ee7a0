#pragma once

#include "document/treelist.h"

#include <vector>

// Visits every item in document order, whatever is collapsed, with its depth
// (0 for the top level): enter(item, depth) before its children and
// leave(item, depth) after them. No recursion, so any depth is walked.
template <typename Enter, typename Leave>
void WalkTree(const TTreeList& tree, Enter&& enter, Leave&& leave)
{
    struct Frame {
        const TTreeListTextNode* item;
        int next;
    };
    std::vector<Frame> path;
    for (int top = 0; top < tree.TopItemCount(); ++top) {
        const TTreeListTextNode* item = tree.TopItem(top);
        enter(*item, 0);
        path.push_back({item, 0});
        while (!path.empty()) {
            Frame& frame = path.back();
            if (frame.next < frame.item->Count()) {
                const TTreeListTextNode* child = frame.item->Child(frame.next++);
                enter(*child, static_cast<int>(path.size()));
                path.push_back({child, 0});
                continue;
            }
            const TTreeListTextNode* done = frame.item;
            path.pop_back();
            leave(*done, static_cast<int>(path.size()));
        }
    }
}

#pragma once

#include <cstddef>
#include <functional>
#include <vector>

class TTreeList;
class TTreeListTextNode;

// The tree in document order cut into stretches that threads can walk
// apart: stretch i runs from `starts[i]` up to `starts[i + 1]` (not
// included), the last to the end of the tree. About `wanted` of them, fewer
// when the tree is small; none when it is empty.
std::vector<TTreeListTextNode*> DocumentStretches(const TTreeList& tree, size_t wanted = 64);

// Runs work(i) for every i below `count`, on the calling thread and on as
// many more as the processor has cores (at most three more), each taking the
// next i as it is done; rethrows the first failure once every thread ended.
// `work` must only read what the other threads may read too.
void RunParallel(size_t count, const std::function<void(size_t)>& work);

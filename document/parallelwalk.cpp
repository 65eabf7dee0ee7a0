#include "document/parallelwalk.h"

#include "document/treelist.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

std::vector<TTreeListTextNode*> DocumentStretches(const TTreeList& tree, size_t wanted)
{
    // The items down to a depth, in document order, each starting a stretch:
    // an item's children follow it directly, so a level more keeps the order.
    std::vector<TTreeListTextNode*> starts;
    for (int i = 0; i < tree.TopItemCount(); ++i)
        starts.push_back(tree.TopItem(i));
    std::vector<TTreeListTextNode*> deepest = starts;
    while (starts.size() < wanted && !deepest.empty()) {
        std::vector<TTreeListTextNode*> deeper;
        std::vector<TTreeListTextNode*> more;
        more.reserve(starts.size() * 2);
        size_t next = 0;  // in `deepest`, which `starts` holds in the same order
        for (TTreeListTextNode* item : starts) {
            more.push_back(item);
            if (next < deepest.size() && deepest[next] == item) {
                ++next;
                for (int i = 0; i < item->Count(); ++i) {
                    more.push_back(item->Child(i));
                    deeper.push_back(item->Child(i));
                }
            }
        }
        starts.swap(more);
        deepest.swap(deeper);
    }
    // Thinned to about `wanted`, a stretch runs on to the next start kept.
    if (starts.size() > 2 * wanted) {
        const size_t step = starts.size() / wanted;
        size_t kept = 0;
        for (size_t i = 0; i < starts.size(); i += step)
            starts[kept++] = starts[i];
        starts.resize(kept);
    }
    return starts;
}

void RunParallel(size_t count, const std::function<void(size_t)>& work)
{
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto run = [&] {
        try {
            for (size_t i; (i = next.fetch_add(1)) < count;)
                work(i);
        } catch (...) {
            next = count;
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t extra = std::min<size_t>({cores - 1, 3, count > 0 ? count - 1 : 0});
    std::vector<std::thread> threads;
    try {
        for (size_t t = 0; t < extra; ++t)
            threads.emplace_back(run);
    } catch (...) {
        // No thread to spare: the work is done on fewer.
    }
    run();
    for (std::thread& thread : threads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTreeListTextNode;

// Go to Item's ranking, on names already folded (lower case, accents
// stripped, UTF-8): plain C++, so a table can check it.

// How well a folded name matches every word typed: -1 not at all, 0 every
// word as a whole word, 1 every word at least at a word's start, 2 some word
// only inside a word. Lower ranks first.
int GoToMatchClass(std::string_view name, const std::vector<std::string>& words);
// The folded query's words, in any order; repeated spaces count as one.
std::vector<std::string> GoToWords(std::string_view query);

// One match: better matches first, then shorter names, shallower items and
// the document's order.
struct TGoToEntry {
    int matchClass = 0;
    uint32_t length = 0;
    int depth = 0;
    uint64_t order = 0;
    TTreeListTextNode* item = nullptr;
};
bool operator<(const TGoToEntry& a, const TGoToEntry& b);

// The best `limit` matches of a scan, with the count of all of them.
class TGoToTop {
public:
    explicit TGoToTop(size_t limit) : m_limit(limit) {}
    // Whether a match of this class and length might still make the list;
    // the depth costs a walk to the top, so it is asked only then.
    bool Wants(int matchClass, uint32_t length) const;
    void Offer(const TGoToEntry& entry);
    void Count() { ++m_count; }
    size_t Matches() const { return m_count; }
    std::vector<TGoToEntry> Sorted() const;
    void Clear();

private:
    size_t m_limit;
    size_t m_count = 0;
    std::vector<TGoToEntry> m_heap;  // the worst kept first
};

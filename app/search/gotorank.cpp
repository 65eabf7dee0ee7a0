#include "app/search/gotorank.h"

#include <algorithm>
#include <tuple>

namespace {
// Bytes of letters outside ASCII count as letters: a word never ends inside one.
bool IsWordByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '_';
}

// The best class one word reaches anywhere in the name; -1 when absent.
int WordClass(std::string_view name, std::string_view word)
{
    int best = -1;
    for (size_t at = name.find(word); at != std::string_view::npos; at = name.find(word, at + 1)) {
        const bool starts = at == 0 || !IsWordByte(name[at - 1]);
        const size_t end = at + word.size();
        const bool ends = end == name.size() || !IsWordByte(name[end]);
        const int cls = starts ? (ends ? 0 : 1) : 2;
        if (best < 0 || cls < best)
            best = cls;
        if (best == 0)
            break;
    }
    return best;
}
}  // namespace

int GoToMatchClass(std::string_view name, const std::vector<std::string>& words)
{
    int worst = 0;
    for (const std::string& word : words) {
        const int cls = WordClass(name, word);
        if (cls < 0)
            return -1;
        worst = std::max(worst, cls);
    }
    return words.empty() ? -1 : worst;
}

std::vector<std::string> GoToWords(std::string_view query)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < query.size()) {
        const size_t space = std::min(query.find(' ', at), query.size());
        if (space > at)
            words.emplace_back(query.substr(at, space - at));
        at = space + 1;
    }
    // Longer words first: they rule names out sooner.
    std::stable_sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    return words;
}

bool operator<(const TGoToEntry& a, const TGoToEntry& b)
{
    return std::tie(a.matchClass, a.length, a.depth, a.order) < std::tie(b.matchClass, b.length, b.depth, b.order);
}

bool TGoToTop::Wants(int matchClass, uint32_t length) const
{
    if (m_heap.size() < m_limit)
        return m_limit > 0;
    const TGoToEntry& worst = m_heap.front();
    return std::tie(matchClass, length) <= std::tie(worst.matchClass, worst.length);
}

void TGoToTop::Offer(const TGoToEntry& entry)
{
    if (m_heap.size() < m_limit) {
        m_heap.push_back(entry);
        std::push_heap(m_heap.begin(), m_heap.end());
    } else if (m_limit > 0 && entry < m_heap.front()) {
        std::pop_heap(m_heap.begin(), m_heap.end());
        m_heap.back() = entry;
        std::push_heap(m_heap.begin(), m_heap.end());
    }
}

std::vector<TGoToEntry> TGoToTop::Sorted() const
{
    std::vector<TGoToEntry> sorted = m_heap;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

void TGoToTop::Clear()
{
    m_heap.clear();
    m_count = 0;
}

#include "document/bytefilter.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr size_t MaxVectorValues = 4;
// More distances than this cost more comparisons than they save; the filter
// then looks at the first byte only.
constexpr size_t MaxDistances = 4;

// 1, 2 or 4: how many comparisons cover a set, its values repeated to fill.
size_t Lanes(size_t count)
{
    return count <= 1 ? 1 : count == 2 ? 2 : 4;
}

void FillValues(std::array<unsigned char, 4>& values, const std::vector<unsigned char>& set)
{
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = set.empty() ? 0 : set[i % set.size()];
}

#ifdef __SSE2__
template <size_t N> __m128i AnyEqual(__m128i bytes, const __m128i (&values)[4])
{
    __m128i hit = _mm_cmpeq_epi8(bytes, values[0]);
    if constexpr (N >= 2)
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, values[1]));
    if constexpr (N >= 4) {
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, values[2]));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, values[3]));
    }
    return hit;
}

// Tries the start positions p, p + 1, ... sixteen at a time while every
// byte looked at lies inside the string; leaves p at the first start not tried.
template <size_t NF, size_t NL>
bool Blocks(const unsigned char* s, size_t n, size_t& p, const std::array<unsigned char, 4>& firstValues,
            const std::array<unsigned char, 4>& lastValues, const std::vector<size_t>& distances)
{
    __m128i first[4], last[4];
    for (size_t i = 0; i < 4; ++i) {
        first[i] = _mm_set1_epi8(static_cast<char>(firstValues[i]));
        last[i] = _mm_set1_epi8(static_cast<char>(lastValues[i]));
    }
    const size_t reach = (distances.empty() ? 0 : distances.back()) + 16;
    for (; p + reach <= n; p += 16) {
        const __m128i starts = AnyEqual<NF>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + p)), first);
        if (_mm_movemask_epi8(starts) == 0)
            continue;
        if (distances.empty())
            return true;
        __m128i ends = _mm_setzero_si128();
        for (size_t d : distances)
            ends = _mm_or_si128(ends, AnyEqual<NL>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + p + d)), last));
        if (_mm_movemask_epi8(_mm_and_si128(starts, ends)) != 0)
            return true;
    }
    return false;
}

template <size_t NF>
bool BlocksFor(size_t lastLanes, const unsigned char* s, size_t n, size_t& p,
               const std::array<unsigned char, 4>& firstValues, const std::array<unsigned char, 4>& lastValues,
               const std::vector<size_t>& distances)
{
    switch (lastLanes) {
    case 1:
        return Blocks<NF, 1>(s, n, p, firstValues, lastValues, distances);
    case 2:
        return Blocks<NF, 2>(s, n, p, firstValues, lastValues, distances);
    default:
        return Blocks<NF, 4>(s, n, p, firstValues, lastValues, distances);
    }
}
#endif

}  // namespace

TByteFilter::TByteFilter(const std::vector<unsigned char>& first, const std::vector<unsigned char>& last,
                         const std::vector<size_t>& distances)
    : m_passesAll(false), m_distances(distances)
{
    std::sort(m_distances.begin(), m_distances.end());
    m_distances.erase(std::unique(m_distances.begin(), m_distances.end()), m_distances.end());
    std::vector<unsigned char> firstSet(first), lastSet(last);
    for (auto* set : {&firstSet, &lastSet}) {
        std::sort(set->begin(), set->end());
        set->erase(std::unique(set->begin(), set->end()), set->end());
    }
    // No match is shorter than its nearest last byte, whatever is checked.
    m_minLength = m_distances.empty() ? 1 : m_distances.front() + 1;
    if (m_distances.size() > MaxDistances || lastSet.empty())
        m_distances.clear();
    for (unsigned char b : firstSet)
        m_isFirst[b] = true;
    for (unsigned char b : lastSet)
        m_isLast[b] = true;
    m_vectorised = !firstSet.empty() && firstSet.size() <= MaxVectorValues && lastSet.size() <= MaxVectorValues;
    FillValues(m_firstValues, firstSet);
    FillValues(m_lastValues, lastSet);
    m_firstLanes = Lanes(firstSet.size());
    m_lastLanes = Lanes(lastSet.size());
    m_never = firstSet.empty();
}

bool TByteFilter::MayContain(std::string_view bytes) const
{
    if (m_passesAll)
        return true;
    if (m_never || bytes.size() < m_minLength)
        return false;
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t p = 0;
    if (ScanBlocks(s, bytes.size(), p))
        return true;
    return ScanTail(s, bytes.size(), p);
}

bool TByteFilter::ScanBlocks([[maybe_unused]] const unsigned char* s, [[maybe_unused]] size_t n,
                             [[maybe_unused]] size_t& p) const
{
#ifdef __SSE2__
    if (!m_vectorised)
        return false;
    switch (m_firstLanes) {
    case 1:
        return BlocksFor<1>(m_lastLanes, s, n, p, m_firstValues, m_lastValues, m_distances);
    case 2:
        return BlocksFor<2>(m_lastLanes, s, n, p, m_firstValues, m_lastValues, m_distances);
    default:
        return BlocksFor<4>(m_lastLanes, s, n, p, m_firstValues, m_lastValues, m_distances);
    }
#else
    return false;
#endif
}

bool TByteFilter::ScanTail(const unsigned char* s, size_t n, size_t from) const
{
    for (size_t p = from; p + m_minLength <= n; ++p) {
        if (!m_isFirst[s[p]])
            continue;
        if (m_distances.empty())
            return true;
        for (size_t d : m_distances)
            if (p + d < n && m_isLast[s[p + d]])
                return true;
    }
    return false;
}

#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

// A quick look at a string's raw bytes that can only rule a match out: a
// match starts with one of the `first` bytes and, at one of the `distances`
// from that start, holds one of the `last` bytes. Whoever builds it makes sure
// that every match of what is searched has that shape in every encoding a
// string may be read in; then a string it turns down holds no match, and only
// the strings it passes need a closer look. Sixteen start positions are tried
// at once where the processor allows.
class TByteFilter {
public:
    // Passes every string.
    TByteFilter() = default;
    TByteFilter(const std::vector<unsigned char>& first, const std::vector<unsigned char>& last,
                const std::vector<size_t>& distances);

    bool PassesAll() const { return m_passesAll; }
    bool MayContain(std::string_view bytes) const;

private:
    bool ScanTail(const unsigned char* s, size_t n, size_t from) const;
    bool ScanBlocks(const unsigned char* s, size_t n, size_t& p) const;

    bool m_passesAll = true;
    std::array<bool, 256> m_isFirst{};
    std::array<bool, 256> m_isLast{};
    // The sets once more as up to four byte values each (repeated to fill
    // four), for comparing sixteen bytes at a time, and how many of the four
    // need comparing.
    std::array<unsigned char, 4> m_firstValues{};
    std::array<unsigned char, 4> m_lastValues{};
    size_t m_firstLanes = 1;
    size_t m_lastLanes = 1;
    bool m_vectorised = false;
    bool m_never = false;  // nothing can start a match
    size_t m_minLength = 1;
    std::vector<size_t> m_distances;  // ascending, no repeats; empty: the first byte alone decides
};

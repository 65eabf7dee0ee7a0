#include "document/asciimatcher.h"

#include <utility>

namespace {

unsigned char LowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool IsAsciiWordChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

TAsciiMatcher::TAsciiMatcher(std::string_view needle, bool matchCase, bool wholeWord,
                             std::vector<bool> foldsFromOutside)
    : m_needle(needle), m_matchCase(matchCase), m_wholeWord(wholeWord),
      m_foldsFromOutside(std::move(foldsFromOutside))
{
    m_foldsFromOutside.resize(m_needle.size(), false);
    if (!m_matchCase)
        for (char& c : m_needle)
            c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
}

long TAsciiMatcher::Count(std::string_view bytes) const
{
    if (m_needle.empty())
        return 0;
    return m_matchCase ? CountCaseSensitive(bytes) : CountCaseInsensitive(bytes);
}

long TAsciiMatcher::CountCaseSensitive(std::string_view bytes) const
{
    long count = 0;
    for (size_t from = 0;;) {
        const size_t at = bytes.find(m_needle, from);
        if (at == std::string_view::npos)
            return count;
        const int whole = m_wholeWord ? IsWholeWord(bytes, at) : 1;
        if (whole < 0)
            return Undecided;
        if (whole) {
            ++count;
            from = at + m_needle.size();
        } else {
            from = at + 1;
        }
    }
}

// A character outside ASCII that folds to a needle letter (the Kelvin sign
// to "k") is two or more bytes: where one stands in the place of such a
// letter the byte there lies outside ASCII, and the search leaves the string
// to the decoded text. Trying every start in order meets the first such place
// before any match behind it, so no count is given that the text would not.
long TAsciiMatcher::CountCaseInsensitive(std::string_view bytes) const
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = m_needle.size();
    long count = 0;
    for (size_t at = 0; at + n <= bytes.size();) {
        size_t j = 0;
        for (; j < n; ++j) {
            const unsigned char b = s[at + j];
            if (LowerAscii(b) == static_cast<unsigned char>(m_needle[j]))
                continue;
            if (b >= 0x80 && m_foldsFromOutside[j])
                return Undecided;
            break;
        }
        if (j < n) {
            ++at;
            continue;
        }
        const int whole = m_wholeWord ? IsWholeWord(bytes, at) : 1;
        if (whole < 0)
            return Undecided;
        if (whole) {
            ++count;
            at += n;
        } else {
            ++at;
        }
    }
    return count;
}

// A neighbour outside ASCII may or may not be a letter, depending on the
// encoding the whole string is read in.
int TAsciiMatcher::IsWholeWord(std::string_view bytes, size_t at) const
{
    const size_t end = at + m_needle.size();
    auto blocks = [&](size_t i) -> int {
        const auto c = static_cast<unsigned char>(bytes[i]);
        return c >= 0x80 ? -1 : IsAsciiWordChar(c) ? 1 : 0;
    };
    const int before = at > 0 ? blocks(at - 1) : 0;
    const int after = end < bytes.size() ? blocks(end) : 0;
    if (before == 1 || after == 1)
        return 0;
    return before < 0 || after < 0 ? -1 : 1;
}

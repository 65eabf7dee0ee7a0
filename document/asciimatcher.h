#pragma once

#include <string>
#include <string_view>
#include <vector>

// Counts the matches of an ASCII needle straight on a string's bytes. An
// ASCII character is the same byte in UTF-8 and in Windows-1252, and line
// breaks never take part in such a match, so the matches on the bytes are the
// matches in the text an editor shows, one for one, as long as nothing
// outside ASCII takes part. Where something might (a character outside ASCII
// that folds to a needle letter, or one beside a whole-word match), only the
// decoded text can tell, and the count says so.
class TAsciiMatcher {
public:
    static constexpr long Undecided = -1;

    TAsciiMatcher() = default;
    // `foldsFromOutside[i]`: some character outside ASCII folds to needle[i]
    // (only read without `matchCase`).
    TAsciiMatcher(std::string_view needle, bool matchCase, bool wholeWord, std::vector<bool> foldsFromOutside);

    // Matches as a forward search finds them, each taken whole before the
    // next is looked for; Undecided when the bytes alone cannot tell.
    long Count(std::string_view bytes) const;

private:
    long CountCaseSensitive(std::string_view bytes) const;
    long CountCaseInsensitive(std::string_view bytes) const;
    // True, false, or Undecided as -1.
    int IsWholeWord(std::string_view bytes, size_t at) const;

    std::string m_needle;  // lower case when case does not matter
    bool m_matchCase = true;
    bool m_wholeWord = false;
    std::vector<bool> m_foldsFromOutside;
};

#pragma once

#include <QStringView>

#include <vector>

// A word to check, in the characters of the text it was found in.
struct TSpellWord {
    int start = 0;
    int length = 0;

    int End() const { return start + length; }
    bool operator==(const TSpellWord& other) const { return start == other.start && length == other.length; }
};

// The words of `text` that a spelling check looks at, by Unicode's word
// boundaries. Passed over: web and mail addresses, item links, words with a
// digit or an underscore (numbers, names from code), words joined by full
// stops (host names, "e.g."), and words of two or more letters all in
// capitals (abbreviations).
std::vector<TSpellWord> FindSpellWords(QStringView text);

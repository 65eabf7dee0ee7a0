#pragma once

#include "app/widgets/textsearch.h"
#include "document/asciimatcher.h"
#include "document/bytefilter.h"

#include <QString>
#include <string_view>
#include <vector>

// An occurrence in the text as the editor shows it, in UTF-16 positions.
struct TTextMatch {
    int offset;
    int length;
};

// What is looked for and how, ready to be tried on many strings; the
// options' direction does not matter, every match is found. The truth
// is the decoded text as the editor shows it, searched the way the find
// dialog searches (without Match case, letters compare by their Unicode case
// folding). The raw bytes are looked at first: a filter built from every way
// the needle can be written in either encoding rules most strings out
// unread, and an ASCII needle is mostly counted on the bytes themselves.
class TTextMatcher {
public:
    TTextMatcher() = default;
    TTextMatcher(const QString& needle, TSearchOptions options);

    const QString& Needle() const { return m_needle; }
    TSearchOptions Options() const { return m_options; }
    bool IsEmpty() const { return m_needle.isEmpty(); }

    // False only when the text of these bytes holds no match.
    bool MayMatch(std::string_view bytes) const { return !IsEmpty() && m_filter.MayContain(bytes); }
    // The matches in an editor's text, one after the other, none overlapping.
    std::vector<TTextMatch> Find(const QString& text) const;
    // How many matches the text of these bytes holds.
    long Count(std::string_view bytes) const;
    // The same from bytes that MayMatch passed, counted on the bytes alone:
    // TAsciiMatcher::Undecided when only their text can tell.
    long CountOnBytes(std::string_view bytes) const;

private:
    void BuildFilter(const std::vector<char32_t>& needle);

    QString m_needle;
    TSearchOptions m_options;
    TByteFilter m_filter;
    bool m_countsOnBytes = false;
    TAsciiMatcher m_asciiMatcher;
};

// The editor's text of an item's string.
QString EditorTextOf(std::string_view bytes);

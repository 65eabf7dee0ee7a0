#include "app/search/textmatcher.h"

#include "app/view/itemtext.h"
#include "app/widgets/textsearch.h"
#include "document/textcodec.h"

#include <QChar>
#include <algorithm>
#include <optional>
#include <set>
#include <unordered_map>

namespace {

// Case folding maps each of these to the first character of their group.
using TCaseClasses = std::unordered_map<char32_t, std::vector<char32_t>>;

const TCaseClasses& CaseClasses()
{
    static const TCaseClasses classes = [] {
        TCaseClasses map;
        // No script beyond the first two planes has case.
        for (char32_t c = 0; c < 0x20000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const char32_t folded = QChar::toCaseFolded(c);
            if (folded != c)
                map[folded].push_back(c);
        }
        for (auto& [folded, members] : map)
            members.push_back(folded);
        return map;
    }();
    return classes;
}

// The characters that match `c`: itself, or with case not mattering, all
// that fold as it does.
std::vector<char32_t> Variants(char32_t c, bool matchCase)
{
    if (matchCase)
        return {c};
    const TCaseClasses& classes = CaseClasses();
    const auto it = classes.find(QChar::toCaseFolded(c));
    return it == classes.end() ? std::vector<char32_t>{c} : it->second;
}

std::string Utf8Of(char32_t c)
{
    return QString::fromUcs4(&c, 1).toStdString();
}

std::optional<std::string> Windows1252Of(char32_t c)
{
    if (c > 0xFFFF)
        return std::nullopt;
    std::string bytes = EncodeText(std::u16string(1, static_cast<char16_t>(c)), TTextEncoding::Windows1252);
    // A character the code page lacks comes back as UTF-8, longer than a byte.
    if (bytes.size() != 1)
        return std::nullopt;
    return bytes;
}

bool IsLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n';
}

}  // namespace

QString EditorTextOf(std::string_view bytes)
{
    return ItemBytesToEditorText(bytes).text;
}

TTextMatcher::TTextMatcher(const QString& needle, TSearchOptions options) : m_needle(needle), m_options(options)
{
    if (needle.isEmpty())
        return;
    const QList<uint> units = needle.toUcs4();
    const std::vector<char32_t> characters(units.begin(), units.end());
    BuildFilter(characters);
    const bool ascii = std::all_of(characters.begin(), characters.end(),
                                   [](char32_t c) { return c < 0x80 && !IsLineBreak(c); });
    if (!ascii)
        return;
    std::string bytes;
    std::vector<bool> foldsFromOutside;
    for (char32_t c : characters) {
        bytes.push_back(static_cast<char>(c));
        const std::vector<char32_t> variants = Variants(c, m_options.matchCase);
        foldsFromOutside.push_back(
            std::any_of(variants.begin(), variants.end(), [](char32_t v) { return v >= 0x80; }));
    }
    m_asciiMatcher = TAsciiMatcher(bytes, m_options.matchCase, m_options.wholeWord, std::move(foldsFromOutside));
    m_countsOnBytes = true;
}

// A string reads as UTF-8 or as Windows-1252, so a match is, in one of the
// two, a run of forms of the needle's characters: the filter takes the bytes
// each form can start and end with, and every length such a run can have.
void TTextMatcher::BuildFilter(const std::vector<char32_t>& needle)
{
    // A line break in the editor is any of three byte forms; such rare
    // needles are looked for in every string's text.
    if (std::any_of(needle.begin(), needle.end(), IsLineBreak))
        return;
    std::vector<unsigned char> first, last;
    std::vector<size_t> distances;
    for (const bool utf8 : {true, false}) {
        std::vector<unsigned char> starts, ends;
        std::set<size_t> lengths{0};
        bool possible = true;
        for (size_t i = 0; i < needle.size() && possible; ++i) {
            std::vector<std::string> forms;
            for (char32_t v : Variants(needle[i], m_options.matchCase)) {
                if (utf8)
                    forms.push_back(Utf8Of(v));
                else if (std::optional<std::string> byte = Windows1252Of(v))
                    forms.push_back(*byte);
            }
            possible = !forms.empty();
            std::set<size_t> longer;
            for (size_t length : lengths)
                for (const std::string& form : forms)
                    longer.insert(length + form.size());
            lengths.swap(longer);
            for (const std::string& form : forms) {
                if (i == 0)
                    starts.push_back(static_cast<unsigned char>(form.front()));
                if (i + 1 == needle.size())
                    ends.push_back(static_cast<unsigned char>(form.back()));
            }
        }
        if (!possible)
            continue;
        first.insert(first.end(), starts.begin(), starts.end());
        last.insert(last.end(), ends.begin(), ends.end());
        for (size_t length : lengths)
            distances.push_back(length - 1);
    }
    // With neither encoding able to hold the needle, nothing can start a match.
    m_filter = TByteFilter(first, last, distances);
}

std::vector<TTextMatch> TTextMatcher::Find(const QString& text) const
{
    std::vector<TTextMatch> matches;
    TSearchOptions options = m_options;
    options.down = true;
    const int length = static_cast<int>(m_needle.size());
    for (int from = 0;;) {
        const int at = FindInText(text, m_needle, from, from, options);
        if (at < 0)
            return matches;
        matches.push_back({at, length});
        from = at + length;
    }
}

long TTextMatcher::CountOnBytes(std::string_view bytes) const
{
    return m_countsOnBytes ? m_asciiMatcher.Count(bytes) : TAsciiMatcher::Undecided;
}

long TTextMatcher::Count(std::string_view bytes) const
{
    if (!MayMatch(bytes))
        return 0;
    const long onBytes = CountOnBytes(bytes);
    if (onBytes != TAsciiMatcher::Undecided)
        return onBytes;
    return static_cast<long>(Find(EditorTextOf(bytes)).size());
}

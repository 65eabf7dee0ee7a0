#include "app/spelling/spellwords.h"

#include "document/linkgrammar.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <string_view>

namespace {

struct TRange {
    qsizetype from = 0;
    qsizetype to = 0;
};

bool EndsToken(QChar c)
{
    return c.isSpace() || c == u'<' || c == u'>' || c == u'(' || c == u')' || c == u'"' || c == u',' || c == u';';
}

// Mail addresses "name@host.org" and web addresses written without their
// scheme, "www.example.org": the link grammar asks for a scheme, a reader
// does not.
void AddBareAddresses(QStringView text, std::vector<TRange>& skips)
{
    auto token = [text](qsizetype at) {
        TRange range{at, at};
        while (range.from > 0 && !EndsToken(text[range.from - 1]))
            --range.from;
        while (range.to < text.size() && !EndsToken(text[range.to]))
            ++range.to;
        return range;
    };
    for (qsizetype at = text.indexOf(u'@'); at >= 0; at = text.indexOf(u'@', at + 1)) {
        const TRange range = token(at);
        if (range.from < at && text.sliced(at, range.to - at).contains(u'.'))
            skips.push_back(range);
        at = std::max(at, range.to - 1);
    }
    for (qsizetype at = text.indexOf(u"www.", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"www.", at + 1, Qt::CaseInsensitive)) {
        if (at == 0 || EndsToken(text[at - 1]))
            skips.push_back(token(at));
    }
}

// A word joined to the next or the one before by a full stop is part of a
// host name ("example.com") or an abbreviation ("e.g.").
bool Dotted(QStringView text, qsizetype start, qsizetype end)
{
    return (start >= 2 && text[start - 1] == u'.' && text[start - 2].isLetterOrNumber()) ||
           (end + 1 < text.size() && text[end] == u'.' && text[end + 1].isLetterOrNumber());
}

bool WorthChecking(QStringView word)
{
    int letters = 0;
    bool lower = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word[i];
        if (c.isDigit() || c == u'_')
            return false;
        if (c.isLetter()) {
            ++letters;
            lower = lower || !c.isUpper();
        }
    }
    return letters == 1 || (letters > 1 && lower);
}

}  // namespace

std::vector<TSpellWord> FindSpellWords(QStringView text)
{
    std::vector<TRange> skips;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    for (const TLinkSpan& span : FindLinks(view))
        skips.push_back({static_cast<qsizetype>(span.start), static_cast<qsizetype>(span.start + span.length)});
    AddBareAddresses(text, skips);
    std::sort(skips.begin(), skips.end(), [](const TRange& a, const TRange& b) { return a.from < b.from; });

    std::vector<TSpellWord> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), text.size());
    size_t skip = 0;
    qsizetype start = -1;
    for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary()) {
        const QTextBoundaryFinder::BoundaryReasons reasons = finder.boundaryReasons();
        if (start >= 0 && reasons.testFlag(QTextBoundaryFinder::EndOfItem)) {
            while (skip < skips.size() && skips[skip].to <= start)
                ++skip;
            const bool skipped = skip < skips.size() && skips[skip].from < at;
            if (!skipped && !Dotted(text, start, at) && WorthChecking(text.sliced(start, at - start)))
                words.push_back({static_cast<int>(start), static_cast<int>(at - start)});
            start = -1;
        }
        if (reasons.testFlag(QTextBoundaryFinder::StartOfItem))
            start = at;
    }
    return words;
}

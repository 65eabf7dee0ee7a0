#include "document/linkgrammar.h"

#include "document/itemnamematch.h"
#include "document/parallelwalk.h"
#include "document/textcodec.h"
#include "document/treelist.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

namespace {

template <typename Char> uint32_t Unit(Char c)
{
    return static_cast<std::make_unsigned_t<Char>>(c);
}

// Bytes above 0x7F may be parts of UTF-8 sequences, so only decoded text
// knows the wider spaces.
template <typename Char> bool IsSpace(Char c)
{
    const uint32_t u = Unit(c);
    if (u <= 0x20 || u == 0x7F)
        return true;
    return sizeof(Char) > 1 && (u == 0xA0 || u == 0x2028 || u == 0x2029 || u == 0x3000);
}

template <typename Char> bool IsLineBreak(Char c)
{
    const uint32_t u = Unit(c);
    return u == '\n' || u == '\r' || (sizeof(Char) > 1 && (u == 0x2028 || u == 0x2029));
}

template <typename Char> bool IsAsciiAlnum(Char c)
{
    const uint32_t u = Unit(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

constexpr std::array<std::string_view, 5> Schemes = {"http://", "https://", "ftp://", "mailto:", "file:"};

template <typename Char> size_t SchemeLength(std::basic_string_view<Char> text, size_t i)
{
    for (std::string_view scheme : Schemes) {
        if (text.size() - i < scheme.size())
            continue;
        bool same = true;
        for (size_t k = 0; same && k < scheme.size(); ++k) {
            uint32_t u = Unit(text[i + k]);
            if (u >= 'A' && u <= 'Z')
                u += 'a' - 'A';
            same = u == static_cast<uint32_t>(scheme[k]);
        }
        if (same)
            return scheme.size();
    }
    return 0;
}

// The end of the address whose scheme starts at `i`, or `i` when none.
template <typename Char> size_t AddressEnd(std::basic_string_view<Char> text, size_t i, size_t schemeLength)
{
    const size_t body = i + schemeLength;
    const bool quoted = i > 0 && Unit(text[i - 1]) == '\'';
    int round = 0, square = 0, curly = 0;
    size_t j = body;
    // A closing bracket belongs to the address only when it closes one
    // opened inside it, as in a wiki address "Thing_(disambiguation)".
    auto closes = [](int& depth) { return depth == 0 || --depth < 0; };
    for (; j < text.size(); ++j) {
        const uint32_t u = Unit(text[j]);
        if (IsSpace(text[j]) || u == '"' || u == '<' || u == '>' || u == '`' || (u == '\'' && quoted))
            break;
        if (u == '(')
            ++round;
        else if (u == '[')
            ++square;
        else if (u == '{')
            ++curly;
        else if ((u == ')' && closes(round)) || (u == ']' && closes(square)) || (u == '}' && closes(curly)))
            break;
    }
    while (j > body && std::u16string_view(u".,;:!?").find(static_cast<char16_t>(Unit(text[j - 1]))) !=
                           std::u16string_view::npos)
        --j;
    return j > body ? j : i;
}

// The end of the item link opening at `i`, or `i` when there is none.
template <typename Char> size_t ItemLinkEnd(std::basic_string_view<Char> text, size_t i)
{
    const size_t n = text.size();
    if (i + 5 > n || Unit(text[i]) != '[' || Unit(text[i + 1]) != '[')
        return i;
    const uint32_t first = Unit(text[i + 2]);
    // "[[[x]]" is a bracket before the link "[[x]]".
    if (IsSpace(text[i + 2]) || first == '[' || first == ']')
        return i;
    for (size_t k = i + 3; k + 1 < n; ++k) {
        if (IsLineBreak(text[k]))
            return i;
        const uint32_t u = Unit(text[k]), next = Unit(text[k + 1]);
        // A later opening starts the link; this one was a stray bracket.
        if (u == '[' && next == '[')
            return i;
        if (u == ']' && next == ']')
            return IsSpace(text[k - 1]) ? i : k + 2;
    }
    return i;
}

template <typename Char> std::vector<TLinkSpan> Scan(std::basic_string_view<Char> text)
{
    std::vector<TLinkSpan> links;
    const size_t n = text.size();
    size_t from = 0;  // where the next link may start
    // Every item link begins "[[", and every address has the colon of its
    // scheme three to six characters after its start: a description of
    // megabytes is passed over looking for those two characters only, each
    // found by the library's fast search and kept until it is passed.
    auto next = [&text, n](size_t at, char c) {
        const size_t found = text.find(static_cast<Char>(c), at);
        return found == text.npos ? n : found;
    };
    size_t colon = next(0, ':'), bracket = next(0, '[');
    while (from < n) {
        if (colon < from)
            colon = next(from, ':');
        if (bracket < from)
            bracket = next(from, '[');
        const size_t mark = std::min(colon, bracket);
        if (mark == n)
            break;
        if (mark == bracket) {
            const size_t itemEnd = ItemLinkEnd(text, mark);
            if (itemEnd > mark)
                links.push_back({mark, itemEnd - mark, TLinkKind::Item});
            from = std::max(itemEnd, mark + 1);
            continue;
        }
        size_t addressStart = 0, addressEnd = 0;
        for (size_t start = std::max(from, mark >= 6 ? mark - 6 : size_t{0}); start + 3 <= mark; ++start) {
            if (start > 0 && IsAsciiAlnum(text[start - 1]))
                continue;
            const size_t scheme = SchemeLength(text, start);
            if (scheme == 0)
                continue;
            const size_t end = AddressEnd(text, start, scheme);
            if (end > start) {
                addressStart = start;
                addressEnd = end;
                break;
            }
        }
        if (addressEnd > addressStart) {
            links.push_back({addressStart, addressEnd - addressStart, TLinkKind::Address});
            from = addressEnd;
        } else {
            from = mark + 1;
        }
    }
    return links;
}

TTreeListTextNode* FindPath(const TTreeListTextNode* parent, const TTreeList& tree,
                            const std::vector<TItemNameMatch>& names, size_t level)
{
    const int count = parent ? parent->Count() : tree.TopItemCount();
    for (int index = 0; index < count; ++index) {
        TTreeListTextNode* item = parent ? parent->Child(index) : tree.TopItem(index);
        if (!names[level](item))
            continue;
        if (level + 1 == names.size())
            return item;
        if (TTreeListTextNode* found = FindPath(item, tree, names, level + 1))
            return found;
    }
    return nullptr;
}

// The first item in document order with the name. Most links find theirs
// among the first items; past those, a large tree is shared between the
// processor's cores, each stretch given up once an earlier one has found it.
TTreeListTextNode* FirstNamed(const TTreeList& tree, const TItemNameMatch& name)
{
    constexpr unsigned Alone = 1 << 16;
    unsigned n = 0;
    TTreeListTextNode* item = tree.TopItem(0);
    for (; item && n < Alone; ++n, item = tree.NextInDocument(item))
        if (name(item))
            return item;
    if (!item)
        return nullptr;
    const std::vector<TTreeListTextNode*> starts = DocumentStretches(tree);
    std::vector<TTreeListTextNode*> found(starts.size(), nullptr);
    std::atomic<size_t> first{starts.size()};  // the earliest stretch with the name
    RunParallel(starts.size(), [&](size_t i) {
        const TTreeListTextNode* end = i + 1 < starts.size() ? starts[i + 1] : nullptr;
        unsigned walked = 0;
        for (TTreeListTextNode* at = starts[i]; at != end; at = tree.NextInDocument(at)) {
            if (++walked % 4096 == 0 && first.load() < i)
                return;
            if (name(at)) {
                found[i] = at;
                for (size_t was = first.load(); i < was && !first.compare_exchange_weak(was, i);) {
                }
                return;
            }
        }
    });
    for (TTreeListTextNode* match : found)
        if (match)
            return match;
    return nullptr;
}

}  // namespace

std::vector<TLinkSpan> FindLinks(std::u16string_view text)
{
    return Scan(text);
}

std::vector<TLinkSpan> FindLinks(std::string_view text)
{
    return Scan(text);
}

std::vector<std::u16string> ItemLinkPath(std::u16string_view link)
{
    if (link.size() >= 4 && link.substr(0, 2) == u"[[" && link.substr(link.size() - 2) == u"]]")
        link = link.substr(2, link.size() - 4);
    std::vector<std::u16string> path(1);
    for (size_t i = 0; i < link.size(); ++i) {
        if (link[i] == u'\\' && i + 1 < link.size() && link[i + 1] == u'/')
            path.back() += link[++i];
        else if (link[i] == u'/')
            path.emplace_back();
        else
            path.back() += link[i];
    }
    return path;
}

std::u16string ItemLinkText(const std::vector<std::u16string>& path)
{
    std::u16string text = u"[[";
    for (size_t level = 0; level < path.size(); ++level) {
        if (level > 0)
            text += u'/';
        for (char16_t c : path[level]) {
            if (c == u'/')
                text += u'\\';
            text += c;
        }
    }
    return text + u"]]";
}

TTreeListTextNode* ResolveItemLink(const TTreeList& tree, const std::vector<std::u16string>& path)
{
    if (path.empty())
        return nullptr;
    std::vector<TItemNameMatch> names;
    for (const std::u16string& name : path)
        names.emplace_back(name);
    if (names.size() == 1)
        return FirstNamed(tree, names[0]);
    return FindPath(nullptr, tree, names, 0);
}

std::u16string ItemLinkOf(const TTreeListTextNode* item, bool byPath)
{
    std::vector<std::u16string> path;
    for (const TTreeListTextNode* at = item; at && (byPath || path.empty()); at = at->Parent())
        path.push_back(DecodeText(at->GetText(TreeListColumnName)).text);
    std::reverse(path.begin(), path.end());
    return ItemLinkText(path);
}

std::u16string ShortestItemLink(const TTreeList& tree, const TTreeListTextNode* item)
{
    const std::u16string name = DecodeText(item->GetText(TreeListColumnName)).text;
    return ItemLinkOf(item, ResolveItemLink(tree, {name}) != item);
}

std::string ReplaceLinks(const TLinksInDescription& found, const std::u16string& replacement)
{
    const std::u16string& text = found.description.text;
    std::u16string result;
    size_t from = 0;
    for (const TLinkSpan& span : found.links) {
        result.append(text, from, span.start - from);
        result += replacement;
        from = span.start + span.length;
    }
    result.append(text, from);
    return EncodeText(result, found.description.encoding);
}

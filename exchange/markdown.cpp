#include "exchange/markdown.h"

#include "document/fileio.h"
#include "document/linkgrammar.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/fileimport.h"
#include "exchange/treewalk.h"

#include <cmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

constexpr int HeadingLevels = 6;

bool IsAsciiPunctuation(char c)
{
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

void AppendReference(std::string& out, unsigned char c)
{
    out += "&#";
    out += std::to_string(c);
    out += ';';
}

void AppendName(std::string& out, std::string_view name)
{
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const auto b = static_cast<unsigned char>(c);
        if (IsAsciiPunctuation(c)) {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F || (c == ' ' && (first == std::string_view::npos || i < first || i > last))) {
            AppendReference(out, b);
        } else {
            out += c;
        }
    }
}

size_t LongestBacktickRun(std::string_view text)
{
    size_t longest = 0;
    for (size_t at = text.find('`'); at != std::string_view::npos;) {
        const size_t end = std::min(text.find_first_not_of('`', at), text.size());
        longest = std::max(longest, end - at);
        at = text.find('`', end);
    }
    return longest;
}

// The description as a fenced code block, each line behind `indent` spaces
// (the list item's content column). Any line break ends a line.
void AppendDescription(std::string& out, std::string_view desc, size_t indent)
{
    const std::string fence(std::max<size_t>(3, LongestBacktickRun(desc) + 1), '`');
    out.append(indent, ' ');
    out += fence;
    out += '\n';
    size_t start = 0;
    for (;;) {
        const auto breakAt = std::find_if(desc.begin() + static_cast<ptrdiff_t>(start), desc.end(),
                                          [](char c) { return c == '\r' || c == '\n'; });
        const size_t end = breakAt == desc.end() ? std::string_view::npos : static_cast<size_t>(breakAt - desc.begin());
        const std::string_view line = desc.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty()) {
            out.append(indent, ' ');
            out += line;
        }
        out += '\n';
        if (end == std::string_view::npos)
            break;
        start = end + (desc[end] == '\r' && end + 1 < desc.size() && desc[end + 1] == '\n' ? 2 : 1);
    }
    out.append(indent, ' ');
    out += fence;
    out += '\n';
}

struct TNodeFree {
    void operator()(cmark_node* node) const { cmark_node_free(node); }
};
// The parser, freed also when the reading stops early: a parser that has not
// finished keeps a document that freeing the parser does not free, and
// finishing twice is not allowed.
class TParser {
public:
    TParser() : m_parser(cmark_parser_new(CMARK_OPT_DEFAULT)) {}
    ~TParser()
    {
        if (!m_finished)
            cmark_node_free(cmark_parser_finish(m_parser));
        cmark_parser_free(m_parser);
    }
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    void Feed(const char* data, size_t size) { cmark_parser_feed(m_parser, data, size); }
    cmark_node* Finish()
    {
        m_finished = true;
        return cmark_parser_finish(m_parser);
    }

private:
    cmark_parser* m_parser;
    bool m_finished = false;
};

struct TIterFree {
    void operator()(cmark_iter* iter) const { cmark_iter_free(iter); }
};

bool IsLeaf(cmark_node_type type)
{
    switch (type) {
    case CMARK_NODE_HTML_BLOCK:
    case CMARK_NODE_THEMATIC_BREAK:
    case CMARK_NODE_CODE_BLOCK:
    case CMARK_NODE_TEXT:
    case CMARK_NODE_SOFTBREAK:
    case CMARK_NODE_LINEBREAK:
    case CMARK_NODE_CODE:
    case CMARK_NODE_HTML_INLINE:
        return true;
    default:
        return false;
    }
}

const char* Literal(cmark_node* node)
{
    const char* literal = cmark_node_get_literal(node);
    return literal ? literal : "";
}

[[noreturn]] void Fail(cmark_node* node, const std::string& reason)
{
    throw EImportError("", cmark_node_get_start_line(node), cmark_node_get_start_column(node), reason);
}

// The offset of the first byte that is not part of valid UTF-8, npos when all are.
size_t FirstInvalidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        size_t length = 1;
        uint32_t min = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            min = 0x10000;
        } else {
            return i;
        }
        if (i + length > bytes.size())
            return i;
        uint32_t code = b & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return i;
            code = code << 6 | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return std::string_view::npos;
}

// Checks the input piece by piece as it goes to the parser, a character
// split between two pieces included, and knows the line and column of the
// first byte that is not UTF-8.
class TUtf8Check {
public:
    void Next(std::string_view piece)
    {
        // A character split between two pieces is completed a byte at a time.
        while (!m_carry.empty() && !piece.empty()) {
            m_carry += piece.front();
            piece.remove_prefix(1);
            if (FirstInvalidUtf8(m_carry) == std::string_view::npos) {
                Advance(m_carry);
                m_carry.clear();
            } else if (!Incomplete(m_carry)) {
                Fail();
            }
        }
        if (!m_carry.empty())
            return;
        const size_t bad = FirstInvalidUtf8(piece);
        if (bad == std::string_view::npos) {
            Advance(piece);
            return;
        }
        Advance(piece.substr(0, bad));
        if (!Incomplete(piece.substr(bad)))
            Fail();
        m_carry = std::string(piece.substr(bad));
    }

    // At the end no character may be left unfinished.
    void Finish()
    {
        if (!m_carry.empty())
            Fail();
    }

private:
    // True for the first bytes of a character that more bytes may complete.
    static bool Incomplete(std::string_view start)
    {
        const auto b = static_cast<unsigned char>(start.front());
        const size_t length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (start.size() >= length)
            return false;
        for (size_t k = 1; k < start.size(); ++k)
            if ((static_cast<unsigned char>(start[k]) & 0xC0) != 0x80)
                return false;
        return true;
    }

    void Advance(std::string_view valid)
    {
        const size_t lastBreak = valid.rfind('\n');
        if (lastBreak == std::string_view::npos) {
            m_column += static_cast<int64_t>(valid.size());
            return;
        }
        m_line += std::count(valid.begin(), valid.end(), '\n');
        m_column = static_cast<int64_t>(valid.size() - lastBreak);
    }

    [[noreturn]] void Fail() const { throw EImportError("", m_line, m_column, "the text is not valid UTF-8"); }

    std::string m_carry;
    int64_t m_line = 1;
    int64_t m_column = 1;
};

// Refuses a document nested deeper than the items may be: the list levels
// each take two nodes (list and item), quotes and the rest one.
void CheckDepth(cmark_node* document, int maxDepth)
{
    const int64_t limit = 2 * static_cast<int64_t>(maxDepth) + 8;
    std::unique_ptr<cmark_iter, TIterFree> iter(cmark_iter_new(document));
    int64_t depth = 0;
    for (cmark_event_type event; (event = cmark_iter_next(iter.get())) != CMARK_EVENT_DONE;) {
        cmark_node* node = cmark_iter_get_node(iter.get());
        if (event == CMARK_EVENT_EXIT) {
            --depth;
        } else if (!IsLeaf(cmark_node_get_type(node)) && ++depth > limit) {
            Fail(node, "Markdown nested deeper than " + std::to_string(maxDepth) + " levels");
        }
    }
}

// cmark encodes U+FFFE and U+FFFF, where it writes a character itself (a
// rendered block, a character reference), as the single bytes FE and FF,
// utf8proc's private convention. Valid UTF-8 holds neither byte, and the
// input was checked to be UTF-8, so each stands for one of the two.
std::string& RepairNoncharacters(std::string& text)
{
    // Two scans of memchr's speed; find_first_of looks at one byte at a time.
    if (text.find('\xFE') == std::string::npos && text.find('\xFF') == std::string::npos)
        return text;
    std::string repaired;
    repaired.reserve(text.size() + 16);
    for (const char c : text) {
        if (c == '\xFE' || c == '\xFF') {
            repaired += "\xEF\xBF";
            repaired += c == '\xFE' ? '\xBE' : '\xBF';
        } else {
            repaired += c;
        }
    }
    text.swap(repaired);
    return text;
}

// The plain text of a heading or paragraph: its text, code spans and inline
// HTML as written, emphasis and links reduced to their text.
std::string InlineText(cmark_node* block)
{
    std::string text;
    std::unique_ptr<cmark_iter, TIterFree> iter(cmark_iter_new(block));
    for (cmark_event_type event; (event = cmark_iter_next(iter.get())) != CMARK_EVENT_DONE;) {
        if (event != CMARK_EVENT_ENTER)
            continue;
        cmark_node* node = cmark_iter_get_node(iter.get());
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_TEXT:
        case CMARK_NODE_CODE:
        case CMARK_NODE_HTML_INLINE:
            text += Literal(node);
            break;
        case CMARK_NODE_SOFTBREAK: text += ' '; break;
        case CMARK_NODE_LINEBREAK: text += '\n'; break;
        default: break;
        }
    }
    return RepairNoncharacters(text);
}

// A new inline node with `literal`, put before `next`.
void InsertInline(cmark_node* next, cmark_node_type type, const std::string& literal)
{
    cmark_node* node = cmark_node_new(type);
    if (!node || !cmark_node_set_literal(node, literal.c_str()) || !cmark_node_insert_before(next, node)) {
        cmark_node_free(node);
        throw std::bad_alloc();
    }
}

// Item links as written: the CommonMark renderer would escape their brackets
// ("\[\[Name\]\]"), and raw inline HTML is the one inline it writes as it
// is. Each link found by the link grammar in the block's text becomes one.
void KeepItemLinks(cmark_node* block)
{
    // "[[Name]]" is parsed as several texts, one per bracket.
    cmark_consolidate_text_nodes(block);
    std::vector<cmark_node*> texts;
    {
        std::unique_ptr<cmark_iter, TIterFree> iter(cmark_iter_new(block));
        for (cmark_event_type event; (event = cmark_iter_next(iter.get())) != CMARK_EVENT_DONE;) {
            cmark_node* node = cmark_iter_get_node(iter.get());
            if (event == CMARK_EVENT_ENTER && cmark_node_get_type(node) == CMARK_NODE_TEXT &&
                std::strstr(cmark_node_get_literal(node), "[["))
                texts.push_back(node);
        }
    }
    for (cmark_node* node : texts) {
        const std::string literal = cmark_node_get_literal(node);
        size_t from = 0;
        for (const TLinkSpan& span : FindLinks(std::string_view(literal))) {
            if (span.kind != TLinkKind::Item)
                continue;
            if (span.start > from)
                InsertInline(node, CMARK_NODE_TEXT, literal.substr(from, span.start - from));
            InsertInline(node, CMARK_NODE_HTML_INLINE, literal.substr(span.start, span.length));
            from = span.start + span.length;
        }
        if (from == 0)
            continue;
        if (from < literal.size()) {
            cmark_node_set_literal(node, literal.c_str() + from);
        } else {
            cmark_node_unlink(node);
            cmark_node_free(node);
        }
    }
}

std::string Description(const std::vector<cmark_node*>& blocks)
{
    std::string text;
    if (blocks.size() == 1 && cmark_node_get_type(blocks[0]) == CMARK_NODE_CODE_BLOCK) {
        text = Literal(blocks[0]);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
    } else {
        for (cmark_node* block : blocks) {
            KeepItemLinks(block);
            std::unique_ptr<char, decltype(&std::free)> rendered(cmark_render_commonmark(block, CMARK_OPT_DEFAULT, 0),
                                                                &std::free);
            if (!text.empty())
                text += '\n';
            text += rendered.get();
        }
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
    }
    return NormaliseLineBreaks(RepairNoncharacters(text));
}

class TMarkdownReader {
public:
    TMarkdownReader(TTreeList& tree, const TImportLimits& limits) : m_builder(tree, limits.MaxDepth) {}

    // The top-level blocks of one part of the file, up to `end` (not included).
    void Read(cmark_node* document, cmark_node* end = nullptr)
    {
        // Each block is freed once its items are made, so the parsed
        // document shrinks while the tree grows.
        cmark_node* next = nullptr;
        for (cmark_node* node = cmark_node_first_child(document); node && node != end; node = next) {
            next = cmark_node_next(node);
            switch (cmark_node_get_type(node)) {
            case CMARK_NODE_HEADING: {
                FlushDescription();
                const int level = cmark_node_get_heading_level(node);
                while (!m_headings.empty() && m_headings.back() >= level)
                    m_headings.pop_back();
                m_descItem = Add(node, static_cast<int>(m_headings.size()));
                m_headings.push_back(level);
                m_descItem->SetText(TreeListColumnName, InlineText(node));
                cmark_node_free(node);
                break;
            }
            case CMARK_NODE_LIST:
                ReadList(node, static_cast<int>(m_headings.size()));
                cmark_node_free(node);
                break;
            default:
                if (!m_descItem)
                    m_descItem = Add(node, 0);
                m_descBlocks.push_back(node);
                break;
            }
        }
        FlushDescription();
    }

private:
    TTreeListTextNode* Add(cmark_node* node, int depth)
    {
        return m_builder.Add(depth, cmark_node_get_start_line(node), cmark_node_get_start_column(node));
    }

    void FlushDescription()
    {
        if (m_descItem && !m_descBlocks.empty())
            m_descItem->SetText(TreeListColumnDesc, Description(m_descBlocks));
        for (cmark_node* block : m_descBlocks)
            cmark_node_free(block);
        m_descBlocks.clear();
    }

    // The items of a list and of the lists nested in them, in document order.
    void ReadList(cmark_node* list, int depth)
    {
        struct Frame {
            cmark_node* next;
            int depth;
        };
        std::vector<Frame> pending{{cmark_node_first_child(list), depth}};
        std::vector<cmark_node*> blocks;
        std::vector<cmark_node*> lists;
        while (!pending.empty()) {
            cmark_node* node = pending.back().next;
            const int itemDepth = pending.back().depth;
            if (!node) {
                pending.pop_back();
                continue;
            }
            pending.back().next = cmark_node_next(node);
            TTreeListTextNode* item = Add(node, itemDepth);
            cmark_node* child = cmark_node_first_child(node);
            // An empty item still has its (empty) name, as a heading does:
            // the export writes both alike, so a round trip keeps the tree.
            if (child && cmark_node_get_type(child) == CMARK_NODE_PARAGRAPH) {
                item->SetText(TreeListColumnName, InlineText(child));
                child = cmark_node_next(child);
            } else {
                item->SetText(TreeListColumnName, "");
            }
            blocks.clear();
            lists.clear();
            for (; child; child = cmark_node_next(child))
                (cmark_node_get_type(child) == CMARK_NODE_LIST ? lists : blocks).push_back(child);
            if (!blocks.empty())
                item->SetText(TreeListColumnDesc, Description(blocks));
            for (auto nested = lists.rbegin(); nested != lists.rend(); ++nested)
                pending.push_back({cmark_node_first_child(*nested), itemDepth + 1});
        }
    }

    TTreeBuilder m_builder;
    std::vector<int> m_headings;  // the levels of the headings the next items go below
    TTreeListTextNode* m_descItem = nullptr;
    std::vector<cmark_node*> m_descBlocks;
};

}  // namespace

void ExportMarkdown(const TTreeList& tree, const std::string& fileName)
{
    tree.CommitEdits();
    int deepest = 0;
    WalkTree(
        tree, [&](const TTreeListTextNode&, int depth) { deepest = std::max(deepest, depth); },
        [](const TTreeListTextNode&, int) {});
    if (deepest > MarkdownMaxDepth)
        throw std::runtime_error("Cannot export " + fileName + ": items nested deeper than " +
                                 std::to_string(MarkdownMaxDepth) + " levels do not fit in Markdown");
    TBufferedWriter file = CreateExportFile(fileName);
    std::string out;
    std::string nameScratch;
    std::string descScratch;
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int depth) {
            const std::string_view name = AsUtf8(item.GetText(TreeListColumnName), nameScratch);
            size_t indent = 0;
            if (depth < HeadingLevels) {
                // A blank line before each heading ends any list above it.
                if (&item != tree.TopItem(0))
                    out += '\n';
                out.append(static_cast<size_t>(depth) + 1, '#');
            } else {
                indent = static_cast<size_t>(depth - HeadingLevels) * 2;
                out.append(indent, ' ');
                out += '-';
                indent += 2;
            }
            if (!name.empty()) {
                out += ' ';
                AppendName(out, name);
            }
            out += '\n';
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), descScratch);
            if (!desc.empty())
                AppendDescription(out, desc, indent);
            if (out.size() >= (1 << 20)) {
                file.Write(out);
                out.clear();
            }
        },
        [](const TTreeListTextNode&, int) {});
    file.Write(out);
    file.Close();
}

void ReadMarkdown(TTreeList& tree, TByteSource& source, const TImportLimits& limits)
{
    constexpr size_t Piece = size_t{1} << 20;
    TMarkdownReader reader(tree, limits);
    TUtf8Check utf8;
    std::string pending;  // the text from the start of the current part on
    size_t total = 0;
    int64_t linesBefore = 0;  // the lines of the file before `pending`
    bool atEnd = false;
    const auto readMore = [&] {
        const size_t old = pending.size();
        pending.resize(old + Piece);
        const size_t got = source.Read(pending.data() + old, Piece);
        pending.resize(old + got);
        total += got;
        if (total > limits.MaxInputBytes)
            throw EImportError("", 0, 0, "the file is larger than " + std::to_string(limits.MaxInputBytes) + " bytes");
        utf8.Next(std::string_view(pending.data() + old, got));
        atEnd = got == 0;
    };
    // One part parsed and read, up to the block `end`; its errors count the file's lines.
    const auto readPart = [&](cmark_node* document, cmark_node* end) {
        try {
            CheckDepth(document, limits.MaxDepth);
            reader.Read(document, end);
        } catch (const EImportError& e) {
            throw EImportError("", e.Line() > 0 ? e.Line() + linesBefore : 0, e.Column(), e.Reason());
        }
    };

    // cmark keeps the whole parsed document, a few times the size of its
    // text, until the end. A large file is parsed in parts of about
    // MarkdownPartBytes instead, each beginning at a line that starts with
    // "#": once cmark, given the part up to and including that line, reads
    // it as a top-level heading, nothing before it can reach past it.
    size_t minimum = std::max<size_t>(limits.MarkdownPartBytes, 1);  // the least length of a part
    size_t scanned = 0;                                                // where the search goes on
    for (;;) {
        size_t cut = std::string::npos;
        size_t cutEnd = std::string::npos;
        for (;;) {
            const size_t from = std::max(scanned, minimum - 1);
            const size_t at = from < pending.size() ? pending.find("\n#", from) : std::string::npos;
            if (at != std::string::npos) {
                const size_t end = pending.find('\n', at + 1);
                if (end != std::string::npos) {
                    cut = at + 1;
                    cutEnd = end + 1;
                    break;
                }
                scanned = at;
            } else if (!pending.empty()) {
                scanned = std::max(scanned, pending.size() - 1);
            }
            if (atEnd)
                break;
            readMore();
        }
        if (cut == std::string::npos) {
            utf8.Finish();
            TParser parser;
            parser.Feed(pending.data(), pending.size());
            std::unique_ptr<cmark_node, TNodeFree> document(parser.Finish());
            pending = std::string();
            readPart(document.get(), nullptr);
            return;
        }
        TParser parser;
        parser.Feed(pending.data(), cutEnd);
        std::unique_ptr<cmark_node, TNodeFree> document(parser.Finish());
        cmark_node* last = cmark_node_last_child(document.get());
        const int64_t cutLine = std::count(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(cut), '\n') + 1;
        if (last && cmark_node_get_type(last) == CMARK_NODE_HEADING && cmark_node_get_start_line(last) == cutLine) {
            readPart(document.get(), last);
            linesBefore += cutLine - 1;
            pending.erase(0, cut);
            scanned = 0;
            minimum = std::max<size_t>(limits.MarkdownPartBytes, 1);
        } else {
            // The line is inside a code block or HTML: the part grows, twice
            // as long each time, so that parsing again stays in proportion.
            scanned = cut;
            minimum = 2 * cut;
        }
    }
}

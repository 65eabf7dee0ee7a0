// The structured exchange formats: export then import gives the tree back,
// malformed and hostile files end in an error that names file, line and
// column, and trdtool's verbs do the same as the library.
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/htmlexport.h"
#include "exchange/indentedtext.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"
#include "exchange/treeimport.h"
#include "exchange/treewalk.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>

namespace {

// One item as a line: depth, icon, name and description, bytes shown in hex
// where they are not printable, so a failure shows where two trees differ.
std::string Dump(const TTreeList& tree)
{
    std::ostringstream out;
    const auto quoted = [&](std::string_view text) {
        for (unsigned char c : text) {
            if (c < 0x20 || c >= 0x7F || c == '\\')
                out << "\\x" << "0123456789ABCDEF"[c >> 4] << "0123456789ABCDEF"[c & 15];
            else
                out << c;
        }
    };
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int depth) {
            out << depth << ' ' << item.ImageIndex() << " [";
            quoted(item.GetText(TreeListColumnName));
            out << "] [";
            quoted(item.GetText(TreeListColumnDesc));
            out << "]\n";
        },
        [](const TTreeListTextNode&, int) {});
    return out.str();
}

struct TItem {
    int depth;
    std::string name;
    std::string desc = {};
    int icon = 0;
};

// Items given in document order by depth.
void Build(TTreeList& tree, const std::vector<TItem>& items)
{
    std::vector<TTreeListTextNode*> path;
    for (const TItem& item : items) {
        path.resize(static_cast<size_t>(item.depth));
        TTreeListTextNode* node = path.empty() ? tree.AddItem() : path.back()->AddChild();
        node->SetText(TreeListColumnName, item.name);
        node->SetText(TreeListColumnDesc, item.desc);
        node->SetImageIndex(item.icon);
        path.push_back(node);
    }
}

std::vector<TItem> Chain(int depth)
{
    std::vector<TItem> items;
    for (int i = 0; i < depth; ++i)
        items.push_back({i, "level " + std::to_string(i), i + 1 == depth ? "bottom\r\n" : ""});
    items.push_back({1, "back up", ""});
    return items;
}

struct TRoundTrip {
    const char* label;
    std::vector<TItem> items;
    // What Markdown gives back where it differs from the tree (icons are
    // never kept there); OPML gives back `items` exactly, Windows-1252 in UTF-8.
    std::vector<TItem> markdown;
};

const char Cp1252Name[] = "caf\xE9 \x80";          // é and € in Windows-1252
const char Cp1252AsUtf8[] = "caf\xC3\xA9 \xE2\x82\xAC";

const TRoundTrip RoundTrips[] = {
    {"nested", {{0, "Tools", "hammer\r\nsaw", 3}, {1, "Misc", ""}, {2, "Deep", "x", -1}, {0, "Second", ""}},
     {{0, "Tools", "hammer\r\nsaw"}, {1, "Misc", ""}, {2, "Deep", "x"}, {0, "Second", ""}}},
    {"empty names and descriptions", {{0, "", ""}, {1, "", ""}, {0, "", "only a description"}, {1, "x", ""}}, {}},
    {"spaces and tabs",
     {{0, "  lead", "  indented\r\n\tTab\r\ntrail  "}, {0, "trail  ", "\t"}, {0, "\ttab\tin\t", " "}, {0, " ", ""}},
     {}},
    {"markup and line breaks",
     {{0, "<b>&amp;\"'</b> # * _ [x](y) `c` \\", "```\r\n````\r\n~~~\r\n</outline>]]>\r\n\r\n"},
      {1, "# not a heading", "- not a list\r\n> nor a quote"},
      {1, "1. not a list", "\r\n\r\nstarts with breaks"},
      {1, "- dash", "\r\n"},
      {0, "%25 %zz", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"}},
     {}},
    {"lone breaks", {{0, "a", "one\ntwo\rthree\r\n"}}, {{0, "a", "one\r\ntwo\r\nthree\r\n"}}},
    {"control characters",
     {{0, "a\x01z\x1F", std::string("\x7F\x0B\x0C\xEF\xBF\xBF\xEF\xBF\xBE", 9)},
      {0, "a long name, then a control:\x02", "0123456789abcdef%0123456&01234<>\"\xEF\xBF\xBE tail"}},
     {}},
    {"NUL bytes", {{0, std::string("a\0b", 3), std::string("c\0d", 3)}},
     {{0, "a\xEF\xBF\xBD" "b", "c\xEF\xBF\xBD" "d"}}},
    {"Windows-1252", {{0, Cp1252Name, Cp1252Name}}, {}},
    {"list levels", {{0, "1"}, {1, "2"}, {2, "3"}, {3, "4"}, {4, "5"}, {5, "6", "d6"}, {6, "7", "d7"}, {7, "8"},
                     {6, "7b", "d\r\n  with indent"}, {5, "6b"}, {6, "7c"}, {0, "top"}},
     {}},
    {"a thousand levels", Chain(1000), {}},
};

// The tree as Markdown gives it back when the case gives no list of its own.
std::vector<TItem> AsMarkdown(const TRoundTrip& trip)
{
    std::vector<TItem> items = trip.markdown.empty() ? trip.items : trip.markdown;
    for (TItem& item : items)
        item.icon = 0;
    return items;
}

std::vector<TItem> InUtf8(std::vector<TItem> items)
{
    for (TItem& item : items)
        for (std::string* text : {&item.name, &item.desc})
            if (*text == Cp1252Name)
                *text = Cp1252AsUtf8;
    return items;
}

class RoundTripTest : public TTempFolderTest, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(RoundTripTest, OpmlExactlyMarkdownByNameDescriptionAndDepthHtmlEscaped)
{
    const TRoundTrip& trip = GetParam();
    TTreeList tree;
    Build(tree, trip.items);

    const struct {
        const char* ext;
        void (*writer)(const TTreeList&, const std::string&);
        std::vector<TItem> expected;
    } formats[] = {{"opml", &ExportOpml, InUtf8(trip.items)}, {"md", &ExportMarkdown, InUtf8(AsMarkdown(trip))}};
    for (const auto& format : formats) {
        const std::string file = Path(std::string("out.") + format.ext);
        format.writer(tree, file);
        TTreeList back;
        ImportFile(back, file, ImportFormatOfFile(file));
        TTreeList expected;
        Build(expected, format.expected);
        EXPECT_EQ(Dump(back), Dump(expected)) << format.ext << ":\n" << ReadFile(file).substr(0, 2000);
    }
    // A large Markdown file is read in parts that begin at headings: the
    // smallest parts give the same tree.
    TImportLimits parts;
    parts.MarkdownPartBytes = 1;
    TTreeList back;
    ImportFile(back, Path("out.md"), TImportFormat::Markdown, parts);
    TTreeList expected;
    Build(expected, InUtf8(AsMarkdown(trip)));
    EXPECT_EQ(Dump(back), Dump(expected)) << "Markdown in parts";

    // The page holds one open section per item, nothing unescaped, no script.
    ExportHtml(tree, Path("out.html"));
    const std::string page = ReadFile(m_dir / "out.html");
    size_t sections = 0;
    for (size_t at = page.find("<details open><summary>"); at != std::string::npos;
         at = page.find("<details open><summary>", at + 1))
        ++sections;
    EXPECT_EQ(sections, trip.items.size());
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find('\x01'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Trees, RoundTripTest, ::testing::ValuesIn(RoundTrips), [](const auto& info) {
    std::string name = info.param.label;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

// Endless bytes after a fixed start: a file too large to create in a test.
class TEndlessSource : public TByteSource {
public:
    TEndlessSource(std::string start, char fill) : m_start(std::move(start)), m_fill(fill) {}
    size_t Read(char* buffer, size_t size) override
    {
        const size_t head = std::min(size, m_start.size() - m_at);
        std::memcpy(buffer, m_start.data() + m_at, head);
        m_at += head;
        std::memset(buffer + head, m_fill, size - head);
        m_total += size;
        if (m_total > (size_t{64} << 20))
            throw std::runtime_error("read far past the limit");
        return size;
    }

private:
    std::string m_start;
    char m_fill;
    size_t m_at = 0;
    size_t m_total = 0;
};

std::string Repeat(const std::string& unit, size_t count)
{
    std::string text;
    text.reserve(unit.size() * count);
    for (size_t i = 0; i < count; ++i)
        text += unit;
    return text;
}

struct TMalformed {
    const char* label;
    TImportFormat format;
    std::string content;
    std::string expected;  // the message after "Cannot import <file>"
    TImportLimits limits = {};
};

TImportLimits Limits(size_t maxText, int maxDepth)
{
    TImportLimits limits;
    limits.MaxTextBytes = maxText;
    limits.MaxDepth = maxDepth;
    return limits;
}

const std::string OpmlHead = "<?xml version=\"1.0\"?>\n<opml version=\"2.0\"><body>\n";

const TMalformed Malformed[] = {
    {"not XML", TImportFormat::Opml, "# a heading", ": line 1, column 2: not well-formed (invalid token)"},
    {"empty OPML", TImportFormat::Opml, "", ": line 1, column 1: no element found"},
    {"other root", TImportFormat::Opml, "<html><body/></html>",
     ": line 1, column 1: not an OPML document (its root element is <html>)"},
    {"mismatched tag", TImportFormat::Opml, OpmlHead + "<outline text=\"a\">\n</body></opml>",
     ": line 4, column 3: mismatched tag"},
    {"invalid UTF-8", TImportFormat::Opml, OpmlHead + "<outline text=\"caf\xE9\"/></body></opml>",
     ": line 3, column 19: not well-formed (invalid token)"},
    {"unknown encoding", TImportFormat::Opml, "<?xml version=\"1.0\" encoding=\"klingon\"?>\n<opml/>",
     ": line 1, column 31: unknown encoding \"klingon\""},
    {"entity bomb", TImportFormat::Opml,
     "<?xml version=\"1.0\"?>\n<!DOCTYPE opml [\n<!ENTITY a \"aaaaaaaaaa\">\n<!ENTITY b \"&a;&a;&a;&a;&a;&a;\">\n]>\n"
     "<opml><body><outline text=\"&b;\"/></body></opml>",
     ": line 2, column 16: document type declarations are not allowed"},
    {"external entity", TImportFormat::Opml,
     "<?xml version=\"1.0\"?>\n<!DOCTYPE opml SYSTEM \"file:///etc/passwd\">\n<opml/>",
     ": line 2, column 43: document type declarations are not allowed"},
    {"undeclared entity", TImportFormat::Opml, OpmlHead + "<outline text=\"&x;\"/></body></opml>",
     ": line 3, column 1: undefined entity"},
    {"bad icon", TImportFormat::Opml,
     OpmlHead + "<outline xmlns:v=\"https://example.org/vektreevieweditor/opml\" v:icon=\"three\"/></body></opml>",
     ": line 3, column 1: the icon index \"three\" is not a number"},
    {"bad exact name", TImportFormat::Opml,
     OpmlHead + "<outline xmlns:v=\"https://example.org/vektreevieweditor/opml\" v:text=\"a%4\"/></body></opml>",
     ": line 3, column 1: a \"%\" not followed by two hex digits in vek:text"},
    {"exact copy not UTF-8", TImportFormat::Opml,
     OpmlHead + "<outline xmlns:v=\"https://example.org/vektreevieweditor/opml\" v:note=\"%EF%BF%BF%99\"/></body></opml>",
     ": line 3, column 1: vek:note is not UTF-8 once decoded"},
    {"200,000 levels of outlines", TImportFormat::Opml, OpmlHead + Repeat("<outline>", 200000),
     ": line 3, column 900010: items nested deeper than 100000 levels"},
    {"too deep for a small limit", TImportFormat::Opml, OpmlHead + "<outline><outline><outline/></outline></outline>",
     ": line 3, column 19: items nested deeper than 1 levels", Limits(1000, 1)},
    {"Markdown invalid UTF-8", TImportFormat::Markdown, "# ok\n\nab\xFF", ": line 3, column 3: the text is not valid UTF-8"},
    {"a million >", TImportFormat::Markdown, std::string(1000000, '>'),
     ": line 1, column 200008: Markdown nested deeper than 100000 levels"},
    {"nested list markers", TImportFormat::Markdown, Repeat("- ", 20) + "x",
     ": line 1, column 17: Markdown nested deeper than 5 levels", Limits(1000, 5)},
    {"too deep in a later part", TImportFormat::Markdown, "# a\n# b\n\n" + Repeat("- ", 20) + "x",
     ": line 4, column 17: Markdown nested deeper than 5 levels", [] {
         TImportLimits limits = Limits(1000, 5);
         limits.MarkdownPartBytes = 1;
         return limits;
     }()},
    {"text too deep", TImportFormat::IndentedText, "a\n\tb\n\t\tc\n\t\t\td\n",
     ": line 4, column 1: items nested deeper than 2 levels", Limits(1000, 2)},
    {"text line too long", TImportFormat::IndentedText, "short\r\n" + std::string(11, 'x'),
     ": line 2: a line longer than 10 bytes", Limits(10, 10)},
    {"text file too large", TImportFormat::IndentedText, std::string(3u << 20, 'x'),
     ": the file is larger than 2097152 bytes", [] {
         TImportLimits limits;
         limits.MaxInputBytes = 2u << 20;
         return limits;
     }()},
    {"tree data", TImportFormat::TreeData, "not a tree", ": Stream read error"},
};

class MalformedTest : public TTempFolderTest, public ::testing::WithParamInterface<TMalformed> {};

TEST_P(MalformedTest, NamesFileLineAndColumnAndAddsNothingUsable)
{
    const TMalformed& bad = GetParam();
    const std::string file = Path("bad.in");
    WriteFile(file, bad.content);
    TTreeList tree;
    try {
        ImportFile(tree, file, bad.format, bad.limits);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(e.what(), "Cannot import " + file + bad.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedTest, ::testing::ValuesIn(Malformed), [](const auto& info) {
    std::string name = info.param.label;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

// Import, export and import again: the same tree file, empty items included.
TEST_F(TTempFolderTest, MarkdownImportExportImportKeepsTheTreeFile)
{
    const std::string depth6 = "# 1\n## 2\n### 3\n#### 4\n##### 5\n###### 6\n";
    for (const std::string& markdown :
         {std::string("- a\n-\n- b\n  -\n"), std::string("#\n-\n"), std::string("text\n\n-\n  ```\n  d\n  ```\n"),
          depth6 + "- x\n-\n  -\n"}) {
        WriteFile(Path("in.md"), markdown);
        TTreeList first;
        ImportFile(first, Path("in.md"), TImportFormat::Markdown);
        ExportMarkdown(first, Path("out.md"));
        TTreeList second;
        ImportFile(second, Path("out.md"), TImportFormat::Markdown);
        EXPECT_EQ(WriteItems(second), WriteItems(first)) << markdown << "---\n" << ReadFile(Path("out.md"));
    }
}

// Item links come back as written, wherever Markdown text holds them; the
// brackets of anything else keep CommonMark's escapes. Exported and read
// again, the descriptions stay the same.
TEST_F(TTempFolderTest, MarkdownKeepsItemLinksAsWritten)
{
    const std::pair<std::string, std::string> cases[] = {
        {"text [[Name]] more\n", "text [[Name]] more"},
        {"[[Top/Name]], *x* [[B]] and [x]\n", "[[Top/Name]], *x* [[B]] and \\[x\\]"},
        {"[see [[Name]]](http://x.org) `[[code]]`\n", "[see [[Name]]](http://x.org) `[[code]]`"},
        {"[[ -f x ]] [[a]]b[[c]]\n", "\\[\\[ -f x \\]\\] [[a]]b[[c]]"},
        {"- item\n\n  > quote [[Name]]\n", "> quote [[Name]]"},
    };
    for (const auto& [markdown, desc] : cases) {
        WriteFile(Path("in.md"), markdown);
        TTreeList first;
        ImportFile(first, Path("in.md"), TImportFormat::Markdown);
        ASSERT_EQ(first.TopItemCount(), 1) << markdown;
        EXPECT_EQ(first.TopItem(0)->GetText(TreeListColumnDesc), desc) << markdown;
        ExportMarkdown(first, Path("out.md"));
        TTreeList second;
        ImportFile(second, Path("out.md"), TImportFormat::Markdown);
        EXPECT_EQ(WriteItems(second), WriteItems(first)) << markdown;
    }
}

// Noncharacters stay UTF-8 wherever they come from, raw or as a character
// reference, and whatever else the text holds; exported and read again they
// come back the same.
TEST_F(TTempFolderTest, MarkdownKeepsNoncharactersAsUtf8)
{
    const std::string ffff = "\xEF\xBF\xBF";
    const struct {
        std::string markdown;
        std::string name;
        std::string desc;
    } cases[] = {
        {"Caf\xC3\xA9 " + ffff + " note\n", "", "Caf\xC3\xA9 " + ffff + " note"},
        {"# a &#xFFFF; &#xFFFE; \xEF\xB7\x90\n", "a " + ffff + " \xEF\xBF\xBE \xEF\xB7\x90", ""},
        {"- \xC3\xA9\xEF\xBF\xBE\n\n  *x* " + ffff + "\n", "\xC3\xA9\xEF\xBF\xBE", "*x* " + ffff},
    };
    for (const auto& c : cases) {
        WriteFile(Path("in.md"), c.markdown);
        TTreeList first;
        ImportFile(first, Path("in.md"), TImportFormat::Markdown);
        ASSERT_EQ(first.TopItemCount(), 1) << c.markdown;
        EXPECT_EQ(first.TopItem(0)->GetText(TreeListColumnName), c.name) << c.markdown;
        EXPECT_EQ(first.TopItem(0)->GetText(TreeListColumnDesc), c.desc) << c.markdown;
        for (const auto& [format, writer] : {std::pair{TImportFormat::Markdown, &ExportMarkdown},
                                             std::pair{TImportFormat::Opml, &ExportOpml}}) {
            writer(first, Path("out"));
            TTreeList back;
            ImportFile(back, Path("out"), format);
            EXPECT_EQ(Dump(back), Dump(first)) << c.markdown << ReadFile(Path("out"));
        }
    }
}

// Encoding names as other programs write them read as the encodings they mean.
TEST_F(TTempFolderTest, OpmlEncodingAliasesReadAsTheirEncodings)
{
    const std::string utf8 = "Caf\xC3\xA9 \xF0\x9F\x98\x80";
    const std::string latin1 = "Caf\xE9 \xA4";
    const std::string cp1252 = "Caf\xE9 \x80";
    const struct {
        const char* encoding;
        std::string name;  // as the file holds it
        std::string expected;
    } cases[] = {
        {"utf8", utf8, utf8},
        {"UTF8", utf8, utf8},
        {"utf_8", utf8, utf8},
        {"latin1", latin1, "Caf\xC3\xA9 \xC2\xA4"},
        {"ISO8859-1", latin1, "Caf\xC3\xA9 \xC2\xA4"},
        {"iso_8859-1", latin1, "Caf\xC3\xA9 \xC2\xA4"},
        {"L1", latin1, "Caf\xC3\xA9 \xC2\xA4"},
        {"windows-1252", cp1252, "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"CP1252", cp1252, "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"ascii", "Cafe", "Cafe"},
    };
    for (const auto& c : cases) {
        WriteFile(Path("a.opml"), std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding +
                                      "\"?>\n<opml version=\"2.0\"><body><outline text=\"" + c.name +
                                      "\"/></body></opml>\n");
        TTreeList tree;
        try {
            ImportFile(tree, Path("a.opml"), TImportFormat::Opml);
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.encoding << ": " << e.what();
            continue;
        }
        ASSERT_EQ(tree.TopItemCount(), 1) << c.encoding;
        EXPECT_EQ(tree.TopItem(0)->GetText(TreeListColumnName), c.expected) << c.encoding;
    }
}

TEST(HostileInputTest, AnEndlessAttributeOrCommentStopsAtTheLimit)
{
    for (const std::string& start : {OpmlHead + "<outline text=\"", OpmlHead + "<!--"}) {
        TEndlessSource source(start, 'a');
        TTreeList tree;
        try {
            ReadOpml(tree, source, Limits(1000, 10));
            FAIL() << "no error";
        } catch (const EImportError& e) {
            EXPECT_EQ(e.Reason(), "a tag or text longer than 1000 bytes") << start;
        }
    }
}

TEST(IndentedTextTest, DepthFromTabsAndTheFirstGroupOfSpaces)
{
    const struct {
        const char* label;
        std::string text;
        std::string expected;  // depth and name per item
    } cases[] = {
        {"tabs", "a\n\tb\n\t\tc\n\td\ne", "0a 1b 2c 1d 0e"},
        {"two spaces", "a\r\n  b\r\n    c\r\n  d", "0a 1b 2c 1d"},
        {"four spaces, remainder dropped", "a\n    b\n      c\n        d", "0a 1b 1c 2d"},
        {"a jump is one level, the parent is indented less", "a\n\t\t\tb\n\t\tc\n\t\t\t\td", "0a 1b 1c 2d"},
        {"blank and white lines skipped", "\n  \n\ta\n\n\tb\r\r", "0a 0b"},
        {"byte-order mark, CR breaks", "\xEF\xBB\xBFx\r\ty\rz", "0x 1y 0z"},
        {"mixed tab and spaces", "a\n  b\n\t  c", "0a 1b 2c"},
        {"trailing blanks kept", "a \t", "0a \t"},
    };
    for (const auto& c : cases) {
        TTreeList tree;
        ReadIndentedText(tree, c.text);
        std::string got;
        WalkTree(
            tree,
            [&](const TTreeListTextNode& item, int depth) {
                got += (got.empty() ? "" : " ") + std::to_string(depth) + std::string(item.GetText(0));
            },
            [](const TTreeListTextNode&, int) {});
        EXPECT_EQ(got, c.expected) << c.label;
    }
}

using TrdtoolExchangeTest = TTempFolderTest;

TEST_F(TrdtoolExchangeTest, ExportThenImportGivesTheTreeBackAndErrorsExitWithOne)
{
    TTreeList tree;
    Build(tree, {{0, "Tools", "hammer\r\nsaw", 4}, {1, "Misc", "\t"}, {0, "", "e"}});
    SaveItems(tree, Path("in.trd"));
    const auto tool = [&](const std::string& arguments) {
        return RunCommand("'" TRDTOOL_PATH "' " + arguments + " 2>'" + Path("err") + "'");
    };
    for (const std::string format : {"opml", "md", "html"}) {
        const std::string target = Path("tool." + format);
        ASSERT_EQ(tool("export " + format + " '" + Path("in.trd") + "' '" + target + "'"), 0) << ReadFile(Path("err"));
        const std::string written = ReadFile(target);
        (format == "opml" ? ExportOpml : format == "md" ? ExportMarkdown : ExportHtml)(tree, target);
        EXPECT_EQ(written, ReadFile(target)) << format;
    }
    WriteFile(Path("tool.txt"), "Tools\n\tMisc\n");
    const std::pair<std::string, std::string> imports[] = {
        {"opml", Dump(tree)}, {"trd", Dump(tree)}, {"txt", "0 0 [Tools] []\n1 0 [Misc] []\n"}};
    for (const auto& [format, expected] : imports) {
        const std::string source = format == "trd" ? Path("in.trd") : Path("tool." + format);
        ASSERT_EQ(tool("import " + format + " '" + source + "' '" + Path("back.trd") + "'"), 0) << ReadFile(Path("err"));
        TTreeList back;
        LoadItems(back, Path("back.trd"));
        EXPECT_EQ(Dump(back), expected) << format;
    }

    EXPECT_EQ(tool("import rtf '" + Path("tool.txt") + "' '" + Path("x.trd") + "'"), 2);
    WriteFile(Path("bad.opml"), "<opml>");
    EXPECT_EQ(tool("import opml '" + Path("bad.opml") + "' '" + Path("x.trd") + "'"), 1);
    EXPECT_EQ(ReadFile(Path("err")), "Cannot import " + Path("bad.opml") + ": line 1, column 7: no element found.\n");
    EXPECT_FALSE(std::filesystem::exists(Path("x.trd")));
}

}  // namespace

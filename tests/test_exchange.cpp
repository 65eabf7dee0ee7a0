#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/inouterror.h"
#include "exchange/multiexportnames.h"
#include "exchange/xmlescape.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <iterator>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// One item and its children, all collapsed as new items are.
struct Node {
    std::string name, desc;
    std::vector<Node> children;
};

void Build(TTreeList& tree, const std::vector<Node>& nodes, TTreeListTextNode* parent = nullptr)
{
    for (const Node& node : nodes) {
        TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
        item->SetText(TreeListColumnName, node.name);
        item->SetText(TreeListColumnDesc, node.desc);
        Build(tree, node.children, item);
    }
}

std::set<std::string> FileNames(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

int OpenDescriptorCount()
{
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// The message the user sees, empty when nothing failed.
std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EInOutError& e) {
        return e.what();
    }
    return {};
}

using ExchangeTest = TTempFolderTest;

// Each target first holds a longer file, which the export replaces whole.
TEST_F(ExchangeTest, TextAndIniRecordsInDocumentOrder)
{
    const std::string F = "\r\n\r\n\r\n\r\n\r\n";
    const struct {
        const char* label;
        std::vector<Node> nodes;
        std::string text, ini;
    } cases[] = {
        {"empty tree", {}, "", ""},
        {"empty item", {{"", "", {}}}, "\r\n\r\n\r\n" + F, "[]\r\n\r\n\r\n"},
        // Two UTF-8 characters of two bytes each: underlined per byte.
        {"multi-byte name", {{"\xC3\xA4\xC3\xB6", "", {}}}, "\xC3\xA4\xC3\xB6\r\n====\r\n\r\n" + F,
         "[\xC3\xA4\xC3\xB6]\r\n\r\n\r\n"},
        // Stored bytes go out unchanged: lone LF, NUL, bracket, high bytes.
        {"bytes unchanged", {{std::string("a]\0b", 4), "1\n2\r3\xFF", {}}},
         std::string("a]\0b", 4) + "\r\n====\r\n1\n2\r3\xFF\r\n" + F,
         std::string("[a]\0b", 5) + "]\r\n1\n2\r3\xFF\r\n\r\n"},
        // A collapsed branch goes out completely.
        {"collapsed branch", {{"a", "", {{"b", "", {}}}}, {"c", "", {}}},
         "a\r\n=\r\n\r\n" + F + "b\r\n=\r\n\r\n" + F + "c\r\n=\r\n\r\n" + F,
         "[a]\r\n\r\n\r\n[b]\r\n\r\n\r\n[c]\r\n\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TTreeList tree;
        Build(tree, c.nodes);
        WriteFile(m_dir / "t", std::string(100000, 'z'));
        WriteFile(m_dir / "i", "old");
        ExportTxt(tree, (m_dir / "t").string());
        ExportIni(tree, (m_dir / "i").string());
        EXPECT_EQ(ReadFile(m_dir / "t"), c.text);
        EXPECT_EQ(ReadFile(m_dir / "i"), c.ini);
        // The writers only read the tree.
        for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
            EXPECT_FALSE(item->Expanded());
    }
}

TEST(MultiNamesTest, FileNamesInDocumentOrder)
{
    const std::string long300(300, 'x');
    const std::string utf8Long = std::string(250, 'x') + "\xC3\xA4\xC3\xA4\xC3\xA4";  // 256 bytes
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"", ""}, {".txt", " (2).txt"}},
        {{"Notes", "notes", "NOTES"}, {"Notes.txt", "notes (2).txt", "NOTES (3).txt"}},
        // A generated name does not take a real one, nor the other way round.
        {{"a (2)", "a", "A"}, {"a (2).txt", "a.txt", "A (3).txt"}},
        {{"a", "a", "a (2)"}, {"a.txt", "a (2).txt", "a (2) (2).txt"}},
        {{"../x", "a/b", "..", ".", "..\\y"}, {".._x.txt", "a_b.txt", "_.txt", "_ (2).txt", ".._y.txt"}},
        {{"con:", "<a>\"b|c?*", std::string("a\0b", 3), "t\tx\r\ny\x1F\x7F"},
         {"con_.txt", "_a__b_c__.txt", "a_b.txt", "t_x__y_\x7F.txt"}},
        {{long300, long300}, {std::string(251, 'x') + ".txt", std::string(247, 'x') + " (2).txt"}},
        // 251 bytes would end inside the first two-byte character.
        {{utf8Long}, {std::string(250, 'x') + ".txt"}},
    };
    for (const auto& [items, expected] : cases) {
        TMultiExportNames names;
        std::vector<std::string> result;
        for (const std::string& item : items)
            result.push_back(names.FileName(item));
        EXPECT_EQ(result, expected);
    }
}

TEST_F(ExchangeTest, MultiWritesOnlyInsideTheFolderAndLeavesOtherFilesAlone)
{
    const fs::path folder = m_dir / "out";
    fs::create_directory(folder);
    WriteFile(folder / "unrelated.txt", "keep");
    WriteFile(folder / "Notes.txt", std::string(5000, 'o'));
    TTreeList tree;
    Build(tree, {{"../evil", "e", {}}, {"Notes", "first", {{"notes", "second\r\n", {}}, {"Misc", "", {}}}}});
    ExportMulti(tree, folder.string());
    EXPECT_EQ(FileNames(m_dir), (std::set<std::string>{"out"}));
    EXPECT_EQ(FileNames(folder),
              (std::set<std::string>{"unrelated.txt", ".._evil.txt", "Notes.txt", "notes (2).txt", "Misc.txt"}));
    EXPECT_EQ(ReadFile(folder / "unrelated.txt"), "keep");
    EXPECT_EQ(ReadFile(folder / "Notes.txt"), "first\r\n");
}

TEST_F(ExchangeTest, MultiStopsAtTheFirstFailingFileAndKeepsTheEarlierOnes)
{
    TTreeList tree;
    Build(tree, {{"a", "1", {}}, {"b", "2", {}}, {"c", "3", {}}});
    EXPECT_EQ(ErrorOf([&] { ExportMulti(tree, (m_dir / "none").string()); }),
              "Invalid filename: " + (m_dir / "none").string());
    fs::create_directory(m_dir / "b.txt");  // a folder in the way: cannot be opened for writing
    const int before = OpenDescriptorCount();
    EXPECT_EQ(ErrorOf([&] { ExportMulti(tree, m_dir.string() + "/"); }),
              "File access denied: " + (m_dir / "b.txt").string());
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadFile(m_dir / "a.txt"), "1\r\n");
    EXPECT_FALSE(fs::exists(m_dir / "c.txt"));
}

// A link standing under an item's file name is replaced, never written
// through: the file it leads to, outside the folder, stays as it was.
TEST_F(ExchangeTest, MultiReplacesALinkAndLeavesWhatItLeadsTo)
{
    const fs::path folder = m_dir / "out";
    fs::create_directory(folder);
    WriteFile(m_dir / "outside.txt", "keep");
    fs::create_symlink(m_dir / "outside.txt", folder / "a.txt");
    fs::create_hard_link(m_dir / "outside.txt", folder / "b.txt");
    fs::create_symlink(m_dir / "missing.txt", folder / "c.txt");
    TTreeList tree;
    Build(tree, {{"a", "1", {}}, {"b", "2", {}}, {"c", "3", {}}});
    ExportMulti(tree, folder.string());
    EXPECT_EQ(ReadFile(m_dir / "outside.txt"), "keep");
    EXPECT_FALSE(fs::exists(m_dir / "missing.txt"));
    for (const auto& [name, content] : {std::pair{"a.txt", "1\r\n"}, {"b.txt", "2\r\n"}, {"c.txt", "3\r\n"}}) {
        EXPECT_FALSE(fs::is_symlink(folder / name)) << name;
        EXPECT_EQ(fs::hard_link_count(folder / name), 1u) << name;
        EXPECT_EQ(ReadFile(folder / name), content) << name;
    }
}

TEST(InOutErrorTest, MessagesAndErrnoTranslation)
{
    // The tests below reach most of the errno mapping through real failures.
    const std::pair<int, const char*> messages[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"}, {5, "File access denied"},
        {100, "Read beyond end of file"}, {101, "Disk full"}, {106, "Invalid numeric input"}, {1005, "I/O error 1005"}};
    for (const auto& [code, message] : messages)
        EXPECT_EQ(EInOutError::Message(code), message);
    EXPECT_STREQ(EInOutError(101, "/m/x.txt").what(), "Disk full: /m/x.txt");
    // EIO has no counterpart: shifted, it cannot pass for 5 "File access denied".
    const std::pair<int, int> codes[] = {{EACCES, 5}, {EMFILE, 4}, {EBUSY, 32}, {EIO, 1000 + EIO}};
    for (const auto& [err, code] : codes)
        EXPECT_EQ(EInOutError::CodeFromErrno(err), code) << err;
}

TEST_F(ExchangeTest, TextAndIniReportTheErrorAndCloseTheFile)
{
    TTreeList tree;
    Build(tree, {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}}}});
    WriteFile(m_dir / "plain", "x");
    const std::pair<std::string, const char*> cases[] = {
        {(m_dir / "plain" / "out.txt").string(), "Invalid filename"},  // a file used as a folder
        {m_dir.string(), "File access denied"},  // writing over a folder is refused also for root
        {(m_dir / std::string(300, 'n')).string(), "I/O error 123"},
        // Every write fails with ENOSPC; it surfaces at the flush on closing.
        {access("/dev/full", W_OK) == 0 ? "/dev/full" : "", "I/O error 112"}};
    const int before = OpenDescriptorCount();
    for (const auto& [target, expected] : cases)
        for (auto* writer : {&ExportTxt, &ExportIni})
            if (!target.empty()) {  // empty: no /dev/full here
                EXPECT_EQ(ErrorOf([&] { writer(tree, target); }), expected + (": " + target));
            }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// A size limit makes the file fill up in the middle of the export.
TEST_F(ExchangeTest, WrittenBytesStayWhenTheFileFillsUp)
{
    TTreeList tree;
    for (int i = 0; i < 2000; ++i)
        Build(tree, {{"item" + std::to_string(i), std::string(100, 'd'), {}}});
    constexpr size_t Limit = 100000;
    WithFileSizeLimit(Limit, [&] {
        EXPECT_EQ(ErrorOf([&] { ExportTxt(tree, Path("cut.txt")); }), "I/O error 112: " + Path("cut.txt"));
    });
    ExportTxt(tree, (m_dir / "out.txt").string());
    const std::string complete = ReadFile(m_dir / "out.txt");
    ASSERT_GT(complete.size(), Limit);
    EXPECT_EQ(ReadFile(m_dir / "cut.txt"), complete.substr(0, Limit));
}

TEST_F(ExchangeTest, ToolWritesTheLibraryBytesAndReportsErrorWithAFullStop)
{
    TTreeList tree;
    Build(tree, {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}}}, {"", "e", {}}});
    SaveItems(tree, (m_dir / "in.trd").string());
    const auto tool = [&](const std::string& format, const fs::path& target) {
        return RunCommand("'" TRDTOOL_PATH "' export " + format + " '" + Path("in.trd") + "' '" + target.string() +
                          "' 2>'" + Path("err") + "'");
    };
    for (const std::string format : {"txt", "ini"}) {
        ASSERT_EQ(tool(format, m_dir / ("tool." + format)), 0) << ReadFile(m_dir / "err");
        (format == "txt" ? ExportTxt : ExportIni)(tree, (m_dir / ("lib." + format)).string());
        EXPECT_EQ(ReadFile(m_dir / ("tool." + format)), ReadFile(m_dir / ("lib." + format))) << format;
    }
    EXPECT_EQ(tool("multi", m_dir / "none"), 1);
    EXPECT_EQ(ReadFile(m_dir / "err"), "Invalid filename: " + (m_dir / "none").string() + ".\n");
}

}  // namespace

// The one escaper, byte for byte in each writer's style, with the special
// bytes both inside and beyond the runs of ordinary text it skips a word at a time.
TEST(XmlEscapeTest, EachStyleWritesItsOwnForms)
{
    const std::string special("&<>\"'%\t\r\n\x01\x7F\xEF\xBF\xBE\xEF\xBF\xBD", 17);
    const std::string text = "0123456789" + special + "abcdefgh" + special.substr(0, 4) + "ijklmnopq";
    const struct {
        TXmlEscaping style;
        std::string specialAs;
    } cases[] = {
        {TXmlEscaping::Html, "&amp;&lt;&gt;&quot;&#39;%\t\r\n&#xFFFD;&#xFFFD;&#xFFFD;\xEF\xBF\xBD"},
        {TXmlEscaping::OpmlAttribute, "&amp;&lt;&gt;&quot;'%&#9;&#13;&#10;\xEF\xBF\xBD\x7F\xEF\xBF\xBD\xEF\xBF\xBD"},
        {TXmlEscaping::OpmlExact, "&amp;&lt;&gt;&quot;'%25&#9;&#13;&#10;%01\x7F%EF%BF%BE\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        EXPECT_TRUE(AppendXmlEscaped(out, text, c.style));
        EXPECT_EQ(out, "kept0123456789" + c.specialAs + "abcdefgh&amp;&lt;&gt;&quot;ijklmnopq");
        std::string plain;
        EXPECT_FALSE(AppendXmlEscaped(plain, "plain text of an item", c.style));
        EXPECT_EQ(plain, "plain text of an item");
    }
}

#include "bufferedfile.h"
#include "exportwriters.h"
#include "inouterror.h"
#include "multiexportnames.h"
#include "treefile.h"
#include "treelist.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
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

// Tools (hammer CR LF saw) with its child Misc (no description).
const std::vector<Node> WorkedExample = {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}}}};
const std::string FiveEmpty = "\r\n\r\n\r\n\r\n\r\n";

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

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

int ErrorCodeOf(const std::function<void()>& action, std::string* message = nullptr)
{
    try {
        action();
    } catch (const EInOutError& e) {
        if (message)
            *message = e.what();
        return e.Code();
    }
    return 0;
}

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vekexch-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_dir, ignored);
    }
    fs::path m_dir;
};

// Each target first holds a longer file, which the export replaces whole.
TEST_F(ExchangeTest, TextAndIniRecordsInDocumentOrder)
{
    const std::string F = FiveEmpty;
    const struct {
        const char* label;
        std::vector<Node> nodes;
        std::string text, ini;
    } cases[] = {
        {"worked example", WorkedExample, "Tools\r\n=====\r\nhammer\r\nsaw\r\n" + F + "Misc\r\n====\r\n\r\n" + F,
         "[Tools]\r\nhammer\r\nsaw\r\n\r\n[Misc]\r\n\r\n\r\n"},
        {"empty tree", {}, "", ""},
        {"empty item", {{"", "", {}}}, "\r\n\r\n\r\n" + F, "[]\r\n\r\n\r\n"},
        // Two UTF-8 characters of two bytes each: underlined per byte.
        {"multi-byte name", {{"\xC3\xA4\xC3\xB6", "", {}}}, "\xC3\xA4\xC3\xB6\r\n====\r\n\r\n" + F,
         "[\xC3\xA4\xC3\xB6]\r\n\r\n\r\n"},
        {"trailing break", {{"a", "x\r\n", {}}}, "a\r\n=\r\nx\r\n\r\n" + F, "[a]\r\nx\r\n\r\n\r\n"},
        // Stored bytes go out unchanged: lone LF, NUL, bracket, high bytes.
        {"bytes unchanged", {{std::string("a]\0b", 4), "1\n2\r3\xFF", {}}},
         std::string("a]\0b", 4) + "\r\n====\r\n1\n2\r3\xFF\r\n" + F,
         std::string("[a]\0b", 5) + "]\r\n1\n2\r3\xFF\r\n\r\n"},
        // Collapsed branches go out completely.
        {"collapsed branches", {{"a", "", {{"b", "", {{"c", "", {}}}}, {"d", "", {}}}}, {"e", "", {}}},
         "a\r\n=\r\n\r\n" + F + "b\r\n=\r\n\r\n" + F + "c\r\n=\r\n\r\n" + F + "d\r\n=\r\n\r\n" + F +
             "e\r\n=\r\n\r\n" + F,
         "[a]\r\n\r\n\r\n[b]\r\n\r\n\r\n[c]\r\n\r\n\r\n[d]\r\n\r\n\r\n[e]\r\n\r\n\r\n"},
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

TEST_F(ExchangeTest, OutputLargerThanTheBufferIsComplete)
{
    TTreeList tree;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        // Some records are larger than the whole buffer.
        const std::string name = "item" + std::to_string(i);
        const std::string desc(i % 1000 == 7 ? 70000 : i % 50, static_cast<char>('a' + i % 26));
        Build(tree, {{name, desc, {}}});
        expected += "[" + name + "]\r\n" + desc + "\r\n\r\n";
    }
    ExportIni(tree, (m_dir / "big.ini").string());
    EXPECT_EQ(ReadFile(m_dir / "big.ini"), expected);
    TBufferedFile file((m_dir / "small").string(), AT_FDCWD, 7);
    file.Write("abc");
    file.Write('=', 20);
    for (const char* bytes : {"0123456789ABCDEF", "", "xy"})  // the first larger than the buffer
        file.Write(bytes);
    file.Close();
    EXPECT_EQ(ReadFile(m_dir / "small"), "abc" + std::string(20, '=') + "0123456789ABCDEFxy");
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
        {{"con:", "<a>\"b|c?*"}, {"con_.txt", "_a__b_c__.txt"}},
        {{std::string("a\0b", 3), "t\tx\r\ny\x1F\x7F"}, {"a_b.txt", "t_x__y_\x7F.txt"}},
        {{"a/b", "a:b", "a_b"}, {"a_b.txt", "a_b (2).txt", "a_b (3).txt"}},
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
    ExportMulti(tree, folder.string());
    EXPECT_EQ(FileNames(folder), (std::set<std::string>{"unrelated.txt", "Notes.txt"}));
    Build(tree, {{"../evil", "e", {}}, {"Notes", "first", {{"notes", "second\r\n", {}}, {"Misc", "", {}}}}});
    ExportMulti(tree, folder.string());
    EXPECT_EQ(FileNames(m_dir), (std::set<std::string>{"out"}));
    EXPECT_EQ(FileNames(folder),
              (std::set<std::string>{"unrelated.txt", ".._evil.txt", "Notes.txt", "notes (2).txt", "Misc.txt"}));
    EXPECT_EQ(ReadFile(folder / "unrelated.txt"), "keep");
    EXPECT_EQ(ReadFile(folder / ".._evil.txt"), "e\r\n");
    EXPECT_EQ(ReadFile(folder / "Notes.txt"), "first\r\n");
    EXPECT_EQ(ReadFile(folder / "notes (2).txt"), "second\r\n\r\n");
    EXPECT_EQ(ReadFile(folder / "Misc.txt"), "\r\n");
}

TEST_F(ExchangeTest, MultiStopsAtTheFirstFailingFileAndKeepsTheEarlierOnes)
{
    TTreeList tree;
    Build(tree, {{"a", "1", {}}, {"b", "2", {}}, {"c", "3", {}}});
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, (m_dir / "none").string()); }), InOutErrorInvalidFilename);
    fs::create_directory(m_dir / "b.txt");  // a folder in the way: cannot be opened for writing
    const int before = OpenDescriptorCount();
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, m_dir.string()); }), InOutErrorAccessDenied);
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadFile(m_dir / "a.txt"), "1\r\n");
    EXPECT_FALSE(fs::exists(m_dir / "c.txt"));
}

TEST(InOutErrorTest, MessagesAndErrnoTranslation)
{
    const std::pair<int, const char*> messages[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"}, {5, "File access denied"},
        {100, "Read beyond end of file"}, {101, "Disk full"}, {106, "Invalid numeric input"},
        {32, "I/O error 32"}, {112, "I/O error 112"}, {123, "I/O error 123"}, {0, "I/O error 0"},
        {1005, "I/O error 1005"}};
    for (const auto& [code, message] : messages) {
        EXPECT_EQ(EInOutError(code).Code(), code);
        EXPECT_STREQ(EInOutError(code).what(), message);
    }
    // No counterpart: the errno is shifted out of the classic range.
    const std::pair<int, int> codes[] = {
        {ENOENT, 3}, {ENOTDIR, 3}, {EACCES, 5}, {EPERM, 5}, {EROFS, 5}, {EISDIR, 5}, {EMFILE, 4}, {ENFILE, 4},
        {ENOSPC, 112}, {EDQUOT, 112}, {EFBIG, 112}, {EBUSY, 32}, {ETXTBSY, 32}, {ENAMETOOLONG, 123},
        {EILSEQ, 123}, {EINVAL, 123}, {EIO, 1000 + EIO}, {ELOOP, 1000 + ELOOP}};
    for (const auto& [err, code] : codes)
        EXPECT_EQ(EInOutError::CodeFromErrno(err), code) << err;
}

TEST_F(ExchangeTest, TextAndIniReportTheErrorAndCloseTheFile)
{
    TTreeList tree;
    Build(tree, WorkedExample);
    WriteFile(m_dir / "plain", "x");
    const std::pair<std::string, const char*> cases[] = {
        {(m_dir / "none" / "out.txt").string(), "Invalid filename"},
        {(m_dir / "plain" / "out.txt").string(), "Invalid filename"},  // a file used as a folder
        {m_dir.string(), "File access denied"},  // writing over a folder is refused also for root
        {(m_dir / std::string(300, 'n')).string(), "I/O error 123"},
        // Every write fails with ENOSPC; it surfaces at the flush on closing.
        {access("/dev/full", W_OK) == 0 ? "/dev/full" : "", "I/O error 112"}};
    const int before = OpenDescriptorCount();
    for (const auto& [target, expected] : cases) {
        for (auto* writer : {&ExportTxt, &ExportIni}) {
            if (target.empty())
                continue;  // no /dev/full here
            std::string message;
            EXPECT_NE(ErrorCodeOf([&] { writer(tree, target); }, &message), 0) << target;
            EXPECT_EQ(message, expected) << target;
        }
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(ExchangeTest, ReadOnlyFolderIsAccessDenied)
{
    const fs::path folder = m_dir / "ro";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "permissions do not bind this user (root)";
    TTreeList tree;
    Build(tree, WorkedExample);
    EXPECT_EQ(ErrorCodeOf([&] { ExportTxt(tree, (folder / "out.txt").string()); }), InOutErrorAccessDenied);
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, folder.string()); }), InOutErrorAccessDenied);
}

// A size limit makes the file fill up in the middle of the export.
TEST_F(ExchangeTest, WrittenBytesStayWhenTheFileFillsUp)
{
    TTreeList tree;
    for (int i = 0; i < 2000; ++i)
        Build(tree, {{"item" + std::to_string(i), std::string(100, 'd'), {}}});
    constexpr rlim_t Limit = 100000;
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = Limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int code = ErrorCodeOf([&] { ExportTxt(tree, (m_dir / "cut.txt").string()); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(code, InOutErrorWinDiskFull);
    ExportTxt(tree, (m_dir / "out.txt").string());
    const std::string complete = ReadFile(m_dir / "out.txt");
    ASSERT_GT(complete.size(), Limit);
    EXPECT_EQ(ReadFile(m_dir / "cut.txt"), complete.substr(0, Limit));
}

TEST_F(ExchangeTest, ToolWritesTheLibraryBytesAndReportsErrorWithAFullStop)
{
    TTreeList tree;
    Build(tree, {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}, {"misc", "x\r\n", {}}}}, {"", "e", {}}});
    SaveItems(tree, (m_dir / "in.trd").string());
    const auto tool = [&](const std::string& format, const fs::path& target) {
        const std::string command = std::string("'") + TRDTOOL_PATH + "' export " + format + " '" +
                                    (m_dir / "in.trd").string() + "' '" + target.string() + "' 2>'" +
                                    (m_dir / "err").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    for (const std::string format : {"txt", "ini"}) {
        ASSERT_EQ(tool(format, m_dir / ("tool." + format)), 0) << ReadFile(m_dir / "err");
        (format == "txt" ? ExportTxt : ExportIni)(tree, (m_dir / ("lib." + format)).string());
        EXPECT_EQ(ReadFile(m_dir / ("tool." + format)), ReadFile(m_dir / ("lib." + format))) << format;
    }
    fs::create_directory(m_dir / "multi");
    ASSERT_EQ(tool("multi", m_dir / "multi"), 0) << ReadFile(m_dir / "err");
    EXPECT_EQ(FileNames(m_dir / "multi"), (std::set<std::string>{"Tools.txt", "Misc.txt", "misc (2).txt", ".txt"}));
    EXPECT_EQ(ReadFile(m_dir / "multi" / "misc (2).txt"), "x\r\n\r\n");
    EXPECT_EQ(tool("multi", m_dir / "none"), 1);
    EXPECT_EQ(ReadFile(m_dir / "err"), "Invalid filename.\n");
}

}  // namespace

#include "bufferedfile.h"
#include "exportwriters.h"
#include "inouterror.h"
#include "multiexportnames.h"
#include "treefile.h"
#include "treelist.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// One item and its children, all collapsed as new items are.
struct Node {
    std::string name;
    std::string desc;
    std::vector<Node> children;
};

void AddNode(TTreeList& tree, TTreeListTextNode* parent, const Node& node)
{
    TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
    item->SetText(TreeListColumnName, node.name);
    item->SetText(TreeListColumnDesc, node.desc);
    for (const Node& child : node.children)
        AddNode(tree, item, child);
}

void Build(TTreeList& tree, const std::vector<Node>& top)
{
    for (const Node& node : top)
        AddNode(tree, nullptr, node);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
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
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
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

// Tools (hammer CR LF saw) with its child Misc (no description).
void BuildWorkedExample(TTreeList& tree)
{
    Build(tree, {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}}}});
}

const std::string FiveEmpty = "\r\n\r\n\r\n\r\n\r\n";

// ---- the worked example --------------------------------------------------

TEST_F(ExchangeTest, WorkedExampleText)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    ExportTxt(tree, (m_dir / "out.txt").string());
    EXPECT_EQ(ReadFile(m_dir / "out.txt"),
              "Tools\r\n=====\r\nhammer\r\nsaw\r\n" + FiveEmpty + "Misc\r\n====\r\n\r\n" + FiveEmpty);
}

TEST_F(ExchangeTest, WorkedExampleIni)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    ExportIni(tree, (m_dir / "out.ini").string());
    EXPECT_EQ(ReadFile(m_dir / "out.ini"), "[Tools]\r\nhammer\r\nsaw\r\n\r\n[Misc]\r\n\r\n\r\n");
}

TEST_F(ExchangeTest, WorkedExampleMulti)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    ExportMulti(tree, m_dir.string());
    EXPECT_EQ(FileNames(m_dir), (std::set<std::string>{"Tools.txt", "Misc.txt"}));
    EXPECT_EQ(ReadFile(m_dir / "Tools.txt"), "hammer\r\nsaw\r\n");
    EXPECT_EQ(ReadFile(m_dir / "Misc.txt"), "\r\n");
}

// ---- one item's record ------------------------------------------------------

struct RecordCase {
    const char* label;
    std::string name;
    std::string desc;
    std::string text;
    std::string ini;
};

class RecordTest : public ExchangeTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(RecordTest, TextAndIniRecords)
{
    const RecordCase& c = GetParam();
    TTreeList tree;
    Build(tree, {{c.name, c.desc, {}}});
    ExportTxt(tree, (m_dir / "t").string());
    ExportIni(tree, (m_dir / "i").string());
    EXPECT_EQ(ReadFile(m_dir / "t"), c.text + FiveEmpty);
    EXPECT_EQ(ReadFile(m_dir / "i"), c.ini);
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, RecordTest,
    ::testing::Values(
        RecordCase{"EmptyItem", "", "", "\r\n\r\n\r\n", "[]\r\n\r\n\r\n"},
        RecordCase{"FiveBytes", "Notes", "x", "Notes\r\n=====\r\nx\r\n", "[Notes]\r\nx\r\n\r\n"},
        // Two UTF-8 characters of two bytes each: underlined per byte.
        RecordCase{"MultiByteName", "\xC3\xA4\xC3\xB6", "", "\xC3\xA4\xC3\xB6\r\n====\r\n\r\n",
                   "[\xC3\xA4\xC3\xB6]\r\n\r\n\r\n"},
        RecordCase{"TrailingBreakGivesOneMoreLine", "a", "x\r\n", "a\r\n=\r\nx\r\n\r\n",
                   "[a]\r\nx\r\n\r\n\r\n"},
        // Stored bytes go out unchanged: lone LF, NUL, bracket, high bytes.
        RecordCase{"BytesUnchanged", std::string("a]\0b", 4), "1\n2\r3\xFF",
                   std::string("a]\0b", 4) + "\r\n====\r\n1\n2\r3\xFF\r\n",
                   std::string("[a]\0b", 5) + "]\r\n1\n2\r3\xFF\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- document order, collapsed branches, replacing -------------------------

TEST_F(ExchangeTest, CollapsedBranchesExportedCompletelyWithoutExpanding)
{
    TTreeList tree;
    Build(tree, {{"A", "", {{"A1", "", {{"A1a", "", {}}}}, {"A2", "", {}}}}, {"B", "", {}}});
    ASSERT_FALSE(tree.TopItem(0)->Expanded());
    ExportIni(tree, (m_dir / "out.ini").string());
    EXPECT_EQ(ReadFile(m_dir / "out.ini"),
              "[A]\r\n\r\n\r\n[A1]\r\n\r\n\r\n[A1a]\r\n\r\n\r\n[A2]\r\n\r\n\r\n[B]\r\n\r\n\r\n");
    // The writers only read the tree.
    EXPECT_FALSE(tree.TopItem(0)->Expanded());
    EXPECT_FALSE(tree.TopItem(0)->Child(0)->Expanded());
}

TEST_F(ExchangeTest, LongerExistingFileIsReplacedWhole)
{
    TTreeList tree;
    Build(tree, {{"a", "b", {}}});
    const fs::path target = m_dir / "out.ini";
    WriteFile(target, std::string(100000, 'z'));
    ExportIni(tree, target.string());
    EXPECT_EQ(ReadFile(target), "[a]\r\nb\r\n\r\n");
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
}

TEST_F(ExchangeTest, EmptyTreeGivesEmptyFilesAndNoMultiFiles)
{
    TTreeList tree;
    WriteFile(m_dir / "t", "old");
    ExportTxt(tree, (m_dir / "t").string());
    ExportIni(tree, (m_dir / "i").string());
    fs::create_directory(m_dir / "multi");
    ExportMulti(tree, (m_dir / "multi").string());
    EXPECT_EQ(ReadFile(m_dir / "t"), "");
    EXPECT_EQ(ReadFile(m_dir / "i"), "");
    EXPECT_TRUE(FileNames(m_dir / "multi").empty());
}

TEST(BufferedFileTest, SmallBufferKeepsBytesInOrder)
{
    const fs::path path = fs::temp_directory_path() / ("vekexch-buffer-" + std::to_string(getpid()));
    {
        TBufferedFile file(path.string(), AT_FDCWD, 7);
        file.Write("abc");
        file.Write('=', 20);
        file.Write("0123456789ABCDEF");  // larger than the buffer
        file.Write("");
        file.Write("xy");
        file.Close();
    }
    EXPECT_EQ(ReadFile(path), "abc" + std::string(20, '=') + "0123456789ABCDEFxy");
    fs::remove(path);
}

// ---- multiple files: names ---------------------------------------------------

struct NamesCase {
    const char* label;
    std::vector<std::string> itemNames;
    std::vector<std::string> fileNames;
};

class MultiNamesTest : public ::testing::TestWithParam<NamesCase> {};

TEST_P(MultiNamesTest, FileNamesInDocumentOrder)
{
    TMultiExportNames names;
    std::vector<std::string> result;
    for (const std::string& item : GetParam().itemNames)
        result.push_back(names.FileName(item));
    EXPECT_EQ(result, GetParam().fileNames);
}

const std::string Long300(300, 'x');
const std::string Utf8Long = std::string(250, 'x') + "\xC3\xA4\xC3\xA4\xC3\xA4";  // 256 bytes

INSTANTIATE_TEST_SUITE_P(
    Exchange, MultiNamesTest,
    ::testing::Values(
        NamesCase{"Plain", {"Tools", "Misc"}, {"Tools.txt", "Misc.txt"}},
        NamesCase{"EmptyName", {"", ""}, {".txt", " (2).txt"}},
        NamesCase{"CaseInsensitiveDuplicates", {"Notes", "notes", "NOTES"},
                  {"Notes.txt", "notes (2).txt", "NOTES (3).txt"}},
        NamesCase{"GeneratedNameDoesNotTakeARealOne", {"a (2)", "a", "A"}, {"a (2).txt", "a.txt", "A (3).txt"}},
        NamesCase{"RealNameAfterGeneratedOne", {"a", "a", "a (2)"}, {"a.txt", "a (2).txt", "a (2) (2).txt"}},
        NamesCase{"PathsStayInsideTheFolder", {"../x", "a/b", "..", ".", "..\\y"},
                  {".._x.txt", "a_b.txt", "_.txt", "_ (2).txt", ".._y.txt"}},
        NamesCase{"WindowsForbiddenCharacters", {"con:", "<a>\"b|c?*"}, {"con_.txt", "_a__b_c__.txt"}},
        NamesCase{"ControlCharacters", {std::string("a\0b", 3), "t\tx\r\ny\x1F\x7F"},
                  {"a_b.txt", "t_x__y_\x7F.txt"}},
        NamesCase{"SanitisedNamesCollide", {"a/b", "a:b", "a_b"}, {"a_b.txt", "a_b (2).txt", "a_b (3).txt"}},
        NamesCase{"TooLongNameIsCut", {Long300, Long300},
                  {std::string(251, 'x') + ".txt", std::string(247, 'x') + " (2).txt"}},
        // 251 bytes would end inside the first two-byte character.
        NamesCase{"Utf8NameCutBetweenCharacters", {Utf8Long}, {std::string(250, 'x') + ".txt"}}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- multiple files: the folder --------------------------------------------

TEST_F(ExchangeTest, MultiWritesOnlyInsideTheFolderAndLeavesOtherFilesAlone)
{
    const fs::path folder = m_dir / "out";
    fs::create_directory(folder);
    WriteFile(folder / "unrelated.txt", "keep");
    WriteFile(folder / "Notes.txt", std::string(5000, 'o'));
    TTreeList tree;
    Build(tree, {{"../evil", "e", {}}, {"..", "dots", {}}, {"Notes", "first", {{"notes", "second\r\n", {}}}}});
    ExportMulti(tree, folder.string());
    EXPECT_EQ(FileNames(m_dir), (std::set<std::string>{"out"}));
    EXPECT_EQ(FileNames(folder),
              (std::set<std::string>{"unrelated.txt", ".._evil.txt", "_.txt", "Notes.txt", "notes (2).txt"}));
    EXPECT_EQ(ReadFile(folder / "unrelated.txt"), "keep");
    EXPECT_EQ(ReadFile(folder / ".._evil.txt"), "e\r\n");
    EXPECT_EQ(ReadFile(folder / "_.txt"), "dots\r\n");
    EXPECT_EQ(ReadFile(folder / "Notes.txt"), "first\r\n");
    EXPECT_EQ(ReadFile(folder / "notes (2).txt"), "second\r\n\r\n");
}

TEST_F(ExchangeTest, MultiStopsAtTheFirstFailingFileAndKeepsTheEarlierOnes)
{
    TTreeList tree;
    Build(tree, {{"a", "1", {}}, {"b", "2", {}}, {"c", "3", {}}});
    fs::create_directory(m_dir / "b.txt");  // a folder in the way: cannot be opened for writing
    const int before = OpenDescriptorCount();
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, m_dir.string()); }), InOutErrorAccessDenied);
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadFile(m_dir / "a.txt"), "1\r\n");
    EXPECT_FALSE(fs::exists(m_dir / "c.txt"));
}

// ---- errors ----------------------------------------------------------------

struct MessageCase {
    int code;
    const char* message;
};

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, MessageOfCode)
{
    const EInOutError error(GetParam().code);
    EXPECT_EQ(error.Code(), GetParam().code);
    EXPECT_STREQ(error.what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Exchange, MessageTest,
                         ::testing::Values(MessageCase{2, "File not found"}, MessageCase{3, "Invalid filename"},
                                           MessageCase{4, "Too many open files"},
                                           MessageCase{5, "File access denied"},
                                           MessageCase{100, "Read beyond end of file"},
                                           MessageCase{101, "Disk full"},
                                           MessageCase{106, "Invalid numeric input"},
                                           MessageCase{32, "I/O error 32"}, MessageCase{112, "I/O error 112"},
                                           MessageCase{123, "I/O error 123"}, MessageCase{0, "I/O error 0"},
                                           MessageCase{1005, "I/O error 1005"}));

struct ErrnoCase {
    int err;
    int code;
};

class ErrnoTest : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoTest, CodeOfErrno)
{
    EXPECT_EQ(EInOutError::CodeFromErrno(GetParam().err), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, ErrnoTest,
    ::testing::Values(ErrnoCase{ENOENT, 3}, ErrnoCase{ENOTDIR, 3}, ErrnoCase{EACCES, 5}, ErrnoCase{EPERM, 5},
                      ErrnoCase{EROFS, 5}, ErrnoCase{EISDIR, 5}, ErrnoCase{EMFILE, 4}, ErrnoCase{ENFILE, 4},
                      ErrnoCase{ENOSPC, 112}, ErrnoCase{EDQUOT, 112}, ErrnoCase{EFBIG, 112}, ErrnoCase{EBUSY, 32},
                      ErrnoCase{ETXTBSY, 32}, ErrnoCase{ENAMETOOLONG, 123}, ErrnoCase{EILSEQ, 123},
                      ErrnoCase{EINVAL, 123},
                      // No counterpart: the errno shifted out of the classic range.
                      ErrnoCase{EIO, 1000 + EIO}, ErrnoCase{ELOOP, 1000 + ELOOP}));

// A failing export of a file target; all fail for root too.
struct FailureCase {
    const char* label;
    std::function<std::string(const fs::path& dir)> target;
    const char* message;
};

class FailureTest : public ExchangeTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, TextAndIniReportTheError)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    const std::string target = GetParam().target(m_dir);
    if (target.empty())
        GTEST_SKIP() << "not available here";
    const int before = OpenDescriptorCount();
    for (auto* writer : {&ExportTxt, &ExportIni}) {
        std::string message;
        EXPECT_NE(ErrorCodeOf([&] { writer(tree, target); }, &message), 0);
        EXPECT_EQ(message, GetParam().message);
    }
    EXPECT_EQ(OpenDescriptorCount(), before);  // closed also after the error
}

INSTANTIATE_TEST_SUITE_P(
    Exchange, FailureTest,
    ::testing::Values(
        FailureCase{"MissingFolder", [](const fs::path& d) { return (d / "none" / "out.txt").string(); },
                    "Invalid filename"},
        // A regular file used as a folder (ENOTDIR).
        FailureCase{"FileAsFolder",
                    [](const fs::path& d) {
                        WriteFile(d / "plain", "x");
                        return (d / "plain" / "out.txt").string();
                    },
                    "Invalid filename"},
        // Writing over a folder is refused whoever asks (EISDIR).
        FailureCase{"TargetIsAFolder", [](const fs::path& d) { return d.string(); }, "File access denied"},
        FailureCase{"NameTooLong", [](const fs::path& d) { return (d / std::string(300, 'n')).string(); },
                    "I/O error 123"},
        // Every write fails with ENOSPC; it surfaces at the flush on closing.
        FailureCase{"DiskFull", [](const fs::path&) { return access("/dev/full", W_OK) == 0 ? "/dev/full" : ""; },
                    "I/O error 112"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ExchangeTest, ReadOnlyFolderIsAccessDenied)
{
    const fs::path folder = m_dir / "ro";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "permissions do not bind this user (root)";
    TTreeList tree;
    BuildWorkedExample(tree);
    EXPECT_EQ(ErrorCodeOf([&] { ExportTxt(tree, (folder / "out.txt").string()); }), InOutErrorAccessDenied);
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, folder.string()); }), InOutErrorAccessDenied);
}

TEST_F(ExchangeTest, MultiIntoMissingFolderIsInvalidFilename)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    EXPECT_EQ(ErrorCodeOf([&] { ExportMulti(tree, (m_dir / "none").string()); }), InOutErrorInvalidFilename);
}

// A size limit makes the file fill up in the middle of the export.
TEST_F(ExchangeTest, WrittenBytesStayWhenTheFileFillsUp)
{
    TTreeList tree;
    for (int i = 0; i < 2000; ++i)
        Build(tree, {{"item" + std::to_string(i), std::string(100, 'd'), {}}});
    const fs::path target = m_dir / "out.txt";

    constexpr rlim_t Limit = 100000;
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = Limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int code = ErrorCodeOf([&] { ExportTxt(tree, target.string()); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(code, InOutErrorWinDiskFull);
    fs::create_directory(m_dir / "full");
    ExportTxt(tree, (m_dir / "full" / "out.txt").string());
    const std::string complete = ReadFile(m_dir / "full" / "out.txt");
    ASSERT_GT(complete.size(), Limit);
    EXPECT_EQ(ReadFile(target), complete.substr(0, Limit));
}

// ---- trdtool export ----------------------------------------------------------

int RunTool(const std::string& arguments, const fs::path& errorFile)
{
    const std::string command = std::string("'") + TRDTOOL_PATH + "' " + arguments + " 2>'" + errorFile.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ExchangeTest, ToolWritesTheLibraryBytes)
{
    TTreeList tree;
    Build(tree, {{"Tools", "hammer\r\nsaw", {{"Misc", "", {}}, {"misc", "x\r\n", {}}}}, {"", "e", {}}});
    const fs::path trd = m_dir / "in.trd";
    SaveItems(tree, trd.string());
    const fs::path err = m_dir / "err";
    for (const std::string format : {"txt", "ini"}) {
        const fs::path byTool = m_dir / ("tool." + format);
        const fs::path byLibrary = m_dir / ("lib." + format);
        ASSERT_EQ(RunTool("export " + format + " '" + trd.string() + "' '" + byTool.string() + "'", err), 0)
            << ReadFile(err);
        (format == "txt" ? ExportTxt : ExportIni)(tree, byLibrary.string());
        EXPECT_EQ(ReadFile(byTool), ReadFile(byLibrary)) << format;
    }
    fs::create_directory(m_dir / "tool");
    fs::create_directory(m_dir / "lib");
    ASSERT_EQ(RunTool("export multi '" + trd.string() + "' '" + (m_dir / "tool").string() + "'", err), 0);
    ExportMulti(tree, (m_dir / "lib").string());
    ASSERT_EQ(FileNames(m_dir / "tool"), FileNames(m_dir / "lib"));
    for (const std::string& name : FileNames(m_dir / "lib"))
        EXPECT_EQ(ReadFile(m_dir / "tool" / name), ReadFile(m_dir / "lib" / name)) << name;
}

TEST_F(ExchangeTest, ToolReportsTheErrorWithAFullStop)
{
    TTreeList tree;
    BuildWorkedExample(tree);
    const fs::path trd = m_dir / "in.trd";
    SaveItems(tree, trd.string());
    const fs::path err = m_dir / "err";
    EXPECT_EQ(RunTool("export multi '" + trd.string() + "' '" + (m_dir / "none").string() + "'", err), 1);
    EXPECT_EQ(ReadFile(err), "Invalid filename.\n");
    EXPECT_EQ(RunTool("export txt '" + trd.string() + "' '" + (m_dir / std::string(300, 'n')).string() + "'", err), 1);
    EXPECT_EQ(ReadFile(err), "I/O error 123.\n");
}

}  // namespace

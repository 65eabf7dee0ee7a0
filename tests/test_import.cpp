#include "document/textcodec.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/fileimport.h"
#include "exchange/multiexportnames.h"
#include "tests/filetestkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One line per item in document order: depth dots, name, icon, then the
// description when it is not empty. Also checks that the item is whole.
std::vector<std::string> Dump(const TTreeList& tree)
{
    std::vector<std::string> lines;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        EXPECT_EQ(item->TextCount(), 2) << item->GetText(TreeListColumnName);
        std::string line = std::string(static_cast<size_t>(item->Level()), '.') + std::string(item->GetText(TreeListColumnName)) +
                           " #" + std::to_string(item->ImageIndex());
        if (!item->GetText(TreeListColumnDesc).empty())
            line += " = " + std::string(item->GetText(TreeListColumnDesc));
        lines.push_back(line);
    }
    return lines;
}

// What a view would hear of the tree's changes.
struct Recorder : TTreeListObserver {
    void ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last) override
    {
        heard.push_back((parent ? "child " : "top ") + std::to_string(first) + "-" + std::to_string(last));
    }
    void ItemChanged(TTreeListTextNode*) override { heard.push_back("changed"); }
    std::vector<std::string> heard;
};

using ImportTest = TTempFolderTest;

TEST_F(ImportTest, FilesBecomeTopLevelItemsInDropOrderAfterTheLastOne)
{
    WriteFile(m_dir / "z.txt", "last");
    WriteFile(m_dir / "a.txt", "first\nsecond");
    WriteFile(m_dir / "m.txt", "");
    TTreeList tree;
    // An expanded last item: its last visible row lies below the top level.
    TTreeListTextNode* old = tree.AddItem();
    old->SetText(1, "old");
    old->AddChild()->SetText(1, "child");
    old->SetExpanded(true);
    Recorder recorder;
    tree.AddObserver(&recorder);
    ImportFiles(tree, {Path("z.txt"), Path("a.txt"), Path("m.txt")}, TFileImportOptions{7, {}, {}});
    tree.RemoveObserver(&recorder);

    const std::vector<std::string> dump = Dump(tree);
    EXPECT_EQ(std::vector<std::string>(dump.begin() + 2, dump.end()),
              (std::vector<std::string>{"z.txt #7 = last\r\n", "a.txt #7 = first\r\nsecond\r\n", "m.txt #7"}));
    // One insertion of whole items, nothing changed after it.
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"top 1-3"}));
}

TEST_F(ImportTest, LineBreaksBecomeCrLfAndTextEndsAtTheFirstNul)
{
    const struct {
        std::string bytes, lines, normalised;
    } cases[] = {
        {"a\nb", "a\r\nb\r\n", "a\r\nb"},
        {"", "", ""},
        {std::string("a\0b\nc", 5), "a\r\n", "a"},
        {std::string("\0abc", 4), "", ""},
        {"a\r\nb\r\n", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n", "a\r\n\r\nb"},  // LF then CR: two breaks
        {"\r\n\n", "\r\n\r\n", "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(TextFileLines(c.bytes), c.lines);
        EXPECT_EQ(NormaliseLineBreaks(c.bytes), c.normalised);
        WriteFile(m_dir / "f", c.bytes);
        EXPECT_EQ(ReadTextFile(Path("f")), c.bytes.substr(0, c.bytes.find('\0')));
        TTreeList tree;
        ImportFiles(tree, {Path("f")}, {});
        EXPECT_EQ(tree.TopItem(0)->GetText(TreeListColumnDesc), c.lines);
    }
}

TEST_F(ImportTest, UnreadablePathsGetNoItemAndAreAllReported)
{
    WriteFile(m_dir / "a.txt", "a");
    WriteFile(m_dir / "locked.txt", "l");
    WriteFile(m_dir / "c.txt", "c");
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    // Another open of the file stands for another program holding it locked.
    const int holder = open(Path("locked.txt").c_str(), O_RDONLY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);

    TTreeList tree;
    const TFileImportResult result = ImportFiles(
        tree, {Path("a.txt"), Path("missing.txt"), Path("locked.txt"), Path("pipe"), Path("c.txt")}, {});
    close(holder);

    EXPECT_EQ(Dump(tree), (std::vector<std::string>{"a.txt #0 = a\r\n", "c.txt #0 = c\r\n"}));
    EXPECT_EQ(result.Failures, (std::vector<std::string>{
                                   "Cannot open file " + Path("missing.txt") + ": No such file or directory",
                                   "Cannot open file " + Path("locked.txt") + ": Locked by another program",
                                   "Cannot open file " + Path("pipe") + ": Not a regular file"}));
    EXPECT_THAT([&] { ReadTextFile(Path("missing.txt")); },
                ::testing::ThrowsMessage<EFOpenError>(
                    ::testing::StrEq("Cannot open file " + Path("missing.txt") + ": No such file or directory")));
}

// notes/ holds files in an order that byte order and number-aware order
// sort differently, a hidden file and folder, a binary file, a NUL late in
// a text file, links to a file, to its own folder and to itself.
class FolderImportTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        const fs::path notes = m_dir / "notes";
        fs::create_directories(notes / "sub");
        fs::create_directories(notes / ".git");
        WriteFile(notes / ".git" / "config", "x");
        WriteFile(notes / ".hidden", "x");
        WriteFile(notes / "a10.txt", "ten");
        WriteFile(notes / "a9.txt", "nine");
        WriteFile(notes / "bin.dat", std::string("PNG\0data", 8));
        WriteFile(notes / "late.txt", std::string(9000, 'x') + std::string("\0y", 2));
        WriteFile(notes / "sub" / "x.txt", "x");
        fs::create_symlink("a9.txt", notes / "link.txt");
        fs::create_symlink(".", notes / "loop");
        fs::create_symlink("self", notes / "self");
    }
    std::string Notes(const std::string& name) const { return Path("notes/" + name); }
};

TEST_F(FolderImportTest, FolderBecomesAnItemWithItsEntriesBelowItAndSurvivesSaveAndReopen)
{
    TTreeList tree;
    const TFileImportResult result = ImportFiles(tree, {Path("notes") + "/"}, TFileImportOptions{3, {}, {}});
    const std::string late = std::string(9000, 'x') + "\r\n";
    EXPECT_EQ(Dump(tree), (std::vector<std::string>{"notes #3", ".sub #3", "..x.txt #3 = x\r\n",
                                                    ".a10.txt #3 = ten\r\n", ".a9.txt #3 = nine\r\n",
                                                    ".late.txt #3 = " + late, ".link.txt #3 = nine\r\n"}));
    EXPECT_EQ(result.ItemsAdded, 7);
    EXPECT_EQ(result.Failures,
              (std::vector<std::string>{"Skipped binary file " + Notes("bin.dat"),
                                        "Cannot open file " + Notes("self") + ": Too many levels of symbolic links"}));
    SaveItems(tree, Path("out.trd"));
    TTreeList reopened;
    LoadItems(reopened, Path("out.trd"));
    EXPECT_EQ(Dump(reopened), Dump(tree));

    // Dropped on its own, a binary file keeps its text up to the NUL.
    TTreeList single;
    ImportFiles(single, {Notes("bin.dat")}, {});
    EXPECT_EQ(Dump(single), (std::vector<std::string>{"bin.dat #0 = PNG\r\n"}));

    // The caller's order, here number-aware as the file manager sorts.
    TFileImportOptions options;
    options.SortNames = [](std::vector<std::string>& names) {
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
    };
    TTreeList sorted;
    ImportFiles(sorted, {Path("notes")}, options);
    EXPECT_EQ(sorted.TopItem(0)->Child(1)->GetText(TreeListColumnName), "a9.txt");
}

TEST_F(FolderImportTest, CancelKeepsTheItemsFinishedSoFar)
{
    TTreeList tree;
    std::vector<size_t> calls;
    TFileImportOptions options{5, {}, [&calls](size_t done) {
                                   calls.push_back(done);
                                   return done < 4;  // the folder, sub, x.txt, a10.txt
                               }};
    const TFileImportResult result = ImportFiles(tree, {Path("notes"), Path("notes/a9.txt")}, options);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(calls, (std::vector<size_t>{1, 2, 3, 4}));
    EXPECT_EQ(result.ItemsAdded, 4);
    EXPECT_EQ(Dump(tree), (std::vector<std::string>{"notes #5", ".sub #5", "..x.txt #5 = x\r\n",
                                                    ".a10.txt #5 = ten\r\n"}));
}

TEST_F(ImportTest, NamesKeepEveryByteAndExportAsTheShownText)
{
    const struct {
        std::string file;
        TTextEncoding shown;
        std::string exported;
    } cases[] = {
        {"plain.txt", TTextEncoding::Utf8, "plain.txt.txt"},
        {"Gr\xC3\xBC\xC3\x9F" "e.txt", TTextEncoding::Utf8, "Gr\xC3\xBC\xC3\x9F" "e.txt.txt"},
        // Not UTF-8: an old single-byte name, shown and exported as "äö.txt".
        {"\xE4\xF6.txt", TTextEncoding::Windows1252, "\xC3\xA4\xC3\xB6.txt.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exported);
        WriteFile(m_dir / c.file, "x");
        TTreeList tree;
        ImportFiles(tree, {Path(c.file)}, {});
        const std::string name(tree.TopItem(0)->GetText(TreeListColumnName));
        EXPECT_EQ(name, c.file);
        EXPECT_EQ(DecodeText(name).encoding, c.shown);
        EXPECT_EQ(TMultiExportNames().FileName(name), c.exported);
    }
}

}  // namespace

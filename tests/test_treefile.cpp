#include "treefile.h"
#include "treelist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Little-endian file content written by hand.
class Bytes {
public:
    Bytes& I32(int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_data.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& U8(uint8_t v) { return Raw(std::string(1, static_cast<char>(v))); }
    Bytes& Raw(const std::string& s) { return m_data += s, *this; }
    Bytes& Str(const std::string& s) { return I32(static_cast<int32_t>(s.size())).Raw(s); }  // current variant
    // Header size 24 and the six fields.
    Bytes& Head(int32_t image, int32_t selected, int32_t state, int32_t data, int32_t children, int32_t strings)
    {
        return I32(24).I32(image).I32(selected).I32(state).I32(data).I32(children).I32(strings);
    }
    const std::string& str() const { return m_data; }

private:
    std::string m_data;
};

// One entry per item in document order: depth dots, numbers, strings.
std::vector<std::string> Items(const TTreeList& tree)
{
    std::vector<std::string> items;
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        std::string out(static_cast<size_t>(item->Level()), '.');
        out += std::to_string(item->ImageIndex()) + "," + std::to_string(item->StoredSelectedIndex()) + "," +
               std::to_string(item->StateIndex()) + "," + std::to_string(item->Data());
        for (int i = 0; i < item->TextCount(); ++i)
            out += "|" + item->GetText(i);
        items.push_back(out);
    }
    return items;
}

std::string Describe(const TTreeList& tree)
{
    std::string out;
    for (const std::string& item : Items(tree))
        out += item + ";";
    return out;
}


// As the main window answers it.
void AnswerWithImageIndex(TTreeList& tree)
{
    tree.OnGetSelectedIndex = [](TTreeList&, TTreeListTextNode* node, int32_t& index) { index = node->ImageIndex(); };
}

const std::string WorkedExample = Bytes()
                                      .I32(-1)
                                      .I32(1)
                                      .Head(3, 3, -1, 0, 1, 2)
                                      .Str("A")
                                      .Str("x")
                                      .Head(0, 0, -1, 0, 0, 1)
                                      .Str("B")
                                      .str();

// A deterministic tree with odd bytes, CR LF, empty and missing strings.
void BuildRandomTree(TTreeList& tree, int items)
{
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    std::vector<TTreeListTextNode*> all;
    for (int i = 0; i < items; ++i) {
        TTreeListTextNode* item = all.empty() || next(4) == 0 ? tree.AddItem() : all[next(all.size())]->AddChild();
        all.push_back(item);
        item->SetImageIndex(static_cast<int32_t>(next(216)));
        item->SetStateIndex(static_cast<int32_t>(next(5)) - 1);
        item->SetData(static_cast<int32_t>(next(1u << 31)) - (1 << 30));
        const uint32_t strings = next(4);
        for (uint32_t s = 0; s < strings; ++s) {
            std::string text;
            const uint32_t length = next(40);
            for (uint32_t k = 0; k < length; ++k)
                text += static_cast<char>(next(256));
            text += "\r\nline \xE9\xFF\x00 end";
            item->SetText(static_cast<int>(s), text);
        }
    }
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vek-treefile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteFile(const std::string& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

TEST_F(TempDir, WorkedExampleByteForByte)
{
    TTreeList tree;
    AnswerWithImageIndex(tree);
    TTreeListTextNode* a = tree.AddItem();
    a->SetImageIndex(3);
    a->SetText(TreeListColumnName, "A");
    a->SetText(TreeListColumnDesc, "x");
    a->AddChild()->SetText(TreeListColumnName, "B");

    ASSERT_EQ(WorkedExample.size(), 79u);
    EXPECT_EQ(WriteItems(tree), WorkedExample);
    SaveItems(tree, Path("example.trd"));
    EXPECT_EQ(ReadFile(Path("example.trd")), WorkedExample);

    TTreeList loaded;
    AnswerWithImageIndex(loaded);
    EXPECT_EQ(LoadItems(loaded, Path("example.trd")), TTreeFileVariant::Current);
    EXPECT_EQ(Describe(loaded), "3,-1,-1,0|A|x;.0,-1,-1,0|B;");
    EXPECT_EQ(WriteItems(loaded), WorkedExample);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string described;  // the tree afterwards
    bool fails;             // with "Stream read error"
    TTreeFileVariant variant;
};

class ReadItemsCase : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadItemsCase, LoadsOrFailsKeepingItemsReadSoFar)
{
    const ReadCase& c = GetParam();
    TTreeList tree;
    AnswerWithImageIndex(tree);
    tree.AddItem()->SetText(0, "old content");
    if (c.fails) {
        try {
            ReadItems(tree, c.bytes.data(), c.bytes.size());
            FAIL() << "no error";
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "Stream read error");
        }
    } else {
        EXPECT_EQ(ReadItems(tree, c.bytes.data(), c.bytes.size()), c.variant);
    }
    EXPECT_EQ(Describe(tree), c.described);
    EXPECT_FALSE(tree.Updating());
}

const std::string Long255(255, 'z');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadItemsCase,
    ::testing::Values(
        ReadCase{"EmptyCurrent", Bytes().I32(-1).I32(0).str(), "", false, TTreeFileVariant::Current},
        ReadCase{"EmptyOld", Bytes().I32(0).str(), "", false, TTreeFileVariant::Old},
        ReadCase{"AnyNegativeMarker", Bytes().I32(-7).I32(1).Head(1, 1, -1, 0, 0, 0).str(), "1,-1,-1,0;", false,
                 TTreeFileVariant::Current},
        ReadCase{"NegativeCountReadsNothing", Bytes().I32(-1).I32(-5).str(), "", false, TTreeFileVariant::Current},
        ReadCase{"LongerHeaderSkipped",
                 Bytes().I32(-1).I32(1).I32(28).I32(5).I32(5).I32(2).I32(9).I32(0).I32(1).I32(77).Str("n").str(),
                 "5,-1,2,9|n;", false, TTreeFileVariant::Current},
        ReadCase{"OldVariantByteLengths",
                 Bytes().I32(1).Head(2, 2, -1, 4, 1, 2).U8(1).Raw("a").U8(255).Raw(Long255).Head(0, 0, -1, 0, 0, 1)
                     .U8(0).str(),
                 "2,-1,-1,4|a|" + Long255 + ";.0,-1,-1,0|;", false, TTreeFileVariant::Old},
        ReadCase{"DifferingSelectedIndexStored", Bytes().I32(-1).I32(1).Head(3, 8, -1, 0, 0, 0).str(), "3,8,-1,0;",
                 false, TTreeFileVariant::Current},
        ReadCase{"NegativeStringAndChildCounts",
                 Bytes().I32(-1).I32(2).Head(1, 1, -1, 0, -3, -2).Head(2, 2, -1, 0, 0, 1).Str("b").str(),
                 "1,-1,-1,0;2,-1,-1,0|b;", false, TTreeFileVariant::Current},
        ReadCase{"EmptyFile", "", "", true, TTreeFileVariant::Current},
        ReadCase{"HeaderBelow24", Bytes().I32(-1).I32(1).I32(20).I32(0).I32(0).I32(0).I32(0).I32(0).str(),
                 "0,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"NegativeHeaderSize", Bytes().I32(-1).I32(1).I32(-24).Raw(std::string(40, '\0')).str(),
                 "0,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"HeaderLargerThanFile", Bytes().I32(-1).I32(1).I32(1 << 30).Raw(std::string(30, '\0')).str(),
                 "0,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"NegativeStringLength", Bytes().I32(-1).I32(1).Head(1, 1, -1, 0, 0, 2).Str("a").I32(-1).str(),
                 "1,-1,-1,0|a;", true, TTreeFileVariant::Current},
        ReadCase{"StringLongerThanFile", Bytes().I32(-1).I32(1).Head(1, 1, -1, 0, 0, 1).I32(0x7FFFFFFF).Raw("ab").str(),
                 "1,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"HugeChildCount", Bytes().I32(-1).I32(1).Head(1, 1, -1, 0, 0x7FFFFFFF, 0).Raw("0123456789").str(),
                 "1,-1,-1,0;.0,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"HugeStringCount", Bytes().I32(-1).I32(1).Head(1, 1, -1, 0, 0, 0x7FFFFFFF).Str("a").Str("").str(),
                 "1,-1,-1,0|a|;", true, TTreeFileVariant::Current},
        ReadCase{"HugeTopCount", Bytes().I32(-1).I32(0x7FFFFFFF).Head(1, 1, -1, 0, 0, 0).str(),
                 "1,-1,-1,0;0,-1,-1,0;", true, TTreeFileVariant::Current},
        ReadCase{"HugeOldStringCount", Bytes().I32(1).Head(1, 1, -1, 0, 0, 0x7FFFFFFF).U8(0).U8(1).Raw("q").str(),
                 "1,-1,-1,0||q;", true, TTreeFileVariant::Current}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeFile, RoundTripIsByteIdenticalAndLoadsCollapsedWithFirstItemFocused)
{
    TTreeList tree;
    AnswerWithImageIndex(tree);
    BuildRandomTree(tree, 400);
    tree.ExpandAll();
    const std::string bytes = WriteItems(tree);

    TTreeList loaded;
    AnswerWithImageIndex(loaded);
    int changes = 0;
    loaded.OnChangeNode = [&](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ++changes; };
    ReadItems(loaded, bytes.data(), bytes.size());
    EXPECT_EQ(WriteItems(loaded), bytes);
    EXPECT_EQ(Describe(loaded), Describe(tree));
    EXPECT_EQ(loaded.FocusedItem(), loaded.TopItem(0));
    EXPECT_EQ(changes, 0);
    for (auto* item = loaded.TopItem(0); item; item = loaded.NextInDocument(item))
        EXPECT_FALSE(item->Expanded());
}


TEST(TreeFile, RewritesOldVariantAndStoredSelectedIndexAsCurrent)
{
    const std::pair<std::string, std::string> cases[] = {
        {Bytes().I32(1).Head(3, 3, -1, 0, 1, 2).U8(1).Raw("A").U8(1).Raw("x").Head(0, 0, -1, 0, 0, 1).U8(1).Raw("B").str(),
         WorkedExample},
        {Bytes().I32(-1).I32(1).Head(3, 8, -1, 0, 0, 0).str(), Bytes().I32(-1).I32(1).Head(3, 3, -1, 0, 0, 0).str()}};
    for (const auto& [in, out] : cases) {
        TTreeList tree;
        AnswerWithImageIndex(tree);
        ReadItems(tree, in.data(), in.size());
        EXPECT_EQ(WriteItems(tree), out);
    }
}

TEST(TreeFile, TruncatedAtEveryOffsetFailsAndKeepsAPrefix)
{
    TTreeList source;
    BuildRandomTree(source, 30);
    const std::string bytes = WriteItems(source);
    const std::vector<std::string> full = Items(source);
    size_t lastCount = 0;
    for (size_t length = 0; length < bytes.size(); ++length) {
        TTreeList tree;
        try {
            ReadItems(tree, bytes.data(), length);
            ADD_FAILURE() << "no error at length " << length;
        } catch (const EReadError&) {
        }
        ASSERT_FALSE(tree.Updating());
        const std::vector<std::string> got = Items(tree);
        ASSERT_GE(got.size(), lastCount) << length;
        ASSERT_LE(got.size(), full.size()) << length;
        lastCount = got.size();
        // Every item but the one being read is complete and in its place.
        for (size_t i = 0; i + 1 < got.size(); ++i)
            ASSERT_EQ(got[i], full[i]) << length;
    }
    EXPECT_EQ(lastCount, 30u);
}

TEST(TreeFile, DeepNestingReadsAndWritesWithoutRecursion)
{
    constexpr int Depth = 100000;
    Bytes b;
    b.I32(-1).I32(1);
    for (int i = 0; i < Depth; ++i)
        b.Head(i % 216, i % 216, -1, i, i + 1 < Depth ? 1 : 0, 0);
    TTreeList tree;
    AnswerWithImageIndex(tree);
    ReadItems(tree, b.str().data(), b.str().size());
    int count = 0;  // not Items(): Level() would make the walk quadratic
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    EXPECT_EQ(count, Depth);
    EXPECT_EQ(WriteItems(tree), b.str());
}

TEST_F(TempDir, LoadNotifiesOneResetAndKeepsTreeWhenFileCannotOpen)
{
    TTreeList tree;
    AnswerWithImageIndex(tree);
    tree.AddItem()->SetText(0, "keep");
    tree.TopItem(0)->SetSelected(true);
    try {
        LoadItems(tree, Path("missing.trd"));
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.what(), "Cannot open file " + Path("missing.trd"));
    }
    EXPECT_EQ(Describe(tree), "0,-1,-1,0|keep;");

    WriteFile(Path("example.trd"), WorkedExample);
    struct Recorder : TTreeListObserver {
        void AboutToReset() override { log += "reset;"; }
        void ResetDone() override { log += "done;"; }
        void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { log += "insert;"; }
        void FocusChanged(TTreeListTextNode*) override { log += "focus;"; }
        std::string log;
    } rec;
    tree.AddObserver(&rec);
    int counts = 0;
    tree.OnSelectedCountChange = [&](TTreeList&) { ++counts; };
    LoadItems(tree, Path("example.trd"));
    EXPECT_EQ(rec.log, "reset;done;");
    EXPECT_EQ(counts, 1);
    EXPECT_EQ(Describe(tree), "3,-1,-1,0|A|x;.0,-1,-1,0|B;");

    // A damaged file still ends the reset and keeps what was read.
    rec.log.clear();
    WriteFile(Path("cut.trd"), WorkedExample.substr(0, 60));
    EXPECT_THROW(LoadItems(tree, Path("cut.trd")), EReadError);
    EXPECT_EQ(rec.log, "reset;done;");
    EXPECT_EQ(Describe(tree), "3,-1,-1,0|A|x;.0,-1,-1,0;");
    EXPECT_FALSE(tree.Updating());
}

TEST_F(TempDir, SaveThatCannotCreateLeavesWhatWasThere)
{
    TTreeList tree;
    const std::string target = Path("no/such/folder.trd");
    try {
        SaveItems(tree, target);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.what(), "Cannot create file " + target);
    }
    fs::create_directory(Path("sub"));
    EXPECT_THROW(SaveItems(tree, Path("sub")), EFCreateError);
    EXPECT_TRUE(fs::is_directory(Path("sub")));
    if (::geteuid() == 0)
        return;  // permissions do not bind root
    WriteFile(Path("doc.trd"), "previous");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(SaveItems(tree, Path("doc.trd")), EFCreateError);
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(Path("doc.trd")), "previous");
}



TEST_F(TempDir, FailedWriteLeavesPreviousFileAndNoTemporary)
{
    WriteFile(Path("doc.trd"), "previous");
    TTreeList tree;
    BuildRandomTree(tree, 200);
    ASSERT_GT(WriteItems(tree).size(), 4096u);

    // A file size limit makes the write fail as a full disk would.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        SaveItems(tree, Path("doc.trd"));
    } catch (const EWriteError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Stream write error");
    EXPECT_EQ(ReadFile(Path("doc.trd")), "previous");
    EXPECT_THAT(Entries(), ::testing::ElementsAre("doc.trd"));
}

TEST_F(TempDir, SaveReplacesInPlaceKeepingPermissionsAndLinks)
{
    TTreeList tree;
    tree.AddItem()->SetText(0, "n");
    WriteFile(Path("doc.trd"), "previous");
    fs::permissions(Path("doc.trd"), fs::perms(0640));
    fs::create_symlink("doc.trd", Path("link.trd"));
    SaveItems(tree, Path("link.trd"));
    EXPECT_TRUE(fs::is_symlink(Path("link.trd")));
    EXPECT_EQ(ReadFile(Path("doc.trd")), WriteItems(tree));
    EXPECT_EQ(fs::status(Path("doc.trd")).permissions(), fs::perms(0640));

    const mode_t mask = ::umask(022);
    SaveItems(tree, Path("new.trd"));
    ::umask(mask);
    EXPECT_EQ(fs::status(Path("new.trd")).permissions(), fs::perms(0644));

    const std::string longest = std::string(251, 'n') + ".trd";  // no room for a longer temporary name
    WriteFile(Path(longest), "previous");
    SaveItems(tree, Path(longest));
    EXPECT_EQ(ReadFile(Path(longest)), WriteItems(tree));
    EXPECT_THAT(Entries(), ::testing::ElementsAre("doc.trd", "link.trd", "new.trd", longest));
}


}  // namespace

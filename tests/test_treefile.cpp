#include "document/treefile.h"
#include "document/treelist.h"
#include "document/treesnapshot.h"
#include "tests/filetestkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
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
    operator std::string() const { return m_data; }

private:
    std::string m_data;
};

// The start of a current-variant file with `count` top-level items.
Bytes File(int32_t count) { return Bytes().I32(-1).I32(count); }

// One entry per item in document order: depth dots, numbers, strings.
std::vector<std::string> Items(const TTreeList& tree)
{
    std::vector<std::string> items;
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        std::string out(static_cast<size_t>(item->Level()), '.');
        out += std::to_string(item->ImageIndex()) + "," + std::to_string(item->StoredSelectedIndex()) + "," +
               std::to_string(item->StateIndex()) + "," + std::to_string(item->Data());
        for (int i = 0; i < item->TextCount(); ++i)
            out += "|" + std::string(item->GetText(i));
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

// Item "A" (icon 3, description "x") with one child "B" (icon 0).
const std::string WorkedExample = ReadFile(VEK_TEST_DATA "/worked-example.trd");

// A deterministic tree with odd bytes, CR LF, empty and missing strings.
void BuildRandomTree(TTreeList& tree, int items)
{
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) { return ((seed = seed * 1103515245u + 12345u) >> 8) % range; };
    std::vector<TTreeListTextNode*> all;
    for (int i = 0; i < items; ++i) {
        TTreeListTextNode* item = all.empty() || next(4) == 0 ? tree.AddItem() : all[next(all.size())]->AddChild();
        all.push_back(item);
        item->SetImageIndex(static_cast<int32_t>(next(216)));
        item->SetStateIndex(static_cast<int32_t>(next(5)) - 1);
        item->SetData(static_cast<int32_t>(next(1u << 31)) - (1 << 30));
        for (int s = 0, strings = static_cast<int>(next(4)); s < strings; ++s)
            item->SetText(s, std::string(next(40), static_cast<char>(next(256))) + "\r\nline \xE9\xFF");
    }
}

class TempDir : public TTempFolderTest {
protected:
    long Entries() const { return std::distance(fs::directory_iterator(m_dir), {}); }
};

// The read side is checked item by item in the cases below.
TEST(TreeFile, WorkedExampleByteForByte)
{
    TTreeList tree;
    AnswerWithImageIndex(tree);
    ReadItems(tree, WorkedExample.data(), WorkedExample.size());
    EXPECT_EQ(WriteItems(tree), WorkedExample);
}

constexpr auto Current = TTreeFileVariant::Current;
constexpr auto Old = TTreeFileVariant::Old;
constexpr std::nullopt_t Fails = std::nullopt;  // with "Stream read error"

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string described;  // the tree afterwards
    std::optional<TTreeFileVariant> variant;
};

class ReadItemsCase : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadItemsCase, LoadsOrFailsKeepingItemsReadSoFar)
{
    const ReadCase& c = GetParam();
    TTreeList tree;
    AnswerWithImageIndex(tree);
    tree.AddItem()->SetText(0, "old content");
    if (c.variant)
        EXPECT_EQ(ReadItems(tree, c.bytes.data(), c.bytes.size()), *c.variant);
    else
        EXPECT_THAT([&] { ReadItems(tree, c.bytes.data(), c.bytes.size()); },
                    ::testing::ThrowsMessage<EReadError>(::testing::StrEq("Stream read error")));
    EXPECT_EQ(Describe(tree), c.described);
    EXPECT_FALSE(tree.Updating());
}

const std::string Long255(255, 'z');

const ReadCase Reads[] = {
    {"EmptyOld", Bytes().I32(0), "", Old},
    {"AnyNegativeMarkerAndNegativeCount", Bytes().I32(-7).I32(-5), "", Current},
    {"LongerHeaderSkipped", File(1).I32(28).I32(5).I32(5).I32(2).I32(9).I32(0).I32(1).I32(77).Str("n"),
     "5,-1,2,9|n;", Current},
    {"OldVariantByteLengths",
     Bytes().I32(1).Head(2, 2, -1, 4, 1, 2).U8(1).Raw("a").U8(255).Raw(Long255).Head(0, 0, -1, 0, 0, 1).U8(0),
     "2,-1,-1,4|a|" + Long255 + ";.0,-1,-1,0|;", Old},
    {"WorkedExample", WorkedExample, "3,-1,-1,0|A|x;.0,-1,-1,0|B;", Current},
    {"DifferingSelectedIndexStored", File(1).Head(3, 8, -1, 0, 0, 0), "3,8,-1,0;", Current},
    {"NegativeItemCounts", File(2).Head(1, 1, -1, 0, -3, -2).Head(2, 2, -1, 0, 0, 1).Str("b"),
     "1,-1,-1,0;2,-1,-1,0|b;", Current},
    {"HeaderBelow24", File(1).I32(20).I32(0).I32(0).I32(0).I32(0).I32(0), "0,-1,-1,0;", Fails},
    {"HeaderLargerThanFile", File(1).I32(1 << 30).Raw(std::string(30, '\0')), "0,-1,-1,0;", Fails},
    {"NegativeStringLength", File(1).Head(1, 1, -1, 0, 0, 2).Str("a").I32(-1), "1,-1,-1,0|a;", Fails},
    {"StringLongerThanFile", File(1).Head(1, 1, -1, 0, 0, 1).I32(0x7FFFFFFF).Raw("ab"), "1,-1,-1,0;", Fails},
    {"HugeChildCount", File(1).Head(1, 1, -1, 0, 0x7FFFFFFF, 0).Raw("0123456789"), "1,-1,-1,0;.0,-1,-1,0;", Fails},
    {"HugeStringCount", File(1).Head(1, 1, -1, 0, 0, 0x7FFFFFFF).Str("a").Str(""), "1,-1,-1,0|a|;", Fails},
    {"HugeTopCount", File(0x7FFFFFFF).Head(1, 1, -1, 0, 0, 0), "1,-1,-1,0;0,-1,-1,0;", Fails},
    {"HugeOldStrings", Bytes().I32(1).Head(1, 1, -1, 0, 0, 0x7FFFFFFF).U8(0).U8(1).Raw("q"), "1,-1,-1,0||q;", Fails},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadItemsCase, ::testing::ValuesIn(Reads),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TreeFile, RoundTripIsByteIdenticalAndLoadsCollapsedWithFirstItemFocused)
{
    TTreeList tree, loaded;
    AnswerWithImageIndex(tree);
    AnswerWithImageIndex(loaded);
    BuildRandomTree(tree, 400);
    tree.ExpandAll();
    const std::string bytes = WriteItems(tree);
    loaded.OnChangeNode = [](TTreeList&, TTreeListTextNode*, TTreeListTextNode*) { ADD_FAILURE() << "focus reported"; };
    ReadItems(loaded, bytes.data(), bytes.size());
    EXPECT_EQ(WriteItems(loaded), bytes);
    EXPECT_EQ(Describe(loaded), Describe(tree));
    EXPECT_EQ(loaded.FocusedItem(), loaded.TopItem(0));
    for (auto* item = loaded.TopItem(0); item; item = loaded.NextInDocument(item))
        EXPECT_FALSE(item->Expanded());
}

// What may happen to the tree while its snapshot is being taken, to one
// item of it.
struct TSnapshotEdit {
    const char* name;
    void (*edit)(TTreeList& tree, TTreeListTextNode* item);
    bool itemStays = true;
};

const TSnapshotEdit SnapshotEdits[] = {
    {"StringsAndNumbers", [](TTreeList&, TTreeListTextNode* item) {
         item->SetText(TreeListColumnName, "renamed");
         item->SetImageIndex(item->ImageIndex() + 1);
         item->TruncateTexts(1);
     }},
    {"ChildAdded", [](TTreeList&, TTreeListTextNode* item) { item->AddChild()->SetText(0, "new"); }},
    {"TopItemAdded", [](TTreeList& tree, TTreeListTextNode*) { tree.AddItem()->SetText(0, "new"); }},
    {"ChangedThenDeletedWithItsParent", [](TTreeList& tree, TTreeListTextNode* item) {
         item->SetText(TreeListColumnName, "renamed");
         item->AddChild();
         tree.Delete(item->Parent() ? item->Parent() : item);
     }, false},
    {"DetachedChangedAndBack", [](TTreeList& tree, TTreeListTextNode* item) {
         const TTreeListPlace place = tree.DetachSubtree(item);
         item->SetText(TreeListColumnName, "renamed");
         tree.Reattach(item, place);
     }},
    {"ChildMovedToTheTop", [](TTreeList& tree, TTreeListTextNode* item) {
         if (item->Count() > 0)
             tree.MoveItem(item->Child(0), nullptr, 0);
     }},
    {"MovedIntoTheLastTopItem", [](TTreeList& tree, TTreeListTextNode* item) {
         TTreeListTextNode* last = tree.TopItem(tree.TopItemCount() - 1);
         if (item != last && !item->IsInside(last))
             tree.MoveItem(item, last, 0);
     }},
    {"SiblingsReversed", [](TTreeList& tree, TTreeListTextNode* item) {
         TTreeListOrder order{item->Parent(), {}};
         for (int i = item->Parent() ? item->Parent()->Count() : tree.TopItemCount(); i-- > 0;)
             order.items.push_back(item->Parent() ? item->Parent()->Child(i) : tree.TopItem(i));
         tree.Reorder({order});
     }},
    {"SubtreeInsertedAfterIt", [](TTreeList& tree, TTreeListTextNode* item) {
         TTreeList other;
         other.AddItem()->AddChild()->AddChild();
         other.AddItem();
         tree.InsertItemsFrom(other, item->Parent(), item->Index() + 1);
     }},
    {"ItemAddedThenTheLastTopItemMovedUnderIt", [](TTreeList& tree, TTreeListTextNode* item) {
         TTreeListTextNode* added = item->AddChild();
         TTreeListTextNode* last = tree.TopItem(tree.TopItemCount() - 1);
         if (item != last && !item->IsInside(last))
             tree.MoveItem(last, added, 0);
     }},
    {"Cleared", [](TTreeList& tree, TTreeListTextNode*) { tree.ClearItems(); }, false},
};

void PrintTo(const TSnapshotEdit& edit, std::ostream* out)
{
    *out << edit.name;
}

class SnapshotEdit : public ::testing::TestWithParam<TSnapshotEdit> {};

// Whatever happens to an item ahead of the records taken, or behind them,
// the bytes are the tree as it was when the snapshot was made.
TEST_P(SnapshotEdit, BytesAreTheTreeAsItWasWhenTheSnapshotBegan)
{
    TTreeList original;
    AnswerWithImageIndex(original);
    BuildRandomTree(original, 40);
    const std::string before = WriteItems(original);
    const size_t count = Items(original).size();
    // The order is taken an item a call, then the records a record a call.
    for (size_t taken = 0; taken <= 2 * count; taken += 3) {
        for (const size_t target : {taken % count, taken / 2 % count}) {
            TTreeList tree;
            AnswerWithImageIndex(tree);
            ReadItems(tree, before.data(), before.size());
            TTreeListTextNode* item = tree.TopItem(0);
            for (size_t i = 0; i < target; ++i)
                item = tree.NextInDocument(item);
            TTreeSnapshot snapshot(tree);
            for (size_t i = 0; i < taken; ++i)
                snapshot.Next(1);
            GetParam().edit(tree, item);
            // Once more, differently: the first change counts.
            if (GetParam().itemStays)
                item->SetText(TreeListColumnName, "again");
            while (!snapshot.Next(1)) {
            }
            std::string bytes;
            for (const std::string& part : snapshot.TakeParts())
                bytes += part;
            EXPECT_EQ(bytes, before) << taken << " steps taken, item " << target << " changed";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapshotEdit, ::testing::ValuesIn(SnapshotEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TreeFile, TruncatedAtEveryOffsetFailsAndKeepsAPrefix)
{
    TTreeList source;
    BuildRandomTree(source, 30);
    const std::string bytes = WriteItems(source);
    const std::vector<std::string> full = Items(source);
    size_t lastCount = 0;  // items kept from the longest cut
    for (size_t length = 0; length < bytes.size(); ++length) {
        TTreeList tree;
        EXPECT_THROW(ReadItems(tree, bytes.data(), length), EReadError) << length;
        ASSERT_FALSE(tree.Updating());
        const std::vector<std::string> got = Items(tree);
        ASSERT_LE(got.size(), full.size()) << length;
        lastCount = got.size();
        // Every item but the one being read is complete and in its place.
        for (size_t i = 0; i + 1 < got.size(); ++i)
            ASSERT_EQ(got[i], full[i]) << length;
    }
    EXPECT_EQ(lastCount, full.size());
}

TEST(TreeFile, KeepsOnlyTheTextsOfTheFileItLoaded)
{
    // Headers far larger than the texts: what the tree keeps of the file
    // must not grow with them.
    constexpr int Count = 2000;
    Bytes b = File(Count);
    for (int i = 0; i < Count; ++i)
        b.I32(24 + 1000).I32(i % 216).I32(i % 216).I32(-1).I32(i).I32(0).I32(2).Raw(std::string(1000, '\0'))
            .Str("n" + std::to_string(i)).Str(i % 3 ? "d" : "");
    const std::string bytes = b;
    TTreeList tree;
    ReadItems(tree, bytes.data(), bytes.size());
    EXPECT_LT(tree.MemoryBytes(), bytes.size() / 4);
    for (int i = 0; i < Count; ++i) {
        ASSERT_EQ(tree.TopItem(i)->GetText(0), "n" + std::to_string(i));
        ASSERT_EQ(tree.TopItem(i)->GetText(1), i % 3 ? "d" : "");
    }
}

TEST(TreeFile, DeepNestingReadsAndWritesWithoutRecursion)
{
    constexpr int Depth = 100000;
    Bytes b = File(1);
    for (int i = 0; i < Depth; ++i)
        b.Head(i % 216, i % 216, -1, i, i + 1 < Depth ? 1 : 0, 0);
    const std::string bytes = b;
    TTreeList tree;
    AnswerWithImageIndex(tree);
    ReadItems(tree, bytes.data(), bytes.size());
    EXPECT_EQ(WriteItems(tree), bytes);
}

TEST_F(TempDir, LoadIsOneResetAndKeepsTreeWhenFileCannotOpen)
{
    TTreeList tree;
    tree.AddItem()->SetSelected(true);
    EXPECT_THAT([&] { LoadItems(tree, Path("missing.trd")); },
                ::testing::ThrowsMessage<EFOpenError>(::testing::StrEq("Cannot open file " + Path("missing.trd"))));
    EXPECT_EQ(Describe(tree), "0,-1,-1,0;");
    // Neither a device nor a named pipe without a writer is taken for a file.
    ASSERT_EQ(::mkfifo(Path("pipe.trd").c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/null"), Path("pipe.trd")})
        ASSERT_THAT([&] { LoadItems(tree, path); },
                    ::testing::ThrowsMessage<EFOpenError>(::testing::StrEq("Cannot open file " + path)));
    EXPECT_EQ(Describe(tree), "0,-1,-1,0;");

    struct Recorder : TTreeListObserver {
        void AboutToReset() override { log += "reset;"; }
        void ResetDone() override { log += "done;"; }
        std::string log;
    } rec;
    tree.AddObserver(&rec);
    int counts = 0;
    tree.OnSelectedCountChange = [&](TTreeList&) { ++counts; };
    WriteFile(Path("example.trd"), WorkedExample);
    LoadItems(tree, Path("example.trd"));
    EXPECT_EQ(rec.log, "reset;done;");
    EXPECT_EQ(counts, 1);

    // A damaged file still ends the reset.
    WriteFile(Path("cut.trd"), WorkedExample.substr(0, 60));
    EXPECT_THAT([&] { LoadItems(tree, Path("cut.trd")); },
                ::testing::ThrowsMessage<EReadError>(::testing::StrEq("Stream read error: " + Path("cut.trd"))));
    EXPECT_EQ(rec.log, "reset;done;reset;done;");
}

TEST_F(TempDir, SaveThatCannotCreateLeavesWhatWasThere)
{
    TTreeList tree;
    const std::string target = Path("no/such/folder.trd");
    EXPECT_THAT([&] { SaveItems(tree, target); },
                ::testing::ThrowsMessage<EFCreateError>(::testing::StrEq("Cannot create file " + target)));
    fs::create_directory(Path("sub"));
    EXPECT_THROW(SaveItems(tree, Path("sub")), EFCreateError);
    EXPECT_TRUE(fs::is_directory(Path("sub")));
    if (::geteuid() == 0)
        GTEST_SKIP() << "a write-protected folder does not stop root";
    WriteFile(Path("doc.trd"), "previous");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(SaveItems(tree, Path("doc.trd")), EFCreateError);
    fs::permissions(m_dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(Path("doc.trd")), "previous");
}

TEST_F(TempDir, AFileLockedByAnotherProgramIsNeitherReadNorReplaced)
{
    WriteFile(Path("held.trd"), "previous");
    const int holder = ::open(Path("held.trd").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    TTreeList tree;
    tree.AddItem()->SetText(0, "kept");
    EXPECT_THAT([&] { SaveItems(tree, Path("held.trd")); },
                ::testing::ThrowsMessage<EFCreateError>(::testing::StrEq("Cannot create file " + Path("held.trd"))));
    EXPECT_THAT([&] { LoadItems(tree, Path("held.trd")); },
                ::testing::ThrowsMessage<EFOpenError>(::testing::StrEq("Cannot open file " + Path("held.trd"))));
    EXPECT_EQ(tree.TopItem(0)->GetText(0), "kept");
    ::close(holder);
    EXPECT_EQ(ReadFile(Path("held.trd")), "previous");
    EXPECT_EQ(Entries(), 1);
    SaveItems(tree, Path("held.trd"));
    EXPECT_EQ(ReadFile(Path("held.trd")), WriteItems(tree));
}

TEST_F(TempDir, FailedWriteLeavesPreviousFileAndNoTemporary)
{
    WriteFile(Path("doc.trd"), "previous");
    TTreeList tree;
    tree.AddItem()->SetText(0, std::string(8192, 'x'));

    WithFileSizeLimit(1024, [&] {
        EXPECT_THAT([&] { SaveItems(tree, Path("doc.trd")); },
                    ::testing::ThrowsMessage<EWriteError>(::testing::StrEq("Stream write error: " + Path("doc.trd"))));
    });
    EXPECT_EQ(ReadFile(Path("doc.trd")), "previous");
    EXPECT_EQ(Entries(), 1);  // no temporary left behind
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
    EXPECT_EQ(Entries(), 4);
}

TEST_F(TempDir, BufferedWritesLargerThanTheBufferAreComplete)
{
    const auto raise = [](int, const std::string& fileName) { throw EWriteError(fileName); };
    TBufferedWriter file(OpenFile(Path("small"), O_WRONLY | O_CREAT), Path("small"), raise, 7);
    file.Write("abc");
    file.Write('=', 20);
    // The first larger than the buffer; an empty view may have no bytes at all.
    for (std::string_view bytes : {std::string_view("0123456789ABCDEF"), std::string_view(), std::string_view("xy")})
        file.Write(bytes);
    file.Close();
    EXPECT_EQ(ReadFile(Path("small")), "abc" + std::string(20, '=') + "0123456789ABCDEFxy");
}

}  // namespace

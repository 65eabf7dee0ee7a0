// What the tree's storage can get wrong: strings that point into a loaded
// file's bytes, items cut from shared chunks, memory reused after a delete
// or a clear. Each case compares the tree with a plain model of the same
// edits; the sanitizer build reports any string read after its bytes went.
#include "document/pagememory.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "fuzz/treemodel.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// `count` top-level items "<prefix>0", "<prefix>1", ... with a description
// each, each holding a chain of `levels` more such items.
std::string FileOf(int count, const std::string& prefix, int levels = 0)
{
    TTreeList tree;
    for (int i = 0; i < count; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        for (int level = 0; level <= levels; ++level) {
            if (level > 0)
                item = item->AddChild();
            item->SetText(TreeListColumnName, prefix + std::to_string(i));
            item->SetText(TreeListColumnDesc, std::string(40, static_cast<char>('a' + (i + level) % 26)));
        }
    }
    return WriteItems(tree);
}

}  // namespace

TEST(ItemStore, EditedStringsOutliveTheLoadedBytes)
{
    TTreeList tree;
    {
        const std::string file = FileOf(2, "item ");
        ReadItems(tree, file.data(), file.size());
    }  // the caller's bytes are gone: the tree holds its own
    TTreeModel model(tree);
    TTreeListTextNode* first = tree.TopItem(0);
    // A copy of a string that still lies in the file's bytes, then every
    // other such string let go, so the bytes are given back.
    model.SetText(0, TreeListColumnDesc, "item 1");
    first->SetText(TreeListColumnDesc, tree.TopItem(1)->GetText(TreeListColumnName));
    model.Delete(1);
    tree.Delete(tree.TopItem(1));
    model.SetText(0, TreeListColumnName, "renamed");
    first->SetText(TreeListColumnName, "renamed");
    EXPECT_EQ(model.Mismatch(tree), "");

    // Items moved over from another loaded tree keep their strings when
    // that tree loads something else.
    TTreeList other;
    const std::string more = FileOf(3, "more ");
    ReadItems(other, more.data(), more.size());
    tree.AppendItemsFrom(other);
    ReadItems(other, more.data(), more.size());
    for (int i = 0; i < 3; ++i) {
        model.AddChild(-1);
        model.SetText(1 + i, TreeListColumnName, "more " + std::to_string(i));
        model.SetText(1 + i, TreeListColumnDesc, std::string(40, static_cast<char>('a' + i)));
    }
    EXPECT_EQ(model.Mismatch(tree), "");
}

using ItemStoreFile = TTempFolderTest;

TEST_F(ItemStoreFile, ASaveMovesUneditedStringsAndEditsGoOnAfterIt)
{
    const std::string path = Path("doc.trd");
    WriteFile(path, FileOf(400, "item "));

    TTreeList tree;
    LoadItems(tree, path);
    TTreeModel model(tree);
    for (int i = 0; i < 400; i += 4)
        for (int k = i + 1; k < i + 4; ++k) {
            model.SetText(k, TreeListColumnDesc, "edited " + std::to_string(k));
            ItemAt(tree, k)->SetText(TreeListColumnDesc, "edited " + std::to_string(k));
        }
    const size_t before = tree.MemoryBytes();
    SaveItems(tree, path);
    EXPECT_LT(tree.MemoryBytes(), before);  // most of the file's bytes were no longer used
    EXPECT_EQ(model.Mismatch(tree), "");

    for (int k = 0; k < 300; k += 7) {
        const std::string name(ItemAt(tree, k + 1)->GetText(TreeListColumnName));
        model.SetText(k, TreeListColumnName, name);
        ItemAt(tree, k)->SetText(TreeListColumnName, ItemAt(tree, k + 1)->GetText(TreeListColumnName));
        model.Delete(k + 2);
        tree.Delete(ItemAt(tree, k + 2));
    }
    SaveItems(tree, path);
    TTreeList reloaded;
    LoadItems(reloaded, path);
    EXPECT_EQ(model.Mismatch(reloaded), "");
}

TEST(ItemStore, MovesDeletesAndNewItemsAcrossChunksKeepEveryItemInPlace)
{
    // Enough items for several of the store's chunks; freed items and lists
    // are reused by the items added later.
    const std::string file = FileOf(2000, "item ");
    TTreeList tree;
    ReadItems(tree, file.data(), file.size());
    TTreeModel model(tree);
    uint32_t seed = 7;
    auto next = [&seed](int below) { return static_cast<int>(((seed = seed * 1103515245u + 12345u) >> 8) % below); };
    int count = 2000;
    for (int step = 0; step < 300; ++step) {
        const int item = next(count);
        switch (next(3)) {
        case 0: {
            const int target = next(count);
            const auto mode = static_cast<TItemAttachMode>(next(5));
            model.MoveTo(item, target, mode);
            ItemAt(tree, item)->MoveTo(ItemAt(tree, target), mode);
            break;
        }
        case 1:
            if (count > 100) {
                model.Delete(item);
                tree.Delete(ItemAt(tree, item));
            }
            break;
        default: {
            model.AddChild(item);
            TTreeListTextNode* added = ItemAt(tree, item)->AddChild();
            model.SetText(PositionOf(tree, added), TreeListColumnName, "new");
            added->SetText(TreeListColumnName, "new");
            break;
        }
        }
        count = CountItems(tree);
        if (step % 50 == 49) {
            ASSERT_EQ(model.Mismatch(tree), "") << "step " << step;
        }
    }
    const std::string written = WriteItems(tree);
    TTreeList reloaded;
    ReadItems(reloaded, written.data(), written.size());
    EXPECT_EQ(model.Mismatch(reloaded), "");
}

TEST(ItemStore, AClearAndANewLoadInTheSameTreeThenNewItems)
{
    TTreeList tree;
    const std::string first = FileOf(500, "first ");
    ReadItems(tree, first.data(), first.size());
    tree.TopItem(3)->SetText(TreeListColumnDesc, "edited");
    tree.TopItem(4)->AddChild()->SetText(TreeListColumnName, "added");

    tree.ClearItems();
    const std::string second = FileOf(300, "second ");
    ReadItems(tree, second.data(), second.size());
    EXPECT_EQ(WriteItems(tree), second);

    TTreeModel model(tree);
    model.AddChild(-1);
    model.SetText(300, TreeListColumnName, "last");
    tree.AddItem()->SetText(TreeListColumnName, "last");
    model.AddChild(10);
    model.SetText(11, TreeListColumnDesc, std::string(tree.TopItem(20)->GetText(TreeListColumnDesc)));
    tree.TopItem(10)->AddChild()->SetText(TreeListColumnDesc, tree.TopItem(20)->GetText(TreeListColumnDesc));
    EXPECT_EQ(model.Mismatch(tree), "");
    const std::string written = WriteItems(tree);
    TTreeList reloaded;
    ReadItems(reloaded, written.data(), written.size());
    EXPECT_EQ(model.Mismatch(reloaded), "");
}

TEST(ItemStore, ALoadedTreeMovesIntoAnEmptyOneWithItsBytes)
{
    const std::string first = FileOf(300, "first ");
    TTreeList loaded;
    ReadItems(loaded, first.data(), first.size());
    const char* text = loaded.TopItem(7)->GetText(TreeListColumnDesc).data();
    TTreeList document;
    document.AppendItemsFrom(loaded);
    // Not copied text by text: a big file would cost a heap block per text.
    EXPECT_EQ(document.TopItem(7)->GetText(TreeListColumnDesc).data(), text);
    EXPECT_EQ(WriteItems(document), first);

    // A second file moves into a document that holds bytes: its texts are
    // copied, and outlive its tree's next load and the first file's bytes.
    TTreeModel model(document);
    TTreeList other;
    const std::string second = FileOf(200, "second ");
    ReadItems(other, second.data(), second.size());
    document.AppendItemsFrom(other);
    ReadItems(other, first.data(), first.size());
    for (int i = 0; i < 200; ++i) {
        model.AddChild(-1);
        model.SetText(300 + i, TreeListColumnName, "second " + std::to_string(i));
        model.SetText(300 + i, TreeListColumnDesc, std::string(40, static_cast<char>('a' + i % 26)));
    }
    for (int i = 0; i < 300; ++i) {
        model.Delete(0);
        document.Delete(document.TopItem(0));
    }
    EXPECT_EQ(model.Mismatch(document), "");
}

// The editor's loads: straight into its tree (the Open dialog), or into a
// worker's tree moved over once read (a file named on the command line);
// each also into a tree that held an edited document before. The worker
// makes the document its items' owner before the move, or names another tree.
enum class TWorkerOwners { None, Document, Other };

struct TLoadPath {
    const char* name;
    TWorkerOwners worker;
    bool documentBefore;
};

class LoadPaths : public TTempFolderTest, public ::testing::WithParamInterface<TLoadPath> {};

TEST_P(LoadPaths, GiveTheSameTreeAndBytesWithoutCopyingTexts)
{
    const std::string path = Path("doc.trd");
    const std::string content = FileOf(300, "item ", 2);
    WriteFile(path, content);
    TTreeList document;
    if (GetParam().documentBefore) {
        const std::string before = FileOf(50, "before ");
        ReadItems(document, before.data(), before.size());
        document.TopItem(1)->SetText(TreeListColumnDesc, "edited");
        document.ClearItems();
    }
    const char* text = nullptr;
    if (GetParam().worker != TWorkerOwners::None) {
        TTreeList worker;
        TTreeList other;
        LoadItems(worker, path);
        text = worker.TopItem(7)->GetText(TreeListColumnDesc).data();
        worker.PrepareMoveInto(GetParam().worker == TWorkerOwners::Document ? document : other);
        document.AppendItemsFrom(worker);
    } else {
        LoadItems(document, path);
        text = document.TopItem(7)->GetText(TreeListColumnDesc).data();
    }
    EXPECT_EQ(document.TopItem(7)->GetText(TreeListColumnDesc).data(), text);
    int foreign = 0;
    for (TTreeListTextNode* item = document.TopItem(0); item; item = document.NextInDocument(item))
        foreign += &item->Owner() != &document;
    EXPECT_EQ(foreign, 0);
    // A copy of each text would show in the memory held, beside a plain
    // load; a move makes the top-level list anew.
    TTreeList plain;
    LoadItems(plain, path);
    EXPECT_LE(document.MemoryBytes(), plain.MemoryBytes() + 300 * sizeof(void*));
    SaveItems(document, Path("saved.trd"));
    EXPECT_EQ(ReadFile(Path("saved.trd")), content);
}

INSTANTIATE_TEST_SUITE_P(Editor, LoadPaths,
                         ::testing::Values(TLoadPath{"Dialog", TWorkerOwners::None, false},
                                           TLoadPath{"DialogAfterClose", TWorkerOwners::None, true},
                                           TLoadPath{"CommandLine", TWorkerOwners::Document, false},
                                           TLoadPath{"CommandLineAfterClose", TWorkerOwners::Document, true},
                                           TLoadPath{"WorkerOwnersForAnotherTree", TWorkerOwners::Other, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Huge pages the kernel could give without moving memory: the free blocks
// of their order and above, each larger one counting as two of the next
// smaller; lines that are not a zone's are passed over.
TEST(PageMemory, FreeHugePagesFromTheKernelsList)
{
    const std::pair<const char*, size_t> cases[] = {
        {"", 0},
        {"Node 0, zone      DMA      0      0      0      0      0      0      0      0      1      1      3\n", 7},
        {"Node 0, zone   Normal  63186 43175 11602 3526 4068 5256 3589 1860 1507 789 916\n"
         "Node 1, zone   Normal  0 0 0 0 0 0 0 0 0 2 0\n",
         789 + 2 * 916 + 2},
        {"Node 0, zone   Normal  1 2 3\nsomething else 5 5 5 5 5 5 5 5 5 5 5\n", 0},
    };
    for (const auto& [text, pages] : cases)
        EXPECT_EQ(FreeHugePages(text, 9), pages) << text;
}

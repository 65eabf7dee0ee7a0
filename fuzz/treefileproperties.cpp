#include "fuzz/treefileproperties.h"

#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "fuzz/treemodel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string_view>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// What a file of a few bytes may take beyond its bound: the least the store
// hands out for one item.
constexpr size_t Allowance = 1024;

// Runs `load` into `tree` and takes the items it leaves, also after the read
// error, which sets `readError`. Answers any other error or an item out of
// place, or an empty string.
template <typename F>
std::string LoadItemsOf(const TTreeList& tree, F&& load, TTreeSnapshot& items, bool& readError)
{
    readError = false;
    try {
        load();
    } catch (const EReadError&) {
        readError = true;
    } catch (const std::exception& e) {
        return std::string("unexpected error: ") + e.what();
    }
    std::string problem;
    items = Snapshot(tree, problem);
    return problem;
}

// Removed after each load: a fuzzer ends without running exit handlers.
const std::string& TempFile()
{
    static const std::string path =
        (fs::temp_directory_path() / ("vek-fuzz-" + std::to_string(::getpid()) + ".trd")).string();
    return path;
}

std::string CheckMemory(const TTreeList& tree, size_t size)
{
    if (tree.MemoryBytes() > MaxBytesPerFileByte * size + Allowance)
        return "the tree takes " + std::to_string(tree.MemoryBytes()) + " bytes for a file of " +
               std::to_string(size);
    return {};
}

// Loads `bytes`, which must load, and checks the items against `expected`
// and that they are written as the same bytes.
std::string RoundTrip(const std::string& bytes, const TTreeSnapshot& expected)
{
    TTreeList again;
    TTreeSnapshot actual;
    bool readError = false;
    if (std::string problem = LoadItemsOf(again, [&] { ReadItems(again, bytes.data(), bytes.size()); }, actual, readError);
        !problem.empty() || readError)
        return "written bytes do not load: " + problem;
    if (std::string difference = Difference(expected, actual); !difference.empty())
        return "loaded again, " + difference;
    if (WriteItems(again) != bytes)
        return "written again, the bytes differ";
    return {};
}

class TRandom {
public:
    TRandom(const uint8_t* data, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            m_state = (m_state ^ data[i]) * 0x100000001B3ULL;
    }
    uint32_t Next(uint32_t below)
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return below == 0 ? 0 : static_cast<uint32_t>((z ^ (z >> 31)) % below);
    }

private:
    uint64_t m_state = 0xCBF29CE484222325ULL;
};

// A new string, or one that another item holds (possibly the one it will
// replace), so that setting it reads from the tree's own storage.
std::string_view NewValue(const TTreeList& tree, int count, TRandom& random, std::string& scratch)
{
    switch (random.Next(3)) {
    case 0: {
        const TTreeListTextNode* source = ItemAt(tree, static_cast<int>(random.Next(static_cast<uint32_t>(count))));
        return source->GetText(static_cast<int>(random.Next(3)));
    }
    case 1:
        scratch.assign(random.Next(300), '\0');
        for (char& c : scratch)
            c = static_cast<char>(random.Next(256));
        return scratch;
    default:
        return {};
    }
}

// One edit on the tree and the model alike; an empty tree can only grow.
void Edit(TTreeList& tree, TTreeModel& model, TRandom& random)
{
    const int count = CountItems(tree);
    const int k = static_cast<int>(random.Next(static_cast<uint32_t>(count)));
    const uint32_t choice = count == 0 ? 3 : random.Next(6);
    switch (choice) {
    case 0:
    case 1: {
        TTreeListTextNode* item = ItemAt(tree, k);
        const int index = static_cast<int>(random.Next(static_cast<uint32_t>(item->TextCount() + 2)));
        std::string scratch;
        const std::string_view value = NewValue(tree, count, random, scratch);
        model.SetText(k, index, value);
        item->SetText(index, value);
        break;
    }
    case 2:
        model.Delete(k);
        tree.Delete(ItemAt(tree, k));
        break;
    case 3: {
        const bool top = count == 0 || random.Next(4) == 0;
        TTreeListTextNode* added = top ? tree.AddItem() : ItemAt(tree, k)->AddChild();
        model.AddChild(top ? -1 : k);
        std::string scratch;
        const std::string_view value = NewValue(tree, count, random, scratch);
        model.SetText(PositionOf(tree, added), TreeListColumnDesc, value);
        added->SetText(TreeListColumnDesc, value);
        break;
    }
    case 4: {
        const int target = static_cast<int>(random.Next(static_cast<uint32_t>(count)));
        const auto mode = static_cast<TItemAttachMode>(random.Next(5));
        model.MoveTo(k, target, mode);
        ItemAt(tree, k)->MoveTo(ItemAt(tree, target), mode);
        break;
    }
    default:
        tree.CompactTexts();
        break;
    }
}

}  // namespace

std::string CheckReader(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    TTreeList fromMemory;
    TTreeSnapshot expected;
    bool failedInMemory = false;
    if (std::string problem = LoadItemsOf(fromMemory, [&] { ReadItems(fromMemory, bytes, size); }, expected, failedInMemory);
        !problem.empty())
        return problem;
    if (std::string memory = CheckMemory(fromMemory, size); !memory.empty())
        return memory;

    {
        TFileHandle file = OpenFile(TempFile(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC);
        if (!file.IsOpen() || WriteFully(file.Get(), bytes, size) != 0)
            return "cannot write " + TempFile();
    }
    TTreeList fromFile;
    if (HasProtectionMarker(bytes, size)) {
        // Without a password a protected file is refused whole, whatever its
        // bytes would give as the clear variant.
        std::string problem;
        try {
            LoadItems(fromFile, TempFile());
            problem = "a protected file loaded without a password";
        } catch (const EProtectedFileError&) {
        } catch (const std::exception& e) {
            problem = std::string("unexpected error for a protected file: ") + e.what();
        }
        std::remove(TempFile().c_str());
        if (problem.empty() && fromFile.TopItemCount() != 0)
            problem = "a refused protected file left items";
        return problem;
    }
    TTreeSnapshot actual;
    bool failedFromFile = false;
    std::string problem = LoadItemsOf(fromFile, [&] { LoadItems(fromFile, TempFile()); }, actual, failedFromFile);
    std::remove(TempFile().c_str());
    if (!problem.empty())
        return problem;
    if (failedFromFile != failedInMemory)
        return "the file and the same bytes in memory load differently";
    if (std::string difference = Difference(expected, actual); !difference.empty())
        return "through a file, " + difference;
    return CheckMemory(fromFile, size);
}

std::string CheckRoundTrip(const uint8_t* data, size_t size)
{
    TTreeList tree;
    TTreeSnapshot loaded;
    bool readError = false;
    if (std::string problem =
            LoadItemsOf(tree, [&] { ReadItems(tree, reinterpret_cast<const char*>(data), size); }, loaded, readError);
        !problem.empty())
        return problem;
    if (std::string difference = RoundTrip(WriteItems(tree), loaded); !difference.empty())
        return "as loaded: " + difference;

    TTreeModel model(tree);
    TRandom random(data, size);
    const uint32_t edits = 1 + random.Next(24);
    for (uint32_t i = 0; i < edits; ++i) {
        Edit(tree, model, random);
        if (std::string mismatch = model.Mismatch(tree); !mismatch.empty())
            return "after edit " + std::to_string(i) + ": " + mismatch;
    }
    const std::string written = WriteItems(tree);
    if (std::string difference = RoundTrip(written, model.Snapshot()); !difference.empty())
        return "edited: " + difference;

    tree.ClearItems();
    ReadItems(tree, written.data(), written.size());
    if (std::string mismatch = model.Mismatch(tree); !mismatch.empty())
        return "loaded again into the cleared tree: " + mismatch;
    return {};
}

const TFileKey& FuzzKey()
{
    static const std::shared_ptr<const TFileKey> key = [] {
        TProtectionHeader header;
        header.version = Protection::Version;
        header.algorithm = Protection::Argon2id;
        header.params = {Protection::MinOpsLimit, Protection::MinMemLimit, 64};
        return TFileKey::ForHeader("fuzz", header, "fuzz");
    }();
    return *key;
}

std::string CheckProtectedReader(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string fileName = "fuzz.trd";
    const std::optional<TProtectionHeader> header = ParseProtectionHeader(bytes, size);
    const bool whole = size >= Protection::HeaderSize && std::memcmp(bytes, Protection::Marker, Protection::MarkerSize) == 0;
    if (header.has_value() != whole)
        return whole ? "a whole header not parsed" : "a header parsed from a cut or changed marker";
    std::string copy(bytes, size);
    size_t clear = 0;
    try {
        clear = DecryptInPlace(copy.data(), copy.size(), FuzzKey(), fileName);
    } catch (const EProtectedFileError& e) {
        const std::string what = e.what();
        std::string damaged = ProtectedFileDamagedText(fileName, 0);
        damaged.pop_back();  // any byte
        if (what != ProtectedFileErrorText(fileName) && what != ProtectedFileNewerText(fileName) &&
            what.compare(0, damaged.size(), damaged) != 0)
            return "unexpected message: " + what;
        return {};
    } catch (const std::exception& e) {
        return std::string("unexpected error: ") + e.what();
    }
    if (!header || !header->Acceptable())
        return "decrypted without an acceptable header";
    if (clear + Protection::HeaderSize + Protection::ChunkOverhead > size)
        return "more clear bytes than the stream holds";
    return CheckReader(reinterpret_cast<const uint8_t*>(copy.data()), clear);
}

int Report(const std::string& problem)
{
    if (problem.empty())
        return 0;
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
}

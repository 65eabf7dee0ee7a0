// Times saving and loading the benchmark tree as a password-protected file
// against the same tree as a clear file, with the key derivation reported
// apart (it runs once per open or password change, not per save), and
// compares what the loaded tree costs in memory either way.

#include "bench/benchtree.h"
#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

// What a loaded tree holds in memory, against the emptied tree.
long LoadedMemory(TTreeList& tree, const std::function<void()>& load)
{
    tree.ClearItems();
    malloc_trim(0);
    const long before = ResidentBytes();
    load();
    return ResidentBytes() - before;
}

void Row(const char* label, double seconds, double floor, const char* target)
{
    std::printf("%-30s %10.1f ms", label, seconds * 1000);
    if (floor > 0)
        std::printf(" %8.2fx clear (target %s)", seconds / floor, target);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path folder = MakeBenchFolder(argc, argv, "vek-bench-protected-");
    const std::string clearFile = (folder / "clear.trd").string();
    const std::string protectedFile = (folder / "protected.trd").string();

    TTreeList tree;
    BuildBenchTree(tree);
    const std::string bytes = WriteItems(tree);

    std::shared_ptr<const TFileKey> key;
    const double derive = Seconds([&] { key = TFileKey::Create("benchmark password"); });
    const TKeySource source = [&key](const TProtectionHeader&) { return key; };

    const double clearSave = BestSeconds([&] { SaveItems(tree, clearFile); });
    const double protectedSave = BestSeconds([&] { SaveItems(tree, protectedFile, key.get()); });

    const long clearMemory = LoadedMemory(tree, [&] { LoadItems(tree, clearFile); });
    const long protectedMemory = LoadedMemory(tree, [&] { LoadItems(tree, protectedFile, source); });
    double clearLoad = 1e30;
    double protectedLoad = 1e30;
    for (int i = 0; i < BenchRounds; ++i) {
        tree.ClearItems();
        clearLoad = std::min(clearLoad, Seconds([&] { LoadItems(tree, clearFile); }));
        tree.ClearItems();
        protectedLoad = std::min(protectedLoad, Seconds([&] { LoadItems(tree, protectedFile, source); }));
    }
    const bool same = WriteItems(tree) == bytes;

    // Opening as the user does: the key derived from the password first.
    tree.ClearItems();
    const double open = Seconds([&] {
        LoadItems(tree, protectedFile, [](const TProtectionHeader& header) {
            return TFileKey::ForHeader("benchmark password", header, "protected.trd");
        });
    });

    // The cipher's own cost over the same bytes in memory: what no protected
    // save or load can go below.
    std::string cipher;
    const double encryptFloor = BestSeconds([&] { cipher = EncryptBytes(bytes, *key); });
    std::string work;
    const double decryptFloor = BestSeconds([&] {
        work = cipher;
        (void)DecryptInPlace(work.data(), work.size(), *key, protectedFile);
    });
    const double copyCost = BestSeconds([&] { work = cipher; });
    cipher = std::string();
    work = std::string();

    const long protectedSize = static_cast<long>(fs::file_size(protectedFile));
    std::printf("bench_protected: file %.1f MB clear, %.1f MB protected; Argon2id %llu passes, %llu MiB\n",
                bytes.size() / 1e6, protectedSize / 1e6,
                static_cast<unsigned long long>(key->Params().opsLimit),
                static_cast<unsigned long long>(key->Params().memLimit >> 20));
    Row("key derivation (target ~500)", derive, 0, "");
    Row("save clear", clearSave, 0, "");
    Row("save protected", protectedSave, clearSave, "1.3x");
    std::printf("%-30s %10.1f ms (%.2f GB/s)\n", "  encrypt in memory", encryptFloor * 1000,
                bytes.size() / encryptFloor / 1e9);
    Row("load clear", clearLoad, 0, "");
    Row("load protected", protectedLoad, clearLoad, "1.3x");
    std::printf("%-30s %10.1f ms (%.2f GB/s)\n", "  decrypt in memory",
                (decryptFloor - copyCost) * 1000, bytes.size() / (decryptFloor - copyCost) / 1e9);
    std::printf("%-30s %10.1f ms %8.2fx clear\n", "  load clear + decrypt alone", (clearLoad + decryptFloor - copyCost) * 1000,
                (clearLoad + decryptFloor - copyCost) / clearLoad);
    Row("open protected with password", open, clearLoad + derive, "1.3x of load + key");
    const long chunk = static_cast<long>(key->Params().chunkSize);
    std::printf("%-30s %10.1f MB clear, %.1f MB protected: %+.1f MB (target below one chunk, %.3f MB, "
                "plus the stream's %ld bytes of overhead)\n",
                "loaded tree memory", clearMemory / 1e6, protectedMemory / 1e6,
                (protectedMemory - clearMemory) / 1e6, chunk / 1e6, protectedSize - static_cast<long>(bytes.size()));
    std::printf("%-30s %s\n", "round trip identical", same ? "yes" : "NO");

    fs::remove_all(folder);
    return same ? 0 : 1;
}

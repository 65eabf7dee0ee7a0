// Times saving, loading, clearing and walking the benchmark tree against the
// plain cost of moving the same bytes to and from disk, and measures what the
// loaded tree costs in memory compared with its file.

#include "bench/benchtree.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int Rounds = 3;

double Seconds(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

double BestSeconds(const std::function<void()>& action)
{
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i)
        best = std::min(best, Seconds(action));
    return best;
}

long ResidentBytes()
{
    long size = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// The floor for loading: one read of the whole file into memory. `fresh`
// takes new pages as any loader must; otherwise the pages were touched
// before and only the copy out of the page cache is left.
void ReadWhole(const std::string& path, char* warm)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        std::exit(1);
    const auto size = static_cast<size_t>(::lseek(fd, 0, SEEK_END));
    ::lseek(fd, 0, SEEK_SET);
    char* buffer = warm;
    if (!warm) {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            std::exit(1);
        buffer = static_cast<char*>(p);
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got <= 0)
            std::exit(1);
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    if (!warm)
        ::munmap(buffer, size);
}

// The floor for saving: one write of the same bytes, made durable as a save is.
void WriteWhole(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        std::exit(1);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put <= 0)
            std::exit(1);
        done += static_cast<size_t>(put);
    }
    ::fsync(fd);
    ::close(fd);
}

long CountInDocumentOrder(const TTreeList& tree)
{
    long count = 0;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    return count;
}

void Row(const char* operation, double seconds, double floor)
{
    if (floor > 0)
        std::printf("%-26s %10.1f ms %8.2fx floor (%.1f ms)\n", operation, seconds * 1000, seconds / floor,
                    floor * 1000);
    else
        std::printf("%-26s %10.1f ms\n", operation, seconds * 1000);
}

}  // namespace

int main()
{
    const fs::path folder = fs::temp_directory_path() / ("vek-bench-document-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "bench.trd").string();
    const std::string floorFile = (folder / "floor.bin").string();

    TTreeList tree;
    const double build = Seconds([&] { BuildBenchTree(tree); });
    const long items = CountInDocumentOrder(tree);
    const std::string bytes = WriteItems(tree);

    const double save = BestSeconds([&] { SaveItems(tree, file); });
    const double writeFloor = BestSeconds([&] { WriteWhole(floorFile, bytes); });
    fs::remove(floorFile);
    const double serialise = BestSeconds([&] { (void)WriteItems(tree); });

    // Memory: the loaded tree against an empty heap.
    tree.ClearItems();
    malloc_trim(0);
    const long before = ResidentBytes();
    const double firstLoad = Seconds([&] { LoadItems(tree, file); });
    const long memory = ResidentBytes() - before;

    const double readFloor = BestSeconds([&] { ReadWhole(file, nullptr); });
    std::string warmBuffer(bytes.size(), '\0');
    const double copyFloor = BestSeconds([&] { ReadWhole(file, warmBuffer.data()); });
    warmBuffer = std::string();
    double load = firstLoad;
    double clear = 1e30;
    for (int i = 1; i < Rounds; ++i) {
        clear = std::min(clear, Seconds([&] { tree.ClearItems(); }));
        load = std::min(load, Seconds([&] { LoadItems(tree, file); }));
    }
    long walked = 0;
    const double walk = BestSeconds([&] { walked = CountInDocumentOrder(tree); });
    const bool same = WriteItems(tree) == bytes && walked == items;

    std::printf("bench_document: %ld items, file %.1f MB (%zu bytes)\n", items, bytes.size() / 1e6, bytes.size());
    Row("build tree", build, 0);
    Row("serialise to memory", serialise, 0);
    Row("save (target 3x)", save, writeFloor);
    Row("load (target 4x)", load, readFloor);
    Row("  same, vs warm-page copy", load, copyFloor);
    Row("clear", clear, 0);
    Row("walk in document order", walk, 0);
    std::printf("%-26s %10.1f MB %8.2fx file size (target 2x)\n", "loaded tree memory", memory / 1e6,
                static_cast<double>(memory) / static_cast<double>(bytes.size()));
    std::printf("%-26s %s\n", "round trip identical", same ? "yes" : "NO");

    tree.ClearItems();
    fs::remove_all(folder);
    return same ? 0 : 1;
}

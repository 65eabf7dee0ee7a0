// Times saving, loading, clearing and walking the benchmark tree against the
// plain cost of moving the same bytes to and from disk, and measures what the
// loaded tree costs in memory compared with its file: in this process, in
// trdtool's peak while it checks the file, and in trdtool's peak for hostile
// files made to cost as much memory per byte as the format allows.
// An optional argument names the trdtool to measure (default: the one built
// with this benchmark), so an older build can be measured the same way.
// BENCH_FILE names a file to load instead of building the benchmark tree.

#include "bench/benchtree.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

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

void PutInt32(std::string& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

void PutHeader(std::string& out, int32_t children, int32_t strings)
{
    PutInt32(out, 24);
    for (int32_t field : {0, 0, -1, 0, children, strings})
        PutInt32(out, field);
}

// Two files of `size` bytes in the old variant that cost the most memory per
// byte: one item with nothing but empty strings (a byte each), and records
// without strings nested as deep as the file allows.
std::string EmptyStrings(size_t size)
{
    std::string out;
    PutInt32(out, 1);
    PutHeader(out, 0, static_cast<int32_t>(size - 32));
    out.resize(size, '\0');
    return out;
}

std::string NestedEmptyItems(size_t size)
{
    std::string out;
    PutInt32(out, 1);
    const size_t records = (size - 4) / 28;
    for (size_t i = 0; i < records; ++i)
        PutHeader(out, i + 1 < records ? 1 : 0, 0);
    return out;
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

int main(int argc, char** argv)
{
    TPeakMeter trdtoolPeak(argc > 1 ? argv[1] : TRDTOOL_PATH);
    // BENCH_FILE's tree instead of the built one: then the first row is its
    // load, and the copies are written beside it.
    const std::string given = BenchFile();
    const fs::path folder = (given.empty() ? fs::temp_directory_path() : fs::path(given).parent_path()) /
                            ("vek-bench-document-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "bench.trd").string();
    const std::string floorFile = (folder / "floor.bin").string();

    TTreeList tree;
    const double build = Seconds([&] {
        if (given.empty())
            BuildBenchTree(tree);
        else
            LoadItems(tree, given);
    });
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
    for (int i = 1; i < BenchRounds; ++i) {
        clear = std::min(clear, Seconds([&] { tree.ClearItems(); }));
        load = std::min(load, Seconds([&] { LoadItems(tree, file); }));
    }
    long walked = 0;
    const double walk = BestSeconds([&] { walked = CountInDocumentOrder(tree); });
    const bool same = WriteItems(tree) == bytes && walked == items;
    tree.ClearItems();

    const long checkPeak = trdtoolPeak.Peak({"check", file});
    fs::remove(file);
    constexpr size_t HostileSize = size_t(40) << 20;
    const std::string hostile = (folder / "hostile.trd").string();
    std::vector<std::pair<const char*, long>> hostilePeaks;
    for (const auto& [label, make] : {std::pair{"empty strings", &EmptyStrings}, {"nested empty items", &NestedEmptyItems}}) {
        WriteWhole(hostile, make(HostileSize));
        hostilePeaks.emplace_back(label, trdtoolPeak.Peak({"check", hostile}));
        fs::remove(hostile);
    }

    const double fileSize = static_cast<double>(bytes.size());
    std::printf("bench_document: %ld items, file %.1f MB (%zu bytes)\n", items, bytes.size() / 1e6, bytes.size());
    Row(given.empty() ? "build tree" : "load the given file", build, 0);
    Row("serialise to memory", serialise, 0);
    Row("save (target 3x)", save, writeFloor);
    Row("load (target 2x)", load, readFloor);
    Row("  same, vs warm-page copy", load, copyFloor);
    std::printf("%-26s %10.1f ms %8.3fx load (target below 0.1x)\n", "clear", clear * 1000, clear / load);
    Row("walk in document order", walk, 0);
    std::printf("%-26s %10.1f MB %8.2fx file size (target 1.5x)\n", "loaded tree memory", memory / 1e6,
                static_cast<double>(memory) / fileSize);
    std::printf("%-26s %10.1f MB %8.2fx file size (target 1.5x)\n", "trdtool check peak", checkPeak / 1e6,
                static_cast<double>(checkPeak) / fileSize);
    for (const auto& [label, peak] : hostilePeaks)
        std::printf("hostile %-18s %10.1f MB %8.2f bytes per file byte (target 16)\n", label, peak / 1e6,
                    static_cast<double>(peak) / static_cast<double>(HostileSize));
    std::printf("%-26s %s\n", "round trip identical", same ? "yes" : "NO");

    fs::remove_all(folder);
    return same ? 0 : 1;
}

// Times the exports of the benchmark tree against the plain cost of putting
// the same bytes on disk, so buffering overhead shows as a ratio.

#include "bench/benchtree.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/multiexportnames.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int Rounds = 3;
constexpr int MultiItems = 10000;

// Best of a few rounds each, taken in turns so that the disk's background
// write-back burdens both sides alike.
// `clear` runs untimed before each measurement: truncating the previous
// round's output waits for its write-back, which belongs to neither side.
std::pair<double, double> BestOfPair(const std::function<void()>& measured, const std::function<void()>& baseline,
                                     const std::function<void()>& clear)
{
    double bestMeasured = 1e30;
    double bestBaseline = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        clear();
        bestMeasured = std::min(bestMeasured, Seconds(measured));
        clear();
        bestBaseline = std::min(bestBaseline, Seconds(baseline));
    }
    return {bestMeasured, bestBaseline};
}

void PrintRow(const char* what, uintmax_t bytes, double seconds, double baseline)
{
    std::printf("%-22s %14ju %10.3f %10.3f %7.2fx\n", what, bytes, seconds * 1000, baseline * 1000, seconds / baseline);
}

}  // namespace

// An optional argument names the folder to write in (default: the temporary
// folder); a memory file system such as /dev/shm leaves out the disk.
int main(int argc, char** argv)
{
    const fs::path dir = MakeBenchFolder(argc, argv, "vekbench-export-");

    TTreeList tree;
    const double buildSeconds = Seconds([&] { BuildBenchTree(tree); });
    int count = 0;
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    std::printf("tree: %d items, built in %.0f ms; best of %d rounds\n\n", count, buildSeconds * 1000, Rounds);
    std::printf("%-22s %14s %10s %10s %8s\n", "export", "bytes", "ms", "plain ms", "ratio");

    struct Single {
        const char* label;
        void (*writer)(const TTreeList&, const std::string&);
        const char* file;
    };
    for (const Single& s : {Single{"txt", &ExportTxt, "out.txt"}, Single{"ini", &ExportIni, "out.ini"}}) {
        const std::string target = (dir / s.file).string();
        s.writer(tree, target);
        const uintmax_t bytes = fs::file_size(target);
        // The floor: the same number of bytes in one write call.
        const std::string content(bytes, 'x');
        const std::string plain = (dir / "plain").string();
        const auto [seconds, baseline] =
            BestOfPair([&] { s.writer(tree, target); }, [&] { WriteWhole(AT_FDCWD, plain, content); },
                       [&] {
                           fs::remove(target);
                           fs::remove(plain);
                       });
        fs::remove(target);
        fs::remove(plain);
        PrintRow(s.label, bytes, seconds, baseline);
    }

    // A million files is no benchmark; the first items in document order,
    // as a flat tree, give the per-file cost.
    TTreeList part;
    for (auto* item = tree.TopItem(0); item && part.TopItemCount() < MultiItems; item = tree.NextInDocument(item)) {
        TTreeListTextNode* copy = part.AddItem();
        copy->SetText(TreeListColumnName, item->GetText(TreeListColumnName));
        copy->SetText(TreeListColumnDesc, item->GetText(TreeListColumnDesc));
    }
    const fs::path multi = dir / "multi";
    fs::create_directory(multi);
    // The floor: the same files, each in one open, write and close.
    std::vector<std::pair<std::string, std::string>> files;
    TMultiExportNames names;
    for (int i = 0; i < part.TopItemCount(); ++i)
        files.emplace_back(names.FileName(part.TopItem(i)->GetText(TreeListColumnName)),
                           std::string(part.TopItem(i)->GetText(TreeListColumnDesc)) + "\r\n");
    const auto writePlain = [&] {
        const int folderFd = ::open(multi.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (const auto& [name, content] : files)
            WriteWhole(folderFd, name, content);
        ::close(folderFd);
    };
    const auto emptyFolder = [&] {
        fs::remove_all(multi);
        fs::create_directory(multi);
    };
    const auto [seconds, baseline] = BestOfPair([&] { ExportMulti(part, multi.string()); }, writePlain, emptyFolder);
    ExportMulti(part, multi.string());
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(multi))
        bytes += entry.file_size();
    const std::string label = "multi (" + std::to_string(part.TopItemCount()) + " files)";
    PrintRow(label.c_str(), bytes, seconds, baseline);

    fs::remove_all(dir);
    return 0;
}

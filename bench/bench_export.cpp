// Times the exports of the benchmark tree against the plain cost of putting
// the same bytes on disk, so buffering overhead shows as a ratio.

#include "benchtree.h"
#include "exportwriters.h"
#include "multiexportnames.h"
#include "treelist.h"

#include <chrono>
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

double BestSeconds(const std::function<void()>& action)
{
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

void WriteWhole(int folderFd, const std::string& name, const std::string& content)
{
    const int fd = ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
        std::perror(name.c_str());
        std::exit(1);
    }
    ::close(fd);
}

void PrintRow(const char* what, uintmax_t bytes, double seconds, double baseline)
{
    std::printf("%-22s %14ju %10.3f %10.3f %7.2fx\n", what, bytes, seconds * 1000, baseline * 1000, seconds / baseline);
}

}  // namespace

int main()
{
    std::string pattern = (fs::temp_directory_path() / "vekbench-export-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;

    TTreeList tree;
    BuildBenchTree(tree);
    int count = 0;
    for (auto* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    std::printf("tree: %d items\n\n", count);
    std::printf("%-22s %14s %10s %10s %8s\n", "export", "bytes", "ms", "plain ms", "ratio");

    struct Single {
        const char* label;
        void (*writer)(const TTreeList&, const std::string&);
        const char* file;
    };
    for (const Single& s : {Single{"txt", &ExportTxt, "out.txt"}, Single{"ini", &ExportIni, "out.ini"}}) {
        const std::string target = (dir / s.file).string();
        const double seconds = BestSeconds([&] { s.writer(tree, target); });
        const uintmax_t bytes = fs::file_size(target);
        // The floor: the same number of bytes in one write call.
        const std::string content(bytes, 'x');
        const std::string plain = (dir / "plain").string();
        const double baseline = BestSeconds([&] { WriteWhole(AT_FDCWD, plain, content); });
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
    const double seconds = BestSeconds([&] { ExportMulti(part, multi.string()); });
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(multi))
        bytes += entry.file_size();
    // The floor: the same files, each in one open, write and close.
    std::vector<std::pair<std::string, std::string>> files;
    TMultiExportNames names;
    for (int i = 0; i < part.TopItemCount(); ++i)
        files.emplace_back(names.FileName(part.TopItem(i)->GetText(TreeListColumnName)),
                           part.TopItem(i)->GetText(TreeListColumnDesc) + "\r\n");
    const double baseline = BestSeconds([&] {
        const int folderFd = ::open(multi.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (const auto& [name, content] : files)
            WriteWhole(folderFd, name, content);
        ::close(folderFd);
    });
    const std::string label = "multi (" + std::to_string(part.TopItemCount()) + " files)";
    PrintRow(label.c_str(), bytes, seconds, baseline);

    fs::remove_all(dir);
    return 0;
}

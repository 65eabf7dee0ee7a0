#include "bench/benchtree.h"

#include "document/treelist.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int FanOut = 10;
constexpr int Depth = 6;

std::string Description(long number)
{
    std::string text = "Notes for item " + std::to_string(number) + " of the benchmark tree.\r\n";
    text += "A second line with enough words to look like a short note, ";
    text += "numbered " + std::to_string(number * 7 % 1000) + ".\r\n";
    text += "Third line: \xE4\xF6\xFC and some more text to reach the usual size.";
    text.resize(200, '.');
    return text;
}

void Fill(TTreeListTextNode& item, long& counter)
{
    ++counter;
    item.SetText(TreeListColumnName, "Item " + std::to_string(counter));
    item.SetText(TreeListColumnDesc, Description(counter));
    item.SetImageIndex(static_cast<int32_t>(counter % 216));
}

void AddLevel(TTreeListTextNode& parent, int level, long& counter)
{
    if (level >= Depth)
        return;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* child = parent.AddChild();
        Fill(*child, counter);
        AddLevel(*child, level + 1, counter);
    }
}

}  // namespace

void BuildBenchTree(TTreeList& tree)
{
    tree.BeginUpdate();
    tree.ClearItems();
    long counter = 0;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        Fill(*item, counter);
        AddLevel(*item, 1, counter);
    }
    tree.EndUpdate();
}

double Seconds(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string MakeBenchFolder(int argc, char** argv, const std::string& prefix)
{
    namespace fs = std::filesystem;
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    std::string pattern = (base / (prefix + "XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
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

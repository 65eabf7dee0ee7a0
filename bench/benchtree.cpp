#include "bench/benchtree.h"

#include "document/treefile.h"
#include "document/treelist.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int FanOut = 10;

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

void AddLevel(TTreeListTextNode& parent, int level, int levels, long& counter)
{
    if (level >= levels)
        return;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* child = parent.AddChild();
        Fill(*child, counter);
        AddLevel(*child, level + 1, levels, counter);
    }
}

}  // namespace

void BuildBenchTree(TTreeList& tree, int levels)
{
    tree.BeginUpdate();
    tree.ClearItems();
    long counter = 0;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        Fill(*item, counter);
        AddLevel(*item, 1, levels, counter);
    }
    tree.EndUpdate();
}

std::string BenchFile()
{
    const char* file = std::getenv("BENCH_FILE");
    return file ? file : "";
}

void LoadOrBuildBenchTree(TTreeList& tree)
{
    if (const std::string file = BenchFile(); !file.empty())
        LoadItems(tree, file);
    else
        BuildBenchTree(tree);
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

TPeakMeter::TPeakMeter(std::string trdtool) : m_trdtool(std::move(trdtool))
{
    int toHelper[2];
    int fromHelper[2];
    if (::pipe(toHelper) != 0 || ::pipe(fromHelper) != 0)
        std::exit(1);
    m_helper = ::fork();
    if (m_helper < 0)
        std::exit(1);
    if (m_helper == 0) {
        ::close(toHelper[1]);
        ::close(fromHelper[0]);
        Serve(toHelper[0], fromHelper[1]);
    }
    ::close(toHelper[0]);
    ::close(fromHelper[1]);
    m_requests = toHelper[1];
    m_answers = fromHelper[0];
}

TPeakMeter::~TPeakMeter()
{
    ::close(m_requests);
    ::close(m_answers);
    ::waitpid(m_helper, nullptr, 0);
}

// A request is the arguments, each ended by a NUL, then one more NUL.
long TPeakMeter::Peak(const std::vector<std::string>& arguments)
{
    std::string request;
    for (const std::string& argument : arguments)
        request += argument + '\0';
    request += '\0';
    long peak = 0;
    if (::write(m_requests, request.data(), request.size()) != static_cast<ssize_t>(request.size()) ||
        ::read(m_answers, &peak, sizeof peak) != sizeof peak)
        std::exit(1);
    return peak;
}

void TPeakMeter::Serve(int requests, int answers)
{
    std::vector<std::string> arguments;
    std::string argument;
    char c;
    while (::read(requests, &c, 1) == 1) {
        if (c != '\0') {
            argument += c;
            continue;
        }
        if (!argument.empty()) {
            arguments.push_back(argument);
            argument.clear();
            continue;
        }
        const long peak = Run(arguments);
        arguments.clear();
        if (::write(answers, &peak, sizeof peak) != sizeof peak)
            break;
    }
    ::_exit(0);
}

long TPeakMeter::Run(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>("trdtool")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(m_trdtool.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child)
        return -1;
    return usage.ru_maxrss * 1024L;
}

double BestSeconds(const std::function<void()>& action, const std::function<void()>& clear)
{
    double best = 1e30;
    for (int i = 0; i < BenchRounds; ++i) {
        clear();
        best = std::min(best, Seconds(action));
    }
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

std::string BenchDescription(size_t bytes)
{
    std::string text;
    text.reserve(bytes + 80);
    while (text.size() < bytes)
        text += "The quick brown fox jumps over the lazy dog, again and again and again.\r\n";
    text.resize(bytes);
    return text;
}

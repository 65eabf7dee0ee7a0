#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

class TTreeList;

// The benchmark document: 10 top-level items, each item above the sixth
// level with 10 children, 1,111,110 items in all. Names run "Item 1",
// "Item 2", ... in document order; every description is about 200 bytes in
// three CR LF separated lines. The same call always builds the same tree.
// `levels` 7 builds the same tree one level deeper: 11,111,110 items.
constexpr int BenchTreeLevels = 6;
void BuildBenchTree(TTreeList& tree, int levels = BenchTreeLevels);

// The benchmark file named by the environment variable BENCH_FILE (for
// instance the tree one level deeper that `make bench-huge` writes), or empty:
// the benchmark then builds its own tree.
std::string BenchFile();
// Loads BENCH_FILE's tree into `tree`, or builds the benchmark tree there.
void LoadOrBuildBenchTree(TTreeList& tree);

// How long one run of `action` takes, in seconds.
double Seconds(const std::function<void()>& action);

// The best of BenchRounds runs of `action`, in seconds. `clear` runs untimed
// before each round: truncating the previous round's output would wait for
// its write-back, which belongs to no side.
constexpr int BenchRounds = 3;
double BestSeconds(const std::function<void()>& action, const std::function<void()>& clear = [] {});

// A description of `bytes` bytes: the same CR LF separated sentence again
// and again, cut to size.
std::string BenchDescription(size_t bytes);

// The process's resident memory now, in bytes.
long ResidentBytes();

// A new folder named `prefix` and a unique ending, below the folder the
// benchmark's first argument names (default: the temporary folder). Exits
// when it cannot be made.
std::string MakeBenchFolder(int argc, char** argv, const std::string& prefix);

// The floor for writing a file: `content` in one write call to `name`,
// relative to `folderFd` (AT_FDCWD: the working folder). Exits on failure.
void WriteWhole(int folderFd, const std::string& name, const std::string& content);

// Runs trdtool with the arguments given and reports its peak resident
// memory (whether it succeeded or not). A child made by fork counts its parent's pages in its peak until it
// runs another program, so the tool is started from a helper forked when the
// meter is made: make it while the benchmark is still small.
class TPeakMeter {
public:
    explicit TPeakMeter(std::string trdtool);
    ~TPeakMeter();
    TPeakMeter(const TPeakMeter&) = delete;
    TPeakMeter& operator=(const TPeakMeter&) = delete;

    // In bytes; -1 when the tool could not be run.
    long Peak(const std::vector<std::string>& arguments);

private:
    [[noreturn]] void Serve(int requests, int answers);
    long Run(const std::vector<std::string>& arguments);

    std::string m_trdtool;
    pid_t m_helper = -1;
    int m_requests = -1;
    int m_answers = -1;
};

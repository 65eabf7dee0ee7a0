#pragma once

#include <functional>
#include <string>

class TTreeList;

// The benchmark document: 10 top-level items, each item above the sixth
// level with 10 children, 1,111,110 items in all. Names run "Item 1",
// "Item 2", ... in document order; every description is about 200 bytes in
// three CR LF separated lines. The same call always builds the same tree.
void BuildBenchTree(TTreeList& tree);

// How long one run of `action` takes, in seconds.
double Seconds(const std::function<void()>& action);

// A new folder named `prefix` and a unique ending, below the folder the
// benchmark's first argument names (default: the temporary folder). Exits
// when it cannot be made.
std::string MakeBenchFolder(int argc, char** argv, const std::string& prefix);

// The floor for writing a file: `content` in one write call to `name`,
// relative to `folderFd` (AT_FDCWD: the working folder). Exits on failure.
void WriteWhole(int folderFd, const std::string& name, const std::string& content);

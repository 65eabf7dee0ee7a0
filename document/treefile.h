#pragma once

#include <stdexcept>
#include <string>

class TTreeList;

// Errors of the file and stream layer; their messages are what the user sees.
class EFOpenError : public std::runtime_error {  // "Cannot open file %s"
public:
    using std::runtime_error::runtime_error;
};
class EFCreateError : public std::runtime_error {  // "Cannot create file %s"
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public std::runtime_error {  // "Stream read error"
public:
    EReadError() : std::runtime_error("Stream read error") {}
};
class EWriteError : public std::runtime_error {  // "Stream write error"
public:
    EWriteError() : std::runtime_error("Stream write error") {}
};

enum class TTreeFileVariant { Current, Old };

// Replaces the tree's content with the file's. On a read error the items read
// so far stay in the tree. The whole load is one bulk reset for any view.
TTreeFileVariant LoadItems(TTreeList& tree, const std::string& fileName);

// Reads a tree data file held in memory (the same rules as LoadItems).
TTreeFileVariant ReadItems(TTreeList& tree, const char* data, size_t size);

// Writes the tree in the current variant. The target is replaced in one
// rename after the new content is safely on disk, so a failed save leaves
// the previous file intact.
void SaveItems(const TTreeList& tree, const std::string& fileName);

// The current variant's bytes of the tree.
std::string WriteItems(const TTreeList& tree);

#pragma once

#include "document/fileio.h"  // the errors these functions raise

#include <string>

class TTreeList;

enum class TTreeFileVariant { Current, Old };

// Replaces the tree's content with the file's. On a read error the items read
// so far stay in the tree. The whole load is one bulk reset for any view.
TTreeFileVariant LoadItems(TTreeList& tree, const std::string& fileName);

// Reads a tree data file held in memory (the same rules as LoadItems).
TTreeFileVariant ReadItems(TTreeList& tree, const char* data, size_t size);

// Writes the tree in the current variant through TAtomicFile, so a failed
// save leaves the previous file intact.
void SaveItems(const TTreeList& tree, const std::string& fileName);

// The current variant's bytes of the tree.
std::string WriteItems(const TTreeList& tree);

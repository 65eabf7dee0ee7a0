#pragma once

#include "document/fileio.h"  // the errors these functions raise

#include <cstddef>
#include <string>

class TTreeList;
class TTreeListTextNode;

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

// The bytes WriteItems gives, a part at a time, so that a large tree can be
// written out between other work. Pending edits are not committed here. The
// tree's structure must not change between calls: the caller watches the
// tree and starts again when it does. Changed strings are simply taken as
// they are when their record comes.
class TTreeSerialiser {
public:
    explicit TTreeSerialiser(const TTreeList& tree);
    // Appends whole records to `out` until it has grown by at least `bytes`
    // or the tree is done; true when the tree is done.
    bool Next(std::string& out, size_t bytes);

private:
    const TTreeList& m_tree;
    const TTreeListTextNode* m_next;
    bool m_headDone = false;
};

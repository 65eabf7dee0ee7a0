#pragma once

#include "document/fileio.h"  // the errors these functions raise

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TFileKey;
class TTreeList;
class TTreeListTextNode;
struct TProtectionHeader;

// Protected: the current variant inside the password-protected one
// (document/protectedfile.h).
enum class TTreeFileVariant { Current, Old, Protected };

// Gives the key for a protected file's header, derived from the user's
// password (TFileKey::ForHeader), or null when the user gives none.
using TKeySource = std::function<std::shared_ptr<const TFileKey>(const TProtectionHeader& header)>;

// A tree data file read whole, and decrypted when it is protected, before any
// tree is touched: a wrong password or a declined question leaves the
// caller's document as it was.
struct TTreeFileBytes {
    TPageMemory bytes;
    size_t size = 0;
    std::shared_ptr<const TFileKey> key;  // the protected file's key; null for a clear file
    std::string fileName;                 // for the read errors' messages
};

// Raises EFOpenError, EReadError, or EProtectedFileError for a protected file
// that does not decrypt (also when no key source is given). None when the key
// source gave no key.
std::optional<TTreeFileBytes> ReadTreeFile(const std::string& fileName, const TKeySource& keySource);
// Replaces the tree's content with the bytes'; the tree keeps them.
TTreeFileVariant ReadItems(TTreeList& tree, TTreeFileBytes file);

// Replaces the tree's content with the file's. On a read error the items read
// so far stay in the tree. The whole load is one bulk reset for any view. A
// protected file needs a key source; one that gives no key raises
// EProtectedFileError and leaves the tree alone.
TTreeFileVariant LoadItems(TTreeList& tree, const std::string& fileName, const TKeySource& keySource = {});

// Reads a tree data file held in memory (the same rules as LoadItems).
TTreeFileVariant ReadItems(TTreeList& tree, const char* data, size_t size);

// Writes the tree in the current variant through TAtomicFile, so a failed
// save leaves the previous file intact; with a key, in the protected variant.
void SaveItems(const TTreeList& tree, const std::string& fileName, const TFileKey* key = nullptr);

// Writes bytes TTreeSerialiser gave, in order, as SaveItems writes the tree:
// through TAtomicFile, and with a key in the protected variant. Touches no
// tree, so it may run on any thread.
void SaveTreeBytes(const std::vector<std::string>& parts, const std::string& fileName, const TFileKey* key = nullptr);

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

// The parts WriteItems is made of, for those that take the tree's bytes
// their own way: the file's head (the top-level count), and one item's
// record without its subtree's.
void AppendTreeHead(const TTreeList& tree, std::string& out);
void AppendItemRecord(const TTreeListTextNode& item, std::string& out);

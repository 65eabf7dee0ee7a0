#pragma once

#include "document/fileio.h"
#include "recovery/recoveryinfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The folder of recovery copies. A copy NAME.trd is a tree data file of a
// document with unsaved changes; its side file NAME.info says whose it is.
// The copies of editors that still run are never offered or removed.
class TRecoveryStore {
public:
    struct TEntry {
        std::string name;
        TRecoveryInfo info;
    };
    // What a start finds: the copies of editors that ended, oldest first,
    // and the copies whose side file cannot be read.
    struct TFindings {
        std::vector<TEntry> orphans;
        std::vector<std::string> unreadable;  // paths of the copies
    };

    explicit TRecoveryStore(std::string folder);

    const std::string& Folder() const { return m_folder; }
    std::string CopyPath(const std::string& name) const;
    std::string InfoPath(const std::string& name) const;
    // The name of the copy at `copyPath`; empty when it is no copy of this folder.
    std::string NameOf(const std::string& copyPath) const;

    // The name a document's copy is given when it is free: a hash of the
    // document's absolute path, or "untitled-" and the process id.
    static std::string BaseName(const std::string& documentPath, int64_t pid);

    // Takes the first free name of `base`, `base`-2, `base`-3, ... by creating
    // its side file, so two editors never share a name. Raises EFCreateError.
    std::string Claim(const std::string& base, const TRecoveryInfo& info);
    // Replaces a side file in one step. Raises EFCreateError or EWriteError.
    void WriteInfo(const std::string& name, const TRecoveryInfo& info);
    // None when the side file is missing or damaged, or is no plain file.
    std::optional<TRecoveryInfo> ReadInfo(const std::string& name) const;
    // Whether the copy is a plain file, the only kind that is read or
    // written over: a link or a pipe counts as damaged.
    bool HasCopy(const std::string& name) const;
    // The copy, its side file, and what interrupted writes of them left.
    void Remove(const std::string& name);
    // What writes of them cut off by the end of their editor left.
    void RemoveLeftovers(const std::string& name);

    // Held by the editor that offers the copies, so that two editors starting
    // together do not both offer the same one. Not open when another holds
    // it, or when there is no folder yet.
    TFileHandle LockForOffering();
    // Side files left without a copy by ended editors hold nothing to
    // recover and go.
    TFindings FindOrphans();

private:
    std::vector<std::string> List() const;
    bool MakeFolder() const;

    std::string m_folder;
};

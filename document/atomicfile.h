#pragma once

#include "document/fileio.h"

#include <optional>
#include <string>

// Replaces a file's whole content in one step. The new content goes to a
// temporary file beside the target and takes the target's place in one
// rename once it is on the disk, so a failure at any point leaves the
// previous file intact and no temporary behind. The target keeps its
// permission bits, a symbolic link keeps pointing at it, and a target
// another program holds locked is left alone.
class TAtomicFile {
public:
    static constexpr size_t BufferSize = size_t(4) << 20;

    // The permission bits of a target that does not exist yet.
    enum class TNewMode {
        Shared,   // 0666 less the umask, as any program creates a file
        Private,  // 0600: only the owner reads it (a protected document)
    };

    // Raises EFCreateError ("Cannot create file %s") when the target cannot
    // be replaced: a folder or device, locked, or no temporary can be made.
    explicit TAtomicFile(const std::string& fileName, TNewMode newMode = TNewMode::Shared);
    // Without Commit() the temporary is removed and the target stays as it was.
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Write failures raise EWriteError naming the file.
    TBufferedWriter& Writer() { return *m_writer; }
    // Puts the content in the target's place; raises EWriteError on failure.
    void Commit();

private:
    std::string m_target;  // the file a symbolic link points to
    std::string m_temp;
    // Held on the old target until it is replaced, so no other program that
    // respects the lock reads it half replaced.
    TFileHandle m_lock;
    std::optional<TBufferedWriter> m_writer;
    bool m_committed = false;
};

#pragma once

#include "document/pagememory.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/types.h>

// The program's one file layer: descriptors, folders, complete writes,
// buffered writing and reading a whole file. Plain POSIX, shared by the tree
// data file and the exports.

// Errors of the file and stream layer; their messages are what the user sees.
class EFOpenError : public std::runtime_error {  // "Cannot open file %s"
public:
    using std::runtime_error::runtime_error;
};
class EFCreateError : public std::runtime_error {  // "Cannot create file %s"
public:
    using std::runtime_error::runtime_error;
};
// "Stream read error", followed by ": " and the file's name when there is one.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream read error") {}
    explicit EReadError(const std::string& fileName) : std::runtime_error("Stream read error: " + fileName) {}
};
// "Stream write error", followed by ": " and the file's name.
class EWriteError : public std::runtime_error {
public:
    EWriteError() : std::runtime_error("Stream write error") {}
    explicit EWriteError(const std::string& fileName) : std::runtime_error("Stream write error: " + fileName) {}
};

// Owns one open descriptor (of a file or a folder) and closes it.
class TFileHandle {
public:
    TFileHandle() = default;
    explicit TFileHandle(int fd) : m_fd(fd) {}
    ~TFileHandle();
    TFileHandle(TFileHandle&& other) noexcept;
    TFileHandle& operator=(TFileHandle&& other) noexcept;
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    // Closes now: 0, or the errno of a write error that some file systems
    // (network, quota) report only here. The descriptor is gone either way,
    // so an interrupted close is not retried and not counted as a failure.
    int Close();

private:
    int m_fd = -1;
};

// open(), or openat() relative to `folderFd`, again when interrupted by a
// signal. On failure the handle is not open and errno says why.
TFileHandle OpenFile(const std::string& path, int flags, mode_t mode = 0666, int folderFd = AT_FDCWD);
// A folder: to create files relative to it, or to make a rename in it durable.
TFileHandle OpenFolder(const std::string& path);

// What WriteFully reports when a write stores nothing without an error: the
// medium is full.
constexpr int WriteStoredNothing = -1;

// Writes all `size` bytes: 0 when done, else the errno value or
// WriteStoredNothing. The bytes written before a failure stay in the file.
int WriteFully(int fd, const char* data, size_t size);

// Writes into an open file through its own buffer, so records of a few bytes
// do not cost a system call each; a block at least as large as the buffer
// goes straight through. Every failure is handed to `raise` with the file's
// name, which throws the caller's error: the tree file and the exports show
// different messages for the same failure.
class TBufferedWriter {
public:
    // `error` is an errno value or WriteStoredNothing. Must throw.
    using TRaise = void (*)(int error, const std::string& fileName);

    TBufferedWriter(TFileHandle file, std::string fileName, TRaise raise, size_t capacity);
    // After an error, or when Close() was skipped by an exception: writes what
    // it still can (what reached the file stays there) without throwing.
    ~TBufferedWriter();
    TBufferedWriter(const TBufferedWriter&) = delete;
    TBufferedWriter& operator=(const TBufferedWriter&) = delete;

    void Write(std::string_view bytes);
    void Write(char c, size_t count);  // `count` copies of one byte
    void Flush();
    // Writes out the buffer, forces the content to the disk when `sync`, and
    // closes the file; a deferred write error shows here.
    void Close(bool sync = false);
    // Closes without writing what is still buffered: the content is not wanted.
    void Discard();

    const std::string& FileName() const { return m_fileName; }

private:
    void WriteThrough(const char* data, size_t size);

    TFileHandle m_file;
    std::string m_fileName;
    TRaise m_raise;
    std::unique_ptr<char[]> m_buffer;
    size_t m_capacity;
    size_t m_used = 0;
};

// The rest of an open file, read in one pass into memory of its own (see
// TPageMemory), which the caller may keep: the tree keeps a loaded file's
// bytes, since its strings point into them.
class TFileContent {
public:
    // `expected` is the size to start with; a file that grows meanwhile is
    // read to its end. A failing read raises EReadError.
    TFileContent(int fd, size_t expected);
    TFileContent(const TFileContent&) = delete;
    TFileContent& operator=(const TFileContent&) = delete;

    const char* Data() const { return m_memory.Data(); }
    size_t Size() const { return m_size; }
    // Hands the memory over; the content is empty afterwards.
    TPageMemory Release();

private:
    void Grow(size_t capacity);

    TPageMemory m_memory;
    size_t m_size = 0;
};

#pragma once

#include <fcntl.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// A file created (or truncated) for writing, with its own buffer so that
// records of a few bytes do not cost a system call each. Failures raise
// EInOutError. The file is closed by Close() or, after an error, by the
// destructor; what reached the disk stays there.
class TBufferedFile {
public:
    static constexpr size_t DefaultBufferSize = 1024 * 1024;

    // `name` is taken relative to the open folder `folderFd` (AT_FDCWD for the
    // working directory).
    explicit TBufferedFile(const std::string& name, int folderFd = AT_FDCWD,
                           size_t bufferSize = DefaultBufferSize);
    ~TBufferedFile();
    TBufferedFile(const TBufferedFile&) = delete;
    TBufferedFile& operator=(const TBufferedFile&) = delete;

    void Write(std::string_view bytes);
    void Write(char c, size_t count);  // `count` copies of one byte
    // Writes out the buffer and closes the file; a late write error shows here.
    void Close();

private:
    void Flush();
    void WriteThrough(const char* data, size_t size);

    int m_fd = -1;
    std::unique_ptr<char[]> m_buffer;
    size_t m_capacity;
    size_t m_used = 0;
};

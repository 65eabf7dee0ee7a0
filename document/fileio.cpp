#include "document/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include <unistd.h>

TFileHandle::~TFileHandle()
{
    Close();
}

TFileHandle::TFileHandle(TFileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

TFileHandle& TFileHandle::operator=(TFileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int TFileHandle::Close()
{
    if (m_fd < 0)
        return 0;
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && errno != EINTR)
        return errno;
    return 0;
}

TFileHandle OpenFile(const std::string& path, int flags, mode_t mode, int folderFd)
{
    int fd;
    do
        fd = ::openat(folderFd, path.c_str(), flags, mode);
    while (fd < 0 && errno == EINTR);
    return TFileHandle(fd);
}

TFileHandle OpenFolder(const std::string& path)
{
    return OpenFile(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int WriteFully(int fd, const char* data, size_t size)
{
    // One call writes at most about 2 GiB; a gigabyte at a time stays below.
    constexpr size_t MaxChunk = size_t(1) << 30;
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::min(size, MaxChunk));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return WriteStoredNothing;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

TBufferedWriter::TBufferedWriter(TFileHandle file, std::string fileName, TRaise raise, size_t capacity)
    : m_file(std::move(file)), m_fileName(std::move(fileName)), m_raise(raise),
      m_buffer(new char[std::max<size_t>(capacity, 1)]), m_capacity(std::max<size_t>(capacity, 1))
{
}

TBufferedWriter::~TBufferedWriter()
{
    if (!m_file.IsOpen())
        return;
    try {
        Flush();
    } catch (...) {
    }
}

void TBufferedWriter::Write(std::string_view bytes)
{
    // An empty view may have no bytes at all, which memcpy must not be given.
    if (bytes.empty())
        return;
    if (bytes.size() > m_capacity - m_used) {
        Flush();
        if (bytes.size() >= m_capacity) {
            WriteThrough(bytes.data(), bytes.size());
            return;
        }
    }
    std::memcpy(m_buffer.get() + m_used, bytes.data(), bytes.size());
    m_used += bytes.size();
}

void TBufferedWriter::Write(char c, size_t count)
{
    while (count > 0) {
        if (m_used == m_capacity)
            Flush();
        const size_t part = std::min(count, m_capacity - m_used);
        std::memset(m_buffer.get() + m_used, c, part);
        m_used += part;
        count -= part;
    }
}

void TBufferedWriter::Flush()
{
    // A failed buffer is dropped, so the destructor does not try it again.
    const size_t used = std::exchange(m_used, 0);
    WriteThrough(m_buffer.get(), used);
}

void TBufferedWriter::Close(bool sync)
{
    if (!m_file.IsOpen())
        return;
    Flush();  // on failure the destructor still closes
    if (sync && ::fsync(m_file.Get()) != 0)
        m_raise(errno, m_fileName);
    if (const int error = m_file.Close())
        m_raise(error, m_fileName);
}

void TBufferedWriter::Discard()
{
    m_used = 0;
    m_file.Close();
}

void TBufferedWriter::WriteThrough(const char* data, size_t size)
{
    if (const int error = WriteFully(m_file.Get(), data, size))
        m_raise(error, m_fileName);
}

TFileContent::TFileContent(int fd, size_t expected)
{
    // One byte more than expected, so that the read which finds the end
    // needs no larger buffer.
    Grow(expected + 1);
    for (;;) {
        if (m_size == m_memory.Size())
            Grow(m_memory.Size() * 2);
        const ssize_t got = ::read(fd, m_memory.Data() + m_size, m_memory.Size() - m_size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError();
        }
        if (got == 0)
            break;
        m_size += static_cast<size_t>(got);
    }
}

TPageMemory TFileContent::Release()
{
    m_size = 0;
    return std::move(m_memory);
}

void TFileContent::Grow(size_t capacity)
{
    TPageMemory larger(capacity);
    if (m_size > 0)
        std::memcpy(larger.Data(), m_memory.Data(), m_size);
    m_memory = std::move(larger);
}

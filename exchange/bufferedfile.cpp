#include "bufferedfile.h"

#include "inouterror.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <unistd.h>

TBufferedFile::TBufferedFile(const std::string& name, int folderFd, size_t bufferSize)
    : m_buffer(new char[bufferSize > 0 ? bufferSize : 1]), m_capacity(bufferSize > 0 ? bufferSize : 1)
{
    do
        m_fd = ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        EInOutError::RaiseLastError();
}

TBufferedFile::~TBufferedFile()
{
    if (m_fd < 0)
        return;
    // Reached only when an error (or an unwinding caller) skipped Close():
    // keep what can still be written, but a destructor must not throw.
    try {
        Flush();
    } catch (...) {
    }
    ::close(m_fd);
}

void TBufferedFile::Write(std::string_view bytes)
{
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

void TBufferedFile::Write(char c, size_t count)
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

void TBufferedFile::Close()
{
    if (m_fd < 0)
        return;
    Flush();  // on failure the destructor still closes
    const int fd = m_fd;
    m_fd = -1;
    // close() may report a deferred write error (network or quota file
    // systems); it must not be retried on EINTR, the descriptor is gone.
    if (::close(fd) != 0 && errno != EINTR)
        EInOutError::RaiseLastError();
}

void TBufferedFile::Flush()
{
    const size_t used = m_used;
    // A failed buffer is dropped, so the destructor does not try it again.
    m_used = 0;
    WriteThrough(m_buffer.get(), used);
}

void TBufferedFile::WriteThrough(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            EInOutError::RaiseLastError();
        }
        // A write that stores nothing without an error: the medium is full.
        if (written == 0)
            throw EInOutError(InOutErrorDiskFull);
        data += written;
        size -= static_cast<size_t>(written);
    }
}

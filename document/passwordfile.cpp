#include "document/passwordfile.h"

#include "document/fileio.h"

#include <cerrno>

#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Acceptable(const struct stat& status)
{
    return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode);
}

EPasswordFileError TooLarge(const std::string& path)
{
    return EPasswordFileError("The password file " + path + " is larger than 1 KiB");
}

}  // namespace

TPasswordFile ReadPasswordFile(const std::string& path)
{
    const EPasswordFileError unreadable("Cannot read the password file " + path);
    const EPasswordFileError wrongKind("The password file " + path + " is neither a regular file nor a pipe");
    // Told apart before opening: opening a device can already act on it.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw unreadable;
    if (!Acceptable(status))
        throw wrongKind;
    if (S_ISREG(status.st_mode) && static_cast<size_t>(status.st_size) > MaxPasswordFileSize)
        throw TooLarge(path);
    const TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    // The path may have been replaced since: judge what was opened.
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0)
        throw unreadable;
    if (!Acceptable(status))
        throw wrongKind;

    // One byte more than allowed tells an oversized pipe.
    char buffer[MaxPasswordFileSize + 1];
    size_t used = 0;
    while (used < sizeof buffer) {
        const ssize_t got = ::read(file.Get(), buffer + used, sizeof buffer - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            sodium_memzero(buffer, sizeof buffer);
            throw unreadable;
        }
        if (got == 0)
            break;
        used += static_cast<size_t>(got);
    }
    if (used > MaxPasswordFileSize) {
        sodium_memzero(buffer, sizeof buffer);
        throw TooLarge(path);
    }
    if (used == 0)
        throw unreadable;
    size_t length = 0;
    while (length < used && buffer[length] != '\n')
        ++length;
    if (length > 0 && buffer[length - 1] == '\r')
        --length;
    TPasswordFile result;
    result.password.assign(buffer, length);
    result.readableByOthers = (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
    sodium_memzero(buffer, sizeof buffer);
    return result;
}

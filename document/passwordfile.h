#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

// A password file refused: not a regular file or a pipe, larger than
// MaxPasswordFileSize, missing or empty. The message names the file.
class EPasswordFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A password is a line; more than this is not a password file (a device or
// a log named by mistake), so it is never read whole.
constexpr size_t MaxPasswordFileSize = 1024;

struct TPasswordFile {
    // The first line, without its line break.
    std::string password;
    // Group or others may read the file.
    bool readableByOthers = false;
};

// Reads the password from a regular file or a pipe (a FIFO, a shell's
// `<(...)`, /dev/stdin), at most MaxPasswordFileSize bytes of it. The bytes
// read beyond the first line are wiped.
TPasswordFile ReadPasswordFile(const std::string& path);

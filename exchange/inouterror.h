#pragma once

#include <stdexcept>
#include <string>

// A failing file operation of the export writers. The code follows the
// numbering the program has always shown to users (Windows error codes), so
// messages read the same whatever system the files live on.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    int Code() const { return m_code; }

    // The user-facing text for a code: a fixed message for the classic codes,
    // "I/O error %d" for every other one.
    static std::string Message(int code);

    // Translates a POSIX errno into the code shown to the user. Errors
    // without a counterpart keep their errno, offset by
    // InOutErrorForeignBase so they can never be mistaken for a classic
    // code (EIO 5 is not "File access denied").
    static int CodeFromErrno(int err);

    // Raises the error for the current errno.
    [[noreturn]] static void RaiseLastError();

private:
    int m_code;
};

// Codes the writers raise (Windows numbering).
constexpr int InOutErrorInvalidFilename = 3;     // missing folder on the path
constexpr int InOutErrorTooManyOpenFiles = 4;
constexpr int InOutErrorAccessDenied = 5;        // write-protected, or a folder in the way
constexpr int InOutErrorSharingViolation = 32;   // locked by another program
constexpr int InOutErrorDiskFull = 101;          // a write stored nothing without an error
constexpr int InOutErrorWinDiskFull = 112;       // the file system reports no space
constexpr int InOutErrorInvalidName = 123;       // a name the file system refuses
constexpr int InOutErrorForeignBase = 1000;      // + errno for errors without a counterpart

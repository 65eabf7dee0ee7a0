#pragma once

#include <stdexcept>
#include <string>

// A failing file operation of the export writers. The message is the code's
// text followed by ": " and the file concerned ("Disk full: /home/a/x.txt").
// The codes are the numbers this program has always shown its users, so
// the same failure reads the same whatever file system the target is on.
class EInOutError : public std::runtime_error {
public:
    EInOutError(int code, const std::string& fileName);

    int Code() const { return m_code; }

    // The text for a code: a fixed message for the codes of the table,
    // "I/O error %d" for every other one.
    static std::string Message(int code);

    // Translates a system errno into the code shown to the user. Errors
    // without a counterpart keep their errno, offset by
    // InOutErrorForeignBase so they can never be mistaken for a code of the
    // table (EIO 5 is not "File access denied").
    static int CodeFromErrno(int err);

    // Raises the error for a failure of the file layer: an errno value, or
    // WriteStoredNothing for a write that stored nothing.
    [[noreturn]] static void Raise(int error, const std::string& fileName);

private:
    int m_code;
};

// Codes the writers raise.
constexpr int InOutErrorInvalidFilename = 3;     // missing folder on the path
constexpr int InOutErrorTooManyOpenFiles = 4;
constexpr int InOutErrorAccessDenied = 5;        // write-protected, or a folder in the way
constexpr int InOutErrorSharingViolation = 32;   // locked by another program
constexpr int InOutErrorDiskFull = 101;          // a write stored nothing without an error
constexpr int InOutErrorNoSpace = 112;           // the file system reports no space
constexpr int InOutErrorInvalidName = 123;       // a name the file system refuses
constexpr int InOutErrorForeignBase = 1000;      // + errno for errors without a counterpart

#include "exchange/inouterror.h"

#include "document/fileio.h"

#include <cerrno>
#include <cstdio>

EInOutError::EInOutError(int code, const std::string& fileName)
    : std::runtime_error(Message(code) + ": " + fileName), m_code(code)
{
}

std::string EInOutError::Message(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "I/O error %d", code);
    return text;
}

int EInOutError::CodeFromErrno(int err)
{
    switch (err) {
    // A missing folder on the way to the file, or a file used as a folder.
    case ENOENT:
    case ENOTDIR:
        return InOutErrorInvalidFilename;
    // A folder where the file should be: the file cannot be written there,
    // which is what "access denied" tells the user.
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return InOutErrorAccessDenied;
    case EMFILE:
    case ENFILE:
        return InOutErrorTooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return InOutErrorNoSpace;
    case EBUSY:
    case ETXTBSY:
        return InOutErrorSharingViolation;
    case ENAMETOOLONG:
    case EILSEQ:
    case EINVAL:
        return InOutErrorInvalidName;
    default:
        return InOutErrorForeignBase + err;
    }
}

void EInOutError::Raise(int error, const std::string& fileName)
{
    throw EInOutError(error == WriteStoredNothing ? InOutErrorDiskFull : CodeFromErrno(error), fileName);
}

#include "document/atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t DefaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void RaiseWriteError(int /*error*/, const std::string& fileName)
{
    throw EWriteError(fileName);
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& fileName, TNewMode newMode) : m_target(fileName)
{
    // Replace what a symbolic link points to, not the link.
    struct stat old {};
    const bool exists = ::stat(fileName.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            throw EFCreateError("Cannot create file " + fileName);
        if (char* resolved = ::realpath(fileName.c_str(), nullptr)) {
            m_target = resolved;
            std::free(resolved);
        }
    }

    // A file another program holds locked is in use: replacing it under that
    // program could lose what it is writing, so the save fails instead.
    if (exists) {
        m_lock = OpenFile(m_target, O_RDONLY | O_CLOEXEC);
        if (!m_lock.IsOpen() || ::flock(m_lock.Get(), LOCK_EX | LOCK_NB) != 0)
            throw EFCreateError("Cannot create file " + fileName);
    }

    // Beside the target, so the rename stays within one file system; the
    // name is shortened so that a target name near the length limit still
    // leaves room for the suffix.
    const size_t slash = m_target.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string temp =
        m_target.substr(0, nameStart + std::min<size_t>(m_target.size() - nameStart, 200)) + ".XXXXXX";
    TFileHandle file(::mkostemp(temp.data(), O_CLOEXEC));
    if (!file.IsOpen())
        throw EFCreateError("Cannot create file " + fileName);
    m_temp = std::move(temp);

    // Some file systems refuse permission bits; that is no reason to fail the save.
    const mode_t mode = exists ? (old.st_mode & 07777) : newMode == TNewMode::Private ? 0600 : DefaultFileMode();
    (void)::fchmod(file.Get(), mode);
    try {
        m_writer.emplace(std::move(file), fileName, &RaiseWriteError, BufferSize);
    } catch (...) {
        ::unlink(m_temp.c_str());  // no destructor runs for a constructor that throws
        throw;
    }
}

TAtomicFile::~TAtomicFile()
{
    if (m_committed || !m_writer)
        return;
    m_writer->Discard();
    ::unlink(m_temp.c_str());
}

void TAtomicFile::Commit()
{
    m_writer->Close(true);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0)
        RaiseWriteError(errno, m_writer->FileName());
    m_committed = true;
    // Make the rename itself durable; the data already is.
    const TFileHandle folder = OpenFolder(DirectoryOf(m_target));
    if (folder.IsOpen())
        (void)::fsync(folder.Get());
}

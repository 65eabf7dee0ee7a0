#include "recovery/recoverystore.h"

#include "document/atomicfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string CopyExt = ".trd";
const std::string InfoExt = ".info";
// The largest side file any editor writes is far below this.
constexpr size_t MaxInfoSize = 64 * 1024;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// A link is not followed and a pipe or device not opened: writing a copy
// through a link would replace the file it points to, and reading a pipe
// would hold up the start for good.
bool IsPlainFile(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// FNV-1a: stable across builds and runs, which a name found again by the
// next start needs; std::hash promises neither.
uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

TRecoveryStore::TRecoveryStore(std::string folder) : m_folder(std::move(folder)) {}

std::string TRecoveryStore::CopyPath(const std::string& name) const
{
    return m_folder + "/" + name + CopyExt;
}

std::string TRecoveryStore::InfoPath(const std::string& name) const
{
    return m_folder + "/" + name + InfoExt;
}

std::string TRecoveryStore::NameOf(const std::string& copyPath) const
{
    const std::string prefix = m_folder + "/";
    if (copyPath.compare(0, prefix.size(), prefix) != 0 || !EndsWith(copyPath, CopyExt))
        return std::string();
    std::string name = copyPath.substr(prefix.size(), copyPath.size() - prefix.size() - CopyExt.size());
    return name.find('/') == std::string::npos ? name : std::string();
}

std::string TRecoveryStore::BaseName(const std::string& documentPath, int64_t pid)
{
    if (documentPath.empty())
        return "untitled-" + std::to_string(pid);
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a(documentPath)));
    return hex;
}

bool TRecoveryStore::MakeFolder() const
{
    // Private: the copies hold the user's notes.
    for (size_t slash = m_folder.find('/', 1); slash != std::string::npos; slash = m_folder.find('/', slash + 1)) {
        const std::string part = m_folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return ::mkdir(m_folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string TRecoveryStore::Claim(const std::string& base, const TRecoveryInfo& info)
{
    const std::string content = info.Format();
    MakeFolder();
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        // A copy without a side file is nobody's to overwrite either.
        if (Exists(CopyPath(name)))
            continue;
        const std::string path = InfoPath(name);
        TFileHandle file = OpenFile(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (!file.IsOpen() && errno == EEXIST)
            continue;
        if (!file.IsOpen() || WriteFully(file.Get(), content.data(), content.size()) != 0 ||
            ::fsync(file.Get()) != 0 || file.Close() != 0) {
            ::unlink(path.c_str());
            throw EFCreateError("Cannot create file " + path);
        }
        return name;
    }
    throw EFCreateError("Cannot create file " + InfoPath(base));
}

void TRecoveryStore::WriteInfo(const std::string& name, const TRecoveryInfo& info)
{
    TAtomicFile file(InfoPath(name));
    file.Writer().Write(info.Format());
    file.Commit();
}

std::optional<TRecoveryInfo> TRecoveryStore::ReadInfo(const std::string& name) const
{
    const TFileHandle file = OpenFile(InfoPath(name), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st {};
    if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::string content(MaxInfoSize, '\0');
    size_t size = 0;
    for (;;) {
        const ssize_t got = ::read(file.Get(), content.data() + size, content.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || (got > 0 && size + static_cast<size_t>(got) == content.size()))
            return std::nullopt;
        if (got == 0)
            break;
        size += static_cast<size_t>(got);
    }
    content.resize(size);
    return TRecoveryInfo::Parse(content);
}

void TRecoveryStore::Remove(const std::string& name)
{
    ::unlink(CopyPath(name).c_str());
    ::unlink(InfoPath(name).c_str());
    RemoveLeftovers(name);
}

void TRecoveryStore::RemoveLeftovers(const std::string& name)
{
    // An atomic replacement that was cut off leaves its temporary, NAME.trd.XXXXXX.
    for (const std::string& ext : {CopyExt, InfoExt}) {
        const std::string prefix = name + ext + ".";
        for (const std::string& file : List())
            if (file.size() == prefix.size() + 6 && file.compare(0, prefix.size(), prefix) == 0)
                ::unlink((m_folder + "/" + file).c_str());
    }
}

bool TRecoveryStore::HasCopy(const std::string& name) const
{
    return IsPlainFile(CopyPath(name));
}

std::vector<std::string> TRecoveryStore::List() const
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(m_folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir))
        names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

TFileHandle TRecoveryStore::LockForOffering()
{
    // Without the folder there is nothing to offer, and nothing is created.
    // A link in its place would have the file it points to created.
    const std::string path = m_folder + "/.lock";
    const int flags = O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    TFileHandle lock = OpenFile(path, flags, 0600);
    if (!lock.IsOpen() && errno == ELOOP && ::unlink(path.c_str()) == 0)
        lock = OpenFile(path, flags, 0600);
    if (lock.IsOpen() && ::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0)
        return TFileHandle();
    return lock;
}

TRecoveryStore::TFindings TRecoveryStore::FindOrphans()
{
    TFindings findings;
    for (const std::string& file : List()) {
        if (!EndsWith(file, InfoExt))
            continue;
        const std::string name = file.substr(0, file.size() - InfoExt.size());
        const auto info = ReadInfo(name);
        if (info && info->owner.Running())
            continue;
        if (!Exists(CopyPath(name))) {
            // Claimed by an editor that ended before its first copy. Damaged
            // ones are taken as that too: side files are replaced whole, so
            // only a claim cut off while being written can be damaged.
            Remove(name);
            continue;
        }
        if (info && HasCopy(name))
            findings.orphans.push_back({name, *info});
        else
            findings.unreadable.push_back(CopyPath(name));
    }
    std::sort(findings.orphans.begin(), findings.orphans.end(), [](const TEntry& a, const TEntry& b) {
        return a.info.time != b.info.time ? a.info.time < b.info.time : a.name < b.name;
    });
    std::sort(findings.unreadable.begin(), findings.unreadable.end());
    return findings;
}

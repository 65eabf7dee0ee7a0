#include "exchange/fileimport.h"

#include "document/treefile.h"
#include "document/treelist.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <utility>

namespace {

// A file inside a folder whose first bytes hold a NUL is taken for a binary
// file, as version control tools and pagers judge it.
constexpr size_t BinaryProbeSize = 8192;

std::string Normalised(std::string_view bytes, bool endLastLine)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 32 + 2);
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* const run = p;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        result.append(run, static_cast<size_t>(p - run));
        if (p == end)
            break;
        result += "\r\n";
        p += *p == '\r' && p + 1 < end && p[1] == '\n' ? 2 : 1;
    }
    if (endLastLine && !result.empty() && result.back() != '\n')
        result += "\r\n";
    return result;
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using FolderList = std::unique_ptr<DIR, DirCloser>;

std::string CannotOpen(const std::string& path, const std::string& reason)
{
    return "Cannot open file " + path + ": " + reason;
}

std::string Reason(int error)
{
    // A lock held by another program reads as "try again" otherwise.
    if (error == EWOULDBLOCK)
        return "Locked by another program";
    return std::generic_category().message(error);
}

int OpenAt(int folderFd, const char* name, int flags)
{
    int fd;
    do
        fd = ::openat(folderFd, name, flags | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads an open regular file up to its first NUL into `buffer`, which keeps
// its capacity from file to file. Returns the number of bytes and where the
// NUL was (npos when there is none), or an errno.
struct TextRead {
    size_t size = 0;
    size_t nulAt = std::string::npos;
    int error = 0;
};

TextRead ReadUpToNul(int fd, size_t sizeHint, std::string& buffer)
{
    TextRead result;
    // One more than the size, so the read that meets the end needs no growth.
    if (buffer.size() < sizeHint + 1)
        buffer.resize(sizeHint + 1);
    for (;;) {
        if (result.size == buffer.size())
            buffer.resize(buffer.size() * 2);
        const ssize_t got = ::read(fd, buffer.data() + result.size, buffer.size() - result.size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.error = errno;
            return result;
        }
        if (got == 0)
            return result;
        if (const void* nul = std::memchr(buffer.data() + result.size, '\0', static_cast<size_t>(got))) {
            result.nulAt = static_cast<size_t>(static_cast<const char*>(nul) - buffer.data());
            result.size = result.nulAt;
            return result;
        }
        result.size += static_cast<size_t>(got);
    }
}

// Checks that `fd` is a regular file and takes a shared lock on it, so a
// file that another program keeps locked while it writes is not read half
// written. Returns why it cannot be read, empty when it can; `size` gets the
// file's size.
std::string PrepareRegularFile(int fd, size_t& size)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return Reason(errno);
    if (S_ISDIR(st.st_mode))
        return Reason(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "Not a regular file";
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        return Reason(errno);
    size = static_cast<size_t>(st.st_size);
    return {};
}

enum class EntryKind { File, Folder, Skip };

struct Entry {
    std::string name;
    bool folder;
};

// One folder being imported: its open listing, its entries in order and the
// item that takes them.
struct Frame {
    FolderList list;
    std::string path;
    TTreeListTextNode* item;
    std::vector<Entry> entries;
    size_t next = 0;
};

class Importer {
public:
    Importer(TTreeList& scratch, const TFileImportOptions& options, TFileImportResult& result)
        : m_scratch(scratch), m_options(options), m_result(result)
    {
    }

    // False when the import was cancelled.
    bool ImportPath(const std::string& path);

private:
    bool Done();
    TTreeListTextNode* NewItem(TTreeListTextNode* parent, std::string name, std::string description);
    bool ImportFile(Descriptor file, const std::string& path, std::string name, TTreeListTextNode* parent,
                    bool inFolder);
    bool ImportFolder(Descriptor folder, const std::string& path, std::string name);
    bool OpenFolder(Descriptor folder, const std::string& path, std::string name, TTreeListTextNode* parent,
                    std::vector<Frame>& stack);
    std::vector<Entry> ListFolder(DIR* list, const std::string& path);
    bool Fail(std::string message);

    TTreeList& m_scratch;
    const TFileImportOptions& m_options;
    TFileImportResult& m_result;
    std::string m_buffer;
    size_t m_done = 0;
};

bool Importer::Done()
{
    ++m_done;
    if (m_options.OnProgress && !m_options.OnProgress(m_done))
        m_result.Cancelled = true;
    return !m_result.Cancelled;
}

bool Importer::Fail(std::string message)
{
    m_result.Failures.push_back(std::move(message));
    return Done();
}

TTreeListTextNode* Importer::NewItem(TTreeListTextNode* parent, std::string name, std::string description)
{
    TTreeListTextNode* item = parent ? parent->AddChild() : m_scratch.AddItem();
    item->SetText(TreeListColumnName, std::move(name));
    item->SetText(TreeListColumnDesc, std::move(description));
    item->SetImageIndex(m_options.ImageIndex);
    ++m_result.ItemsAdded;
    return item;
}

bool Importer::ImportPath(const std::string& path)
{
    // Non-blocking, so a named pipe dropped by mistake cannot hang the open.
    Descriptor fd(OpenAt(AT_FDCWD, path.c_str(), O_RDONLY | O_NONBLOCK));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0)
        return Fail(CannotOpen(path, Reason(errno)));
    if (S_ISDIR(st.st_mode))
        return ImportFolder(std::move(fd), path, FileNameOfPath(path));
    return ImportFile(std::move(fd), path, FileNameOfPath(path), nullptr, false);
}

bool Importer::ImportFile(Descriptor file, const std::string& path, std::string name, TTreeListTextNode* parent,
                          bool inFolder)
{
    size_t size = 0;
    if (std::string reason = PrepareRegularFile(file.Get(), size); !reason.empty())
        return Fail(CannotOpen(path, reason));
    const TextRead read = ReadUpToNul(file.Get(), size, m_buffer);
    if (read.error)
        return Fail(CannotOpen(path, Reason(read.error)));
    if (inFolder && read.nulAt < BinaryProbeSize)
        return Fail("Skipped binary file " + path);
    NewItem(parent, std::move(name), TextFileLines(std::string_view(m_buffer.data(), read.size)));
    return Done();
}

// What an entry of a folder becomes. A link to a folder is not followed: it
// may lead back up and never end. A link to a file is read; a broken one is
// reported when it fails to open. Pipes, sockets and devices hold no notes.
EntryKind KindOf(int folderFd, const dirent& d)
{
    unsigned char type = d.d_type;
    struct stat st {};
    if (type == DT_UNKNOWN) {  // file systems that do not say: ask
        if (::fstatat(folderFd, d.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::File;  // fails again when opened, and is reported then
        type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_FIFO;
    }
    switch (type) {
    case DT_DIR:
        return EntryKind::Folder;
    case DT_REG:
        return EntryKind::File;
    case DT_LNK:
        return ::fstatat(folderFd, d.d_name, &st, 0) != 0 || S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Skip;
    default:
        return EntryKind::Skip;
    }
}

std::vector<Entry> Importer::ListFolder(DIR* list, const std::string& path)
{
    std::vector<Entry> entries;
    const int folderFd = ::dirfd(list);
    errno = 0;
    while (const dirent* d = ::readdir(list)) {
        if (d->d_name[0] == '.')
            continue;  // hidden, and "." and ".."
        const EntryKind kind = KindOf(folderFd, *d);
        if (kind != EntryKind::Skip)
            entries.push_back({d->d_name, kind == EntryKind::Folder});
        errno = 0;
    }
    // The entries listed before the failure are still imported.
    if (errno != 0)
        m_result.Failures.push_back(CannotOpen(path, Reason(errno)));
    // Folders first, each group by name, as file managers list them.
    const auto& less = m_options.NameLess;
    std::sort(entries.begin(), entries.end(), [&less](const Entry& a, const Entry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return less ? less(a.name, b.name) : a.name < b.name;
    });
    return entries;
}

bool Importer::OpenFolder(Descriptor folder, const std::string& path, std::string name, TTreeListTextNode* parent,
                          std::vector<Frame>& stack)
{
    FolderList list(::fdopendir(folder.Get()));
    if (!list)
        return Fail(CannotOpen(path, Reason(errno)));
    folder.Release();
    std::vector<Entry> entries = ListFolder(list.get(), path);
    TTreeListTextNode* item = NewItem(parent, std::move(name), std::string());
    stack.push_back({std::move(list), path, item, std::move(entries)});
    return Done();
}

// Depth first with a stack of open folders rather than recursion, so a deep
// folder tree costs descriptors (and reports running out of them) instead of
// overflowing the call stack.
bool Importer::ImportFolder(Descriptor folder, const std::string& path, std::string name)
{
    std::vector<Frame> stack;
    if (!OpenFolder(std::move(folder), path, std::move(name), nullptr, stack))
        return false;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            continue;
        }
        Entry entry = std::move(frame.entries[frame.next++]);
        const std::string childPath = frame.path + (frame.path.back() == '/' ? "" : "/") + entry.name;
        TTreeListTextNode* parent = frame.item;
        const int folderFd = ::dirfd(frame.list.get());
        const int flags = entry.folder ? O_RDONLY | O_DIRECTORY | O_NOFOLLOW : O_RDONLY | O_NONBLOCK;
        Descriptor fd(OpenAt(folderFd, entry.name.c_str(), flags));
        bool goOn;
        if (fd.Get() < 0)
            goOn = Fail(CannotOpen(childPath, Reason(errno)));
        else if (entry.folder)
            goOn = OpenFolder(std::move(fd), childPath, std::move(entry.name), parent, stack);
        else
            goOn = ImportFile(std::move(fd), childPath, std::move(entry.name), parent, true);
        if (!goOn)
            return false;
    }
    return true;
}

}  // namespace

std::string NormaliseLineBreaks(std::string_view bytes)
{
    return Normalised(bytes, false);
}

std::string TextFileLines(std::string_view bytes)
{
    return Normalised(bytes, true);
}

std::string ReadTextFile(const std::string& path)
{
    Descriptor fd(OpenAt(AT_FDCWD, path.c_str(), O_RDONLY | O_NONBLOCK));
    if (fd.Get() < 0)
        throw EFOpenError(CannotOpen(path, Reason(errno)));
    size_t size = 0;
    if (std::string reason = PrepareRegularFile(fd.Get(), size); !reason.empty())
        throw EFOpenError(CannotOpen(path, reason));
    std::string buffer;
    const TextRead read = ReadUpToNul(fd.Get(), size, buffer);
    if (read.error)
        throw EFOpenError(CannotOpen(path, Reason(read.error)));
    buffer.resize(read.size);
    return buffer;
}

std::string FileNameOfPath(const std::string& path)
{
    const size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return path.empty() ? std::string() : "/";
    const size_t slash = path.rfind('/', end);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(start, end + 1 - start);
}

TFileImportResult ImportFiles(TTreeList& tree, const std::vector<std::string>& paths,
                              const TFileImportOptions& options)
{
    TFileImportResult result;
    // Built apart and moved over at the end: the tree only ever holds whole
    // items, however the import ends, and a view sees one insertion.
    TTreeList scratch;
    Importer importer(scratch, options, result);
    for (const std::string& path : paths)
        if (!importer.ImportPath(path))
            break;
    tree.AppendItemsFrom(scratch);
    return result;
}

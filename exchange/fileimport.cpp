#include "exchange/fileimport.h"

#include "document/fileio.h"
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

TFileHandle OpenForReading(const std::string& name, int flags, int folderFd = AT_FDCWD)
{
    return OpenFile(name, flags | O_RDONLY | O_CLOEXEC | O_NOCTTY, 0, folderFd);
}

struct TextRead {
    size_t size = 0;
    size_t nulAt = std::string::npos;
    int error = 0;
};

// Reads an open regular file up to its first NUL into `buffer`, which keeps
// its capacity from file to file: the number of bytes and where the NUL was
// (npos when there is none), or an errno.
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

// One folder being imported: the open folder, its entries in order and the
// item that takes them.
struct Frame {
    TFileHandle folder;
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
    bool ImportFile(TFileHandle file, const std::string& path, std::string name, TTreeListTextNode* parent,
                    bool inFolder);
    bool ImportFolder(TFileHandle folder, const std::string& path, std::string name);
    bool OpenFolder(TFileHandle folder, const std::string& path, std::string name, TTreeListTextNode* parent,
                    std::vector<Frame>& stack);
    bool ListFolder(int folderFd, const std::string& path, std::vector<Entry>& entries);
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
    TFileHandle fd = OpenForReading(path, O_NONBLOCK);
    struct stat st {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0)
        return Fail(CannotOpen(path, Reason(errno)));
    if (S_ISDIR(st.st_mode))
        return ImportFolder(std::move(fd), path, FileNameOfPath(path));
    return ImportFile(std::move(fd), path, FileNameOfPath(path), nullptr, false);
}

bool Importer::ImportFile(TFileHandle file, const std::string& path, std::string name, TTreeListTextNode* parent,
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

// Reads all entries of the open folder at once, in import order. Returns
// false with errno when the folder cannot be listed at all.
bool Importer::ListFolder(int folderFd, const std::string& path, std::vector<Entry>& entries)
{
    // A listing of its own, closed when read: the folder itself stays open
    // for opening its entries.
    const int listFd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    FolderList list(listFd >= 0 ? ::fdopendir(listFd) : nullptr);
    if (!list) {
        const int error = errno;
        if (listFd >= 0)
            ::close(listFd);
        errno = error;
        return false;
    }
    std::vector<std::string> folders, files;
    errno = 0;
    while (const dirent* d = ::readdir(list.get())) {
        if (d->d_name[0] == '.')
            continue;  // hidden, and "." and ".."
        const EntryKind kind = KindOf(folderFd, *d);
        if (kind != EntryKind::Skip)
            (kind == EntryKind::Folder ? folders : files).emplace_back(d->d_name);
        errno = 0;
    }
    // The entries listed before the failure are still imported.
    if (errno != 0)
        m_result.Failures.push_back(CannotOpen(path, Reason(errno)));
    // Folders first, each group by name, as file managers list them.
    for (std::vector<std::string>* group : {&folders, &files}) {
        if (m_options.SortNames)
            m_options.SortNames(*group);
        else
            std::sort(group->begin(), group->end());
    }
    entries.reserve(folders.size() + files.size());
    for (std::string& name : folders)
        entries.push_back({std::move(name), true});
    for (std::string& name : files)
        entries.push_back({std::move(name), false});
    return true;
}

bool Importer::OpenFolder(TFileHandle folder, const std::string& path, std::string name, TTreeListTextNode* parent,
                          std::vector<Frame>& stack)
{
    std::vector<Entry> entries;
    if (!ListFolder(folder.Get(), path, entries))
        return Fail(CannotOpen(path, Reason(errno)));
    TTreeListTextNode* item = NewItem(parent, std::move(name), std::string());
    stack.push_back({std::move(folder), path, item, std::move(entries)});
    return Done();
}

// Depth first with a stack of open folders rather than recursion, so a deep
// folder tree costs descriptors (and reports running out of them) instead of
// overflowing the call stack.
bool Importer::ImportFolder(TFileHandle folder, const std::string& path, std::string name)
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
        TFileHandle fd = OpenForReading(entry.name, entry.folder ? O_DIRECTORY | O_NOFOLLOW : O_NONBLOCK,
                                        frame.folder.Get());
        bool goOn;
        if (!fd.IsOpen())
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
    TFileHandle fd = OpenForReading(path, O_NONBLOCK);
    if (!fd.IsOpen())
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

#include "treefile.h"

#include "treelist.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int32_t KnownHeaderSize = 24;
// Header size field plus the header: the least any record can take.
constexpr size_t MinRecordSize = 4 + KnownHeaderSize;

class Reader {
public:
    Reader(const char* data, size_t size)
        : m_p(reinterpret_cast<const unsigned char*>(data)), m_end(m_p + size)
    {
    }

    size_t Remaining() const { return static_cast<size_t>(m_end - m_p); }

    int32_t Int32()
    {
        if (Remaining() < 4)
            throw EReadError();
        const uint32_t v = static_cast<uint32_t>(m_p[0]) | static_cast<uint32_t>(m_p[1]) << 8 |
                           static_cast<uint32_t>(m_p[2]) << 16 | static_cast<uint32_t>(m_p[3]) << 24;
        m_p += 4;
        return static_cast<int32_t>(v);
    }

    uint8_t Byte()
    {
        if (Remaining() < 1)
            throw EReadError();
        return *m_p++;
    }

    // Hands out `size` bytes, or fails when the file cannot supply them.
    const unsigned char* Take(int64_t size)
    {
        if (size < 0 || static_cast<uint64_t>(size) > Remaining())
            throw EReadError();
        const unsigned char* start = m_p;
        m_p += size;
        return start;
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
};

int32_t HeaderField(const unsigned char* header, int field)
{
    const unsigned char* p = header + 4 * field;
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Reads one record's header and strings into `item` (already attached) and
// returns its child count; the children follow and are read by the caller.
struct Span {
    const unsigned char* data;
    size_t size;
};

int32_t ReadItemRecord(TTreeListTextNode& item, Reader& in, TTreeFileVariant variant, std::vector<Span>& scratch)
{
    const int32_t headerSize = in.Int32();
    if (headerSize < KnownHeaderSize)
        throw EReadError();
    const unsigned char* header = in.Take(headerSize);
    item.SetImageIndex(HeaderField(header, 0));
    item.SetSelectedIndex(HeaderField(header, 1));
    item.SetStateIndex(HeaderField(header, 2));
    item.SetData(HeaderField(header, 3));
    const int32_t childCount = HeaderField(header, 4);
    const int32_t stringCount = HeaderField(header, 5);
    // The strings are set last first, so the item's list is sized once; a
    // string cut short still leaves the ones before it set.
    std::vector<Span>& spans = scratch;
    spans.clear();
    bool complete = true;
    try {
        for (int32_t i = 0; i < stringCount; ++i) {
            const int64_t length = variant == TTreeFileVariant::Current ? in.Int32() : in.Byte();
            spans.push_back({in.Take(length), static_cast<size_t>(length)});
        }
    } catch (const EReadError&) {
        complete = false;
    }
    for (size_t i = spans.size(); i-- > 0;)
        item.SetText(static_cast<int>(i), std::string(reinterpret_cast<const char*>(spans[i].data), spans[i].size));
    if (!complete)
        throw EReadError();
    return childCount;
}

struct PendingChildren {
    TTreeListTextNode* parent;
    int32_t left;
};

void ReadAll(TTreeList& tree, Reader& in, TTreeFileVariant& variant)
{
    int32_t count = in.Int32();
    if (count < 0) {
        variant = TTreeFileVariant::Current;
        count = in.Int32();
    } else {
        variant = TTreeFileVariant::Old;
    }
    // Every pending entry consumed at least one record, so the stack stays
    // bounded by the file size however deep the file nests.
    std::vector<PendingChildren> pending;
    std::vector<Span> scratch;
    // Every record consumes bytes or fails, so a hostile count ends at the
    // file's end instead of looping.
    for (int32_t i = 0; i < count; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        int32_t children = ReadItemRecord(*item, in, variant, scratch);
        if (children > 0)
            pending.push_back({item, children});
        while (!pending.empty()) {
            PendingChildren& top = pending.back();
            if (top.left == 0) {
                pending.pop_back();
                continue;
            }
            --top.left;
            TTreeListTextNode* child = top.parent->AddChild();
            children = ReadItemRecord(*child, in, variant, scratch);
            if (children > 0)
                pending.push_back({child, children});
        }
    }
}

class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// The file's bytes live only while the items are built. Mapped apart from
// the heap, so that giving them back cannot leave a hole the size of the
// file between the items.
class Buffer {
public:
    explicit Buffer(size_t size) { Grow(size); }
    ~Buffer() { Release(); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

    void Grow(size_t size)
    {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        if (m_data)
            std::memcpy(p, m_data, m_size);
        Release();
        m_data = static_cast<char*>(p);
        m_size = size;
    }

private:
    void Release()
    {
        if (m_data)
            ::munmap(m_data, m_size);
        m_data = nullptr;
    }

    char* m_data = nullptr;
    size_t m_size = 0;
};

void PutInt32(char*& p, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
    p[2] = static_cast<char>((v >> 16) & 0xFF);
    p[3] = static_cast<char>((v >> 24) & 0xFF);
    p += 4;
}

bool WriteFully(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const size_t chunk = size < (size_t(1) << 30) ? size : (size_t(1) << 30);
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Writes the current variant through `append(data, size)`, one record at a
// time. Pre-order is exactly the record order: a record's header and strings
// come before the records of its subtree.
template <typename Append> void Serialise(const TTreeList& tree, Append&& append)
{
    char head[8];
    char* p = head;
    PutInt32(p, -1);
    PutInt32(p, tree.TopItemCount());
    append(head, sizeof head);
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        char record[MinRecordSize];
        p = record;
        PutInt32(p, KnownHeaderSize);
        PutInt32(p, item->ImageIndex());
        PutInt32(p, item->SelectedIndex());
        PutInt32(p, item->StateIndex());
        PutInt32(p, item->Data());
        PutInt32(p, item->Count());
        PutInt32(p, item->TextCount());
        append(record, sizeof record);
        for (int i = 0; i < item->TextCount(); ++i) {
            const std::string& text = item->GetText(i);
            char length[4];
            p = length;
            PutInt32(p, static_cast<int32_t>(text.size()));
            append(length, sizeof length);
            append(text.data(), text.size());
        }
    }
}

// Collects the output in one buffer that stays in the cache and hands it to
// the file in a few large writes.
class ChunkWriter {
public:
    explicit ChunkWriter(int fd) : m_fd(fd) { m_buffer.reserve(Capacity); }

    void Append(const char* data, size_t size)
    {
        if (m_buffer.size() + size > Capacity) {
            Flush();
            if (size >= Capacity) {
                m_ok = m_ok && WriteFully(m_fd, data, size);
                return;
            }
        }
        m_buffer.append(data, size);
    }

    // False when any write failed.
    bool Finish()
    {
        Flush();
        return m_ok;
    }

private:
    static constexpr size_t Capacity = size_t(4) << 20;

    void Flush()
    {
        m_ok = m_ok && WriteFully(m_fd, m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

    int m_fd;
    std::string m_buffer;
    bool m_ok = true;
};

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

}  // namespace

TTreeFileVariant ReadItems(TTreeList& tree, const char* data, size_t size)
{
    const TTreeListReset reset(tree);
    const TTreeListUpdate bracket(tree);
    tree.ClearItems();
    Reader in(data, size);
    TTreeFileVariant variant = TTreeFileVariant::Current;
    ReadAll(tree, in, variant);
    return variant;
}

TTreeFileVariant LoadItems(TTreeList& tree, const std::string& fileName)
{
    FileHandle file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    // The file is read under an exclusive lock, as far as this platform has
    // one: a program that locks it (another of our windows saving it) makes
    // the open fail instead of reading a file half replaced.
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0 || S_ISDIR(st.st_mode) ||
        ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0)
        throw EFOpenError("Cannot open file " + fileName);

    // One read of the whole file; a file that grows meanwhile is read to its end.
    size_t capacity = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    Buffer buffer(capacity + 1);
    size_t size = 0;
    for (;;) {
        if (size == buffer.Size())
            buffer.Grow(buffer.Size() * 2);
        const ssize_t got = ::read(file.Get(), buffer.Data() + size, buffer.Size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError();
        }
        if (got == 0)
            break;
        size += static_cast<size_t>(got);
    }
    ::close(file.Release());
    return ReadItems(tree, buffer.Data(), size);
}

std::string WriteItems(const TTreeList& tree)
{
    tree.CommitEdits();
    size_t total = 8;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        total += MinRecordSize;
        for (int i = 0; i < item->TextCount(); ++i)
            total += 4 + item->GetText(i).size();
    }
    std::string out;
    out.reserve(total);
    Serialise(tree, [&out](const char* data, size_t size) { out.append(data, size); });
    return out;
}

void SaveItems(const TTreeList& tree, const std::string& fileName)
{
    tree.CommitEdits();
    // Replace what a symbolic link points to, not the link.
    std::string target = fileName;
    struct stat old {};
    const bool exists = ::stat(fileName.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            throw EFCreateError("Cannot create file " + fileName);
        if (char* resolved = ::realpath(fileName.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    // A file that another program holds locked is left alone, as a file
    // opened without sharing would be. The lock is kept until it is replaced.
    FileHandle lock(exists ? ::open(target.c_str(), O_RDONLY | O_CLOEXEC) : -1);
    if (exists && (lock.Get() < 0 || ::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0))
        throw EFCreateError("Cannot create file " + fileName);

    // Beside the target, so the rename stays within one file system; the
    // name is shortened so that a target name near the length limit still
    // leaves room for the suffix.
    const size_t slash = target.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string temp = target.substr(0, nameStart + std::min<size_t>(target.size() - nameStart, 200)) + ".XXXXXX";
    FileHandle file(::mkostemp(temp.data(), O_CLOEXEC));
    if (file.Get() < 0)
        throw EFCreateError("Cannot create file " + fileName);
    bool renamed = false;
    struct TempRemover {
        const std::string& path;
        const bool& renamed;
        ~TempRemover()
        {
            if (!renamed)
                ::unlink(path.c_str());
        }
    } remover{temp, renamed};

    // Some file systems refuse permission bits; that is no reason to fail the save.
    (void)::fchmod(file.Get(), exists ? (old.st_mode & 07777) : DefaultFileMode());
    ChunkWriter writer(file.Get());
    Serialise(tree, [&writer](const char* data, size_t size) { writer.Append(data, size); });
    bool ok = writer.Finish() && ::fsync(file.Get()) == 0;
    ok = ::close(file.Release()) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0)
        throw EWriteError();
    renamed = true;
    // Make the rename itself durable; the data already is.
    FileHandle dir(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        (void)::fsync(dir.Get());
}

#include "document/treefile.h"

#include "document/atomicfile.h"
#include "document/protectedfile.h"
#include "document/treelist.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/file.h>
#include <sys/stat.h>

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
    const unsigned char* Position() const { return m_p; }

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

void PutInt32(char*& p, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
    p[2] = static_cast<char>((v >> 16) & 0xFF);
    p[3] = static_cast<char>((v >> 24) & 0xFF);
    p += 4;
}

template <typename Append> void AppendHead(const TTreeList& tree, Append&& append)
{
    char head[8];
    char* p = head;
    PutInt32(p, -1);
    PutInt32(p, tree.TopItemCount());
    append(head, sizeof head);
}

// One record without the records of its subtree: header and strings.
template <typename Append> void AppendRecord(const TTreeListTextNode& item, Append&& append)
{
    char record[MinRecordSize];
    char* p = record;
    PutInt32(p, KnownHeaderSize);
    PutInt32(p, item.ImageIndex());
    PutInt32(p, item.SelectedIndex());
    PutInt32(p, item.StateIndex());
    PutInt32(p, item.Data());
    PutInt32(p, item.Count());
    PutInt32(p, item.TextCount());
    append(record, sizeof record);
    for (int i = 0; i < item.TextCount(); ++i) {
        const std::string_view text = item.GetText(i);
        char length[4];
        p = length;
        PutInt32(p, static_cast<int32_t>(text.size()));
        append(length, sizeof length);
        append(text.data(), text.size());
    }
}

// Writes the current variant through `append(data, size)`, one record at a
// time. Pre-order is exactly the record order: a record's header and strings
// come before the records of its subtree.
template <typename Append> void Serialise(const TTreeList& tree, Append&& append)
{
    AppendHead(tree, append);
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        AppendRecord(*item, append);
}

// Encrypts and writes on a thread of its own what the caller serialises, a
// block at a time, so that a protected save costs about what serialising
// costs rather than serialising and encrypting one after the other.
class TEncryptingPipe {
public:
    static constexpr size_t BlockSize = size_t(4) << 20;

    TEncryptingPipe(const TFileKey& key, TBufferedWriter& out)
        : m_encryptor(key, [&out](const char* data, size_t size) { out.Write(std::string_view(data, size)); }),
          m_thread([this] { Run(); })
    {
        m_filling.reserve(BlockSize + MinRecordSize);
    }
    ~TEncryptingPipe() { Stop(); }
    TEncryptingPipe(const TEncryptingPipe&) = delete;
    TEncryptingPipe& operator=(const TEncryptingPipe&) = delete;

    void Append(const char* data, size_t size)
    {
        m_filling.append(data, size);
        if (m_filling.size() >= BlockSize)
            HandOver();
    }

    // The last block and the final chunk; a write error on the way throws here.
    void Finish()
    {
        HandOver();
        Stop();
        if (m_error)
            std::rethrow_exception(m_error);
        m_encryptor.Finish();
    }

private:
    void HandOver()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_idle.wait(lock, [this] { return !m_busy; });
        if (m_error)
            std::rethrow_exception(m_error);
        std::swap(m_filling, m_block);
        m_busy = true;
        lock.unlock();
        m_wake.notify_one();
        m_filling.clear();
    }

    void Stop()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                return;
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    void Run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_busy || m_stop; });
            if (!m_busy)
                return;
            lock.unlock();
            std::exception_ptr error;
            try {
                m_encryptor.Write(m_block);
            } catch (...) {
                error = std::current_exception();
            }
            lock.lock();
            if (error && !m_error)
                m_error = error;
            m_busy = false;
            m_idle.notify_one();
        }
    }

    TEncryptor m_encryptor;
    std::string m_filling;  // the caller's
    std::string m_block;    // the thread's while m_busy
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    bool m_busy = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    std::thread m_thread;  // last: it starts once everything above is there
};

}  // namespace

// Builds the items straight into the tree's store: every item is cut from
// the store's chunks, every string points into the file's bytes, which the
// tree keeps, and every child list is made once, in its final size, when its
// last record has been read. A friend of the tree for that.
class TTreeFileReader {
public:
    TTreeFileReader(TTreeList& tree, TPageMemory bytes, size_t size);
    TTreeFileVariant Variant() const { return m_variant; }
    void ReadAll();

private:
    // The records of one list still to come.
    struct TLevel {
        TTreeListTextNode* parent;
        int32_t left;
        size_t first;  // where this list's items start in m_items
    };

    int32_t ReadRecord(TTreeListTextNode& item);
    void CloseLevel();
    void TrimBytes();

    TTreeList& m_tree;
    TItemStore& m_store;
    Reader m_in;
    // Where the next text goes: each is moved down over the record headers
    // before it as it is read, so that the bytes past the last text hold
    // nothing the tree needs and go back to the system (a seventh of a
    // typical file).
    char* m_out = nullptr;
    TTreeFileVariant m_variant = TTreeFileVariant::Current;
    std::vector<TLevel> m_levels;
    std::vector<TTreeListTextNode*> m_items;  // of every open list, outermost first
};

TTreeFileReader::TTreeFileReader(TTreeList& tree, TPageMemory bytes, size_t size)
    : m_tree(tree), m_store(tree.m_store), m_in(bytes.Data(), size)
{
    int32_t count = m_in.Int32();
    if (count < 0) {
        m_variant = TTreeFileVariant::Current;
        count = m_in.Int32();
    } else {
        m_variant = TTreeFileVariant::Old;
    }
    m_out = bytes.Data();
    m_store.AdoptBytes(std::move(bytes), size, m_variant == TTreeFileVariant::Old);
    m_levels.push_back({nullptr, count, 0});
}

void TTreeFileReader::ReadAll()
{
    try {
        // Every record consumes bytes or fails, so hostile counts end at the
        // file's end instead of looping; and every open list holds at least
        // one record read, so the lists stay bounded by the file size however
        // deep the file nests.
        while (!m_levels.empty()) {
            TLevel& level = m_levels.back();
            if (level.left <= 0) {
                CloseLevel();
                continue;
            }
            --level.left;
            TTreeListTextNode* item = m_tree.NewItem();
            item->m_parent = level.parent;
            item->m_index = static_cast<int32_t>(m_items.size() - level.first);
            m_items.push_back(item);
            const int32_t children = ReadRecord(*item);
            if (children > 0)
                m_levels.push_back({item, children, m_items.size()});
        }
    } catch (...) {
        // The items read so far stay, each in its list.
        while (!m_levels.empty())
            CloseLevel();
        TrimBytes();
        throw;
    }
    TrimBytes();
}

void TTreeFileReader::TrimBytes()
{
    m_store.TrimBytes(static_cast<size_t>(m_out - m_store.Bytes()));
    m_store.DropUnusedBytes();
}

void TTreeFileReader::CloseLevel()
{
    const TLevel level = m_levels.back();
    m_levels.pop_back();
    const size_t count = m_items.size() - level.first;
    if (count > 0) {
        TTreeListChildren& list = m_tree.ChildListOf(level.parent);
        list.items = m_store.NewArray<TTreeListTextNode*>(count);
        std::copy(m_items.begin() + static_cast<std::ptrdiff_t>(level.first), m_items.end(), list.items);
        list.count = list.capacity = static_cast<int32_t>(count);
        m_items.resize(level.first);
        if (!level.parent)
            m_tree.ItemAdded(list.items[0]);
    }
}

// Reads one record's header and strings into `item` and returns its child
// count; the children follow and are read by the caller.
int32_t TTreeFileReader::ReadRecord(TTreeListTextNode& item)
{
    const int32_t headerSize = m_in.Int32();
    if (headerSize < KnownHeaderSize)
        throw EReadError();
    const unsigned char* header = m_in.Take(headerSize);
    item.SetImageIndex(HeaderField(header, 0));
    item.SetSelectedIndex(HeaderField(header, 1));
    item.SetStateIndex(HeaderField(header, 2));
    item.SetData(HeaderField(header, 3));
    const int32_t childCount = HeaderField(header, 4);
    const int32_t stringCount = HeaderField(header, 5);
    if (stringCount <= 0)
        return childCount;
    // Room for as many strings as the rest of the file can hold, at most: a
    // hostile count then costs no more than the file's size.
    const bool shortLengths = m_variant == TTreeFileVariant::Old;
    const size_t fit = m_in.Remaining() / (shortLengths ? 1 : TItemStore::LengthSize);
    item.ReserveTexts(static_cast<int32_t>(std::min(static_cast<size_t>(stringCount), fit)));
    const char** texts = item.Texts();
    // A string cut short leaves the ones before it set.
    for (int32_t i = 0; i < stringCount; ++i) {
        const unsigned char* start = m_in.Position();
        const int64_t length = shortLengths ? m_in.Byte() : m_in.Int32();
        m_in.Take(length);
        if (i >= item.m_textCapacity)
            throw EReadError();
        if (length > 0) {
            // Below the bytes still to be read, and every field of this
            // record is read: the move overwrites nothing still needed.
            const size_t bytes = static_cast<size_t>(m_in.Position() - start);
            std::memmove(m_out, start, bytes);
            texts[i] = m_out;
            m_out += bytes;
            m_store.AddView(static_cast<size_t>(length));
        } else {
            texts[i] = nullptr;
        }
        item.m_textCount = i + 1;
    }
    return childCount;
}

namespace {

TTreeFileVariant ReadItems(TTreeList& tree, TPageMemory bytes, size_t size)
{
    const TTreeListReset reset(tree);
    const TTreeListUpdate bracket(tree);
    tree.ClearItems();
    TTreeFileReader reader(tree, std::move(bytes), size);
    reader.ReadAll();
    return reader.Variant();
}

}  // namespace

TTreeFileVariant ReadItems(TTreeList& tree, const char* data, size_t size)
{
    // The tree keeps the bytes its strings point into: a copy of its own.
    TPageMemory bytes(size);
    if (size > 0)
        std::memcpy(bytes.Data(), data, size);
    return ReadItems(tree, std::move(bytes), size);
}

std::optional<TTreeFileBytes> ReadTreeFile(const std::string& fileName, const TKeySource& keySource)
{
    // Only a regular file: a named pipe would hang the open until a writer
    // comes, and a device such as /dev/zero would be read without end.
    TFileHandle file = OpenFile(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st {};
    // Read under an exclusive lock: a file that another program (or another
    // of our windows) is replacing fails to open instead of being read half
    // written.
    if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0)
        throw EFOpenError("Cannot open file " + fileName);
    TTreeFileBytes result;
    result.fileName = fileName;
    // The reader knows no file: the message names it here.
    std::optional<TFileContent> read;
    try {
        read.emplace(file.Get(), st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0);
    } catch (const EReadError&) {
        throw EReadError(fileName);
    }
    TFileContent& content = *read;
    file.Close();
    result.size = content.Size();
    if (HasProtectionMarker(content.Data(), result.size)) {
        const std::optional<TProtectionHeader> header = ParseProtectionHeader(content.Data(), result.size);
        // Refused before the password is asked for: it could not help.
        if (!header)
            throw EProtectedFileError(ProtectedFileErrorText(fileName));
        RequireAcceptable(*header, fileName);
        if (!keySource)
            throw EProtectedFileError("Cannot open file " + fileName + ": it is protected by a password");
        result.key = keySource(*header);
        if (!result.key)
            return std::nullopt;
        result.bytes = content.Release();
        // In place: a protected file costs no more memory than a clear one.
        result.size = DecryptInPlace(result.bytes.Data(), result.size, *result.key, fileName);
        return result;
    }
    result.bytes = content.Release();
    return result;
}

TTreeFileVariant ReadItems(TTreeList& tree, TTreeFileBytes file)
{
    const bool isProtected = file.key != nullptr;
    file.key.reset();
    try {
        const TTreeFileVariant variant = ReadItems(tree, std::move(file.bytes), file.size);
        return isProtected ? TTreeFileVariant::Protected : variant;
    } catch (const EReadError&) {
        if (file.fileName.empty())
            throw;
        throw EReadError(file.fileName);
    }
}

TTreeFileVariant LoadItems(TTreeList& tree, const std::string& fileName, const TKeySource& keySource)
{
    std::optional<TTreeFileBytes> file = ReadTreeFile(fileName, keySource);
    if (!file)
        throw EProtectedFileError("Cannot open file " + fileName + ": no password given");
    return ReadItems(tree, std::move(*file));
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

namespace {

// Writes what `produce(append)` gives through TAtomicFile; with a key, in
// the protected variant.
template <typename Produce> void WriteAtomically(const std::string& fileName, const TFileKey* key, Produce&& produce)
{
    TAtomicFile file(fileName, key ? TAtomicFile::TNewMode::Private : TAtomicFile::TNewMode::Shared);
    TBufferedWriter& out = file.Writer();
    if (key) {
        TEncryptingPipe pipe(*key, out);
        produce([&pipe](const char* data, size_t size) { pipe.Append(data, size); });
        pipe.Finish();
    } else {
        produce([&out](const char* data, size_t size) { out.Write(std::string_view(data, size)); });
    }
    file.Commit();
}

}  // namespace

void SaveItems(const TTreeList& tree, const std::string& fileName, const TFileKey* key)
{
    tree.CommitEdits();
    WriteAtomically(fileName, key, [&tree](auto&& append) { Serialise(tree, append); });
    // After the save, not before: a failed save changes nothing.
    tree.CompactTexts();
}

void SaveTreeBytes(const std::vector<std::string>& parts, const std::string& fileName, const TFileKey* key)
{
    WriteAtomically(fileName, key, [&parts](auto&& append) {
        for (const std::string& part : parts)
            append(part.data(), part.size());
    });
}

TTreeSerialiser::TTreeSerialiser(const TTreeList& tree) : m_tree(tree), m_next(tree.TopItem(0)) {}

bool TTreeSerialiser::Next(std::string& out, size_t bytes)
{
    const size_t target = out.size() + bytes;
    if (!m_headDone) {
        AppendTreeHead(m_tree, out);
        m_headDone = true;
    }
    for (; m_next && out.size() < target; m_next = m_tree.NextInDocument(m_next))
        AppendItemRecord(*m_next, out);
    return m_next == nullptr;
}

void AppendTreeHead(const TTreeList& tree, std::string& out)
{
    AppendHead(tree, [&out](const char* data, size_t size) { out.append(data, size); });
}

void AppendItemRecord(const TTreeListTextNode& item, std::string& out)
{
    AppendRecord(item, [&out](const char* data, size_t size) { out.append(data, size); });
}

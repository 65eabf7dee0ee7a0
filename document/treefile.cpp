#include "document/treefile.h"

#include "document/atomicfile.h"
#include "document/treelist.h"

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

struct Span {
    const unsigned char* data;
    size_t size;
};

// Reads one record's header and strings into `item` (already attached) and
// returns its child count; the children follow and are read by the caller.
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
        const std::string& text = item.GetText(i);
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
    TFileHandle file = OpenFile(fileName, O_RDONLY | O_CLOEXEC);
    struct stat st {};
    // Read under an exclusive lock: a file that another program (or another
    // of our windows) is replacing fails to open instead of being read half
    // written.
    if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0 || S_ISDIR(st.st_mode) ||
        ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0)
        throw EFOpenError("Cannot open file " + fileName);
    const TFileContent content(file.Get(), st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0);
    file.Close();
    return ReadItems(tree, content.Data(), content.Size());
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
    TAtomicFile file(fileName);
    TBufferedWriter& out = file.Writer();
    Serialise(tree, [&out](const char* data, size_t size) { out.Write(std::string_view(data, size)); });
    file.Commit();
}

TTreeSerialiser::TTreeSerialiser(const TTreeList& tree) : m_tree(tree), m_next(tree.TopItem(0)) {}

bool TTreeSerialiser::Next(std::string& out, size_t bytes)
{
    const size_t target = out.size() + bytes;
    auto append = [&out](const char* data, size_t size) { out.append(data, size); };
    if (!m_headDone) {
        AppendHead(m_tree, append);
        m_headDone = true;
    }
    for (; m_next && out.size() < target; m_next = m_tree.NextInDocument(m_next))
        AppendRecord(*m_next, append);
    return m_next == nullptr;
}

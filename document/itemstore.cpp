#include "document/itemstore.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

constexpr size_t Unit = sizeof(void*);
constexpr size_t FirstChunkSize = size_t(64) << 10;
constexpr size_t LargestChunkSize = size_t(16) << 20;
constexpr size_t Quarantine = VEK_ADDRESS_SANITIZER ? 64 : 0;

size_t FloorLog2(size_t n)
{
    size_t k = 0;
    while (n >>= 1)
        ++k;
    return k;
}

}  // namespace

// A text of its own: linked into the store's list so that clearing frees
// the edited texts without visiting every item.
struct TItemStore::TOwnedText {
    TOwnedText* previous;
    TOwnedText* next;
    // the length and the bytes follow
};

void* TItemStore::TFreeList::Pop()
{
    if (m_pieces.size() <= Quarantine)
        return nullptr;
    void* piece = m_pieces.front();
    m_pieces.pop_front();
    return piece;
}

TItemStore::TItemStore(size_t itemSize)
    : m_itemSize((itemSize + Unit - 1) / Unit * Unit), m_chunkSize(FirstChunkSize)
{
}

TItemStore::~TItemStore()
{
    ReleaseAll();
}

void* TItemStore::NewItem()
{
    if (void* item = m_freeItems.Pop()) {
        UnpoisonMemory(item, m_itemSize);
        return item;
    }
    return Take(m_itemSize);
}

void TItemStore::FreeItem(void* item)
{
    PoisonMemory(item, m_itemSize);
    m_freeItems.Push(item);
}

void* TItemStore::NewUnits(size_t count)
{
    if (count == 0)
        return nullptr;
    // Only a list of a power of two can come back whole from the free list
    // of its size; for any other, that list's pieces may be too small.
    const size_t k = FloorLog2(count);
    if ((count & (count - 1)) == 0) {
        if (void* array = m_freeArrays[k].Pop()) {
            UnpoisonMemory(array, count * Unit);
            return array;
        }
    }
    if (count > (SIZE_MAX - m_chunkSize) / Unit)
        throw std::bad_alloc();
    return Take(count * Unit);
}

void TItemStore::FreeArray(void* array, size_t count)
{
    if (!array || count == 0)
        return;
    PoisonMemory(array, count * Unit);
    m_freeArrays[FloorLog2(count)].Push(array);
}

void* TItemStore::Take(size_t bytes)
{
    if (static_cast<size_t>(m_end - m_next) < bytes) {
        if (bytes > m_chunkSize / 4) {
            // A piece of its own; the current chunk stays in use.
            m_chunks.emplace_back(bytes);
            m_takenBytes += bytes;
            return m_chunks.back().Data();
        }
        m_chunks.emplace_back(m_chunkSize);
        m_next = m_chunks.back().Data();
        m_end = m_next + m_chunkSize;
        PoisonMemory(m_next, m_chunkSize);
        m_chunkSize = std::min(m_chunkSize * 2, LargestChunkSize);
    }
    void* piece = m_next;
    m_next += bytes;
    m_takenBytes += bytes;
    UnpoisonMemory(piece, bytes);
    return piece;
}

const char* TItemStore::NewText(std::string_view bytes)
{
    if (bytes.size() > MaxTextSize)
        throw std::length_error("Text too long");
    const size_t size = sizeof(TOwnedText) + LengthSize + bytes.size();
    auto* owned = static_cast<TOwnedText*>(std::malloc(size));
    if (!owned)
        throw std::bad_alloc();
    owned->previous = nullptr;
    owned->next = m_owned;
    if (m_owned)
        m_owned->previous = owned;
    m_owned = owned;
    m_ownedBytes += size;
    char* text = reinterpret_cast<char*>(owned + 1);
    StoreLength(text, bytes.size());
    std::memcpy(text + LengthSize, bytes.data(), bytes.size());
    return text;
}

void TItemStore::ReleaseText(const char* text)
{
    if (!text)
        return;
    if (IsView(text)) {
        m_viewBytes -= LengthSize + Text(text).size();
        if (--m_views == 0)
            DropUnusedBytes();
        return;
    }
    auto* owned = reinterpret_cast<TOwnedText*>(const_cast<char*>(text)) - 1;
    if (owned->previous)
        owned->previous->next = owned->next;
    else
        m_owned = owned->next;
    if (owned->next)
        owned->next->previous = owned->previous;
    m_ownedBytes -= sizeof(TOwnedText) + LengthSize + LoadLength(text);
    std::free(owned);
}

void TItemStore::AdoptBytes(TPageMemory bytes, size_t size, bool shortLengths)
{
    m_bytes = std::move(bytes);
    m_bytesEnd = m_bytes.Data() + std::min(size, m_bytes.Size());
    m_shortLengths = shortLengths;
    m_views = 0;
    m_viewBytes = 0;
}

void TItemStore::DropUnusedBytes()
{
    if (m_views > 0)
        return;
    m_bytes.Reset();
    m_bytesEnd = nullptr;
    m_viewBytes = 0;
}

void TItemStore::TrimBytes(size_t used)
{
    m_bytes.Shrink(used);
    m_bytesEnd = m_bytes.Data() + std::min(used, m_bytes.Size());
}

void TItemStore::Absorb(TItemStore& other)
{
    if (&other == this)
        return;
    m_chunks.reserve(m_chunks.size() + other.m_chunks.size());  // the one step that can fail
    for (TPageMemory& chunk : other.m_chunks)
        m_chunks.push_back(std::move(chunk));
    m_takenBytes += other.m_takenBytes;
    if (other.m_owned) {
        // The two lists become one at the end of the shorter, found by
        // walking both in step: a whole file's texts moving into an empty
        // document must not be walked one by one.
        TOwnedText* ours = m_owned;
        TOwnedText* theirs = other.m_owned;
        while (ours && ours->next && theirs->next) {
            ours = ours->next;
            theirs = theirs->next;
        }
        if (!ours) {
            m_owned = other.m_owned;
        } else if (!ours->next) {
            ours->next = other.m_owned;
            other.m_owned->previous = ours;
        } else {
            theirs->next = m_owned;
            m_owned->previous = theirs;
            m_owned = other.m_owned;
        }
        m_ownedBytes += other.m_ownedBytes;
        other.m_owned = nullptr;
    }
    if (other.m_views > 0) {
        m_bytes = std::move(other.m_bytes);
        m_bytesEnd = std::exchange(other.m_bytesEnd, nullptr);
        m_shortLengths = other.m_shortLengths;
        m_views = std::exchange(other.m_views, 0);
        m_viewBytes = std::exchange(other.m_viewBytes, 0);
    }
    other.ReleaseAll();
}

void TItemStore::ReleaseAll()
{
    while (m_owned) {
        TOwnedText* next = m_owned->next;
        std::free(m_owned);
        m_owned = next;
    }
    m_ownedBytes = 0;
    m_freeItems.Clear();
    for (TFreeList& list : m_freeArrays)
        list.Clear();
    std::vector<TPageMemory>().swap(m_chunks);
    m_next = m_end = nullptr;
    m_chunkSize = FirstChunkSize;
    m_takenBytes = 0;
    m_views = 0;
    DropUnusedBytes();
}

#pragma once

#include "document/pagememory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

// Where one tree keeps its items, their lists and their texts.
//
// Items and lists (arrays of pointers) are cut from large chunks, so a
// million items cost a few dozen allocations, sit next to each other in the
// order they were made, and all go at once when the tree is cleared. Freed
// items and lists wait in free lists for reuse.
//
// A text is a pointer to its length, followed by its bytes; no text is the
// empty text. Texts read from a file point into the file's bytes, which the
// store keeps for that (4-byte lengths, or 1-byte lengths for the old
// variant); a text set later is a string of its own in the same form with a
// 4-byte length. The file's bytes are given back when the last text pointing
// into them is gone, or moved into a smaller buffer by CompactBytes.
class TItemStore {
public:
    explicit TItemStore(size_t itemSize);
    ~TItemStore();
    TItemStore(const TItemStore&) = delete;
    TItemStore& operator=(const TItemStore&) = delete;

    // Memory for one item, stable until FreeItem or ReleaseAll.
    void* NewItem();
    void FreeItem(void* item);

    // An array of `count` pointers. An array of a power of two is reused
    // after FreeArray; others, once freed, serve smaller requests.
    template <typename T> T* NewArray(size_t count) { return static_cast<T*>(NewUnits(count)); }
    void FreeArray(void* array, size_t count);

    // A text of its own with a copy of `bytes`; raises std::bad_alloc.
    const char* NewText(std::string_view bytes);
    // Frees a text of its own, or lets go of one that points into the file.
    void ReleaseText(const char* text);

    std::string_view Text(const char* text) const
    {
        if (!text)
            return std::string_view("", 0);  // like an empty std::string, never a null pointer
        if (m_shortLengths && IsView(text))
            return {text + 1, static_cast<unsigned char>(text[0])};
        return {text + LengthSize, LoadLength(text)};
    }

    // The bytes of a file to be loaded; texts then point into them through
    // AddView. `shortLengths`: each text's length is one byte.
    void AdoptBytes(TPageMemory bytes, size_t size, bool shortLengths);
    const char* Bytes() const { return m_bytes.Data(); }
    void AddView(size_t length)
    {
        ++m_views;
        m_viewBytes += LengthSize + length;
    }
    // Gives the file's bytes back when no text points into them.
    void DropUnusedBytes();
    // Gives back the file's bytes from `used` on, once the texts pointing
    // into them have been moved below it.
    void TrimBytes(size_t used);

    // True when most of the file's bytes are no longer pointed into.
    bool WorthCompacting() const { return m_bytes.Size() > 0 && m_viewBytes < m_bytes.Size() / 2; }
    // Moves the texts that still point into the file's bytes into a buffer
    // just large enough, and gives the file's bytes back. `forEachText(f)`
    // must call f on every text slot of every item.
    template <typename ForEachText> void CompactBytes(ForEachText&& forEachText)
    {
        TPageMemory fresh(m_viewBytes);
        char* out = fresh.Data();
        forEachText([&](const char*& text) {
            if (!IsView(text))
                return;
            const std::string_view bytes = Text(text);
            StoreLength(out, bytes.size());
            std::memcpy(out + LengthSize, bytes.data(), bytes.size());
            text = out;
            out += LengthSize + bytes.size();
        });
        m_bytes = std::move(fresh);
        m_bytesEnd = m_bytes.Data() + m_bytes.Size();
        m_shortLengths = false;
    }

    // Makes every text that points into the file's bytes a text of its own,
    // and gives the bytes back. `forEachText` as for CompactBytes.
    template <typename ForEachText> void OwnTexts(ForEachText&& forEachText)
    {
        forEachText([&](const char*& text) {
            if (!IsView(text))
                return;
            const char* owned = NewText(Text(text));
            ReleaseText(text);
            text = owned;
        });
    }

    // Whether Absorb can take `other`'s file bytes along with the texts that
    // point into them: this store has none, and most of them are in use. A
    // loaded tree then moves into an empty document without a copy of each
    // text, which would cost a heap block per text.
    bool CanTakeBytesOf(const TItemStore& other) const { return m_bytes.Size() == 0 && !other.WorthCompacting(); }
    // Takes over every piece `other` holds, which is left empty, so that its
    // items keep their place; their texts must be texts of their own (see
    // OwnTexts) unless CanTakeBytesOf. The pieces `other` had freed are not
    // reused.
    void Absorb(TItemStore& other);

    // Frees everything the store holds at once.
    void ReleaseAll();

    // What the store holds: the chunks as far as handed out, the file's
    // bytes and the texts of their own.
    size_t MemoryBytes() const { return m_takenBytes + m_bytes.Size() + m_ownedBytes; }

    static constexpr size_t LengthSize = 4;
    // A tree data file gives a text's length as a signed 32-bit number: a
    // longer text would be saved as a file that cannot be read back.
    static constexpr size_t MaxTextSize = INT32_MAX;

private:
    struct TOwnedText;

    // Freed pieces, oldest first. In a sanitizer build a piece waits until
    // many others were freed after it, so a use soon after the free still
    // finds it poisoned.
    class TFreeList {
    public:
        void Push(void* piece) { m_pieces.push_back(piece); }
        void* Pop();
        void Clear() { std::deque<void*>().swap(m_pieces); }

    private:
        std::deque<void*> m_pieces;
    };

    bool IsView(const char* text) const { return text >= m_bytes.Data() && text < m_bytesEnd; }
    void* NewUnits(size_t count);
    void* Take(size_t bytes);
    static uint32_t LoadLength(const char* text)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
               static_cast<uint32_t>(p[3]) << 24;
    }
    static void StoreLength(char* text, size_t length)
    {
        for (size_t i = 0; i < LengthSize; ++i)
            text[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }

    size_t m_itemSize;
    std::vector<TPageMemory> m_chunks;
    char* m_next = nullptr;
    char* m_end = nullptr;
    size_t m_chunkSize;
    size_t m_takenBytes = 0;
    TFreeList m_freeItems;
    std::array<TFreeList, 64> m_freeArrays;  // by the power of two at or below their size

    TOwnedText* m_owned = nullptr;
    size_t m_ownedBytes = 0;

    TPageMemory m_bytes;
    const char* m_bytesEnd = nullptr;
    bool m_shortLengths = false;
    size_t m_views = 0;
    size_t m_viewBytes = 0;  // what the texts pointing into the file take with 4-byte lengths
};

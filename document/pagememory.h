#pragma once

#include <cstddef>
#include <string_view>

// 1 in a build with the address sanitizer.
#if defined(__SANITIZE_ADDRESS__)
#define VEK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEK_ADDRESS_SANITIZER 1
#endif
#endif
#ifndef VEK_ADDRESS_SANITIZER
#define VEK_ADDRESS_SANITIZER 0
#endif

// Memory for the tree's large pieces (the loaded file's bytes, the blocks its
// items live in), taken from the system apart from the heap, so that giving
// a piece back returns it at once instead of leaving a hole in the heap.
// Pieces of 64 MB and more (a loaded file's bytes) take huge pages where the
// system has plenty of them free (see pagememory.cpp).
//
// In a sanitizer build the pieces come from the heap instead, so that the
// address sanitizer sees them freed and reports any use after that (a text
// that still points into a released file buffer, an item after its block
// went away).
class TPageMemory {
public:
    TPageMemory() = default;
    // Raises std::bad_alloc when the system has no room.
    explicit TPageMemory(size_t size);
    ~TPageMemory();
    TPageMemory(TPageMemory&& other) noexcept;
    TPageMemory& operator=(TPageMemory&& other) noexcept;
    TPageMemory(const TPageMemory&) = delete;
    TPageMemory& operator=(const TPageMemory&) = delete;

    char* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    void Reset();
    // Keeps the first `size` bytes where they are and gives the whole pages
    // after them back to the system.
    void Shrink(size_t size);

private:
    char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_mapped = 0;  // what was taken from the system, for giving it back
};

// The huge pages of `order` (2^order ordinary pages each) that the free
// blocks listed in `buddyInfo` (the text of /proc/buddyinfo) could give
// without the kernel moving anything.
size_t FreeHugePages(std::string_view buddyInfo, int order);

// Marks memory the program holds but must not touch (a freed item, a freed
// list) so the address sanitizer reports any access; nothing otherwise.
void PoisonMemory(const void* address, size_t size);
void UnpoisonMemory(const void* address, size_t size);

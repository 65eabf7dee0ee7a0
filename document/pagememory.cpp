#include "document/pagememory.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#if VEK_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#else
#include <sys/mman.h>
#endif

namespace {

#if !VEK_ADDRESS_SANITIZER
constexpr size_t HugePage = size_t(2) << 20;

// A mapping of at least `size` bytes; large ones start on a huge page
// boundary, which the kernel needs to back them with huge pages.
char* MapPages(size_t size)
{
    if (size < HugePage) {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return p == MAP_FAILED ? nullptr : static_cast<char*>(p);
    }
    const size_t mapped = size + HugePage;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t aligned = (start + HugePage - 1) & ~(HugePage - 1);
    if (aligned > start)
        ::munmap(p, aligned - start);
    const uintptr_t end = start + mapped;
    if (end > aligned + size)
        ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
    char* data = reinterpret_cast<char*>(aligned);
    ::madvise(data, size, MADV_HUGEPAGE);  // advice only: without huge pages it still works
    return data;
}
#endif

}  // namespace

TPageMemory::TPageMemory(size_t size)
{
    if (size == 0)
        return;
#if VEK_ADDRESS_SANITIZER
    m_data = static_cast<char*>(std::malloc(size));
#else
    m_data = MapPages(size);
#endif
    if (!m_data)
        throw std::bad_alloc();
    m_size = size;
}

TPageMemory::~TPageMemory()
{
    Reset();
}

TPageMemory::TPageMemory(TPageMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

TPageMemory& TPageMemory::operator=(TPageMemory&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void TPageMemory::Reset()
{
    if (!m_data)
        return;
#if VEK_ADDRESS_SANITIZER
    UnpoisonMemory(m_data, m_size);
    std::free(m_data);
#else
    ::munmap(m_data, m_size);
#endif
    m_data = nullptr;
    m_size = 0;
}

void PoisonMemory([[maybe_unused]] const void* address, [[maybe_unused]] size_t size)
{
#if VEK_ADDRESS_SANITIZER
    ASAN_POISON_MEMORY_REGION(address, size);
#endif
}

void UnpoisonMemory([[maybe_unused]] const void* address, [[maybe_unused]] size_t size)
{
#if VEK_ADDRESS_SANITIZER
    ASAN_UNPOISON_MEMORY_REGION(address, size);
#endif
}

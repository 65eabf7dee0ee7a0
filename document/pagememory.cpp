#include "document/pagememory.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <unistd.h>
#include <utility>

#if VEK_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#else
#include <sys/mman.h>
#endif

namespace {

#if !VEK_ADDRESS_SANITIZER
// No huge pages asked for: where most memory holds cached files, as on a
// machine that has run for a while, the kernel compacts memory for each huge
// page on the spot, and a 2.7 GB file took 3 to 5 times as long to read as
// into ordinary pages.
char* MapPages(size_t size)
{
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<char*>(p);
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
    m_size = m_mapped = size;
}

TPageMemory::~TPageMemory()
{
    Reset();
}

TPageMemory::TPageMemory(TPageMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0))
{
}

TPageMemory& TPageMemory::operator=(TPageMemory&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void TPageMemory::Reset()
{
    if (!m_data)
        return;
#if VEK_ADDRESS_SANITIZER
    UnpoisonMemory(m_data, m_mapped);
    std::free(m_data);
#else
    ::munmap(m_data, m_mapped);
#endif
    m_data = nullptr;
    m_size = m_mapped = 0;
}

void TPageMemory::Shrink(size_t size)
{
    if (size >= m_size)
        return;
    if (size == 0) {
        Reset();
        return;
    }
#if VEK_ADDRESS_SANITIZER
    // The heap block stays whole; the bytes past the end are off limits.
    PoisonMemory(m_data + size, m_mapped - size);
#else
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const size_t kept = (size + page - 1) / page * page;
    if (kept < m_mapped && ::munmap(m_data + kept, m_mapped - kept) == 0)
        m_mapped = kept;
#endif
    m_size = size;
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

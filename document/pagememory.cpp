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

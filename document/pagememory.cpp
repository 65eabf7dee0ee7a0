#include "document/pagememory.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>

#if VEK_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#else
#include <sys/mman.h>
#endif

namespace {

#if !VEK_ADDRESS_SANITIZER
constexpr size_t HugePage = size_t(2) << 20;

// `size` rounded up to whole ordinary pages: what munmap takes.
size_t WholePages(size_t size)
{
    static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

// Huge pages fill with a fraction of the page faults, and the kernel zeroes
// them faster: the benchmark file's bytes were read in 85-90 ms against 130
// ms. But where cached files fill the memory the kernel compacts memory for
// each huge page on the spot, and the 2.7 GB file took 3 to 5 times as long
// to read as into ordinary pages; at times it did so even with twice the
// file free in blocks of their size. So only a file's bytes (the items'
// chunks are smaller) ask for them, and only when free blocks of their size
// hold the piece eight times over and a gigabyte besides.
bool HugePagesAreFree(size_t size)
{
    constexpr size_t Reserve = size_t(1) << 30;
    if (size < 32 * HugePage)
        return false;
    int order = 0;
    while (WholePages(1) << order < HugePage)
        ++order;
    std::ifstream buddyInfo("/proc/buddyinfo");
    const std::string text((std::istreambuf_iterator<char>(buddyInfo)), std::istreambuf_iterator<char>());
    return FreeHugePages(text, order) * HugePage >= 8 * size + Reserve;
}

// A mapping of at least `size` bytes; where huge pages are free, it starts
// on a huge page boundary, which the kernel needs to back it with them.
char* MapPages(size_t size)
{
    if (!HugePagesAreFree(size)) {
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
    const uintptr_t used = aligned + WholePages(size);
    const uintptr_t end = start + mapped;
    if (end > used)
        ::munmap(reinterpret_cast<void*>(used), end - used);
    char* data = reinterpret_cast<char*>(aligned);
    ::madvise(data, size, MADV_HUGEPAGE);  // advice only: without huge pages it still works
    return data;
}
#endif

}  // namespace

size_t FreeHugePages(std::string_view buddyInfo, int order)
{
    // "Node 0, zone   Normal  c0 c1 ... c10": the free blocks of each order.
    size_t pages = 0;
    std::istringstream lines{std::string(buddyInfo)};
    for (std::string text; std::getline(lines, text);) {
        std::istringstream line(text);
        std::string node, number, zone, name;
        if (!(line >> node >> number >> zone >> name) || node != "Node" || zone != "zone")
            continue;
        size_t count = 0;
        for (int blockOrder = 0; line >> count; ++blockOrder)
            if (blockOrder >= order && blockOrder - order < 32)
                pages += count << (blockOrder - order);
    }
    return pages;
}

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
    const size_t kept = WholePages(size);
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

#include "db/dbmemory.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace dbmemory {

namespace {
#ifdef __linux__
constexpr std::size_t HugePage = std::size_t(2) << 20;

bool mapsOwnPages(std::size_t bytes)
{
    return bytes >= HugePage;
}

std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + HugePage - 1) & ~(HugePage - 1);
}
#endif
} // namespace

void *allocateLarge(std::size_t bytes)
{
#ifdef __linux__
    if (mapsOwnPages(bytes)) {
        // Aligned to a huge page: map one more and give back the edges.
        const std::size_t size = mappedSize(bytes);
        void *mapped = mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        char *start = static_cast<char *>(mapped);
        char *aligned = reinterpret_cast<char *>(
                (reinterpret_cast<std::size_t>(start) + HugePage - 1) & ~(HugePage - 1));
        if (aligned > start)
            munmap(start, std::size_t(aligned - start));
        const std::size_t after = std::size_t(start + size + HugePage - (aligned + size));
        if (after > 0)
            munmap(aligned + size, after);
        madvise(aligned, size, MADV_HUGEPAGE); // a hint: fine if refused
        return aligned;
    }
#endif
    return ::operator new(bytes);
}

void freeLarge(void *memory, std::size_t bytes) noexcept
{
    if (!memory)
        return;
#ifdef __linux__
    if (mapsOwnPages(bytes)) {
        munmap(memory, mappedSize(bytes));
        return;
    }
#endif
    ::operator delete(memory);
}

} // namespace dbmemory

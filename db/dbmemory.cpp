#include "db/dbmemory.h"

#include <algorithm>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DBMEMORY_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DBMEMORY_ASAN 1
#endif
#ifdef DBMEMORY_ASAN
#include <sanitizer/asan_interface.h>
#endif

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

// The largest chunk: two huge pages with its header.
constexpr qsizetype LargestChunk = 4 * 1024 * 1024 - 64;
constexpr qsizetype ReferenceBatch = 256;
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

Chunk *Chunk::create(qsizetype capacity)
{
    const std::size_t bytes = sizeof(Chunk) + std::size_t(capacity);
    return new (allocateLarge(bytes)) Chunk(capacity, bytes);
}

void Chunk::retirePiece(void *piece, std::size_t size) noexcept
{
#ifdef DBMEMORY_ASAN
    ASAN_POISON_MEMORY_REGION(piece, size);
#else
    Q_UNUSED(piece);
    Q_UNUSED(size);
#endif
}

void Chunk::destroy(Chunk *chunk) noexcept
{
    const std::size_t bytes = chunk->m_bytes;
#ifdef DBMEMORY_ASAN
    // The memory may be mapped again for something else: no stale poison.
    ASAN_UNPOISON_MEMORY_REGION(chunk, bytes);
#endif
    chunk->~Chunk();
    freeLarge(chunk, bytes);
}

ChunkFeeder::~ChunkFeeder()
{
    if (m_chunk)
        Chunk::release(m_chunk, 1 + m_reserved);
}

void *ChunkFeeder::take(qsizetype size, int references, Chunk **chunk)
{
    void *memory = m_chunk ? m_chunk->take(size) : nullptr;
    if (!memory) {
        if (m_chunk)
            Chunk::release(m_chunk, 1 + m_reserved);
        m_chunk = Chunk::create(std::max(size, m_nextSize));
        m_reserved = 0;
        m_nextSize = std::min(2 * m_nextSize, LargestChunk);
        memory = m_chunk->take(size);
    }
    if (m_reserved < references) {
        const qsizetype batch = std::max<qsizetype>(ReferenceBatch, references);
        m_chunk->retain(batch);
        m_reserved += batch;
    }
    m_reserved -= references;
    *chunk = m_chunk;
    return memory;
}

} // namespace dbmemory

#pragma once

#include <QtGlobal>

#include <atomic>
#include <cstddef>

// Memory for the many small objects of a big select or list (row blocks,
// list rows) and for large blocks.
namespace dbmemory {

// Blocks of a few megabytes are mapped on their own and backed by huge pages
// where the system offers them: filling a million rows then takes a few
// hundred page faults instead of tens of thousands. Smaller blocks come from
// the ordinary heap.
void *allocateLarge(std::size_t bytes);
// bytes: exactly what was asked of allocateLarge.
void freeLarge(void *memory, std::size_t bytes) noexcept;

// One shared allocation holding many pieces; it is freed when the last
// reference (one per live piece, plus the feeder's) is dropped.
class Chunk
{
public:
    static Chunk *create(qsizetype capacity);
    static void release(Chunk *chunk, qsizetype count = 1) noexcept
    {
        if (chunk->m_live.fetch_sub(count, std::memory_order_acq_rel) == count)
            destroy(chunk);
    }
    void retain(qsizetype count) { m_live.fetch_add(count, std::memory_order_relaxed); }
    // A piece is given back (its reference is released separately): with
    // the address sanitizer, any later use of it is reported.
    static void retirePiece(void *piece, std::size_t size) noexcept;
    // Room for size bytes (a multiple of 8), or nullptr when it is full.
    void *take(qsizetype size)
    {
        if (m_capacity - m_used < size)
            return nullptr;
        void *memory = reinterpret_cast<char *>(this + 1) + m_used;
        m_used += size;
        return memory;
    }

private:
    Chunk(qsizetype capacity, std::size_t bytes)
        : m_capacity(capacity)
        , m_bytes(bytes)
    { }
    static void destroy(Chunk *chunk) noexcept;

    std::atomic<qsizetype> m_live{1};
    qsizetype m_capacity;
    qsizetype m_used = 0;
    std::size_t m_bytes; // of the whole allocation
};

// Hands out pieces of chunks that grow from 4 KiB to 4 MiB, so that small
// tables stay small and large ones take few allocations. References are
// taken from a chunk in batches: one atomic operation per batch, not per
// piece. Reserved references keep a chunk alive like used ones and go back
// when the feeder moves on or is destroyed.
class ChunkFeeder
{
public:
    ChunkFeeder() = default;
    ~ChunkFeeder();
    ChunkFeeder(const ChunkFeeder &) = delete;
    ChunkFeeder &operator=(const ChunkFeeder &) = delete;

    // Room for size bytes (a multiple of 8) that holds references to its
    // chunk (returned in *chunk) for the caller to release one by one.
    void *take(qsizetype size, int references, Chunk **chunk);

private:
    Chunk *m_chunk = nullptr;
    qsizetype m_reserved = 0;
    qsizetype m_nextSize = 4096;
};

} // namespace dbmemory

#pragma once

#include <cstddef>

// Memory for the large blocks of a big select (row chunks, result blocks).
// Blocks of a few megabytes are mapped on their own and backed by huge pages
// where the system offers them: filling a million rows then takes a few
// hundred page faults instead of tens of thousands. Smaller blocks come from
// the ordinary heap.
namespace dbmemory {

void *allocateLarge(std::size_t bytes);
// bytes: exactly what was asked of allocateLarge.
void freeLarge(void *memory, std::size_t bytes) noexcept;

} // namespace dbmemory

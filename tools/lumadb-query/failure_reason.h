// Words for the detail that comes with a failure status.
#ifndef LUMADB_QUERY_FAILURE_REASON_H
#define LUMADB_QUERY_FAILURE_REASON_H

#include <cstdint>
#include <string>

// For status 101 the network failure in words ("connection refused ...",
// "unknown host", "connection reset by the peer", or the system's text for an
// errno value); empty when there are none, and for every other status, whose
// detail is printed as its number.
std::string failure_reason(uint32_t status, uint32_t detail);

#endif // LUMADB_QUERY_FAILURE_REASON_H

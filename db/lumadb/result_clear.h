// Zeroing of a result, shared by the decoder, the query and the release.
#ifndef LUMADB_RESULT_CLEAR_H
#define LUMADB_RESULT_CLEAR_H

#include "lumadb/lumadb.h"

#include <cstring>

namespace lumadb {

inline void clear_result(lumadb_result *result)
{
    std::memset(result, 0, sizeof *result);
}

} // namespace lumadb

#endif // LUMADB_RESULT_CLEAR_H

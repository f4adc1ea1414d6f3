// Decodes a block copied into an allocation of exactly its size, so the
// sanitizer sees any access outside it, and releases the result afterwards.
#ifndef LUMADB_TEST_DECODED_BLOCK_H
#define LUMADB_TEST_DECODED_BLOCK_H

#include "lumadb/lumadb.h"
#include "wire.h"

#include <cstdlib>
#include <cstring>

struct DecodedBlock
{
    explicit DecodedBlock(const lumadb_test::Bytes &bytes)
    {
        unsigned char *block = nullptr;
        if (!bytes.empty()) {
            block = static_cast<unsigned char *>(std::malloc(bytes.size()));
            std::memcpy(block, bytes.data(), bytes.size());
        }
        std::memset(&result, 0xa5, sizeof result); // must be cleared by the decoder
        status = lumadb_decode_block(block, uint32_t(bytes.size()), &result);
    }
    ~DecodedBlock() { lumadb_free_result(&result); }
    DecodedBlock(const DecodedBlock &) = delete;
    DecodedBlock &operator=(const DecodedBlock &) = delete;

    uint32_t status = 0;
    lumadb_result result;
};

#endif // LUMADB_TEST_DECODED_BLOCK_H

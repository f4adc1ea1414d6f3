// Big-endian (network order) reads and writes on unaligned byte buffers, and
// host-order loads and stores for the cells the decoder converts in place.
#ifndef LUMADB_BYTE_ORDER_H
#define LUMADB_BYTE_ORDER_H

#include <cstdint>
#include <cstring>

namespace lumadb {

inline uint16_t read_be16(const unsigned char *p)
{
    return static_cast<uint16_t>((unsigned(p[0]) << 8) | unsigned(p[1]));
}

inline uint32_t read_be32(const unsigned char *p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline uint64_t read_be64(const unsigned char *p)
{
    return (uint64_t(read_be32(p)) << 32) | read_be32(p + 4);
}

inline void write_be16(unsigned char *p, uint16_t value)
{
    p[0] = static_cast<unsigned char>(value >> 8);
    p[1] = static_cast<unsigned char>(value);
}

inline void write_be32(unsigned char *p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

inline void write_be64(unsigned char *p, uint64_t value)
{
    write_be32(p, static_cast<uint32_t>(value >> 32));
    write_be32(p + 4, static_cast<uint32_t>(value));
}

// Host-order access; cells inside a block are not aligned.
template<typename T>
inline T load_host(const unsigned char *p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template<typename T>
inline void store_host(unsigned char *p, T value)
{
    std::memcpy(p, &value, sizeof value);
}

} // namespace lumadb

#endif // LUMADB_BYTE_ORDER_H

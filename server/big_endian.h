// Network-order integer helpers used by the wire encoder and the session code.
#pragma once

#include <cstdint>
#include <string>

namespace postvane::devserver {

inline void appendU8(std::string &out, uint8_t value)
{
    out.push_back(static_cast<char>(value));
}

inline void appendU16(std::string &out, uint16_t value)
{
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value & 0xff));
}

inline void appendU32(std::string &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

inline void appendU64(std::string &out, uint64_t value)
{
    for (int shift = 56; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

inline void storeU32(char *at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
}

inline uint32_t loadU32(const unsigned char *at)
{
    return (uint32_t(at[0]) << 24) | (uint32_t(at[1]) << 16) | (uint32_t(at[2]) << 8)
            | uint32_t(at[3]);
}

} // namespace postvane::devserver

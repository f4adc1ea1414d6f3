// What the executor knows about the session a statement comes from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace postvane::devserver {

struct SessionInfo
{
    std::string user; // login name as stored
    std::string domain;
    bool canWrite = false; // rights word bit value 2
    uint32_t notificationKey = 0;
    size_t maxResultBytes = 64u << 20;
};

} // namespace postvane::devserver

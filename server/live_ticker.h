// Keeps the installation moving: logs grow at the configured rate (each
// growth announced), counters climb, the queue changes.
#pragma once

#include "log_lines.h"

#include <cstdint>
#include <vector>

namespace postvane::devserver {

class ServerContext;

class LiveTicker
{
public:
    explicit LiveTicker(ServerContext &server);
    // Called about every 250 ms.
    void tick();

private:
    void growLogs(double seconds);
    void moveCounters();
    void moveQueue();

    ServerContext &m_server;
    LogLineGenerator m_lines;
    int64_t m_lastTick;
    int64_t m_lastSecond;
    double m_pendingLines = 0;
    uint32_t m_round = 0;
};

} // namespace postvane::devserver

#pragma once

#include "db/utdebug.h"

// Trace lines of the application shell go to the debug output under their own
// category.
inline constexpr int kShellTraceCategory = 2;

inline void fTrace(const QString &line, int level = 3)
{
    UtDebug::write(kShellTraceCategory, level, line);
}

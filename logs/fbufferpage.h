#pragma once

#include <QtGlobal>

namespace fwndlog {

// One page of a log: 100 lines, counted back from the line count the log had
// when it was opened (the anchor), so the newest page is always full-sized
// except while the log grows, and the oldest page holds the remainder.
struct FBufferPage
{
    static constexpr qint64 kLines = 100;

    qint64 first = -1;
    qint64 last = -1;
    // The line count the page was computed against.
    qint64 count = -1;

    bool isValid() const { return first >= 0 && last >= 0 && first <= last; }
    bool operator==(const FBufferPage &) const = default;

    // The page holding line. With clamp the page ends at most at count - 1.
    static FBufferPage of(qint64 line, qint64 anchor, qint64 count, bool clamp);
};

} // namespace fwndlog

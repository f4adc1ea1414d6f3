#include "logs/fbufferpage.h"

#include <algorithm>

namespace fwndlog {

FBufferPage FBufferPage::of(qint64 line, qint64 anchor, qint64 count, bool clamp)
{
    FBufferPage page;
    page.count = count;
    if (line < 0 || anchor < 0)
        return page;
    const qint64 head = anchor % kLines; // lines of the short oldest page
    if (line < head) {
        page.first = 0;
        page.last = head - 1;
    } else {
        page.first = head + (line - head) / kLines * kLines;
        page.last = page.first + kLines - 1;
    }
    if (clamp)
        page.last = std::min(page.last, count - 1);
    return page;
}

} // namespace fwndlog

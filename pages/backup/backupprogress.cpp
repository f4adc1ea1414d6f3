#include "pages/backup/backupprogress.h"

#include "status/statformat.h"

#include <QCoreApplication>

BackupProgress BackupProgress::from(qint64 progress, qint64 started, qint64 now)
{
    BackupProgress state;
    if (progress < 0)
        return state;
    state.running = true;
    state.percent = int(qMin<qint64>(progress, 100));
    // A clock that went back, or a start the server reports late, is no time.
    state.elapsed = qMax<qint64>(0, now - started);
    if (state.percent > 0) {
        state.hasRemaining = true;
        state.remaining = (100 - state.percent) * state.elapsed / state.percent;
    }
    return state;
}

QString BackupProgress::timesText() const
{
    QString text = QCoreApplication::translate("BackupWnd", "(Duration: %1")
                           .arg(statformat::duration(elapsed));
    if (hasRemaining)
        text += QCoreApplication::translate("BackupWnd", " / Time to finish: %2")
                        .arg(statformat::duration(remaining));
    return text + QLatin1Char(')');
}

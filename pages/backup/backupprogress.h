#pragma once

#include <QString>
#include <QtGlobal>

// The state of a running backup as "GetCurrentBackup()" reports it, measured
// with the server's clock.
struct BackupProgress
{
    bool running = false;
    int percent = 0;
    // Seconds since the backup started; never negative.
    qint64 elapsed = 0;
    // (100 - percent) * elapsed / percent, known once percent is above 0.
    bool hasRemaining = false;
    qint64 remaining = 0;

    // progress is the reported percentage (negative: no backup runs), started
    // the server time the backup started and now the server's time.
    static BackupProgress from(qint64 progress, qint64 started, qint64 now);
    // "(Duration: 10 minutes / Time to finish: 30 minutes)".
    QString timesText() const;
};

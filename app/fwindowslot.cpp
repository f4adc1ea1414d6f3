#include "app/fwindowslot.h"

#include <QDir>
#include <QStandardPaths>

FWindowSlot::FWindowSlot(const QString &folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    for (int slot = 0; slot < kSlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(
                QDir(folder).filePath(QStringLiteral("postdesk-window-%1.lock").arg(slot)));
        // Held for the console's lifetime: only a dead holder makes it stale.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_slot = slot;
            return;
        }
    }
}

QString FWindowSlot::defaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return folder;
}

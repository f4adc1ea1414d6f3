#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The place of this console's window among the consoles running for the user:
// the lowest free slot, held by a lock file for as long as the object lives. A
// second console takes slot 1 and opens offset from the first instead of
// exactly over it; slots of consoles that died are free again.
class FWindowSlot
{
public:
    static constexpr int kSlots = 16;
    static constexpr int kOffsetPixels = 32;

    // Takes the lowest free slot among the lock files in the folder (by default
    // the user's runtime folder).
    explicit FWindowSlot(const QString &folder = defaultFolder());

    // 0 for the first console; 0 as well when no slot could be taken.
    int slot() const { return m_slot; }
    int offset() const { return (m_slot % 8) * kOffsetPixels; }

    static QString defaultFolder();

private:
    std::unique_ptr<QLockFile> m_lock;
    int m_slot = 0;
};

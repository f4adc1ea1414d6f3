#include "app/fanimation.h"

#include "app/fimages.h"

#include <QApplication>
#include <QLabel>

FAnimation::FAnimation(QLabel *target, const QString &framePrefix, int frameCount, int intervalMs,
                       QObject *parent)
    : QObject(parent)
    , m_target(target)
{
    for (int i = 1; i <= frameCount; ++i)
        m_frames.append(FImages::pixmap(framePrefix + QString::number(i) + QStringLiteral(".png")));
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &FAnimation::slotStep);
}

FAnimation::~FAnimation()
{
    restoreCursor();
}

void FAnimation::start(CursorMode cursor)
{
    if (cursor != NoCursor && !m_holdsCursor) {
        QApplication::setOverrideCursor(cursor == BusyCursor ? Qt::BusyCursor : Qt::WaitCursor);
        m_holdsCursor = true;
    }
    if (m_timer.isActive())
        return;
    m_frame = 0;
    if (m_target && !m_frames.isEmpty())
        m_target->setPixmap(m_frames.first());
    m_timer.start();
}

void FAnimation::stop()
{
    m_timer.stop();
    restoreCursor();
}

void FAnimation::slotStep()
{
    if (m_frames.isEmpty())
        return;
    m_frame = (m_frame + 1) % int(m_frames.size());
    if (m_target)
        m_target->setPixmap(m_frames.at(m_frame));
}

void FAnimation::restoreCursor()
{
    if (m_holdsCursor) {
        QApplication::restoreOverrideCursor();
        m_holdsCursor = false;
    }
}

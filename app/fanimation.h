#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

class QLabel;

// A looping picture animation shown in a label: frames stepped by a repeating
// timer. It can hold the application's busy or wait cursor while it runs.
class FAnimation : public QObject
{
    Q_OBJECT

public:
    enum CursorMode { NoCursor, BusyCursor, WaitCursor };

    // Frames "<prefix>1.png" ... "<prefix><count>.png".
    FAnimation(QLabel *target, const QString &framePrefix, int frameCount, int intervalMs,
               QObject *parent = nullptr);
    ~FAnimation() override;

    void start(CursorMode cursor = NoCursor);
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    int frameCount() const { return int(m_frames.size()); }
    int interval() const { return m_timer.interval(); }

private slots:
    void slotStep();

private:
    void restoreCursor();

    QPointer<QLabel> m_target;
    QList<QPixmap> m_frames;
    QTimer m_timer;
    int m_frame = 0;
    bool m_holdsCursor = false;
};

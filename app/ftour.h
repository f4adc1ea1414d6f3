#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

class FConsole;
class QWidget;

// The tour: once the console is connected and the tree is complete, selects
// every visible section in tree order, waits for its page to load and writes a
// screenshot of the main window to a folder (and of a list page's edit dialog
// for its current row, cancelled again), then finishes. Used for current
// documentation screenshots and for the headless demo.
class FTour : public QObject
{
    Q_OBJECT

public:
    FTour(FConsole *console, const QString &folder, QObject *parent = nullptr);

    void start();

    // A file name part made of the section text: lower case, letters and digits.
    static QString slug(const QString &text);

signals:
    // 0 when every screenshot was written.
    void signalFinished(int status);

private slots:
    void slotPoll();

private:
    enum class Phase { WaitingForSession, ShowingPage };
    void nextSection();
    void capture();
    void captureDialog();
    QString shotPath(const QString &suffix) const;
    void save(QWidget *window, const QString &path);
    void finish(int status);

    FConsole *m_console;
    QString m_folder;
    QTimer m_poll;
    QElapsedTimer m_clock;
    Phase m_phase = Phase::WaitingForSession;
    QList<int> m_ids;
    int m_index = -1;
    QStringList m_written;
    bool m_failed = false;
};

// Signals requested on a worker thread arrive on the interface thread; warning
// boxes requested from any thread are shown there; the debug output.
#include "db/dbevent.h"
#include "db/dbsafesignal.h"
#include "db/utdebug.h"
#include "db/widgets/dbmessagebox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <thread>

namespace {

class Probe : public DBSafeSignal
{
    Q_OBJECT
public:
    QList<QPair<int, QVariant>> seen;
    QList<QThread *> threads;

signals:
    void signalOne(const QVariant &value);

protected:
    void record(int type, const QVariant &value)
    {
        seen.append({type, value});
        threads.append(QThread::currentThread());
    }
    void safeEmit1001(const QVariant &v) override { record(1001, v); }
    void safeEmit1002() override { record(1002, {}); }
    void safeEmit1009(const QVariant &v) override { record(1009, v); }
};

struct Shown
{
    QThread *thread;
    QString caption;
    QString text;
};
QList<Shown> shown;

void recordWarning(QWidget *, const QString &caption, const QString &text)
{
    shown.append({QThread::currentThread(), caption, text});
}

} // namespace

class TestSafeSignal : public QObject
{
    Q_OBJECT

private slots:
    void postedFromWorkerArriveOnOwnerThread();
    void destroyedObjectDropsItsEvents();
    void warningsFromAnyThreadShowOnInterfaceThread();
    void debugOutputGoesToTraceFileAndSinks();
};

void TestSafeSignal::postedFromWorkerArriveOnOwnerThread()
{
    Probe probe;
    std::thread worker([&probe] {
        probe.postSafeSignal(1001, 42);
        probe.postSafeSignal(1002);
        probe.postSafeSignal(1009, QStringLiteral("text"));
    });
    worker.join();
    QTRY_COMPARE_WITH_TIMEOUT(probe.seen.size(), 3, 30000);
    QCOMPARE(probe.seen.at(0).first, 1001);
    QCOMPARE(probe.seen.at(0).second.toInt(), 42);
    QCOMPARE(probe.seen.at(1).first, 1002);
    QCOMPARE(probe.seen.at(2).second.toString(), QStringLiteral("text"));
    for (QThread *thread : std::as_const(probe.threads))
        QCOMPARE(thread, QThread::currentThread());
    // Events outside the data-layer range are left to QObject.
    QEvent other(QEvent::Type(1050));
    QVERIFY(!DBEvent::isDataLayerEvent(&other));
}

void TestSafeSignal::destroyedObjectDropsItsEvents()
{
    auto *probe = new Probe;
    probe->postSafeSignal(1001, 1);
    delete probe; // must not crash when the loop runs next
    QCoreApplication::processEvents();
    QObject guard;
    auto *owned = new QObject(&guard);
    QPointer<QObject> watch(new QObject);
    {
        DBEvent event(1003, QStringLiteral("x"), watch.data());
        QCOMPARE(event.ownedObject(), watch.data());
    }
    QVERIFY(watch.isNull()); // deleted with the event
    Q_UNUSED(owned);
}

void TestSafeSignal::warningsFromAnyThreadShowOnInterfaceThread()
{
    shown.clear();
    DBMessageBox::setPresenter(recordWarning);
    std::thread worker([] {
        DBMessageBox::postWarning(nullptr, QStringLiteral("Caption"), QStringLiteral("Disk full"));
        DBMessageBox::postWarning(nullptr, QString(), QString()); // ignored
        DBMessageBox::postWarning(nullptr, QString(), QStringLiteral("Second"));
    });
    worker.join();
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 30000);
    QCOMPARE(shown.at(0).thread, QThread::currentThread());
    QCOMPARE(shown.at(0).caption, QStringLiteral("Caption"));
    QCOMPARE(shown.at(0).text, QStringLiteral("Disk full"));
    QCOMPARE(shown.at(1).caption, QStringLiteral("Brantel Administration Console"));

    DBMessageBox box(QStringLiteral("Own caption"));
    box.slotError(QStringLiteral("Direct"));
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(2).caption, QStringLiteral("Own caption"));
    DBMessageBox::setPresenter(nullptr);
}

void TestSafeSignal::debugOutputGoesToTraceFileAndSinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("data"));
    QVERIFY(UtDebug::enableTraceInDataFolder(folder));
    const QString path = UtDebug::traceFile();
    QVERIFY(path.startsWith(folder));
    QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());

    QStringList seen;
    const int sink = UtDebug::addSink([&seen](int category, int level, const QString &line) {
        seen.append(QStringLiteral("%1:%2:%3").arg(category).arg(level).arg(line));
    });
    UtDebug::setStderrLevel(9); // keep the test output quiet
    utDebug(14, 5, QStringLiteral("select * from Info"));
    UtDebug::removeSink(sink);
    utDebug(14, 5, QStringLiteral("after removal"));
    QCOMPARE(seen, QStringList{"14:5:select * from Info"});
    QCOMPARE(UtDebug::stderrLevel(), 9);
    UtDebug::setStderrLevel(-7);
    QCOMPARE(UtDebug::stderrLevel(), -1);

    QVERIFY(UtDebug::setTraceFile(QString()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    QVERIFY(contents.contains("[14/5] select * from Info"));
    QVERIFY(contents.contains("after removal"));
    QVERIFY(!UtDebug::setTraceFile(dir.filePath(QStringLiteral("missing/dir/file"))));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestSafeSignal test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_safesignal.moc"

// Translation and help-file choice by the two preferred languages, the
// language taken from the file name, and the splash's minimum showing time.
#include "app/fapplication.h"
#include "app/flocalizedfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLookup : public QObject
{
    Q_OBJECT

private slots:
    void translationChoice_data();
    void translationChoice();
    void missingFolderLoadsNothing();
    void helpFallsBackToEnglish();
    void foldersAreTriedInOrder();
    void languageOfPath_data();
    void languageOfPath();
    void splashWaitsForTheRestOfOneSecond_data();
    void splashWaitsForTheRestOfOneSecond();
};

void TestLookup::translationChoice_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("language1");
    QTest::addColumn<QString>("language2");
    QTest::addColumn<QString>("expected");
    const QStringList deFr{"postdesk603.de.qm", "postdesk603.fr.qm"};
    QTest::newRow("first language wins") << deFr << "fr"
                                         << "de"
                                         << "postdesk603.fr.qm";
    QTest::newRow("second language when first is missing") << deFr << "it"
                                                           << "de"
                                                           << "postdesk603.de.qm";
    QTest::newRow("english means untranslated") << deFr << "en"
                                                << "de"
                                                << "";
    QTest::newRow("neither language") << deFr << "it"
                                      << "es"
                                      << "";
    QTest::newRow("other version is not taken") << QStringList{"postdesk602.fr.qm"} << "fr"
                                                << "de"
                                                << "";
    QTest::newRow("extension compared without case") << QStringList{"postdesk603.fr.QM"} << "fr"
                                                     << "de"
                                                     << "postdesk603.fr.QM";
    QTest::newRow("source files are skipped") << QStringList{"postdesk603.fr.ts"} << "fr"
                                              << "fr"
                                              << "";
}

void TestLookup::translationChoice()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    FLocalizedFile::Request request;
    request.folders = {folder.path()};
    request.baseName = QStringLiteral("postdesk603.");
    request.extension = QStringLiteral("qm");
    QFETCH(QString, language1);
    QFETCH(QString, language2);
    request.language1 = language1;
    request.language2 = language2;
    const QString found = FLocalizedFile::find(request);
    QCOMPARE(found.isEmpty() ? QString() : QFileInfo(found).fileName(), expected);
}

void TestLookup::missingFolderLoadsNothing()
{
    FLocalizedFile::Request request;
    request.folders = {QStringLiteral("/nonexistent/postdesk/translations")};
    request.baseName = QStringLiteral("postdesk603.");
    request.extension = QStringLiteral("qm");
    request.language1 = QStringLiteral("de");
    QVERIFY(FLocalizedFile::find(request).isEmpty());
}

void TestLookup::helpFallsBackToEnglish()
{
    QTemporaryDir folder;
    QFile english(folder.filePath(QStringLiteral("postdesk603.en.chm")));
    QVERIFY(english.open(QIODevice::WriteOnly));
    FLocalizedFile::Request request;
    request.folders = {folder.path()};
    request.baseName = QStringLiteral("postdesk603.");
    request.extension = QStringLiteral("chm");
    request.language1 = QStringLiteral("de");
    request.language2 = QStringLiteral("fr");
    QVERIFY(FLocalizedFile::find(request).isEmpty());
    request.englishFallback = true;
    QCOMPARE(QFileInfo(FLocalizedFile::find(request)).fileName(),
             QStringLiteral("postdesk603.en.chm"));
}

// The build folder's files win; the installed data folder is the fallback.
void TestLookup::foldersAreTriedInOrder()
{
    QTemporaryDir build;
    QTemporaryDir installed;
    QFile buildFrench(build.filePath(QStringLiteral("postdesk603.fr.qm")));
    QVERIFY(buildFrench.open(QIODevice::WriteOnly));
    for (const char *name : {"postdesk603.de.qm", "postdesk603.fr.qm"}) {
        QFile file(installed.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    FLocalizedFile::Request request;
    request.folders = {QStringLiteral("/nonexistent/postdesk"), build.path(), installed.path()};
    request.baseName = QStringLiteral("postdesk603.");
    request.extension = QStringLiteral("qm");
    request.language1 = QStringLiteral("fr");
    QCOMPARE(FLocalizedFile::find(request), build.filePath(QStringLiteral("postdesk603.fr.qm")));
    request.language1 = QStringLiteral("de");
    request.language2 = QStringLiteral("de");
    QCOMPARE(FLocalizedFile::find(request),
             installed.filePath(QStringLiteral("postdesk603.de.qm")));
}

void TestLookup::languageOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("language");
    QTest::newRow("plain") << "/opt/app/translations/postdesk603.fr.qm"
                           << "fr";
    QTest::newRow("dots in folder") << "/opt/a.b/translations/postdesk603.de.qm"
                                    << "de";
    QTest::newRow("no language") << "/opt/app/postdesk.qm"
                                 << "";
}

void TestLookup::languageOfPath()
{
    QFETCH(QString, path);
    QTEST(FLocalizedFile::languageOfPath(path), "language");
}

void TestLookup::splashWaitsForTheRestOfOneSecond_data()
{
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<int>("remaining");
    QTest::newRow("300 ms shown") << qint64(300) << 700;
    QTest::newRow("just shown") << qint64(0) << 1000;
    QTest::newRow("a second passed") << qint64(1000) << 0;
    QTest::newRow("long start-up") << qint64(5000) << 0;
}

void TestLookup::splashWaitsForTheRestOfOneSecond()
{
    QFETCH(qint64, elapsed);
    QTEST(FApplication::splashRemainingMs(elapsed), "remaining");
}

QTEST_GUILESS_MAIN(TestLookup)
#include "test_lookup.moc"

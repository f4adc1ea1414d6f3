#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestUtKontainer : public QObject
{
    Q_OBJECT

private slots:
    void init() { UtKontainer::clear(); }
    void cleanup() { UtKontainer::clear(); }

    void valuesRoundTripInMemory()
    {
        QVERIFY(UtKontainer::setInt(UtKey::Port, 44337));
        QVERIFY(UtKontainer::setBool(UtKey::AdminHasLog, true));
        QVERIFY(UtKontainer::setText(UtKey::Caption, QString::fromUtf8("Konsole für Postvane")));
        QCOMPARE(UtKontainer::getInt(UtKey::Port), 44337);
        QCOMPARE(UtKontainer::getBool(UtKey::AdminHasLog), true);
        QCOMPARE(UtKontainer::getText(UtKey::Caption), QString::fromUtf8("Konsole für Postvane"));

        // The stored forms: 4 bytes, 1 byte, UTF-8 with its terminating zero.
        QCOMPARE(UtKontainer::data(UtKey::Port).length(), 4);
        QCOMPARE(UtKontainer::data(UtKey::AdminHasLog).length(), 1);
        const QByteArray text = UtKontainer::data(UtKey::Caption).bytes;
        QCOMPARE(text, QString::fromUtf8("Konsole für Postvane").toUtf8().append('\0'));
    }

    void absentOrMismatchedValuesReadAsDefault()
    {
        QCOMPARE(UtKontainer::getInt("missing", -7), -7);
        QVERIFY(!UtKontainer::contains("missing")); // the default is not stored
        QCOMPARE(UtKontainer::getText("missing", "dflt"), QString("dflt"));

        UtKontainer::setText("aText", "12");
        QCOMPARE(UtKontainer::getInt("aText", 5), 5);
        QCOMPARE(UtKontainer::getBool("aText", true), true);
        UtKontainer::setInt("anInt", 0);
        QCOMPARE(UtKontainer::getText("anInt", "x"), QString("x"));
        QCOMPARE(UtKontainer::getBool("anInt", true), true);
    }

    void persistentKeysAreNormalised_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("bare") << "Autorefresh"
                              << "/Autorefresh";
        QTest::newRow("leading") << "/Columns/users"
                                 << "/Columns/users";
        QTest::newRow("trailing") << "/Columns/users//"
                                  << "/Columns/users";
        QTest::newRow("both missing and trailing") << "a/b/"
                                                   << "/a/b";
    }
    void persistentKeysAreNormalised()
    {
        QFETCH(QString, key);
        QFETCH(QString, normalised);
        QCOMPARE(UtKontainer::normalizeKey(key), normalised);
    }

    void persistentValuesGoBelowTheOpenGroup()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("prefs.ini");
        UtKontainer::setStoreFile(file);
        UtKontainer::openGroup("/Postvane");

        QVERIFY(UtKontainer::setInt("width", 120, "Columns/users/"));
        QVERIFY(UtKontainer::setText("name", "x", "/Other/dfl/seldomain"));
        QVERIFY(UtKontainer::setBool("flag", true, "/flag"));
        {
            QSettings raw(file, QSettings::IniFormat);
            QCOMPARE(raw.value("Postvane/Columns/users").toInt(), 120);
            QCOMPARE(raw.value("Postvane/Other/dfl/seldomain").toString(), QString("x"));
            QVERIFY(!raw.contains("Columns/users"));
        }

        // A get with a persistent key reads the store and refreshes memory.
        {
            QSettings raw(file, QSettings::IniFormat);
            raw.setValue("Postvane/Columns/users", 77);
        }
        UtKontainer::setStoreFile(file); // re-read the file
        QCOMPARE(UtKontainer::getInt("width", 0, "/Columns/users"), 77);
        QCOMPARE(UtKontainer::getInt("width"), 77);
        QCOMPARE(UtKontainer::getBool("flag2", false, "/flag"), true);
        QCOMPARE(UtKontainer::getText("t", "dflt", "/absent"), QString("dflt"));
        QCOMPARE(UtKontainer::getText("t"), QString("dflt"));

        // A damaged integer entry reads as the default.
        UtKontainer::setText("junk", "not a number", "/Columns/junk");
        QCOMPARE(UtKontainer::getInt("junkInt", 9, "/Columns/junk"), 9);
    }

    void persistentKeyWithoutStoreStaysInMemory()
    {
        QVERIFY(UtKontainer::setInt("k", 3, "/somewhere"));
        QCOMPARE(UtKontainer::getInt("k", 0, "/somewhere"), 3);
        QCOMPARE(UtKontainer::getInt("other", 4, "/somewhere"), 4);
    }

    void readOnlyStoreReportsFailure()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath("ro.ini");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        UtKontainer::setStoreFile(file);
        if (UtKontainer::store()->isWritable())
            QSKIP("running with rights that ignore file permissions");
        QVERIFY(!UtKontainer::setInt("k", 1, "/k"));
        QCOMPARE(UtKontainer::getInt("k"), 1); // memory still holds it
    }

    void objectsAreGuarded()
    {
        auto window = std::make_unique<QObject>();
        UtKontainer::setObject(UtKey::FMainWnd, window.get());
        QCOMPARE(UtKontainer::object(UtKey::FMainWnd), window.get());
        QCOMPARE(UtKontainer::objectAs<QObject>(UtKey::FMainWnd), window.get());
        QVERIFY(UtKontainer::contains(UtKey::FMainWnd));
        window.reset();
        QCOMPARE(UtKontainer::object(UtKey::FMainWnd), nullptr);
        QVERIFY(!UtKontainer::contains(UtKey::FMainWnd));
        QCOMPARE(UtKontainer::object("never set"), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestUtKontainer)
#include "test_utkontainer.moc"

// The one table of list names and column-set versions.
#include "forms/blistregistrations.h"

#include <QSet>
#include <QTest>

class TestListRegistrations : public QObject
{
    Q_OBJECT

private slots:
    void tableMatchesTheDeclaredLists()
    {
        // Every list of the console with its column-set version.
        const QList<QPair<QString, int>> declared{
                {"users", 7},          {"usersldap", 2},
                {"usersfile", 1},      {"userstats", 3},
                {"userstatsexp", 3},   {"usergroup", 2},
                {"groups", 2},         {"groupuser", 2},
                {"groupsldap", 1},     {"finduser", 2},
                {"template", 2},       {"domain", 4},
                {"aliases", 3},        {"mailinglists", 3},
                {"services", 2},       {"serviceports", 2},
                {"servicerestart", 1}, {"spamfilter", 3},
                {"dnsblacklists", 3},  {"attachfilter", 2},
                {"pop3accounts", 2},   {"pop3rules", 2},
                {"etrnservers", 2},    {"scheduler", 3},
                {"backupschedule", 5}, {"connections", 2},
                {"connectionsweb", 2}, {"openedfolders", 1},
                {"mailqueue", 4},      {"deliverytask", 2},
                {"mobiledevices", 1},  {"sslcertificates", 2},
                {"advancedsecpol", 1}, {"clustering", 2},
                {"xsan", 1},           {"xsanstatus", 1},
                {"faxdevices", 2},     {"faxnumberemail", 2},
                {"faxservercalls", 2},
        };
        QList<QPair<QString, int>> table;
        for (const BCols::Registration &registration : BListRegistrations::all())
            table.append({registration.name, registration.version});
        QCOMPARE(table, declared);
    }

    void namesAreUnique()
    {
        QSet<QString> names;
        for (const BCols::Registration &registration : BListRegistrations::all()) {
            QVERIFY2(!names.contains(registration.name), qPrintable(registration.name));
            QVERIFY(registration.version > 0);
            names.insert(registration.name);
        }
    }

    void lookupByName()
    {
        const auto users = BListRegistrations::find(QStringLiteral("users"));
        QVERIFY(users);
        QCOMPARE(users->version, 7);
        QCOMPARE(BListRegistrations::find(QStringLiteral("backupschedule"))->version, 5);
        // Names are exact: no other case, no unknown list.
        QVERIFY(!BListRegistrations::find(QStringLiteral("Users")));
        QVERIFY(!BListRegistrations::find(QStringLiteral("nosuchlist")));
        QVERIFY(!BListRegistrations::find(QString()));

        // The record is what a column set takes.
        BCols cols(*BListRegistrations::find(QStringLiteral("aliases")));
        QCOMPARE(cols.listName(), QStringLiteral("aliases"));
        QCOMPARE(cols.version(), 3);
    }
};

QTEST_MAIN(TestListRegistrations)
#include "test_listregistrations.moc"

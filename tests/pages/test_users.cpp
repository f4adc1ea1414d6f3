// The "Users" section in the real console against the development server:
// the domain list page (combo, search), the user list and its columns, the
// user limit, the removal rules and the mail-store decision, Recover, and a
// read-only session.
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/bcols.h"
#include "forms/bcountlabel.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/users/domaintables.h"
#include "pages/users/pvnusertable.h"
#include "pages/users/userfolderdlg.h"
#include "pages/users/useritem.h"
#include "pages/users/userwnd.h"
#include "pagetest.h"
#include "registry/utkontainer.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// The names of the rows the list shows.
QStringList firstColumn(BListView *list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (!list->topLevelItem(i)->isHidden())
            names << list->topLevelItem(i)->text(0);
    }
    return names;
}

BListViewItem *findItem(BListView *list, const QString &first)
{
    return list->findItems(first, Qt::MatchExactly, 0).value(0);
}

void selectOnly(BListView *list, const QStringList &names)
{
    list->clearSelection();
    for (const QString &name : names) {
        if (BListViewItem *item = findItem(list, name))
            item->setSelected(true);
    }
}

// A row that keeps below the users, as group rows do in a mixed list.
class BelowItem : public BListViewItem
{
public:
    BelowItem(BListView *view, const QString &name)
        : BListViewItem(view, nullptr, {name})
    { }
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        return BSortKey::belowOthers(BListViewItem::sortKey(column, definition));
    }
};

// Answers the question about the mail store of removed users while it
// lives: OK (the stores stay as they are) or Cancel (the removal is off).
class FolderQuestionCloser : public QObject
{
public:
    explicit FolderQuestionCloser(bool accept)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, accept] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *dialog = qobject_cast<UserFolderDlg *>(widget);
                    dialog && dialog->isVisible()) {
                    accept ? dialog->accept() : dialog->reject();
                    ++closed;
                }
            }
        });
        m_timer.start(20);
    }
    int closed = 0;

private:
    QTimer m_timer;
};

} // namespace

class TestUsersPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void formatting_data();
    void formatting();
    void countQuery_data();
    void countQuery();
    void valueColumnsSortAndGroupsStayBelow();
    void listsTheDomainsAndTheirUsers();
    void searchFiltersAfterTheTimer();
    void searchLeavesLoadingRowsAlone();
    void addRefusedAtTheUserLimit();
    void removeSkipsTheSessionAndAsksForThePublicAdmin();
    void viewerChangesNothing();

private:
    UserWnd *openUsers(const QString &user = QStringLiteral("admin"));
    bool showDomain(UserWnd *page, const QString &domain);
};

void TestUsersPage::formatting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("kB") << "size" << qint64(1500) << "1500 kB";
    QTest::newRow("MB exact") << "size" << qint64(3 * 1024) << "3 MB";
    QTest::newRow("GB exact") << "size" << qint64(2 * 1024 * 1024) << "2 GB";
    QTest::newRow("usage MB") << "usage" << qint64(1536) << "1.5 MB";
    QTest::newRow("short") << "duration" << qint64(59) << "Less than 1 minute";
    QTest::newRow("long") << "duration" << qint64(90061) << "1 day, 1 hour, 1 minute";
    QTest::newRow("rw") << "rights" << qint64(3) << "Read/write access";
    QTest::newRow("ro") << "rights" << qint64(1) << "Read only access";
    QTest::newRow("high bits kept out") << "rights" << qint64(7) << "Read/write access";
    QTest::newRow("none") << "rights" << qint64(2) << "";
    QTest::newRow("internal") << "source" << qint64(0) << "Internal";
    QTest::newRow("negative") << "source" << qint64(-1) << "Internal";
    QTest::newRow("ldap") << "source" << qint64(4) << "LDAP";
}

void TestUsersPage::formatting()
{
    QFETCH(QString, kind);
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QString got;
    if (kind == "size")
        got = PvnUserTable::sizeText(value);
    else if (kind == "usage")
        got = PvnUserTable::sizeText(value, false);
    else if (kind == "duration")
        got = PvnUserTable::durationText(value);
    else if (kind == "rights")
        got = PvnUserTable::rightsText(value);
    else
        got = PvnUserTable::dataSourceText(value);
    QCOMPARE(got, text);
}

void TestUsersPage::countQuery_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("query");
    QTest::newRow("plain") << "example.com"
                           << "select count() from User where Domain=example.com";
    QTest::newRow("hyphen and digits") << "mx-2.example.org"
                                       << "select count() from User where Domain=mx-2.example.org";
    QTest::newRow("no domain") << ""
                               << "select count() from User";
    QTest::newRow("quote") << "a'b.com"
                           << "";
    QTest::newRow("space and or") << "x or 1=1"
                                  << "";
    QTest::newRow("non-ASCII") << QString::fromUtf8("bücher.de") << "";
}

void TestUsersPage::countQuery()
{
    QFETCH(QString, domain);
    QFETCH(QString, query);
    QCOMPARE(UserWnd::countQuery(domain), query);
}

void TestUsersPage::valueColumnsSortAndGroupsStayBelow()
{
    BListView list;
    BCols cols(QStringLiteral("userssorttest"), 1);
    for (int i = 0; i < useritem::ColumnCount; ++i)
        cols.addColumn(QString::number(i), QString::number(i));
    list.setCols(cols);
    DBKols kols;
    for (const char *name : {"Name", "Domain", "Qstorage", "Qmessage"})
        kols.append(DBKol(DBType::Text, QString::fromLatin1(name)));
    DBRow big(&kols), small(&kols), middle(&kols);
    big.setText("Name", "big");
    big.setText("Qstorage", "10240");
    small.setText("Name", "small");
    small.setText("Qstorage", "9");
    middle.setText("Name", "middle");
    middle.setText("Qstorage", "100");
    new UserItem(&list, &big);
    new UserItem(&list, &small);
    new BelowItem(&list, QStringLiteral("agroup"));
    new UserItem(&list, &middle);
    list.sortByColumn(useritem::ColStorageQuota, Qt::AscendingOrder);
    QCOMPARE(firstColumn(&list), (QStringList{"small", "middle", "big", "agroup"}));
    list.sortByColumn(useritem::ColStorageQuota, Qt::DescendingOrder);
    QCOMPARE(firstColumn(&list), (QStringList{"big", "middle", "small", "agroup"}));
    list.sortByColumn(useritem::ColName, Qt::AscendingOrder);
    QCOMPARE(firstColumn(&list), (QStringList{"big", "middle", "small", "agroup"}));
    list.sortByColumn(useritem::ColName, Qt::DescendingOrder);
    QCOMPARE(firstColumn(&list), (QStringList{"small", "middle", "big", "agroup"}));

    // A row formatted on demand that lets go of its row (the table is about
    // to be read again) goes on showing its cells.
    auto *smallItem = static_cast<UserItem *>(list.topLevelItem(0));
    const QString quota = smallItem->text(useritem::ColStorageQuota);
    QVERIFY(!quota.isEmpty());
    smallItem->releaseRow();
    QVERIFY(!smallItem->row());
    QCOMPARE(smallItem->text(useritem::ColName), QStringLiteral("small"));
    QCOMPARE(smallItem->text(useritem::ColStorageQuota), quota);
}

UserWnd *TestUsersPage::openUsers(const QString &user)
{
    if (!startConsole(user))
        return nullptr;
    auto *page = dynamic_cast<UserWnd *>(openSection(SectionId::Users));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled() && !page->isLoadingRows(); },
                              kTimeout);
    return page;
}

bool TestUsersPage::showDomain(UserWnd *page, const QString &domain)
{
    QComboBox *combo = page->domainCombo();
    const int index = combo->findText(domain);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->textActivated(domain);
    return QTest::qWaitFor(
            [page, domain] {
                return page->currentDomain() == domain && !page->isLoadingRows()
                        && page->isEnabled();
            },
            kTimeout);
}

void TestUsersPage::listsTheDomainsAndTheirUsers()
{
    UserWnd *page = openUsers();
    QVERIFY(page);
    QComboBox *combo = page->domainCombo();
    QStringList domains;
    for (int i = 0; i < combo->count(); ++i)
        domains << combo->itemText(i);
    // Alias rows (example.net, mail.example.org) are left out.
    QCOMPARE(domains, (QStringList{"example.com", "example.org", "corp.example"}));
    QCOMPARE(page->currentDomain(), QStringLiteral("example.com"));
    QStringList names = firstColumn(page->listView());
    names.sort();
    QCOMPARE(names, (QStringList{"admin", "alice", "bob", "carol", "dave", "viewer"}));
    BListViewItem *bob = findItem(page->listView(), "bob");
    QVERIFY(bob);
    QCOMPARE(bob->text(useritem::ColFullName), QStringLiteral("Bob Brewer"));
    QCOMPARE(bob->text(useritem::ColDataSource), QStringLiteral("Internal"));
    QCOMPARE(bob->text(useritem::ColStorageQuota), QStringLiteral("250 MB"));
    QCOMPARE(bob->text(useritem::ColForwarding), QStringLiteral("Forward and deliver"));
    QCOMPARE(findItem(page->listView(), "carol")->text(useritem::ColRights),
             QStringLiteral("Read only access"));
    // The login name column cannot be hidden.
    QVERIFY(page->listView()->cols().column(useritem::ColName).isAlwaysVisible());

    QVERIFY(showDomain(page, "corp.example"));
    QCOMPARE(firstColumn(page->listView()), QStringList{"gina"});
    QCOMPARE(findItem(page->listView(), "gina")->text(useritem::ColDataSource),
             QStringLiteral("LDAP"));
    QVERIFY(showDomain(page, "example.org"));
    names = firstColumn(page->listView());
    names.sort();
    QCOMPARE(names, (QStringList{"erin", "frank"}));
    QCOMPARE(UtKontainer::getText(domainformlist::kSelectedDomainKey, QString(),
                                  domainformlist::kSelectedDomainKey),
             QStringLiteral("example.org"));

    // Another domain list page opens on the stored choice.
    openSection(SectionId::Pop3Download);
    auto *again = dynamic_cast<UserWnd *>(openSection(SectionId::Users));
    QVERIFY(again);
    QTRY_VERIFY_WITH_TIMEOUT(!again->isLoadingRows() && again->isEnabled(), kTimeout);
    QCOMPARE(again->currentDomain(), QStringLiteral("example.org"));
    QCOMPARE(again->listView()->topLevelItemCount(), 2);
}

void TestUsersPage::searchFiltersAfterTheTimer()
{
    UserWnd *page = openUsers();
    QVERIFY(page);
    QLineEdit *search = page->searchEdit();
    QCOMPARE(search->objectName(), QStringLiteral("m_edSearch"));
    BListViewItem *carol = findItem(page->listView(), "carol");
    QTest::keyClicks(search, "CAR");
    // Nothing changes before the timer fires.
    QCOMPARE(page->listView()->topLevelItemCount(), 6);
    QVERIFY(page->searchTimer()->isActive());
    QCOMPARE(page->searchTimer()->interval(), 250);
    QTRY_COMPARE_WITH_TIMEOUT(firstColumn(page->listView()), QStringList{"carol"}, kTimeout);
    // The search hides rows: the rows stay, the view shows one.
    QCOMPARE(page->listView()->topLevelItemCount(), 6);
    QCOMPARE(page->listView()->model()->rowCount(), 1);
    QCOMPARE(findItem(page->listView(), "carol"), carol);
    // Full names and descriptions match too.
    search->setText("brewer");
    QTRY_COMPARE_WITH_TIMEOUT(firstColumn(page->listView()), QStringList{"bob"}, kTimeout);
    search->setText("read-only console");
    QTRY_COMPARE_WITH_TIMEOUT(firstColumn(page->listView()), QStringList{"viewer"}, kTimeout);
    search->clear();
    QTRY_COMPARE_WITH_TIMEOUT(page->listView()->model()->rowCount(), 6, kTimeout);
    QCOMPARE(findItem(page->listView(), "carol"), carol);
}

void TestUsersPage::searchLeavesLoadingRowsAlone()
{
    UserWnd *page = openUsers();
    QVERIFY(page);
    page->searchEdit()->setText("erin");
    page->searchTimer()->stop();
    // The other domain's select is queued: the search must not read its rows.
    page->domainCombo()->setCurrentIndex(page->domainCombo()->findText("example.org"));
    page->slotDomainActivated("example.org");
    QVERIFY(page->isLoadingRows());
    const int shownBefore = page->listView()->topLevelItemCount();
    page->slotSearchExecute();
    QCOMPARE(page->listView()->topLevelItemCount(), shownBefore);
    QCOMPARE(page->appliedSearch(), QString());
    // The fill after the rows arrived applies the search.
    QTRY_VERIFY_WITH_TIMEOUT(!page->isLoadingRows() && page->isEnabled(), kTimeout);
    QCOMPARE(firstColumn(page->listView()), QStringList{"erin"});
    QCOMPARE(page->appliedSearch(), QStringLiteral("erin"));
}

void TestUsersPage::addRefusedAtTheUserLimit()
{
    QVERIFY(startServer());
    QVERIFY(serverExec("update Domain set MaxUserCount='6' where Domain='example.com'"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    page->addButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, kTimeout);
    QCOMPARE(boxes.texts.first(),
             QStringLiteral(
                     "<nobr>You cannot add another user.<br>Maximum count of local users "
                     "for this domain is 6<br>(the domain already contains 6 users).</nobr>"));
    QCOMPARE(pendingOperations(), 0);
}

void TestUsersPage::removeSkipsTheSessionAndAsksForThePublicAdmin()
{
    QVERIFY(startServer());
    QVERIFY(serverExec("update PublicFolders set PublicAdmin='Carol@Example.com'"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    BListView *list = page->listView();
    // A screen reader reads the count line itself, as text.
    QAccessibleInterface *countLine = QAccessible::queryAccessibleInterface(page->statusLabel());
    QVERIFY(countLine && countLine->textInterface());
    QCOMPARE(countLine->text(QAccessible::Name), QStringLiteral("Users: 6"));
    QCOMPARE(countLine->textInterface()->text(0, countLine->textInterface()->characterCount()),
             QStringLiteral("Users: 6"));
    {
        // Every question comes before a row leaves: Cancel on the last one
        // keeps bob, and the count with him.
        FolderQuestionCloser folderQuestion(false);
        BoxAnswers boxes(QMessageBox::No);
        selectOnly(list, {"admin", "bob", "carol"});
        page->removeButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(folderQuestion.closed, 1, kTimeout);
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(boxes.texts.at(0),
                 QStringLiteral("User 'admin@example.com' is currently logged "
                                "in. Such user cannot be removed."));
        QCOMPARE(boxes.texts.at(1),
                 QStringLiteral("User 'carol@example.com' is a public folder "
                                "administrator. Do you really want to remove "
                                "this user?"));
        QVERIFY(findItem(list, "bob"));
        QCOMPARE(page->statusLabel()->text(), QStringLiteral("Users: 6"));
    }
    QVERIFY(findItem(list, "admin"));
    QVERIFY(findItem(list, "carol"));
    {
        FolderQuestionCloser folderQuestion(true);
        selectOnly(list, {"bob"});
        page->removeButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!findItem(list, "bob"), kTimeout);
        QCOMPARE(folderQuestion.closed, 1);
        QCOMPARE(page->statusLabel()->text(), QStringLiteral("Users: 5"));
    }
    {
        FolderQuestionCloser folderQuestion(true);
        BoxAnswers boxes(QMessageBox::Yes);
        selectOnly(list, {"carol"});
        page->removeButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!findItem(list, "carol"), kTimeout);
    }
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Name from User where Domain='example.com' and Name='bob'"),
             QStringList());
    QCOMPARE(serverRows("select Name from User where Domain='example.com' and Name='carol'"),
             QStringList());
    QCOMPARE(serverRows("select Name from User where Domain='example.com' and Name='admin'"),
             QStringList{"admin"});
}

void TestUsersPage::viewerChangesNothing()
{
    UserWnd *page = openUsers(QStringLiteral("viewer"));
    QVERIFY(page);
    QCOMPARE(page->listView()->topLevelItemCount(), 6);
    selectOnly(page->listView(), {"bob"});
    for (QPushButton *button : {page->addButton(), page->removeButton(), page->recoverButton(),
                                page->importButton(), page->exportButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    // A user opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    const QStringList changeable
            = changeableInRowDialog(page->listView(), findItem(page->listView(), "bob"));
    QVERIFY2(changeable.isEmpty(), qPrintable(changeable.join(", ")));
    // Viewing other domains and searching still work.
    QVERIFY(page->domainCombo()->isEnabled());
    QVERIFY(showDomain(page, "example.org"));
    page->searchEdit()->setText("frank");
    QTRY_COMPARE_WITH_TIMEOUT(firstColumn(page->listView()), QStringList{"frank"}, kTimeout);
    page->remove();
    page->add();
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows("select Name from User where Domain='example.org' and Name='frank'"),
             QStringList{"frank"});
}

QTEST_MAIN(TestUsersPage)
#include "test_users.moc"

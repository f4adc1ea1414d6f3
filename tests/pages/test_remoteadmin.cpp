// The "Remote Administration" section in the real console against the
// development server: what it shows and stores, the refusals, the group
// editor behind "&Edit...", the question before shutting out this session,
// and a read-only session.
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/sectionids.h"
#include "pages/definitions/gdlgips.h"
#include "pages/definitions/gformdialog.h"
#include "pages/definitions/gwndipgroup.h"
#include "pages/remoteadmin/remoteadministrationwnd.h"
#include "pages/remoteadmin/sessionaccess.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

namespace {

const QString kAdminQuery = QStringLiteral(
        "select NetEnabled, AdminAcl, WebNetEnabled, WebAdminAcl from Administration");

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// Runs handler on the next modal window that trigger opens, from inside a
// handler of the page test's own watcher (whose timer is busy running it).
bool nestedModal(const std::function<void()> &trigger,
                 const std::function<void(QWidget *)> &handler)
{
    postdesk::test::ModalWatcher watcher;
    bool handled = false;
    watcher.expect([&](QWidget *modal) {
        QPointer<QWidget> window(modal);
        handler(modal);
        handled = true;
        if (auto *dialog = qobject_cast<QDialog *>(window.data()); dialog && dialog->isVisible())
            dialog->reject();
    });
    trigger();
    return QTest::qWaitFor([&] { return handled; }, 30000);
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

class TestRemoteAdminPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void sessionAccess_data();
    void sessionAccess();
    void opensWhatTheServerHolds();
    void stores_data();
    void stores();
    void checkedRestrictionNeedsAGroup();
    void editKeepsTheChoicesByName();
    void undefinedStoredGroupIsLeftAlone();
    void shuttingOutThisSessionAsks_data();
    void shuttingOutThisSessionAsks();
    void viewerChangesNothing();

private:
    // Adds an enabled entry on the server before the console reads it.
    bool addServerEntry(const QString &name, const QString &value, const QString &desc)
    {
        return serverExec(QStringLiteral("insert into IpAccessList set Name='%1', Value='%2', "
                                         "Desc='%3', Enabled='1'")
                                  .arg(name, value, desc));
    }
    RemoteAdministrationWnd *openPage();
};

void TestRemoteAdminPage::sessionAccess_data()
{
    QTest::addColumn<bool>("netEnabled");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("admitted");
    QTest::newRow("anywhere") << true << ""
                              << "203.0.113.9" << true;
    QTest::newRow("network closed") << false << ""
                                    << "203.0.113.9" << false;
    QTest::newRow("loop-back is no network") << false << ""
                                             << "127.0.0.1" << true;
    QTest::newRow("host") << true << "Hosts"
                          << "203.0.113.9" << true;
    QTest::newRow("disabled host") << true << "Hosts"
                                   << "203.0.113.10" << false;
    QTest::newRow("network") << true << "Nets"
                             << "10.20.30.40" << true;
    QTest::newRow("outside the network") << true << "Nets"
                                         << "10.21.0.1" << false;
    QTest::newRow("range start") << true << "Nets"
                                 << "192.0.2.10" << true;
    QTest::newRow("range end") << true << "Nets"
                               << "192.0.2.20" << true;
    QTest::newRow("after the range") << true << "Nets"
                                     << "192.0.2.21" << false;
    QTest::newRow("through a reference") << true << "Both"
                                         << "10.20.0.1" << true;
    QTest::newRow("references loop") << true << "Loop"
                                     << "10.20.0.1" << true;
    QTest::newRow("host names match nothing") << true << "Names"
                                              << "203.0.113.9" << false;
    QTest::newRow("group that is gone") << true << "Gone"
                                        << "127.0.0.1" << false;
}

void TestRemoteAdminPage::sessionAccess()
{
    QFETCH(bool, netEnabled);
    QFETCH(QString, group);
    QFETCH(QString, address);
    QFETCH(bool, admitted);
    const QList<sessionaccess::Entry> entries{
            {"Hosts", "203.0.113.9", true},
            {"Hosts", "203.0.113.10", false},
            {"Nets", "10.20.0.0/255.255.0.0", true},
            {"Nets", "192.0.2.10-192.0.2.20", true},
            {"Both", "=Hosts", true},
            {"Both", "=Nets", true},
            {"Loop", "=Loop2", true},
            {"Loop2", "=Loop", true},
            {"Loop2", "=Nets", true},
            {"Names", "'gw.example'", true},
    };
    QCOMPARE(sessionaccess::admits(entries, netEnabled, group, QHostAddress(address)), admitted);
}

RemoteAdministrationWnd *TestRemoteAdminPage::openPage()
{
    auto *page
            = dynamic_cast<RemoteAdministrationWnd *>(openSection(SectionId::RemoteAdministration));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled(); }, kTimeout);
    return page;
}

void TestRemoteAdminPage::opensWhatTheServerHolds()
{
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    QVERIFY(page->m_chkNetEnabled->isChecked());
    QVERIFY(page->m_chkAcl->isChecked());
    QVERIFY(page->m_cboAcl->isEnabled());
    QCOMPARE(page->m_cboAcl->currentText(), QString("Trusted"));
    QCOMPARE(comboItems(page->m_cboAcl), QStringList({"Trusted", "Blocked", "Office"}));
    QVERIFY(page->m_chkWebNetEnabled->isChecked());
    // An empty group opens with the box unticked and nothing chosen.
    QVERIFY(!page->m_chkWebAcl->isChecked());
    QVERIFY(!page->m_cboWebAcl->isEnabled());
    QCOMPARE(page->m_cboWebAcl->currentIndex(), -1);
    QCOMPARE(comboItems(page->m_cboWebAcl), comboItems(page->m_cboAcl));
    // Closing the network disables the group choice below it.
    page->m_chkWebNetEnabled->setChecked(false);
    QVERIFY(!page->m_chkWebAcl->isEnabled());
    QVERIFY(!page->m_btnEditWebAcl->isEnabled());
    QCOMPARE(pendingOperations(), 1);
    page->reset();
    QVERIFY(page->m_chkWebNetEnabled->isChecked());
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kAdminQuery), QStringList{"1|Trusted|1|"});
}

void TestRemoteAdminPage::stores_data()
{
    QTest::addColumn<bool>("net");
    QTest::addColumn<bool>("acl");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("webNet");
    QTest::addColumn<bool>("webAcl");
    QTest::addColumn<QString>("webGroup");
    QTest::addColumn<QString>("stored");
    // An unticked restriction stores no group, whatever its combo shows.
    QTest::newRow("restriction lifted") << true << false << "Trusted" << true << false << ""
                                        << "1||1|";
    QTest::newRow("other group, web restricted")
            << true << true << "Office" << true << true << "Blocked"
            << "1|Office|1|Blocked";
    QTest::newRow("web closed") << true << true << "Trusted" << false << false << "Office"
                                << "1|Trusted|0|";
}

void TestRemoteAdminPage::stores()
{
    QFETCH(bool, net);
    QFETCH(bool, acl);
    QFETCH(QString, group);
    QFETCH(bool, webNet);
    QFETCH(bool, webAcl);
    QFETCH(QString, webGroup);
    QFETCH(QString, stored);
    QVERIFY(addServerEntry("Web", "127.0.0.1", ""));
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    page->m_chkNetEnabled->setChecked(net);
    page->m_cboAcl->setCurrentText(group);
    page->m_chkAcl->setChecked(acl);
    page->m_chkWebNetEnabled->setChecked(webNet);
    page->m_chkWebAcl->setChecked(true);
    page->m_cboWebAcl->setCurrentText(webGroup.isEmpty() ? "Web" : webGroup);
    page->m_chkWebAcl->setChecked(webAcl);
    if (!acl)
        page->m_cboAcl->setCurrentText("Web");
    BoxAnswers boxes(QMessageBox::Yes);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(serverRows(kAdminQuery), QStringList{stored});
}

void TestRemoteAdminPage::checkedRestrictionNeedsAGroup()
{
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    page->m_chkWebAcl->setChecked(true);
    QCOMPARE(page->m_cboWebAcl->currentText(), QString());
    QCOMPARE(pendingOperations(), 0); // nothing changed yet: the stored group was empty
    page->m_chkNetEnabled->setChecked(false);
    BoxAnswers boxes(QMessageBox::Ok);
    bool ok = true;
    page->apply(&ok);
    QVERIFY(!ok);
    QCOMPARE(boxes.texts,
             QStringList{"Choose the IP address group from which web administration is allowed."});
    QCOMPARE(serverRows(kAdminQuery), QStringList{"1|Trusted|1|"});
    page->m_cboWebAcl->setCurrentText("Office");
    page->apply(&ok);
    QVERIFY(ok);
    QCOMPARE(serverRows(kAdminQuery), QStringList{"0|Trusted|1|Office"});
}

void TestRemoteAdminPage::editKeepsTheChoicesByName()
{
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    page->m_chkWebAcl->setChecked(true);
    page->m_cboWebAcl->setCurrentText("Office");
    const int pending = pendingOperations();
    QVERIFY(pending > 0);
    // In the editor restricted to "Trusted", a new group "Aaa".
    const bool handled
            = withModal([&] { page->m_btnEditAcl->click(); },
                        [&](QWidget *modal) {
                            auto *dialog = qobject_cast<GFormDialog *>(modal);
                            QVERIFY(dialog);
                            auto *groups = dynamic_cast<GWndIPGroup *>(dialog->page());
                            QVERIFY(groups);
                            QCOMPARE(groups->restrictedName(), QString("Trusted"));
                            QTRY_VERIFY_WITH_TIMEOUT(groups->nameNode("Trusted"), kTimeout);
                            QVERIFY(nestedModal([&] { groups->addButton()->click(); },
                                                [&](QWidget *entryModal) {
                                                    auto *entry
                                                            = dynamic_cast<GDlgIPs *>(entryModal);
                                                    QVERIFY(entry);
                                                    entry->m_edName->setText("Aaa");
                                                    entry->m_edFirst->setText("10.7.7.7");
                                                    clickOk(entry);
                                                }));
                            QVERIFY(groups->nameNode("Aaa"));
                            clickOk(dialog);
                        });
    QVERIFY(handled);
    // The web button opens its own group, which goes as a whole there.
    QVERIFY(withModal([&] { page->m_btnEditWebAcl->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = qobject_cast<GFormDialog *>(modal);
                          QVERIFY(dialog);
                          GDefinitionWnd *groups = dialog->page();
                          QCOMPARE(groups->restrictedName(), QString("Office"));
                          QTRY_VERIFY_WITH_TIMEOUT(groups->nameNode("Office"), kTimeout);
                          QCOMPARE(groups->listView()->topLevelItemCount(), 1);
                          groups->listView()->setCurrentItem(groups->nameNode("Office"));
                          BoxAnswers boxes(QMessageBox::Yes);
                          groups->removeButton()->click();
                          QCOMPARE(boxes.texts.size(), 1);
                          clickOk(dialog);
                      }));
    QCOMPARE(serverRows("select Name from IpAccessList where Name='Office'"), QStringList());
    // Both combos list the groups again, each keeps its choice by name: the
    // web one still shows the group just removed instead of another.
    QCOMPARE(comboItems(page->m_cboAcl), QStringList({"Trusted", "Blocked", "Aaa"}));
    QCOMPARE(comboItems(page->m_cboWebAcl), QStringList({"Trusted", "Blocked", "Aaa", "Office"}));
    QCOMPARE(page->m_cboAcl->currentText(), QString("Trusted"));
    QCOMPARE(page->m_cboWebAcl->currentText(), QString("Office"));
    QCOMPARE(pendingOperations(), pending);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kAdminQuery), QStringList{"1|Trusted|1|Office"});
}

void TestRemoteAdminPage::undefinedStoredGroupIsLeftAlone()
{
    QVERIFY(serverExec("update Administration set AdminAcl='Gone'"));
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    QVERIFY(page->m_chkAcl->isChecked());
    QCOMPARE(page->m_cboAcl->currentText(), QString("Gone"));
    page->m_chkWebNetEnabled->setChecked(false);
    BoxAnswers boxes(QMessageBox::Yes);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kAdminQuery), QStringList{"1|Gone|0|"});
    // Only a change of the console's own access is questioned.
    QCOMPARE(boxes.texts, QStringList());
}

void TestRemoteAdminPage::shuttingOutThisSessionAsks_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("group without this address, kept")
            << "Blocked" << int(QMessageBox::Yes) << true << "1|Blocked|1|";
    QTest::newRow("group without this address, refused")
            << "Blocked" << int(QMessageBox::No) << true << "1|Trusted|1|";
    QTest::newRow("group with it through a reference")
            << "Office" << int(QMessageBox::No) << false << "1|Office|1|";
}

void TestRemoteAdminPage::shuttingOutThisSessionAsks()
{
    QFETCH(QString, group);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(QString, stored);
    QVERIFY(startConsole());
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    QCOMPARE(page->sessionAddress(), QHostAddress(QHostAddress::LocalHost));
    page->m_cboAcl->setCurrentText(group);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool ok = false;
    page->apply(&ok);
    QCOMPARE(boxes.texts.size(), asked ? 1 : 0);
    if (asked)
        QVERIFY(boxes.texts.first().startsWith("This session comes from 127.0.0.1"));
    QCOMPARE(ok, answer == QMessageBox::Yes || !asked);
    QCOMPARE(serverRows(kAdminQuery), QStringList{stored});
}

void TestRemoteAdminPage::viewerChangesNothing()
{
    const QStringList before = serverRows(kAdminQuery);
    QVERIFY(startConsole("viewer"));
    RemoteAdministrationWnd *page = openPage();
    QVERIFY(page);
    QCOMPARE(page->m_cboAcl->currentText(), QString("Trusted"));
    for (QWidget *widget : std::initializer_list<QWidget *>{
                 page->m_chkNetEnabled, page->m_chkAcl, page->m_cboAcl, page->m_btnEditAcl,
                 page->m_chkWebNetEnabled, page->m_chkWebAcl, page->m_cboWebAcl,
                 page->m_btnEditWebAcl})
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    page->m_chkNetEnabled->setChecked(false);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kAdminQuery), before);
}

QTEST_MAIN(TestRemoteAdminPage)
#include "test_remoteadmin.moc"

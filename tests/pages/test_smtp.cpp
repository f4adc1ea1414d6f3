// The SMTP server section in the real console against the development server:
// the relay tab (who may relay, its refusals and the open-relay question) and
// the security tab (limits, the exempt IP group), and a read-only session.
#include "forms/bspinbox.h"
#include "forms/btab.h"
#include "forms/sectionids.h"
#include "pages/definitions/gdefinitionwnd.h"
#include "pages/definitions/gformdialog.h"
#include "pages/services/aclchoice.h"
#include "pages/smtp/smtpserverrelaywnd.h"
#include "pages/smtp/smtpserversecuritywnd.h"
#include "pages/smtp/smtpserverwnd.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kRelayQuery = QStringLiteral(
        "select Enabled, AllowAcl, AllowAuth, AllowPop3BeforeSmtp, Pop3BeforeSmtpTimeout from "
        "SmtpRelay");
const QString kSecurityQuery = QStringLiteral(
        "select MaxMessagesIP, MaxConnectionsIP, MaxFailedRCPTIP, NoLimitAcl from SmtpSecurity");
const QString kSmtpQuery = QStringLiteral(
        "select VerifySenderDomain, MaxRecipients, MaxBadCommands, MaxMessageSize, MaxHops from "
        "Smtp");

} // namespace

class TestSmtpPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void relayLoadsAndSaves();
    void relayRefuses_data();
    void relayRefuses();
    void openRelayAsksFirst_data();
    void openRelayAsksFirst();
    void securityLoadsAndSaves();
    void securityRefusesEmptyLimits_data();
    void securityRefusesEmptyLimits();
    void exemptGroupChoice_data();
    void exemptGroupChoice();
    void editButtonsOpenTheGroupEditor();
    void viewerChangesNothing();

private:
    SmtpServerWnd *openSmtp();
    SmtpServerSecurityWnd *openSecurity(SmtpServerWnd *page);
};

SmtpServerWnd *TestSmtpPage::openSmtp()
{
    auto *page = dynamic_cast<SmtpServerWnd *>(openSection(SectionId::SmtpServer));
    if (page)
        (void)QTest::qWaitFor([page] { return page->relayPage()->isEnabled(); }, kTimeout);
    return page;
}

SmtpServerSecurityWnd *TestSmtpPage::openSecurity(SmtpServerWnd *page)
{
    page->tab()->setCurrentIndex(1);
    SmtpServerSecurityWnd *security = page->securityPage();
    (void)QTest::qWaitFor([security] { return security->isEnabled(); }, kTimeout);
    return security;
}

void TestSmtpPage::relayLoadsAndSaves()
{
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    QCOMPARE(page->tab()->count(), 2);
    SmtpServerRelayWnd *relay = page->relayPage();
    QVERIFY(relay->m_rbRestricted->isChecked());
    QVERIFY(relay->m_chkAcl->isChecked());
    QCOMPARE(relay->m_cboAcl->currentText(), QString("Trusted"));
    QCOMPARE(relay->m_cboAcl->count(), 3);
    QVERIFY(relay->m_chkAuth->isChecked());
    QVERIFY(relay->m_chkPop3->isChecked());
    QCOMPARE(relay->m_spPop3Timeout->value(), 15);
    QVERIFY(relay->m_spPop3Timeout->isEnabled());

    // Dependent controls follow their option.
    relay->m_chkPop3->setChecked(false);
    QVERIFY(!relay->m_spPop3Timeout->isEnabled());
    relay->m_chkAcl->setChecked(false);
    QVERIFY(!relay->m_cboAcl->isEnabled());
    relay->m_chkAcl->setChecked(true);
    relay->m_cboAcl->setCurrentIndex(relay->m_cboAcl->findText("Office"));
    emit relay->m_cboAcl->activated(relay->m_cboAcl->currentIndex());
    relay->m_chkPop3->setChecked(true);
    relay->m_spPop3Timeout->setValue(45);
    QVERIFY(pendingOperations() > 0);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kRelayQuery), QStringList{"1|Office|1|1|45"});
}

void TestSmtpPage::relayRefuses_data()
{
    QTest::addColumn<bool>("acl");
    QTest::addColumn<bool>("auth");
    QTest::addColumn<bool>("pop3");
    QTest::addColumn<bool>("clearTimeout");
    QTest::addColumn<QString>("message");
    QTest::newRow("nobody may relay")
            << false << false << false << false
            << "<nobr>You should choose users who can send email to other domains<br>or "
               "select the 'Open Relay' option.</nobr>";
    QTest::newRow("POP3 timeout empty")
            << false << false << true << true
            << "Specify correct 'Allow SMTP relay for' value before applying, please.";
}

void TestSmtpPage::relayRefuses()
{
    QFETCH(bool, acl);
    QFETCH(bool, auth);
    QFETCH(bool, pop3);
    QFETCH(bool, clearTimeout);
    QFETCH(QString, message);
    const QStringList before = serverRows(kRelayQuery);
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerRelayWnd *relay = page->relayPage();
    relay->m_chkAcl->setChecked(acl);
    relay->m_chkAuth->setChecked(auth);
    relay->m_chkPop3->setChecked(pop3);
    if (clearTimeout)
        relay->m_spPop3Timeout->clear();
    BoxAnswers boxes{QMessageBox::Ok};
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts, QStringList{message}, kTimeout);
    QVERIFY(pendingOperations() > 0);
    QCOMPARE(serverRows(kRelayQuery), before);
}

void TestSmtpPage::openRelayAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("no") << int(QMessageBox::No) << QStringList{"1|Trusted|1|1|15"};
    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringList{"0|Trusted|1|1|15"};
}

void TestSmtpPage::openRelayAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(QStringList, stored);
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerRelayWnd *relay = page->relayPage();
    relay->m_rbOpenRelay->setChecked(true);
    QVERIFY(!relay->m_chkAuth->isEnabled());
    QVERIFY(!relay->m_cboAcl->isEnabled());
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, kTimeout);
    QVERIFY(boxes.texts.first().contains("open relay"));
    if (answer == QMessageBox::Yes)
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    else
        QVERIFY(pendingOperations() > 0);
    QCOMPARE(serverRows(kRelayQuery), stored);
}

void TestSmtpPage::securityLoadsAndSaves()
{
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerSecurityWnd *security = openSecurity(page);
    QVERIFY(security->isEnabled());
    QVERIFY(security->m_chkMaxMessagesIP->isChecked());
    QCOMPARE(security->m_spMaxMessagesIP->value(), 500);
    QCOMPARE(security->m_spMaxConnectionsIP->value(), 10);
    QCOMPARE(security->m_spMaxFailedRCPTIP->value(), 20);
    QCOMPARE(security->m_cboNoLimitAcl->currentText(), QString("Trusted"));
    QVERIFY(security->m_chkVerifySenderDomain->isChecked());
    QCOMPARE(security->m_spMaxRecipients->value(), 100);
    QCOMPARE(security->m_spMaxBadCommands->value(), 10);
    QCOMPARE(security->m_spMaxMessageSize->value(), 20480);
    QCOMPARE(security->m_spMaxHops->value(), 30);

    // An unticked limit stores 0 and its box is off.
    security->m_chkMaxConnectionsIP->setChecked(false);
    QVERIFY(!security->m_spMaxConnectionsIP->isEnabled());
    security->m_spMaxMessagesIP->setValue(750);
    security->m_chkNoLimitAcl->setChecked(false);
    security->m_chkVerifySenderDomain->setChecked(false);
    security->m_spMaxMessageSize->setValue(10240);
    security->m_chkMaxHops->setChecked(false);
    security->m_spMaxRecipients->setValue(250);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kSecurityQuery), QStringList{"750|0|20|"});
    QCOMPARE(serverRows(kSmtpQuery), QStringList{"0|250|10|10240|0"});
}

void TestSmtpPage::securityRefusesEmptyLimits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");
    const auto message = [](const char *name) {
        return QString("Specify correct '%1' value before applying, please.").arg(name);
    };
    QTest::newRow("messages") << "m_spMaxMessagesIP" << message("Max. number of messages...");
    QTest::newRow("connections") << "m_spMaxConnectionsIP"
                                 << message("Max. number of concurrent SMTP connections...");
    QTest::newRow("unknown recipients")
            << "m_spMaxFailedRCPTIP" << message("Max. number of unknown recipients...");
    QTest::newRow("recipients") << "m_spMaxRecipients"
                                << message("Max. number of recipients in a message");
    QTest::newRow("failed commands")
            << "m_spMaxBadCommands" << message("Max. number of failed commands...");
    // The size and hop limits are checked like the others: never stored as 0.
    QTest::newRow("message size") << "m_spMaxMessageSize"
                                  << message("Limit maximum incoming SMTP message size");
    QTest::newRow("hops") << "m_spMaxHops"
                          << message("Maximum number of accepted Received headers");
}

void TestSmtpPage::securityRefusesEmptyLimits()
{
    QFETCH(QString, box);
    QFETCH(QString, message);
    const QStringList security = serverRows(kSecurityQuery);
    const QStringList smtp = serverRows(kSmtpQuery);
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerSecurityWnd *tab = openSecurity(page);
    auto *spin = tab->findChild<BSpinBox *>(box);
    QVERIFY(spin);
    spin->clear();
    tab->m_chkVerifySenderDomain->setChecked(false); // something to apply
    BoxAnswers boxes{QMessageBox::Ok};
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts, QStringList{message}, kTimeout);
    QCOMPARE(serverRows(kSecurityQuery), security);
    QCOMPARE(serverRows(kSmtpQuery), smtp);
}

void TestSmtpPage::exemptGroupChoice_data()
{
    QTest::addColumn<QStringList>("setUp");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored");
    // A group deleted since stays stored, though the combo cannot show it.
    QTest::newRow("deleted group kept")
            << QStringList{"delete from IpAccessList where Name='Trusted'"} << QStringList()
            << "Trusted";
    // Ticked with no group to choose: refused.
    QTest::newRow("no group refused")
            << QStringList{"delete from IpAccessList", "update SmtpSecurity set NoLimitAcl=''"}
            << QStringList{"Choose an IP address group, please."} << "";
}

void TestSmtpPage::exemptGroupChoice()
{
    QFETCH(QStringList, setUp);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    for (const QString &statement : setUp)
        QVERIFY(serverExec(statement));
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerSecurityWnd *tab = openSecurity(page);
    QCOMPARE(tab->m_cboNoLimitAcl->currentIndex(), -1);
    QCOMPARE(tab->m_chkNoLimitAcl->isChecked(), !stored.isEmpty());
    tab->m_chkNoLimitAcl->setChecked(true);
    tab->m_spMaxRecipients->setValue(99);
    BoxAnswers boxes{QMessageBox::Ok};
    apply();
    if (messages.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    else
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts, messages, kTimeout);
    QCOMPARE(boxes.texts, messages);
    QCOMPARE(serverRows("select NoLimitAcl from SmtpSecurity"), QStringList{stored});
    QCOMPARE(serverRows("select MaxRecipients from Smtp"),
             QStringList{messages.isEmpty() ? "99" : "100"});
}

void TestSmtpPage::editButtonsOpenTheGroupEditor()
{
    QVERIFY(startConsole());
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerRelayWnd *relay = page->relayPage();
    relay->m_cboAcl->setCurrentIndex(relay->m_cboAcl->findText("Office"));
    QStringList opened;
    const auto closeEditor = [&](QWidget *modal) {
        auto *editor = dynamic_cast<GFormDialog *>(modal);
        QVERIFY(editor);
        opened << editor->page()->restrictedName();
        editor->reject();
    };
    QVERIFY(withModal([&] { relay->m_btnEditAcl->click(); }, closeEditor));
    QCOMPARE(relay->m_cboAcl->currentText(), QString("Office"));
    SmtpServerSecurityWnd *security = openSecurity(page);
    QVERIFY(withModal([&] { security->m_btnEditNoLimitAcl->click(); }, closeEditor));
    QCOMPARE(opened, (QStringList{"Office", "Trusted"}));
    QCOMPARE(security->m_cboNoLimitAcl->currentText(), QString("Trusted"));
}

void TestSmtpPage::viewerChangesNothing()
{
    const QStringList relayBefore = serverRows(kRelayQuery);
    QVERIFY(startConsole("viewer"));
    SmtpServerWnd *page = openSmtp();
    QVERIFY(page);
    SmtpServerRelayWnd *relay = page->relayPage();
    QVERIFY(relay->m_rbRestricted->isChecked());
    QVERIFY(!relay->m_rbOpenRelay->isEnabled());
    QVERIFY(!relay->m_chkAuth->isEnabled());
    QVERIFY(!relay->m_cboAcl->isEnabled());
    QVERIFY(!relay->m_spPop3Timeout->isEnabled() || relay->m_spPop3Timeout->isReadOnly());
    SmtpServerSecurityWnd *security = openSecurity(page);
    QCOMPARE(security->m_spMaxHops->value(), 30);
    for (QWidget *input :
         std::initializer_list<QWidget *>{security->m_chkMaxMessagesIP, security->m_cboNoLimitAcl,
                                          security->m_chkVerifySenderDomain})
        QVERIFY2(!input->isEnabled(), qPrintable(input->objectName()));
    QVERIFY(!security->m_spMaxHops->isEnabled() || security->m_spMaxHops->isReadOnly());
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kRelayQuery), relayBefore);
}

QTEST_MAIN(TestSmtpPage)
#include "test_smtp.moc"

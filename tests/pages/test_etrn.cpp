// The "ETRN Download" section in the real console against the development
// server: the servers list and its dialog, "Download ETRN", the reply timeout
// option, the page's shape by operating system, and a read-only session.
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/bpwdlineedit.h"
#include "forms/sectionids.h"
#include "pages/etrn/etrnserversdlg.h"
#include "pages/etrn/etrnwnd.h"
#include "pagetest.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kServersQuery = QStringLiteral(
        "select Server, Domain, Auth, User, Password, Description, Enabled from Odmr");
const QString kSeededServer = QStringLiteral("backup-mx.provider.example");

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestEtrnPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void listsAndEditsServers();
    void addedServerReachesTheServer();
    void dialogRefuses_data();
    void dialogRefuses();
    void removeResetsAndApplies();
    void downloadStartsTheTransfer();
    void timeoutOption_data();
    void timeoutOption();
    void otherSystemsHaveNoOptions();
    void viewerChangesNothing();

private:
    EtrnWnd *openEtrn();
    bool editSelected(EtrnServersWnd *page, const std::function<void(EtrnServersDlg *)> &edit);
};

EtrnWnd *TestEtrnPage::openEtrn()
{
    auto *page = dynamic_cast<EtrnWnd *>(openSection(SectionId::EtrnDownload));
    if (page)
        (void)QTest::qWaitFor([page] { return page->serversPage()->isEnabled(); }, kTimeout);
    return page;
}

bool TestEtrnPage::editSelected(EtrnServersWnd *page,
                                const std::function<void(EtrnServersDlg *)> &edit)
{
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<EtrnServersDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

void TestEtrnPage::listsAndEditsServers()
{
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    QCOMPARE(page->tab()->count(), 2);
    BListView *list = page->serversPage()->listView();
    QCOMPARE(list->topLevelItemCount(), 1);
    BListViewItem *item = list->topLevelItem(0);
    QCOMPARE(item->text(0), kSeededServer);
    QCOMPARE(item->text(1), QString("example.com;example.org"));
    QCOMPARE(item->text(2), QString("Yes"));
    QCOMPARE(list->headerItem()->text(1), QString("Domain(s)"));
    QVERIFY(page->serversPage()->downloadButton()->isEnabled());

    // Clearing the authentication keeps the stored user and password.
    list->setCurrentItem(item);
    const bool edited = editSelected(page->serversPage(), [](EtrnServersDlg *dialog) {
        QCOMPARE(dialog->windowTitle(), QString("Send ETRN to specified server"));
        QVERIFY(dialog->m_gbAuth->isChecked());
        QCOMPARE(dialog->m_edUser->text(), QString("example"));
        QCOMPARE(dialog->m_edPassword->text(), BPwdLineEdit::storedPasswordText());
        dialog->m_gbAuth->setChecked(false);
        dialog->m_edDomain->setText("example.com;example.org;example.net");
        clickOk(dialog);
    });
    QVERIFY(edited);
    QCOMPARE(item->text(2), QString("No"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kServersQuery),
             QStringList{kSeededServer
                         + "|example.com;example.org;example.net|0|example|"
                           "NUL:etrn|Backup MX|1"});
}

void TestEtrnPage::addedServerReachesTheServer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    const bool added
            = withModal([&] { page->serversPage()->addButton()->click(); },
                        [](QWidget *modal) {
                            auto *dialog = dynamic_cast<EtrnServersDlg *>(modal);
                            QVERIFY(dialog);
                            QVERIFY(!dialog->m_gbAuth->isChecked());
                            QCOMPARE(dialog->m_edPassword->text(), BPwdLineEdit::newPasswordText());
                            QTest::keyClicks(dialog->m_edServer, "relay.isp.example");
                            QTest::keyClicks(dialog->m_edDomain, "example.org");
                            dialog->m_gbAuth->setChecked(true);
                            QTest::keyClicks(dialog->m_edUser, "pull");
                            QVERIFY(typePassword(dialog->m_edPassword, "Etrn'Secret\"1"));
                            clickOk(dialog);
                        });
    QVERIFY(added);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kServersQuery + " where Server='relay.isp.example'"),
             QStringList{"relay.isp.example|example.org|1|pull|NUL:Etrn'Secret\"1||1"});
    QVERIFY(trace.text().contains("relay.isp.example"));
    QVERIFY(!trace.text().contains("Secret"));
}

void TestEtrnPage::dialogRefuses_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("stored");
    const QString names = "You should enter server and domain name.";
    const QString user = "You should enter a user name.<nobr><br><br>Do you want to correct the "
                         "problem?</nobr>";
    // An empty server or domain names no row: refused even when "No" is at hand.
    QTest::newRow("no server") << ""
                               << "example.org"
                               << "u" << int(QMessageBox::No) << names << "m_edServer" << false;
    QTest::newRow("no domain") << "relay.example"
                               << ""
                               << "u" << int(QMessageBox::No) << names << "m_edDomain" << false;
    QTest::newRow("no user, correct it")
            << "relay.example"
            << "example.org"
            << "" << int(QMessageBox::Yes) << user << "m_edUser" << false;
    QTest::newRow("no user, keep it") << "relay.example"
                                      << "example.org"
                                      << "" << int(QMessageBox::No) << user << "" << true;
}

void TestEtrnPage::dialogRefuses()
{
    QFETCH(QString, server);
    QFETCH(QString, domain);
    QFETCH(QString, user);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(bool, stored);
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    QString focused;
    const bool handled = withModal([&] { page->serversPage()->addButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<EtrnServersDlg *>(modal);
                                       QVERIFY(dialog);
                                       dialog->m_edServer->setText(server);
                                       dialog->m_edDomain->setText(domain);
                                       dialog->m_gbAuth->setChecked(true);
                                       dialog->m_edUser->setText(user);
                                       clickOk(dialog);
                                       stayedOpen = dialog->isVisible();
                                       if (stayedOpen) {
                                           focused = dialog->focusWidget()
                                                   ? dialog->focusWidget()->objectName()
                                                   : QString();
                                           dialog->reject();
                                       }
                                   });
    QVERIFY(handled);
    QCOMPARE(boxes.texts, QStringList{message});
    QCOMPARE(stayedOpen, !stored);
    QCOMPARE(focused, focus);
    QCOMPARE(pendingOperations(), stored ? 1 : 0);
}

void TestEtrnPage::removeResetsAndApplies()
{
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    removeResetApply(page->serversPage(), kSeededServer,
                     "select Domain from Odmr where Server='" + kSeededServer + "'");
    // Without servers there is nothing to download.
    QVERIFY(!page->serversPage()->downloadButton()->isEnabled());
}

void TestEtrnPage::downloadStartsTheTransfer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    page->serversPage()->downloadButton()->click();
    QCOMPARE(boxes.texts,
             QStringList{"<nobr>Action started.<br>You can view its results in "
                         "the log window.</nobr>"});
    QVERIFY(mailLogTail().contains("ETRN: connecting to " + kSeededServer
                                   + " for example.com;example.org, 0 new messages"));
    // The call goes out as it is, with no argument to escape.
    QVERIFY(trace.text().contains("select run_odmr()"));
}

void TestEtrnPage::timeoutOption_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("onServer");
    QTest::newRow("accepted") << "45"
                              << "45";
    QTest::newRow("zero is refused") << "0"
                                     << "30";
    QTest::newRow("empty is refused") << ""
                                      << "30";
}

void TestEtrnPage::timeoutOption()
{
    QFETCH(QString, typed);
    QFETCH(QString, onServer);
    const bool accepted = typed == onServer;
    QVERIFY(startConsole());
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    page->tab()->setCurrentIndex(1);
    EtrnOptionsWnd *options = page->optionsPage();
    QTRY_VERIFY_WITH_TIMEOUT(options->isEnabled(), kTimeout);
    QCOMPARE(options->m_edTimeout->text(), QString("30"));
    options->m_edTimeout->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(options->m_edTimeout, Qt::Key_Delete);
    else
        QTest::keyClicks(options->m_edTimeout, typed);
    QCOMPARE(pendingOperations(), 1);
    BoxAnswers boxes(QMessageBox::Ok);
    apply();
    if (accepted) {
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
        QVERIFY(boxes.texts.isEmpty());
    } else {
        QCOMPARE(boxes.texts,
                 QStringList{"Set a correct ETRN timeout value before applying changes, please."});
        QCOMPARE(pendingOperations(), 1);
    }
    QCOMPARE(serverRows("select EtrnTimeout from Smtp"), QStringList{onServer});
}

void TestEtrnPage::otherSystemsHaveNoOptions()
{
    QVERIFY(startServer({"--os-code", "65536"}));
    QVERIFY(startConsole());
    QWidget *page = openSection(SectionId::EtrnDownload);
    QVERIFY(page);
    QVERIFY(!dynamic_cast<EtrnWnd *>(page));
    auto *servers = dynamic_cast<EtrnServersWnd *>(page);
    QVERIFY(servers);
    QVERIFY(!page->findChild<QTabWidget *>());
    QCOMPARE(servers->listView()->topLevelItemCount(), 1);
}

void TestEtrnPage::viewerChangesNothing()
{
    const QStringList before = serverRows(kServersQuery);
    QVERIFY(startConsole("viewer"));
    EtrnWnd *page = openEtrn();
    QVERIFY(page);
    EtrnServersWnd *servers = page->serversPage();
    servers->listView()->setCurrentItem(servers->listView()->topLevelItem(0));
    for (QPushButton *button :
         {servers->addButton(), servers->removeButton(), servers->downloadButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    // A row opens to be read.
    QVERIFY(servers->editButton()->isEnabled());
    QCOMPARE(changeableInRowDialog(servers->listView(), servers->listView()->topLevelItem(0)),
             QStringList());
    servers->add();
    servers->remove();
    servers->slotDownloadEtrn();
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->optionsPage()->m_edTimeout->text() == "30", kTimeout);
    QVERIFY(page->optionsPage()->m_edTimeout->isReadOnly());
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kServersQuery), before);
    QVERIFY(!mailLogTail().join('\n').contains("ETRN: connecting"));
}

QTEST_MAIN(TestEtrnPage)
#include "test_etrn.moc"

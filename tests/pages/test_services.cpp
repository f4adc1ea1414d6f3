// The Services page in the real console against the development server: the
// list and its live status, Start/Stop/Restart, the service dialog with its
// address list and port dialog, the restart offer after Apply, the IP group
// choice, and a read-only session.
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/bspinbox.h"
#include "forms/sectionids.h"
#include "pages/definitions/gdefinitionwnd.h"
#include "pages/definitions/gformdialog.h"
#include "pages/services/aclchoice.h"
#include "pages/services/servicedlg.h"
#include "pages/services/serviceitem.h"
#include "pages/services/serviceportdlg.h"
#include "pages/services/servicerestartdlg.h"
#include "pages/services/servicewnd.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kStartQuestion
        = "<nobr>You have changed listen IP addresses and ports. These changes must be applied "
          "before starting of the service.<br>Do you want to apply these changes?</nobr>";

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

QString running(const QString &service)
{
    return QStringLiteral("select running FROM service-") + service;
}

} // namespace

class TestServicesPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void listsServicesAndActsAtOnce();
    void failedStartShowsTheBoxAndTheServerState();
    void dialogStoresEveryOption();
    void cancelLeavesThePageRows();
    void addressesChangeAndRestartIsOffered();
    void startAsksToSaveChangedAddresses_data();
    void startAsksToSaveChangedAddresses();
    void restartAsksBeforeStopping();
    void portDialogRefuses_data();
    void portDialogRefuses();
    void everyAddressCannotBeRemoved();
    void groupChoice_data();
    void groupChoice();
    void editButtonOpensTheGroupEditor();
    void viewerChangesNothing();

private:
    ServiceWnd *openServices();
    ServiceItem *select(ServiceWnd *page, const QString &name);
    bool editService(ServiceWnd *page, const QString &name,
                     const std::function<void(ServiceDlg *)> &edit);
    // Adds a listen address through the dialog's list and the port dialog.
    void addAddress(ServiceDlg *dialog, const QString &address, const QString &port);
};

ServiceWnd *TestServicesPage::openServices()
{
    auto *page = dynamic_cast<ServiceWnd *>(openSection(SectionId::Services));
    if (page)
        (void)QTest::qWaitFor(
                [page] { return page->isEnabled() && page->listView()->topLevelItemCount() > 0; },
                kTimeout);
    return page;
}

ServiceItem *TestServicesPage::select(ServiceWnd *page, const QString &name)
{
    ServiceItem *item = page->serviceItem(name);
    if (item)
        page->listView()->setCurrentItem(item);
    return item;
}

bool TestServicesPage::editService(ServiceWnd *page, const QString &name,
                                   const std::function<void(ServiceDlg *)> &edit)
{
    if (!select(page, name))
        return false;
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<ServiceDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

void TestServicesPage::addAddress(ServiceDlg *dialog, const QString &address, const QString &port)
{
    bool added = false;
    // A watcher of its own: the page's one is busy with the service dialog.
    postdesk::test::ModalWatcher nested;
    nested.expect([&](QWidget *modal) {
        auto *ports = dynamic_cast<ServicePortDlg *>(modal);
        QVERIFY(ports);
        ports->m_cboAddress->setEditText(address);
        ports->m_edPort->setText(port);
        clickOk(ports);
        added = !ports->isVisible();
        if (!added)
            ports->reject();
    });
    dialog->portsList()->addButton()->click();
    QVERIFY(added);
}

void TestServicesPage::listsServicesAndActsAtOnce()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    BListView *list = page->listView();
    QCOMPARE(list->topLevelItemCount(), 12);
    QCOMPARE(list->headerItem()->text(2), QString("Startup Type"));
    QCOMPARE(list->headerItem()->text(3), QString("Limit Access"));
    const ServiceItem *smtp = page->serviceItem("smtp");
    QVERIFY(smtp);
    QCOMPARE(smtp->text(0), QString("SMTP Server"));
    QCOMPARE(smtp->text(1), QString("Running"));
    QCOMPARE(smtp->text(2), QString("Automatic"));
    QCOMPARE(page->serviceItem("http")->text(3), QString("Office"));
    QVERIFY(!page->addButton()->isVisible());
    QVERIFY(!page->removeButton()->isVisible());
    for (int id : {int(ServiceWnd::CommandStart), int(ServiceWnd::CommandStop),
                   int(ServiceWnd::CommandRestart), int(BListView::CommandEdit)})
        QVERIFY(list->menuAction(id));

    ServiceItem *nntp = select(page, "nntp");
    QCOMPARE(nntp->text(1), QString("Stopped"));
    QCOMPARE(nntp->text(2), QString("Manual"));
    QVERIFY(page->startButton()->isEnabled());
    QVERIFY(!page->stopButton()->isEnabled());
    QVERIFY(!page->restartButton()->isEnabled());

    // Start acts at once and the row shows what the server then reports.
    page->startButton()->click();
    QCOMPARE(serverRows(running("nntp")), QStringList{"1"});
    QCOMPARE(nntp->text(1), QString("Running"));
    QVERIFY(!page->startButton()->isEnabled());
    QVERIFY(page->stopButton()->isEnabled());
    QVERIFY(page->restartButton()->isEnabled());

    // Reset brings back the loaded rows, but not a state the service left.
    QVERIFY(editService(page, "nntp", [](ServiceDlg *dialog) {
        dialog->m_cboStartup->setCurrentIndex(1);
        clickOk(dialog);
    }));
    QCOMPARE(page->serviceItem("nntp")->text(2), QString("Automatic"));
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    nntp = page->serviceItem("nntp");
    QCOMPARE(nntp->text(2), QString("Manual"));
    QCOMPARE(nntp->text(1), QString("Running"));
    QCOMPARE(serverRows("select AutoStart from service-nntp"), QStringList{"0"});
    select(page, "nntp");

    // The context-menu entry is the same action.
    emit list->signalCommand(ServiceWnd::CommandStop);
    QCOMPARE(serverRows(running("nntp")), QStringList{"0"});
    QCOMPARE(nntp->text(1), QString("Stopped"));
    QVERIFY(page->startButton()->isEnabled());

    // Restart of a running service: down and up again.
    select(page, "smtp");
    page->restartButton()->click();
    QCOMPARE(serverRows(running("smtp")), QStringList{"1"});
    QCOMPARE(page->serviceItem("smtp")->text(1), QString("Running"));
    QCOMPARE(pendingOperations(), 0);
}

void TestServicesPage::failedStartShowsTheBoxAndTheServerState()
{
    // LDAP is stopped; a second listener on SMTP's port keeps it from starting.
    QVERIFY(serverExec("insert ServicePorts set Service='ldap', IPAddress='0.0.0.0', Port='25'"));
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    ServiceItem *ldap = select(page, "ldap");
    BoxAnswers boxes{QMessageBox::Close};
    page->startButton()->click();
    QCOMPARE(boxes.texts,
             QStringList{"<nobr>Failed to start the service LDAP Server.<br>Another application "
                         "is probably using service's port number.</nobr>"});
    QCOMPARE(ldap->text(1), QString("Stopped"));
    QCOMPARE(serverRows(running("ldap")), QStringList{"0"});
    QVERIFY(page->startButton()->isEnabled());

    // Once SMTP is down the port is free.
    select(page, "smtp");
    page->stopButton()->click();
    select(page, "ldap");
    page->startButton()->click();
    QCOMPARE(boxes.texts.size(), 1);
    QCOMPARE(ldap->text(1), QString("Running"));
    QCOMPARE(serverRows(running("ldap")), QStringList{"1"});
}

void TestServicesPage::dialogStoresEveryOption()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    bool newsHasAnonymous = false;
    QVERIFY(editService(page, "nntp", [&](ServiceDlg *dialog) {
        newsHasAnonymous = !dialog->m_frmAnonymous->isHidden();
        QVERIFY(!dialog->m_chkMaxConnections->isChecked());
        dialog->m_chkAnonymous->setChecked(true);
        dialog->m_chkMaxConnections->setChecked(true);
        QCOMPARE(dialog->m_spMaxConnections->minimum(), 1);
        dialog->m_spMaxConnections->setValue(42);
        clickOk(dialog);
    }));
    QVERIFY(newsHasAnonymous);
    QVERIFY(editService(page, "smtp", [](ServiceDlg *dialog) {
        QCOMPARE(dialog->m_lblName->text(), QString("SMTP Server"));
        QVERIFY(dialog->m_frmAnonymous->isHidden());
        QCOMPARE(dialog->m_cboStartup->currentIndex(), 1);
        QVERIFY(!dialog->m_chkAcl->isChecked());
        QVERIFY(dialog->m_chkMaxConnections->isChecked());
        QCOMPARE(dialog->m_spMaxConnections->value(), 200);
        // The group names come once each, however many entries a group has.
        QCOMPARE(dialog->m_cboAcl->count(), 3);
        dialog->m_cboStartup->setCurrentIndex(0);
        dialog->m_chkAcl->setChecked(true);
        dialog->m_cboAcl->setCurrentIndex(dialog->m_cboAcl->findText("Trusted"));
        // A cleared limit is stored as 0.
        dialog->m_chkMaxConnections->setChecked(false);
        QCOMPARE(dialog->m_spMaxConnections->value(), 0);
        QVERIFY(!dialog->m_spMaxConnections->isEnabled());
        clickOk(dialog);
    }));
    const ServiceItem *smtp = page->serviceItem("smtp");
    QCOMPARE(smtp->text(2), QString("Manual"));
    QCOMPARE(smtp->text(3), QString("Trusted"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select AutoStart, Acl, MaxConnections, Running from service-smtp"),
             QStringList{"0|Trusted|0|1"});
    QCOMPARE(serverRows("select MaxConnections from service-nntp"), QStringList{"42"});
    QCOMPARE(serverRows("select AnonymousAccess from Nntp"), QStringList{"1"});
}

void TestServicesPage::cancelLeavesThePageRows()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QVERIFY(editService(page, "pop3", [&](ServiceDlg *dialog) {
        addAddress(dialog, "127.0.0.1", "1110");
        QCOMPARE(dialog->portsList()->listView()->topLevelItemCount(), 2);
        dialog->m_cboStartup->setCurrentIndex(0);
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(page->serviceItem("pop3")->text(2), QString("Automatic"));
    QVERIFY(!page->portsChanged("pop3"));
}

void TestServicesPage::addressesChangeAndRestartIsOffered()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QVERIFY(editService(page, "pop3", [&](ServiceDlg *dialog) {
        QCOMPARE(dialog->portsList()->listView()->topLevelItem(0)->text(0),
                 QString("All addresses"));
        addAddress(dialog, "127.0.0.1", "1110");
        clickOk(dialog);
    }));
    QVERIFY(editService(page, "imap", [&](ServiceDlg *dialog) {
        BListView *ports = dialog->portsList()->listView();
        ports->setCurrentItem(ports->topLevelItem(0));
        postdesk::test::ModalWatcher nested;
        nested.expect([](QWidget *modal) {
            auto *port = dynamic_cast<ServicePortDlg *>(modal);
            QVERIFY(port);
            QCOMPARE(port->m_cboAddress->currentIndex(), 0);
            port->m_edPort->setText("1143");
            clickOk(port);
        });
        dialog->portsList()->editButton()->click();
        QCOMPARE(ports->topLevelItem(0)->text(1), QString("1143"));
        clickOk(dialog);
    }));
    QVERIFY(page->portsChanged("pop3"));
    QVERIFY(!page->portsChanged("smtp"));

    QStringList listed;
    QStringList results;
    QString closeText;
    const bool offered
            = withModal([this] { apply(); },
                        [&](QWidget *modal) {
                            auto *restart = dynamic_cast<ServiceRestartDlg *>(modal);
                            QVERIFY(restart);
                            QCOMPARE(restart->windowTitle(), QString("Service restart"));
                            for (int i = 0; i < restart->listView()->topLevelItemCount(); ++i)
                                listed << restart->listView()->topLevelItem(i)->text(0);
                            restart->restartButton()->click();
                            QVERIFY(restart->isDone());
                            QVERIFY(restart->cancelButton()->isHidden());
                            closeText = restart->restartButton()->text();
                            for (int i = 0; i < restart->listView()->topLevelItemCount(); ++i)
                                results << restart->listView()->topLevelItem(i)->text(2);
                            restart->restartButton()->click();
                        });
    QVERIFY(offered);
    QCOMPARE(listed, (QStringList{"POP3 Server", "IMAP Server"}));
    QCOMPARE(results, (QStringList{"Success", "Success"}));
    QCOMPARE(closeText, QString("Close"));
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select IPAddress, Port from ServicePorts where Service='pop3'"),
             (QStringList{"0.0.0.0|110", "127.0.0.1|1110"}));
    QCOMPARE(serverRows("select IPAddress, Port from ServicePorts where Service='imap'"),
             QStringList{"0.0.0.0|1143"});
    QVERIFY(!page->portsChanged("pop3"));
    QCOMPARE(serverRows(running("pop3")), QStringList{"1"});
}

void TestServicesPage::startAsksToSaveChangedAddresses_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("running");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("no: nothing is sent")
            << int(QMessageBox::No) << "0" << QStringList{"0.0.0.0|119"};
    QTest::newRow("yes: saved, then started")
            << int(QMessageBox::Yes) << "1" << QStringList{"0.0.0.0|119", "127.0.0.1|1119"};
}

void TestServicesPage::startAsksToSaveChangedAddresses()
{
    QFETCH(int, answer);
    QFETCH(QString, running);
    QFETCH(QStringList, stored);
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QVERIFY(editService(page, "nntp", [&](ServiceDlg *dialog) {
        addAddress(dialog, "127.0.0.1", "1119");
        clickOk(dialog);
    }));
    QVERIFY(pendingOperations() > 0);
    select(page, "nntp");
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    page->startButton()->click();
    QCOMPARE(boxes.texts, QStringList{kStartQuestion});
    QCOMPARE(serverRows(::running("nntp")), QStringList{running});
    QCOMPARE(serverRows("select IPAddress, Port from ServicePorts where Service='nntp'"), stored);
    // After the save the page holds nothing more to apply.
    QCOMPARE(pendingOperations() == 0, answer == QMessageBox::Yes);
    QCOMPARE(page->serviceItem("nntp")->text(1),
             running == "1" ? QString("Running") : QString("Stopped"));
}

void TestServicesPage::restartAsksBeforeStopping()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QVERIFY(editService(page, "smtp", [&](ServiceDlg *dialog) {
        addAddress(dialog, "127.0.0.1", "2525");
        clickOk(dialog);
    }));
    select(page, "smtp");
    BoxAnswers boxes{QMessageBox::No};
    page->restartButton()->click();
    QCOMPARE(boxes.texts, QStringList{kStartQuestion});
    // No cancels the restart: the service was never stopped.
    QCOMPARE(serverRows(running("smtp")), QStringList{"1"});
    QCOMPARE(page->serviceItem("smtp")->text(1), QString("Running"));
    QVERIFY(pendingOperations() > 0);

    boxes.setAnswer(QMessageBox::Yes);
    page->restartButton()->click();
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(serverRows(running("smtp")), QStringList{"1"});
    QCOMPARE(serverRows("select Port from ServicePorts where Service='smtp' and Port='2525'"),
             QStringList{"2525"});
}

void TestServicesPage::portDialogRefuses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    const QString badPort = "Specify the valid port, please.";
    const QString badAddress = "Specify the valid IP address, please.";
    QTest::newRow("empty port") << "All addresses"
                                << "" << badPort;
    QTest::newRow("port too big") << "All addresses"
                                  << "70000" << badPort;
    QTest::newRow("port text") << "127.0.0.1"
                               << "smtp" << badPort;
    QTest::newRow("short address") << "10.1"
                                   << "25" << badAddress;
    QTest::newRow("empty address") << ""
                                   << "25" << badAddress;
}

void TestServicesPage::portDialogRefuses()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, message);
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::Ok};
    bool stayedOpen = false;
    QVERIFY(editService(page, "pop3", [&](ServiceDlg *dialog) {
        postdesk::test::ModalWatcher nested;
        nested.expect([&](QWidget *modal) {
            auto *ports = dynamic_cast<ServicePortDlg *>(modal);
            QVERIFY(ports);
            ports->m_cboAddress->setEditText(address);
            ports->m_edPort->setText(port);
            clickOk(ports);
            stayedOpen = ports->isVisible();
            // "Default" fills in the service's own port.
            ports->m_btnDefault->click();
            QCOMPARE(ports->m_edPort->text(), QString("110"));
            ports->reject();
        });
        dialog->portsList()->addButton()->click();
        QCOMPARE(dialog->portsList()->listView()->topLevelItemCount(), 1);
        dialog->reject();
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(boxes.texts, QStringList{message});
    QCOMPARE(pendingOperations(), 0);
}

void TestServicesPage::everyAddressCannotBeRemoved()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QVERIFY(editService(page, "smtp", [&](ServiceDlg *dialog) {
        ServiceFormList *ports = dialog->portsList();
        BListView *list = ports->listView();
        QCOMPARE(list->topLevelItemCount(), 2);
        list->selectAll();
        QVERIFY(!ports->removeButton()->isEnabled());
        ports->remove();
        QCOMPARE(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->findItems("127.0.0.1", Qt::MatchExactly).value(0));
        QVERIFY(ports->removeButton()->isEnabled());
        ports->removeButton()->click();
        QCOMPARE(list->topLevelItemCount(), 1);
        // The last address stays.
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(!ports->removeButton()->isEnabled());
        clickOk(dialog);
    }));
    // SMTP runs: the restart is offered; Cancel leaves it running as it was.
    QVERIFY(withModal([this] { apply(); },
                      [](QWidget *modal) {
                          auto *restart = dynamic_cast<ServiceRestartDlg *>(modal);
                          QVERIFY(restart);
                          restart->cancelButton()->click();
                      }));
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select IPAddress, Port from ServicePorts where Service='smtp'"),
             QStringList{"0.0.0.0|25"});
    QCOMPARE(serverRows(running("smtp")), QStringList{"1"});
}

void TestServicesPage::groupChoice_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("service");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored");
    // A group deleted since is kept as stored, even though the combo cannot show it.
    QTest::newRow("deleted group kept") << "delete from IpAccessList where Name='Office'"
                                        << "http" << true << QStringList() << "Office";
    // Ticked with no group to choose: refused.
    QTest::newRow("no group refused")
            << "delete from IpAccessList"
            << "smtp" << true << QStringList{"Choose an IP address group, please."} << "";
    QTest::newRow("unticked stores none") << ""
                                          << "http" << false << QStringList() << "";
}

void TestServicesPage::groupChoice()
{
    QFETCH(QString, setUp);
    QFETCH(QString, service);
    QFETCH(bool, tick);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    if (!setUp.isEmpty())
        QVERIFY(serverExec(setUp));
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::Ok};
    bool accepted = false;
    QVERIFY(editService(page, service, [&](ServiceDlg *dialog) {
        if (service == "http") {
            QVERIFY(dialog->m_chkAcl->isChecked());
            QCOMPARE(dialog->m_cboAcl->currentIndex() >= 0, setUp.isEmpty());
        }
        dialog->m_chkAcl->setChecked(tick);
        dialog->m_cboStartup->setCurrentIndex(0);
        clickOk(dialog);
        accepted = !dialog->isVisible();
    }));
    QCOMPARE(boxes.texts, messages);
    QCOMPARE(accepted, messages.isEmpty());
    if (accepted) {
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    }
    QCOMPARE(serverRows("select Acl from service-" + service), QStringList{stored});
}

void TestServicesPage::editButtonOpensTheGroupEditor()
{
    QVERIFY(startConsole());
    ServiceWnd *page = openServices();
    QVERIFY(page);
    QString restrictedTo;
    QString shownAfter;
    QVERIFY(editService(page, "http", [&](ServiceDlg *dialog) {
        dialog->m_tab->setCurrentIndex(1);
        QCOMPARE(dialog->m_cboAcl->currentText(), QString("Office"));
        postdesk::test::ModalWatcher nested;
        nested.expect([&](QWidget *modal) {
            auto *editor = dynamic_cast<GFormDialog *>(modal);
            QVERIFY(editor);
            GDefinitionWnd *groups = editor->page();
            restrictedTo = groups->restrictedName();
            QVERIFY(QTest::qWaitFor([groups] { return groups->nameNode("Office"); }, kTimeout));
            BListViewItem *entry = groups->nameNode("Office")->child(0);
            QVERIFY(entry);
            entry->setCheckState(0, Qt::Unchecked);
            editor->accept();
        });
        // The combo is filled again and still shows the chosen group.
        dialog->m_btnEditAcl->click();
        shownAfter = dialog->m_cboAcl->currentText();
        QCOMPARE(dialog->m_cboAcl->count(), 3);
        dialog->reject();
    }));
    QCOMPARE(restrictedTo, QString("Office"));
    QCOMPARE(shownAfter, QString("Office"));
    QCOMPARE(serverRows("select Enabled from IpAccessList where Name='Office' and Enabled='0'"),
             QStringList{"0"});
}

void TestServicesPage::viewerChangesNothing()
{
    const QString query = "select IPAddress, Port from ServicePorts";
    const QStringList before = serverRows(query);
    QVERIFY(startConsole("viewer"));
    ServiceWnd *page = openServices();
    QVERIFY(page);
    for (const QString &name : {QString("smtp"), QString("nntp")}) {
        select(page, name);
        QVERIFY(!page->startButton()->isEnabled());
        QVERIFY(!page->stopButton()->isEnabled());
        QVERIFY(!page->restartButton()->isEnabled());
        QVERIFY(page->editButton()->isEnabled());
    }
    page->slotStart();
    QVERIFY(!page->startStop(page->serviceItem("nntp"), true));
    QCOMPARE(serverRows(running("nntp")), QStringList{"0"});
    bool opened = false;
    QVERIFY(editService(page, "smtp", [&](ServiceDlg *dialog) {
        opened = true;
        QVERIFY(!dialog->m_btnOk->isEnabled());
        QVERIFY(!dialog->m_cboStartup->isEnabled());
        QVERIFY(!dialog->m_chkMaxConnections->isEnabled());
        QVERIFY(!dialog->portsList()->addButton()->isEnabled());
        dialog->reject();
    }));
    QVERIFY(opened);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(query), before);
}

QTEST_MAIN(TestServicesPage)
#include "test_services.moc"

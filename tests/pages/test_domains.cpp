// The "Domains" section in the real console against the development server:
// the list of domains and their aliases, the domain dialog with its three
// tabs, the alias markers that never leave the console, the removal and
// rename guard, the directory binding and its test, and a read-only session.
#include "forms/bipedit.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"
#include "forms/pvnmaxsize.h"
#include "forms/pvnuserloginvalidator.h"
#include "forms/sectionids.h"
#include "pages/domains/directorynames.h"
#include "pages/domains/domainadddlg.h"
#include "pages/domains/domaindlg.h"
#include "pages/domains/domaindlgdirectoryservicetab.h"
#include "pages/domains/domaindlgforwardingtab.h"
#include "pages/domains/domainitem.h"
#include "pages/domains/domainwnd.h"
#include "pagetest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

void clickCancel(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
}

QString domainRow(const QString &columns, const QString &domain)
{
    return QStringLiteral("select %1 from Domain where Domain='%2'").arg(columns, domain);
}

QString aliasesOf(const QString &domain)
{
    return QStringLiteral("select Domain, Type, Alias from Domain where Alias='%1'").arg(domain);
}

BListViewItem *topItem(BListView *list, const QString &name)
{
    return list->findItems(name, Qt::MatchExactly, 0).value(0);
}

// Runs handler on the next modal window that is not the current one; for a
// dialog opened from inside another test handler (whose watcher timer is busy).
bool withInnerModal(const std::function<void()> &trigger,
                    const std::function<void(QWidget *)> &handler)
{
    QWidget *outer = QApplication::activeModalWidget();
    bool handled = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (handled || !modal || modal == outer || !modal->isVisible())
            return;
        handled = true;
        timer.stop();
        handler(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
    timer.start(20);
    trigger();
    return handled;
}

QStringList childNames(BListViewItem *item)
{
    QStringList names;
    for (int i = 0; item && i < item->childCount(); ++i)
        names << item->child(i)->text(0);
    names.sort();
    return names;
}

} // namespace

class TestDomainsPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void directoryNames_data();
    void directoryNames();
    void sizeGroupConvertsUnits();
    void nameFieldTyping();
    void listsDomainsAndAliases();
    void addedDomainReachesTheServer();
    void forwardingModesLoadBack_data();
    void forwardingModesLoadBack();
    void domainTabStoresItsOptions();
    void refusesBadInput();
    void aliasNamesIgnoreCase();
    void removalGuard();
    void renameGuardAndCancel();
    void unknownValuesStayUntouched();
    void testCallEscapesItsArguments();
    void removeResetsAndApplies();
    void keyboardAndNames();
    void viewerChangesNothing();

private:
    DomainWnd *openDomains();
    bool editDomain(DomainWnd *page, const QString &name,
                    const std::function<void(DomainDlg *)> &edit);
};

DomainWnd *TestDomainsPage::openDomains()
{
    auto *page = dynamic_cast<DomainWnd *>(openSection(SectionId::Domains));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled() && !page->itemsDetached(); },
                              kTimeout);
    return page;
}

bool TestDomainsPage::editDomain(DomainWnd *page, const QString &name,
                                 const std::function<void(DomainDlg *)> &edit)
{
    BListViewItem *item = topItem(page->listView(), name);
    if (!item)
        return false;
    page->listView()->setCurrentItem(item);
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<DomainDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

void TestDomainsPage::directoryNames_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("base of two parts") << "base"
                                       << "example.com"
                                       << "dc=example,dc=com";
    QTest::newRow("base of three parts") << "base"
                                         << "mail.corp.example"
                                         << "dc=mail,dc=corp,dc=example";
    QTest::newRow("base already prefixed") << "base"
                                           << "DC=example.com"
                                           << "DC=example,dc=com";
    QTest::newRow("plain bind name") << "bind"
                                     << "binder"
                                     << "uid=binder,cn=users,dc=example,dc=com";
    QTest::newRow("bind DN lower case") << "bind"
                                        << "cn=admin,dc=example,dc=com"
                                        << "cn=admin,dc=example,dc=com";
    QTest::newRow("bind DN upper case") << "bind"
                                        << "CN=x,DC=y"
                                        << "CN=x,DC=y";
    QTest::newRow("bind uid upper case") << "bind"
                                         << "UID=x"
                                         << "UID=x";
    QTest::newRow("user base") << "users"
                               << "example.com"
                               << "cn=users,dc=example,dc=com";
    QTest::newRow("group base") << "groups"
                                << "example.com"
                                << "cn=groups,dc=example,dc=com";
}

void TestDomainsPage::directoryNames()
{
    QFETCH(QString, rule);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QString result;
    if (rule == "base")
        result = directorynames::baseDn(input);
    else if (rule == "bind")
        result = directorynames::bindDn(input, "example.com");
    else if (rule == "users")
        result = directorynames::defaultUserBase(input);
    else
        result = directorynames::defaultGroupBase(input);
    QCOMPARE(result, expected);
    QCOMPARE(directorynames::isDn(result), rule != "base" || result.contains("dc="));
}

void TestDomainsPage::sizeGroupConvertsUnits()
{
    PvnMaxSizeImpl group("Maximum message size", "Use the global limit");
    group.setValue(20480);
    QVERIFY(group.m_rbMaxSize->isChecked());
    QCOMPARE(group.m_edMaxSize->text(), QString("20"));
    QCOMPARE(group.m_cboMaxSize->currentIndex(), 1);
    // The unit converts what is shown, never the limit.
    group.m_cboMaxSize->setCurrentIndex(0);
    QCOMPARE(group.m_edMaxSize->text(), QString("20480"));
    group.m_cboMaxSize->setCurrentIndex(2);
    QCOMPARE(group.m_edMaxSize->text(), QString("0.02"));
    QCOMPARE(group.value(), qint64(20480));
    // A number typed in a unit counts in that unit.
    group.m_edMaxSize->clear();
    QTest::keyClicks(group.m_edMaxSize, "1.5");
    QCOMPARE(group.value(), qint64(1536 * 1024));
    group.m_cboMaxSize->setCurrentIndex(1);
    QCOMPARE(group.m_edMaxSize->text(), QString("1536"));
    // 0 and 1 kB are the other choices' values: a typed size is at least 2 kB.
    group.m_cboMaxSize->setCurrentIndex(0);
    group.m_edMaxSize->clear();
    QTest::keyClicks(group.m_edMaxSize, "1");
    QVERIFY(!group.isAcceptable());
    QTest::keyClicks(group.m_edMaxSize, "x");
    QVERIFY(!group.isAcceptable());

    group.m_btnSetUnlimited->click();
    QCOMPARE(group.m_edMaxSize->text(), QString("Unlimited"));
    QCOMPARE(group.value(), PvnMaxSizeImpl::kUnlimited);
    for (qint64 stored : {qint64(1), qint64(-1)}) {
        group.setValue(stored);
        QCOMPARE(group.m_edMaxSize->text(), QString("Unlimited"));
        QCOMPARE(group.value(), qint64(1));
        QCOMPARE(DomainItem::sizeLimitText(stored), QString("Unlimited"));
    }
    group.setValue(0);
    QVERIFY(group.m_rbInherit->isChecked());
    QVERIFY(!group.m_edMaxSize->isEnabled());
    QCOMPARE(group.value(), qint64(0));
    QCOMPARE(DomainItem::sizeLimitText(0), QString("Global limit"));
    QCOMPARE(DomainItem::sizeLimitText(1500), QString("1500 kB"));

    // A limit above the server's SMTP limit warns.
    group.setGlobalLimit(10240, "too large");
    group.setValue(20480);
    QVERIFY(!group.m_lblWarning->isHidden());
    group.setValue(5120);
    QVERIFY(group.m_lblWarning->isHidden());

    // Several rows at once: the first choice keeps each row's limit.
    QVERIFY(group.m_rbNoChange->isHidden());
    group.setNoChangeChoice("[Don't change this setting]");
    QVERIFY(!group.m_rbNoChange->isHidden());
    QCOMPARE(group.value(), PvnMaxSizeImpl::kNoChange);
    QVERIFY(group.isAcceptable());
    QVERIFY(!group.m_edMaxSize->isEnabled());
    group.m_rbMaxSize->setChecked(true);
    QCOMPARE(group.value(), qint64(5120));
}

void TestDomainsPage::nameFieldTyping()
{
    BLineEdit edit;
    edit.setValidator(new PvnUserLoginValidator(DomainDlg::namePattern(), false, &edit));
    const QString longest(67, QLatin1Char('a'));
    QTest::keyClicks(&edit, longest);
    QCOMPARE(edit.text(), longest);
    QVERIFY(edit.hasAcceptableInput());
    QTest::keyClicks(&edit, "b");
    QCOMPARE(edit.text(), longest);
    edit.clear();
    QTest::keyClicks(&edit, "my_domain.example");
    QCOMPARE(edit.text(), QString("mydomain.example"));
}

void TestDomainsPage::listsDomainsAndAliases()
{
    QVERIFY(serverExec(
            "update Domain set MaxOutgoingMessageSize='-1' where Domain='corp.example'"));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BListView *list = page->listView();
    const QStringList titles{"Name",
                             "Type",
                             "Aliases",
                             "NT Domain",
                             "Kerberos Realm",
                             "Description",
                             "Info",
                             "Message size limit",
                             "Deleted items recovery",
                             "User count limit"};
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(list->headerItem()->text(i), titles.at(i));
    const QStringList domains = serverRows("select Domain from Domain where Type<>'2'");
    QCOMPARE(list->topLevelItemCount(), domains.size());

    BListViewItem *org = topItem(list, "example.org");
    QVERIFY(org);
    QCOMPARE(org->text(DomainItem::ColType), QString("Local"));
    QCOMPARE(childNames(org), (QStringList{"example.net", "mail.example.org"}));
    QVERIFY(org->isExpanded());
    QCOMPARE(org->text(DomainItem::ColAliases).split(", ").size(), 2);
    QCOMPARE(org->child(0)->text(DomainItem::ColType), QString("Alias"));
    QCOMPARE(org->text(DomainItem::ColSizeLimit), QString("Unlimited"));
    QCOMPARE(org->text(DomainItem::ColUserLimit), QString("25"));

    BListViewItem *com = topItem(list, "example.com");
    QVERIFY(com);
    QCOMPARE(com->text(DomainItem::ColType), QString("Local (primary)"));
    QCOMPARE(com->text(DomainItem::ColSizeLimit), QString("Global limit"));
    QCOMPARE(com->text(DomainItem::ColRecovery), QString("On"));
    QCOMPARE(com->text(DomainItem::ColInfo), QString());

    BListViewItem *corp = topItem(list, "corp.example");
    QVERIFY(corp);
    QCOMPARE(corp->text(DomainItem::ColInfo), QString("Forward to host: relay.corp.example"));
    QCOMPARE(corp->text(DomainItem::ColSizeLimit), QString("Unlimited"));
    QCOMPARE(corp->text(DomainItem::ColRecovery), QString("Off"));

    // The dialog reads -1 as "Unlimited" too, and the directory binding of the domain.
    QVERIFY(editDomain(page, "corp.example", [](DomainDlg *dialog) {
        QCOMPARE(dialog->m_maxSize->m_edMaxSize->text(), QString("Unlimited"));
        QVERIFY(dialog->m_directory->m_chkEnabled->isChecked());
        QCOMPARE(dialog->m_directory->m_edServer->text(), QString("ldap.corp.example"));
        QCOMPARE(dialog->m_directory->m_edPort->text(), QString("636"));
        QVERIFY(dialog->m_directory->m_edPassword->isPasswordStored());
        QCOMPARE(dialog->m_directory->m_edPassword->value(), QString());
        // The server offers PAM and Kerberos, not NT domains.
        QCOMPARE(dialog->authTypes(), 6);
        QVERIFY(dialog->m_edNtDomain->isHidden());
        QVERIFY(!dialog->m_edKerberos->isHidden());
        QCOMPARE(dialog->globalSizeLimit(), qint64(20480));
        clickCancel(dialog);
    }));
    QCOMPARE(pendingOperations(), 0);

    // An alias opens the dialog of its domain.
    list->setCurrentItem(org->child(0));
    const bool opened = withModal([page] { page->editButton()->click(); },
                                  [](QWidget *modal) {
                                      auto *dialog = dynamic_cast<DomainDlg *>(modal);
                                      QVERIFY(dialog);
                                      QCOMPARE(dialog->openedName(), QString("example.org"));
                                      QCOMPARE(dialog->aliasNames().size(), 2);
                                      clickCancel(dialog);
                                  });
    QVERIFY(opened);
    QCOMPARE(childNames(topItem(list, "example.org")),
             (QStringList{"example.net", "mail.example.org"}));
    QCOMPARE(pendingOperations(), 0);
}

void TestDomainsPage::addedDomainReachesTheServer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    const bool added = withModal(
            [page] { page->addButton()->click(); },
            [&](QWidget *modal) {
                auto *dialog = dynamic_cast<DomainDlg *>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->m_tab->count(), 3);
                QCOMPARE(dialog->m_tab->tabText(0), QString("Domain"));
                QCOMPARE(dialog->m_tab->tabText(1), QString("Forwarding"));
                QCOMPARE(dialog->m_tab->tabText(2), QString("Directory Service"));
                QVERIFY(!dialog->m_chkKeepDeleted->isChecked());
                QCOMPARE(dialog->m_edKeepDeleted->text(), QString("30"));
                QTest::keyClicks(dialog->m_edName, "branch.example");
                dialog->m_edDescription->setText("Branch \"north\" \\ 'east'");
                dialog->m_maxSize->m_rbMaxSize->setChecked(true);
                dialog->m_maxSize->m_btnSetUnlimited->click();
                dialog->m_chkKeepDeleted->setChecked(true);
                dialog->m_edKeepDeleted->setText("7");
                dialog->m_chkFooter->setChecked(true);
                dialog->m_edFooter->setPlainText("-- \nBranch office");
                dialog->m_chkLocalFooter->setChecked(true);
                dialog->m_chkBindIp->setChecked(true);
                dialog->m_edBindIp->setText("10.0.0.7");

                // An alias through its own dialog.
                const bool aliasAdded = withInnerModal(
                        [dialog] { dialog->m_btnAddAlias->click(); },
                        [](QWidget *inner) {
                            auto *add = dynamic_cast<DomainAddDlg *>(inner);
                            QVERIFY(add);
                            QTest::keyClicks(add->m_edAlias, "Branch-Alias.example");
                            clickOk(add);
                            QVERIFY(!add->isVisible());
                        });
                QVERIFY(aliasAdded);
                QCOMPARE(dialog->aliasNames(), QStringList{"Branch-Alias.example"});

                DomainDlgForwardingTab *forwarding = dialog->m_forwarding;
                forwarding->m_chkForward->setChecked(true);
                forwarding->m_edHost->setText("relay.branch.example");
                forwarding->m_edPort->setText("2525");
                forwarding->m_rbEtrn->setChecked(true);
                forwarding->m_rbNoForwardAlias->setChecked(true);

                DomainDlgDirectoryServiceTab *directory = dialog->m_directory;
                directory->m_chkEnabled->setChecked(true);
                QCOMPARE(directory->m_edUserBase->text(), QString("cn=users,dc=branch,dc=example"));
                QCOMPARE(directory->m_edGroupBase->text(),
                         QString("cn=groups,dc=branch,dc=example"));
                QCOMPARE(directory->m_edPort->text(), QString("389"));
                directory->m_edServer->setText("ldap.branch.example");
                directory->m_edBindDn->setText("binder");
                QCOMPARE(directory->m_edPassword->echoMode(), QLineEdit::Normal); // the placeholder
                QVERIFY(typePassword(directory->m_edPassword, "Dir-Secr3t"));
                QCOMPARE(directory->m_edPassword->echoMode(), QLineEdit::Password);
                directory->m_btnTest->click();
                QCOMPARE(boxes.texts.size(), 1);
                QVERIFY2(boxes.texts.first().startsWith("Directory server connection has been "
                                                        "successfully tested."),
                         qPrintable(boxes.texts.first()));
                QVERIFY(boxes.texts.first().contains("Directory server:\nConnected to "
                                                     "ldap.branch.example:389"));
                clickOk(dialog);
                QVERIFY(!dialog->isVisible());
            });
    QVERIFY(added);
    BListViewItem *item = topItem(page->listView(), "branch.example");
    QVERIFY(item);
    QCOMPARE(childNames(item), QStringList{"Branch-Alias.example"});
    QCOMPARE(page->listView()->currentItem(), item);
    QCOMPARE(item->text(DomainItem::ColSizeLimit), QString("Unlimited"));
    QCOMPARE(pendingOperations(), 3);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);

    QCOMPARE(serverRows(domainRow("Domain, Type, Description, MaxOutgoingMessageSize, "
                                  "DeletedMsgExpiration, Footer, localDomainInsertFooter, BindIp, "
                                  "FwMode, FwOffline, FwHost, FwPort, FwAliasMode",
                                  "branch.example")),
             QStringList{"branch.example|1|Branch \"north\" \\ 'east'|1|7|-- \nBranch "
                         "office|0|10.0.0.7|2|0|relay.branch.example|2525|2"});
    QCOMPARE(serverRows(aliasesOf("branch.example")),
             QStringList{"Branch-Alias.example|2|branch.example"});
    QCOMPARE(serverRows("select Domain, ServerName, ServerPort, BindDN, UserBaseDN, GroupBaseDN "
                        "from DirectoryService where Domain='branch.example'"),
             QStringList{"branch.example|ldap.branch.example|389|uid=binder,cn=users,dc=branch,"
                         "dc=example|cn=users,dc=branch,dc=example|cn=groups,dc=branch,"
                         "dc=example"});
    const QString log = trace.text();
    QVERIFY(log.contains("insert Domain"));
    QVERIFY(log.contains("LdapTestPvnExtensions("));
    // Markers stay in the console, the password in its field.
    QVERIFY(!log.contains("$$$"));
    QVERIFY(!log.contains("Dir-Secr3t"));
}

void TestDomainsPage::forwardingModesLoadBack_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("offline");
    QTest::addColumn<QString>("button");
    QTest::newRow("online") << 1 << 0 << "m_rbOnline";
    QTest::newRow("scheduler") << 1 << 1 << "m_rbScheduler";
    QTest::newRow("etrn") << 2 << 0 << "m_rbEtrn";
    QTest::newRow("off, scheduler kept") << 0 << 1 << "m_rbScheduler";
}

void TestDomainsPage::forwardingModesLoadBack()
{
    QFETCH(int, mode);
    QFETCH(int, offline);
    QFETCH(QString, button);
    QVERIFY(serverExec(QStringLiteral("update Domain set FwMode='%1', FwOffline='%2' where "
                                      "Domain='corp.example'")
                               .arg(mode)
                               .arg(offline)));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(editDomain(page, "corp.example", [&](DomainDlg *dialog) {
        DomainDlgForwardingTab *forwarding = dialog->m_forwarding;
        QCOMPARE(forwarding->m_chkForward->isChecked(), mode != 0);
        auto *chosen = forwarding->findChild<QRadioButton *>(button);
        QVERIFY(chosen);
        QVERIFY(chosen->isChecked());
        dialog->m_edDescription->setText("touched");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(domainRow("FwMode, FwOffline, Description", "corp.example")),
             QStringList{QStringLiteral("%1|%2|touched").arg(mode).arg(offline)});
}

void TestDomainsPage::domainTabStoresItsOptions()
{
    // example.com keeps deleted items 14 days and appends its footer to local mail too.
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(editDomain(page, "example.com", [](DomainDlg *dialog) {
        QVERIFY(dialog->m_chkKeepDeleted->isChecked());
        QCOMPARE(dialog->m_edKeepDeleted->text(), QString("14"));
        QVERIFY(dialog->m_chkFooter->isChecked());
        QVERIFY(dialog->m_chkLocalFooter->isChecked()); // stored 0
        QVERIFY(!dialog->m_chkBindIp->isChecked());
        QVERIFY(dialog->m_maxSize->m_rbInherit->isChecked());
        dialog->m_chkKeepDeleted->setChecked(false);
        dialog->m_chkLocalFooter->setChecked(false);
        dialog->m_maxSize->setValue(10240);
        dialog->m_chkUserLimit->setChecked(true);
        dialog->m_edUserLimit->setText("40");
        dialog->m_edPamService->setText("mail-auth");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(topItem(page->listView(), "example.com")->text(DomainItem::ColSizeLimit),
             QString("10 MB"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(domainRow("DeletedMsgExpiration, localDomainInsertFooter, "
                                  "MaxOutgoingMessageSize, MaxUserCount, PamService, BindIp",
                                  "example.com")),
             QStringList{"0|1|10240|40|mail-auth|0.0.0.0"});
}

void TestDomainsPage::refusesBadInput()
{
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    const bool handled = withModal(
            [page] { page->addButton()->click(); },
            [&](QWidget *modal) {
                auto *dialog = dynamic_cast<DomainDlg *>(modal);
                QVERIFY(dialog);
                DomainDlgForwardingTab *forwarding = dialog->m_forwarding;
                auto refused = [&](const QString &message, QWidget *tab) {
                    boxes.texts.clear();
                    clickOk(dialog);
                    QVERIFY(dialog->isVisible());
                    QCOMPARE(boxes.texts, QStringList{message});
                    QCOMPARE(dialog->m_tab->currentWidget(), tab);
                };
                refused("You must enter a domain name.", dialog->m_domainTab);
                QTest::keyClicks(dialog->m_edName, "fresh.example");
                dialog->m_chkKeepDeleted->setChecked(true);
                dialog->m_edKeepDeleted->setText("0");
                refused("Set a valid value for the \"Keep deleted messages for...\" option, "
                        "please.",
                        dialog->m_domainTab);
                dialog->m_edKeepDeleted->setText("10");

                // The port counts only while forwarding is on.
                forwarding->m_edPort->setText("0");
                forwarding->m_chkForward->setChecked(true);
                forwarding->m_edHost->setText("relay.example");
                refused("Specify a valid port, please.", forwarding);
                QCOMPARE(forwarding->m_edPort->selectedText(), QString("0"));
                forwarding->m_edPort->setText("25");

                // No host: the correction question; Yes stays at the host.
                forwarding->m_edHost->clear();
                boxes.setAnswer(QMessageBox::Yes);
                boxes.texts.clear();
                clickOk(dialog);
                QVERIFY(dialog->isVisible());
                QCOMPARE(
                        boxes.texts,
                        QStringList{"You should specify the forward host.<nobr><br><br>Do you want "
                                    "to correct the problem?</nobr>"});
                forwarding->m_chkForward->setChecked(false);
                forwarding->m_edPort->setText("0");

                // A name already used, in another letter case.
                dialog->m_edName->setText("EXAMPLE.com");
                boxes.setAnswer(QMessageBox::Ok);
                refused("Domain or alias with this name is already defined!", dialog->m_domainTab);
                dialog->m_edName->setText("Mail.Example.ORG");
                refused("Domain or alias with this name is already defined!", dialog->m_domainTab);

                dialog->m_edName->setText("fresh.example");
                dialog->m_maxSize->m_rbMaxSize->setChecked(true);
                dialog->m_maxSize->m_edMaxSize->setText("lots");
                refused("Set a valid message size limit, please.", dialog->m_domainTab);
                dialog->m_maxSize->m_edMaxSize->setText("3");
                dialog->m_chkFooter->setChecked(true);
                boxes.setAnswer(QMessageBox::No);
                boxes.texts.clear();
                clickOk(dialog); // an empty footer may stand
                QVERIFY(!dialog->isVisible());
                QCOMPARE(boxes.texts,
                         QStringList{"You should enter a footer text.<nobr><br><br>Do you "
                                     "want to correct the problem?</nobr>"});
            });
    QVERIFY(handled);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    // With forwarding off, the port that was not acceptable is not written.
    QCOMPARE(serverRows(domainRow("FwMode, FwPort, MaxOutgoingMessageSize, DeletedMsgExpiration",
                                  "fresh.example")),
             QStringList{"0|25|3|10"});
}

void TestDomainsPage::aliasNamesIgnoreCase()
{
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(editDomain(page, "example.org", [](DomainDlg *dialog) {
        QCOMPARE(dialog->m_lstAliases->currentRow(), 0);
        QCOMPARE(dialog->addAlias(""), QString("The alias name cannot be empty."));
        QCOMPARE(dialog->addAlias("EXAMPLE.org"),
                 QString("The alias name cannot be identical with the domain name."));
        QCOMPARE(dialog->addAlias("Mail.Example.Org"),
                 QString("Domain or alias with this name is already defined!"));
        QCOMPARE(dialog->addAlias("Corp.Example"),
                 QString("Domain or alias with this name is already defined!"));
        // A removed alias may come back under the same name in any case.
        dialog->m_lstAliases->setCurrentRow(dialog->aliasNames().indexOf("mail.example.org"));
        dialog->removeSelectedAlias();
        QCOMPARE(dialog->aliasNames(), QStringList{"example.net"});
        QCOMPARE(dialog->addAlias("MAIL.example.org"), QString());
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QStringList aliases = serverRows(aliasesOf("example.org"));
    QCOMPARE(aliases.size(), 2);
    QVERIFY(aliases.contains("mail.example.org|2|example.org"));
}

void TestDomainsPage::removalGuard()
{
    struct Holder
    {
        const char *domain;
        const char *statement;
        const char *reason;
    };
    const Holder holders[] = {
            {"h-alias.example", "insert Alias set Lhs='x', Domain='H-Alias.example', Rhs='a@b.c'",
             "contains aliases. Remove them first."},
            {"h-user.example", "insert User set Name='u', Domain='h-user.example'",
             "contains users. Remove them first."},
            {"h-group.example", "insert Group set Name='g', Domain='h-group.EXAMPLE'",
             "contains groups. Remove them first."},
            {"h-template.example", "insert Template set Tempname='t', Domain='h-template.example'",
             "contains user templates. Remove them first."},
            {"h-list.example", "insert MailingList set Name='l', Domain='h-list.example'",
             "contains mailing lists. Remove them first."},
            {"h-domalias.example",
             "insert Domain set Domain='da.example', Type='2', Alias='h-domalias.example'",
             "contains domain aliases. Remove them first."},
    };
    for (const Holder &holder : holders) {
        QVERIFY(serverExec(
                QStringLiteral("insert Domain set Domain='%1', Type='1'").arg(holder.domain)));
        QVERIFY2(serverExec(holder.statement), holder.statement);
    }
    QVERIFY(serverExec("insert Domain set Domain='free.example', Type='1'"));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BListView *list = page->listView();
    BoxAnswers boxes(QMessageBox::Ok);
    for (const Holder &holder : holders) {
        const QString domain = QString::fromLatin1(holder.domain);
        boxes.texts.clear();
        list->setCurrentItem(topItem(list, domain));
        page->removeButton()->click();
        QCOMPARE(boxes.texts,
                 QStringList{QStringLiteral("Domain %1 %2").arg(domain, holder.reason)});
        QVERIFY(topItem(list, domain));
    }
    QCOMPARE(pendingOperations(), 0);

    // A domain selected together with all its aliases may go.
    BListViewItem *domainAlias = topItem(list, "h-domalias.example");
    QCOMPARE(domainAlias->childCount(), 1);
    list->clearSelection();
    domainAlias->setSelected(true);
    domainAlias->child(0)->setSelected(true);
    topItem(list, "free.example")->setSelected(true);
    boxes.texts.clear();
    page->removeButton()->click();
    QCOMPARE(boxes.texts, QStringList());
    QVERIFY(!topItem(list, "h-domalias.example"));
    QVERIFY(!topItem(list, "free.example"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    for (const char *gone : {"free.example", "da.example", "h-domalias.example"})
        QCOMPARE(serverRows(domainRow("Domain", gone)), QStringList());
    QCOMPARE(serverRows(domainRow("Domain", "h-user.example")), QStringList{"h-user.example"});
}

void TestDomainsPage::renameGuardAndCancel()
{
    QVERIFY(serverExec("insert Domain set Domain='held.example', Type='1'"));
    QVERIFY(serverExec("insert Template set Tempname='t', Domain='held.example'"));
    QVERIFY(serverExec("insert Domain set Domain='r2.example', Type='1'"));
    QVERIFY(serverExec("insert Domain set Domain='r2a.example', Type='2', Alias='r2.example'"));
    QVERIFY(serverExec("insert DirectoryService set Domain='r2.example', ServerName='ldap.r2', "
                       "UserBaseDN='cn=users,dc=r2,dc=example', "
                       "GroupBaseDN='cn=groups,dc=r2,dc=example'"));
    TraceCapture trace;
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(editDomain(page, "held.example", [&](DomainDlg *dialog) {
        dialog->m_edName->setText("moved.example");
        clickOk(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(boxes.texts,
                 QStringList{"Domain held.example contains user templates. Remove them first."});
        // Another letter case is the same name: nothing to guard.
        boxes.texts.clear();
        dialog->m_edName->setText("Held.example");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
        QVERIFY(boxes.texts.isEmpty());
    }));

    // Cancel: the aliases stay under the name the dialog opened with.
    auto editAliases = [&](DomainDlg *dialog) {
        QCOMPARE(dialog->aliasNames(), QStringList{"r2a.example"});
        dialog->m_lstAliases->setCurrentRow(0);
        dialog->removeSelectedAlias();
        QCOMPARE(dialog->addAlias("r2b.example"), QString());
        dialog->m_edName->setText("r3.example");
    };
    QVERIFY(editDomain(page, "r2.example", [&](DomainDlg *dialog) {
        editAliases(dialog);
        clickCancel(dialog);
    }));
    BListViewItem *item = topItem(page->listView(), "r2.example");
    QVERIFY(item);
    QCOMPARE(childNames(item), QStringList{"r2a.example"});
    QVERIFY(editDomain(page, "r2.example", [&](DomainDlg *dialog) {
        editAliases(dialog); // also proves the first dialog left no markers behind
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    item = topItem(page->listView(), "r3.example");
    QVERIFY(item);
    QCOMPARE(childNames(item), QStringList{"r2b.example"});
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(aliasesOf("r3.example")), QStringList{"r2b.example|2|r3.example"});
    QCOMPARE(serverRows(domainRow("Domain", "r2a.example")), QStringList());
    QCOMPARE(serverRows(domainRow("Domain", "Held.example")), QStringList{"Held.example"});
    QCOMPARE(serverRows("select Domain, ServerName from DirectoryService where "
                        "Domain='r3.example'"),
             QStringList{"r3.example|ldap.r2"});
    QVERIFY(trace.text().contains("update Domain"));
    QVERIFY(!trace.text().contains("$$$"));
}

void TestDomainsPage::unknownValuesStayUntouched()
{
    QVERIFY(serverExec("update Domain set Type='7', FwAliasMode='1' where Domain='corp.example'"));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(editDomain(page, "corp.example", [](DomainDlg *dialog) {
        QCOMPARE(dialog->m_cboType->currentIndex(), -1);
        QVERIFY(!dialog->m_forwarding->m_rbForwardAlias->isChecked());
        QVERIFY(!dialog->m_forwarding->m_rbNoForwardAlias->isChecked());
        dialog->m_edDescription->setText("kept");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(domainRow("Type, FwAliasMode, Description", "corp.example")),
             QStringList{"7|1|kept"});
}

void TestDomainsPage::testCallEscapesItsArguments()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(editDomain(page, "corp.example", [&](DomainDlg *dialog) {
        DomainDlgDirectoryServiceTab *directory = dialog->m_directory;
        dialog->m_tab->setCurrentWidget(directory);
        directory->m_edServer->setText("ldap\"x\\y");
        directory->m_btnTest->click();
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.first().contains("Connected to ldap\"x\\y:636"),
                 qPrintable(boxes.texts.first()));
        // A server that does not answer is reported, not hidden.
        boxes.texts.clear();
        directory->m_edServer->setText("unreachable.example");
        directory->m_btnTest->click();
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(!boxes.texts.first().contains("successfully"));
        clickCancel(dialog);
    }));
    // The stored password travels masked.
    QVERIFY(trace.text().contains("LdapTestPvnExtensions("));
    QVERIFY(!trace.text().contains("NUL:directory"));
    QCOMPARE(pendingOperations(), 0);

    // Switching the binding off removes it on the server.
    QVERIFY(editDomain(page, "corp.example", [](DomainDlg *dialog) {
        dialog->m_directory->m_chkEnabled->setChecked(false);
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Domain from DirectoryService where Domain='corp.example'"),
             QStringList());
    QVERIFY(!trace.text().contains("$$$"));
}

void TestDomainsPage::removeResetsAndApplies()
{
    QVERIFY(serverExec("insert Domain set Domain='spare.example', Type='1'"));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    removeResetApply(page, "spare.example", domainRow("Domain", "spare.example"));
}

void TestDomainsPage::keyboardAndNames()
{
    QVERIFY(serverExec("insert Domain set Domain='spare.example', Type='1'"));
    QVERIFY(startConsole());
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(!page->listView()->accessibleName().isEmpty());
    QVERIFY(editDomain(page, "example.com", [](DomainDlg *dialog) {
        // Every input is named by its label or by an accessible name.
        QSet<const QWidget *> labelled;
        for (const QLabel *label : dialog->findChildren<QLabel *>()) {
            if (label->buddy())
                labelled.insert(label->buddy());
        }
        const QList<QWidget *> inputs = dialog->findChildren<QWidget *>();
        for (const QWidget *input : inputs) {
            const bool field = qobject_cast<const QLineEdit *>(input)
                    || qobject_cast<const QComboBox *>(input)
                    || qobject_cast<const QPlainTextEdit *>(input)
                    || qobject_cast<const QListWidget *>(input);
            if (!field || input->parent()->inherits("QComboBox"))
                continue;
            QVERIFY2(labelled.contains(input) || !input->accessibleName().isEmpty(),
                     qPrintable(input->objectName()));
        }
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (qobject_cast<const QTabBar *>(button->parent()) || button->isHidden())
                continue;
            QVERIFY2(!button->text().isEmpty(), qPrintable(button->objectName()));
        }
        // Escape cancels.
        dialog->m_edDescription->setText("not kept");
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(pendingOperations(), 0);
    QVERIFY(editDomain(page, "example.com", [](DomainDlg *dialog) {
        QCOMPARE(dialog->m_edDescription->text(), QString("Head office"));
        dialog->m_edDescription->setText("Head office (main)");
        QTest::keyClick(dialog->m_edDescription, Qt::Key_Return); // Enter accepts
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(topItem(page->listView(), "example.com")->text(DomainItem::ColDescription),
             QString("Head office (main)"));

    // Delete on the list removes.
    page->listView()->setCurrentItem(topItem(page->listView(), "spare.example"));
    page->listView()->setFocus();
    QTest::keyClick(page->listView(), Qt::Key_Delete);
    QVERIFY(!topItem(page->listView(), "spare.example"));
    QCOMPARE(pendingOperations(), 2);
}

void TestDomainsPage::viewerChangesNothing()
{
    const QStringList before = serverRows("select Domain, Description from Domain");
    QVERIFY(startConsole("viewer"));
    DomainWnd *page = openDomains();
    QVERIFY(page);
    QVERIFY(page->listView()->topLevelItemCount() > 0);
    page->listView()->setCurrentItem(topItem(page->listView(), "example.net")
                                             ? topItem(page->listView(), "example.net")
                                             : page->listView()->topLevelItem(0));
    QVERIFY(!page->addButton()->isEnabled());
    QVERIFY(!page->removeButton()->isEnabled());
    // A domain opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    const QStringList changeable
            = changeableInRowDialog(page->listView(), page->listView()->currentItem());
    QVERIFY2(changeable.isEmpty(), qPrintable(changeable.join(", ")));
    page->remove();
    page->add();
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows("select Domain, Description from Domain"), before);
}

QTEST_MAIN(TestDomainsPage)
#include "test_domains.moc"

// The "POP3 Download" section in the real console against the development
// server: the accounts and sorting rules it lists, the dialogs' checks and
// what they store, "Download POP3", and a read-only session.
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"
#include "forms/sectionids.h"
#include "pages/pop3/finduserdlg.h"
#include "pages/pop3/pop3accountsdlg.h"
#include "pages/pop3/pop3rulesdlg.h"
#include "pages/pop3/pop3rulesvalidator.h"
#include "pages/pop3/pop3wnd.h"
#include "pages/pop3/sizeunits.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

const QString kAccountsQuery = QStringLiteral(
        "select Server, User, Password, Mbox, SslMode, Port, Auth_type, Max_msgcount, "
        "Max_msgsize, Enabled, DropDuplicates, Description from Pop3");

BListViewItem *findItem(BListView *list, const QString &first)
{
    const auto found = list->findItems(first, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
}

// A cell of the row whose first cell reads first; empty while there is none.
QString cellOf(BListView *list, const QString &first, int column)
{
    const BListViewItem *item = findItem(list, first);
    return item ? item->text(column) : QString();
}

void clickOk(QDialog *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    buttons->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestPop3Page : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void rulesValidator_data();
    void rulesValidator();
    void sizeUnits_data();
    void sizeUnits();
    void listsWhatTheServerHolds();
    void addedAccountReachesTheServer();
    void editKeepsWhatWasNotTouched();
    void editsShowInTheList();
    void portFollowsOnlyTheDefault();
    void accountDialogRefuses_data();
    void accountDialogRefuses();
    void sortingRules_data();
    void sortingRules();
    void selectFindsUsersAndGroups();
    void removeResetsAndApplies();
    void downloadStartsTheTransfer();
    void downloadAsksToApplyFirst_data();
    void downloadAsksToApplyFirst();
    void viewerChangesNothing();

private:
    Pop3Wnd *openPop3();
};

void TestPop3Page::rulesValidator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("asSortAddress");
    QTest::addColumn<int>("asDeliverTo");
    const int ok = QValidator::Acceptable, mid = QValidator::Intermediate,
              bad = QValidator::Invalid;
    QTest::newRow("empty") << "" << mid << mid;
    QTest::newRow("lone wildcard") << "*" << ok << mid;
    QTest::newRow("domain wildcard") << "*@example.com" << ok << ok;
    QTest::newRow("two wildcards") << "*@*.example.com" << bad << bad;
    QTest::newRow("wildcard not first") << "a*@example.com" << bad << bad;
    QTest::newRow("wildcard without at") << "*example.com" << bad << bad;
    QTest::newRow("address") << "bob@example.com" << ok << ok;
}

void TestPop3Page::rulesValidator()
{
    QFETCH(QString, text);
    QFETCH(int, asSortAddress);
    QFETCH(int, asDeliverTo);
    Pop3RulesValidator sortAddress(true), deliverTo(false);
    int pos = 0;
    QString copy = text;
    QCOMPARE(int(sortAddress.validate(copy, pos)), asSortAddress);
    copy = text;
    QCOMPARE(int(deliverTo.validate(copy, pos)), asDeliverTo);
}

void TestPop3Page::sizeUnits_data()
{
    QTest::addColumn<qint64>("kilobytes");
    QTest::addColumn<int>("unit");
    QTest::newRow("zero") << qint64(0) << int(sizeunits::KB);
    QTest::newRow("not a multiple of 1024") << qint64(1500000) << int(sizeunits::KB);
    QTest::newRow("megabytes") << qint64(3 * 1024) << int(sizeunits::MB);
    QTest::newRow("gigabytes") << qint64(2 * 1024 * 1024) << int(sizeunits::GB);
    QTest::newRow("megabytes above a gigabyte") << qint64(1025 * 1024) << int(sizeunits::MB);
}

void TestPop3Page::sizeUnits()
{
    QFETCH(qint64, kilobytes);
    QFETCH(int, unit);
    QCOMPARE(sizeunits::largestExactUnit(kilobytes), unit);
    const qint64 number = kilobytes / sizeunits::unitFactor(unit);
    QCOMPARE(sizeunits::toKilobytes(number, unit), kilobytes);
}

Pop3Wnd *TestPop3Page::openPop3()
{
    auto *page = dynamic_cast<Pop3Wnd *>(openSection(SectionId::Pop3Download));
    if (page)
        (void)QTest::qWaitFor([page] { return page->accountsPage()->isEnabled(); }, kTimeout);
    return page;
}

void TestPop3Page::listsWhatTheServerHolds()
{
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BListView *accounts = page->accountsPage()->listView();
    QCOMPARE(accounts->topLevelItemCount(), 2);
    BListViewItem *office = findItem(accounts, "pop.provider.example");
    QVERIFY(office);
    QCOMPARE(office->text(1), QString("office"));
    QCOMPARE(office->text(2), QString("Sort with header \"X-Envelope-To\""));
    QCOMPARE(office->checkState(0), Qt::Checked);
    BListViewItem *isp = findItem(accounts, "pop.isp.example");
    QVERIFY(isp);
    QCOMPARE(isp->text(2), QString("To mailbox alice@example.com"));
    QCOMPARE(isp->text(5), QString("Special port"));
    QCOMPARE(isp->checkState(0), Qt::Unchecked);
    QCOMPARE(accounts->headerItem()->text(0), QString("POP3 Server"));
    QVERIFY(page->accountsPage()->downloadButton()->isEnabled());

    // The rules load when their tab is shown.
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->isEnabled(), kTimeout);
    BListView *rules = page->rulesPage()->listView();
    BListViewItem *rule = findItem(rules, "*@example.com");
    QVERIFY(rule);
    QCOMPARE(rule->text(1), QString("admin@example.com"));
    QCOMPARE(rules->headerItem()->text(0), QString("Sort Address"));

    // Unchecking an account disables it on the server after Apply.
    office->setCheckState(0, Qt::Unchecked);
    QCOMPARE(pendingOperations(), 1);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Enabled from Pop3 where Server='pop.provider.example'"),
             QStringList{"0"});
}

void TestPop3Page::addedAccountReachesTheServer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    const bool handled = withModal([&] { page->accountsPage()->addButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<Pop3AccountsDlg *>(modal);
                                       QVERIFY(dialog);
                                       QCOMPARE(dialog->windowTitle(), QString("POP3 Account"));
                                       QCOMPARE(dialog->m_edPort->text(), QString("110"));
                                       QTest::keyClicks(dialog->m_edServer, "pop.new.example");
                                       QTest::keyClicks(dialog->m_edUser, "carol");
                                       QVERIFY(typePassword(dialog->m_edPassword, "Sekr3t-Pop"));
                                       dialog->m_rbSort->click();
                                       dialog->m_cboSort->setCurrentIndex(
                                               dialog->m_cboSort->findText("Delivered-To"));
                                       dialog->m_cboAuth->setCurrentIndex(1);
                                       dialog->m_chkSsl->click();
                                       QCOMPARE(dialog->m_edPort->text(), QString("995"));
                                       QTest::keyClicks(dialog->m_edMaxSize, "2");
                                       dialog->m_cboKB->setCurrentIndex(sizeunits::MB);
                                       emit dialog->m_cboKB->activated(sizeunits::MB);
                                       dialog->m_edMaxMsg->setText("50");
                                       clickOk(dialog);
                                   });
    QVERIFY(handled);
    QCOMPARE(pendingOperations(), 1);
    BListViewItem *added = findItem(page->accountsPage()->listView(), "pop.new.example");
    QVERIFY(added);
    QCOMPARE(added->text(2), QString("Sort with header \"Delivered-To\""));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kAccountsQuery + " where Server='pop.new.example'"),
             QStringList{"pop.new.example|carol|NUL:Sekr3t-Pop|{Delivered-To}|1|995|1|50|2048|1|"
                         "0|"});
    // The insert was traced, its password was not.
    QVERIFY(trace.text().contains("pop.new.example"));
    QVERIFY(!trace.text().contains("Sekr3t-Pop"));
}

void TestPop3Page::editKeepsWhatWasNotTouched()
{
    // A size that no unit above kB divides, and a stored password.
    QVERIFY(serverExec(
            "update Pop3 set Max_msgsize='1500000' where Server='pop.provider.example'"));
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BListView *list = page->accountsPage()->listView();
    list->setCurrentItem(findItem(list, "pop.provider.example"));
    const bool handled = withModal(
            [&] { page->accountsPage()->editButton()->click(); },
            [&](QWidget *modal) {
                auto *dialog = dynamic_cast<Pop3AccountsDlg *>(modal);
                QVERIFY(dialog);
                QVERIFY(dialog->m_rbSort->isChecked());
                QVERIFY(!dialog->m_edAddress->isEnabled());
                QCOMPARE(dialog->m_cboSort->currentText(), QString("X-Envelope-To"));
                QCOMPARE(dialog->m_edMaxSize->text(), QString("1500000"));
                QCOMPARE(dialog->m_cboKB->currentIndex(), int(sizeunits::KB));
                QVERIFY(dialog->m_edPassword->isDummy());
                QCOMPARE(dialog->m_edPassword->text(), BPwdLineEdit::storedPasswordText());
                dialog->m_edDescription->setText("Only the description changed");
                clickOk(dialog);
            });
    QVERIFY(handled);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Password, Max_msgsize, Description, Mbox from Pop3 where "
                        "Server='pop.provider.example'"),
             QStringList{"NUL:provider|1500000|Only the description changed|{X-Envelope-To}"});
}

void TestPop3Page::editsShowInTheList()
{
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BListView *accounts = page->accountsPage()->listView();
    BListViewItem *office = findItem(accounts, "pop.provider.example");
    QVERIFY(office);
    const QString storedDescription = office->text(3);
    QVERIFY(storedDescription != "Edited from the list");
    QCOMPARE(office->checkState(0), Qt::Checked);
    accounts->setCurrentItem(office);
    QSignalSpy accountChanges(accounts->model(), &QAbstractItemModel::dataChanged);
    const bool edited = withModal([&] { page->accountsPage()->editButton()->click(); },
                                  [&](QWidget *modal) {
                                      auto *dialog = dynamic_cast<Pop3AccountsDlg *>(modal);
                                      QVERIFY(dialog);
                                      dialog->m_edDescription->setText("Edited from the list");
                                      dialog->m_edPort->setText("1110");
                                      clickOk(dialog);
                                  });
    QVERIFY(edited);
    // The view shows what the row holds now; check box and icon stay.
    QVERIFY(viewTold(accountChanges, accounts->indexFromItem(office, 3)));
    QCOMPARE(accounts->indexFromItem(office, 3).data().toString(), QString("Edited from the list"));
    QCOMPARE(accounts->indexFromItem(office, 4).data().toString(), QString("1110"));
    QCOMPARE(office->checkState(0), Qt::Checked);
    QVERIFY(!office->icon(0).isNull());
    // Ports sort by value: 995 before 1110, whose text comes first.
    accounts->sortByColumn(4, Qt::AscendingOrder);
    QCOMPARE(accounts->topLevelItem(0)->text(0), QString("pop.isp.example"));
    QCOMPARE(accounts->topLevelItem(1), office);

    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->isEnabled(), kTimeout);
    BListView *rules = page->rulesPage()->listView();
    BListViewItem *rule = findItem(rules, "*@example.com");
    QVERIFY(rule);
    rules->setCurrentItem(rule);
    QSignalSpy ruleChanges(rules->model(), &QAbstractItemModel::dataChanged);
    const bool ruleEdited = withModal([&] { page->rulesPage()->editButton()->click(); },
                                      [&](QWidget *modal) {
                                          auto *dialog = dynamic_cast<Pop3RulesDlg *>(modal);
                                          QVERIFY(dialog);
                                          dialog->m_edAccount->setText("bob@example.com");
                                          dialog->m_edDescription->setText("Now to Bob");
                                          clickOk(dialog);
                                      });
    QVERIFY(ruleEdited);
    QVERIFY(viewTold(ruleChanges, rules->indexFromItem(rule, 2)));
    QCOMPARE(rules->indexFromItem(rule, 1).data().toString(), QString("bob@example.com"));
    QCOMPARE(rules->indexFromItem(rule, 2).data().toString(), QString("Now to Bob"));
    QVERIFY(!rule->icon(0).isNull());

    // Reset reads the stored rows again: the edits leave the list.
    QTRY_VERIFY_WITH_TIMEOUT(pageArea()->bottomBar()->resetButton()->isEnabled(), kTimeout);
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(cellOf(rules, "*@example.com", 1), QString("admin@example.com"),
                              kTimeout);
    page->tab()->setCurrentIndex(0);
    QTRY_COMPARE_WITH_TIMEOUT(cellOf(accounts, "pop.provider.example", 3), storedDescription,
                              kTimeout);
    QCOMPARE(pendingOperations(), 0);
}

void TestPop3Page::portFollowsOnlyTheDefault()
{
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BListView *list = page->accountsPage()->listView();
    list->setCurrentItem(findItem(list, "pop.isp.example"));
    const bool handled = withModal([&] { page->accountsPage()->editButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<Pop3AccountsDlg *>(modal);
                                       QVERIFY(dialog);
                                       QVERIFY(dialog->m_chkSsl->isChecked());
                                       QCOMPARE(dialog->m_edPort->text(), QString("995"));
                                       // STLS works on the plain port; back to Special port, 995
                                       // again.
                                       dialog->m_cboMode->setCurrentIndex(1);
                                       QCOMPARE(dialog->m_edPort->text(), QString("110"));
                                       dialog->m_cboMode->setCurrentIndex(0);
                                       QCOMPARE(dialog->m_edPort->text(), QString("995"));
                                       // A port typed by hand stays whatever the SSL settings do.
                                       dialog->m_edPort->setText("1110");
                                       dialog->m_chkSsl->click();
                                       QVERIFY(!dialog->m_cboMode->isEnabled());
                                       QCOMPARE(dialog->m_edPort->text(), QString("1110"));
                                       dialog->m_btnDefault->click();
                                       QCOMPARE(dialog->m_edPort->text(), QString("110"));
                                       dialog->m_edPort->setText("1110");
                                       clickOk(dialog);
                                   });
    QVERIFY(handled);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select SslMode, Port, Mbox from Pop3 where Server='pop.isp.example'"),
             QStringList{"0|1110|alice@example.com"});
}

void TestPop3Page::accountDialogRefuses_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("stored");
    QTest::newRow("no server") << ""
                               << "dave"
                               << "110" << int(QMessageBox::Ok)
                               << "You must enter the server name and the user name."
                               << "m_edServer" << false;
    QTest::newRow("no user") << "pop.x.example"
                             << ""
                             << "110" << int(QMessageBox::Ok)
                             << "You must enter the server name and the user name."
                             << "m_edUser" << false;
    QTest::newRow("bad port") << "pop.x.example"
                              << "dave"
                              << "70000" << int(QMessageBox::Ok)
                              << "Specify the valid port, please."
                              << "m_edPort" << false;
    QTest::newRow("no address, correct it")
            << "pop.x.example"
            << "dave"
            << "110" << int(QMessageBox::Yes)
            << "You should enter the address field.<nobr><br><br>Do you want to correct the "
               "problem?</nobr>"
            << "m_edAddress" << false;
    QTest::newRow("no address, keep it")
            << "pop.x.example"
            << "dave"
            << "110" << int(QMessageBox::No)
            << "You should enter the address field.<nobr><br><br>Do you want to correct the "
               "problem?</nobr>"
            << "" << true;
}

void TestPop3Page::accountDialogRefuses()
{
    QFETCH(QString, server);
    QFETCH(QString, user);
    QFETCH(QString, port);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(bool, stored);
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    QString focused;
    const bool handled = withModal([&] { page->accountsPage()->addButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<Pop3AccountsDlg *>(modal);
                                       QVERIFY(dialog);
                                       dialog->m_edServer->setText(server);
                                       dialog->m_edUser->setText(user);
                                       dialog->m_edPort->setText(port);
                                       dialog->m_tab->setCurrentWidget(dialog->m_tabAdvanced);
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
    QCOMPARE(page->accountsPage()->listView()->topLevelItemCount(), stored ? 3 : 2);
}

void TestPop3Page::sortingRules_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("stored");
    QTest::newRow("lone wildcard") << "*"
                                   << "bob@example.com"
                                   << "" << true;
    QTest::newRow("domain wildcard") << "*@sales.example"
                                     << "team@example.com"
                                     << "" << true;
    QTest::newRow("incomplete sort address")
            << "orders@"
            << "bob@example.com"
            << "<nobr>You should specify a complete email address in the field 'Sort "
               "address'.</nobr>"
            << false;
    QTest::newRow("wildcard as deliver-to")
            << "info@example.com"
            << "*"
            << "<nobr>The field 'Deliver to' doesn't make sense.</nobr>" << false;
}

void TestPop3Page::sortingRules()
{
    QFETCH(QString, to);
    QFETCH(QString, account);
    QFETCH(QString, message);
    QFETCH(bool, stored);
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->isEnabled(), kTimeout);
    BoxAnswers boxes(QMessageBox::Yes); // correct the problem
    bool stayedOpen = false;
    const bool handled = withModal([&] { page->rulesPage()->addButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<Pop3RulesDlg *>(modal);
                                       QVERIFY(dialog);
                                       QCOMPARE(dialog->windowTitle(), QString("Sorting Rule"));
                                       QTest::keyClicks(dialog->m_edTo, to);
                                       QTest::keyClicks(dialog->m_edAccount, account);
                                       dialog->m_edDescription->setText("From the test");
                                       clickOk(dialog);
                                       stayedOpen = dialog->isVisible();
                                       if (stayedOpen)
                                           dialog->reject();
                                   });
    QVERIFY(handled);
    QCOMPARE(stayedOpen, !stored);
    if (!stored) {
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts.first().startsWith(message));
        QCOMPARE(pendingOperations(), 0);
        return;
    }
    QVERIFY(boxes.texts.isEmpty());
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(QString("select Account, Description from Sort where To='%1'").arg(to)),
             QStringList{account + "|From the test"});

    // The same rule again is a duplicate.
    const bool again = withModal([&] { page->rulesPage()->addButton()->click(); },
                                 [&](QWidget *modal) {
                                     auto *dialog = dynamic_cast<Pop3RulesDlg *>(modal);
                                     dialog->m_edTo->setText(to);
                                     dialog->m_edAccount->setText(account);
                                     clickOk(dialog);
                                     stayedOpen = dialog->isVisible();
                                     dialog->reject();
                                 });
    QVERIFY(again);
    QVERIFY(stayedOpen);
    QCOMPARE(boxes.texts, QStringList{"This sorting rule is already defined."});
}

void TestPop3Page::removeResetsAndApplies()
{
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    removeResetApply(page->accountsPage(), "pop.isp.example",
                     "select User from Pop3 where Server='pop.isp.example'");
    if (QTest::currentTestFailed())
        return;
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->isEnabled(), kTimeout);
    removeResetApply(page->rulesPage(), "orders@shop.example",
                     "select Account from Sort where To='orders@shop.example'");
}

void TestPop3Page::selectFindsUsersAndGroups()
{
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->isEnabled(), kTimeout);
    QStringList shown;
    const bool handled = withModal(
            [&] { page->rulesPage()->addButton()->click(); },
            [&](QWidget *modal) {
                auto *dialog = dynamic_cast<Pop3RulesDlg *>(modal);
                QVERIFY(dialog);
                // The finder is a modal window of its own inside the dialog.
                postdesk::test::ModalWatcher finderWatcher;
                finderWatcher.expect([&](QWidget *finderModal) {
                    auto *finder = dynamic_cast<FindUserDlg *>(finderModal);
                    if (!finder) {
                        finderModal->close();
                        return;
                    }
                    QCOMPARE(finder->windowTitle(), QString("Find User/Group"));
                    QTest::keyClicks(finder->searchEdit(), "sales");
                    for (int i = 0; i < finder->list()->topLevelItemCount(); ++i) {
                        QTreeWidgetItem *item = finder->list()->topLevelItem(i);
                        if (!item->isHidden())
                            shown << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
                    }
                    finder->list()->setCurrentItem(
                            finder->list()
                                    ->findItems("sales@example.com", Qt::MatchExactly)
                                    .value(0));
                    finder->accept();
                });
                dialog->m_btnSelect->click();
                QCOMPARE(dialog->m_edAccount->text(), QString("sales@example.com"));
                dialog->reject();
            });
    QVERIFY(handled);
    // Only users and groups whose address or name holds the text are shown.
    QVERIFY2(shown.contains("sales@example.com|Group|Sales team"), qPrintable(shown.join(", ")));
    for (const QString &line : shown) {
        const QStringList cells = line.split('|');
        QVERIFY2(cells.at(0).contains("sales")
                         || cells.at(2).contains("sales", Qt::CaseInsensitive),
                 qPrintable(line));
    }
    QCOMPARE(pendingOperations(), 0);
}

void TestPop3Page::downloadStartsTheTransfer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    page->accountsPage()->downloadButton()->click();
    QCOMPARE(boxes.texts,
             QStringList{"<nobr>Action started.<br>You can view its results in "
                         "the log window.</nobr>"});
    QVERIFY(mailLogTail().contains("POP3: connecting to pop.provider.example for office, 0 new "
                                   "messages"));
    // The call goes out as it is, with no argument to escape.
    QVERIFY(trace.text().contains("select run_pop3()"));
}

void TestPop3Page::downloadAsksToApplyFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes applies and downloads") << int(QMessageBox::Yes);
    QTest::newRow("no cancels the download") << int(QMessageBox::No);
}

void TestPop3Page::downloadAsksToApplyFirst()
{
    QFETCH(int, answer);
    const bool yes = answer == QMessageBox::Yes;
    QVERIFY(startConsole());
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    // Enabling the second account is the unapplied change.
    findItem(page->accountsPage()->listView(), "pop.isp.example")->setCheckState(0, Qt::Checked);
    QCOMPARE(pendingOperations(), 1);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    page->accountsPage()->downloadButton()->click();
    QVERIFY(!boxes.texts.isEmpty());
    QCOMPARE(boxes.texts.first(),
             QString("<nobr>All previous changes must be applied before you "
                     "can continue.<br>Do you want to apply "
                     "changes?</nobr>"));
    QCOMPARE(boxes.texts.size(), yes ? 2 : 1);
    QCOMPARE(pendingOperations(), yes ? 0 : 1);
    const QString line("POP3: connecting to pop.isp.example for alice.archer, 0 new messages");
    QCOMPARE(mailLogTail().contains(line), yes);
    QCOMPARE(serverRows("select Enabled from Pop3 where Server='pop.isp.example'"),
             QStringList{yes ? "1" : "0"});
}

void TestPop3Page::viewerChangesNothing()
{
    const QStringList before = serverRows(kAccountsQuery);
    QVERIFY(startConsole("viewer"));
    Pop3Wnd *page = openPop3();
    QVERIFY(page);
    Pop3AccountsWnd *accounts = page->accountsPage();
    QCOMPARE(accounts->listView()->topLevelItemCount(), 2);
    accounts->listView()->setCurrentItem(accounts->listView()->topLevelItem(0));
    for (QPushButton *button :
         {accounts->addButton(), accounts->removeButton(), accounts->downloadButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    // A row opens to be read.
    QVERIFY(accounts->editButton()->isEnabled());
    BListViewItem *office = findItem(accounts->listView(), "pop.provider.example");
    QCOMPARE(changeableInRowDialog(accounts->listView(), office), QStringList());
    QVERIFY(!(office->flags() & Qt::ItemIsUserCheckable));
    // Even a check made behind the list's back and the commands change nothing.
    office->setCheckState(0, Qt::Unchecked);
    accounts->add();
    accounts->remove();
    accounts->slotDownloadPop3();
    page->tab()->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(page->rulesPage()->listView()->topLevelItemCount() == 2, kTimeout);
    QVERIFY(!page->rulesPage()->addButton()->isEnabled());
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kAccountsQuery), before);
    QVERIFY(!mailLogTail().join('\n').contains("POP3: connecting"));
}

QTEST_MAIN(TestPop3Page)
#include "test_pop3.moc"

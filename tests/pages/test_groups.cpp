// The Groups section in the real console against the development server:
// the list, the group dialog with its addresses, members and rights, the
// wizard, directory groups, publishing, removal and a read-only session.
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/groups/groupdlg.h"
#include "pages/groups/groupwiz.h"
#include "pages/groups/groupwnd.h"
#include "pages/usergroups/mailaddressdlg.h"
#include "pages/usergroups/selectgroupdlg.h"
#include "pages/usergroups/useractivatedlgtemp.h"
#include "pages/usergroups/userexportdlg.h"
#include "pages/usergroups/userldapdlg.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// For the page's lists and the dialogs' plain ones alike.
template<class List>
auto findItem(List *list, const QString &name) -> decltype(list->topLevelItem(0))
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    }
    return nullptr;
}

template<class List>
QStringList listTexts(List *list, int column = 0)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

} // namespace

class TestGroupsPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void listsGroupsOfTheDomain();
    void dialogEditsAddressesAndMembers();
    void memberCancelChangesNothing();
    void addressConflictAsksToCorrect_data();
    void addressConflictAsksToCorrect();
    void rightsAndWordsKeepWhatIsNotShown_data();
    void rightsAndWordsKeepWhatIsNotShown();
    void wizardCreatesGroupAndPublishes();
    void wizardRefusesNames_data();
    void wizardRefusesNames();
    void wizardExportBoxFollowsAddresses();
    void removingStripsMembers();
    void resetForgetsPendingPublish();
    void publishDialogReportsEachRow();
    void directoryGroupsAreActivated();
    void viewerChangesNothing();
    void screenReadersNameEveryControl();

private:
    GroupWnd *openGroups(const QString &domain = QStringLiteral("example.com"));
    bool editGroup(GroupWnd *page, const QString &name,
                   const std::function<void(GroupDlg *)> &edit);
    bool runWizard(GroupWnd *page, const std::function<void(GroupWiz *)> &steps);
    // Answers the mail-address dialog with a local part.
    bool addAddress(GroupDlgTemp *fields, const QString &local);
    // "name|groups" of the named users of example.com, as stored.
    QStringList userGroups(const QStringList &names);
};

QStringList TestGroupsPage::userGroups(const QStringList &names)
{
    QStringList rows;
    for (const QString &row :
         serverRows("select Name, Groups from User where Domain='example.com'")) {
        if (names.contains(row.section(QLatin1Char('|'), 0, 0)))
            rows << row;
    }
    rows.sort();
    return rows;
}

GroupWnd *TestGroupsPage::openGroups(const QString &domain)
{
    auto *page = dynamic_cast<GroupWnd *>(openSection(SectionId::Groups));
    if (!page)
        return nullptr;
    if (!QTest::qWaitFor([page] { return page->isEnabled() && !page->isLoadingRows(); }, kTimeout))
        return nullptr;
    if (page->currentDomain() != domain) {
        page->slotDomainActivated(domain);
        if (!QTest::qWaitFor(
                    [page] { return page->listView()->isEnabled() && !page->isLoadingRows(); },
                    kTimeout))
            return nullptr;
    }
    return page->currentDomain() == domain ? page : nullptr;
}

bool TestGroupsPage::editGroup(GroupWnd *page, const QString &name,
                               const std::function<void(GroupDlg *)> &edit)
{
    BListViewItem *item = findItem(page->listView(), name);
    if (!item)
        return false;
    page->listView()->setCurrentItem(item);
    bool seen = false;
    const bool handled = withModal([page] { page->editButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *dialog = dynamic_cast<GroupDlg *>(modal);
                                       if (!dialog)
                                           return;
                                       seen = true;
                                       edit(dialog);
                                   });
    return handled && seen;
}

bool TestGroupsPage::runWizard(GroupWnd *page, const std::function<void(GroupWiz *)> &steps)
{
    bool seen = false;
    const bool handled = withModal([page] { page->addButton()->click(); },
                                   [&](QWidget *modal) {
                                       auto *wizard = dynamic_cast<GroupWiz *>(modal);
                                       if (!wizard)
                                           return;
                                       seen = true;
                                       steps(wizard);
                                   });
    return handled && seen;
}

bool TestGroupsPage::addAddress(GroupDlgTemp *fields, const QString &local)
{
    return withModal([fields] { fields->m_btnAddAddress->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<MailAddressDlg *>(modal);
                         QVERIFY(dialog);
                         QTest::keyClicks(dialog->edit(), local);
                         clickOk(dialog);
                     });
}

void TestGroupsPage::listsGroupsOfTheDomain()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    BListView *list = page->listView();
    QCOMPARE(listTexts(list), (QStringList{"sales", "support"}));
    QCOMPARE(list->headerItem()->text(0), QString("Name"));
    QCOMPARE(list->headerItem()->text(3), QString("Data Source"));
    QCOMPARE(findItem(list, "support")->text(2), QString("Read only access"));
    QCOMPARE(findItem(list, "sales")->text(2), QString());
    QCOMPARE(findItem(list, "sales")->text(3), QString("Internal"));
    QCOMPARE(page->exportButton()->text(), QString("&Publish..."));
    list->clearSelection();
    QVERIFY(!page->exportButton()->isEnabled()); // nothing selected
    list->setCurrentItem(findItem(list, "sales"));
    QVERIFY(page->exportButton()->isEnabled());
    QCOMPARE(page->flags() & GroupWnd::FlagDirectoryDomain, 0);

    // The other domain's groups, and the directory-bound domain's flag.
    page->slotDomainActivated("example.org");
    QTRY_COMPARE_WITH_TIMEOUT(listTexts(list), QStringList{"volunteers"}, kTimeout);
    page->slotDomainActivated("corp.example");
    QTRY_COMPARE_WITH_TIMEOUT(listTexts(list), QStringList{"engineering"}, kTimeout);
    QCOMPARE(findItem(list, "engineering")->text(3), QString("LDAP"));
    QCOMPARE(page->flags() & GroupWnd::FlagDirectoryDomain, int(GroupWnd::FlagDirectoryDomain));
}

void TestGroupsPage::dialogEditsAddressesAndMembers()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    const bool edited = editGroup(page, "support", [&](GroupDlg *dialog) {
        GroupDlgTemp *f = dialog->fields();
        QCOMPARE(dialog->windowTitle(), QString("Edit Group"));
        QVERIFY(!f->m_edName->isEnabled());
        QCOMPARE(f->addresses(), (QStringList{"support@example.com", "helpdesk@example.com"}));
        QCOMPARE(listTexts(f->m_lvUsers), (QStringList{"alice", "carol"}));
        QVERIFY(f->m_rbReadOnlyAccess->isChecked());
        QVERIFY(!f->m_btnRemoveUsers->isEnabled());
        // An address typed again in other case is listed once.
        QVERIFY(addAddress(f, "HelpDesk"));
        QVERIFY(addAddress(f, "service"));
        QCOMPARE(f->addressCount(), 3);
        // Add dave; remove carol.
        const bool chosen
                = withModal([f] { f->m_btnAddUser->click(); },
                            [](QWidget *modal) {
                                auto *select = dynamic_cast<SelectGroupDlg *>(modal);
                                QVERIFY(select);
                                QCOMPARE(select->windowTitle(), QString("Add Users"));
                                // Members and other domains are left out.
                                QCOMPARE(listTexts(select->list()).size(), 4);
                                QVERIFY(!findItem(select->list(), "alice"));
                                QVERIFY(!findItem(select->list(), "erin"));
                                select->list()->setCurrentItem(findItem(select->list(), "dave"));
                                clickOk(select);
                            });
        QVERIFY(chosen);
        f->m_lvUsers->setCurrentItem(findItem(f->m_lvUsers, "carol"));
        QVERIFY(f->m_btnRemoveUsers->isEnabled());
        f->m_btnRemoveUsers->click();
        QCOMPARE(listTexts(f->m_lvUsers), (QStringList{"alice", "dave"}));
        f->m_edDescription->setText("First line support");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    });
    QVERIFY(edited);
    QCOMPARE(findItem(page->listView(), "support")->text(1), QString("First line support"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Description, MailAddress from Group where Name='support'"),
             QStringList{"First line support|support,helpdesk,service"});
    QCOMPARE(userGroups({"alice", "carol", "dave"}),
             (QStringList{"alice|sales,support", "carol|", "dave|support"}));
}

void TestGroupsPage::memberCancelChangesNothing()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    const bool edited = editGroup(page, "sales", [&](GroupDlg *dialog) {
        GroupDlgTemp *f = dialog->fields();
        const bool chosen
                = withModal([f] { f->m_btnAddUser->click(); },
                            [](QWidget *modal) {
                                auto *select = dynamic_cast<SelectGroupDlg *>(modal);
                                QVERIFY(select);
                                select->list()->setCurrentItem(findItem(select->list(), "carol"));
                                clickOk(select);
                            });
        QVERIFY(chosen);
        QCOMPARE(listTexts(f->m_lvUsers), (QStringList{"alice", "bob", "carol"}));
        dialog->reject();
    });
    QVERIFY(edited);
    QCOMPARE(pendingOperations(), 0);
    // The same member, accepted: the old text gains ",sales".
    QVERIFY(editGroup(page, "sales", [&](GroupDlg *dialog) {
        GroupDlgTemp *f = dialog->fields();
        QCOMPARE(listTexts(f->m_lvUsers), (QStringList{"alice", "bob"}));
        QVERIFY(withModal([f] { f->m_btnAddUser->click(); },
                          [](QWidget *modal) {
                              auto *select = dynamic_cast<SelectGroupDlg *>(modal);
                              QVERIFY(select);
                              select->list()->setCurrentItem(findItem(select->list(), "carol"));
                              clickOk(select);
                          }));
        clickOk(dialog);
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Groups from User where Name='carol'"),
             QStringList{"support,sales"});
}

void TestGroupsPage::addressConflictAsksToCorrect_data()
{
    QTest::addColumn<QString>("local");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("stored");
    const QString alias = "<nobr>There already exists an alias called 'team'. If you create an "
                          "email address 'team@example.com',<br>all emails sent to this address "
                          "will be delivered to the alias and never to the group.</nobr>";
    const QString list = "<nobr>There already exists a mailing list called 'announce'. If you "
                         "create an email address 'announce@example.com',<br>all emails sent to "
                         "this address will be delivered to the mailing list and never to the "
                         "group.</nobr>";
    const QString question = "<nobr><br><br>Do you want to correct the problem?</nobr>";
    QTest::newRow("alias, correct it")
            << "team" << int(QMessageBox::Yes) << alias + question << false;
    QTest::newRow("alias, keep it") << "team" << int(QMessageBox::No) << alias + question << true;
    QTest::newRow("mailing list, keep it")
            << "announce" << int(QMessageBox::No) << list + question << true;
}

void TestGroupsPage::addressConflictAsksToCorrect()
{
    QFETCH(QString, local);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(bool, stored);
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    QVERIFY(editGroup(page, "sales", [&](GroupDlg *dialog) {
        QVERIFY(addAddress(dialog->fields(), local));
        clickOk(dialog);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            QCOMPARE(dialog->fields()->m_lstAddress->currentItem()->text(), local + "@example.com");
    }));
    QCOMPARE(boxes.texts, QStringList{message});
    QCOMPARE(stayedOpen, !stored);
    QCOMPARE(pendingOperations() > 0, stored);
}

void TestGroupsPage::rightsAndWordsKeepWhatIsNotShown_data()
{
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("choice"); // radio to check, empty: leave
    QTest::addColumn<bool>("webadmin"); // box state to set
    QTest::addColumn<QString>("storedRights");
    QTest::addColumn<QString>("storedWords");
    // Words after an empty section are read and kept.
    QTest::newRow("word past an empty section") << "0"
                                                << "custom.word,,pvn.fax.send,pvn.webadmin"
                                                << "" << false << "0"
                                                << "custom.word,pvn.fax.send";
    QTest::newRow("word added") << "0"
                                << "custom.word"
                                << "" << true << "0"
                                << "custom.word,pvn.webadmin";
    // Unknown bits of "Rights" survive a new choice.
    QTest::newRow("rights keep unknown bits") << "7"
                                              << ""
                                              << "m_rbReadOnlyAccess" << false << "5"
                                              << "";
    // A value no button shows exactly is left alone by an untouched dialog.
    QTest::newRow("unshown value untouched") << "2"
                                             << ""
                                             << "" << false << "2"
                                             << "";
}

void TestGroupsPage::rightsAndWordsKeepWhatIsNotShown()
{
    QFETCH(QString, rights);
    QFETCH(QString, words);
    QFETCH(QString, choice);
    QFETCH(bool, webadmin);
    QFETCH(QString, storedRights);
    QFETCH(QString, storedWords);
    QVERIFY(startConsole());
    QVERIFY(serverExec(QString("update Group set Rights='%1', Authorization='%2' where "
                               "Name='sales' and Domain='example.com'")
                               .arg(rights, words)));
    GroupWnd *page = openGroups();
    QVERIFY(page);
    QVERIFY(editGroup(page, "sales", [&](GroupDlg *dialog) {
        GroupDlgTemp *f = dialog->fields();
        QCOMPARE(f->m_chkFax->isChecked(), words.contains("pvn.fax.send"));
        QCOMPARE(f->m_chkWebadminRights->isChecked(), words.contains("pvn.webadmin"));
        if (!choice.isEmpty())
            dialog->findChild<QRadioButton *>(choice)->setChecked(true);
        f->m_chkWebadminRights->setChecked(webadmin);
        f->m_edDescription->setText("touched");
        clickOk(dialog);
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Rights, Authorization from Group where Name='sales'"),
             QStringList{storedRights + "|" + storedWords});
}

void TestGroupsPage::wizardCreatesGroupAndPublishes()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    const QString name = "Q\"uo\\te";
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        GroupDlgTemp *f = wizard->fields();
        QCOMPARE(wizard->windowTitle(), QString("Add Group"));
        QCOMPARE(wizard->currentPage()->title(), QString("General - page 1 of 5"));
        QTest::keyClicks(f->m_edName, name);
        f->m_edDescription->setText("Quoting team");
        wizard->button(QWizard::NextButton)->click();
        QCOMPARE(wizard->currentPage()->title(), QString("Mail Addresses - page 2 of 5"));
        QVERIFY(addAddress(f, "quote"));
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(withModal([f] { f->m_btnAddUser->click(); },
                          [](QWidget *modal) {
                              auto *select = dynamic_cast<SelectGroupDlg *>(modal);
                              QVERIFY(select);
                              select->list()->setCurrentItem(findItem(select->list(), "dave"));
                              clickOk(select);
                          }));
        wizard->button(QWizard::NextButton)->click();
        f->m_rbFullAccess->setChecked(true);
        f->m_chkWebadminRights->setChecked(true);
        wizard->button(QWizard::NextButton)->click();
        QCOMPARE(wizard->currentPage()->title(), QString("Advanced settings - page 5 of 5"));
        QVERIFY(!wizard->button(QWizard::NextButton)->isEnabled()
                || !wizard->button(QWizard::NextButton)->isVisible());
        QVERIFY(wizard->exportBox()->isEnabled());
        QVERIFY(wizard->exportBox()->isChecked());
        f->m_chkOwnDomainOnly->setChecked(true);
        wizard->button(QWizard::FinishButton)->click();
    }));
    QVERIFY(findItem(page->listView(), name));
    QCOMPARE(page->pendingPublish().size(), 1);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Description, MailAddress, Rights, Authorization from Group "
                        "where Name='Q\\\"uo\\\\te'"),
             QStringList{"Quoting team|quote|3|pvn.webadmin,pvn.own.domain.only"});
    QCOMPARE(serverRows("select Groups from User where Name='dave'"), QStringList{name});
    // Published after the save, every argument escaped.
    QCOMPARE(page->lastPublishResult(), qMakePair(1, 1));
    QVERIFY(page->pendingPublish().isEmpty());
    QVERIFY2(trace.text().contains("AddressBookAdd(\"#public/Contacts\",\"Q\\\"uo\\\\te\", "
                                   "\"quote@example.com\")"),
             qPrintable(trace.text().right(2000)));
}

void TestGroupsPage::wizardRefusesNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("nextEnabled");
    QTest::newRow("empty") << ""
                           << "" << false;
    QTest::newRow("comma") << "a,b"
                           << "ab" << true;
    QTest::newRow("at") << "a@b"
                        << "ab" << true;
    QTest::newRow("brackets") << "[x]"
                              << "x" << true;
    QTest::newRow("256 characters") << QString(256, 'g') << QString(255, 'g') << true;
}

void TestGroupsPage::wizardRefusesNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, nextEnabled);
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        QLineEdit *edit = wizard->fields()->m_edName;
        QVERIFY(!wizard->button(QWizard::NextButton)->isEnabled());
        QVERIFY(!wizard->button(QWizard::FinishButton)->isEnabled());
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(wizard->button(QWizard::NextButton)->isEnabled(), nextEnabled);
        QCOMPARE(wizard->button(QWizard::FinishButton)->isEnabled(), nextEnabled);
        wizard->reject();
    }));
    // A name the domain already has (in other case) stops on the first page.
    BoxAnswers boxes{QMessageBox::Ok};
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        QTest::keyClicks(wizard->fields()->m_edName, "SALES");
        wizard->button(QWizard::NextButton)->click();
        QCOMPARE(wizard->currentId(), 0);
        wizard->reject();
    }));
    QCOMPARE(boxes.texts, QStringList{"This group already exists."});
    QCOMPARE(listTexts(page->listView()), (QStringList{"sales", "support"}));
    QCOMPARE(pendingOperations(), 0);
}

void TestGroupsPage::wizardExportBoxFollowsAddresses()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        GroupDlgTemp *f = wizard->fields();
        QCheckBox *box = wizard->exportBox();
        QVERIFY(!box->isEnabled());
        QTest::keyClicks(f->m_edName, "newsroom");
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(addAddress(f, "news"));
        QVERIFY(box->isEnabled() && box->isChecked());
        QVERIFY(wizard->exportInfo()->isHidden());
        // The administrator unchecks it: a new address leaves it unchecked.
        box->click();
        QVERIFY(!box->isChecked());
        f->m_lstAddress->setCurrentRow(0);
        f->m_btnRemoveAddresses->click();
        QVERIFY(!box->isEnabled() && !box->isChecked());
        QVERIFY(!wizard->exportInfo()->isHidden());
        QVERIFY(addAddress(f, "press"));
        QVERIFY(box->isEnabled() && !box->isChecked());
        // Checked again by the administrator, it follows the addresses again.
        box->click();
        f->m_lstAddress->setCurrentRow(0);
        f->m_btnRemoveAddresses->click();
        QVERIFY(addAddress(f, "media"));
        QVERIFY(box->isChecked());
        wizard->button(QWizard::FinishButton)->click();
    }));
    QCOMPARE(page->pendingPublish(), (QList<QPair<QString, QString>>{{"example.com", "newsroom"}}));
}

void TestGroupsPage::removingStripsMembers()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    const QStringList membersBefore = userGroups({"alice", "bob"});
    QCOMPARE(membersBefore, (QStringList{"alice|sales,support", "bob|sales"}));
    // Removed and reset: the group and its members come back untouched.
    page->listView()->setCurrentItem(findItem(page->listView(), "sales"));
    page->removeButton()->click();
    QVERIFY(!findItem(page->listView(), "sales"));
    QCOMPARE(pendingOperations(), 3); // the group and two members
    QTRY_VERIFY_WITH_TIMEOUT(pageArea()->bottomBar()->resetButton()->isEnabled(), kTimeout);
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(findItem(page->listView(), "sales"), kTimeout);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(userGroups({"alice", "bob"}), membersBefore);
    QVERIFY(editGroup(page, "sales", [](GroupDlg *dialog) {
        QCOMPARE(listTexts(dialog->fields()->m_lvUsers), (QStringList{"alice", "bob"}));
        dialog->reject();
    }));
    // Removed by the Delete key and applied: one transaction takes the
    // group off its members.
    page->listView()->setCurrentItem(findItem(page->listView(), "sales"));
    QTest::keyClick(page->listView(), Qt::Key_Delete);
    QVERIFY(!findItem(page->listView(), "sales"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows("select Name from Group where Name='sales'").isEmpty());
    QCOMPARE(userGroups({"alice", "bob"}), (QStringList{"alice|support", "bob|"}));
    // A new group of the same name starts without members.
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        QTest::keyClicks(wizard->fields()->m_edName, "sales");
        wizard->button(QWizard::NextButton)->click();
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(wizard->fields()->memberNames().isEmpty());
        wizard->button(QWizard::FinishButton)->click();
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Name from Group where Name='sales'"), QStringList{"sales"});
    QVERIFY(editGroup(page, "sales", [](GroupDlg *dialog) {
        QCOMPARE(dialog->fields()->m_lvUsers->topLevelItemCount(), 0);
        dialog->reject();
    }));
}

void TestGroupsPage::resetForgetsPendingPublish()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    QVERIFY(runWizard(page, [&](GroupWiz *wizard) {
        QTest::keyClicks(wizard->fields()->m_edName, "archive");
        wizard->button(QWizard::NextButton)->click();
        QVERIFY(addAddress(wizard->fields(), "archive"));
        wizard->button(QWizard::FinishButton)->click();
    }));
    QCOMPARE(page->pendingPublish().size(), 1);
    QVERIFY(pendingOperations() > 0);
    page->reset();
    QCOMPARE(pendingOperations(), 0);
    QVERIFY(page->pendingPublish().isEmpty());
    QVERIFY(!findItem(page->listView(), "archive"));
    // A later Apply of another edit publishes nothing.
    QVERIFY(editGroup(page, "sales", [](GroupDlg *dialog) {
        dialog->fields()->m_edDescription->setText("Sales and orders");
        clickOk(dialog);
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(!trace.text().contains("AddressBookAdd("));
    QVERIFY(serverRows("select Name from Group where Name='archive'").isEmpty());
}

void TestGroupsPage::publishDialogReportsEachRow()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    QVERIFY(serverExec("insert Group set Name='empty', Domain='example.com', "
                       "Description='No address'"));
    GroupWnd *page = openGroups();
    QVERIFY(page);
    BListView *list = page->listView();
    for (const char *name : {"sales", "support", "empty"})
        findItem(list, name)->setSelected(true);
    QVERIFY(page->exportButton()->isEnabled());
    QString summary;
    QStringList results;
    QVERIFY(withModal([page] { page->exportButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<UserExportDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->folder(), QString("#public/Contacts"));
                          dialog->publishButton()->click();
                          summary = dialog->summaryLabel()->text();
                          results = listTexts(dialog->list(), 1);
                          // Another folder the server refuses: every row fails.
                          dialog->folderCombo()->setEditText("Private/Contacts");
                          dialog->publishButton()->click();
                          results += dialog->summaryLabel()->text();
                          dialog->reject();
                      }));
    QCOMPARE(summary, QString("2 of 3 groups have been published successfully."));
    QCOMPARE(results,
             (QStringList{"The group doesn't contain any addresses so it cannot be published",
                          "Group has been published to '#public/Contacts'",
                          "Group has been published to '#public/Contacts'",
                          "No group has been published."}));
    QVERIFY(trace.text().contains("AddressBookAdd(\"#public/Contacts\",\"support\", "
                                  "\"support@example.com\", \"helpdesk@example.com\")"));
}

void TestGroupsPage::directoryGroupsAreActivated()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups("corp.example");
    QVERIFY(page);
    QCOMPARE(listTexts(page->listView()), QStringList{"engineering"});
    // A directory group's members are shown, not edited.
    QVERIFY(editGroup(page, "engineering", [](GroupDlg *dialog) {
        QVERIFY(dialog->fields()->m_btnAddUser->isHidden());
        QVERIFY(dialog->fields()->m_btnRemoveUsers->isHidden());
        dialog->reject();
    }));
    // Add asks local or directory; Cancel ends it.
    QVERIFY(withModal([page] { page->addButton()->click(); },
                      [](QWidget *modal) {
                          auto *chooser = dynamic_cast<UserLdapDlg *>(modal);
                          QVERIFY(chooser);
                          QCOMPARE(chooser->windowTitle(), QString("Add Group"));
                          chooser->reject();
                      }));
    QCOMPARE(pendingOperations(), 0);
    QString query;
    QStringList offered;
    // The chooser closes before the activation dialog opens: one watcher
    // answers both in turn.
    bool activated = false;
    postdesk::test::ModalWatcher watcher;
    watcher.expect([](QWidget *modal) {
        auto *chooser = dynamic_cast<UserLdapDlg *>(modal);
        QVERIFY(chooser);
        chooser->directoryButton()->setChecked(true);
        chooser->accept();
    });
    watcher.expect([&](QWidget *modal) {
        auto *dialog = dynamic_cast<UserActivateDlgTemp *>(modal);
        QVERIFY(dialog);
        query = dialog->listingQuery();
        offered = listTexts(dialog->list());
        auto *item = findItem(dialog->list(), "finance");
        QVERIFY(item);
        item->setCheckState(0, Qt::Checked);
        activated = true;
        clickOk(dialog);
    });
    page->addButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.pending(), 0, kTimeout);
    QVERIFY(activated);
    QVERIFY(query.contains("where Domain=\"corp.example\""));
    QVERIFY(query.contains("controls LDAPListInactive = 1"));
    QCOMPARE(offered, QStringList{"finance"});
    QCOMPARE(page->flags() & GroupWnd::FlagActivate, int(GroupWnd::FlagActivate));
    QVERIFY(findItem(page->listView(), "finance"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Name from Group where Domain='corp.example' and Name='finance'"),
             QStringList{"finance"});
}

void TestGroupsPage::viewerChangesNothing()
{
    TraceCapture trace;
    QVERIFY(startConsole("viewer"));
    GroupWnd *page = openGroups();
    QVERIFY(page);
    BListView *list = page->listView();
    QCOMPARE(listTexts(list), (QStringList{"sales", "support"}));
    list->setCurrentItem(findItem(list, "sales"));
    QVERIFY(!page->addButton()->isEnabled());
    QVERIFY(!page->removeButton()->isEnabled());
    QVERIFY(!page->exportButton()->isEnabled());
    // A group opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    QCOMPARE(changeableInRowDialog(list, findItem(list, "sales")), QStringList());
    page->add();
    page->remove();
    page->slotExport();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(list->topLevelItemCount(), 2);
    QVERIFY(!trace.text().contains("AddressBookAdd("));
    // The viewer still chooses domains.
    QVERIFY(page->domainCombo()->isEnabled());
}

void TestGroupsPage::screenReadersNameEveryControl()
{
    QVERIFY(startConsole());
    GroupWnd *page = openGroups();
    QVERIFY(page);
    QCOMPARE(unnamedControls(page), QStringList());
    QVERIFY(editGroup(page, "support", [](GroupDlg *dialog) {
        auto *tabs = dialog->findChild<QTabWidget *>();
        QVERIFY(tabs);
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QVERIFY2(unnamedControls(dialog).isEmpty(),
                     qPrintable(tabs->tabText(i) + ": " + unnamedControls(dialog).join(' ')));
        }
        dialog->reject();
    }));
    QVERIFY(runWizard(page, [](GroupWiz *wizard) {
        QTest::keyClicks(wizard->fields()->m_edName, "reception");
        for (int step = 0; step < 5; ++step) {
            QVERIFY2(unnamedControls(wizard).isEmpty(),
                     qPrintable(wizard->currentPage()->title() + ": "
                                + unnamedControls(wizard).join(' ')));
            wizard->button(QWizard::NextButton)->click();
        }
        wizard->reject();
    }));
}

QTEST_MAIN(TestGroupsPage)
#include "test_groups.moc"

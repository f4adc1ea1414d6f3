// The "Mailing Lists" section in the real console against the development
// server: the lists of the chosen domain, the wizard and the dialog with their
// checks, the rosters kept through the server's "MList..." calls, the CSV
// member import, and a read-only session.
#include "app/fwindow.h"
#include "forms/blineedit.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/mailinglists/mailinglistdlg.h"
#include "pages/mailinglists/mailinglistwnd.h"
#include "pages/mailinglists/mlistcsvimport.h"
#include "pages/mailinglists/mlistmemberdlg.h"
#include "pages/mailinglists/mlistrosterpage.h"
#include "pages/mailinglists/pvnmlisttable.h"
#include "pagetest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

QString rosterQuery(const QString &list, const QString &kind)
{
    return QStringLiteral("select MListList(\"%1\",\"example.com\",\"%2\")").arg(list, kind);
}

const QString kListQuery = QStringLiteral(
        "select Name, Description, ReplyToType, ReplyToEmail, ModeMemberPost, SenderHide "
        "from MailingList where Domain='example.com'");

} // namespace

class TestMailingListsPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void reservedSuffixes_data();
    void reservedSuffixes();
    void csvRowsAreChecked();
    void listsAndOpensTheList();
    void wizardCreatesListWithRosters();
    void wizardRefuses_data();
    void wizardRefuses();
    void rosterEditsAreSentInOneApply();
    void editedListAndMemberShowTheirNewValues();
    void cancelLeavesRostersAsTheyWere();
    void removedListIsRecreatedEmpty();
    void csvImportEscapesAndReports();
    void unknownComboValueIsKept();
    void viewerChangesNothing();

private:
    MailingListWnd *openLists();
    bool editList(MailingListWnd *page, const QString &name,
                  const std::function<void(MailingListDlg *)> &edit);
    bool runWizard(MailingListWnd *page, const std::function<void(MailingListWiz *)> &fill);
};

MailingListWnd *TestMailingListsPage::openLists()
{
    auto *page = dynamic_cast<MailingListWnd *>(openSection(SectionId::MailingLists));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled(); }, kTimeout);
    return page && page->domain() == QLatin1String("example.com") ? page : nullptr;
}

bool TestMailingListsPage::editList(MailingListWnd *page, const QString &name,
                                    const std::function<void(MailingListDlg *)> &edit)
{
    BListViewItem *item = page->listView()->findItems(name, Qt::MatchExactly, 0).value(0);
    if (!item)
        return false;
    page->listView()->setCurrentItem(item);
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<MailingListDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

bool TestMailingListsPage::runWizard(MailingListWnd *page,
                                     const std::function<void(MailingListWiz *)> &fill)
{
    return withModal([page] { page->addButton()->click(); },
                     [&](QWidget *modal) {
                         auto *wizard = dynamic_cast<MailingListWiz *>(modal);
                         if (!wizard) {
                             modal->close();
                             return;
                         }
                         fill(wizard);
                     });
}

void TestMailingListsPage::reservedSuffixes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("reserved");
    QTest::newRow("help") << "sales-help" << true;
    QTest::newRow("helpdesk") << "sales-helpdesk" << false;
    QTest::newRow("other case") << "Sales-HELP" << false;
    QTest::newRow("owners") << "x-owners" << true;
    QTest::newRow("reqdeny") << "x-reqdeny" << true;
    QTest::newRow("plain") << "sales" << false;
}

void TestMailingListsPage::reservedSuffixes()
{
    QFETCH(QString, name);
    QFETCH(bool, reserved);
    QCOMPARE(mailinglist::hasReservedSuffix(name), reserved);
}

void TestMailingListsPage::csvRowsAreChecked()
{
    const QString csv = "Email,Full name\r\n"
                        "jane@example.org,\"Doe, Jane\"\r\n"
                        "not an address,Nobody\r\n"
                        "JANE@example.org,Jane again\n"
                        "bob@example.com,Bob\n"
                        "\"q@example.org\",\"Say \"\"hi\"\"\"\n"
                        "\n"
                        "@example.org,No name\n";
    const mlistcsv::Result result = mlistcsv::read(csv, {"bob@example.com"});
    QCOMPARE(result.accepted.size(), 2);
    QCOMPARE(result.accepted.at(0).email, QString("jane@example.org"));
    QCOMPARE(result.accepted.at(0).fullName, QString("Doe, Jane"));
    QCOMPARE(result.accepted.at(1).fullName, QString("Say \"hi\""));
    QCOMPARE(result.duplicates, 2);
    QCOMPARE(result.rejected,
             (QStringList{"line 3: not an address,Nobody", "line 8: @example.org,No name"}));

    int reports = 0;
    const mlistcsv::Result cancelled
            = mlistcsv::read(csv, {}, [&reports](qsizetype, qsizetype) { return ++reports < 1; });
    QVERIFY(cancelled.cancelled);
    QVERIFY(cancelled.accepted.isEmpty());
}

void TestMailingListsPage::listsAndOpensTheList()
{
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    QCOMPARE(page->listView()->headerItem()->text(0), QString("Name"));
    QVERIFY(page->listView()->findItems("announce", Qt::MatchExactly, 0).value(0));
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        QStringList titles;
        for (int i = 0; i < dialog->m_tab->count(); ++i)
            titles << dialog->m_tab->tabText(i);
        QCOMPARE(titles,
                 (QStringList{"General", "Comment", "Subscription", "Message", "Posting",
                              "Moderators", "Members", "Archive"}));
        MailingListPages *p = dialog->pages();
        QCOMPARE(p->m_edName->text(), QString("announce"));
        QVERIFY(p->m_edName->isReadOnly());
        QCOMPARE(p->m_cboModeMemberPost->currentText(), QString("Moderator must approve"));
        QCOMPARE(p->m_cboModeNonmemPost->currentText(), QString("Denied"));
        QCOMPARE(p->m_cboReplyTo->currentText(), QString("Sender"));
        QCOMPARE(p->m_edComment->toPlainText(), QString("Welcome to the announcements."));
        QCOMPARE(p->m_pageModerators->listView()->topLevelItemCount(), 1);
        QCOMPARE(p->m_pageMembers->listView()->topLevelItemCount(), 3);
        QCOMPARE(p->m_pageMembers->listView()->headerItem()->text(0), QString("E-mail"));
        QCOMPARE(p->m_pageMembers->listView()->headerItem()->text(1), QString("Full name"));
        QCOMPARE(p->m_pageMembers->addMenu()->actions().size(), 3);
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
}

void TestMailingListsPage::wizardCreatesListWithRosters()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    BoxAnswers answers(QMessageBox::Ok);
    QVERIFY(runWizard(page, [&](MailingListWiz *wizard) {
        MailingListPages *p = wizard->pages();
        QVERIFY(p->m_lblNameNote->text().contains("mylist@example.com"));
        QTest::keyClicks(p->m_edName, "press");
        p->m_edDescription->setText("Press releases");
        p->m_cboReplyTo->setCurrentIndex(p->m_cboReplyTo->findText("Sender + this list"));
        PvnMListTable *moderators = p->m_pageModerators->roster();
        PvnMListTable *members = p->m_pageMembers->roster();
        DBRow *moderator = moderators->addRow();
        moderator->setText("Email", "admin@example.com");
        DBRow *member = members->addRow();
        member->setText("Email", "jane@example.org");
        member->setText("FullName", "Jane \"JD\" Doe");
        wizard->accept();
        QVERIFY(!wizard->isVisible());
    }));
    QVERIFY(answers.texts.isEmpty());
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(kListQuery).contains("press|Press releases|4||0|0"));
    QCOMPARE(serverRows(rosterQuery("press", "members")),
             QStringList{"jane@example.org|Jane \"JD\" Doe"});
    QCOMPARE(serverRows(rosterQuery("press", "moderators")), QStringList{"admin@example.com|"});
    // The list's insert goes before its roster calls, in one transaction.
    const QString text = trace.text();
    const qsizetype insert = text.indexOf("insert MailingList");
    QVERIFY(insert >= 0);
    QVERIFY(text.indexOf("MListAdd(") > insert);

    // Reply-To "Sender + this list" reads back as itself.
    QVERIFY(editList(page, "press", [](MailingListDlg *dialog) {
        QCOMPARE(dialog->pages()->m_cboReplyTo->currentText(), QString("Sender + this list"));
        QCOMPARE(dialog->pages()->m_pageMembers->listView()->topLevelItemCount(), 1);
        dialog->reject();
    }));
}

void TestMailingListsPage::wizardRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("page");
    QTest::newRow("empty") << ""
                           << ""
                           << "You must enter the name of the mailing list."
                           << int(MailingListPages::General);
    QTest::newRow("reserved") << "sales-help"
                              << ""
                              << "The name of list you have specified is not permitted."
                              << int(MailingListPages::General);
    QTest::newRow("exists") << "ANNOUNCE"
                            << ""
                            << "This mailing list already exists."
                            << int(MailingListPages::General);
    QTest::newRow("footer") << "news"
                            << "footer"
                            << "The footer length is limited to 1023"
                            << int(MailingListPages::Message);
    QTest::newRow("comment") << "news"
                             << "comment"
                             << "The comment length is limited to 1023"
                             << int(MailingListPages::Comment);
    QTest::newRow("hide sender") << "news"
                                 << "hide"
                                 << "\"Reply-To: Sender\" together with"
                                 << int(MailingListPages::Message);
    QTest::newRow("hide sender and list")
            << "news"
            << "hide+list"
            << "Reply-To: Sender + this list\" together with" << int(MailingListPages::Message);
    QTest::newRow("other address") << "news"
                                   << "other"
                                   << "valid Reply-To address" << int(MailingListPages::Message);
    QTest::newRow("no moderators") << "news"
                                   << "nomoderators"
                                   << "You didn't specify any moderators in this list."
                                   << int(MailingListPages::Moderators);
    QTest::newRow("group address wins")
            << "orders"
            << ""
            << "a group email address called" << int(MailingListPages::General);
}

void TestMailingListsPage::wizardRefuses()
{
    QFETCH(QString, name);
    QFETCH(QString, setting);
    QFETCH(QString, message);
    QFETCH(int, page);
    // "orders" is also an alias: one question, with the group text.
    QVERIFY(serverExec("insert Alias set Lhs='orders', Domain='example.com', Rhs='bob'"));
    QVERIFY(startConsole());
    MailingListWnd *lists = openLists();
    QVERIFY(lists);
    BoxAnswers answers(QMessageBox::Yes);
    QVERIFY(runWizard(lists, [&](MailingListWiz *wizard) {
        MailingListPages *p = wizard->pages();
        QTest::keyClicks(p->m_edName, name);
        if (setting != "nomoderators")
            p->m_pageModerators->roster()->addRow()->setText("Email", "admin@example.com");
        if (setting == "footer")
            p->m_edFooter->setPlainText(QString(1024, 'x'));
        if (setting == "comment")
            p->m_edComment->setPlainText(QString(1024, 'x'));
        if (setting.startsWith("hide")) {
            p->m_chkSenderHide->setChecked(true);
            p->m_cboReplyTo->setCurrentIndex(setting == "hide" ? 0 : 3);
        }
        if (setting == "other") {
            p->m_cboReplyTo->setCurrentIndex(2);
            p->m_edReplyToEmail->setText("nobody");
        }
        wizard->accept();
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->currentPage(), page);
        wizard->reject();
    }));
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY2(answers.texts.first().contains(message), qPrintable(answers.texts.first()));
    QCOMPARE(pendingOperations(), 0);
    // A footer of exactly 1023 characters is taken.
    if (setting == "footer") {
        answers.texts.clear();
        QVERIFY(runWizard(lists, [&](MailingListWiz *wizard) {
            MailingListPages *p = wizard->pages();
            QTest::keyClicks(p->m_edName, name);
            p->m_pageModerators->roster()->addRow()->setText("Email", "admin@example.com");
            p->m_edFooter->setPlainText(QString(1023, 'x'));
            wizard->accept();
            QVERIFY(!wizard->isVisible());
        }));
        QVERIFY(answers.texts.isEmpty());
    }
}

void TestMailingListsPage::rosterEditsAreSentInOneApply()
{
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        MListRosterPage *members = dialog->pages()->m_pageMembers;
        BListView *list = members->listView();
        // Change one member through its dialog, remove another.
        list->setCurrentItem(list->findItems("bob@example.com", Qt::MatchExactly, 0).value(0));
        // The entry dialog opens inside the list dialog: answered from a timer.
        bool answered = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &poll, [&answered] {
            auto *entry = dynamic_cast<MListMemberDlg *>(QApplication::activeModalWidget());
            if (!entry || answered || !entry->isVisible())
                return;
            answered = true;
            entry->m_edFullName->setText("Robert \\ Brewer");
            entry->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        poll.start(20);
        members->editButton()->click();
        QVERIFY(answered);
        list->setCurrentItem(list->findItems("carol@example.com", Qt::MatchExactly, 0).value(0));
        members->removeButton()->click();
        dialog->pages()->m_edDescription->setText("All staff");
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(pendingOperations(), 3);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(rosterQuery("announce", "members")),
             (QStringList{"alice@example.com|Alice Archer", "bob@example.com|Robert \\ Brewer"}));
    QVERIFY(serverRows(kListQuery).contains("announce|All staff|0||1|0"));
}

void TestMailingListsPage::editedListAndMemberShowTheirNewValues()
{
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    BListViewItem *announce = page->listView()->findItems("announce", Qt::MatchExactly, 0).value(0);
    QVERIFY(announce);
    QSignalSpy changes(page->listView()->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        BListView *list = dialog->pages()->m_pageMembers->listView();
        BListViewItem *bob = list->findItems("bob@example.com", Qt::MatchExactly, 0).value(0);
        QVERIFY(bob);
        list->setCurrentItem(bob);
        QSignalSpy memberChanges(list->model(), &QAbstractItemModel::dataChanged);
        // The entry dialog opens inside the list dialog: answered from a timer.
        bool answered = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &poll, [&answered] {
            auto *entry = dynamic_cast<MListMemberDlg *>(QApplication::activeModalWidget());
            if (!entry || answered || !entry->isVisible())
                return;
            answered = true;
            entry->m_edEmail->setText("robert@example.com");
            entry->m_edFullName->setText("Robert Brewer");
            entry->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        poll.start(20);
        dialog->pages()->m_pageMembers->editButton()->click();
        QVERIFY(answered);
        // The member's row shows its new values at once.
        QCOMPARE(list->findItems("robert@example.com", Qt::MatchExactly, 0).value(0), bob);
        QCOMPARE(bob->text(1), QString("Robert Brewer"));
        QVERIFY(viewToldOf(memberChanges, list, bob));
        dialog->pages()->m_edDescription->setText("Company news");
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog->isVisible());
    }));
    // The same row shows the edited description: the list was not filled again.
    QCOMPARE(page->listView()->findItems("announce", Qt::MatchExactly, 0).value(0), announce);
    QCOMPARE(announce->text(1), QString("Company news"));
    QVERIFY(viewToldOf(changes, page->listView(), announce));
}

void TestMailingListsPage::cancelLeavesRostersAsTheyWere()
{
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        MListRosterPage *members = dialog->pages()->m_pageMembers;
        members->listView()->selectAll();
        members->removeButton()->click();
        members->roster()->addRow()->setText("Email", "new@example.org");
        QCOMPARE(members->roster()->rowCount(), 1);
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        QCOMPARE(dialog->pages()->m_pageMembers->listView()->topLevelItemCount(), 3);
        dialog->reject();
    }));
    QCOMPARE(serverRows(rosterQuery("announce", "members")).size(), 3);
}

void TestMailingListsPage::removedListIsRecreatedEmpty()
{
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    auto item = [page] {
        return page->listView()->findItems("announce", Qt::MatchExactly, 0).value(0);
    };
    BoxAnswers answers(QMessageBox::No);
    page->listView()->setCurrentItem(item());
    page->removeButton()->click();
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY(answers.texts.first().contains("has 3 member(s)"));
    QVERIFY(item());
    QCOMPARE(pendingOperations(), 0);

    answers.setAnswer(QMessageBox::Yes);
    page->removeButton()->click();
    QVERIFY(!item());
    QVERIFY(runWizard(page, [](MailingListWiz *wizard) {
        QTest::keyClicks(wizard->pages()->m_edName, "announce");
        QCOMPARE(wizard->pages()->m_pageMembers->roster()->rowCount(), 0);
        wizard->pages()->m_pageModerators->roster()->addRow()->setText("Email", "erin@example.org");
        wizard->accept();
        QVERIFY(!wizard->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(rosterQuery("announce", "members")), QStringList());
    QCOMPARE(serverRows(rosterQuery("announce", "moderators")), QStringList{"erin@example.org|"});
}

void TestMailingListsPage::csvImportEscapesAndReports()
{
    const QString path = folderPath("members.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Email,Full name\n"
               "quote@example.org,\"Say \"\"hi\"\" \\ bye\"\n"
               "alice@example.com,Alice again\n"
               "broken,Nobody\n");
    file.close();
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    BoxAnswers answers(QMessageBox::Ok);
    QVERIFY(editList(page, "announce", [&](MailingListDlg *dialog) {
        MListRosterPage *members = dialog->pages()->m_pageMembers;
        QVERIFY(members->importCsv(path));
        QCOMPARE(members->listView()->topLevelItemCount(), 4);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY(answers.texts.first().contains("Members imported: 1"));
    QVERIFY(answers.texts.first().contains("Duplicates skipped: 1"));
    QVERIFY(answers.texts.first().contains("line 4: broken,Nobody"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(rosterQuery("announce", "members"))
                    .contains("quote@example.org|Say \"hi\" \\ bye"));
}

void TestMailingListsPage::unknownComboValueIsKept()
{
    QVERIFY(serverExec("update MailingList set ModeMemberPost='7', ReplyToType='3' "
                       "where Name='announce' and Domain='example.com'"));
    QVERIFY(startConsole());
    MailingListWnd *page = openLists();
    QVERIFY(page);
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        QCOMPARE(dialog->pages()->m_cboModeMemberPost->currentIndex(), -1);
        QCOMPARE(dialog->pages()->m_cboReplyTo->currentIndex(), -1);
        dialog->pages()->m_edDescription->setText("Still seven");
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(kListQuery).contains("announce|Still seven|3||7|0"));
}

void TestMailingListsPage::viewerChangesNothing()
{
    const QStringList before = serverRows(kListQuery);
    QVERIFY(startConsole("viewer"));
    MailingListWnd *page = openLists();
    QVERIFY(page);
    page->listView()->setCurrentItem(
            page->listView()->findItems("announce", Qt::MatchExactly, 0).value(0));
    QVERIFY(!page->addButton()->isEnabled());
    QVERIFY(!page->removeButton()->isEnabled());
    QVERIFY(page->editButton()->isEnabled());
    QVERIFY(editList(page, "announce", [](MailingListDlg *dialog) {
        MailingListPages *p = dialog->pages();
        QCOMPARE(p->m_pageMembers->listView()->topLevelItemCount(), 3);
        QVERIFY(!p->m_pageMembers->addButton()->isEnabled());
        QVERIFY(p->m_edDescription->isReadOnly());
        QVERIFY(!dialog->m_buttons->button(QDialogButtonBox::Ok)->isEnabled());
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kListQuery), before);
}

QTEST_MAIN(TestMailingListsPage)
#include "test_mailinglists.moc"

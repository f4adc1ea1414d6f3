// The user dialog, the wizard, the removal's mail-store decision, Recover,
// statistics and the imports of the "Users" section, through the real
// widgets of the console against the development server.
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"
#include "forms/bpwdlineedit.h"
#include "forms/pvnmaxsize.h"
#include "forms/sectionids.h"
#include "pages/usergroups/useractivatedlgtemp.h"
#include "pages/users/templatewnd.h"
#include "pages/users/usercommands.h"
#include "pages/users/userdlg.h"
#include "pages/users/userfolderdlg.h"
#include "pages/users/userimportdlg.h"
#include "pages/users/userresultdialogs.h"
#include "pages/users/userwiz.h"
#include "pages/users/userwnd.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTest>

namespace {

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

const QString kUserColumns = QStringLiteral(
        "select Name, Fullname, Description, Auth_type, HomeServer, Password, Rights, Groups, "
        "Qstorage, Qmessage, ForwardMode, ForwardAddress, Authorization, MailAddress, "
        "MaxOutgoingMessageSize from User");

QString userQuery(const QString &name, const QString &domain = QStringLiteral("example.com"))
{
    return kUserColumns + QStringLiteral(" where Domain='%1' and Name='%2'").arg(domain, name);
}

} // namespace

class TestUserDialogs : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void functionArgumentsAreEscaped_data();
    void functionArgumentsAreEscaped();
    void escapedArgumentsRoundTrip();
    void importFileParsing();
    void editStoresOnlyWhatChanged();
    void multiEditTouchesOnlyChangedFields();
    void passwordAndRenameChecks();
    void forwardOnlyWithoutAddressAsks();
    void quotaZeroIsNeverReached();
    void maxSizeShowsAndStoresTheLimit();
    void multiEditMaxSizeKeepsEachLimit();
    void wizardAddsWithTemplateWithinTheLimit();
    void mailStoreActionOnlyAfterApply();
    void recoverShowsTheResult();
    void statisticsListTheDomain();
    void directoryImportActivatesWithinTheLimit();
    void fileImportInserts();
    void templatesPage();
    void editedTemplateShowsItsNewValues();

private:
    UserWnd *openUsers(const QString &domain = QString());
    // Opens the dialog on the named users through Edit and runs handler in it.
    bool editUsers(UserWnd *page, const QStringList &names,
                   const std::function<void(UserDlg *)> &handler);
};

void TestUserDialogs::functionArgumentsAreEscaped_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("call");
    const QString odd = QStringLiteral("a\"b\\c");
    QTest::newRow("move") << "MoveUserToFld" << QStringList{odd, "x@y"}
                          << R"(MoveUserToFld("a\"b\\c", "x@y"))";
    QTest::newRow("delete") << "DeleteUserFld" << QStringList{odd} << R"(DeleteUserFld("a\"b\\c"))";
    QTest::newRow("restore") << "RestoreMsgs" << QStringList{odd} << R"(RestoreMsgs("a\"b\\c"))";
}

void TestUserDialogs::functionArgumentsAreEscaped()
{
    QFETCH(QString, function);
    QFETCH(QStringList, arguments);
    QFETCH(QString, call);
    QCOMPARE(usercommands::call(function, arguments), call);
    QCOMPARE(userdlg::publicFolderAclCall(QStringLiteral("q\"u\\o@example.com"), true),
             QStringLiteral(
                     R"(FolderSetAcl("#public", "q\"u\\o@example.com", "lrswipkxtea", "1"))"));
}

void TestUserDialogs::escapedArgumentsRoundTrip()
{
    QVERIFY(startConsole());
    const QString account = QStringLiteral("we\"ird\\name@example.com");
    QVERIFY(usercommands::run(nullptr, userdlg::publicFolderAclCall(account, true)));
    QVERIFY(userdlg::holdsPublicFolderRights(account));
    QVERIFY(usercommands::run(nullptr, userdlg::publicFolderAclCall(account, false)));
    QVERIFY(!userdlg::holdsPublicFolderRights(account));
}

void TestUserDialogs::importFileParsing()
{
    const QList<ImportedUser> users = UserImportFileDlg::parse(
            "zoe,Zoe Zane,Sales,secret\r\n\n\"yan\",\"Yan, Jr.\",\"said \"\"hi\"\"\",\n");
    QCOMPARE(users.size(), 2);
    QCOMPARE(users.at(0).name, QStringLiteral("zoe"));
    QCOMPARE(users.at(0).password, QStringLiteral("secret"));
    QCOMPARE(users.at(1).fullName, QStringLiteral("Yan, Jr."));
    QCOMPARE(users.at(1).description, QStringLiteral("said \"hi\""));
    QCOMPARE(users.at(1).password, QString());
}

UserWnd *TestUserDialogs::openUsers(const QString &domain)
{
    if (!startConsole())
        return nullptr;
    auto *page = dynamic_cast<UserWnd *>(openSection(SectionId::Users));
    if (!page)
        return nullptr;
    auto ready = [page] { return page->isEnabled() && !page->isLoadingRows(); };
    (void)QTest::qWaitFor(ready, kTimeout);
    if (!domain.isEmpty() && page->currentDomain() != domain) {
        page->domainCombo()->setCurrentIndex(page->domainCombo()->findText(domain));
        page->slotDomainActivated(domain);
        (void)QTest::qWaitFor([&] { return ready() && page->currentDomain() == domain; }, kTimeout);
    }
    return page;
}

bool TestUserDialogs::editUsers(UserWnd *page, const QStringList &names,
                                const std::function<void(UserDlg *)> &handler)
{
    selectOnly(page->listView(), names);
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = qobject_cast<UserDlg *>(modal);
                         QVERIFY(dialog);
                         handler(dialog);
                     });
}

void TestUserDialogs::editStoresOnlyWhatChanged()
{
    QVERIFY(startServer());
    // Values no widget can show: an unknown authentication, a node that is
    // gone, rights with a bit the console does not know.
    QVERIFY(serverExec("update User set Auth_type='9', HomeServer='gone.example', Rights='5' "
                       "where Domain='example.com' and Name='bob'"));
    const QStringList before = serverRows(userQuery("bob"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    QVERIFY(editUsers(page, {"bob"}, [](UserDlg *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit User"));
        QCOMPARE(dialog->fields()->nodeCombo()->currentIndex(), -1);
        QVERIFY(dialog->fields()->shaBox()->isChecked());
        dialog->fields()->descriptionEdit()->setText("Field sales");
        dialog->accept();
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(findItem(page->listView(), "bob")->text(useritem::ColDescription),
             QStringLiteral("Field sales"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QStringList expected = before.first().split('|');
    expected[2] = QStringLiteral("Field sales");
    QCOMPARE(serverRows(userQuery("bob")), QStringList{expected.join('|')});

    // Rights: read only keeps the unknown bit (5 = 4 + 1 → 4 + 3 = 7).
    QVERIFY(editUsers(page, {"bob"}, [](UserDlg *dialog) {
        dialog->findChild<QRadioButton *>("m_rbFullAccess")->setChecked(true);
        dialog->accept();
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Rights from User where Domain='example.com' and Name='bob'"),
             QStringList{"7"});
}

void TestUserDialogs::multiEditTouchesOnlyChangedFields()
{
    QVERIFY(startServer());
    const QStringList alice = serverRows(userQuery("alice"));
    const QStringList carol = serverRows(userQuery("carol"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    QVERIFY(editUsers(page, {"alice", "carol"}, [](UserDlg *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit Multiple Users"));
        QVERIFY(!dialog->fields()->nameEdit()->isEnabled());
        QVERIFY(!dialog->fields()->passwordEdit()->isEnabled());
        QVERIFY(dialog->findChild<QRadioButton *>("m_rbNoChangeRights")->isChecked());
        dialog->fields()->quotaStorageEdit()->setText("2");
        dialog->fields()->storageUnitCombo()->setCurrentIndex(2); // GB
        dialog->accept();
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    for (const auto &[name, stored] :
         {std::pair{QStringLiteral("alice"), alice}, std::pair{QStringLiteral("carol"), carol}}) {
        QStringList expected = stored.first().split('|');
        expected[8] = QStringLiteral("2097152");
        QCOMPARE(serverRows(userQuery(name)), QStringList{expected.join('|')});
    }
}

void TestUserDialogs::passwordAndRenameChecks()
{
    QVERIFY(startServer());
    const QString oldPassword
            = serverRows("select Password from User where Domain='example.com' and Name='bob'")
                      .value(0);
    UserWnd *page = openUsers();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(editUsers(page, {"bob"}, [&](UserDlg *dialog) {
        // A rename passes the wizard's name check.
        dialog->fields()->nameEdit()->setText("bob brewer");
        dialog->accept();
        QVERIFY(dialog->isVisible());
        QCOMPARE(boxes.texts.value(0),
                 QStringLiteral("<nobr>The login name 'bob brewer' is not valid.</nobr>"));
        dialog->fields()->nameEdit()->setText("bob");
        // The confirmation must match.
        QVERIFY(PageTest::typePassword(dialog->fields()->passwordEdit(), "n3w-pass"));
        QVERIFY(PageTest::typePassword(dialog->fields()->confirmEdit(), "other"));
        dialog->accept();
        QVERIFY(dialog->isVisible());
        QCOMPARE(boxes.texts.value(1), QStringLiteral("Invalid confirmation password."));
        QCOMPARE(dialog->tabs()->currentIndex(), 0);
        dialog->fields()->confirmEdit()->setText("n3w-pass");
        dialog->accept();
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QString newPassword
            = serverRows("select Password from User where Domain='example.com' and Name='bob'")
                      .value(0);
    QVERIFY(newPassword != oldPassword);
    QVERIFY(newPassword.startsWith("SHA:"));
}

void TestUserDialogs::forwardOnlyWithoutAddressAsks()
{
    QVERIFY(startServer());
    UserWnd *page = openUsers();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Yes);
    QVERIFY(editUsers(page, {"alice"}, [&](UserDlg *dialog) {
        dialog->fields()->forwardButton()->setChecked(true);
        dialog->accept();
        // Yes: correct it; the dialog stays on the forwarding tab.
        QVERIFY(dialog->isVisible());
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts.first().contains("Do you want to correct the problem?"));
        QCOMPARE(dialog->tabs()->currentWidget(), dialog->fields()->page(UserDlgTemp::Forwarding));
        boxes.setAnswer(QMessageBox::No);
        dialog->accept();
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select ForwardMode from User where Domain='example.com' and "
                        "Name='alice'"),
             QStringList{"1"});
}

void TestUserDialogs::quotaZeroIsNeverReached()
{
    QVERIFY(startServer());
    // bob has 118785 kB and 555 items stored.
    QVERIFY(serverExec("update User set Qstorage='0', Qmessage='100' where Domain='example.com' "
                       "and Name='bob'"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    QVERIFY(editUsers(page, {"bob"}, [](UserDlg *dialog) {
        QCOMPARE(dialog->fields()->diskWarning()->text(), QString());
        QCOMPARE(dialog->fields()->messagesWarning()->text(), QStringLiteral("Quota is reached!"));
        dialog->fields()->quotaMessageEdit()->setText("0");
        QCOMPARE(dialog->fields()->messagesWarning()->text(), QString());
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
}

namespace {

QString storedMaxSize(const QString &name)
{
    return QStringLiteral("select MaxOutgoingMessageSize from User where Domain='example.com' "
                          "and Name='%1'")
            .arg(name);
}

void showRestrictions(UserDlg *dialog)
{
    dialog->tabs()->setCurrentWidget(dialog->fields()->page(UserDlgTemp::Restrictions));
}

} // namespace

void TestUserDialogs::maxSizeShowsAndStoresTheLimit()
{
    QVERIFY(startServer());
    // The domain allows 10 MB, SMTP 20 MB (20480 kB); -1 is how older
    // consoles stored "Unlimited".
    QVERIFY(serverExec("update Domain set MaxOutgoingMessageSize='10240' where "
                       "Domain='example.com'"));
    for (const auto &[name, stored] : {std::pair{"alice", "0"}, std::pair{"bob", "30720"},
                                       std::pair{"carol", "-1"}, std::pair{"dave", "512"}}) {
        QVERIFY(serverExec(QStringLiteral("update User set MaxOutgoingMessageSize='%1' where "
                                          "Domain='example.com' and Name='%2'")
                                   .arg(QLatin1String(stored), QLatin1String(name))));
    }
    UserWnd *page = openUsers();
    QVERIFY(page);

    struct Case
    {
        const char *name;
        bool domainChosen;
        const char *shown;
        int unit;
        bool warned;
        std::function<void(PvnMaxSizeImpl *)> change;
        const char *expected;
    };
    const Case cases[] = {
            // The domain's limit; an own one typed in MB.
            {"alice", true, "", 0, false,
             [](PvnMaxSizeImpl *group) {
                 group->findChild<QRadioButton *>("m_rbMaxSize")->click();
                 QVERIFY(group->m_edMaxSize->isEnabled());
                 group->m_cboMaxSize->setCurrentIndex(1);
                 QTest::keyClicks(group->m_edMaxSize, "2");
             },
             "2048"},
            // Above the SMTP limit warns until the size falls below it.
            {"bob", false, "30", 1, true,
             [](PvnMaxSizeImpl *group) {
                 group->m_edMaxSize->selectAll();
                 QTest::keyClicks(group->m_edMaxSize, "15");
                 QVERIFY(group->m_lblWarning->isHidden());
             },
             "15360"},
            // A unit change shows another number for the same limit: nothing
            // is written, so the old "Unlimited" stays as stored.
            {"carol", false, "Unlimited", 0, true,
             [](PvnMaxSizeImpl *group) {
                 group->m_cboMaxSize->setCurrentIndex(2);
                 QCOMPARE(group->m_edMaxSize->text(), QStringLiteral("Unlimited"));
             },
             "-1"},
            {"dave", false, "512", 0, false,
             [](PvnMaxSizeImpl *group) {
                 group->m_cboMaxSize->setCurrentIndex(1);
                 QCOMPARE(group->m_edMaxSize->text(), QStringLiteral("0.5"));
                 group->findChild<QPushButton *>("m_btnSetUnlimited")->click();
                 QVERIFY(!group->m_lblWarning->isHidden());
             },
             "1"},
    };
    for (const Case &c : cases) {
        QVERIFY(editUsers(page, {c.name}, [&](UserDlg *dialog) {
            showRestrictions(dialog);
            PvnMaxSizeImpl *group = dialog->fields()->maxSizeGroup();
            QCOMPARE(dialog->findChild<QLineEdit *>("m_edMaxSizeDomain")->text(),
                     QStringLiteral("10 MB"));
            QVERIFY(dialog->findChild<QRadioButton *>("m_rbNoChangeMaxSize")->isHidden());
            QCOMPARE(dialog->findChild<QRadioButton *>("m_rbMaxSizeDomain")->isChecked(),
                     c.domainChosen);
            QCOMPARE(group->m_edMaxSize->text(), QString::fromLatin1(c.shown));
            QCOMPARE(group->m_cboMaxSize->currentIndex(), c.unit);
            QCOMPARE(!dialog->findChild<QLabel *>("m_lblMaxSizeWarning")->isHidden(), c.warned);
            c.change(group);
            dialog->fields()->descriptionEdit()->setText(QStringLiteral("limit checked"));
            dialog->accept();
            QVERIFY(!dialog->isVisible());
        }));
    }
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    for (const Case &c : cases)
        QCOMPARE(serverRows(storedMaxSize(c.name)), QStringList{c.expected});

    // A size that cannot be read keeps the dialog on the Restrictions tab.
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(editUsers(page, {"bob"}, [&](UserDlg *dialog) {
        PvnMaxSizeImpl *group = dialog->fields()->maxSizeGroup();
        // Every field of the group is named for assistive tools.
        for (const QWidget *input : group->findChildren<QWidget *>()) {
            if ((qobject_cast<const QLineEdit *>(input) || qobject_cast<const QComboBox *>(input))
                && !input->parent()->inherits("QComboBox"))
                QVERIFY2(!input->accessibleName().isEmpty(), qPrintable(input->objectName()));
        }
        showRestrictions(dialog);
        // However the text arrives, the number shown before no longer counts.
        group->m_edMaxSize->setText(QStringLiteral("lots"));
        dialog->accept();
        QVERIFY(dialog->isVisible());
        QCOMPARE(boxes.texts, QStringList{"The message size limit must be a number."});
        QCOMPARE(dialog->tabs()->currentWidget(),
                 dialog->fields()->page(UserDlgTemp::Restrictions));
        QVERIFY(dialog->focusWidget() == group->m_edMaxSize);
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
}

void TestUserDialogs::multiEditMaxSizeKeepsEachLimit()
{
    QVERIFY(startServer());
    QVERIFY(serverExec("update User set MaxOutgoingMessageSize='2048' where Domain='example.com' "
                       "and Name='alice'"));
    QVERIFY(serverExec("update User set MaxOutgoingMessageSize='1' where Domain='example.com' "
                       "and Name='dave'"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    // "[Don't change this setting]" leaves each user's own limit.
    QVERIFY(editUsers(page, {"alice", "dave"}, [](UserDlg *dialog) {
        showRestrictions(dialog);
        auto *noChange = dialog->findChild<QRadioButton *>("m_rbNoChangeMaxSize");
        QVERIFY(!noChange->isHidden());
        QCOMPARE(noChange->text(), QStringLiteral("[Don't change this setting]"));
        QVERIFY(noChange->isChecked());
        QVERIFY(!dialog->fields()->maxSizeGroup()->m_edMaxSize->isEnabled());
        dialog->fields()->descriptionEdit()->setText(QStringLiteral("Team"));
        dialog->accept();
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    for (const auto &[name, limit] : {std::pair{"alice", "2048"}, std::pair{"dave", "1"}}) {
        QCOMPARE(serverRows(storedMaxSize(name)), QStringList{limit});
        QCOMPARE(serverRows(QStringLiteral("select Description from User where "
                                           "Domain='example.com' and Name='%1'")
                                    .arg(QLatin1String(name))),
                 QStringList{"Team"});
    }

    // Any other choice applies to every user edited.
    QVERIFY(editUsers(page, {"alice", "dave"}, [](UserDlg *dialog) {
        showRestrictions(dialog);
        dialog->findChild<QRadioButton *>("m_rbMaxSizeDomain")->click();
        dialog->accept();
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(storedMaxSize("alice")), QStringList{"0"});
    QCOMPARE(serverRows(storedMaxSize("dave")), QStringList{"0"});
}

void TestUserDialogs::wizardAddsWithTemplateWithinTheLimit()
{
    QVERIFY(startServer());
    QVERIFY(serverExec("update Domain set MaxUserCount='7' where Domain='example.com'"));
    UserWnd *page = openUsers();
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Yes);
    QVERIFY(withModal(
            [page] { page->addButton()->click(); },
            [&](QWidget *modal) {
                auto *wizard = qobject_cast<UserWiz *>(modal);
                QVERIFY(wizard);
                QCOMPARE(wizard->page(wizard->startId())->title(),
                         QStringLiteral("General - page 1 of 7"));
                QStringList templates;
                for (int i = 0; i < wizard->templateCombo()->count(); ++i)
                    templates << wizard->templateCombo()->itemText(i);
                QCOMPARE(templates, (QStringList{"No template", "Standard", "Sales staff"}));
                wizard->fields()->nameEdit()->setText("zoe");
                wizard->fields()->fullNameEdit()->setText("Zoe Zane");
                QVERIFY(PageTest::typePassword(wizard->fields()->passwordEdit(), "pw-zoe"));
                QVERIFY(PageTest::typePassword(wizard->fields()->confirmEdit(), "pw-zoe"));
                wizard->templateCombo()->setCurrentIndex(2);
                emit wizard->templateCombo()->activated(2);
                QCOMPARE(boxes.texts.value(0), UserWiz::overwriteQuestion());
                QCOMPARE(wizard->fields()->groupNames(), QStringList{"sales"});
                QCOMPARE(wizard->fields()->nameEdit()->text(), QStringLiteral("zoe"));
                wizard->accept();
                QVERIFY(!wizard->isVisible());
            }));
    QVERIFY(findItem(page->listView(), "zoe"));
    QCOMPARE(page->pendingAdditions(), 1);
    // Six on the server and one added: the limit of 7 is reached.
    boxes.texts.clear();
    boxes.setAnswer(QMessageBox::Ok);
    page->addButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, kTimeout);
    QCOMPARE(boxes.texts.first(), UserWnd::limitMessage(7, 7));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QStringList zoe = serverRows(userQuery("zoe")).value(0).split('|');
    QCOMPARE(zoe.value(1), QStringLiteral("Zoe Zane"));
    QCOMPARE(zoe.value(2), QString()); // the template's description is not copied
    QCOMPARE(zoe.value(4), QStringLiteral("node1.example.com"));
    QVERIFY(zoe.value(5).startsWith("SHA:"));
    QCOMPARE(zoe.value(7), QStringLiteral("sales"));
    QCOMPARE(zoe.value(8), QStringLiteral("1024000"));
}

void TestUserDialogs::mailStoreActionOnlyAfterApply()
{
    QVERIFY(startServer());
    const QString stats = QStringLiteral("select ShowUserStats(\"example.com\")");
    const QStringList before = serverRows(stats);
    UserWnd *page = openUsers();
    QVERIFY(page);
    auto removeWith = [&](const QString &name, const std::function<void(UserFolderDlg *)> &choose) {
        selectOnly(page->listView(), {name});
        return withModal([page] { page->removeButton()->click(); },
                         [&](QWidget *modal) {
                             auto *dialog = qobject_cast<UserFolderDlg *>(modal);
                             QVERIFY(dialog);
                             choose(dialog);
                             dialog->accept();
                         });
    };
    // Deleted, then Reset: the user and the mail store stay.
    QVERIFY(removeWith("dave", [](UserFolderDlg *d) { d->deleteButton()->setChecked(true); }));
    QCOMPARE(page->pendingFolderActions().size(), 1);
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(findItem(page->listView(), "dave"), kTimeout);
    QVERIFY(page->pendingFolderActions().isEmpty());
    QCOMPARE(serverRows(stats), before);

    // Moved to alice, then applied: bob's store joins alice's.
    QVERIFY(removeWith("bob", [](UserFolderDlg *d) {
        d->moveButton()->setChecked(true);
        d->targetCombo()->setCurrentIndex(d->targetCombo()->findText("alice@example.com"));
    }));
    QCOMPARE(serverRows(stats), before); // nothing before Apply
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(page->pendingFolderActions().isEmpty(), kTimeout);
    const QStringList after = serverRows(stats);
    auto storageOf = [](const QStringList &rows, const QString &name) {
        for (const QString &row : rows) {
            if (row.startsWith(name + '|'))
                return row.section('|', 1, 1).toLongLong();
        }
        return qint64(-1);
    };
    QCOMPARE(storageOf(after, "bob"), qint64(-1));
    QCOMPARE(storageOf(after, "alice"), storageOf(before, "alice") + storageOf(before, "bob"));
}

void TestUserDialogs::recoverShowsTheResult()
{
    UserWnd *page = openUsers();
    QVERIFY(page);
    selectOnly(page->listView(), {"alice"});
    QVERIFY(page->recoverButton()->isEnabled());
    QVERIFY(withModal([page] { page->recoverButton()->click(); },
                      [](QWidget *modal) {
                          auto *dialog = qobject_cast<UserRestoreMsgsResultDlg *>(modal);
                          QVERIFY(dialog);
                          // alice@example.com: 17 characters, 17 % 5 = 2 deleted items.
                          QCOMPARE(dialog->messageLabel()->text(),
                                   UserRestoreMsgsResultDlg::resultText("alice@example.com", 0, 2));
                          dialog->accept();
                      }));
}

void TestUserDialogs::statisticsListTheDomain()
{
    UserWnd *page = openUsers();
    QVERIFY(page);
    QVERIFY(withModal([page] { page->command(UserWnd::CommandStats); },
                      [](QWidget *modal) {
                          auto *dialog = qobject_cast<UserStatisticDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->list()->topLevelItemCount(), 6);
                          dialog->reject();
                      }));
}

void TestUserDialogs::directoryImportActivatesWithinTheLimit()
{
    QVERIFY(startServer());
    QVERIFY(serverExec("update Domain set MaxUserCount='2' where Domain='corp.example'"));
    UserWnd *page = openUsers("corp.example");
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    auto importChecked = [&](bool expectRefusal) {
        return withModal([page] { page->importButton()->click(); },
                         [&](QWidget *modal) {
                             auto *dialog = qobject_cast<UserImportDlg *>(modal);
                             QVERIFY(dialog);
                             QTRY_COMPARE_WITH_TIMEOUT(dialog->list()->topLevelItemCount(), 2,
                                                       kTimeout);
                             for (int i = 0; i < 2; ++i)
                                 dialog->list()->topLevelItem(i)->setCheckState(0, Qt::Checked);
                             dialog->accept();
                             QCOMPARE(dialog->isVisible(), expectRefusal);
                             if (expectRefusal) {
                                 QCOMPARE(boxes.texts.value(0), UserWnd::limitMessage(2, 1));
                                 dialog->reject();
                             }
                         });
    };
    // gina and two more would be three.
    QVERIFY(importChecked(true));
    QCOMPARE(pendingOperations(), 0);
    QVERIFY(serverExec("update Domain set MaxUserCount='0' where Domain='corp.example'"));
    page->load(true);
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && !page->isLoadingRows(), kTimeout);
    QVERIFY(importChecked(false));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Name, Account_enabled from User where Domain='corp.example'"),
             (QStringList{"gina|1", "hank|1", "ivy|1"}));
}

void TestUserDialogs::fileImportInserts()
{
    QVERIFY(startServer());
    UserWnd *page = openUsers("example.org");
    QVERIFY(page);
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("zed,Zed Zorn,Imported,pw1\nerin,Erin Again,,pw2\nbad name,Bad,,x\n");
    file.close();
    QVERIFY(withModal(
            [page] { page->command(UserWnd::CommandImportFile); },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<UserImportFileDlg *>(modal);
                QVERIFY(dialog);
                QVERIFY(dialog->readFile(file.fileName()));
                QCOMPARE(dialog->list()->topLevelItemCount(), 3);
                // erin exists and "bad name" is not a login name: neither can be checked.
                QVERIFY(!(dialog->list()->topLevelItem(1)->flags() & Qt::ItemIsUserCheckable));
                QVERIFY(!(dialog->list()->topLevelItem(2)->flags() & Qt::ItemIsUserCheckable));
                dialog->accept();
            }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QStringList zed = serverRows(userQuery("zed", "example.org")).value(0).split('|');
    QCOMPARE(zed.value(1), QStringLiteral("Zed Zorn"));
    QVERIFY(zed.value(5).startsWith("SHA:"));
    QCOMPARE(serverRows("select Fullname from User where Domain='example.org' and Name='erin'"),
             QStringList{"Erin Evans"});
}

void TestUserDialogs::templatesPage()
{
    QVERIFY(startServer());
    QVERIFY(startConsole());
    auto *page = dynamic_cast<TemplateWnd *>(openSection(SectionId::UserTemplates));
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && page->listView()->topLevelItemCount() == 2,
                             kTimeout);
    QCOMPARE(findItem(page->listView(), "Standard")->text(2),
             QStringLiteral("No domain specified"));
    QCOMPARE(findItem(page->listView(), "Sales staff")->text(2), QStringLiteral("example.com"));
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(withModal([page] { page->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = qobject_cast<TemplateDlg *>(modal);
                          QVERIFY(dialog);
                          QVERIFY(!dialog->tabs()->isTabEnabled(UserDlgTemp::Groups));
                          dialog->accept();
                          QCOMPARE(boxes.texts.value(0), QStringLiteral("Name cannot be empty!"));
                          dialog->nameEdit()->setText("standard");
                          dialog->accept();
                          QVERIFY(dialog->isVisible());
                          QCOMPARE(boxes.texts.value(1),
                                   QStringLiteral("This user template is already defined!"));
                          dialog->nameEdit()->setText("Interns");
                          dialog->domainCombo()->setCurrentIndex(
                                  dialog->domainCombo()->findText("example.org"));
                          QVERIFY(dialog->tabs()->isTabEnabled(UserDlgTemp::Groups));
                          dialog->fields()->quotaStorageEdit()->setText("100");
                          dialog->fields()->storageUnitCombo()->setCurrentIndex(1);
                          dialog->accept();
                          QVERIFY(!dialog->isVisible());
                      }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Tempname, Domain, Qstorage from Template where Tempname='Interns'"),
             QStringList{"Interns|example.org|102400"});
}

void TestUserDialogs::editedTemplateShowsItsNewValues()
{
    QVERIFY(startServer());
    QVERIFY(startConsole());
    auto *page = dynamic_cast<TemplateWnd *>(openSection(SectionId::UserTemplates));
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && page->listView()->topLevelItemCount() == 2,
                             kTimeout);
    BListViewItem *standard = findItem(page->listView(), "Standard");
    QVERIFY(standard);
    QCOMPARE(standard->text(1), QStringLiteral("Default mailbox"));
    page->listView()->setCurrentItem(standard);
    QSignalSpy changes(page->listView()->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(withModal([page] { page->editButton()->click(); },
                      [](QWidget *modal) {
                          auto *dialog = qobject_cast<TemplateDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->nameEdit()->setText("Basic");
                          dialog->fields()->descriptionEdit()->setText("Small mailbox");
                          dialog->domainCombo()->setCurrentIndex(
                                  dialog->domainCombo()->findText("example.org"));
                          dialog->accept();
                          QVERIFY(!dialog->isVisible());
                      }));
    // The same row shows the edited values: the list was not filled again.
    QCOMPARE(findItem(page->listView(), "Basic"), standard);
    QVERIFY(!findItem(page->listView(), "Standard"));
    QCOMPARE(standard->text(1), QStringLiteral("Small mailbox"));
    QCOMPARE(standard->text(2), QStringLiteral("example.org"));
    QVERIFY(viewToldOf(changes, page->listView(), standard));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Tempname, Domain, Description from Template where "
                        "Tempname='Basic'"),
             QStringList{"Basic|example.org|Small mailbox"});
}

QTEST_MAIN(TestUserDialogs)
#include "test_userdialogs.moc"

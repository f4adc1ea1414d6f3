// The "Aliases" section in the real console against the development server:
// the aliases of the chosen domain, the alias dialog with its target types,
// validators and conflict questions, the address check, and a read-only session.
#include "app/fwindow.h"
#include "forms/blineedit.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/aliases/aliascheckaddressdlg.h"
#include "pages/aliases/aliasdlg.h"
#include "pages/aliases/aliastarget.h"
#include "pages/aliases/aliasvalidators.h"
#include "pages/aliases/aliaswnd.h"
#include "pagetest.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

QString aliasQuery(const QString &domain)
{
    return QStringLiteral("select Lhs, Rhs, Description from Alias where Domain='%1'").arg(domain);
}

} // namespace

class TestAliasesPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void validators_data();
    void validators();
    void listsTheChosenDomain();
    void detectsTargetTypes_data();
    void detectsTargetTypes();
    void addedAliasReachesTheServer();
    void conflictQuestions_data();
    void conflictQuestions();
    void refusesBadInput();
    void folderKeptWithoutOfferedFolders();
    void untouchedTargetKeptAsStored();
    void editedAliasShowsItsNewValues();
    void checkAddressAsksTheServer();
    void removeResetsAndApplies();
    void viewerChangesNothing();

private:
    AliasWnd *openAliases(const QString &domain = QStringLiteral("example.com"));
    bool editAlias(AliasWnd *page, const QString &name,
                   const std::function<void(AliasDlg *)> &edit);
};

AliasWnd *TestAliasesPage::openAliases(const QString &domain)
{
    auto *page = dynamic_cast<AliasWnd *>(openSection(SectionId::Aliases));
    if (!page)
        return nullptr;
    (void)QTest::qWaitFor([page] { return page->isEnabled(); }, kTimeout);
    if (page->domain() != domain) {
        const int index = page->domainCombo()->findText(domain);
        if (index < 0)
            return nullptr;
        page->domainCombo()->setCurrentIndex(index);
        page->slotDomainChosen(index);
        (void)QTest::qWaitFor([page] { return page->isEnabled() && !page->itemsDetached(); },
                              kTimeout);
    }
    return page;
}

bool TestAliasesPage::editAlias(AliasWnd *page, const QString &name,
                                const std::function<void(AliasDlg *)> &edit)
{
    BListViewItem *item = page->listView()->findItems(name, Qt::MatchExactly, 0).value(0);
    if (!item)
        return false;
    page->listView()->setCurrentItem(item);
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<AliasDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

void TestAliasesPage::validators_data()
{
    QTest::addColumn<bool>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    const int invalid = QValidator::Invalid;
    const int intermediate = QValidator::Intermediate;
    const int acceptable = QValidator::Acceptable;
    QTest::newRow("name plain") << true << "sales" << acceptable;
    QTest::newRow("name leading wildcard") << true << "*sales" << acceptable;
    QTest::newRow("name catch-all") << true << "*" << acceptable;
    QTest::newRow("name two asterisks") << true << "a**b" << invalid;
    QTest::newRow("name with at sign") << true << "a@b" << invalid;
    QTest::newRow("target address") << false << "jane@example.org" << acceptable;
    QTest::newRow("target group") << false << "[sales]" << acceptable;
    QTest::newRow("target opening bracket") << false << "[sales" << intermediate;
    QTest::newRow("target bracket alone") << false << "[" << intermediate;
    QTest::newRow("target closing bracket") << false << "sales]" << intermediate;
    QTest::newRow("target group with at") << false << "[a@b]" << invalid;
    QTest::newRow("target bar") << false << "|x@y" << invalid;
}

void TestAliasesPage::validators()
{
    QFETCH(bool, name);
    QFETCH(QString, text);
    QFETCH(int, state);
    AliasLhsValidator lhs;
    AliasRhsValidator rhs;
    int pos = int(text.size());
    QCOMPARE(int(name ? lhs.validate(text, pos) : rhs.validate(text, pos)), state);
}

void TestAliasesPage::listsTheChosenDomain()
{
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    BListView *list = page->listView();
    QCOMPARE(list->headerItem()->text(0), QString("Alias"));
    QCOMPARE(list->headerItem()->text(1), QString("Deliver To"));
    QCOMPARE(list->headerItem()->text(2), QString("Description"));
    QCOMPARE(list->topLevelItemCount(), serverRows(aliasQuery("example.com")).size());
    auto target = [list](const QString &name) {
        BListViewItem *item = list->findItems(name, Qt::MatchExactly, 0).value(0);
        return item ? item->text(1) : QString("<missing>");
    };
    QCOMPARE(target("shared"), QString("#public/Shared"));
    QCOMPARE(target("learn-spam"), QString("plugin spamlearn"));
    QCOMPARE(target("team"), QString("[sales]"));

    page = openAliases("example.org");
    QVERIFY(page);
    QCOMPARE(page->listView()->topLevelItemCount(), 1);
    QCOMPARE(page->listView()->topLevelItem(0)->text(0), QString("*"));

    // Folder names are shown decoded from the modified UTF-7 of mailboxes.
    QCOMPARE(aliastarget::displayText("#public/Caf&AOk-"), QString::fromUtf8("#public/Café"));
    QCOMPARE(aliastarget::displayText("|"), QString("|"));
}

void TestAliasesPage::detectsTargetTypes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("type");
    QTest::newRow("address") << "jane@example.org" << int(aliastarget::EmailAddress);
    QTest::newRow("folder") << "#public/Contacts" << int(aliastarget::PublicFolder);
    QTest::newRow("plugin") << "|autoreply" << int(aliastarget::MailPlugin);
    QTest::newRow("bar with at") << "|a@b" << int(aliastarget::EmailAddress);
    QTest::newRow("plain word") << "jane" << int(aliastarget::EmailAddress);
}

void TestAliasesPage::detectsTargetTypes()
{
    QFETCH(QString, stored);
    QFETCH(int, type);
    QCOMPARE(int(aliastarget::detect(stored)), type);
    QVERIFY(serverExec(QStringLiteral("insert Alias set Lhs='probe', Domain='example.com', "
                                      "Rhs='%1'")
                               .arg(stored)));
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    QVERIFY(editAlias(page, "probe", [&](AliasDlg *dialog) {
        QCOMPARE(dialog->selectedType(), type);
        QCOMPARE(dialog->m_cboType->count(), 3);
        switch (type) {
        case aliastarget::PublicFolder:
            QCOMPARE(dialog->m_cboFolder->currentData().toString(), stored);
            QCOMPARE(dialog->missingFolder(), -1);
            break;
        case aliastarget::MailPlugin:
            QCOMPARE(dialog->m_cboPlugin->currentData().toString(), stored);
            QCOMPARE(dialog->missingPlugin(), -1);
            break;
        default:
            QCOMPARE(dialog->m_edRhs->text(), stored);
        }
        dialog->reject();
    }));
}

void TestAliasesPage::addedAliasReachesTheServer()
{
    TraceCapture trace;
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    const bool added
            = withModal([page] { page->addButton()->click(); },
                        [](QWidget *modal) {
                            auto *dialog = dynamic_cast<AliasDlg *>(modal);
                            QVERIFY(dialog);
                            QCOMPARE(dialog->m_lblDomain->text(), QString("@example.com"));
                            QTest::keyClicks(dialog->m_edLhs, "*-office");
                            dialog->m_cboType->setCurrentIndex(
                                    dialog->m_cboType->findData(aliastarget::PublicFolder));
                            dialog->m_cboFolder->setCurrentIndex(
                                    dialog->m_cboFolder->findData("#public/Contacts"));
                            dialog->m_edDescription->setText("Office \"contacts\" \\ folder");
                            clickOk(dialog);
                            QVERIFY(!dialog->isVisible());
                        });
    QVERIFY(added);
    QVERIFY(page->listView()->findItems("*-office", Qt::MatchExactly, 0).value(0));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(aliasQuery("example.com"))
                    .contains("*-office|#public/Contacts|Office \"contacts\" \\ folder"));
}

void TestAliasesPage::conflictQuestions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mailing list") << "announce"
                                  << "a mailing list called 'announce'";
    QTest::newRow("user") << "alice"
                          << "a user called 'alice'";
    QTest::newRow("user address") << "hostmaster"
                                  << "a user email address called 'hostmaster@example.com'";
    QTest::newRow("group address") << "orders"
                                   << "a group email address called 'orders@example.com'";
}

void TestAliasesPage::conflictQuestions()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    BoxAnswers answers(QMessageBox::Yes);
    QVERIFY(editAlias(page, "team", [&](AliasDlg *dialog) {
        // The name as it was asks nothing.
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QVERIFY(answers.texts.isEmpty());
    QVERIFY(editAlias(page, "team", [&](AliasDlg *dialog) {
        dialog->m_edLhs->setText(name);
        clickOk(dialog);
        // Yes keeps the dialog open at the name.
        QVERIFY(dialog->isVisible());
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY2(answers.texts.first().contains(expected), qPrintable(answers.texts.first()));
        QVERIFY(answers.texts.first().contains("Do you want to correct the problem?"));
        answers.setAnswer(QMessageBox::No);
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(aliasQuery("example.com")).contains(name + "|[sales]|Whole sales group"));
}

void TestAliasesPage::refusesBadInput()
{
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    BoxAnswers answers(QMessageBox::Ok);
    const bool refused
            = withModal([page] { page->addButton()->click(); },
                        [&](QWidget *modal) {
                            auto *dialog = dynamic_cast<AliasDlg *>(modal);
                            QVERIFY(dialog);
                            clickOk(dialog); // no name
                            QVERIFY(dialog->isVisible());
                            dialog->m_edLhs->setText("desk");
                            dialog->m_edRhs->setText("[sales");
                            clickOk(dialog); // one bracket is never a target
                            QVERIFY(dialog->isVisible());
                            dialog->m_edRhs->setText("[sales]");
                            dialog->m_edLhs->setText("info");
                            dialog->m_edRhs->setText("alice@example.com");
                            clickOk(dialog); // the same name and target as a stored alias
                            QVERIFY(dialog->isVisible());
                            dialog->reject();
                        });
    QVERIFY(refused);
    QCOMPARE(answers.texts.size(), 3);
    QCOMPARE(answers.texts.at(0), QString("Enter a valid alias name, please."));
    QVERIFY(answers.texts.at(1).contains("valid email address"));
    QCOMPARE(answers.texts.at(2), QString("This item is already defined."));
    QCOMPARE(pendingOperations(), 0);
}

void TestAliasesPage::folderKeptWithoutOfferedFolders()
{
    // corp.example has no public folders: the stored folder stays the target.
    QVERIFY(serverExec("insert Alias set Lhs='archive', Domain='corp.example', "
                       "Rhs='#public/Old', Description='old'"));
    QVERIFY(startConsole());
    AliasWnd *page = openAliases("corp.example");
    QVERIFY(page);
    BoxAnswers answers(QMessageBox::No);
    QVERIFY(editAlias(page, "archive", [&](AliasDlg *dialog) {
        QCOMPARE(dialog->selectedType(), int(aliastarget::PublicFolder));
        QCOMPARE(dialog->missingFolder(), 0);
        QCOMPARE(dialog->m_cboFolder->currentText(), QString("#public/Old"));
        // The plug-ins stay selectable by their own id.
        QCOMPARE(dialog->m_cboType->findData(aliastarget::MailPlugin), 2);
        dialog->m_edDescription->setText("kept");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(answers.texts,
             QStringList{"Public folder '#public/Old' doesn't exist. Set an existing "
                         "folder.<nobr><br><br>Do you want to correct the problem?</nobr>"});
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(aliasQuery("corp.example")), QStringList{"archive|#public/Old|kept"});
}

void TestAliasesPage::untouchedTargetKeptAsStored()
{
    QVERIFY(serverExec("insert Alias set Lhs='legacy', Domain='example.com', Rhs='|a@b'"));
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    QVERIFY(editAlias(page, "legacy", [](AliasDlg *dialog) {
        QCOMPARE(dialog->selectedType(), int(aliastarget::EmailAddress));
        dialog->m_edDescription->setText("still there");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(aliasQuery("example.com")).contains("legacy||a@b|still there"));
}

void TestAliasesPage::editedAliasShowsItsNewValues()
{
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    BListViewItem *shared = page->listView()->findItems("shared", Qt::MatchExactly, 0).value(0);
    QVERIFY(shared);
    QCOMPARE(shared->text(1), QString("#public/Shared"));
    QSignalSpy changes(page->listView()->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(editAlias(page, "shared", [](AliasDlg *dialog) {
        dialog->m_cboFolder->setCurrentIndex(dialog->m_cboFolder->findData("#public/Contacts"));
        dialog->m_edDescription->setText("Contacts folder");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    // The same row shows the edited values: the list was not filled again.
    QCOMPARE(page->listView()->findItems("shared", Qt::MatchExactly, 0).value(0), shared);
    QCOMPARE(shared->text(1), QString("#public/Contacts"));
    QCOMPARE(shared->text(2), QString("Contacts folder"));
    QVERIFY(viewToldOf(changes, page->listView(), shared));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(serverRows(aliasQuery("example.com"))
                    .contains("shared|#public/Contacts|Contacts folder"));
}

void TestAliasesPage::checkAddressAsksTheServer()
{
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    const bool checked = withModal(
            [page] { page->checkButton()->click(); },
            [](QWidget *modal) {
                auto *dialog = dynamic_cast<AliasCheckAddressDlg *>(modal);
                QVERIFY(dialog);
                auto recipients = [dialog](const QString &address) {
                    dialog->m_edAddress->setText(address);
                    dialog->m_btnCheck->click();
                    QStringList texts;
                    for (int i = 0; i < dialog->m_lstRecipients->count(); ++i)
                        texts << dialog->m_lstRecipients->item(i)->text();
                    return texts;
                };
                QCOMPARE(recipients("info@example.com"),
                         (QStringList{"alice@example.com", "bob@example.com"}));
                QCOMPARE(recipients("shared@example.com"), QStringList{"#public/Shared"});
                // Quotes and backslashes travel escaped and come back as typed.
                QCOMPARE(recipients("a\"b\\c@elsewhere.example"),
                         QStringList{"a\"b\\c@elsewhere.example"});
                dialog->reject();
            });
    QVERIFY(checked);
}

void TestAliasesPage::removeResetsAndApplies()
{
    QVERIFY(startConsole());
    AliasWnd *page = openAliases();
    QVERIFY(page);
    removeResetApply(page, "learn-spam",
                     "select Lhs from Alias where Domain='example.com' and Lhs='learn-spam'");
}

void TestAliasesPage::viewerChangesNothing()
{
    const QStringList before = serverRows(aliasQuery("example.com"));
    QVERIFY(startConsole("viewer"));
    AliasWnd *page = openAliases();
    QVERIFY(page);
    QVERIFY(page->listView()->topLevelItemCount() > 0);
    page->listView()->setCurrentItem(page->listView()->topLevelItem(0));
    QVERIFY(!page->addButton()->isEnabled());
    QVERIFY(!page->removeButton()->isEnabled());
    QVERIFY(page->checkButton()->isEnabled());
    // An alias opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    const QStringList changeable
            = changeableInRowDialog(page->listView(), page->listView()->topLevelItem(0));
    QVERIFY2(changeable.isEmpty(), qPrintable(changeable.join(", ")));
    QVERIFY(page->domainCombo()->isEnabled());
    page->remove();
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(aliasQuery("example.com")), before);
}

QTEST_MAIN(TestAliasesPage)
#include "test_aliases.moc"

// The "Scheduling" section in the real console against the development
// server: the texts of the list, the dialog's time and range handling, the
// shape by operating system, and a read-only session.
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/bcols.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/definitions/gdlgtimeint.h"
#include "pages/definitions/gformdialog.h"
#include "pages/definitions/gwndtimeint.h"
#include "pages/scheduler/schedulingdlg.h"
#include "pages/scheduler/schedulingtexts.h"
#include "pages/scheduler/schedulingwnd.h"
#include "pagetest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>

namespace {

const QString kActionsQuery
        = QStringLiteral("select TimeType, Time, TimeInt, Action, AllowDial, Desc from Scheduler");

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

BListViewItem *findByDescription(BListView *list, const QString &description)
{
    const auto found = list->findItems(description, Qt::MatchExactly, 1);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestSchedulerPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void listTexts_data();
    void listTexts();
    void listsWhatTheServerHolds();
    void addedActionAtTimeOfDay();
    void editingKeepsOrDropsTheRange_data();
    void editingKeepsOrDropsTheRange();
    void editingTheRangesKeepsTheChoice();
    void intervalsOpenInTheirUnit_data();
    void intervalsOpenInTheirUnit();
    void editedActionShowsInTheList();
    void noActionAsksToCorrect_data();
    void noActionAsksToCorrect();
    void removeResetsAndApplies();
    void otherSystemsHaveNoDialUp();
    void viewerChangesNothing();

private:
    SchedulingWnd *openScheduling();
    bool editAction(SchedulingWnd *page, const QString &description,
                    const std::function<void(SchedulingDlg *)> &edit);
};

void TestSchedulerPage::listTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("text");
    QTest::newRow("one minute") << 0 << 1 << ""
                                << "Every 1 minute";
    QTest::newRow("90 minutes") << 0 << 90 << ""
                                << "Every 90 minutes";
    QTest::newRow("two hours") << 0 << 120 << ""
                               << "Every 2 hours";
    QTest::newRow("one day") << 0 << 1440 << ""
                             << "Every 1 day";
    QTest::newRow("three days") << 0 << 4320 << ""
                                << "Every 3 days";
    QTest::newRow("one week") << 0 << 10080 << ""
                              << "Every 1 week";
    QTest::newRow("five weeks") << 0 << 50400 << ""
                                << "Every 5 weeks";
    QTest::newRow("zero") << 0 << 0 << ""
                          << "Every 0 minutes";
    QTest::newRow("time of day") << 1 << 425 << ""
                                 << "At 07:05";
    QTest::newRow("midnight in a range") << 1 << 0 << "Night"
                                         << "At 00:00 (Valid only at time range \"Night\")";
}

void TestSchedulerPage::listTexts()
{
    QFETCH(int, type);
    QFETCH(int, time);
    QFETCH(QString, range);
    QFETCH(QString, text);
    QCOMPARE(schedulingtexts::timeText(type, time, range), text);
}

SchedulingWnd *TestSchedulerPage::openScheduling()
{
    auto *page = dynamic_cast<SchedulingWnd *>(openSection(SectionId::Scheduling));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled(); }, kTimeout);
    return page;
}

bool TestSchedulerPage::editAction(SchedulingWnd *page, const QString &description,
                                   const std::function<void(SchedulingDlg *)> &edit)
{
    BListViewItem *item = findByDescription(page->listView(), description);
    if (!item)
        return false;
    page->listView()->setCurrentItem(item);
    return withModal([page] { page->editButton()->click(); },
                     [&](QWidget *modal) {
                         auto *dialog = dynamic_cast<SchedulingDlg *>(modal);
                         if (!dialog) {
                             modal->close();
                             return;
                         }
                         edit(dialog);
                     });
}

void TestSchedulerPage::listsWhatTheServerHolds()
{
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    BListView *list = page->listView();
    QVERIFY(page->hasDialColumn());
    QCOMPARE(list->cols().listName(), QString("schedulerw"));
    QCOMPARE(list->cols().count(), 4);
    QCOMPARE(list->headerItem()->text(2), QString("RAS"));
    BListViewItem *queue = findByDescription(list, "Queue and POP3");
    QVERIFY(queue);
    QCOMPARE(queue->text(0), QString("Every 15 minutes"));
    QCOMPARE(queue->text(2), QString("Don't dial"));
    QCOMPARE(queue->text(3), QString("Send mail, Download POP3"));
    BListViewItem *morning = findByDescription(list, "Morning ETRN");
    QVERIFY(morning);
    QCOMPARE(morning->text(0), QString("At 06:00 (Valid only at time range \"Office hours\")"));
    QCOMPARE(morning->text(3), QString("ETRN Download"));
    QCOMPARE(page->timeRangeNames(),
             QStringList({"Office hours", "Night", "Weekend", "Migration"}));
}

void TestSchedulerPage::addedActionAtTimeOfDay()
{
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    const bool added = withModal([page] { page->addButton()->click(); },
                                 [](QWidget *modal) {
                                     auto *dialog = dynamic_cast<SchedulingDlg *>(modal);
                                     QVERIFY(dialog);
                                     QCOMPARE(dialog->windowTitle(), QString("Scheduled Action"));
                                     QVERIFY(!dialog->m_chkValid->isChecked());
                                     QVERIFY(!dialog->m_cboTimeInt->isEnabled());
                                     dialog->m_edDesc->setText("Everything at 7:05");
                                     dialog->m_cboType->setCurrentIndex(1);
                                     QVERIFY(!dialog->m_spnTimeEvery->isEnabled());
                                     dialog->m_tedTimeAt->setTime(QTime(7, 5));
                                     dialog->m_chkSendMail->setChecked(true);
                                     dialog->m_chkPop3->setChecked(true);
                                     dialog->m_chkEtrn->setChecked(true);
                                     dialog->m_chkDial->setChecked(true);
                                     clickOk(dialog);
                                 });
    QVERIFY(added);
    BListViewItem *item = findByDescription(page->listView(), "Everything at 7:05");
    QVERIFY(item);
    QCOMPARE(item->text(0), QString("At 07:05"));
    QCOMPARE(item->text(2), QString("Dial"));
    QCOMPARE(item->text(3), QString("Send mail, Download POP3, ETRN Download"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kActionsQuery + " where Desc='Everything at 7:05'"),
             QStringList{"1|425||7|1|Everything at 7:05"});
}

void TestSchedulerPage::editingKeepsOrDropsTheRange_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("untick");
    QTest::addColumn<QString>("storedRange");
    // An unrestricted action stays unrestricted, however many ranges exist.
    QTest::newRow("unrestricted stays so") << "Queue and POP3" << false << false << "";
    QTest::newRow("range is kept") << "Morning ETRN" << true << false << "Office hours";
    QTest::newRow("unticked box stores no range") << "Morning ETRN" << true << true << "";
}

void TestSchedulerPage::editingKeepsOrDropsTheRange()
{
    QFETCH(QString, description);
    QFETCH(bool, ticked);
    QFETCH(bool, untick);
    QFETCH(QString, storedRange);
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    const bool edited = editAction(page, description, [&](SchedulingDlg *dialog) {
        QCOMPARE(dialog->m_chkValid->isChecked(), ticked);
        QCOMPARE(dialog->m_cboTimeInt->isEnabled(), ticked);
        if (ticked)
            QCOMPARE(dialog->m_cboTimeInt->currentText(), QString("Office hours"));
        if (untick)
            dialog->m_chkValid->setChecked(false);
        dialog->m_edDesc->setText(description + " (edited)");
        clickOk(dialog);
    });
    QVERIFY(edited);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(QString("select TimeInt from Scheduler where Desc='%1 (edited)'")
                                .arg(description)),
             QStringList{storedRange});
}

void TestSchedulerPage::editingTheRangesKeepsTheChoice()
{
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    const bool edited = editAction(page, "Morning ETRN", [&](SchedulingDlg *dialog) {
        QCOMPARE(dialog->m_btnEditTimeInt->text(), QString("&Edit..."));
        QVERIFY(dialog->m_btnEditTimeInt->isVisible());
        // The editor opens the chosen range; an interval added there under a
        // new name makes a new range. Watchers of their own: the page's one
        // is busy in this handler.
        postdesk::test::ModalWatcher editor;
        editor.expect([&](QWidget *modal) {
            auto *ranges = qobject_cast<GFormDialog *>(modal);
            QVERIFY(ranges);
            GDefinitionWnd *rangePage = ranges->page();
            QCOMPARE(rangePage->restrictedName(), QString("Office hours"));
            QTRY_VERIFY_WITH_TIMEOUT(rangePage->nameNode("Office hours"), kTimeout);
            QCOMPARE(rangePage->listView()->topLevelItemCount(), 1);
            postdesk::test::ModalWatcher interval;
            interval.expect([&](QWidget *intervalModal) {
                auto *entry = dynamic_cast<GDlgTimeInt *>(intervalModal);
                QVERIFY(entry);
                QCOMPARE(entry->m_edName->text(), QString("Office hours"));
                entry->m_edName->setText("Aaa early");
                entry->m_tedFrom->setTime(QTime(5, 0));
                entry->m_tedTo->setTime(QTime(7, 0));
                clickOk(entry);
            });
            rangePage->addButton()->click();
            QTRY_VERIFY_WITH_TIMEOUT(rangePage->nameNode("Aaa early"), kTimeout);
            clickOk(ranges);
        });
        dialog->m_btnEditTimeInt->click();
        QCOMPARE(serverRows("select Start, End from TimeIntervals where Name='Aaa early'"),
                 QStringList{"18000|25200"});
        // Listed again and still on the range chosen before, by its name.
        QCOMPARE(dialog->m_cboTimeInt->count(), 5);
        QVERIFY(dialog->m_cboTimeInt->findText("Aaa early") >= 0);
        QCOMPARE(dialog->m_cboTimeInt->currentText(), QString("Office hours"));
        // The editor's edits went straight to the server, not to this page.
        QCOMPARE(pendingOperations(), 0);
        dialog->m_cboTimeInt->setCurrentText("Aaa early");
        clickOk(dialog);
    });
    QVERIFY(edited);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select TimeInt from Scheduler where Desc='Morning ETRN'"),
             QStringList{"Aaa early"});
    // The next dialog offers the new range too.
    QVERIFY(page->timeRangeNames().contains("Aaa early"));
}

void TestSchedulerPage::intervalsOpenInTheirUnit_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("listed");
    QTest::newRow("120 minutes as hours") << 120 << 2 << 1 << "Every 2 hours";
    QTest::newRow("90 minutes as minutes") << 90 << 90 << 0 << "Every 90 minutes";
    QTest::newRow("a week in hours") << 10080 << 168 << 1 << "Every 1 week";
    QTest::newRow("zero raised to one") << 0 << 1 << 0 << "Every 1 minute";
}

void TestSchedulerPage::intervalsOpenInTheirUnit()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, unit);
    QFETCH(QString, listed);
    QVERIFY(serverExec(
            QString("update Scheduler set Time='%1' where Desc='Queue and POP3'").arg(stored)));
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    const bool edited = editAction(page, "Queue and POP3", [&](SchedulingDlg *dialog) {
        QCOMPARE(dialog->m_cboType->currentIndex(), 0);
        QCOMPARE(dialog->m_spnTimeEvery->value(), shown);
        QCOMPARE(dialog->m_cboMinutes->currentIndex(), unit);
        QVERIFY(!dialog->m_tedTimeAt->isEnabled());
        // The interval cannot go below one.
        dialog->m_spnTimeEvery->setValue(0);
        QCOMPARE(dialog->m_spnTimeEvery->value(), 1);
        dialog->m_spnTimeEvery->setValue(shown);
        clickOk(dialog);
    });
    QVERIFY(edited);
    QCOMPARE(findByDescription(page->listView(), "Queue and POP3")->text(0), listed);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Time from Scheduler where Desc='Queue and POP3'"),
             QStringList{QString::number(qMax(stored, 1))});
}

void TestSchedulerPage::editedActionShowsInTheList()
{
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    BListView *list = page->listView();
    BListViewItem *queue = findByDescription(list, "Queue and POP3");
    QVERIFY(queue);
    const bool edited = editAction(page, "Queue and POP3", [&](SchedulingDlg *dialog) {
        dialog->m_spnTimeEvery->setValue(2);
        dialog->m_cboMinutes->setCurrentIndex(1); // hours
        dialog->m_chkDial->setChecked(true);
        dialog->m_chkEtrn->setChecked(true);
        dialog->m_edDesc->setText("Everything every two hours");
        clickOk(dialog);
    });
    QVERIFY(edited);
    QCOMPARE(list->indexFromItem(queue, 0).data().toString(), QString("Every 2 hours"));
    QCOMPARE(list->indexFromItem(queue, 1).data().toString(),
             QString("Everything every two hours"));
    QCOMPARE(list->indexFromItem(queue, 2).data().toString(), QString("Dial"));
    QCOMPARE(list->indexFromItem(queue, 3).data().toString(),
             QString("Send mail, Download POP3, ETRN Download"));
    QVERIFY(!queue->icon(0).isNull());
    // Intervals sort before times of day, whatever their texts say.
    list->sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(list->topLevelItem(0), queue);
    list->sortByColumn(0, Qt::DescendingOrder);
    QCOMPARE(list->topLevelItem(1), queue);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kActionsQuery + " where Desc='Everything every two hours'"),
             QStringList{"0|120||7|1|Everything every two hours"});
}

void TestSchedulerPage::noActionAsksToCorrect_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes keeps the dialog open") << int(QMessageBox::Yes);
    QTest::newRow("no accepts the row") << int(QMessageBox::No);
}

void TestSchedulerPage::noActionAsksToCorrect()
{
    QFETCH(int, answer);
    const bool yes = answer == QMessageBox::Yes;
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    const bool edited = editAction(page, "Morning ETRN", [&](SchedulingDlg *dialog) {
        dialog->m_chkEtrn->setChecked(false);
        clickOk(dialog);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            dialog->reject();
    });
    QVERIFY(edited);
    QCOMPARE(boxes.texts,
             QStringList{"There's no action specified.<nobr><br><br>Do you want to "
                         "correct the problem?</nobr>"});
    QCOMPARE(stayedOpen, yes);
    QCOMPARE(pendingOperations(), yes ? 0 : 1);
}

void TestSchedulerPage::removeResetsAndApplies()
{
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    removeResetApply(page, "Every 15 minutes",
                     "select Action from Scheduler where Desc='Queue and POP3'");
}

void TestSchedulerPage::otherSystemsHaveNoDialUp()
{
    QVERIFY(startServer({"--os-code", "65536"}));
    QVERIFY(startConsole());
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    QVERIFY(!page->hasDialColumn());
    QCOMPARE(page->listView()->cols().listName(), QString("scheduler"));
    QCOMPARE(page->listView()->cols().count(), 3);
    QCOMPARE(page->listView()->cols().indexOf("AllowDial"), -1);
    const bool edited = editAction(page, "Queue and POP3", [](SchedulingDlg *dialog) {
        QVERIFY(dialog->m_gbOptional->isHidden());
        dialog->reject();
    });
    QVERIFY(edited);
}

void TestSchedulerPage::viewerChangesNothing()
{
    const QStringList before = serverRows(kActionsQuery);
    QVERIFY(startConsole("viewer"));
    SchedulingWnd *page = openScheduling();
    QVERIFY(page);
    page->listView()->setCurrentItem(page->listView()->topLevelItem(0));
    for (QPushButton *button : {page->addButton(), page->removeButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    // A row opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    QCOMPARE(changeableInRowDialog(page->listView(), page->listView()->topLevelItem(0)),
             QStringList());
    page->add();
    page->remove();
    QCOMPARE(page->listView()->topLevelItemCount(), 2);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kActionsQuery), before);
}

QTEST_MAIN(TestSchedulerPage)
#include "test_scheduler.moc"

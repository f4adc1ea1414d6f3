// The "Backup" section in the real console against the development server:
// the settings and their directory checks, the server-directory browser, the
// network-disk login, the schedule, Start now with the running backup's
// progress, messages from other pages and a read-only session.
#include "app/fgotowindow.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/bpwdlineedit.h"
#include "forms/btabpage.h"
#include "forms/sectionids.h"
#include "pages/backup/backupdialogs.h"
#include "pages/backup/backupprogress.h"
#include "pages/backup/backupwnd.h"
#include "pages/backup/serverdir.h"
#include "pagetest.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>

namespace {

BListViewItem *findItem(BListView *list, const QString &first)
{
    const auto found = list->findItems(first, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
}

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

QStringList entries(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

const QString kKeepMessage("To save changes, an existing backup directory must be set.");

} // namespace

class TestBackupPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void serverPaths_data();
    void serverPaths();
    void progressArithmetic_data();
    void progressArithmetic();
    void loadsWhatTheServerHolds();
    void directoryChecks_data();
    void directoryChecks();
    void browserListsServerDirectories();
    void networkDiskLogin_data();
    void networkDiskLogin();
    void credentialsTravelMasked();
    void scheduleRefusesTheSameDayAndTime();
    void editedScheduleShowsInTheList();
    void startedBackupShowsMovingProgress();
    void pollsDoNotOverlap();
    void startNowAsksToApplyFirst_data();
    void startNowAsksToApplyFirst();
    void messagesFromOtherPages();
    void viewerChangesNothing();

private:
    BackupWnd *openBackup();
};

void TestBackupPage::serverPaths_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("server");
    QTest::newRow("drive") << "C:/backup"
                           << "C:\\backup";
    QTest::newRow("unix") << "/backup/postvane"
                          << "\\backup\\postvane";
    QTest::newRow("already converted") << "D:\\b\\c"
                                       << "D:\\b\\c";
    QTest::newRow("mixed") << "C:/a\\b/c"
                           << "C:\\a\\b\\c";
}

void TestBackupPage::serverPaths()
{
    QFETCH(QString, typed);
    QFETCH(QString, server);
    QCOMPARE(serverdir::toServerPath(typed), server);
    // Every argument is escaped: the server reads the path back unchanged.
    QString escaped = server;
    escaped.replace("\\", "\\\\");
    UtKontainer::setInt(UtKey::OsVersion, 0);
    QCOMPARE(serverdir::listDirCall(typed, {"DOM\\bob", "pw\"1"}),
             QString("ListDir(\"%1\")").arg(escaped));
    QCOMPARE(serverdir::accessDirCall(typed, 1, {}),
             QString("AccessDir(\"%1\", \"1\")").arg(escaped));
    // Without the server's operating system the login goes along.
    UtKontainer::remove(UtKey::OsVersion);
    QCOMPARE(serverdir::accessDirCall(typed, 0, {"DOM\\bob", "pw\"1"}),
             QString("AccessDir(\"%1\", \"0\", \"DOM\\\\bob\", \"pw\\\"1\")").arg(escaped));
    QVERIFY(serverdir::sameDirectory(typed, server.toUpper() + "\\\\"));
    QVERIFY(!serverdir::sameDirectory(typed, server + "x"));
}

void TestBackupPage::progressArithmetic_data()
{
    QTest::addColumn<qint64>("progress");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<bool>("running");
    QTest::addColumn<qint64>("shownElapsed");
    QTest::addColumn<qint64>("remaining");
    QTest::addColumn<QString>("text");
    QTest::newRow("25 % after 10 minutes")
            << qint64(25) << qint64(600) << true << qint64(600) << qint64(1800)
            << "(Duration: 10 minutes / Time to finish: 30 minutes)";
    QTest::newRow("just started") << qint64(0) << qint64(30) << true << qint64(30) << qint64(-1)
                                  << "(Duration: Less than 1 minute)";
    QTest::newRow("clock behind the start")
            << qint64(10) << qint64(-500) << true << qint64(0) << qint64(0)
            << "(Duration: Less than 1 minute / Time to finish: Less than 1 minute)";
    // Beyond 32 bits: ten years at 1 %.
    QTest::newRow("long backup") << qint64(1) << qint64(315360000) << true << qint64(315360000)
                                 << qint64(99) * 315360000 << QString();
    QTest::newRow("none running") << qint64(-1) << qint64(600) << false << qint64(0) << qint64(-1)
                                  << QString();
}

void TestBackupPage::progressArithmetic()
{
    QFETCH(qint64, progress);
    QFETCH(qint64, elapsed);
    QFETCH(bool, running);
    QFETCH(qint64, shownElapsed);
    QFETCH(qint64, remaining);
    QFETCH(QString, text);
    const qint64 started = 1'800'000'000;
    const BackupProgress state = BackupProgress::from(progress, started, started + elapsed);
    QCOMPARE(state.running, running);
    QCOMPARE(state.elapsed, shownElapsed);
    QCOMPARE(state.hasRemaining, remaining >= 0);
    if (remaining >= 0)
        QCOMPARE(state.remaining, remaining);
    if (!text.isEmpty())
        QCOMPARE(state.timesText(), text);
}

BackupWnd *TestBackupPage::openBackup()
{
    auto *page = dynamic_cast<BackupWnd *>(openSection(SectionId::Backup));
    if (page)
        (void)QTest::qWaitFor([page] { return page->settingsPage()->isEnabled(); }, kTimeout);
    return page;
}

void TestBackupPage::loadsWhatTheServerHolds()
{
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    QCOMPARE(page->metaObject()->className(), "BackupWnd");
    BackupSettingsWnd *settings = page->settingsPage();
    QVERIFY(settings->m_chkEnabled->isChecked());
    QCOMPARE(settings->m_edDir->text(), QString("/backup/postvane"));
    QCOMPARE(settings->m_edNotify->text(), QString("admin@example.com"));
    QVERIFY(!settings->m_chkNetwork->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(settings->m_lblStatus->text(),
                              QString("Last backup finished successfully."), kTimeout);
    QVERIFY(!settings->m_progress->isVisible());
    page->tab()->setCurrentIndex(1);
    BListView *list = page->schedulePage()->listView();
    QTRY_COMPARE_WITH_TIMEOUT(list->topLevelItemCount(), 2, kTimeout);
    BListViewItem *full = findItem(list, "Full backup");
    QVERIFY(full);
    QCOMPARE(full->text(1), QString("Sunday 02:00"));
    QCOMPARE(full->text(2), QString("Full"));
    QCOMPARE(findItem(list, "Differential backup")->text(1), QString("Daily 03:00"));
}

void TestBackupPage::directoryChecks_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored");
    const int yes = QMessageBox::Yes, no = QMessageBox::No;
    QTest::newRow("enabled without a directory")
            << true << "" << yes
            << QStringList{"The backup is enabled, but no backup directory has been defined."}
            << "/backup/postvane";
    QTest::newRow("the archive directory in other letters")
            << true << "/ARCHIVE/Postvane//" << yes
            << QStringList{"Backup directory cannot be identical with the archive directory."}
            << "/backup/postvane";
    QTest::newRow("existing directory") << true << "/store" << yes << QStringList() << "/store";
    QTest::newRow("disabled without a directory") << false << "" << yes << QStringList() << "";
    QTest::newRow("missing, not created")
            << true << "/backup/new" << no
            << QStringList{"<nobr>Directory '/backup/new' doesn't exist on the server.<br>Do you "
                           "want to create it?</nobr>",
                           kKeepMessage}
            << "/backup/postvane";
    QTest::newRow("missing, created")
            << true << "/backup/new" << yes
            << QStringList{"<nobr>Directory '/backup/new' doesn't exist on the server.<br>Do you "
                           "want to create it?</nobr>"}
            << "/backup/new";
    QTest::newRow("cannot be created")
            << true << "/backup/afile/sub" << yes
            << QStringList{"<nobr>Directory '/backup/afile/sub' doesn't exist on the server.<br>"
                           "Do you want to create it?</nobr>",
                           "<nobr>The attempt to create directory '/backup/afile/sub' has "
                           "failed.<br>"
                                   + kKeepMessage + "</nobr>"}
            << "/backup/postvane";
    QTest::newRow("outside the server's reach")
            << true << "/../etc" << yes
            << QStringList{"<nobr>Permissions missing for the selected directory '/../etc'.<br>"
                           "To save changes, a directory with full access rights must be "
                           "set.<nobr>"}
            << "/backup/postvane";
}

void TestBackupPage::directoryChecks()
{
    QFETCH(bool, enabled);
    QFETCH(QString, dir);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);
    QVERIFY(startConsole());
    // A plain file where a directory would have to be made.
    const QString files = QString::fromStdString(m_server->dataDir()) + "/files";
    QVERIFY(QDir().mkpath(files + "/backup"));
    QFile blocker(files + "/backup/afile");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    if (settings->m_chkEnabled->isChecked() != enabled)
        settings->m_chkEnabled->click();
    settings->m_edDir->setText(dir);
    TraceCapture trace;
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), messages.size(), kTimeout);
    QCOMPARE(boxes.texts, messages);
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations() == 0, stored == dir, kTimeout);
    QCOMPARE(serverRows("select BackupDir from Backup"), QStringList{stored});
    if (dir == "/backup/new" && answer == QMessageBox::Yes) {
        QVERIFY(QDir(files + "/backup/new").exists());
        QVERIFY(trace.text().contains("AccessDir(\"\\\\backup\\\\new\", \"1\")"));
    }
}

void TestBackupPage::browserListsServerDirectories()
{
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    settings->m_edDir->setText("/backup");
    TraceCapture trace;
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(withModal([&] { settings->m_btnBrowse->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<BackupScheduleDirDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(entries(dialog->m_lstDirs), (QStringList{"[..]", "postvane"}));
                          emit dialog->m_lstDirs->itemActivated(dialog->m_lstDirs->item(1));
                          QCOMPARE(dialog->path(), QString("/backup/postvane"));
                          QCOMPARE(entries(dialog->m_lstDirs), QStringList{"[..]"});
                          emit dialog->m_lstDirs->itemActivated(dialog->m_lstDirs->item(0));
                          QCOMPARE(dialog->path(), QString("/backup"));
                          emit dialog->m_lstDirs->itemActivated(dialog->m_lstDirs->item(0));
                          QCOMPARE(dialog->path(), QString("/"));
                          QVERIFY(entries(dialog->m_lstDirs).contains("archive"));
                          // A missing path says so and keeps the listing.
                          QVERIFY(!dialog->browse("/nowhere"));
                          QCOMPARE(dialog->path(), QString("/"));
                          dialog->m_edPath->setText("C:/backup");
                          QTest::keyClick(dialog->m_edPath, Qt::Key_Return);
                          QCOMPARE(entries(dialog->m_lstDirs), (QStringList{"[..]", "postvane"}));
                          emit dialog->m_lstDirs->itemActivated(dialog->m_lstDirs->item(1));
                          QCOMPARE(dialog->path(), QString("C:/backup/postvane"));
                          clickOk(dialog);
                      }));
    QCOMPARE(boxes.texts, QStringList{"Directory '/nowhere' doesn't exist."});
    QCOMPARE(settings->m_edDir->text(), QString("C:/backup/postvane"));
    QVERIFY(trace.text().contains("ListDir(\"C:\\\\backup\")"));
    QCOMPARE(pendingOperations(), 1);
}

void TestBackupPage::networkDiskLogin_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no user") << ""
                             << "pw"
                             << "pw"
                             << "You should enter a user name.";
    QTest::newRow("no domain") << "bob"
                               << "pw"
                               << "pw"
                               << "User name should be specified in this format: "
                                  "'domain\\username'.";
    QTest::newRow("empty user part") << "DOM\\"
                                     << "pw"
                                     << "pw"
                                     << "User name should be specified in this format: "
                                        "'domain\\username'.";
    QTest::newRow("confirmation differs") << "DOM\\bob"
                                          << "pw"
                                          << "pX"
                                          << "Invalid confirmation password";
    QTest::newRow("valid") << "DOM\\bob"
                           << "Disk-Secr3t"
                           << "Disk-Secr3t" << QString();
}

void TestBackupPage::networkDiskLogin()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, refusal);
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    QVERIFY(!settings->m_btnNetwork->isEnabled());
    settings->m_chkNetwork->click();
    TraceCapture trace;
    BoxAnswers boxes(QMessageBox::Ok);
    bool stayedOpen = false;
    QVERIFY(withModal([&] { settings->m_btnNetwork->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<BackupScheduleUserDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->windowTitle(),
                                   QString("Backup - Network Disk Authentication"));
                          QTest::keyClicks(dialog->m_edUser, user);
                          QVERIFY(typePassword(dialog->m_edPassword, password));
                          QVERIFY(typePassword(dialog->m_edConfirm, confirm));
                          clickOk(dialog);
                          stayedOpen = dialog->isVisible();
                      }));
    QCOMPARE(stayedOpen, !refusal.isEmpty());
    QCOMPARE(boxes.texts, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    if (!refusal.isEmpty()) {
        // The network disk is ticked without a login: nothing is saved.
        settings->m_edNotify->setText("other@example.com");
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 2, kTimeout);
        QCOMPARE(boxes.texts.last(), QString("You should enter a user name."));
        QCOMPARE(serverRows("select RemoteUser, Password, AdminNotify from Backup"),
                 QStringList{"||admin@example.com"});
        return;
    }
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select RemoteUser, Password from Backup"),
             QStringList{"DOM\\bob|NUL:Disk-Secr3t"});
    QVERIFY(trace.text().contains("update Backup set"));
    QVERIFY(!trace.text().contains("Disk-Secr3t"));
    // Clearing the tick forgets the login.
    settings->m_chkNetwork->click();
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select RemoteUser, Password from Backup"), QStringList{"|"});
}

void TestBackupPage::credentialsTravelMasked()
{
    QVERIFY(serverExec("update Backup set RemoteUser='DOM\\\\bob', Password='NUL:Share-Pw9'"));
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    QVERIFY(settings->m_chkNetwork->isChecked());
    // A server that does not report its operating system takes the login.
    UtKontainer::remove(UtKey::OsVersion);
    TraceCapture trace;
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(withModal([&] { settings->m_btnBrowse->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<BackupScheduleDirDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(entries(dialog->m_lstDirs), QStringList{"[..]"});
                          dialog->reject();
                      }));
    settings->m_edDir->setText("/backup/other");
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QString sent = trace.text();
    QVERIFY(sent.contains("ListDir(\"\\\\backup\\\\postvane\", \"DOM\\\\bob\", "));
    QVERIFY(sent.contains("AccessDir(\"\\\\backup\\\\other\", \"1\", \"DOM\\\\bob\", "));
    QVERIFY(!sent.contains("Share-Pw9"));
}

void TestBackupPage::scheduleRefusesTheSameDayAndTime()
{
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    page->tab()->setCurrentIndex(1);
    BackupScheduleWnd *schedule = page->schedulePage();
    QTRY_COMPARE_WITH_TIMEOUT(schedule->listView()->topLevelItemCount(), 2, kTimeout);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(withModal([&] { schedule->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<BackupScheduleDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_cboType->setCurrentIndex(1);
                          dialog->m_cboDate->setCurrentIndex(dialog->m_cboDate->findData("Sunday"));
                          dialog->m_timeEdit->setTime(QTime(2, 0));
                          dialog->m_edDescription->setText("Weekly");
                          clickOk(dialog);
                          QVERIFY(dialog->isVisible());
                          dialog->m_timeEdit->setTime(QTime(4, 30));
                          clickOk(dialog);
                      }));
    QCOMPARE(boxes.texts,
             QStringList{"Backup schedule with this day and time is already "
                         "defined."});
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Enabled, Type, Date, Time, Description from BackupSchedule "
                        "where Time='270'"),
             QStringList{"1|1|Sunday|270|Weekly"});
    // The check box is "Enabled".
    findItem(schedule->listView(), "Full backup")->setCheckState(0, Qt::Unchecked);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Enabled from BackupSchedule where Date='Sunday' and Time='120'"),
             QStringList{"0"});
}

void TestBackupPage::editedScheduleShowsInTheList()
{
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    page->tab()->setCurrentIndex(1);
    BackupScheduleWnd *schedule = page->schedulePage();
    BListView *list = schedule->listView();
    QTRY_COMPARE_WITH_TIMEOUT(list->topLevelItemCount(), 2, kTimeout);
    BListViewItem *full = findItem(list, "Full backup");
    QVERIFY(full);
    QCOMPARE(full->checkState(0), Qt::Checked);
    list->setCurrentItem(full);
    QSignalSpy changes(list->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(withModal([&] { schedule->editButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<BackupScheduleDlg *>(modal);
                          QVERIFY(dialog);
                          QVERIFY(dialog->m_chkEnabled->isChecked());
                          dialog->m_chkEnabled->click();
                          dialog->m_timeEdit->setTime(QTime(4, 30));
                          dialog->m_edDescription->setText("Weekend");
                          clickOk(dialog);
                      }));
    // The row shows what the dialog stored, its check box too.
    QVERIFY(viewTold(changes, list->indexFromItem(full, 2)));
    QCOMPARE(list->indexFromItem(full, 1).data().toString(), QString("Sunday 04:30"));
    QCOMPARE(list->indexFromItem(full, 2).data().toString(), QString("Weekend"));
    QCOMPARE(full->checkState(0), Qt::Unchecked);
    QVERIFY(!full->icon(0).isNull());
    QCOMPARE(pendingOperations(), 1);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Enabled, Time, Description from BackupSchedule where "
                        "Date='Sunday'"),
             QStringList{"0|270|Weekend"});
    // Checking it again enables it.
    full->setCheckState(0, Qt::Checked);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Enabled from BackupSchedule where Date='Sunday'"),
             QStringList{"1"});
}

void TestBackupPage::startedBackupShowsMovingProgress()
{
    // The server's clock is three days behind: the elapsed time comes from it.
    QVERIFY(startServer({"--clock-offset", "-259200"}));
    QVERIFY(serverExec("update Backup set LastBackupStatus='1'"));
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    QTRY_COMPARE_WITH_TIMEOUT(settings->m_lblStatus->text(),
                              QString("Last backup operation failed. See error or warning log."),
                              kTimeout);
    QVERIFY(settings->m_btnStart->isEnabled());
    BoxAnswers boxes(QMessageBox::Ok);
    settings->m_btnStart->click();
    QVERIFY(boxes.texts.isEmpty()); // nothing to apply first
    QTRY_COMPARE_WITH_TIMEOUT(settings->m_lblStatus->text(), QString("In progress:"), kTimeout);
    QList<int> seen;
    // Waiting runs the event loop: the window keeps painting while it polls.
    QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (settings->m_progress->isVisible()) {
                    if (seen.isEmpty() || seen.last() != settings->m_progress->value())
                        seen << settings->m_progress->value();
                    const QString times = settings->m_lblTimes->text();
                    if (!times.startsWith("(Duration: Less than 1 minute") || times.contains("day"))
                        seen << -1000; // a time from the console's clock, or negative
                }
                return settings->m_lblStatus->text() == "Last backup finished successfully.";
            }(),
            kTimeout);
    QVERIFY2(seen.size() >= 3, qPrintable(QString::number(seen.size())));
    QVERIFY2(std::is_sorted(seen.begin(), seen.end()), "the progress only grows");
    QVERIFY(!settings->m_progress->isVisible());
    QCOMPARE(serverRows("select LastBackupStatus from Backup"), QStringList{"0"});
    QVERIFY(mailLogTail().contains("BACKUP: backup started on request"));
}

void TestBackupPage::pollsDoNotOverlap()
{
    // Every answer takes half a second: a poll is still out when the next
    // tick comes.
    QVERIFY(startServer({"--fault-delay", "500"}));
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    QTRY_VERIFY_WITH_TIMEOUT(!settings->isPolling(), kTimeout);
    TraceCapture trace;
    for (int i = 0; i < 5; ++i)
        settings->slotPoll();
    QVERIFY(settings->isPolling());
    QTRY_VERIFY_WITH_TIMEOUT(trace.text().count("select GetCurrentBackup()") == 2, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(!settings->isPolling(), kTimeout);
    // The four calls made while the first poll was out became one poll after it.
    QCOMPARE(trace.text().count("select GetCurrentBackup()"), 2);
}

void TestBackupPage::startNowAsksToApplyFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes applies and starts") << int(QMessageBox::Yes);
    QTest::newRow("no starts nothing") << int(QMessageBox::No);
}

void TestBackupPage::startNowAsksToApplyFirst()
{
    QFETCH(int, answer);
    const bool yes = answer == QMessageBox::Yes;
    QVERIFY(startConsole());
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    settings->m_edNotify->setText("backup-admin@example.com");
    QCOMPARE(pendingOperations(), 1);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    settings->m_btnStart->click();
    QCOMPARE(boxes.texts,
             QStringList{"<nobr>All previous changes must be applied before you can "
                         "continue.<br>Do you want to apply changes?</nobr>"});
    QCOMPARE(pendingOperations(), yes ? 0 : 1);
    QCOMPARE(serverRows("select AdminNotify from Backup"),
             QStringList{yes ? "backup-admin@example.com" : "admin@example.com"});
    const QString progress = serverRows("select GetCurrentBackup()").value(0).section('|', 0, 0);
    QCOMPARE(progress.toInt() >= 0, yes);
}

void TestBackupPage::messagesFromOtherPages()
{
    QVERIFY(startConsole());
    FGotoWindow *go = FGotoWindow::instance();
    go->addMessage(SectionId::Backup, FGotoWindow::SelectTab,
                   new FGotoWindow::Message_01_SelectTab("m_tab", "BackupScheduleWnd"));
    BackupWnd *page = openBackup();
    QVERIFY(page);
    QTRY_COMPARE_WITH_TIMEOUT(page->tab()->currentIndex(), 1, kTimeout);
    QCOMPARE(go->queuedCount(), 0);
}

void TestBackupPage::viewerChangesNothing()
{
    const QStringList before = serverRows("select * from Backup");
    const QStringList schedule = serverRows("select * from BackupSchedule");
    QVERIFY(startConsole("viewer"));
    BackupWnd *page = openBackup();
    QVERIFY(page);
    BackupSettingsWnd *settings = page->settingsPage();
    QCOMPARE(settings->m_edDir->text(), QString("/backup/postvane"));
    QVERIFY(settings->m_edDir->isReadOnly());
    for (QWidget *widget :
         std::initializer_list<QWidget *>{settings->m_chkEnabled, settings->m_btnBrowse,
                                          settings->m_btnStart, settings->m_btnNetwork})
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    // Commands called behind the buttons' backs do nothing either.
    settings->slotStartNow();
    settings->slotBrowse();
    settings->slotNetwork();
    page->tab()->setCurrentIndex(1);
    QTRY_COMPARE_WITH_TIMEOUT(page->schedulePage()->listView()->topLevelItemCount(), 2, kTimeout);
    QVERIFY(!page->schedulePage()->addButton()->isEnabled());
    // A schedule opens to be read.
    BListView *schedules = page->schedulePage()->listView();
    const QStringList changeable = changeableInRowDialog(schedules, schedules->topLevelItem(0));
    QVERIFY2(changeable.isEmpty(), qPrintable(changeable.join(", ")));
    page->schedulePage()->add();
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows("select * from Backup"), before);
    QCOMPARE(serverRows("select * from BackupSchedule"), schedule);
    QCOMPARE(serverRows("select GetCurrentBackup()").value(0).section('|', 0, 0), QString("-1"));
}

QTEST_MAIN(TestBackupPage)
#include "test_backup.moc"

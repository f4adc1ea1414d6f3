#include "pages/backup/backupwnd.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "forms/bcols.h"
#include "forms/blineedit.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/btabpage.h"
#include "pages/backup/backupdialogs.h"
#include "pages/backup/backupprogress.h"
#include "pages/backup/backuptexts.h"
#include "pages/pop3/downloadcommand.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

using bview::named;

namespace {

// Without a running backup the status is read every ten seconds, during one
// every second.
constexpr int kIdleInterval = 10000;
constexpr int kRunningInterval = 1000;

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

DBRow *firstRow(const DBTable &table)
{
    return table.rowCount() > 0 ? table.row(0) : nullptr;
}

QString storedText(const DBTable &table, const char *column)
{
    return table.confirmedCount() > 0 ? table.confirmedRow(0).text(QLatin1String(column))
                                      : QString();
}

} // namespace

// --- settings ---

TBackupSettingsWnd::TBackupSettingsWnd(QWidget *parent)
    : BForm(parent)
    , m_chkEnabled(named(new QCheckBox(tr("&Enable message store and configuration recovery "
                                          "backup"),
                                       this),
                         "m_chkEnabled"))
    , m_edDir(named(new BLineEdit(this), "m_edDir"))
    , m_btnBrowse(named(new QPushButton(tr("&Browse..."), this), "m_btnBrowse"))
    , m_chkNetwork(named(new QCheckBox(tr("The backup directory is on a &network disk"), this),
                         "m_chkNetwork"))
    , m_btnNetwork(named(new QPushButton(tr("&Authentication..."), this), "m_btnNetwork"))
    , m_edNotify(named(new BLineEdit(this), "m_edNotify"))
    , m_btnAdvanced(named(new QPushButton(tr("Ad&vanced..."), this), "m_btnAdvanced"))
    , m_lblStatusIcon(named(new QLabel(this), "m_lblStatusIcon"))
    , m_lblStatus(named(new QLabel(this), "m_lblStatus"))
    , m_progress(named(new QProgressBar(this), "m_progress"))
    , m_lblTimes(named(new QLabel(this), "m_lblTimes"))
    , m_btnStart(named(new QPushButton(tr("&Start now"), this), "m_btnStart"))
{
    auto *settings = new QGroupBox(tr("Backup"), this);
    auto *dir = new QHBoxLayout;
    dir->addWidget(m_edDir, 1);
    dir->addWidget(m_btnBrowse);
    auto *network = new QHBoxLayout;
    network->addWidget(m_chkNetwork);
    network->addWidget(m_btnNetwork);
    network->addStretch();
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("Backup &directory:"), m_edDir, settings), dir);
    form->addRow(QString(), network);
    form->addRow(buddyLabel(tr("Email add&ress:"), m_edNotify, settings), m_edNotify);
    auto *inner = new QVBoxLayout(settings);
    inner->addWidget(m_chkEnabled);
    inner->addLayout(form);
    auto *advanced = new QHBoxLayout;
    advanced->addStretch();
    advanced->addWidget(m_btnAdvanced);
    inner->addLayout(advanced);

    auto *status = new QGroupBox(tr("Status"), this);
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(tr("Backup progress"));
    auto *line = new QHBoxLayout;
    line->addWidget(m_lblStatusIcon);
    line->addWidget(m_lblStatus);
    line->addWidget(m_progress, 1);
    line->addWidget(m_lblTimes);
    line->addStretch();
    auto *start = new QHBoxLayout;
    start->addStretch();
    start->addWidget(m_btnStart);
    auto *statusLayout = new QVBoxLayout(status);
    statusLayout->addLayout(line);
    statusLayout->addLayout(start);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(settings);
    layout->addWidget(status);
    layout->addStretch();

    connect(m_chkEnabled, &QCheckBox::toggled, this, &BForm::slotChange);
    connect(m_chkNetwork, &QCheckBox::toggled, this, &BForm::slotChange);
    connect(m_chkNetwork, &QCheckBox::toggled, m_btnNetwork, &QWidget::setEnabled);
    connect(m_edDir, &QLineEdit::textChanged, this, &BForm::slotChange);
    connect(m_edNotify, &QLineEdit::textChanged, this, &BForm::slotChange);
    connect(m_btnBrowse, &QPushButton::clicked, this, &TBackupSettingsWnd::slotBrowse);
    connect(m_btnNetwork, &QPushButton::clicked, this, &TBackupSettingsWnd::slotNetwork);
    connect(m_btnAdvanced, &QPushButton::clicked, this, &TBackupSettingsWnd::slotAdvanced);
    connect(m_btnStart, &QPushButton::clicked, this, &TBackupSettingsWnd::slotStartNow);
}

BackupSettingsWnd::BackupSettingsWnd(QWidget *parent)
    : TBackupSettingsWnd(parent)
    , m_table(bobject::connection(), QStringLiteral("Backup"))
    , m_archive(bobject::connection(), QStringLiteral("Archive"))
    , m_info(bobject::connection(), QStringLiteral("Info"))
    , m_trans(bobject::connection())
    , m_current(bobject::connection(), QStringLiteral("GetCurrentBackup()"))
    , m_lastStatus(bobject::connection(), QStringLiteral("select LastBackupStatus from Backup"))
{
    setObjectName(QStringLiteral("BackupSettingsWnd"));
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_archive);
    m_trans.addTable(&m_info);
    m_progress->hide();
    m_lblTimes->hide();
    connect(&m_pollTimer, &QTimer::timeout, this, &TBackupSettingsWnd::slotPoll);
}

serverdir::Credentials BackupSettingsWnd::credentials() const
{
    const DBRow *row = firstRow(m_table);
    if (!row || !m_chkNetwork->isChecked())
        return {};
    return {row->text("RemoteUser"), backupPlainPassword(row->text("Password"))};
}

bool BackupSettingsWnd::fillView()
{
    const DBRow *row = firstRow(m_table);
    if (!row)
        return false;
    m_chkEnabled->setChecked(row->text("Enabled").toInt() != 0);
    m_edDir->setText(row->text("BackupDir"));
    m_chkNetwork->setChecked(!row->text("RemoteUser").isEmpty());
    m_btnNetwork->setEnabled(m_chkNetwork->isChecked());
    m_edNotify->setText(row->text("AdminNotify"));
    if (!m_running)
        showLastStatus(row->text("LastBackupStatus").toInt());
    return true;
}

void BackupSettingsWnd::storeView()
{
    DBRow *row = firstRow(m_table);
    if (!row)
        return;
    row->setNumber("Enabled", m_chkEnabled->isChecked() ? 1 : 0);
    row->setText("BackupDir", m_edDir->text().trimmed());
    row->setText("AdminNotify", m_edNotify->text().trimmed());
    if (!m_chkNetwork->isChecked()) {
        row->setText("RemoteUser", QString());
        row->setText("Password", QString());
    }
}

bool BackupSettingsWnd::validate()
{
    const DBRow *row = firstRow(m_table);
    if (!row)
        return true;
    const QString dir = m_edDir->text().trimmed();
    if (m_chkEnabled->isChecked() && dir.isEmpty()) {
        bmessagebox::warning(this,
                             tr("The backup is enabled, but no backup directory has been "
                                "defined."));
        m_edDir->setFocus();
        return false;
    }
    if (m_chkNetwork->isChecked() && row->text("RemoteUser").isEmpty()) {
        bmessagebox::warning(this, tr("You should enter a user name."));
        m_btnNetwork->setFocus();
        return false;
    }
    const DBRow *archive = firstRow(m_archive);
    if (!dir.isEmpty() && archive && !archive->text("ArchiveDir").trimmed().isEmpty()
        && serverdir::sameDirectory(dir, archive->text("ArchiveDir"))) {
        bmessagebox::warning(this,
                             tr("Backup directory cannot be identical with the archive "
                                "directory."));
        m_edDir->setFocus();
        return false;
    }
    // A directory is checked when it or the way to reach it changed.
    const bool changed = dir != storedText(m_table, "BackupDir")
            || row->text("RemoteUser") != storedText(m_table, "RemoteUser")
            || row->text("Password") != storedText(m_table, "Password")
            || (m_chkEnabled->isChecked() && storedText(m_table, "Enabled").toInt() == 0);
    if (!dir.isEmpty() && changed
        && !serverdir::checkBeforeSave(this, dir, serverdir::Purpose::Backup, credentials())) {
        m_edDir->setFocus();
        return false;
    }
    return true;
}

void BackupSettingsWnd::afterFirstLoad()
{
    if (const DBRow *info = firstRow(m_info)) {
        const qint64 serverTime = info->text("CurrentTime").toLongLong();
        if (serverTime > 0)
            m_clockOffset = serverTime - QDateTime::currentSecsSinceEpoch();
    }
    m_pollTimer.start(kIdleInterval);
    slotPoll();
}

void BackupSettingsWnd::applyReadOnly()
{
    TBackupSettingsWnd::applyReadOnly();
    m_btnStart->setEnabled(false);
}

qint64 BackupSettingsWnd::serverNow() const
{
    return QDateTime::currentSecsSinceEpoch() + m_clockOffset;
}

void BackupSettingsWnd::slotBrowse()
{
    if (!bview::sessionMayModify())
        return;
    BackupScheduleDirDlg dialog(m_edDir->text().trimmed(), credentials(), this);
    if (dialog.exec() == QDialog::Accepted && !dialog.path().isEmpty())
        m_edDir->setText(dialog.path());
}

void BackupSettingsWnd::slotNetwork()
{
    DBRow *row = firstRow(m_table);
    if (!row || !bview::sessionMayModify())
        return;
    BackupScheduleUserDlg dialog(row, this);
    if (dialog.exec() == QDialog::Accepted)
        registerChanges();
}

void BackupSettingsWnd::slotAdvanced()
{
    DBRow *row = firstRow(m_table);
    if (!row)
        return;
    BackupScheduleAdvancedDlg dialog(row, this);
    if (!bview::sessionMayModify())
        bview::makeReadOnly(&dialog);
    if (dialog.exec() == QDialog::Accepted && bview::sessionMayModify())
        registerChanges();
}

void BackupSettingsWnd::slotStartNow()
{
    DBConn *conn = bobject::connection();
    if (!conn || !conn->mayModify() || !m_btnStart->isEnabled())
        return;
    if (!downloadcommand::applyPendingChanges(this))
        return;
    m_lblStatusIcon->clear();
    m_lblStatus->setText(tr("Backup starting..."));
    DBReq req(dbFunctionCall(QStringLiteral("StoreBackupCreate")));
    if (!conn->execSync(&req)) {
        if (conn->isConnected())
            bmessagebox::warning(this, req.errorText());
        return;
    }
    m_pollTimer.start(kRunningInterval);
    slotPoll();
}

void BackupSettingsWnd::slotPoll()
{
    DBConn *conn = bobject::connection();
    if (!conn || !conn->isConnected())
        return;
    // One poll at a time: a slow queue must not pile them up. A poll asked
    // for meanwhile follows when the answer is in, which may predate it.
    if (m_polling) {
        m_pollAgain = true;
        return;
    }
    m_polling = true;
    m_current.select(this, SLOT(slotCurrentReady()), this, SLOT(slotCurrentError(QString)));
}

void BackupSettingsWnd::slotCurrentReady()
{
    m_polling = false;
    if (std::exchange(m_pollAgain, false)) {
        slotPoll();
        return;
    }
    const DBRow *row = firstRow(m_current);
    if (!row)
        return;
    const BackupProgress progress
            = BackupProgress::from(row->text("Progress").toLongLong(),
                                   row->text("BackupStarted").toLongLong(), serverNow());
    const bool wasRunning = m_running;
    m_running = progress.running;
    if (progress.running) {
        showProgress(progress);
        if (m_pollTimer.interval() != kRunningInterval)
            m_pollTimer.start(kRunningInterval);
        return;
    }
    if (m_pollTimer.interval() != kIdleInterval)
        m_pollTimer.start(kIdleInterval);
    if (wasRunning)
        m_lastStatus.select(this, SLOT(slotLastStatusReady()), nullptr, nullptr);
    else if (const DBRow *settings = firstRow(m_table))
        showLastStatus(storedText(m_table, "LastBackupStatus").isEmpty()
                               ? settings->text("LastBackupStatus").toInt()
                               : storedText(m_table, "LastBackupStatus").toInt());
}

void BackupSettingsWnd::slotCurrentError(const QString &error)
{
    Q_UNUSED(error); // the next tick tries again; the connection reports lost sessions
    m_polling = false;
    if (std::exchange(m_pollAgain, false))
        slotPoll();
}

void BackupSettingsWnd::slotLastStatusReady()
{
    if (const DBRow *row = firstRow(m_lastStatus))
        showLastStatus(row->text("LastBackupStatus").toInt());
}

void BackupSettingsWnd::showProgress(const BackupProgress &progress)
{
    m_lblStatusIcon->clear();
    m_lblStatusIcon->hide();
    m_lblStatus->setText(tr("In progress:"));
    m_progress->setValue(progress.percent);
    m_progress->show();
    m_lblTimes->setText(progress.timesText());
    m_lblTimes->show();
}

void BackupSettingsWnd::showLastStatus(int status)
{
    m_progress->hide();
    m_lblTimes->hide();
    const bool ok = status == 0;
    m_lblStatusIcon->setPixmap(
            QIcon(ok ? QStringLiteral(":/images/permit.png") : QStringLiteral(":/images/deny.png"))
                    .pixmap(16));
    m_lblStatusIcon->show();
    m_lblStatus->setText(ok ? tr("Last backup finished successfully.")
                            : tr("Last backup operation failed. See error or warning log."));
}

// --- schedule ---

BackupScheduleItem::BackupScheduleItem(BListView *view, DBRow *row, bool checkable)
    : BCheckRowTextItem(view, row)
{
    setIcon(0, QIcon(QStringLiteral(":/images/backup_tree.png")));
    setOn(row->text("Enabled").toInt() != 0);
    if (!checkable)
        setFlags(flags() & ~Qt::ItemIsUserCheckable);
}

QString BackupScheduleItem::cellText(int column) const
{
    const DBRow &schedule = *row();
    switch (column) {
    case 0:
        return backuptexts::typeText(schedule.text("Type").toInt());
    case 1:
        return backuptexts::dayText(schedule.text("Date")) + QLatin1Char(' ')
                + backuptexts::timeText(schedule.text("Time").toInt());
    case 2:
        return schedule.text("Description");
    default:
        return QString();
    }
}

BackupScheduleWnd::BackupScheduleWnd(QWidget *parent)
    : BFormList<>(parent)
    , m_table(bobject::connection(), QStringLiteral("BackupSchedule"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("BackupScheduleWnd"));
    listView()->setAccessibleName(tr("Scheduled backups"));
    m_trans.addTable(&m_table);
}

void BackupScheduleWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("backupschedule")));
    cols.addColumn(tr("Type"), QStringLiteral("Type"), BCol::AlwaysVisible);
    cols.addColumn(tr("Time"), QStringLiteral("Time"), BCol::Visible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
}

BListViewItem *BackupScheduleWnd::createItem(DBRow *row)
{
    return new BackupScheduleItem(listView(), row, !sessionReadOnly());
}

bool BackupScheduleWnd::initNewRow(DBRow *row)
{
    row->setNumber("Enabled", 1);
    row->setNumber("Type", 0);
    row->setText("Date", QStringLiteral("Daily"));
    row->setNumber("Time", 0);
    row->setNumber("Format", 0);
    return true;
}

bool BackupScheduleWnd::editRow(DBRow *row)
{
    BackupScheduleDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

void BackupScheduleWnd::updateItems(const QList<BListViewItem *> &items)
{
    BFormList<>::updateItems(items);
    for (BListViewItem *item : items) {
        auto *schedule = static_cast<BackupScheduleItem *>(item);
        // itemChecked() finds the row saying so already: nothing more changes.
        if (schedule->row())
            schedule->setOn(schedule->row()->text("Enabled").toInt() != 0);
    }
}

void BackupScheduleWnd::itemChecked(BCheckListItem *item)
{
    if (m_updating || !item || !item->row() || sessionReadOnly())
        return;
    const int enabled = item->isOn() ? 1 : 0;
    if (item->row()->text("Enabled").toInt() == enabled)
        return;
    item->row()->setNumber("Enabled", enabled);
    registerChanges();
}

// --- the section ---

BackupWnd::BackupWnd(QWidget *parent)
    : BFormTab<>(parent)
{
    setObjectName(QStringLiteral("BackupWnd"));
    auto *settings = new BTabPageEx<BackupSettingsWnd>(this);
    auto *schedule = new BTabPageEx<BackupScheduleWnd>(this);
    m_settings = settings;
    m_schedule = schedule;
    tab()->addPage(settings, tr("Backup"));
    tab()->addPage(schedule, tr("Schedule"));
    // The tabs load themselves; the section is ready, and takes the messages
    // other pages left for it, once its first tab is.
    connect(settings->viewSlot(), &bview::BViewSlot::signalPageReady, viewSlot(),
            &bview::BViewSlot::signalPageReady);
}

#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "forms/bformlist.h"
#include "forms/bformtab.h"
#include "pages/backup/serverdir.h"

#include <QTimer>

class BLineEdit;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
struct BackupProgress;

// The layout of the backup settings tab.
class TBackupSettingsWnd : public BForm
{
    Q_OBJECT
public:
    explicit TBackupSettingsWnd(QWidget *parent = nullptr);
    QCheckBox *m_chkEnabled;
    BLineEdit *m_edDir;
    QPushButton *m_btnBrowse;
    QCheckBox *m_chkNetwork;
    QPushButton *m_btnNetwork;
    BLineEdit *m_edNotify;
    QPushButton *m_btnAdvanced;
    QLabel *m_lblStatusIcon;
    QLabel *m_lblStatus;
    QProgressBar *m_progress;
    QLabel *m_lblTimes;
    QPushButton *m_btnStart;

public slots:
    virtual void slotBrowse() { }
    virtual void slotNetwork() { }
    virtual void slotAdvanced() { }
    virtual void slotStartNow() { }
    virtual void slotPoll() { }
    virtual void slotCurrentReady() { }
    virtual void slotCurrentError(const QString &error) { Q_UNUSED(error); }
    virtual void slotLastStatusReady() { }
};

// Whether backups run, where they go and who hears of them (first row of
// "Backup"), checked against "Archive"; starts a backup and follows it
// through "GetCurrentBackup()", polled without blocking the window.
class BackupSettingsWnd : public TBackupSettingsWnd
{
public:
    explicit BackupSettingsWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    void afterFirstLoad() override;
    void applyReadOnly() override;
    unsigned tableCount() const override { return 3; }
    QString name() const override { return QStringLiteral("BackupSettingsWnd"); }

    void slotBrowse() override;
    void slotNetwork() override;
    void slotAdvanced() override;
    void slotStartNow() override;
    void slotPoll() override;
    void slotCurrentReady() override;
    void slotCurrentError(const QString &error) override;
    void slotLastStatusReady() override;

    // The server's time now, from its clock as read at load.
    qint64 serverNow() const;
    bool isPolling() const { return m_polling; }
    QTimer *pollTimer() { return &m_pollTimer; }

private:
    serverdir::Credentials credentials() const;
    void showProgress(const BackupProgress &progress);
    void showLastStatus(int status);

    DBTable m_table;
    DBTable m_archive;
    DBTable m_info;
    DBTransTab m_trans;
    // Read on the timer, outside the group that is saved.
    DBTable m_current;
    DBTable m_lastStatus;
    QTimer m_pollTimer;
    bool m_polling = false;
    bool m_pollAgain = false;
    bool m_running = false;
    qint64 m_clockOffset = 0;
};

// A scheduled backup; its check box is "Enabled". Its texts come from the row
// whenever the view asks.
class BackupScheduleItem : public BCheckRowTextItem
{
public:
    BackupScheduleItem(BListView *view, DBRow *row, bool checkable);
    QString cellText(int column) const override;
};

// The scheduled full and differential backups ("BackupSchedule").
class BackupScheduleWnd : public BFormList<>
{
public:
    explicit BackupScheduleWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    // The texts and the check box, which the dialog's "Enabled" may have
    // changed.
    void updateItems(const QList<BListViewItem *> &items) override;
    void itemChecked(BCheckListItem *item) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("BackupScheduleWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The "Backup" section: the settings with the running backup's progress,
// and the schedule.
class BackupWnd : public BFormTab<>
{
    Q_OBJECT
public:
    explicit BackupWnd(QWidget *parent = nullptr);

    BackupSettingsWnd *settingsPage() const { return m_settings; }
    BackupScheduleWnd *schedulePage() const { return m_schedule; }
    QString name() const override { return QStringLiteral("BackupWnd"); }

private:
    BackupSettingsWnd *m_settings;
    BackupScheduleWnd *m_schedule;
};

#pragma once

#include "forms/bdialog.h"
#include "pages/backup/serverdir.h"

#include <QDialog>

class BLineEdit;
class BPwdLineEdit;
class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QSpinBox;
class QTimeEdit;

// The layout of a scheduled backup's dialog.
class TBackupScheduleDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TBackupScheduleDlg(QWidget *parent = nullptr);
    QCheckBox *m_chkEnabled;
    QComboBox *m_cboType;
    QComboBox *m_cboDate;
    QTimeEdit *m_timeEdit;
    QComboBox *m_cboFormat;
    BLineEdit *m_edDescription;
};

// Edits one row of "BackupSchedule"; a day and time may be scheduled once.
class BackupScheduleDlg : public BDialog<TBackupScheduleDlg>
{
public:
    explicit BackupScheduleDlg(DBRow *row, QWidget *parent = nullptr);
    bool fillView() override;
    void storeView() override;
    QString duplicateMessage() const override;
};

// The layout of the advanced backup settings.
class TBackupScheduleAdvancedDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TBackupScheduleAdvancedDlg(QWidget *parent = nullptr);
    QSpinBox *m_spinMaxFileSize;
    QSpinBox *m_spinRotation;
};

// "MaxFileSize" and "RotationLimit" of the backup settings row.
class BackupScheduleAdvancedDlg : public BDialog<TBackupScheduleAdvancedDlg>
{
public:
    explicit BackupScheduleAdvancedDlg(DBRow *row, QWidget *parent = nullptr);
    bool fillView() override;
    void storeView() override;
};

// The layout of "Backup - Network Disk Authentication".
class TBackupScheduleUserDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TBackupScheduleUserDlg(QWidget *parent = nullptr);
    BLineEdit *m_edUser;
    BPwdLineEdit *m_edPassword;
    BPwdLineEdit *m_edConfirm;
};

// The network-disk user ("domain\username") and password of the backup
// settings row.
class BackupScheduleUserDlg : public BDialog<TBackupScheduleUserDlg>
{
public:
    explicit BackupScheduleUserDlg(DBRow *row, QWidget *parent = nullptr);
    bool fillView() override;
    void storeView() override;
    bool validate() override;
};

// Browses the server's directories from a starting path; "[..]" goes one
// level up, a double click or Enter opens a directory.
class BackupScheduleDirDlg : public QDialog
{
    Q_OBJECT
public:
    BackupScheduleDirDlg(const QString &path, const serverdir::Credentials &credentials,
                         QWidget *parent = nullptr);
    QString path() const;
    // Lists path; false (with the message shown) when it cannot.
    bool browse(const QString &path);

    BLineEdit *m_edPath;
    QListWidget *m_lstDirs;

private:
    void openFolder(QListWidgetItem *item);

    serverdir::Credentials m_credentials;
    QString m_current;
};

// The stored password without its "NUL:" marker.
QString backupPlainPassword(const QString &stored);

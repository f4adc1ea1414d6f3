#include "pages/backup/backupdialogs.h"

#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/bpwdlineedit.h"
#include "pages/backup/backuptexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

using bview::named;

namespace {

const QString kUpEntry = QStringLiteral("[..]");

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// The separator the path already uses ("\" for "C:\backup", "/" otherwise).
QChar separatorOf(const QString &path)
{
    return path.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
}

QString parentOf(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1
           && (trimmed.endsWith(QLatin1Char('/')) || trimmed.endsWith(QLatin1Char('\\'))))
        trimmed.chop(1);
    const qsizetype cut
            = qMax(trimmed.lastIndexOf(QLatin1Char('/')), trimmed.lastIndexOf(QLatin1Char('\\')));
    if (cut < 0)
        return trimmed;
    QString parent = trimmed.left(cut + 1);
    // "C:\" and "/" stay; "C:\backup\" loses its separator.
    if (parent.size() > 1 && !parent.endsWith(QLatin1String(":\\"))
        && !parent.endsWith(QLatin1String(":/")))
        parent.chop(1);
    return parent;
}

QString childOf(const QString &path, const QString &name)
{
    if (path.isEmpty())
        return QLatin1Char('/') + name;
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path + name;
    return path + separatorOf(path) + name;
}

} // namespace

QString backupPlainPassword(const QString &stored)
{
    return stored.startsWith(QLatin1String("NUL:")) ? stored.mid(4) : stored;
}

// --- schedule ---

TBackupScheduleDlg::TBackupScheduleDlg(QWidget *parent)
    : QDialog(parent)
    , m_chkEnabled(named(new QCheckBox(tr("&Enabled"), this), "m_chkEnabled"))
    , m_cboType(named(new QComboBox(this), "m_cboType"))
    , m_cboDate(named(new QComboBox(this), "m_cboDate"))
    , m_timeEdit(named(new QTimeEdit(this), "m_timeEdit"))
    , m_cboFormat(named(new QComboBox(this), "m_cboFormat"))
    , m_edDescription(named(new BLineEdit(this), "m_edDescription"))
{
    setWindowTitle(tr("Scheduled Backup"));
    for (int type = 0; type < 2; ++type)
        m_cboType->addItem(backuptexts::typeText(type));
    for (const QString &day : backuptexts::dayValues())
        m_cboDate->addItem(backuptexts::dayText(day), day);
    m_timeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    for (int format = 0; format < 2; ++format)
        m_cboFormat->addItem(backuptexts::formatText(format));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Type:"), m_cboType, this), m_cboType);
    form->addRow(buddyLabel(tr("&Day:"), m_cboDate, this), m_cboDate);
    form->addRow(buddyLabel(tr("T&ime:"), m_timeEdit, this), m_timeEdit);
    form->addRow(buddyLabel(tr("&Format:"), m_cboFormat, this), m_cboFormat);
    form->addRow(buddyLabel(tr("Descr&iption:"), m_edDescription, this), m_edDescription);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chkEnabled);
    layout->addWidget(new QLabel(tr("The backup system includes a basic backup (full backup) "
                                    "and one advanced type of backup (differential)."),
                                 this));
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

BackupScheduleDlg::BackupScheduleDlg(DBRow *row, QWidget *parent)
    : BDialog<TBackupScheduleDlg>(parent)
{
    setObjectName(QStringLiteral("BackupScheduleDlg"));
    setRow(row);
}

QString BackupScheduleDlg::duplicateMessage() const
{
    return tr("Backup schedule with this day and time is already defined.");
}

bool BackupScheduleDlg::fillView()
{
    if (!m_row)
        return false;
    m_chkEnabled->setChecked(m_row->text("Enabled").toInt() != 0);
    m_cboType->setCurrentIndex(qBound(0, m_row->text("Type").toInt(), 1));
    const QString day = m_row->text("Date");
    int index = m_cboDate->findData(day);
    if (index < 0 && !day.isEmpty()) {
        m_cboDate->addItem(day, day); // a day this console does not name stays
        index = m_cboDate->count() - 1;
    }
    m_cboDate->setCurrentIndex(qMax(0, index));
    m_timeEdit->setTime(QTime(0, 0).addSecs(qint64(m_row->text("Time").toInt()) * 60));
    m_cboFormat->setCurrentIndex(qBound(0, m_row->text("Format").toInt(), 1));
    m_edDescription->setText(m_row->text("Description"));
    return true;
}

void BackupScheduleDlg::storeView()
{
    m_row->setNumber("Enabled", m_chkEnabled->isChecked() ? 1 : 0);
    m_row->setNumber("Type", m_cboType->currentIndex());
    m_row->setText("Date", m_cboDate->currentData().toString());
    const QTime time = m_timeEdit->time();
    m_row->setNumber("Time", time.hour() * 60 + time.minute());
    m_row->setNumber("Format", m_cboFormat->currentIndex());
    m_row->setText("Description", m_edDescription->text());
}

// --- advanced ---

TBackupScheduleAdvancedDlg::TBackupScheduleAdvancedDlg(QWidget *parent)
    : QDialog(parent)
    , m_spinMaxFileSize(named(new QSpinBox(this), "m_spinMaxFileSize"))
    , m_spinRotation(named(new QSpinBox(this), "m_spinRotation"))
{
    setWindowTitle(tr("Backup - Advanced"));
    m_spinMaxFileSize->setRange(0, 1024 * 1024);
    m_spinMaxFileSize->setSuffix(tr(" MB"));
    m_spinMaxFileSize->setSpecialValueText(tr("Unlimited"));
    m_spinRotation->setRange(0, 9999);
    m_spinRotation->setSpecialValueText(tr("Keep all"));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Maximum size of a backup file:"), m_spinMaxFileSize, this),
                 m_spinMaxFileSize);
    form->addRow(buddyLabel(tr("&Number of backups kept:"), m_spinRotation, this), m_spinRotation);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

BackupScheduleAdvancedDlg::BackupScheduleAdvancedDlg(DBRow *row, QWidget *parent)
    : BDialog<TBackupScheduleAdvancedDlg>(parent)
{
    setObjectName(QStringLiteral("BackupScheduleAdvancedDlg"));
    setRow(row);
}

bool BackupScheduleAdvancedDlg::fillView()
{
    if (!m_row)
        return false;
    m_spinMaxFileSize->setValue(m_row->text("MaxFileSize").toInt());
    m_spinRotation->setValue(m_row->text("RotationLimit").toInt());
    return true;
}

void BackupScheduleAdvancedDlg::storeView()
{
    m_row->setNumber("MaxFileSize", m_spinMaxFileSize->value());
    m_row->setNumber("RotationLimit", m_spinRotation->value());
}

// --- network disk user ---

TBackupScheduleUserDlg::TBackupScheduleUserDlg(QWidget *parent)
    : QDialog(parent)
    , m_edUser(named(new BLineEdit(this), "m_edUser"))
    , m_edPassword(named(new BPwdLineEdit(this), "m_edPassword"))
    , m_edConfirm(named(new BPwdLineEdit(this), "m_edConfirm"))
{
    setWindowTitle(tr("Backup - Network Disk Authentication"));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&User name:"), m_edUser, this), m_edUser);
    form->addRow(buddyLabel(tr("&Password:"), m_edPassword, this), m_edPassword);
    form->addRow(buddyLabel(tr("&Confirm password:"), m_edConfirm, this), m_edConfirm);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

BackupScheduleUserDlg::BackupScheduleUserDlg(DBRow *row, QWidget *parent)
    : BDialog<TBackupScheduleUserDlg>(parent)
{
    setObjectName(QStringLiteral("BackupScheduleUserDlg"));
    setRow(row);
}

bool BackupScheduleUserDlg::fillView()
{
    if (!m_row)
        return false;
    m_edUser->setText(m_row->text("RemoteUser"));
    const bool stored = !m_row->text("Password").isEmpty();
    m_edPassword->setPasswordStored(stored);
    m_edConfirm->setPasswordStored(stored);
    return true;
}

bool BackupScheduleUserDlg::validate()
{
    const QString user = m_edUser->text().trimmed();
    if (user.isEmpty()) {
        bmessagebox::warning(this, tr("You should enter a user name."));
        m_edUser->setFocus();
        return false;
    }
    const qsizetype slash = user.indexOf(QLatin1Char('\\'));
    if (slash <= 0 || slash == user.size() - 1) {
        bmessagebox::warning(this,
                             tr("User name should be specified in this format: "
                                "'domain\\username'."));
        m_edUser->setFocus();
        return false;
    }
    if (m_edPassword->isPasswordChanged() != m_edConfirm->isPasswordChanged()
        || m_edPassword->value() != m_edConfirm->value()) {
        bmessagebox::warning(this, tr("Invalid confirmation password"));
        m_edConfirm->setFocus();
        return false;
    }
    return true;
}

void BackupScheduleUserDlg::storeView()
{
    m_row->setText("RemoteUser", m_edUser->text().trimmed());
    if (m_edPassword->isPasswordChanged())
        m_row->setText("Password", QStringLiteral("NUL:") + m_edPassword->value());
}

// --- directory browser ---

BackupScheduleDirDlg::BackupScheduleDirDlg(const QString &path,
                                           const serverdir::Credentials &credentials,
                                           QWidget *parent)
    : QDialog(parent)
    , m_edPath(named(new BLineEdit(this), "m_edPath"))
    , m_lstDirs(named(new QListWidget(this), "m_lstDirs"))
    , m_credentials(credentials)
{
    setObjectName(QStringLiteral("BackupScheduleDirDlg"));
    setWindowTitle(tr("Select Directory"));
    m_lstDirs->setAccessibleName(tr("Directories"));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Path:"), m_edPath, this), m_edPath);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buddyLabel(tr("&Directories:"), m_lstDirs, this));
    layout->addWidget(m_lstDirs, 1);
    layout->addWidget(okCancel(this));
    connect(m_lstDirs, &QListWidget::itemActivated, this, &BackupScheduleDirDlg::openFolder);
    connect(m_edPath, &QLineEdit::returnPressed, this,
            [this] { browse(m_edPath->text().trimmed()); });
    m_edPath->setText(path);
    m_current = path;
    if (!path.isEmpty())
        browse(path);
}

QString BackupScheduleDirDlg::path() const
{
    return m_edPath->text().trimmed();
}

bool BackupScheduleDirDlg::browse(const QString &path)
{
    QStringList names;
    QString error;
    if (!serverdir::listDir(path, m_credentials, &names, &error)) {
        const QString shown = path.toHtmlEscaped();
        if (serverdir::accessDir(path, 0, m_credentials) == serverdir::AccessMissing)
            bmessagebox::warning(this, tr("Directory '%1' doesn't exist.").arg(shown));
        else
            bmessagebox::warning(this, tr("Cannot browse path '%1'").arg(shown));
        return false;
    }
    m_current = path;
    m_edPath->setText(path);
    m_lstDirs->clear();
    auto *up = new QListWidgetItem(QIcon(QStringLiteral(":/images/updirectory.png")), kUpEntry,
                                   m_lstDirs);
    up->setData(Qt::UserRole, true);
    for (const QString &name : names)
        new QListWidgetItem(QIcon(QStringLiteral(":/images/directory.png")), name, m_lstDirs);
    m_lstDirs->setCurrentRow(0);
    return true;
}

void BackupScheduleDirDlg::openFolder(QListWidgetItem *item)
{
    if (!item)
        return;
    if (item->data(Qt::UserRole).toBool())
        browse(parentOf(m_current));
    else
        browse(childOf(m_current, item->text()));
}

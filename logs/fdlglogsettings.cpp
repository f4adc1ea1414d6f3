#include "logs/fdlglogsettings.h"

#include "db/dbrow.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kMaxNameBytes = 200;
const QString kFile = QStringLiteral("file:///");
const QString kSyslog = QStringLiteral("syslog://");

// A host name (or address) with an optional port, as a URL would take it.
bool validHost(const QString &text)
{
    const QUrl url(QStringLiteral("syslog://") + text);
    return url.isValid() && !url.host().isEmpty() && url.userInfo().isEmpty()
            && url.path().isEmpty();
}

qint64 flagsWith(const QString &old, bool enabled)
{
    const qint64 flags = old.isEmpty() ? 0 : old.toLongLong();
    return enabled ? (flags & ~FLogTable::kDisabledFlag) : (flags | FLogTable::kDisabledFlag);
}

} // namespace

const QStringList &FDlgLogSettings::facilities()
{
    static const QStringList list = [] {
        QStringList names{QObject::tr("0: Kernel messages"),
                          QObject::tr("1: User-level messages"),
                          QObject::tr("2: Mail system"),
                          QObject::tr("3: System daemons"),
                          QObject::tr("4: Security/Authorization messages"),
                          QObject::tr("5: Messages generated internally by syslogd"),
                          QObject::tr("6: Line printer subsystem"),
                          QObject::tr("7: Network news subsystem"),
                          QObject::tr("8: UUCP subsystem"),
                          QObject::tr("9: Clock daemon"),
                          QObject::tr("10: Security/Authorization messages"),
                          QObject::tr("11: FTP daemon"),
                          QObject::tr("12: NTP subsystem"),
                          QObject::tr("13: Log audit"),
                          QObject::tr("14: Log alert"),
                          QObject::tr("15: Clock daemon")};
        for (int i = 0; i < 8; ++i)
            names.append(QObject::tr("%1: Local use %2").arg(16 + i).arg(i));
        return names;
    }();
    return list;
}

const QStringList &FDlgLogSettings::severities()
{
    static const QStringList list{QObject::tr("0: Emergency"),     QObject::tr("1: Alert"),
                                  QObject::tr("2: Critical"),      QObject::tr("3: Error"),
                                  QObject::tr("4: Warning"),       QObject::tr("5: Notice"),
                                  QObject::tr("6: Informational"), QObject::tr("7: Debug")};
    return list;
}

FDlgLogSettings::FDlgLogSettings(FLogTable *table, const FLogStreams &streams,
                                 const QString &logName, bool mayModify, QWidget *parent)
    : QDialog(parent)
    , m_table(table)
    , m_streams(streams)
    , m_logName(logName)
{
    setObjectName(QStringLiteral("FDlgLogSettings"));
    setWindowTitle(tr("Log %1").arg(logName));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);

    // General: the file stream.
    auto *general = new QWidget(m_tabs);
    auto *generalLayout = new QVBoxLayout(general);
    m_chkFile = new QCheckBox(tr("&Enable logging to file"), general);
    m_chkFile->setObjectName(QStringLiteral("m_chkFile"));
    generalLayout->addWidget(m_chkFile);
    auto *fileRow = new QFormLayout;
    m_edFile = new QLineEdit(general);
    m_edFile->setObjectName(QStringLiteral("m_edFile"));
    m_edFile->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[^?\"<>*|:\\\\/]*")), m_edFile));
    auto *lblFile = new QLabel(tr("&File name:"), general);
    lblFile->setBuddy(m_edFile);
    fileRow->addRow(lblFile, m_edFile);
    generalLayout->addLayout(fileRow);
    auto *rotation = new QGroupBox(tr("Rotation"), general);
    auto *rotationLayout = new QVBoxLayout(rotation);
    m_chkRotate = new QCheckBox(tr("&Rotate regularly"), rotation);
    m_chkRotate->setObjectName(QStringLiteral("m_chkRotate"));
    rotationLayout->addWidget(m_chkRotate);
    auto *periods = new QHBoxLayout;
    for (const QString &text :
         {tr("Every &hour"), tr("Every &day"), tr("Every &week"), tr("Every &month")}) {
        auto *button = new QRadioButton(text, rotation);
        button->setObjectName(QStringLiteral("m_rbRotation%1").arg(m_rbRotation.size() + 1));
        m_rbRotation.append(button);
        periods->addWidget(button);
    }
    rotationLayout->addLayout(periods);
    m_chkSize = new QCheckBox(tr("Rotate when file e&xceeds size"), rotation);
    m_chkSize->setObjectName(QStringLiteral("m_chkSize"));
    rotationLayout->addWidget(m_chkSize);
    auto *sizeRow = new QFormLayout;
    m_spnSize = new QSpinBox(rotation);
    m_spnSize->setObjectName(QStringLiteral("m_spnSize"));
    m_spnSize->setRange(1, 2097151);
    m_spnSize->setSuffix(tr(" KB"));
    auto *lblSize = new QLabel(tr("Max. log &file size:"), rotation);
    lblSize->setBuddy(m_spnSize);
    sizeRow->addRow(lblSize, m_spnSize);
    rotationLayout->addLayout(sizeRow);
    auto *keepRow = new QHBoxLayout;
    auto *lblKeep = new QLabel(tr("&Keep at most"), rotation);
    m_spnKeep = new QSpinBox(rotation);
    m_spnKeep->setObjectName(QStringLiteral("m_spnKeep"));
    m_spnKeep->setRange(0, 999);
    lblKeep->setBuddy(m_spnKeep);
    keepRow->addWidget(lblKeep);
    keepRow->addWidget(m_spnKeep);
    keepRow->addWidget(new QLabel(tr("rotated log file(s)."), rotation));
    keepRow->addStretch();
    rotationLayout->addLayout(keepRow);
    generalLayout->addWidget(rotation);
    generalLayout->addStretch();
    m_tabs->addTab(general, tr("General"));

    // External logging: syslog (and the radius group, kept hidden).
    auto *external = new QWidget(m_tabs);
    auto *externalLayout = new QVBoxLayout(external);
    auto *syslog = new QGroupBox(tr("Syslog service"), external);
    auto *syslogLayout = new QFormLayout(syslog);
    m_chkSyslog = new QCheckBox(tr("Enable &Syslog logging"), syslog);
    m_chkSyslog->setObjectName(QStringLiteral("m_chkSyslog"));
    syslogLayout->addRow(m_chkSyslog);
    m_edSyslog = new QLineEdit(syslog);
    m_edSyslog->setObjectName(QStringLiteral("m_edSyslog"));
    m_cboFacility = new QComboBox(syslog);
    m_cboFacility->setObjectName(QStringLiteral("m_cboFacility"));
    m_cboFacility->addItems(facilities());
    m_cboSeverity = new QComboBox(syslog);
    m_cboSeverity->setObjectName(QStringLiteral("m_cboSeverity"));
    m_cboSeverity->addItems(severities());
    for (auto [text, field] : {std::pair<QString, QWidget *>{tr("Syslog se&rver:"), m_edSyslog},
                               {tr("F&acility:"), m_cboFacility},
                               {tr("Se&verity:"), m_cboSeverity}}) {
        auto *label = new QLabel(text, syslog);
        label->setBuddy(field);
        syslogLayout->addRow(label, field);
    }
    externalLayout->addWidget(syslog);
    m_grpRadius = new QGroupBox(tr("Radius"), external);
    auto *radiusLayout = new QFormLayout(m_grpRadius);
    m_chkRadius = new QCheckBox(tr("Enable Radius logging"), m_grpRadius);
    m_edRadius = new QLineEdit(m_grpRadius);
    m_edRadiusUser = new QLineEdit(m_grpRadius);
    m_edRadiusPassword = new QLineEdit(m_grpRadius);
    m_edRadiusPassword->setEchoMode(QLineEdit::Password);
    radiusLayout->addRow(m_chkRadius);
    radiusLayout->addRow(tr("Radius server:"), m_edRadius);
    radiusLayout->addRow(tr("Username:"), m_edRadiusUser);
    radiusLayout->addRow(tr("Password:"), m_edRadiusPassword);
    m_grpRadius->hide(); // filled from the radius row, never written back
    externalLayout->addWidget(m_grpRadius);
    externalLayout->addStretch();
    m_tabs->addTab(external, tr("External Logging"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = buttons->button(QDialogButtonBox::Ok);
    m_btnOk->setEnabled(mayModify);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FDlgLogSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fill();
}

QRadioButton *FDlgLogSettings::rotationButton(int flags) const
{
    return flags >= 1 && flags <= 4 ? m_rbRotation.at(flags - 1) : nullptr;
}

void FDlgLogSettings::fill()
{
    if (DBRow *file = m_streams.file) {
        const QString url = file->text("StreamURL");
        const QString path = url.startsWith(kFile) ? url.mid(kFile.size()) : url;
        static const QRegularExpression lastPart(QStringLiteral("([^/]*)$"));
        const qsizetype split = path.indexOf(lastPart);
        m_directory = path.left(split);
        m_edFile->setText(path.mid(split));
        m_chkFile->setChecked((file->text("StreamFlags").toLongLong() & FLogTable::kDisabledFlag)
                              == 0);
        const int rotate = file->text("RotateFlags").toInt();
        m_chkRotate->setChecked(rotate >= 1 && rotate <= 4);
        (rotate >= 1 && rotate <= 4 ? m_rbRotation.at(rotate - 1) : m_rbRotation.first())
                ->setChecked(true);
        const qint64 size = file->text("MaxSize").toLongLong();
        m_chkSize->setChecked(file->text("MaxSize") != QLatin1String("0"));
        m_spnSize->setValue(int(qMin<qint64>(size / 1024, m_spnSize->maximum())));
        m_spnKeep->setValue(file->text("RotateCount").toInt());
    } else {
        m_rbRotation.first()->setChecked(true);
    }
    m_shownSizeKb = m_spnSize->value();
    m_shownSizeChecked = m_chkSize->isChecked();
    if (DBRow *syslog = m_streams.syslog) {
        const QUrl url(syslog->text("StreamURL"));
        m_edSyslog->setText(url.port() > 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port())
                                           : url.host());
        m_cboFacility->setCurrentIndex(qBound(0, url.userName().toInt(), 23));
        m_cboSeverity->setCurrentIndex(qBound(0, url.password().toInt(), 7));
        m_chkSyslog->setChecked(
                (syslog->text("StreamFlags").toLongLong() & FLogTable::kDisabledFlag) == 0);
    }
    m_shownSyslog = syslogShown();
    if (DBRow *radius = m_streams.radius) {
        const QUrl url(radius->text("StreamURL"));
        m_edRadius->setText(url.host());
        m_edRadiusUser->setText(url.userName());
        m_chkRadius->setChecked(
                (radius->text("StreamFlags").toLongLong() & FLogTable::kDisabledFlag) == 0);
    }
}

QString FDlgLogSettings::syslogShown() const
{
    return QStringLiteral("%1:%2@%3")
            .arg(m_cboFacility->currentIndex())
            .arg(m_cboSeverity->currentIndex())
            .arg(m_edSyslog->text().trimmed());
}

bool FDlgLogSettings::warn(QWidget *field, const QString &text)
{
    QMessageBox::warning(this, UtKontainer::getText(UtKey::Caption), text);
    m_tabs->setCurrentWidget(field->parentWidget()->parentWidget() == m_tabs
                                     ? field->parentWidget()
                                     : m_tabs->widget(field == m_edFile ? 0 : 1));
    field->setFocus();
    return false;
}

bool FDlgLogSettings::check()
{
    const QString file = m_edFile->text();
    if (file.toUtf8().size() >= kMaxNameBytes)
        return warn(m_edFile, tr("Log file name is too long."));
    if (m_chkFile->isChecked()) {
        if (file.isEmpty())
            return warn(m_edFile, tr("You must specify log file name."));
        int position = 0;
        QString text = file;
        if (m_edFile->validator()->validate(text, position) != QValidator::Acceptable)
            return warn(m_edFile, tr("Log file name is not valid."));
    }
    const QString server = m_edSyslog->text().trimmed();
    if (server.toUtf8().size() >= kMaxNameBytes)
        return warn(m_edSyslog, tr("Syslog server name is too long."));
    if (m_chkSyslog->isChecked()) {
        if (server.isEmpty())
            return warn(m_edSyslog, tr("You must specify Syslog server."));
        if (!validHost(server))
            return warn(m_edSyslog, tr("Syslog server name is not valid."));
    }
    const QString radius = m_edRadius->text().trimmed();
    if (radius.toUtf8().size() >= kMaxNameBytes)
        return warn(m_edRadius, tr("Radius server name is too long."));
    if (m_chkRadius->isChecked() && m_streams.radius) {
        if (radius.isEmpty())
            return warn(m_edRadius, tr("You must specify Radius server."));
        if (!validHost(radius))
            return warn(m_edRadius, tr("Radius server name is not valid."));
    }
    return true;
}

void FDlgLogSettings::write()
{
    const bool fileOn = m_chkFile->isChecked();
    DBRow *file = m_streams.file;
    if (!file && fileOn) {
        file = m_table->addRow();
        file->setText("LogName", m_logName);
        file->setText("StreamURL", kFile + m_edFile->text());
        file->setNumber("NextRotate", 0);
    }
    if (file) {
        if (fileOn || !m_edFile->text().isEmpty())
            file->setText("StreamURL", kFile + m_directory + m_edFile->text());
        file->setNumber("StreamFlags", flagsWith(file->text("StreamFlags"), fileOn));
        file->setNumber("RotateCount", m_spnKeep->value());
        int rotate = 0;
        for (int i = 0; i < m_rbRotation.size() && m_chkRotate->isChecked(); ++i) {
            if (m_rbRotation.at(i)->isChecked())
                rotate = i + 1;
        }
        file->setNumber("RotateFlags", rotate);
        // The size as shown is rounded to kilobytes: written only when edited.
        if (m_chkSize->isChecked() != m_shownSizeChecked || m_spnSize->value() != m_shownSizeKb
            || !m_streams.file)
            file->setNumber("MaxSize",
                            m_chkSize->isChecked() ? qint64(m_spnSize->value()) * 1024 : 0);
    }

    const bool syslogOn = m_chkSyslog->isChecked();
    const QString server = m_edSyslog->text().trimmed();
    DBRow *syslog = m_streams.syslog;
    if (!syslog && syslogOn) {
        syslog = m_table->addRow();
        syslog->setText("LogName", m_logName);
        syslog->setNumber("NextRotate", 0);
    }
    if (syslog) {
        // A URL the server wrote in another form stays as it is until edited.
        const bool edited = syslogShown() != m_shownSyslog || !m_streams.syslog;
        if ((syslogOn || !server.isEmpty()) && edited)
            syslog->setText("StreamURL", kSyslog + syslogShown());
        syslog->setNumber("StreamFlags", flagsWith(syslog->text("StreamFlags"), syslogOn));
        syslog->setNumber("RotateCount", 0);
        syslog->setNumber("RotateFlags", 0);
        syslog->setNumber("MaxSize", 0);
    }
}

void FDlgLogSettings::accept()
{
    if (!m_btnOk->isEnabled() || !check())
        return;
    write();
    QDialog::accept();
}

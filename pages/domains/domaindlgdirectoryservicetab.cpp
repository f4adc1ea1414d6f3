#include "pages/domains/domaindlgdirectoryservicetab.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/dbrow.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/bobject.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"
#include "pages/domains/directorynames.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using bview::named;

DomainDlgDirectoryServiceTab::DomainDlgDirectoryServiceTab(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DomainDlgDirectoryServiceTab"));
    m_chkEnabled = named(new QCheckBox(tr("&Use a directory service for the accounts of this "
                                          "domain"),
                                       this),
                         "m_chkEnabled");
    auto *box = new QGroupBox(tr("Directory server"), this);
    m_edServer = named(new BLineEdit(box), "m_edServer");
    m_edPort = named(new BPortEdit(box), "m_edPort");
    m_chkSecure = named(new QCheckBox(tr("Se&cure connection (SSL)"), box), "m_chkSecure");
    m_edBindDn = named(new BLineEdit(box), "m_edBindDn");
    m_edPassword = named(new BPwdLineEdit(box), "m_edPassword");
    m_edUserBase = named(new BLineEdit(box), "m_edUserBase");
    m_edGroupBase = named(new BLineEdit(box), "m_edGroupBase");
    m_edMapFile = named(new BLineEdit(box), "m_edMapFile");
    m_btnTest = named(new QPushButton(tr("&Test Connection"), box), "m_btnTest");

    auto *form = new QFormLayout(box);
    auto addRow = [form, box](const QString &text, QWidget *field) {
        auto *label = new QLabel(text, box);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(tr("&Server:"), m_edServer);
    addRow(tr("&Port:"), m_edPort);
    form->addRow(QString(), m_chkSecure);
    addRow(tr("&Bind DN:"), m_edBindDn);
    addRow(tr("Bind pass&word:"), m_edPassword);
    addRow(tr("Us&er base DN:"), m_edUserBase);
    addRow(tr("&Group base DN:"), m_edGroupBase);
    addRow(tr("&Map file:"), m_edMapFile);
    form->addRow(QString(), m_btnTest);
    auto *note = new QLabel(tr("A bind name that is not a distinguished name is completed "
                               "as uid=name,cn=users and the domain's base DN."),
                            box);
    note->setWordWrap(true);
    form->addRow(note);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chkEnabled);
    layout->addWidget(box);
    layout->addStretch();

    connect(m_chkEnabled, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            fillDefaults();
        followEnabled();
        emit signalChanged();
    });
    for (QLineEdit *edit :
         {static_cast<QLineEdit *>(m_edServer), static_cast<QLineEdit *>(m_edPort),
          static_cast<QLineEdit *>(m_edBindDn), static_cast<QLineEdit *>(m_edPassword),
          static_cast<QLineEdit *>(m_edUserBase), static_cast<QLineEdit *>(m_edGroupBase),
          static_cast<QLineEdit *>(m_edMapFile)})
        connect(edit, &QLineEdit::textEdited, this, &DomainDlgDirectoryServiceTab::signalChanged);
    connect(m_chkSecure, &QCheckBox::toggled, this, &DomainDlgDirectoryServiceTab::signalChanged);
    connect(m_btnTest, &QPushButton::clicked, this, [this] {
        const QString report = testConnection();
        if (!report.isEmpty())
            QMessageBox::information(this, bmessagebox::caption(), report);
    });
    followEnabled();
}

void DomainDlgDirectoryServiceTab::followEnabled()
{
    const bool on = m_chkEnabled->isChecked();
    for (QWidget *widget : std::initializer_list<QWidget *>{m_edServer, m_edPort, m_chkSecure,
                                                            m_edBindDn, m_edPassword, m_edUserBase,
                                                            m_edGroupBase, m_edMapFile, m_btnTest})
        widget->setEnabled(on);
}

void DomainDlgDirectoryServiceTab::fillDefaults()
{
    if (m_edPort->text().isEmpty())
        m_edPort->setText(QStringLiteral("389"));
    if (m_edUserBase->text().isEmpty())
        m_edUserBase->setText(directorynames::defaultUserBase(m_domain));
    if (m_edGroupBase->text().isEmpty())
        m_edGroupBase->setText(directorynames::defaultGroupBase(m_domain));
}

void DomainDlgDirectoryServiceTab::fill(const DBRow *row, const QString &domain)
{
    m_domain = domain;
    const QSignalBlocker block(m_chkEnabled);
    m_chkEnabled->setChecked(row != nullptr);
    m_edServer->setText(row ? row->text("ServerName") : QString());
    m_edPort->setText(row ? row->text("ServerPort") : QString());
    m_chkSecure->setChecked(row && row->text("SecureConnection").toInt() != 0);
    m_edBindDn->setText(row ? row->text("BindDN") : QString());
    m_storedPassword = row ? row->text("BindPassword") : QString();
    m_edPassword->setPasswordStored(!m_storedPassword.isEmpty());
    m_edUserBase->setText(row ? row->text("UserBaseDN") : QString());
    m_edGroupBase->setText(row ? row->text("GroupBaseDN") : QString());
    m_edMapFile->setText(row ? row->text("MapFile") : QString());
    if (row)
        fillDefaults();
    followEnabled();
}

bool DomainDlgDirectoryServiceTab::isEnabled() const
{
    return m_chkEnabled->isChecked();
}

bool DomainDlgDirectoryServiceTab::validate()
{
    if (!isEnabled())
        return true;
    if (m_edServer->text().trimmed().isEmpty()) {
        bmessagebox::warning(this, tr("Specify the directory server, please."));
        m_edServer->setFocus();
        return false;
    }
    if (!m_edPort->hasAcceptableInput() || m_edPort->text().toInt() == 0) {
        bmessagebox::warning(this, tr("Specify a valid port, please."));
        m_edPort->setFocus();
        m_edPort->selectAll();
        return false;
    }
    for (QLineEdit *base : {m_edUserBase, m_edGroupBase}) {
        if (!directorynames::isDn(base->text())) {
            bmessagebox::warning(this,
                                 tr("Specify a valid base DN (for example %1), please.")
                                         .arg(directorynames::baseDn(m_domain)));
            base->setFocus();
            return false;
        }
    }
    return true;
}

QString DomainDlgDirectoryServiceTab::bindDn() const
{
    return directorynames::bindDn(m_edBindDn->text(), m_domain);
}

QString DomainDlgDirectoryServiceTab::passwordValue() const
{
    return m_edPassword->isPasswordChanged() ? QStringLiteral("NUL:") + m_edPassword->value()
                                             : m_storedPassword;
}

void DomainDlgDirectoryServiceTab::store(DBRow &row) const
{
    row.setText("ServerName", m_edServer->text().trimmed());
    row.setText("ServerPort", m_edPort->text());
    row.setText("SecureConnection",
                m_chkSecure->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    row.setText("BindDN", bindDn());
    if (m_edPassword->isPasswordChanged())
        row.setText("BindPassword", passwordValue());
    row.setText("UserBaseDN", m_edUserBase->text().trimmed());
    row.setText("GroupBaseDN", m_edGroupBase->text().trimmed());
    row.setText("MapFile", m_edMapFile->text().trimmed());
}

QString DomainDlgDirectoryServiceTab::testConnection()
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return {};
    DBReq req(
            QStringLiteral("select ")
            + dbFunctionCall(QStringLiteral("LdapTestPvnExtensions"),
                             {m_edServer->text().trimmed(), m_edPort->text(),
                              m_chkSecure->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
                              bindDn(), passwordValue(), m_edUserBase->text().trimmed(),
                              m_edGroupBase->text().trimmed(), m_edMapFile->text().trimmed()}));
    if (!conn->execSync(&req))
        return req.errorText();
    int resultColumn = -1;
    int messageColumn = -1;
    for (int column = 0; column < req.columnCount(); ++column) {
        QString name;
        int type = 0;
        bool attribute = false;
        int extra = 0;
        req.columnInfo(column, &name, &type, &attribute, &extra);
        if (name.compare(QLatin1String("Result"), Qt::CaseInsensitive) == 0)
            resultColumn = column;
        else if (name.compare(QLatin1String("Message"), Qt::CaseInsensitive) == 0)
            messageColumn = column;
    }
    bool success = req.rowCount() > 0;
    QStringList sections;
    for (int row = 0; row < req.rowCount(); ++row) {
        const qint64 result
                = resultColumn < 0 ? 0 : req.readInt(row, resultColumn).toString().toLongLong();
        success = success && result == 0;
        const QString heading
                = row == 0 ? tr("Directory server:") : tr("Secondary directory server:");
        const QString message
                = messageColumn < 0 ? QString() : req.readStr(row, messageColumn).toString();
        sections << heading + QLatin1Char('\n') + message;
    }
    QString report = sections.join(QStringLiteral("\n\n"));
    if (success)
        report.prepend(tr("Directory server connection has been successfully tested.")
                       + QStringLiteral("\n\n"));
    return report;
}

#include "pages/etrn/etrnserversdlg.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/bpwdlineedit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

using bview::named;

TEtrnServersDlg::TEtrnServersDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Send ETRN to specified server"));
    m_edServer = named(new BLineEdit(this), "m_edServer");
    m_edDomain = named(new BLineEdit(this), "m_edDomain");
    m_edDescription = named(new BLineEdit(this), "m_edDescription");
    m_gbAuth = named(new QGroupBox(tr("&Authentication is required"), this), "m_gbAuth");
    m_gbAuth->setCheckable(true);
    m_edUser = named(new BLineEdit(m_gbAuth), "m_edUser");
    m_edPassword = named(new BPwdLineEdit(m_gbAuth), "m_edPassword");

    auto *form = new QFormLayout;
    auto addRow = [form](const QString &text, QWidget *field) {
        auto *label = new QLabel(text, field->parentWidget());
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(tr("&Server:"), m_edServer);
    addRow(tr("&Domain(s):"), m_edDomain);
    auto *note = new QLabel(tr("You can enter multiple domains separated by semicolon (;)."), this);
    note->setWordWrap(true);
    form->addRow(QString(), note);
    addRow(tr("Descr&iption:"), m_edDescription);

    auto *auth = new QFormLayout(m_gbAuth);
    auto *user = new QLabel(tr("&User:"), m_gbAuth);
    user->setBuddy(m_edUser);
    auto *password = new QLabel(tr("&Password:"), m_gbAuth);
    password->setBuddy(m_edPassword);
    auth->addRow(user, m_edUser);
    auth->addRow(password, m_edPassword);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_gbAuth);
    layout->addWidget(buttons);
}

EtrnServersDlg::EtrnServersDlg(DBRow *row, QWidget *parent)
    : BDialog<TEtrnServersDlg>(parent)
{
    setObjectName(QStringLiteral("EtrnServersDlg"));
    setRow(row);
}

bool EtrnServersDlg::fillView()
{
    if (!m_row)
        return false;
    m_edDescription->setText(m_row->text("Description"));
    m_edServer->setText(m_row->text("Server"));
    m_edDomain->setText(m_row->text("Domain"));
    m_loadedUser = m_row->text("User");
    m_edUser->setText(m_loadedUser);
    m_gbAuth->setChecked(m_row->text("Auth").toInt() != 0);
    m_edPassword->setPasswordStored(!m_row->text("Password").isEmpty());
    return true;
}

bool EtrnServersDlg::validate()
{
    // Server and domains name the row: without them there is nothing to ask.
    const bool noServer = m_edServer->text().trimmed().isEmpty();
    if (noServer || m_edDomain->text().trimmed().isEmpty()) {
        bmessagebox::warning(this, tr("You should enter server and domain name."));
        (noServer ? m_edServer : m_edDomain)->setFocus();
        return false;
    }
    if (m_gbAuth->isChecked() && m_edUser->text().trimmed().isEmpty()
        && bcorrection::askToCorrect(this, tr("You should enter a user name."))) {
        m_edUser->setFocus();
        return false;
    }
    return true;
}

void EtrnServersDlg::storeView()
{
    m_row->setText("Description", m_edDescription->text());
    m_row->setText("Server", m_edServer->text().trimmed());
    m_row->setText("Domain", m_edDomain->text().trimmed());
    if (m_edUser->text() != m_loadedUser)
        m_row->setText("User", m_edUser->text().trimmed());
    m_row->setText("Auth", m_gbAuth->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (m_edPassword->isPasswordChanged())
        m_row->setText("Password", QStringLiteral("NUL:") + m_edPassword->value());
}

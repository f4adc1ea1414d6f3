#include "app/fdlgnewconnection.h"

#include "app/fhostport.h"
#include "lumadb/lumadb.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FDlgNewConnection::FDlgNewConnection(QWidget *parent)
    : QDialog(parent)
    , m_server(new QLineEdit(this))
    , m_user(new QLineEdit(QStringLiteral("admin"), this))
    , m_password(new QLineEdit(this))
    , m_error(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("FDlgNewConnection"));
    setWindowTitle(tr("New Connection"));
    m_server->setPlaceholderText(tr("host or host:port"));
    m_server->setAccessibleName(tr("Server"));
    m_user->setAccessibleName(tr("User"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(tr("Password"));
    m_error->setTextFormat(Qt::PlainText);
    m_error->setWordWrap(true);
    m_error->hide();

    auto *form = new QFormLayout;
    form->addRow(tr("&Server:"), m_server);
    form->addRow(tr("&User:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
            new QLabel(tr("The new connection opens in a console window of its own."), this));
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &FDlgNewConnection::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_server, &QLineEdit::textChanged, this, &FDlgNewConnection::updateOk);
    connect(m_user, &QLineEdit::textChanged, this, &FDlgNewConnection::updateOk);
    updateOk();
}

void FDlgNewConnection::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(!m_server->text().trimmed().isEmpty()
                         && !m_user->text().trimmed().isEmpty());
}

void FDlgNewConnection::accept()
{
    const FHostPort server = FHostPort::parse(m_server->text(), LUMADB_DEFAULT_PORT);
    if (!server.ok()) {
        m_error->setText(server.error);
        m_error->show();
        m_server->setFocus();
        m_server->selectAll();
        return;
    }
    m_record = ConnectionRecord{server.host, server.port, m_user->text().trimmed(),
                                m_password->text()};
    m_password->clear();
    QDialog::accept();
}

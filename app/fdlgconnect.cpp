#include "app/fdlgconnect.h"

#include "app/fconsole.h"
#include "app/fhostport.h"
#include "app/fimages.h"
#include "app/fmainwindowex.h"
#include "app/fmessagebox.h"
#include "app/ftrace.h"
#include "app/fwidgetstatus.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "lumadb/lumadb.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

DBConn *connection()
{
    return UtKontainer::objectAs<DBConn>(UtKey::DBConn);
}

bool hasPendingOperations()
{
    DBConn *conn = connection();
    return conn && conn->transCtrl() && conn->transCtrl()->operationCount() > 0;
}

bool askToTrust(QWidget *parent, const QString &fingerprint)
{
    return QMessageBox::question(
                   parent, UtKontainer::getText(UtKey::Caption),
                   FDlgConnect::tr("<nobr>Do you trust the new certificate of the server?<br>"
                                   "Fingerprint: %1<br><br>Answer Yes only if you have checked "
                                   "this fingerprint with the server's administrator.</nobr>")
                           .arg(fingerprint.toHtmlEscaped()),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
}

} // namespace

bool (*FDlgConnect::confirmNewCertificate)(QWidget *, const QString &) = askToTrust;

bool FDlgConnect::loginRefused(const DBConn *conn)
{
    if (!conn || conn->isConnected())
        return false;
    const uint code = conn->lastFailureCode();
    return code == LUMADB_ERR_AUTHENTICATION || code == LUMADB_ERR_ACCESS_DENIED;
}

FDlgConnect::FDlgConnect(QWidget *parent, FWidgetStatus *statusWidget, bool showError)
    : QDialog(parent)
    , m_statusWidget(statusWidget)
    , m_userKnown(!UtKontainer::getText(UtKey::User).isEmpty())
    , m_asksForLogin(!m_userKnown || loginRefused(connection()))
    , m_errorIcon(new QLabel(this))
    , m_errorText(new QLabel(tr("Connection to server was lost!"), this))
    , m_parameters(new QGroupBox(tr("Connection parameters"), this))
    , m_certificate(new QGroupBox(tr("Server certificate has changed"), this))
    , m_host(new QLineEdit(m_parameters))
    , m_user(new QLineEdit(m_parameters))
    , m_password(new QLineEdit(m_parameters))
    , m_ok(new QPushButton(tr("OK"), this))
    , m_reconnect(new QPushButton(tr("Reconnect"), this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("FDlgConnect"));
    setWindowTitle(UtKontainer::getText(UtKey::Caption));
    setModal(true);
    m_host->setObjectName(QStringLiteral("m_edHost"));
    m_user->setObjectName(QStringLiteral("m_edUser"));
    m_password->setObjectName(QStringLiteral("m_edPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_ok->setObjectName(QStringLiteral("m_btnOk"));
    m_reconnect->setObjectName(QStringLiteral("m_btnReconnect"));
    m_cancel->setObjectName(QStringLiteral("m_btnCancel"));
    m_errorText->setObjectName(QStringLiteral("m_lblError"));
    m_errorText->setWordWrap(true);
    m_errorText->setTextFormat(Qt::PlainText);
    m_parameters->setObjectName(QStringLiteral("m_grpParameters"));
    m_certificate->setObjectName(QStringLiteral("m_grpCertificate"));

    auto *banner = new QHBoxLayout;
    banner->setSpacing(0);
    for (const char *name :
         {"f_dlgconnecttop1.png", "f_dlgconnecttop2.png", "f_dlgconnecttop3.png"}) {
        auto *part = new QLabel(this);
        part->setPixmap(FImages::pixmap(QString::fromLatin1(name)));
        banner->addWidget(part);
    }
    banner->addStretch(1);
    m_errorIcon->setPixmap(FImages::pixmap(QStringLiteral("f_dlgconnecterror.png")));
    auto *errorRow = new QHBoxLayout;
    errorRow->addWidget(m_errorIcon);
    errorRow->addWidget(m_errorText, 1);

    auto *fields = new QFormLayout(m_parameters);
    fields->addRow(tr("Host:"), m_host);
    fields->addRow(tr("Username:"), m_user);
    fields->addRow(tr("Password:"), m_password);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_reconnect);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(banner);
    layout->addLayout(errorRow);
    layout->addWidget(m_certificate);
    layout->addWidget(m_parameters);
    layout->addLayout(buttons);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &FDlgConnect::slotOk);
    connect(m_reconnect, &QPushButton::clicked, this, &FDlgConnect::slotReconnect);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Building follows the situation: host known, user known, edits pending.
    m_reconnect->hide();
    m_host->setPlaceholderText(tr("host or host:port"));
    const QString host = UtKontainer::getText(UtKey::Host);
    if (!host.isEmpty()) {
        m_host->setText(FHostPort::format(
                host, UtKontainer::getInt(UtKey::Port, LUMADB_DEFAULT_PORT), LUMADB_DEFAULT_PORT));
        m_host->setEnabled(false);
    }
    if (m_userKnown) {
        setWindowTitle(tr("Connection failed"));
        // A refused login keeps the fields: the administrator types a new password.
        if (!m_asksForLogin)
            m_parameters->hide();
        m_ok->setText(tr("Reconnect"));
        if (hasPendingOperations()) {
            m_ok->setText(tr("Apply && Reconnect"));
            m_reconnect->show();
        }
    }
    DBConn *conn = connection();
    if (showError && conn) {
        m_errorText->setText(conn->lastErrorText());
    } else {
        m_errorIcon->hide();
        m_errorText->hide();
    }
    if (conn && conn->needsTrustDecision()) {
        // The same question for a first connection (as SSH asks it) and for a
        // changed certificate: the fingerprint, and no login until it is trusted.
        auto *certificate = new QFormLayout(m_certificate);
        const auto addFingerprint = [this, certificate](const QString &name, const QString &label,
                                                        const QString &fingerprint) {
            auto *value = new QLabel(fingerprint, m_certificate);
            value->setObjectName(name);
            value->setTextFormat(Qt::PlainText);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setWordWrap(true);
            certificate->addRow(label, value);
        };
        if (conn->identityChanged()) {
            addFingerprint(QStringLiteral("m_lblRecordedFingerprint"), tr("Recorded fingerprint:"),
                           conn->recordedFingerprint());
        } else {
            m_certificate->setTitle(tr("Server not known yet"));
        }
        addFingerprint(QStringLiteral("m_lblPresentedFingerprint"), tr("Presented fingerprint:"),
                       conn->presentedFingerprint());
        m_ok->setText(conn->identityChanged() ? tr("Trust && Reconnect") : tr("Trust && Connect"));
    } else {
        m_certificate->hide();
    }
}

void FDlgConnect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_userKnown) {
        if (m_user->text().isEmpty())
            m_user->setText(UtKontainer::getText(UtKey::User));
        m_password->setFocus();
    } else if (m_host->isEnabled()) {
        m_host->setFocus();
    } else {
        m_user->setFocus();
    }
}

void FDlgConnect::slotOk()
{
    DBConn *conn = connection();
    if (conn && conn->needsTrustDecision()) {
        if (!confirmNewCertificate(this, conn->presentedFingerprint()))
            return;
        conn->trustPresentedCertificate();
    }
    if (m_reconnect->isVisible() && conn && conn->transCtrl()) {
        // The edits survive the reconnection as the undo list, sent after the login.
        DBCtrl *ctrl = conn->transCtrl();
        ctrl->clearUndo();
        ctrl->moveOperationsToUndo();
        ctrl->logUndo();
    }
    acceptAndReconnect();
}

void FDlgConnect::slotReconnect()
{
    DBConn *conn = connection();
    if (conn && conn->needsTrustDecision()) {
        if (!confirmNewCertificate(this, conn->presentedFingerprint()))
            return;
        conn->trustPresentedCertificate();
    }
    acceptAndReconnect();
}

void FDlgConnect::acceptAndReconnect()
{
    // An incomplete login keeps the dialog open and the edits as they are.
    if (m_asksForLogin && !storeLogin())
        return;
    if (hasPendingOperations()) {
        if (auto *area = UtKontainer::objectAs<FWindow>(UtKey::FWindow))
            area->resetPage();
    }
    accept();
    auto *window = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd);
    if (window && window->console())
        window->console()->reconnect();
}

bool FDlgConnect::storeLogin()
{
    const auto refuse = [this](const QString &message, QLineEdit *field) {
        FMessageBox::warning(this, UtKontainer::getText(UtKey::Caption), message);
        field->setFocus();
        return false;
    };
    FHostPort server;
    if (m_host->isEnabled()) {
        server = FHostPort::parse(m_host->text(), LUMADB_DEFAULT_PORT);
        if (!server.ok())
            return refuse(server.error, m_host);
    }
    const QString user = m_user->text().trimmed();
    if (user.isEmpty())
        return refuse(tr("Please enter the user name."), m_user);
    if (m_host->isEnabled()) {
        UtKontainer::setText(UtKey::Host, server.host);
        UtKontainer::setInt(UtKey::Port, server.port);
    }
    UtKontainer::setText(UtKey::User, user);
    UtKontainer::setText(UtKey::Password, m_password->text());
    if (m_statusWidget)
        m_statusWidget->setUser(user, false);
    return true;
}

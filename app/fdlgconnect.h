#pragma once

#include <QDialog>

class DBConn;
class FWidgetStatus;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The connection dialog: asks for the server ("host" or "host:port") and the
// login when they are not known or the server refused the login, or offers to
// reconnect after a lost session, with "Apply && Reconnect" when unsaved edits
// exist. When the server presented a different certificate
// than the one recorded, it shows both fingerprints and trusts the new one only
// after the administrator confirms it.
class FDlgConnect : public QDialog
{
    Q_OBJECT

public:
    FDlgConnect(QWidget *parent, FWidgetStatus *statusWidget, bool showError);

    // Whether the dialog asks for the login (and the host when it is not known):
    // the user is not known, or the server refused the stored login.
    bool asksForLogin() const { return m_asksForLogin; }
    // The server refused the last login: only a new password can help.
    static bool loginRefused(const DBConn *conn);
    QPushButton *okButton() const { return m_ok; }
    QPushButton *reconnectButton() const { return m_reconnect; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLineEdit *hostEdit() const { return m_host; }
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLabel *errorLabel() const { return m_errorText; }
    QGroupBox *parametersGroup() const { return m_parameters; }
    QGroupBox *certificateGroup() const { return m_certificate; }

    // Asks the administrator to confirm the new certificate; overridable for tests.
    static bool (*confirmNewCertificate)(QWidget *parent, const QString &fingerprint);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotOk();
    void slotReconnect();

private:
    void acceptAndReconnect();
    // Stores what the administrator typed; false (with a message) when it is incomplete.
    bool storeLogin();

    FWidgetStatus *m_statusWidget;
    bool m_userKnown;
    bool m_asksForLogin;
    QLabel *m_errorIcon;
    QLabel *m_errorText;
    QGroupBox *m_parameters;
    QGroupBox *m_certificate;
    QLineEdit *m_host;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_reconnect;
    QPushButton *m_cancel;
};

#pragma once

#include <QDialog>

class FWidgetStatus;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The connection dialog: asks for the server and the login when they are not
// known, or offers to reconnect after a lost session, with "Apply && Reconnect"
// when unsaved edits exist. When the server presented a different certificate
// than the one recorded, it shows both fingerprints and trusts the new one only
// after the administrator confirms it.
class FDlgConnect : public QDialog
{
    Q_OBJECT

public:
    FDlgConnect(QWidget *parent, FWidgetStatus *statusWidget, bool showError);

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

    FWidgetStatus *m_statusWidget;
    bool m_userKnown;
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

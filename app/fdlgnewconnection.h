#pragma once

#include "handover/connectionrecord.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// File > New Connection: asks for the server, user and password of another
// console. The launcher starts that console; this one stays as it is.
class FDlgNewConnection : public QDialog
{
    Q_OBJECT

public:
    explicit FDlgNewConnection(QWidget *parent = nullptr);

    // The record of the accepted dialog.
    ConnectionRecord record() const { return m_record; }

    QLineEdit *serverEdit() const { return m_server; }
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QDialogButtonBox *buttons() const { return m_buttons; }
    QLabel *errorLabel() const { return m_error; }

    void accept() override;

private:
    void updateOk();

    QLineEdit *m_server;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLabel *m_error;
    QDialogButtonBox *m_buttons;
    ConnectionRecord m_record;
};

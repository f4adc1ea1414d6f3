#pragma once

#include <QDialog>

class QRadioButton;

// Asks whether Add creates a local user or group or activates one of the
// domain's directory service. Groups: caption "Add Group", "Create local
// group" and "&Activate group in directory service"; users: "Add User",
// "Create local user" and "&Activate user in directory service".
class UserLdapDlg : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Users, Groups };

    explicit UserLdapDlg(Mode mode, QWidget *parent = nullptr);

    // True when the directory choice was taken (read after OK).
    bool activate() const;
    QRadioButton *localButton() const { return m_rbLocal; }
    QRadioButton *directoryButton() const { return m_rbDirectory; }

private:
    QRadioButton *m_rbLocal;
    QRadioButton *m_rbDirectory;
};

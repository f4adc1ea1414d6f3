#pragma once

#include "pages/users/userwnd.h"

#include <QDialog>

class QComboBox;
class QRadioButton;

// Asks what becomes of the mail store of removed users once the removal is
// applied: kept, deleted ("DeleteUserFld("), or moved to another user of the
// domain ("MoveUserToFld(").
class UserFolderDlg : public QDialog
{
    Q_OBJECT
public:
    // accounts: the removed users (name@domain); targets: the users that stay.
    UserFolderDlg(const QStringList &accounts, const QStringList &targets,
                  QWidget *parent = nullptr);

    QList<UserFolderAction> actions() const;
    QRadioButton *keepButton() const { return m_rbKeep; }
    QRadioButton *deleteButton() const { return m_rbDelete; }
    QRadioButton *moveButton() const { return m_rbMove; }
    QComboBox *targetCombo() const { return m_cboTarget; }

private:
    QStringList m_accounts;
    QRadioButton *m_rbKeep;
    QRadioButton *m_rbDelete;
    QRadioButton *m_rbMove;
    QComboBox *m_cboTarget;
};

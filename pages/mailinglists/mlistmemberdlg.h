#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;

// The layout of the roster entry dialog.
class TMListMemberDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TMListMemberDlg(QWidget *parent = nullptr);

    BLineEdit *m_edEmail;
    BLineEdit *m_edFullName;
};

// Edits one roster row: the address and the full name. An address already
// in the roster is refused.
class MListMemberDlg : public BDialog<TMListMemberDlg>
{
public:
    MListMemberDlg(DBRow *row, bool moderator, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
};

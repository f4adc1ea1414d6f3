#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;
class BPwdLineEdit;
class QGroupBox;

// The layout of the ETRN server dialog.
class TEtrnServersDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TEtrnServersDlg(QWidget *parent = nullptr);

    BLineEdit *m_edServer;
    BLineEdit *m_edDomain;
    BLineEdit *m_edDescription;
    QGroupBox *m_gbAuth;
    BLineEdit *m_edUser;
    BPwdLineEdit *m_edPassword;
};

// Edits one row of the "Odmr" table: the server asked with ETRN, the domains
// asked for, and the optional login.
class EtrnServersDlg : public BDialog<TEtrnServersDlg>
{
public:
    explicit EtrnServersDlg(DBRow *row, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;

private:
    QString m_loadedUser;
};

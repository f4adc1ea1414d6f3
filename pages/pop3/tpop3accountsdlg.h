#pragma once

#include <QDialog>

class BLineEdit;
class BPortEdit;
class BPwdLineEdit;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The layout of the POP3 account dialog: a "General" and an "Advanced" tab.
// The slots are the dialog's; the layout only connects them.
class TPop3AccountsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPop3AccountsDlg(QWidget *parent = nullptr);

    QTabWidget *m_tab;
    QWidget *m_tabGeneral;
    QWidget *m_tabAdvanced;
    BLineEdit *m_edServer;
    BLineEdit *m_edUser;
    BLineEdit *m_edDescription;
    BPwdLineEdit *m_edPassword;
    QGroupBox *m_gbDelivery;
    QRadioButton *m_rbAddress;
    BLineEdit *m_edAddress;
    QPushButton *m_btnSelect;
    QRadioButton *m_rbSort;
    QLabel *m_lblHeader;
    QComboBox *m_cboSort;
    QCheckBox *m_chkDropDuplicate;
    QComboBox *m_cboAuth;
    QCheckBox *m_chkSsl;
    QComboBox *m_cboMode;
    BPortEdit *m_edPort;
    QPushButton *m_btnDefault;
    BLineEdit *m_edMaxMsg;
    BLineEdit *m_edMaxSize;
    QComboBox *m_cboKB;
    QDialogButtonBox *m_buttons;

public slots:
    virtual void slotDefaultPort() { }
    virtual void slotSelect() { }
    virtual void slotEnableChanged() { }
    virtual void slotPortChanged() { }
    virtual void slotUnitsChanged() { }
    virtual void slotPortTextChanged() { }
};

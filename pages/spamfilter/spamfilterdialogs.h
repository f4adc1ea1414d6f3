#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

// The layout of the Internet blacklist dialog.
class TSpamFilterBlacklistDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSpamFilterBlacklistDlg(QWidget *parent = nullptr);
    BLineEdit *m_edDomain;
    BLineEdit *m_edDescription;
    QRadioButton *m_rbBlock;
    QRadioButton *m_rbScore;
    BLineEdit *m_edScore;
    QCheckBox *m_chkAskDirectly;
};

// Edits one row of "DnsBlacklists".
class SpamFilterBlacklistDlg : public BDialog<TSpamFilterBlacklistDlg>
{
public:
    explicit SpamFilterBlacklistDlg(DBRow *row, QWidget *parent = nullptr);
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
};

// The layout of the custom rule dialog.
class TSpamFilterCustomRulesDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSpamFilterCustomRulesDlg(QWidget *parent = nullptr);
    QComboBox *m_cboHeader;
    QComboBox *m_cboType;
    BLineEdit *m_edContent;
    BLineEdit *m_edDescription;
    QButtonGroup *m_actions;
    QRadioButton *m_rbSpam;
    QRadioButton *m_rbNonSpam;
    QRadioButton *m_rbScore;
    BLineEdit *m_edScore;

public slots:
    virtual void slotTypeChanged(int type) { Q_UNUSED(type); }
};

// Edits one row of "HeaderFilter".
class SpamFilterCustomRulesDlg : public BDialog<TSpamFilterCustomRulesDlg>
{
public:
    explicit SpamFilterCustomRulesDlg(DBRow *row, QWidget *parent = nullptr);
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
    // Content only for the types that test one; hexadecimal digits for type 5.
    void slotTypeChanged(int type) override;
};

// Asks how long a rule must have been unused to be removed; starts with and
// keeps the last choice ("/Other/srrd/count", "/Other/srrd/time").
class SpamFilterCustomRulesRemoveDlg : public QDialog
{
    Q_OBJECT
public:
    explicit SpamFilterCustomRulesRemoveDlg(QWidget *parent = nullptr);
    int count() const;
    // 0 hours, 1 days.
    int unit() const;
    void accept() override;

    QSpinBox *m_spinCount;
    QComboBox *m_cboUnit;
};

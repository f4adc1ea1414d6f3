#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"

class AclChoice;
class BSpinBox;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

// The layout of the relay tab.
class TSmtpServerRelayWnd : public BForm
{
    Q_OBJECT
public:
    explicit TSmtpServerRelayWnd(QWidget *parent = nullptr);

    QRadioButton *m_rbOpenRelay;
    QRadioButton *m_rbRestricted;
    QCheckBox *m_chkAcl;
    QComboBox *m_cboAcl;
    QPushButton *m_btnEditAcl;
    QCheckBox *m_chkAuth;
    QCheckBox *m_chkPop3;
    BSpinBox *m_spPop3Timeout;
};

// Who may use the server as a relay (first row of "SmtpRelay").
class SmtpServerRelayWnd : public TSmtpServerRelayWnd
{
public:
    explicit SmtpServerRelayWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    void applyReadOnly() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("SmtpServerRelayWnd"); }

    AclChoice *aclChoice() const { return m_acl; }

private:
    void updateEnabled();
    void editGroup();

    DBTable m_relay;
    DBTable m_groups;
    DBTransTab m_trans;
    AclChoice *m_acl;
};

#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"

class AclChoice;
class BSpinBox;
class LimitBox;
class QCheckBox;
class QComboBox;
class QPushButton;

// The layout of the security tab.
class TSmtpServerSecurityWnd : public BForm
{
    Q_OBJECT
public:
    explicit TSmtpServerSecurityWnd(QWidget *parent = nullptr);

    QCheckBox *m_chkMaxMessagesIP;
    BSpinBox *m_spMaxMessagesIP;
    QCheckBox *m_chkMaxConnectionsIP;
    BSpinBox *m_spMaxConnectionsIP;
    QCheckBox *m_chkMaxFailedRCPTIP;
    BSpinBox *m_spMaxFailedRCPTIP;
    QCheckBox *m_chkNoLimitAcl;
    QComboBox *m_cboNoLimitAcl;
    QPushButton *m_btnEditNoLimitAcl;
    QCheckBox *m_chkVerifySenderDomain;
    QCheckBox *m_chkMaxRecipients;
    BSpinBox *m_spMaxRecipients;
    QCheckBox *m_chkMaxBadCommands;
    BSpinBox *m_spMaxBadCommands;
    QCheckBox *m_chkMaxMessageSize;
    BSpinBox *m_spMaxMessageSize;
    QCheckBox *m_chkMaxHops;
    BSpinBox *m_spMaxHops;
};

// Limits against abuse: per-IP limits (first row of "SmtpSecurity") and SMTP
// session options (first row of "Smtp").
class SmtpServerSecurityWnd : public TSmtpServerSecurityWnd
{
public:
    explicit SmtpServerSecurityWnd(QWidget *parent = nullptr);
    ~SmtpServerSecurityWnd() override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    void applyReadOnly() override;
    unsigned tableCount() const override { return 2; }
    QString name() const override { return QStringLiteral("SmtpServerSecurityWnd"); }

    AclChoice *aclChoice() const { return m_acl; }

private:
    struct Limit
    {
        LimitBox *box;
        DBTable *table;
        const char *column;
        QString message;
    };
    void editGroup();

    DBTable m_security;
    DBTable m_smtp;
    DBTable m_groups;
    DBTransTab m_trans;
    AclChoice *m_acl;
    QList<Limit> m_limits;
};

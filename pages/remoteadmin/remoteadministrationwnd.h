#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "pages/remoteadmin/sessionaccess.h"

#include <QHostAddress>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// The layout of the remote administration page.
class TRemoteAdministrationWnd : public BForm
{
    Q_OBJECT
public:
    explicit TRemoteAdministrationWnd(QWidget *parent = nullptr);

    QGroupBox *m_gbAdmin;
    QCheckBox *m_chkNetEnabled;
    QCheckBox *m_chkAcl;
    QComboBox *m_cboAcl;
    QPushButton *m_btnEditAcl;
    QGroupBox *m_gbWeb;
    QCheckBox *m_chkWebNetEnabled;
    QCheckBox *m_chkWebAcl;
    QComboBox *m_cboWebAcl;
    QPushButton *m_btnEditWebAcl;

public slots:
    virtual void slotEditAG() { }
    virtual void slotEnableChanged() { }
    virtual void slotEnableAclChanged() { }
    virtual void slotEnableAclChangedWeb() { }
    virtual void slotEnableChangedWeb() { }
};

// Whether the server may be administered over the network, by the console
// and by web administration, and from which IP address group ("Administration").
class RemoteAdministrationWnd : public TRemoteAdministrationWnd
{
public:
    explicit RemoteAdministrationWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("RemoteAdministrationWnd"); }

    void slotEditAG() override;
    void slotEnableChanged() override;
    void slotEnableAclChanged() override;
    void slotEnableAclChangedWeb() override;
    void slotEnableChangedWeb() override;

    // The distinct group names, in the order the server lists them.
    QStringList groupNames() const;
    // The address the server sees this session from (found once).
    QHostAddress sessionAddress();
    void setSessionAddress(const QHostAddress &address) { m_sessionAddress = address; }

private:
    // Fills a group combo with the names and selects name; a name that is not
    // (or no longer) defined is shown all the same, so it is kept as stored.
    void fillCombo(QComboBox *combo, const QString &name);
    void editGroups(QComboBox *combo);
    QList<sessionaccess::Entry> groupEntries() const;

    DBTable m_table;
    DBTable m_groups;
    DBTransTab m_trans;
    std::optional<QHostAddress> m_sessionAddress;
};

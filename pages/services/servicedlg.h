#pragma once

#include "db/dbtable.h"
#include "forms/bdialog.h"
#include "forms/bformlist.h"
#include "forms/tbformlist.h"

#include <QDialog>

#include <functional>
#include <memory>

class AclChoice;
class BSpinBox;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

// The listen addresses of one service inside its dialog: the rows of a
// working copy of "ServicePorts" whose "Service" is the service's "Name". A
// service keeps at least one address.
class ServiceFormList : public BFormList<>
{
public:
    ServiceFormList(DBTable *ports, const QString &service, const QStringList &addresses,
                    const QString &defaultPort, QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    DBTable *table() override { return m_ports; }
    bool fillView() override;
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void selectionChanged() override;

    // The rows live in the dialog's copy: nothing to load or save here.
    void load(bool first) override;
    bool save() override { return true; }
    void discard() override { }
    void registerChanges() override { }
    QString name() const override { return QStringLiteral("ServiceFormList"); }

private:
    DBTable *m_ports;
    QString m_service;
    QStringList m_addresses;
    QString m_defaultPort;
};

// The layout of the service dialog: "Properties" and "Access".
class TServiceDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TServiceDlg(QWidget *parent = nullptr);

    QTabWidget *m_tab;
    QLabel *m_lblName;
    QComboBox *m_cboStartup;
    QGroupBox *m_gbPorts;
    QCheckBox *m_chkAcl;
    QComboBox *m_cboAcl;
    QPushButton *m_btnEditAcl;
    QCheckBox *m_chkMaxConnections;
    BSpinBox *m_spMaxConnections;
    QFrame *m_frmAnonymous;
    QCheckBox *m_chkAnonymous;
    QPushButton *m_btnOk;
};

// Edits one service: startup type, listen addresses, IP group, connection
// limit and (news services) anonymous access. Everything goes back into the
// page's rows on OK; nothing is sent before the page's Apply.
class ServiceDlg : public BDialog<TServiceDlg>
{
public:
    struct Context
    {
        DBTable *ports = nullptr; // the page's "ServicePorts"
        QStringList groups; // distinct IP group names
        QStringList addresses; // the server's interface addresses
        DBRow *nntp = nullptr; // "Nntp" row, for the news services only
        std::function<QStringList()> reloadGroups; // after the group editor
    };

    ServiceDlg(DBRow *row, const Context &context, QWidget *parent = nullptr);
    ~ServiceDlg() override;

    bool fillView() override;
    void storeView() override;
    bool validate() override;

    ServiceFormList *portsList() const { return m_portsList; }
    AclChoice *aclChoice() const { return m_acl; }

private:
    void limitToggled(bool on);
    void editGroup();
    // Writes this service's rows of the working copy back into the page's
    // "ServicePorts".
    void storePorts();

    Context m_context;
    std::unique_ptr<DBTable> m_ports;
    ServiceFormList *m_portsList = nullptr;
    AclChoice *m_acl;
    int m_lastLimit = 1;
    int m_loadedStartup = 0;
};

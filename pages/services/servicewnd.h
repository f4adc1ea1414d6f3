#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "forms/tbformlist.h"

#include <QHash>

#include <array>
#include <memory>

class ServiceItem;
class QPushButton;

// The layout of the Services page: the list with Start, Stop, Restart and
// Edit (services are neither added nor removed).
class TServiceWnd : public TBFormList
{
    Q_OBJECT
public:
    explicit TServiceWnd(QWidget *parent = nullptr);

    QPushButton *startButton() const { return m_btnStart; }
    QPushButton *stopButton() const { return m_btnStop; }
    QPushButton *restartButton() const { return m_btnRestart; }

public slots:
    virtual void slotStart() { }
    virtual void slotStop() { }
    virtual void slotRestart() { }

private:
    QPushButton *m_btnStart;
    QPushButton *m_btnStop;
    QPushButton *m_btnRestart;
};

// The network services of the server: their state, startup type, IP group,
// connection limit and listen addresses. Start, Stop and Restart act at once;
// after an Apply that changed the addresses of running services the page
// offers to restart them.
class ServiceWnd : public BFormList<TServiceWnd>
{
public:
    // Context-menu ids of the actions.
    enum { CommandStart = 51, CommandStop = 52, CommandRestart = 53 };
    static constexpr int kServiceCount = 12;
    static const std::array<const char *, kServiceCount> &serviceTables();

    explicit ServiceWnd(QWidget *parent = nullptr);
    ~ServiceWnd() override;

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return nullptr; }
    bool fillView() override;
    bool editRow(DBRow *row) override;
    void selectionChanged() override;
    void command(int id) override;
    void applyReadOnly() override { selectionChanged(); }

    void load(bool first) override;
    bool save() override;
    void discard() override;
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return unsigned(m_trans.count()); }
    QString name() const override { return QStringLiteral("ServiceWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

    void slotStart() override;
    void slotStop() override;
    void slotRestart() override;

    // Starts or stops one service now (the page's procedure, also used by
    // the restart dialog); true when the server reported success.
    bool startStop(ServiceItem *item, bool start);
    // True when the service's listen addresses differ from what the server
    // last accepted.
    bool portsChanged(const QString &service) const;
    ServiceItem *selectedService() const;
    ServiceItem *serviceItem(const QString &name) const;

    DBTable *portsTable() { return &m_ports; }
    QStringList groupNames() const;

private:
    // Asks to save changed listen addresses before a start and saves them
    // synchronously; false when the start must not go on.
    bool savePortsFirst(ServiceItem *item);
    int callService(const QString &function, const QString &name);
    void readState(ServiceItem *item);
    void setStatusText(const QString &text);

    std::array<std::unique_ptr<DBTable>, kServiceCount> m_services;
    DBTable m_ports;
    DBTable m_groups;
    DBTable m_addresses;
    DBTable m_nntp;
    DBTransTab m_trans;
    // Running flags reported since the last load, by service name: a reset
    // rebuilds the rows from what was loaded, but the services kept running.
    QHash<QString, bool> m_running;
};

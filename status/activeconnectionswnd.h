#pragma once

#include "forms/bformtab.h"
#include "status/statuslistwnd.h"

// The server's open client connections ("show_connections()").
class ActiveConnectionsGeneralWnd : public StatusListWnd
{
    Q_OBJECT
public:
    explicit ActiveConnectionsGeneralWnd(QWidget *parent = nullptr);
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    QString itemKey(const BListViewItem *item) const override;
};

// The web sessions ("showWebSessions()").
class ActiveConnectionsWebWnd : public StatusListWnd
{
    Q_OBJECT
public:
    explicit ActiveConnectionsWebWnd(QWidget *parent = nullptr);
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    QString itemKey(const BListViewItem *item) const override;
};

// The active-connections page: client connections and web sessions on two tabs.
class ActiveConnectionsWnd : public StatusTabPage<BFormTab<>>
{
    Q_OBJECT
public:
    explicit ActiveConnectionsWnd(QWidget *parent = nullptr);
    QString name() const override { return QStringLiteral("ActiveConnectionsWnd"); }

    BTabPageEx<ActiveConnectionsGeneralWnd> *generalPage() const { return m_general; }
    BTabPageEx<ActiveConnectionsWebWnd> *webPage() const { return m_web; }

private:
    BTabPageEx<ActiveConnectionsGeneralWnd> *m_general;
    BTabPageEx<ActiveConnectionsWebWnd> *m_web;
};

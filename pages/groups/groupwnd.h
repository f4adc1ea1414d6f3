#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/blistitems.h"
#include "pages/groups/groupdlgtemp.h"
#include "pages/users/domainformlist.h"
#include "pages/users/tdomainformlist.h"

#include <QList>
#include <QPair>

class QPushButton;

// The layout of the Groups page: the domain list layout plus "&Publish...".
class TGroupWnd : public TDomainFormList
{
    Q_OBJECT
public:
    explicit TGroupWnd(QWidget *parent = nullptr);
    QPushButton *exportButton() const { return m_btnExport; }

public slots:
    virtual void slotExport() { }

private:
    QPushButton *m_btnExport;
};

// A row of the groups list: always below rows that are not groups (users
// in a shared list), in both sort orders.
class GroupItem : public BRowTextItem
{
public:
    GroupItem(BListView *view, DBRow *row);
    QString cellText(int column) const override;
    BSortKey sortKey(int column, const BCol *definition) const override;
};

// The Groups section: the groups of the domain chosen above the list, with
// their members (kept on the user rows), rights and permission words.
//
// Each domain's tables ("Group" directory aware, "User", "Alias",
// "MailingList"; the last two only read) are made the first time the
// domain is shown. Page flags: 1 while the domain is bound to a directory
// service ("DirectoryService"), 8 when the next Add activates directory
// groups. Groups the wizard asked to publish are published after Apply to
// the default contacts folder ("PublicFolders"."PublicFoldersPerDomain").
class GroupWnd : public DomainFormList<TGroupWnd>
{
public:
    enum Flag { FlagDirectoryDomain = 1, FlagActivate = 8 };

    explicit GroupWnd(QWidget *parent = nullptr);

    void createDomainTables(DomainTables &set) override;
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void domainChanged() override;

    void load(bool first) override;
    bool save() override;
    void discard() override;
    void add() override;
    void remove() override;
    void selectionChanged() override;
    void setFormEnabled(bool on) override;
    void slotExport() override;
    QString name() const override { return QStringLiteral("GroupWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

    int flags() const { return m_flags; }
    // The groups to publish after the next Apply, as (domain, name).
    QList<QPair<QString, QString>> pendingPublish() const { return m_publish; }
    // The outcome of the last publishing after Apply: successes and total.
    QPair<int, int> lastPublishResult() const { return m_lastPublish; }
    // The folder groups of a domain are published to.
    QString defaultFolder(const QString &domain) const;

private:
    GroupDlgTemp::Tables tablesOfCurrent() const;
    void updateDirectoryFlag();
    void publishPending();
    void addActivated();
    void addLocal();

    DBTable m_directories;
    DBTable m_publicFolders;
    DBTransTab m_pageTrans;
    int m_flags = 0;
    QList<QPair<QString, QString>> m_publish;
    QPair<int, int> m_lastPublish{0, 0};
};

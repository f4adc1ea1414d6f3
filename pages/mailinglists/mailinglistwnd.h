#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "pages/aliases/domaincombo.h"

#include <QHash>

#include <memory>

class PvnMListTable;

// The "MailingList" rows of one domain. Removing a list that is on the
// server first removes its moderators and members there.
class MailingListTable : public DBTable
{
    Q_OBJECT
public:
    explicit MailingListTable(DBConn *connection);

    // The calls sent before the list's own delete; forgotten on save and revert.
    void setRemovalCalls(const QString &listName, const QStringList &calls);
    void clearRemovalCalls() { m_removalCalls.clear(); }

protected:
    QStringList deleteStatements(const DBRow &row) const override;

private:
    QHash<QString, QStringList> m_removalCalls;
};

// The mailing lists of the chosen domain; a new list is made in the wizard,
// an existing one edited in the dialog. The rosters are read when a list is
// first opened and kept, one table per list and kind, until the page loads
// again.
class MailingListWnd : public BFormList<TDomainComboList>
{
public:
    explicit MailingListWnd(QWidget *parent = nullptr);
    ~MailingListWnd() override;

    void defineColumns(BCols &cols) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    bool canRemove(DBRow *row) override;
    void selectionChanged() override;

    void load(bool first) override;
    bool save() override;
    void discard() override;
    void registerChanges() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("MailingListWnd"); }
    void applyReadOnly() override;

    QString domain() const { return domainCombo()->domain(); }
    void slotDomainChosen(int index) override;

    // The roster of a list, read from the server the first time; null when
    // the read failed.
    PvnMListTable *roster(const DBRow &list, const QString &kind);

private:
    bool isOnServer(const DBRow &list) const;
    QString rosterKey(const QString &listName, const QString &kind) const;
    void forgetRosters();
    void rebuildGroup();
    PvnMListTable *newRoster(const QString &listName, const QString &kind);

    MailingListTable m_table;
    std::unique_ptr<DBTransTab> m_trans;
    std::map<QString, std::unique_ptr<PvnMListTable>> m_rosters;
    QString m_loadedDomain;
};

#pragma once

#include "forms/blistitems.h"

#include <QStringList>

class DBRow;

// A row of the domains list: a domain at the top level, or one of its
// aliases below it.
class DomainItem : public BRowTextItem
{
public:
    enum Column {
        ColName,
        ColType,
        ColAliases,
        ColNtDomain,
        ColKerberos,
        ColDescription,
        ColInfo,
        ColSizeLimit,
        ColRecovery,
        ColUserLimit
    };

    // A domain with the names of its aliases, or an alias whose domain is gone.
    DomainItem(BListView *view, DBRow *row, const QStringList &aliases);
    // An alias below its domain.
    DomainItem(DomainItem *parent, DBRow *row);

    bool isAlias() const { return m_alias; }
    QString cellText(int column) const override;
    BSortKey sortKey(int column, const BCol *definition) const override;
    void releaseRow() override;

    static QString typeText(int type);
    static QString sizeLimitText(qint64 kilobytes);
    static QString onOffText(qint64 value);

private:
    QStringList m_aliases; // the list is built again when aliases change
    bool m_alias = false;
    // The numbers sorted by, kept when the row is let go.
    qint64 m_sizeLimit = 0;
    qint64 m_userLimit = 0;
};

#pragma once

#include "forms/blistitems.h"

#include <QStringList>

class DBRow;

// A row of the domains list: a domain at the top level, or one of its
// aliases below it.
class DomainItem : public BListViewItem
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

    DomainItem(BListView *view, DBRow *row, const QStringList &aliases);
    DomainItem(DomainItem *parent, DBRow *row);

    bool isAlias() const { return m_alias; }
    void setTexts(const DBRow &row, const QStringList &aliases);
    BSortKey sortKey(int column, const BCol *definition) const override;

    // The cell texts of a row, in column order.
    static QStringList texts(const DBRow &row, const QStringList &aliases);
    static QString typeText(int type);
    static QString sizeLimitText(qint64 kilobytes);
    static QString onOffText(qint64 value);

private:
    bool m_alias = false;
    qint64 m_sizeLimit = 0;
    qint64 m_userLimit = 0;
};

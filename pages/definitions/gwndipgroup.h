#pragma once

#include "pages/definitions/gdefinitionwnd.h"
#include "pages/definitions/ipentry.h"

// An entry of an IP address group: the entry as the administrator reads it
// and its description; the check box is "Enabled".
class GIPGroupItem : public GEntryItem
{
public:
    explicit GIPGroupItem(DBRow *row)
        : GEntryItem(row)
    { }
    QString cellText(int column) const override;
};

// The IP address groups ("IpAccessList"): one node per group with its
// entries. Other pages restrict services and rules by these names.
class GWndIPGroup : public GDefinitionWnd
{
public:
    // With a name, only that group is shown and new entries join it;
    // allowHostNames lets host entries be host names.
    explicit GWndIPGroup(QWidget *parent = nullptr, const QString &name = QString(),
                         bool allowHostNames = true);

    void defineColumns(BCols &cols) override;
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    QString name() const override { return QStringLiteral("GWndIPGroup"); }

    // The references between all groups as the page holds them (the server's
    // rows of other groups when restricted), leaving out one row.
    ipentry::GroupGraph groupGraph(const DBRow *without = nullptr) const;

protected:
    GEntryItem *createEntryItem(DBRow *row) override { return new GIPGroupItem(row); }

private:
    DBTable m_otherGroups;
    bool m_allowHostNames;
};

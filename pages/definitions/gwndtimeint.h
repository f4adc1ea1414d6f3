#pragma once

#include "pages/definitions/gdefinitionwnd.h"

// An interval of a time range: the days it applies on (daily intervals),
// when it is valid and its description; the check box is "Enabled".
class GTimeIntItem : public GEntryItem
{
public:
    explicit GTimeIntItem(DBRow *row)
        : GEntryItem(row)
    { }
    QString cellText(int column) const override;
    BSortKey sortKey(int column, const BCol *definition) const override;
    void releaseRow() override;

private:
    qint64 m_start = 0; // kept when the row is let go
};

// The time ranges ("TimeIntervals"): one node per range with its intervals.
// Scheduled actions and other settings are limited by these names.
class GWndTimeInt : public GDefinitionWnd
{
public:
    // With a name, only that range is shown and new intervals join it.
    explicit GWndTimeInt(QWidget *parent = nullptr, const QString &name = QString());

    void defineColumns(BCols &cols) override;
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    QString name() const override { return QStringLiteral("GWndTimeInt"); }

protected:
    GEntryItem *createEntryItem(DBRow *row) override { return new GTimeIntItem(row); }
};

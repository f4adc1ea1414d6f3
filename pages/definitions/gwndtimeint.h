#pragma once

#include "pages/definitions/gdefinitionwnd.h"

// An interval of a time range: the days it applies on (daily intervals),
// when it is valid and its description; the check box is "Enabled".
class GTimeIntItem : public BCheckListItem
{
public:
    explicit GTimeIntItem(DBRow *row);
    void refresh();
    BSortKey sortKey(int column, const BCol *definition) const override;

private:
    qint64 m_start = 0;
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
    BCheckListItem *createEntryItem(DBRow *row) override { return new GTimeIntItem(row); }
    void refreshEntryItem(BCheckListItem *item) override
    {
        static_cast<GTimeIntItem *>(item)->refresh();
    }
};

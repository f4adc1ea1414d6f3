#include "pages/scheduler/schedulingwnd.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "pages/scheduler/schedulingdlg.h"
#include "pages/scheduler/schedulingtexts.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QIcon>

#include <optional>

SchedulingItem::SchedulingItem(BListView *view, DBRow *row, bool withDial)
    : BListViewItem(view, row, texts(*row, withDial))
    , m_timeKey(timeKey(*row))
{
    setIcon(0, QIcon(QStringLiteral(":/images/scheduling_tree.png")));
}

qint64 SchedulingItem::timeKey(const DBRow &row)
{
    // Intervals before times of day, each by its number of minutes.
    return row.text("TimeType").toLongLong() * 1'000'000'000LL + row.text("Time").toLongLong();
}

void SchedulingItem::refresh(bool withDial)
{
    if (!row())
        return;
    m_timeKey = timeKey(*row());
    const QStringList texts = SchedulingItem::texts(*row(), withDial);
    for (int i = 0; i < texts.size(); ++i)
        setText(i, texts.at(i));
}

QStringList SchedulingItem::texts(const DBRow &row, bool withDial)
{
    QStringList texts{schedulingtexts::timeText(row.text("TimeType").toInt(),
                                                row.text("Time").toInt(), row.text("TimeInt")),
                      row.text("Desc")};
    if (withDial)
        texts << schedulingtexts::dialText(row.text("AllowDial").toInt());
    texts << schedulingtexts::actionText(row.text("Action").toInt());
    return texts;
}

BSortKey SchedulingItem::sortKey(int column, const BCol *definition) const
{
    if (column == 0)
        return BSortKey::fromNumber(m_timeKey);
    return BListViewItem::sortKey(column, definition);
}

SchedulingWnd::SchedulingWnd(QWidget *parent)
    : BFormList<>(parent)
    , m_table(bobject::connection(), QStringLiteral("Scheduler"))
    , m_timeRanges(bobject::connection(), QStringLiteral("TimeIntervals"),
                   {DBKol(1, QStringLiteral("Name"), true)})
    , m_trans(bobject::connection())
    , m_withDial(UtKontainer::getInt(UtKey::OsVersion, 0) <= 0)
{
    setObjectName(QStringLiteral("SchedulingWnd"));
    listView()->setAccessibleName(tr("Scheduled actions"));
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_timeRanges);
}

void SchedulingWnd::defineColumns(BCols &cols)
{
    const std::optional<BCols::Registration> base
            = BListRegistrations::find(QStringLiteral("scheduler"));
    // The layout with the "RAS" column is kept apart from the one without.
    cols.setRegistration({m_withDial ? base->name + QLatin1Char('w') : base->name, base->version});
    cols.addColumn(tr("Time"), QStringLiteral("TimeType"), BCol::AlwaysVisible);
    cols.addColumn(tr("Description"), QStringLiteral("Desc"), BCol::Visible);
    if (m_withDial)
        cols.addColumn(tr("RAS"), QStringLiteral("AllowDial"), BCol::Hidden);
    cols.addColumn(tr("Action(s)"), QStringLiteral("Action"), BCol::Visible);
}

BListViewItem *SchedulingWnd::createItem(DBRow *row)
{
    return new SchedulingItem(listView(), row, m_withDial);
}

QStringList SchedulingWnd::timeRangeNames() const
{
    QStringList names;
    for (const DBRow *row : m_timeRanges.rows()) {
        const QString name = row->text(0);
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    return names;
}

bool SchedulingWnd::editRow(DBRow *row)
{
    SchedulingDlg dialog(row, timeRangeNames(), this, [this] {
        // The names only: the range table takes no edits on this page.
        if (!m_timeRanges.selectSync())
            bobject::showServerError(this, m_timeRanges.errorText());
        return timeRangeNames();
    });
    return dialog.exec() == QDialog::Accepted;
}

void SchedulingWnd::updateItems(const QList<BListViewItem *> &items)
{
    for (BListViewItem *item : items)
        static_cast<SchedulingItem *>(item)->refresh(m_withDial);
}

#include "pages/scheduler/schedulingwnd.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "pages/scheduler/schedulingdlg.h"
#include "pages/scheduler/schedulingtexts.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QIcon>

#include <optional>

namespace {

// Intervals before times of day, each by its number of minutes.
qint64 timeKey(const DBRow &row)
{
    return row.text("TimeType").toLongLong() * 1'000'000'000LL + row.text("Time").toLongLong();
}

} // namespace

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
    const int time = cols.addColumn(tr("Time"), QStringLiteral("TimeType"), BCol::AlwaysVisible);
    cols.setCell(
            time,
            [](const DBRow &row) {
                return schedulingtexts::timeText(row.text("TimeType").toInt(),
                                                 row.text("Time").toInt(), row.text("TimeInt"));
            },
            [](const DBRow &row) { return BSortKey::fromNumber(timeKey(row)); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Desc"), BCol::Visible);
    cols.setCell(description, [](const DBRow &row) { return row.text("Desc"); });
    if (m_withDial) {
        const int dial = cols.addColumn(tr("RAS"), QStringLiteral("AllowDial"), BCol::Hidden);
        cols.setCell(dial, [](const DBRow &row) {
            return schedulingtexts::dialText(row.text("AllowDial").toInt());
        });
    }
    const int action = cols.addColumn(tr("Action(s)"), QStringLiteral("Action"), BCol::Visible);
    cols.setCell(action, [](const DBRow &row) {
        return schedulingtexts::actionText(row.text("Action").toInt());
    });
}

BListViewItem *SchedulingWnd::createItem(DBRow *row)
{
    BListViewItem *item = BFormList<>::createItem(row);
    item->setIcon(0, QIcon(QStringLiteral(":/images/scheduling_tree.png")));
    return item;
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

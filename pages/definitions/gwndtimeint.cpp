#include "pages/definitions/gwndtimeint.h"

#include "forms/bcols.h"
#include "pages/definitions/gdlgtimeint.h"
#include "pages/definitions/timerange.h"

namespace {

qint64 startOf(const DBRow &row)
{
    return row.text(QStringLiteral("Start")).toLongLong();
}

} // namespace

QString GTimeIntItem::cellText(int column) const
{
    const DBRow &source = *row();
    switch (column) {
    case 0:
        return source.text(QStringLiteral("Type")).toInt() == timerange::Daily
                ? timerange::daysText(source.text(QStringLiteral("Days")))
                : QString();
    case 1:
        return timerange::validOnText(source.text(QStringLiteral("Type")).toInt(), startOf(source),
                                      source.text(QStringLiteral("End")).toLongLong());
    case 2:
        return source.text(QStringLiteral("Desc"));
    default:
        return QString();
    }
}

BSortKey GTimeIntItem::sortKey(int column, const BCol *definition) const
{
    // Intervals are listed by when they start, not by their text.
    if (column == 1)
        return BSortKey::fromNumber(row() ? startOf(*row()) : m_start);
    return GEntryItem::sortKey(column, definition);
}

void GTimeIntItem::releaseRow()
{
    if (row())
        m_start = startOf(*row());
    GEntryItem::releaseRow();
}

GWndTimeInt::GWndTimeInt(QWidget *parent, const QString &name)
    : GDefinitionWnd(parent, QStringLiteral("TimeIntervals"), name,
                     QStringLiteral("/GWndTimeInt/OpenedItems/"))
{
    setObjectName(QStringLiteral("GWndTimeInt"));
    setWindowTitle(tr("Time Ranges"));
    listView()->setAccessibleName(tr("Time ranges"));
}

void GWndTimeInt::defineColumns(BCols &cols)
{
    cols.setRegistration({QStringLiteral("timeint"), 1});
    cols.addColumn(tr("Item"), QStringLiteral("Name"), BCol::AlwaysVisible);
    cols.addColumn(tr("Valid on"), QStringLiteral("Type"), BCol::AlwaysVisible);
    cols.addColumn(tr("Description"), QStringLiteral("Desc"), BCol::Visible);
}

bool GWndTimeInt::initNewRow(DBRow *row)
{
    QString name = selectedName();
    if (name.isEmpty())
        name = restrictedName();
    if (name.isEmpty())
        name = tr("New Time Range");
    row->setText("Name", name);
    row->setText("Enabled", QStringLiteral("1"));
    // A new interval starts as the whole day on every day.
    row->setText("Type", QStringLiteral("0"));
    row->setText("Start", QStringLiteral("0"));
    row->setText("End", QStringLiteral("86399"));
    row->setText("Days", QStringLiteral("1234567"));
    return true;
}

bool GWndTimeInt::editRow(DBRow *row)
{
    GDlgTimeInt dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

#include "pages/definitions/gwndtimeint.h"

#include "forms/bcols.h"
#include "pages/definitions/gdlgtimeint.h"
#include "pages/definitions/timerange.h"

GTimeIntItem::GTimeIntItem(DBRow *row)
    : BCheckListItem(row)
{
    refresh();
}

void GTimeIntItem::refresh()
{
    if (!row())
        return;
    const int type = row()->text(QStringLiteral("Type")).toInt();
    m_start = row()->text(QStringLiteral("Start")).toLongLong();
    setText(0,
            type == timerange::Daily ? timerange::daysText(row()->text(QStringLiteral("Days")))
                                     : QString());
    setText(1,
            timerange::validOnText(type, m_start, row()->text(QStringLiteral("End")).toLongLong()));
    setText(2, row()->text(QStringLiteral("Desc")));
    setCheckState(0,
                  row()->text(QStringLiteral("Enabled")) == QLatin1String("0") ? Qt::Unchecked
                                                                               : Qt::Checked);
}

BSortKey GTimeIntItem::sortKey(int column, const BCol *definition) const
{
    // Intervals are listed by when they start, not by their text.
    if (column == 1)
        return BSortKey::fromNumber(m_start);
    return BCheckListItem::sortKey(column, definition);
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

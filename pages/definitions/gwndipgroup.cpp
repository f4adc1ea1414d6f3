#include "pages/definitions/gwndipgroup.h"

#include "forms/bcols.h"
#include "pages/definitions/gdlgips.h"

QString GIPGroupItem::cellText(int column) const
{
    switch (column) {
    case 0:
        return ipentry::itemText(row()->text(QStringLiteral("Value")));
    case 1:
        return row()->text(QStringLiteral("Desc"));
    default:
        return QString();
    }
}

GWndIPGroup::GWndIPGroup(QWidget *parent, const QString &name, bool allowHostNames)
    : GDefinitionWnd(parent, QStringLiteral("IpAccessList"), name,
                     QStringLiteral("/GWndIPGroup/OpenedItems/"))
    , m_otherGroups(
              bobject::connection(), QStringLiteral("IpAccessList"),
              {DBKol(1, QStringLiteral("Name"), true), DBKol(1, QStringLiteral("Value"), true)})
    , m_allowHostNames(allowHostNames)
{
    setObjectName(QStringLiteral("GWndIPGroup"));
    setWindowTitle(tr("IP Groups"));
    listView()->setAccessibleName(tr("IP address groups"));
    // Restricted to one group, the page still needs the others to offer
    // references and to keep references free of loops.
    if (!name.isEmpty())
        tables().addTable(&m_otherGroups, {true, false});
}

void GWndIPGroup::defineColumns(BCols &cols)
{
    cols.setRegistration({QStringLiteral("ipgroup"), 1});
    cols.addColumn(tr("Item"), QStringLiteral("Value"), BCol::AlwaysVisible);
    cols.addColumn(tr("Description"), QStringLiteral("Desc"), BCol::Visible);
}

bool GWndIPGroup::initNewRow(DBRow *row)
{
    QString name = selectedName();
    if (name.isEmpty())
        name = restrictedName();
    if (name.isEmpty())
        name = tr("New IP Address Group");
    row->setText("Name", name);
    row->setText("Enabled", QStringLiteral("1"));
    return true;
}

ipentry::GroupGraph GWndIPGroup::groupGraph(const DBRow *without) const
{
    ipentry::GroupGraph graph;
    const int nameColumn = m_table.columns().indexOf(QStringLiteral("Name"));
    const int valueColumn = m_table.columns().indexOf(QStringLiteral("Value"));
    for (const DBRow *row : m_table.rows()) {
        if (row != without)
            graph.addEntry(row->text(nameColumn), row->text(valueColumn));
    }
    if (!restrictedName().isEmpty()) {
        for (const DBRow *row : m_otherGroups.rows()) {
            const QString name = row->text(0);
            if (name != restrictedName())
                graph.addEntry(name, row->text(1));
        }
    }
    return graph;
}

bool GWndIPGroup::editRow(DBRow *row)
{
    GDlgIPs dialog(row, groupGraph(row), m_allowHostNames, this);
    return dialog.exec() == QDialog::Accepted;
}

#include "status/openedfolderswnd.h"

#include "db/dbrow.h"
#include "db/dbvalbase.h"
#include "forms/blistregistrations.h"
#include "status/statusitems.h"

namespace {
enum Column { Name, RefCount, Index, Users };
} // namespace

OpenedFoldersWnd::OpenedFoldersWnd(QWidget *parent)
    : StatusListWnd(QStringLiteral("OpenedFoldersWnd"), QStringLiteral("ShowOpenedFolders()"),
                    parent)
{
    listView()->setAccessibleName(tr("Opened Folders"));
}

void OpenedFoldersWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("openedfolders")));
    cols.addColumn(tr("Name"), QStringLiteral("name"), BCol::Visible, 220);
    cols.addColumn(tr("Reference Count"), QStringLiteral("refcount"),
                   BCol::Visible | BCol::AlignRight, 110);
    cols.addColumn(tr("Index Loaded"), QStringLiteral("index"), BCol::Visible, 100);
    cols.addColumn(tr("Users"), QStringLiteral("users"), BCol::Visible, 260);
}

BListViewItem *OpenedFoldersWnd::createItem(DBRow *row)
{
    const qint64 refs = row->text(QStringLiteral("refcount")).toLongLong();
    const qint64 index = row->text(QStringLiteral("index")).toLongLong();
    // 0 and 1 answer the question; other numbers are the server's own states.
    const QString indexText = index == 0 ? tr("No")
            : index == 1                 ? tr("Yes")
                                         : QString::number(index);
    QStringList users;
    const int column = row->columns()->indexOf(QStringLiteral("users"));
    if (column >= 0) {
        if (const auto value = row->value(column))
            users = value->toStringList();
    }
    users.removeAll(QString());
    return new StatusNumberItem(listView(), row,
                                {row->text(QStringLiteral("name")), QString::number(refs),
                                 indexText, users.join(QStringLiteral(", "))},
                                {{RefCount, refs}, {Index, index}});
}

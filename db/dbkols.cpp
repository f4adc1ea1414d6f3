#include "db/dbkols.h"

#include "db/dbreq.h"
#include "db/utdebug.h"

DBKols DBKols::fromDeclarations(const DBKolDecl *declarations)
{
    DBKols columns;
    for (const DBKolDecl *d = declarations; d && d->name; ++d)
        columns.append(DBKol(d->type, QString::fromUtf8(d->name), d->attribute, d->extra, -1));
    return columns;
}

DBKols DBKols::fromRequest(const DBReq &request)
{
    DBKols columns;
    for (int i = 0; i < request.columnCount(); ++i) {
        QString name;
        int type = 0;
        bool attribute = false;
        int extra = 0;
        if (request.columnInfo(i, &name, &type, &attribute, &extra))
            columns.append(DBKol(type, name, attribute, 0, i));
    }
    return columns;
}

int DBKols::indexOf(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    if (m_reportMissing)
        utDebug(UtDebug::CategoryGeneral, 5,
                QStringLiteral("Column %1 doesn't exists. (File: dbkols.cpp)").arg(name));
    return -1;
}

bool DBKols::hasKeys() const
{
    for (const DBKol &column : m_columns) {
        if (column.attribute)
            return true;
    }
    return false;
}

// The ordered list of a table's columns.
#ifndef DB_DBKOLS_H
#define DB_DBKOLS_H

#include "db/dbkol.h"

#include <QList>

class DBReq;

class DBKols
{
public:
    DBKols() = default;
    explicit DBKols(const QList<DBKol> &columns)
        : m_columns(columns)
    { }

    // Columns from a declaration array ended by a record without a name.
    static DBKols fromDeclarations(const DBKolDecl *declarations);
    // Columns of a finished select, in result order.
    static DBKols fromRequest(const DBReq &request);

    int count() const { return int(m_columns.size()); }
    bool isEmpty() const { return m_columns.isEmpty(); }
    const DBKol &at(int index) const { return m_columns.at(index); }
    DBKol &operator[](int index) { return m_columns[index]; }
    const QList<DBKol> &columns() const { return m_columns; }
    void append(const DBKol &column) { m_columns.append(column); }
    void clear() { m_columns.clear(); }

    // The first column named name, ignoring case; -1 (logged while reporting
    // is on) when there is none.
    int indexOf(const QString &name) const;
    bool reportsMissing() const { return m_reportMissing; }
    void setReportMissing(bool report) { m_reportMissing = report; }

    // True when any column is a key column.
    bool hasKeys() const;

private:
    QList<DBKol> m_columns;
    bool m_reportMissing = true;
};

#endif // DB_DBKOLS_H

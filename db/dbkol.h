// One column of a remote table.
#ifndef DB_DBKOL_H
#define DB_DBKOL_H

#include <QString>

// A column as a table declares it; an array of them ends with a null name.
struct DBKolDecl
{
    int type;
    const char *name;
    bool attribute; // key column
    int extra;
};

class DBKol
{
public:
    DBKol() = default;
    DBKol(int type, const QString &name, bool attribute = false, int extra = 0, int index = -1)
        : type(type)
        , name(name)
        , attribute(attribute)
        , extra(extra)
        , index(index)
    { }

    int type = 1; // column type code (DBType)
    QString name;
    bool attribute = false; // set on key columns
    int extra = 0;
    int index = -1; // position in the last result; -1 until matched
};

#endif // DB_DBKOL_H

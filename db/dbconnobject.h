// A data-layer object that talks through one connection.
#ifndef DB_DBCONNOBJECT_H
#define DB_DBCONNOBJECT_H

#include "db/dbobject.h"

class DBConn;

class DBConnObject : public DBObject
{
public:
    explicit DBConnObject(DBConn *connection)
        : m_connection(connection)
    { }

    DBConn *connection() const { return m_connection; }

protected:
    DBConn *m_connection;
};

#endif // DB_DBCONNOBJECT_H

// Escaping of texts written into query texts: statement literals and the
// double-quoted arguments of server function calls.
#ifndef DB_DBQUOTE_H
#define DB_DBQUOTE_H

#include <QString>
#include <QStringList>

// Backslash-escapes \ " ' and line feed, carriage return, tab.
QString dbEscape(const QString &text);
// The text escaped and enclosed in single quotes: a statement literal.
QString dbLiteral(const QString &text);
// name("arg1", "arg2", ...) with every argument escaped; name() without any.
QString dbFunctionCall(const QString &name, const QStringList &arguments = QStringList());

#endif // DB_DBQUOTE_H

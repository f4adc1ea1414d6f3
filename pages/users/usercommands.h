#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class DBTable;
class QWidget;

// Small helpers of the Users pages: server calls read as tables, and the
// questions asked under the console's caption.
namespace usercommands {

// Reads a server function call (escaped arguments) or a complete select as a
// table, waiting for it; null with *error set when the server refused.
std::unique_ptr<DBTable> readTable(const QString &query, QString *error);
// name("arg", ...) with every argument escaped.
QString call(const QString &function, const QStringList &arguments);
// Runs a function call for its effect; shows a server error (while
// connected) and returns false when it failed.
bool run(QWidget *parent, const QString &query);

// A question with Yes and No (No is the default for warning questions).
bool askYesNo(QWidget *parent, const QString &text, bool warning = false);
void warn(QWidget *parent, const QString &text);
void inform(QWidget *parent, const QString &text);

} // namespace usercommands

#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class DBConn;

// The outcome of one query run by FServerQuery: every cell as text.
struct FQueryResult
{
    uint code = 0;
    QString errorText;
    QStringList columns;
    QList<QStringList> rows;

    bool ok() const { return code == 0; }
    int column(const QString &name) const;
    // The cell of the first row in the named column (matched ignoring case).
    QString firstValue(const QString &name) const;
};

// Runs one query of the shell asynchronously and delivers its result on the
// user-interface thread, as long as the context object still exists. The
// request cannot be dropped by a page's cancelPending, so the shell's own
// loads always complete.
namespace FServerQuery {

using Callback = std::function<void(const FQueryResult &)>;

// False when there is no connection; the callback is then not called.
bool run(DBConn *connection, const QString &query, QObject *context, Callback callback);

} // namespace FServerQuery

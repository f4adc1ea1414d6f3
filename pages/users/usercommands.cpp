#include "pages/users/usercommands.h"

#include "db/dbquote.h"
#include "db/dbtable.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"

#include <QMessageBox>

namespace usercommands {

std::unique_ptr<DBTable> readTable(const QString &query, QString *error)
{
    auto table = std::make_unique<DBTable>(bobject::connection(), query);
    if (!table->selectSync()) {
        if (error)
            *error = table->errorText();
        return nullptr;
    }
    return table;
}

QString call(const QString &function, const QStringList &arguments)
{
    return dbFunctionCall(function, arguments);
}

bool run(QWidget *parent, const QString &query)
{
    QString error;
    if (readTable(query, &error))
        return true;
    bobject::showServerError(parent, error);
    return false;
}

bool askYesNo(QWidget *parent, const QString &text, bool warning)
{
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, bmessagebox::caption(),
                    text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(warning ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void warn(QWidget *parent, const QString &text)
{
    bmessagebox::warning(parent, text);
}

void inform(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, bmessagebox::caption(), text);
}

} // namespace usercommands

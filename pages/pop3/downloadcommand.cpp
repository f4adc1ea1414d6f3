#include "pages/pop3/downloadcommand.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "forms/bframewindow.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

namespace downloadcommand {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DownloadCommand", text);
}

// The "result" cell of the first row, or 0.
int resultOf(const DBReq &req)
{
    if (req.rowCount() < 1)
        return 0;
    for (int column = 0; column < req.columnCount(); ++column) {
        QString name;
        int type = 0;
        bool attribute = false;
        int extra = 0;
        if (req.columnInfo(column, &name, &type, &attribute, &extra)
            && name.compare(QLatin1String("result"), Qt::CaseInsensitive) == 0)
            return type == DBType::Int ? req.readInt(0, column).value()
                                       : req.readStr(0, column, type).toString().toInt();
    }
    return 0;
}

} // namespace

QString startedText()
{
    return tr("<nobr>Action started.<br>You can view its results in the log window.</nobr>");
}

QString failedText()
{
    return tr("Action failed.");
}

QString applyFirstText()
{
    return tr("<nobr>All previous changes must be applied before you can continue.<br>Do you "
              "want to apply changes?</nobr>");
}

bool applyPendingChanges(QWidget *page)
{
    DBConn *conn = bobject::connection();
    if (!conn || !conn->transCtrl() || conn->transCtrl()->operationCount() == 0)
        return true;
    const auto answer = QMessageBox::warning(page, bmessagebox::caption(), applyFirstText(),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    // The same apply as the Apply button: the page area asks the current page.
    bool ok = false;
    if (auto *frame = UtKontainer::objectAs<BFrameWindow>(UtKey::FWindow))
        emit frame->signalApply(&ok);
    return ok && conn->transCtrl()->operationCount() == 0;
}

bool run(QWidget *page, const QString &function)
{
    DBConn *conn = bobject::connection();
    if (!conn || !conn->mayModify())
        return false;
    DBReq req(QStringLiteral("select ") + dbFunctionCall(function));
    const bool done = conn->execSync(&req);
    if (!done && conn->isConnected() && !req.errorText().isEmpty())
        bmessagebox::warning(page, req.errorText());
    if (done && resultOf(req) != 0) {
        QMessageBox::information(page, bmessagebox::caption(), startedText());
        return true;
    }
    bmessagebox::warning(page, failedText());
    return false;
}

} // namespace downloadcommand

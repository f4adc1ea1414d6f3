#include "pages/usergroups/ugapplyfirst.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "forms/bframewindow.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace ugapplyfirst {

QString questionText()
{
    return QCoreApplication::translate("UserGroupApplyFirst",
                                       "<nobr>All previous changes must be applied before you "
                                       "can continue.<br>Do you want to apply changes?</nobr>");
}

bool applyPendingChanges(QWidget *page)
{
    DBConn *conn = bobject::connection();
    if (!conn || !conn->transCtrl() || conn->transCtrl()->operationCount() == 0)
        return true;
    const auto answer = QMessageBox::warning(page, bmessagebox::caption(), questionText(),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    bool ok = false;
    if (auto *frame = UtKontainer::objectAs<BFrameWindow>(UtKey::FWindow))
        emit frame->signalApply(&ok);
    return ok && conn->transCtrl()->operationCount() == 0;
}

} // namespace ugapplyfirst

#include "logs/logviewregistration.h"

#include "db/dbconn.h"
#include "forms/bpagefactory.h"
#include "logs/fwndlog.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

namespace logs {

void registerLogView(BPageFactory &factory)
{
    factory.setLogCreator([](const QString &name, QWidget *parent) -> QWidget * {
        return new FWndLog(name, UtKontainer::objectAs<DBConn>(UtKey::DBConn), parent);
    });
}

} // namespace logs

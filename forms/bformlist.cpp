#include "forms/bformlist.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"

namespace bformlist {

void clearPendingOperations()
{
    DBConn *conn = bobject::connection();
    if (DBCtrl *ctrl = conn ? conn->transCtrl() : nullptr)
        ctrl->clearOperations();
}

} // namespace bformlist

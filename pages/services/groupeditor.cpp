#include "pages/services/groupeditor.h"

#include "pages/definitions/gformdialog.h"

namespace groupeditor {

bool edit(const QString &group, QWidget *parent)
{
    return GFormDialog::edit(GFormDialog::Kind::IpGroups, group, parent);
}

} // namespace groupeditor

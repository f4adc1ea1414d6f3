#include "pages/services/groupeditor.h"

namespace groupeditor {

bool available()
{
    return false;
}

bool edit(const QString &group, QWidget *parent)
{
    Q_UNUSED(group);
    Q_UNUSED(parent);
    return false;
}

} // namespace groupeditor

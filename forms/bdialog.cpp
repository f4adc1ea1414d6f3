#include "forms/bdialog.h"

#include "forms/bview.h"

namespace bdialog {

void traceShown(const QString &className)
{
    bview::trace("dialog shown: %1", className);
}

} // namespace bdialog

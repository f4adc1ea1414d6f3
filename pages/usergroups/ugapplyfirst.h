#pragma once

#include <QString>

class QWidget;

// Actions that need the server to hold what the page shows (publishing)
// apply the page's edits first, after asking.
namespace ugapplyfirst {

// "All previous changes must be applied before you can continue. Do you
// want to apply changes?" as a warning with Yes and No, asked only while
// edits are pending. Yes applies as the Apply button does. True when
// nothing was pending or the apply succeeded.
bool applyPendingChanges(QWidget *page);
QString questionText();

} // namespace ugapplyfirst

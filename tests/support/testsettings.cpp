// Qt tests: both settings scopes in the private test folder, before any
// QSettings object exists. As root, the console's system-wide store would
// otherwise be the machine's /etc/xdg.
#include "registry/settingslocation.h"
#include "support/testenvironment.h"

#include <QStandardPaths>

namespace {

const bool redirected = [] {
    postdesk::test::privateHome(); // sets POSTDESK_SETTINGS_DIR
    QStandardPaths::setTestModeEnabled(true);
    return redirectSettingsStoresFromEnvironment();
}();

} // namespace

// Private folders for every test process.
//
// Linked into every test (postdesk_add_gtest, postdesk_add_qtest): before main()
// runs, HOME and the XDG configuration, data, cache and state folders point into
// a fresh temporary folder, and POSTDESK_SETTINGS_DIR names a folder there for
// the console's settings stores. Child processes (the console, the development
// server, lumadb-query) inherit all of it, so no test reads or writes the
// machine's real preferences, known-hosts files or data. The folder is removed
// when the process ends.
#pragma once

#include <string>

namespace postdesk::test {

// The private folder of this test process (created on first use).
const std::string &privateHome();

} // namespace postdesk::test

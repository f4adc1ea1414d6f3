#pragma once

#include <QString>

// Keeps both settings scopes (system-wide and the user's) of every format in
// folder, as "system" and "user" below it, instead of the machine's locations.
// Takes effect for settings objects created afterwards. For scripts and tests
// that must not touch the machine's preferences; an empty folder changes
// nothing and returns false.
bool redirectSettingsStores(const QString &folder);

// The folder named by POSTDESK_SETTINGS_DIR, if any, as redirectSettingsStores().
bool redirectSettingsStoresFromEnvironment();

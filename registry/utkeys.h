#pragma once

#include <QString>

// The names under which the console keeps its shared objects, session
// parameters and server information in the registry (UtKontainer).
namespace UtKey {

// Shared objects.
inline const QString DBConn = QStringLiteral("utKontDBConn");
inline const QString FMainWnd = QStringLiteral("utKontFMainWnd");
inline const QString FWindow = QStringLiteral("utKontFWindow");
inline const QString FApp = QStringLiteral("utKontFApp");

// The caption of every message box.
inline const QString Caption = QStringLiteral("utKontCaption");

// Session parameters.
inline const QString User = QStringLiteral("utKontUser");
inline const QString Host = QStringLiteral("utKontHost");
inline const QString Port = QStringLiteral("utKontPort");
inline const QString Password = QStringLiteral("utKontPassword");

// Product names and versions.
inline const QString AppId = QStringLiteral("utKontAppId");
inline const QString AppName = QStringLiteral("utKontAppName");
inline const QString AppShortName = QStringLiteral("utKontAppShortName");
inline const QString AppEngineName = QStringLiteral("utKontAppEngineName");
inline const QString AppMajorVersion = QStringLiteral("utKontAppMajorVersion");
inline const QString AppMinorVersion = QStringLiteral("utKontAppMinorVersion");
inline const QString AppRevisionVersion = QStringLiteral("utKontAppRevisionVersion");
inline const QString AppCommentVersion = QStringLiteral("utKontAppCommentVersion");
inline const QString AppLanguage = QStringLiteral("utKontAppLanguage");
inline const QString PreferredLanguage1 = QStringLiteral("utKontPreferredLanguage1");
inline const QString PreferredLanguage2 = QStringLiteral("utKontPreferredLanguage2");

// Console behaviour.
inline const QString ShowSplashScreen = QStringLiteral("utKontShowSplashScreen");
inline const QString ShowIncorrectQt = QStringLiteral("utKontShowIncorrectQt");
inline const QString IsTrademarksInAbout = QStringLiteral("utKontIsTrademarksInAbout");
inline const QString IsLogSearchCaseSensitive = QStringLiteral("utKontIsLogSearchCaseSensitive");
// Log search on the server: in the background with status polling, and
// whether the server takes a line to stop at.
inline const QString IsLogSearchAsync = QStringLiteral("utKontIsLogSearchAsync");
inline const QString LogSearchHasEndLine = QStringLiteral("utKontLogSearchHasEndLine");
inline const QString StoreStats = QStringLiteral("utKontStoreStats");
inline const QString AdminHasLog = QStringLiteral("utKontAdminHasLog");
inline const QString AdminHasLogRegExp = QStringLiteral("utKontAdminHasLogRegExp");

// Server information, filled when the page area's server tables have loaded.
inline const QString ServerVersion = QStringLiteral("serverversion");
inline const QString OsVersion = QStringLiteral("osversion");
inline const QString FaxPluginInstalled = QStringLiteral("faxplugininstalled");
inline const QString ClusteringVisible = QStringLiteral("clusteringvisibled");

} // namespace UtKey

#pragma once

#include "support/devserver_process.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

class DBConn;
class FConsole;
class FMainWindowEx;
class FWindow;

// Base of the tests that run the real console against a development server:
// every test function gets a fresh registry and settings file in a folder of
// its own, and the console is built as the application builds it.
class ConsoleTest : public QObject
{
protected:
    static constexpr int kTimeout = 30000;

    // Called from the test's init() and cleanup() slots.
    void setUpConsole();
    // Registers the pages and the log view as the application does; tearDownConsole()
    // removes every registration.
    void registerApplicationPages();
    void tearDownConsole();

    // Starts a development server (a new one, replacing any running one).
    bool startServer(std::vector<std::string> extraArgs = {});
    // Starts the console against host and port with the given login.
    void launchConsole(const QString &host, int port, const QString &user, const QString &password);
    // Starts the console against this test's server, starting it when needed.
    bool launchConsole(const QString &user, const QString &password);
    // Starts the console logged in as user (password = user name) and waits
    // until the session is up and the server information has arrived.
    bool launchConsoleAndWait(const QString &user = QStringLiteral("admin"));
    // Selects the section and waits until its page has loaded; the page, or null.
    QWidget *openSection(int id);

    DBConn *connection() const;
    FMainWindowEx *mainWindow() const;
    FWindow *pageArea() const;
    QString folderPath(const QString &name) const { return m_folder->filePath(name); }
    // The console's known-hosts file, in which startServer() trusts its server.
    QString knownHostsPath() const { return folderPath(QStringLiteral("known_hosts")); }

    std::unique_ptr<postdesk::test::DevServerProcess> m_server;
    std::unique_ptr<QTemporaryDir> m_folder;
    FConsole *m_console = nullptr;
};

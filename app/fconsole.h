#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class DBConn;
class FMainWindowEx;
class FWindow;

// One console session's objects: the main window, the connection and the page
// area, created in the start-up order and destroyed in reverse. Also the
// reconnect operation that the connection dialog and the Reconnect command use.
class FConsole : public QObject
{
    Q_OBJECT

public:
    using MainWindowFactory = std::function<FMainWindowEx *()>;
    using PageAreaFactory = std::function<FWindow *(FMainWindowEx *)>;

    FConsole(MainWindowFactory createMainWindow, PageAreaFactory createWindow,
             QObject *parent = nullptr);
    ~FConsole() override;

    // Creates the main window (registered as "utKontFMainWnd"), the connection
    // from the registry's session parameters ("utKontDBConn", started at once)
    // and the page area ("utKontFWindow"), which builds its tree.
    void start(const QString &knownHostsPath = {});

    // Restarts the connection with the registry's session parameters.
    void reconnect();
    bool isReconnecting() const { return m_reconnecting; }
    void setReconnecting(bool reconnecting) { m_reconnecting = reconnecting; }

    FMainWindowEx *mainWindow() const { return m_mainWindow; }
    FWindow *pageArea() const { return m_window; }
    DBConn *connection() const { return m_connection; }

private:
    MainWindowFactory m_createMainWindow;
    PageAreaFactory m_createWindow;
    QPointer<FMainWindowEx> m_mainWindow;
    QPointer<FWindow> m_window;
    DBConn *m_connection = nullptr;
    bool m_reconnecting = false;
};

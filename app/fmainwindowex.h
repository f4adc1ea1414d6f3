#pragma once

#include "app/fmainwindow.h"
#include "db/dbconn.h"

class FConsole;
class FWindow;

// The main window with the session: follows the connection state in caption
// and status bar, opens the connection dialog when the session is lost, and
// protects unsaved edits (the save question, can-leave, closing).
class FMainWindowEx : public FMainWindow
{
    Q_OBJECT

public:
    enum SaveAnswer { Cancel = 2, Yes = 3, No = 4 };

    explicit FMainWindowEx(QWidget *parent = nullptr);

    void setConsole(FConsole *console) { m_console = console; }
    FConsole *console() const { return m_console; }

    // The dialog, a message box or a direct reconnection, as the situation demands.
    void showConnectionDialog(bool showError);
    // Asks whether to save the unsaved edits: Yes, No or Cancel.
    int askToSave(QWidget *parent, bool isDialog);
    // Whether the administrator may leave the current page (edits saved or
    // dropped, and the session up).
    bool canLeave();

    // The server as the window title names it: the host, with the port and the
    // user when they are not the defaults, so that consoles of one host differ.
    static QString serverLabel(const QString &host, int port, const QString &user);
    static constexpr const char *kDefaultUser = "admin";

    // The first Disconnected notice of the process only sets the window up.
    static void resetFirstNotice();

public slots:
    void slotConnectionStateChanged(DBConn::StateEnum state);
    void slotReconnect();
    void slotInfoLoaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void restoreLayout(const QSettings &store) override;
    void saveLayout(QSettings &store) override;

private:
    DBConn *connection() const;
    FWindow *pageArea() const;
    bool hasPendingOperations() const;
    QString caption() const;
    QString hostAndPort() const;
    QString serverLabel() const;
    void updateStatusMessage();

    FConsole *m_console = nullptr;
    bool m_dialogOnNextLoss = true;
    bool m_loginReported = false;
    DBConn::StateEnum m_previousState = DBConn::Disconnected;
};

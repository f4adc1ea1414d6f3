#include "app/fconsole.h"

#include "app/fmainwindowex.h"
#include "app/fwindow.h"
#include "app/mailwindow.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "lumadb/lumadb.h"
#include "db/dbconn.h"

#include "db/dbreq.h"
#include <QAction>

#include <csignal>

FConsole::FConsole(MainWindowFactory createMainWindow, PageAreaFactory createWindow,
                   QObject *parent)
    : QObject(parent)
    , m_createMainWindow(std::move(createMainWindow))
    , m_createWindow(std::move(createWindow))
{ }

FConsole::~FConsole()
{
    if (m_connection) {
        m_connection->stopNotifications();
        m_connection->stop();
    }
    delete m_mainWindow;
    UtKontainer::setObject(UtKey::FMainWnd, nullptr);
    UtKontainer::setObject(UtKey::FWindow, nullptr);
    UtKontainer::setObject(UtKey::DBConn, nullptr);
    delete m_connection;
}

void FConsole::start(const QString &knownHostsPath)
{
    // A server that goes away mid-write must end the session, not the process.
    std::signal(SIGPIPE, SIG_IGN);
    m_mainWindow = m_createMainWindow();
    m_mainWindow->setConsole(this);
    UtKontainer::setObject(UtKey::FMainWnd, m_mainWindow);

    m_connection
            = new DBConn(UtKontainer::getText(UtKey::Host),
                         UtKontainer::getInt(UtKey::Port, LUMADB_DEFAULT_PORT),
                         UtKontainer::getText(UtKey::User), UtKontainer::getText(UtKey::Password));
    if (!knownHostsPath.isEmpty())
        m_connection->setKnownHostsPath(knownHostsPath);
    UtKontainer::setObject(UtKey::DBConn, m_connection);
    m_reconnecting = false;
    connect(m_connection, &DBConn::signalStateChanged, m_mainWindow,
            &FMainWindowEx::slotConnectionStateChanged);
    connect(m_connection, &DBConn::signalSynWaiting, m_mainWindow,
            &FMainWindowEx::slotAnimationLoadingSyn);
    m_connection->start();
    m_connection->startNotifications();

    m_window = m_createWindow(m_mainWindow);
    UtKontainer::setObject(UtKey::FWindow, m_window);
    connect(m_window, &FWindow::signalInfoLoaded, m_mainWindow, &FMainWindowEx::slotInfoLoaded);
    m_mainWindow->setCentralWidget(m_window);
    if (auto *mail = qobject_cast<MailWindow *>(m_window.data()))
        connect(m_mainWindow->storeStatisticsAction(), &QAction::triggered, mail,
                &MailWindow::slotStoreStatistic);
    m_window->initialize();
}

void FConsole::reconnect()
{
    if (!m_connection)
        return;
    m_reconnecting = true;
    m_connection->restart(UtKontainer::getText(UtKey::Host),
                          UtKontainer::getInt(UtKey::Port, LUMADB_DEFAULT_PORT),
                          UtKontainer::getText(UtKey::User),
                          UtKontainer::getText(UtKey::Password));
}

#include "consoletest.h"

#include "app/fconsole.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/mailapplication.h"
#include "app/mailwindow.h"
#include "forms/bpagefactory.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QTest>
#include <QtGlobal>

void ConsoleTest::setUpConsole()
{
    m_folder = std::make_unique<QTemporaryDir>();
    UtKontainer::clear();
    UtKontainer::setStoreFile(m_folder->filePath(QStringLiteral("settings.ini")));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
    UtKontainer::setText(UtKey::Caption, QStringLiteral("Administration Console for Postvane"));
    FMainWindowEx::resetFirstNotice();
}

void ConsoleTest::registerApplicationPages()
{
    MailApplication::registerPageCreators(BPageFactory::instance());
}

void ConsoleTest::tearDownConsole()
{
    delete m_console;
    m_console = nullptr;
    // Whatever a test registered goes with its console.
    BPageFactory &factory = BPageFactory::instance();
    for (int id : factory.sections())
        factory.remove(id);
    factory.setLogCreator({});
    m_server.reset();
    UtKontainer::clear();
    m_folder.reset();
}

bool ConsoleTest::startServer(std::vector<std::string> extraArgs)
{
    m_server = std::make_unique<postdesk::test::DevServerProcess>(std::move(extraArgs));
    // The tests started this server: the console trusts it without a question.
    m_server->trustIn(knownHostsPath().toStdString());
    if (!m_server->start()) {
        qWarning("server: %s", m_server->errorText().c_str());
        return false;
    }
    return true;
}

void ConsoleTest::launchConsole(const QString &host, int port, const QString &user,
                                const QString &password)
{
    UtKontainer::setText(UtKey::Host, host);
    UtKontainer::setInt(UtKey::Port, port);
    UtKontainer::setText(UtKey::User, user);
    UtKontainer::setText(UtKey::Password, password);
    m_console = new FConsole([] { return new FMainWindowEx; },
                             [](FMainWindowEx *window) { return new MailWindow(window); });
    m_console->start(knownHostsPath());
    mainWindow()->show();
}

bool ConsoleTest::launchConsole(const QString &user, const QString &password)
{
    if (!m_server && !startServer())
        return false;
    launchConsole(QString::fromStdString(m_server->host()), m_server->port(), user, password);
    return true;
}

DBConn *ConsoleTest::connection() const
{
    return m_console->connection();
}

FMainWindowEx *ConsoleTest::mainWindow() const
{
    return m_console->mainWindow();
}

FWindow *ConsoleTest::pageArea() const
{
    return m_console->pageArea();
}

bool ConsoleTest::launchConsoleAndWait(const QString &user)
{
    return launchConsole(user, user)
            && QTest::qWaitFor(
                    [this] { return connection()->isConnected() && pageArea()->isInfoLoaded(); },
                    kTimeout);
}

QWidget *ConsoleTest::openSection(int id)
{
    if (!pageArea()->selectSection(id))
        return nullptr;
    QWidget *page = pageArea()->currentPage();
    if (!page || !QTest::qWaitFor([page] { return FPage::isLoaded(page); }, kTimeout))
        return nullptr;
    return page;
}

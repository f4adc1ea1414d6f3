// Measures the console against the development server on loopback and prints
// each figure with a baseline taken in the same run:
//  - start-up to "Ready" (tree built, server information loaded, status "Ready")
//    against a bare connection that logs in and answers one query;
//  - switching between two sections (page built, shown, the old one deleted)
//    against showing a plain label in a widget stack.
// Usage: bench_app_shell [rounds]   (run with QT_QPA_PLATFORM=offscreen if headless)
#include "app/fconsole.h"
#include "app/fmainwindowex.h"
#include "app/fwidgetstatus.h"
#include "app/fwindow.h"
#include "app/mailwindow.h"
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/sectionids.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"

#include "benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

using benchrun::median;
using benchrun::waitFor;

void setSession(const postdesk::test::DevServerProcess &server)
{
    UtKontainer::setText(UtKey::Host, QString::fromStdString(server.host()));
    UtKontainer::setInt(UtKey::Port, server.port());
    UtKontainer::setText(UtKey::User, QStringLiteral("admin"));
    UtKontainer::setText(UtKey::Password, QStringLiteral("admin"));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 10;
    QTemporaryDir folder;
    const QString knownHosts = folder.filePath(QStringLiteral("known_hosts"));
    UtKontainer::setStoreFile(folder.filePath(QStringLiteral("settings.ini")));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
    UtKontainer::setText(UtKey::Caption, QStringLiteral("Administration Console"));

    postdesk::test::DevServerProcess server;
    server.trustIn(knownHosts.toStdString());
    if (!server.start()) {
        std::fprintf(stderr, "server: %s\n", server.errorText().c_str());
        return 1;
    }
    setSession(server);

    QList<double> bare;
    QList<double> console;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        {
            DBConn connection(QString::fromStdString(server.host()), server.port(),
                              QStringLiteral("admin"), QStringLiteral("admin"));
            connection.setKnownHostsPath(knownHosts);
            connection.start();
            DBReq req(QStringLiteral("select dummy from info"));
            if (!connection.execSync(&req)) {
                std::fprintf(stderr, "baseline query failed: %s\n", qPrintable(req.errorText()));
                return 1;
            }
            bare.append(clock.nsecsElapsed() / 1e6);
            connection.stop();
        }

        FMainWindowEx::resetFirstNotice();
        clock.restart();
        auto *session = new FConsole([] { return new FMainWindowEx; },
                                     [](FMainWindowEx *window) { return new MailWindow(window); });
        session->start(knownHosts);
        session->mainWindow()->show();
        const bool ready = waitFor([&] {
            return session->pageArea()->isInfoLoaded()
                    && session->mainWindow()->statusWidget()->messageText()
                    == QLatin1String("Ready");
        });
        console.append(clock.nsecsElapsed() / 1e6);
        delete session;
        if (!ready) {
            std::fprintf(stderr, "the console did not reach Ready\n");
            return 1;
        }
    }
    std::printf("start-up to Ready: console %.1f ms, bare login + one query %.1f ms, ratio %.2f "
                "(median of %d)\n",
                median(console), median(bare), median(console) / median(bare), rounds);

    // Section switching.
    FMainWindowEx::resetFirstNotice();
    auto *session = new FConsole([] { return new FMainWindowEx; },
                                 [](FMainWindowEx *window) { return new MailWindow(window); });
    session->start(knownHosts);
    session->mainWindow()->show();
    if (!waitFor([&] { return session->pageArea()->isInfoLoaded(); }))
        return 1;
    const int switches = rounds * 20;
    QList<double> switching;
    for (int i = 0; i < switches; ++i) {
        QElapsedTimer clock;
        clock.start();
        session->pageArea()->selectSection(i % 2 ? SectionId::Domains : SectionId::Services);
        QCoreApplication::processEvents();
        switching.append(clock.nsecsElapsed() / 1e6);
    }
    delete session;

    QStackedWidget stack;
    stack.show();
    QList<double> plain;
    QWidget *previous = nullptr;
    for (int i = 0; i < switches; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto *label = new QLabel(QStringLiteral("page %1").arg(i), &stack);
        stack.addWidget(label);
        stack.setCurrentWidget(label);
        if (previous) {
            stack.removeWidget(previous);
            previous->deleteLater();
        }
        previous = label;
        QCoreApplication::processEvents();
        plain.append(clock.nsecsElapsed() / 1e6);
    }
    std::printf("section switch: console %.3f ms, plain stacked label %.3f ms, ratio %.1f "
                "(median of %d)\n",
                median(switching), median(plain), median(switching) / median(plain), switches);
    return 0;
}

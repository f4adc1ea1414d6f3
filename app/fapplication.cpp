#include "app/fapplication.h"

#include "app/fconsole.h"
#include "app/fhiddenwindow.h"
#include "app/flocalizedfile.h"
#include "app/fmainwindowex.h"
#include "app/ftour.h"
#include "app/ftrace.h"
#include "app/mailwindow.h"
#include "forms/utqtmessages.h"
#include "registry/settingslocation.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSettings>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>

FApplication::FApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Qt's own messages and the framework's traces join the console's trace.
    UtQtMessages::install();
    restrictPluginFolders();
    const QStringList all = arguments().mid(1);
    for (const QString &argument : all) {
        if (argument.startsWith(QLatin1String("--tour=")))
            m_tourFolder = argument.mid(7);
        else
            m_arguments.append(argument);
    }
    UtKontainer::setObject(UtKey::FApp, this);
    UtKontainer::setBool(UtKey::AdminHasLog, m_arguments.value(1) == QLatin1String("debug"));
    // Scripts and tests point the settings stores to a folder of their own.
    redirectSettingsStoresFromEnvironment();
    UtKontainer::setStorePath(QString::fromLatin1(kOrganisation), QString::fromLatin1(kProductKey),
                              QSettings::SystemScope);
    readPreferences();
    fTrace(QStringLiteral("file=%1").arg(applicationFilePath()));
    fTrace(QStringLiteral("font=%1,%2").arg(font().family()).arg(font().pointSize()));
}

FApplication::~FApplication()
{
    delete m_console;
    delete m_splash;
    UtKontainer::setObject(UtKey::FApp, nullptr);
    UtQtMessages::uninstall();
}

void FApplication::readPreferences()
{
    QSettings store(QSettings::SystemScope, QString::fromLatin1(kOrganisation),
                    QString::fromLatin1(kProductKey));
    UtKontainer::setText(UtKey::PreferredLanguage1,
                         store.value(QStringLiteral("preferredLanguage1")).toString());
    UtKontainer::setText(UtKey::PreferredLanguage2,
                         store.value(QStringLiteral("preferredLanguage2")).toString());
    UtKontainer::setBool(UtKey::ShowSplashScreen,
                         store.value(QStringLiteral("showSplashScreen"), true).toBool());
    UtKontainer::setBool(UtKey::ShowIncorrectQt,
                         store.value(QStringLiteral("showIncorrectQt"), true).toBool());
    const QString description = store.value(QStringLiteral("applicationFont")).toString();
    QFont chosen;
    if (!description.isEmpty() && chosen.fromString(description))
        setFont(chosen);
}

QString FApplication::getText(int) const
{
    return {};
}

QPixmap FApplication::getIcon(int) const
{
    fTrace(QStringLiteral("UtApplicationBase::getIcon() is not reimplemented."));
    return {};
}

bool FApplication::applyLaunchParameters(LaunchMode)
{
    return true;
}

void FApplication::setApplicationTexts() { }

void FApplication::setVersionInfo() { }

FMainWindowEx *FApplication::createMainWindow()
{
    return new FMainWindowEx;
}

FWindow *FApplication::createWindow(FMainWindowEx *mainWindow)
{
    return new MailWindow(mainWindow);
}

QString FApplication::settingsGroup() const
{
    return {};
}

QString FApplication::findTranslation()
{
    FLocalizedFile::Request request;
    request.folders = FLocalizedFile::standardFolders(QStringLiteral("translations"));
    request.baseName
            = QStringLiteral("%1%2%3.")
                      .arg(UtKontainer::getText(UtKey::AppShortName))
                      .arg(UtKontainer::getInt(UtKey::AppMajorVersion))
                      .arg(UtKontainer::getInt(UtKey::AppMinorVersion), 2, 10, QLatin1Char('0'));
    request.extension = QStringLiteral("qm");
    request.language1 = UtKontainer::getText(UtKey::PreferredLanguage1);
    request.language2 = UtKontainer::getText(UtKey::PreferredLanguage2);
    return FLocalizedFile::find(request);
}

void FApplication::loadTranslation()
{
    // A language chosen in the console's own section wins over the general one.
    const QString section
            = settingsGroup().section(QLatin1Char('/'), 0, -1, QString::SectionSkipEmpty);
    if (!section.isEmpty()) {
        const QSettings store(QSettings::SystemScope, QString::fromLatin1(kOrganisation),
                              QString::fromLatin1(kProductKey));
        const QList<QPair<QString, QString>> keys
                = {{QStringLiteral("preferredLanguage1"), UtKey::PreferredLanguage1},
                   {QStringLiteral("preferredLanguage2"), UtKey::PreferredLanguage2}};
        for (const auto &[name, key] : keys) {
            const QString value = store.value(section + QLatin1Char('/') + name).toString();
            if (!value.isEmpty())
                UtKontainer::setText(key, value);
        }
    }
    const QString file = findTranslation();
    if (file.isEmpty() || !m_translator.load(file))
        return;
    installTranslator(&m_translator);
    const QString language = FLocalizedFile::languageOfPath(file);
    UtKontainer::setText(UtKey::AppLanguage, language);
    fTrace(QStringLiteral("translation=%1").arg(file));
    if (loadQtTranslation(m_qtTranslator, language))
        installTranslator(&m_qtTranslator);
}

bool FApplication::loadQtTranslation(QTranslator &translator, const QString &language)
{
    return !language.isEmpty()
            && translator.load(QStringLiteral("qtbase_") + language,
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void FApplication::restrictPluginFolders()
{
    QStringList allowed{QLibraryInfo::path(QLibraryInfo::PluginsPath),
                        QCoreApplication::applicationDirPath()};
    for (const QString &folder :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        allowed.append(folder);
    for (QString &folder : allowed)
        folder = QDir(folder).canonicalPath();
    QStringList kept;
    for (const QString &folder : QCoreApplication::libraryPaths()) {
        const QString canonical = QDir(folder).canonicalPath();
        if (!canonical.isEmpty() && allowed.contains(canonical))
            kept.append(folder);
    }
    QCoreApplication::setLibraryPaths(kept);
    fTrace(QStringLiteral("plugin folders=%1").arg(kept.join(QDir::listSeparator())));
}

int FApplication::splashRemainingMs(qint64 elapsedMs)
{
    return elapsedMs >= 1000 ? 0 : int(1000 - qMax<qint64>(0, elapsedMs));
}

void FApplication::showStartupError(const QString &text)
{
    std::fprintf(stderr, "postdesk: %s\n", qPrintable(text));
    std::fflush(stderr);
    // Scripts and tests that start the console without anyone to click set this.
    if (qEnvironmentVariableIsSet("POSTDESK_NO_MODAL_ERRORS"))
        return;
    QMessageBox::critical(nullptr, tr("Error"), text);
}

int FApplication::run()
{
    setVersionInfo();
    loadTranslation();
    if (UtKontainer::getBool(UtKey::AdminHasLog)) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
        UtDebug::enableTraceInDataFolder(folder);
    }

    m_launchMode = launchModeFromArguments(m_arguments);
    if (!isAcceptedLaunchMode(m_launchMode)) {
        showStartupError(tr("The Administration Console cannot be run on its own."));
        return kExitRefusedLaunchMode;
    }
    if (!applyLaunchParameters(m_launchMode)) {
        showStartupError(tr("Invalid name of host."));
        return kExitHandOverFailed;
    }
    const QString group = settingsGroup();
    if (!group.isEmpty())
        UtKontainer::openGroup(group);

    const bool touring = !m_tourFolder.isEmpty();
    const QPixmap splashPicture = getIcon(3);
    if (!touring && !splashPicture.isNull()
        && UtKontainer::getBool(UtKey::ShowSplashScreen, true)) {
        m_splash = new QSplashScreen(splashPicture);
        m_splash->show();
        m_splashClock.start();
        processEvents();
    }
    setApplicationTexts();
    // Nothing loaded so far may have widened the plugin search again.
    restrictPluginFolders();

    m_console = new FConsole(
            [this] {
                FMainWindowEx *window = createMainWindow();
                window->setWindowIcon(getIcon(1));
                window->setAboutTexts(getText(1), getText(2));
                return window;
            },
            [this](FMainWindowEx *window) { return createWindow(window); });
    m_console->start(qEnvironmentVariable("POSTDESK_KNOWN_HOSTS"));

    // Events run from here on (the splash waits for the window, a failed login
    // opens the connection dialog): the launcher must already be able to close us.
    m_hidden = new FHiddenWindow(m_console->mainWindow(), this);
    if (!m_hidden->listen()) {
        // Said aloud: the launcher will not be able to close this console.
        const QString text = QStringLiteral("the close channel cannot listen (%1); the launcher "
                                            "cannot close this console")
                                     .arg(m_hidden->errorText());
        std::fprintf(stderr, "postdesk: %s\n", qPrintable(text));
        std::fflush(stderr);
        fTrace(text);
    }
    connect(
            m_hidden, &FHiddenWindow::signalCloseAccepted, this,
            [this] {
                // The request may arrive in a nested loop before the main one runs.
                m_closeRequested = true;
                quit();
            },
            Qt::QueuedConnection);

    if (m_splash) {
        QThread::msleep(ulong(splashRemainingMs(m_splashClock.elapsed())));
        // Not finish(): it waits for the main window to be exposed, which never
        // happens when the launcher closed the console meanwhile.
        m_splash->close();
        delete m_splash;
        m_splash = nullptr;
    }
    m_console->mainWindow()->showWithSavedGeometry();
    QIcon icon(getIcon(2));
    icon.addPixmap(getIcon(1));
    m_console->mainWindow()->setWindowIcon(icon);

    m_console->mainWindow()->raise();
    m_console->mainWindow()->activateWindow();

    if (touring) {
        auto *tour = new FTour(m_console, m_tourFolder, this);
        connect(tour, &FTour::signalFinished, this, [](int status) { exit(status); });
        tour->start();
    }

    const int result = m_closeRequested ? 0 : exec();
    delete m_hidden;
    return result;
}

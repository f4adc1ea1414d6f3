#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTranslator>

#include "handover/launchmode.h"

class FConsole;
class FHiddenWindow;
class FMainWindowEx;
class FWindow;
class QIODevice;
class QSplashScreen;

// The application object: reads the preferences, loads the translation, takes
// the launcher's hand-over and runs the console. Product specifics come from
// the virtual hooks that MailApplication overrides.
class FApplication : public QApplication
{
    Q_OBJECT

public:
    // The maker's internet domain: the settings organisation.
    static constexpr const char *kOrganisation = "brantel.example";
    static constexpr const char *kProductKey = "AdminExe";

    FApplication(int &argc, char **argv);
    ~FApplication() override;

    // The start-up sequence; returns the exit status.
    int run();

    // Arguments after the program name, without the console's own options.
    QStringList launchArguments() const { return m_arguments; }
    FConsole *console() const { return m_console; }

    // Texts and pictures by number: texts 1 and 2 are the About box header and
    // notices; pictures 1 and 2 the window icons, 3 the splash screen.
    virtual QString getText(int number) const;
    virtual QPixmap getIcon(int number) const;

    // The translation file for the preferred languages, or empty.
    static QString findTranslation();

    // How long a splash shown elapsedMs ago must still stay (at least 1 s in all).
    // Qt's own texts in the language: standard buttons, key names ("Strg+").
    static bool loadQtTranslation(QTranslator &translator, const QString &language);
    static int splashRemainingMs(qint64 elapsedMs);
    // Keeps only Qt's own plugin folder, the folders named by QT_PLUGIN_PATH and
    // the program's folder on the library path: never the current folder, which
    // someone else may be able to write to.
    static void restrictPluginFolders();

protected:
    virtual bool applyLaunchParameters(LaunchMode mode);
    virtual void setApplicationTexts();
    virtual void setVersionInfo();
    virtual FMainWindowEx *createMainWindow();
    virtual FWindow *createWindow(FMainWindowEx *mainWindow);
    virtual QString settingsGroup() const;

    void showStartupError(const QString &text);

private:
    void readPreferences();
    void loadTranslation();

    QStringList m_arguments;
    QString m_tourFolder;
    LaunchMode m_launchMode = LaunchMode::NoArgument;
    QTranslator m_translator;
    QTranslator m_qtTranslator;
    FConsole *m_console = nullptr;
    QPointer<FHiddenWindow> m_hidden;
    QSplashScreen *m_splash = nullptr;
    QElapsedTimer m_splashClock;
    bool m_closeRequested = false;
};

#pragma once

#include "forms/bmainwindowinterface.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <memory>

class FWidgetStatus;
class FWindowSlot;
class QAction;
class QSettings;

// The console's top-level window: menu bar with the session commands, the
// status bar cells and the About box. Connection handling is added by
// FMainWindowEx.
class FMainWindow : public QMainWindow, public BMainWindowInterface
{
    Q_OBJECT

public:
    static constexpr int kDefaultWidth = 1053;
    static constexpr int kDefaultHeight = 790;
    static constexpr int kMinimumWidth = 640;
    static constexpr int kMinimumHeight = 420;
    static constexpr qsizetype kConnectNewRegionSize = 4096;

    explicit FMainWindow(QWidget *parent = nullptr);
    ~FMainWindow() override;

    FWidgetStatus *statusWidget() const { return m_status; }
    void setAboutTexts(const QString &header, const QString &notices);

    QAction *reconnectAction() const { return m_reconnect; }
    QAction *newConnectionAction() const { return m_newConnection; }
    QAction *quitAction() const { return m_quit; }
    QAction *storeStatisticsAction() const { return m_storeStats; }
    QAction *reportProblemsAction() const { return m_reportProblems; }
    QAction *guideAction() const { return m_guide; }
    QAction *aboutAction() const { return m_about; }

    // The section cell shows the item under the mouse pointer.
    void showSectionHint(const QPixmap &icon, const QString &text);
    // The form framework's view of the window: status text, the current
    // page's menu (shown before "Help", titled by the view menu), and its
    // removal when the page changes.
    void setAnimationText(const QString &text) override;
    void showViewMenu(const BViewMenu *menu) override;
    void refreshSectionMenus() override;
    // The menu of the current page in the menu bar, or null.
    QMenu *viewMenu() const { return m_viewMenu; }

    // Restores the saved geometry (or the default size) and shows the window.
    void showWithSavedGeometry();
    void saveGeometrySettings();

    // Path of the help file for the preferred languages, or empty.
    static QString helpFile();

public slots:
    void slotAnimationLoadingSyn();
    void slotSetAnimationText(const QString &text);
    void slotMenuActivated(int id);
    void slotConnectNew();
    void slotQuit();
    void slotHelp();
    void slotAbout();

    // The text the loading animation shows: the page's own text, or "Loading..."
    // instead of a state text such as "Ready".
    QString loadingText() const;

protected:
    // Status tips go to the section cell: the status bar's own message area has
    // no room beside the permanent cells.
    bool event(QEvent *event) override;
    // The window's inner layout (the splitter) kept with the geometry.
    virtual void restoreLayout(const QSettings &) { }
    virtual void saveLayout(QSettings &) { }

    FWidgetStatus *m_status;

private:
    QAction *addMenuAction(QMenu *menu, const QString &text, const QString &tip, int id);

    QAction *m_reconnect = nullptr;
    QAction *m_newConnection = nullptr;
    QAction *m_quit = nullptr;
    QAction *m_storeStats = nullptr;
    QAction *m_reportProblems = nullptr;
    QAction *m_guide = nullptr;
    QAction *m_about = nullptr;
    QAction *m_helpMenuAction = nullptr;
    QPointer<QMenu> m_viewMenu;
    QString m_aboutHeader;
    QString m_aboutNotices;
    std::unique_ptr<FWindowSlot> m_windowSlot;
};

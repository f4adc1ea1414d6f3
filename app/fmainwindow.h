#pragma once

#include "forms/bmainwindowinterface.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>

class FWidgetStatus;
class QAction;

// The console's top-level window: menu bar with the session commands, the
// status bar cells and the About box. Connection handling is added by
// FMainWindowEx.
class FMainWindow : public QMainWindow, public BMainWindowInterface
{
    Q_OBJECT

public:
    static constexpr int kDefaultWidth = 1053;
    static constexpr int kDefaultHeight = 790;

    explicit FMainWindow(QWidget *parent = nullptr);

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

protected:
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
};

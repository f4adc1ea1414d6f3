#pragma once

#include "forms/bframewindow.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class FMainTree;
class FMainTreeItem;
class FWidgetBottom;
class FWidgetTop;
class QSplitter;
class QStackedWidget;
class QTreeWidgetItem;

// The page area: the navigation tree on the left; on the right the header, the
// page of the selected section and the Apply/Reset bar. Every selection builds
// a fresh page; the page shown before is deleted. The product's tree and page
// factory come from the overrides of a subclass.
//
// Pages of the form framework (BView) are loaded by the page area once they
// are on the stack; their Apply/Reset bar, menu and cross-window messages
// follow from the framework (see showPage).
class FWindow : public BFrameWindow
{
    Q_OBJECT

public:
    static constexpr int kDefaultTreeWidth = 240;
    static constexpr int kMinimumTreeWidth = 140;
    static constexpr int kMinimumPageWidth = 360;

    explicit FWindow(QWidget *parent = nullptr);
    ~FWindow() override;

    // Builds the tree, restores its open folders, selects the product page and
    // starts loading the server information and the log list.
    void initialize();

    FMainTree *tree() const { return m_tree; }
    QWidget *currentPage() const { return m_page; }
    FWidgetTop *header() const { return m_top; }
    FWidgetBottom *bottomBar() const { return m_bottom; }
    QStackedWidget *pageStack() const { return m_stack; }
    QSplitter *splitter() const { return m_splitter; }
    int pagesBuilt() const { return m_pagesBuilt; }
    bool isInfoLoaded() const { return m_infoLoaded; }
    bool areLogsLoaded() const { return m_logsLoaded; }

    // Enables or disables the tree and the page while the session is down.
    void setTreeEnabled(bool enabled);
    void setPageEnabled(bool enabled);

    // The current page saves its edits; false when it could not.
    bool applyPage();
    // The current page drops its edits.
    void resetPage();

    // Reloads the server information and the log list (after a reconnection).
    void reload();
    // Builds the current section's page afresh (after edits were replayed).
    void reloadPage();

    // Selects a section in the tree (which builds its page).
    bool selectSection(int id);

signals:
    // signalApply(bool*) and signalReset() come from BFrameWindow.
    // Server information and log list arrived (or failed).
    void signalInfoLoaded();
    void signalLogsLoaded();

public slots:
    void slotSelectionChanged(FMainTreeItem *item, const QString &text);
    void slotOnItem(FMainTreeItem *item);
    void slotLogsLoaded(const QStringList &names);
    void slotLogsError(const QString &text);
    void slotApplyClicked();
    void slotResetClicked();
    void slotChangesPending(bool changed);

protected:
    // Product hooks.
    virtual void buildTree() = 0;
    virtual QWidget *createPage(int id, QWidget *parent) = 0;
    virtual QWidget *createLogPage(QWidget *parent, const QString &name) = 0;
    virtual FMainTreeItem *addLogFolder(FMainTreeItem *parent, QTreeWidgetItem *after) = 0;
    virtual FMainTreeItem *addLogItem(FMainTreeItem *parent, QTreeWidgetItem *after,
                                      const QString &name)
            = 0;
    virtual QPixmap defaultHeaderPixmap() const = 0;
    virtual void loadData() = 0;

    // Called by the subclass when its server information arrived.
    void markInfoLoaded();
    void loadLogs();
    bool canLeave() const;

private:
    // Widens the tree's pane so that its longest label shows in full.
    void fitTreeWidth();
    QWidget *buildPage(FMainTreeItem *item);
    void showPage(QWidget *page, FMainTreeItem *item);
    // Connects a framework page to the page area and starts its load.
    void startView(QWidget *page, FMainTreeItem *item);
    bool hasPendingOperations() const;

    FMainTree *m_tree;
    FWidgetTop *m_top;
    QStackedWidget *m_stack;
    FWidgetBottom *m_bottom;
    QSplitter *m_splitter;
    QPointer<QWidget> m_page;
    FMainTreeItem *m_pageItem = nullptr;
    int m_pagesBuilt = 0;
    bool m_infoLoaded = false;
    bool m_logsLoaded = false;
    bool m_reverting = false;
};

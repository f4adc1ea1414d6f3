#include "app/fwindow.h"

#include "app/fgotowindow.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fserverquery.h"
#include "app/ftrace.h"
#include "app/fwidgetbottom.h"
#include "app/fwidgettop.h"
#include "app/fwndfolder.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "forms/bview.h"
#include "forms/sectionids.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QApplication>
#include <QMetaMethod>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

FWindow::FWindow(QWidget *parent)
    : BFrameWindow(parent)
    , m_tree(new FMainTree)
    , m_top(new FWidgetTop)
    , m_stack(new QStackedWidget)
    , m_bottom(new FWidgetBottom)
    , m_splitter(new QSplitter(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("FWindow"));
    m_stack->setAccessibleName(tr("Page"));
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(m_top);
    rightLayout->addWidget(m_stack, 1);
    rightLayout->addWidget(m_bottom);
    m_splitter->setObjectName(QStringLiteral("FWindowSplitter"));
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(1, 1);
    // Neither pane may be dragged away to nothing.
    m_splitter->setChildrenCollapsible(false);
    m_tree->setMinimumWidth(kMinimumTreeWidth);
    right->setMinimumWidth(kMinimumPageWidth);
    m_splitter->setSizes({kDefaultTreeWidth, 800});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_bottom->hide();

    m_tree->setCanLeave([this] { return canLeave(); });
    connect(m_tree, &FMainTree::signalSelectionChanged, this, &FWindow::slotSelectionChanged);
    connect(m_tree, &FMainTree::signalOnItem, this, &FWindow::slotOnItem);
    connect(m_bottom, &FWidgetBottom::signalApplyClicked, this, &FWindow::slotApplyClicked);
    connect(m_bottom, &FWidgetBottom::signalResetClicked, this, &FWindow::slotResetClicked);
    if (auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn)) {
        if (DBCtrl *ctrl = connection->transCtrl())
            connect(ctrl, &DBCtrl::signalEmpty, this,
                    [this](bool empty) { slotChangesPending(!empty); });
    }
}

FWindow::~FWindow() = default;

void FWindow::initialize()
{
    m_tree->beginBuild();
    buildTree();
    m_tree->restoreOpenFolders();
    m_tree->selectId(SectionId::ProductInfo);
    fitTreeWidth();
    loadData();
    loadLogs();
}

void FWindow::fitTreeWidth()
{
    // Room for a vertical scroll bar that may appear later as well.
    const QList<int> sizes = m_splitter->sizes();
    const int wanted
            = m_tree->widthForLabels() + m_tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (sizes.size() == 2 && sizes.at(0) < wanted)
        m_splitter->setSizes({wanted, qMax(kMinimumPageWidth, sizes.at(1) - wanted + sizes.at(0))});
}

void FWindow::reload()
{
    loadData();
    loadLogs();
}

void FWindow::reloadPage()
{
    if (!m_pageItem || m_tree->currentTreeItem() != m_pageItem)
        return;
    showPage(buildPage(m_pageItem), m_pageItem);
}

bool FWindow::hasPendingOperations() const
{
    auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
    return connection && connection->transCtrl() && connection->transCtrl()->operationCount() > 0;
}

bool FWindow::canLeave() const
{
    auto *window = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd);
    return !window || window->canLeave();
}

bool FWindow::selectSection(int id)
{
    return m_tree->selectId(id);
}

void FWindow::setTreeEnabled(bool enabled)
{
    m_tree->setEnabled(enabled);
}

void FWindow::setPageEnabled(bool enabled)
{
    m_stack->setEnabled(enabled);
    m_bottom->setEnabled(enabled);
}

bool FWindow::applyPage()
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&BFrameWindow::signalApply))) {
        // No form is listening: the controller sends what it holds.
        auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
        return connection && connection->transCtrl() && connection->transCtrl()->apply();
    }
    bool ok = false;
    emit signalApply(&ok);
    return ok;
}

void FWindow::resetPage()
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&BFrameWindow::signalReset))) {
        auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
        if (connection && connection->transCtrl())
            connection->transCtrl()->clearOperations();
        return;
    }
    emit signalReset();
}

void FWindow::slotApplyClicked()
{
    applyPage();
}

void FWindow::slotResetClicked()
{
    resetPage();
}

void FWindow::slotChangesPending(bool changed)
{
    m_bottom->setChanged(changed);
}

void FWindow::slotOnItem(FMainTreeItem *item)
{
    auto *window = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd);
    if (!window)
        return;
    if (!item || item->description().isEmpty())
        window->showSectionHint(QPixmap(), QString());
    else
        window->showSectionHint(item->icon(0).pixmap(16, 16), item->description());
}

void FWindow::slotSelectionChanged(FMainTreeItem *item, const QString &)
{
    if (!item || m_reverting)
        return;
    if (QApplication::activeModalWidget()) {
        fTrace(QStringLiteral("Qt 'modal dialog' bug in handleItem()."));
        // Keep the tree in step with the page that stays.
        m_reverting = true;
        if (m_pageItem)
            m_tree->setCurrentItem(m_pageItem);
        m_reverting = false;
        return;
    }
    if (auto *window = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd))
        window->refreshSectionMenus();
    QWidget *page = buildPage(item);
    showPage(page, item);
}

QWidget *FWindow::buildPage(FMainTreeItem *item)
{
    QWidget *page = nullptr;
    switch (item->kind()) {
    case FMainTreeItem::Folder: {
        auto *folder = new FWndFolder(item, m_stack);
        connect(folder, &FWndFolder::signalSelectItem, this, &FWindow::selectSection,
                Qt::QueuedConnection);
        folder->load();
        page = folder;
        break;
    }
    case FMainTreeItem::LogFile:
        page = createLogPage(m_stack, item->text(0));
        break;
    default:
        page = createPage(item->id(), m_stack);
        break;
    }
    if (!page)
        page = new QWidget(m_stack);
    ++m_pagesBuilt;
    return page;
}

void FWindow::showPage(QWidget *page, FMainTreeItem *item)
{
    const bool isLog = item->kind() == FMainTreeItem::LogFile;
    m_top->setVisible(!isLog);
    if (!isLog) {
        const QPixmap pixmap = item->pixmap32();
        m_top->setSection(pixmap.isNull() ? defaultHeaderPixmap() : pixmap, item->text(0));
    }
    auto *view = dynamic_cast<BViewInterface *>(page);
    const bool formPage
            = item->kind() != FMainTreeItem::Folder && !isLog && view && view->hasApplyReset();
    m_bottom->setVisible(formPage);
    m_bottom->setChanged(hasPendingOperations());

    QPointer<QWidget> previous = m_page;
    if (previous) {
        // The page that is left answers Apply and Reset no more, even before
        // it is deleted (its tab pages included).
        for (auto *slot : previous->findChildren<bview::BViewSlot *>())
            disconnect(this, nullptr, slot, nullptr);
    }
    m_stack->addWidget(page);
    m_stack->setCurrentWidget(page);
    m_page = page;
    m_pageItem = item;
    if (previous) {
        m_stack->removeWidget(previous);
        previous->deleteLater();
    }
    if (view)
        startView(page, item);
}

void FWindow::startView(QWidget *page, FMainTreeItem *item)
{
    auto *view = dynamic_cast<BViewInterface *>(page);
    if (view->sectionId() < 0)
        view->setSectionId(item->id());
    bview::trace("view shown: %1", page->metaObject()->className());
    // Once the page shows its first data it counts as loaded and takes the
    // messages other pages left for its section.
    connect(view->viewSlot(), &bview::BViewSlot::signalPageReady, page, [page] {
        FPage::setLoaded(page);
        FGotoWindow::instance()->process(page);
    });
    auto *mainWindow = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd);
    if (mainWindow && !view->viewMenu()->isEmpty())
        mainWindow->showViewMenu(view->viewMenu());
    view->load(true);
}

void FWindow::markInfoLoaded()
{
    m_infoLoaded = true;
    emit signalInfoLoaded();
}

void FWindow::loadLogs()
{
    auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
    FServerQuery::run(connection, QStringLiteral("select LogList()"), this,
                      [this](const FQueryResult &result) {
                          if (!result.ok()) {
                              slotLogsError(result.errorText);
                              return;
                          }
                          const int column = result.column(QStringLiteral("Name")) >= 0
                                  ? result.column(QStringLiteral("Name"))
                                  : 0;
                          QStringList names;
                          for (const QStringList &row : result.rows)
                              names.append(row.value(column));
                          slotLogsLoaded(names);
                      });
}

void FWindow::slotLogsLoaded(const QStringList &names)
{
    // After the last child of the open parent, or after the last top-level item.
    FMainTreeItem *parent = m_tree->currentParent();
    QTreeWidgetItem *after = parent
            ? (parent->childCount() > 0 ? parent->child(parent->childCount() - 1) : nullptr)
            : m_tree->topLevelItem(m_tree->topLevelItemCount() - 1);
    const QString key = QString::fromLatin1(FMainTree::kOpenFoldersKey);
    const bool wasOpen = FMainTree::parseOpenFolders(UtKontainer::getText(key, {}, key))
                                 .contains(SectionId::Logs);
    if (FMainTreeItem *old = m_tree->item(SectionId::Logs)) {
        // A reload replaces the log items; their ids are never reused.
        if (m_pageItem && m_pageItem->parent() == old)
            m_pageItem = nullptr;
        m_tree->removeChildren(old);
    }
    FMainTreeItem *logs = addLogFolder(parent, after);
    if (logs) {
        QTreeWidgetItem *previous = nullptr;
        for (const QString &name : names) {
            if (FMainTreeItem *added = addLogItem(logs, previous, name))
                previous = added;
        }
        if (wasOpen)
            logs->setExpanded(true);
    }
    m_logsLoaded = true;
    emit signalLogsLoaded();
}

void FWindow::slotLogsError(const QString &text)
{
    fTrace(QStringLiteral("log list failed: %1").arg(text));
    m_logsLoaded = true;
    emit signalLogsLoaded();
}

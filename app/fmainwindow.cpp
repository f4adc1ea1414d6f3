#include "app/fmainwindow.h"

#include "app/fabout.h"
#include "app/fanimation.h"
#include "app/fdlgnewconnection.h"
#include "app/fimages.h"
#include "app/flocalizedfile.h"
#include "app/ftrace.h"
#include "app/fwidgetstatus.h"
#include "app/fwindowslot.h"
#include "forms/bviewmenu.h"
#include "handover/fstreamcomm.h"
#include "handover/recordregion.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QUrl>

namespace {
enum MenuId { Reconnect = 1, NewConnection, Quit, StoreStatistics, ReportProblems, Guide, About };
} // namespace

FMainWindow::FMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_status(new FWidgetStatus(statusBar()))
{
    setObjectName(QStringLiteral("FMainWindow"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kDefaultWidth, kDefaultHeight);

    QMenu *file = menuBar()->addMenu(tr("&File"));
    m_reconnect
            = addMenuAction(file, tr("Reconnect"),
                            tr("Try to re-establish connection to the current server."), Reconnect);
    m_newConnection = addMenuAction(file, tr("New Connection"), tr("Connect to another bookmark."),
                                    NewConnection);
    m_newConnection->setShortcut(QKeySequence(tr("Ctrl+N")));
    m_newConnection->setIcon(FImages::pixmap(QStringLiteral("f_menunewconnection.png")));
    file->addSeparator();
    m_quit = addMenuAction(file, tr("Quit"), tr("Quit the application."), Quit);
    m_quit->setShortcut(QKeySequence(tr("Ctrl+Q")));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    m_helpMenuAction = help->menuAction();
    m_storeStats = addMenuAction(help, tr("Report Store Statistics..."), {}, StoreStatistics);
    m_reportProblems
            = addMenuAction(help, tr("Comment or Report Problems..."),
                            tr("Comment or report problems with product."), ReportProblems);
    m_reportProblems->setShortcut(QKeySequence(tr("Ctrl+R")));
    m_guide = addMenuAction(help, tr("Administrator's Guide"),
                            tr("Read the administrator's documentation."), Guide);
    m_guide->setIcon(FImages::pixmap(QStringLiteral("f_menuhelp.png")));
    help->addSeparator();
    m_about = addMenuAction(help, tr("About"), {}, About);

    m_reportProblems->setVisible(false);
    m_storeStats->setVisible(UtKontainer::getBool(UtKey::StoreStats));

    connect(m_newConnection, &QAction::triggered, this, &FMainWindow::slotConnectNew);
    connect(m_quit, &QAction::triggered, this, &FMainWindow::slotQuit);
    connect(m_guide, &QAction::triggered, this, &FMainWindow::slotHelp);
    connect(m_about, &QAction::triggered, this, &FMainWindow::slotAbout);
}

FMainWindow::~FMainWindow() = default;

QAction *FMainWindow::addMenuAction(QMenu *menu, const QString &text, const QString &tip, int id)
{
    QAction *action = menu->addAction(text);
    action->setStatusTip(tip);
    connect(action, &QAction::triggered, this, [this, id] { slotMenuActivated(id); });
    return action;
}

void FMainWindow::setAboutTexts(const QString &header, const QString &notices)
{
    m_aboutHeader = header;
    m_aboutNotices = notices;
}

void FMainWindow::showSectionHint(const QPixmap &icon, const QString &text)
{
    m_status->setSection(icon, text);
}

void FMainWindow::slotAnimationLoadingSyn()
{
    m_status->startLoading(loadingText());
}

QString FMainWindow::loadingText() const
{
    const QString current = m_status->messageText();
    return current.isEmpty() || m_status->messageIsState() ? tr("Loading...") : current;
}

bool FMainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        m_status->showTip(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void FMainWindow::slotSetAnimationText(const QString &text)
{
    m_status->setMessage(text);
}

void FMainWindow::setAnimationText(const QString &text)
{
    slotSetAnimationText(text);
}

void FMainWindow::showViewMenu(const BViewMenu *menu)
{
    refreshSectionMenus();
    if (!menu || menu->isEmpty())
        return;
    auto *shown = new QMenu(menu->title(), menuBar());
    shown->setObjectName(QStringLiteral("FViewMenu"));
    shown->addActions(menu->actions());
    menuBar()->insertMenu(m_helpMenuAction, shown);
    m_viewMenu = shown;
    // The page's menu goes with the page.
    connect(menu, &QObject::destroyed, shown, [this, shown] {
        if (m_viewMenu == shown)
            refreshSectionMenus();
    });
    fTrace(QStringLiteral("view menu: %1").arg(menu->title()));
}

void FMainWindow::refreshSectionMenus()
{
    if (m_viewMenu) {
        menuBar()->removeAction(m_viewMenu->menuAction());
        m_viewMenu->deleteLater();
    }
    m_viewMenu = nullptr;
}

void FMainWindow::slotMenuActivated(int id)
{
    const QList<QAction *> actions = {m_reconnect,      m_newConnection, m_quit, m_storeStats,
                                      m_reportProblems, m_guide,         m_about};
    const QString text = id >= 1 && id <= actions.size() ? actions.at(id - 1)->text() : QString();
    fTrace(QStringLiteral("menu change: %1 (%2)").arg(text).arg(id));
}

void FMainWindow::slotConnectNew()
{
    FDlgNewConnection dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ConnectionRecord record = dialog.record();
    RecordRegion region;
    QString error;
    const bool published = RecordRegion::publish(record, kConnectNewRegionSize, &region, &error);
    record.password.fill(QChar(0));
    if (!published) {
        QMessageBox::warning(
                this, UtKontainer::getText(UtKey::Caption),
                tr("The new connection cannot be handed to the launcher: %1").arg(error));
        return;
    }
    FStreamComm::sendConnectNew(region.identifier, region.size);
}

void FMainWindow::slotQuit()
{
    close();
}

QString FMainWindow::helpFile()
{
    FLocalizedFile::Request request;
    request.folders = FLocalizedFile::standardFolders(QStringLiteral("help"));
    request.baseName
            = QStringLiteral("%1%2%3.")
                      .arg(UtKontainer::getText(UtKey::AppShortName))
                      .arg(UtKontainer::getInt(UtKey::AppMajorVersion))
                      .arg(UtKontainer::getInt(UtKey::AppMinorVersion), 2, 10, QLatin1Char('0'));
    request.extension = QStringLiteral("chm");
    request.language1 = UtKontainer::getText(UtKey::PreferredLanguage1);
    request.language2 = UtKontainer::getText(UtKey::PreferredLanguage2);
    request.englishFallback = true;
    return FLocalizedFile::find(request);
}

void FMainWindow::slotHelp()
{
    const QString file = helpFile();
    if (file.isEmpty()) {
        QMessageBox::information(
                this, UtKontainer::getText(UtKey::Caption),
                tr("The Administrator's Guide is not installed. It is looked for in these "
                   "folders:\n%1")
                        .arg(FLocalizedFile::standardFolders(QStringLiteral("help"))
                                     .join(QLatin1Char('\n'))));
        return;
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    QApplication::restoreOverrideCursor();
}

void FMainWindow::slotAbout()
{
    FAbout about(m_aboutHeader, m_aboutNotices, this);
    about.exec();
}

void FMainWindow::showWithSavedGeometry()
{
    if (QSettings *store = UtKontainer::store()) {
        const QByteArray saved = store->value(QStringLiteral("MainWindow/geometry")).toByteArray();
        if (!saved.isEmpty())
            restoreGeometry(saved);
        restoreLayout(*store);
    }
    // A second console opens offset from the first, not exactly over it.
    if (!m_windowSlot)
        m_windowSlot = std::make_unique<FWindowSlot>();
    if (const int offset = m_windowSlot->offset())
        move(pos() + QPoint(offset, offset));
    show();
}

void FMainWindow::saveGeometrySettings()
{
    if (QSettings *store = UtKontainer::store()) {
        store->setValue(QStringLiteral("MainWindow/geometry"), saveGeometry());
        saveLayout(*store);
    }
}

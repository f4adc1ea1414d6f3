#include "app/fmainwindowex.h"

#include "app/fmessagebox.h"

#include "app/fconsole.h"
#include "app/fdlgconnect.h"
#include "app/fmaintree.h"
#include "app/fwidgetstatus.h"
#include "app/fwindow.h"
#include "db/dbctrl.h"
#include "handover/fstreamcomm.h"
#include "lumadb/lumadb.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>

namespace {
bool g_firstNotice = true;
} // namespace

FMainWindowEx::FMainWindowEx(QWidget *parent)
    : FMainWindow(parent)
{
    connect(reconnectAction(), &QAction::triggered, this, &FMainWindowEx::slotReconnect);
}

void FMainWindowEx::resetFirstNotice()
{
    g_firstNotice = true;
}

DBConn *FMainWindowEx::connection() const
{
    return UtKontainer::objectAs<DBConn>(UtKey::DBConn);
}

FWindow *FMainWindowEx::pageArea() const
{
    return UtKontainer::objectAs<FWindow>(UtKey::FWindow);
}

bool FMainWindowEx::hasPendingOperations() const
{
    DBConn *conn = connection();
    return conn && conn->transCtrl() && conn->transCtrl()->operationCount() > 0;
}

QString FMainWindowEx::caption() const
{
    return UtKontainer::getText(UtKey::Caption);
}

QString FMainWindowEx::hostAndPort() const
{
    return UtKontainer::getText(UtKey::Host) + QLatin1Char(':')
            + QString::number(UtKontainer::getInt(UtKey::Port));
}

QString FMainWindowEx::serverLabel(const QString &host, int port, const QString &user)
{
    QString label = host;
    if (port != LUMADB_DEFAULT_PORT)
        label += QLatin1Char(':') + QString::number(port);
    if (!user.isEmpty() && user != QLatin1String(kDefaultUser))
        label.prepend(user + QLatin1Char('@'));
    return label;
}

QString FMainWindowEx::serverLabel() const
{
    return serverLabel(UtKontainer::getText(UtKey::Host),
                       UtKontainer::getInt(UtKey::Port, LUMADB_DEFAULT_PORT),
                       UtKontainer::getText(UtKey::User));
}

void FMainWindowEx::updateStatusMessage()
{
    DBConn *conn = connection();
    const bool connected = conn && conn->isConnected();
    if (conn && conn->state() == DBConn::Working)
        m_status->startLoading(tr("Loading..."));
    else
        m_status->setStateMessage(connected ? tr("Ready") : tr("Not Connected"));
}

void FMainWindowEx::slotReconnect()
{
    showConnectionDialog(hasPendingOperations());
}

void FMainWindowEx::showConnectionDialog(bool showError)
{
    DBConn *conn = connection();
    if (!conn || conn->isConnected())
        return;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && qobject_cast<QMessageBox *>(window))
            return;
    }
    for (QWidget *window : windows) {
        if (window->isVisible() && window->isModal() && qobject_cast<QDialog *>(window)) {
            FMessageBox::critical(this, caption(), conn->lastErrorText());
            return;
        }
    }
    // An unknown or changed server certificate always needs the administrator's decision, and
    // a refused login a new password: retrying the stored one cannot help.
    const bool loginRefused = FDlgConnect::loginRefused(conn);
    if (!showError && !conn->needsTrustDecision() && !loginRefused) {
        if (m_console)
            m_console->reconnect();
        return;
    }
    FDlgConnect dialog(this, m_status, true);
    dialog.exec();
}

void FMainWindowEx::slotConnectionStateChanged(DBConn::StateEnum state)
{
    // The launcher learns whether the login worked (and reports it).
    if (state == DBConn::Connected && !m_loginReported) {
        m_loginReported = true;
        FStreamComm::sendStatus(FStreamComm::Connected);
    } else if (state == DBConn::Disconnected && m_previousState == DBConn::Connecting) {
        FStreamComm::sendStatus(FStreamComm::ConnectionFailed);
    }
    m_previousState = state;

    if (state != DBConn::Connecting)
        m_status->stopAnimation();
    m_status->setState(state);
    DBConn *conn = connection();
    FWindow *area = pageArea();

    switch (state) {
    case DBConn::Disconnected: {
        setWindowTitle(tr("Not connected - ") + serverLabel() + QStringLiteral(" - ") + caption());
        m_status->setServer(hostAndPort(), false);
        if (area) {
            area->setTreeEnabled(false);
            area->setPageEnabled(false);
        }
        if (g_firstNotice) {
            g_firstNotice = false;
            return;
        }
        updateStatusMessage();
        if (m_dialogOnNextLoss || (conn && conn->needsTrustDecision())
            || FDlgConnect::loginRefused(conn)) {
            // An unknown or changed certificate or a refused login needs the
            // administrator in the dialog.
            m_dialogOnNextLoss = false;
            showConnectionDialog(true);
        } else if (m_console && m_console->isReconnecting()) {
            FMessageBox::critical(this, caption(),
                                  tr("Connection failed: ")
                                          + (conn ? conn->lastErrorText() : QString()));
        }
        reconnectAction()->setEnabled(true);
        refreshSectionMenus();
        break;
    }
    case DBConn::Connecting:
        // A session is being opened: whatever Disconnected follows is a real loss.
        g_firstNotice = false;
        reconnectAction()->setEnabled(false);
        m_status->startConnecting(tr("Connecting..."));
        break;
    case DBConn::Connected: {
        g_firstNotice = false;
        const QString host = UtKontainer::getText(UtKey::Host);
        setWindowTitle(QStringLiteral("%1 - %2").arg(
                host.isEmpty() ? tr("Connecting") : serverLabel(), caption()));
        m_status->setServer(hostAndPort(), true);
        m_status->setUser(UtKontainer::getText(UtKey::User), conn && !conn->mayModify());
        if (area)
            area->setPageEnabled(true);
        if (m_console && m_console->isReconnecting()) {
            m_console->setReconnecting(false);
            DBCtrl *ctrl = conn ? conn->transCtrl() : nullptr;
            bool replayed = false;
            if (ctrl && !ctrl->undoList().isEmpty()) {
                QApplication::setOverrideCursor(Qt::BusyCursor);
                const bool applied = ctrl->apply(true);
                QApplication::restoreOverrideCursor();
                if (!applied && conn->isConnected())
                    FMessageBox::warning(this, caption(), ctrl->errorText());
                replayed = true;
            }
            if (area) {
                area->reload();
                // The page's tables still hold the edits as unsent changes:
                // a fresh page shows what the server now holds.
                if (replayed)
                    area->reloadPage();
            }
        }
        slotInfoLoaded();
        m_dialogOnNextLoss = true;
        updateStatusMessage();
        reconnectAction()->setEnabled(false);
        break;
    }
    case DBConn::Working:
        m_status->startLoading(loadingText());
        break;
    }
}

void FMainWindowEx::slotInfoLoaded()
{
    FWindow *area = pageArea();
    DBConn *conn = connection();
    if (area && area->isInfoLoaded() && conn && conn->isConnected() && !area->tree()->isEnabled()) {
        area->setTreeEnabled(true);
        area->tree()->setFocus();
    }
}

int FMainWindowEx::askToSave(QWidget *parent, bool isDialog)
{
    DBConn *conn = connection();
    if (isDialog && (!conn || !conn->isConnected()))
        return No;
    QMessageBox box(
            QMessageBox::Warning, caption(),
            isDialog ? tr("<nobr>You have modified data on this dialog.<br>Do you want to save "
                          "changes?</nobr>")
                     : tr("<nobr>You have modified data on this view.<br>Do you want to save "
                          "changes?</nobr>"),
            QMessageBox::NoButton, parent ? parent : this);
    box.setObjectName(QStringLiteral("FSaveQuestion"));
    QPushButton *yes = box.addButton(tr("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(tr("&No"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(tr("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (conn && !conn->isConnected())
        FMessageBox::critical(this, caption(), conn->lastErrorText());
    if (box.clickedButton() == yes)
        return Yes;
    if (box.clickedButton() == no)
        return No;
    return Cancel;
}

bool FMainWindowEx::canLeave()
{
    FWindow *area = pageArea();
    if (hasPendingOperations()) {
        switch (askToSave(this, false)) {
        case Cancel:
            return false;
        case Yes:
            if (!area || !area->applyPage())
                return false;
            break;
        default:
            if (area)
                area->resetPage();
            break;
        }
    }
    DBConn *conn = connection();
    return conn && conn->isConnected();
}

namespace {
const QString kSplitterKey = QStringLiteral("MainWindow/splitter");
} // namespace

void FMainWindowEx::restoreLayout(const QSettings &store)
{
    FWindow *area = pageArea();
    const QByteArray saved = store.value(kSplitterKey).toByteArray();
    if (area && !saved.isEmpty())
        area->splitter()->restoreState(saved);
}

void FMainWindowEx::saveLayout(QSettings &store)
{
    if (FWindow *area = pageArea())
        store.setValue(kSplitterKey, area->splitter()->saveState());
}

void FMainWindowEx::closeEvent(QCloseEvent *event)
{
    if (hasPendingOperations()) {
        const int answer = askToSave(this, false);
        FWindow *area = pageArea();
        if (answer == Cancel || (answer == Yes && (!area || !area->applyPage()))) {
            event->ignore();
            return;
        }
        if (answer == No && area)
            area->resetPage();
    }
    saveGeometrySettings();
    event->accept();
}

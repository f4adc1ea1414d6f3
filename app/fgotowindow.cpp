#include "app/fgotowindow.h"

#include "app/fmainwindowex.h"
#include "app/ftrace.h"
#include "app/fwindow.h"
#include "forms/bview.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QTabWidget>
#include <QWidget>

FGotoWindow *FGotoWindow::instance()
{
    // Lives as long as the application object that owns it.
    static QPointer<FGotoWindow> window;
    if (!window) {
        window = new FGotoWindow;
        window->setParent(QCoreApplication::instance());
    }
    return window;
}

FGotoWindow::FGotoWindow()
{
    m_blinkTimer.setInterval(kBlinkPeriodMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, &FGotoWindow::slotBlink);
}

void FGotoWindow::setNavigator(std::function<bool()> canLeave, std::function<bool(int)> select)
{
    m_canLeave = std::move(canLeave);
    m_select = std::move(select);
}

void FGotoWindow::addMessage(int sectionId, int kind, MessageBase *message)
{
    m_queue.push_back(Event{sectionId, kind, std::unique_ptr<MessageBase>(message)});
}

void FGotoWindow::clear()
{
    m_queue.clear();
}

void FGotoWindow::dropFirst()
{
    if (!m_queue.empty())
        m_queue.erase(m_queue.begin());
}

void FGotoWindow::go()
{
    if (m_queue.empty())
        return;
    bool mayLeave = false;
    if (m_canLeave) {
        mayLeave = m_canLeave();
    } else if (auto *window = UtKontainer::objectAs<FMainWindowEx>(UtKey::FMainWnd)) {
        mayLeave = window->canLeave();
    }
    if (!mayLeave) {
        clear();
        return;
    }
    const int target = m_queue.front().sectionId;
    if (m_select) {
        m_select(target);
    } else if (auto *area = UtKontainer::objectAs<FWindow>(UtKey::FWindow)) {
        area->selectSection(target);
    }
}

bool FGotoWindow::process(QWidget *page, int sectionId)
{
    bool addressed = false;
    while (!m_queue.empty()) {
        // Take the event out first: a run-code slot may queue further messages.
        Event event = std::move(m_queue.front());
        m_queue.erase(m_queue.begin());
        if (event.sectionId == sectionId && page) {
            addressed = true;
            carryOut(page, event);
        }
    }
    return addressed;
}

bool FGotoWindow::process(QWidget *page)
{
    const auto *view = dynamic_cast<const BViewInterface *>(page);
    return process(page, view ? view->sectionId() : -1);
}

QWidget *FGotoWindow::uniqueChild(QWidget *root, const QString &name)
{
    const QList<QWidget *> found = root->findChildren<QWidget *>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

void FGotoWindow::carryOut(QWidget *page, const Event &event)
{
    switch (event.kind) {
    case SelectTab: {
        const auto *message = static_cast<const Message_01_SelectTab *>(event.message.get());
        const QList<QTabWidget *> tabs = page->findChildren<QTabWidget *>(message->tabWidgetName);
        if (tabs.size() != 1)
            return;
        QWidget *target = nullptr;
        int matches = 0;
        for (int i = 0; i < tabs.first()->count(); ++i) {
            if (tabs.first()->widget(i)->objectName() == message->pageName) {
                target = tabs.first()->widget(i);
                ++matches;
            }
        }
        if (matches == 1)
            tabs.first()->setCurrentWidget(target);
        break;
    }
    case SetFocus: {
        const auto *message = static_cast<const Message_02_SetFocus *>(event.message.get());
        if (QWidget *widget = uniqueChild(page, message->widgetName))
            widget->setFocus();
        break;
    }
    case Blink: {
        const auto *message = static_cast<const Message_03_Blink *>(event.message.get());
        if (QWidget *widget = uniqueChild(page, message->widgetName)) {
            if (m_blinkWidget && m_blinkTimer.isActive()) {
                m_blinkWidget->setPalette(m_blinkPalette);
                m_blinkWidget->setAutoFillBackground(m_blinkAutoFill);
            }
            m_blinkWidget = widget;
            m_blinkPalette = widget->palette();
            m_blinkAutoFill = widget->autoFillBackground();
            m_blinkCount = 0;
            m_blinkTimer.start();
        }
        break;
    }
    case RunCodeVoid:
        runCode(page, SIGNAL(signalRunCodeVoid()),
                static_cast<const Message_20_RunCodeVoid *>(event.message.get())->slotSignature);
        emit signalRunCodeVoid();
        break;
    case RunCodeInt: {
        const auto *message = static_cast<const Message_21_RunCodeInt *>(event.message.get());
        runCode(page, SIGNAL(signalRunCodeInt(int)), message->slotSignature);
        emit signalRunCodeInt(message->value);
        break;
    }
    case RunCodeStr: {
        const auto *message = static_cast<const Message_22_RunCodeStr *>(event.message.get());
        runCode(page, SIGNAL(signalRunCodeStr(QString)), message->slotSignature);
        emit signalRunCodeStr(message->value);
        break;
    }
    default:
        fTrace(QStringLiteral("goto window: unknown message kind %1").arg(event.kind));
        break;
    }
}

void FGotoWindow::runCode(QWidget *page, const char *signal, const QString &slotSignature)
{
    // Only the page that is current receives the call: earlier connections go.
    disconnect(this, signal, nullptr, nullptr);
    const QByteArray normalized = QMetaObject::normalizedSignature(slotSignature.toLatin1());
    const int index = page->metaObject()->indexOfSlot(normalized.constData());
    if (index < 0) {
        fTrace(QStringLiteral("goto window: no slot %1").arg(slotSignature));
        return;
    }
    const QByteArray slot = QByteArray::number(QSLOT_CODE) + normalized;
    connect(this, signal, page, slot.constData());
}

void FGotoWindow::slotBlink()
{
    ++m_blinkCount;
    if (m_blinkWidget) {
        if (m_blinkCount % 2 == 1) {
            QPalette highlighted = m_blinkPalette;
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
                highlighted.setColor(role, m_blinkPalette.color(QPalette::Highlight));
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                highlighted.setColor(role, m_blinkPalette.color(QPalette::HighlightedText));
            m_blinkWidget->setAutoFillBackground(true);
            m_blinkWidget->setPalette(highlighted);
        } else {
            m_blinkWidget->setPalette(m_blinkPalette);
            m_blinkWidget->setAutoFillBackground(m_blinkAutoFill);
        }
        m_blinkWidget->repaint();
    }
    if (m_blinkCount > 1)
        m_blinkTimer.stop();
}

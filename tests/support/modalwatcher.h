#pragma once

#include <QApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace postdesk::test {

// Runs a handler on the next modal window that opens (from inside its own event
// loop, which is where a test must answer a modal dialog or box).
class ModalWatcher : public QObject
{
public:
    using Handler = std::function<void(QWidget *)>;

    void expect(Handler handler)
    {
        m_handlers.append(std::move(handler));
        if (!m_timer) {
            m_timer = new QTimer(this);
            m_timer->setInterval(50);
            connect(m_timer, &QTimer::timeout, this, [this] { poll(); });
            m_timer->start();
        }
    }
    int pending() const { return int(m_handlers.size()); }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || m_handlers.isEmpty() || !modal->isVisible())
            return;
        m_last = modal;
        Handler handler = m_handlers.takeFirst();
        handler(modal);
    }

    QList<Handler> m_handlers;
    QTimer *m_timer = nullptr;
    QPointer<QWidget> m_last;
};

} // namespace postdesk::test

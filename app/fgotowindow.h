#pragma once

#include <QList>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;

// The process-wide queue of messages to another section: a page queues
// messages addressed to a section id and asks to go there; the page built for
// that section takes the messages addressed to it and carries them out
// (select a tab, move the focus, blink a field, call one of its slots).
class FGotoWindow : public QObject
{
    Q_OBJECT

public:
    enum Kind {
        SelectTab = 1,
        SetFocus = 2,
        Blink = 3,
        RunCodeVoid = 20,
        RunCodeInt = 21,
        RunCodeStr = 22
    };

    struct MessageBase
    {
        virtual ~MessageBase() = default;
    };
    struct Message_01_SelectTab : MessageBase
    {
        Message_01_SelectTab(QString tab, QString page)
            : tabWidgetName(std::move(tab))
            , pageName(std::move(page))
        { }
        QString tabWidgetName;
        QString pageName;
    };
    struct Message_02_SetFocus : MessageBase
    {
        explicit Message_02_SetFocus(QString widget)
            : widgetName(std::move(widget))
        { }
        QString widgetName;
    };
    struct Message_03_Blink : MessageBase
    {
        explicit Message_03_Blink(QString widget)
            : widgetName(std::move(widget))
        { }
        QString widgetName;
    };
    struct Message_20_RunCodeVoid : MessageBase
    {
        explicit Message_20_RunCodeVoid(QString slot)
            : slotSignature(std::move(slot))
        { }
        QString slotSignature;
    };
    struct Message_21_RunCodeInt : MessageBase
    {
        Message_21_RunCodeInt(QString slot, int v)
            : slotSignature(std::move(slot))
            , value(v)
        { }
        QString slotSignature;
        int value;
    };
    struct Message_22_RunCodeStr : MessageBase
    {
        Message_22_RunCodeStr(QString slot, QString v)
            : slotSignature(std::move(slot))
            , value(std::move(v))
        { }
        QString slotSignature;
        QString value;
    };

    static constexpr int kBlinkPeriodMs = 1000;

    static FGotoWindow *instance();

    // Queues a message; the queue owns it.
    void addMessage(int sectionId, int kind, MessageBase *message);
    // Navigates to the first message's section, or clears the queue when the
    // current page may not be left.
    void go();
    // Carries out and removes the queued messages; true when at least one was
    // addressed to the page's section.
    bool process(QWidget *page, int sectionId);
    // The same for a page of the form framework, which reports its own section.
    bool process(QWidget *page);
    void dropFirst();
    int queuedCount() const { return int(m_queue.size()); }
    void clear();

    // How go() asks to leave and selects a section; by default through the
    // main window and the page area.
    void setNavigator(std::function<bool()> canLeave, std::function<bool(int)> select);

    bool isBlinking() const { return m_blinkTimer.isActive(); }
    QWidget *blinkWidget() const { return m_blinkWidget; }

signals:
    void signalRunCodeVoid();
    void signalRunCodeInt(int value);
    void signalRunCodeStr(const QString &value);

public slots:
    void slotBlink();

private:
    struct Event
    {
        int sectionId;
        int kind;
        std::unique_ptr<MessageBase> message;
    };

    FGotoWindow();
    void carryOut(QWidget *page, const Event &event);
    void runCode(QWidget *page, const char *signal, const QString &slotSignature);
    static QWidget *uniqueChild(QWidget *root, const QString &name);

    std::vector<Event> m_queue;
    QTimer m_blinkTimer;
    QPointer<QWidget> m_blinkWidget;
    QPalette m_blinkPalette;
    bool m_blinkAutoFill = false;
    int m_blinkCount = 0;
    std::function<bool()> m_canLeave;
    std::function<bool(int)> m_select;
};

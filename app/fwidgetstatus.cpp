#include "app/fwidgetstatus.h"

#include "app/fanimation.h"
#include "app/fimages.h"

#include <QHBoxLayout>
#include <QStatusBar>

FWidgetStatus::FWidgetStatus(QStatusBar *bar)
    : QObject(bar)
{
    bar->addPermanentWidget(cell(bar, tr("Section"), m_sectionIcon, m_sectionText, 100), 1);
    bar->addPermanentWidget(cell(bar, tr("Server"), m_serverIcon, m_serverText, 0));
    bar->addPermanentWidget(cell(bar, tr("User"), m_userIcon, m_userText, 0));
    bar->addPermanentWidget(cell(bar, tr("Status"), m_messageIcon, m_messageText, 100));
    refreshSection();
    m_serverIcon->setPixmap(FImages::pixmap(QStringLiteral("f_statusnotconnected.png")));
    m_serverIcon->setAccessibleName(tr("Not connected"));
    m_messageIcon->setPixmap(FImages::pixmap(QStringLiteral("f_statusnotloaded.png")));
    m_messageText->setText(tr("Not Connected"));
    // Tips and descriptions can be long: the section cell takes the room there
    // is and never widens the window.
    m_sectionText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_loading = new FAnimation(m_messageIcon, QStringLiteral("f_statusloading"), 6, 200, this);
    m_connecting
            = new FAnimation(m_messageIcon, QStringLiteral("f_statusconnecting"), 4, 150, this);
}

QWidget *FWidgetStatus::cell(QStatusBar *bar, const QString &name, QLabel *&icon, QLabel *&text,
                             int minimumWidth)
{
    auto *box = new QWidget(bar);
    box->setAccessibleName(name);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    icon = new QLabel(box);
    icon->setFixedSize(16, 16);
    text = new QLabel(box);
    // Host, user and messages may hold anything: never rich text.
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(icon);
    layout->addWidget(text, 1);
    if (minimumWidth > 0)
        box->setMinimumWidth(minimumWidth);
    return box;
}

void FWidgetStatus::setSection(const QPixmap &icon, const QString &text)
{
    m_hovered = true;
    m_hoverIcon = icon;
    m_hoverText = text;
    refreshSection();
}

void FWidgetStatus::showTip(const QString &tip)
{
    m_tip = tip;
    refreshSection();
}

void FWidgetStatus::refreshSection()
{
    static const QPixmap treeIcon = FImages::pixmap(QStringLiteral("f_statustree.png"));
    if (!m_tip.isEmpty()) {
        m_sectionIcon->setPixmap(treeIcon);
        m_sectionText->setText(m_tip);
    } else if (m_hovered) {
        m_sectionIcon->setPixmap(m_hoverIcon);
        m_sectionText->setText(m_hoverText);
    } else {
        m_sectionIcon->setPixmap(treeIcon);
        m_sectionText->setText(m_state == DBConn::Connected ? tr("Ready.") : QString());
    }
}

void FWidgetStatus::setServer(const QString &hostAndPort, bool connected)
{
    m_serverText->setText(hostAndPort);
    m_serverIcon->setPixmap(FImages::pixmap(connected
                                                    ? QStringLiteral("f_statusconnected.png")
                                                    : QStringLiteral("f_statusnotconnected.png")));
    m_serverIcon->setAccessibleName(connected ? tr("Connected") : tr("Not connected"));
}

void FWidgetStatus::setUser(const QString &user, bool readOnly)
{
    m_userText->setText(readOnly ? user + QLatin1Char(' ') + tr("(read only)") : user);
    m_userIcon->setPixmap(FImages::pixmap(readOnly ? QStringLiteral("f_statususerreadonly.png")
                                                   : QStringLiteral("f_statususer.png")));
}

void FWidgetStatus::setState(DBConn::StateEnum state)
{
    m_state = state;
    refreshSection();
    const bool connected = state == DBConn::Connected || state == DBConn::Working;
    m_serverIcon->setPixmap(FImages::pixmap(connected
                                                    ? QStringLiteral("f_statusconnected.png")
                                                    : QStringLiteral("f_statusnotconnected.png")));
    if (!isAnimating()) {
        m_messageIcon->setPixmap(
                FImages::pixmap(connected ? QStringLiteral("f_statusloaded.png")
                                          : QStringLiteral("f_statusnotloaded.png")));
    }
}

void FWidgetStatus::setMessage(const QString &text)
{
    m_messageIsState = false;
    m_messageText->setText(text);
}

void FWidgetStatus::setStateMessage(const QString &text)
{
    m_messageIsState = true;
    m_messageText->setText(text);
}

void FWidgetStatus::startLoading(const QString &text)
{
    m_connecting->stop();
    setMessage(text);
    m_loading->start();
}

void FWidgetStatus::startConnecting(const QString &text)
{
    m_loading->stop();
    setStateMessage(text);
    m_connecting->start();
}

void FWidgetStatus::stopAnimation()
{
    m_loading->stop();
    m_connecting->stop();
}

bool FWidgetStatus::isAnimating() const
{
    return m_loading->isRunning() || m_connecting->isRunning();
}

#pragma once

#include <QLabel>
#include <QWidget>

#include "db/dbconn.h"

class FAnimation;
class QStatusBar;

// The four permanent cells of the status bar: section (item under the mouse),
// server (host:port with the connection picture), user and message.
class FWidgetStatus : public QObject
{
    Q_OBJECT

public:
    explicit FWidgetStatus(QStatusBar *bar);

    // The item under the mouse pointer (empty text: none).
    void setSection(const QPixmap &icon, const QString &text);
    // A menu entry's status tip, shown in the section cell while it is not empty.
    void showTip(const QString &tip);
    void setServer(const QString &hostAndPort, bool connected);
    // The user name; a user without the modify right is marked read-only.
    void setUser(const QString &user, bool readOnly);
    void setState(DBConn::StateEnum state);

    // The message cell. While loading, the loading animation runs with the text.
    void setMessage(const QString &text);
    // A text that states the session's state ("Ready", "Not Connected"): the
    // loading animation replaces it rather than running beside it.
    void setStateMessage(const QString &text);
    bool messageIsState() const { return m_messageIsState; }
    void startLoading(const QString &text);
    void startConnecting(const QString &text);
    void stopAnimation();
    bool isAnimating() const;

    QString sectionText() const { return m_sectionText->text(); }
    QString serverText() const { return m_serverText->text(); }
    QString userText() const { return m_userText->text(); }
    QString messageText() const { return m_messageText->text(); }
    FAnimation *loadingAnimation() const { return m_loading; }
    FAnimation *connectingAnimation() const { return m_connecting; }

private:
    // The section cell shows the tip, else the item under the pointer, else
    // "Ready." until the pointer first meets the tree, and only while the
    // session is idle: it never contradicts the message cell.
    void refreshSection();
    // One cell: a picture and a text, named for screen readers.
    QWidget *cell(QStatusBar *bar, const QString &name, QLabel *&icon, QLabel *&text,
                  int minimumWidth);

    QLabel *m_sectionIcon = nullptr;
    QLabel *m_sectionText = nullptr;
    QLabel *m_serverIcon = nullptr;
    QLabel *m_serverText = nullptr;
    QLabel *m_userIcon = nullptr;
    QLabel *m_userText = nullptr;
    QLabel *m_messageIcon = nullptr;
    QLabel *m_messageText = nullptr;
    FAnimation *m_loading = nullptr;
    FAnimation *m_connecting = nullptr;
    QPixmap m_hoverIcon;
    QString m_hoverText;
    QString m_tip;
    bool m_hovered = false;
    bool m_messageIsState = true;
    DBConn::StateEnum m_state = DBConn::Disconnected;
};

#pragma once

#include <QObject>
#include <QPointer>

class QLocalServer;
class QLocalSocket;
class QWidget;

// The console's close channel for its launcher: a local socket named
// "BrantelAdminHiddenV6." followed by the console's process id, owner-only, in
// a folder only this user can enter (handover/closechannel.h).
// A client that writes the line "close" asks the console to close its main
// window; the console answers "closed" when the window closed (and then ends
// its event loop) or "refused" when the administrator kept it open.
class FHiddenWindow : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kClassName = "BrantelAdminHiddenV6";

    // The channel name of the console with this process id.
    static QString channelName(qint64 processId);

    explicit FHiddenWindow(QWidget *target, QObject *parent = nullptr);
    ~FHiddenWindow() override;

    // Starts listening under the name of this process; false when there is no
    // private folder for it or the name cannot be taken (errorText() says why).
    bool listen();
    QString name() const;
    QString errorText() const { return m_error; }

signals:
    // A close request was carried out; the event loop should end.
    void signalCloseAccepted();

private slots:
    void slotNewConnection();

private:
    void handleRequest(QLocalSocket *client);

    QPointer<QWidget> m_target;
    QLocalServer *m_server;
    QString m_error;
};

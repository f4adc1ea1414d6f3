#pragma once

#include <QWidget>

class QLabel;
struct FQueryResult;

// The page of the tree's root: what an administrator wants to see first about
// the server: version and operating system, uptime, the connected user and
// rights, storage, and the numbers of domains and users. It loads again by
// itself when the session comes back after a load that failed.
class ProductInfoWnd : public QWidget
{
    Q_OBJECT

public:
    explicit ProductInfoWnd(QWidget *parent = nullptr);

    void load();

    // "3 days, 04:05:06" for a number of seconds.
    static QString uptimeText(qint64 seconds);
    // The operating system for the server's "OsCode".
    static QString osText(qint64 osCode);

    // The text shown for a field.
    QString valueText(const QString &field) const;

private:
    QLabel *addRow(const QString &field, const QString &label);
    // Shows why the values are missing (once per load).
    void showFailure(const QString &error);
    void showInfo(const FQueryResult &result);
    void showCount(QLabel *label, const FQueryResult &result);
    void answerArrived();
    // A session that comes back refreshes what a lost one left as errors.
    void slotConnectionStateChanged(int state);

    class QFormLayout *m_form;
    QLabel *m_version;
    QLabel *m_os;
    QLabel *m_uptime;
    QLabel *m_user;
    QLabel *m_rights;
    QLabel *m_storage;
    QLabel *m_domains;
    // The reason the values are missing, wrapped below them: a long server
    // text must not widen the window.
    QLabel *m_error = nullptr;
    QLabel *m_users;
    int m_pending = 0;
    // An answer of the last load was an error.
    bool m_stale = false;
    // The session came back while answers were still outstanding.
    bool m_reloadWhenAnswered = false;
    // The session was down since the last Connected notice.
    bool m_sessionLost = false;
};

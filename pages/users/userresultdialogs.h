#pragma once

#include "forms/bdialog.h"

#include <QDialog>

#include <memory>

class BListView;
class DBTable;
class QLabel;

// The outcome of "Recover deleted items" for one user.
class UserRestoreMsgsResultDlg : public QDialog
{
    Q_OBJECT
public:
    // result: the server's result code (0 = done); count: items recovered.
    UserRestoreMsgsResultDlg(const QString &account, int result, qint64 count,
                             QWidget *parent = nullptr);
    QLabel *messageLabel() const { return m_lblMessage; }
    static QString resultText(const QString &account, int result, qint64 count);

private:
    QLabel *m_lblMessage;
};

// The mail-store figures of a domain's users ("ShowUserStats(%1)"): disk
// space, item count and last login, sortable by value.
class UserStatisticDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    UserStatisticDlg(const QString &domain, QWidget *parent = nullptr);
    ~UserStatisticDlg() override;

    BListView *list() const { return m_list; }
    void load(bool first) override;
    bool fillView() override;

private:
    QString m_domain;
    BListView *m_list;
    std::unique_ptr<DBTable> m_stats;
};

#pragma once

#include <QDialog>

class DBConn;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Logging Messages": the message groups a log records (the debug log's),
// as a tree of checkable groups. OK switches each changed group on or off.
class FDlgLogEvent : public QDialog
{
    Q_OBJECT

public:
    FDlgLogEvent(DBConn *conn, const QString &logName, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QPushButton *okButton() const { return m_btnOk; }
    // False when the groups could not be read.
    bool isLoaded() const { return m_loaded; }

public slots:
    void accept() override;

private:
    void load();

    DBConn *m_conn;
    QString m_logName;
    QTreeWidget *m_tree = nullptr;
    QPushButton *m_btnOk = nullptr;
    bool m_loaded = false;
};

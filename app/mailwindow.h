#pragma once

#include "app/fwindow.h"

struct FQueryResult;

// The page area of this console: its section tree, its page factory and the
// server information that decides which optional sections show.
class MailWindow : public FWindow
{
    Q_OBJECT

public:
    // The log names that get a tree item.
    static const QStringList &knownLogNames();

    explicit MailWindow(QWidget *parent = nullptr);
    ~MailWindow() override;

    // The next id a log item would take.
    static int peekNextLogId();
    // The class of the page the factory builds for a section id.
    static QString pageClassName(int id);

public slots:
    void slotDataLoaded();
    void slotDataError(const QString &text);
    void slotStoreStatistic();

protected:
    void buildTree() override;
    QWidget *createPage(int id, QWidget *parent) override;
    QWidget *createLogPage(QWidget *parent, const QString &name) override;
    FMainTreeItem *addLogFolder(FMainTreeItem *parent, QTreeWidgetItem *after) override;
    FMainTreeItem *addLogItem(FMainTreeItem *parent, QTreeWidgetItem *after,
                              const QString &name) override;
    QPixmap defaultHeaderPixmap() const override;
    void loadData() override;

private:
    void serverTableArrived();
    void probeClusterStatus();
    void probeHighlighting();

    FQueryResult *m_info = nullptr;
    FQueryResult *m_capabilities = nullptr;
    int m_pendingTables = 0;
    bool m_xsanAvailable = false;
};

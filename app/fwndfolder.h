#pragma once

#include <QWidget>

class FMainTreeItem;
class QListWidget;
class QListWidgetItem;

// The page of a folder: its visible children as large icons. Activating an
// icon (double-click or Return) selects that child in the tree.
class FWndFolder : public QWidget
{
    Q_OBJECT

public:
    FWndFolder(FMainTreeItem *folder, QWidget *parent = nullptr);

    // Sends the keep-alive query; the page counts as loaded when it answers.
    void load();
    QListWidget *iconList() const { return m_icons; }

signals:
    void signalSelectItem(int id);

private slots:
    void slotActivated(QListWidgetItem *item);

private:
    QListWidget *m_icons;
};

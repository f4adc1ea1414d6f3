#pragma once

#include <QList>
#include <QObject>

class QAction;

// A view's contribution to the main window's menu: a title and actions. The
// registered main window is told through signalShowMenu() when the view
// offers it.
class BViewMenu : public QObject
{
    Q_OBJECT
public:
    explicit BViewMenu(QObject *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QList<QAction *> actions() const { return m_actions; }
    void addAction(QAction *action);
    bool isEmpty() const { return m_actions.isEmpty(); }

public slots:
    void showMenu();

signals:
    void signalShowMenu(const BViewMenu *menu);

private:
    QString m_title;
    QList<QAction *> m_actions;
};

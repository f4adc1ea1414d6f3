#include "forms/bviewmenu.h"

#include "forms/bmainwindowinterface.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAction>

BViewMenu::BViewMenu(QObject *parent)
    : QObject(parent)
{
    QObject *mainWindow = UtKontainer::object(UtKey::FMainWnd);
    if (!mainWindow)
        return;
    // The registered object is its context: the connection dies with it.
    if (auto *window = dynamic_cast<BMainWindowInterface *>(mainWindow)) {
        connect(this, &BViewMenu::signalShowMenu, mainWindow,
                [window](const BViewMenu *menu) { window->showViewMenu(menu); });
    }
}

void BViewMenu::addAction(QAction *action)
{
    if (action && !m_actions.contains(action))
        m_actions.append(action);
}

void BViewMenu::showMenu()
{
    emit signalShowMenu(this);
}

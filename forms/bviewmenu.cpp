#include "forms/bviewmenu.h"

#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "forms/bmainwindowinterface.h"

#include <QAction>

BViewMenu::BViewMenu(QObject *parent)
    : QObject(parent)
{
    QObject *mainWindow = UtKontainer::object(UtKey::FMainWnd);
    if (!mainWindow)
        return;
    if (auto *window = dynamic_cast<BMainWindowInterface *>(mainWindow)) {
        connect(this, &BViewMenu::signalShowMenu, mainWindow,
                [window](const BViewMenu *menu) { window->showViewMenu(menu); });
    } else if (mainWindow->metaObject()->indexOfSlot("slotShowViewMenu(const BViewMenu*)") >= 0) {
        connect(this, SIGNAL(signalShowMenu(const BViewMenu *)), mainWindow,
                SLOT(slotShowViewMenu(const BViewMenu *)));
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

#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "forms/bformlist.h"
#include "registry/utkontainer.h"

#include <QActionGroup>
#include <QMenu>
#include <QTimer>

namespace statusformlist {
enum MenuId {
    Refresh = 51,
    AutoRefreshMenu = 52,
    NoRefresh = 53,
    Every5s = 54,
    Every10s = 55,
    Every20s = 56,
    Every30s = 57,
    Every1min = 58,
};
// The interval of an auto-refresh menu id in milliseconds; -1 for "off"
// (also for any id outside 54 to 58).
int intervalFor(int id);
QString settingsKey(const QString &pageName);
} // namespace statusformlist

// A list of server state that is refreshed by hand or by a timer, never
// edited. Loads never overlap: the interval runs from the end of one load to
// the start of the next.
template<class Layout = TBFormList>
class StatusFormList : public BFormList<Layout>, public StatusFormListInterface
{
public:
    // pageName keys the stored auto-refresh choice ("/Autorefresh/<pageName>").
    template<class... Args>
    requires(!bforms::isSelfCopy<StatusFormList, Args...>) explicit StatusFormList(
            const QString &pageName, Args &&...args)
        : BFormList<Layout>(std::forward<Args>(args)...)
        , m_statusSlot(new statusformlist::StatusFormListSlot(this, this))
        , m_timer(new QTimer(this))
        , m_settingsKey(statusformlist::settingsKey(pageName))
    {
        using namespace statusformlist;
        this->addButton()->hide();
        this->editButton()->hide();
        this->removeButton()->hide();
        m_refreshButton
                = this->addButtonBelow(QCoreApplication::translate("StatusFormList", "&Refresh"),
                                       QStringLiteral("m_btnRefresh"));
        QObject::connect(m_refreshButton, &QPushButton::clicked, m_statusSlot,
                         &StatusFormListSlot::slotRefresh);

        QObject::connect(m_timer, &QTimer::timeout, m_statusSlot, &StatusFormListSlot::slotRefresh);

        BListView *list = this->listView();
        for (int id : {BListView::CommandAdd, BListView::CommandEdit, BListView::CommandRemove})
            list->menuAction(id)->setVisible(false);
        QAction *refresh = list->insertMenuItem(
                Refresh, QCoreApplication::translate("StatusFormList", "&Refresh"), 0);
        QObject::disconnect(refresh, &QAction::triggered, list, nullptr);
        QObject::connect(refresh, &QAction::triggered, m_statusSlot,
                         &StatusFormListSlot::slotRefresh);
        QMenu *menu = list->contextMenu();
        m_autoMenu
                = new QMenu(QCoreApplication::translate("StatusFormList", "Aut&o refresh"), menu);
        menu->insertMenu(menu->actions().value(1), m_autoMenu);
        menu->insertSeparator(menu->actions().value(2));
        auto *group = new QActionGroup(m_autoMenu);
        const struct
        {
            int id;
            const char *text;
        } entries[] = {{NoRefresh, QT_TRANSLATE_NOOP("StatusFormList", "&No refresh")},
                       {Every5s, QT_TRANSLATE_NOOP("StatusFormList", "Every &5 sec")},
                       {Every10s, QT_TRANSLATE_NOOP("StatusFormList", "Every &10 sec")},
                       {Every20s, QT_TRANSLATE_NOOP("StatusFormList", "Every &20 sec")},
                       {Every30s, QT_TRANSLATE_NOOP("StatusFormList", "Every &30 sec")},
                       {Every1min, QT_TRANSLATE_NOOP("StatusFormList", "Every 1 &min")}};
        for (const auto &entry : entries) {
            QAction *action = m_autoMenu->addAction(
                    QCoreApplication::translate("StatusFormList", entry.text));
            action->setCheckable(true);
            action->setData(entry.id);
            group->addAction(action);
            m_autoActions.insert(entry.id, action);
            const int id = entry.id;
            QObject::connect(action, &QAction::triggered, m_statusSlot,
                             [this, id] { m_statusSlot->slotAutoRefresh(id); });
            if (entry.id == NoRefresh)
                m_autoMenu->addSeparator();
        }

        setAutoRefresh(UtKontainer::getInt(m_settingsKey, NoRefresh, m_settingsKey));
    }

    void setAutoRefresh(int id) override
    {
        using namespace statusformlist;
        const int interval = intervalFor(id);
        if (interval < 0) {
            id = NoRefresh;
            m_timer->stop();
        }
        if (QAction *previous = m_autoActions.value(m_checkedId))
            previous->setChecked(false);
        m_autoActions.value(id)->setChecked(true);
        m_checkedId = id;
        m_interval = interval;
        if (interval > 0) {
            m_timer->setInterval(interval);
            if (!m_timer->isActive() && !m_busy)
                m_timer->start();
        }
        UtKontainer::setInt(m_settingsKey, id, m_settingsKey);
    }

    void refresh() override
    {
        if (m_busy)
            return;
        setBusy(true);
        m_timer->stop();
        this->setFormEnabled(false);
        this->detachItems(); // the load replaces the rows the items show
        this->load(true);
    }

    // The data arrived: the next interval starts now.
    void updateView() override
    {
        BFormList<Layout>::updateView();
        setBusy(false);
        if (m_interval > 0 && !m_timer->isActive())
            m_timer->start(m_interval);
    }

    bool isBusy() const { return m_busy; }
    int checkedId() const { return m_checkedId; }
    int interval() const { return m_interval; }
    QTimer *refreshTimer() const { return m_timer; }
    QMenu *autoRefreshMenu() const { return m_autoMenu; }
    QAction *autoRefreshAction(int id) const { return m_autoActions.value(id); }
    QPushButton *refreshButton() const { return m_refreshButton; }
    QString autoRefreshKey() const { return m_settingsKey; }

    // A status list is never edited: no Apply/Reset bar, never made read-only.
    bool hasApplyReset() const override { return false; }
    void registerChanges() override { }
    bool save() override { return true; }
    void discard() override { }
    BListViewItem *createItem(DBRow *row) override = 0;

protected:
    void setBusy(bool busy)
    {
        m_busy = busy;
        m_refreshButton->setEnabled(!busy);
        this->listView()->setMenuItemEnabled(statusformlist::Refresh, !busy);
    }

    statusformlist::StatusFormListSlot *m_statusSlot;
    QTimer *m_timer;
    QString m_settingsKey;
    QPushButton *m_refreshButton = nullptr;
    QMenu *m_autoMenu = nullptr;
    QHash<int, QAction *> m_autoActions;
    int m_checkedId = -1;
    int m_interval = -1;
    bool m_busy = false;
};

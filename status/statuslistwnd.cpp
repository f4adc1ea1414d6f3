#include "status/statuslistwnd.h"

#include "forms/bobject.h"

#include <QHash>
#include <QScrollBar>

StatusListWnd::StatusListWnd(const QString &pageName, const QString &function, QWidget *parent)
    : StatusFormList<>(pageName, parent)
    , m_table(bobject::connection(), function)
    , m_trans(bobject::connection())
    , m_pageName(pageName)
{
    setObjectName(pageName);
    m_trans.addTable(&m_table);
}

void StatusListWnd::load(bool first)
{
    // Only the page's first load may drop what other pages queued; a refresh
    // must not cancel the select of the list on the next tab.
    loadTables(&m_trans, first && !isInitialised());
}

QString StatusListWnd::itemKey(const BListViewItem *item) const
{
    return item ? item->text(0) : QString();
}

QStringList StatusListWnd::selectedKeys() const
{
    QStringList keys;
    for (BListViewItem *item : listView()->selectedItemsInOrder())
        keys << itemKey(item);
    return keys;
}

QStringList StatusListWnd::selectedTexts(int column) const
{
    QStringList texts;
    for (BListViewItem *item : listView()->selectedItemsInOrder())
        texts << item->text(column);
    return texts;
}

void StatusListWnd::updateView()
{
    BListView *list = listView();
    m_kept = Kept();
    if (list->topLevelItemCount() > 0) {
        m_kept.valid = true;
        m_kept.selected = selectedKeys();
        if (BListViewItem *current = list->currentItem())
            m_kept.current = itemKey(current);
        if (BListViewItem *top = list->itemAt(0, 0))
            m_kept.top = itemKey(top);
        m_kept.vertical = list->verticalScrollBar()->value();
        m_kept.horizontal = list->horizontalScrollBar()->value();
    }
    StatusFormList<>::updateView(); // fills, then restoreSelection()
    if (!m_kept.valid)
        return;
    BListViewItem *top = nullptr;
    for (int i = 0; i < list->topLevelItemCount() && !m_kept.top.isEmpty(); ++i) {
        if (itemKey(list->topLevelItem(i)) == m_kept.top) {
            top = list->topLevelItem(i);
            break;
        }
    }
    if (top)
        list->scrollToItem(top, QAbstractItemView::PositionAtTop);
    else
        list->verticalScrollBar()->setValue(m_kept.vertical);
    list->horizontalScrollBar()->setValue(m_kept.horizontal);
    m_kept = Kept();
}

void StatusListWnd::restoreSelection()
{
    BListView *list = listView();
    if (!m_kept.valid) {
        StatusFormList<>::restoreSelection();
        return;
    }
    QHash<QString, BListViewItem *> byKey;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        byKey.insert(itemKey(list->topLevelItem(i)), list->topLevelItem(i));
    const QSignalBlocker blocker(list->selectionModel());
    list->clearSelection();
    // A row that is gone takes nothing with it: its neighbour is not selected
    // in its place, so a command never acts on a row nobody chose.
    if (BListViewItem *current = byKey.value(m_kept.current))
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (const QString &key : m_kept.selected) {
        if (BListViewItem *item = byKey.value(key))
            item->setSelected(true);
    }
    list->viewport()->update();
}

#include "status/statuslistwnd.h"

#include "forms/bobject.h"

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

#include "forms/blistplace.h"

#include "forms/blistitems.h"
#include "forms/blistview.h"

#include <QHash>
#include <QScrollBar>
#include <QSignalBlocker>

void BListPlace::keep(const BListView *view, const KeyOf &keyOf)
{
    forget();
    if (view->topLevelItemCount() == 0)
        return;
    m_kept = true;
    for (const BListViewItem *item : view->selectedItemsInOrder())
        m_selected << keyOf(item);
    if (const BListViewItem *current = view->currentItem())
        m_current = keyOf(current);
    if (const BListViewItem *top = view->itemAt(0, 0))
        m_top = keyOf(top);
    m_vertical = view->verticalScrollBar()->value();
    m_horizontal = view->horizontalScrollBar()->value();
}

void BListPlace::restore(BListView *view, const KeyOf &keyOf)
{
    if (!m_kept)
        return;
    // Keys are made only until every kept row is found: a list of a million
    // rows with one row chosen near its start costs a few keys.
    QSet<QString> wanted(m_selected.cbegin(), m_selected.cend());
    for (const QString &key : {m_current, m_top}) {
        if (!key.isEmpty())
            wanted.insert(key);
    }
    QHash<QString, BListViewItem *> found;
    for (BListViewItemIterator it(view); *it && found.size() < wanted.size(); ++it) {
        const QString key = keyOf(*it);
        if (wanted.contains(key) && !found.contains(key))
            found.insert(key, *it);
    }
    {
        const QSignalBlocker quiet(view->selectionModel());
        view->clearSelection();
        if (BListViewItem *current = found.value(m_current))
            view->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
        for (const QString &key : std::as_const(m_selected)) {
            if (BListViewItem *item = found.value(key))
                item->setSelected(true);
        }
    }
    if (BListViewItem *top = found.value(m_top))
        view->scrollToItem(top, QAbstractItemView::PositionAtTop);
    else
        view->verticalScrollBar()->setValue(m_vertical);
    view->horizontalScrollBar()->setValue(m_horizontal);
    view->viewport()->update();
    forget();
}

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class BListView;
class BListViewItem;

// Where the administrator was in a list (the selected rows, the current row,
// the row at the top and the scroll position), kept by the rows' keys while
// the list is filled anew after a refresh, a reload or a reset.
class BListPlace
{
public:
    using KeyOf = std::function<QString(const BListViewItem *)>;

    // Keeps the place; nothing is kept from an empty list.
    void keep(const BListView *view, const KeyOf &keyOf);
    bool isKept() const { return m_kept; }
    void forget() { *this = BListPlace(); }
    // Selects, makes current and scrolls to the kept rows that are still
    // there, then forgets them. A row that is gone takes nothing with it: no
    // neighbour is chosen in its place, so a command never acts on a row
    // nobody chose.
    void restore(BListView *view, const KeyOf &keyOf);

private:
    QStringList m_selected;
    QString m_current;
    QString m_top;
    int m_vertical = 0;
    int m_horizontal = 0;
    bool m_kept = false;
};

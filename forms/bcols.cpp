#include "forms/bcols.h"

#include "registry/utkontainer.h"

BCols::BCols()
{
    m_columns.reserve(99);
    m_defaults.reserve(99);
}

BCols::BCols(const Registration &registration)
    : BCols()
{
    setRegistration(registration);
}

BCols::BCols(const QString &listName, int version)
    : BCols(Registration{listName, version})
{ }

void BCols::setRegistration(const Registration &registration)
{
    m_listName = registration.name;
    m_version = registration.version;
    m_keyBase = QStringLiteral("/Columns/") + m_listName + QLatin1Char('/');
}

int BCols::addColumn(const QString &title, const QString &name, unsigned flags, int width)
{
    const int index = count();
    BCol column(title, name, flags, width, index);
    m_columns.append(column);
    m_defaults.append(column);
    if (column.sortOrder >= 0 && m_sortColumn < 0 && m_sortable) {
        m_sortColumn = index;
        m_sortOrder = column.sortOrder;
    }
    rebuildPositionMap();
    return index;
}

int BCols::indexOf(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_columns.at(i).name == name)
            return i;
    }
    return -1;
}

int BCols::columnAtPosition(int position) const
{
    if (position < 0 || position >= m_positionMap.size())
        return -1;
    return m_positionMap.at(position);
}

void BCols::rebuildPositionMap()
{
    m_positionMap.fill(-1, count());
    for (int i = 0; i < count(); ++i) {
        const int position = m_columns.at(i).position;
        if (position >= 0 && position < count() && m_positionMap.at(position) < 0)
            m_positionMap[position] = i;
    }
    // Positions that collide or fall outside the set: give the columns left
    // over the free places in definition order, so every column stays reachable.
    for (int i = 0; i < count(); ++i) {
        if (m_positionMap.contains(i))
            continue;
        const int free = int(m_positionMap.indexOf(-1));
        m_positionMap[free] = i;
        m_columns[i].position = free;
    }
}

void BCols::setSort(int column, int order)
{
    if (!m_sortable || column < 0 || column >= count() || (order != 0 && order != 1))
        return;
    m_sortColumn = column;
    m_sortOrder = order;
}

void BCols::setSortable(bool sortable)
{
    m_sortable = sortable;
    m_sortColumn = sortable ? 0 : -1;
    if (!sortable)
        m_sortOrder = -1;
    else if (m_sortOrder < 0)
        m_sortOrder = 0;
}

void BCols::restoreDefaults()
{
    for (int i = 0; i < count(); ++i) {
        const BCol &defaults = m_defaults.at(i);
        BCol &column = m_columns[i];
        column.position = defaults.position;
        column.width = defaults.width;
        column.flags = defaults.flags;
    }
    rebuildPositionMap();
}

bool BCols::applyStoredColumns(const QString &stored)
{
    const QStringList entries = stored.split(QLatin1Char(';'));
    if (entries.size() != count())
        return false;
    // Check every entry before changing anything, so a damaged text leaves
    // the defaults intact; positions must name every place exactly once.
    struct Entry
    {
        int position, visible, width;
    };
    QList<Entry> parsed;
    QList<bool> taken(count(), false);
    for (const QString &entry : entries) {
        const QStringList fields = entry.split(QLatin1Char(','));
        if (fields.size() != 3)
            return false;
        bool okPosition = false, okVisible = false, okWidth = false;
        const Entry e{fields.at(0).toInt(&okPosition), fields.at(1).toInt(&okVisible),
                      fields.at(2).toInt(&okWidth)};
        if (!okPosition || !okVisible || !okWidth || e.position < 0 || e.position >= count()
            || taken.at(e.position) || (e.visible != 0 && e.visible != 1) || e.width < -1)
            return false;
        taken[e.position] = true;
        parsed.append(e);
    }
    for (int i = 0; i < count(); ++i) {
        BCol &column = m_columns[i];
        column.position = parsed.at(i).position;
        column.setVisible(parsed.at(i).visible == 1);
        column.width = parsed.at(i).width;
    }
    return true;
}

void BCols::applyStoredSort()
{
    if (!m_sortable)
        return;
    const QString stored = UtKontainer::getText(sortKey(), QString(), sortKey());
    const QStringList parts = stored.split(QLatin1Char(';'));
    bool okColumn = false, okOrder = false;
    const int column = parts.size() == 2 ? parts.at(0).toInt(&okColumn) : -1;
    const int order = parts.size() == 2 ? parts.at(1).toInt(&okOrder) : -1;
    if (okColumn && okOrder && column >= 0 && column < count() && (order == 0 || order == 1)) {
        m_sortColumn = column;
        m_sortOrder = order;
        return;
    }
    if (m_sortColumn < 0) {
        m_sortColumn = 0;
        m_sortOrder = 0;
    }
    if (m_sortOrder < 0)
        m_sortOrder = 0;
}

bool BCols::loadLayout()
{
    restoreDefaults();
    bool stored = false;
    const int version = UtKontainer::getInt(verKey(), -1, verKey());
    const QString cols = UtKontainer::getText(colsKey(), QString(), colsKey());
    const int storedCount = UtKontainer::getInt(countKey(), -1, countKey());
    if (version == m_version && !cols.isEmpty() && (storedCount < 0 || storedCount == count())
        && cols.count(QLatin1Char(';')) == count() - 1) {
        stored = applyStoredColumns(cols);
    }
    applyStoredSort();
    rebuildPositionMap();
    return stored;
}

void BCols::saveLayout() const
{
    QStringList entries;
    for (const BCol &column : m_columns) {
        entries << QStringLiteral("%1,%2,%3")
                           .arg(column.position)
                           .arg(column.isVisible() ? 1 : 0)
                           .arg(column.width);
    }
    UtKontainer::setInt(verKey(), m_version, verKey());
    UtKontainer::setInt(countKey(), count(), countKey());
    UtKontainer::setText(colsKey(), entries.join(QLatin1Char(';')), colsKey());
    if (m_sortColumn >= 0 && m_sortOrder >= 0) {
        UtKontainer::setText(sortKey(), QStringLiteral("%1;%2").arg(m_sortColumn).arg(m_sortOrder),
                             sortKey());
    }
}

void BCols::setCell(int index, std::function<QString(const DBRow &)> text,
                    std::function<BSortKey(const DBRow &)> sortKey)
{
    if (index < 0 || index >= count())
        return;
    for (BCol *column : {&m_columns[index], &m_defaults[index]}) {
        column->cellText = text;
        column->sortKey = sortKey;
    }
}

#pragma once

#include "forms/bcol.h"

#include <QList>
#include <QString>

// The column set of one list view. It knows the columns' definitions and
// their defaults, maps display positions to columns, and loads and saves the
// administrator's layout under "/Columns/<list name>/" through UtKontainer.
class BCols
{
public:
    // The name and column-set version a list declares once at start-up. A
    // stored layout written for another version is ignored.
    struct Registration
    {
        QString name;
        int version = 0;
    };

    BCols();
    explicit BCols(const Registration &registration);
    BCols(const QString &listName, int version);

    void setRegistration(const Registration &registration);
    QString listName() const { return m_listName; }
    int version() const { return m_version; }

    // Appends a column at the next definition index and returns that index.
    int addColumn(const QString &title, const QString &name, unsigned flags = BCol::Visible,
                  int width = -1);
    // Says what a column shows of a row (and sorts by, when not its text).
    void setCell(int index, std::function<QString(const DBRow &)> text,
                 std::function<BSortKey(const DBRow &)> sortKey = {});
    int count() const { return int(m_columns.size()); }
    bool isEmpty() const { return m_columns.isEmpty(); }
    BCol &column(int index) { return m_columns[index]; }
    const BCol &column(int index) const { return m_columns.at(index); }
    const BCol &defaultColumn(int index) const { return m_defaults.at(index); }
    // The first column with this key, or -1.
    int indexOf(const QString &name) const;

    // The column shown at a display position, or -1.
    int columnAtPosition(int position) const;
    void rebuildPositionMap();

    int sortColumn() const { return m_sortColumn; }
    int sortOrder() const { return m_sortOrder; }
    void setSort(int column, int order);
    bool isSortable() const { return m_sortable; }
    void setSortable(bool sortable);

    // Back to the defined positions, visibility and widths.
    void restoreDefaults();
    // Reads the stored layout; returns false when it was missing or unusable
    // and the defaults stand instead.
    bool loadLayout();
    void saveLayout() const;

    QString verKey() const { return m_keyBase + QStringLiteral("ver"); }
    QString colsKey() const { return m_keyBase + QStringLiteral("cols"); }
    QString countKey() const { return m_keyBase + QStringLiteral("count"); }
    QString sortKey() const { return m_keyBase + QStringLiteral("sort"); }

private:
    bool applyStoredColumns(const QString &stored);
    void applyStoredSort();

    QString m_listName;
    QString m_keyBase;
    int m_version = 0;
    QList<BCol> m_columns;
    QList<BCol> m_defaults;
    QList<int> m_positionMap; // display position -> column index
    int m_sortColumn = -1;
    int m_sortOrder = -1;
    bool m_sortable = true;
};

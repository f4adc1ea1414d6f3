#pragma once

#include "forms/blistitems.h"

#include <QAbstractItemModel>

// The model behind a BListView: its rows are the list's BListViewItem objects,
// its cells what the rows answer when asked. No cell is formatted before a
// view paints, sorts, searches or exports it.
//
// Rows added, hidden, shown or reordered through the row interface reach the
// view together: the model publishes them in one layout change when control
// returns to the event loop, or at once when the view needs them (publish()).
// Until then the view goes on seeing the rows it was last told about. A row
// that leaves the list leaves the view at once, so that the view never holds
// a row that no longer exists.
class BListModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit BListModel(BListView *view);
    ~BListModel() override;

    BListView *view() const { return m_view; }
    BListViewItem *root() const { return m_root.get(); }
    BListViewItem *headerItem() const { return m_header.get(); }
    void setColumnCount(int columns);

    BListViewItem *itemFromIndex(const QModelIndex &index) const;
    // The index of a shown row as the view knows it (publish() first).
    QModelIndex indexFromItem(const BListViewItem *item, int column = 0) const;

    // Tells the view about every change since the last publication.
    void publish();
    // Publishes when control returns to the event loop.
    void schedulePublish();
    bool hasUnpublishedChanges() const { return m_dirty; }
    // Deletes every row.
    void clear();
    // Takes rows out of the list (deleting them when asked) in one change.
    void removeItems(const QList<BListViewItem *> &items, bool deleteThem);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;

private:
    friend class BListViewItem;

    // Notes from the rows.
    void rowsChanged(); // added: sorted in and published later
    void cellChanged(BListViewItem *item, int column); // column -1: all
    void rowLeaving(BListViewItem *item);
    void headerChanged();

    const std::vector<BListViewItem *> &shownRows(const BListViewItem *parent) const;
    BListViewItem *parentItem(const QModelIndex &parent) const;
    // Ends a layout change: rows numbered, the view's indexes moved.
    void renumber();

    BListView *m_view;
    std::unique_ptr<BListViewItem> m_root;
    std::unique_ptr<BListViewItem> m_header;
    int m_columns = 0;
    bool m_dirty = false;
    bool m_publishScheduled = false;
    bool m_publishing = false;
};

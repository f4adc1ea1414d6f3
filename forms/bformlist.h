#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "db/dbconn.h"
#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bformlistslot.h"
#include "forms/blistitems.h"
#include "forms/blistplace.h"
#include "forms/blistview.h"
#include "forms/tbformlist.h"

#include <QAction>
#include <QPushButton>
#include <QSignalBlocker>

namespace bformlist {
// Drops the connection's pending operations (they are this page's: one page
// is shown at a time), as a reverted table group does.
void clearPendingOperations();
} // namespace bformlist

// Remembers which branches of a tree list were open, across refills.
class BListCollapser
{
public:
    virtual ~BListCollapser() = default;
    virtual void remember(BListView *view) = 0;
    virtual void restore(BListView *view) = 0;
    virtual void forget() = 0;
};

// An editable list page over one main table, mixed into a list layout
// (TBFormList or the page's own, offering listView() and the three buttons).
template<class Layout = TBFormList>
class BFormList : public Layout, public BFormListInterface
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BFormList, Args...>) explicit BFormList(Args &&...args)
        : Layout(std::forward<Args>(args)...)
        , m_listSlot(new bformlist::BFormListSlot(this, this))
    {
        BListView *list = this->listView();
        QObject::connect(list, &BListView::signalBListUpdateNeeded, this->viewSlot(),
                         &bview::BViewSlot::slotUpdateView);
        QObject::connect(this->addButton(), &QPushButton::clicked, m_listSlot,
                         &bformlist::BFormListSlot::slotAdd);
        QObject::connect(this->editButton(), &QPushButton::clicked, m_listSlot,
                         &bformlist::BFormListSlot::slotEdit);
        QObject::connect(list, &BListView::itemDoubleClicked, m_listSlot,
                         &bformlist::BFormListSlot::slotEdit);
        QObject::connect(this->removeButton(), &QPushButton::clicked, m_listSlot,
                         &bformlist::BFormListSlot::slotRemove);
        QObject::connect(list, &BListView::itemSelectionChanged, m_listSlot,
                         &bformlist::BFormListSlot::slotSelectionChanged);
        QObject::connect(list, &BListView::signalItemChecked, m_listSlot,
                         &bformlist::BFormListSlot::slotItemChecked);
        QObject::connect(list, &BListView::signalCommand, m_listSlot,
                         &bformlist::BFormListSlot::slotCommand);
    }

    // Virtual operations of a list page, in slot order.
    virtual void defineColumns(BCols &cols) = 0;
    // A row of the list; by default one whose cells the columns give.
    virtual BListViewItem *createItem(DBRow *row)
    {
        return new BDeclaredItem(this->listView(), row);
    }
    virtual DBTable *table() = 0;
    // Runs the page's edit dialog on a new row; true when it was accepted.
    virtual bool editRow(DBRow *row)
    {
        Q_UNUSED(row);
        return false;
    }
    virtual void selectItem(BListViewItem *item)
    {
        BListView *list = this->listView();
        list->ensureSorted(); // a new row takes its place before it is shown
        list->setCurrentItem(item, 0,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->scrollToItem(item);
    }
    virtual bool acceptRow(DBRow *row, bool isNew)
    {
        Q_UNUSED(row);
        Q_UNUSED(isNew);
        return true;
    }
    virtual void listHook() { }
    // The rows of these items were edited: the view formats them again.
    virtual void updateItems(const QList<BListViewItem *> &items)
    {
        for (BListViewItem *item : items)
            item->emitDataChanged();
    }
    virtual bool confirmRemove() { return true; }
    // The last question of a removal, over the rows that may go; false keeps
    // them all.
    virtual bool confirmRemoval(const QList<DBRow *> &rows)
    {
        Q_UNUSED(rows);
        return true;
    }
    virtual bool canRemove(DBRow *row)
    {
        Q_UNUSED(row);
        return true;
    }
    virtual bool initNewRow(DBRow *row)
    {
        Q_UNUSED(row);
        return true;
    }
    // Runs the edit dialog on the given items (one, or several with
    // multi-edit); by default the single row goes through editRow().
    virtual bool editItems(const QList<BListViewItem *> &items)
    {
        if (items.size() != 1)
            return false;
        BBaseListItem *item = baseListItem(items.first());
        return item && item->row() && editRow(item->row());
    }
    // After a fill: the place kept when the rows were let go (selection,
    // current row, scroll position, by key), else the first row.
    virtual void restoreSelection()
    {
        BListView *list = this->listView();
        if (m_collapser) {
            m_place.forget();
            m_collapser->restore(list);
        } else if (m_place.isKept()) {
            m_place.restore(list, [this](const BListViewItem *item) { return itemKey(item); });
        } else if (list->topLevelItemCount() > 0) {
            list->setCurrentItem(list->topLevelItem(0));
        }
    }
    // What finds a row again after its table was selected anew: by default
    // its table and the values of its key columns, else every text it shows.
    virtual QString itemKey(const BListViewItem *item) const
    {
        if (!item)
            return QString();
        if (const DBRow *row = item->row(); row && row->table()) {
            const QString key = row->table()->keyCondition(*row);
            if (!key.isEmpty())
                return row->table()->tableName() + key;
        }
        QString texts;
        for (int column = 0; column < this->listView()->columnCount(); ++column)
            texts += item->text(column) + QChar(0x1f);
        return texts;
    }

    // Every item lets go of its row because the table's rows are about to be
    // replaced: a select reads new ones on the connection's thread, a revert
    // copies the confirmed ones. The items keep their texts until the next
    // fill; meanwhile row() is null and no item can be edited or removed.
    void detachItems()
    {
        if (!m_detached)
            m_place.keep(this->listView(),
                         [this](const BListViewItem *item) { return itemKey(item); });
        {
            // Items that keep their texts now show what they showed: the view
            // need not hear of it.
            const QSignalBlocker quiet(this->listView()->model());
            for (BListViewItemIterator it(this->listView()); *it; ++it) {
                if (BBaseListItem *base = baseListItem(*it))
                    base->releaseRow();
            }
        }
        m_detached = true;
        if (this->listView()->topLevelItemCount() > 0)
            selectionChanged();
    }
    bool itemsDetached() const { return m_detached; }
    // The next fill starts at the first row (another domain is shown).
    void forgetPlace() { m_place.forget(); }
    // A session without the modify right sees the rows and changes none.
    static bool sessionReadOnly()
    {
        const DBConn *conn = bobject::connection();
        return conn && !conn->mayModify();
    }

    bool multiEdit() const { return m_multiEdit; }
    void setMultiEdit(bool on) { m_multiEdit = on; }
    void setCollapser(BListCollapser *collapser) { m_collapser = collapser; }
    bformlist::BFormListSlot *listSlot() const { return m_listSlot; }

    void add() override
    {
        if (!this->addButton()->isEnabled() || m_detached)
            return;
        DBTable *main = table();
        if (!main)
            return;
        DBRow *row = main->addRow();
        if (initNewRow(row) && editRow(row) && acceptRow(row, true)) {
            if (BListViewItem *item = createItem(row))
                selectItem(item);
            this->registerChanges();
            return;
        }
        main->removeRow(row);
    }

    void edit() override
    {
        if (!this->editButton()->isEnabled() || m_detached)
            return;
        QList<BListViewItem *> items;
        for (BListViewItem *item : this->listView()->selectedItemsInOrder()) {
            BBaseListItem *base = baseListItem(item);
            if (base && base->canEdit())
                items.append(item);
        }
        if (items.isEmpty())
            return;
        if ((!m_multiEdit || sessionReadOnly()) && items.size() > 1)
            items = {items.first()};
        if (sessionReadOnly()) {
            // To read: whatever the dialog did to the row is undone.
            if (DBRow *row = items.first()->row()) {
                const DBRow before(*row);
                editItems(items);
                *row = before;
            }
            return;
        }
        if (editItems(items)) {
            updateItems(items);
            this->registerChanges();
        }
    }

    // Every question of a removal comes before the rows leave: the page's
    // own (confirmRemove), each row's (canRemove) and the last one over the
    // rows that passed (confirmRemoval). A question answered with Cancel
    // keeps every row.
    void remove() override
    {
        if (!this->removeButton()->isEnabled() || m_detached || !confirmRemove())
            return;
        QList<BListViewItem *> items;
        QList<DBRow *> rows;
        for (BListViewItem *item : this->listView()->selectedItemsInOrder()) {
            if (!item->canRemove() || !canRemove(item->row()))
                continue;
            items.append(item);
            rows.append(item->row());
        }
        if (items.isEmpty() || !confirmRemoval(rows))
            return;
        this->listView()->deleteItems(items);
        if (DBTable *main = table()) {
            for (DBRow *row : std::as_const(rows)) {
                if (row)
                    main->removeRow(row);
            }
        }
        rowsRemoved();
        this->registerChanges();
        selectionChanged();
    }

    void selectionChanged() override
    {
        int editable = 0;
        int removable = 0;
        const QList<BListViewItem *> selected
                = m_detached ? QList<BListViewItem *>() : this->listView()->selectedItemsInOrder();
        for (BListViewItem *item : selected) {
            if (BBaseListItem *base = baseListItem(item)) {
                editable += base->canEdit() ? 1 : 0;
                removable += base->canRemove() ? 1 : 0;
            }
        }
        const bool readOnly = sessionReadOnly();
        if (readOnly) {
            // One row at a time opens to be read.
            removable = 0;
            this->addButton()->setEnabled(false);
        }
        const bool editEnabled = m_multiEdit && !readOnly ? editable > 0 : editable == 1;
        this->editButton()->setEnabled(editEnabled);
        this->removeButton()->setEnabled(removable > 0);
        BListView *list = this->listView();
        list->setMenuItemEnabled(BListView::CommandAdd, this->addButton()->isEnabled());
        list->setMenuItemEnabled(BListView::CommandEdit, editEnabled);
        list->setMenuItemEnabled(BListView::CommandRemove, removable > 0);
    }

    void applyReadOnly() override
    {
        Layout::applyReadOnly();
        selectionChanged(); // a single row still opens to be read
    }

    void command(int id) override
    {
        switch (id) {
        case BListView::CommandAdd:
            add();
            break;
        case BListView::CommandEdit:
            edit();
            break;
        case BListView::CommandRemove:
            remove();
            break;
        default:
            break;
        }
    }

    void itemChecked(BCheckListItem *item) override { Q_UNUSED(item); }

    bool fillView() override
    {
        DBTable *main = table();
        if (!main)
            return false;
        this->listView()->clear();
        for (DBRow *row : main->rows())
            createItem(row);
        return true;
    }

    void updateView() override
    {
        this->m_updating = true;
        {
            BListUpdater updater(this->listView());
            if (this->fillView()) {
                m_detached = false; // the items are new, made for the new rows
                updater.finish(); // the rows join the list, sorted
                restoreSelection();
                selectionChanged();
            }
        }
        this->m_updating = false;
    }

    void discard() override
    {
        if (m_collapser)
            m_collapser->forget();
        detachItems();
        if (DBTable *main = table())
            main->revert();
        bformlist::clearPendingOperations();
    }

    void postReset() override
    {
        BListView *list = this->listView();
        if (list->topLevelItemCount() > 0)
            list->setCurrentItem(list->topLevelItem(0));
        Layout::postReset();
    }

    void dataLoaded() override
    {
        BListView *list = this->listView();
        if (list->cols().isEmpty()) {
            BCols cols;
            defineColumns(cols);
            list->setCols(cols);
        }
        Layout::dataLoaded();
    }

protected:
    // Rows were removed; their changes are registered next.
    virtual void rowsRemoved() { }

    // The common load of a list page: the items let go of their rows before
    // the select can replace them.
    void loadTables(DBTransTab *tables, bool first)
    {
        detachItems();
        Layout::loadTables(tables, first);
    }

    bformlist::BFormListSlot *m_listSlot;
    bool m_detached = false;
    bool m_multiEdit = false;
    BListCollapser *m_collapser = nullptr;
    BListPlace m_place; // kept while the items are detached
};

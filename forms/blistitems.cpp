#include "forms/blistitems.h"

#include "forms/bcol.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"

#include <algorithm>

namespace {

constexpr Qt::ItemFlags defaultFlags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
        | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;

qint64 valueKey(int column, int role)
{
    return (qint64(column) << 32) | quint32(role);
}

// The hidden word in front of every row: the chunk it lives in, or null.
constexpr std::size_t ItemPrefix = 8;
static_assert(sizeof(dbmemory::Chunk *) <= ItemPrefix);
thread_local dbmemory::ChunkFeeder *arenaFeeder = nullptr;

// A row's piece: the hidden word and the row, in whole words.
std::size_t pieceSize(std::size_t size)
{
    return (ItemPrefix + size + 7) & ~std::size_t(7);
}

} // namespace

static_assert(sizeof(void *) != 8 || sizeof(BListViewItem) <= 56,
              "a list row stays small: lists hold up to millions of them");

void *BListViewItem::operator new(std::size_t size)
{
    const qsizetype piece = qsizetype(pieceSize(size));
    dbmemory::Chunk *chunk = nullptr;
    char *memory = arenaFeeder ? static_cast<char *>(arenaFeeder->take(piece, 1, &chunk))
                               : static_cast<char *>(::operator new(std::size_t(piece)));
    *reinterpret_cast<dbmemory::Chunk **>(memory) = chunk;
    return memory + ItemPrefix;
}

void BListViewItem::operator delete(void *item, std::size_t size) noexcept
{
    if (!item)
        return;
    char *memory = static_cast<char *>(item) - ItemPrefix;
    if (dbmemory::Chunk *chunk = *reinterpret_cast<dbmemory::Chunk **>(memory)) {
        dbmemory::Chunk::retirePiece(memory, pieceSize(size));
        dbmemory::Chunk::release(chunk);
    } else {
        ::operator delete(memory);
    }
}

BListItemArena::BListItemArena()
{
    if (!arenaFeeder) {
        m_feeder = std::make_unique<dbmemory::ChunkFeeder>();
        arenaFeeder = m_feeder.get();
    }
}

BListItemArena::~BListItemArena()
{
    if (m_feeder)
        arenaFeeder = nullptr;
}

BListViewItem::BListViewItem(DBRow *row, int type)
    : BBaseListItem(row)
    , m_type(quint16(type))
    , m_flags(quint16(defaultFlags.toInt()))
{ }

BListViewItem::BListViewItem(BListView *view, DBRow *row, int type)
    : BListViewItem(row, type)
{
    if (view)
        view->adoptItem(this);
}

BListViewItem::BListViewItem(BListViewItem *parent, DBRow *row, int type)
    : BListViewItem(row, type)
{
    if (parent)
        parent->addChild(this);
}

BListViewItem::BListViewItem(BListView *view, DBRow *row, const QStringList &texts, int type)
    : BListViewItem(row, type)
{
    m_cells = std::make_unique<Cells>();
    m_cells->texts = texts;
    if (view)
        view->adoptItem(this);
}

BListViewItem::BListViewItem(BListViewItem *parent, const QStringList &texts, int type)
    : BListViewItem(static_cast<DBRow *>(nullptr), type)
{
    keepTexts(texts);
    if (parent)
        parent->addChild(this);
}

BListViewItem::~BListViewItem()
{
    if (m_parent)
        m_parent->detachChild(this);
    if (m_children) {
        // The children left the view with this row (or the whole list goes).
        for (BListViewItem *child : m_children->all) {
            if (child) {
                child->m_parent = nullptr;
                delete child;
            }
        }
    }
}

BListModel *BListViewItem::model() const
{
    const BListViewItem *top = this;
    while (top->m_parent)
        top = top->m_parent;
    return top->m_children ? top->m_children->model : nullptr;
}

BListView *BListViewItem::listView() const
{
    BListModel *owner = model();
    return owner && !m_isHeader ? owner->view() : nullptr;
}

BListViewItem *BListViewItem::parent() const
{
    return m_parent && !m_parent->m_isRoot ? m_parent : nullptr;
}

BListViewItem::Children &BListViewItem::children()
{
    if (!m_children)
        m_children = std::make_unique<Children>();
    return *m_children;
}

QVariant BListViewItem::data(int column, int role) const
{
    if (column < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (m_cells && column < m_cells->texts.size())
            return m_cells->texts.at(column);
        return m_cells ? m_cells->values.value(valueKey(column, Qt::DisplayRole)) : QVariant();
    case Qt::CheckStateRole:
        if (column == 0)
            return m_checkable ? QVariant(int(m_checkState)) : QVariant();
        break;
    default:
        break;
    }
    return m_cells ? m_cells->values.value(valueKey(column, role)) : QVariant();
}

void BListViewItem::setData(int column, int role, const QVariant &value)
{
    if (column < 0)
        return;
    if (role == Qt::CheckStateRole && column == 0) {
        const auto state = quint8(std::clamp(value.toInt(), int(Qt::Unchecked), int(Qt::Checked)));
        if (m_checkable && state == m_checkState)
            return;
        setCheckable();
        m_checkState = state;
    } else {
        if (!m_cells)
            m_cells = std::make_unique<Cells>();
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            QStringList &texts = m_cells->texts;
            if (column >= texts.size())
                texts.resize(column + 1);
            texts[column] = value.toString();
        } else if (value.isValid()) {
            m_cells->values.insert(valueKey(column, role), value);
        } else {
            m_cells->values.remove(valueKey(column, role));
        }
    }
    if (BListModel *owner = model()) {
        if (m_isHeader)
            owner->headerChanged();
        else
            owner->cellChanged(this, column);
    }
}

void BListViewItem::keepTexts(QStringList texts)
{
    if (!m_cells)
        m_cells = std::make_unique<Cells>();
    m_cells->texts = std::move(texts);
}

void BListViewItem::setFlags(Qt::ItemFlags flags)
{
    m_flags = quint16(flags.toInt());
    emitDataChanged();
}

void BListViewItem::emitDataChanged()
{
    if (BListModel *owner = model())
        owner->cellChanged(this, -1);
}

BSortKey BListViewItem::sortKey(int column, const BCol *) const
{
    return BSortKey::fromText(text(column));
}

BListViewItem *BListViewItem::child(int index) const
{
    if (!m_children || index < 0 || size_t(index) >= m_children->all.size())
        return nullptr;
    return m_children->all[size_t(index)];
}

int BListViewItem::indexOfChild(const BListViewItem *child) const
{
    if (!child || child->m_parent != this || !m_children)
        return -1;
    std::vector<BListViewItem *> &all = m_children->all;
    if (!m_children->indexesValid) {
        for (size_t i = 0; i < all.size(); ++i)
            all[i]->m_index = int(i);
        m_children->indexesValid = true;
    }
    return child->m_index;
}

void BListViewItem::insertChild(int index, BListViewItem *child)
{
    // One row at a time is how lists are filled: no list is made for it.
    insertChildren(index, &child, 1);
}

void BListViewItem::addChildren(const QList<BListViewItem *> &children)
{
    insertChildren(childCount(), children);
}

void BListViewItem::insertChildren(int index, const QList<BListViewItem *> &children)
{
    insertChildren(index, children.constData(), children.size());
}

void BListViewItem::insertChildren(int index, BListViewItem *const *children, qsizetype count)
{
    if (count <= 0)
        return;
    Children &own = this->children();
    index = std::clamp(index, 0, int(own.all.size()));
    const bool atEnd = size_t(index) == own.all.size();
    size_t place = size_t(index);
    for (qsizetype i = 0; i < count; ++i) {
        BListViewItem *child = children[i];
        if (!child || child->m_parent || child == this)
            continue;
        child->m_parent = this;
        child->m_shownRow = -1;
        child->m_index = int(place);
        own.all.insert(own.all.begin() + qsizetype(place), child);
        ++place;
    }
    if (!atEnd)
        own.indexesValid = false;
    if (BListModel *owner = model())
        owner->rowsChanged();
}

void BListViewItem::detachChild(BListViewItem *child)
{
    const int index = indexOfChild(child);
    if (index < 0)
        return;
    if (BListModel *owner = model())
        owner->rowLeaving(child);
    std::vector<BListViewItem *> &all = m_children->all;
    all.erase(all.begin() + index);
    if (size_t(index) != all.size())
        m_children->indexesValid = false;
    child->m_parent = nullptr;
    child->m_shownRow = -1;
}

BListViewItem *BListViewItem::takeChild(int index)
{
    BListViewItem *taken = child(index);
    if (taken)
        detachChild(taken);
    return taken;
}

QList<BListViewItem *> BListViewItem::takeChildren()
{
    QList<BListViewItem *> taken;
    if (!m_children || m_children->all.empty())
        return taken;
    taken.reserve(qsizetype(m_children->all.size()));
    for (BListViewItem *child : m_children->all)
        taken.append(child);
    if (BListModel *owner = model()) {
        owner->removeItems(taken, false);
    } else {
        for (BListViewItem *child : std::as_const(taken))
            child->m_parent = nullptr;
        m_children->all.clear();
        m_children->shown.clear();
    }
    return taken;
}

void BListViewItem::removeChild(BListViewItem *child)
{
    if (child && child->m_parent == this)
        detachChild(child);
}

void BListViewItem::setHidden(bool hidden)
{
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    // Hiding changes what is shown, not the order: nothing to sort.
    if (BListModel *owner = model(); owner && m_parent)
        owner->schedulePublish();
}

void BListViewItem::setChildIndicatorPolicy(ChildIndicatorPolicy policy)
{
    m_showIndicator = policy == ShowIndicator;
    emitDataChanged();
}

void BListViewItem::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    if (BListView *view = listView())
        view->expandedChanged(this);
}

bool BListViewItem::isSelected() const
{
    BListView *view = listView();
    return view && view->isItemSelected(this);
}

void BListViewItem::setSelected(bool selected)
{
    if (BListView *view = listView())
        view->setItemSelected(this, selected);
}

void BListViewItem::keepShownTexts(const std::function<QString(int)> &cellText)
{
    BListView *view = listView();
    if (!view || !row())
        return;
    QStringList texts;
    const int columns = view->columnCount();
    texts.reserve(columns);
    for (int column = 0; column < columns; ++column)
        texts << (view->isColumnHidden(column) ? QString() : cellText(column));
    keepTexts(std::move(texts));
}

QVariant BRowTextItem::data(int column, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && row() && column >= 0)
        return cellText(column);
    return BListViewItem::data(column, role);
}

BSortKey BRowTextItem::sortKey(int column, const BCol *definition) const
{
    if (row() && column >= 0)
        return BSortKey::fromText(cellText(column));
    return BListViewItem::sortKey(column, definition);
}

void BRowTextItem::releaseRow()
{
    keepShownTexts([this](int column) { return cellText(column); });
    BListViewItem::releaseRow();
}

QVariant BCheckRowTextItem::data(int column, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && row() && column >= 0)
        return cellText(column);
    return BCheckListItem::data(column, role);
}

void BCheckRowTextItem::releaseRow()
{
    keepShownTexts([this](int column) { return cellText(column); });
    BCheckListItem::releaseRow();
}

QString BDeclaredItem::cellText(int column) const
{
    BListView *view = listView();
    const BCol *definition = view ? view->columnDefinition(column) : nullptr;
    return definition && definition->cellText ? definition->cellText(*row()) : QString();
}

BSortKey BDeclaredItem::sortKey(int column, const BCol *definition) const
{
    if (row() && definition && definition->sortKey)
        return definition->sortKey(*row());
    return BRowTextItem::sortKey(column, definition);
}

BCheckListItem::BCheckListItem(DBRow *row, int type)
    : BListViewItem(row, type)
{
    setCheckable();
}

BCheckListItem::BCheckListItem(BListView *view, DBRow *row, int type)
    : BListViewItem(row, type)
{
    setCheckable();
    if (view)
        view->adoptItem(this);
}

void BCheckListItem::setData(int column, int role, const QVariant &value)
{
    const bool checkChange = role == Qt::CheckStateRole && column == 0;
    const Qt::CheckState before = checkState(0);
    BListViewItem::setData(column, role, value);
    if (checkChange && before != checkState(0)) {
        if (BListView *view = listView())
            view->slotItemChecked(this);
    }
}

BOrderListItem::BOrderListItem(DBRow *row, int order)
    : BCheckListItem(row, Type)
    , m_order(order)
{ }

BOrderListItem::BOrderListItem(BListView *view, DBRow *row, int order)
    : BCheckListItem(row, Type)
    , m_order(order)
{
    if (view)
        view->adoptItem(this);
}

BSortKey BOrderListItem::sortKey(int, const BCol *) const
{
    return BSortKey::fromNumber(m_order);
}

BListViewItemIterator::BListViewItemIterator(const BListView *view)
    : m_current(view ? view->topLevelItem(0) : nullptr)
{ }

BListViewItemIterator::BListViewItemIterator(BListViewItem *start)
    : m_current(start)
{ }

BListViewItemIterator &BListViewItemIterator::operator++()
{
    if (!m_current)
        return *this;
    if (m_current->childCount() > 0) {
        m_current = m_current->child(0);
        return *this;
    }
    // The next sibling of the row or of its nearest ancestor that has one.
    BListViewItem *item = m_current;
    while (item->m_parent) {
        BListViewItem *parent = item->m_parent;
        if (BListViewItem *next = parent->child(parent->indexOfChild(item) + 1)) {
            m_current = next;
            return *this;
        }
        if (parent->m_isRoot)
            break;
        item = parent;
    }
    m_current = nullptr;
    return *this;
}

#include "pages/domains/domainwnd.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "pages/domains/domaindlg.h"
#include "pages/domains/domainguard.h"
#include "pages/domains/domainitem.h"
#include "pages/domains/domainmarkers.h"

#include <QHash>

namespace {

bool isAlias(const DBRow *row)
{
    return row->text("Type").toInt() == domainmarkers::DomainAlias;
}

} // namespace

DomainWnd::DomainWnd(QWidget *parent)
    : BFormList<>(parent)
    , m_table(bobject::connection(), QStringLiteral("Domain"), QList<DBKol>(),
              DBTable::Options{.keysIgnoreCase = true})
    , m_directory(bobject::connection(), QStringLiteral("DirectoryService"), QList<DBKol>(),
                  DBTable::Options{.keysIgnoreCase = true})
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("DomainWnd"));
    listView()->setAccessibleName(tr("Domains"));
    listView()->setRootIsDecorated(true);
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_directory);
}

void DomainWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("domain")));
    cols.addColumn(tr("Name"), QStringLiteral("Domain"), BCol::AlwaysVisible);
    cols.addColumn(tr("Type"), QStringLiteral("Type"), BCol::Visible);
    cols.addColumn(tr("Aliases"), QStringLiteral("Alias"), BCol::Visible);
    cols.addColumn(tr("NT Domain"), QStringLiteral("NtAuthDomain"), BCol::Hidden);
    cols.addColumn(tr("Kerberos%1").arg(tr(" Realm")), QStringLiteral("KerberosRealm"),
                   BCol::Hidden);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Info"), QStringLiteral("FwHost"), BCol::Visible);
    cols.addColumn(tr("Message size limit"), QStringLiteral("MaxOutgoingMessageSize"),
                   BCol::Visible);
    cols.addColumn(tr("Deleted items recovery"), QStringLiteral("DeletedMsgExpiration"),
                   BCol::Hidden);
    cols.addColumn(tr("User count limit"), QStringLiteral("MaxUserCount"), BCol::Hidden);
}

QList<DBRow *> DomainWnd::aliasRows(const DBTable &table, const QString &domain)
{
    QList<DBRow *> rows;
    for (DBRow *row : table.rows()) {
        if (isAlias(row) && row->text("Alias").compare(domain, Qt::CaseInsensitive) == 0)
            rows.append(row);
    }
    return rows;
}

QString DomainWnd::storedName(const DBTable &table, const DBRow *row)
{
    const int index = row ? table.indexInConfirmed(row->rowNumber()) : -1;
    return index < 0 ? QString() : table.confirmedRow(index).text("Domain");
}

BListViewItem *DomainWnd::createItem(DBRow *row)
{
    if (isAlias(row))
        return new DomainItem(listView(), row, {});
    QStringList names;
    const QList<DBRow *> aliases = aliasRows(m_table, row->text("Domain"));
    for (const DBRow *alias : aliases)
        names.append(alias->text("Domain"));
    auto *item = new DomainItem(listView(), row, names);
    for (DBRow *alias : aliases)
        new DomainItem(item, alias);
    return item;
}

bool DomainWnd::fillView()
{
    listView()->clear();
    QHash<QString, DomainItem *> domains;
    QHash<QString, QStringList> names;
    for (const DBRow *row : m_table.rows()) {
        if (isAlias(row))
            names[row->text("Alias").toLower()].append(row->text("Domain"));
    }
    for (DBRow *row : m_table.rows()) {
        if (isAlias(row))
            continue;
        const QString key = row->text("Domain").toLower();
        domains.insert(key, new DomainItem(listView(), row, names.value(key)));
    }
    for (DBRow *row : m_table.rows()) {
        if (!isAlias(row))
            continue;
        if (DomainItem *parent = domains.value(row->text("Alias").toLower()))
            new DomainItem(parent, row);
        else
            new DomainItem(listView(), row, {}); // an alias whose domain is gone
    }
    return true;
}

DomainItem *DomainWnd::itemOf(const DBRow *row) const
{
    for (BListViewItemIterator it(listView()); *it; ++it) {
        auto *item = dynamic_cast<DomainItem *>(*it);
        if (item && item->row() == row)
            return item;
    }
    return nullptr;
}

void DomainWnd::rebuild(const DBRow *select)
{
    m_updating = true;
    {
        BListUpdater updater(listView());
        fillView();
        updater.finish();
    }
    m_updating = false;
    if (DomainItem *item = select ? itemOf(select) : nullptr) {
        listView()->expandAll();
        selectItem(item);
    } else {
        restoreSelection();
    }
    selectionChanged();
}

void DomainWnd::restoreSelection()
{
    // Aliases are shown below their domains from the start.
    listView()->expandAll();
    BFormList<>::restoreSelection();
}

bool DomainWnd::initNewRow(DBRow *row)
{
    bool hasPrimary = false;
    for (const DBRow *other : m_table.rows())
        hasPrimary = hasPrimary || other->text("Type").toInt() == domainmarkers::PrimaryDomain;
    row->setText("Type",
                 QString::number(hasPrimary ? domainmarkers::LocalDomain
                                            : domainmarkers::PrimaryDomain));
    const int id = m_table.columns().indexOf(QStringLiteral("ID"));
    if (id >= 0)
        row->setNull(id); // the server numbers its rows
    row->setText("BindIp", QStringLiteral("0.0.0.0"));
    row->setText("FwPort", QStringLiteral("25"));
    row->setText("localDomainInsertFooter", QStringLiteral("1"));
    return true;
}

bool DomainWnd::editRow(DBRow *row)
{
    DomainDlg dialog(row, &m_table, &m_directory, this);
    return dialog.exec() == QDialog::Accepted;
}

void DomainWnd::add()
{
    const int before = m_table.rowCount();
    BFormList<>::add();
    if (m_table.rowCount() != before) {
        // The dialog may have added aliases and changed the primary domain;
        // the new domain stays selected.
        BBaseListItem *added = baseListItem(listView()->currentItem());
        rebuild(added ? added->row() : nullptr);
    }
}

void DomainWnd::edit()
{
    // An alias is edited in the dialog of its domain.
    BListViewItem *current = listView()->currentItem();
    if (current && current->parent() && !m_detached) {
        listView()->setCurrentItem(current->parent(), 0,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    BFormList<>::edit();
}

void DomainWnd::updateItems(const QList<BListViewItem *> &items)
{
    // Aliases, the domain's name and the primary domain may all have changed.
    const DBRow *edited = nullptr;
    if (!items.isEmpty()) {
        if (BBaseListItem *base = baseListItem(items.first()))
            edited = base->row();
    }
    rebuild(edited);
}

bool DomainWnd::mayRemoveDomain(DBRow *row, const QList<DBRow *> &removing)
{
    const QString name = row->text("Domain");
    for (DBRow *alias : aliasRows(m_table, name)) {
        if (!removing.contains(alias)) {
            bmessagebox::warning(this, domainguard::refusalText(name, domainguard::DomainAliases));
            return false;
        }
    }
    const QString stored = storedName(m_table, row);
    return domainguard::mayLetGo(this, stored.isEmpty() ? name : stored);
}

void DomainWnd::remove()
{
    if (!removeButton()->isEnabled() || m_detached || !confirmRemove())
        return;
    QList<DBRow *> rows;
    for (BListViewItem *item : listView()->selectedItemsInOrder()) {
        BBaseListItem *base = baseListItem(item);
        if (base && base->row() && base->canRemove())
            rows.append(base->row());
    }
    // Aliases go first, so a domain selected with all its aliases may go too.
    std::stable_partition(rows.begin(), rows.end(), [](const DBRow *row) { return isAlias(row); });
    QList<DBRow *> removing;
    for (DBRow *row : std::as_const(rows)) {
        if (!isAlias(row) && !mayRemoveDomain(row, removing))
            continue;
        removing.append(row);
    }
    if (removing.isEmpty())
        return;
    for (DBRow *row : std::as_const(removing)) {
        if (!isAlias(row)) {
            // The domain's directory binding goes with it.
            const QString name = row->text("Domain");
            const QList<DBRow *> bindings = m_directory.rows();
            for (DBRow *binding : bindings) {
                if (binding->text("Domain").compare(name, Qt::CaseInsensitive) == 0)
                    m_directory.removeRow(binding);
            }
        }
    }
    // The items go before their rows.
    listView()->clear();
    for (DBRow *row : std::as_const(removing))
        m_table.removeRow(row);
    rebuild(nullptr);
    registerChanges();
}

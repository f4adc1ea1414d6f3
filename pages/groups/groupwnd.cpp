#include "pages/groups/groupwnd.h"

#include "db/dbconn.h"
#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "pages/groups/groupdlg.h"
#include "pages/groups/groupwiz.h"
#include "pages/usergroups/pvnauthorization.h"
#include "pages/usergroups/ugapplyfirst.h"
#include "pages/usergroups/ugpublish.h"
#include "pages/usergroups/ugtexts.h"
#include "pages/usergroups/useractivatedlgtemp.h"
#include "pages/usergroups/userexportdlg.h"
#include "pages/usergroups/userldapdlg.h"

#include <QIcon>
#include <QPushButton>

namespace {

const QString kName = QStringLiteral("Name");
const QString kDomain = QStringLiteral("Domain");
const QString kGroups = QStringLiteral("Groups");
const QString kRowSource = QStringLiteral("$RowSource");

} // namespace

TGroupWnd::TGroupWnd(QWidget *parent)
    : TDomainFormList(parent)
    , m_btnExport(addButtonBelow(tr("&Publish..."), QStringLiteral("m_btnExport")))
{
    listView()->setAccessibleName(tr("Groups"));
    m_btnExport->setAccessibleName(tr("Publish groups"));
    connect(m_btnExport, &QPushButton::clicked, this, &TGroupWnd::slotExport);
}

GroupItem::GroupItem(BListView *view, DBRow *row)
    : BRowTextItem(view, row)
{
    setIcon(0, QIcon(QStringLiteral(":/images/groups_tree.png")));
}

QString GroupItem::cellText(int column) const
{
    const DBRow &group = *row();
    switch (column) {
    case 0:
        return group.text(kName);
    case 1:
        return group.text(QStringLiteral("Description"));
    case 2:
        return ugtexts::rightsText(group.text(QStringLiteral("Rights")).toLongLong());
    case 3:
        return ugtexts::dataSourceText(group.text(kRowSource).toLongLong());
    default:
        return QString();
    }
}

BSortKey GroupItem::sortKey(int column, const BCol *definition) const
{
    return BSortKey::belowOthers(BRowTextItem::sortKey(column, definition));
}

GroupWnd::GroupWnd(QWidget *parent)
    : DomainFormList<TGroupWnd>(parent)
    , m_directories(bobject::connection(), QStringLiteral("DirectoryService"))
    , m_publicFolders(bobject::connection(), QStringLiteral("PublicFolders"))
    , m_pageTrans(bobject::connection())
{
    setObjectName(QStringLiteral("GroupWnd"));
    m_pageTrans.addTable(&m_directories, DBTransTab::MemberOptions{.leftOutOfTransactions = true});
    m_pageTrans.addTable(&m_publicFolders,
                         DBTransTab::MemberOptions{.leftOutOfTransactions = true});
    QObject::connect(&m_pageTrans, &DBTransTab::signalSelectIsReady, objectSlot(),
                     [this] { updateDirectoryFlag(); });
}

void GroupWnd::createDomainTables(DomainTables &set)
{
    DBTable::Options group;
    group.directoryAware = true;
    group.keysIgnoreCase = true;
    DBTable::Options user;
    user.keysIgnoreCase = true;
    DBTransTab::MemberOptions readOnly;
    readOnly.leftOutOfTransactions = true;
    set.addTable(QStringLiteral("Group"), group);
    set.addTable(QStringLiteral("User"), user);
    set.addTable(QStringLiteral("Alias"), {}, readOnly);
    set.addTable(QStringLiteral("MailingList"), {}, readOnly);
}

void GroupWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("groups")));
    cols.addColumn(tr("Name"), kName, BCol::AlwaysVisible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Rights"), QStringLiteral("Rights"), BCol::Hidden);
    cols.addColumn(tr("Data Source"), kRowSource, BCol::Hidden);
}

BListViewItem *GroupWnd::createItem(DBRow *row)
{
    return new GroupItem(listView(), row);
}

GroupDlgTemp::Tables GroupWnd::tablesOfCurrent() const
{
    GroupDlgTemp::Tables tables;
    if (DomainTables *set = currentTables()) {
        tables.users = set->table(QStringLiteral("User"));
        tables.aliases = set->table(QStringLiteral("Alias"));
        tables.lists = set->table(QStringLiteral("MailingList"));
    }
    return tables;
}

bool GroupWnd::editRow(DBRow *row)
{
    GroupDlg dialog(row, tablesOfCurrent(), this);
    return dialog.exec() == QDialog::Accepted;
}

void GroupWnd::load(bool first)
{
    DomainFormList<TGroupWnd>::load(first);
    // Queued after the domains: a first load drops what was queued before it.
    m_pageTrans.select(nullptr, nullptr, nullptr, nullptr);
}

void GroupWnd::domainChanged()
{
    updateDirectoryFlag();
}

void GroupWnd::updateDirectoryFlag()
{
    const QString domain = currentDomain();
    bool bound = false;
    for (const DBRow *row : m_directories.rows())
        bound = bound
                || (!domain.isEmpty()
                    && row->text(kDomain).compare(domain, Qt::CaseInsensitive) == 0);
    if (bound)
        m_flags |= FlagDirectoryDomain;
    else
        m_flags &= ~FlagDirectoryDomain;
}

QString GroupWnd::defaultFolder(const QString &domain) const
{
    const bool perDomain = m_publicFolders.rowCount() > 0
            && m_publicFolders.row(0)->text(QStringLiteral("PublicFoldersPerDomain")).toInt() != 0;
    return ugpublish::defaultFolder(domain, perDomain);
}

bool GroupWnd::save()
{
    if (!DomainFormList<TGroupWnd>::save())
        return false;
    publishPending();
    return true;
}

void GroupWnd::publishPending()
{
    DBTable *groups = table();
    const QString domain = currentDomain();
    int total = 0;
    int published = 0;
    QList<QPair<QString, QString>> others;
    for (const auto &entry : std::as_const(m_publish)) {
        if (entry.first.compare(domain, Qt::CaseInsensitive) != 0) {
            others.append(entry);
            continue;
        }
        const DBRow *found = nullptr;
        for (const DBRow *row : groups ? groups->rows() : QList<DBRow *>()) {
            if (row->text(kName).compare(entry.second, Qt::CaseInsensitive) == 0)
                found = row;
        }
        if (!found)
            continue; // removed again before Apply
        ++total;
        if (ugpublish::publish(bobject::connection(), defaultFolder(domain),
                               ugpublish::groupEntry(*found)))
            ++published;
    }
    m_publish = others;
    m_lastPublish = {published, total};
    if (published < total)
        bmessagebox::warning(this,
                             ugpublish::summaryText(ugpublish::Kind::Groups, published, total));
}

void GroupWnd::discard()
{
    m_publish.clear();
    DomainFormList<TGroupWnd>::discard();
}

void GroupWnd::add()
{
    if (!addButton()->isEnabled() || itemsDetached() || !table() || !!sessionReadOnly())
        return;
    if (m_flags & FlagDirectoryDomain) {
        UserLdapDlg chooser(UserLdapDlg::Mode::Groups, this);
        if (chooser.exec() != QDialog::Accepted)
            return;
        if (chooser.activate())
            m_flags |= FlagActivate;
        else
            m_flags &= ~FlagActivate;
    } else {
        m_flags &= ~FlagActivate;
    }
    if (m_flags & FlagActivate)
        addActivated();
    else
        addLocal();
}

void GroupWnd::addLocal()
{
    DBTable *groups = table();
    DBRow *row = groups->addRow();
    row->setText(kDomain, currentDomain());
    GroupWiz wizard(row, tablesOfCurrent(), this);
    if (wizard.exec() != QDialog::Accepted) {
        groups->removeRow(row);
        return;
    }
    if (wizard.exportRequested())
        m_publish.append({currentDomain(), row->text(kName)});
    if (BListViewItem *item = createItem(row))
        selectItem(item);
    registerChanges();
}

void GroupWnd::addActivated()
{
    DBTable *groups = table();
    QStringList existing;
    for (const DBRow *row : groups->rows())
        existing.append(row->text(kName));
    UserActivateDlgTemp dialog(UserActivateDlgTemp::Mode::Groups, currentDomain(), existing, this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenRows().isEmpty())
        return;
    BListViewItem *last = nullptr;
    for (const DBRow *chosen : dialog.chosenRows()) {
        DBRow *row = groups->addRow();
        const DBKols *columns = chosen->columns();
        for (int i = 0; columns && i < columns->count(); ++i)
            row->setText(columns->at(i).name, chosen->text(i));
        last = createItem(row);
    }
    if (last)
        selectItem(last);
    registerChanges();
}

void GroupWnd::remove()
{
    // The names (and kinds) of the groups that may go, read before their
    // rows are deleted.
    QList<QPair<QString, int>> selected;
    for (BListViewItem *item : listView()->selectedItemsInOrder()) {
        BBaseListItem *base = baseListItem(item);
        if (base && base->row())
            selected.append({base->row()->text(kName),
                             ugtexts::sourceKind(base->row()->text(kRowSource).toLongLong())});
    }
    const int before = table() ? table()->rowCount() : 0;
    DomainFormList<TGroupWnd>::remove();
    DBTable *groups = table();
    if (!groups || groups->rowCount() == before)
        return;
    // A removed group leaves its members in the same transaction: a new
    // group of that name must not inherit them (nor their rights).
    DBTable *users = tablesOfCurrent().users;
    const QString domain = currentDomain();
    bool changed = false;
    for (const auto &[name, kind] : selected) {
        bool stillThere = false;
        for (const DBRow *row : groups->rows())
            stillThere = stillThere || row->text(kName) == name;
        if (stillThere)
            continue;
        m_publish.removeAll({domain, name});
        for (DBRow *user : users ? users->rows() : QList<DBRow *>()) {
            if (ugtexts::sourceKind(user->text(kRowSource).toLongLong()) != kind
                || !PvnAuthorization::has(user->text(kGroups), name))
                continue;
            user->setText(kGroups, PvnAuthorization::set(user->text(kGroups), name, false));
            changed = true;
        }
    }
    if (changed)
        registerChanges();
}

void GroupWnd::selectionChanged()
{
    DomainFormList<TGroupWnd>::selectionChanged();
    exportButton()->setEnabled(listView()->isEnabled() && !sessionReadOnly() && !itemsDetached()
                               && !listView()->selectedItems().isEmpty());
}

void GroupWnd::setFormEnabled(bool on)
{
    DomainFormList<TGroupWnd>::setFormEnabled(on);
    exportButton()->setEnabled(on && !sessionReadOnly() && !itemsDetached()
                               && !listView()->selectedItems().isEmpty());
}

void GroupWnd::slotExport()
{
    if (!exportButton()->isEnabled() || !ugapplyfirst::applyPendingChanges(this))
        return;
    QList<ugpublish::Entry> entries;
    for (BListViewItem *item : listView()->selectedItemsInOrder()) {
        BBaseListItem *base = baseListItem(item);
        if (base && base->row())
            entries.append(ugpublish::groupEntry(*base->row()));
    }
    if (entries.isEmpty())
        return;
    UserExportDlg dialog(ugpublish::Kind::Groups, entries, currentDomain(),
                         defaultFolder(currentDomain()), this);
    dialog.exec();
}

#include "pages/groups/groupdlgtemp.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bcols.h"
#include "forms/blistitems.h"
#include "forms/blistregistrations.h"
#include "forms/blistview.h"
#include "forms/groupvalidator.h"
#include "pages/usergroups/mailaddressdlg.h"
#include "pages/usergroups/pvnauthorization.h"
#include "pages/usergroups/selectgroupdlg.h"
#include "pages/usergroups/ugconflicts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// "Groups" and "MailAddress" are comma-separated lists like the permission
// words, with the same reading past empty sections.
bool hasSection(const QString &text, const QString &section)
{
    return PvnAuthorization::has(text, section);
}

QString withSection(const QString &text, const QString &section, bool on)
{
    return PvnAuthorization::set(text, section, on);
}

QString domainOf(const DBRow &row)
{
    return row.text(QStringLiteral("Domain"));
}

} // namespace

GroupDlgTemp::GroupDlgTemp(QWidget *owner, const Tables &tables)
    : QObject(owner)
    , m_edName(new QLineEdit(owner))
    , m_edDescription(new QLineEdit(owner))
    , m_lstAddress(new QListWidget(owner))
    , m_btnAddAddress(new QPushButton(tr("Add..."), owner))
    , m_btnEditAddress(new QPushButton(tr("Edit..."), owner))
    , m_btnRemoveAddresses(new QPushButton(tr("Remove"), owner))
    , m_lvUsers(new BListView(owner))
    , m_fraButtons(new QFrame(owner))
    , m_btnAddUser(new QPushButton(tr("&Add..."), m_fraButtons))
    , m_btnRemoveUsers(new QPushButton(tr("&Remove"), m_fraButtons))
    , m_rbNoAccess(new QRadioButton(tr("&No access to administration"), owner))
    , m_rbReadOnlyAccess(new QRadioButton(tr("&Read only access"), owner))
    , m_rbFullAccess(new QRadioButton(tr("Read/&write access"), owner))
    , m_chkWebadminRights(new QCheckBox(
              tr("Group can administer aliases, users and groups for its own domain."), owner))
    , m_lblPxWebadminInfo(new QLabel(owner))
    , m_lblWebadminInfo(new QLabel(tr("Users and groups that have administrative rights will not "
                                      "be configurable through the Webadmin interface."),
                                   owner))
    , m_chkOwnDomainOnly(new QCheckBox(
              tr("This group can send/receive email to/from its own domain only"), owner))
    , m_bgFax(new QGroupBox(owner))
    , m_chkFax(new QCheckBox(m_bgFax))
    , m_owner(owner)
    , m_tables(tables)
{
    const struct
    {
        QWidget *widget;
        const char *name;
    } names[] = {{m_edName, "m_edName"},
                 {m_edDescription, "m_edDescription"},
                 {m_lstAddress, "m_lstAddress"},
                 {m_btnAddAddress, "m_btnAddAddress"},
                 {m_btnEditAddress, "m_btnEditAddress"},
                 {m_btnRemoveAddresses, "m_btnRemoveAddresses"},
                 {m_lvUsers, "m_lvUsers"},
                 {m_fraButtons, "m_fraButtons"},
                 {m_btnAddUser, "m_btnAddUser"},
                 {m_btnRemoveUsers, "m_btnRemoveUsers"},
                 {m_rbNoAccess, "m_rbNoAccess"},
                 {m_rbReadOnlyAccess, "m_rbReadOnlyAccess"},
                 {m_rbFullAccess, "m_rbFullAccess"},
                 {m_chkWebadminRights, "m_chkWebadminRights"},
                 {m_lblPxWebadminInfo, "m_lblPxWebadminInfo"},
                 {m_lblWebadminInfo, "m_lblWebadminInfo"},
                 {m_chkOwnDomainOnly, "m_chkOwnDomainOnly"},
                 {m_bgFax, "m_bgFax"},
                 {m_chkFax, "m_chkFax"}};
    for (const auto &entry : names)
        entry.widget->setObjectName(QLatin1String(entry.name));

    m_edName->setMaxLength(255);
    m_edName->setValidator(new GroupValidator(255, m_edName));
    m_edName->setAccessibleName(tr("Name"));
    m_edDescription->setMaxLength(511);
    m_edDescription->setAccessibleName(tr("Description"));
    m_lstAddress->setAccessibleName(tr("Mail Addresses"));
    m_lstAddress->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_btnAddAddress->setAccessibleName(tr("Add address"));
    m_btnEditAddress->setAccessibleName(tr("Edit address"));
    m_btnRemoveAddresses->setAccessibleName(tr("Remove addresses"));
    m_btnAddUser->setAccessibleName(tr("Add members"));
    m_btnRemoveUsers->setAccessibleName(tr("Remove members"));
    m_lblWebadminInfo->setWordWrap(true);
    m_lblPxWebadminInfo->setPixmap(
            owner->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
    m_chkFax->setText(tr("Members this group can send fax messages through the fax plugin"));
    auto *faxLayout = new QVBoxLayout(m_bgFax);
    faxLayout->addWidget(m_chkFax);

    // Members: "groupuser", no "&Edit..." in the context menu.
    m_lvUsers->setAccessibleName(tr("Members"));
    BCols cols(*BListRegistrations::find(QStringLiteral("groupuser")));
    cols.addColumn(tr("Name"), QStringLiteral("Name"), BCol::AlwaysVisible);
    cols.addColumn(tr("Full name"), QStringLiteral("Fullname"), BCol::Visible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    m_lvUsers->setCols(cols);
    m_lvUsers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (QAction *edit = m_lvUsers->menuAction(BListView::CommandEdit))
        m_lvUsers->contextMenu()->removeAction(edit);
    auto *memberButtons = new QHBoxLayout(m_fraButtons);
    memberButtons->setContentsMargins(0, 0, 0, 0);
    memberButtons->addWidget(m_btnAddUser);
    memberButtons->addWidget(m_btnRemoveUsers);
    memberButtons->addStretch(1);

    UGDlgTemp::Widgets rights;
    rights.noAccess = m_rbNoAccess;
    rights.readOnly = m_rbReadOnlyAccess;
    rights.fullAccess = m_rbFullAccess;
    rights.webadmin = m_chkWebadminRights;
    rights.ownDomainOnly = m_chkOwnDomainOnly;
    rights.fax = m_chkFax;
    rights.faxBox = m_bgFax;
    m_rights = std::make_unique<UGDlgTemp>(rights);

    connect(m_btnAddAddress, &QPushButton::clicked, this, &GroupDlgTemp::slotAddAddress);
    connect(m_btnEditAddress, &QPushButton::clicked, this, &GroupDlgTemp::slotEditAddress);
    connect(m_btnRemoveAddresses, &QPushButton::clicked, this, &GroupDlgTemp::slotRemoveAddresses);
    connect(m_lstAddress, &QListWidget::itemDoubleClicked, this, &GroupDlgTemp::slotEditAddress);
    connect(m_lstAddress, &QListWidget::itemSelectionChanged, this,
            &GroupDlgTemp::slotAddressSelectionChanged);
    connect(m_btnAddUser, &QPushButton::clicked, this, &GroupDlgTemp::slotAddUser);
    connect(m_btnRemoveUsers, &QPushButton::clicked, this, &GroupDlgTemp::slotRemoveUsers);
    connect(m_lvUsers, &BListView::itemSelectionChanged, this,
            &GroupDlgTemp::slotUserSelectionChanged);
    connect(m_lvUsers, &BListView::signalCommand, this, &GroupDlgTemp::slotCommand);
    slotAddressSelectionChanged();
    slotUserSelectionChanged();
}

GroupDlgTemp::~GroupDlgTemp() = default;

QString GroupDlgTemp::duplicateMessage()
{
    return QCoreApplication::translate("GroupDlgTemp<T>", "This group already exists.");
}

QFormLayout *GroupDlgTemp::nameForm(QWidget *labelParent)
{
    auto *form = new QFormLayout;
    auto *nameLabel = new QLabel(tr("Name:"), labelParent);
    nameLabel->setBuddy(m_edName);
    auto *descriptionLabel = new QLabel(tr("Description:"), labelParent);
    descriptionLabel->setBuddy(m_edDescription);
    form->addRow(nameLabel, m_edName);
    form->addRow(descriptionLabel, m_edDescription);
    return form;
}

void GroupDlgTemp::layoutAddresses(QWidget *container)
{
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_btnAddAddress);
    buttons->addWidget(m_btnEditAddress);
    buttons->addWidget(m_btnRemoveAddresses);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(container);
    layout->addWidget(m_lstAddress, 1);
    layout->addLayout(buttons);
}

void GroupDlgTemp::layoutRights(QWidget *page, const QString &title)
{
    auto *rightsBox = new QGroupBox(title, page);
    auto *rightsLayout = new QVBoxLayout(rightsBox);
    rightsLayout->addWidget(m_rbNoAccess);
    rightsLayout->addWidget(m_rbReadOnlyAccess);
    rightsLayout->addWidget(m_rbFullAccess);
    auto *webadminBox = new QGroupBox(tr("Webadmin administration rights"), page);
    auto *webadminLayout = new QVBoxLayout(webadminBox);
    webadminLayout->addWidget(m_chkWebadminRights);
    auto *note = new QHBoxLayout;
    note->addWidget(m_lblPxWebadminInfo, 0, Qt::AlignTop);
    note->addWidget(m_lblWebadminInfo, 1);
    webadminLayout->addLayout(note);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(rightsBox);
    layout->addWidget(webadminBox);
    layout->addStretch(1);
}

void GroupDlgTemp::fill(const DBRow &group)
{
    m_groupName = group.text(QStringLiteral("Name"));
    m_domain = domainOf(group);
    m_kind = ugtexts::sourceKind(group.text(QStringLiteral("$RowSource")).toLongLong());
    if (m_kind != 0) {
        // A directory group's members are shown, not edited.
        m_fraButtons->hide();
        m_btnAddUser->hide();
        m_btnRemoveUsers->hide();
        disconnect(m_lvUsers, &BListView::signalCommand, this, &GroupDlgTemp::slotCommand);
        for (int id : {int(BListView::CommandAdd), int(BListView::CommandRemove)})
            m_lvUsers->setMenuItemEnabled(id, false);
    }

    m_edName->setText(m_groupName);
    m_edDescription->setText(group.text(QStringLiteral("Description")));
    m_lstAddress->clear();
    m_filledAddresses.clear();
    for (const QString &section :
         group.text(QStringLiteral("MailAddress")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString local = section.trimmed();
        if (local.isEmpty())
            continue;
        m_lstAddress->addItem(local + QLatin1Char('@') + m_domain);
        m_filledAddresses.append(local);
    }

    m_lvUsers->clear();
    m_memberNames.clear();
    m_working.clear();
    if (m_tables.users) {
        for (DBRow *user : m_tables.users->rows()) {
            const QString groups = user->text(QStringLiteral("Groups"));
            m_working.insert(user, groups);
            if (!m_groupName.isEmpty()
                && domainOf(*user).compare(m_domain, Qt::CaseInsensitive) == 0
                && ugtexts::sourceKind(user->text(QStringLiteral("$RowSource")).toLongLong())
                        == m_kind
                && hasSection(groups, m_groupName))
                addMember(user);
        }
    }
    m_rights->fill(group);
    slotAddressSelectionChanged();
    slotUserSelectionChanged();
}

void GroupDlgTemp::addMember(DBRow *user)
{
    new BListViewItem(m_lvUsers, user,
                      {user->text(QStringLiteral("Name")), user->text(QStringLiteral("Fullname")),
                       user->text(QStringLiteral("Description"))});
    m_memberNames.append(user->text(QStringLiteral("Name")));
}

DBRow *GroupDlgTemp::findUser(const QString &name) const
{
    if (!m_tables.users)
        return nullptr;
    for (DBRow *user : m_tables.users->rows()) {
        if (domainOf(*user).compare(m_domain, Qt::CaseInsensitive) == 0
            && user->text(QStringLiteral("Name")) == name)
            return user;
    }
    return nullptr;
}

QString GroupDlgTemp::workingGroups(const DBRow *user) const
{
    return m_working.value(const_cast<DBRow *>(user));
}

int GroupDlgTemp::addressCount() const
{
    return m_lstAddress->count();
}

QStringList GroupDlgTemp::addresses() const
{
    QStringList list;
    for (int i = 0; i < m_lstAddress->count(); ++i)
        list.append(m_lstAddress->item(i)->text());
    return list;
}

void GroupDlgTemp::renameGroup(const QString &name)
{
    if (name == m_groupName)
        return;
    for (auto it = m_working.begin(); it != m_working.end(); ++it) {
        if (!m_groupName.isEmpty() && hasSection(it.value(), m_groupName))
            it.value() = withSection(withSection(it.value(), m_groupName, false), name, true);
    }
    m_groupName = name;
}

void GroupDlgTemp::slotAddUser()
{
    if (m_kind != 0 || !m_btnAddUser->isEnabled() || !m_tables.users)
        return;
    SelectGroupDlg dialog(m_tables.users, m_domain, m_memberNames, SelectGroupDlg::Mode::Users,
                          m_kind, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (DBRow *user : dialog.chosenRows()) {
        QString &groups = m_working[user];
        if (!hasSection(groups, m_groupName))
            groups = groups.isEmpty() ? m_groupName : groups + QLatin1Char(',') + m_groupName;
        addMember(user);
    }
    slotUserSelectionChanged();
}

void GroupDlgTemp::slotRemoveUsers()
{
    if (m_kind != 0 || !m_btnRemoveUsers->isEnabled())
        return;
    for (BListViewItem *item : m_lvUsers->selectedItemsInOrder()) {
        const QString name = item->text(0);
        if (DBRow *user = findUser(name)) {
            QString &groups = m_working[user];
            groups = withSection(groups, m_groupName, false);
        }
        m_memberNames.removeAll(name);
        delete item;
    }
    slotUserSelectionChanged();
}

bool GroupDlgTemp::holdsAddress(const QString &address, int except) const
{
    for (int i = 0; i < m_lstAddress->count(); ++i) {
        if (i != except && m_lstAddress->item(i)->text().compare(address, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void GroupDlgTemp::slotAddAddress()
{
    if (!m_btnAddAddress->isEnabled())
        return;
    MailAddressDlg dialog(m_domain, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString address = dialog.address();
    if (holdsAddress(address, -1))
        return;
    m_lstAddress->addItem(address);
    m_lstAddress->setCurrentRow(m_lstAddress->count() - 1);
    emit signalAddressesChanged();
}

void GroupDlgTemp::slotEditAddress()
{
    QListWidgetItem *item = m_lstAddress->currentItem();
    if (!item || !m_btnEditAddress->isEnabled())
        return;
    MailAddressDlg dialog(m_domain, m_owner);
    dialog.setAddress(item->text());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString address = dialog.address();
    if (holdsAddress(address, m_lstAddress->row(item)))
        return;
    item->setText(address);
}

void GroupDlgTemp::slotRemoveAddresses()
{
    if (!m_btnRemoveAddresses->isEnabled())
        return;
    const QList<QListWidgetItem *> selected = m_lstAddress->selectedItems();
    if (selected.isEmpty())
        return;
    qDeleteAll(selected);
    slotAddressSelectionChanged();
    emit signalAddressesChanged();
}

void GroupDlgTemp::slotUserSelectionChanged()
{
    const bool any = !m_lvUsers->selectedItems().isEmpty();
    m_btnRemoveUsers->setEnabled(any);
    m_lvUsers->setMenuItemEnabled(BListView::CommandRemove, any && m_kind == 0);
}

void GroupDlgTemp::slotAddressSelectionChanged()
{
    const bool any = !m_lstAddress->selectedItems().isEmpty();
    m_btnEditAddress->setEnabled(any);
    m_btnRemoveAddresses->setEnabled(any);
}

void GroupDlgTemp::slotCommand(int id)
{
    if (id == BListView::CommandAdd)
        slotAddUser();
    else if (id == BListView::CommandRemove)
        slotRemoveUsers();
}

bool GroupDlgTemp::validate()
{
    for (int i = 0; i < m_lstAddress->count(); ++i) {
        const QString local = m_lstAddress->item(i)->text().section(QLatin1Char('@'), 0, 0);
        if (m_filledAddresses.contains(local, Qt::CaseInsensitive))
            continue;
        if (!ugconflicts::checkAddress(m_owner, m_tables.aliases, m_tables.lists, local, m_domain,
                                       ugconflicts::Owner::Group)) {
            m_lstAddress->setCurrentRow(i);
            m_lstAddress->setFocus();
            return false;
        }
    }
    return true;
}

void GroupDlgTemp::store(DBRow *group)
{
    if (!group)
        return;
    const auto setIfChanged = [](DBRow *row, const QString &column, const QString &text) {
        if (row->text(column) != text)
            row->setText(column, text);
    };
    setIfChanged(group, QStringLiteral("Name"), m_edName->text().trimmed());
    setIfChanged(group, QStringLiteral("Description"), m_edDescription->text());
    QStringList locals;
    for (int i = 0; i < m_lstAddress->count(); ++i)
        locals.append(m_lstAddress->item(i)->text().section(QLatin1Char('@'), 0, 0));
    setIfChanged(group, QStringLiteral("MailAddress"), locals.join(QLatin1Char(',')));
    m_rights->store(group);
    for (auto it = m_working.cbegin(); it != m_working.cend(); ++it)
        setIfChanged(it.key(), QStringLiteral("Groups"), it.value());
}

#include "pages/users/userwnd.h"

#include "db/dbctrl.h"
#include "forms/bcols.h"
#include "forms/bcountlabel.h"
#include "forms/bframewindow.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "pages/usergroups/ugapplyfirst.h"
#include "pages/usergroups/userexportdlg.h"
#include "pages/users/usercommands.h"
#include "pages/users/userdlg.h"
#include "pages/users/userfolderdlg.h"
#include "pages/users/userimportdlg.h"
#include "pages/users/userresultdialogs.h"
#include "pages/users/userwiz.h"
#include "registry/utkeys.h"

#include <QLabel>
#include <QPushButton>
#include <QSet>

namespace {

QString accountOf(const DBRow &row)
{
    return row.text(QStringLiteral("Name")) + QLatin1Char('@') + row.text(QStringLiteral("Domain"));
}

} // namespace

UserWnd::UserWnd(QWidget *parent)
    : DomainFormList<TUserWnd>(parent)
{
    setObjectName(QStringLiteral("UserWnd"));
    setMultiEdit(true);
    BListView *list = listView();
    list->insertMenuItem(CommandStats, tr("User &statistics..."));
    list->insertMenuItem(CommandImportFile, tr("Import from &file..."));
}

PvnUserTable *UserWnd::userTable() const
{
    return currentTables() ? static_cast<PvnUserTable *>(currentTables()->mainTable()) : nullptr;
}

void UserWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("users")));
    cols.addColumn(tr("Login name"), QStringLiteral("Name"), BCol::AlwaysVisible);
    cols.addColumn(tr("Full name"), QStringLiteral("Fullname"), BCol::Visible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Data Source"), QStringLiteral("$RowSource"), BCol::Visible);
    cols.addColumn(tr("Account Enabled"), QStringLiteral("Account_enabled"), BCol::Hidden);
    cols.addColumn(tr("Groups"), QStringLiteral("Groups"), BCol::Hidden);
    cols.addColumn(tr("Mail addresses"), QStringLiteral("MailAddress"), BCol::Hidden);
    cols.addColumn(tr("Authentication"), QStringLiteral("Auth_type"), BCol::Hidden);
    cols.addColumn(tr("Rights"), QStringLiteral("Rights"), BCol::Hidden);
    // Columns 10 to 14 show values of the same two columns: the data index
    // tells them apart.
    const struct
    {
        const char *title;
        const char *key;
        int dataIndex;
    } values[] = {{QT_TR_NOOP("Storage quota"), "Qstorage", 1},
                  {QT_TR_NOOP("Storage usage"), "Qstorage", 2},
                  {QT_TR_NOOP("Item count quota"), "Qmessage", 3},
                  {QT_TR_NOOP("Item count"), "Qmessage", 4},
                  {QT_TR_NOOP("Last Login"), "Qmessage", 5}};
    for (const auto &value : values) {
        const int index
                = cols.addColumn(tr(value.title), QString::fromLatin1(value.key), BCol::Hidden);
        cols.column(index).index = value.dataIndex;
    }
    cols.addColumn(tr("Forwarding"), QStringLiteral("ForwardMode"), BCol::Hidden);
}

bool UserWnd::usageColumnsShown() const
{
    BCols cols = listView()->cols();
    if (cols.isEmpty()) {
        const_cast<UserWnd *>(this)->defineColumns(cols);
        cols.loadLayout();
    }
    for (int column : {useritem::ColStorageUsage, useritem::ColMessages, useritem::ColLastLogin}) {
        if (column < cols.count() && cols.column(column).isVisible())
            return true;
    }
    return false;
}

void UserWnd::createDomainTables(DomainTables &set)
{
    DBTable::Options options;
    options.filter = domainformlist::domainFilter(set.domain());
    options.directoryAware = true;
    set.adoptTable(std::make_unique<PvnUserTable>(bobject::connection(), options));
    // The mail-store figures cost a second pass over the domain: only
    // when a column shows them.
    if (usageColumnsShown()) {
        DBTransTab::MemberOptions readOnly;
        readOnly.leftOutOfTransactions = true;
        set.adoptTable(std::make_unique<DBTable>(
                               bobject::connection(),
                               usercommands::call(QStringLiteral("ShowUserStats"), {set.domain()})),
                       readOnly);
    }
}

void UserWnd::domainTablesLoaded(DomainTables &set)
{
    if (DBTable *stats
        = set.table(usercommands::call(QStringLiteral("ShowUserStats"), {set.domain()}))) {
        QHash<QString, UserUsage> &usage = m_usage[set.domain()];
        usage.clear();
        usage.reserve(stats->rowCount());
        for (const DBRow *row : stats->rows()) {
            UserUsage entry;
            entry.storage = row->text(QStringLiteral("QuotaStorage")).toLongLong();
            entry.messages = row->text(QStringLiteral("QuotaMessage")).toLongLong();
            entry.lastLogin = row->text(QStringLiteral("LastLogin")).toLongLong();
            usage.insert(row->text(QStringLiteral("Name")).toLower(), entry);
        }
    }
    slotUsersLoaded();
}

const UserUsage *UserWnd::usageOf(const DBRow &row) const
{
    if (m_usage.isEmpty())
        return nullptr; // the usage columns are hidden: nothing was asked
    const auto domain = m_usage.constFind(row.text(QStringLiteral("Domain")));
    if (domain == m_usage.constEnd())
        return nullptr;
    const auto found = domain->constFind(row.text(QStringLiteral("Name")).toLower());
    return found == domain->constEnd() ? nullptr : &found.value();
}

BListViewItem *UserWnd::createItem(DBRow *row)
{
    return new UserItem(listView(), row, usageOf(*row));
}

void UserWnd::updateItems(const QList<BListViewItem *> &items)
{
    // The mail-store figures are found by login name: a renamed user has
    // other figures (or none), which the item keeps with it.
    for (BListViewItem *item : items) {
        if (auto *user = dynamic_cast<UserItem *>(item); user && user->row())
            user->refresh(usageOf(*user->row()));
    }
}

void UserWnd::domainChanged()
{
    updateStatus();
}

void UserWnd::slotUsersLoaded()
{
    updateStatus();
}

void UserWnd::updateStatus()
{
    PvnUserTable *users = userTable();
    if (!users || !currentTables()->isLoaded()) {
        statusLabel()->clear();
        return;
    }
    const DBRow *domain = domainRow(currentDomain());
    const int max = domain ? domain->text(QStringLiteral("MaxUserCount")).toInt() : 0;
    const QString count = QString::number(users->rowCount());
    statusLabel()->setCount(max > 0 ? tr("Users: %1 (at most %2)").arg(count).arg(max)
                                    : tr("Users: %1").arg(count));
}

QString UserWnd::countQuery(const QString &domain)
{
    QString query = QStringLiteral("select count() from User");
    if (domain.isEmpty())
        return query;
    // The name travels unquoted: only a plain domain name may.
    if (!domainformlist::isPlainDomainName(domain))
        return QString();
    return query + QStringLiteral(" where Domain=") + domain;
}

int UserWnd::pendingAdditions() const
{
    const PvnUserTable *users = userTable();
    if (!users)
        return 0;
    QSet<int> confirmed;
    confirmed.reserve(users->confirmedCount());
    for (int i = 0; i < users->confirmedCount(); ++i)
        confirmed.insert(users->confirmedRow(i).rowNumber());
    int added = 0;
    for (const DBRow *row : users->rows()) {
        if (!confirmed.contains(row->rowNumber()))
            ++added;
    }
    return added;
}

QString UserWnd::limitMessage(int max, int count)
{
    return tr("<nobr>You cannot add another user.<br>Maximum count of local users for this "
              "domain is %1<br>(the domain already contains %2 users).</nobr>")
            .arg(max)
            .arg(count);
}

bool UserWnd::userCount(int *max, int *count)
{
    const QString domain = currentDomain();
    const DBRow *domainData = domainRow(domain);
    *max = domainData ? domainData->text(QStringLiteral("MaxUserCount")).toInt() : 0;
    *count = 0;
    if (*max <= 0)
        return true;
    const QString query = countQuery(domain);
    if (query.isEmpty()) {
        usercommands::warn(
                this,
                tr("The domain name '%1' cannot be used in a query.").arg(domain.toHtmlEscaped()));
        return false;
    }
    QString error;
    const auto answer = usercommands::readTable(query, &error);
    if (!answer || answer->rowCount() < 1) {
        bobject::showServerError(this, error);
        return false;
    }
    *count = answer->row(0)->text(0).toInt() + pendingAdditions();
    return true;
}

int UserWnd::checkUserLimit()
{
    int max = 0;
    int count = 0;
    if (!userCount(&max, &count))
        return kNoneLeft;
    if (max <= 0)
        return kUnlimited;
    if (count < max)
        return max - count;
    usercommands::warn(this, limitMessage(max, count));
    return kNoneLeft;
}

bool UserWnd::roomFor(QWidget *parent, int wanted)
{
    int max = 0;
    int count = 0;
    if (!userCount(&max, &count))
        return false;
    if (max <= 0 || count + wanted <= max)
        return true;
    usercommands::warn(parent, limitMessage(max, count));
    return false;
}

void UserWnd::add()
{
    if (!addButton()->isEnabled() || itemsDetached())
        return;
    if (checkUserLimit() == kNoneLeft)
        return;
    DomainFormList<TUserWnd>::add();
}

bool UserWnd::initNewRow(DBRow *row)
{
    row->setText(QStringLiteral("Domain"), currentDomain());
    row->setText(QStringLiteral("Account_enabled"), QStringLiteral("1"));
    row->setText(QStringLiteral("Rights"), QStringLiteral("0"));
    row->setText(QStringLiteral("DefSpamFilter"), QStringLiteral("1"));
    row->setText(QStringLiteral("$RowSource"), QStringLiteral("0"));
    return true;
}

UserDlgContext UserWnd::dialogContext()
{
    UserDlgContext context;
    context.domain = currentDomain();
    m_contextTables.clear();
    auto read = [this](const QString &table, const QString &filter) -> DBTable * {
        DBTable::Options options;
        options.filter = filter;
        auto loaded
                = std::make_unique<DBTable>(bobject::connection(), table, QList<DBKol>(), options);
        if (!loaded->selectSync())
            return nullptr;
        m_contextTables.push_back(std::move(loaded));
        return m_contextTables.back().get();
    };
    const QString filter = domainformlist::domainFilter(context.domain);
    context.groups = read(QStringLiteral("Group"), filter);
    context.aliases = read(QStringLiteral("Alias"), filter);
    context.lists = read(QStringLiteral("MailingList"), QString());
    if (const DBRow *domain = domainRow(context.domain))
        context.domainMaxSize = domain->text(QStringLiteral("MaxOutgoingMessageSize")).toLongLong();
    if (DBTable *smtp = read(QStringLiteral("Smtp"), QString()); smtp && smtp->rowCount() > 0)
        context.smtpMaxSize = smtp->row(0)->text(QStringLiteral("MaxMessageSize")).toLongLong();
    return context;
}

bool UserWnd::editRow(DBRow *row)
{
    QString error;
    const auto templates = usercommands::readTable(QStringLiteral("Template"), &error);
    UserWiz wizard(row, dialogContext(), templates.get(), this);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    if (wizard.publishRequested())
        m_publications << ugpublish::userEntry(*row);
    return true;
}

bool UserWnd::editItems(const QList<BListViewItem *> &items)
{
    QList<DBRow *> rows;
    for (BListViewItem *item : items) {
        if (auto *user = dynamic_cast<UserItem *>(item); user && user->row())
            rows << user->row();
    }
    if (rows.isEmpty())
        return false;
    UserDlg dialog(rows, dialogContext(), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (const auto change = dialog.publicFoldersChange())
        m_folderRights << qMakePair(accountOf(*rows.first()), *change);
    return true;
}

QString UserWnd::sessionAccount() const
{
    QString login = UtKontainer::getText(UtKey::User);
    if (!login.contains(QLatin1Char('@')))
        login += QLatin1Char('@') + primaryDomain();
    return login;
}

bool UserWnd::confirmRemove()
{
    m_removedNow.clear();
    m_sessionAccount = sessionAccount();
    m_publicAdmin.clear();
    QString error;
    if (const auto settings = usercommands::readTable(QStringLiteral("PublicFolders"), &error);
        settings && settings->rowCount() > 0)
        m_publicAdmin = settings->row(0)->text(QStringLiteral("PublicAdmin"));
    return true;
}

bool UserWnd::canRemove(DBRow *row)
{
    if (!row)
        return false;
    const QString account = accountOf(*row);
    if (account.compare(m_sessionAccount, Qt::CaseInsensitive) == 0) {
        usercommands::warn(this,
                           tr("User '%1' is currently logged in. Such user cannot be removed.")
                                   .arg(account.toHtmlEscaped()));
        return false;
    }
    if (!m_publicAdmin.isEmpty()) {
        QString admin = m_publicAdmin;
        if (!admin.contains(QLatin1Char('@')))
            admin += QLatin1Char('@') + primaryDomain();
        if (admin.compare(account, Qt::CaseInsensitive) == 0
            && !usercommands::askYesNo(this,
                                       tr("User '%1' is a public folder administrator. Do you "
                                          "really want to remove this user?")
                                               .arg(account.toHtmlEscaped()),
                                       true))
            return false;
    }
    // Only rows the server holds have a mail store to decide about.
    if (PvnUserTable *users = userTable()) {
        for (int i = 0; i < users->confirmedCount(); ++i) {
            if (users->confirmedRow(i).rowNumber() == row->rowNumber()) {
                m_removedNow.append(account);
                break;
            }
        }
    }
    return true;
}

bool UserWnd::confirmRemoval(const QList<DBRow *> &rows)
{
    const QStringList removed = std::exchange(m_removedNow, {});
    if (removed.isEmpty() || sessionReadOnly())
        return true;
    // Another account can take over a mail store: one that stays.
    const QSet<const DBRow *> going(rows.cbegin(), rows.cend());
    QStringList targets;
    if (PvnUserTable *users = userTable()) {
        for (const DBRow *row : users->rows()) {
            if (!going.contains(row))
                targets << accountOf(*row);
        }
    }
    UserFolderDlg dialog(removed, targets, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_folderActions << dialog.actions();
    return true;
}

void UserWnd::rowsRemoved()
{
    updateStatus();
}

void UserWnd::discard()
{
    // The mail stores of users brought back by Reset stay untouched.
    m_folderActions.clear();
    m_folderRights.clear();
    m_publications.clear();
    DomainFormList<TUserWnd>::discard();
    updateStatus();
}

bool UserWnd::save()
{
    if (!DomainFormList<TUserWnd>::save())
        return false;
    runFolderActions();
    return true;
}

void UserWnd::runFolderActions()
{
    for (const auto &[account, on] : std::exchange(m_folderRights, {}))
        usercommands::run(this, userdlg::publicFolderAclCall(account, on));
    const QList<ugpublish::Entry> publications = std::exchange(m_publications, {});
    if (!publications.isEmpty()) {
        const QString folder = publicContactsFolder();
        for (const ugpublish::Entry &entry : publications) {
            QString error;
            if (!ugpublish::publish(bobject::connection(), folder, entry, &error))
                bobject::showServerError(this, error);
        }
    }
    const QList<UserFolderAction> actions = std::exchange(m_folderActions, {});
    for (const UserFolderAction &action : actions) {
        if (action.kind == UserFolderAction::Delete)
            usercommands::run(
                    this, usercommands::call(QStringLiteral("DeleteUserFld"), {action.account}));
        else if (action.kind == UserFolderAction::Move)
            usercommands::run(this,
                              usercommands::call(QStringLiteral("MoveUserToFld"),
                                                 {action.account, action.target}));
    }
}

void UserWnd::selectionChanged()
{
    DomainFormList<TUserWnd>::selectionChanged();
    const bool mayModify = !sessionReadOnly() && !itemsDetached() && !isLoadingRows();
    const int selected = itemsDetached() ? 0 : int(listView()->selectedItems().size());
    recoverButton()->setEnabled(mayModify && selected == 1);
    importButton()->setEnabled(mayModify);
    exportButton()->setEnabled(mayModify && selected > 0);
    listView()->setMenuItemEnabled(CommandStats, !isLoadingRows());
    listView()->setMenuItemEnabled(CommandImportFile, mayModify);
}

void UserWnd::command(int id)
{
    switch (id) {
    case CommandStats:
        slotStats();
        break;
    case CommandImportFile:
        slotImportFile();
        break;
    default:
        DomainFormList<TUserWnd>::command(id);
        break;
    }
}

QString UserWnd::publicContactsFolder() const
{
    bool perDomain = false;
    if (const auto settings = usercommands::readTable(QStringLiteral("PublicFolders"), nullptr);
        settings && settings->rowCount() > 0)
        perDomain = settings->row(0)->text(QStringLiteral("PublicFoldersPerDomain")).toInt() != 0;
    return ugpublish::defaultFolder(currentDomain(), perDomain);
}

bool UserWnd::domainHasDirectory() const
{
    const auto services = usercommands::readTable(QStringLiteral("DirectoryService"), nullptr);
    if (!services)
        return false;
    for (const DBRow *row : services->rows()) {
        if (row->text(QStringLiteral("Domain")).compare(currentDomain(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void UserWnd::slotStats()
{
    if (currentDomain().isEmpty())
        return;
    UserStatisticDlg dialog(currentDomain(), this);
    dialog.exec();
}

void UserWnd::slotExport()
{
    if (!exportButton()->isEnabled() || !ugapplyfirst::applyPendingChanges(this))
        return;
    QList<ugpublish::Entry> entries;
    for (BListViewItem *item : listView()->selectedItemsInOrder()) {
        if (auto *user = dynamic_cast<UserItem *>(item); user && user->row())
            entries << ugpublish::userEntry(*user->row());
    }
    if (entries.isEmpty())
        return;
    UserExportDlg dialog(ugpublish::Kind::Users, entries, currentDomain(), publicContactsFolder(),
                         this);
    dialog.exec();
}

void UserWnd::slotRecover()
{
    const QList<BListViewItem *> selected = listView()->selectedItemsInOrder();
    auto *user = selected.size() == 1 ? dynamic_cast<UserItem *>(selected.first()) : nullptr;
    if (!recoverButton()->isEnabled() || !user || !user->row())
        return;
    const QString account = accountOf(*user->row());
    QString error;
    const auto result = usercommands::readTable(
            usercommands::call(QStringLiteral("RestoreMsgs"), {account}), &error);
    if (!result) {
        bobject::showServerError(this, error);
        return;
    }
    const DBRow *row = result->row(0);
    UserRestoreMsgsResultDlg dialog(account, row ? row->text(0).toInt() : 1,
                                    row ? row->text(1).toLongLong() : 0, this);
    dialog.exec();
}

QStringList UserWnd::existingNames() const
{
    QStringList names;
    if (const PvnUserTable *users = userTable()) {
        for (const DBRow *row : users->rows())
            names << row->text(QStringLiteral("Name"));
    }
    return names;
}

void UserWnd::addImportedRows(const QList<const DBRow *> &rows)
{
    PvnUserTable *users = userTable();
    if (!users || rows.isEmpty())
        return;
    users->setActivate(true);
    BListViewItem *last = nullptr;
    for (const DBRow *source : rows) {
        DBRow *row = users->addRow();
        const DBKols *columns = source->columns();
        for (int i = 0; columns && i < columns->count(); ++i) {
            if (users->columns().indexOf(columns->at(i).name) >= 0)
                row->setText(columns->at(i).name, source->text(i));
        }
        row->setText(QStringLiteral("Domain"), currentDomain());
        last = createItem(row);
    }
    if (last)
        selectItem(last);
    registerChanges();
    updateStatus();
}

void UserWnd::slotImport()
{
    if (!importButton()->isEnabled() || itemsDetached())
        return;
    if (!domainHasDirectory()) {
        slotImportFile();
        return;
    }
    if (checkUserLimit() == kNoneLeft)
        return;
    UserImportDlg dialog(currentDomain(), existingNames(), this);
    dialog.setChosenCheck([this](QWidget *parent, int count) { return roomFor(parent, count); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    addImportedRows(dialog.chosenRows());
}

void UserWnd::slotImportFile()
{
    if (sessionReadOnly() || itemsDetached() || isLoadingRows())
        return;
    if (checkUserLimit() == kNoneLeft)
        return;
    UserImportFileDlg dialog(existingNames(), this);
    dialog.setChosenCheck([this](QWidget *parent, int count) { return roomFor(parent, count); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    PvnUserTable *users = userTable();
    BListViewItem *last = nullptr;
    for (const ImportedUser &imported : dialog.chosenUsers()) {
        DBRow *row = users->addRow();
        initNewRow(row);
        row->setText(QStringLiteral("Name"), imported.name);
        row->setText(QStringLiteral("Fullname"), imported.fullName);
        row->setText(QStringLiteral("Description"), imported.description);
        if (!imported.password.isEmpty())
            row->setText(QStringLiteral("Password"),
                         UserDlgTempEx::storedPassword(imported.password, true));
        last = createItem(row);
    }
    if (last) {
        selectItem(last);
        registerChanges();
        updateStatus();
    }
}

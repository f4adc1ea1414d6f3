#include "pages/mailinglists/mailinglistwnd.h"

#include "db/dbconn.h"
#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/bview.h"
#include "pages/aliases/namedconflicts.h"
#include "pages/mailinglists/mailinglistdlg.h"
#include "pages/mailinglists/pvnmlisttable.h"

#include <QMessageBox>

namespace {

const DBKolDecl kListColumns[] = {
        {DBType::Text, "Name", true, 0},
        {DBType::Text, "Description", false, 0},
        {DBType::Text, "Language", false, 0},
        {DBType::Text, "Comment", false, 0},
        {DBType::Text, "Footer", false, 0},
        {DBType::Int, "ModeLogin", false, 0},
        {DBType::Int, "ModeratorSubscribeRequestNotify", false, 0},
        {DBType::Int, "SubscribeNotify", false, 0},
        {DBType::Int, "ModeMemberPost", false, 0},
        {DBType::Int, "ModeNonmemPost", false, 0},
        {DBType::Int, "ModeModeratorPost", false, 0},
        {DBType::Int, "ModeratorPostRequestNotify", false, 0},
        {DBType::Int, "ErrorsToModerator", false, 0},
        {DBType::Int, "ReplyToType", false, 0},
        {DBType::Text, "ReplyToEmail", false, 0},
        {DBType::Text, "SubjectPrefix", false, 0},
        {DBType::Int, "SenderHide", false, 0},
        {DBType::Int, "EmptySubject", false, 0},
        {DBType::Text, "Domain", true, 0},
        {DBType::Int, "Archive", false, 0},
        {DBType::Text, "User", false, 0},
        {0, nullptr, false, 0},
};

QString listKey(const QString &listName)
{
    return listName.toLower();
}

} // namespace

MailingListTable::MailingListTable(DBConn *connection)
    : DBTable(connection, QStringLiteral("MailingList"), kListColumns,
              DBTable::Options{.keysIgnoreCase = true})
{ }

void MailingListTable::setRemovalCalls(const QString &listName, const QStringList &calls)
{
    m_removalCalls.insert(listKey(listName), calls);
}

QStringList MailingListTable::deleteStatements(const DBRow &row) const
{
    // The server checks a roster call against the list, so the rosters go first.
    return m_removalCalls.value(listKey(row.text("Name"))) + DBTable::deleteStatements(row);
}

MailingListWnd::MailingListWnd(QWidget *parent)
    : BFormList<TDomainComboList>(parent)
    , m_table(bobject::connection())
{
    setObjectName(QStringLiteral("MailingListWnd"));
    listView()->setAccessibleName(tr("Mailing lists"));
    rebuildGroup();
}

MailingListWnd::~MailingListWnd() = default;

void MailingListWnd::rebuildGroup()
{
    m_trans = std::make_unique<DBTransTab>(bobject::connection());
    m_trans->addTable(&m_table);
    // Rosters are read on demand and saved after the list rows, so a new
    // list exists before its members are added.
    for (const auto &[key, roster] : m_rosters)
        m_trans->addTable(roster.get(), DBTransTab::MemberOptions{.leftOutOfSelect = true});
}

void MailingListWnd::forgetRosters()
{
    m_rosters.clear();
    m_table.clearRemovalCalls();
    rebuildGroup();
}

void MailingListWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("mailinglists")));
    const int name = cols.addColumn(tr("Name"), QStringLiteral("Name"), BCol::AlwaysVisible, 200);
    cols.setCell(name, [](const DBRow &row) { return row.text("Name"); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible, 320);
    cols.setCell(description, [](const DBRow &row) { return row.text("Description"); });
}

void MailingListWnd::load(bool first)
{
    if (first || domainCombo()->count() == 0)
        domainCombo()->reload();
    m_loadedDomain = domain();
    m_table.setFilter(namedconflicts::domainFilter(m_loadedDomain));
    forgetRosters();
    loadTables(m_trans.get(), first);
}

bool MailingListWnd::save()
{
    const bool saved = saveTables(m_trans.get());
    if (saved)
        m_table.clearRemovalCalls();
    return saved;
}

void MailingListWnd::discard()
{
    BFormList<TDomainComboList>::discard();
    forgetRosters();
}

void MailingListWnd::registerChanges()
{
    // Dropped rosters leave no statements behind under their old keys.
    bformlist::clearPendingOperations();
    registerTables(m_trans.get());
}

void MailingListWnd::applyReadOnly()
{
    BFormList<TDomainComboList>::applyReadOnly();
    domainCombo()->setEnabled(true);
    selectionChanged();
}

void MailingListWnd::selectionChanged()
{
    BFormList<TDomainComboList>::selectionChanged();
    // A read-only session still opens a list to read its settings and rosters.
    if (sessionReadOnly() && !m_detached) {
        const bool one = listView()->selectedItems().size() == 1;
        editButton()->setEnabled(one);
        listView()->setMenuItemEnabled(BListView::CommandEdit, one);
    }
}

void MailingListWnd::slotDomainChosen(int index)
{
    Q_UNUSED(index);
    if (domain() == m_loadedDomain)
        return;
    bool saved = false;
    if (!bview::askSaveChanges(this, &saved, this)) {
        const QSignalBlocker block(domainCombo());
        domainCombo()->setCurrentIndex(domainCombo()->findText(m_loadedDomain));
        return;
    }
    domainCombo()->rememberChoice();
    load(false);
}

bool MailingListWnd::isOnServer(const DBRow &list) const
{
    const int confirmed = m_table.indexInConfirmed(list.rowNumber());
    return confirmed >= 0
            && m_table.confirmedRow(confirmed).text("Name").compare(list.text("Name"),
                                                                    Qt::CaseInsensitive)
            == 0;
}

QString MailingListWnd::rosterKey(const QString &listName, const QString &kind) const
{
    return listKey(listName) + QLatin1Char('\n') + kind;
}

PvnMListTable *MailingListWnd::newRoster(const QString &listName, const QString &kind)
{
    auto roster = std::make_unique<PvnMListTable>(bobject::connection(), listName, m_loadedDomain,
                                                  kind);
    PvnMListTable *made = roster.get();
    m_rosters[rosterKey(listName, kind)] = std::move(roster);
    rebuildGroup();
    return made;
}

PvnMListTable *MailingListWnd::roster(const DBRow &list, const QString &kind)
{
    const QString name = list.text("Name");
    const auto found = m_rosters.find(rosterKey(name, kind));
    if (found != m_rosters.end())
        return found->second.get();
    PvnMListTable *made = newRoster(name, kind);
    if (!isOnServer(list))
        return made;
    if (made->selectSync()) {
        made->takeSnapshot();
        return made;
    }
    DBConn *conn = bobject::connection();
    if (conn && conn->isConnected() && !made->errorText().isEmpty())
        bmessagebox::warning(this, made->errorText());
    m_rosters.erase(rosterKey(name, kind));
    rebuildGroup();
    return nullptr;
}

bool MailingListWnd::initNewRow(DBRow *row)
{
    if (domain().isEmpty())
        return false;
    row->setText("Domain", domain());
    for (const char *column :
         {"ModeLogin", "ModeratorSubscribeRequestNotify", "SubscribeNotify", "ModeMemberPost",
          "ModeNonmemPost", "ModeModeratorPost", "ModeratorPostRequestNotify", "ErrorsToModerator",
          "ReplyToType", "SenderHide", "EmptySubject", "Archive"})
        row->setText(column, QStringLiteral("0"));
    row->setText("ModeNonmemPost", QStringLiteral("2"));
    row->setText("ModeModeratorPost", QStringLiteral("2"));
    return true;
}

bool MailingListWnd::editRow(DBRow *row)
{
    const bool isNew = m_table.indexInConfirmed(row->rowNumber()) < 0
            && m_rosters.find(rosterKey(row->text("Name"), PvnMListTable::membersKind()))
                    == m_rosters.end();
    if (isNew) {
        // The list has no name yet: its rosters wait in tables of their own.
        PvnMListTable moderators(bobject::connection(), QString(), m_loadedDomain,
                                 PvnMListTable::moderatorsKind());
        PvnMListTable members(bobject::connection(), QString(), m_loadedDomain,
                              PvnMListTable::membersKind());
        MailingListWiz wizard(row, &moderators, &members, this);
        if (wizard.exec() != QDialog::Accepted)
            return false;
        const QString name = row->text("Name");
        for (auto [staged, kind] : {std::pair{&moderators, PvnMListTable::moderatorsKind()},
                                    std::pair{&members, PvnMListTable::membersKind()}}) {
            PvnMListTable *target = newRoster(name, kind);
            for (const DBRow *entry : staged->rows())
                target->appendRow(*entry);
        }
        return true;
    }
    PvnMListTable *moderators = roster(*row, PvnMListTable::moderatorsKind());
    PvnMListTable *members = moderators ? roster(*row, PvnMListTable::membersKind()) : nullptr;
    if (!members)
        return false;
    // The rosters as they were, for Cancel.
    auto snapshot = [](const PvnMListTable *table) {
        QList<DBRow> rows;
        rows.reserve(table->rowCount());
        for (const DBRow *entry : table->rows())
            rows.append(*entry);
        return rows;
    };
    const QList<DBRow> moderatorsBefore = snapshot(moderators);
    const QList<DBRow> membersBefore = snapshot(members);
    MailingListDlg dialog(row, moderators, members, this);
    if (dialog.exec() == QDialog::Accepted && !sessionReadOnly())
        return true;
    for (auto [table, before] :
         {std::pair{moderators, &moderatorsBefore}, std::pair{members, &membersBefore}}) {
        table->clearRows();
        for (const DBRow &saved : *before)
            table->appendRow(saved);
    }
    return false;
}

bool MailingListWnd::canRemove(DBRow *row)
{
    if (!row)
        return false;
    QStringList calls;
    int people = 0;
    if (isOnServer(*row)) {
        for (const QString &kind :
             {PvnMListTable::moderatorsKind(), PvnMListTable::membersKind()}) {
            PvnMListTable *list = roster(*row, kind);
            if (!list)
                return false;
            // What the server holds goes, whatever was edited since.
            for (int i = 0; i < list->confirmedCount(); ++i)
                calls.append(list->removeStatement(list->confirmedRow(i)));
            if (kind == PvnMListTable::membersKind())
                people = list->rowCount();
        }
    } else {
        const auto found
                = m_rosters.find(rosterKey(row->text("Name"), PvnMListTable::membersKind()));
        people = found != m_rosters.end() ? found->second->rowCount() : 0;
    }
    if (people > 0
        && QMessageBox::question(this, bmessagebox::caption(),
                                 tr("<nobr>The mailing list '%1' has %n member(s).<br>Do you "
                                    "want to remove it with its members?</nobr>",
                                    nullptr, people)
                                         .arg(row->text("Name")),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                != QMessageBox::Yes)
        return false;
    // A list made again under this name starts with empty rosters.
    for (const QString &kind : {PvnMListTable::moderatorsKind(), PvnMListTable::membersKind()})
        m_rosters.erase(rosterKey(row->text("Name"), kind));
    rebuildGroup();
    if (!calls.isEmpty())
        m_table.setRemovalCalls(row->text("Name"), calls);
    return true;
}

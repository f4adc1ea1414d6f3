#include "pages/mailinglists/mlistrosterpage.h"

#include "db/dbconn.h"
#include "db/dbtable.h"
#include "forms/bcols.h"
#include "forms/blistitems.h"
#include "forms/blistview.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "pages/aliases/namedconflicts.h"
#include "pages/mailinglists/mlistcsvimport.h"
#include "pages/mailinglists/mlistmemberdlg.h"
#include "pages/mailinglists/pvnmlisttable.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Rejected rows listed in the import report; the rest are counted.
constexpr int kRejectedShown = 20;

} // namespace

MListRosterPage::MListRosterPage(bool members, QWidget *parent)
    : QWidget(parent)
    , m_members(members)
    , m_lvRoster(new BListView(this))
    , m_btnAdd(new QPushButton(tr("&Add..."), this))
    , m_btnEdit(new QPushButton(tr("&Edit..."), this))
    , m_btnRemove(new QPushButton(tr("&Remove"), this))
    , m_menuAdd(new QMenu(this))
{
    const QString kind = members ? QStringLiteral("Members") : QStringLiteral("Moderators");
    setObjectName(QStringLiteral("m_page") + kind);
    m_lvRoster->setObjectName(QStringLiteral("m_lv") + kind);
    m_lvRoster->setAccessibleName(members ? tr("Members") : tr("Moderators"));
    m_lvRoster->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_btnAdd->setObjectName(QStringLiteral("m_btnAdd"));
    m_btnEdit->setObjectName(QStringLiteral("m_btnEdit"));
    m_btnRemove->setObjectName(QStringLiteral("m_btnRemove"));
    BCols cols;
    cols.setRegistration(
            {members ? QStringLiteral("mlistmembers") : QStringLiteral("mlistmoderators"), 1});
    const int email
            = cols.addColumn(tr("E-mail"), QStringLiteral("Email"), BCol::AlwaysVisible, 220);
    cols.setCell(email, [](const DBRow &row) { return row.text("Email"); });
    const int fullName
            = cols.addColumn(tr("Full name"), QStringLiteral("FullName"), BCol::Visible, 200);
    cols.setCell(fullName, [](const DBRow &row) { return row.text("FullName"); });
    m_lvRoster->setCols(cols);

    m_menuAdd->setObjectName(QStringLiteral("m_menuAdd"));
    m_menuAdd->addAction(tr("manually..."), this, &MListRosterPage::slotAddManually);
    m_menuAdd->addAction(tr("by selecting from the list..."), this,
                         &MListRosterPage::slotAddFromUsers);
    if (members)
        m_menuAdd->addAction(tr("by importing from CSV file..."), this,
                             &MListRosterPage::slotImportCsv);
    m_btnAdd->setMenu(m_menuAdd);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_btnAdd);
    buttons->addWidget(m_btnEdit);
    buttons->addWidget(m_btnRemove);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_lvRoster, 1);
    layout->addLayout(buttons);

    connect(m_btnEdit, &QPushButton::clicked, this, &MListRosterPage::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &MListRosterPage::slotRemove);
    connect(m_lvRoster, &BListView::itemDoubleClicked, this, &MListRosterPage::slotEdit);
    connect(m_lvRoster, &BListView::itemSelectionChanged, this,
            &MListRosterPage::slotSelectionChanged);
    connect(m_lvRoster, &BListView::signalCommand, this, [this](int command) {
        if (command == BListView::CommandAdd)
            slotAddManually();
        else if (command == BListView::CommandEdit)
            slotEdit();
        else if (command == BListView::CommandRemove)
            slotRemove();
    });
}

void MListRosterPage::setRoster(PvnMListTable *roster, const QString &domain)
{
    m_roster = roster;
    m_domain = domain;
    fill();
}

void MListRosterPage::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    slotSelectionChanged();
}

BListViewItem *MListRosterPage::createItem(DBRow *row)
{
    return new BDeclaredItem(m_lvRoster, row);
}

void MListRosterPage::fill()
{
    m_lvRoster->clear();
    if (m_roster) {
        BListUpdater updater(m_lvRoster);
        for (DBRow *row : m_roster->rows())
            createItem(row);
    }
    slotSelectionChanged();
}

void MListRosterPage::slotSelectionChanged()
{
    const int selected = int(m_lvRoster->selectedItems().size());
    const bool may = m_roster && !m_readOnly;
    m_btnAdd->setEnabled(may);
    m_btnEdit->setEnabled(may && selected == 1);
    m_btnRemove->setEnabled(may && selected > 0);
    m_lvRoster->setMenuItemEnabled(BListView::CommandAdd, may);
    m_lvRoster->setMenuItemEnabled(BListView::CommandEdit, may && selected == 1);
    m_lvRoster->setMenuItemEnabled(BListView::CommandRemove, may && selected > 0);
}

void MListRosterPage::slotAddManually()
{
    if (!m_btnAdd->isEnabled())
        return;
    DBRow *row = m_roster->addRow();
    MListMemberDlg dialog(row, !m_members, this);
    if (dialog.exec() != QDialog::Accepted) {
        m_roster->removeRow(row);
        return;
    }
    BListViewItem *item = createItem(row);
    m_lvRoster->ensureSorted();
    m_lvRoster->setCurrentItem(item);
}

void MListRosterPage::slotAddFromUsers()
{
    if (!m_btnAdd->isEnabled())
        return;
    DBConn *conn = bobject::connection();
    if (!conn)
        return;
    DBTable users(conn, QStringLiteral("User"),
                  QList<DBKol>{DBKol(DBType::Text, QStringLiteral("Name")),
                               DBKol(DBType::Text, QStringLiteral("Fullname"))},
                  DBTable::Options{.filter = namedconflicts::domainFilter(m_domain)});
    if (!users.selectSync()) {
        if (conn->isConnected() && !users.errorText().isEmpty())
            bmessagebox::warning(this, users.errorText());
        return;
    }
    QDialog chooser(this);
    chooser.setObjectName(QStringLiteral("MListUserSelectDlg"));
    chooser.setWindowTitle(tr("Select Users"));
    auto *list = new QListWidget(&chooser);
    list->setObjectName(QStringLiteral("m_lstUsers"));
    list->setAccessibleName(tr("Users"));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const DBRow *row : users.rows()) {
        const QString address = row->text("Name") + QLatin1Char('@') + m_domain;
        auto *item = new QListWidgetItem(
                row->text("Fullname").isEmpty()
                        ? address
                        : QStringLiteral("%1 (%2)").arg(address, row->text("Fullname")),
                list);
        item->setData(Qt::UserRole, address);
        item->setData(Qt::UserRole + 1, row->text("Fullname"));
    }
    auto *label = new QLabel(tr("&Users:"), &chooser);
    label->setBuddy(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &chooser);
    connect(buttons, &QDialogButtonBox::accepted, &chooser, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &chooser, &QDialog::reject);
    auto *layout = new QVBoxLayout(&chooser);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (chooser.exec() != QDialog::Accepted)
        return;
    QSet<QString> present = mlistcsv::addressesOf(m_roster);
    QList<mlistcsv::Member> chosen;
    for (const QListWidgetItem *item : list->selectedItems()) {
        const QString address = item->data(Qt::UserRole).toString();
        if (present.contains(address.toLower()))
            continue;
        present.insert(address.toLower());
        chosen.append({address, item->data(Qt::UserRole + 1).toString()});
    }
    if (chosen.isEmpty())
        return;
    mlistcsv::stage(m_roster, chosen);
    fill();
}

void MListRosterPage::slotImportCsv()
{
    if (!m_btnAdd->isEnabled())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Import Members"), QString(),
                                                      tr("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        importCsv(path);
}

bool MListRosterPage::importCsv(const QString &path)
{
    if (!m_roster || m_readOnly)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        bmessagebox::warning(this, tr("The file '%1' cannot be read.").arg(path));
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    QProgressDialog progress(tr("Importing members..."), tr("Cancel"), 0, 100, this);
    progress.setObjectName(QStringLiteral("m_progressImport"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const mlistcsv::Result result = mlistcsv::read(
            text, mlistcsv::addressesOf(m_roster), [&progress](qsizetype done, qsizetype total) {
                progress.setMaximum(int(qMax<qsizetype>(total, 1)));
                progress.setValue(int(done));
                QApplication::processEvents();
                return !progress.wasCanceled();
            });
    progress.reset();
    if (result.cancelled)
        return false;
    mlistcsv::stage(m_roster, result.accepted);
    fill();
    QString report = tr("<nobr>Members imported: %1<br>Duplicates skipped: %2<br>Rows rejected: "
                        "%3</nobr>")
                             .arg(result.accepted.size())
                             .arg(result.duplicates)
                             .arg(result.rejected.size());
    if (!result.rejected.isEmpty()) {
        QStringList shown = result.rejected.mid(0, kRejectedShown);
        for (QString &line : shown)
            line = line.toHtmlEscaped();
        report += QStringLiteral("<br><br>") + shown.join(QStringLiteral("<br>"));
        if (result.rejected.size() > kRejectedShown)
            report += QStringLiteral("<br>...");
    }
    QMessageBox::information(this, bmessagebox::caption(), report);
    return !result.accepted.isEmpty();
}

void MListRosterPage::slotEdit()
{
    if (!m_btnEdit->isEnabled())
        return;
    BListViewItem *item = m_lvRoster->currentItem();
    if (!item || !item->row())
        return;
    MListMemberDlg dialog(item->row(), !m_members, this);
    if (dialog.exec() == QDialog::Accepted)
        item->emitDataChanged();
}

void MListRosterPage::slotRemove()
{
    if (!m_btnRemove->isEnabled())
        return;
    const QList<BListViewItem *> selected = m_lvRoster->selectedItems();
    for (BListViewItem *item : selected) {
        auto *entry = dynamic_cast<BListViewItem *>(item);
        DBRow *row = entry ? entry->row() : nullptr;
        delete item;
        if (row)
            m_roster->removeRow(row);
    }
    slotSelectionChanged();
}

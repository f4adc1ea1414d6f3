#include "pages/users/userdlg.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "pages/users/usercommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace userdlg {

QStringList serverNodes()
{
    QStringList nodes;
    if (const auto table = usercommands::readTable(QStringLiteral("ServerNodes"), nullptr)) {
        for (const DBRow *row : table->rows())
            nodes << row->text(QStringLiteral("Name"));
    }
    return nodes;
}

bool holdsPublicFolderRights(const QString &account)
{
    const auto table = usercommands::readTable(
            usercommands::call(QStringLiteral("FolderGetAcl"), {QStringLiteral("#public")}),
            nullptr);
    if (!table)
        return false;
    for (const DBRow *row : table->rows()) {
        if (row->text(0).compare(account, Qt::CaseInsensitive) == 0
            && row->text(1).contains(QLatin1Char('a')))
            return true;
    }
    return false;
}

QString publicFolderAclCall(const QString &account, bool on)
{
    return usercommands::call(QStringLiteral("FolderSetAcl"),
                              {QStringLiteral("#public"), account,
                               on ? QStringLiteral("lrswipkxtea") : QString(),
                               QStringLiteral("1")});
}

} // namespace userdlg

UserDlg::UserDlg(const QList<DBRow *> &rows, const UserDlgContext &context, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_rows(rows)
    , m_fields(std::make_unique<UserDlgTempEx>(this, context, rows.size() > 1, false))
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("UserDlg"));
    setWindowTitle(rows.size() > 1 ? tr("Edit Multiple Users") : tr("Edit User"));
    for (int page = 0; page < UserDlgTemp::PageCount; ++page)
        m_tabs->addTab(m_fields->page(UserDlgTemp::Page(page)),
                       UserDlgTemp::pageTitle(UserDlgTemp::Page(page)));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &UserDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UserDlg::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &UserDlg::slotTabChanged);
    connect(m_fields->groupList(), &QTreeWidget::itemSelectionChanged, this,
            &UserDlg::slotGroupSelectionChanged);
    connect(m_fields->quotaStorageEdit(), &QLineEdit::textChanged, this,
            &UserDlg::slotDiskSpaceChanged);
    connect(m_fields->quotaMessageEdit(), &QLineEdit::textChanged, this,
            &UserDlg::slotMessagesChanged);
    if (!rows.isEmpty())
        setRow(rows.first());
}

UserDlg::~UserDlg() = default;

void UserDlg::load(bool first)
{
    Q_UNUSED(first);
    m_fields->nodeCombo()->addItems(userdlg::serverNodes());
    if (m_rows.size() == 1) {
        const DBRow &row = *m_rows.first();
        const QString account = row.text(QStringLiteral("Name")) + QLatin1Char('@')
                + row.text(QStringLiteral("Domain"));
        // Usage of the mail store, for the quota bars.
        if (const auto stats
            = usercommands::readTable(usercommands::call(QStringLiteral("ShowUserStats"),
                                                         {row.text(QStringLiteral("Domain"))}),
                                      nullptr)) {
            for (const DBRow *entry : stats->rows()) {
                if (entry->text(0).compare(row.text(QStringLiteral("Name")), Qt::CaseInsensitive)
                    == 0) {
                    m_storageUsed = entry->text(QStringLiteral("QuotaStorage")).toLongLong();
                    m_messagesUsed = entry->text(QStringLiteral("QuotaMessage")).toLongLong();
                }
            }
        }
        m_fields->setPublicFoldersFilled(userdlg::holdsPublicFolderRights(account));
    }
    dataLoaded();
}

bool UserDlg::fillView()
{
    QList<const DBRow *> rows;
    for (const DBRow *row : m_rows)
        rows << row;
    const bool publicRights = m_fields->publicFoldersBox()->isChecked();
    m_fields->fill(rows);
    m_fields->setPublicFoldersFilled(publicRights);
    if (m_rows.size() == 1)
        m_fields->showUsage(m_storageUsed, m_messagesUsed);
    else
        m_fields->publicFoldersBox()->setEnabled(false);
    return true;
}

bool UserDlg::validate()
{
    UserDlgTemp::Page failed = UserDlgTemp::General;
    if (m_fields->validate(this, &failed))
        return true;
    m_tabs->setCurrentWidget(m_fields->page(failed));
    return false;
}

void UserDlg::storeView()
{
    for (DBRow *row : m_rows)
        m_fields->store(row);
    if (m_rows.size() == 1 && m_fields->publicFoldersChanged())
        m_publicChange = m_fields->publicFoldersBox()->isChecked();
}

void UserDlg::slotGroupSelectionChanged()
{
    if (auto *remove = findChild<QPushButton *>(QStringLiteral("m_btnRemoveGroup")))
        remove->setEnabled(!m_fields->groupList()->selectedItems().isEmpty());
}

void UserDlg::slotDiskSpaceChanged()
{
    if (!m_updating && m_rows.size() == 1)
        m_fields->showUsage(m_storageUsed, m_messagesUsed);
}

void UserDlg::slotMessagesChanged()
{
    slotDiskSpaceChanged();
}

void UserDlg::slotTabChanged()
{
    slotGroupSelectionChanged();
}

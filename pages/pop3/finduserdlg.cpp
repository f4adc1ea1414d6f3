#include "pages/pop3/finduserdlg.h"

#include "forms/bobject.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QList<DBKol> addressColumns(bool user)
{
    QList<DBKol> columns{DBKol(1, QStringLiteral("Name"), true),
                         DBKol(1, QStringLiteral("Domain"), true)};
    columns.append(DBKol(1, user ? QStringLiteral("Fullname") : QStringLiteral("Description")));
    return columns;
}

} // namespace

FindUserDlg::FindUserDlg(QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_users(bobject::connection(), QStringLiteral("User"), addressColumns(true))
    , m_groups(bobject::connection(), QStringLiteral("Group"), addressColumns(false))
    , m_edSearch(new QLineEdit(this))
    , m_list(new QTreeWidget(this))
{
    setWindowTitle(tr("Find User/Group"));
    setObjectName(QStringLiteral("FindUserDlg"));
    addOwnTable(&m_users);
    addOwnTable(&m_groups);

    auto *label = new QLabel(tr("&Search:"), this);
    label->setBuddy(m_edSearch);
    m_edSearch->setObjectName(QStringLiteral("m_edSearch"));
    m_list->setObjectName(QStringLiteral("m_lvFound"));
    m_list->setAccessibleName(tr("Users and groups"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Address"), tr("Type"), tr("Name")});
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_edSearch, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edSearch);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(460, 360);
}

void FindUserDlg::load(bool first)
{
    Q_UNUSED(first);
    // A short pick list: read both tables at once, the window keeps painting.
    setFormEnabled(false);
    const bool users = m_users.selectSync();
    const bool groups = m_groups.selectSync();
    if (users || groups)
        dataLoaded();
    else
        dataError(m_users.errorText());
}

bool FindUserDlg::fillView()
{
    m_list->clear();
    addRows(m_users, tr("User"));
    addRows(m_groups, tr("Group"));
    applyFilter();
    return true;
}

void FindUserDlg::addRows(const DBTable &table, const QString &kind)
{
    for (const DBRow *row : table.rows()) {
        const QString address = row->text(0) + QLatin1Char('@') + row->text(1);
        new QTreeWidgetItem(m_list, {address, kind, row->text(2)});
    }
}

void FindUserDlg::applyFilter()
{
    const QString search = m_edSearch->text().trimmed();
    QTreeWidgetItem *first = nullptr;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const bool shown = search.isEmpty() || item->text(0).contains(search, Qt::CaseInsensitive)
                || item->text(2).contains(search, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    if (!m_list->currentItem() || m_list->currentItem()->isHidden())
        m_list->setCurrentItem(first);
}

bool FindUserDlg::validate()
{
    QTreeWidgetItem *item = m_list->currentItem();
    if (!item || item->isHidden())
        return false;
    m_address = item->text(0);
    return true;
}

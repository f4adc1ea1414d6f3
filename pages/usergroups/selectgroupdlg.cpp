#include "pages/usergroups/selectgroupdlg.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "pages/usergroups/ugtexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Where a list entry keeps the index of its row in the caller's table.
constexpr int kRowRole = Qt::UserRole + 1;
} // namespace

SelectGroupDlg::SelectGroupDlg(DBTable *table, const QString &domain, const QStringList &leftOut,
                               Mode mode, int kind, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_table(table)
    , m_domain(domain)
    , m_leftOut(leftOut)
    , m_mode(mode)
    , m_kind(kind)
    , m_list(new QTreeWidget(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    const bool users = mode == Mode::Users;
    setObjectName(QStringLiteral("SelectGroupDlg"));
    setWindowTitle(users ? tr("Add Users") : tr("Add Groups"));
    setWindowIcon(QIcon(users ? QStringLiteral(":/images/users_tree.png")
                              : QStringLiteral(":/images/groups_tree.png")));
    m_list->setObjectName(QStringLiteral("m_lvSelect"));
    m_list->setAccessibleName(users ? tr("Users") : tr("Groups"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({tr("Name"), users ? tr("Full name") : tr("Description")});
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { updateOk(); });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { updateOk(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_buttons);
    resize(420, 340);
    updateOk();
}

bool SelectGroupDlg::fillView()
{
    m_list->clear();
    if (!m_table)
        return true;
    const QString second
            = m_mode == Mode::Users ? QStringLiteral("Fullname") : QStringLiteral("Description");
    const QList<DBRow *> &rows = m_table->rows();
    for (int i = 0; i < rows.size(); ++i) {
        const DBRow *row = rows.at(i);
        const QString name = row->text(QStringLiteral("Name"));
        if (row->text(QStringLiteral("Domain")).compare(m_domain, Qt::CaseInsensitive) != 0
            || ugtexts::sourceKind(row->text(QStringLiteral("$RowSource")).toLongLong()) != m_kind
            || m_leftOut.contains(name))
            continue;
        auto *item = new QTreeWidgetItem(m_list, {name, row->text(second)});
        item->setData(0, kRowRole, i);
    }
    updateOk();
    return true;
}

void SelectGroupDlg::updateOk()
{
    QTreeWidgetItem *current = m_list->currentItem();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(current && current->isSelected());
}

bool SelectGroupDlg::validate()
{
    m_chosen.clear();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (!item->isSelected())
            continue;
        if (DBRow *row = m_table->row(item->data(0, kRowRole).toInt()))
            m_chosen.append(row);
    }
    return !m_chosen.isEmpty();
}

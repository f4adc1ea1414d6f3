#include "forms/bdlgcolumns.h"

#include "forms/bmessagebox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int ColumnIndexRole = Qt::UserRole + 1;
}

BDlgColumns::BDlgColumns(const BCols &cols, QWidget *parent)
    : QDialog(parent)
    , m_cols(cols)
    , m_list(new QTreeWidget(this))
    , m_btnUp(new QPushButton(tr("Up"), this))
    , m_btnDown(new QPushButton(tr("Down"), this))
{
    setObjectName(QStringLiteral("BDlgColumns"));
    setWindowTitle(tr("Columns"));
    m_list->setObjectName(QStringLiteral("m_lvColumns"));
    m_list->setHeaderLabels({tr("Name")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionsClickable(false);
    m_btnUp->setShortcut(QKeySequence(tr("Ctrl+Up")));
    m_btnDown->setShortcut(QKeySequence(tr("Ctrl+Down")));
    auto *showAll = new QPushButton(tr("Show All"), this);
    auto *defaults = new QPushButton(tr("De&fault"), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *side = new QVBoxLayout;
    side->addWidget(m_btnUp);
    side->addWidget(m_btnDown);
    side->addSpacing(12);
    side->addWidget(showAll);
    side->addWidget(defaults);
    side->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Available columns:"), this));
    layout->addLayout(middle);
    layout->addWidget(buttons);

    connect(m_btnUp, &QPushButton::clicked, this, &BDlgColumns::slotUp);
    connect(m_btnDown, &QPushButton::clicked, this, &BDlgColumns::slotDown);
    connect(showAll, &QPushButton::clicked, this, &BDlgColumns::slotShowAll);
    connect(defaults, &QPushButton::clicked, this, &BDlgColumns::slotDefault);
    connect(buttons, &QDialogButtonBox::accepted, this, &BDlgColumns::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BDlgColumns::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &BDlgColumns::slotSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [](QTreeWidgetItem *item) {
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    fill(false);
}

QString BDlgColumns::nothingCheckedText()
{
    return tr("At least one column must be visible. Please check one of the columns listed.");
}

void BDlgColumns::fill(bool defaults)
{
    m_list->clear();
    for (int position = 0; position < m_cols.count(); ++position) {
        int column = -1;
        for (int i = 0; i < m_cols.count(); ++i) {
            const BCol &source = defaults ? m_cols.defaultColumn(i) : m_cols.column(i);
            if (source.position == position) {
                column = i;
                break;
            }
        }
        if (column < 0)
            continue;
        const BCol &source = defaults ? m_cols.defaultColumn(column) : m_cols.column(column);
        auto *item = new QTreeWidgetItem(m_list, {m_cols.column(column).title});
        item->setData(0, ColumnIndexRole, column);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, source.isVisible() ? Qt::Checked : Qt::Unchecked);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    slotSelectionChanged();
}

void BDlgColumns::moveCurrent(int step)
{
    QTreeWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    const int from = m_list->indexOfTopLevelItem(item);
    const int to = from + step;
    if (to < 0 || to >= m_list->topLevelItemCount())
        return;
    m_list->takeTopLevelItem(from);
    m_list->insertTopLevelItem(to, item);
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
    slotSelectionChanged();
}

void BDlgColumns::slotUp()
{
    moveCurrent(-1);
}

void BDlgColumns::slotDown()
{
    moveCurrent(1);
}

void BDlgColumns::slotShowAll()
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setCheckState(0, Qt::Checked);
}

void BDlgColumns::slotDefault()
{
    fill(true);
}

void BDlgColumns::slotSelectionChanged()
{
    QTreeWidgetItem *item = m_list->currentItem();
    const int row = item ? m_list->indexOfTopLevelItem(item) : -1;
    m_btnUp->setEnabled(row > 0);
    m_btnDown->setEnabled(row >= 0 && row < m_list->topLevelItemCount() - 1);
}

void BDlgColumns::accept()
{
    bool anyChecked = false;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        anyChecked |= m_list->topLevelItem(i)->checkState(0) == Qt::Checked;
    if (!anyChecked) {
        bmessagebox::warning(this, nothingCheckedText());
        return;
    }
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        BCol &column = m_cols.column(item->data(0, ColumnIndexRole).toInt());
        column.editPosition = row;
        column.position = row;
        column.setVisible(item->checkState(0) == Qt::Checked);
    }
    m_cols.rebuildPositionMap();
    QDialog::accept();
}

#include "logs/fwndlogregexp.h"

#include "db/dbrow.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QUuid>
#include <QVBoxLayout>

#include <utility>

using fwndlog::colorName;
using fwndlog::FLogRule;

namespace {

// A rule of the list: its check box is "Enabled", its place "Order". Its
// texts and colour swatch come from the row whenever the view asks.
class LogRegExpItem : public BOrderListItem
{
public:
    LogRegExpItem(BListView *view, DBRow *row)
        : BOrderListItem(view, row, row->text("Order").toInt())
    {
        setOn(row->text("Enabled").toLongLong() != 0);
    }

    QVariant data(int column, int role) const override
    {
        if (row() && column >= 0) {
            if (role == Qt::DisplayRole || role == Qt::EditRole)
                return cellText(column);
            if (role == Qt::DecorationRole && column == 0)
                return swatch();
        }
        return BOrderListItem::data(column, role);
    }

    // Keeps the texts of the shown columns and the swatch: the row is about
    // to go.
    void releaseRow() override
    {
        if (row()) {
            keepShownTexts([this](int column) { return cellText(column); });
            setIcon(0, swatch());
        }
        BOrderListItem::releaseRow();
    }

private:
    QString cellText(int column) const
    {
        switch (column) {
        case 0:
            return row()->text("Description");
        case 1:
            return row()->text("Condition");
        default:
            return QString();
        }
    }

    QIcon swatch() const
    {
        QPixmap pixmap(12, 12);
        pixmap.fill(QColor::fromString(row()->text("Color").trimmed()));
        return QIcon(pixmap);
    }
};

} // namespace

QList<DBKol> logHighlightingColumns()
{
    return {DBKol(1, "Id", true),    DBKol(2, "Enabled"),   DBKol(2, "Order"),
            DBKol(1, "Description"), DBKol(1, "Condition"), DBKol(2, "IsRegularExpression"),
            DBKol(1, "Color")};
}

QList<FLogRule> rulesOfTable(const DBTable &table)
{
    QList<FLogRule> rules;
    for (int i = 0; i < table.rowCount(); ++i) {
        const DBRow *row = table.row(i);
        FLogRule rule;
        rule.id = row->text("Id");
        rule.enabled = row->text("Enabled").toLongLong() != 0;
        rule.order = row->text("Order").toLongLong();
        rule.description = row->text("Description");
        rule.condition = row->text("Condition");
        rule.isRegularExpression = row->text("IsRegularExpression").toLongLong() != 0;
        rule.color = QColor::fromString(row->text("Color").trimmed());
        rules.append(rule);
    }
    return rules;
}

// --- the list ---

FWndLogRegExp::FWndLogRegExp(DBTable *table, QWidget *parent)
    : BFormListOrder<>(parent)
    , m_table(table)
{
    setObjectName(QStringLiteral("FWndLogRegExp"));
    listView()->setAccessibleName(tr("Highlighting rules"));
}

void FWndLogRegExp::defineColumns(BCols &cols)
{
    cols.setRegistration({QStringLiteral("/LogRegularExpressions"), 1});
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible, 277);
    cols.addColumn(tr("Condition"), QStringLiteral("Condition"), BCol::Visible, 176);
}

BListViewItem *FWndLogRegExp::createItem(DBRow *row)
{
    return new LogRegExpItem(listView(), row);
}

void FWndLogRegExp::itemChecked(BCheckListItem *item)
{
    if (DBRow *row = item->row())
        row->setNumber("Enabled", item->isOn() ? 1 : 0);
}

bool FWndLogRegExp::initNewRow(DBRow *row)
{
    // A new rule goes last: the highest order plus one.
    qint64 highest = 0;
    for (int i = 0; i < m_table->rowCount(); ++i) {
        if (m_table->row(i) != row)
            highest = qMax(highest, m_table->row(i)->text("Order").toLongLong());
    }
    row->setNumber("Enabled", 1);
    row->setText("Id", QUuid::createUuid().toString());
    row->setText("Description", tr("New Highlighting"));
    row->setNumber("IsRegularExpression", 0);
    row->setNumber("Order", highest + 1);
    row->setText("Color", FDlgLogRegExpEdit::colours().first());
    m_adding = true;
    return true;
}

bool FWndLogRegExp::duplicateRow(DBRow *source, DBRow *copy)
{
    for (const char *column :
         {"Enabled", "Order", "Description", "Condition", "IsRegularExpression", "Color"})
        copy->setText(column, source->text(column));
    copy->setText("Id", QUuid::createUuid().toString());
    return true;
}

bool FWndLogRegExp::editRow(DBRow *row)
{
    const bool isNew = std::exchange(m_adding, false);
    FDlgLogRegExpEdit dialog(row, isNew, this);
    return dialog.exec() == QDialog::Accepted;
}

void FWndLogRegExp::load(bool)
{
    objectSlot()->slotDataLoaded();
}

// --- the dialog ---

FDlgLogRegExp::FDlgLogRegExp(DBTable *table, QWidget *parent)
    : QDialog(parent)
    , m_list(new FWndLogRegExp(table, this))
{
    setObjectName(QStringLiteral("FDlgLogRegExp"));
    setWindowTitle(tr("Highlighting"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_list->load(true);
    resize(560, 360);
}

// --- one rule ---

const QStringList &FDlgLogRegExpEdit::colours()
{
    static const QStringList list{"#ffffcc", "#ccffff", "#ffcccc", "#ccffcc",
                                  "#ccccff", "#ffccff", "#cccccc"};
    return list;
}

FDlgLogRegExpEdit::FDlgLogRegExpEdit(DBRow *row, bool isNew, QWidget *parent)
    : QDialog(parent)
    , m_row(row)
{
    setObjectName(QStringLiteral("FDlgLogRegExpEdit"));
    setWindowTitle(isNew ? tr("Add Highlighting") : tr("Edit Highlighting"));
    auto *form = new QFormLayout;
    m_edDescription = new QLineEdit(row->text("Description"), this);
    m_edDescription->setObjectName(QStringLiteral("m_edDescription"));
    m_edCondition = new QLineEdit(row->text("Condition"), this);
    m_edCondition->setObjectName(QStringLiteral("m_edCondition"));
    m_chkRegExp = new QCheckBox(tr("Treat as &regular expression"), this);
    m_chkRegExp->setObjectName(QStringLiteral("m_chkRegExp"));
    m_chkRegExp->setChecked(row->text("IsRegularExpression").toLongLong() != 0);
    m_cboColor = new QComboBox(this);
    m_cboColor->setObjectName(QStringLiteral("m_cboColor"));
    QStringList offered = colours();
    const QString current = colorName(QColor::fromString(row->text("Color").trimmed()));
    if (QColor::fromString(row->text("Color").trimmed()).isValid() && !offered.contains(current))
        offered.append(current); // a colour set elsewhere stays choosable
    for (const QString &name : offered) {
        QPixmap swatch(24, 12);
        swatch.fill(QColor::fromString(name));
        m_cboColor->addItem(QIcon(swatch), name, name);
    }
    m_cboColor->setCurrentIndex(qMax(0, int(offered.indexOf(current))));
    auto *lblDescription = new QLabel(tr("&Description:"), this);
    auto *lblCondition = new QLabel(tr("C&ondition (substring):"), this);
    auto *lblColor = new QLabel(tr("&Color:"), this);
    lblDescription->setBuddy(m_edDescription);
    lblCondition->setBuddy(m_edCondition);
    lblColor->setBuddy(m_cboColor);
    form->addRow(lblDescription, m_edDescription);
    form->addRow(lblCondition, m_edCondition);
    form->addRow(QString(), m_chkRegExp);
    form->addRow(lblColor, m_cboColor);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FDlgLogRegExpEdit::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FDlgLogRegExpEdit::accept()
{
    const QString caption = UtKontainer::getText(UtKey::Caption);
    if (m_edDescription->text().isEmpty()) {
        QMessageBox::warning(this, caption, tr("Description cannot be empty."));
        m_edDescription->setFocus();
        return;
    }
    if (m_edCondition->text().isEmpty()) {
        QMessageBox::warning(this, caption, tr("Condition is not defined."));
        m_edCondition->setFocus();
        return;
    }
    m_row->setText("Description", m_edDescription->text());
    m_row->setText("Condition", m_edCondition->text());
    m_row->setNumber("IsRegularExpression", m_chkRegExp->isChecked() ? 1 : 0);
    m_row->setText("Color", m_cboColor->currentData().toString());
    QDialog::accept();
}

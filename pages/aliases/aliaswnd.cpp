#include "pages/aliases/aliaswnd.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bview.h"
#include "pages/aliases/aliascheckaddressdlg.h"
#include "pages/aliases/aliasdlg.h"
#include "pages/aliases/aliastarget.h"
#include "pages/aliases/namedconflicts.h"

#include <QPushButton>

TAliasWnd::TAliasWnd(QWidget *parent)
    : TDomainComboList(parent)
    , m_btnCheck(addButtonBelow(tr("C&heck Address..."), QStringLiteral("m_btnCheck")))
{
    listView()->setAccessibleName(tr("Aliases"));
    connect(m_btnCheck, &QPushButton::clicked, this, &TAliasWnd::slotCheckAddress);
}

AliasWnd::AliasWnd(QWidget *parent)
    : BFormList<TAliasWnd>(parent)
    , m_table(bobject::connection(), QStringLiteral("Alias"),
              QList<DBKol>{DBKol(DBType::Text, QStringLiteral("Lhs"), true),
                           DBKol(DBType::Text, QStringLiteral("Domain"), true),
                           DBKol(DBType::Text, QStringLiteral("Rhs"), true),
                           DBKol(DBType::Text, QStringLiteral("Description"))},
              DBTable::Options{.keysIgnoreCase = true})
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("AliasWnd"));
    m_trans.addTable(&m_table);
}

void AliasWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("aliases")));
    // Fixed widths: fitting the columns to tens of thousands of rows would
    // cost more than reading them.
    const int alias = cols.addColumn(tr("Alias"), QStringLiteral("Lhs"), BCol::AlwaysVisible, 180);
    cols.setCell(alias, [](const DBRow &row) { return row.text("Lhs"); });
    const int target = cols.addColumn(tr("Deliver To"), QStringLiteral("Rhs"), BCol::Visible, 260);
    cols.setCell(target,
                 [](const DBRow &row) { return aliastarget::displayText(row.text("Rhs")); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible, 240);
    cols.setCell(description, [](const DBRow &row) { return row.text("Description"); });
}

void AliasWnd::load(bool first)
{
    if (first || domainCombo()->count() == 0)
        domainCombo()->reload();
    m_loadedDomain = domain();
    m_table.setFilter(namedconflicts::domainFilter(m_loadedDomain));
    loadTables(&m_trans, first);
}

void AliasWnd::applyReadOnly()
{
    BFormList<TAliasWnd>::applyReadOnly();
    // Choosing another domain and asking the server how it delivers change nothing.
    domainCombo()->setEnabled(true);
    checkButton()->setEnabled(true);
}

void AliasWnd::slotDomainChosen(int index)
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

bool AliasWnd::initNewRow(DBRow *row)
{
    if (domain().isEmpty())
        return false;
    row->setText("Domain", domain());
    return true;
}

bool AliasWnd::editRow(DBRow *row)
{
    AliasDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

void AliasWnd::slotCheckAddress()
{
    AliasCheckAddressDlg dialog(domain(), this);
    dialog.exec();
}

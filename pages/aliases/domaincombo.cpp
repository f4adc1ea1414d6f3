#include "pages/aliases/domaincombo.h"

#include "db/dbconn.h"
#include "db/dbtable.h"
#include "forms/blistview.h"
#include "forms/bobject.h"
#include "registry/utkontainer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// Shared with the other per-domain pages.
const QString kChosenDomainKey = QStringLiteral("Other/dfl/seldomain");
constexpr int kPrimaryDomainType = 0;
constexpr int kDomainAliasType = 2;
} // namespace

DomainCombo::DomainCombo(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("m_cboDomain"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

bool DomainCombo::reload()
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return false;
    DBTable domains(conn, QStringLiteral("Domain"),
                    QList<DBKol>{DBKol(DBType::Text, QStringLiteral("Domain")),
                                 DBKol(DBType::Int, QStringLiteral("Type"))});
    if (!domains.selectSync())
        return false;
    QStringList names;
    QString primary;
    for (const DBRow *row : domains.rows()) {
        const int type = row->text("Type").toInt();
        if (type == kPrimaryDomainType && primary.isEmpty())
            primary = row->text("Domain");
        if (type != kDomainAliasType)
            names.append(row->text("Domain"));
    }
    names.sort(Qt::CaseInsensitive);
    // The last choice, else the primary domain.
    const QString wanted = count() > 0
            ? currentText()
            : UtKontainer::getText(kChosenDomainKey, primary, kChosenDomainKey);
    const QSignalBlocker block(this);
    clear();
    addItems(names);
    const int index = findText(wanted, Qt::MatchFixedString);
    setCurrentIndex(index >= 0 ? index : (names.isEmpty() ? -1 : 0));
    return true;
}

void DomainCombo::rememberChoice() const
{
    if (!currentText().isEmpty())
        UtKontainer::setText(kChosenDomainKey, currentText(), kChosenDomainKey);
}

TDomainComboList::TDomainComboList(QWidget *parent)
    : TBFormList(parent)
    , m_cboDomain(new DomainCombo(this))
{
    auto *label = new QLabel(tr("&Domain:"), this);
    label->setBuddy(m_cboDomain);
    m_cboDomain->setAccessibleName(tr("Domain"));
    auto *domainRow = new QHBoxLayout;
    domainRow->addWidget(label);
    domainRow->addWidget(m_cboDomain);
    domainRow->addStretch();
    // The list moves into a column below the domain; the buttons stay beside it.
    auto *outer = static_cast<QBoxLayout *>(layout());
    delete outer->takeAt(0);
    auto *column = new QVBoxLayout;
    column->addLayout(domainRow);
    column->addWidget(listView(), 1);
    outer->insertLayout(0, column, 1);
    setTabOrder(m_cboDomain, listView());
    connect(m_cboDomain, &QComboBox::activated, this, &TDomainComboList::slotDomainChosen);
}

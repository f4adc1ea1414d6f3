#include "pages/users/tdomainformlist.h"

#include "forms/blistview.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

TDomainFormList::TDomainFormList(QWidget *parent)
    : TBFormList(parent)
    , m_lblDomain(new QLabel(this))
    , m_cboDomain(new QComboBox(this))
    , m_lblSearch(new QLabel(this))
    , m_edSearch(new QLineEdit(this))
{
    m_cboDomain->setObjectName(QStringLiteral("m_cboDomain"));
    m_edSearch->setObjectName(QStringLiteral("m_edSearch"));
    m_edSearch->setClearButtonEnabled(true);
    m_lblDomain->setBuddy(m_cboDomain);
    m_lblSearch->setBuddy(m_edSearch);
    m_cboDomain->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    // The selector row goes above the list; the buttons stay beside it.
    auto *outer = qobject_cast<QBoxLayout *>(layout());
    Q_ASSERT(outer);
    outer->removeWidget(listView());
    auto *column = new QVBoxLayout;
    auto *selectors = new QHBoxLayout;
    selectors->addWidget(m_lblDomain);
    selectors->addWidget(m_cboDomain, 1);
    selectors->addSpacing(12);
    selectors->addWidget(m_lblSearch);
    selectors->addWidget(m_edSearch, 1);
    column->addLayout(selectors);
    column->addWidget(listView(), 1);
    outer->insertLayout(0, column, 1);

    setTabOrder(m_cboDomain, m_edSearch);
    setTabOrder(m_edSearch, listView());
    setTabOrder(listView(), addButton());

    connect(m_cboDomain, &QComboBox::textActivated, this, &TDomainFormList::slotDomainActivated);
    TDomainFormList::languageChange();
}

void TDomainFormList::languageChange()
{
    TBFormList::languageChange();
    m_lblDomain->setText(tr("Do&main:"));
    m_lblSearch->setText(tr("&Search:"));
    m_cboDomain->setAccessibleName(tr("Domain"));
    m_edSearch->setAccessibleName(tr("Search"));
}

#include "pages/users/tuserwnd.h"

#include "forms/bcountlabel.h"
#include "forms/blistview.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

TUserWnd::TUserWnd(QWidget *parent)
    : TDomainFormList(parent)
    , m_btnRecover(addButtonBelow(QString(), QStringLiteral("m_btnRecover")))
    , m_btnImport(addButtonBelow(QString(), QStringLiteral("m_btnImport")))
    , m_btnExport(addButtonBelow(QString(), QStringLiteral("m_btnExport")))
    , m_lblStatus(new BCountLabel(this))
{
    m_lblStatus->setObjectName(QStringLiteral("m_lblStatus"));
    // The status line goes below the list.
    if (auto *outer = qobject_cast<QBoxLayout *>(layout())) {
        if (auto *column = qobject_cast<QBoxLayout *>(outer->itemAt(0)->layout()))
            column->addWidget(m_lblStatus);
    }
    listView()->setAccessibleName(tr("Users"));
    connect(m_btnRecover, &QPushButton::clicked, this, &TUserWnd::slotRecover);
    connect(m_btnImport, &QPushButton::clicked, this, &TUserWnd::slotImport);
    connect(m_btnExport, &QPushButton::clicked, this, &TUserWnd::slotExport);
    TUserWnd::languageChange();
}

void TUserWnd::languageChange()
{
    TDomainFormList::languageChange();
    m_btnRecover->setText(tr("Recover &deleted items"));
    m_btnRecover->setShortcut(QKeySequence(tr("Alt+D")));
    m_btnImport->setText(tr("&Import..."));
    m_btnImport->setShortcut(QKeySequence(tr("Alt+I")));
    m_btnExport->setText(tr("&Publish..."));
    m_btnExport->setShortcut(QKeySequence(tr("Alt+P")));
}

#include "forms/tbformlist.h"

#include "forms/blistview.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

TBFormList::TBFormList(QWidget *parent)
    : BForm(parent)
    , m_list(new BListView(this))
    , m_btnAdd(new QPushButton(this))
    , m_btnEdit(new QPushButton(this))
    , m_btnRemove(new QPushButton(this))
    , m_buttons(new QVBoxLayout)
{
    m_list->setObjectName(QStringLiteral("bformlist"));
    m_btnAdd->setObjectName(QStringLiteral("m_btnAdd"));
    m_btnEdit->setObjectName(QStringLiteral("m_btnEdit"));
    m_btnRemove->setObjectName(QStringLiteral("m_btnRemove"));
    m_buttons->addWidget(m_btnAdd);
    m_buttons->addWidget(m_btnEdit);
    m_buttons->addWidget(m_btnRemove);
    m_buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_buttons);
    m_list->installEventFilter(this);
    languageChange();
}

// Delete on the list removes, as the Remove button does, and only when the
// button may.
bool TBFormList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete)) {
        if (m_btnRemove->isEnabled() && !m_btnRemove->isHidden())
            m_btnRemove->click();
        return true;
    }
    return BForm::eventFilter(watched, event);
}

QPushButton *TBFormList::addButtonBelow(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    m_buttons->insertWidget(m_buttons->count() - 1, button);
    return button;
}

void TBFormList::languageChange()
{
    m_btnAdd->setText(tr("&Add..."));
    m_btnAdd->setShortcut(QKeySequence(tr("Alt+A")));
    m_btnEdit->setText(tr("&Edit..."));
    m_btnEdit->setShortcut(QKeySequence(tr("Alt+E")));
    m_btnRemove->setText(tr("&Remove"));
    m_btnRemove->setShortcut(QKeySequence(tr("Alt+R")));
}

TBFormListOrder::TBFormListOrder(QWidget *parent)
    : TBFormList(parent)
    , m_btnUp(addButtonBelow(tr("Up"), QStringLiteral("m_btnUp")))
    , m_btnDown(addButtonBelow(tr("Down"), QStringLiteral("m_btnDown")))
{ }

#include "app/fwidgetbottom.h"

#include <QHBoxLayout>
#include <QPushButton>

FWidgetBottom::FWidgetBottom(QWidget *parent)
    : QWidget(parent)
    , m_apply(new QPushButton(tr("A&pply"), this))
    , m_reset(new QPushButton(tr("Re&set"), this))
{
    setObjectName(QStringLiteral("FWidgetBottom"));
    m_apply->setObjectName(QStringLiteral("m_btnApply"));
    m_reset->setObjectName(QStringLiteral("m_btnReset"));
    m_apply->setShortcut(QKeySequence(tr("Alt+P")));
    m_reset->setShortcut(QKeySequence(tr("Alt+S")));
    m_apply->setAccessibleName(tr("Apply changes"));
    m_reset->setAccessibleName(tr("Reset changes"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addStretch(1);
    layout->addWidget(m_apply);
    layout->addWidget(m_reset);
    connect(m_apply, &QPushButton::clicked, this, &FWidgetBottom::signalApplyClicked);
    connect(m_reset, &QPushButton::clicked, this, &FWidgetBottom::signalResetClicked);
    setChanged(false);
}

void FWidgetBottom::setChanged(bool changed)
{
    m_apply->setEnabled(changed);
    m_reset->setEnabled(changed);
}

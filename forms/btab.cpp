#include "forms/btab.h"

#include "forms/bform.h"
#include "forms/btabpage.h"

BTab::BTab(QWidget *parent)
    : BObject<QTabWidget>(parent)
{
    connect(this, &QTabWidget::currentChanged, this,
            [this](int index) { slotCurrentChanged(widget(index)); });
}

void BTab::addPage(BTabPage *page, const QString &label)
{
    BForm *form = page->pageForm();
    page->setOwnerTab(this);
    unsigned base = 0;
    if (m_pages.isEmpty()) {
        base = m_ownerForm ? m_ownerForm->tableCount() : 0;
    } else {
        BForm *previous = m_pages.last()->pageForm();
        base = previous->baseIndex() + previous->tableCount();
    }
    form->setBaseIndex(base);
    m_pages.append(page);
    // The tab form answers Apply and Reset for all of its pages at once.
    bview::disconnectFromFrameWindow(form->viewSlot());
    connect(form, &BForm::signalDataChanged, this, &BTab::signalDataChanged);
    const QSignalBlocker blocker(this); // adding the first tab must not load it yet
    addTab(form, label);
}

void BTab::showPage(int index)
{
    BTabPage *page = m_pages.value(index);
    if (!page || page->pageState() != BTabPage::NeverShown)
        return;
    page->setPageState(BTabPage::Loading);
    BForm *form = page->pageForm();
    form->load(index == 0 && !m_keepRequestsOnFirstPage);
    bview::trace("page shown: %1", form->name());
}

void BTab::slotCurrentChanged(QWidget *widget)
{
    if (m_loadAll)
        return;
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i)->pageForm() == widget) {
            showPage(i);
            return;
        }
    }
}

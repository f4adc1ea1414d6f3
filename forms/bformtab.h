#pragma once

#include "forms/bform.h"
#include "forms/btab.h"
#include "forms/btabpage.h"

#include <QVBoxLayout>

// The default layout of a page made of tabs: a BForm filled by one BTab.
class TBFormTab : public BForm
{
public:
    explicit TBFormTab(QWidget *parent = nullptr)
        : BForm(parent)
        , m_tab(new BTab(this))
    {
        m_tab->setObjectName(QStringLiteral("m_tab"));
        m_tab->setOwnerForm(this);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_tab);
        connect(m_tab, &BTab::signalDataChanged, this, &BForm::signalDataChanged);
    }
    BTab *tab() const { return m_tab; }

private:
    BTab *m_tab;
};

// A page made of tabs. It loads its pages as they are shown and validates,
// saves and resets its loaded pages as one. Layout must derive from BForm and
// offer tab().
template<class Layout = TBFormTab>
class BFormTab : public Layout
{
public:
    using Layout::Layout;

    void load(bool first) override
    {
        Q_UNUSED(first);
        BTab *tab = this->tab();
        this->setFormEnabled(true);
        for (int i = 0; i < tab->pageCount(); ++i)
            tab->page(i)->pageForm()->setFormEnabled(false);
        if (tab->loadAll()) {
            for (int i = 0; i < tab->pageCount(); ++i)
                tab->showPage(i);
        }
        tab->showPage(tab->currentIndex());
    }

    bool validate() override
    {
        BTab *tab = this->tab();
        const int previous = tab->currentIndex();
        for (int i = 0; i < tab->pageCount(); ++i) {
            if (tab->page(i)->pageState() != BTabPage::Loaded)
                continue;
            tab->setCurrentIndex(i);
            if (!tab->page(i)->pageForm()->validate())
                return false;
        }
        tab->setCurrentIndex(previous);
        return true;
    }

    bool save() override
    {
        for (BForm *form : loadedPages()) {
            if (!form->save())
                return false;
        }
        return true;
    }

    void discard() override
    {
        for (BForm *form : loadedPages())
            form->discard();
    }

    void registerChanges() override
    {
        for (BForm *form : loadedPages())
            form->registerChanges();
    }

    bool fillView() override { return true; }

    void reset() override
    {
        for (BForm *form : loadedPages()) {
            form->discard();
            form->updateView();
            form->postReset();
        }
    }

    QString name() const override { return QStringLiteral("BFormTab"); }

    QList<BForm *> loadedPages() const
    {
        QList<BForm *> pages;
        BTab *tab = this->tab();
        for (int i = 0; i < tab->pageCount(); ++i) {
            if (tab->page(i)->pageState() == BTabPage::Loaded)
                pages.append(tab->page(i)->pageForm());
        }
        return pages;
    }
};

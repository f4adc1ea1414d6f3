#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "pages/users/domaintables.h"
#include "pages/users/pvnsearch.h"
#include "pages/users/tdomainformlist.h"
#include "registry/utkontainer.h"

#include <QComboBox>
#include <QLineEdit>

#include <map>
#include <memory>

// A list page over the rows of one mail domain (users, groups): the domain
// combo above the list lists the server's domains (alias rows left out); the
// choice is kept under "Other/dfl/seldomain" for every domain list page. Each
// domain's tables are made by the page (createDomainTables), selected the
// first time the domain is shown and kept. The search edit filters the
// shown rows 250 ms after the administrator stops typing.
//
// A page says which tables a domain has (the first added is the main table
// listed), the columns (defineColumns) and how a row is shown (createItem);
// rowMatchesSearch decides which rows a search shows.
template<class Layout = TDomainFormList>
class DomainFormList : public BFormList<PvnSearch<Layout>>
{
    using Base = BFormList<PvnSearch<Layout>>;

public:
    template<class... Args>
    explicit DomainFormList(Args &&...args)
        : Base(std::forward<Args>(args)...)
        , m_domainTable(bobject::connection(), QStringLiteral("Domain"))
        , m_domainTrans(bobject::connection())
    {
        DBTransTab::MemberOptions readOnly;
        readOnly.leftOutOfTransactions = true;
        m_domainTrans.addTable(&m_domainTable, readOnly);
    }

    // The tables of a domain shown for the first time: add them to the set
    // (addTable selects with the domain's filter).
    virtual void createDomainTables(DomainTables &set) = 0;
    // Whether a row is shown for the search text (not empty).
    virtual bool rowMatchesSearch(const DBRow &row, const QString &text) const
    {
        return domainformlist::rowMatchesText(row, text);
    }
    // The shown domain changed (its tables may still be loading).
    virtual void domainChanged() { }
    // The domain's tables were selected (called before the list is filled).
    virtual void domainTablesLoaded(DomainTables &set) { Q_UNUSED(set); }

    // The domain shown, empty while none is.
    QString currentDomain() const { return m_current ? m_current->domain() : QString(); }
    DomainTables *currentTables() const { return m_current; }
    // The row of the domains table for a domain name (ignoring case), or null.
    DBRow *domainRow(const QString &domain) const
    {
        for (DBRow *row : m_domainTable.rows()) {
            if (row->text("Domain").compare(domain, Qt::CaseInsensitive) == 0)
                return row;
        }
        return nullptr;
    }
    // The primary domain (the row of "Type" 0), empty when none is listed.
    QString primaryDomain() const
    {
        for (DBRow *row : m_domainTable.rows()) {
            if (row->text("Type").toInt() == 0)
                return row->text("Domain");
        }
        return {};
    }
    const DBTable &domainTable() const { return m_domainTable; }
    // True while the domains or the shown domain's rows are being selected.
    bool isLoadingRows() const { return m_loadingDomains || !m_current || !m_current->isLoaded(); }
    // The search text the shown rows were filtered with.
    QString appliedSearch() const { return m_appliedSearch; }

    DBTable *table() override { return m_current ? m_current->mainTable() : nullptr; }

    void load(bool first) override
    {
        if (!first) {
            for (auto &entry : m_sets)
                entry.second->setState(DomainTables::State::New);
        }
        m_loadingDomains = true;
        Base::loadTables(&m_domainTrans, first);
    }
    bool save() override { return m_current ? this->saveTables(&m_current->trans()) : true; }
    void registerChanges() override
    {
        if (m_current)
            this->registerTables(&m_current->trans());
    }
    unsigned tableCount() const override
    {
        return m_current ? unsigned(m_current->trans().count()) : 1u;
    }

    void dataLoaded() override
    {
        if (!m_loadingDomains) {
            Base::dataLoaded();
            return;
        }
        // The domains have arrived: fill the combo, then show the chosen domain.
        m_loadingDomains = false;
        fillDomainCombo();
        const QString stored = UtKontainer::getText(domainformlist::kSelectedDomainKey, QString(),
                                                    domainformlist::kSelectedDomainKey);
        QComboBox *combo = this->domainCombo();
        int index = stored.isEmpty() ? -1 : combo->findText(stored, Qt::MatchFixedString);
        if (index < 0 && combo->count() > 0)
            index = 0;
        if (index < 0) {
            m_current = nullptr;
            Base::dataLoaded(); // no domain: an empty list
            return;
        }
        this->m_updating = true;
        combo->setCurrentIndex(index);
        this->m_updating = false;
        showDomain(combo->itemText(index), /*remember=*/false);
    }

    bool fillView() override
    {
        BListView *list = this->listView();
        list->clear();
        m_appliedSearch.clear();
        DBTable *main = table();
        if (!main || !m_current || !m_current->isLoaded())
            return true;
        for (DBRow *row : main->rows())
            this->createItem(row);
        applySearch();
        return true;
    }

    // Hides the rows the search text does not match and shows the others;
    // the rows stay in the list.
    void applySearch()
    {
        m_appliedSearch = this->searchText();
        BListView *list = this->listView();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            BListViewItem *item = list->topLevelItem(i);
            const DBRow *row = item->row();
            item->setHidden(!m_appliedSearch.isEmpty() && row
                            && !rowMatchesSearch(*row, m_appliedSearch));
        }
    }

    void discard() override
    {
        if (this->m_collapser)
            this->m_collapser->forget();
        this->detachItems();
        if (m_current && m_current->isLoaded())
            m_current->trans().revert();
        bformlist::clearPendingOperations();
    }

    void selectionChanged() override
    {
        Base::selectionChanged();
        if (!m_current || !m_current->isLoaded())
            this->addButton()->setEnabled(false);
        else if (!Base::sessionReadOnly())
            this->addButton()->setEnabled(this->listView()->isEnabled());
        this->listView()->setMenuItemEnabled(BListView::CommandAdd, this->addButton()->isEnabled());
    }

    // The domain combo, the search, the list and the buttons follow the form.
    void setFormEnabled(bool on) override
    {
        Base::setFormEnabled(on);
        this->domainCombo()->setEnabled(on);
        this->searchEdit()->setEnabled(on);
        if (on)
            selectionChanged();
    }

    // A read-only session still chooses domains and searches.
    void applyReadOnly() override
    {
        Base::applyReadOnly();
        this->domainCombo()->setEnabled(true);
        this->searchEdit()->setReadOnly(false);
    }

    void slotDomainActivated(const QString &domain) override
    {
        if (this->m_updating || m_loadingDomains || domain == currentDomain())
            return;
        // The edits of the domain that is left are applied or dropped first.
        bool saved = false;
        if (m_current && !this->queryClose(&saved)) {
            this->m_updating = true;
            this->domainCombo()->setCurrentIndex(
                    this->domainCombo()->findText(currentDomain(), Qt::MatchFixedString));
            this->m_updating = false;
            return;
        }
        showDomain(domain, /*remember=*/true);
    }

    void slotSearchExecute() override
    {
        // Rows being selected are replaced on the connection's thread: they
        // are not touched now. The fill that follows their arrival reads the
        // search text itself.
        if (isLoadingRows() || this->itemsDetached())
            return;
        if (this->searchText() == m_appliedSearch)
            return;
        {
            BListUpdater updater(this->listView());
            applySearch();
        }
        this->selectionChanged();
    }

protected:
    // Shows a domain: its loaded rows at once, otherwise after its select.
    void showDomain(const QString &domain, bool remember)
    {
        if (remember)
            UtKontainer::setText(domainformlist::kSelectedDomainKey, domain,
                                 domainformlist::kSelectedDomainKey);
        DomainTables *set = tablesFor(domain);
        if (set != m_current)
            this->forgetPlace(); // another domain starts at its first row
        m_current = set;
        domainChanged();
        if (set->isLoaded()) {
            Base::dataLoaded(); // its rows are here: fill and enable at once
            return;
        }
        this->detachItems();
        this->setFormEnabled(false);
        if (set->state() == DomainTables::State::New) {
            set->setState(DomainTables::State::Loading);
            set->trans().select(nullptr, nullptr, nullptr, nullptr);
        }
    }

    // Fills the combo with the domain names, alias rows left out.
    void fillDomainCombo()
    {
        QComboBox *combo = this->domainCombo();
        this->m_updating = true;
        combo->clear();
        for (DBRow *row : m_domainTable.rows()) {
            if (row->text("Type").toInt() != 2)
                combo->addItem(row->text("Domain"));
        }
        this->m_updating = false;
    }

private:
    DomainTables *tablesFor(const QString &domain)
    {
        auto found = m_sets.find(domain);
        if (found != m_sets.end())
            return found->second.get();
        auto set = std::make_unique<DomainTables>(bobject::connection(), domain);
        DomainTables *raw = set.get();
        createDomainTables(*raw);
        QObject::connect(&raw->trans(), &DBTransTab::signalSelectIsReady, this->objectSlot(),
                         [this, raw] { domainTablesArrived(raw); });
        QObject::connect(&raw->trans(), &DBTransTab::signalSelectIsError, this->objectSlot(),
                         [this, raw](const QString &error) {
                             raw->setState(DomainTables::State::New);
                             if (raw == m_current)
                                 this->dataError(error);
                         });
        m_sets.emplace(domain, std::move(set));
        return raw;
    }

    void domainTablesArrived(DomainTables *set)
    {
        set->setState(DomainTables::State::Loaded);
        if (set != m_current)
            return; // another domain was chosen meanwhile; its own select follows
        domainTablesLoaded(*set);
        Base::dataLoaded();
    }

    DBTable m_domainTable;
    DBTransTab m_domainTrans;
    std::map<QString, std::unique_ptr<DomainTables>> m_sets;
    DomainTables *m_current = nullptr;
    bool m_loadingDomains = false;
    QString m_appliedSearch;
};

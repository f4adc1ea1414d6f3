#pragma once

#include "forms/bobject.h"

#include <QList>
#include <QTabWidget>

class BForm;
class BTabPage;

// A tab widget whose pages are BTabPages, loaded when first shown (or all at
// once with load-all). Pages get consecutive ranges of operation keys.
class BTab : public BObject<QTabWidget>
{
    Q_OBJECT
public:
    explicit BTab(QWidget *parent = nullptr);

    // The form the tab belongs to (the tab form), or null.
    BForm *ownerForm() const { return m_ownerForm; }
    void setOwnerForm(BForm *form) { m_ownerForm = form; }

    void addPage(BTabPage *page, const QString &label);
    int pageCount() const { return int(m_pages.size()); }
    BTabPage *page(int index) const { return m_pages.value(index); }
    int currentPageIndex() const { return currentIndex(); }

    void showPage(int index);

    bool loadAll() const { return m_loadAll; }
    void setLoadAll(bool all) { m_loadAll = all; }
    bool keepRequestsOnFirstPage() const { return m_keepRequestsOnFirstPage; }
    void setKeepRequestsOnFirstPage(bool keep) { m_keepRequestsOnFirstPage = keep; }

    // The tab itself loads nothing; its pages do.
    void dataLoaded() override { }

public slots:
    void slotCurrentChanged(QWidget *page);

signals:
    // Any page reported an edit.
    void signalDataChanged();

private:
    BForm *m_ownerForm = nullptr;
    QList<BTabPage *> m_pages;
    bool m_loadAll = false;
    bool m_keepRequestsOnFirstPage = false;
};

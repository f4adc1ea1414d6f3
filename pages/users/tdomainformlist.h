#pragma once

#include "forms/tbformlist.h"

class QComboBox;
class QLabel;
class QLineEdit;

// The layout of a list page over one mail domain: "Domain:" with the domain
// combo and "Search:" with the search edit ("m_edSearch") above the list,
// the Add, Edit and Remove buttons beside it.
class TDomainFormList : public TBFormList
{
    Q_OBJECT
public:
    explicit TDomainFormList(QWidget *parent = nullptr);

    QComboBox *domainCombo() const { return m_cboDomain; }
    QLineEdit *searchEdit() const { return m_edSearch; }

    void languageChange() override;

public slots:
    virtual void slotDomainActivated(const QString &domain) { Q_UNUSED(domain); }
    virtual void slotSearchChanged() { }
    virtual void slotSearchExecute() { }

private:
    QLabel *m_lblDomain;
    QComboBox *m_cboDomain;
    QLabel *m_lblSearch;
    QLineEdit *m_edSearch;
};

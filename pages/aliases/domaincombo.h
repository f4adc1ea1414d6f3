#pragma once

#include "forms/tbformlist.h"

#include <QComboBox>

// The local domains of the server (the "Domain" rows that are not domain
// aliases), with the last choice remembered for every per-domain page.
class DomainCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit DomainCombo(QWidget *parent = nullptr);

    // Reads the domains from the server; false when the select failed.
    bool reload();
    QString domain() const { return currentText(); }
    // Remembers the current choice for the next page.
    void rememberChoice() const;
};

// The layout of a per-domain list page: the domain above the list, and the
// list with Add, Edit and Remove.
class TDomainComboList : public TBFormList
{
    Q_OBJECT
public:
    explicit TDomainComboList(QWidget *parent = nullptr);
    DomainCombo *domainCombo() const { return m_cboDomain; }

public slots:
    virtual void slotDomainChosen(int index) { Q_UNUSED(index); }

private:
    DomainCombo *m_cboDomain;
};

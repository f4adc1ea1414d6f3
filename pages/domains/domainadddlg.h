#pragma once

#include "forms/bdialog.h"

#include <QDialog>

#include <functional>

class BLineEdit;

// Asks for the name of a new alias of a domain. The caller's check tells
// what is wrong with a name (empty when nothing is).
class DomainAddDlg : public BDialog<QDialog>
{
public:
    using Check = std::function<QString(const QString &name)>;

    DomainAddDlg(Check check, QWidget *parent = nullptr);

    QString aliasName() const;
    bool validate() override;

    BLineEdit *m_edAlias;

private:
    Check m_check;
};

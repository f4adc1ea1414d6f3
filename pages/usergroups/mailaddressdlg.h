#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for one mail address. In local-part mode (a domain given) only the
// part before "@" is typed and the domain stands beside the edit; address()
// is then local part + "@" + domain. In full-address mode (no domain) the
// whole address is typed. OK refuses an address that is not well formed
// with "The email address should be specified in a correct format.".
class MailAddressDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    // domain empty: full-address mode.
    explicit MailAddressDlg(const QString &domain, QWidget *parent = nullptr);

    // The text to edit: in local-part mode its part up to "@".
    void setAddress(const QString &address);
    // The accepted address (complete with "@" and the domain).
    QString address() const;
    QLineEdit *edit() const { return m_edAddress; }

    bool validate() override;

    static QString formatMessage();

private:
    QString m_domain;
    QLineEdit *m_edAddress;
};

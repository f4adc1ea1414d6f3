#pragma once

#include <QDialog>

class BLineEdit;
class QListWidget;
class QPushButton;

// Asks the server where mail to an address would be delivered
// ("check_alias(") and lists the final recipients.
class AliasCheckAddressDlg : public QDialog
{
    Q_OBJECT
public:
    explicit AliasCheckAddressDlg(const QString &domain, QWidget *parent = nullptr);

    BLineEdit *m_edAddress;
    QPushButton *m_btnCheck;
    QListWidget *m_lstRecipients;

public slots:
    void slotCheck();
};

#pragma once

#include <QWidget>

class BPortEdit;
class DBRow;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "Forwarding" tab of the domain dialog: where messages for recipients
// the domain does not know go, and how they are delivered.
class DomainDlgForwardingTab : public QWidget
{
    Q_OBJECT
public:
    explicit DomainDlgForwardingTab(QWidget *parent = nullptr);

    void fill(const DBRow &row);
    // The checks of OK; false keeps the dialog open (the focus is placed).
    bool validate();
    void store(DBRow &row) const;

    QCheckBox *m_chkForward;
    QLineEdit *m_edHost;
    BPortEdit *m_edPort;
    QPushButton *m_btnDefaultPort;
    QRadioButton *m_rbOnline;
    QRadioButton *m_rbScheduler;
    QRadioButton *m_rbEtrn;
    QRadioButton *m_rbForwardAlias;
    QRadioButton *m_rbNoForwardAlias;

signals:
    void signalChanged();

private:
    void followForwarding();
};

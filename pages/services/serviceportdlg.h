#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;
class QComboBox;
class QPushButton;

// The layout of the port dialog.
class TServicePortDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TServicePortDlg(QWidget *parent = nullptr);

    QComboBox *m_cboAddress;
    BLineEdit *m_edPort;
    QPushButton *m_btnDefault;
};

// One listen address of a service ("ServicePorts" row): an address or "All
// addresses", and a port.
class ServicePortDlg : public BDialog<TServicePortDlg>
{
public:
    ServicePortDlg(DBRow *row, const QStringList &addresses, const QString &defaultPort,
                   QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;

    static QString allAddressesText();
    static QString addressText(const QString &stored);

private:
    QString m_defaultPort;
};

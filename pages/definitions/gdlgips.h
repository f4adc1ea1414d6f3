#pragma once

#include "forms/bdialog.h"
#include "pages/definitions/ipentry.h"

#include <QDialog>

class BLineEdit;
class QComboBox;
class QLabel;

// The layout of the IP address group entry dialog.
class TGDlgIPs : public QDialog
{
    Q_OBJECT
public:
    explicit TGDlgIPs(QWidget *parent = nullptr);

    BLineEdit *m_edName;
    QComboBox *m_cboType;
    QLabel *m_lblFirst;
    BLineEdit *m_edFirst;
    QLabel *m_lblSecond;
    BLineEdit *m_edSecond;
    QLabel *m_lblGroup;
    QComboBox *m_cboGroup;
    BLineEdit *m_edDesc;

public slots:
    virtual void slotTypeChanged() { }
    virtual void slotNameChanged() { }
};

// Edits one entry of an IP address group: its group name, the host, network,
// range or group it names, and a description. The group selector offers only
// groups that cannot reach the edited one, so no loop can be built.
class GDlgIPs : public BDialog<TGDlgIPs>
{
public:
    // graph holds every other entry of every group (not the edited row);
    // allowHostNames lets the host field take a host name.
    GDlgIPs(DBRow *row, const ipentry::GroupGraph &graph, bool allowHostNames,
            QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
    void slotTypeChanged() override;
    void slotNameChanged() override;

    // The entry type shown (the type selector's item, not its index).
    ipentry::Type currentType() const;
    void setCurrentType(ipentry::Type type);

private:
    bool refuse(QWidget *field, const QString &message);

    ipentry::GroupGraph m_graph;
    bool m_allowHostNames;
    // The first field takes host names ("[^ ]*") or dotted addresses only.
    class QValidator *m_hostValidator;
    class QValidator *m_addressValidator;
    // The group a loaded entry names, kept selectable even when it is gone.
    QString m_storedGroup;
};

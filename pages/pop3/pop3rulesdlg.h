#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;
class QPushButton;
class QTabWidget;

// The layout of the sorting rule dialog: one "Properties" tab.
class TPop3RulesDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TPop3RulesDlg(QWidget *parent = nullptr);

    QTabWidget *m_tab;
    BLineEdit *m_edTo;
    BLineEdit *m_edDescription;
    BLineEdit *m_edAccount;
    QPushButton *m_btnSelect;

public slots:
    virtual void slotSelect() { }
};

// Edits one row of the "Sort" table.
class Pop3RulesDlg : public BDialog<TPop3RulesDlg>
{
public:
    explicit Pop3RulesDlg(DBRow *row, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
    void slotSelect() override;
};

#pragma once

#include "forms/bdialog.h"

#include <QDialog>
#include <QStringList>

class BLineEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QSpinBox;
class QTimeEdit;

// The layout of the scheduled action dialog.
class TSchedulingDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSchedulingDlg(QWidget *parent = nullptr);

    BLineEdit *m_edDesc;
    QComboBox *m_cboType;
    QSpinBox *m_spnTimeEvery;
    QComboBox *m_cboMinutes;
    QTimeEdit *m_tedTimeAt;
    QCheckBox *m_chkValid;
    QComboBox *m_cboTimeInt;
    QCheckBox *m_chkSendMail;
    QCheckBox *m_chkPop3;
    QCheckBox *m_chkEtrn;
    QGroupBox *m_gbOptional;
    QCheckBox *m_chkDial;

public slots:
    virtual void slotTypeChanged() { }
    virtual void slotEnableChanged() { }
};

// Edits one row of the "Scheduler" table: when the action runs and what it
// does.
class SchedulingDlg : public BDialog<TSchedulingDlg>
{
public:
    SchedulingDlg(DBRow *row, const QStringList &timeRanges, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    void slotTypeChanged() override;
    void slotEnableChanged() override;

private:
    QStringList m_timeRanges;
};

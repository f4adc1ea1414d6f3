#pragma once

#include "forms/bdialog.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class BLineEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
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
    QPushButton *m_btnEditTimeInt;
    QCheckBox *m_chkSendMail;
    QCheckBox *m_chkPop3;
    QCheckBox *m_chkEtrn;
    QGroupBox *m_gbOptional;
    QCheckBox *m_chkDial;

public slots:
    virtual void slotTypeChanged() { }
    virtual void slotEnableChanged() { }
    virtual void slotEditTimeInt() { }
};

// Edits one row of the "Scheduler" table: when the action runs and what it
// does.
class SchedulingDlg : public BDialog<TSchedulingDlg>
{
public:
    // reloadRanges reads the time range names from the server again (after
    // they were edited from the dialog); without it "&Edit..." is hidden.
    SchedulingDlg(DBRow *row, const QStringList &timeRanges, QWidget *parent = nullptr,
                  std::function<QStringList()> reloadRanges = {});

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    void slotTypeChanged() override;
    void slotEnableChanged() override;
    // Opens the chosen time range (or all) for editing; afterwards the combo
    // lists the names again and keeps its choice by name.
    void slotEditTimeInt() override;

private:
    void fillTimeRanges(const QString &selected);

    QStringList m_timeRanges;
    std::function<QStringList()> m_reloadRanges;
};

#pragma once

#include "forms/bdialog.h"

#include <QDialog>

#include <array>

class BLineEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QTimeEdit;

// The layout of the time interval dialog.
class TGDlgTimeInt : public QDialog
{
    Q_OBJECT
public:
    explicit TGDlgTimeInt(QWidget *parent = nullptr);

    BLineEdit *m_edName;
    QComboBox *m_cboType;
    QComboBox *m_cboFromDay;
    QDateEdit *m_dedFrom;
    QTimeEdit *m_tedFrom;
    QComboBox *m_cboToDay;
    QDateEdit *m_dedTo;
    QTimeEdit *m_tedTo;
    QGroupBox *m_gbDays;
    std::array<QCheckBox *, 7> m_chkDays;
    BLineEdit *m_edDesc;

public slots:
    virtual void slotTypeChanged() { }
};

// Edits one interval of a time range: daily (with its days), weekly or
// between two absolute local times.
class GDlgTimeInt : public BDialog<TGDlgTimeInt>
{
public:
    explicit GDlgTimeInt(DBRow *row, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
    void slotTypeChanged() override;

    // Start and End as the fields give them for the chosen type.
    qint64 startSeconds() const;
    qint64 endSeconds() const;

private:
    bool refuse(QWidget *field, const QString &message);

    // The interval was loaded as a complement (Start above End).
    bool m_loadedComplement = false;
};

#pragma once

#include "forms/bcols.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The columns dialog: lists every column of a list in display order as a
// checkable row (checked = visible) and lets the administrator reorder and
// show or hide them. It works on a copy of the column set; cols() gives the
// edited copy after OK.
class BDlgColumns : public QDialog
{
    Q_OBJECT
public:
    explicit BDlgColumns(const BCols &cols, QWidget *parent = nullptr);

    const BCols &cols() const { return m_cols; }
    QTreeWidget *columnList() const { return m_list; }

    static QString nothingCheckedText();

public slots:
    void slotUp();
    void slotDown();
    void slotShowAll();
    void slotDefault();
    void slotSelectionChanged();
    void accept() override;

private:
    void fill(bool defaults);
    void moveCurrent(int step);

    BCols m_cols;
    QTreeWidget *m_list;
    QPushButton *m_btnUp;
    QPushButton *m_btnDown;
};

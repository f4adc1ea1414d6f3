#pragma once

#include "forms/bview.h"

#include <QWidget>

// The base of every page layout: a view on a plain widget that turns widget
// edits into changes of its tables. Every editable widget connects its change
// signal to slotChange().
class BForm : public BView<QWidget>
{
    Q_OBJECT
public:
    explicit BForm(QWidget *parent = nullptr);

    // The first key under which the page hands its tables' pending operations
    // to the transaction controller; 0 for a stand-alone page.
    unsigned baseIndex() const { return m_baseIndex; }
    void setBaseIndex(unsigned index) { m_baseIndex = index; }
    // Marks a layout that serves a dialog: its edits also emit signalDlgChanged().
    void setDialogLayout(bool dialog) { m_dialogLayout = dialog; }

public slots:
    void slotChange();

signals:
    void signalDlgChanged();
    void signalDataChanged();

protected:
    // The common registration: the group's statements go to the controller
    // under the tables' own keys or base index + position.
    void registerTables(DBTransTab *tables);

private:
    unsigned m_baseIndex = 0;
    bool m_dialogLayout = false;
};

#pragma once

#include "logs/flogfind.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The find dialog of a log view: the text, the direction and where to start.
// It stays open beside the log; Find Next runs the view's search.
class FDlgLogSearch : public QDialog
{
    Q_OBJECT

public:
    FDlgLogSearch(fwndlog::FLogFind *find, QWidget *parent);

    QString text() const;
    fwndlog::FLogFind::Direction direction() const;
    fwndlog::FLogFind::StartFrom startFrom() const;
    QLineEdit *textEdit() const { return m_edText; }
    QRadioButton *upButton() const { return m_rbUp; }
    QRadioButton *downButton() const { return m_rbDown; }
    QRadioButton *edgeButton() const { return m_rbEdge; }
    QRadioButton *displayedButton() const { return m_rbDisplayed; }
    QRadioButton *lastFoundButton() const { return m_rbLastFound; }
    QPushButton *findButton() const { return m_btnFind; }
    QLabel *caseLabel() const { return m_lblCase; }

public slots:
    void slotFindNext();

private:
    void relabel();
    void slotProgress(int percent);
    void slotAppearance(bool enabled);

    fwndlog::FLogFind *m_find;
    QLineEdit *m_edText = nullptr;
    QRadioButton *m_rbUp = nullptr;
    QRadioButton *m_rbDown = nullptr;
    QRadioButton *m_rbEdge = nullptr;
    QRadioButton *m_rbDisplayed = nullptr;
    QRadioButton *m_rbLastFound = nullptr;
    QPushButton *m_btnFind = nullptr;
    QLabel *m_lblCase = nullptr;
};

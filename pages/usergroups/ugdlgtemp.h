#pragma once

#include "pages/usergroups/ugtexts.h"

#include <QList>

class DBRow;
class QCheckBox;
class QRadioButton;
class QWidget;

// The part of the user and group dialogs that edits administration rights
// ("Rights") and the permission words of "Authorization" ("pvn.webadmin",
// "pvn.own.domain.only", "pvn.fax.send"). The dialog's layout owns the
// widgets and hands them over; this part fills them from one or several
// rows and stores back only what the administrator changed:
// - the rights choice keeps the bits of "Rights" the console does not show;
//   "Rights" is written only when the choice differs from the one filled
//   (a value no button shows exactly, such as 2, survives an untouched
//   dialog), and never with "[Don't change this setting]" checked;
// - a box that still shows what it was filled with leaves its word alone,
//   and a box showing the rows' disagreement (partly checked) as well;
// - the other words of "Authorization" are always kept.
class UGDlgTemp
{
public:
    struct Widgets
    {
        QRadioButton *noChange = nullptr; // multi-edit only; may be null
        QRadioButton *noAccess = nullptr;
        QRadioButton *readOnly = nullptr;
        QRadioButton *fullAccess = nullptr;
        QCheckBox *webadmin = nullptr;
        QCheckBox *ownDomainOnly = nullptr;
        QCheckBox *fax = nullptr;
        QWidget *faxBox = nullptr; // hidden without the fax plug-in; may be null
    };

    explicit UGDlgTemp(const Widgets &widgets);

    // Fills the widgets from the rows (one for a single edit). Several rows
    // that disagree leave the rights at "[Don't change this setting]" (when
    // offered) and a box partly checked.
    void fill(const QList<const DBRow *> &rows);
    void fill(const DBRow &row) { fill(QList<const DBRow *>{&row}); }
    // Writes the changes into the row.
    void store(DBRow *row) const;

    // The choice the radio buttons show; false while none is (or
    // "[Don't change this setting]" is checked).
    bool rightsChoice(ugtexts::Rights *choice) const;
    // True when the server reported the fax plug-in.
    static bool faxPluginInstalled();

    const Widgets &widgets() const { return m_widgets; }

private:
    struct Box
    {
        QCheckBox *box;
        QString word;
        int filled; // Qt::CheckState shown after fill
    };

    Widgets m_widgets;
    QList<Box> m_boxes;
    // The choice shown after fill; -1 for none ("don't change").
    int m_filledChoice = -1;
};

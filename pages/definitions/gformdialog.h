#pragma once

#include <QDialog>
#include <QString>

class GDefinitionWnd;
class QDialogButtonBox;
class QPushButton;

// A definition page (IP address groups or time ranges) in a modal dialog, so
// that a page restricting by one of them can edit it on the spot. Its edits
// are sent on OK or Apply, apart from the pending edits of the page below.
class GFormDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Kind { IpGroups, TimeRanges };

    // Shows the IP group or time range page modally, restricted to `name`
    // (the whole table when empty); returns true when the administrator
    // applied a change.
    static bool edit(Kind kind, const QString &name, QWidget *parent);

    GFormDialog(Kind kind, const QString &name, QWidget *parent = nullptr);

    GDefinitionWnd *page() const { return m_page; }
    // True once a change reached the server.
    bool changesApplied() const { return m_applied; }

public slots:
    void accept() override;
    void reject() override;
    bool slotApply();

private:
    void updateButtons();

    GDefinitionWnd *m_page;
    QDialogButtonBox *m_buttons;
    QPushButton *m_btnApply = nullptr;
    bool m_applied = false;
};

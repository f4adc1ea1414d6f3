#pragma once

#include "forms/bdialog.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class DBRow;
class DBTable;
class QDialogButtonBox;
class QTreeWidget;

// Chooses users (for a group's members) or groups (for a user's groups)
// from a table the caller holds. Lists every row whose "Domain" equals the
// domain (ignoring case), whose "$RowSource" clamped to 0 or 1 equals kind
// and whose "Name" is not left out. OK is enabled while the current row is
// selected; chosenRows() are rows of the caller's table.
class SelectGroupDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    enum class Mode { Users, Groups };

    SelectGroupDlg(DBTable *table, const QString &domain, const QStringList &leftOut, Mode mode,
                   int kind, QWidget *parent = nullptr);

    // The rows chosen, in list order (valid after OK).
    QList<DBRow *> chosenRows() const { return m_chosen; }
    QTreeWidget *list() const { return m_list; }

    bool fillView() override;
    bool validate() override;

private:
    void updateOk();

    DBTable *m_table;
    QString m_domain;
    QStringList m_leftOut;
    Mode m_mode;
    int m_kind;
    QTreeWidget *m_list;
    QDialogButtonBox *m_buttons;
    QList<DBRow *> m_chosen;
};

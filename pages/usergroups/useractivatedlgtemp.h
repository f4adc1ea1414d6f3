#pragma once

#include "db/dbtable.h"
#include "forms/bdialog.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Activates users or groups of a domain's directory service: reads the
// rows the directory offers that are not active yet ("User" or "Group"
// with Domain="<domain>" and the control LDAPListInactive = 1) and lists
// them as check rows. Every row is judged first (judge()); a refused row
// shows the reason in place of its description and cannot be checked.
// After OK, chosenRows() are the checked rows (owned by the dialog), for
// the caller to copy into its own table.
class UserActivateDlgTemp : public BDialog<QDialog>
{
    Q_OBJECT
public:
    enum class Mode { Users, Groups };

    // existingNames: the names the domain already uses (compared ignoring case).
    UserActivateDlgTemp(Mode mode, const QString &domain, const QStringList &existingNames,
                        QWidget *parent = nullptr);
    ~UserActivateDlgTemp() override;

    // Empty when the row may be activated, otherwise why not. The default
    // refuses names already used and names the name validator refuses.
    virtual QString judge(const DBRow &row) const;
    // A further check of the checked rows on OK (a user limit); false keeps
    // the dialog open. The check shows its own message.
    void setChosenCheck(std::function<bool(QWidget *, int count)> check)
    {
        m_chosenCheck = std::move(check);
    }

    QList<const DBRow *> chosenRows() const { return m_chosen; }
    QTreeWidget *list() const { return m_list; }
    // The select text of the listing (for tests and traces).
    QString listingQuery() const { return m_table ? m_table->selectQuery() : QString(); }

    void load(bool first) override;
    bool fillView() override;
    bool validate() override;

protected:
    Mode mode() const { return m_mode; }
    const QStringList &existingNames() const { return m_existing; }

private:
    Mode m_mode;
    QString m_domain;
    QStringList m_existing;
    std::unique_ptr<DBTable> m_table;
    QTreeWidget *m_list;
    std::function<bool(QWidget *, int)> m_chosenCheck;
    QList<const DBRow *> m_chosen;
};

#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "forms/bview.h"

#include <QCoreApplication>
#include <QDialog>
#include <QList>

#include <optional>

class DBTable;

namespace bdialog {
void traceShown(const QString &className);
}

// An editing dialog (OK/Cancel) mixed into Base (QDialog or a generated dialog
// layout). It edits a row of the caller's table and keeps a backup copy of
// it, restored when OK is refused because the row duplicates another.
template<class Base>
class BDialog : public BObject<Base>
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BDialog, Args...>) explicit BDialog(Args &&...args)
        : BObject<Base>(std::forward<Args>(args)...)
    { }

    // Virtual operations, in slot order after setFormEnabled.
    // Dialogs that load nothing report their data at once.
    virtual void load(bool first)
    {
        Q_UNUSED(first);
        this->dataLoaded();
    }
    virtual bool fillView() { return true; }
    virtual void storeView() { }
    virtual bool validate() { return true; }
    virtual QString duplicateMessage() const
    {
        return QCoreApplication::translate("BDialog", "This item is already defined.");
    }
    virtual void shownModal() { }
    virtual bool checkUnique()
    {
        if (!m_row)
            return true;
        const DBTable *table = m_row->table();
        if (!table || table->isKeyUnique(m_row))
            return true;
        bmessagebox::warning(this, duplicateMessage());
        return false;
    }

    void dataLoaded() override
    {
        this->m_updating = true;
        if (fillView()) {
            this->m_updating = false;
            this->setFormEnabled(true);
            // A session that may not modify opens a row to read it.
            if (m_row && !bview::sessionMayModify())
                bview::makeViewOnly(this);
        }
    }

    // The row being edited; the backup is taken now.
    void setRow(DBRow *row)
    {
        m_row = row;
        if (row)
            m_backup = *row;
        else
            m_backup.reset();
    }
    DBRow *row() const { return m_row; }
    const std::optional<DBRow> &backup() const { return m_backup; }
    // Tables the dialog loads by itself.
    void addOwnTable(DBTable *table) { m_ownTables.append(table); }
    const QList<DBTable *> &ownTables() const { return m_ownTables; }

    void setVisible(bool visible) override
    {
        const bool showing = visible && !this->isVisible();
        if (showing && !m_loadStarted) {
            m_loadStarted = true;
            load(true);
        }
        Base::setVisible(visible);
        if (showing) {
            if (this->isModal())
                shownModal();
            bdialog::traceShown(QString::fromLatin1(this->metaObject()->className()));
        }
    }

    void accept() override
    {
        if (m_row && !bview::sessionMayModify())
            return; // a row opened to be read is never stored
        if (!validate())
            return;
        storeView();
        if (!m_ownTables.isEmpty() || checkUnique()) {
            Base::accept();
            return;
        }
        if (m_row && m_backup)
            *m_row = *m_backup;
    }

protected:
    DBRow *m_row = nullptr;
    std::optional<DBRow> m_backup;
    QList<DBTable *> m_ownTables;
    bool m_loadStarted = false;
};

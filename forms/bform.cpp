#include "forms/bform.h"

#include "db/dbtranstab.h"

BForm::BForm(QWidget *parent)
    : BView<QWidget>(parent)
{ }

void BForm::slotChange()
{
    if (m_updating)
        return; // the form is filling its own widgets
    storeView();
    registerChanges();
    emit signalDataChanged();
    if (m_dialogLayout)
        emit signalDlgChanged();
}

void BForm::registerTables(DBTransTab *tables)
{
    if (tables)
        tables->collect(int(m_baseIndex));
}

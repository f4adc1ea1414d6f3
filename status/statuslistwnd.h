#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/statusformlist.h"

#include <QStringList>

class BListViewItem;

// A status list over one server function ("show_queue()" ...). Refreshing
// keeps what the administrator looks at: the selected rows and the current
// row are found again by their key, and the row at the top of the view stays
// at the top.
class StatusListWnd : public StatusFormList<>
{
    Q_OBJECT
public:
    StatusListWnd(const QString &pageName, const QString &function, QWidget *parent = nullptr);

    DBTable *table() override { return &m_table; }
    void load(bool first) override;
    QString name() const override { return m_pageName; }

    // A status row is found again after a refresh by its first column.
    QString itemKey(const BListViewItem *item) const override;
    // Keys of the selected rows, in display order.
    QStringList selectedKeys() const;
    // The texts of one column over the selected rows.
    QStringList selectedTexts(int column) const;

protected:
    DBTable m_table;
    DBTransTab m_trans;

private:
    QString m_pageName;
};

// Status lists on the tabs of one page: no Apply/Reset bar, and the page
// counts as shown once its first tab has shown its rows.
template<class Layout>
class StatusTabPage : public Layout
{
public:
    using Layout::Layout;
    bool hasApplyReset() const override { return false; }
    void pageReady() override { }
    void readyWith(BForm *first)
    {
        QObject::connect(first->viewSlot(), &bview::BViewSlot::signalPageReady, this->viewSlot(),
                         &bview::BViewSlot::signalPageReady);
    }
};

#include "app/fwndfolder.h"

#include "app/fmaintreeitem.h"
#include "app/fpage.h"
#include "app/fserverquery.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "db/dbconn.h"

#include <QListWidget>
#include <QVBoxLayout>

FWndFolder::FWndFolder(FMainTreeItem *folder, QWidget *parent)
    : QWidget(parent)
    , m_icons(new QListWidget(this))
{
    setObjectName(QStringLiteral("FWndFolder"));
    m_icons->setViewMode(QListView::IconMode);
    m_icons->setIconSize(QSize(32, 32));
    m_icons->setGridSize(QSize(140, 80));
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_icons);

    for (int i = 0; folder && i < folder->childCount(); ++i) {
        auto *child = static_cast<FMainTreeItem *>(folder->child(i));
        if (child->isHidden())
            continue;
        auto *entry = new QListWidgetItem(QIcon(child->pixmap32()), child->text(0), m_icons);
        entry->setData(Qt::UserRole, child->id());
        entry->setToolTip(child->description());
    }
    // itemActivated covers double-click and Return.
    connect(m_icons, &QListWidget::itemActivated, this, &FWndFolder::slotActivated);
}

void FWndFolder::load()
{
    FServerQuery::run(UtKontainer::objectAs<DBConn>(UtKey::DBConn),
                      QStringLiteral("select dummy from info"), this,
                      [this](const FQueryResult &) { FPage::setLoaded(this); });
}

void FWndFolder::slotActivated(QListWidgetItem *item)
{
    if (item)
        emit signalSelectItem(item->data(Qt::UserRole).toInt());
}

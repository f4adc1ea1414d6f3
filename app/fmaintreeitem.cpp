#include "app/fmaintreeitem.h"

#include "app/fimages.h"

namespace {
quint64 g_itemCounter = 0;
} // namespace

FMainTreeItem::FMainTreeItem(int id, Kind kind, const QString &text, const QString &description,
                             const QString &iconBase, const QString &suffix32)
    : m_id(id)
    , m_kind(kind)
    , m_description(description.isNull() ? text : description)
    , m_iconBase(iconBase)
    , m_sequence(g_itemCounter++)
{
    setText(0, text);
    setToolTip(0, m_description);
    if (!iconBase.isEmpty())
        m_pixmap32 = FImages::pixmap(iconBase + suffix32 + QStringLiteral(".png"));
    updateIcon();
}

void FMainTreeItem::updateIcon()
{
    if (m_iconBase.isEmpty())
        return;
    const bool showOpen = m_kind == Folder && isExpanded()
            && FImages::exists(m_iconBase + QStringLiteral("_open.png"));
    setIcon(0, FImages::pixmap(m_iconBase + (showOpen ? "_open.png" : ".png")));
}

quint64 FMainTreeItem::createdCount()
{
    return g_itemCounter;
}

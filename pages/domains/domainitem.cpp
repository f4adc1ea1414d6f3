#include "pages/domains/domainitem.h"

#include "db/dbrow.h"
#include "forms/pvnmaxsize.h"
#include "pages/domains/domainmarkers.h"

#include <QCoreApplication>
#include <QIcon>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DomainItem", text);
}

QIcon listIcon(bool alias)
{
    return QIcon(
            QStringLiteral(":/images/")
            + (alias ? QStringLiteral("aliases_tree.png") : QStringLiteral("domains_tree.png")));
}

} // namespace

DomainItem::DomainItem(BListView *view, DBRow *row, const QStringList &aliases)
    : BListViewItem(view, row, texts(*row, aliases))
    , m_alias(row->text("Type").toInt() == domainmarkers::DomainAlias)
    , m_sizeLimit(row->text("MaxOutgoingMessageSize").toLongLong())
    , m_userLimit(row->text("MaxUserCount").toLongLong())
{
    setIcon(0, listIcon(m_alias));
}

DomainItem::DomainItem(DomainItem *parent, DBRow *row)
    : BListViewItem(parent, row)
    , m_alias(true)
{
    setTexts(*row, {});
    setIcon(0, listIcon(true));
}

void DomainItem::setTexts(const DBRow &row, const QStringList &aliases)
{
    const QStringList cells = texts(row, aliases);
    for (int i = 0; i < cells.size(); ++i)
        setText(i, cells.at(i));
    m_sizeLimit = row.text("MaxOutgoingMessageSize").toLongLong();
    m_userLimit = row.text("MaxUserCount").toLongLong();
}

BSortKey DomainItem::sortKey(int column, const BCol *definition) const
{
    if (!m_alias && column == ColSizeLimit)
        return BSortKey::fromNumber(PvnMaxSizeImpl::isUnlimited(m_sizeLimit) ? -1 : m_sizeLimit);
    if (!m_alias && column == ColUserLimit)
        return BSortKey::fromNumber(m_userLimit);
    return BListViewItem::sortKey(column, definition);
}

QString DomainItem::typeText(int type)
{
    switch (type) {
    case domainmarkers::PrimaryDomain:
        return tr("Local (primary)");
    case domainmarkers::LocalDomain:
        return tr("Local");
    case domainmarkers::DomainAlias:
        return tr("Alias");
    default:
        return QString::number(type);
    }
}

QString DomainItem::sizeLimitText(qint64 kilobytes)
{
    if (PvnMaxSizeImpl::isUnlimited(kilobytes))
        return tr("Unlimited");
    if (kilobytes == 0)
        return tr("Global limit");
    return PvnMaxSizeImpl::sizeText(kilobytes);
}

QString DomainItem::onOffText(qint64 value)
{
    return value != 0 ? tr("On") : tr("Off");
}

QStringList DomainItem::texts(const DBRow &row, const QStringList &aliases)
{
    const int type = row.text("Type").toInt();
    if (type == domainmarkers::DomainAlias) {
        QStringList cells(ColUserLimit + 1);
        cells[ColName] = row.text("Domain");
        cells[ColType] = typeText(type);
        cells[ColDescription] = row.text("Description");
        return cells;
    }
    const QString host = row.text("FwHost");
    const qint64 users = row.text("MaxUserCount").toLongLong();
    return {row.text("Domain"),
            typeText(type),
            aliases.join(QStringLiteral(", ")),
            row.text("NtAuthDomain"),
            row.text("KerberosRealm"),
            row.text("Description"),
            host.isEmpty() ? QString() : tr("Forward to host: ") + host,
            sizeLimitText(row.text("MaxOutgoingMessageSize").toLongLong()),
            onOffText(row.text("DeletedMsgExpiration").toLongLong()),
            users > 0 ? QString::number(users) : onOffText(0)};
}

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
    : BRowTextItem(view, row)
    , m_aliases(aliases)
    , m_alias(row->text("Type").toInt() == domainmarkers::DomainAlias)
{
    setIcon(0, listIcon(m_alias));
}

DomainItem::DomainItem(DomainItem *parent, DBRow *row)
    : BRowTextItem(nullptr, row)
    , m_alias(true)
{
    setIcon(0, listIcon(true));
    parent->addChild(this);
}

BSortKey DomainItem::sortKey(int column, const BCol *definition) const
{
    if (!m_alias && column == ColSizeLimit) {
        const qint64 limit
                = row() ? row()->text("MaxOutgoingMessageSize").toLongLong() : m_sizeLimit;
        return BSortKey::fromNumber(PvnMaxSizeImpl::isUnlimited(limit) ? -1 : limit);
    }
    if (!m_alias && column == ColUserLimit)
        return BSortKey::fromNumber(row() ? row()->text("MaxUserCount").toLongLong() : m_userLimit);
    return BRowTextItem::sortKey(column, definition);
}

void DomainItem::releaseRow()
{
    if (const DBRow *source = row()) {
        m_sizeLimit = source->text("MaxOutgoingMessageSize").toLongLong();
        m_userLimit = source->text("MaxUserCount").toLongLong();
    }
    BRowTextItem::releaseRow();
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

QString DomainItem::cellText(int column) const
{
    const DBRow &source = *row();
    const int type = source.text("Type").toInt();
    // An alias shows its name, type and description only.
    if (type == domainmarkers::DomainAlias && column != ColName && column != ColType
        && column != ColDescription)
        return QString();
    switch (column) {
    case ColName:
        return source.text("Domain");
    case ColType:
        return typeText(type);
    case ColAliases:
        return m_aliases.join(QStringLiteral(", "));
    case ColNtDomain:
        return source.text("NtAuthDomain");
    case ColKerberos:
        return source.text("KerberosRealm");
    case ColDescription:
        return source.text("Description");
    case ColInfo: {
        const QString host = source.text("FwHost");
        return host.isEmpty() ? QString() : tr("Forward to host: ") + host;
    }
    case ColSizeLimit:
        return sizeLimitText(source.text("MaxOutgoingMessageSize").toLongLong());
    case ColRecovery:
        return onOffText(source.text("DeletedMsgExpiration").toLongLong());
    case ColUserLimit: {
        const qint64 users = source.text("MaxUserCount").toLongLong();
        return users > 0 ? QString::number(users) : onOffText(0);
    }
    default:
        return QString();
    }
}

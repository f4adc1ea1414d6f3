#include "pages/domains/directorynames.h"

namespace directorynames {

QString baseDn(const QString &domain)
{
    QString base = domain.trimmed();
    if (!base.startsWith(QLatin1String("dc="), Qt::CaseInsensitive))
        base.prepend(QLatin1String("dc="));
    base.replace(QLatin1Char('.'), QLatin1String(",dc="));
    return base;
}

bool isDn(const QString &text)
{
    return text.contains(QLatin1String("dc="), Qt::CaseInsensitive)
            || text.contains(QLatin1String("uid="), Qt::CaseInsensitive)
            || text.contains(QLatin1String("cn="), Qt::CaseInsensitive);
}

QString bindDn(const QString &name, const QString &domain)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || isDn(trimmed))
        return trimmed;
    return QStringLiteral("uid=%1,cn=users,%2").arg(trimmed, baseDn(domain));
}

QString defaultUserBase(const QString &domain)
{
    return QLatin1String("cn=users,") + baseDn(domain);
}

QString defaultGroupBase(const QString &domain)
{
    return QLatin1String("cn=groups,") + baseDn(domain);
}

} // namespace directorynames

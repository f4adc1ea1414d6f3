#include "pages/usergroups/ugtexts.h"

#include <QCoreApplication>

namespace ugtexts {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserGroupTexts", text);
}

} // namespace

QString rightsText(qint64 rights)
{
    static const QString fullAccess = tr("Read/write access");
    static const QString readOnly = tr("Read only access");
    switch (rightsChoice(rights)) {
    case Rights::FullAccess:
        return fullAccess;
    case Rights::ReadOnly:
        return readOnly;
    case Rights::NoAccess:
        break;
    }
    return {};
}

QString dataSourceText(qint64 rowSource)
{
    static const QString internal = tr("Internal");
    static const QString ldap = tr("LDAP");
    return rowSource > 0 ? ldap : internal;
}

Rights rightsChoice(qint64 rights)
{
    if ((rights & 3) == 3)
        return Rights::FullAccess;
    if ((rights & 3) == 1)
        return Rights::ReadOnly;
    return Rights::NoAccess;
}

qint64 rightsValue(qint64 stored, Rights choice)
{
    return (stored & ~qint64(3)) | qint64(choice);
}

int sourceKind(qint64 rowSource)
{
    return rowSource > 0 ? 1 : 0;
}

} // namespace ugtexts

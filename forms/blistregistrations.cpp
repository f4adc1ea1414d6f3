#include "forms/blistregistrations.h"

namespace BListRegistrations {

const QList<BCols::Registration> &all()
{
    // Raise a version whenever a list's columns change, so stored layouts of
    // the old set are ignored.
    static const QList<BCols::Registration> registrations{
            {QStringLiteral("users"), 7},          {QStringLiteral("usersldap"), 2},
            {QStringLiteral("usersfile"), 1},      {QStringLiteral("userstats"), 3},
            {QStringLiteral("userstatsexp"), 3},   {QStringLiteral("usergroup"), 2},
            {QStringLiteral("groups"), 2},         {QStringLiteral("groupuser"), 2},
            {QStringLiteral("groupsldap"), 1},     {QStringLiteral("finduser"), 2},
            {QStringLiteral("template"), 2},       {QStringLiteral("domain"), 4},
            {QStringLiteral("aliases"), 3},        {QStringLiteral("mailinglists"), 3},
            {QStringLiteral("services"), 2},       {QStringLiteral("serviceports"), 2},
            {QStringLiteral("servicerestart"), 1}, {QStringLiteral("spamfilter"), 3},
            {QStringLiteral("dnsblacklists"), 3},  {QStringLiteral("attachfilter"), 2},
            {QStringLiteral("pop3accounts"), 2},   {QStringLiteral("pop3rules"), 2},
            {QStringLiteral("etrnservers"), 2},    {QStringLiteral("scheduler"), 3},
            {QStringLiteral("backupschedule"), 5}, {QStringLiteral("connections"), 2},
            {QStringLiteral("connectionsweb"), 2}, {QStringLiteral("openedfolders"), 1},
            {QStringLiteral("mailqueue"), 4},      {QStringLiteral("deliverytask"), 2},
            {QStringLiteral("mobiledevices"), 1},  {QStringLiteral("sslcertificates"), 2},
            {QStringLiteral("advancedsecpol"), 1}, {QStringLiteral("clustering"), 2},
            {QStringLiteral("xsan"), 1},           {QStringLiteral("xsanstatus"), 1},
            {QStringLiteral("faxdevices"), 2},     {QStringLiteral("faxnumberemail"), 2},
            {QStringLiteral("faxservercalls"), 2},
    };
    return registrations;
}

std::optional<BCols::Registration> find(const QString &name)
{
    for (const BCols::Registration &registration : all()) {
        if (registration.name == name)
            return registration;
    }
    return std::nullopt;
}

} // namespace BListRegistrations

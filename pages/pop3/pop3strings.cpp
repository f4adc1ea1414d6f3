#include "pages/pop3/pop3strings.h"

#include <QCoreApplication>

namespace pop3strings {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Pop3Strings", text);
}

} // namespace

QString sslModeText(int mode)
{
    static const QString special = tr("Special port");
    static const QString stls = tr("STLS command");
    switch (mode) {
    case 1:
        return special;
    case 2:
        return stls;
    default:
        return {};
    }
}

QString authText(int type)
{
    static const QString plain = tr("Plain");
    static const QString apop = tr("APOP");
    return type == 1 ? apop : plain;
}

QString deliveryText(const QString &mbox)
{
    if (mbox.size() < 2)
        return mbox;
    if (mbox.startsWith(QLatin1Char('{'))) {
        QString header = mbox.mid(1);
        if (header.endsWith(QLatin1Char('}')))
            header.chop(1);
        return tr("Sort with header ") + QLatin1Char('"') + header + QLatin1Char('"');
    }
    return tr("To mailbox") + QLatin1Char(' ') + mbox;
}

} // namespace pop3strings

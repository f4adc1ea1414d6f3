#include "pages/users/useritem.h"

#include "db/dbrow.h"
#include "pages/users/pvnusertable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QIcon>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserItem", text);
}

} // namespace

namespace useritem {

QStringList authTexts()
{
    return {tr("Internal user database"), tr("NT domain"), tr("PAM service"), tr("Kerberos")};
}

QStringList texts(const DBRow &row, const UserUsage *usage)
{
    QStringList cells;
    cells.reserve(ColumnCount);
    cells << row.text(QStringLiteral("Name")) << row.text(QStringLiteral("Fullname"))
          << row.text(QStringLiteral("Description"))
          << PvnUserTable::dataSourceText(row.text(QStringLiteral("$RowSource")).toLongLong())
          << (row.text(QStringLiteral("Account_enabled")).toInt() != 0 ? tr("Yes") : tr("No"))
          << row.text(QStringLiteral("Groups")) << row.text(QStringLiteral("MailAddress"));
    const int auth = row.text(QStringLiteral("Auth_type")).toInt();
    const QStringList auths = authTexts();
    cells << (auth >= 0 && auth < auths.size() ? auths.at(auth) : QString::number(auth));
    cells << PvnUserTable::rightsText(row.text(QStringLiteral("Rights")).toLongLong());
    const qint64 storageQuota = row.text(QStringLiteral("Qstorage")).toLongLong();
    const qint64 messageQuota = row.text(QStringLiteral("Qmessage")).toLongLong();
    cells << (storageQuota == 0 ? tr("Unlimited") : PvnUserTable::sizeText(storageQuota));
    cells << (usage ? PvnUserTable::sizeText(usage->storage, false) : QString());
    cells << (messageQuota == 0 ? tr("Unlimited") : QString::number(messageQuota));
    cells << (usage ? QString::number(usage->messages) : QString());
    QString login;
    if (usage && usage->lastLogin > 0)
        login = QLocale().toString(QDateTime::fromSecsSinceEpoch(usage->lastLogin),
                                   QLocale::ShortFormat);
    else if (usage)
        login = tr("Never");
    cells << login;
    switch (row.text(QStringLiteral("ForwardMode")).toInt()) {
    case 1:
        cells << tr("Forward only");
        break;
    case 2:
        cells << tr("Forward and deliver");
        break;
    default:
        cells << tr("No forwarding");
        break;
    }
    return cells;
}

void sortValues(const DBRow &row, const UserUsage *usage, qint64 values[5])
{
    values[0] = row.text(QStringLiteral("Qstorage")).toLongLong();
    values[1] = usage ? usage->storage : 0;
    values[2] = row.text(QStringLiteral("Qmessage")).toLongLong();
    values[3] = usage ? usage->messages : 0;
    values[4] = usage ? usage->lastLogin : 0;
}

} // namespace useritem

UserCheckBase::UserCheckBase(BListView *view, DBRow *row, const QStringList &texts)
    : BCheckListItem(view, row)
{
    for (int i = 0; i < texts.size(); ++i)
        setText(i, texts.at(i));
    setCheckState(0, Qt::Unchecked);
}

#include "pages/users/useritem.h"

#include "db/dbkols.h"
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

// The row's column positions, looked up once per column set: a list of
// many users would otherwise search the column names for every cell.
struct UserColumns
{
    const DBKols *kols = nullptr;
    int count = -1;
    int name, fullName, description, source, enabled, groups, addresses, auth, rights, storage,
            messages, forward;
};

const UserColumns &columnsOf(const DBRow &row)
{
    static thread_local UserColumns cache;
    const DBKols *kols = row.columns();
    if (cache.kols != kols || !kols || cache.count != kols->count()) {
        cache.kols = kols;
        cache.count = kols ? kols->count() : -1;
        auto at = [kols](const char *column) {
            return kols ? kols->indexOf(QString::fromLatin1(column)) : -1;
        };
        cache.name = at("Name");
        cache.fullName = at("Fullname");
        cache.description = at("Description");
        cache.source = at("$RowSource");
        cache.enabled = at("Account_enabled");
        cache.groups = at("Groups");
        cache.addresses = at("MailAddress");
        cache.auth = at("Auth_type");
        cache.rights = at("Rights");
        cache.storage = at("Qstorage");
        cache.messages = at("Qmessage");
        cache.forward = at("ForwardMode");
    }
    return cache;
}

QString cell(const DBRow &row, int index)
{
    return index < 0 ? QString() : row.text(index);
}

} // namespace

namespace useritem {

QStringList authTexts()
{
    return {tr("Internal user database"), tr("NT domain"), tr("PAM service"), tr("Kerberos")};
}

QStringList texts(const DBRow &row, const UserUsage *usage)
{
    static const QStringList auths = authTexts();
    static const QString yes = tr("Yes"), no = tr("No"), unlimited = tr("Unlimited"),
                         never = tr("Never"), forwardOnly = tr("Forward only"),
                         forwardDeliver = tr("Forward and deliver"),
                         noForwarding = tr("No forwarding");
    const UserColumns &c = columnsOf(row);
    QStringList cells;
    cells.reserve(ColumnCount);
    cells << cell(row, c.name) << cell(row, c.fullName) << cell(row, c.description)
          << PvnUserTable::dataSourceText(cell(row, c.source).toLongLong())
          << (cell(row, c.enabled).toInt() != 0 ? yes : no) << cell(row, c.groups)
          << cell(row, c.addresses);
    const int auth = cell(row, c.auth).toInt();
    cells << (auth >= 0 && auth < auths.size() ? auths.at(auth) : QString::number(auth));
    cells << PvnUserTable::rightsText(cell(row, c.rights).toLongLong());
    const qint64 storageQuota = cell(row, c.storage).toLongLong();
    const qint64 messageQuota = cell(row, c.messages).toLongLong();
    cells << (storageQuota == 0 ? unlimited : PvnUserTable::sizeText(storageQuota));
    cells << (usage ? PvnUserTable::sizeText(usage->storage, false) : QString());
    cells << (messageQuota == 0 ? unlimited : QString::number(messageQuota));
    cells << (usage ? QString::number(usage->messages) : QString());
    QString login;
    if (usage && usage->lastLogin > 0)
        login = QLocale().toString(QDateTime::fromSecsSinceEpoch(usage->lastLogin),
                                   QLocale::ShortFormat);
    else if (usage)
        login = never;
    cells << login;
    switch (cell(row, c.forward).toInt()) {
    case 1:
        cells << forwardOnly;
        break;
    case 2:
        cells << forwardDeliver;
        break;
    default:
        cells << noForwarding;
        break;
    }
    return cells;
}

void sortValues(const DBRow &row, const UserUsage *usage, qint64 values[5])
{
    const UserColumns &c = columnsOf(row);
    values[0] = cell(row, c.storage).toLongLong();
    values[1] = usage ? usage->storage : 0;
    values[2] = cell(row, c.messages).toLongLong();
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

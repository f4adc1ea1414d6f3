#include "pages/users/userresultdialogs.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bcols.h"
#include "forms/blistitems.h"
#include "forms/blistregistrations.h"
#include "forms/blistview.h"
#include "pages/users/pvnusertable.h"
#include "pages/users/usercommands.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

// A statistics row: sizes, counts and times sort by value.
class UserStatItem : public BListViewItem
{
public:
    UserStatItem(BListView *view, DBRow *row)
        : BListViewItem(view, row, texts(*row))
        , m_values{0, row->text(1).toLongLong(), row->text(2).toLongLong(),
                   row->text(3).toLongLong()}
    { }
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        if (column >= 1 && column <= 3)
            return BSortKey::fromNumber(m_values[column]);
        return BListViewItem::sortKey(column, definition);
    }
    static QStringList texts(const DBRow &row)
    {
        const qint64 login = row.text(3).toLongLong();
        return {row.text(0), PvnUserTable::sizeText(row.text(1).toLongLong(), false), row.text(2),
                login > 0 ? QLocale().toString(QDateTime::fromSecsSinceEpoch(login),
                                               QLocale::ShortFormat)
                          : QCoreApplication::translate("UserItem", "Never")};
    }

private:
    qint64 m_values[4];
};

} // namespace

UserRestoreMsgsResultDlg::UserRestoreMsgsResultDlg(const QString &account, int result, qint64 count,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_lblMessage(new QLabel(resultText(account, result, count), this))
{
    setObjectName(QStringLiteral("UserRestoreMsgsResultDlg"));
    setWindowTitle(tr("Recover Deleted Items"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblMessage);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

QString UserRestoreMsgsResultDlg::resultText(const QString &account, int result, qint64 count)
{
    if (result != 0)
        return tr("<nobr>The deleted items of user '%1' could not be recovered.</nobr>")
                .arg(account.toHtmlEscaped());
    return tr("<nobr>%1 deleted item(s) of user '%2' have been recovered.</nobr>")
            .arg(count)
            .arg(account.toHtmlEscaped());
}

UserStatisticDlg::UserStatisticDlg(const QString &domain, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_domain(domain)
    , m_list(new BListView(this))
{
    setObjectName(QStringLiteral("UserStatisticDlg"));
    setWindowTitle(tr("User Statistics - %1").arg(domain));
    m_list->setObjectName(QStringLiteral("m_lvStats"));
    m_list->setAccessibleName(tr("User statistics"));
    BCols cols(*BListRegistrations::find(QStringLiteral("userstats")));
    cols.addColumn(tr("Login name"), QStringLiteral("Name"), BCol::AlwaysVisible);
    cols.addColumn(tr("Storage usage"), QStringLiteral("QuotaStorage"), BCol::Visible);
    cols.addColumn(tr("Item count"), QStringLiteral("QuotaMessage"), BCol::Visible);
    cols.addColumn(tr("Last Login"), QStringLiteral("LastLogin"), BCol::Visible);
    m_list->setCols(cols);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 400);
}

UserStatisticDlg::~UserStatisticDlg() = default;

void UserStatisticDlg::load(bool first)
{
    Q_UNUSED(first);
    QString error;
    m_stats = usercommands::readTable(
            usercommands::call(QStringLiteral("ShowUserStats"), {m_domain}), &error);
    if (!m_stats) {
        dataError(error);
        return;
    }
    dataLoaded();
}

bool UserStatisticDlg::fillView()
{
    BListUpdater updater(m_list);
    m_list->clear();
    for (DBRow *row : m_stats->rows())
        new UserStatItem(m_list, row);
    return true;
}

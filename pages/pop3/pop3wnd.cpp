#include "pages/pop3/pop3wnd.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/btabpage.h"
#include "pages/pop3/downloadcommand.h"
#include "pages/pop3/pop3accountsdlg.h"
#include "pages/pop3/pop3rulesdlg.h"
#include "pages/pop3/pop3strings.h"

#include <QIcon>
#include <QPushButton>

namespace {

enum AccountColumn {
    ColServer,
    ColUser,
    ColMbox,
    ColDescription,
    ColPort,
    ColSsl,
    ColAuth,
    ColMax
};

QIcon listIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/images/") + name);
}

} // namespace

TPop3AccountsWnd::TPop3AccountsWnd(QWidget *parent)
    : TBFormList(parent)
    , m_btnDownload(addButtonBelow(tr("Download &POP3"), QStringLiteral("m_btnDownload")))
{
    listView()->setAccessibleName(tr("POP3 accounts"));
    connect(m_btnDownload, &QPushButton::clicked, this, &TPop3AccountsWnd::slotDownloadPop3);
}

Pop3AccountsItem::Pop3AccountsItem(BListView *view, DBRow *row, bool checkable)
    : BCheckRowTextItem(view, row)
{
    setIcon(0, listIcon(QStringLiteral("pop3accounts_list.png")));
    setOn(row->text("Enabled").toInt() != 0);
    if (!checkable)
        setFlags(flags() & ~Qt::ItemIsUserCheckable);
}

QString Pop3AccountsItem::cellText(int column) const
{
    const DBRow &account = *row();
    switch (column) {
    case ColServer:
        return account.text("Server");
    case ColUser:
        return account.text("User");
    case ColMbox:
        return pop3strings::deliveryText(account.text("Mbox"));
    case ColDescription:
        return account.text("Description");
    case ColPort:
        return account.text("Port");
    case ColSsl:
        return pop3strings::sslModeText(account.text("SslMode").toInt());
    case ColAuth:
        return pop3strings::authText(account.text("Auth_type").toInt());
    case ColMax:
        return account.text("Max_msgcount");
    default:
        return QString();
    }
}

BSortKey Pop3AccountsItem::sortKey(int column, const BCol *definition) const
{
    if (column == ColPort || column == ColMax)
        return BSortKey::fromNumber(text(column).toLongLong());
    return BCheckRowTextItem::sortKey(column, definition);
}

Pop3AccountsWnd::Pop3AccountsWnd(QWidget *parent)
    : BFormList<TPop3AccountsWnd>(parent)
    , m_table(bobject::connection(), QStringLiteral("Pop3"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("Pop3AccountsWnd"));
    m_trans.addTable(&m_table);
}

void Pop3AccountsWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("pop3accounts")));
    cols.addColumn(tr("POP3 Server"), QStringLiteral("Server"), BCol::AlwaysVisible);
    cols.addColumn(tr("POP3 User"), QStringLiteral("User"), BCol::AlwaysVisible);
    cols.addColumn(tr("Delivery"), QStringLiteral("Mbox"), BCol::Visible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Port"), QStringLiteral("Port"), BCol::Hidden);
    cols.addColumn(tr("SSL Mode"), QStringLiteral("SslMode"), BCol::Hidden);
    cols.addColumn(tr("Authentication"), QStringLiteral("Auth_type"), BCol::Hidden);
    cols.addColumn(tr("Max messages"), QStringLiteral("Max_msgcount"), BCol::Hidden);
}

BListViewItem *Pop3AccountsWnd::createItem(DBRow *row)
{
    return new Pop3AccountsItem(listView(), row, !sessionReadOnly());
}

bool Pop3AccountsWnd::initNewRow(DBRow *row)
{
    row->setText("Enabled", QStringLiteral("1"));
    row->setText("Port", QStringLiteral("110"));
    row->setText("Max_msgcount", QStringLiteral("0"));
    row->setText("Max_msgsize", QStringLiteral("0"));
    return true;
}

bool Pop3AccountsWnd::editRow(DBRow *row)
{
    Pop3AccountsDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

void Pop3AccountsWnd::itemChecked(BCheckListItem *item)
{
    if (m_updating || !item || !item->row() || sessionReadOnly())
        return;
    const QString enabled = item->isOn() ? QStringLiteral("1") : QStringLiteral("0");
    if (item->row()->text("Enabled") == enabled)
        return;
    item->row()->setText("Enabled", enabled);
    registerChanges();
}

void Pop3AccountsWnd::selectionChanged()
{
    BFormList<TPop3AccountsWnd>::selectionChanged();
    downloadButton()->setEnabled(!sessionReadOnly() && !m_detached
                                 && listView()->topLevelItemCount() > 0);
}

void Pop3AccountsWnd::slotDownloadPop3()
{
    if (!downloadButton()->isEnabled() || !downloadcommand::applyPendingChanges(this))
        return;
    downloadcommand::run(this, QStringLiteral("run_pop3"));
}

Pop3RulesWnd::Pop3RulesWnd(QWidget *parent)
    : BFormList<>(parent)
    , m_table(bobject::connection(), QStringLiteral("Sort"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("Pop3RulesWnd"));
    listView()->setAccessibleName(tr("Sorting rules"));
    m_trans.addTable(&m_table);
}

void Pop3RulesWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("pop3rules")));
    const int to = cols.addColumn(tr("Sort Address"), QStringLiteral("To"), BCol::AlwaysVisible);
    cols.setCell(to, [](const DBRow &row) { return row.text("To"); });
    const int account
            = cols.addColumn(tr("Deliver To"), QStringLiteral("Account"), BCol::AlwaysVisible);
    cols.setCell(account, [](const DBRow &row) { return row.text("Account"); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.setCell(description, [](const DBRow &row) { return row.text("Description"); });
}

BListViewItem *Pop3RulesWnd::createItem(DBRow *row)
{
    BListViewItem *item = BFormList<>::createItem(row);
    item->setIcon(0, listIcon(QStringLiteral("pop3rules_list.png")));
    return item;
}

bool Pop3RulesWnd::editRow(DBRow *row)
{
    Pop3RulesDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

Pop3Wnd::Pop3Wnd(QWidget *parent)
    : BFormTab<>(parent)
    , m_accounts(new BTabPageEx<Pop3AccountsWnd>(this))
    , m_rules(new BTabPageEx<Pop3RulesWnd>(this))
{
    setObjectName(QStringLiteral("Pop3Wnd"));
    tab()->addPage(static_cast<BTabPageEx<Pop3AccountsWnd> *>(m_accounts), tr("Accounts"));
    tab()->addPage(static_cast<BTabPageEx<Pop3RulesWnd> *>(m_rules), tr("Sorting Rules"));
    // The tabs load themselves; the section is ready once its first tab is.
    connect(m_accounts->viewSlot(), &bview::BViewSlot::signalPageReady, viewSlot(),
            &bview::BViewSlot::signalPageReady);
}

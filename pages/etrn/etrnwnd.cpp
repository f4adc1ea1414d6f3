#include "pages/etrn/etrnwnd.h"

#include "forms/bcols.h"
#include "forms/blineedit.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/btabpage.h"
#include "forms/utnumvalidator.h"
#include "pages/etrn/etrnserversdlg.h"
#include "pages/pop3/downloadcommand.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The reply timeout in seconds: at least one, at most an hour.
constexpr int kMaxTimeout = 3600;
} // namespace

TEtrnServersWnd::TEtrnServersWnd(QWidget *parent)
    : TBFormList(parent)
    , m_btnDownload(addButtonBelow(tr("Download &ETRN"), QStringLiteral("m_btnDownload")))
{
    listView()->setAccessibleName(tr("ETRN servers"));
    connect(m_btnDownload, &QPushButton::clicked, this, &TEtrnServersWnd::slotDownloadEtrn);
}

EtrnServersWnd::EtrnServersWnd(QWidget *parent)
    : BFormList<TEtrnServersWnd>(parent)
    , m_table(bobject::connection(), QStringLiteral("Odmr"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("EtrnServersWnd"));
    m_trans.addTable(&m_table);
}

void EtrnServersWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("etrnservers")));
    const int server = cols.addColumn(tr("Server"), QStringLiteral("Server"), BCol::AlwaysVisible);
    cols.setCell(server, [](const DBRow &row) { return row.text("Server"); });
    const int domain = cols.addColumn(tr("Domain(s)"), QStringLiteral("Domain"), BCol::Visible);
    cols.setCell(domain, [](const DBRow &row) { return row.text("Domain"); });
    const int auth = cols.addColumn(tr("Authentication"), QStringLiteral("Auth"), BCol::Hidden);
    cols.setCell(auth, [](const DBRow &row) {
        return row.text("Auth").toInt() != 0 ? tr("Yes") : tr("No");
    });
    const int user = cols.addColumn(tr("User"), QStringLiteral("User"), BCol::Hidden);
    cols.setCell(user, [](const DBRow &row) { return row.text("User"); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.setCell(description, [](const DBRow &row) { return row.text("Description"); });
}

BListViewItem *EtrnServersWnd::createItem(DBRow *row)
{
    BListViewItem *item = BFormList<TEtrnServersWnd>::createItem(row);
    item->setIcon(0, QIcon(QStringLiteral(":/images/etrndownload_tree.png")));
    return item;
}

bool EtrnServersWnd::initNewRow(DBRow *row)
{
    row->setText("Enabled", QStringLiteral("1"));
    return true;
}

bool EtrnServersWnd::editRow(DBRow *row)
{
    EtrnServersDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

void EtrnServersWnd::selectionChanged()
{
    BFormList<TEtrnServersWnd>::selectionChanged();
    downloadButton()->setEnabled(!sessionReadOnly() && !m_detached
                                 && listView()->topLevelItemCount() > 0);
}

void EtrnServersWnd::slotDownloadEtrn()
{
    if (!downloadButton()->isEnabled() || !downloadcommand::applyPendingChanges(this))
        return;
    downloadcommand::run(this, QStringLiteral("run_odmr"));
}

TEtrnOptionsWnd::TEtrnOptionsWnd(QWidget *parent)
    : BForm(parent)
    , m_edTimeout(new BLineEdit(this))
{
    m_edTimeout->setObjectName(QStringLiteral("m_edTimeout"));
    auto *label = new QLabel(tr("&Timeout for ETRN reply on dial-up line:"), this);
    label->setBuddy(m_edTimeout);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_edTimeout);
    row->addWidget(new QLabel(tr("seconds"), this));
    row->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch();
}

EtrnOptionsWnd::EtrnOptionsWnd(QWidget *parent)
    : TEtrnOptionsWnd(parent)
    , m_table(bobject::connection(), QStringLiteral("Smtp"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("EtrnOptionsWnd"));
    m_trans.addTable(&m_table);
    m_edTimeout->setValidator(new UtNumValidator<int>(1, kMaxTimeout, m_edTimeout));
    connect(m_edTimeout, &QLineEdit::textChanged, this, &BForm::slotChange);
}

bool EtrnOptionsWnd::fillView()
{
    if (m_table.rowCount() < 1)
        return false;
    m_edTimeout->setText(m_table.row(0)->text("EtrnTimeout"));
    return true;
}

void EtrnOptionsWnd::storeView()
{
    if (m_table.rowCount() > 0)
        m_table.row(0)->setText("EtrnTimeout", m_edTimeout->text().trimmed());
}

bool EtrnOptionsWnd::validate()
{
    QString text = m_edTimeout->text().trimmed();
    int pos = 0;
    if (m_edTimeout->validator()->validate(text, pos) == QValidator::Acceptable)
        return true;
    bmessagebox::warning(this,
                         tr("Set a correct ETRN timeout value before applying changes, "
                            "please."));
    m_edTimeout->setFocus();
    return false;
}

EtrnWnd::EtrnWnd(QWidget *parent)
    : BFormTab<>(parent)
{
    setObjectName(QStringLiteral("EtrnWnd"));
    auto *servers = new BTabPageEx<EtrnServersWnd>(this);
    auto *options = new BTabPageEx<EtrnOptionsWnd>(this);
    m_servers = servers;
    m_options = options;
    tab()->addPage(servers, tr("Servers"));
    tab()->addPage(options, tr("Options"));
    // The tabs load themselves; the section is ready once its first tab is.
    connect(servers->viewSlot(), &bview::BViewSlot::signalPageReady, viewSlot(),
            &bview::BViewSlot::signalPageReady);
}

QWidget *createEtrnPage(QWidget *parent)
{
    if (UtKontainer::getInt(UtKey::OsVersion, 0) == 0)
        return new EtrnWnd(parent);
    return new EtrnServersWnd(parent);
}

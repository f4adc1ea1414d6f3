#include "pages/spamfilter/spamfilterwnd.h"

#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/bcols.h"
#include "forms/blineedit.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/btabpage.h"
#include "forms/uthtml.h"
#include "forms/utnumvalidator.h"
#include "pages/spamfilter/spamfilterdialogs.h"
#include "pages/spamfilter/spamrules.h"
#include "status/statformat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

namespace {

QString bounceWarning()
{
    return QCoreApplication::translate(
            "SpamFilterWnd",
            "<nobr>The 'Send bounce message to sender' option might slow down mailserver "
            "traffic<br>by sending big volume of answers to non-existent addresses.</nobr>");
}

BLineEdit *lineEdit(QWidget *parent, const char *name)
{
    auto *edit = new BLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QCheckBox *checkBox(const QString &text, QWidget *parent, const char *name)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// Puts extra under the list of a list layout, beside the button column.
void addBelowList(TBFormList *layout, QWidget *extra)
{
    auto *row = static_cast<QHBoxLayout *>(layout->layout());
    row->removeWidget(layout->listView());
    auto *column = new QVBoxLayout;
    column->addWidget(layout->listView(), 1);
    column->addWidget(extra);
    row->insertLayout(0, column, 1);
}

// The first row of a settings table, or null before it was loaded.
DBRow *firstRow(const DBTable &table)
{
    return table.rowCount() > 0 ? table.row(0) : nullptr;
}

// The stored (last confirmed) value of a column of the first row.
int storedInt(const DBTable &table, const char *column)
{
    return table.confirmedCount() > 0 ? table.confirmedRow(0).text(QLatin1String(column)).toInt()
                                      : 0;
}

} // namespace

// --- rating ---

TSpamFilterRatingWnd::TSpamFilterRatingWnd(QWidget *parent)
    : BForm(parent)
    , m_chkEnabled(checkBox(tr("&Enable Spam Filter Rating"), this, "m_chkEnabled"))
    , m_chkRelayed(checkBox(tr("Enable rating of messages sent from &trustworthy relay agents "
                               "defined in SMTP relay options"),
                            this, "m_chkRelayed"))
    , m_edThreshold(lineEdit(this, "m_edThreshold"))
    , m_edBlock(lineEdit(this, "m_edBlock"))
    , m_chkPrefix(checkBox(tr("&Prepend the message's Subject with text:"), this, "m_chkPrefix"))
    , m_edPrefix(lineEdit(this, "m_edPrefix"))
    , m_chkBounce(checkBox(tr("Send &bounce message to sender"), this, "m_chkBounce"))
    , m_edQuarantine(lineEdit(this, "m_edQuarantine"))
{
    auto *box = new QGroupBox(tr("Spam Filter configuration"), this);
    auto *scores = new QFormLayout;
    scores->addRow(buddyLabel(tr("Tag message as spam at &score:"), m_edThreshold, box),
                   m_edThreshold);
    scores->addRow(buddyLabel(tr("B&lock message at score:"), m_edBlock, box), m_edBlock);
    scores->addRow(new QLabel(tr("Set the value to 10 to disable blocking."), box));
    auto *prefix = new QHBoxLayout;
    prefix->addWidget(m_chkPrefix);
    prefix->addWidget(m_edPrefix);
    m_edPrefix->setAccessibleName(tr("Subject prefix"));
    auto *quarantine = new QHBoxLayout;
    quarantine->addWidget(
            buddyLabel(tr("Forward the message to &quarantine address:"), m_edQuarantine, box));
    quarantine->addWidget(m_edQuarantine);
    auto *inner = new QVBoxLayout(box);
    inner->addWidget(m_chkEnabled);
    inner->addWidget(m_chkRelayed);
    inner->addLayout(scores);
    inner->addLayout(prefix);
    inner->addWidget(m_chkBounce);
    inner->addLayout(quarantine);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch();
    for (QCheckBox *check : {m_chkEnabled, m_chkRelayed, m_chkPrefix, m_chkBounce})
        connect(check, &QCheckBox::toggled, this, &BForm::slotChange);
    for (BLineEdit *edit : {m_edThreshold, m_edBlock, m_edPrefix, m_edQuarantine})
        connect(edit, &QLineEdit::textChanged, this, &BForm::slotChange);
    connect(m_chkPrefix, &QCheckBox::toggled, m_edPrefix, &QWidget::setEnabled);
}

SpamFilterRatingWnd::SpamFilterRatingWnd(QWidget *parent)
    : TSpamFilterRatingWnd(parent)
    , m_table(bobject::connection(), QStringLiteral("SpamFilter"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("SpamFilterRatingWnd"));
    m_trans.addTable(&m_table);
    m_edThreshold->setValidator(new UtNumValidator<int>(0, spamrules::kMaxThreshold, this));
    m_edBlock->setValidator(new UtNumValidator<int>(0, spamrules::kMaxThreshold, this));
}

bool SpamFilterRatingWnd::fillView()
{
    const DBRow *row = firstRow(m_table);
    if (!row)
        return false;
    m_chkEnabled->setChecked(row->text("AssassinEnabled").toInt() != 0);
    m_chkRelayed->setChecked(row->text("CheckRelayedMessages").toInt() != 0);
    m_edThreshold->setText(row->text("ScoreThreshold"));
    m_edBlock->setText(row->text("ScoreBlock"));
    m_chkPrefix->setChecked(row->text("InsertSubjectPrefix").toInt() != 0);
    m_edPrefix->setText(row->text("SubjectPrefix"));
    m_edPrefix->setEnabled(m_chkPrefix->isChecked());
    m_chkBounce->setChecked(row->text("BounceIfBlocked").toInt() != 0);
    m_edQuarantine->setText(row->text("AdminNotify"));
    return true;
}

void SpamFilterRatingWnd::storeView()
{
    DBRow *row = firstRow(m_table);
    if (!row)
        return;
    row->setNumber("AssassinEnabled", m_chkEnabled->isChecked() ? 1 : 0);
    row->setNumber("CheckRelayedMessages", m_chkRelayed->isChecked() ? 1 : 0);
    row->setNumber("InsertSubjectPrefix", m_chkPrefix->isChecked() ? 1 : 0);
    row->setText("SubjectPrefix", m_edPrefix->text());
    row->setNumber("BounceIfBlocked", m_chkBounce->isChecked() ? 1 : 0);
    row->setText("AdminNotify", m_edQuarantine->text().trimmed());
    row->setNumber("ScoreThreshold", m_edThreshold->text().trimmed().toInt());
    row->setNumber("ScoreBlock", m_edBlock->text().trimmed().toInt());
}

bool SpamFilterRatingWnd::validate()
{
    if (!spamrules::isAcceptable(m_edThreshold)) {
        bmessagebox::warning(this,
                             tr("Set correct spam score value before applying changes, "
                                "please."));
        m_edThreshold->setFocus();
        return false;
    }
    if (!spamrules::isAcceptable(m_edBlock)) {
        bmessagebox::warning(this,
                             tr("Set correct block score value before applying changes, "
                                "please."));
        m_edBlock->setFocus();
        return false;
    }
    if (m_chkBounce->isChecked() && storedInt(m_table, "BounceIfBlocked") == 0)
        bmessagebox::warning(this, bounceWarning());
    return true;
}

// --- blacklists ---

TSpamFilterBlacklistWnd::TSpamFilterBlacklistWnd(QWidget *parent)
    : TBFormList(parent)
    , m_cboBlacklist(new QComboBox(this))
    , m_cboWhitelist(new QComboBox(this))
    , m_rbBlock(new QRadioButton(tr("Bloc&k the message"), this))
    , m_rbScore(new QRadioButton(tr("Add spam s&core to the message:"), this))
    , m_edScore(lineEdit(this, "m_edScore"))
{
    listView()->setAccessibleName(tr("Internet blacklists"));
    m_cboBlacklist->setObjectName(QStringLiteral("m_cboBlacklist"));
    m_cboWhitelist->setObjectName(QStringLiteral("m_cboWhitelist"));
    m_rbBlock->setObjectName(QStringLiteral("m_rbBlock"));
    m_rbScore->setObjectName(QStringLiteral("m_rbScore"));
    m_edScore->setAccessibleName(tr("Spam score"));
    auto *box = new QGroupBox(tr("Custom blacklist"), this);
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Blacklisted IP address group:"), m_cboBlacklist, box),
                 m_cboBlacklist);
    form->addRow(buddyLabel(tr("&Whitelisted IP address group:"), m_cboWhitelist, box),
                 m_cboWhitelist);
    auto *score = new QHBoxLayout;
    score->addWidget(m_rbScore);
    score->addWidget(m_edScore);
    auto *inner = new QVBoxLayout(box);
    inner->addLayout(form);
    inner->addWidget(m_rbBlock);
    inner->addLayout(score);
    addBelowList(this, box);
    connect(m_cboBlacklist, &QComboBox::currentIndexChanged, this, &BForm::slotChange);
    connect(m_cboWhitelist, &QComboBox::currentIndexChanged, this, &BForm::slotChange);
    connect(m_rbScore, &QRadioButton::toggled, this, &BForm::slotChange);
    connect(m_rbScore, &QRadioButton::toggled, m_edScore, &QWidget::setEnabled);
    connect(m_edScore, &QLineEdit::textChanged, this, &BForm::slotChange);
}

SpamFilterBlacklistWnd::SpamFilterBlacklistWnd(QWidget *parent)
    : BFormList<TSpamFilterBlacklistWnd>(parent)
    , m_table(bobject::connection(), QStringLiteral("DnsBlacklists"))
    , m_settings(bobject::connection(), QStringLiteral("SpamFilter"))
    , m_groups(bobject::connection(), QStringLiteral("IpAccessList"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("SpamFilterBlacklistWnd"));
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_settings);
    m_trans.addTable(&m_groups);
    m_edScore->setValidator(spamrules::scoreValidator(m_edScore));
}

void SpamFilterBlacklistWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("dnsblacklists")));
    const int domain
            = cols.addColumn(tr("DNS Suffix"), QStringLiteral("Domain"), BCol::AlwaysVisible);
    cols.setCell(domain, [](const DBRow &row) { return row.text("Domain"); });
    const int description
            = cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.setCell(description, [](const DBRow &row) { return row.text("Description"); });
    const int action = cols.addColumn(tr("Action"), QStringLiteral("Action"), BCol::Visible);
    cols.setCell(action, [](const DBRow &row) {
        return row.text("Action").toInt() == 1
                ? tr("Add score %1").arg(spamrules::signedScore(row, "Score", "ScoreNegative"))
                : tr("Block");
    });
    const int ask = cols.addColumn(tr("Ask Directly"), QStringLiteral("AskDirectly"), BCol::Hidden);
    cols.setCell(ask, [](const DBRow &row) {
        return row.text("AskDirectly").toInt() != 0 ? tr("Yes") : tr("No");
    });
}

BListViewItem *SpamFilterBlacklistWnd::createItem(DBRow *row)
{
    BListViewItem *item = BFormList<TSpamFilterBlacklistWnd>::createItem(row);
    item->setIcon(0, QIcon(QStringLiteral(":/images/spamfilter_tree.png")));
    return item;
}

bool SpamFilterBlacklistWnd::initNewRow(DBRow *row)
{
    row->setNumber("Action", 1);
    row->setNumber("Score", 0);
    row->setNumber("ScoreNegative", 0);
    row->setNumber("AskDirectly", 0);
    return true;
}

bool SpamFilterBlacklistWnd::editRow(DBRow *row)
{
    SpamFilterBlacklistDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

void SpamFilterBlacklistWnd::discard()
{
    BFormList<TSpamFilterBlacklistWnd>::discard();
    m_settings.revert();
}

bool SpamFilterBlacklistWnd::fillView()
{
    const DBRow *row = firstRow(m_settings);
    if (!row || !BFormList<TSpamFilterBlacklistWnd>::fillView())
        return false;
    spamrules::fillGroupCombo(m_cboBlacklist, m_groups, row->text("BlacklistAcl"));
    spamrules::fillGroupCombo(m_cboWhitelist, m_groups, row->text("WhitelistAcl"));
    const bool score = row->text("BlacklistAction").toInt() == 1;
    m_rbScore->setChecked(score);
    m_rbBlock->setChecked(!score);
    m_edScore->setEnabled(score);
    m_edScore->setText(QString::number(
            spamrules::signedScore(*row, "BlacklistScore", "BlacklistScoreNegative")));
    return true;
}

void SpamFilterBlacklistWnd::storeView()
{
    DBRow *row = firstRow(m_settings);
    if (!row)
        return;
    row->setText("BlacklistAcl", m_cboBlacklist->currentText());
    row->setText("WhitelistAcl", m_cboWhitelist->currentText());
    if (m_rbScore->isChecked()) {
        row->setNumber("BlacklistAction", 1);
        if (spamrules::isAcceptable(m_edScore))
            spamrules::storeSignedScore(*row, "BlacklistScore", "BlacklistScoreNegative",
                                        m_edScore->text().trimmed().toInt());
    } else {
        row->setNumber("BlacklistAction", 0);
    }
}

bool SpamFilterBlacklistWnd::validate()
{
    if (m_rbScore->isChecked() && !spamrules::isAcceptable(m_edScore)) {
        bmessagebox::warning(this,
                             tr("Set correct spam score value before applying changes, "
                                "please."));
        m_edScore->setFocus();
        return false;
    }
    // No group on either side is not "the same group".
    const QString blacklist = m_cboBlacklist->currentText();
    if (!blacklist.isEmpty() && blacklist == m_cboWhitelist->currentText()) {
        bmessagebox::warning(this,
                             tr("The same IP address group shouldn't be used for custom "
                                "whitelist and blacklist."));
        m_cboWhitelist->setFocus();
        return false;
    }
    return true;
}

// --- custom rules ---

TSpamFilterCustomRulesWnd::TSpamFilterCustomRulesWnd(QWidget *parent)
    : TBFormListOrder(parent)
    , m_btnRemoveUnused(
              addButtonBelow(tr("Remove &unused..."), QStringLiteral("m_btnRemoveUnused")))
    , m_chkBounce(checkBox(tr("Send &bounce message to the sender"), this, "m_chkBounce"))
    , m_edQuarantine(lineEdit(this, "m_edQuarantine"))
{
    listView()->setAccessibleName(tr("Custom rules"));
    auto *box = new QGroupBox(tr("Rejected messages"), this);
    auto *quarantine = new QHBoxLayout;
    quarantine->addWidget(
            buddyLabel(tr("Forward the message to &quarantine address:"), m_edQuarantine, box));
    quarantine->addWidget(m_edQuarantine);
    auto *inner = new QVBoxLayout(box);
    inner->addWidget(m_chkBounce);
    inner->addLayout(quarantine);
    addBelowList(this, box);
    connect(m_btnRemoveUnused, &QPushButton::clicked, this,
            &TSpamFilterCustomRulesWnd::slotRemoveUnused);
    connect(m_chkBounce, &QCheckBox::toggled, this, &BForm::slotChange);
    connect(m_edQuarantine, &QLineEdit::textChanged, this, &BForm::slotChange);
}

SpamFilterCustomRulesItem::SpamFilterCustomRulesItem(BListView *view, DBRow *row, qint64 now,
                                                     bool checkable)
    : BOrderListItem(view, row, row->text("Order").toInt())
    , m_now(now)
{
    setIcon(0, QIcon(QStringLiteral(":/images/spamfilter_tree.png")));
    setOn(row->text("Enabled").toInt() != 0);
    if (!checkable)
        setFlags(flags() & ~Qt::ItemIsUserCheckable);
}

QString SpamFilterCustomRulesItem::cellText(int column) const
{
    const DBRow &rule = *row();
    switch (column) {
    case 0:
        return rule.text("Header");
    case 1:
        return spamrules::typeText(rule.text("Type").toInt());
    case 2:
        return rule.text("Content");
    case 3:
        return spamrules::ruleActionText(rule);
    case 4:
        return rule.text("Description");
    case 5: {
        const qint64 lastHit = rule.text("LastHitTimeStamp").toLongLong();
        return lastHit == 0 ? QCoreApplication::translate("SpamFilterCustomRulesItem", "Unused")
                            : statformat::duration(qMax<qint64>(0, m_now - lastHit));
    }
    default:
        return QString();
    }
}

QVariant SpamFilterCustomRulesItem::data(int column, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && row() && column >= 0)
        return cellText(column);
    return BOrderListItem::data(column, role);
}

void SpamFilterCustomRulesItem::releaseRow()
{
    keepShownTexts([this](int column) { return cellText(column); });
    BOrderListItem::releaseRow();
}

SpamFilterCustomRulesWnd::SpamFilterCustomRulesWnd(QWidget *parent)
    : BFormListOrder<TSpamFilterCustomRulesWnd>(parent)
    , m_table(bobject::connection(), QStringLiteral("HeaderFilter"))
    , m_settings(bobject::connection(), QStringLiteral("SpamFilter"))
    , m_info(bobject::connection(), QStringLiteral("Info"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("SpamFilterCustomRulesWnd"));
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_settings);
    m_trans.addTable(&m_info);
}

qint64 SpamFilterCustomRulesWnd::loadedServerTime() const
{
    const DBRow *row = firstRow(m_info);
    return row ? row->text("CurrentTime").toLongLong() : 0;
}

void SpamFilterCustomRulesWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("spamfilter")));
    cols.addColumn(tr("Header"), QStringLiteral("Header"), BCol::AlwaysVisible);
    cols.addColumn(tr("Type"), QStringLiteral("Type"), BCol::Visible);
    cols.addColumn(tr("Content"), QStringLiteral("Content"), BCol::Visible);
    cols.addColumn(tr("Action"), QStringLiteral("Action"), BCol::Visible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Last Used Before"), QStringLiteral("LastHitTimeStamp"), BCol::Visible);
}

BListViewItem *SpamFilterCustomRulesWnd::createItem(DBRow *row)
{
    return new SpamFilterCustomRulesItem(listView(), row, loadedServerTime(), !sessionReadOnly());
}

bool SpamFilterCustomRulesWnd::initNewRow(DBRow *row)
{
    int highest = 0;
    for (const DBRow *other : m_table.rows()) {
        if (other != row)
            highest = qMax(highest, other->text("Order").toInt());
    }
    row->setNumber("Order", highest + 1);
    row->setNumber("Enabled", 1);
    row->setText("Header", QStringLiteral("Subject"));
    row->setNumber("Type", spamrules::TypeSubstring);
    row->setNumber("Action", spamrules::ActionSpam);
    row->setNumber("Score", 0);
    row->setNumber("ScoreNegative", 0);
    row->setNumber("LastHitTimeStamp", 0);
    return true;
}

bool SpamFilterCustomRulesWnd::editRow(DBRow *row)
{
    SpamFilterCustomRulesDlg dialog(row, this);
    return dialog.exec() == QDialog::Accepted;
}

bool SpamFilterCustomRulesWnd::duplicateRow(DBRow *source, DBRow *copy)
{
    for (int i = 0; i < source->columnCount(); ++i)
        copy->setText(i, source->text(i));
    copy->setNumber("LastHitTimeStamp", 0);
    // The copy must differ in header, condition or content: the dialog says so.
    return editRow(copy);
}

void SpamFilterCustomRulesWnd::itemChecked(BCheckListItem *item)
{
    if (m_updating || !item || !item->row() || sessionReadOnly())
        return;
    const int enabled = item->isOn() ? 1 : 0;
    if (item->row()->text("Enabled").toInt() == enabled)
        return;
    item->row()->setNumber("Enabled", enabled);
    registerChanges();
}

void SpamFilterCustomRulesWnd::selectionChanged()
{
    BFormListOrder<TSpamFilterCustomRulesWnd>::selectionChanged();
    m_btnRemoveUnused->setEnabled(!sessionReadOnly() && !m_detached
                                  && listView()->topLevelItemCount() > 0);
}

void SpamFilterCustomRulesWnd::discard()
{
    BFormListOrder<TSpamFilterCustomRulesWnd>::discard();
    m_settings.revert();
}

bool SpamFilterCustomRulesWnd::fillView()
{
    const DBRow *row = firstRow(m_settings);
    if (!row || !BFormListOrder<TSpamFilterCustomRulesWnd>::fillView())
        return false;
    m_chkBounce->setChecked(row->text("BounceIfDenied").toInt() != 0);
    m_edQuarantine->setText(row->text("AdminNotifyDenied"));
    return true;
}

void SpamFilterCustomRulesWnd::storeView()
{
    DBRow *row = firstRow(m_settings);
    if (!row)
        return;
    row->setNumber("BounceIfDenied", m_chkBounce->isChecked() ? 1 : 0);
    row->setText("AdminNotifyDenied", m_edQuarantine->text().trimmed());
}

bool SpamFilterCustomRulesWnd::validate()
{
    if (m_chkBounce->isChecked() && storedInt(m_settings, "BounceIfDenied") == 0)
        bmessagebox::warning(this, bounceWarning());
    return true;
}

void SpamFilterCustomRulesWnd::slotRemoveUnused()
{
    if (!m_btnRemoveUnused->isEnabled() || m_detached || sessionReadOnly())
        return;
    SpamFilterCustomRulesRemoveDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Ages are measured with the server's clock, which stamped the rules.
    DBConn *conn = bobject::connection();
    DBReq req(QStringLiteral("select CurrentTime from Info"));
    if (!conn || !conn->execSync(&req) || req.rowCount() < 1) {
        if (conn && conn->isConnected() && !req.errorText().isEmpty())
            bmessagebox::warning(this, req.errorText());
        return;
    }
    const qint64 now = req.readInt64(0, 0).value();
    const QList<int> positions = spamrules::unusedRules(
            m_table, now, spamrules::thresholdSeconds(dialog.count(), dialog.unit()));
    if (positions.isEmpty()) {
        QMessageBox::information(this, bmessagebox::caption(),
                                 tr("No rule has been unused for that long."));
        return;
    }
    QSet<const DBRow *> doomed;
    QStringList lines;
    for (int position : positions) {
        const DBRow *row = m_table.row(position);
        doomed.insert(row);
        lines.prepend(UtHtml::escape(QStringLiteral("%1 %2 %3 %4")
                                             .arg(row->text("Header"),
                                                  spamrules::typeText(row->text("Type").toInt()),
                                                  row->text("Content"), row->text("Description"))
                                             .simplified()));
    }
    const QString question = tr("<nobr>These rules will be removed:<br>%1<br><br>Do you want "
                                "to remove them?</nobr>")
                                     .arg(lines.join(QStringLiteral("<br>")));
    if (QMessageBox::question(this, bmessagebox::caption(), question,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    BListView *list = listView();
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        BBaseListItem *item = baseListItem(list->topLevelItem(i));
        if (item && doomed.contains(item->row()))
            delete list->topLevelItem(i);
    }
    for (int position : positions)
        m_table.removeRow(position); // from the last to the first: positions stay valid
    rowsRemoved();
    registerChanges();
    selectionChanged();
}

// --- external rating engine ---

SpamFilterAssassinWnd::SpamFilterAssassinWnd(QWidget *parent)
    : BForm(parent)
    , m_lblSpam(new QLabel(this))
    , m_lblHam(new QLabel(this))
    , m_table(bobject::connection(), QStringLiteral("SpamFilter::GetBayesStatistics()"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("SpamFilterAssassinWnd"));
    m_trans.addTable(&m_table);
    m_lblSpam->setObjectName(QStringLiteral("m_lblSpam"));
    m_lblHam->setObjectName(QStringLiteral("m_lblHam"));
    auto *box = new QGroupBox(tr("Bayesian classifier statistics"), this);
    auto *form = new QFormLayout(box);
    form->addRow(buddyLabel(tr("Number of spam messages learnt:"), m_lblSpam, box), m_lblSpam);
    form->addRow(buddyLabel(tr("Number of ham messages learnt:"), m_lblHam, box), m_lblHam);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch();
}

bool SpamFilterAssassinWnd::fillView()
{
    const DBRow *row = firstRow(m_table);
    if (!row)
        return false;
    m_lblSpam->setText(statformat::count(row->text("Number of spam").toLongLong()));
    m_lblHam->setText(statformat::count(row->text("Number of ham").toLongLong()));
    return true;
}

// --- the section ---

SpamFilterWnd::SpamFilterWnd(QWidget *parent)
    : BFormTab<>(parent)
{
    setObjectName(QStringLiteral("SpamFilterWnd"));
    auto *rating = new BTabPageEx<SpamFilterRatingWnd>(this);
    auto *blacklist = new BTabPageEx<SpamFilterBlacklistWnd>(this);
    auto *rules = new BTabPageEx<SpamFilterCustomRulesWnd>(this);
    auto *assassin = new BTabPageEx<SpamFilterAssassinWnd>(this);
    m_rating = rating;
    m_blacklist = blacklist;
    m_rules = rules;
    m_assassin = assassin;
    tab()->addPage(rating, tr("Spam Filter configuration"));
    tab()->addPage(blacklist, tr("Blacklists"));
    tab()->addPage(rules, tr("Custom Rules"));
    tab()->addPage(assassin, tr("SpamAssassin"));
    // The tabs load themselves; the section is ready once its first tab is.
    connect(rating->viewSlot(), &bview::BViewSlot::signalPageReady, viewSlot(),
            &bview::BViewSlot::signalPageReady);
}

#include "pages/domains/domaindlg.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "forms/bcorrection.h"
#include "forms/bipedit.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/pvnmaxsize.h"
#include "forms/pvnuserloginvalidator.h"
#include "pages/domains/domainadddlg.h"
#include "pages/domains/domaindlgdirectoryservicetab.h"
#include "pages/domains/domaindlgforwardingtab.h"
#include "pages/domains/domainguard.h"
#include "pages/domains/domainitem.h"
#include "pages/domains/domainmarkers.h"
#include "pages/domains/domainwnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using bview::named;

namespace {

enum AuthFlag { AuthNtDomain = 1, AuthPam = 2, AuthKerberos = 4 };

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

DBRow *rowOf(const QListWidgetItem *item)
{
    return item ? reinterpret_cast<DBRow *>(item->data(Qt::UserRole).value<quintptr>()) : nullptr;
}

} // namespace

TDomainDlg::TDomainDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Domain"));
    m_tab = named(new QTabWidget(this), "m_tab");
    m_domainTab = named(new QWidget(m_tab), "m_domainTab");
    QWidget *page = m_domainTab;

    m_edName = named(new BLineEdit(page), "m_edName");
    m_cboType = named(new QComboBox(page), "m_cboType");
    m_cboType->addItem(DomainItem::typeText(domainmarkers::PrimaryDomain),
                       int(domainmarkers::PrimaryDomain));
    m_cboType->addItem(DomainItem::typeText(domainmarkers::LocalDomain),
                       int(domainmarkers::LocalDomain));
    m_edDescription = named(new BLineEdit(page), "m_edDescription");
    m_edHostname = named(new BLineEdit(page), "m_edHostname");
    m_chkUserLimit
            = named(new QCheckBox(tr("Limit the number of u&sers to:"), page), "m_chkUserLimit");
    m_edUserLimit = named(new BLineEdit(page), "m_edUserLimit");
    m_edUserLimit->setAccessibleName(tr("User count limit"));
    m_chkKeepDeleted = named(new QCheckBox(tr("&Keep deleted messages for (days):"), page),
                             "m_chkKeepDeleted");
    m_edKeepDeleted = named(new BLineEdit(page), "m_edKeepDeleted");
    m_edKeepDeleted->setAccessibleName(tr("Days to keep deleted messages"));
    m_chkBindIp = named(new QCheckBox(tr("&Bind to IP address:"), page), "m_chkBindIp");
    m_edBindIp = named(new BIPEdit(page), "m_edBindIp");
    m_edBindIp->setAccessibleName(tr("Bound IP address"));
    m_edNtDomain = named(new BLineEdit(page), "m_edNtDomain");
    m_edPamService = named(new BLineEdit(page), "m_edPamService");
    m_edKerberos = named(new BLineEdit(page), "m_edKerberos");
    m_lblLogo = named(new QLabel(page), "m_lblLogo");

    auto *general = new QFormLayout;
    general->addRow(buddyLabel(tr("&Domain:"), m_edName, page), m_edName);
    general->addRow(buddyLabel(tr("T&ype:"), m_cboType, page), m_cboType);
    general->addRow(buddyLabel(tr("D&escription:"), m_edDescription, page), m_edDescription);
    general->addRow(buddyLabel(tr("&Internet hostname:"), m_edHostname, page), m_edHostname);
    general->addRow(m_chkUserLimit, m_edUserLimit);
    general->addRow(m_chkKeepDeleted, m_edKeepDeleted);
    general->addRow(m_chkBindIp, m_edBindIp);
    m_lblNtDomain = buddyLabel(tr("&NT domain:"), m_edNtDomain, page);
    general->addRow(m_lblNtDomain, m_edNtDomain);
    m_lblPamService = buddyLabel(tr("PAM ser&vice:"), m_edPamService, page);
    general->addRow(m_lblPamService, m_edPamService);
    m_lblKerberos = buddyLabel(tr("Kerberos &realm:"), m_edKerberos, page);
    general->addRow(m_lblKerberos, m_edKerberos);
    general->addRow(tr("Webmail logo:"), m_lblLogo);

    auto *footerBox = new QGroupBox(tr("Footer"), page);
    m_chkFooter = named(new QCheckBox(tr("Append &footer to messages:"), footerBox), "m_chkFooter");
    m_edFooter = named(new QPlainTextEdit(footerBox), "m_edFooter");
    m_edFooter->setTabChangesFocus(true);
    m_edFooter->setAccessibleName(tr("Footer text"));
    m_edFooter->setMaximumHeight(70);
    m_chkLocalFooter = named(new QCheckBox(tr("Don't append the footer to messages for local "
                                              "reci&pients"),
                                           footerBox),
                             "m_chkLocalFooter");
    auto *footerLayout = new QVBoxLayout(footerBox);
    footerLayout->addWidget(m_chkFooter);
    footerLayout->addWidget(m_edFooter);
    footerLayout->addWidget(m_chkLocalFooter);

    m_maxSize = new PvnMaxSizeImpl(tr("Maximum message size"), tr("Use the &global limit"), page);

    auto *aliasBox = new QGroupBox(tr("Domain aliases"), page);
    m_lstAliases = named(new QListWidget(aliasBox), "m_lstAliases");
    m_lstAliases->setAccessibleName(tr("Domain aliases"));
    m_btnAddAlias = named(new QPushButton(tr("&Add..."), aliasBox), "m_btnAddAlias");
    m_btnRemoveAlias = named(new QPushButton(tr("Re&move"), aliasBox), "m_btnRemoveAlias");
    auto *aliasButtons = new QVBoxLayout;
    aliasButtons->addWidget(m_btnAddAlias);
    aliasButtons->addWidget(m_btnRemoveAlias);
    aliasButtons->addStretch();
    auto *aliasLayout = new QHBoxLayout(aliasBox);
    aliasLayout->addWidget(m_lstAliases, 1);
    aliasLayout->addLayout(aliasButtons);

    auto *pageLayout = new QGridLayout(page);
    pageLayout->addLayout(general, 0, 0);
    pageLayout->addWidget(aliasBox, 0, 1);
    pageLayout->addWidget(footerBox, 1, 0, 1, 2);
    pageLayout->addWidget(m_maxSize, 2, 0, 1, 2);
    pageLayout->setRowStretch(3, 1);

    m_forwarding = new DomainDlgForwardingTab(m_tab);
    m_directory = new DomainDlgDirectoryServiceTab(m_tab);
    m_tab->addTab(page, tr("Domain"));
    m_tab->addTab(m_forwarding, tr("Forwarding"));
    m_tab->addTab(m_directory, tr("Directory Service"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addWidget(buttons);

    auto follow = [this] {
        m_edUserLimit->setEnabled(m_chkUserLimit->isChecked());
        m_edKeepDeleted->setEnabled(m_chkKeepDeleted->isChecked());
        m_edBindIp->setEnabled(m_chkBindIp->isChecked());
        m_edFooter->setEnabled(m_chkFooter->isChecked());
        m_chkLocalFooter->setEnabled(m_chkFooter->isChecked());
        m_btnRemoveAlias->setEnabled(m_lstAliases->currentItem() != nullptr);
    };
    for (QCheckBox *box : {m_chkUserLimit, m_chkKeepDeleted, m_chkBindIp, m_chkFooter})
        connect(box, &QCheckBox::toggled, this, follow);
    connect(m_lstAliases, &QListWidget::currentItemChanged, this, follow);
    follow();
}

DomainDlg::DomainDlg(DBRow *row, DBTable *domains, DBTable *directory, QWidget *parent)
    : BDialog<TDomainDlg>(parent)
    , m_domains(domains)
    , m_directoryRows(directory)
{
    setObjectName(QStringLiteral("DomainDlg"));
    setRow(row);
    m_openedName = row ? row->text("Domain") : QString();
    m_edName->setValidator(new PvnUserLoginValidator(namePattern(), false, m_edName));
    m_edUserLimit->setValidator(new QIntValidator(0, 999999, m_edUserLimit));
    m_edKeepDeleted->setValidator(new QIntValidator(0, 36500, m_edKeepDeleted));
    QObject::connect(m_btnAddAlias, &QPushButton::clicked, this, [this] {
        DomainAddDlg dialog([this](const QString &name) { return aliasProblem(name); }, this);
        if (dialog.exec() == QDialog::Accepted)
            addAlias(dialog.aliasName());
    });
    QObject::connect(m_btnRemoveAlias, &QPushButton::clicked, this,
                     [this] { removeSelectedAlias(); });
    QObject::connect(m_edName, &QLineEdit::textChanged, this,
                     [this](const QString &name) { m_directory->setDomain(name.trimmed()); });
}

void DomainDlg::load(bool first)
{
    Q_UNUSED(first);
    DBConn *conn = bobject::connection();
    if (conn) {
        DBReq auth(QStringLiteral("select get_auth_types()"));
        if (conn->execSync(&auth) && auth.rowCount() > 0)
            m_authTypes = auth.readInt(0, 0).toString().toInt();
        DBTable smtp(conn, QStringLiteral("Smtp"));
        if (smtp.selectSync() && smtp.rowCount() > 0)
            m_globalLimit = smtp.row(0)->text("MaxMessageSize").toLongLong();
        m_lblLogo->setText(tr("No logo"));
        if (!m_openedName.isEmpty()) {
            DBReq logo(QStringLiteral("select ")
                       + dbFunctionCall(QStringLiteral("WebmailLogoGet"), {m_openedName}));
            if (conn->execSync(&logo) && logo.rowCount() > 0) {
                const QByteArray bytes = logo.cellBytes(0, 0).toByteArray();
                QPixmap pixmap;
                if (!bytes.isEmpty() && pixmap.loadFromData(bytes))
                    m_lblLogo->setPixmap(pixmap.scaledToHeight(32, Qt::SmoothTransformation));
                else if (!bytes.isEmpty())
                    m_lblLogo->setText(tr("Logo stored (%1 bytes)").arg(bytes.size()));
            }
        }
    }
    dataLoaded();
}

bool DomainDlg::fillView()
{
    if (!m_row)
        return false;
    const DBRow &row = *m_row;
    m_edName->setText(row.text("Domain"));
    m_cboType->setCurrentIndex(m_cboType->findData(row.text("Type").toInt()));
    m_edDescription->setText(row.text("Description"));
    m_edHostname->setText(row.text("InternetHostname"));

    const qint64 users = row.text("MaxUserCount").toLongLong();
    m_chkUserLimit->setChecked(users != 0);
    m_edUserLimit->setText(users != 0 ? QString::number(users) : QString());
    const qint64 days = row.text("DeletedMsgExpiration").toLongLong();
    m_chkKeepDeleted->setChecked(days != 0);
    m_edKeepDeleted->setText(QString::number(days != 0 ? days : 30));
    const QString footer = row.text("Footer");
    m_chkFooter->setChecked(!footer.isEmpty());
    m_edFooter->setPlainText(footer);
    m_chkLocalFooter->setChecked(row.text("localDomainInsertFooter").toInt() == 0);
    const QString bindIp = row.text("BindIp");
    const bool bound = !bindIp.isEmpty() && bindIp != QLatin1String("0.0.0.0");
    m_chkBindIp->setChecked(bound);
    m_edBindIp->setText(bound ? bindIp : QString());

    const bool nt = m_authTypes & AuthNtDomain;
    const bool pam = m_authTypes & AuthPam;
    const bool kerberos = m_authTypes & AuthKerberos;
    m_edNtDomain->setText(nt ? row.text("NtAuthDomain") : QString());
    m_edPamService->setText(pam ? row.text("PamService") : QString());
    m_edKerberos->setText(kerberos ? row.text("KerberosRealm") : QString());
    auto *general = qobject_cast<QGridLayout *>(m_domainTab->layout());
    if (auto *form = general ? qobject_cast<QFormLayout *>(general->itemAtPosition(0, 0)->layout())
                             : nullptr) {
        form->setRowVisible(m_edNtDomain, nt);
        form->setRowVisible(m_edPamService, pam);
        form->setRowVisible(m_edKerberos, kerberos);
    }

    m_maxSize->setValue(row.text("MaxOutgoingMessageSize").toLongLong());
    m_maxSize->setGlobalLimit(m_globalLimit,
                              tr("The domain limit is larger than global size limit of SMTP "
                                 "message. If email is sent through SMTP, the limit of SMTP "
                                 "message will be used."));

    m_lstAliases->clear();
    for (DBRow *alias : DomainWnd::aliasRows(*m_domains, m_openedName)) {
        auto *item = new QListWidgetItem(alias->text("Domain"), m_lstAliases);
        item->setData(Qt::UserRole, QVariant::fromValue(quintptr(alias)));
    }
    if (m_lstAliases->count() > 0)
        m_lstAliases->setCurrentRow(0);

    m_forwarding->fill(row);
    m_directory->fill(bindingRow(), m_openedName);
    m_tab->setCurrentIndex(0);
    m_edName->setFocus();
    return true;
}

DBRow *DomainDlg::bindingRow() const
{
    if (!m_directoryRows || m_openedName.isEmpty())
        return nullptr;
    for (DBRow *row : m_directoryRows->rows()) {
        if (row->text("Domain").compare(m_openedName, Qt::CaseInsensitive) == 0)
            return row;
    }
    return nullptr;
}

QStringList DomainDlg::aliasNames() const
{
    QStringList names;
    for (int i = 0; i < m_lstAliases->count(); ++i)
        names << m_lstAliases->item(i)->text();
    return names;
}

QString DomainDlg::aliasProblem(const QString &name) const
{
    if (name.isEmpty())
        return tr("The alias name cannot be empty.");
    QString text = name;
    int pos = 0;
    if (m_edName->validator()->validate(text, pos) != QValidator::Acceptable)
        return tr("Enter a valid alias name, please.");
    if (name.compare(m_edName->text().trimmed(), Qt::CaseInsensitive) == 0
        || name.compare(m_openedName, Qt::CaseInsensitive) == 0)
        return tr("The alias name cannot be identical with the domain name.");
    for (const DBRow *row : m_domains->rows()) {
        if (row->text("Domain").compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // An alias removed in this dialog may come back.
        if (row->text("Alias") == domainmarkers::removed())
            continue;
        return tr("Domain or alias with this name is already defined!");
    }
    return {};
}

QString DomainDlg::addAlias(const QString &name)
{
    const QString problem = aliasProblem(name);
    if (!problem.isEmpty())
        return problem;
    DBRow *row = nullptr;
    for (DBRow *candidate : m_domains->rows()) {
        if (candidate->text("Alias") == domainmarkers::removed()
            && candidate->text("Domain").compare(name, Qt::CaseInsensitive) == 0) {
            row = candidate;
            row->setText("Alias", m_openedName);
            break;
        }
    }
    if (!row) {
        row = m_domains->addRow();
        const int id = m_domains->columns().indexOf(QStringLiteral("ID"));
        if (id >= 0)
            row->setNull(id);
        row->setText("Type", QString::number(domainmarkers::DomainAlias));
        row->setText("Domain", name);
        row->setText("Alias", domainmarkers::added());
        row->setText("BindIp", QStringLiteral("0.0.0.0"));
    }
    auto *item = new QListWidgetItem(row->text("Domain"), m_lstAliases);
    item->setData(Qt::UserRole, QVariant::fromValue(quintptr(row)));
    m_lstAliases->setCurrentItem(item);
    return {};
}

void DomainDlg::removeSelectedAlias()
{
    QListWidgetItem *item = m_lstAliases->currentItem();
    DBRow *row = rowOf(item);
    if (!row)
        return;
    if (row->text("Alias") == domainmarkers::added())
        m_domains->removeRow(row); // never stored: nothing to remove on the server
    else
        row->setText("Alias", domainmarkers::removed());
    delete item;
}

bool DomainDlg::validateTab(QWidget *tab, const std::function<bool()> &check)
{
    m_tab->setCurrentWidget(tab);
    return check();
}

bool DomainDlg::validateDomainTab()
{
    auto fail = [this](const QString &message, QWidget *field) {
        bmessagebox::warning(this, message);
        field->setFocus();
        return false;
    };
    const QString name = m_edName->text().trimmed();
    if (name.isEmpty())
        return fail(tr("You must enter a domain name."), m_edName);
    if (m_chkKeepDeleted->isChecked() && m_edKeepDeleted->text().toInt() <= 0)
        return fail(tr("Set a valid value for the \"Keep deleted messages for...\" option, "
                       "please."),
                    m_edKeepDeleted);
    QString text = name;
    int pos = 0;
    if (m_edName->validator()->validate(text, pos) != QValidator::Acceptable)
        return fail(tr("Enter a valid domain name, please."), m_edName);
    if (m_chkUserLimit->isChecked() && m_edUserLimit->text().toInt() <= 0)
        return fail(tr("Set a valid value for the user count limit, please."), m_edUserLimit);
    if (m_chkBindIp->isChecked() && !m_edBindIp->isComplete())
        return fail(tr("Specify a valid IP address, please."), m_edBindIp);
    if (!m_maxSize->isAcceptable()) {
        bmessagebox::warning(this, tr("Set a valid message size limit, please."));
        m_maxSize->focusSize();
        return false;
    }
    if (m_chkFooter->isChecked()) {
        const QString footer = m_edFooter->toPlainText();
        if (footer.trimmed().isEmpty()
            && bcorrection::askToCorrect(this, tr("You should enter a footer text."))) {
            m_edFooter->setFocus();
            return false;
        }
        if (footer.size() > kFooterLimit
            && bcorrection::askToCorrect(this,
                                         tr("The allowed footer length is %1 characters. "
                                            "Redundant characters won't be displayed in the "
                                            "message.")
                                                 .arg(kFooterLimit))) {
            m_edFooter->setFocus();
            return false;
        }
    }
    return true;
}

bool DomainDlg::validate()
{
    m_tab->setCurrentWidget(m_domainTab);
    if (!validateDomainTab())
        return false;
    if (!validateTab(m_forwarding, [this] { return m_forwarding->validate(); }))
        return false;
    m_directory->setDomain(m_edName->text().trimmed());
    if (!validateTab(m_directory, [this] { return m_directory->validate(); }))
        return false;
    // A domain the server knows keeps its name while anything names it.
    const QString stored = DomainWnd::storedName(*m_domains, m_row);
    const QString name = m_edName->text().trimmed();
    if (!stored.isEmpty() && stored.compare(name, Qt::CaseInsensitive) != 0) {
        m_tab->setCurrentWidget(m_domainTab);
        if (!domainguard::mayLetGo(this, stored)) {
            m_edName->setFocus();
            return false;
        }
    }
    m_tab->setCurrentWidget(m_domainTab);
    return true;
}

QString DomainDlg::duplicateMessage() const
{
    return tr("Domain or alias with this name is already defined!");
}

void DomainDlg::storeView()
{
    DBRow &row = *m_row;
    row.setText("Domain", m_edName->text().trimmed());
    // A type the selector cannot show stays as stored.
    if (m_cboType->currentIndex() >= 0)
        row.setText("Type", m_cboType->currentData().toString());
    row.setText("Description", m_edDescription->text());
    row.setText("InternetHostname", m_edHostname->text().trimmed());
    row.setText("MaxUserCount",
                m_chkUserLimit->isChecked() ? m_edUserLimit->text() : QStringLiteral("0"));
    row.setText("DeletedMsgExpiration",
                m_chkKeepDeleted->isChecked() ? m_edKeepDeleted->text() : QStringLiteral("0"));
    row.setText("Footer", m_chkFooter->isChecked() ? m_edFooter->toPlainText() : QString());
    row.setText("localDomainInsertFooter",
                m_chkLocalFooter->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
    row.setText("BindIp",
                m_chkBindIp->isChecked() ? m_edBindIp->text() : QStringLiteral("0.0.0.0"));
    if (m_authTypes & AuthNtDomain)
        row.setText("NtAuthDomain", m_edNtDomain->text().trimmed());
    if (m_authTypes & AuthPam)
        row.setText("PamService", m_edPamService->text().trimmed());
    if (m_authTypes & AuthKerberos)
        row.setText("KerberosRealm", m_edKerberos->text().trimmed());
    row.setText("MaxOutgoingMessageSize", QString::number(m_maxSize->value()));
    m_forwarding->store(row);
}

void DomainDlg::resolveAliases(bool accepted)
{
    const QString name = accepted && m_row ? m_row->text("Domain") : m_openedName;
    const QList<DBRow *> rows = m_domains->rows();
    for (DBRow *row : rows) {
        if (row == m_row || row->text("Type").toInt() != domainmarkers::DomainAlias)
            continue;
        const QString alias = row->text("Alias");
        if (alias == domainmarkers::removed()) {
            if (accepted)
                m_domains->removeRow(row);
            else
                row->setText("Alias", m_openedName);
        } else if (alias == domainmarkers::added()) {
            if (accepted)
                row->setText("Alias", name);
            else
                m_domains->removeRow(row);
        } else if (accepted && !m_openedName.isEmpty()
                   && alias.compare(m_openedName, Qt::CaseInsensitive) == 0 && alias != name) {
            row->setText("Alias", name); // the aliases follow a renamed domain
        }
    }
}

void DomainDlg::storeDirectory()
{
    if (!m_directoryRows)
        return;
    DBRow *binding = bindingRow();
    if (!m_directory->isEnabled()) {
        // Switched off: a stored binding is deleted, one never stored is dropped.
        if (binding)
            m_directoryRows->removeRow(binding);
        return;
    }
    if (!binding)
        binding = m_directoryRows->addRow();
    binding->setText("Domain", m_row->text("Domain"));
    m_directory->store(*binding);
}

void DomainDlg::done(int result)
{
    if (m_row) {
        const bool accepted = result == QDialog::Accepted;
        resolveAliases(accepted);
        if (accepted) {
            storeDirectory();
            // One primary domain: choosing this one makes the former one local.
            if (m_row->text("Type").toInt() == domainmarkers::PrimaryDomain) {
                for (DBRow *other : m_domains->rows()) {
                    if (other != m_row
                        && other->text("Type").toInt() == domainmarkers::PrimaryDomain)
                        other->setText("Type", QString::number(domainmarkers::LocalDomain));
                }
            }
        }
    }
    BDialog<TDomainDlg>::done(result);
}

#include "pages/users/userdlgtemp.h"

#include "db/dbpasswordhash.h"
#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bcorrection.h"
#include "forms/bmessagebox.h"
#include "forms/bpwdlineedit.h"
#include "forms/pvnmaxsize.h"
#include "forms/pvnuserloginvalidator.h"
#include "pages/usergroups/mailaddressdlg.h"
#include "pages/usergroups/pvnauthorization.h"
#include "pages/usergroups/selectgroupdlg.h"
#include "pages/usergroups/ugconflicts.h"
#include "pages/users/useritem.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserDlgTemp", text);
}

QString col(const char *name)
{
    return QString::fromLatin1(name);
}

// The non-empty comma-separated sections of a column text.
QStringList sections(const QString &text)
{
    QStringList out;
    for (const QString &part : text.split(QLatin1Char(','))) {
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    }
    return out;
}

QStringList listTexts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QPushButton *button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QComboBox *unitCombo(QWidget *parent, const char *name)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems({tr("kB"), tr("MB"), tr("GB")});
    return combo;
}

// A quota edit shows the number in the largest unit that keeps it exact.
void showSize(QLineEdit *edit, QComboBox *units, qint64 kilobytes)
{
    const int unit = UserDlgTemp::largestExactUnit(kilobytes);
    edit->setText(QString::number(kilobytes / UserDlgTemp::unitFactor(unit)));
    units->setCurrentIndex(unit);
}

qint64 readSize(const QLineEdit *edit, const QComboBox *units)
{
    bool ok = false;
    const qint64 number = edit->text().trimmed().toLongLong(&ok);
    if (!ok || number < 0)
        return -1;
    return number * UserDlgTemp::unitFactor(units->currentIndex());
}

} // namespace

qint64 UserDlgTemp::unitFactor(int unit)
{
    return unit == 2 ? 1024 * 1024 : unit == 1 ? 1024 : 1;
}

int UserDlgTemp::largestExactUnit(qint64 kilobytes)
{
    if (kilobytes != 0 && kilobytes % (1024 * 1024) == 0)
        return 2;
    if (kilobytes != 0 && kilobytes % 1024 == 0)
        return 1;
    return 0;
}

QString UserDlgTemp::pageTitle(Page page)
{
    switch (page) {
    case General:
        return tr("General");
    case Addresses:
        return tr("Mail Addresses");
    case Forwarding:
        return tr("Forwarding");
    case Groups:
        return tr("Groups");
    case Rights:
        return tr("Rights");
    case Quota:
        return tr("Quota");
    case Restrictions:
        return tr("Restrictions");
    default:
        return QString();
    }
}

UserDlgTemp::UserDlgTemp(QWidget *owner, const UserDlgContext &context, bool multi)
    : m_owner(owner)
    , m_context(context)
    , m_multi(multi)
{
    for (QWidget *&page : m_pages)
        page = new QWidget(owner);

    // General.
    auto *general = new QFormLayout(m_pages[General]);
    m_edName = new QLineEdit(m_pages[General]);
    m_edName->setObjectName(col("m_edName"));
    m_edName->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[^@<>]*")), m_edName));
    m_edFullName = new QLineEdit(m_pages[General]);
    m_edFullName->setObjectName(col("m_edFullName"));
    m_edDescription = new QLineEdit(m_pages[General]);
    m_edDescription->setObjectName(col("m_edDescription"));
    m_cboAuth = new QComboBox(m_pages[General]);
    m_cboAuth->setObjectName(col("m_cboAuth"));
    m_cboAuth->addItems(useritem::authTexts());
    general->addRow(tr("&Login name:"), m_edName);
    general->addRow(tr("&Full name:"), m_edFullName);
    general->addRow(tr("Descri&ption:"), m_edDescription);
    general->addRow(tr("Authen&tication:"), m_cboAuth);
    m_chkDisabled = new QCheckBox(tr("&Account is disabled"), m_pages[General]);
    m_chkDisabled->setObjectName(col("m_chkDisabled"));
    m_chkDefSpamFilter = new QCheckBox(tr("Enable the default spam filter (move messages marked "
                                          "as spam to the Junk E-mail folder)"),
                                       m_pages[General]);
    m_chkDefSpamFilter->setObjectName(col("m_chkDefSpamFilter"));
    general->addRow(m_chkDisabled);
    general->addRow(m_chkDefSpamFilter);

    // Mail addresses.
    {
        auto *layout = new QHBoxLayout(m_pages[Addresses]);
        m_lstAddress = new QListWidget(m_pages[Addresses]);
        m_lstAddress->setObjectName(col("m_lstAddress"));
        m_lstAddress->setAccessibleName(tr("Mail addresses"));
        auto *buttons = new QVBoxLayout;
        QPushButton *add = button(m_pages[Addresses], tr("Add..."), "m_btnAddAddress");
        QPushButton *edit = button(m_pages[Addresses], tr("Edit..."), "m_btnEditAddress");
        QPushButton *remove = button(m_pages[Addresses], tr("Remove"), "m_btnRemoveAddress");
        buttons->addWidget(add);
        buttons->addWidget(edit);
        buttons->addWidget(remove);
        buttons->addStretch();
        layout->addWidget(m_lstAddress, 1);
        layout->addLayout(buttons);
        QObject::connect(add, &QPushButton::clicked, owner, [this, owner] { addAddress(owner); });
        QObject::connect(edit, &QPushButton::clicked, owner, [this, owner] {
            QListWidgetItem *item = m_lstAddress->currentItem();
            if (!item)
                return;
            MailAddressDlg dialog(m_context.domain, owner);
            dialog.setAddress(item->text());
            if (dialog.exec() == QDialog::Accepted)
                item->setText(dialog.address().section(QLatin1Char('@'), 0, 0));
        });
        QObject::connect(remove, &QPushButton::clicked, owner,
                         [this] { delete m_lstAddress->currentItem(); });
    }

    // Forwarding.
    {
        auto *layout = new QVBoxLayout(m_pages[Forwarding]);
        m_rbNoForward = new QRadioButton(tr("No forwarding"), m_pages[Forwarding]);
        m_rbNoForward->setObjectName(col("m_rbNoForward"));
        m_rbForward = new QRadioButton(tr("Forward to addresses:"), m_pages[Forwarding]);
        m_rbForward->setObjectName(col("m_rbForward"));
        m_lstForward = new QListWidget(m_pages[Forwarding]);
        m_lstForward->setObjectName(col("m_lstForward"));
        m_lstForward->setAccessibleName(tr("Forwarding addresses"));
        m_chkDeliverToBoth
                = new QCheckBox(tr("Deliver messages to both mailbox and forwarding addresses"),
                                m_pages[Forwarding]);
        m_chkDeliverToBoth->setObjectName(col("m_chkDeliverToBoth"));
        auto *row = new QHBoxLayout;
        auto *buttons = new QVBoxLayout;
        QPushButton *add = button(m_pages[Forwarding], tr("Add..."), "m_btnAddForward");
        QPushButton *edit = button(m_pages[Forwarding], tr("Edit..."), "m_btnEditForward");
        QPushButton *remove = button(m_pages[Forwarding], tr("Remove..."), "m_btnRemoveForward");
        buttons->addWidget(add);
        buttons->addWidget(edit);
        buttons->addWidget(remove);
        buttons->addStretch();
        row->addWidget(m_lstForward, 1);
        row->addLayout(buttons);
        layout->addWidget(m_rbNoForward);
        layout->addWidget(m_rbForward);
        layout->addLayout(row);
        layout->addWidget(m_chkDeliverToBoth);
        auto enable = [this, add, edit, remove] {
            const bool on = m_rbForward->isChecked();
            for (QWidget *w : {static_cast<QWidget *>(m_lstForward), static_cast<QWidget *>(add),
                               static_cast<QWidget *>(edit), static_cast<QWidget *>(remove),
                               static_cast<QWidget *>(m_chkDeliverToBoth)})
                w->setEnabled(on);
        };
        QObject::connect(m_rbForward, &QRadioButton::toggled, owner, enable);
        m_rbNoForward->setChecked(true);
        enable();
        QObject::connect(add, &QPushButton::clicked, owner, [this, owner] { addForward(owner); });
        QObject::connect(edit, &QPushButton::clicked, owner, [this, owner] {
            QListWidgetItem *item = m_lstForward->currentItem();
            if (!item)
                return;
            MailAddressDlg dialog(QString(), owner);
            dialog.setAddress(item->text());
            if (dialog.exec() == QDialog::Accepted)
                item->setText(dialog.address());
        });
        QObject::connect(remove, &QPushButton::clicked, owner,
                         [this] { delete m_lstForward->currentItem(); });
    }

    // Groups.
    {
        auto *layout = new QHBoxLayout(m_pages[Groups]);
        m_lvGroups = new QTreeWidget(m_pages[Groups]);
        m_lvGroups->setObjectName(col("m_lvGroups"));
        m_lvGroups->setAccessibleName(tr("Groups"));
        m_lvGroups->setHeaderLabels({tr("Name")});
        m_lvGroups->setRootIsDecorated(false);
        m_lvGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
        auto *buttons = new QVBoxLayout;
        QPushButton *add = button(m_pages[Groups], tr("&Add..."), "m_btnAddGroup");
        QPushButton *remove = button(m_pages[Groups], tr("&Remove"), "m_btnRemoveGroup");
        remove->setShortcut(QKeySequence(tr("Alt+R")));
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch();
        layout->addWidget(m_lvGroups, 1);
        layout->addLayout(buttons);
        QObject::connect(add, &QPushButton::clicked, owner, [this, owner] { addGroups(owner); });
        QObject::connect(remove, &QPushButton::clicked, owner,
                         [this] { qDeleteAll(m_lvGroups->selectedItems()); });
    }

    // Rights.
    UGDlgTemp::Widgets rights;
    {
        auto *layout = new QVBoxLayout(m_pages[Rights]);
        auto *box = new QGroupBox(tr("User administration rights"), m_pages[Rights]);
        auto *inner = new QVBoxLayout(box);
        if (multi) {
            m_rbNoChangeRights = new QRadioButton(tr("[Don't change this setting]"), box);
            m_rbNoChangeRights->setObjectName(col("m_rbNoChangeRights"));
            inner->addWidget(m_rbNoChangeRights);
            rights.noChange = m_rbNoChangeRights;
        }
        rights.noAccess = new QRadioButton(tr("&No access to administration"), box);
        rights.noAccess->setObjectName(col("m_rbNoAccess"));
        rights.readOnly = new QRadioButton(tr("&Read only access"), box);
        rights.readOnly->setObjectName(col("m_rbReadOnlyAccess"));
        rights.fullAccess = new QRadioButton(tr("Read/&write access"), box);
        rights.fullAccess->setObjectName(col("m_rbFullAccess"));
        inner->addWidget(rights.noAccess);
        inner->addWidget(rights.readOnly);
        inner->addWidget(rights.fullAccess);
        layout->addWidget(box);
        auto *web = new QGroupBox(tr("Webadmin administration rights"), m_pages[Rights]);
        auto *webInner = new QVBoxLayout(web);
        m_chkWebadminRights = new QCheckBox(
                tr("User can administer aliases, users and groups for his/her own domain"), web);
        m_chkWebadminRights->setObjectName(col("m_chkWebadminRights"));
        auto *note = new QLabel(tr("Users and groups that have administrative rights will not be "
                                   "configurable through the Webadmin interface."),
                                web);
        note->setWordWrap(true);
        webInner->addWidget(m_chkWebadminRights);
        webInner->addWidget(note);
        layout->addWidget(web);
        rights.webadmin = m_chkWebadminRights;
    }

    // Quota.
    {
        auto *layout = new QVBoxLayout(m_pages[Quota]);
        auto *box = new QGroupBox(tr("User quota"), m_pages[Quota]);
        auto *form = new QFormLayout(box);
        m_edQuotaStorage = new QLineEdit(box);
        m_edQuotaStorage->setObjectName(col("m_edQuotaStorage"));
        m_cboStorage = unitCombo(box, "m_cboStorage");
        m_cboStorage->setAccessibleName(tr("Disk space unit"));
        auto *storageRow = new QHBoxLayout;
        storageRow->addWidget(m_edQuotaStorage, 1);
        storageRow->addWidget(m_cboStorage);
        form->addRow(tr("&Disk space:"), storageRow);
        m_edQuotaMessage = new QLineEdit(box);
        m_edQuotaMessage->setObjectName(col("m_edQuotaMessage"));
        form->addRow(tr("&Item count:"), m_edQuotaMessage);
        form->addRow(new QLabel(tr("0 means unlimited"), box));
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(storageRow)))
            label->setBuddy(m_edQuotaStorage);
        layout->addWidget(box);
        layout->addStretch();
    }

    // Restrictions.
    {
        auto *layout = new QVBoxLayout(m_pages[Restrictions]);
        m_chkOwnDomainOnly = new QCheckBox(tr("This user can send/receive email to/from his/her "
                                              "own domain only"),
                                           m_pages[Restrictions]);
        m_chkOwnDomainOnly->setObjectName(col("m_chkOwnDomainOnly"));
        m_chkFax = new QCheckBox(tr("This user can send fax messages through the fax plugin"),
                                 m_pages[Restrictions]);
        m_chkFax->setObjectName(col("m_chkFax"));
        layout->addWidget(m_chkOwnDomainOnly);
        layout->addWidget(m_chkFax);
        rights.ownDomainOnly = m_chkOwnDomainOnly;
        rights.fax = m_chkFax;
        rights.faxBox = m_chkFax;

        m_maxSize = new PvnMaxSizeImpl(tr("Maximum message size (overrides the domain limit)"),
                                       tr("Use the limit defined for this domain:"),
                                       m_pages[Restrictions]);
        // The names these dialogs give the shared group's domain choice,
        // "don't change" choice and warning.
        m_maxSize->m_rbInherit->setObjectName(col("m_rbMaxSizeDomain"));
        m_maxSize->m_edInherited->setObjectName(col("m_edMaxSizeDomain"));
        m_maxSize->m_rbNoChange->setObjectName(col("m_rbNoChangeMaxSize"));
        m_maxSize->m_lblWarning->setObjectName(col("m_lblMaxSizeWarning"));
        const qint64 domainLimit = m_context.domainMaxSize;
        m_maxSize->setInheritedText(PvnMaxSizeImpl::isUnlimited(domainLimit)
                                            ? PvnMaxSizeImpl::unlimitedText()
                                            : domainLimit == PvnMaxSizeImpl::kInherited
                                            ? tr("Global limit")
                                            : PvnMaxSizeImpl::sizeText(domainLimit));
        m_maxSize->setGlobalLimit(
                m_context.smtpMaxSize,
                tr("The user limit is larger than global size limit of SMTP message. If email is "
                   "sent through SMTP, the limit of SMTP message will be used."));
        if (multi)
            m_maxSize->setNoChangeChoice(tr("[Don't change this setting]"));
        layout->addWidget(m_maxSize);
        layout->addStretch();
    }
    m_rights = std::make_unique<UGDlgTemp>(rights);
}

UserDlgTemp::~UserDlgTemp() = default;

void UserDlgTemp::hideAccountNames()
{
    auto *general = qobject_cast<QFormLayout *>(m_pages[General]->layout());
    general->setRowVisible(m_edName, false);
    general->setRowVisible(m_edFullName, false);
}

qint64 UserDlgTemp::storageQuota() const
{
    return readSize(m_edQuotaStorage, m_cboStorage);
}

int UserDlgTemp::forwardMode() const
{
    if (!m_rbForward->isChecked())
        return 0;
    return m_chkDeliverToBoth->isChecked() ? 2 : 1;
}

QStringList UserDlgTemp::addresses() const
{
    return listTexts(m_lstAddress);
}

QStringList UserDlgTemp::forwardAddresses() const
{
    return listTexts(m_lstForward);
}

QStringList UserDlgTemp::groupNames() const
{
    QStringList names;
    for (int i = 0; i < m_lvGroups->topLevelItemCount(); ++i)
        names << m_lvGroups->topLevelItem(i)->text(0);
    return names;
}

void UserDlgTemp::addAddress(QWidget *parent)
{
    MailAddressDlg dialog(m_context.domain, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString local = dialog.address().section(QLatin1Char('@'), 0, 0);
    if (local.isEmpty() || addresses().contains(local, Qt::CaseInsensitive))
        return;
    m_lstAddress->addItem(local);
    m_newAddresses << local;
}

void UserDlgTemp::addForward(QWidget *parent)
{
    MailAddressDlg dialog(QString(), parent);
    if (dialog.exec() == QDialog::Accepted && !dialog.address().isEmpty())
        m_lstForward->addItem(dialog.address());
}

void UserDlgTemp::addGroups(QWidget *parent)
{
    if (!m_context.groups)
        return;
    SelectGroupDlg dialog(m_context.groups, m_context.domain, groupNames(),
                          SelectGroupDlg::Mode::Groups, 0, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (const DBRow *row : dialog.chosenRows())
        new QTreeWidgetItem(m_lvGroups, {row->text(col("Name"))});
}

void UserDlgTemp::fill(const QList<const DBRow *> &rows)
{
    if (rows.isEmpty())
        return;
    const DBRow &row = *rows.first();
    m_filled = Filled();
    m_filled.name = row.text(col("Name"));
    m_filled.fullName = row.text(col("Fullname"));
    m_filled.description = row.text(col("Description"));
    m_edName->setText(m_filled.name);
    m_edFullName->setText(m_filled.fullName);
    m_edDescription->setText(m_filled.description);
    if (m_multi) {
        // Names, full names and passwords belong to one account each.
        m_edName->setEnabled(false);
        m_edFullName->setEnabled(false);
    }
    const int auth = row.text(col("Auth_type")).toInt();
    m_cboAuth->setCurrentIndex(auth >= 0 && auth < m_cboAuth->count() ? auth : -1);
    m_filled.auth = m_cboAuth->currentIndex();
    m_chkDisabled->setChecked(row.text(col("Account_enabled")).toInt() == 0);
    m_filled.disabled = m_chkDisabled->isChecked();
    m_chkDefSpamFilter->setChecked(row.text(col("DefSpamFilter")).toInt() != 0);
    m_filled.spam = m_chkDefSpamFilter->isChecked();

    m_filled.addresses = row.text(col("MailAddress"));
    m_lstAddress->clear();
    m_lstAddress->addItems(sections(m_filled.addresses));
    m_newAddresses.clear();

    m_filled.forward = row.text(col("ForwardAddress"));
    m_lstForward->clear();
    m_lstForward->addItems(sections(m_filled.forward));
    const int mode = row.text(col("ForwardMode")).toInt();
    m_rbForward->setChecked(mode == 1 || mode == 2);
    m_rbNoForward->setChecked(!(mode == 1 || mode == 2));
    m_chkDeliverToBoth->setChecked(mode == 2);
    m_filled.forwardMode = forwardMode();

    m_filled.groups = row.text(col("Groups"));
    m_lvGroups->clear();
    for (const QString &group : sections(m_filled.groups))
        new QTreeWidgetItem(m_lvGroups, {group});

    m_rights->fill(rows);

    m_filled.storage = row.text(col("Qstorage")).toLongLong();
    showSize(m_edQuotaStorage, m_cboStorage, m_filled.storage);
    m_filled.storageText = m_edQuotaStorage->text() + QLatin1Char('/')
            + QString::number(m_cboStorage->currentIndex());
    m_filled.messages = row.text(col("Qmessage")).toLongLong();
    m_edQuotaMessage->setText(QString::number(m_filled.messages));
    m_filled.messagesText = m_edQuotaMessage->text();

    // Several rows keep their own limits until another is chosen.
    m_maxSize->setValue(m_multi ? PvnMaxSizeImpl::kNoChange
                                : row.text(col("MaxOutgoingMessageSize")).toLongLong());
    m_filled.maxSize = m_maxSize->value();
}

bool UserDlgTemp::validate(QWidget *parent, Page *failed)
{
    auto fail = [failed](Page page) {
        if (failed)
            *failed = page;
        return false;
    };
    if (storageQuota() < 0) {
        bmessagebox::warning(parent, tr("The disk space quota must be a number."));
        m_edQuotaStorage->setFocus();
        return fail(Quota);
    }
    bool ok = false;
    if (m_edQuotaMessage->text().trimmed().toLongLong(&ok) < 0 || !ok) {
        bmessagebox::warning(parent, tr("The item count quota must be a number."));
        m_edQuotaMessage->setFocus();
        return fail(Quota);
    }
    if (!m_maxSize->isAcceptable()) {
        bmessagebox::warning(parent, tr("The message size limit must be a number."));
        m_maxSize->focusSize();
        return fail(Restrictions);
    }
    // New addresses that an alias or a mailing list already takes.
    for (const QString &local : addresses()) {
        if (!m_newAddresses.contains(local))
            continue;
        if (!ugconflicts::checkAddress(parent, m_context.aliases, m_context.lists, local,
                                       m_context.domain, ugconflicts::Owner::User))
            return fail(Addresses);
    }
    // Forwarding only, to nobody: every message would be lost.
    if (forwardMode() == 1 && m_lstForward->count() == 0
        && bcorrection::askToCorrect(parent,
                                     tr("<nobr>Messages are to be forwarded only, but no "
                                        "forwarding address is given:<br>every message "
                                        "would be lost.</nobr>"))) {
        m_rbForward->setFocus();
        return fail(Forwarding);
    }
    return true;
}

void UserDlgTemp::store(DBRow *row) const
{
    auto setIf = [row](const char *name, const QString &now, const QString &filled) {
        if (now != filled)
            row->setText(col(name), now);
    };
    if (!m_multi) {
        setIf("Name", m_edName->text().trimmed(), m_filled.name);
        setIf("Fullname", m_edFullName->text(), m_filled.fullName);
    }
    setIf("Description", m_edDescription->text(), m_filled.description);
    // A combo that could not show the stored value leaves it alone.
    if (m_cboAuth->currentIndex() >= 0 && m_cboAuth->currentIndex() != m_filled.auth)
        row->setText(col("Auth_type"), QString::number(m_cboAuth->currentIndex()));
    if (int(m_chkDisabled->isChecked()) != m_filled.disabled)
        row->setText(col("Account_enabled"), m_chkDisabled->isChecked() ? col("0") : col("1"));
    if (int(m_chkDefSpamFilter->isChecked()) != m_filled.spam)
        row->setText(col("DefSpamFilter"), m_chkDefSpamFilter->isChecked() ? col("1") : col("0"));
    const QString addressText = addresses().join(QLatin1Char(','));
    if (addressText != sections(m_filled.addresses).join(QLatin1Char(',')))
        row->setText(col("MailAddress"), addressText);
    const QString forwardText = forwardAddresses().join(QLatin1Char(','));
    if (forwardText != sections(m_filled.forward).join(QLatin1Char(',')))
        row->setText(col("ForwardAddress"), forwardText);
    if (forwardMode() != m_filled.forwardMode)
        row->setText(col("ForwardMode"), QString::number(forwardMode()));
    const QString groupText = groupNames().join(QLatin1Char(','));
    if (groupText != sections(m_filled.groups).join(QLatin1Char(',')))
        row->setText(col("Groups"), groupText);
    m_rights->store(row);
    const QString storageNow = m_edQuotaStorage->text() + QLatin1Char('/')
            + QString::number(m_cboStorage->currentIndex());
    if (storageNow != m_filled.storageText && storageQuota() >= 0)
        row->setText(col("Qstorage"), QString::number(storageQuota()));
    if (m_edQuotaMessage->text() != m_filled.messagesText)
        row->setText(col("Qmessage"), QString::number(m_edQuotaMessage->text().toLongLong()));
    // Negative: "[Don't change this setting]" or no acceptable size.
    const qint64 maxSize = m_maxSize->value();
    if (maxSize >= 0 && maxSize != m_filled.maxSize)
        row->setText(col("MaxOutgoingMessageSize"), QString::number(maxSize));
}

// --- UserDlgTempEx ---

UserDlgTempEx::UserDlgTempEx(QWidget *owner, const UserDlgContext &context, bool multi, bool wizard)
    : UserDlgTemp(owner, context, multi)
    , m_wizard(wizard)
{
    auto *general = qobject_cast<QFormLayout *>(m_pages[General]->layout());
    m_cboBackendServer = new QComboBox(m_pages[General]);
    m_cboBackendServer->setObjectName(col("m_cboBackendServer"));
    general->insertRow(0, tr("User's mailbox data are stored on server with &node ID:"),
                       m_cboBackendServer);
    m_edPass = new BPwdLineEdit(m_pages[General]);
    m_edPass->setObjectName(col("m_edPass"));
    m_edConfPass = new BPwdLineEdit(m_pages[General]);
    m_edConfPass->setObjectName(col("m_edConfPass"));
    general->insertRow(5, tr("Pass&word:"), m_edPass);
    general->insertRow(6, tr("&Confirm password:"), m_edConfPass);
    m_chkSHA = new QCheckBox(tr("Store password in highly secure SHA format (recommended)"),
                             m_pages[General]);
    m_chkSHA->setObjectName(col("m_chkSHA"));
    m_lblShaNote = new QLabel(multi ? tr("These users cannot be authenticated using APOP, "
                                         "CRAM-MD5 and DIGEST-MD5")
                                    : tr("This user cannot be authenticated using APOP, "
                                         "CRAM-MD5 and DIGEST-MD5"),
                              m_pages[General]);
    m_lblShaNote->setWordWrap(true);
    general->addRow(m_chkSHA);
    general->addRow(m_lblShaNote);
    if (multi) {
        m_edPass->setEnabled(false);
        m_edConfPass->setEnabled(false);
    }

    auto *rightsLayout = qobject_cast<QVBoxLayout *>(m_pages[Rights]->layout());
    auto *publicBox = new QGroupBox(tr("Public folders rights"), m_pages[Rights]);
    auto *publicInner = new QVBoxLayout(publicBox);
    m_chkPublicFoldersRights = new QCheckBox(
            tr("This user has the administrator rights to the public folders"), publicBox);
    m_chkPublicFoldersRights->setObjectName(col("m_chkPublicFoldersRights"));
    m_chkPublicFoldersRights->setTristate(false);
    publicInner->addWidget(m_chkPublicFoldersRights);
    rightsLayout->addWidget(publicBox);
    rightsLayout->addStretch();

    auto *quotaLayout = qobject_cast<QVBoxLayout *>(m_pages[Quota]->layout());
    auto *usage = new QGroupBox(tr("Quota usage"), m_pages[Quota]);
    auto *grid = new QGridLayout(usage);
    m_prgDiskSpace = new QProgressBar(usage);
    m_prgDiskSpace->setObjectName(col("m_prgDiskSpace"));
    m_prgDiskSpace->setAccessibleName(tr("Disk space used"));
    m_prgMessages = new QProgressBar(usage);
    m_prgMessages->setObjectName(col("m_prgMessages"));
    m_prgMessages->setAccessibleName(tr("Items stored"));
    m_lblDiskWarning = new QLabel(usage);
    m_lblDiskWarning->setObjectName(col("m_lblDiskWarning"));
    m_lblMessagesWarning = new QLabel(usage);
    m_lblMessagesWarning->setObjectName(col("m_lblMessagesWarning"));
    grid->addWidget(new QLabel(tr("Disk space:"), usage), 0, 0);
    grid->addWidget(m_prgDiskSpace, 0, 1);
    grid->addWidget(m_lblDiskWarning, 0, 2);
    grid->addWidget(new QLabel(tr("Item count:"), usage), 1, 0);
    grid->addWidget(m_prgMessages, 1, 1);
    grid->addWidget(m_lblMessagesWarning, 1, 2);
    quotaLayout->insertWidget(1, usage);
    usage->setVisible(!wizard && !multi);
}

void UserDlgTempEx::fill(const QList<const DBRow *> &rows)
{
    UserDlgTemp::fill(rows);
    if (rows.isEmpty())
        return;
    const DBRow &row = *rows.first();
    // The node list comes from the caller through the combo's items.
    m_filledNode = row.text(col("HomeServer"));
    const int node = m_cboBackendServer->findText(m_filledNode);
    m_cboBackendServer->setCurrentIndex(node);
    const QString stored = row.text(col("Password"));
    m_edPass->setPasswordStored(!stored.isEmpty());
    m_edConfPass->setPasswordStored(!stored.isEmpty());
    m_chkSHA->setChecked(stored.isEmpty() || stored.contains(QStringLiteral("SHA:")));
    m_filledSha = m_chkSHA->isChecked();
    m_filledPublic = m_chkPublicFoldersRights->isChecked();
}

bool UserDlgTempEx::loginNameAcceptable(const QString &name)
{
    PvnUserLoginValidator validator(PvnUserLoginValidator::defaultPattern(), true);
    QString copy = name;
    int pos = 0;
    return validator.validate(copy, pos) == QValidator::Acceptable;
}

bool UserDlgTempEx::validate(QWidget *parent, Page *failed)
{
    const QString name = m_edName->text().trimmed();
    if (!m_multi && (m_wizard || name != m_filled.name)) {
        if (!loginNameAcceptable(name)) {
            bmessagebox::warning(
                    parent,
                    tr("<nobr>The login name '%1' is not valid.</nobr>").arg(name.toHtmlEscaped()));
            m_edName->setFocus();
            if (failed)
                *failed = General;
            return false;
        }
        if (!ugconflicts::checkLoginName(parent, m_context.aliases, m_context.lists, name,
                                         m_context.domain)) {
            m_edName->setFocus();
            if (failed)
                *failed = General;
            return false;
        }
    }
    if (m_edPass->isPasswordChanged() || m_edConfPass->isPasswordChanged()) {
        if (m_edPass->text() != m_edConfPass->text()) {
            bmessagebox::warning(parent, tr("Invalid confirmation password."));
            m_edConfPass->setFocus();
            m_edConfPass->selectAll();
            if (failed)
                *failed = General;
            return false;
        }
    }
    return UserDlgTemp::validate(parent, failed);
}

QString UserDlgTempEx::storedPassword(const QString &password, bool sha)
{
    if (sha) {
        if (const auto hash = passwordHash(password))
            return *hash;
    }
    return QStringLiteral("NUL:") + password;
}

void UserDlgTempEx::store(DBRow *row) const
{
    UserDlgTemp::store(row);
    // A combo that could not show the stored node leaves it alone.
    const QString node = m_cboBackendServer->currentText();
    if (m_cboBackendServer->currentIndex() >= 0 && node != m_filledNode)
        row->setText(col("HomeServer"), node);
    // Only a password the administrator typed is stored.
    if (!m_multi && m_edPass->isPasswordChanged())
        row->setText(col("Password"), storedPassword(m_edPass->text(), m_chkSHA->isChecked()));
}

void UserDlgTempEx::setPublicFoldersFilled(bool on)
{
    m_chkPublicFoldersRights->setChecked(on);
    m_filledPublic = on;
}

bool UserDlgTempEx::publicFoldersChanged() const
{
    return int(m_chkPublicFoldersRights->isChecked()) != m_filledPublic;
}

void UserDlgTempEx::showUsage(qint64 storageUsed, qint64 messagesUsed)
{
    const auto show = [](QProgressBar *bar, QLabel *warning, qint64 used, qint64 quota) {
        // A quota of 0 is unlimited: nothing to divide by, never reached.
        if (quota <= 0) {
            bar->setRange(0, 1);
            bar->setValue(0);
            bar->setFormat(QString::number(used));
            warning->clear();
            return;
        }
        bar->setRange(0, 1000);
        bar->setValue(int(std::min<qint64>(1000, used * 1000 / quota)));
        bar->setFormat(QStringLiteral("%1 / %2").arg(used).arg(quota));
        warning->setText(used >= quota ? tr("Quota is reached!") : QString());
    };
    show(m_prgDiskSpace, m_lblDiskWarning, storageUsed, std::max<qint64>(0, storageQuota()));
    show(m_prgMessages, m_lblMessagesWarning, messagesUsed,
         std::max<qint64>(0, m_edQuotaMessage->text().trimmed().toLongLong()));
}

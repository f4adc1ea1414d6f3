#include "pages/aliases/aliasdlg.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbtable.h"
#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "pages/aliases/aliastarget.h"
#include "pages/aliases/aliasvalidators.h"
#include "pages/aliases/namedconflicts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

using bview::named;

namespace {

// The "Name" column of a server function's rows, or nothing when it failed.
QList<const DBRow *> functionRows(DBTable &table)
{
    QList<const DBRow *> rows;
    if (table.selectSync()) {
        for (const DBRow *row : table.rows())
            rows.append(row);
    }
    return rows;
}

} // namespace

TAliasDlg::TAliasDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Alias"));
    m_edLhs = named(new BLineEdit(this), "m_edLhs");
    m_lblDomain = named(new QLabel(this), "m_lblDomain");
    m_cboType = named(new QComboBox(this), "m_cboType");
    m_stackTarget = named(new QStackedWidget(this), "m_stackTarget");
    m_edRhs = named(new BLineEdit(m_stackTarget), "m_edRhs");
    m_cboFolder = named(new QComboBox(m_stackTarget), "m_cboFolder");
    m_cboPlugin = named(new QComboBox(m_stackTarget), "m_cboPlugin");
    m_edDescription = named(new BLineEdit(this), "m_edDescription");
    m_stackTarget->addWidget(m_edRhs);
    m_stackTarget->addWidget(m_cboFolder);
    m_stackTarget->addWidget(m_cboPlugin);
    m_edRhs->setAccessibleName(tr("Email address"));
    m_cboFolder->setAccessibleName(tr("Public folder"));
    m_cboPlugin->setAccessibleName(tr("Mail plugin"));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_edLhs, 1);
    nameRow->addWidget(m_lblDomain);
    auto *lhsLabel = new QLabel(tr("&Alias:"), this);
    lhsLabel->setBuddy(m_edLhs);
    auto *typeLabel = new QLabel(tr("Deliver &to:"), this);
    typeLabel->setBuddy(m_cboType);
    auto *targetLabel = new QLabel(tr("Tar&get:"), this);
    m_lblTarget = targetLabel;
    targetLabel->setBuddy(m_edRhs);
    auto *descriptionLabel = new QLabel(tr("&Description:"), this);
    descriptionLabel->setBuddy(m_edDescription);
    auto *form = new QFormLayout;
    form->addRow(lhsLabel, nameRow);
    form->addRow(typeLabel, m_cboType);
    form->addRow(targetLabel, m_stackTarget);
    form->addRow(descriptionLabel, m_edDescription);
    auto *note = new QLabel(
            tr("The alias name may contain the wildcard * (for example *-sales or *)."), this);
    note->setWordWrap(true);
    form->addRow(QString(), note);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

AliasDlg::AliasDlg(DBRow *row, QWidget *parent)
    : BDialog<TAliasDlg>(parent)
{
    setObjectName(QStringLiteral("AliasDlg"));
    setRow(row);
    m_edLhs->setValidator(new AliasLhsValidator(m_edLhs));
    m_edRhs->setValidator(new AliasRhsValidator(m_edRhs));
    QObject::connect(m_cboType, &QComboBox::currentIndexChanged, m_stackTarget,
                     [this] { showTarget(); });
}

void AliasDlg::load(bool first)
{
    Q_UNUSED(first);
    m_domain = m_row ? m_row->text("Domain") : QString();
    DBConn *conn = bobject::connection();
    if (conn && !m_domain.isEmpty()) {
        DBTable folders(conn, dbFunctionCall(QStringLiteral("FolderList"), {m_domain, "0"}));
        for (const DBRow *row : functionRows(folders)) {
            if (row->text("Type").toInt() == 0 && row->text("Listable").toInt() != 0)
                m_folders.append(row->text("Name"));
        }
    }
    if (conn) {
        DBTable plugins(conn, dbFunctionCall(QStringLiteral("GetMailPlugins")));
        for (const DBRow *row : functionRows(plugins))
            m_plugins.append(row->text("Name"));
    }
    dataLoaded();
}

int AliasDlg::selectedType() const
{
    return m_cboType->currentData().toInt();
}

void AliasDlg::showTarget()
{
    switch (selectedType()) {
    case aliastarget::PublicFolder:
        m_stackTarget->setCurrentWidget(m_cboFolder);
        break;
    case aliastarget::MailPlugin:
        m_stackTarget->setCurrentWidget(m_cboPlugin);
        break;
    default:
        m_stackTarget->setCurrentWidget(m_edRhs);
        break;
    }
    // The label's mnemonic leads to the field that is shown.
    m_lblTarget->setBuddy(m_stackTarget->currentWidget());
}

bool AliasDlg::fillView()
{
    if (!m_row)
        return false;
    m_loadedLhs = m_row->text("Lhs");
    m_loadedRhs = m_row->text("Rhs");
    m_loadedType = aliastarget::detect(m_loadedRhs);
    m_edLhs->setText(m_loadedLhs);
    m_lblDomain->setText(QLatin1Char('@') + m_domain);
    m_edDescription->setText(m_row->text("Description"));

    // Targets are told apart by their id, never by their place in the selector.
    m_cboType->clear();
    m_cboType->addItem(tr("Email address"), int(aliastarget::EmailAddress));
    // A stored target of a kind the server offers none of stays selectable,
    // so the alias keeps it.
    if (!m_folders.isEmpty() || m_loadedType == aliastarget::PublicFolder)
        m_cboType->addItem(tr("Public folder"), int(aliastarget::PublicFolder));
    if (!m_plugins.isEmpty() || m_loadedType == aliastarget::MailPlugin)
        m_cboType->addItem(tr("Mail plugin"), int(aliastarget::MailPlugin));

    m_cboFolder->clear();
    for (const QString &folder : std::as_const(m_folders))
        m_cboFolder->addItem(aliastarget::readableFolder(folder),
                             aliastarget::folderTarget(folder));
    m_cboPlugin->clear();
    for (const QString &plugin : std::as_const(m_plugins))
        m_cboPlugin->addItem(plugin, QLatin1Char('|') + plugin);

    m_missingFolder = -1;
    m_missingPlugin = -1;
    switch (m_loadedType) {
    case aliastarget::PublicFolder:
        if (m_cboFolder->findData(m_loadedRhs) < 0 && m_loadedRhs.size() > 1) {
            m_cboFolder->insertItem(0, aliastarget::readableFolderTarget(m_loadedRhs), m_loadedRhs);
            m_missingFolder = 0;
        }
        m_cboFolder->setCurrentIndex(m_cboFolder->findData(m_loadedRhs));
        break;
    case aliastarget::MailPlugin:
        if (m_cboPlugin->findData(m_loadedRhs) < 0 && m_loadedRhs.size() > 1) {
            m_cboPlugin->insertItem(0, m_loadedRhs.mid(1), m_loadedRhs);
            m_missingPlugin = 0;
        }
        m_cboPlugin->setCurrentIndex(m_cboPlugin->findData(m_loadedRhs));
        break;
    default:
        m_edRhs->setText(m_loadedRhs);
        break;
    }
    m_cboType->setCurrentIndex(m_cboType->findData(m_loadedType));
    showTarget();
    return true;
}

bool AliasDlg::checkConflicts()
{
    const QString name = m_edLhs->text().trimmed();
    if (name == m_loadedLhs)
        return true;
    auto correct = [this](const QString &message) {
        if (!bcorrection::askToCorrect(this, message))
            return false;
        m_edLhs->setFocus();
        return true;
    };
    if (namedconflicts::mailingListExists(m_domain, name)
        && correct(tr("<nobr>There already exists a mailing list called '%1'. If you create an "
                      "alias with the same name,<br>all emails sent to the address '%2@%3' will "
                      "be delivered to the alias and never to the mailing list.</nobr>")
                           .arg(name, name, m_domain)))
        return false;
    if (namedconflicts::userExists(m_domain, name)
        && correct(tr("<nobr>There already exists a user called '%1'. If you create an alias "
                      "with the same name,<br>all emails sent to the address '%2@%3' will be "
                      "delivered to the alias and never to the user.</nobr>")
                           .arg(name, name, m_domain)))
        return false;
    const QString user = namedconflicts::userWithAddress(m_domain, name);
    if (!user.isEmpty()
        && correct(tr("<nobr>There already exists a user email address called '%1@%2'. If you "
                      "create an alias with the same name,<br>all emails sent to this address "
                      "will be delivered to the alias and never to the user '%3'.</nobr>")
                           .arg(name, m_domain, user)))
        return false;
    const QString group = namedconflicts::groupWithAddress(m_domain, name);
    if (!group.isEmpty()
        && correct(tr("<nobr>There already exists a group email address called '%1@%2'. If you "
                      "create an alias with the same name,<br>all emails sent to this address "
                      "will be delivered to the alias and never to the group '%3'.</nobr>")
                           .arg(name, m_domain, group)))
        return false;
    return true;
}

bool AliasDlg::checkTarget()
{
    switch (selectedType()) {
    case aliastarget::MailPlugin:
        if (m_cboPlugin->currentIndex() < 0) {
            bmessagebox::warning(this, tr("Select a mail plugin, please."));
            m_cboPlugin->setFocus();
            return false;
        }
        if (m_cboPlugin->currentIndex() == m_missingPlugin
            && bcorrection::askToCorrect(this,
                                         tr("Plugin '%1' doesn't exist. Set an existing "
                                            "plugin.")
                                                 .arg(m_cboPlugin->currentText()))) {
            m_cboPlugin->setFocus();
            return false;
        }
        return true;
    case aliastarget::PublicFolder:
        if (m_cboFolder->currentIndex() < 0) {
            bmessagebox::warning(this, tr("Select a public folder, please."));
            m_cboFolder->setFocus();
            return false;
        }
        if (m_cboFolder->currentIndex() == m_missingFolder
            && bcorrection::askToCorrect(this,
                                         tr("Public folder '%1' doesn't exist. Set an "
                                            "existing folder.")
                                                 .arg(m_cboFolder->currentText()))) {
            m_cboFolder->setFocus();
            return false;
        }
        return true;
    default: {
        // A target left as it was stored is kept, even one typed elsewhere.
        if (m_loadedType == aliastarget::EmailAddress && !m_loadedRhs.isEmpty()
            && m_edRhs->text() == m_loadedRhs)
            return true;
        QString text = m_edRhs->text().trimmed();
        int pos = 0;
        if (m_edRhs->validator()->validate(text, pos) == QValidator::Acceptable)
            return true;
        bmessagebox::warning(this,
                             tr("Enter a valid email address or [group] to deliver to, "
                                "please."));
        m_edRhs->setFocus();
        return false;
    }
    }
}

bool AliasDlg::validate()
{
    QString name = m_edLhs->text().trimmed();
    int pos = 0;
    if (m_edLhs->validator()->validate(name, pos) != QValidator::Acceptable) {
        bmessagebox::warning(this, tr("Enter a valid alias name, please."));
        m_edLhs->setFocus();
        return false;
    }
    return checkConflicts() && checkTarget();
}

void AliasDlg::storeView()
{
    m_row->setText("Lhs", m_edLhs->text().trimmed());
    m_row->setText("Description", m_edDescription->text());
    switch (selectedType()) {
    case aliastarget::PublicFolder:
        m_row->setText("Rhs", m_cboFolder->currentData().toString());
        break;
    case aliastarget::MailPlugin:
        m_row->setText("Rhs", m_cboPlugin->currentData().toString());
        break;
    default:
        if (m_edRhs->text() != m_loadedRhs || m_loadedType != aliastarget::EmailAddress)
            m_row->setText("Rhs", m_edRhs->text().trimmed());
        break;
    }
}

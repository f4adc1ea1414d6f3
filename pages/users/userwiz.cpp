#include "pages/users/userwiz.h"

#include "db/dbkols.h"
#include "db/dbrow.h"
#include "db/dbtable.h"
#include "pages/users/usercommands.h"
#include "pages/users/userdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWizardPage>

namespace {

const char *const kPageTitles[] = {
        QT_TRANSLATE_NOOP("UserWiz", "General - page 1 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Mail Addresses - page 2 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Forwarding - page 3 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Groups - page 4 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Rights - page 5 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Quota - page 6 of 7"),
        QT_TRANSLATE_NOOP("UserWiz", "Advanced settings - page 7 of 7"),
};

} // namespace

UserWiz::UserWiz(DBRow *row, const UserDlgContext &context, DBTable *templates, QWidget *parent)
    : BDialog<QWizard>(parent)
    , m_fields(std::make_unique<UserDlgTempEx>(this, context, false, true))
    , m_templates(templates)
    , m_cboTemplate(new QComboBox(this))
    , m_chkExport(new QCheckBox(tr("Publish this user information to the public contacts folder"),
                                this))
    , m_lblExportInfo(new QLabel(this))
{
    setObjectName(QStringLiteral("UserWiz"));
    setWindowTitle(tr("Add User"));
    setWizardStyle(QWizard::ClassicStyle);
    m_cboTemplate->setObjectName(QStringLiteral("m_cboTemplate"));
    m_chkExport->setObjectName(QStringLiteral("m_chkExport"));
    m_lblExportInfo->setWordWrap(true);

    // The first page carries the template choice above the general fields;
    // the last page the restrictions and the publish choice.
    const UserDlgTemp::Page order[]
            = {UserDlgTemp::General,     UserDlgTemp::Addresses, UserDlgTemp::Forwarding,
               UserDlgTemp::Groups,      UserDlgTemp::Rights,    UserDlgTemp::Quota,
               UserDlgTemp::Restrictions};
    for (int i = 0; i < 7; ++i) {
        auto *page = new QWizardPage(this);
        page->setTitle(tr(kPageTitles[i]));
        auto *layout = new QVBoxLayout(page);
        if (i == 0) {
            auto *form = new QFormLayout;
            form->addRow(tr("&Template:"), m_cboTemplate);
            layout->addLayout(form);
        }
        m_fields->page(order[i])->setParent(page);
        layout->addWidget(m_fields->page(order[i]));
        if (i == 6) {
            layout->addWidget(m_chkExport);
            layout->addWidget(m_lblExportInfo);
        }
        addPage(page);
    }
    connect(this, &QWizard::currentIdChanged, this, &UserWiz::slotPageChanged);
    connect(m_fields->nameEdit(), &QLineEdit::textChanged, this, &UserWiz::slotNameChanged);
    connect(m_fields->fullNameEdit(), &QLineEdit::textChanged, this, &UserWiz::slotFullNameChanged);
    connect(m_chkExport, &QCheckBox::clicked, this, &UserWiz::slotExportChanged);
    connect(m_cboTemplate, &QComboBox::activated, this, &UserWiz::slotTemplateChanged);
    setRow(row);
}

UserWiz::~UserWiz() = default;

void UserWiz::load(bool first)
{
    Q_UNUSED(first);
    m_fields->nodeCombo()->addItems(userdlg::serverNodes());
    m_cboTemplate->addItem(tr("No template"));
    if (m_templates) {
        const QString domain = m_fields->context().domain;
        for (const DBRow *entry : m_templates->rows()) {
            const QString templateDomain = entry->text(QStringLiteral("Domain"));
            if (templateDomain.isEmpty()
                || templateDomain.compare(domain, Qt::CaseInsensitive) == 0)
                m_cboTemplate->addItem(entry->text(QStringLiteral("Tempname")));
        }
    }
    dataLoaded();
}

bool UserWiz::fillView()
{
    if (m_row) {
        m_fields->fill({m_row});
        if (m_fields->nodeCombo()->currentIndex() < 0 && m_fields->nodeCombo()->count() > 0)
            m_fields->nodeCombo()->setCurrentIndex(0);
    }
    slotExportChanged();
    return true;
}

bool UserWiz::validate()
{
    UserDlgTemp::Page failed = UserDlgTemp::General;
    if (m_fields->validate(this, &failed))
        return true;
    const int pageIds[] = {0, 1, 2, 3, 4, 5, 6};
    const int index = failed == UserDlgTemp::Restrictions ? 6 : int(failed);
    // Back to the page that needs correcting.
    while (currentId() > pageIds[index])
        back();
    return false;
}

void UserWiz::storeView()
{
    if (!m_row)
        return;
    m_fields->store(m_row);
    // A new account always gets its node.
    if (m_fields->nodeCombo()->currentIndex() >= 0)
        m_row->setText(QStringLiteral("HomeServer"), m_fields->nodeCombo()->currentText());
}

bool UserWiz::publishRequested() const
{
    return m_chkExport->isEnabled() && m_chkExport->isChecked();
}

void UserWiz::applyTemplate(const DBRow &templateRow, DBRow *row)
{
    const DBKols *columns = templateRow.columns();
    if (!columns || !row->columns())
        return;
    for (int i = 0; i < columns->count(); ++i) {
        const QString name = columns->at(i).name;
        if (name.compare(QLatin1String("Tempname"), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String("Description"), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String("Domain"), Qt::CaseInsensitive) == 0)
            continue;
        if (row->columns()->indexOf(name) >= 0)
            row->setText(name, templateRow.text(i));
    }
}

QString UserWiz::overwriteQuestion()
{
    return tr("<nobr>Some values in this dialog will be overwritten by applying another "
              "template.<br>Do you want to continue?</nobr>");
}

bool UserWiz::valuesEntered() const
{
    return m_templateIndex != 0 || !m_fields->nameEdit()->text().isEmpty()
            || !m_fields->fullNameEdit()->text().isEmpty()
            || !m_fields->descriptionEdit()->text().isEmpty()
            || m_fields->addressList()->count() > 0 || m_fields->forwardList()->count() > 0;
}

void UserWiz::slotTemplateChanged()
{
    const int index = m_cboTemplate->currentIndex();
    if (index == m_templateIndex || !m_row)
        return;
    if (valuesEntered() && !usercommands::askYesNo(this, overwriteQuestion())) {
        m_cboTemplate->setCurrentIndex(m_templateIndex);
        return;
    }
    m_templateIndex = index;
    if (index == 0 || !m_templates)
        return;
    const QString name = m_cboTemplate->currentText();
    for (const DBRow *entry : m_templates->rows()) {
        if (entry->text(QStringLiteral("Tempname")) != name)
            continue;
        // What was typed on the first page stays; the template gives the rest.
        const QString login = m_fields->nameEdit()->text();
        const QString fullName = m_fields->fullNameEdit()->text();
        const QString description = m_fields->descriptionEdit()->text();
        const int node = m_fields->nodeCombo()->currentIndex();
        applyTemplate(*entry, m_row);
        m_updating = true;
        // The node and the password typed stay: only the shared fields refill.
        m_fields->UserDlgTemp::fill({m_row});
        m_fields->nameEdit()->setText(login);
        m_fields->fullNameEdit()->setText(fullName);
        m_fields->descriptionEdit()->setText(description);
        m_fields->nodeCombo()->setCurrentIndex(node);
        m_updating = false;
        break;
    }
}

void UserWiz::slotPageChanged()
{
    slotExportChanged();
}

void UserWiz::slotNameChanged()
{
    slotExportChanged();
}

void UserWiz::slotFullNameChanged()
{
    slotExportChanged();
}

void UserWiz::slotExportChanged()
{
    // A contact needs a name to be shown by.
    const bool publishable = !m_fields->fullNameEdit()->text().trimmed().isEmpty();
    m_chkExport->setEnabled(publishable);
    m_lblExportInfo->setText(publishable ? QString()
                                         : tr("The user doesn't contain full name so it cannot "
                                              "be published."));
}

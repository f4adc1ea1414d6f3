#include "pages/users/templatewnd.h"

#include "db/dbrow.h"
#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "pages/users/usercommands.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

TemplateDlg::TemplateDlg(DBRow *row, const QStringList &domains, const UserDlgContext &context,
                         QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_fields(std::make_unique<UserDlgTemp>(this, context, false))
    , m_edName(new QLineEdit(this))
    , m_cboDomain(new QComboBox(this))
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("TemplateDlg"));
    setWindowTitle(tr("User Template"));
    m_edName->setObjectName(QStringLiteral("m_edName"));
    m_cboDomain->setObjectName(QStringLiteral("m_cboDomain"));
    m_cboDomain->addItem(tr("No domain specified"));
    m_cboDomain->addItems(domains);
    m_fields->hideAccountNames();
    auto *general = qobject_cast<QFormLayout *>(m_fields->page(UserDlgTemp::General)->layout());
    general->insertRow(0, tr("&Name:"), m_edName);
    general->insertRow(1, tr("Do&main:"), m_cboDomain);
    for (int page = 0; page < UserDlgTemp::PageCount; ++page)
        m_tabs->addTab(m_fields->page(UserDlgTemp::Page(page)),
                       UserDlgTemp::pageTitle(UserDlgTemp::Page(page)));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TemplateDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TemplateDlg::reject);
    connect(m_cboDomain, &QComboBox::currentIndexChanged, this, &TemplateDlg::slotTabEnableChanged);
    setRow(row);
}

TemplateDlg::~TemplateDlg() = default;

bool TemplateDlg::fillView()
{
    if (!m_row)
        return false;
    m_edName->setText(m_row->text(QStringLiteral("Tempname")));
    const QString domain = m_row->text(QStringLiteral("Domain"));
    // A domain the list does not hold stays as stored unless another is chosen.
    m_filledDomain = domain.isEmpty() ? 0 : m_cboDomain->findText(domain, Qt::MatchFixedString);
    m_cboDomain->setCurrentIndex(m_filledDomain);
    m_fields->setContextDomain(domain);
    m_fields->fill({m_row});
    slotTabEnableChanged();
    return true;
}

bool TemplateDlg::validate()
{
    if (m_edName->text().trimmed().isEmpty()) {
        bmessagebox::warning(this, tr("Name cannot be empty!"));
        m_tabs->setCurrentIndex(0);
        m_edName->setFocus();
        return false;
    }
    UserDlgTemp::Page failed = UserDlgTemp::General;
    if (m_fields->validate(this, &failed))
        return true;
    m_tabs->setCurrentWidget(m_fields->page(failed));
    return false;
}

void TemplateDlg::storeView()
{
    m_row->setText(QStringLiteral("Tempname"), m_edName->text().trimmed());
    const int domain = m_cboDomain->currentIndex();
    if (domain >= 0 && domain != m_filledDomain)
        m_row->setText(QStringLiteral("Domain"),
                       domain == 0 ? QString() : m_cboDomain->currentText());
    m_fields->store(m_row);
}

void TemplateDlg::slotTabEnableChanged()
{
    // Addresses and groups belong to a domain.
    const int index = m_cboDomain->currentIndex();
    const bool domain = index != 0;
    if (index > 0)
        m_fields->setContextDomain(m_cboDomain->currentText());
    m_tabs->setTabEnabled(UserDlgTemp::Addresses, domain);
    m_tabs->setTabEnabled(UserDlgTemp::Groups, domain);
}

TemplateItem::TemplateItem(BListView *view, DBRow *row)
    : BRowTextItem(view, row)
{
    setIcon(0, QIcon(QStringLiteral(":/images/usertemplates_tree.png")));
}

QString TemplateItem::cellText(int column) const
{
    switch (column) {
    case 0:
        return row()->text(QStringLiteral("Tempname"));
    case 1:
        return row()->text(QStringLiteral("Description"));
    case 2: {
        const QString domain = row()->text(QStringLiteral("Domain"));
        return domain.isEmpty() ? QCoreApplication::translate("TemplateDlg", "No domain specified")
                                : domain;
    }
    default:
        return QString();
    }
}

TemplateWnd::TemplateWnd(QWidget *parent)
    : BFormList<>(parent)
    , m_table(bobject::connection(), QStringLiteral("Template"))
    , m_domains(bobject::connection(), QStringLiteral("Domain"))
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("TemplateWnd"));
    listView()->setAccessibleName(tr("User templates"));
    m_table.setKeysIgnoreCase(true);
    m_trans.addTable(&m_table);
    DBTransTab::MemberOptions readOnly;
    readOnly.leftOutOfTransactions = true;
    m_trans.addTable(&m_domains, readOnly);
}

void TemplateWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("template")));
    cols.addColumn(tr("Name"), QStringLiteral("Tempname"), BCol::AlwaysVisible);
    cols.addColumn(tr("Description"), QStringLiteral("Description"), BCol::Visible);
    cols.addColumn(tr("Domain"), QStringLiteral("Domain"), BCol::Visible);
}

BListViewItem *TemplateWnd::createItem(DBRow *row)
{
    return new TemplateItem(listView(), row);
}

bool TemplateWnd::editRow(DBRow *row)
{
    QStringList domains;
    for (const DBRow *domain : m_domains.rows()) {
        if (domain->text(QStringLiteral("Type")).toInt() != 2)
            domains << domain->text(QStringLiteral("Domain"));
    }
    UserDlgContext context;
    m_contextTables.clear();
    if (auto groups = usercommands::readTable(QStringLiteral("Group"), nullptr)) {
        context.groups = groups.get();
        m_contextTables.push_back(std::move(groups));
    }
    TemplateDlg dialog(row, domains, context, this);
    return dialog.exec() == QDialog::Accepted;
}

#include "pages/groups/groupwiz.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/blistview.h"
#include "forms/bmessagebox.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QWizardPage>

#include <functional>

namespace {

// A page whose Next and Finish follow a condition.
class ConditionPage : public QWizardPage
{
public:
    ConditionPage(std::function<bool()> complete, QWidget *parent)
        : QWizardPage(parent)
        , m_complete(std::move(complete))
    { }
    bool isComplete() const override { return m_complete(); }

private:
    std::function<bool()> m_complete;
};

enum Page { PageGeneral, PageAddresses, PageUsers, PageRights, PageAdvanced };

} // namespace

GroupWiz::GroupWiz(DBRow *group, const GroupDlgTemp::Tables &tables, QWidget *parent)
    : BDialog<QWizard>(parent)
    , m_fields(new GroupDlgTemp(this, tables))
    , m_chkExport(new QCheckBox(tr("Publish this group information to the public contacts folder"),
                                this))
    , m_lblExportPx(new QLabel(this))
    , m_lblExportInfo(
              new QLabel(tr("This group hasn't any mail address so it cannot be exported."), this))
{
    setObjectName(QStringLiteral("GroupWiz"));
    setWindowTitle(tr("Add Group"));
    setWindowIcon(QIcon(QStringLiteral(":/images/groups_tree.png")));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveFinishButtonOnEarlyPages, true);
    setOption(QWizard::NoBackButtonOnStartPage, true);
    setRow(group);
    GroupDlgTemp *f = m_fields;
    m_chkExport->setObjectName(QStringLiteral("m_chkExport"));
    m_lblExportPx->setObjectName(QStringLiteral("m_lblExportPx"));
    m_lblExportInfo->setObjectName(QStringLiteral("m_lblExportInfo"));
    m_lblExportInfo->setWordWrap(true);
    m_lblExportPx->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(16, 16));
    f->m_chkFax->setText(tr("This group can send fax messages through the fax plugin"));
    f->m_btnRemoveAddresses->setText(tr("&Remove"));

    auto *general = new ConditionPage([this] { return nameAcceptable(); }, this);
    general->setTitle(tr("General - page 1 of 5"));
    (new QVBoxLayout(general))->addLayout(f->nameForm(general));
    setPage(PageGeneral, general);

    auto *addresses = new QWizardPage(this);
    addresses->setObjectName(QStringLiteral("m_pgAddresses"));
    addresses->setTitle(tr("Mail Addresses - page 2 of 5"));
    f->layoutAddresses(addresses);
    setPage(PageAddresses, addresses);

    auto *users = new QWizardPage(this);
    users->setObjectName(QStringLiteral("m_pgUsers"));
    users->setTitle(tr("Users - page 3 of 5"));
    auto *usersLayout = new QVBoxLayout(users);
    usersLayout->addWidget(f->m_lvUsers, 1);
    usersLayout->addWidget(f->m_fraButtons);
    setPage(PageUsers, users);

    auto *rights = new QWizardPage(this);
    rights->setObjectName(QStringLiteral("m_pgRights"));
    rights->setTitle(tr("Rights - page 4 of 5"));
    f->layoutRights(rights, tr(" Group administration rights"));
    setPage(PageRights, rights);

    auto *advanced = new QWizardPage(this);
    advanced->setObjectName(QStringLiteral("m_pgAdvanced"));
    advanced->setTitle(tr("Advanced settings - page 5 of 5"));
    auto *exportNote = new QHBoxLayout;
    exportNote->addWidget(m_lblExportPx, 0, Qt::AlignTop);
    exportNote->addWidget(m_lblExportInfo, 1);
    auto *advancedLayout = new QVBoxLayout(advanced);
    advancedLayout->addWidget(m_chkExport);
    advancedLayout->addLayout(exportNote);
    advancedLayout->addWidget(f->m_chkOwnDomainOnly);
    advancedLayout->addWidget(f->m_bgFax);
    advancedLayout->addStretch(1);
    setPage(PageAdvanced, advanced);

    // Every page may finish the wizard, not only the last one.
    for (int id : pageIds())
        page(id)->setFinalPage(true);
    m_chkExport->setEnabled(false);
    connect(f->m_edName, &QLineEdit::textChanged, this, [this] { slotNameChanged(); });
    connect(this, &QWizard::currentIdChanged, this, [this] { slotPageChanged(); });
    connect(m_chkExport, &QCheckBox::clicked, this, [this] { slotExportChanged(); });
    connect(f, &GroupDlgTemp::signalAddressesChanged, this, [this] { updateExportBox(); });
    resize(560, 440);
}

bool GroupWiz::fillView()
{
    if (m_row)
        m_fields->fill(*m_row);
    m_fields->m_edName->setFocus();
    updateExportBox();
    return true;
}

bool GroupWiz::nameAcceptable() const
{
    QString name = m_fields->m_edName->text();
    int pos = 0;
    return !name.isEmpty()
            && m_fields->m_edName->validator()->validate(name, pos) == QValidator::Acceptable;
}

void GroupWiz::slotNameChanged()
{
    if (QWizardPage *general = page(PageGeneral))
        emit general->completeChanged();
}

void GroupWiz::slotPageChanged()
{
    if (currentId() == PageGeneral)
        slotNameChanged();
}

void GroupWiz::slotExportChanged()
{
    m_exportUnchecked = !m_chkExport->isChecked();
}

void GroupWiz::updateExportBox()
{
    const bool any = m_fields->addressCount() > 0;
    if (any && !m_chkExport->isEnabled()) {
        m_lblExportInfo->hide();
        m_lblExportPx->hide();
        m_chkExport->setEnabled(true);
        m_chkExport->setChecked(!m_exportUnchecked);
    } else if (!any) {
        m_lblExportInfo->show();
        m_lblExportPx->show();
        m_chkExport->setChecked(false);
        m_chkExport->setEnabled(false);
    }
}

bool GroupWiz::exportRequested() const
{
    return m_chkExport->isEnabled() && m_chkExport->isChecked();
}

bool GroupWiz::validateCurrentPage()
{
    if (currentId() != PageGeneral || !m_row)
        return QWizard::validateCurrentPage();
    if (!nameAcceptable())
        return false;
    const QString name = m_fields->m_edName->text().trimmed();
    m_fields->renameGroup(name);
    m_row->setText(QStringLiteral("Name"), name);
    const DBTable *table = m_row->table();
    if (table && !table->isKeyUnique(m_row)) {
        bmessagebox::warning(this, duplicateMessage());
        m_fields->m_edName->setFocus();
        return false;
    }
    return true;
}

bool GroupWiz::validate()
{
    if (!nameAcceptable())
        return false;
    if (m_fields->validate())
        return true;
    setCurrentId(PageAddresses);
    return false;
}

void GroupWiz::storeView()
{
    m_fields->renameGroup(m_fields->m_edName->text().trimmed());
    m_fields->store(m_row);
}

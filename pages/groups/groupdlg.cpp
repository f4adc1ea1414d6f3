#include "pages/groups/groupdlg.h"

#include "forms/blistview.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

GroupDlg::GroupDlg(DBRow *group, const GroupDlgTemp::Tables &tables, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_fields(new GroupDlgTemp(this, tables))
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("GroupDlg"));
    setWindowTitle(tr("Edit Group"));
    setWindowIcon(QIcon(QStringLiteral(":/images/groups_tree.png")));
    setRow(group);
    GroupDlgTemp *f = m_fields;
    f->m_edName->setEnabled(false); // an existing group keeps its name

    // General: name, description, addresses.
    auto *general = new QWidget(m_tabs);
    auto *addressBox = new QGroupBox(tr("Mail Addresses"), general);
    f->layoutAddresses(addressBox);
    auto *generalLayout = new QVBoxLayout(general);
    generalLayout->addLayout(f->nameForm(general));
    generalLayout->addWidget(addressBox, 1);
    m_tabs->addTab(general, tr("General"));

    // Users: the members.
    auto *users = new QWidget(m_tabs);
    auto *usersLayout = new QVBoxLayout(users);
    usersLayout->addWidget(f->m_lvUsers, 1);
    usersLayout->addWidget(f->m_fraButtons);
    m_tabs->addTab(users, tr("Users"));

    auto *rights = new QWidget(m_tabs);
    rights->setObjectName(QStringLiteral("m_pgRights"));
    f->layoutRights(rights, tr("Group administration rights"));
    m_tabs->addTab(rights, tr("Rights"));

    auto *restrictions = new QWidget(m_tabs);
    restrictions->setObjectName(QStringLiteral("m_pgRestrictions"));
    auto *restrictionsLayout = new QVBoxLayout(restrictions);
    restrictionsLayout->addWidget(f->m_chkOwnDomainOnly);
    restrictionsLayout->addWidget(f->m_bgFax);
    restrictionsLayout->addStretch(1);
    m_tabs->addTab(restrictions, tr("Restrictions"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    resize(520, 440);
}

bool GroupDlg::fillView()
{
    if (m_row)
        m_fields->fill(*m_row);
    return true;
}

bool GroupDlg::validate()
{
    if (m_fields->validate())
        return true;
    m_tabs->setCurrentIndex(0);
    return false;
}

void GroupDlg::storeView()
{
    m_fields->store(m_row);
}

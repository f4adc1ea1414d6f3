#include "pages/usergroups/useractivatedlgtemp.h"

#include "db/dbquote.h"
#include "db/dbrow.h"
#include "forms/bobject.h"
#include "forms/groupvalidator.h"
#include "forms/pvnuserloginvalidator.h"
#include "pages/usergroups/ugtexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kRowRole = Qt::UserRole + 1;
} // namespace

UserActivateDlgTemp::UserActivateDlgTemp(Mode mode, const QString &domain,
                                         const QStringList &existingNames, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_mode(mode)
    , m_domain(domain)
    , m_existing(existingNames)
    , m_list(new QTreeWidget(this))
{
    const bool groups = mode == Mode::Groups;
    setObjectName(QStringLiteral("UserActivateDlg"));
    setWindowTitle(groups ? tr("Activate Groups In Directory Service")
                          : tr("Import/Activate Users Dialog"));
    DBTable::Options options;
    options.filter = QStringLiteral("Domain=\"") + dbEscape(domain) + QLatin1Char('"');
    options.controls = QStringLiteral("LDAPListInactive = 1");
    m_table = std::make_unique<DBTable>(bobject::connection(),
                                        groups ? QStringLiteral("Group") : QStringLiteral("User"),
                                        QList<DBKol>(), options);
    addOwnTable(m_table.get());

    auto *prompt = new QLabel(groups ? tr("Select which groups you want to activate:")
                                     : tr("Select which users you want to activate:"),
                              this);
    prompt->setBuddy(m_list);
    m_list->setObjectName(QStringLiteral("m_lvActivate"));
    m_list->setAccessibleName(groups ? tr("Directory groups") : tr("Directory users"));
    m_list->setRootIsDecorated(false);
    if (groups)
        m_list->setHeaderLabels({tr("Name"), tr("Description")});
    else
        m_list->setHeaderLabels(
                {tr("Login name"), tr("Full name"), tr("Description"), tr("Data Source")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(520, 360);
}

UserActivateDlgTemp::~UserActivateDlgTemp() = default;

QString UserActivateDlgTemp::judge(const DBRow &row) const
{
    const QString name = row.text(QStringLiteral("Name"));
    const bool groups = m_mode == Mode::Groups;
    if (m_existing.contains(name, Qt::CaseInsensitive))
        return groups ? tr("Cannot be activated, because a group with this name already exists.")
                      : tr("Cannot be activated, because a user with this name already exists.");
    QString text = name;
    int pos = 0;
    const bool accepted = groups
            ? GroupValidator(255).validate(text, pos) == QValidator::Acceptable
            : PvnUserLoginValidator().validate(text, pos) == QValidator::Acceptable;
    if (!accepted)
        return groups ? tr("Cannot be activated, because the group name is in unsupported format.")
                      : tr("Cannot be activated, because the user name is in unsupported format.");
    return {};
}

void UserActivateDlgTemp::load(bool first)
{
    Q_UNUSED(first);
    setFormEnabled(false);
    if (m_table->selectSync())
        dataLoaded();
    else
        dataError(m_table->errorText());
}

bool UserActivateDlgTemp::fillView()
{
    m_list->clear();
    const bool groups = m_mode == Mode::Groups;
    const QList<DBRow *> &rows = m_table->rows();
    for (int i = 0; i < rows.size(); ++i) {
        const DBRow &row = *rows.at(i);
        const QString refusal = judge(row);
        const QString description
                = refusal.isEmpty() ? row.text(QStringLiteral("Description")) : refusal;
        QStringList texts{row.text(QStringLiteral("Name"))};
        if (groups)
            texts << description;
        else
            texts << row.text(QStringLiteral("Fullname")) << description
                  << ugtexts::dataSourceText(row.text(QStringLiteral("$RowSource")).toLongLong());
        auto *item = new QTreeWidgetItem(m_list, texts);
        item->setData(0, kRowRole, i);
        if (refusal.isEmpty()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled));
        }
    }
    return true;
}

bool UserActivateDlgTemp::validate()
{
    m_chosen.clear();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (!(item->flags() & Qt::ItemIsUserCheckable) || item->checkState(0) != Qt::Checked)
            continue;
        if (const DBRow *row = m_table->row(item->data(0, kRowRole).toInt()))
            m_chosen.append(row);
    }
    if (m_chosenCheck && !m_chosenCheck(this, int(m_chosen.size()))) {
        m_chosen.clear();
        return false;
    }
    return true;
}

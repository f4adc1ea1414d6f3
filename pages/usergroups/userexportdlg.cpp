#include "pages/usergroups/userexportdlg.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/foldername.h"
#include "forms/bobject.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QIcon image(const char *name)
{
    return QIcon(QStringLiteral(":/images/") + QLatin1String(name));
}

} // namespace

UserExportDlg::UserExportDlg(ugpublish::Kind kind, const QList<ugpublish::Entry> &entries,
                             const QString &domain, const QString &defaultFolder, QWidget *parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_entries(entries)
    , m_cboFolder(new QComboBox(this))
    , m_list(new QTreeWidget(this))
    , m_lblSummaryIcon(new QLabel(this))
    , m_lblSummary(new QLabel(this))
    , m_btnPublish(new QPushButton(tr("&Publish"), this))
{
    const bool groups = kind == ugpublish::Kind::Groups;
    setObjectName(QStringLiteral("UserExportDlg"));
    setWindowTitle(groups ? tr("Publish Groups") : tr("Publish Users"));
    m_cboFolder->setObjectName(QStringLiteral("m_cboFolder"));
    m_cboFolder->setEditable(true);
    auto *folderLabel = new QLabel(tr("Public &folder:"), this);
    folderLabel->setBuddy(m_cboFolder);
    listFolders(domain, defaultFolder);

    m_list->setObjectName(QStringLiteral("m_lvExport"));
    m_list->setAccessibleName(groups ? tr("Groups to publish") : tr("Users to publish"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Name")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const ugpublish::Entry &entry : m_entries)
        new QTreeWidgetItem(m_list, {entry.name});
    m_lblSummary->setObjectName(QStringLiteral("m_lblSummary"));
    m_btnPublish->setObjectName(QStringLiteral("m_btnPublish"));
    m_btnPublish->setDefault(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_btnPublish, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnPublish, &QPushButton::clicked, this, [this] { publishAll(); });

    auto *summary = new QHBoxLayout;
    summary->addWidget(m_lblSummaryIcon);
    summary->addWidget(m_lblSummary, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel);
    layout->addWidget(m_cboFolder);
    layout->addWidget(m_list);
    layout->addLayout(summary);
    layout->addWidget(buttons);
    resize(520, 380);
}

void UserExportDlg::listFolders(const QString &domain, const QString &defaultFolder)
{
    m_cboFolder->addItem(defaultFolder);
    DBConn *conn = bobject::connection();
    if (!conn)
        return;
    DBReq req(QStringLiteral("select ")
              + dbFunctionCall(QStringLiteral("FolderList"), {domain, QStringLiteral("0")}));
    if (!conn->execSync(&req))
        return;
    int nameColumn = -1, typeColumn = -1, listableColumn = -1;
    for (int column = 0; column < req.columnCount(); ++column) {
        QString name;
        int type = 0;
        bool attribute = false;
        int extra = 0;
        if (!req.columnInfo(column, &name, &type, &attribute, &extra))
            continue;
        if (name == QLatin1String("Name"))
            nameColumn = column;
        else if (name == QLatin1String("Type"))
            typeColumn = column;
        else if (name == QLatin1String("Listable"))
            listableColumn = column;
    }
    if (nameColumn < 0)
        return;
    for (int row = 0; row < req.rowCount(); ++row) {
        if (typeColumn >= 0 && req.readInt(row, typeColumn).value() != 0)
            continue;
        if (listableColumn >= 0 && req.readInt(row, listableColumn).value() == 0)
            continue;
        QString folder = req.readStr(row, nameColumn).toString();
        folderNameFromImap(folder);
        if (m_cboFolder->findText(folder) < 0)
            m_cboFolder->addItem(folder);
    }
}

QString UserExportDlg::folder() const
{
    return m_cboFolder->currentText().trimmed();
}

int UserExportDlg::publishAll()
{
    QString target = folder();
    if (target.isEmpty())
        return 0;
    const QString shown = target;
    folderNameToImap(target);
    if (m_list->columnCount() == 1)
        m_list->setHeaderLabels({tr("Name"), tr("Result")});
    m_btnPublish->setEnabled(false);
    m_successes = 0;
    DBConn *conn = bobject::connection();
    for (int i = 0; i < m_entries.size(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const ugpublish::Entry &entry = m_entries.at(i);
        const bool published = ugpublish::publish(conn, target, entry);
        if (published)
            ++m_successes;
        item->setIcon(1, image(published ? "permit.png" : "deny.png"));
        item->setText(1,
                      published ? ugpublish::successText(m_kind, shown)
                                : (entry.refusal.isEmpty() ? ugpublish::failureText(m_kind)
                                                           : entry.refusal));
    }
    const int total = int(m_entries.size());
    const bool anyFailed = m_successes < total;
    m_lblSummaryIcon->setPixmap(
            image(anyFailed ? "circlewarning.png" : "circlestatus.png").pixmap(16, 16));
    m_lblSummary->setText(ugpublish::summaryText(m_kind, m_successes, total));
    m_btnPublish->setEnabled(true);
    return m_successes;
}

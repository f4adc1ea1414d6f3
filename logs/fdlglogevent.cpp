#include "logs/fdlglogevent.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"

#include <QDialogButtonBox>
#include <QHash>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kNumberRole = Qt::UserRole;
constexpr int kWasOnRole = Qt::UserRole + 1;
} // namespace

FDlgLogEvent::FDlgLogEvent(DBConn *conn, const QString &logName, QWidget *parent)
    : QDialog(parent)
    , m_conn(conn)
    , m_logName(logName)
{
    setObjectName(QStringLiteral("FDlgLogEvent"));
    setWindowTitle(tr("Logging Messages"));
    auto *layout = new QVBoxLayout(this);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("m_lvMessages"));
    m_tree->setAccessibleName(tr("Message groups"));
    m_tree->setHeaderHidden(true);
    layout->addWidget(m_tree);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = buttons->button(QDialogButtonBox::Ok);
    m_btnOk->setEnabled(conn && conn->mayModify());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FDlgLogEvent::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(420, 360);
    load();
}

void FDlgLogEvent::load()
{
    if (!m_conn)
        return;
    DBReq req(QStringLiteral("select LogEvent(%1)").arg(dbLiteral(m_logName)));
    if (!m_conn->execSync(&req))
        return;
    int nameColumn = 0, descColumn = 1, enabledColumn = 2, parentColumn = 3;
    for (int c = 0; c < req.columnCount(); ++c) {
        QString name;
        int type = 0;
        bool attribute = false;
        int extra = 0;
        req.columnInfo(c, &name, &type, &attribute, &extra);
        if (name == QLatin1String("name"))
            nameColumn = c;
        else if (name == QLatin1String("desc"))
            descColumn = c;
        else if (name == QLatin1String("enabled"))
            enabledColumn = c;
        else if (name == QLatin1String("parent"))
            parentColumn = c;
    }
    // Children go under their parent, whatever order the rows come in.
    QHash<int, QTreeWidgetItem *> items;
    QList<QPair<QTreeWidgetItem *, int>> parents;
    for (int row = 0; row < req.rowCount(); ++row) {
        auto *item = new QTreeWidgetItem;
        const int number = req.readInt(row, nameColumn).value();
        const bool on = req.readInt(row, enabledColumn).value() != 0;
        item->setText(0, req.readStr(row, descColumn).toString());
        item->setData(0, kNumberRole, number);
        item->setData(0, kWasOnRole, on);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        items.insert(number, item);
        parents.append({item, req.readInt(row, parentColumn).value()});
    }
    for (const auto &[item, parent] : parents) {
        QTreeWidgetItem *owner
                = parent != item->data(0, kNumberRole).toInt() ? items.value(parent) : nullptr;
        if (owner)
            owner->addChild(item);
        else
            m_tree->addTopLevelItem(item);
    }
    m_tree->expandAll();
    m_loaded = true;
}

void FDlgLogEvent::accept()
{
    if (!m_btnOk->isEnabled())
        return;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        QTreeWidgetItem *item = *it;
        const bool on = item->checkState(0) == Qt::Checked;
        if (on == item->data(0, kWasOnRole).toBool())
            continue;
        DBReq req(QStringLiteral("select LogCtrl(%1,%2,%3)")
                          .arg(dbLiteral(m_logName),
                               on ? QStringLiteral("'3'") : QStringLiteral("'4'"),
                               dbLiteral(item->data(0, kNumberRole).toString())));
        if (m_conn->execSync(&req)) {
            item->setData(0, kWasOnRole, on);
        } else {
            QMessageBox::critical(this, tr("Error"),
                                  tr("Error when saving '%1'.").arg(item->text(0).toHtmlEscaped()));
        }
    }
    QDialog::accept();
}

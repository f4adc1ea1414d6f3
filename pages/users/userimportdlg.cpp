#include "pages/users/userimportdlg.h"

#include "forms/bmessagebox.h"
#include "pages/users/userdlgtemp.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

UserImportFileDlg::UserImportFileDlg(const QStringList &existingNames, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_existing(existingNames)
    , m_edFile(new QLineEdit(this))
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("UserImportFileDlg"));
    setWindowTitle(tr("Import Users From File"));
    m_edFile->setObjectName(QStringLiteral("m_edFile"));
    m_edFile->setReadOnly(true);
    m_list->setObjectName(QStringLiteral("m_lvUsers"));
    m_list->setAccessibleName(tr("Users in the file"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Login name"), tr("Full name"), tr("Description")});
    auto *fileLabel = new QLabel(tr("&File:"), this);
    fileLabel->setBuddy(m_edFile);
    auto *browse = new QPushButton(tr("&Browse..."), this);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(m_edFile, 1);
    fileRow->addWidget(browse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("One user a line: login name, full name, description, "
                                    "password."),
                                 this));
    layout->addLayout(fileRow);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Import Users From File"));
        if (!path.isEmpty())
            readFile(path);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &UserImportFileDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &UserImportFileDlg::reject);
}

QList<ImportedUser> UserImportFileDlg::parse(const QString &text)
{
    QList<ImportedUser> users;
    QStringList fields;
    QString field;
    bool quoted = false;
    auto endLine = [&] {
        fields << field;
        field.clear();
        if (!(fields.size() == 1 && fields.first().trimmed().isEmpty())) {
            ImportedUser user;
            user.name = fields.value(0).trimmed();
            user.fullName = fields.value(1).trimmed();
            user.description = fields.value(2).trimmed();
            user.password = fields.value(3);
            users << user;
        }
        fields.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size()
                && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            endLine();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (!field.isEmpty() || !fields.isEmpty())
        endLine();
    return users;
}

bool UserImportFileDlg::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        bmessagebox::warning(
                this, tr("<nobr>The file '%1' cannot be read.</nobr>").arg(path.toHtmlEscaped()));
        return false;
    }
    m_edFile->setText(path);
    m_users = parse(QString::fromUtf8(file.readAll()));
    m_list->clear();
    QStringList seen = m_existing;
    for (const ImportedUser &user : m_users) {
        auto *item = new QTreeWidgetItem(m_list, {user.name, user.fullName, user.description});
        QString refusal;
        if (!UserDlgTempEx::loginNameAcceptable(user.name))
            refusal = tr("Cannot be imported, because the user name is in unsupported format.");
        else if (seen.contains(user.name, Qt::CaseInsensitive))
            refusal = tr("Cannot be imported, because a user with this name already exists.");
        seen << user.name;
        if (refusal.isEmpty()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Checked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable & ~Qt::ItemIsEnabled);
            item->setText(2, refusal);
        }
    }
    return true;
}

bool UserImportFileDlg::validate()
{
    m_chosen.clear();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked)
            m_chosen << m_users.at(i);
    }
    if (m_chosen.isEmpty())
        return true;
    return !m_chosenCheck || m_chosenCheck(this, int(m_chosen.size()));
}

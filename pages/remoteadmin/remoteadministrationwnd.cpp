#include "pages/remoteadmin/remoteadministrationwnd.h"

#include "db/dbconn.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "pages/definitions/gformdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using bview::named;

namespace {

// One access group of the layout: the network box, the "Only from" box with
// its combo and the edit button.
QGroupBox *accessGroup(QWidget *parent, const QString &title, QCheckBox *net, QCheckBox *acl,
                       QComboBox *combo, QPushButton *edit)
{
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QGridLayout(group);
    layout->addWidget(net, 0, 0, 1, 3);
    layout->addWidget(acl, 1, 0);
    layout->addWidget(combo, 1, 1);
    layout->addWidget(edit, 1, 2);
    layout->setColumnStretch(1, 1);
    return group;
}

} // namespace

TRemoteAdministrationWnd::TRemoteAdministrationWnd(QWidget *parent)
    : BForm(parent)
{
    m_chkNetEnabled = named(new QCheckBox(tr("&Enable administration from network"), this),
                            "m_chkNetEnabled");
    m_chkAcl = named(new QCheckBox(tr("&Only from this IP address group:"), this), "m_chkAcl");
    m_cboAcl = named(new QComboBox(this), "m_cboAcl");
    m_cboAcl->setAccessibleName(tr("IP address group for administration"));
    m_btnEditAcl = named(new QPushButton(tr("&Edit..."), this), "m_btnEditAcl");
    m_btnEditAcl->setAccessibleName(tr("Edit IP address groups for administration"));
    m_gbAdmin = accessGroup(this, tr("Administration"), m_chkNetEnabled, m_chkAcl, m_cboAcl,
                            m_btnEditAcl);
    m_gbAdmin->setObjectName(QStringLiteral("m_gbAdmin"));

    m_chkWebNetEnabled = named(new QCheckBox(tr("&Enable web administration from network"), this),
                               "m_chkWebNetEnabled");
    m_chkWebAcl
            = named(new QCheckBox(tr("&Only from this IP address group:"), this), "m_chkWebAcl");
    m_cboWebAcl = named(new QComboBox(this), "m_cboWebAcl");
    m_cboWebAcl->setAccessibleName(tr("IP address group for web administration"));
    m_btnEditWebAcl = named(new QPushButton(tr("&Edit..."), this), "m_btnEditWebAcl");
    m_btnEditWebAcl->setAccessibleName(tr("Edit IP address groups for web administration"));
    m_gbWeb = accessGroup(this, tr("Web administration"), m_chkWebNetEnabled, m_chkWebAcl,
                          m_cboWebAcl, m_btnEditWebAcl);
    m_gbWeb->setObjectName(QStringLiteral("m_gbWeb"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_gbAdmin);
    layout->addWidget(m_gbWeb);
    layout->addStretch();
    setTabOrder(m_chkNetEnabled, m_chkAcl);
    setTabOrder(m_chkAcl, m_cboAcl);
    setTabOrder(m_cboAcl, m_btnEditAcl);
    setTabOrder(m_btnEditAcl, m_chkWebNetEnabled);
    setTabOrder(m_chkWebNetEnabled, m_chkWebAcl);
    setTabOrder(m_chkWebAcl, m_cboWebAcl);
    setTabOrder(m_cboWebAcl, m_btnEditWebAcl);

    connect(m_chkNetEnabled, &QCheckBox::toggled, this,
            &TRemoteAdministrationWnd::slotEnableChanged);
    connect(m_chkAcl, &QCheckBox::toggled, this, &TRemoteAdministrationWnd::slotEnableAclChanged);
    connect(m_chkWebNetEnabled, &QCheckBox::toggled, this,
            &TRemoteAdministrationWnd::slotEnableChangedWeb);
    connect(m_chkWebAcl, &QCheckBox::toggled, this,
            &TRemoteAdministrationWnd::slotEnableAclChangedWeb);
    connect(m_btnEditAcl, &QPushButton::clicked, this, &TRemoteAdministrationWnd::slotEditAG);
    connect(m_btnEditWebAcl, &QPushButton::clicked, this, &TRemoteAdministrationWnd::slotEditAG);
    for (QCheckBox *box : {m_chkNetEnabled, m_chkAcl, m_chkWebNetEnabled, m_chkWebAcl})
        connect(box, &QCheckBox::toggled, this, &BForm::slotChange);
    for (QComboBox *combo : {m_cboAcl, m_cboWebAcl})
        connect(combo, &QComboBox::currentIndexChanged, this, &BForm::slotChange);
}

RemoteAdministrationWnd::RemoteAdministrationWnd(QWidget *parent)
    : TRemoteAdministrationWnd(parent)
    , m_table(bobject::connection(), QStringLiteral("Administration"))
    , m_groups(bobject::connection(), QStringLiteral("IpAccessList"),
               {DBKol(1, QStringLiteral("Name"), true), DBKol(1, QStringLiteral("Value"), true),
                DBKol(2, QStringLiteral("Enabled"))})
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("RemoteAdministrationWnd"));
    m_trans.addTable(&m_table);
    m_trans.addTable(&m_groups, {true, false});
}

QStringList RemoteAdministrationWnd::groupNames() const
{
    QStringList names;
    for (const DBRow *row : m_groups.rows()) {
        const QString name = row->text(0);
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QList<sessionaccess::Entry> RemoteAdministrationWnd::groupEntries() const
{
    QList<sessionaccess::Entry> entries;
    for (const DBRow *row : m_groups.rows())
        entries.append({row->text(0), row->text(1), row->text(2) != QLatin1String("0")});
    return entries;
}

void RemoteAdministrationWnd::fillCombo(QComboBox *combo, const QString &name)
{
    QStringList names = groupNames();
    if (!name.isEmpty() && !names.contains(name))
        names.append(name);
    combo->clear();
    combo->addItems(names);
    combo->setCurrentIndex(name.isEmpty() ? -1 : combo->findText(name));
}

bool RemoteAdministrationWnd::fillView()
{
    if (m_table.rowCount() < 1)
        return false;
    const DBRow *row = m_table.row(0);
    const QString acl = row->text("AdminAcl");
    const QString webAcl = row->text("WebAdminAcl");
    m_chkNetEnabled->setChecked(row->text("NetEnabled").toInt() != 0);
    m_chkAcl->setChecked(!acl.isEmpty());
    fillCombo(m_cboAcl, acl);
    m_chkWebNetEnabled->setChecked(row->text("WebNetEnabled").toInt() != 0);
    m_chkWebAcl->setChecked(!webAcl.isEmpty());
    fillCombo(m_cboWebAcl, webAcl);
    slotEnableChanged();
    slotEnableChangedWeb();
    return true;
}

void RemoteAdministrationWnd::storeView()
{
    if (m_table.rowCount() < 1)
        return;
    DBRow *row = m_table.row(0);
    const auto flag = [](const QCheckBox *box) {
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    row->setText("NetEnabled", flag(m_chkNetEnabled));
    row->setText("AdminAcl", m_chkAcl->isChecked() ? m_cboAcl->currentText() : QString());
    row->setText("WebNetEnabled", flag(m_chkWebNetEnabled));
    row->setText("WebAdminAcl", m_chkWebAcl->isChecked() ? m_cboWebAcl->currentText() : QString());
}

QHostAddress RemoteAdministrationWnd::sessionAddress()
{
    if (!m_sessionAddress) {
        const DBConn *conn = bobject::connection();
        m_sessionAddress
                = conn ? sessionaccess::sessionAddress(conn->host(), conn->port()) : QHostAddress();
    }
    return *m_sessionAddress;
}

bool RemoteAdministrationWnd::validate()
{
    if (m_chkAcl->isChecked() && m_cboAcl->currentText().isEmpty()) {
        bmessagebox::warning(this,
                             tr("Choose the IP address group from which the server may "
                                "be administered."));
        m_cboAcl->setFocus();
        return false;
    }
    if (m_chkWebAcl->isChecked() && m_cboWebAcl->currentText().isEmpty()) {
        bmessagebox::warning(this,
                             tr("Choose the IP address group from which web "
                                "administration is allowed."));
        m_cboWebAcl->setFocus();
        return false;
    }
    if (m_table.rowCount() < 1 || m_table.confirmedCount() < 1)
        return true;
    const DBRow &stored = m_table.confirmedRow(0);
    const DBRow *edited = m_table.row(0);
    const bool netEnabled = edited->text("NetEnabled").toInt() != 0;
    const QString group = edited->text("AdminAcl");
    if (netEnabled == (stored.text("NetEnabled").toInt() != 0) && group == stored.text("AdminAcl"))
        return true;
    const QHostAddress address = sessionAddress();
    if (sessionaccess::admits(groupEntries(), netEnabled, group, address))
        return true;
    const QString question
            = tr("This session comes from %1, which the new setting does not let administer "
                 "the server. You may not be able to connect again.<nobr><br><br>Do you want "
                 "to apply it?</nobr>")
                      .arg(address.toString());
    return QMessageBox::question(this, bmessagebox::caption(), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
}

void RemoteAdministrationWnd::slotEnableChanged()
{
    const bool net = m_chkNetEnabled->isChecked();
    m_chkAcl->setEnabled(net);
    m_btnEditAcl->setEnabled(net);
    slotEnableAclChanged();
}

void RemoteAdministrationWnd::slotEnableAclChanged()
{
    m_cboAcl->setEnabled(m_chkNetEnabled->isChecked() && m_chkAcl->isChecked());
}

void RemoteAdministrationWnd::slotEnableChangedWeb()
{
    const bool net = m_chkWebNetEnabled->isChecked();
    m_chkWebAcl->setEnabled(net);
    m_btnEditWebAcl->setEnabled(net);
    slotEnableAclChangedWeb();
}

void RemoteAdministrationWnd::slotEnableAclChangedWeb()
{
    m_cboWebAcl->setEnabled(m_chkWebNetEnabled->isChecked() && m_chkWebAcl->isChecked());
}

void RemoteAdministrationWnd::slotEditAG()
{
    editGroups(sender() == m_btnEditWebAcl ? m_cboWebAcl : m_cboAcl);
}

void RemoteAdministrationWnd::editGroups(QComboBox *combo)
{
    const QCheckBox *box = combo == m_cboWebAcl ? m_chkWebAcl : m_chkAcl;
    const QString group = box->isChecked() ? combo->currentText() : QString();
    if (!GFormDialog::edit(GFormDialog::Kind::IpGroups, group, this))
        return;
    if (!m_groups.selectSync()) {
        bobject::showServerError(this, m_groups.errorText());
        return;
    }
    // The combos keep what they showed, by name, also a group just removed.
    const QString acl = m_cboAcl->currentText();
    const QString webAcl = m_cboWebAcl->currentText();
    m_updating = true;
    fillCombo(m_cboAcl, acl);
    fillCombo(m_cboWebAcl, webAcl);
    slotEnableChanged();
    slotEnableChangedWeb();
    m_updating = false;
}

#include "app/mailwindow.h"

#include "app/fmessagebox.h"

#include "app/fimages.h"
#include "app/fmaintree.h"
#include "app/fpage.h"
#include "app/fserverquery.h"
#include "app/ftrace.h"
#include "app/productinfownd.h"
#include "app/unavailablewnd.h"
#include "db/dbconn.h"
#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

namespace {

// Log item ids: a process-wide counter, advanced for every name offered.
int g_lastLogId = SectionId::Logs;

DBConn *connection()
{
    return UtKontainer::objectAs<DBConn>(UtKey::DBConn);
}

} // namespace

const QStringList &MailWindow::knownLogNames()
{
    static const QStringList names
            = {QStringLiteral("debug"),   QStringLiteral("error"), QStringLiteral("security"),
               QStringLiteral("warning"), QStringLiteral("mail"),  QStringLiteral("config"),
               QStringLiteral("spam")};
    return names;
}

MailWindow::MailWindow(QWidget *parent)
    : FWindow(parent)
{
    setObjectName(QStringLiteral("MailWindow"));
}

MailWindow::~MailWindow()
{
    delete m_info;
    delete m_capabilities;
}

int MailWindow::peekNextLogId()
{
    return g_lastLogId + 1;
}

void MailWindow::buildTree()
{
    using K = FMainTreeItem::Kind;
    namespace S = SectionId;
    FMainTree *t = tree();
    const bool fax = UtKontainer::getBool(UtKey::FaxPluginInstalled);
    const QString product = UtKontainer::getText(UtKey::AppEngineName);

    t->addItem(S::ProductInfo, K::Root, product, tr("Information about %1.").arg(product),
               QStringLiteral("iconapp"));
    t->addItem(S::Configuration, K::Folder, tr("Configuration"), {},
               QStringLiteral("configuration_tree"));
    t->addItem(S::Services, K::Section, tr("Services"), {}, QStringLiteral("services_tree"));
    t->addItem(S::Domains, K::Section, tr("Domains"), {}, QStringLiteral("domains_tree"));
    t->addItem(S::SmtpServer, K::Section, tr("SMTP Server"), {}, QStringLiteral("smtpserver_tree"));
    t->addItem(S::ContentFilter, K::Folder, tr("Content Filter"), {},
               QStringLiteral("contentfilter_tree"));
    t->addItem(S::SpamFilter, K::Section, tr("Spam Filter"), {}, QStringLiteral("spamfilter_tree"));
    t->addItem(S::Antivirus, K::Section, tr("Antivirus"), {}, QStringLiteral("antivirus_tree"));
    t->addItem(S::AttachmentFilter, K::Section, tr("Attachment Filter"), {},
               QStringLiteral("attachmentfilter_tree"));
    t->closeFolder();
    UtKontainer::setInt(UtKey::ClusteringVisible, 0);
    t->addItem(S::Clustering, K::Section, tr("Clustering"), {}, QStringLiteral("clustering_tree"),
               false);
    t->addItem(S::Backup, K::Section, tr("Archiving") + QStringLiteral(" & ") + tr("Backup"), {},
               QStringLiteral("backup_tree"));
    t->addItem(S::InternetConnection, K::Section, tr("Internet Connection"), {},
               QStringLiteral("internetconnection_tree"));
    t->addItem(S::Scheduling, K::Section, tr("Scheduling"), {}, QStringLiteral("scheduling_tree"));
    t->addItem(S::Pop3Download, K::Section, tr("POP3 Download"), {},
               QStringLiteral("pop3download_tree"));
    t->addItem(S::EtrnDownload, K::Section, tr("ETRN Download"), {},
               QStringLiteral("etrndownload_tree"));
    t->addItem(S::RemoteAdministration, K::Section, tr("Remote Administration"), {},
               QStringLiteral("remoteadministration_tree"));
    t->addItem(S::SslCertificates, K::Section, tr("SSL Certificates"), {},
               QStringLiteral("sslcertificates_tree"));
    t->addItem(S::AdvancedOptions, K::Section, tr("Advanced Options"), {},
               QStringLiteral("advancedoptions_tree"));
    t->addItem(S::FaxPlugin, K::Section, tr("Fax Plugin"), {}, QStringLiteral("faxplugin_tree"),
               fax);
    t->addItem(S::Definitions, K::Folder, tr("Definitions"), {},
               QStringLiteral("definitions_tree"));
    t->addItem(S::TimeRanges, K::Section, tr("Time Ranges"), {}, QStringLiteral("timeranges_tree"));
    t->addItem(S::AddressGroups, K::Section, tr("IP Address Groups"), {},
               QStringLiteral("addressgroups_tree"));
    t->addItem(S::UserTemplates, K::Section, tr("User Templates"), {},
               QStringLiteral("usertemplates_tree"));
    t->closeFolder();
    t->closeFolder();
    t->addItem(S::DomainSettings, K::Folder, tr("Domain Settings"), {},
               QStringLiteral("domainsettings_tree"));
    t->addItem(S::Users, K::Section, tr("Users"), {}, QStringLiteral("users_tree"));
    t->addItem(S::Groups, K::Section, tr("Groups"), {}, QStringLiteral("groups_tree"));
    t->addItem(S::Aliases, K::Section, tr("Aliases"), {}, QStringLiteral("aliases_tree"));
    t->addItem(S::MailingLists, K::Section, tr("Mailing Lists"), {},
               QStringLiteral("mailinglists_tree"));
    t->closeFolder();
    t->addItem(S::Status, K::Folder, tr("Status"), {}, QStringLiteral("status_tree"));
    t->addItem(S::MessageQueue, K::Section, tr("Message Queue"), {},
               QStringLiteral("messagequeue_tree"));
    t->addItem(S::TrafficCharts, K::Section, tr("Traffic Charts"), {},
               QStringLiteral("trafficcharts_tree"));
    t->addItem(S::Statistics, K::Section, tr("Statistics"), {}, QStringLiteral("statistics_tree"));
    t->addItem(S::ActiveConnections, K::Section, tr("Active Connections"), {},
               QStringLiteral("activeconnections_tree"));
    t->addItem(S::OpenedFolders, K::Section, tr("Opened Folders"), {},
               QStringLiteral("openedfolders_tree"));
    t->addItem(S::FaxPluginCalls, K::Section, tr("Fax Plugin Calls"), {},
               QStringLiteral("faxplugincalls_tree"), fax);
    t->addItem(S::XsanCluster, K::Section, tr("Xsan Cluster"), {}, QStringLiteral("xsan_tree"),
               m_xsanAvailable && UtKontainer::getInt(UtKey::OsVersion, -1) == 2);
    t->closeFolder();
}

QString MailWindow::pageClassName(int id)
{
    namespace S = SectionId;
    static const QHash<int, const char *> names
            = {{S::Services, "ServiceWnd"},
               {S::Domains, "DomainWnd"},
               {S::SmtpServer, "SmtpServerWnd"},
               {S::SpamFilter, "SpamFilterWnd"},
               {S::Antivirus, "AntivirWnd"},
               {S::AttachmentFilter, "AttachmentFilterWnd"},
               {S::Clustering, "ClusteringWnd"},
               {S::Backup, "BackupWnd"},
               {S::InternetConnection, "InternetConnWnd"},
               {S::Scheduling, "SchedulingWnd"},
               {S::Pop3Download, "Pop3Wnd"},
               {S::RemoteAdministration, "RemoteAdministrationWnd"},
               {S::SslCertificates, "SslCertificatesWnd"},
               {S::AdvancedOptions, "AdvancedWnd"},
               {S::FaxPlugin, "FaxWnd"},
               {S::TimeRanges, "GWndTimeInt"},
               {S::AddressGroups, "GWndIPGroup"},
               {S::UserTemplates, "TemplateWnd"},
               {S::Users, "UserWnd"},
               {S::Groups, "GroupWnd"},
               {S::Aliases, "AliasWnd"},
               {S::MailingLists, "MailingListWnd"},
               {S::MessageQueue, "MessageQueueWnd"},
               {S::TrafficCharts, "TimeGraphWnd"},
               {S::Statistics, "StatisticWnd"},
               {S::ActiveConnections, "ActiveConnectionsWnd"},
               {S::OpenedFolders, "OpenedFoldersWnd"},
               {S::FaxPluginCalls, "FaxServerCallsWnd"},
               {S::XsanCluster, "XsanStatusWnd"}};
    if (id == S::EtrnDownload) {
        return UtKontainer::getInt(UtKey::OsVersion, -1) == 0 ? QStringLiteral("EtrnWnd")
                                                              : QStringLiteral("EtrnServersWnd");
    }
    if (id == S::ProductInfo)
        return QStringLiteral("ProductInfoWnd");
    return QString::fromLatin1(names.value(id, ""));
}

QWidget *MailWindow::createPage(int id, QWidget *parent)
{
    if (id == SectionId::ProductInfo) {
        auto *page = new ProductInfoWnd(parent);
        page->load();
        return page;
    }
    if (id > SectionId::ProductInfo)
        return nullptr;
    FMainTreeItem *item = tree()->item(id);
    if (!item || item->kind() == FMainTreeItem::Folder)
        return nullptr;
    // The page folders' pages; the page area loads them once they are shown.
    if (QWidget *page = BPageFactory::instance().create(id, parent))
        return page;
    // Sections whose pages are not written yet get a stand-in named after the
    // page it will be.
    auto *page = new UnavailableWnd(item->text(0), parent);
    page->setObjectName(pageClassName(id));
    return page;
}

QWidget *MailWindow::createLogPage(QWidget *parent, const QString &name)
{
    if (QWidget *page = BPageFactory::instance().createLog(name, parent))
        return page;
    const bool debugVariant = name.compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0;
    auto *page = new UnavailableWnd(
            debugVariant ? tr("Log %1 (debug)").arg(name) : tr("Log %1").arg(name), parent);
    return page;
}

FMainTreeItem *MailWindow::addLogFolder(FMainTreeItem *parent, QTreeWidgetItem *after)
{
    return tree()->addItemAfter(parent, after, SectionId::Logs, FMainTreeItem::Folder, tr("Logs"),
                                tr("Log files."), QStringLiteral("logs"), QStringLiteral("_32"));
}

FMainTreeItem *MailWindow::addLogItem(FMainTreeItem *parent, QTreeWidgetItem *after,
                                      const QString &name)
{
    const int id = ++g_lastLogId;
    if (!knownLogNames().contains(name))
        return nullptr;
    return tree()->addItemAfter(parent, after, id, FMainTreeItem::LogFile, name,
                                tr("%1 file.").arg(name), QStringLiteral("log") + name,
                                QStringLiteral("_32"));
}

QPixmap MailWindow::defaultHeaderPixmap() const
{
    return FImages::pixmap(QStringLiteral("iconapp32.png"));
}

void MailWindow::loadData()
{
    delete m_info;
    delete m_capabilities;
    m_info = nullptr;
    m_capabilities = nullptr;
    m_pendingTables = 2;
    const auto keep = [this](FQueryResult *&slot) {
        return [this, &slot](const FQueryResult &result) {
            delete slot;
            slot = new FQueryResult(result);
            serverTableArrived();
        };
    };
    if (!FServerQuery::run(connection(), QStringLiteral("select GetCapabilities()"), this,
                           keep(m_capabilities))
        || !FServerQuery::run(connection(), QStringLiteral("select Version, OsCode from Info"),
                              this, keep(m_info))) {
        m_pendingTables = 0;
        slotDataError(tr("Not connected."));
    }
}

void MailWindow::serverTableArrived()
{
    if (--m_pendingTables > 0)
        return;
    for (const FQueryResult *table : {m_capabilities, m_info}) {
        if (!table || !table->ok()) {
            slotDataError(table ? table->errorText : QString());
            return;
        }
    }
    slotDataLoaded();
}

void MailWindow::slotDataLoaded()
{
    if (m_info && !m_info->rows.isEmpty()) {
        UtKontainer::setText(UtKey::ServerVersion, m_info->firstValue(QStringLiteral("Version")));
        bool ok = false;
        const qint64 osCode = m_info->firstValue(QStringLiteral("OsCode")).toLongLong(&ok);
        if (ok) {
            if (osCode < 65536)
                UtKontainer::setInt(UtKey::OsVersion, 0);
            else if (osCode == 65536)
                UtKontainer::setInt(UtKey::OsVersion, 1);
            else if (osCode == 131072)
                UtKontainer::setInt(UtKey::OsVersion, 2);
        }
    }
    bool fax = false;
    if (m_capabilities) {
        const int column = qMax(0, m_capabilities->column(QStringLiteral("Capability")));
        for (const QStringList &row : m_capabilities->rows)
            fax = fax || row.value(column) == QLatin1String("FAX-SERVER");
    }
    UtKontainer::setBool(UtKey::FaxPluginInstalled, fax);
    probeHighlighting();

    tree()->beginBuild();
    buildTree();
    tree()->restoreOpenFolders();
    if (UtKontainer::getInt(UtKey::OsVersion, -1) == 2)
        probeClusterStatus();
    markInfoLoaded();
}

void MailWindow::probeHighlighting()
{
    FServerQuery::run(connection(),
                      QStringLiteral("select %1 from %2")
                              .arg(QStringLiteral("Id"), QStringLiteral("LogHighlighting")),
                      this, [](const FQueryResult &result) {
                          if (result.ok())
                              UtKontainer::setInt(UtKey::AdminHasLogRegExp, 1);
                          else
                              fTrace(QStringLiteral("Table 'LogHighligting' is missing in engine"));
                      });
}

void MailWindow::probeClusterStatus()
{
    FServerQuery::run(connection(),
                      QStringLiteral("select ") + QStringLiteral("ShowClusterStatus()"), this,
                      [this](const FQueryResult &result) {
                          m_xsanAvailable = result.ok();
                          tree()->beginBuild();
                          buildTree();
                      });
}

void MailWindow::slotDataError(const QString &text)
{
    markInfoLoaded();
    // Errors of a session that is going down are not worth a box.
    DBConn *conn = connection();
    if (!text.isEmpty() && conn && conn->isConnected())
        FMessageBox::critical(this, UtKontainer::getText(UtKey::Caption), text);
}

void MailWindow::slotStoreStatistic()
{
    QMessageBox::information(this, UtKontainer::getText(UtKey::Caption),
                             tr("Store statistics are not available in this version."));
}

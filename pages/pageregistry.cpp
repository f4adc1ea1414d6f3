#include "pages/pageregistry.h"

#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "pages/definitions/gwndipgroup.h"
#include "pages/definitions/gwndtimeint.h"
#include "pages/aliases/aliaswnd.h"
#include "pages/backup/backupwnd.h"
#include "pages/domains/domainwnd.h"
#include "pages/etrn/etrnwnd.h"
#include "pages/groups/groupwnd.h"
#include "pages/mailinglists/mailinglistwnd.h"
#include "pages/pop3/pop3wnd.h"
#include "pages/remoteadmin/remoteadministrationwnd.h"
#include "pages/scheduler/schedulingwnd.h"
#include "pages/services/servicewnd.h"
#include "pages/smtp/smtpserverwnd.h"
#include "pages/users/templatewnd.h"
#include "pages/users/userwnd.h"
#include "pages/spamfilter/spamfilterwnd.h"
#include "status/statuspages.h"

namespace pages {

void registerPages(BPageFactory &factory)
{
    // One line per section folder, for example:
    //     factory.add(SectionId::Aliases, [](QWidget *parent) { return new AliasWnd(parent); });
    // (the folder's library is linked in pages/CMakeLists.txt).
    status::registerPages(factory);
    factory.add(SectionId::EtrnDownload, createEtrnPage);
    factory.add(SectionId::Scheduling, [](QWidget *parent) { return new SchedulingWnd(parent); });
    factory.add(SectionId::Pop3Download, [](QWidget *parent) { return new Pop3Wnd(parent); });
    factory.add(SectionId::Groups, [](QWidget *parent) { return new GroupWnd(parent); });
    factory.add(SectionId::Services, [](QWidget *parent) { return new ServiceWnd(parent); });
    factory.add(SectionId::SmtpServer, [](QWidget *parent) { return new SmtpServerWnd(parent); });
    factory.add(SectionId::AddressGroups, [](QWidget *parent) { return new GWndIPGroup(parent); });
    factory.add(SectionId::TimeRanges, [](QWidget *parent) { return new GWndTimeInt(parent); });
    factory.add(SectionId::RemoteAdministration,
                [](QWidget *parent) { return new RemoteAdministrationWnd(parent); });
    factory.add(SectionId::Aliases, [](QWidget *parent) { return new AliasWnd(parent); });
    factory.add(SectionId::MailingLists,
                [](QWidget *parent) { return new MailingListWnd(parent); });
    factory.add(SectionId::Users, [](QWidget *parent) { return new UserWnd(parent); });
    factory.add(SectionId::UserTemplates, [](QWidget *parent) { return new TemplateWnd(parent); });
    factory.add(SectionId::SpamFilter, [](QWidget *parent) { return new SpamFilterWnd(parent); });
    factory.add(SectionId::Backup, [](QWidget *parent) { return new BackupWnd(parent); });
    factory.add(SectionId::Domains, [](QWidget *parent) { return new DomainWnd(parent); });
}

} // namespace pages

#include "pages/pageregistry.h"

#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "pages/backup/backupwnd.h"
#include "pages/etrn/etrnwnd.h"
#include "pages/pop3/pop3wnd.h"
#include "pages/scheduler/schedulingwnd.h"
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
    factory.add(SectionId::SpamFilter, [](QWidget *parent) { return new SpamFilterWnd(parent); });
    factory.add(SectionId::Backup, [](QWidget *parent) { return new BackupWnd(parent); });
}

} // namespace pages

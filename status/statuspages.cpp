#include "status/statuspages.h"

#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "status/activeconnectionswnd.h"
#include "status/messagequeuewnd.h"
#include "status/openedfolderswnd.h"
#include "status/statisticwnd.h"
#include "status/timegraphwnd.h"

namespace status {

void registerPages(BPageFactory &factory)
{
    factory.add(SectionId::MessageQueue,
                [](QWidget *parent) { return new MessageQueueWnd(parent); });
    factory.add(SectionId::ActiveConnections,
                [](QWidget *parent) { return new ActiveConnectionsWnd(parent); });
    factory.add(SectionId::OpenedFolders,
                [](QWidget *parent) { return new OpenedFoldersWnd(parent); });
    factory.add(SectionId::Statistics, [](QWidget *parent) { return new StatisticWnd(parent); });
    factory.add(SectionId::TrafficCharts, [](QWidget *parent) { return new TimeGraphWnd(parent); });
}

} // namespace status

#include "pages/pageregistry.h"

#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "status/statuspages.h"

namespace pages {

void registerPages(BPageFactory &factory)
{
    // One line per section folder, for example:
    //     factory.add(SectionId::Aliases, [](QWidget *parent) { return new AliasWnd(parent); });
    // (the folder's library is linked in pages/CMakeLists.txt).
    status::registerPages(factory);
}

} // namespace pages

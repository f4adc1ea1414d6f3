#pragma once

class BPageFactory;

namespace pages {

// Adds the page of every section folder to the factory. An explicit call (not
// self-registering objects, which the linker drops from static libraries).
void registerPages(BPageFactory &factory);

} // namespace pages

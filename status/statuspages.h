#pragma once

class BPageFactory;

namespace status {

// Adds the status sections' pages (queue, connections, opened folders,
// statistics, traffic charts) to the factory.
void registerPages(BPageFactory &factory);

} // namespace status

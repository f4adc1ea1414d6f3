#pragma once

class BPageFactory;

namespace logs {

// Makes the page factory build the log view for the tree's log items.
void registerLogView(BPageFactory &factory);

} // namespace logs

#pragma once

#include <QString>

class QWidget;

// The IP address group editor opened by the "&Edit..." buttons beside the
// group selectors.
namespace groupeditor {

// Opens the editor restricted to one group (the whole list when the name is
// empty); true when a change was applied on the server.
bool edit(const QString &group, QWidget *parent);

} // namespace groupeditor

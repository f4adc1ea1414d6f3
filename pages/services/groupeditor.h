#pragma once

#include <QString>

class QWidget;

// The IP address group editor opened by the "&Edit..." buttons beside the
// group selectors.
namespace groupeditor {

// True when this build carries the editor (the buttons are hidden otherwise).
bool available();
// Opens the editor restricted to one group; true when a change was applied.
bool edit(const QString &group, QWidget *parent);

} // namespace groupeditor

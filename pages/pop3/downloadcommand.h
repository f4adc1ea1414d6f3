#pragma once

#include <QString>

class QWidget;

// Starting a transfer at once ("Download POP3", "Download ETRN"): unapplied
// edits are applied first (after asking), then the server function is called
// and the administrator told whether the action started.
namespace downloadcommand {

// The apply-first question; true when there was nothing to apply or the
// edits were applied.
bool applyPendingChanges(QWidget *page);

// Calls the server function (no arguments) synchronously and shows the
// outcome; true when the server reports the action started.
bool run(QWidget *page, const QString &function);

// The texts shown, for the pages' tests.
QString startedText();
QString failedText();
QString applyFirstText();

} // namespace downloadcommand

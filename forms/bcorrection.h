#pragma once

#include <QString>

class QWidget;

// The correction question pages ask after a validation message: Yes keeps the
// administrator at the field concerned, No lets the value stand.
namespace bcorrection {

// The message followed by "<nobr><br><br>Do you want to correct the problem?</nobr>".
QString questionText(const QString &message);

// Asks the question with Yes and No under the "utKontCaption" caption; true
// when the administrator wants to correct the value (Yes).
bool askToCorrect(QWidget *parent, const QString &message);

} // namespace bcorrection

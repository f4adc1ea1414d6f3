#include "forms/bcorrection.h"

#include "forms/bmessagebox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace bcorrection {

QString questionText(const QString &message)
{
    return message
            + QCoreApplication::translate(
                    "BCorrection", "<nobr><br><br>Do you want to correct the problem?</nobr>");
}

bool askToCorrect(QWidget *parent, const QString &message)
{
    QMessageBox box(QMessageBox::Question, bmessagebox::caption(), questionText(message),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("BCorrectionQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace bcorrection

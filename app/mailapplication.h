#pragma once

#include "app/fapplication.h"

// This console's application: its version entries, texts and pictures, and
// the settings group of its persistent entries.
class MailApplication : public FApplication
{
    Q_OBJECT

public:
    MailApplication(int &argc, char **argv);

    QString getText(int number) const override;
    QPixmap getIcon(int number) const override;

protected:
    bool applyLaunchParameters(LaunchMode mode) override;
    void setApplicationTexts() override;
    void setVersionInfo() override;
    QString settingsGroup() const override;
};

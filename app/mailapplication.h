#pragma once

#include "app/fapplication.h"

// This console's application: its version entries, texts and pictures, and
// the settings group of its persistent entries.
class BPageFactory;

class MailApplication : public FApplication
{
    Q_OBJECT

public:
    MailApplication(int &argc, char **argv);

    // The pages of the section folders and the log view, as the console uses them.
    static void registerPageCreators(BPageFactory &factory);

    QString getText(int number) const override;
    QPixmap getIcon(int number) const override;

protected:
    bool applyLaunchParameters(LaunchMode mode) override;
    void setApplicationTexts() override;
    void setVersionInfo() override;
    QString settingsGroup() const override;
};

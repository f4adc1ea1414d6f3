#pragma once

#include <QWidget>

// The page area as the form framework sees it: the widget that carries the
// Apply and Reset buttons to the current page. The shell's page area derives
// from it and registers itself under "utKontFWindow"; every view connects these
// signals to its own slots when it is constructed.
class BFrameWindow : public QWidget
{
    Q_OBJECT
public:
    explicit BFrameWindow(QWidget *parent = nullptr);

signals:
    // The current page saves its edits and reports success through ok.
    void signalApply(bool *ok);
    // The current page drops its edits.
    void signalReset();
};

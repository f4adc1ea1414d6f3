#include "forms/bframewindow.h"

BFrameWindow::BFrameWindow(QWidget *parent)
    : QWidget(parent)
{ }

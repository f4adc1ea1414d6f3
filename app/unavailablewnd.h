#pragma once

#include <QWidget>

// The page of a section that this version of the console does not provide yet.
class UnavailableWnd : public QWidget
{
    Q_OBJECT

public:
    UnavailableWnd(const QString &sectionText, QWidget *parent = nullptr);
};

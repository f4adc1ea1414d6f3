#pragma once

#include <QLabel>

// The line under a list that says how many rows it holds ("Users: 6").
// A screen reader reads it as text: its accessible name is what it shows,
// and it offers the text interface, so the count is read, not a caption.
class BCountLabel : public QLabel
{
    Q_OBJECT
public:
    explicit BCountLabel(QWidget *parent = nullptr);

    // Sets the text and tells assistive tools that it changed.
    void setCount(const QString &text);
};

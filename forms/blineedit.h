#pragma once

#include <QLineEdit>

// A line edit that never takes a line break: text inserted, pasted or dropped
// into it is cut before its first carriage return or line feed.
class BLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit BLineEdit(QWidget *parent = nullptr);
    explicit BLineEdit(const QString &text, QWidget *parent = nullptr);

    // The part of text before its first CR or LF; sets *cut when it cut.
    static QString cutAtLineBreak(const QString &text, bool *cut = nullptr);

public slots:
    void insert(const QString &text);
    void paste();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

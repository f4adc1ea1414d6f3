#pragma once

#include "forms/blineedit.h"

// A line edit that shows a placeholder instead of a value until the
// administrator types one. While the placeholder shows, the echo mode is
// normal; once it is removed the edit returns to its own echo mode.
// signalTextIsValid(bool) follows every text change: valid while the
// placeholder stands (nothing to change) or when the typed text is acceptable.
class BDummyLineEdit : public BLineEdit
{
    Q_OBJECT
public:
    explicit BDummyLineEdit(QWidget *parent = nullptr);

    static QString defaultDummyText();

    void setDummyText(const QString &text);
    QString dummyText() const { return m_dummyText; }
    // The echo mode used once a value is typed.
    void setOwnEchoMode(EchoMode mode);
    EchoMode ownEchoMode() const { return m_ownEchoMode; }

    // Shows the placeholder (drops any typed value).
    void showDummy();
    // Removes the placeholder so a value can be typed.
    void removeDummy();
    bool isDummy() const { return m_dummyShown; }
    // The typed value; empty while the placeholder shows.
    QString value() const;

signals:
    void signalTextIsValid(bool valid);

protected slots:
    void slotTextChanged(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString m_dummyText;
    EchoMode m_ownEchoMode = Normal;
    bool m_dummyShown = false;
    bool m_switching = false;
};

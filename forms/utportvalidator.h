#pragma once

#include <QValidator>

// A port, and where lists are allowed a comma-separated list of ports and
// ranges ("25,110,1000-2000"). A port is valid between minimum and maximum; a
// port 0 is accepted only when the caller allows an empty port.
class UtPortValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UtPortValidator(QObject *parent = nullptr);
    UtPortValidator(int minimum, int maximum, bool listsAllowed, QObject *parent = nullptr);

    State validate(QString &text, int &pos) const override;

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    bool listsAllowed() const { return m_listsAllowed; }
    void setListsAllowed(bool allowed) { m_listsAllowed = allowed; }
    // Lets an empty text and a port 0 stand for "no port".
    void setZeroAllowed(bool allowed) { m_zeroAllowed = allowed; }
    bool zeroAllowed() const { return m_zeroAllowed; }

private:
    State validatePort(const QString &digits) const;
    State validateItem(const QString &item) const;

    int m_minimum = 1;
    int m_maximum = 65535;
    bool m_listsAllowed = true;
    bool m_zeroAllowed = false;
};

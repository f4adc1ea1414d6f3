#pragma once

#include <QPointer>
#include <QValidator>

// Limits the length of a text in bytes of its UTF-8 form (what the server
// stores), optionally followed by an inner validator, which it takes over.
class UtLengthValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UtLengthValidator(int maximumBytes, QValidator *inner = nullptr,
                               QObject *parent = nullptr);

    State validate(QString &text, int &pos) const override;
    int maximumBytes() const { return m_maximumBytes; }

private:
    int m_maximumBytes;
    QPointer<QValidator> m_inner;
};

#pragma once

#include <QSpinBox>
#include <QValidator>

class BSpinBoxBase;

// Checks the text of a BSpinBoxBase: prefix and suffix stripped, an integer
// within the box's range (below the minimum counts as incomplete).
class BSpinBoxBaseValidator : public QValidator
{
    Q_OBJECT
public:
    explicit BSpinBoxBaseValidator(BSpinBoxBase *box);
    State validate(QString &text, int &pos) const override;

private:
    BSpinBoxBase *m_box;
};

// A spin box with prefix and suffix whose text is checked by
// BSpinBoxBaseValidator. It also reports its value as text.
class BSpinBoxBase : public QSpinBox
{
    Q_OBJECT
public:
    explicit BSpinBoxBase(QWidget *parent = nullptr);

    QValidator::State validate(QString &text, int &pos) const override;
    // The text without prefix and suffix, trimmed.
    QString cleanValueText(const QString &text) const;

public slots:
    // Sets the value without reporting it as the administrator's change.
    void _setValue(int value);

signals:
    void valueChanged(const QString &text);

private:
    BSpinBoxBaseValidator *m_validator;
};

class BSpinBox : public BSpinBoxBase
{
    Q_OBJECT
public:
    explicit BSpinBox(QWidget *parent = nullptr);
};

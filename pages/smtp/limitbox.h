#pragma once

#include <QObject>
#include <QString>

class BSpinBox;
class QCheckBox;

// A limit that can be switched off: a check box and its spin box. 0 is
// stored for "no limit"; a ticked box stores the spin box's value and must
// hold an acceptable number (an empty box never stores 0).
class LimitBox : public QObject
{
    Q_OBJECT
public:
    LimitBox(QCheckBox *check, BSpinBox *spin, int maximum, QObject *parent = nullptr);

    void load(const QString &stored);
    QString value() const;
    bool isValid() const;
    void setEnabled(bool enabled);

    QCheckBox *check() const { return m_check; }
    BSpinBox *spin() const { return m_spin; }

signals:
    void signalChanged();

private:
    void updateEnabled();

    QCheckBox *m_check;
    BSpinBox *m_spin;
    bool m_enabled = true;
};

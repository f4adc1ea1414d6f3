#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The "maximum message size" group of the domain and user dialogs. A limit is
// kept in kilobytes; 0 means "use the limit of the level above" and 1 means
// unlimited (-1, written by older consoles, reads as unlimited too). The edit
// shows the number in the unit chosen in the combo; changing the unit
// converts the number shown, never the limit. "Set Unlimited" writes
// "Unlimited" into the edit.
class PvnMaxSizeImpl : public QGroupBox
{
    Q_OBJECT
public:
    static constexpr qint64 kInherited = 0;
    static constexpr qint64 kUnlimited = 1;
    // value() of the "[Don't change this setting]" choice (several rows edited at once).
    static constexpr qint64 kNoChange = -2;

    // inheritText labels the choice that takes the limit of the level above
    // ("Use the global limit", "Use the limit defined for this domain:").
    PvnMaxSizeImpl(const QString &title, const QString &inheritText, QWidget *parent = nullptr);

    // "Unlimited" as the edit shows it.
    static QString unlimitedText();
    static bool isUnlimited(qint64 kilobytes) { return kilobytes == 1 || kilobytes == -1; }
    // The size in the largest unit that keeps it exact ("20 MB", "1500 kB").
    static QString sizeText(qint64 kilobytes);

    // Shows a stored limit; kNoChange selects the choice that keeps each
    // row's own limit (the choice above when it is not offered).
    void setValue(qint64 kilobytes);
    // The limit as chosen: 0, 1 or kilobytes (at least 2), kNoChange; -1
    // when the edit holds no acceptable size.
    qint64 value() const;
    bool isAcceptable() const { return value() != -1; }
    // Offers a first choice that keeps each row's own limit, and selects it.
    void setNoChangeChoice(const QString &text);
    // Shows the inherited limit read-only beside its choice (optional).
    void setInheritedText(const QString &text);
    // The server-wide limit in kilobytes (0 = none); a larger own limit
    // shows the warning text.
    void setGlobalLimit(qint64 kilobytes, const QString &warning);
    // Puts the focus into the size edit.
    void focusSize();
    void setReadOnly(bool readOnly);

    QRadioButton *m_rbNoChange; // hidden unless offered
    QRadioButton *m_rbInherit;
    QLineEdit *m_edInherited;
    QRadioButton *m_rbMaxSize;
    QLineEdit *m_edMaxSize;
    QComboBox *m_cboMaxSize;
    QPushButton *m_btnSetUnlimited;
    QLabel *m_lblWarning;

signals:
    void signalChanged();

private:
    void unitChanged(int unit);
    void showKilobytes(qint64 kilobytes, int unit);
    void followChoice();
    void updateWarning();
    // The number in the edit in kilobytes, or -1.
    qint64 typedKilobytes() const;

    int m_unit = 0;
    // The kilobytes shown and their text: exact while the edit still holds
    // that text (a unit change may show a rounded number).
    qint64 m_exact = -1;
    QString m_exactText;
    qint64 m_globalLimit = 0;
};

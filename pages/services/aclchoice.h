#pragma once

#include <QObject>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;

// One "restrict to an IP address group" choice: a check box, a combo of the
// group names and the "&Edit..." button beside it. The stored name is kept as
// it is when the combo cannot show it (a group deleted since), and a ticked
// box with no group at all is refused.
class AclChoice : public QObject
{
    Q_OBJECT
public:
    AclChoice(QCheckBox *check, QComboBox *combo, QPushButton *edit, QObject *parent = nullptr);

    // The distinct names of the "Name" column, sorted without letter case.
    static QStringList distinctNames(const QStringList &names);

    // Offers the groups again and reselects the shown name (or the stored
    // one) by name.
    void setGroups(const QStringList &groups);
    // Shows a stored name: ticked when not empty.
    void load(const QString &stored);
    // The name to store: empty when unticked; the stored name while the combo
    // shows none.
    QString value() const;
    // False when the box is ticked but no group is chosen or stored.
    bool isValid() const;
    // The name the editor opens: the chosen group, or the stored one.
    QString currentName() const;
    // Enables the combo and the button as the box and enabled say.
    void setEnabled(bool enabled);

    QCheckBox *check() const { return m_check; }
    QComboBox *combo() const { return m_combo; }
    QPushButton *editButton() const { return m_edit; }

    static QString missingGroupText();

signals:
    void signalChanged();

private:
    void updateEnabled();

    QCheckBox *m_check;
    QComboBox *m_combo;
    QPushButton *m_edit;
    QString m_stored;
    bool m_enabled = true;
};

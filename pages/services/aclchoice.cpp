#include "pages/services/aclchoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSet>

#include <algorithm>

AclChoice::AclChoice(QCheckBox *check, QComboBox *combo, QPushButton *edit, QObject *parent)
    : QObject(parent)
    , m_check(check)
    , m_combo(combo)
    , m_edit(edit)
{
    connect(m_check, &QCheckBox::toggled, this, [this] {
        updateEnabled();
        emit signalChanged();
    });
    connect(m_combo, &QComboBox::activated, this, &AclChoice::signalChanged);
    updateEnabled();
}

QString AclChoice::missingGroupText()
{
    return QCoreApplication::translate("AclChoice", "Choose an IP address group, please.");
}

QStringList AclChoice::distinctNames(const QStringList &names)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString &name : names) {
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        result.append(name);
    }
    std::sort(result.begin(), result.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return result;
}

void AclChoice::setGroups(const QStringList &groups)
{
    const QString shown = m_combo->currentIndex() >= 0 ? m_combo->currentText() : m_stored;
    const bool blocked = m_combo->blockSignals(true);
    m_combo->clear();
    m_combo->addItems(groups);
    m_combo->setCurrentIndex(
            m_combo->findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    m_combo->blockSignals(blocked);
}

void AclChoice::load(const QString &stored)
{
    m_stored = stored;
    const bool blocked = m_check->blockSignals(true);
    m_check->setChecked(!stored.isEmpty());
    m_check->blockSignals(blocked);
    m_combo->setCurrentIndex(
            stored.isEmpty()
                    ? (m_combo->count() > 0 ? 0 : -1)
                    : m_combo->findText(stored, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    updateEnabled();
}

QString AclChoice::value() const
{
    if (!m_check->isChecked())
        return {};
    return m_combo->currentIndex() >= 0 ? m_combo->currentText() : m_stored;
}

bool AclChoice::isValid() const
{
    return !m_check->isChecked() || !value().isEmpty();
}

QString AclChoice::currentName() const
{
    return m_combo->currentIndex() >= 0 ? m_combo->currentText() : m_stored;
}

void AclChoice::setEnabled(bool enabled)
{
    m_enabled = enabled;
    updateEnabled();
}

void AclChoice::updateEnabled()
{
    m_check->setEnabled(m_enabled);
    m_combo->setEnabled(m_enabled && m_check->isChecked());
    if (m_edit)
        m_edit->setEnabled(m_enabled && m_check->isChecked());
}

#include "forms/pvnmaxsize.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 kFactors[] = {1, 1024, 1024 * 1024};

QString trimmedNumber(double number)
{
    QString text = QString::number(number, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

PvnMaxSizeImpl::PvnMaxSizeImpl(const QString &title, const QString &inheritText, QWidget *parent)
    : QGroupBox(title, parent)
{
    setObjectName(QStringLiteral("PvnMaxSizeImpl"));
    m_rbNoChange = new QRadioButton(this);
    m_rbNoChange->setObjectName(QStringLiteral("m_rbNoChange"));
    m_rbNoChange->hide();
    m_rbInherit = new QRadioButton(inheritText, this);
    m_rbInherit->setObjectName(QStringLiteral("m_rbInherit"));
    m_edInherited = new QLineEdit(this);
    m_edInherited->setObjectName(QStringLiteral("m_edInherited"));
    m_edInherited->setReadOnly(true);
    m_edInherited->setAccessibleName(QString(inheritText).remove(QLatin1Char('&')));
    m_edInherited->hide();
    m_rbMaxSize = new QRadioButton(tr("&Limit outgoing message size to:"), this);
    m_rbMaxSize->setObjectName(QStringLiteral("m_rbMaxSize"));
    m_edMaxSize = new QLineEdit(this);
    m_edMaxSize->setObjectName(QStringLiteral("m_edMaxSize"));
    m_edMaxSize->setAccessibleName(tr("Message size limit"));
    m_cboMaxSize = new QComboBox(this);
    m_cboMaxSize->setObjectName(QStringLiteral("m_cboMaxSize"));
    m_cboMaxSize->addItems({tr("kB"), tr("MB"), tr("GB")});
    m_cboMaxSize->setAccessibleName(tr("Message size unit"));
    m_btnSetUnlimited = new QPushButton(tr("Set &Unlimited"), this);
    m_btnSetUnlimited->setObjectName(QStringLiteral("m_btnSetUnlimited"));
    m_lblWarning = new QLabel(this);
    m_lblWarning->setObjectName(QStringLiteral("m_lblWarning"));
    m_lblWarning->setWordWrap(true);
    m_lblWarning->hide();

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_rbNoChange, 0, 0, 1, 4);
    grid->addWidget(m_rbInherit, 1, 0);
    grid->addWidget(m_edInherited, 1, 1, 1, 2);
    grid->addWidget(m_rbMaxSize, 2, 0);
    grid->addWidget(m_edMaxSize, 2, 1);
    grid->addWidget(m_cboMaxSize, 2, 2);
    grid->addWidget(m_btnSetUnlimited, 2, 3);
    grid->addWidget(m_lblWarning, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    setTabOrder(m_rbNoChange, m_rbInherit);
    setTabOrder(m_rbInherit, m_rbMaxSize);
    setTabOrder(m_rbMaxSize, m_edMaxSize);
    setTabOrder(m_edMaxSize, m_cboMaxSize);
    setTabOrder(m_cboMaxSize, m_btnSetUnlimited);

    connect(m_rbMaxSize, &QRadioButton::toggled, this, [this] {
        followChoice();
        emit signalChanged();
    });
    connect(m_cboMaxSize, &QComboBox::currentIndexChanged, this, [this](int unit) {
        unitChanged(unit);
        emit signalChanged();
    });
    connect(m_edMaxSize, &QLineEdit::textEdited, this, [this] {
        m_exact = -1;
        emit signalChanged();
    });
    // Also when the text is set without typing.
    connect(m_edMaxSize, &QLineEdit::textChanged, this, &PvnMaxSizeImpl::updateWarning);
    connect(m_btnSetUnlimited, &QPushButton::clicked, this, [this] {
        m_exact = -1;
        m_edMaxSize->setText(unlimitedText());
        emit signalChanged();
    });
    m_rbInherit->setChecked(true);
    followChoice();
}

QString PvnMaxSizeImpl::unlimitedText()
{
    return QCoreApplication::translate("Domain dialog - maximum message size", "Unlimited");
}

QString PvnMaxSizeImpl::sizeText(qint64 kilobytes)
{
    static const char *const units[]
            = {QT_TRANSLATE_NOOP("PvnMaxSizeImpl", "kB"), QT_TRANSLATE_NOOP("PvnMaxSizeImpl", "MB"),
               QT_TRANSLATE_NOOP("PvnMaxSizeImpl", "GB")};
    int unit = 0;
    for (int candidate = 2; candidate > 0 && kilobytes != 0; --candidate) {
        if (kilobytes % kFactors[candidate] == 0) {
            unit = candidate;
            break;
        }
    }
    return QString::number(kilobytes / kFactors[unit]) + QLatin1Char(' ')
            + QCoreApplication::translate("PvnMaxSizeImpl", units[unit]);
}

void PvnMaxSizeImpl::setValue(qint64 kilobytes)
{
    const QSignalBlocker blockCombo(m_cboMaxSize);
    if (kilobytes == kNoChange && m_rbNoChange->isVisibleTo(this)) {
        m_rbNoChange->setChecked(true);
        m_edMaxSize->clear();
        m_exact = -1;
    } else if (kilobytes == kInherited || kilobytes == kNoChange) {
        m_rbInherit->setChecked(true);
        m_edMaxSize->clear();
        m_exact = -1;
    } else {
        m_rbMaxSize->setChecked(true);
        if (isUnlimited(kilobytes)) {
            m_edMaxSize->setText(unlimitedText());
            m_exact = -1;
        } else {
            int unit = 0;
            for (int candidate = 2; candidate > 0; --candidate) {
                if (kilobytes % kFactors[candidate] == 0) {
                    unit = candidate;
                    break;
                }
            }
            m_cboMaxSize->setCurrentIndex(unit);
            showKilobytes(kilobytes, unit);
        }
    }
    m_unit = m_cboMaxSize->currentIndex();
    followChoice();
}

void PvnMaxSizeImpl::showKilobytes(qint64 kilobytes, int unit)
{
    if (kilobytes % kFactors[unit] == 0)
        m_edMaxSize->setText(QString::number(kilobytes / kFactors[unit]));
    else
        m_edMaxSize->setText(trimmedNumber(double(kilobytes) / double(kFactors[unit])));
    m_exact = kilobytes;
    m_exactText = m_edMaxSize->text();
}

qint64 PvnMaxSizeImpl::typedKilobytes() const
{
    if (m_exact >= 0 && m_edMaxSize->text() == m_exactText)
        return m_exact;
    bool ok = false;
    const double number = m_edMaxSize->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0)
        return -1;
    const double kilobytes = std::round(number * double(kFactors[m_unit]));
    if (kilobytes > double(std::numeric_limits<qint64>::max() / 2))
        return -1;
    return qint64(kilobytes);
}

void PvnMaxSizeImpl::unitChanged(int unit)
{
    if (unit < 0 || unit > 2)
        return;
    // The number shown follows the unit; an "Unlimited" or a number being
    // typed that cannot be read stays as it is.
    if (m_edMaxSize->text() != unlimitedText()) {
        const qint64 kilobytes = typedKilobytes();
        m_unit = unit;
        if (kilobytes >= 0)
            showKilobytes(kilobytes, unit);
    }
    m_unit = unit;
    updateWarning();
}

void PvnMaxSizeImpl::setNoChangeChoice(const QString &text)
{
    m_rbNoChange->setText(text);
    m_rbNoChange->show();
    m_rbNoChange->setChecked(true);
    followChoice();
}

qint64 PvnMaxSizeImpl::value() const
{
    if (m_rbNoChange->isChecked())
        return kNoChange;
    if (!m_rbMaxSize->isChecked())
        return kInherited;
    if (m_edMaxSize->text().trimmed() == unlimitedText())
        return kUnlimited;
    const qint64 kilobytes = typedKilobytes();
    // 0 and 1 are the choice above and "Unlimited", never a typed size.
    return kilobytes < 2 ? -1 : kilobytes;
}

void PvnMaxSizeImpl::setInheritedText(const QString &text)
{
    m_edInherited->setText(text);
    m_edInherited->show();
}

void PvnMaxSizeImpl::setGlobalLimit(qint64 kilobytes, const QString &warning)
{
    m_globalLimit = kilobytes;
    m_lblWarning->setText(warning);
    updateWarning();
}

void PvnMaxSizeImpl::focusSize()
{
    m_edMaxSize->setFocus();
    m_edMaxSize->selectAll();
}

void PvnMaxSizeImpl::setReadOnly(bool readOnly)
{
    for (QWidget *widget : std::initializer_list<QWidget *>{m_rbNoChange, m_rbInherit, m_rbMaxSize,
                                                            m_cboMaxSize, m_btnSetUnlimited})
        widget->setEnabled(!readOnly);
    m_edMaxSize->setReadOnly(readOnly);
}

void PvnMaxSizeImpl::followChoice()
{
    const bool own = m_rbMaxSize->isChecked();
    m_edMaxSize->setEnabled(own);
    m_cboMaxSize->setEnabled(own);
    m_btnSetUnlimited->setEnabled(own);
    updateWarning();
}

void PvnMaxSizeImpl::updateWarning()
{
    const qint64 size = value();
    m_lblWarning->setVisible(m_globalLimit > 0 && !m_lblWarning->text().isEmpty()
                             && (size == kUnlimited || size > m_globalLimit));
}

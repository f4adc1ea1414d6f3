#include "pages/spamfilter/spamfilterdialogs.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "pages/spamfilter/spamrules.h"
#include "registry/utkontainer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kCountKey = QStringLiteral("/Other/srrd/count");
const QString kUnitKey = QStringLiteral("/Other/srrd/time");

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

BLineEdit *lineEdit(QWidget *parent, const char *name)
{
    auto *edit = new BLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

// --- Internet blacklist ---

TSpamFilterBlacklistDlg::TSpamFilterBlacklistDlg(QWidget *parent)
    : QDialog(parent)
    , m_edDomain(lineEdit(this, "m_edDomain"))
    , m_edDescription(lineEdit(this, "m_edDescription"))
    , m_rbBlock(new QRadioButton(tr("&Block the message"), this))
    , m_rbScore(new QRadioButton(tr("Add spam &score to the message:"), this))
    , m_edScore(lineEdit(this, "m_edScore"))
    , m_chkAskDirectly(new QCheckBox(
              tr("Ask the blacklist DNS servers &directly (necessary for paid blacklists)"), this))
{
    setWindowTitle(tr("Internet Blacklist"));
    m_rbBlock->setObjectName(QStringLiteral("m_rbBlock"));
    m_rbScore->setObjectName(QStringLiteral("m_rbScore"));
    m_chkAskDirectly->setObjectName(QStringLiteral("m_chkAskDirectly"));
    m_edScore->setAccessibleName(tr("Spam score"));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("DNS s&uffix:"), m_edDomain, this), m_edDomain);
    form->addRow(buddyLabel(tr("Descr&iption:"), m_edDescription, this), m_edDescription);
    auto *score = new QHBoxLayout;
    score->addWidget(m_rbScore);
    score->addWidget(m_edScore);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_rbBlock);
    layout->addLayout(score);
    layout->addWidget(m_chkAskDirectly);
    layout->addWidget(okCancel(this));
    connect(m_rbScore, &QRadioButton::toggled, m_edScore, &QWidget::setEnabled);
}

SpamFilterBlacklistDlg::SpamFilterBlacklistDlg(DBRow *row, QWidget *parent)
    : BDialog<TSpamFilterBlacklistDlg>(parent)
{
    setObjectName(QStringLiteral("SpamFilterBlacklistDlg"));
    m_edScore->setValidator(spamrules::scoreValidator(m_edScore));
    setRow(row);
}

QString SpamFilterBlacklistDlg::duplicateMessage() const
{
    return tr("This blacklist is already defined.");
}

bool SpamFilterBlacklistDlg::fillView()
{
    if (!m_row)
        return false;
    m_edDomain->setText(m_row->text("Domain"));
    m_edDescription->setText(m_row->text("Description"));
    const bool score = m_row->text("Action").toInt() == 1;
    m_rbScore->setChecked(score);
    m_rbBlock->setChecked(!score);
    m_edScore->setEnabled(score);
    m_edScore->setText(QString::number(spamrules::signedScore(*m_row, "Score", "ScoreNegative")));
    m_chkAskDirectly->setChecked(m_row->text("AskDirectly").toInt() != 0);
    return true;
}

bool SpamFilterBlacklistDlg::validate()
{
    if (m_edDomain->text().trimmed().isEmpty()) {
        bmessagebox::warning(this, tr("DNS suffix field cannot be empty."));
        m_edDomain->setFocus();
        return false;
    }
    if (m_rbScore->isChecked() && !spamrules::isAcceptable(m_edScore)) {
        bmessagebox::warning(this, tr("Set correct spam score value, please."));
        m_edScore->setFocus();
        return false;
    }
    return true;
}

void SpamFilterBlacklistDlg::storeView()
{
    m_row->setText("Domain", m_edDomain->text().trimmed());
    m_row->setText("Description", m_edDescription->text());
    if (m_rbScore->isChecked()) {
        m_row->setNumber("Action", 1);
        spamrules::storeSignedScore(*m_row, "Score", "ScoreNegative",
                                    m_edScore->text().trimmed().toInt());
    } else {
        m_row->setNumber("Action", 0);
        spamrules::storeSignedScore(*m_row, "Score", "ScoreNegative", 0);
    }
    m_row->setNumber("AskDirectly", m_chkAskDirectly->isChecked() ? 1 : 0);
}

// --- custom rule ---

TSpamFilterCustomRulesDlg::TSpamFilterCustomRulesDlg(QWidget *parent)
    : QDialog(parent)
    , m_cboHeader(new QComboBox(this))
    , m_cboType(new QComboBox(this))
    , m_edContent(lineEdit(this, "m_edContent"))
    , m_edDescription(lineEdit(this, "m_edDescription"))
    , m_actions(new QButtonGroup(this))
    , m_rbSpam(new QRadioButton(tr("Treat the message as &spam and reject it"), this))
    , m_rbNonSpam(new QRadioButton(
              tr("Treat the message as &non-spam (overrides the SpamAssassin score)"), this))
    , m_rbScore(new QRadioButton(tr("&Add spam score to the message:"), this))
    , m_edScore(lineEdit(this, "m_edScore"))
{
    setWindowTitle(tr("Custom Rule"));
    m_cboHeader->setObjectName(QStringLiteral("m_cboHeader"));
    m_cboHeader->setEditable(true);
    m_cboHeader->addItems({QStringLiteral("Subject"), QStringLiteral("From"), QStringLiteral("To"),
                           QStringLiteral("Cc"), QStringLiteral("Reply-To"),
                           QStringLiteral("Sender"), QStringLiteral("Received"),
                           QStringLiteral("Message-ID"), QStringLiteral("Return-Path"),
                           QStringLiteral("X-Mailer"), QStringLiteral("Content-Type")});
    m_cboType->setObjectName(QStringLiteral("m_cboType"));
    for (int type = 0; type < spamrules::TypeCount; ++type)
        m_cboType->addItem(spamrules::typeText(type));
    m_rbSpam->setObjectName(QStringLiteral("m_rbSpam"));
    m_rbNonSpam->setObjectName(QStringLiteral("m_rbNonSpam"));
    m_rbScore->setObjectName(QStringLiteral("m_rbScore"));
    m_actions->addButton(m_rbSpam, spamrules::ActionSpam);
    m_actions->addButton(m_rbNonSpam, spamrules::ActionNonSpam);
    m_actions->addButton(m_rbScore, spamrules::ActionScore);
    m_edScore->setAccessibleName(tr("Spam score"));
    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Header:"), m_cboHeader, this), m_cboHeader);
    form->addRow(buddyLabel(tr("&Condition:"), m_cboType, this), m_cboType);
    form->addRow(buddyLabel(tr("C&ontent:"), m_edContent, this), m_edContent);
    form->addRow(buddyLabel(tr("Descr&iption:"), m_edDescription, this), m_edDescription);
    auto *score = new QHBoxLayout;
    score->addWidget(m_rbScore);
    score->addWidget(m_edScore);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_rbSpam);
    layout->addWidget(m_rbNonSpam);
    layout->addLayout(score);
    layout->addWidget(okCancel(this));
    connect(m_cboType, &QComboBox::currentIndexChanged, this,
            &TSpamFilterCustomRulesDlg::slotTypeChanged);
}

SpamFilterCustomRulesDlg::SpamFilterCustomRulesDlg(DBRow *row, QWidget *parent)
    : BDialog<TSpamFilterCustomRulesDlg>(parent)
{
    setObjectName(QStringLiteral("SpamFilterCustomRulesDlg"));
    m_edScore->setValidator(spamrules::scoreValidator(m_edScore));
    setRow(row);
}

QString SpamFilterCustomRulesDlg::duplicateMessage() const
{
    return tr("This rule is already defined.");
}

void SpamFilterCustomRulesDlg::slotTypeChanged(int type)
{
    m_edContent->setEnabled(spamrules::typeTakesContent(type));
    if (type == spamrules::TypeHex) {
        if (!m_edContent->validator())
            m_edContent->setValidator(spamrules::hexValidator(m_edContent));
        if (!spamrules::isAcceptable(m_edContent))
            m_edContent->clear();
    } else if (const QValidator *validator = m_edContent->validator()) {
        m_edContent->setValidator(nullptr);
        delete validator;
    }
}

bool SpamFilterCustomRulesDlg::fillView()
{
    if (!m_row)
        return false;
    m_edDescription->setText(m_row->text("Description"));
    m_cboHeader->setCurrentText(m_row->text("Header"));
    // The content first: a type-5 validator then clears what it does not take.
    m_edContent->setText(m_row->text("Content"));
    const int type = qBound(0, m_row->text("Type").toInt(), spamrules::TypeCount - 1);
    m_cboType->setCurrentIndex(type);
    slotTypeChanged(type);
    m_edScore->setText(QString::number(spamrules::signedScore(*m_row, "Score", "ScoreNegative")));
    if (QAbstractButton *button = m_actions->button(m_row->text("Action").toInt()))
        button->setChecked(true);
    // Any other action leaves the buttons as they are: it is kept as stored.
    m_edScore->setEnabled(m_rbScore->isChecked());
    connect(m_rbScore, &QRadioButton::toggled, m_edScore, &QWidget::setEnabled,
            Qt::UniqueConnection);
    return true;
}

bool SpamFilterCustomRulesDlg::validate()
{
    const int type = m_cboType->currentIndex();
    const QString content = m_edContent->text();
    if (spamrules::typeTakesContent(type) && content.isEmpty()) {
        bmessagebox::warning(this, tr("Content field cannot be empty."));
        m_edContent->setFocus();
        return false;
    }
    if (type == spamrules::TypeHex && content.size() % 2 != 0
        && bcorrection::askToCorrect(
                this, tr("Hexadecimal string is not complete. One character is missing."))) {
        m_edContent->setFocus();
        return false;
    }
    if (m_rbScore->isChecked() && !spamrules::isAcceptable(m_edScore)) {
        bmessagebox::warning(this, tr("Set correct spam score value, please."));
        m_edScore->setFocus();
        return false;
    }
    return true;
}

void SpamFilterCustomRulesDlg::storeView()
{
    m_row->setText("Description", m_edDescription->text());
    m_row->setText("Header", m_cboHeader->currentText().trimmed());
    m_row->setNumber("Type", m_cboType->currentIndex());
    m_row->setText("Content", m_edContent->isEnabled() ? m_edContent->text() : QString());
    const int action = m_actions->checkedId();
    if (action == spamrules::ActionScore) {
        m_row->setNumber("Action", action);
        spamrules::storeSignedScore(*m_row, "Score", "ScoreNegative",
                                    m_edScore->text().trimmed().toInt());
    } else if (action >= 0) {
        m_row->setNumber("Action", action);
        spamrules::storeSignedScore(*m_row, "Score", "ScoreNegative", 0);
    }
    // No button chosen: an action this console does not know stays as stored.
}

// --- remove unused rules ---

SpamFilterCustomRulesRemoveDlg::SpamFilterCustomRulesRemoveDlg(QWidget *parent)
    : QDialog(parent)
    , m_spinCount(new QSpinBox(this))
    , m_cboUnit(new QComboBox(this))
{
    setObjectName(QStringLiteral("SpamFilterCustomRulesRemoveDlg"));
    setWindowTitle(tr("Remove Unused Rules"));
    m_spinCount->setObjectName(QStringLiteral("m_spinCount"));
    m_spinCount->setRange(1, 9999);
    m_spinCount->setAccessibleName(tr("Count"));
    m_cboUnit->setObjectName(QStringLiteral("m_cboUnit"));
    m_cboUnit->addItems({tr("hours"), tr("days")});
    m_cboUnit->setAccessibleName(tr("Unit"));
    m_spinCount->setValue(qBound(1, UtKontainer::getInt(kCountKey, 1, kCountKey), 9999));
    m_cboUnit->setCurrentIndex(qBound(0, UtKontainer::getInt(kUnitKey, 0, kUnitKey), 1));
    auto *row = new QHBoxLayout;
    row->addWidget(buddyLabel(tr("Remove rules not used for &more than:"), m_spinCount, this));
    row->addWidget(m_spinCount);
    row->addWidget(m_cboUnit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(okCancel(this));
}

int SpamFilterCustomRulesRemoveDlg::count() const
{
    return m_spinCount->value();
}

int SpamFilterCustomRulesRemoveDlg::unit() const
{
    return m_cboUnit->currentIndex();
}

void SpamFilterCustomRulesRemoveDlg::accept()
{
    UtKontainer::setInt(kCountKey, count(), kCountKey);
    UtKontainer::setInt(kUnitKey, unit(), kUnitKey);
    QDialog::accept();
}

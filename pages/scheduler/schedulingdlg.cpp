#include "pages/scheduler/schedulingdlg.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bnamed.h"
#include "pages/definitions/gformdialog.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

using bview::named;

namespace {

enum TimeType { Every = 0, At = 1 };
enum IntervalUnit { Minutes = 0, Hours = 1 };
// The longest interval the spin box takes: a year in minutes.
constexpr int kMaxInterval = 525600;

} // namespace

TSchedulingDlg::TSchedulingDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Scheduled Action"));
    m_edDesc = named(new BLineEdit(this), "m_edDesc");
    auto *descLabel = new QLabel(tr("&Description"), this);
    descLabel->setBuddy(m_edDesc);

    auto *time = named(new QGroupBox(tr("Time condition"), this), "m_gbTime");
    m_cboType = named(new QComboBox(time), "m_cboType");
    m_cboType->addItems({tr("Every"), tr("At")});
    m_cboType->setAccessibleName(tr("Time condition"));
    m_spnTimeEvery = named(new QSpinBox(time), "m_spnTimeEvery");
    m_spnTimeEvery->setRange(1, kMaxInterval);
    m_spnTimeEvery->setAccessibleName(tr("Interval"));
    m_cboMinutes = named(new QComboBox(time), "m_cboMinutes");
    m_cboMinutes->addItems({tr("minutes"), tr("hours")});
    m_cboMinutes->setAccessibleName(tr("Interval unit"));
    m_tedTimeAt = named(new QTimeEdit(time), "m_tedTimeAt");
    m_tedTimeAt->setDisplayFormat(QStringLiteral("hh:mm"));
    m_tedTimeAt->setAccessibleName(tr("Time of day"));
    m_chkValid = named(new QCheckBox(tr("&Valid only at time"), time), "m_chkValid");
    m_cboTimeInt = named(new QComboBox(time), "m_cboTimeInt");
    m_cboTimeInt->setAccessibleName(tr("Time range"));
    m_btnEditTimeInt = named(new QPushButton(tr("&Edit..."), time), "m_btnEditTimeInt");
    m_btnEditTimeInt->setAccessibleName(tr("Edit time ranges"));
    auto *timeLayout = new QGridLayout(time);
    timeLayout->addWidget(m_cboType, 0, 0);
    timeLayout->addWidget(m_spnTimeEvery, 0, 1);
    timeLayout->addWidget(m_cboMinutes, 0, 2);
    timeLayout->addWidget(m_tedTimeAt, 1, 1);
    timeLayout->addWidget(new QLabel(tr("(hh:mm)"), time), 1, 2);
    timeLayout->addWidget(m_chkValid, 2, 0);
    timeLayout->addWidget(m_cboTimeInt, 2, 1, 1, 2);
    timeLayout->addWidget(m_btnEditTimeInt, 2, 3);

    auto *action = named(new QGroupBox(tr("Action"), this), "m_gbAction");
    m_chkSendMail = named(new QCheckBox(tr("&Send messages from the outgoing queue"), action),
                          "m_chkSendMail");
    m_chkPop3 = named(new QCheckBox(tr("Download messages from &POP3 mailboxes"), action),
                      "m_chkPop3");
    m_chkEtrn = named(new QCheckBox(tr("&Invoke mail transfer by sending ETRN command to "
                                       "specified SMTP servers"),
                                    action),
                      "m_chkEtrn");
    auto *actionLayout = new QVBoxLayout(action);
    actionLayout->addWidget(m_chkSendMail);
    actionLayout->addWidget(m_chkPop3);
    actionLayout->addWidget(m_chkEtrn);

    m_gbOptional = named(new QGroupBox(tr("Optional parameters"), this), "m_gbOptional");
    m_chkDial = named(
            new QCheckBox(tr("Allow to establish Dial-Up &connection if necessary"), m_gbOptional),
            "m_chkDial");
    auto *optionalLayout = new QVBoxLayout(m_gbOptional);
    optionalLayout->addWidget(m_chkDial);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cboType, &QComboBox::currentIndexChanged, this, &TSchedulingDlg::slotTypeChanged);
    connect(m_chkValid, &QCheckBox::toggled, this, &TSchedulingDlg::slotEnableChanged);
    connect(m_btnEditTimeInt, &QPushButton::clicked, this, &TSchedulingDlg::slotEditTimeInt);

    auto *desc = new QHBoxLayout;
    desc->addWidget(descLabel);
    desc->addWidget(m_edDesc);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(desc);
    layout->addWidget(time);
    layout->addWidget(action);
    layout->addWidget(m_gbOptional);
    layout->addWidget(buttons);
}

SchedulingDlg::SchedulingDlg(DBRow *row, const QStringList &timeRanges, QWidget *parent,
                             std::function<QStringList()> reloadRanges)
    : BDialog<TSchedulingDlg>(parent)
    , m_timeRanges(timeRanges)
    , m_reloadRanges(std::move(reloadRanges))
{
    m_btnEditTimeInt->setVisible(bool(m_reloadRanges));
    setObjectName(QStringLiteral("SchedulingDlg"));
    // Dial-up lines exist only on servers of the first kind.
    m_gbOptional->setVisible(UtKontainer::getInt(UtKey::OsVersion, 0) == 0);
    setRow(row);
}

bool SchedulingDlg::fillView()
{
    if (!m_row)
        return false;
    m_edDesc->setText(m_row->text("Desc"));

    const int type = m_row->text("TimeType").toInt();
    const int time = m_row->text("Time").toInt();
    if (type == At) {
        m_tedTimeAt->setTime(QTime(qBound(0, time / 60, 23), qBound(0, time % 60, 59)));
    } else if (time != 0 && time % 60 == 0) {
        m_cboMinutes->setCurrentIndex(Hours);
        m_spnTimeEvery->setValue(time / 60);
    } else {
        m_cboMinutes->setCurrentIndex(Minutes);
        m_spnTimeEvery->setValue(time);
    }
    m_cboType->setCurrentIndex(type == At ? At : Every);

    // A stored range ticks the box, also one that is no longer defined.
    const QString range = m_row->text("TimeInt");
    m_chkValid->setChecked(!range.isEmpty());
    fillTimeRanges(range);

    const int actions = m_row->text("Action").toInt();
    m_chkSendMail->setChecked(actions & 1);
    m_chkPop3->setChecked(actions & 2);
    m_chkEtrn->setChecked(actions & 4);
    m_chkDial->setChecked(m_row->text("AllowDial").toInt() != 0);
    slotTypeChanged();
    slotEnableChanged();
    return true;
}

void SchedulingDlg::fillTimeRanges(const QString &selected)
{
    m_cboTimeInt->clear();
    m_cboTimeInt->addItems(m_timeRanges);
    if (!selected.isEmpty()) {
        int index = m_cboTimeInt->findText(selected);
        if (index < 0) {
            m_cboTimeInt->addItem(selected);
            index = m_cboTimeInt->count() - 1;
        }
        m_cboTimeInt->setCurrentIndex(index);
    }
    m_chkValid->setEnabled(m_cboTimeInt->count() > 0);
}

void SchedulingDlg::slotEditTimeInt()
{
    const QString selected = m_chkValid->isChecked() ? m_cboTimeInt->currentText() : QString();
    if (!GFormDialog::edit(GFormDialog::Kind::TimeRanges, selected, this) || !m_reloadRanges)
        return;
    m_timeRanges = m_reloadRanges();
    // A range that was renamed or removed stays chosen by its old name.
    fillTimeRanges(m_cboTimeInt->currentText());
}

void SchedulingDlg::slotTypeChanged()
{
    const bool every = m_cboType->currentIndex() == Every;
    m_spnTimeEvery->setEnabled(every);
    m_cboMinutes->setEnabled(every);
    m_tedTimeAt->setEnabled(!every);
}

void SchedulingDlg::slotEnableChanged()
{
    m_cboTimeInt->setEnabled(m_chkValid->isChecked());
}

bool SchedulingDlg::validate()
{
    if (!m_chkSendMail->isChecked() && !m_chkPop3->isChecked() && !m_chkEtrn->isChecked()
        && bcorrection::askToCorrect(this, tr("There's no action specified."))) {
        m_chkSendMail->setFocus();
        return false;
    }
    return true;
}

void SchedulingDlg::storeView()
{
    m_row->setText("Desc", m_edDesc->text());
    const int type = m_cboType->currentIndex();
    m_row->setText("TimeType", QString::number(type));
    int time = 0;
    if (type == Every) {
        time = m_spnTimeEvery->value() * (m_cboMinutes->currentIndex() == Hours ? 60 : 1);
    } else if (type == At) {
        const QTime at = m_tedTimeAt->time();
        time = at.hour() * 60 + at.minute();
    }
    m_row->setText("Time", QString::number(time));
    m_row->setText("TimeInt", m_chkValid->isChecked() ? m_cboTimeInt->currentText() : QString());
    const int actions = (m_chkSendMail->isChecked() ? 1 : 0) + (m_chkPop3->isChecked() ? 2 : 0)
            + (m_chkEtrn->isChecked() ? 4 : 0);
    m_row->setText("Action", QString::number(actions));
    m_row->setText("AllowDial", m_chkDial->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

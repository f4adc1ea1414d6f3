#include "pages/definitions/gdlgtimeint.h"

#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "pages/definitions/timerange.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

template<class W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// Time range names are shorter than this many UTF-8 bytes.
constexpr int kNameBytes = 32;
constexpr qint64 kDay = 86400;
// Set by the application when the server takes a From above To as the
// complement of the interval.
const QString kEndBeforeStartKey = QStringLiteral("utKontTimeIntEndPrevStart");

} // namespace

TGDlgTimeInt::TGDlgTimeInt(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Time Interval"));
    m_edName = named(new BLineEdit(this), QStringLiteral("m_edName"));
    m_cboType = named(new QComboBox(this), QStringLiteral("m_cboType"));
    m_cboType->addItems({tr("Daily"), tr("Weekly"), tr("Absolute")});
    m_edDesc = named(new BLineEdit(this), QStringLiteral("m_edDesc"));

    QStringList days;
    for (int day = 0; day < 7; ++day)
        days << timerange::dayName(day);
    auto makeEnd = [this, &days](const QString &suffix, QComboBox *&dayBox, QDateEdit *&date,
                                 QTimeEdit *&time) {
        dayBox = named(new QComboBox(this), QStringLiteral("m_cbo%1Day").arg(suffix));
        dayBox->addItems(days);
        date = named(new QDateEdit(this), QStringLiteral("m_ded%1").arg(suffix));
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        time = named(new QTimeEdit(this), QStringLiteral("m_ted%1").arg(suffix));
        time->setDisplayFormat(QStringLiteral("H:mm:ss"));
        auto *row = new QHBoxLayout;
        row->addWidget(dayBox);
        row->addWidget(date);
        row->addWidget(time);
        return row;
    };
    QHBoxLayout *fromRow = makeEnd(QStringLiteral("From"), m_cboFromDay, m_dedFrom, m_tedFrom);
    QHBoxLayout *toRow = makeEnd(QStringLiteral("To"), m_cboToDay, m_dedTo, m_tedTo);
    m_cboFromDay->setAccessibleName(tr("From day"));
    m_dedFrom->setAccessibleName(tr("From date"));
    m_tedFrom->setAccessibleName(tr("From time"));
    m_cboToDay->setAccessibleName(tr("To day"));
    m_dedTo->setAccessibleName(tr("To date"));
    m_tedTo->setAccessibleName(tr("To time"));

    m_gbDays = named(new QGroupBox(tr("Days"), this), QStringLiteral("m_gbDays"));
    auto *daysLayout = new QGridLayout(m_gbDays);
    for (int day = 0; day < 7; ++day) {
        m_chkDays[day] = named(new QCheckBox(days.at(day), m_gbDays),
                               QStringLiteral("m_chkDay%1").arg(day + 1));
        daysLayout->addWidget(m_chkDays[day], day / 4, day % 4);
    }

    auto *nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(m_edName);
    auto *typeLabel = new QLabel(tr("&Valid:"), this);
    typeLabel->setBuddy(m_cboType);
    auto *fromLabel = new QLabel(tr("&From:"), this);
    fromLabel->setBuddy(m_tedFrom);
    auto *toLabel = new QLabel(tr("&To:"), this);
    toLabel->setBuddy(m_tedTo);
    auto *descLabel = new QLabel(tr("&Description:"), this);
    descLabel->setBuddy(m_edDesc);

    auto *form = new QFormLayout;
    form->addRow(nameLabel, m_edName);
    form->addRow(typeLabel, m_cboType);
    form->addRow(fromLabel, fromRow);
    form->addRow(toLabel, toRow);

    auto *descForm = new QFormLayout;
    descForm->addRow(descLabel, m_edDesc);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cboType, &QComboBox::currentIndexChanged, this, &TGDlgTimeInt::slotTypeChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_gbDays);
    layout->addLayout(descForm);
    layout->addWidget(buttons);
}

GDlgTimeInt::GDlgTimeInt(DBRow *row, QWidget *parent)
    : BDialog<TGDlgTimeInt>(parent)
{
    setObjectName(QStringLiteral("GDlgTimeInt"));
    setRow(row);
}

bool GDlgTimeInt::fillView()
{
    if (!m_row)
        return false;
    m_edName->setText(m_row->text("Name"));
    m_edDesc->setText(m_row->text("Desc"));
    const int type = qBound(0, m_row->text("Type").toInt(), 2);
    const qint64 start = m_row->text("Start").toLongLong();
    const qint64 end = m_row->text("End").toLongLong();
    m_loadedComplement = type != timerange::Absolute && start > end;
    m_cboType->setCurrentIndex(type);

    const QDateTime now = QDateTime::currentDateTime();
    m_dedFrom->setDate(now.date());
    m_dedTo->setDate(now.date());
    auto showEnd = [type](qint64 seconds, QComboBox *day, QDateEdit *date, QTimeEdit *time) {
        if (type == timerange::Absolute) {
            const QDateTime when = timerange::localDateTime(seconds);
            date->setDate(when.date());
            time->setTime(when.time());
            return;
        }
        const qint64 span = type == timerange::Weekly ? 7 * kDay : kDay;
        seconds = qBound<qint64>(0, seconds, span - 1);
        day->setCurrentIndex(int(seconds / kDay));
        time->setTime(QTime(0, 0).addSecs(int(seconds % kDay)));
    };
    showEnd(start, m_cboFromDay, m_dedFrom, m_tedFrom);
    showEnd(end, m_cboToDay, m_dedTo, m_tedTo);

    const QString days = m_row->text("Days");
    for (int day = 0; day < 7; ++day)
        m_chkDays[day]->setChecked(type == timerange::Daily && days.contains(QChar(u'1' + day)));
    slotTypeChanged();
    return true;
}

void GDlgTimeInt::slotTypeChanged()
{
    const int type = m_cboType->currentIndex();
    m_cboFromDay->setVisible(type == timerange::Weekly);
    m_cboToDay->setVisible(type == timerange::Weekly);
    m_dedFrom->setVisible(type == timerange::Absolute);
    m_dedTo->setVisible(type == timerange::Absolute);
    m_gbDays->setEnabled(type == timerange::Daily);
}

qint64 GDlgTimeInt::startSeconds() const
{
    switch (m_cboType->currentIndex()) {
    case timerange::Weekly:
        return timerange::weeklySeconds(m_cboFromDay->currentIndex(), m_tedFrom->time());
    case timerange::Absolute:
        return timerange::absoluteSeconds(m_dedFrom->date(), m_tedFrom->time());
    default:
        return timerange::dailySeconds(m_tedFrom->time());
    }
}

qint64 GDlgTimeInt::endSeconds() const
{
    switch (m_cboType->currentIndex()) {
    case timerange::Weekly:
        return timerange::weeklySeconds(m_cboToDay->currentIndex(), m_tedTo->time());
    case timerange::Absolute:
        return timerange::absoluteSeconds(m_dedTo->date(), m_tedTo->time());
    default:
        return timerange::dailySeconds(m_tedTo->time());
    }
}

bool GDlgTimeInt::refuse(QWidget *field, const QString &message)
{
    bmessagebox::warning(this, message);
    if (field)
        field->setFocus();
    return false;
}

bool GDlgTimeInt::validate()
{
    const QString name = m_edName->text().trimmed();
    if (name.isEmpty())
        return refuse(m_edName, tr("The name cannot be empty!"));
    if (name.toLower() == QLatin1String("always"))
        return refuse(m_edName, tr("Time range name cannot be 'always', it is reserved word."));
    if (name.toUtf8().size() >= kNameBytes || name.contains(QLatin1Char('\''))
        || name.contains(QLatin1Char('"')))
        return refuse(m_edName, tr("The name is too long or contains forbidden characters!"));

    if (startSeconds() <= endSeconds())
        return true;
    const int type = m_cboType->currentIndex();
    if (UtKontainer::getBool(kEndBeforeStartKey, false) && type != timerange::Absolute) {
        if (m_loadedComplement)
            return true;
        const QString question
                = tr("If the From value is bigger than the To value, the complement of the "
                     "interval will be used")
                + QLatin1Char('\n')
                + tr("(the whole interval with the From-To interval subtracted).")
                + QStringLiteral("\n\n") + tr("Are you sure you want to set this interval?");
        if (QMessageBox::question(this, bmessagebox::caption(), question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes)
            return true;
        m_tedFrom->setFocus();
        return false;
    }
    return refuse(m_tedFrom,
                  tr("The time interval is invalid (the From/To values might be "
                     "switched)"));
}

void GDlgTimeInt::storeView()
{
    const int type = m_cboType->currentIndex();
    QString days;
    if (type == timerange::Daily) {
        for (int day = 0; day < 7; ++day) {
            if (m_chkDays[day]->isChecked())
                days += QChar(u'1' + day);
        }
    }
    m_row->setText("Name", m_edName->text().trimmed());
    m_row->setText("Desc", m_edDesc->text());
    m_row->setText("Type", QString::number(type));
    m_row->setText("Start", QString::number(startSeconds()));
    m_row->setText("End", QString::number(endSeconds()));
    m_row->setText("Days", days);
}

QString GDlgTimeInt::duplicateMessage() const
{
    return tr("This time interval already exists!");
}

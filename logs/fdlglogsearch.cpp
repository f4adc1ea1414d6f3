#include "logs/fdlglogsearch.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using fwndlog::FLogFind;

FDlgLogSearch::FDlgLogSearch(FLogFind *find, QWidget *parent)
    : QDialog(parent)
    , m_find(find)
{
    setObjectName(QStringLiteral("FDlgLogSearch"));
    setWindowTitle(tr("Find"));
    auto *layout = new QVBoxLayout(this);
    auto *textRow = new QHBoxLayout;
    auto *lblText = new QLabel(tr("Fi&nd what:"), this);
    m_edText = new QLineEdit(find->text(), this);
    m_edText->setObjectName(QStringLiteral("m_edText"));
    lblText->setBuddy(m_edText);
    textRow->addWidget(lblText);
    textRow->addWidget(m_edText, 1);
    layout->addLayout(textRow);

    auto *groups = new QHBoxLayout;
    auto *direction = new QGroupBox(tr("Direction"), this);
    auto *directionLayout = new QVBoxLayout(direction);
    m_rbUp = new QRadioButton(tr("&Up"), direction);
    m_rbDown = new QRadioButton(tr("&Down"), direction);
    m_rbUp->setObjectName(QStringLiteral("m_rbUp"));
    m_rbDown->setObjectName(QStringLiteral("m_rbDown"));
    m_rbDown->setChecked(true);
    directionLayout->addWidget(m_rbUp);
    directionLayout->addWidget(m_rbDown);
    groups->addWidget(direction);

    auto *start = new QGroupBox(tr("Start From"), this);
    auto *startLayout = new QVBoxLayout(start);
    m_rbEdge = new QRadioButton(start);
    m_rbDisplayed = new QRadioButton(start);
    m_rbLastFound = new QRadioButton(tr("&Last found occurence"), start);
    m_rbEdge->setObjectName(QStringLiteral("m_rbEdge"));
    m_rbDisplayed->setObjectName(QStringLiteral("m_rbDisplayed"));
    m_rbLastFound->setObjectName(QStringLiteral("m_rbLastFound"));
    m_rbLastFound->setChecked(true);
    startLayout->addWidget(m_rbEdge);
    startLayout->addWidget(m_rbDisplayed);
    startLayout->addWidget(m_rbLastFound);
    groups->addWidget(start);
    layout->addLayout(groups);

    m_lblCase = new QLabel(tr("The search is case sensitive."), this);
    m_lblCase->setVisible(find->isCaseSensitive());
    layout->addWidget(m_lblCase);
    layout->addWidget(new QLabel(
            tr("To find next or previous occurence press %1.").arg(tr("F3 or Shift F3")), this));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_btnFind = buttons->addButton(tr("&Find Next"), QDialogButtonBox::ActionRole);
    m_btnFind->setObjectName(QStringLiteral("m_btnFind"));
    m_btnFind->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnFind, &QPushButton::clicked, this, &FDlgLogSearch::slotFindNext);
    connect(m_rbUp, &QRadioButton::toggled, this, &FDlgLogSearch::relabel);
    connect(find, &FLogFind::signalSearchingProgress, this, &FDlgLogSearch::slotProgress);
    connect(find, &FLogFind::signalChangeWidgetAppearance, this, &FDlgLogSearch::slotAppearance);
    relabel();
}

QString FDlgLogSearch::text() const
{
    return m_edText->text();
}

FLogFind::Direction FDlgLogSearch::direction() const
{
    return m_rbUp->isChecked() ? FLogFind::Up : FLogFind::Down;
}

FLogFind::StartFrom FDlgLogSearch::startFrom() const
{
    if (m_rbEdge->isChecked())
        return FLogFind::Edge;
    return m_rbDisplayed->isChecked() ? FLogFind::Displayed : FLogFind::LastFound;
}

void FDlgLogSearch::relabel()
{
    const bool up = m_rbUp->isChecked();
    m_rbEdge->setText(up ? tr("&Bottom of the log") : tr("&Top of the log"));
    m_rbDisplayed->setText(up ? tr("&End of displayed text") : tr("&Begin of displayed text"));
}

void FDlgLogSearch::slotFindNext()
{
    if (text().isEmpty())
        return;
    const FLogFind::StartFrom from = startFrom();
    m_find->slotFindFirst(direction(), text(), from);
    // After a start from an edge or the screen, Find Next goes on from there.
    m_rbLastFound->setChecked(true);
}

void FDlgLogSearch::slotProgress(int percent)
{
    setWindowTitle(tr("Searching... (%1% done)").arg(percent));
}

void FDlgLogSearch::slotAppearance(bool enabled)
{
    m_btnFind->setEnabled(enabled);
    if (enabled)
        setWindowTitle(tr("Find"));
}

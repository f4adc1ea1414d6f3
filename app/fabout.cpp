#include "app/fabout.h"

#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

FAbout::FAbout(const QString &header, const QString &notices, QWidget *parent)
    : QDialog(parent)
    , m_notices(new QTextBrowser(this))
    , m_scrollButton(new QPushButton(tr("&Scroll"), this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(tr("About %1").arg(UtKontainer::getText(UtKey::AppName)));
    setFixedSize(394, 284);
    auto *title = new QLabel(header, this);
    title->setWordWrap(true);
    m_notices->setHtml(notices);
    m_notices->setOpenExternalLinks(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_scrollButton, QDialogButtonBox::ActionRole);
    // Enter closes the box; Scroll is only a choice.
    m_scrollButton->setAutoDefault(false);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setDefault(true);
    close->setFocus();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_notices, 1);
    layout->addWidget(buttons);
    m_timer->setInterval(60);
    connect(m_timer, &QTimer::timeout, this, &FAbout::slotScroll);
    connect(m_scrollButton, &QPushButton::clicked, this, &FAbout::slotToggleScrolling);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FAbout::slotToggleScrolling()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        m_scrollButton->setText(tr("&Scroll"));
    } else {
        m_timer->start();
        m_scrollButton->setText(tr("&Pause"));
    }
}

void FAbout::slotScroll()
{
    QScrollBar *bar = m_notices->verticalScrollBar();
    bar->setValue(bar->value() >= bar->maximum() ? bar->minimum() : bar->value() + 1);
}

#include "pages/services/servicerestartdlg.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/blistview.h"
#include "pages/services/serviceitem.h"
#include "pages/services/servicewnd.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

ServiceRestartDlg::ServiceRestartDlg(const QList<ServiceItem *> &services, ServiceWnd *page)
    : QDialog(page)
    , m_services(services)
    , m_page(page)
    , m_list(new BListView(this))
    , m_btnRestart(new QPushButton(tr("&Restart"), this))
    , m_btnCancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("ServiceRestartDlg"));
    setWindowTitle(tr("Service restart"));
    m_list->setObjectName(QStringLiteral("m_lvServices"));
    m_list->setAccessibleName(tr("Services to restart"));
    m_btnRestart->setObjectName(QStringLiteral("m_btnRestart"));
    m_btnCancel->setObjectName(QStringLiteral("m_btnCancel"));
    m_btnRestart->setDefault(true);

    BCols cols;
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("servicerestart")));
    cols.addColumn(tr("Service"), QStringLiteral("FullName"), BCol::AlwaysVisible);
    cols.addColumn(tr("Status"), QStringLiteral("Running"), BCol::Visible);
    cols.addColumn(tr("Restart result"), QString(), BCol::Visible);
    m_list->setCols(cols);
    // The rows stay in the order the services are restarted in.
    m_list->setSortingEnabled(false);
    for (const ServiceItem *service : std::as_const(m_services)) {
        auto *item = new BListViewItem(
                m_list, nullptr,
                {service->fullName(), ServiceItem::statusText(service->isRunning()), QString()});
        Q_UNUSED(item);
    }

    auto *picture = new QLabel(this);
    picture->setPixmap(QPixmap(QStringLiteral(":/images/circlestatus.png")));
    auto *text = new QLabel(tr("You have saved new IP addresses and/or ports for these "
                               "services. New settings will take effect after restart of the "
                               "services."),
                            this);
    text->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnRestart);
    buttons->addWidget(m_btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_btnRestart, &QPushButton::clicked, this, [this] { restartOrClose(); });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ServiceRestartDlg::restartOrClose()
{
    if (m_done) {
        accept();
        return;
    }
    m_btnRestart->setEnabled(false);
    m_btnCancel->setEnabled(false);
    for (int i = 0; i < m_services.size(); ++i) {
        ServiceItem *service = m_services.at(i);
        m_page->startStop(service, false);
        const bool started = m_page->startStop(service, true);
        BListViewItem *row = m_list->topLevelItem(i);
        row->setText(1, ServiceItem::statusText(service->isRunning()));
        row->setText(2, started ? tr("Success") : tr("Failure"));
    }
    m_done = true;
    m_btnCancel->hide();
    m_btnRestart->setText(tr("Close"));
    m_btnRestart->setEnabled(true);
}

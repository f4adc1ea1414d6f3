#include "pages/smtp/smtpserverwnd.h"

#include "forms/btabpage.h"
#include "pages/smtp/smtpserverrelaywnd.h"
#include "pages/smtp/smtpserversecuritywnd.h"

SmtpServerWnd::SmtpServerWnd(QWidget *parent)
    : BFormTab<>(parent)
{
    setObjectName(QStringLiteral("SmtpServerWnd"));
    auto *relay = new BTabPageEx<SmtpServerRelayWnd>(this);
    auto *security = new BTabPageEx<SmtpServerSecurityWnd>(this);
    m_relay = relay;
    m_security = security;
    tab()->addPage(relay, tr("Relay"));
    tab()->addPage(security, tr("Security"));
    // The tabs load themselves; the section is ready once its first tab is.
    connect(relay->viewSlot(), &bview::BViewSlot::signalPageReady, viewSlot(),
            &bview::BViewSlot::signalPageReady);
}

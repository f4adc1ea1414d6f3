#pragma once

#include "forms/bformtab.h"

class SmtpServerRelayWnd;
class SmtpServerSecurityWnd;

// The SMTP server section: relay options and security limits on two tabs.
class SmtpServerWnd : public BFormTab<>
{
public:
    explicit SmtpServerWnd(QWidget *parent = nullptr);

    SmtpServerRelayWnd *relayPage() const { return m_relay; }
    SmtpServerSecurityWnd *securityPage() const { return m_security; }
    QString name() const override { return QStringLiteral("SmtpServerWnd"); }

private:
    SmtpServerRelayWnd *m_relay;
    SmtpServerSecurityWnd *m_security;
};

#include "pages/aliases/aliascheckaddressdlg.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbtable.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "pages/aliases/aliastarget.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AliasCheckAddressDlg::AliasCheckAddressDlg(const QString &domain, QWidget *parent)
    : QDialog(parent)
    , m_edAddress(new BLineEdit(this))
    , m_btnCheck(new QPushButton(tr("&Check"), this))
    , m_lstRecipients(new QListWidget(this))
{
    setObjectName(QStringLiteral("AliasCheckAddressDlg"));
    setWindowTitle(tr("Check Address"));
    m_edAddress->setObjectName(QStringLiteral("m_edAddress"));
    m_btnCheck->setObjectName(QStringLiteral("m_btnCheck"));
    m_lstRecipients->setObjectName(QStringLiteral("m_lstRecipients"));
    m_lstRecipients->setAccessibleName(tr("Recipients"));
    if (!domain.isEmpty())
        m_edAddress->setPlaceholderText(QStringLiteral("name@") + domain);
    m_btnCheck->setDefault(true);

    auto *addressLabel = new QLabel(tr("&Email address:"), this);
    addressLabel->setBuddy(m_edAddress);
    auto *recipientsLabel = new QLabel(tr("&Messages will be delivered to:"), this);
    recipientsLabel->setBuddy(m_lstRecipients);
    auto *row = new QHBoxLayout;
    row->addWidget(m_edAddress, 1);
    row->addWidget(m_btnCheck);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnCheck, &QPushButton::clicked, this, &AliasCheckAddressDlg::slotCheck);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(addressLabel);
    layout->addLayout(row);
    layout->addWidget(recipientsLabel);
    layout->addWidget(m_lstRecipients, 1);
    layout->addWidget(buttons);
}

void AliasCheckAddressDlg::slotCheck()
{
    m_lstRecipients->clear();
    const QString address = m_edAddress->text().trimmed();
    DBConn *conn = bobject::connection();
    if (address.isEmpty() || !conn)
        return;
    DBTable result(conn, dbFunctionCall(QStringLiteral("check_alias"), {address}));
    if (!result.selectSync()) {
        if (conn->isConnected() && !result.errorText().isEmpty())
            bmessagebox::warning(this, result.errorText());
        return;
    }
    // Public folders come back in the modified UTF-7 of mailbox names.
    for (const DBRow *row : result.rows()) {
        const QString recipient = row->text("Recipient");
        m_lstRecipients->addItem(recipient.startsWith(QLatin1Char('#'))
                                         ? aliastarget::readableFolder(recipient)
                                         : recipient);
    }
}

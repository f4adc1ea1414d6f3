#pragma once

#include "forms/bdialog.h"
#include "pages/pop3/tpop3accountsdlg.h"

// Edits one row of the "Pop3" table: the remote mailbox, where its messages
// are delivered, and how and how much is downloaded.
class Pop3AccountsDlg : public BDialog<TPop3AccountsDlg>
{
public:
    explicit Pop3AccountsDlg(DBRow *row, QWidget *parent = nullptr);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;

    // The port for the current SSL settings.
    int defaultPort() const;
    bool portIsDefault() const { return m_portIsDefault; }

    void slotDefaultPort() override;
    void slotSelect() override;
    void slotEnableChanged() override;
    void slotPortChanged() override;
    void slotUnitsChanged() override;
    void slotPortTextChanged() override;

    static QStringList headers();

private:
    bool m_filling = false;
    bool m_portIsDefault = true;
    bool m_sizeEdited = false;
};

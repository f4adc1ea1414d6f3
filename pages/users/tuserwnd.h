#pragma once

#include "pages/users/tdomainformlist.h"

class BCountLabel;
class QLabel;
class QPushButton;

// The layout of the Users page: the domain list layout with "Recover
// &deleted items", "&Import...", "&Publish..." and the "Status" label.
class TUserWnd : public TDomainFormList
{
    Q_OBJECT
public:
    explicit TUserWnd(QWidget *parent = nullptr);

    QPushButton *recoverButton() const { return m_btnRecover; }
    QPushButton *importButton() const { return m_btnImport; }
    QPushButton *exportButton() const { return m_btnExport; }
    BCountLabel *statusLabel() const { return m_lblStatus; }

    void languageChange() override;

public slots:
    virtual void slotStats() { }
    virtual void slotExport() { }
    virtual void slotRecover() { }
    virtual void slotUsersLoaded() { }
    virtual void slotImport() { }
    virtual void slotImportFile() { }
    virtual void slotMobileDevices() { }

private:
    QPushButton *m_btnRecover;
    QPushButton *m_btnImport;
    QPushButton *m_btnExport;
    BCountLabel *m_lblStatus;
};

#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BIPEdit;
class BLineEdit;
class DBTable;
class DomainDlgDirectoryServiceTab;
class DomainDlgForwardingTab;
class PvnMaxSizeImpl;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The layout of the domain dialog: the "Domain" tab with the domain's own
// settings and aliases, then the forwarding and directory-service tabs.
class TDomainDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TDomainDlg(QWidget *parent = nullptr);

    QTabWidget *m_tab;
    QWidget *m_domainTab;
    BLineEdit *m_edName;
    QComboBox *m_cboType;
    BLineEdit *m_edDescription;
    BLineEdit *m_edHostname;
    QCheckBox *m_chkUserLimit;
    BLineEdit *m_edUserLimit;
    QCheckBox *m_chkKeepDeleted;
    BLineEdit *m_edKeepDeleted;
    QCheckBox *m_chkFooter;
    QPlainTextEdit *m_edFooter;
    QCheckBox *m_chkLocalFooter;
    QCheckBox *m_chkBindIp;
    BIPEdit *m_edBindIp;
    QLabel *m_lblNtDomain;
    BLineEdit *m_edNtDomain;
    QLabel *m_lblPamService;
    BLineEdit *m_edPamService;
    QLabel *m_lblKerberos;
    BLineEdit *m_edKerberos;
    QLabel *m_lblLogo;
    PvnMaxSizeImpl *m_maxSize;
    QListWidget *m_lstAliases;
    QPushButton *m_btnAddAlias;
    QPushButton *m_btnRemoveAlias;
    DomainDlgForwardingTab *m_forwarding;
    DomainDlgDirectoryServiceTab *m_directory;
};

// Edits one domain row of the page's domain table. Aliases added or removed
// here are rows of that table marked until the dialog closes; the binding
// row of the directory service is written when the dialog is accepted.
class DomainDlg : public BDialog<TDomainDlg>
{
public:
    DomainDlg(DBRow *row, DBTable *domains, DBTable *directory, QWidget *parent = nullptr);

    // Domain and alias names: letters, digits, dots and hyphens, at most 67.
    static QString namePattern() { return QStringLiteral("[.0-9a-zA-Z-]{0,67}"); }
    // Length allowed for a footer.
    static constexpr int kFooterLimit = 1024;
    // Authentication types the server offers (1 NT domain, 2 PAM, 4 Kerberos).
    int authTypes() const { return m_authTypes; }
    qint64 globalSizeLimit() const { return m_globalLimit; }
    QString openedName() const { return m_openedName; }

    void load(bool first) override;
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;
    void done(int result) override;

    // The aliases as the list shows them.
    QStringList aliasNames() const;
    // Adds an alias as the "Add..." button does; the refusal, or empty.
    QString addAlias(const QString &name);
    void removeSelectedAlias();

private:
    QString aliasProblem(const QString &name) const;
    bool validateDomainTab();
    bool validateTab(QWidget *tab, const std::function<bool()> &check);
    void resolveAliases(bool accepted);
    void storeDirectory();
    DBRow *bindingRow() const;

    DBTable *m_domains;
    DBTable *m_directoryRows;
    QString m_openedName;
    int m_authTypes = 0;
    qint64 m_globalLimit = 0;
};

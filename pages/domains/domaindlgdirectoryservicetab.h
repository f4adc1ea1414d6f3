#pragma once

#include <QWidget>

class BPortEdit;
class BPwdLineEdit;
class DBRow;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The "Directory Service" tab of the domain dialog: the directory server the
// domain's accounts come from, and a test of the connection to it.
class DomainDlgDirectoryServiceTab : public QWidget
{
    Q_OBJECT
public:
    explicit DomainDlgDirectoryServiceTab(QWidget *parent = nullptr);

    // The domain's binding row, or null when it has none. domain names the
    // defaults of the base DNs.
    void fill(const DBRow *row, const QString &domain);
    // The domain's name as edited (the defaults and the bind name follow it).
    void setDomain(const QString &domain) { m_domain = domain; }
    bool isEnabled() const;
    bool validate();
    // Writes the binding into row (its "Domain" is the caller's).
    void store(DBRow &row) const;
    // The bind name as stored: a plain account name becomes a DN.
    QString bindDn() const;
    // Asks the server to connect with the values shown; the report's text.
    QString testConnection();

    QCheckBox *m_chkEnabled;
    QLineEdit *m_edServer;
    BPortEdit *m_edPort;
    QCheckBox *m_chkSecure;
    QLineEdit *m_edBindDn;
    BPwdLineEdit *m_edPassword;
    QLineEdit *m_edUserBase;
    QLineEdit *m_edGroupBase;
    QLineEdit *m_edMapFile;
    QPushButton *m_btnTest;

signals:
    void signalChanged();

private:
    void followEnabled();
    void fillDefaults();
    QString passwordValue() const;

    QString m_domain;
    QString m_storedPassword;
};

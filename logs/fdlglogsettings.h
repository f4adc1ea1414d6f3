#pragma once

#include "logs/flogtable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

// "Log %1": where and how the server writes one log — a file with rotation,
// a syslog server. Accepting writes the stream rows of the "Log" table; the
// caller saves it.
class FDlgLogSettings : public QDialog
{
    Q_OBJECT

public:
    FDlgLogSettings(FLogTable *table, const FLogStreams &streams, const QString &logName,
                    bool mayModify, QWidget *parent = nullptr);

    static const QStringList &facilities();
    static const QStringList &severities();

    QCheckBox *fileCheck() const { return m_chkFile; }
    QLineEdit *fileEdit() const { return m_edFile; }
    QCheckBox *rotateCheck() const { return m_chkRotate; }
    QRadioButton *rotationButton(int flags) const; // 1 hour .. 4 month
    QCheckBox *sizeCheck() const { return m_chkSize; }
    QSpinBox *sizeSpin() const { return m_spnSize; }
    QSpinBox *keepSpin() const { return m_spnKeep; }
    QCheckBox *syslogCheck() const { return m_chkSyslog; }
    QLineEdit *syslogEdit() const { return m_edSyslog; }
    QComboBox *facilityCombo() const { return m_cboFacility; }
    QComboBox *severityCombo() const { return m_cboSeverity; }
    QPushButton *okButton() const { return m_btnOk; }

public slots:
    void accept() override;

private:
    void fill();
    bool check();
    void write();
    bool warn(QWidget *field, const QString &text);
    QString syslogShown() const;

    FLogTable *m_table;
    FLogStreams m_streams;
    QString m_logName;
    QString m_directory; // of the file stream, kept as read
    int m_shownSizeKb = 0;
    QString m_shownSyslog; // server, facility and severity as shown
    bool m_shownSizeChecked = false;

    QTabWidget *m_tabs = nullptr;
    QCheckBox *m_chkFile = nullptr;
    QLineEdit *m_edFile = nullptr;
    QCheckBox *m_chkRotate = nullptr;
    QList<QRadioButton *> m_rbRotation;
    QCheckBox *m_chkSize = nullptr;
    QSpinBox *m_spnSize = nullptr;
    QSpinBox *m_spnKeep = nullptr;
    QCheckBox *m_chkSyslog = nullptr;
    QLineEdit *m_edSyslog = nullptr;
    QComboBox *m_cboFacility = nullptr;
    QComboBox *m_cboSeverity = nullptr;
    QGroupBox *m_grpRadius = nullptr;
    QLineEdit *m_edRadius = nullptr;
    QLineEdit *m_edRadiusUser = nullptr;
    QLineEdit *m_edRadiusPassword = nullptr;
    QCheckBox *m_chkRadius = nullptr;
    QPushButton *m_btnOk = nullptr;
};

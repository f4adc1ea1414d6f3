#pragma once

#include "forms/bdialog.h"

#include <QDialog>

class BLineEdit;
class QComboBox;
class QLabel;
class QStackedWidget;

// The layout of the alias dialog.
class TAliasDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TAliasDlg(QWidget *parent = nullptr);

    BLineEdit *m_edLhs;
    QLabel *m_lblDomain;
    QComboBox *m_cboType;
    QLabel *m_lblTarget;
    QStackedWidget *m_stackTarget;
    BLineEdit *m_edRhs;
    QComboBox *m_cboFolder;
    QComboBox *m_cboPlugin;
    BLineEdit *m_edDescription;
};

// Edits one "Alias" row: the name (wildcards allowed), the delivery target as
// an address, a public folder or a mail plug-in, and the description.
class AliasDlg : public BDialog<TAliasDlg>
{
public:
    explicit AliasDlg(DBRow *row, QWidget *parent = nullptr);

    void load(bool first) override;
    bool fillView() override;
    void storeView() override;
    bool validate() override;

    // The entry inserted for a stored folder or plug-in the server does not
    // offer, or -1.
    int missingFolder() const { return m_missingFolder; }
    int missingPlugin() const { return m_missingPlugin; }
    int selectedType() const;

private:
    bool checkConflicts();
    bool checkTarget();
    void showTarget();

    QStringList m_folders; // as the server names them (modified UTF-7)
    QStringList m_plugins;
    QString m_domain;
    QString m_loadedLhs;
    QString m_loadedRhs;
    int m_loadedType = 0;
    int m_missingFolder = -1;
    int m_missingPlugin = -1;
};

#pragma once

#include <QDialog>

class QLineEdit;

// "Remove Message Filter": the sender and recipient wildcard patterns of the
// messages to remove from the queue.
class RemoveFilterDlg : public QDialog
{
    Q_OBJECT
public:
    RemoveFilterDlg(const QString &sender, const QString &recipient, QWidget *parent = nullptr);

    QString senderPattern() const;
    QString recipientPattern() const;
    QLineEdit *senderEdit() const { return m_edSender; }
    QLineEdit *recipientEdit() const { return m_edRecipient; }

private:
    QLineEdit *m_edSender;
    QLineEdit *m_edRecipient;
};

#include "status/removefilterdlg.h"

#include "status/statuscells.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

RemoveFilterDlg::RemoveFilterDlg(const QString &sender, const QString &recipient, QWidget *parent)
    : QDialog(parent)
    , m_edSender(new QLineEdit(this))
    , m_edRecipient(new QLineEdit(this))
{
    setObjectName(QStringLiteral("RemoveFilterDlg"));
    setWindowTitle(tr("Remove Message Filter"));
    const QRegularExpression pattern(
            QStringLiteral("\\A(?:%1)\\z").arg(statuscells::addressPatternExpression()));
    auto *layout = new QVBoxLayout(this);
    const struct
    {
        QLineEdit *edit;
        const char *name;
        QString text;
        QString label;
    } fields[] = {{m_edSender, "m_edSender", sender,
                   tr("Remove messages where &sender address matches wildcard pattern:")},
                  {m_edRecipient, "m_edRecipient", recipient,
                   tr("and any &recipient address matches wildcard pattern:")}};
    for (const auto &field : fields) {
        auto *label = new QLabel(field.label, this);
        label->setBuddy(field.edit);
        field.edit->setObjectName(QLatin1String(field.name));
        field.edit->setValidator(new QRegularExpressionValidator(pattern, field.edit));
        field.edit->setAccessibleName(QString(field.label).remove(QLatin1Char('&')));
        field.edit->setText(field.text);
        layout->addWidget(label);
        layout->addWidget(field.edit);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Both patterns must be accepted in full before OK is offered.
    auto update = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)
                ->setEnabled(m_edSender->hasAcceptableInput()
                             && m_edRecipient->hasAcceptableInput());
    };
    connect(m_edSender, &QLineEdit::textChanged, this, update);
    connect(m_edRecipient, &QLineEdit::textChanged, this, update);
    update();
}

QString RemoveFilterDlg::senderPattern() const
{
    return m_edSender->text();
}

QString RemoveFilterDlg::recipientPattern() const
{
    return m_edRecipient->text();
}

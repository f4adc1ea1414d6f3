#include "pages/definitions/gdlgips.h"

#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using bview::named;

namespace {

// Group names are shorter than this many UTF-8 bytes.
constexpr int kNameBytes = 24;

} // namespace

TGDlgIPs::TGDlgIPs(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("IP Address Group"));
    m_edName = named(new BLineEdit(this), "m_edName");
    m_cboType = named(new QComboBox(this), "m_cboType");
    m_cboType->addItem(tr("Host"), ipentry::Host);
    m_cboType->addItem(tr("Network/Mask"), ipentry::Network);
    m_cboType->addItem(tr("Address Range"), ipentry::Range);
    m_cboType->addItem(tr("Address Group"), ipentry::Group);
    m_edFirst = named(new BLineEdit(this), "m_edFirst");
    m_lblFirst = named(new QLabel(tr("IP address:"), this), "m_lblFirst");
    m_lblFirst->setBuddy(m_edFirst);
    m_edSecond = named(new BLineEdit(this), "m_edSecond");
    m_lblSecond = named(new QLabel(tr("Mask:"), this), "m_lblSecond");
    m_lblSecond->setBuddy(m_edSecond);
    m_cboGroup = named(new QComboBox(this), "m_cboGroup");
    m_lblGroup = named(new QLabel(tr("&Group:"), this), "m_lblGroup");
    m_lblGroup->setBuddy(m_cboGroup);
    m_edDesc = named(new BLineEdit(this), "m_edDesc");

    auto *nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(m_edName);
    auto *typeLabel = new QLabel(tr("&Type:"), this);
    typeLabel->setBuddy(m_cboType);
    auto *descLabel = new QLabel(tr("&Description:"), this);
    descLabel->setBuddy(m_edDesc);

    auto *form = new QFormLayout;
    form->addRow(nameLabel, m_edName);
    form->addRow(typeLabel, m_cboType);
    form->addRow(m_lblFirst, m_edFirst);
    form->addRow(m_lblSecond, m_edSecond);
    form->addRow(m_lblGroup, m_cboGroup);
    form->addRow(descLabel, m_edDesc);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cboType, &QComboBox::currentIndexChanged, this, &TGDlgIPs::slotTypeChanged);
    connect(m_edName, &QLineEdit::textChanged, this, &TGDlgIPs::slotNameChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

GDlgIPs::GDlgIPs(DBRow *row, const ipentry::GroupGraph &graph, bool allowHostNames, QWidget *parent)
    : BDialog<TGDlgIPs>(parent)
    , m_graph(graph)
    , m_allowHostNames(allowHostNames)
    , m_hostValidator(
              new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^ ]*")), this))
    , m_addressValidator(
              new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), this))
{
    setObjectName(QStringLiteral("GDlgIPs"));
    m_edSecond->setValidator(m_addressValidator);
    setRow(row);
}

ipentry::Type GDlgIPs::currentType() const
{
    return ipentry::Type(m_cboType->currentData().toInt());
}

void GDlgIPs::setCurrentType(ipentry::Type type)
{
    const int index = m_cboType->findData(int(type));
    m_cboType->setCurrentIndex(index >= 0 ? index : 0);
}

bool GDlgIPs::fillView()
{
    if (!m_row)
        return false;
    const ipentry::Parts parts = ipentry::parse(m_row->text("Value"));
    if (parts.type == ipentry::Group)
        m_storedGroup = parts.first;
    m_edName->setText(m_row->text("Name"));
    m_edDesc->setText(m_row->text("Desc"));
    slotNameChanged(); // fills the group selector
    setCurrentType(parts.type);
    if (parts.type == ipentry::Group) {
        m_cboGroup->setCurrentIndex(m_cboGroup->findText(parts.first));
    } else {
        m_edFirst->setText(parts.first);
        m_edSecond->setText(parts.second);
    }
    slotTypeChanged();
    return true;
}

void GDlgIPs::slotNameChanged()
{
    const QString name = m_edName->text().trimmed();
    const QString selected = m_cboGroup->currentText();
    QStringList names = m_graph.referenceCandidates(name);
    // A stored reference stays as it is, also to a group that is gone.
    if (!m_storedGroup.isEmpty() && !names.contains(m_storedGroup))
        names.append(m_storedGroup);
    names.sort(Qt::CaseInsensitive);
    m_cboGroup->clear();
    m_cboGroup->addItems(names);
    if (const int index = m_cboGroup->findText(selected); index >= 0)
        m_cboGroup->setCurrentIndex(index);

    const int groupIndex = m_cboType->findData(int(ipentry::Group));
    if (names.isEmpty() && groupIndex >= 0) {
        if (m_cboType->currentIndex() == groupIndex)
            m_cboType->setCurrentIndex(0);
        m_cboType->removeItem(groupIndex);
    } else if (!names.isEmpty() && groupIndex < 0) {
        m_cboType->insertItem(3, tr("Address Group"), ipentry::Group);
    }
}

void GDlgIPs::slotTypeChanged()
{
    const ipentry::Type type = currentType();
    const bool group = type == ipentry::Group;
    m_lblFirst->setVisible(!group);
    m_edFirst->setVisible(!group);
    m_lblGroup->setVisible(group);
    m_cboGroup->setVisible(group);
    const bool two = type == ipentry::Network || type == ipentry::Range;
    m_lblSecond->setVisible(two);
    m_edSecond->setVisible(two);

    const bool names = type == ipentry::Host && m_allowHostNames;
    m_edFirst->setValidator(names ? m_hostValidator : m_addressValidator);
    switch (type) {
    case ipentry::Host:
        m_lblFirst->setText(m_allowHostNames ? tr("Hostname/IP:") : tr("IP address:"));
        break;
    case ipentry::Network:
        m_lblFirst->setText(tr("IP address:"));
        m_lblSecond->setText(tr("Mask:"));
        break;
    case ipentry::Range:
        m_lblFirst->setText(tr("From:"));
        m_lblSecond->setText(tr("To:"));
        break;
    case ipentry::Group:
        break;
    }
    m_edFirst->setAccessibleName(m_lblFirst->text());
    m_edSecond->setAccessibleName(m_lblSecond->text());
}

bool GDlgIPs::refuse(QWidget *field, const QString &message)
{
    bmessagebox::warning(this, message);
    if (field)
        field->setFocus();
    return false;
}

bool GDlgIPs::validate()
{
    const QString name = m_edName->text().trimmed();
    if (name.toLower() == QLatin1String("any"))
        return refuse(m_edName, tr("Address group name cannot be 'any', it is reserved word."));
    if (name.toUtf8().size() >= kNameBytes || name.contains(QLatin1Char('\''))
        || name.contains(QLatin1Char('"')))
        return refuse(m_edName, tr("Name is too long or contains forbidden characters!"));
    if (name.isEmpty())
        return refuse(m_edName, tr("Name cannot be empty!"));

    const QString first = m_edFirst->text().trimmed();
    const QString second = m_edSecond->text().trimmed();
    switch (currentType()) {
    case ipentry::Host:
        if (!ipentry::isValidAddress(first)
            && !(m_allowHostNames && ipentry::isValidHostName(first)))
            return refuse(m_edFirst,
                          m_allowHostNames ? tr("The host name or IP address is not valid.")
                                           : tr("The IP address is not valid."));
        break;
    case ipentry::Network:
        if (!ipentry::isValidNetwork(first, second))
            return refuse(m_edSecond,
                          tr("The network mask is not valid for this network address."));
        break;
    case ipentry::Range:
        if (!ipentry::isValidRange(first, second))
            return refuse(m_edSecond, tr("The network range is not valid."));
        break;
    case ipentry::Group:
        if (m_cboGroup->currentText().isEmpty())
            return refuse(m_cboGroup, tr("Choose the address group this entry refers to."));
        break;
    }
    return true;
}

void GDlgIPs::storeView()
{
    ipentry::Parts parts;
    parts.type = currentType();
    if (parts.type == ipentry::Group) {
        parts.first = m_cboGroup->currentText();
    } else {
        parts.first = m_edFirst->text().trimmed();
        parts.second = m_edSecond->text().trimmed();
    }
    m_row->setText("Name", m_edName->text().trimmed());
    m_row->setText("Value", ipentry::encode(parts, m_allowHostNames));
    m_row->setText("Desc", m_edDesc->text());
}

QString GDlgIPs::duplicateMessage() const
{
    return tr("This address group already exists!");
}

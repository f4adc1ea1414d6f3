#include "pages/usergroups/ugdlgtemp.h"

#include "db/dbrow.h"
#include "pages/usergroups/pvnauthorization.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QRadioButton>

UGDlgTemp::UGDlgTemp(const Widgets &widgets)
    : m_widgets(widgets)
{
    const struct
    {
        QCheckBox *box;
        QString word;
    } boxes[] = {{widgets.webadmin, PvnAuthorization::kWebadmin},
                 {widgets.ownDomainOnly, PvnAuthorization::kOwnDomainOnly},
                 {widgets.fax, PvnAuthorization::kFaxSend}};
    for (const auto &entry : boxes) {
        if (entry.box)
            m_boxes.append({entry.box, entry.word, Qt::Unchecked});
    }
    if (widgets.faxBox && !faxPluginInstalled())
        widgets.faxBox->hide();
}

bool UGDlgTemp::faxPluginInstalled()
{
    return UtKontainer::getBool(UtKey::FaxPluginInstalled);
}

void UGDlgTemp::fill(const QList<const DBRow *> &rows)
{
    if (rows.isEmpty())
        return;
    // Rights: the choice all rows share, else "don't change".
    const ugtexts::Rights first
            = ugtexts::rightsChoice(rows.first()->text(QStringLiteral("Rights")).toLongLong());
    bool same = true;
    for (const DBRow *row : rows)
        same = same
                && ugtexts::rightsChoice(row->text(QStringLiteral("Rights")).toLongLong()) == first;
    QRadioButton *shown = nullptr;
    if (!same && m_widgets.noChange) {
        shown = m_widgets.noChange;
    } else {
        switch (first) {
        case ugtexts::Rights::FullAccess:
            shown = m_widgets.fullAccess;
            break;
        case ugtexts::Rights::ReadOnly:
            shown = m_widgets.readOnly;
            break;
        case ugtexts::Rights::NoAccess:
            shown = m_widgets.noAccess;
            break;
        }
    }
    if (shown)
        shown->setChecked(true);
    ugtexts::Rights filled;
    m_filledChoice = rightsChoice(&filled) ? int(filled) : -1;

    for (Box &box : m_boxes) {
        int present = 0;
        for (const DBRow *row : rows)
            present += PvnAuthorization::has(*row, box.word) ? 1 : 0;
        Qt::CheckState state = Qt::PartiallyChecked;
        if (present == 0)
            state = Qt::Unchecked;
        else if (present == rows.size())
            state = Qt::Checked;
        box.box->setTristate(state == Qt::PartiallyChecked);
        box.box->setCheckState(state);
        box.filled = state;
    }
}

bool UGDlgTemp::rightsChoice(ugtexts::Rights *choice) const
{
    ugtexts::Rights chosen;
    if (m_widgets.fullAccess && m_widgets.fullAccess->isChecked())
        chosen = ugtexts::Rights::FullAccess;
    else if (m_widgets.readOnly && m_widgets.readOnly->isChecked())
        chosen = ugtexts::Rights::ReadOnly;
    else if (m_widgets.noAccess && m_widgets.noAccess->isChecked())
        chosen = ugtexts::Rights::NoAccess;
    else
        return false;
    if (choice)
        *choice = chosen;
    return true;
}

void UGDlgTemp::store(DBRow *row) const
{
    if (!row)
        return;
    ugtexts::Rights choice;
    if (rightsChoice(&choice)
        && (int(choice) != m_filledChoice || row->text(QStringLiteral("Rights")).isEmpty())) {
        const QString column = QStringLiteral("Rights");
        const qint64 stored = row->text(column).toLongLong();
        const qint64 value = ugtexts::rightsValue(stored, choice);
        if (value != stored || row->text(column).isEmpty())
            row->setText(column, QString::number(value));
    }
    for (const Box &box : m_boxes) {
        const Qt::CheckState state = box.box->checkState();
        if (state == Qt::PartiallyChecked || state == box.filled)
            continue;
        PvnAuthorization::set(row, box.word, state == Qt::Checked);
    }
}

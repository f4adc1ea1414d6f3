// Members read from a CSV file join a roster; kept apart from the reading,
// which needs no table.
#include "pages/mailinglists/mlistcsvimport.h"

#include "db/dbrow.h"
#include "pages/mailinglists/pvnmlisttable.h"

namespace mlistcsv {

void stage(PvnMListTable *roster, const QList<Member> &members)
{
    for (const Member &member : members) {
        DBRow *row = roster->addRow();
        row->setText("Email", member.email);
        row->setText("FullName", member.fullName);
    }
}

QSet<QString> addressesOf(const PvnMListTable *roster)
{
    QSet<QString> addresses;
    addresses.reserve(roster->rowCount());
    for (const DBRow *row : roster->rows())
        addresses.insert(row->text("Email").toLower());
    return addresses;
}

} // namespace mlistcsv

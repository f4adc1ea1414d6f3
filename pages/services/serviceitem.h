#pragma once

#include "forms/blistitems.h"

#include <QString>

namespace wndservice {
// Whether a service runs, and the table it lives in.
struct RunningInfo
{
    bool running = false;
    QString table;
};
} // namespace wndservice

// A service of the Services page: the first row of its table. The state is
// the item's own: the row's "Running" is what the server reported at load.
class ServiceItem : public BRowTextItem
{
public:
    ServiceItem(BListView *view, DBRow *row, const QString &table);

    QString cellText(int column) const override;

    const wndservice::RunningInfo &info() const { return m_info; }
    bool isRunning() const { return m_info.running; }
    void setRunning(bool running);
    // The service's key and title, which its dialog does not change.
    QString name() const { return m_name; }
    QString fullName() const { return m_fullName; }
    QString table() const { return m_info.table; }

    bool canRemove() const override { return false; }

    static QString statusText(bool running);

private:
    wndservice::RunningInfo m_info;
    QString m_name;
    QString m_fullName;
};

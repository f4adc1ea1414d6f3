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

// A service of the Services page: the first row of its table.
class ServiceItem : public BListViewItem
{
public:
    ServiceItem(BListView *view, DBRow *row, const QString &table);

    const wndservice::RunningInfo &info() const { return m_info; }
    bool isRunning() const { return m_info.running; }
    void setRunning(bool running);
    QString name() const { return m_name; }
    QString fullName() const { return m_fullName; }
    QString table() const { return m_info.table; }
    // Shows the row's values (after a load or an edit).
    void refresh();

    bool canRemove() const override { return false; }

    static QString statusText(bool running);

private:
    wndservice::RunningInfo m_info;
    QString m_name;
    QString m_fullName;
};

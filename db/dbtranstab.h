// The tables of one page, selected, applied and reverted together.
#ifndef DB_DBTRANSTAB_H
#define DB_DBTRANSTAB_H

#include "db/dbconnobject.h"
#include "db/dbsafesignal.h"

#include <QList>

class DBCtrl;
class DBTable;

// How a member table takes part in its group.
struct DBTransTabMemberOptions
{
    // Left out of collect, apply and revert.
    bool leftOutOfTransactions = false;
    // Left out of the group select.
    bool leftOutOfSelect = false;
};

class DBTransTab : public DBSafeSignal, public DBConnObject
{
    Q_OBJECT

public:
    explicit DBTransTab(DBConn *connection, QObject *parent = nullptr);

    using MemberOptions = DBTransTabMemberOptions;

    void addTable(DBTable *table, const MemberOptions &options = MemberOptions());
    int count() const { return int(m_members.size()); }
    DBTable *table(int index) const { return m_members.at(index).table; }

    void select(QObject *readyReceiver, const char *readySlot, QObject *errorReceiver,
                const char *errorSlot);
    bool selectSync(bool force = false);
    // Hand every member's statements to the controller under firstKey + position
    // (or the table's own key).
    void collect(int firstKey);
    bool applySync();
    // Apply without waiting; the apply signals report.
    void applyAsync();
    void revert();
    // True when any member taking part in transactions is modified.
    bool isModified() const;

signals:
    void signalSelectIsFinished(DBTransTab *trans);
    void signalSelectIsReady();
    void signalSelectIsError(const QString &error);
    void signalApplyIsFinished(DBTransTab *trans);
    void signalApplyIsReady();
    void signalApplyIsError(const QString &error);

public slots:
    void slotSelectIsFinished(DBTable *table);
    void slotApplyIsFinished(DBCtrl *ctrl);

protected:
    enum {
        EventSelectReady = 1002,
        EventSelectError = 1003,
        EventApplyReady = 1004,
        EventApplyError = 1005
    };
    void safeEmit1002() override { emit signalSelectIsReady(); }
    void safeEmit1003(const QVariant &e) override { emit signalSelectIsError(e.toString()); }
    void safeEmit1004() override { emit signalApplyIsReady(); }
    void safeEmit1005(const QVariant &e) override { emit signalApplyIsError(e.toString()); }

private:
    struct Member
    {
        DBTable *table;
        bool noTransaction;
        bool noSelect;
    };
    // Select the next member that takes part; false when none is left.
    bool selectNext();
    void finishSelect();

    QList<Member> m_members;
    int m_next = 0;
};

#endif // DB_DBTRANSTAB_H

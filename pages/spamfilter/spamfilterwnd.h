#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "forms/bformlist.h"
#include "forms/bformlistorder.h"
#include "forms/bformtab.h"
#include "forms/tbformlist.h"

class BLineEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// --- rating ---

// The layout of the rating tab.
class TSpamFilterRatingWnd : public BForm
{
    Q_OBJECT
public:
    explicit TSpamFilterRatingWnd(QWidget *parent = nullptr);
    QCheckBox *m_chkEnabled;
    QCheckBox *m_chkRelayed;
    BLineEdit *m_edThreshold;
    BLineEdit *m_edBlock;
    QCheckBox *m_chkPrefix;
    BLineEdit *m_edPrefix;
    QCheckBox *m_chkBounce;
    BLineEdit *m_edQuarantine;
};

// The rating thresholds and what happens to rated messages (first row of
// "SpamFilter").
class SpamFilterRatingWnd : public TSpamFilterRatingWnd
{
public:
    explicit SpamFilterRatingWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("SpamFilterRatingWnd"); }

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// --- Internet and custom blacklists ---

// The layout of the blacklist tab: the Internet blacklists with Add, Edit,
// Remove, and the custom blacklist below them.
class TSpamFilterBlacklistWnd : public TBFormList
{
    Q_OBJECT
public:
    explicit TSpamFilterBlacklistWnd(QWidget *parent = nullptr);
    QComboBox *m_cboBlacklist;
    QComboBox *m_cboWhitelist;
    QRadioButton *m_rbBlock;
    QRadioButton *m_rbScore;
    BLineEdit *m_edScore;
};

// "DnsBlacklists" and the custom blacklist settings of "SpamFilter"; the
// group names come from "IpAccessList".
class SpamFilterBlacklistWnd : public BFormList<TSpamFilterBlacklistWnd>
{
public:
    explicit SpamFilterBlacklistWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    // A row the columns format, with the blacklists' icon.
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override;
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    unsigned tableCount() const override { return 3; }
    QString name() const override { return QStringLiteral("SpamFilterBlacklistWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

private:
    DBTable m_table;
    DBTable m_settings;
    DBTable m_groups;
    DBTransTab m_trans;
};

// --- custom rules ---

// The layout of the custom rules tab: the ordered rules, "Remove unused..."
// and the rejection settings below.
class TSpamFilterCustomRulesWnd : public TBFormListOrder
{
    Q_OBJECT
public:
    explicit TSpamFilterCustomRulesWnd(QWidget *parent = nullptr);
    QPushButton *m_btnRemoveUnused;
    QCheckBox *m_chkBounce;
    BLineEdit *m_edQuarantine;

public slots:
    virtual void slotRemoveUnused() { }
};

// A rule of the list: its check box is "Enabled", its place "Order". Its
// texts come from the row whenever the view asks; the last use is counted
// back from the server's time now.
class SpamFilterCustomRulesItem : public BOrderListItem
{
public:
    SpamFilterCustomRulesItem(BListView *view, DBRow *row, qint64 now, bool checkable);
    QVariant data(int column, int role) const override;
    // Keeps the texts of the shown columns: the row is about to go.
    void releaseRow() override;
    // The text of a cell of row(), which is not null.
    QString cellText(int column) const;

private:
    qint64 m_now;
};

// "HeaderFilter" in order, and the rejection settings of "SpamFilter".
class SpamFilterCustomRulesWnd : public BFormListOrder<TSpamFilterCustomRulesWnd>
{
public:
    explicit SpamFilterCustomRulesWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void itemChecked(BCheckListItem *item) override;
    void selectionChanged() override;
    QString orderColumn() const override { return QStringLiteral("Order"); }
    bool duplicateRow(DBRow *source, DBRow *copy) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override;
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    unsigned tableCount() const override { return 3; }
    QString name() const override { return QStringLiteral("SpamFilterCustomRulesWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

    // Asks how long a rule must have been unused, lists the stored rules that
    // were not used for longer at the server's time, and removes them when
    // the administrator agrees; Apply then deletes them on the server.
    void slotRemoveUnused() override;

private:
    qint64 loadedServerTime() const;

    DBTable m_table;
    DBTable m_settings;
    DBTable m_info;
    DBTransTab m_trans;
};

// --- external rating engine ---

// The spam and ham counts the server's Bayes classifier has learnt
// ("SpamFilter::GetBayesStatistics()").
class SpamFilterAssassinWnd : public BForm
{
    Q_OBJECT
public:
    explicit SpamFilterAssassinWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return true; }
    void discard() override { }
    void registerChanges() override { }
    bool fillView() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("SpamFilterAssassinWnd"); }

    QLabel *m_lblSpam;
    QLabel *m_lblHam;

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The "Spam Filter" section: rating, blacklists, custom rules and the
// classifier's statistics on tabs; only the tabs that were shown are saved.
class SpamFilterWnd : public BFormTab<>
{
    Q_OBJECT
public:
    explicit SpamFilterWnd(QWidget *parent = nullptr);

    SpamFilterRatingWnd *ratingPage() const { return m_rating; }
    SpamFilterBlacklistWnd *blacklistPage() const { return m_blacklist; }
    SpamFilterCustomRulesWnd *customRulesPage() const { return m_rules; }
    SpamFilterAssassinWnd *assassinPage() const { return m_assassin; }
    QString name() const override { return QStringLiteral("SpamFilterWnd"); }

private:
    SpamFilterRatingWnd *m_rating;
    SpamFilterBlacklistWnd *m_blacklist;
    SpamFilterCustomRulesWnd *m_rules;
    SpamFilterAssassinWnd *m_assassin;
};

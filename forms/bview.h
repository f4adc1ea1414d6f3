#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "forms/bobject.h"
#include "forms/btabpage.h"
#include "forms/bviewmenu.h"

#include <QCoreApplication>
#include <QObject>
#include <QVariant>
#include <QWidget>

class DBTransTab;
class QDialog;
class QDialog;
class QWidget;

namespace bview {
class BViewSlot;
}

// Receives the main window's commands. The page area also asks it what a page
// needs around it: the Apply/Reset bar, its menu, its section, its load.
class BViewInterface
{
public:
    virtual ~BViewInterface() = default;
    virtual void apply(bool *ok) = 0;
    virtual void reset() = 0;
    virtual void updateView() = 0;

    virtual void load(bool first) = 0;
    // Whether the page area shows the Apply/Reset bar below this view; views
    // that edit nothing (status lists) answer false.
    virtual bool hasApplyReset() const { return true; }
    // The section the page was built for (-1 when it was built elsewhere). The
    // page reports it to the cross-window messages.
    virtual int sectionId() const = 0;
    virtual void setSectionId(int id) = 0;
    virtual bview::BViewSlot *viewSlot() const = 0;
    virtual BViewMenu *viewMenu() const = 0;
};

namespace bview {

// The signal/slot face of a view: each slot forwards to one operation.
class BViewSlot : public QObject
{
    Q_OBJECT
public:
    BViewSlot(BViewInterface *owner, QObject *parent);

public slots:
    void slotApply(bool *ok);
    void slotReset();
    void slotUpdateView();

signals:
    void signalPostResetChanges();
    // The first load has been shown: the page is ready for the messages
    // other pages left for its section.
    void signalPageReady();

private:
    BViewInterface *m_owner;
};

// While above 0, a page's first load keeps the requests queued by others.
// The main window raises it around some of its own operations.
int &keepRequestsCounter();
class KeepRequests
{
public:
    KeepRequests() { ++keepRequestsCounter(); }
    ~KeepRequests() { --keepRequestsCounter(); }
    KeepRequests(const KeepRequests &) = delete;
    KeepRequests &operator=(const KeepRequests &) = delete;
};

// Connects the registered page area's signalApply(bool*) and signalReset() to
// a view.
void connectToFrameWindow(BViewSlot *slot);
void disconnectFromFrameWindow(BViewSlot *slot);

// The common parts of the life cycle, shared by every view instantiation.
void startLoad(DBTransTab *tables, bool first, bobject::BObjectSlot *slot);
bool saveTables(DBTransTab *tables, bobject::BObjectSlot *slot, QObject *context);
// The save question; sets *handled when the page is a tab page whose tab form
// asked instead (then the returned value is the tab form's answer).
bool forwardQueryClose(BTabPage *page, bool *saved, bool *handled);
// The save question for a view whose apply and reset are given.
bool askSaveChanges(QObject *context, bool *saved, BViewInterface *view);
void trace(const char *format, const QString &name);

// False when the registered connection's user may not modify data.
bool sessionMayModify();
// Makes every input below root read-only (text edits, spin boxes) or disabled
// (buttons, combo boxes), so a read-only session can look but not edit.
void makeReadOnly(QWidget *root);
// Makes a row's dialog one to read: every input read-only, OK gone, Cancel
// become Close.
void makeViewOnly(QDialog *dialog);

} // namespace bview

// A page shown in the main window, mixed into the toolkit widget Base. Derived
// pages implement load, save, discard, registerChanges and fillView; the rest
// has defaults.
template<class Base>
class BView : public BObject<Base>, public BViewInterface
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BView, Args...>) explicit BView(Args &&...args)
        : BObject<Base>(std::forward<Args>(args)...)
        , m_viewSlot(new bview::BViewSlot(this, this))
        , m_viewMenu(new BViewMenu(this))
    {
        bview::connectToFrameWindow(m_viewSlot);
    }

    // Virtual operations of a view, in slot order (setFormEnabled comes from
    // BObject).
    virtual QVariant pageValue() const { return {}; }
    virtual bool isPageValid() const { return true; }
    virtual bool queryClose(bool *saved)
    {
        bool handled = false;
        if (auto *page = dynamic_cast<BTabPage *>(this)) {
            const bool result = bview::forwardQueryClose(page, saved, &handled);
            if (handled)
                return result;
        }
        return bview::askSaveChanges(this, saved, this);
    }
    void load(bool first) override = 0;
    virtual bool save() = 0;
    virtual void discard() = 0;
    virtual void registerChanges() = 0;
    virtual bool fillView() = 0;
    virtual void storeView() { }
    virtual bool validate() { return true; }
    virtual void beforeFill() { }
    virtual void afterFirstLoad() { }
    virtual void postReset() { emit m_viewSlot->signalPostResetChanges(); }
    void updateView() override
    {
        this->m_updating = true;
        if (fillView())
            this->m_updating = false;
    }
    // Once after the first fill: by default tells the page area that the page
    // is ready for its messages. A page that is not ready yet (a tab still
    // loading) emits viewSlot()->signalPageReady() itself later.
    virtual void pageReady() { emit m_viewSlot->signalPageReady(); }
    // A session without the modify right sees the page but cannot edit it.
    virtual void applyReadOnly()
    {
        if constexpr (std::is_base_of_v<QWidget, Base>)
            bview::makeReadOnly(this);
    }
    virtual QString name() const { return QStringLiteral("BView"); }
    virtual unsigned tableCount() const { return 0; }
    virtual void languageChange() { }

    void dataLoaded() override
    {
        if (auto *page = dynamic_cast<BTabPage *>(this); page && page->pageState() != 2)
            page->setPageState(BTabPage::Loaded);
        beforeFill();
        updateView();
        if (this->m_updating)
            return; // the fill failed: the form stays disabled
        this->setFormEnabled(true);
        if (hasApplyReset() && !bview::sessionMayModify())
            applyReadOnly();
        if (!m_initialised) {
            m_initialised = true;
            this->m_updating = true;
            afterFirstLoad();
            this->m_updating = false;
            pageReady();
        }
    }

    void apply(bool *ok) override
    {
        const bool result = validate() ? save() : false;
        if (ok)
            *ok = result;
    }

    void reset() override
    {
        discard();
        updateView();
        postReset();
    }

    bool isInitialised() const { return m_initialised; }
    bview::BViewSlot *viewSlot() const override { return m_viewSlot; }
    BViewMenu *viewMenu() const override { return m_viewMenu; }
    int sectionId() const override { return m_sectionId; }
    void setSectionId(int id) override { m_sectionId = id; }

protected:
    // The common load: disable the form, drop requests queued for the page
    // that was left (first load only), select the page's tables.
    void loadTables(DBTransTab *tables, bool first)
    {
        this->setFormEnabled(false);
        bview::startLoad(tables, first, this->m_objectSlot);
    }
    // The common save: apply the connection's pending operations and take
    // the tables' new snapshot; shows the error while connected.
    bool saveTables(DBTransTab *tables)
    {
        return bview::saveTables(tables, this->m_objectSlot, this);
    }

    bview::BViewSlot *m_viewSlot;
    BViewMenu *m_viewMenu;
    bool m_initialised = false;
    int m_sectionId = -1;
};

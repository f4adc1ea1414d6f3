#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include <QObject>
#include <QString>

#include <utility>

class DBConn;

// Receives the results of a form's asynchronous load.
class BObjectInterface
{
public:
    virtual ~BObjectInterface() = default;
    virtual void dataLoaded() = 0;
    virtual void dataError(const QString &message) = 0;
};

namespace bobject {

// The signal/slot face of a form (form classes are templates, which the
// meta-object compiler cannot handle): each slot forwards to one operation.
class BObjectSlot : public QObject
{
    Q_OBJECT
public:
    BObjectSlot(BObjectInterface *owner, QObject *parent);

public slots:
    void slotDataLoaded();
    void slotDataError(const QString &message);

signals:
    // Status text for the main window ("Saving...").
    void signalSetAnimationText(const QString &text);

private:
    BObjectInterface *m_owner;
};

// Connects a form's status text to the registered main window, if any.
void connectToMainWindow(BObjectSlot *slot);

// The connection registered under "utKontDBConn", or null.
DBConn *connection();
// True when server errors are to be shown: only while the session is up, so
// errors caused by a disconnection stay silent.
bool errorsShown();
// Shows a load or save error under the rules of errorsShown().
void showServerError(QObject *context, const QString &message);

} // namespace bobject

// Mixes the form behaviour into a toolkit widget class Base: the adaptor
// object, the updating flag (set while the form writes into its widgets, so
// change notifications are ignored) and the enable operation.
template<class Base>
class BObject : public Base, public BObjectInterface
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BObject, Args...>) explicit BObject(Args &&...args)
        : Base(std::forward<Args>(args)...)
        , m_objectSlot(new bobject::BObjectSlot(this, this))
    {
        bobject::connectToMainWindow(m_objectSlot);
    }

    virtual void setFormEnabled(bool enabled) { Base::setEnabled(enabled); }

    bool isUpdating() const { return m_updating; }
    void setUpdating(bool updating) { m_updating = updating; }
    bobject::BObjectSlot *objectSlot() const { return m_objectSlot; }

    void dataError(const QString &message) override { bobject::showServerError(this, message); }

protected:
    bobject::BObjectSlot *m_objectSlot;
    bool m_updating = false;
};

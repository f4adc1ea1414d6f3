#include "forms/bview.h"

#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "forms/bframewindow.h"
#include "forms/bmessagebox.h"
#include "forms/btab.h"
#include "forms/formslog.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

namespace bview {

BViewSlot::BViewSlot(BViewInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
{ }

void BViewSlot::slotApply(bool *ok)
{
    m_owner->apply(ok);
}

void BViewSlot::slotReset()
{
    m_owner->reset();
}

void BViewSlot::slotUpdateView()
{
    m_owner->updateView();
}

int &keepRequestsCounter()
{
    static int counter = 0;
    return counter;
}

void connectToFrameWindow(BViewSlot *slot)
{
    auto *frame = qobject_cast<BFrameWindow *>(UtKontainer::object(UtKey::FWindow));
    if (!frame)
        return;
    QObject::connect(frame, &BFrameWindow::signalApply, slot, &BViewSlot::slotApply);
    QObject::connect(frame, &BFrameWindow::signalReset, slot, &BViewSlot::slotReset);
}

void disconnectFromFrameWindow(BViewSlot *slot)
{
    if (QObject *frame = UtKontainer::object(UtKey::FWindow))
        QObject::disconnect(frame, nullptr, slot, nullptr);
}

void startLoad(DBTransTab *tables, bool first, bobject::BObjectSlot *slot)
{
    if (first && keepRequestsCounter() <= 0) {
        if (DBConn *conn = bobject::connection())
            conn->cancelPending(true);
    }
    if (tables) {
        tables->select(slot, SLOT(slotDataLoaded()), slot, SLOT(slotDataError(QString)));
    }
}

bool saveTables(DBTransTab *tables, bobject::BObjectSlot *slot, QObject *context)
{
    emit slot->signalSetAnimationText(QCoreApplication::translate("BView", "Saving..."));
    if (!tables)
        return false;
    const bool ok = tables->applySync();
    if (!ok)
        bobject::showServerError(context, tables->errorText());
    return ok;
}

bool forwardQueryClose(BTabPage *page, bool *saved, bool *handled)
{
    *handled = false;
    BTab *tab = page->ownerTab();
    BForm *owner = tab ? tab->ownerForm() : nullptr;
    if (!owner)
        return true;
    *handled = true;
    return owner->queryClose(saved);
}

bool askSaveChanges(QObject *context, bool *saved, BViewInterface *view)
{
    bool result = true;
    if (saved)
        *saved = false;
    DBConn *conn = bobject::connection();
    DBCtrl *ctrl = conn ? conn->transCtrl() : nullptr;
    if (!ctrl || ctrl->operationCount() == 0)
        return true;
    const auto answer = bmessagebox::askSave(
            qobject_cast<QWidget *>(context),
            QCoreApplication::translate("BView", "Do you want to save changes?"));
    if (answer == QMessageBox::Yes) {
        bool ok = false;
        view->apply(&ok);
        if (!ok)
            result = false;
        else if (saved)
            *saved = true;
    } else if (answer == QMessageBox::No) {
        view->reset();
    } else {
        result = false;
    }
    return result;
}

void trace(const char *format, const QString &name)
{
    qCDebug(lcForms).noquote() << QString::fromLatin1(format).arg(name);
}

bool sessionMayModify()
{
    const DBConn *conn = bobject::connection();
    return conn && conn->mayModify();
}

void makeReadOnly(QWidget *root)
{
    if (!root)
        return;
    // Values stay readable and selectable; nothing can be changed or started.
    for (QLineEdit *edit : root->findChildren<QLineEdit *>()) {
        if (!qobject_cast<QAbstractSpinBox *>(edit->parentWidget())
            && !qobject_cast<QComboBox *>(edit->parentWidget()))
            edit->setReadOnly(true);
    }
    for (QTextEdit *edit : root->findChildren<QTextEdit *>())
        edit->setReadOnly(true);
    for (QPlainTextEdit *edit : root->findChildren<QPlainTextEdit *>())
        edit->setReadOnly(true);
    for (QAbstractSpinBox *box : root->findChildren<QAbstractSpinBox *>())
        box->setReadOnly(true);
    for (QComboBox *box : root->findChildren<QComboBox *>())
        box->setEnabled(false);
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        // The scroll arrows of tab bars only move between pages.
        if (!qobject_cast<QTabBar *>(button->parentWidget()))
            button->setEnabled(false);
    }
}

void makeViewOnly(QDialog *dialog)
{
    makeReadOnly(dialog);
    for (QDialogButtonBox *box : dialog->findChildren<QDialogButtonBox *>()) {
        if (QPushButton *ok = box->button(QDialogButtonBox::Ok))
            ok->hide();
        if (QPushButton *cancel = box->button(QDialogButtonBox::Cancel)) {
            cancel->setEnabled(true);
            cancel->setText(QCoreApplication::translate("BDialog", "Close"));
            cancel->setDefault(true);
        }
    }
}

} // namespace bview

#include "db/widgets/dbmessagebox.h"

#include "db/dbevent.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {
constexpr int WarningEvent = 1001;
DBMessageBox::Presenter presenter = nullptr;

struct Warning
{
    QPointer<QWidget> parent;
    QString caption;
    QString text;
};
} // namespace
Q_DECLARE_METATYPE(Warning)

DBMessageBox::DBMessageBox(const QString &caption, QObject *parent)
    : QObject(parent)
    , m_caption(caption)
{
    installEventFilter(this);
}

DBMessageBox::~DBMessageBox()
{
    QCoreApplication::removePostedEvents(this, WarningEvent);
}

DBMessageBox *DBMessageBox::instance()
{
    static DBMessageBox *shared = [] {
        auto *box = new DBMessageBox;
        // Lives on the interface thread and goes with the application.
        box->moveToThread(QCoreApplication::instance()->thread());
        box->setParent(QCoreApplication::instance());
        return box;
    }();
    return shared;
}

void DBMessageBox::setPresenter(Presenter p)
{
    presenter = p;
}

void DBMessageBox::postWarning(QWidget *parent, const QString &caption, const QString &text)
{
    if (text.isEmpty() || !QCoreApplication::instance())
        return;
    const Warning warning{parent, caption, text};
    auto *event = new DBEvent(WarningEvent, QVariant::fromValue(warning));
    DBEvent::beforePost();
    QCoreApplication::postEvent(instance(), event);
}

void DBMessageBox::show(QWidget *parent, const QString &caption, const QString &text)
{
    const QString title = caption.isEmpty() ? tr("Brantel Administration Console") : caption;
    if (presenter) {
        presenter(parent, title, text);
        return;
    }
    // The text may come from the server: shown as it is, never as rich text.
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void DBMessageBox::slotError(const QString &text)
{
    show(QApplication::activeWindow(), m_caption, text);
}

bool DBMessageBox::eventFilter(QObject *watched, QEvent *event)
{
    DBEvent::afterReceive();
    if (watched == this && int(event->type()) == WarningEvent) {
        const auto warning = static_cast<DBEvent *>(event)->argument().value<Warning>();
        show(warning.parent, warning.caption, warning.text);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

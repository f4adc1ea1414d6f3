#include "pagetest.h"

#include "app/fpage.h"
#include "app/fwidgetbottom.h"
#include "app/mailwindow.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbreq.h"
#include "db/utdebug.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"
#include "forms/bpagefactory.h"
#include "forms/bpwdlineedit.h"
#include "forms/tbformlist.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

void PageTest::setUpPages()
{
    setUpConsole();
    registerApplicationPages();
}

void PageTest::tearDownPages()
{
    tearDownConsole();
}

bool PageTest::startConsole(const QString &user)
{
    return launchConsoleAndWait(user);
}

int PageTest::pendingOperations() const
{
    return connection()->transCtrl()->operationCount();
}

void PageTest::apply()
{
    pageArea()->bottomBar()->applyButton()->click();
}

namespace {

// A session of its own, connected or null.
std::unique_ptr<DBConn> secondSession(const postdesk::test::DevServerProcess &server,
                                      const QString &knownHosts)
{
    auto conn = std::make_unique<DBConn>(QString::fromStdString(server.host()), int(server.port()),
                                         QStringLiteral("admin"), QStringLiteral("admin"));
    conn->setKnownHostsPath(knownHosts);
    conn->start();
    if (!QTest::qWaitFor([&conn] { return conn->isConnected(); }, 30000))
        return nullptr;
    return conn;
}

QString cellText(const DBReq &req, int row, int column, int type)
{
    switch (type) {
    case DBType::Int:
        return req.readInt(row, column).toString();
    case DBType::Int64:
        return req.readInt64(row, column).toString();
    case DBType::Port:
        return req.readPort(row, column).toString();
    case DBType::IpAddr:
        return req.readIpAddr(row, column).toString();
    case DBType::RawText:
        return req.readRawStr(row, column).toString();
    default:
        return req.readStr(row, column, type).toString();
    }
}

} // namespace

QStringList PageTest::serverRows(const QString &query)
{
    if (!m_server && !startServer())
        return {QStringLiteral("<no server>")};
    auto conn = secondSession(*m_server, knownHostsPath());
    if (!conn)
        return {QStringLiteral("<no second session>")};
    DBReq req(query);
    QStringList rows;
    if (!conn->execSync(&req)) {
        rows << QStringLiteral("<error: %1>").arg(req.errorText());
    } else {
        for (int row = 0; row < req.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < req.columnCount(); ++column) {
                QString name;
                int type = 0;
                bool attribute = false;
                int extra = 0;
                req.columnInfo(column, &name, &type, &attribute, &extra);
                cells << cellText(req, row, column, type);
            }
            rows << cells.join(QLatin1Char('|'));
        }
    }
    conn->stop();
    return rows;
}

bool PageTest::serverExec(const QString &statement)
{
    const QStringList rows = serverRows(statement);
    return rows.isEmpty() || !rows.first().startsWith(QLatin1String("<"));
}

QStringList PageTest::mailLogTail(int lines)
{
    const QStringList count = serverRows(QStringLiteral("select LogList(\"mail\")"));
    if (count.size() != 1)
        return count;
    const int total = count.first().section(QLatin1Char('|'), 1, 1).toInt();
    const int first = qMax(0, total - lines);
    return serverRows(
            QStringLiteral("select LogData(\"mail\", %1, %2)").arg(first).arg(total - first));
}

void PageTest::removeResetApply(TBFormList *page, const QString &firstCell, const QString &rowQuery)
{
    auto find = [page, &firstCell] {
        return page->listView()->findItems(firstCell, Qt::MatchExactly, 0).value(0);
    };
    const QStringList stored = serverRows(rowQuery);
    QCOMPARE(stored.size(), 1);
    QVERIFY(find());
    page->listView()->setCurrentItem(find());
    page->removeButton()->click();
    QVERIFY(!find());
    QCOMPARE(pendingOperations(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(pageArea()->bottomBar()->resetButton()->isEnabled(), kTimeout);
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(find(), kTimeout);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(rowQuery), stored);

    page->listView()->setCurrentItem(find());
    page->removeButton()->click();
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(!find());
    QCOMPARE(serverRows(rowQuery), QStringList());
}

bool PageTest::typePassword(BPwdLineEdit *edit, const QString &text)
{
    // The administrator tabs into the field. The focus event is sent to the
    // field itself: on a busy machine the offscreen dialog may not be the
    // active window yet, and then setFocus() delivers no event at all.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &focusIn);
    if (edit->isDummy())
        return false;
    QTest::keyClicks(edit, text);
    return edit->isPasswordChanged() && edit->value() == text;
}

QStringList PageTest::unnamedControls(const QWidget *root)
{
    QSet<const QWidget *> buddies;
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (label->buddy())
            buddies.insert(label->buddy());
    }
    QStringList unnamed;
    for (const QWidget *widget : root->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(root) || !widget->accessibleName().isEmpty()
            || buddies.contains(widget))
            continue;
        // The parts a combo, spin box or list is made of are named by it.
        const QWidget *parent = widget->parentWidget();
        if (parent
            && (parent->inherits("QComboBox") || parent->inherits("QAbstractSpinBox")
                || parent->inherits("QAbstractScrollArea")))
            continue;
        const auto *button = qobject_cast<const QAbstractButton *>(widget);
        const bool input = qobject_cast<const QLineEdit *>(widget)
                || qobject_cast<const QAbstractSpinBox *>(widget)
                || qobject_cast<const QComboBox *>(widget)
                || (qobject_cast<const QAbstractItemView *>(widget)
                    && !widget->inherits("QHeaderView"));
        if (input || (button && button->text().isEmpty()))
            unnamed << widget->objectName();
    }
    return unnamed;
}

bool PageTest::withModal(const std::function<void()> &trigger,
                         const std::function<void(QWidget *)> &handler)
{
    bool handled = false;
    // A watcher of its own: a handler that opens a nested modal runs inside
    // the outer watcher's timer, which Qt does not fire again until it returns.
    postdesk::test::ModalWatcher watcher;
    watcher.expect([&](QWidget *modal) {
        QPointer<QWidget> window(modal);
        handler(modal);
        handled = true;
        // A handler that failed half-way leaves its window open: close it so
        // the test reports the failure instead of waiting for ever.
        if (auto *dialog = qobject_cast<QDialog *>(window.data()); dialog && dialog->isVisible())
            dialog->reject();
    });
    trigger();
    return QTest::qWaitFor([&] { return handled; }, kTimeout);
}

QStringList PageTest::changeableInRowDialog(BListView *list, BListViewItem *item)
{
    QStringList changeable{QStringLiteral("no dialog")};
    list->scrollToItem(item);
    const QPoint where = list->visualItemRect(item).center();
    withModal(
            [&] {
                // The view opens what the button went down on twice.
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
            },
            [&](QWidget *modal) {
                changeable.clear();
                auto name = [](const QWidget *widget, const QString &text = {}) {
                    return widget->objectName().isEmpty()
                            ? QString::fromLatin1(widget->metaObject()->className()) + ' ' + text
                            : widget->objectName();
                };
                for (QLineEdit *edit : modal->findChildren<QLineEdit *>()) {
                    if (edit->isVisible() && edit->isEnabled() && !edit->isReadOnly()
                        && !qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
                        changeable << name(edit, edit->text());
                }
                for (QAbstractSpinBox *box : modal->findChildren<QAbstractSpinBox *>()) {
                    if (box->isVisible() && box->isEnabled() && !box->isReadOnly())
                        changeable << name(box, box->text());
                }
                for (QComboBox *box : modal->findChildren<QComboBox *>()) {
                    if (box->isVisible() && box->isEnabled())
                        changeable << name(box, box->currentText());
                }
                QPushButton *close = nullptr;
                for (QAbstractButton *button : modal->findChildren<QAbstractButton *>()) {
                    if (!button->isVisible() || !button->isEnabled()
                        || qobject_cast<QTabBar *>(button->parentWidget()))
                        continue;
                    auto *push = qobject_cast<QPushButton *>(button);
                    if (push && button->text().remove('&') == QLatin1String("Close"))
                        close = push;
                    else
                        changeable << name(button, button->text());
                }
                if (close)
                    close->click();
                else
                    changeable << QStringLiteral("no Close");
            });
    return changeable;
}

bool viewToldOf(const QSignalSpy &changes, const BListView *list, const BListViewItem *item)
{
    for (const QList<QVariant> &change : changes) {
        if (list->listModel()->itemFromIndex(qvariant_cast<QModelIndex>(change.at(0))) == item)
            return true;
    }
    return false;
}

bool viewTold(const QSignalSpy &changes, const QModelIndex &index)
{
    for (const QList<QVariant> &change : changes) {
        const auto first = change.at(0).value<QModelIndex>();
        const auto last = change.at(1).value<QModelIndex>();
        if (first.parent() == index.parent() && first.row() <= index.row()
            && index.row() <= last.row() && first.column() <= index.column()
            && index.column() <= last.column())
            return true;
    }
    return false;
}

BoxAnswers::BoxAnswers(QMessageBox::StandardButton answer)
    : m_answer(answer)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer.start(20);
}

void BoxAnswers::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || box == m_last || !box->isVisible())
        return;
    m_last = box;
    texts << box->text();
    QAbstractButton *button = box->button(m_answer);
    if (!button)
        button = box->buttons().value(0);
    QTimer::singleShot(0, button, &QAbstractButton::click);
}

TraceCapture::TraceCapture()
    : m_sink(UtDebug::addSink([this](int, int, const QString &line) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines << line;
    }))
{ }

TraceCapture::~TraceCapture()
{
    UtDebug::removeSink(m_sink);
}

QString TraceCapture::text() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines.join(QLatin1Char('\n'));
}

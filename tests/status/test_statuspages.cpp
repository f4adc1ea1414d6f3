// The status pages in the real console against the development server: the
// lists show what the server reports, refreshing keeps the selection and the
// scroll position, the queue commands act on the messages chosen at the click
// and report what the server did, and a read-only session has no commands.
#include "app/consoletest.h"
#include "app/fconsole.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/blistview.h"
#include "forms/bpagefactory.h"
#include "forms/modalanswerer.h"
#include "forms/sectionids.h"
#include "status/activeconnectionswnd.h"
#include "status/messagequeuewnd.h"
#include "status/openedfolderswnd.h"
#include "status/removefilterdlg.h"
#include "status/statuscells.h"
#include "support/devserver_process.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <limits>

namespace {

QStringList texts(const BListView *list, int column)
{
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result << list->topLevelItem(i)->text(column);
    return result;
}

BListViewItem *findItem(const BListView *list, const QString &key)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == key)
            return list->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

class TestStatusPages : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init()
    {
        setUpConsole();
        registerApplicationPages();
    }
    void cleanup() { tearDownConsole(); }
    void connectionsAndFoldersShowTheServerRows();
    void queueShowsAndSortsByValue();
    void refreshKeepsSelectionAndScroll();
    void removeTakesTheRowsChosenAtTheClick_data();
    void removeTakesTheRowsChosenAtTheClick();
    void tryNowAndRunQueue();
    void removeByPattern_data();
    void removeByPattern();
    void failedRemovalsAreCounted();
    void viewerHasNoQueueCommands();
    void autoRefreshRunsOnItsTimer();

private:
    bool startConsole(const QString &user, std::vector<std::string> serverArgs);
    MailQueueWnd *openQueue();
    QStringList serverQueue(const QString &column = QStringLiteral("id"));
    bool removeOnServer(const QString &id);
    void refreshAndWait(StatusListWnd *page);
    void clickItems(BListView *list, const QStringList &keys);
};

bool TestStatusPages::startConsole(const QString &user, std::vector<std::string> serverArgs)
{
    serverArgs.push_back("--no-ticker");
    if (!startServer(serverArgs))
        return false;
    return launchConsoleAndWait(user);
}

MailQueueWnd *TestStatusPages::openQueue()
{
    auto *page = qobject_cast<MessageQueueWnd *>(openSection(SectionId::MessageQueue));
    return page ? page->queuePage() : nullptr;
}

// What a second session of its own reads from the server.
QStringList TestStatusPages::serverQueue(const QString &column)
{
    DBConn second(QString::fromStdString(m_server->host()), int(m_server->port()),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    second.setKnownHostsPath(knownHostsPath());
    second.start();
    if (!QTest::qWaitFor([&second] { return second.isConnected(); }, kTimeout))
        return {QStringLiteral("<no second session>")};
    DBReq req(QStringLiteral("select show_queue()"));
    QStringList values;
    if (second.execSync(&req)) {
        int index = -1;
        for (int c = 0; c < req.columnCount(); ++c) {
            QString name;
            if (req.columnInfo(c, &name, nullptr, nullptr, nullptr) && name == column)
                index = c;
        }
        for (int r = 0; r < req.rowCount() && index >= 0; ++r)
            values << req.readStr(r, index).toString();
    } else {
        values << QStringLiteral("<error: %1>").arg(req.errorText());
    }
    second.stop();
    return values;
}

bool TestStatusPages::removeOnServer(const QString &id)
{
    DBConn second(QString::fromStdString(m_server->host()), int(m_server->port()),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    second.setKnownHostsPath(knownHostsPath());
    second.start();
    if (!QTest::qWaitFor([&second] { return second.isConnected(); }, kTimeout))
        return false;
    DBReq req(QStringLiteral("select QueueRemoveID(\"%1\")").arg(id));
    const bool ok = second.execSync(&req) && req.resultCode() == 0;
    second.stop();
    return ok;
}

void TestStatusPages::refreshAndWait(StatusListWnd *page)
{
    QVERIFY(page->refreshButton()->isEnabled());
    page->refreshButton()->click();
    QVERIFY(page->isBusy());
    QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy() && page->isEnabled(), kTimeout);
}

// Ctrl-clicks each row, as the administrator picks several messages.
void TestStatusPages::clickItems(BListView *list, const QStringList &keys)
{
    list->clearSelection();
    for (const QString &key : keys) {
        BListViewItem *item = findItem(list, key);
        QVERIFY2(item, qPrintable(key));
        list->scrollToItem(item);
        const QRect rect = list->visualItemRect(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    }
}

void TestStatusPages::connectionsAndFoldersShowTheServerRows()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {}));
    auto *connections
            = qobject_cast<ActiveConnectionsWnd *>(openSection(SectionId::ActiveConnections));
    QVERIFY(connections);
    QVERIFY(pageArea()->bottomBar()->isHidden());
    BListView *general = connections->generalPage()->listView();
    // Our own session is one of the server's connections.
    const int admin = int(texts(general, 0).indexOf(QStringLiteral("ADMIN")));
    QVERIFY(admin >= 0);
    BListViewItem *row = general->topLevelItem(admin);
    QCOMPARE(row->text(1), QStringLiteral("Yes"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                    .match(row->text(2))
                    .hasMatch());
    QVERIFY(row->text(4).startsWith(QStringLiteral("admin")));
    QCOMPARE(general->headerItem()->text(0), QStringLiteral("Protocol"));
    // Screen readers name every list.
    QCOMPARE(general->accessibleName(), QStringLiteral("Active Connections"));
    QCOMPARE(connections->webPage()->listView()->accessibleName(), QStringLiteral("Web Sessions"));

    // The web sessions load when their tab is shown.
    connections->tab()->setCurrentIndex(1);
    BListView *web = connections->webPage()->listView();
    QTRY_COMPARE_WITH_TIMEOUT(web->topLevelItemCount(), 2, kTimeout);
    QCOMPARE(web->headerItem()->text(1), QStringLiteral("Client Address"));
    QVERIFY(texts(web, 1).contains(QStringLiteral("192.168.1.44")));

    auto *folders = qobject_cast<OpenedFoldersWnd *>(openSection(SectionId::OpenedFolders));
    QVERIFY(folders);
    BListView *list = folders->listView();
    BListViewItem *inbox = findItem(list, QStringLiteral("alice@example.com/INBOX"));
    QVERIFY(inbox);
    QCOMPARE(inbox->text(1), QStringLiteral("2"));
    QCOMPARE(inbox->text(2), QStringLiteral("Yes"));
    QCOMPARE(inbox->text(3), QStringLiteral("alice@example.com, bob@example.com"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Reference Count"));
}

void TestStatusPages::queueShowsAndSortsByValue()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {"--seed-queue", "40"}));
    auto *page = qobject_cast<MessageQueueWnd *>(openSection(SectionId::MessageQueue));
    QVERIFY(page);
    MailQueueWnd *queue = page->queuePage();
    BListView *list = queue->listView();
    QCOMPARE(list->topLevelItemCount(), 43);
    BListViewItem *q1003 = findItem(list, QStringLiteral("Q1003"));
    QVERIFY(q1003);
    QCOMPARE(q1003->text(3), QStringLiteral("120044"));
    QCOMPARE(q1003->text(4), QStringLiteral("erin@example.org"));
    QCOMPARE(list->headerItem()->text(2), QStringLiteral("Next Try"));

    // Size and Next Try sort by value, not by their text.
    const struct
    {
        int column;
        std::function<qint64(const QString &)> value;
    } sorts[] = {{3, [](const QString &text) { return text.toLongLong(); }},
                 {2, [](const QString &text) { return statuscells::queueDateSeconds(text); }}};
    for (const auto &sort : sorts) {
        QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                          QPoint(list->header()->sectionViewportPosition(sort.column) + 5, 5));
        list->ensureSorted();
        const QStringList column = texts(list, sort.column);
        qint64 previous = std::numeric_limits<qint64>::min();
        const bool descending = list->header()->sortIndicatorOrder() == Qt::DescendingOrder;
        for (const QString &text : column) {
            const qint64 value = sort.value(text);
            QVERIFY(value != statuscells::kNoDate);
            if (previous != std::numeric_limits<qint64>::min())
                QVERIFY2(descending ? value <= previous : value >= previous, qPrintable(text));
            previous = value;
        }
    }

    // The deliveries under way, on the second tab.
    page->tab()->setCurrentIndex(1);
    BListView *delivery = page->deliveryPage()->listView();
    QTRY_VERIFY_WITH_TIMEOUT(delivery->topLevelItemCount() > 0, kTimeout);
    QVERIFY(delivery->topLevelItem(0)->text(5).endsWith(QStringLiteral(" %")));
    QCOMPARE(delivery->headerItem()->text(6), QStringLiteral("Server"));
}

void TestStatusPages::refreshKeepsSelectionAndScroll()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {"--seed-queue", "300"}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    BListView *list = queue->listView();
    QCOMPARE(list->topLevelItemCount(), 303);
    clickItems(list, {QStringLiteral("G0000150"), QStringLiteral("G0000152")});
    list->scrollToItem(findItem(list, QStringLiteral("G0000140")),
                       QAbstractItemView::PositionAtTop);
    QCOMPARE(list->itemAt(0, 0)->text(0), QStringLiteral("G0000140"));
    const int scrolled = list->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);

    // Rows above go away meanwhile: positions shift, the ids stay.
    QVERIFY(removeOnServer(QStringLiteral("G0000010")));
    QVERIFY(removeOnServer(QStringLiteral("G0000151")));
    refreshAndWait(queue);
    QCOMPARE(list->topLevelItemCount(), 301);
    QCOMPARE(queue->selectedIds(), QStringList({"G0000150", "G0000152"}));
    QCOMPARE(list->currentItem()->text(0), QStringLiteral("G0000152"));
    QCOMPARE(list->itemAt(0, 0)->text(0), QStringLiteral("G0000140"));
    QVERIFY(queue->removeButton()->isEnabled());
}

void TestStatusPages::removeTakesTheRowsChosenAtTheClick_data()
{
    QTest::addColumn<QString>("goneBefore");
    QTest::addColumn<bool>("refreshInFlight");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("a row above went away") << "Q1001" << false << QStringList{"Q1003"};
    QTest::newRow("the chosen row went away") << "Q1002" << false << QStringList{"Q1001", "Q1003"};
    QTest::newRow("refresh still on its way") << "" << true << QStringList{"Q1001", "Q1003"};
}

void TestStatusPages::removeTakesTheRowsChosenAtTheClick()
{
    QFETCH(QString, goneBefore);
    QFETCH(bool, refreshInFlight);
    QFETCH(QStringList, remaining);
    QVERIFY(startConsole(QStringLiteral("admin"), {}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    BListView *list = queue->listView();
    clickItems(list, {QStringLiteral("Q1002")});
    if (!goneBefore.isEmpty()) {
        QVERIFY(removeOnServer(goneBefore));
        refreshAndWait(queue);
    }
    if (refreshInFlight) {
        // The page waits for its rows: nothing can be removed meanwhile.
        queue->refreshButton()->click();
        QVERIFY(queue->isBusy());
        QVERIFY(!queue->removeButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!queue->isBusy(), kTimeout);
    }
    ModalAnswerer answerer(QMessageBox::Ok);
    // Delete in the list is the list's "&Remove".
    if (queue->removeButton()->isEnabled()) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
    } else {
        QCOMPARE(goneBefore, QStringLiteral("Q1002")); // nothing chosen is left
        QVERIFY(queue->selectedIds().isEmpty());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!queue->isBusy(), kTimeout);
    QCOMPARE(serverQueue(), remaining);
    if (goneBefore != QLatin1String("Q1002")) {
        QCOMPARE(answerer.texts,
                 QStringList{"<nobr>message(s) will be removed from the queue.<br>Press the "
                             "'Refresh' button to view current status of the message "
                             "queue.</nobr>"});
    } else {
        QVERIFY(answerer.texts.isEmpty());
    }
}

void TestStatusPages::tryNowAndRunQueue()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    QCOMPARE(serverQueue(QStringLiteral("status")).first(),
             QStringLiteral("Deferred: 451 try later"));
    clickItems(queue->listView(), {QStringLiteral("Q1001")});
    ModalAnswerer answerer(QMessageBox::Ok);
    queue->tryNowButton()->click();
    QCOMPARE(serverQueue(QStringLiteral("status")).first(), QStringLiteral("Waiting"));
    QVERIFY(answerer.texts.isEmpty()); // success needs no box

    queue->runQueueButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts.size(), 1, kTimeout);
    QCOMPARE(answerer.texts.first(),
             QStringLiteral("<nobr>Action started.<br>You can view its results in the log "
                            "window.</nobr>"));
    QCOMPARE(answerer.captions.first(), QStringLiteral("Administration Console for Postvane"));
}

void TestStatusPages::removeByPattern_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("remaining");
    // sender0@example.com sent G0000001 and G0000098.
    QTest::newRow("same sender, other recipients")
            << QStringList{"G0000001", "G0000098"} << "sender0@example.com"
            << "*" << false << QMessageBox::Ok << 101;
    QTest::newRow("different senders: whole queue, declined")
            << QStringList{"Q1001", "Q1003"} << "*"
            << "*" << true << QMessageBox::No << 103;
    QTest::newRow("different senders: whole queue, confirmed")
            << QStringList{"Q1001", "Q1003"} << "*"
            << "*" << true << QMessageBox::Yes << 0;
}

void TestStatusPages::removeByPattern()
{
    QFETCH(QStringList, chosen);
    QFETCH(QString, sender);
    QFETCH(QString, recipient);
    QFETCH(bool, asked);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, remaining);
    QVERIFY(startConsole(QStringLiteral("admin"), {"--seed-queue", "100"}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    clickItems(queue->listView(), chosen);

    ModalAnswerer answerer(answer);
    QString title;
    QString shownSender;
    QString shownRecipient;
    QString typed;
    answerer.setDialogHandler([&](QDialog *dialog) {
        auto *filter = qobject_cast<RemoveFilterDlg *>(dialog);
        if (!filter)
            return dialog->reject();
        title = filter->windowTitle();
        shownSender = filter->senderEdit()->text();
        shownRecipient = filter->recipientEdit()->text();
        // Characters the pattern expression refuses are not taken.
        filter->recipientEdit()->setFocus();
        QTest::keyClicks(filter->recipientEdit(), QStringLiteral("\" <"));
        typed = filter->recipientEdit()->text();
        QTest::keyClick(filter, Qt::Key_Return);
        if (filter->isVisible())
            filter->reject();
    });
    queue->removePatternButton()->click();
    QCOMPARE(title, QStringLiteral("Remove Message Filter"));
    QCOMPARE(shownSender, sender);
    QCOMPARE(shownRecipient, recipient);
    QCOMPARE(typed, recipient);
    const QString question = QStringLiteral(
            "<nobr>These patterns match every message in the queue.<br>Do you want to remove all "
            "messages from the queue?</nobr>");
    QCOMPARE(answerer.texts.contains(question), asked);
    QCOMPARE(serverQueue().size(), remaining);
    if (remaining < 103)
        QVERIFY(answerer.texts.last().startsWith(
                QStringLiteral("<nobr>message(s) will be removed")));
    else
        QCOMPARE(answerer.texts, QStringList{question});
}

void TestStatusPages::failedRemovalsAreCounted()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {"--fault-status", "207:Q1003"}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    clickItems(queue->listView(), {QStringLiteral("Q1001"), QStringLiteral("Q1003")});
    ModalAnswerer answerer(QMessageBox::Ok);
    queue->removeButton()->click();
    QCOMPARE(serverQueue(), QStringList({"Q1002", "Q1003"}));
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().startsWith(
                     QStringLiteral("<nobr>1 of 2 removals were accepted by the server.<br>")),
             qPrintable(answerer.texts.first()));
    QVERIFY(!answerer.texts.first().contains(QStringLiteral("will be removed")));
}

void TestStatusPages::viewerHasNoQueueCommands()
{
    QVERIFY(startConsole(QStringLiteral("viewer"), {}));
    MailQueueWnd *queue = openQueue();
    QVERIFY(queue);
    BListView *list = queue->listView();
    QCOMPARE(list->topLevelItemCount(), 3);
    clickItems(list, {QStringLiteral("Q1001")});
    QCOMPARE(queue->selectedIds(), QStringList{"Q1001"});
    for (QPushButton *button : {queue->removeButton(), queue->tryNowButton(),
                                queue->removePatternButton(), queue->runQueueButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    for (int id : {int(BListView::CommandRemove), int(MailQueueWnd::TryNow),
                   int(MailQueueWnd::RemoveByPattern), int(MailQueueWnd::RunQueue)})
        QVERIFY(!list->menuAction(id)->isEnabled());
    // Refreshing changes nothing, so a viewer keeps it.
    QVERIFY(queue->refreshButton()->isEnabled());
    ModalAnswerer answerer(QMessageBox::Ok);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    queue->slotRunQueue();
    queue->slotRemoveByPattern();
    QTest::qWait(100);
    QVERIFY(answerer.texts.isEmpty());
    QCOMPARE(serverQueue(), QStringList({"Q1001", "Q1002", "Q1003"}));
}

void TestStatusPages::autoRefreshRunsOnItsTimer()
{
    QVERIFY(startConsole(QStringLiteral("admin"), {}));
    auto *folders = qobject_cast<OpenedFoldersWnd *>(openSection(SectionId::OpenedFolders));
    QVERIFY(folders);
    BListView *list = folders->listView();
    clickItems(list, {QStringLiteral("#public/Shared")});
    QSignalSpy loads(folders->table(), &DBTable::signalSelectIsReady);
    folders->autoRefreshAction(statusformlist::Every5s)->trigger();
    QVERIFY(folders->refreshTimer()->isActive());
    // The timer reloads the list twice, the same row still chosen.
    QTRY_VERIFY_WITH_TIMEOUT(loads.count() >= 2 && !folders->isBusy(), 20000);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(folders->selectedKeys(), QStringList{"#public/Shared"});
    QVERIFY(folders->refreshTimer()->isActive());
}

QTEST_MAIN(TestStatusPages)
#include "test_statuspages.moc"

// The "IP Address Groups" and "Time Ranges" sections in the real console
// against the development server: the stored forms and their texts, every
// refusal of the two dialogs, the group picker free of loops, the pages
// restricted to one name inside GFormDialog, and a read-only session.
#include "app/fmainwindowex.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "forms/blineedit.h"
#include "forms/blistmodel.h"
#include "forms/blistview.h"
#include "forms/sectionids.h"
#include "pages/definitions/gdlgips.h"
#include "pages/definitions/gdlgtimeint.h"
#include "pages/definitions/gformdialog.h"
#include "pages/definitions/gwndipgroup.h"
#include "pages/definitions/gwndtimeint.h"
#include "pages/definitions/ipentry.h"
#include "pages/definitions/timerange.h"
#include "pagetest.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>

#include <time.h>

namespace {

const QString kIpQuery = QStringLiteral("select Name, Value, Desc, Enabled from IpAccessList");
const QString kTimeQuery
        = QStringLiteral("select Name, Type, Start, End, Days, Desc, Enabled from TimeIntervals");
const QString kComplementKey = QStringLiteral("utKontTimeIntEndPrevStart");

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// The child of a name node whose first column reads text.
// The child of a name node whose column reads text; the node is opened first,
// which makes its children.
BListViewItem *findEntry(GDefinitionWnd *page, const QString &name, const QString &text,
                         int column = 0)
{
    GNameNode *node = page->nameNode(name);
    if (node)
        page->openNode(node);
    for (int i = 0; node && i < node->childCount(); ++i) {
        if (node->child(i)->text(column) == text)
            return node->child(i);
    }
    return nullptr;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

class TestDefinitionsPage : public PageTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { setUpPages(); }
    void cleanup()
    {
        UtKontainer::remove(kComplementKey);
        tearDownPages();
    }

    void ipEntryForms_data();
    void ipEntryForms();
    void loopCheck();
    void timeTexts_data();
    void timeTexts();
    void absoluteTimesAcrossSummerTime_data();
    void absoluteTimesAcrossSummerTime();

    void ipPageListsWhatTheServerHolds();
    void manyEntriesWaitForTheirGroup();
    void ipEntryValidation_data();
    void ipEntryValidation();
    void newEntriesAreStoredEnabled_data();
    void newEntriesAreStoredEnabled();
    void hostNamesOnlyWhereAllowed();
    void groupPickerLeavesOutLoops();
    void referenceToDeletedGroupIsKept();
    void uncheckingAndRemovingGroups();
    void restrictedPageInFormDialog();
    void formDialogKeepsTheHostsEdits();
    void editedEntriesShowTheirNewValues();

    void timePageListsWhatTheServerHolds();
    void timeRangeValidation_data();
    void timeRangeValidation();
    void loadedComplementIsNotQuestioned();
    void timeRangeAddedThroughFormDialog();
    void viewerChangesNothing_data();
    void viewerChangesNothing();

private:
    // Adds an enabled entry on the server before the console reads it.
    bool addServerEntry(const QString &name, const QString &value, const QString &desc)
    {
        return serverExec(QStringLiteral("insert into IpAccessList set Name='%1', Value='%2', "
                                         "Desc='%3', Enabled='1'")
                                  .arg(name, value, desc));
    }
    template<class Page>
    Page *openPage(int section);
    // Runs the page's Add (or Edit on the selected item) and edit() on its dialog.
    template<class Dialog>
    bool runDialog(GDefinitionWnd *page, bool add, const std::function<void(Dialog *)> &edit);
};

void TestDefinitionsPage::initTestCase()
{
    // Absolute times are local times: a zone with summer time proves them.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

template<class Page>
Page *TestDefinitionsPage::openPage(int section)
{
    auto *page = dynamic_cast<Page *>(openSection(section));
    if (page)
        (void)QTest::qWaitFor([page] { return page->isEnabled(); }, kTimeout);
    return page;
}

template<class Dialog>
bool TestDefinitionsPage::runDialog(GDefinitionWnd *page, bool add,
                                    const std::function<void(Dialog *)> &edit)
{
    // A watcher of its own: this may run inside another watcher's handler,
    // whose timer does not fire again until that handler returns.
    postdesk::test::ModalWatcher watcher;
    bool handled = false;
    watcher.expect([&](QWidget *modal) {
        QPointer<QWidget> window(modal);
        auto *dialog = dynamic_cast<Dialog *>(modal);
        if (dialog)
            edit(dialog);
        handled = dialog != nullptr;
        if (auto *open = qobject_cast<QDialog *>(window.data()); open && open->isVisible())
            open->reject();
    });
    add ? page->addButton()->click() : page->editButton()->click();
    return QTest::qWaitFor([&] { return handled; }, kTimeout);
}

void TestDefinitionsPage::ipEntryForms_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("text");
    QTest::newRow("host") << "10.1.2.3" << 0 << "10.1.2.3"
                          << ""
                          << "10.1.2.3";
    QTest::newRow("host name") << "'server'" << 0 << "server"
                               << ""
                               << "server";
    QTest::newRow("network") << "192.168.0.0/255.255.0.0" << 1 << "192.168.0.0"
                             << "255.255.0.0"
                             << "192.168.0.0 / 255.255.0.0";
    QTest::newRow("range") << "10.0.0.1-10.0.0.50" << 2 << "10.0.0.1"
                           << "10.0.0.50"
                           << "10.0.0.1 to 10.0.0.50";
    QTest::newRow("group") << "=Office-West" << 3 << "Office-West"
                           << ""
                           << "Office-West";
    QTest::newRow("quoted name with dash") << "'mail-gw.example'" << 0 << "mail-gw.example"
                                           << ""
                                           << "mail-gw.example";
}

void TestDefinitionsPage::ipEntryForms()
{
    QFETCH(QString, value);
    QFETCH(int, type);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, text);
    const ipentry::Parts parts = ipentry::parse(value);
    QCOMPARE(int(parts.type), type);
    QCOMPARE(parts.first, first);
    QCOMPARE(parts.second, second);
    QCOMPARE(ipentry::itemText(value), text);
    QCOMPARE(ipentry::encode(parts, true), value);
}

void TestDefinitionsPage::loopCheck()
{
    ipentry::GroupGraph graph;
    graph.addEntry("A", "=B");
    graph.addEntry("B", "=C");
    graph.addEntry("C", "10.0.0.1");
    graph.addEntry("Other", "=A");
    graph.addEntry("Free", "10.0.0.2");
    graph.addEntry("Cc", "=Cx"); // a reference to a similar name reaches nothing
    // Editing C: A and B reach it through B, Other through A.
    QCOMPARE(graph.referenceCandidates("C"), QStringList({"Free", "Cc"}));
    QCOMPARE(graph.referenceCandidates("A"), QStringList({"B", "C", "Free", "Cc"}));
    QCOMPARE(graph.referenceCandidates("New"), graph.groups());
    QCOMPARE(graph.groupsReaching("C"), QSet<QString>({"A", "B", "Other"}));
}

void TestDefinitionsPage::timeTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("validOn");
    QTest::addColumn<QString>("daysText");
    QTest::newRow("daily all days") << 0 << qint64(28800) << qint64(61200) << "1234567"
                                    << "Daily from 8:00:00 to 17:00:00"
                                    << "All days";
    QTest::newRow("daily empty days") << 0 << qint64(0) << qint64(86399) << " "
                                      << "Daily from 0:00:00 to 23:59:59"
                                      << "All days";
    QTest::newRow("weekdays") << 0 << qint64(3661) << qint64(7322) << "12345"
                              << "Daily from 1:01:01 to 2:02:02"
                              << "Weekday";
    QTest::newRow("weekend") << 0 << qint64(0) << qint64(60) << "67"
                             << "Daily from 0:00:00 to 0:01:00"
                             << "Weekend";
    QTest::newRow("odd days") << 0 << qint64(79200) << qint64(21600) << "135"
                              << "Daily from 22:00:00 to 6:00:00"
                              << "Mon, Wed, Fri";
    QTest::newRow("whole working week") << 1 << qint64(0) << qint64(4 * 86400 + 86399) << ""
                                        << "Weekly from Monday  to Friday "
                                        << "";
    QTest::newRow("weekly with times")
            << 1 << qint64(2 * 86400 + 3600 * 9) << qint64(6 * 86400 + 1800) << ""
            << "Weekly from Wednesday 9:00:00 to Sunday 0:30:00"
            << "";
    // 2027-01-01 00:00 and 2027-01-02 12:30:05 in Berlin (winter time).
    QTest::newRow("absolute from midnight") << 2 << qint64(1798758000) << qint64(1798889405) << ""
                                            << "From 1. January 2027 to 2. January 2027 12:30:05"
                                            << "";
    // 2026-07-01 08:00 to 2026-07-31 23:59:59 in Berlin (summer time).
    QTest::newRow("absolute to the last second")
            << 2 << qint64(1782885600) << qint64(1785535199) << ""
            << "From 1. July 2026 8:00:00 to 31. July 2026"
            << "";
}

void TestDefinitionsPage::timeTexts()
{
    QFETCH(int, type);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(QString, days);
    QFETCH(QString, validOn);
    QFETCH(QString, daysText);
    QCOMPARE(timerange::validOnText(type, start, end), validOn);
    if (type == 0)
        QCOMPARE(timerange::daysText(days), daysText);
}

void TestDefinitionsPage::absoluteTimesAcrossSummerTime_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QTime>("shown");
    QTest::newRow("winter") << QDate(2026, 1, 15) << QTime(12, 0) << qint64(1768474800)
                            << QTime(12, 0);
    QTest::newRow("summer") << QDate(2026, 7, 1) << QTime(12, 0) << qint64(1782900000)
                            << QTime(12, 0);
    QTest::newRow("before the spring change")
            << QDate(2026, 3, 29) << QTime(1, 30) << qint64(1774744200) << QTime(1, 30);
    QTest::newRow("after the spring change")
            << QDate(2026, 3, 29) << QTime(3, 30) << qint64(1774747800) << QTime(3, 30);
    // The hour the clock skips: an hour earlier, as the correction rule says.
    QTest::newRow("skipped hour") << QDate(2026, 3, 29) << QTime(2, 30) << qint64(1774744200)
                                  << QTime(1, 30);
    QTest::newRow("autumn change")
            << QDate(2026, 10, 25) << QTime(2, 30) << qint64(1792891800) << QTime(2, 30);
}

void TestDefinitionsPage::absoluteTimesAcrossSummerTime()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(qint64, seconds);
    QFETCH(QTime, shown);
    QCOMPARE(timerange::absoluteSeconds(date, time), seconds);
    QCOMPARE(timerange::localDateTime(seconds).time(), shown);
}

void TestDefinitionsPage::ipPageListsWhatTheServerHolds()
{
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), QString("IP Groups"));
    BListView *list = page->listView();
    QCOMPARE(list->objectName(), QString("bformlist"));
    QCOMPARE(list->cols().listName(), QString("ipgroup"));
    QCOMPARE(list->headerItem()->text(0), QString("Item"));
    QCOMPARE(list->headerItem()->text(1), QString("Description"));
    QCOMPARE(list->topLevelItemCount(), 3);
    for (const QString name : {"Trusted", "Blocked", "Office"})
        QVERIFY2(page->nameNode(name), qPrintable(name));
    // A few entries, seen for the first time: every group is open.
    GNameNode *trusted = page->nameNode("Trusted");
    QVERIFY(trusted->isExpanded());
    QCOMPARE(trusted->childCount(), 2);
    QCOMPARE(trusted->childIndicatorPolicy(), BListViewItem::ShowIndicator);
    BListViewItem *network = findEntry(page, "Trusted", "192.168.0.0 / 255.255.0.0");
    QVERIFY(network);
    QCOMPARE(network->text(1), QString("Office network"));
    QCOMPARE(network->checkState(0), Qt::Checked);
    QVERIFY(findEntry(page, "Blocked", "spam.example"));
    QVERIFY(findEntry(page, "Blocked", "10.0.0.1 to 10.0.0.50"));
    QVERIFY(findEntry(page, "Office", "Trusted"));

    // A stored host name opens as a host with the bare name.
    page->listView()->setCurrentItem(findEntry(page, "Blocked", "spam.example"));
    QVERIFY(runDialog<GDlgIPs>(page, false, [](GDlgIPs *dialog) {
        QCOMPARE(dialog->currentType(), ipentry::Host);
        QCOMPARE(dialog->m_edFirst->text(), QString("spam.example"));
        QCOMPARE(dialog->m_lblFirst->text(), QString("Hostname/IP:"));
        QCOMPARE(dialog->m_edName->text(), QString("Blocked"));
        dialog->reject();
    }));
    QCOMPARE(pendingOperations(), 0);
}

void TestDefinitionsPage::manyEntriesWaitForTheirGroup()
{
    for (int i = 0; i < 120; ++i)
        QVERIFY(addServerEntry(QString("Net%1").arg(i / 10), QString("10.9.%1.1").arg(i), ""));
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    QCOMPARE(page->listView()->topLevelItemCount(), 15);
    // Entries become items when their group is opened.
    GNameNode *net = page->nameNode("Net3");
    QVERIFY(!net->isExpanded());
    QCOMPARE(net->childCount(), 0);
    QCOMPARE(net->childIndicatorPolicy(), BListViewItem::ShowIndicator);
    page->openNode(net);
    QCOMPARE(net->childCount(), 10);
    // Removing a group that was never opened removes all its rows.
    page->listView()->setCurrentItem(page->nameNode("Net7"));
    BoxAnswers boxes(QMessageBox::Yes);
    page->removeButton()->click();
    QVERIFY(!page->nameNode("Net7"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Name='Net7'"), QStringList());
    QCOMPARE(serverRows(kIpQuery + " where Name='Net3'").size(), 10);
}

void TestDefinitionsPage::ipEntryValidation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("value"); // stored on acceptance

    const QString reserved = "Address group name cannot be 'any', it is reserved word.";
    const QString forbidden = "Name is too long or contains forbidden characters!";
    const QString empty = "Name cannot be empty!";
    const QString host = "The host name or IP address is not valid.";
    const QString mask = "The network mask is not valid for this network address.";
    const QString range = "The network range is not valid.";
    QTest::newRow("reserved name") << " ANY " << 0 << "10.0.0.1"
                                   << "" << reserved << "";
    QTest::newRow("24 bytes") << QString(24, 'x') << 0 << "10.0.0.1"
                              << "" << forbidden << "";
    QTest::newRow("24 bytes in 12 letters") << QString(12, QChar(0xe4)) << 0 << "10.0.0.1"
                                            << "" << forbidden << "";
    QTest::newRow("single quote") << "it's" << 0 << "10.0.0.1"
                                  << "" << forbidden << "";
    QTest::newRow("double quote") << "a\"b" << 0 << "10.0.0.1"
                                  << "" << forbidden << "";
    QTest::newRow("empty name") << "   " << 0 << "10.0.0.1"
                                << "" << empty << "";
    QTest::newRow("empty host") << "G" << 0 << ""
                                << "" << host << "";
    QTest::newRow("short address") << "G" << 0 << "10.1"
                                   << "" << host << "";
    QTest::newRow("part above 255") << "G" << 0 << "10.0.0.256"
                                    << "" << host << "";
    QTest::newRow("host bits in network") << "G" << 1 << "10.0.0.1"
                                          << "255.0.0.0" << mask << "";
    QTest::newRow("mask with a gap") << "G" << 1 << "10.0.0.0"
                                     << "255.0.255.0" << mask << "";
    QTest::newRow("no mask") << "G" << 1 << "10.0.0.0"
                             << "" << mask << "";
    QTest::newRow("equal ends") << "G" << 2 << "10.0.0.5"
                                << "10.0.0.5" << range << "";
    QTest::newRow("switched ends") << "G" << 2 << "10.0.0.9"
                                   << "10.0.0.2" << range << "";
    QTest::newRow("bad end") << "G" << 2 << "10.0.0.1"
                             << "10.0.0" << range << "";

    QTest::newRow("23 bytes") << QString(23, 'x') << 0 << "10.0.0.1"
                              << ""
                              << ""
                              << "10.0.0.1";
    QTest::newRow("22 bytes in 11 letters") << QString(11, QChar(0xe4)) << 0 << "10.0.0.1"
                                            << ""
                                            << ""
                                            << "10.0.0.1";
    QTest::newRow("network") << "G" << 1 << "10.0.0.0"
                             << "255.0.0.0"
                             << ""
                             << "10.0.0.0/255.0.0.0";
    QTest::newRow("everything") << "G" << 1 << "0.0.0.0"
                                << "0.0.0.0"
                                << ""
                                << "0.0.0.0/0.0.0.0";
    QTest::newRow("range") << "G" << 2 << "10.0.0.9"
                           << "10.0.0.10"
                           << ""
                           << "10.0.0.9-10.0.0.10";
    QTest::newRow("host name") << "G" << 0 << "mail.example"
                               << ""
                               << ""
                               << "'mail.example'";
}

void TestDefinitionsPage::ipEntryValidation()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    QFETCH(QString, value);
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    BoxAnswers boxes(QMessageBox::Ok);
    bool stayedOpen = false;
    QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *dialog) {
        dialog->m_edName->setText(name);
        dialog->setCurrentType(ipentry::Type(type));
        dialog->m_edFirst->setText(first);
        dialog->m_edSecond->setText(second);
        clickOk(dialog);
        stayedOpen = dialog->isVisible();
    }));
    if (message.isEmpty()) {
        QCOMPARE(boxes.texts, QStringList());
        QVERIFY(!stayedOpen);
        BListViewItem *item = findEntry(page, name.trimmed(), ipentry::itemText(value));
        QVERIFY(item);
        QCOMPARE(baseListItem(item)->row()->text("Value"), value);
        QVERIFY(pendingOperations() > 0);
    } else {
        QCOMPARE(boxes.texts, QStringList{message});
        QVERIFY(stayedOpen);
        QCOMPARE(pendingOperations(), 0);
    }
}

void TestDefinitionsPage::newEntriesAreStoredEnabled_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("group");
    QTest::newRow("nothing selected") << ""
                                      << "New IP Address Group";
    QTest::newRow("group selected") << "Blocked"
                                    << "Blocked";
}

void TestDefinitionsPage::newEntriesAreStoredEnabled()
{
    QFETCH(QString, selected);
    QFETCH(QString, group);
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    page->listView()->setCurrentItem(selected.isEmpty() ? nullptr : page->nameNode(selected));
    page->listView()->clearSelection();
    if (!selected.isEmpty())
        page->listView()->setCurrentItem(page->nameNode(selected));
    QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->m_edName->text(), group);
        dialog->m_edFirst->setText("10.9.9.9");
        dialog->m_edDesc->setText("new one");
        clickOk(dialog);
    }));
    QVERIFY(findEntry(page, group, "10.9.9.9"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Value='10.9.9.9'"),
             QStringList{group + "|10.9.9.9|new one|1"});
}

void TestDefinitionsPage::hostNamesOnlyWhereAllowed()
{
    QVERIFY(startConsole());
    GWndIPGroup page(nullptr, QString(), false);
    page.load(true);
    QTRY_VERIFY_WITH_TIMEOUT(page.isEnabled(), kTimeout);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(runDialog<GDlgIPs>(&page, true, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->m_lblFirst->text(), QString("IP address:"));
        dialog->m_edFirst->setText("mail.example");
        clickOk(dialog);
        QVERIFY(dialog->isVisible());
        // The field takes digits and dots only.
        QString typed = "mail.example";
        int position = 0;
        QCOMPARE(dialog->m_edFirst->validator()->validate(typed, position), QValidator::Invalid);
        dialog->reject();
    }));
    QCOMPARE(boxes.texts, QStringList{"The IP address is not valid."});
}

void TestDefinitionsPage::groupPickerLeavesOutLoops()
{
    QVERIFY(addServerEntry("Aa", "=Bb", ""));
    QVERIFY(addServerEntry("Bb", "=Cc", ""));
    QVERIFY(addServerEntry("Cc", "10.3.3.3", ""));
    QVERIFY(addServerEntry("Ccc", "10.4.4.4", ""));
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    page->listView()->setCurrentItem(page->nameNode("Cc"));
    QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->m_edName->text(), QString("Cc"));
        // Neither Cc itself nor Bb and Aa, which reach it; Ccc is another name.
        QCOMPARE(comboItems(dialog->m_cboGroup),
                 QStringList({"Blocked", "Ccc", "Office", "Trusted"}));
        // A group no other group reaches offers every other group.
        dialog->m_edName->setText("Aa");
        QCOMPARE(comboItems(dialog->m_cboGroup),
                 QStringList({"Bb", "Blocked", "Cc", "Ccc", "Office", "Trusted"}));
        dialog->m_edName->setText("Cc");
        dialog->setCurrentType(ipentry::Group);
        dialog->m_cboGroup->setCurrentText("Ccc");
        clickOk(dialog);
    }));
    QVERIFY(findEntry(page, "Cc", "Ccc"));
    // With every other group reaching it, the "Address Group" type goes away.
    page->listView()->setCurrentItem(page->nameNode("Trusted"));
    QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->m_cboType->count(), 4);
        QCOMPARE(comboItems(dialog->m_cboGroup), QStringList({"Aa", "Bb", "Blocked", "Cc", "Ccc"}));
        ipentry::GroupGraph graph = page->groupGraph();
        QCOMPARE(graph.groupsReaching("Trusted"), QSet<QString>{"Office"});
        dialog->reject();
    }));
    QVERIFY(addServerEntry("Solo", "10.5.5.5", ""));
    QVERIFY(serverExec("delete from IpAccessList where Name<>'Solo'"));
    page->load(false);
    QTRY_VERIFY_WITH_TIMEOUT(page->nameNode("Solo") && page->isEnabled(), kTimeout);
    page->listView()->setCurrentItem(page->nameNode("Solo"));
    QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->m_cboType->count(), 3);
        QCOMPARE(dialog->currentType(), ipentry::Host);
        // A new name gains a group to refer to: the type comes back as the fourth.
        dialog->m_edName->setText("Other");
        QCOMPARE(dialog->m_cboType->count(), 4);
        QCOMPARE(dialog->m_cboType->itemText(3), QString("Address Group"));
        dialog->setCurrentType(ipentry::Group);
        dialog->m_edName->setText("Solo");
        QCOMPARE(dialog->m_cboType->count(), 3);
        QCOMPARE(dialog->currentType(), ipentry::Host);
        dialog->reject();
    }));
}

void TestDefinitionsPage::referenceToDeletedGroupIsKept()
{
    QVERIFY(addServerEntry("Partners", "=Gone", "old"));
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    BListViewItem *item = findEntry(page, "Partners", "Gone");
    QVERIFY(item);
    page->listView()->setCurrentItem(item);
    QVERIFY(runDialog<GDlgIPs>(page, false, [&](GDlgIPs *dialog) {
        QCOMPARE(dialog->currentType(), ipentry::Group);
        QCOMPARE(dialog->m_cboGroup->currentText(), QString("Gone"));
        dialog->m_edDesc->setText("still old");
        clickOk(dialog);
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Name='Partners'"),
             QStringList{"Partners|=Gone|still old|1"});
}

void TestDefinitionsPage::uncheckingAndRemovingGroups()
{
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    BListViewItem *loopBack = findEntry(page, "Trusted", "127.0.0.1");
    QVERIFY(loopBack);
    loopBack->setCheckState(0, Qt::Unchecked);
    QCOMPARE(pendingOperations(), 1);

    // A group node goes with all its entries, after the question.
    page->listView()->setCurrentItem(page->nameNode("Blocked"));
    BoxAnswers boxes(QMessageBox::No);
    page->removeButton()->click();
    QCOMPARE(boxes.texts, QStringList{"All items with this name will be deleted!"});
    QVERIFY(page->nameNode("Blocked"));
    boxes.setAnswer(QMessageBox::Yes);
    page->removeButton()->click();
    QTRY_COMPARE(boxes.texts.size(), 2);
    QVERIFY(!page->nameNode("Blocked"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Name='Blocked'"), QStringList());
    QCOMPARE(serverRows(kIpQuery + " where Value='127.0.0.1'"),
             QStringList{"Trusted|127.0.0.1|Loop-back|0"});

    // One entry goes without a question; Reset brings it back.
    BListViewItem *gateway = findEntry(page, "Office", "172.16.5.10");
    QVERIFY(gateway);
    page->listView()->setCurrentItem(gateway);
    page->removeButton()->click();
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(!findEntry(page, "Office", "172.16.5.10"));
    QCOMPARE(pendingOperations(), 1);
    page->reset();
    QVERIFY(findEntry(page, "Office", "172.16.5.10"));
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kIpQuery + " where Name='Office'").size(), 2);
}

void TestDefinitionsPage::restrictedPageInFormDialog()
{
    QVERIFY(startConsole());
    bool changed = false;
    QVERIFY(withModal(
            [&] {
                changed = GFormDialog::edit(GFormDialog::Kind::IpGroups, "Office", mainWindow());
            },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<GFormDialog *>(modal);
                QVERIFY(dialog);
                auto *page = dynamic_cast<GWndIPGroup *>(dialog->page());
                QVERIFY(page);
                QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && page->nameNode("Office"), kTimeout);
                QCOMPARE(page->listView()->topLevelItemCount(), 1);
                QCOMPARE(page->nameNode("Office")->childCount(), 2);
                // Nothing selected: the new entry takes the page's name, and
                // the groups outside the page are offered.
                page->listView()->clearSelection();
                page->listView()->setCurrentItem(nullptr);
                QVERIFY(runDialog<GDlgIPs>(page, true, [&](GDlgIPs *entry) {
                    QCOMPARE(entry->m_edName->text(), QString("Office"));
                    QCOMPARE(comboItems(entry->m_cboGroup), QStringList({"Blocked", "Trusted"}));
                    entry->m_edFirst->setText("172.16.5.11");
                    clickOk(entry);
                }));
                // The edit waits for OK; nothing reaches the console's Apply.
                QCOMPARE(pendingOperations(), 0);
                QCOMPARE(serverRows(kIpQuery + " where Name='Office'").size(), 2);
                clickOk(dialog);
            }));
    QVERIFY(changed);
    QCOMPARE(serverRows(kIpQuery + " where Value='172.16.5.11'"),
             QStringList{"Office|172.16.5.11||1"});

    // Cancel after an edit, answered No: nothing is stored, nothing reported.
    BoxAnswers boxes(QMessageBox::No);
    QVERIFY(withModal(
            [&] {
                changed = GFormDialog::edit(GFormDialog::Kind::IpGroups, "Office", mainWindow());
            },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<GFormDialog *>(modal);
                QVERIFY(dialog);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->page()->nameNode("Office"), kTimeout);
                BListViewItem *entry = findEntry(dialog->page(), "Office", "172.16.5.11");
                QVERIFY(entry);
                entry->setCheckState(0, Qt::Unchecked);
                dialog->reject();
            }));
    QVERIFY(!changed);
    QCOMPARE(boxes.texts, QStringList{"Do you want to save changes?"});
    QCOMPARE(serverRows(kIpQuery + " where Value='172.16.5.11'"),
             QStringList{"Office|172.16.5.11||1"});
}

void TestDefinitionsPage::formDialogKeepsTheHostsEdits()
{
    // The page below has an edit pending; the dialog neither sends nor drops it.
    QVERIFY(startConsole());
    auto *page = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(page);
    findEntry(page, "Trusted", "127.0.0.1")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(pendingOperations(), 1);
    bool changed = false;
    QVERIFY(withModal(
            [&] { changed = GFormDialog::edit(GFormDialog::Kind::TimeRanges, "Night", page); },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<GFormDialog *>(modal);
                QVERIFY(dialog);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->page()->nameNode("Night"), kTimeout);
                BListViewItem *night = dialog->page()->nameNode("Night")->child(0);
                night->setCheckState(0, Qt::Unchecked);
                clickOk(dialog);
            }));
    QVERIFY(changed);
    QCOMPARE(serverRows(kTimeQuery + " where Name='Night'"),
             QStringList{"Night|0|79200|21600|1234567|22 to 6|0"});
    QCOMPARE(serverRows(kIpQuery + " where Value='127.0.0.1'"),
             QStringList{"Trusted|127.0.0.1|Loop-back|1"});
    QCOMPARE(pendingOperations(), 1);
    // An edit in the dialog dropped on Cancel leaves the page's edit as well.
    BoxAnswers boxes(QMessageBox::No);
    QVERIFY(withModal(
            [&] { changed = GFormDialog::edit(GFormDialog::Kind::IpGroups, "Office", page); },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<GFormDialog *>(modal);
                QVERIFY(dialog);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->page()->nameNode("Office"), kTimeout);
                dialog->page()->nameNode("Office")->child(0)->setCheckState(0, Qt::Unchecked);
                dialog->reject();
            }));
    QVERIFY(!changed);
    QCOMPARE(boxes.texts.size(), 1);
    QCOMPARE(pendingOperations(), 1);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Value='127.0.0.1'"),
             QStringList{"Trusted|127.0.0.1|Loop-back|0"});
}

void TestDefinitionsPage::editedEntriesShowTheirNewValues()
{
    QVERIFY(startConsole());
    auto *ips = openPage<GWndIPGroup>(SectionId::AddressGroups);
    QVERIFY(ips);
    BListViewItem *network = findEntry(ips, "Trusted", "192.168.0.0 / 255.255.0.0");
    QVERIFY(network);
    ips->listView()->setCurrentItem(network);
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(runDialog<GDlgIPs>(ips, false, [](GDlgIPs *dialog) {
        dialog->m_edName->setText("Branch");
        dialog->m_edSecond->setText("255.255.255.0");
        dialog->m_edDesc->setText("Branch network");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(boxes.texts, QStringList());
    // The same entry shows its new values below the node of its new name.
    QCOMPARE(findEntry(ips, "Branch", "192.168.0.0 / 255.255.255.0"), network);
    QCOMPARE(network->text(1), QString("Branch network"));
    QCOMPARE(network->checkState(0), Qt::Checked);
    QCOMPARE(ips->nameNode("Trusted")->childCount(), 1);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kIpQuery + " where Name='Branch'"),
             QStringList{"Branch|192.168.0.0/255.255.255.0|Branch network|1"});

    auto *times = openPage<GWndTimeInt>(SectionId::TimeRanges);
    QVERIFY(times);
    BListViewItem *office = findEntry(times, "Office hours", "Weekday");
    QVERIFY(office);
    times->listView()->setCurrentItem(office);
    QSignalSpy changes(times->listView()->model(), &QAbstractItemModel::dataChanged);
    QVERIFY(runDialog<GDlgTimeInt>(times, false, [](GDlgTimeInt *dialog) {
        dialog->m_tedTo->setTime(QTime(18, 30));
        dialog->m_edDesc->setText("Long day");
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(office->text(1), QString("Daily from 8:00:00 to 18:30:00"));
    QCOMPARE(office->text(2), QString("Long day"));
    QVERIFY(viewToldOf(changes, times->listView(), office));
}

void TestDefinitionsPage::timePageListsWhatTheServerHolds()
{
    QVERIFY(startConsole());
    auto *page = openPage<GWndTimeInt>(SectionId::TimeRanges);
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), QString("Time Ranges"));
    BListView *list = page->listView();
    QCOMPARE(list->cols().listName(), QString("timeint"));
    QCOMPARE(list->headerItem()->text(0), QString("Item"));
    QCOMPARE(list->headerItem()->text(1), QString("Valid on"));
    QCOMPARE(list->headerItem()->text(2), QString("Description"));
    QCOMPARE(list->topLevelItemCount(), 4);
    BListViewItem *office = findEntry(page, "Office hours", "Weekday");
    QVERIFY(office);
    QCOMPARE(office->text(1), QString("Daily from 8:00:00 to 17:00:00"));
    BListViewItem *weekend = findEntry(page, "Weekend", "Weekly from Saturday  to Sunday ", 1);
    QVERIFY(weekend);
    QCOMPARE(weekend->text(0), QString());
    page->openNode(page->nameNode("Migration"));
    BListViewItem *migration = page->nameNode("Migration")->child(0);
    QCOMPARE(migration->text(1),
             QString("From 1. January 2027 1:00:00 to 2. January 2027 1:00:00"));
    QCOMPARE(migration->checkState(0), Qt::Unchecked);

    // The absolute interval opens at the local times it was stored for and
    // stores the same seconds again.
    list->setCurrentItem(migration);
    QVERIFY(runDialog<GDlgTimeInt>(page, false, [&](GDlgTimeInt *dialog) {
        QCOMPARE(dialog->m_cboType->currentIndex(), 2);
        QCOMPARE(dialog->m_dedFrom->date(), QDate(2027, 1, 1));
        QCOMPARE(dialog->m_tedFrom->time(), QTime(1, 0));
        QCOMPARE(dialog->startSeconds(), qint64(1798761600));
        QCOMPARE(dialog->endSeconds(), qint64(1798848000));
        dialog->m_dedTo->setDate(QDate(2027, 7, 1));
        dialog->m_tedTo->setTime(QTime(12, 0));
        clickOk(dialog);
    }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kTimeQuery + " where Name='Migration'"),
             QStringList{"Migration|2|1798761600|1814436000||Planned maintenance|0"});
}

void TestDefinitionsPage::timeRangeValidation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<QTime>("from");
    QTest::addColumn<QTime>("to");
    QTest::addColumn<bool>("complementAllowed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("message"); // empty: accepted without a box
    QTest::addColumn<bool>("accepted");

    const QString invalid = "The time interval is invalid (the From/To values might be switched)";
    const QString question
            = "If the From value is bigger than the To value, the complement of the interval "
              "will be used\n(the whole interval with the From-To interval subtracted).\n\n"
              "Are you sure you want to set this interval?";
    const QTime eight(8, 0);
    const QTime five(17, 0);
    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("empty name") << "  " << 0 << eight << five << false << yes
                                << "The name cannot be empty!" << false;
    QTest::newRow("reserved name")
            << "Always" << 0 << eight << five << false << yes
            << "Time range name cannot be 'always', it is reserved word." << false;
    QTest::newRow("32 bytes") << QString(32, 'x') << 0 << eight << five << false << yes
                              << "The name is too long or contains forbidden characters!" << false;
    QTest::newRow("quote") << "Jo's" << 0 << eight << five << false << yes
                           << "The name is too long or contains forbidden characters!" << false;
    QTest::newRow("31 bytes") << QString(31, 'x') << 0 << eight << five << false << yes << ""
                              << true;
    QTest::newRow("equal ends") << "Noon" << 0 << eight << eight << false << yes << "" << true;
    QTest::newRow("switched, no complement")
            << "Late" << 0 << five << eight << false << yes << invalid << false;
    QTest::newRow("complement refused")
            << "Late" << 1 << five << eight << true << no << question << false;
    QTest::newRow("complement accepted")
            << "Late" << 0 << five << eight << true << yes << question << true;
    QTest::newRow("absolute never a complement")
            << "Late" << 2 << five << eight << true << yes << invalid << false;
}

void TestDefinitionsPage::timeRangeValidation()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QFETCH(QTime, from);
    QFETCH(QTime, to);
    QFETCH(bool, complementAllowed);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(bool, accepted);
    UtKontainer::setBool(kComplementKey, complementAllowed);
    QVERIFY(startConsole());
    auto *page = openPage<GWndTimeInt>(SectionId::TimeRanges);
    QVERIFY(page);
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    QVERIFY(runDialog<GDlgTimeInt>(page, true, [&](GDlgTimeInt *dialog) {
        dialog->m_edName->setText(name);
        dialog->m_cboType->setCurrentIndex(type);
        dialog->m_cboFromDay->setCurrentIndex(2);
        dialog->m_cboToDay->setCurrentIndex(2);
        dialog->m_tedFrom->setTime(from);
        dialog->m_tedTo->setTime(to);
        clickOk(dialog);
        stayedOpen = dialog->isVisible();
    }));
    QCOMPARE(boxes.texts, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(stayedOpen, !accepted);
    QCOMPARE(pendingOperations() > 0, accepted);
    if (accepted) {
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
        const QString start = QString::number(timerange::dailySeconds(from));
        const QString end = QString::number(timerange::dailySeconds(to));
        // A new interval applies on every day until days are unticked.
        QCOMPARE(serverRows(kTimeQuery + " where Name='" + name.trimmed() + "'"),
                 QStringList{name.trimmed() + "|0|" + start + "|" + end + "|1234567||1"});
    }
}

void TestDefinitionsPage::loadedComplementIsNotQuestioned()
{
    UtKontainer::setBool(kComplementKey, true);
    QVERIFY(startConsole());
    auto *page = openPage<GWndTimeInt>(SectionId::TimeRanges);
    QVERIFY(page);
    page->openNode(page->nameNode("Night"));
    page->listView()->setCurrentItem(page->nameNode("Night")->child(0));
    BoxAnswers boxes(QMessageBox::No);
    QVERIFY(runDialog<GDlgTimeInt>(page, false, [&](GDlgTimeInt *dialog) {
        QCOMPARE(dialog->m_tedFrom->time(), QTime(22, 0));
        QCOMPARE(dialog->m_tedTo->time(), QTime(6, 0));
        for (QCheckBox *day : dialog->m_chkDays)
            QVERIFY(day->isChecked());
        dialog->m_chkDays[5]->setChecked(false);
        dialog->m_chkDays[6]->setChecked(false);
        clickOk(dialog);
        QVERIFY(!dialog->isVisible());
    }));
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(page->nameNode("Night")->child(0)->text(0), QString("Weekday"));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kTimeQuery + " where Name='Night'"),
             QStringList{"Night|0|79200|21600|12345|22 to 6|1"});
}

void TestDefinitionsPage::timeRangeAddedThroughFormDialog()
{
    QVERIFY(startConsole());
    bool changed = false;
    QVERIFY(withModal(
            [&] {
                changed = GFormDialog::edit(GFormDialog::Kind::TimeRanges, "Lunch", mainWindow());
            },
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<GFormDialog *>(modal);
                QVERIFY(dialog);
                GDefinitionWnd *page = dialog->page();
                QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled(), kTimeout);
                // A name nobody uses yet: an empty page whose entries take it.
                QCOMPARE(page->listView()->topLevelItemCount(), 0);
                QVERIFY(runDialog<GDlgTimeInt>(page, true, [&](GDlgTimeInt *entry) {
                    QCOMPARE(entry->m_edName->text(), QString("Lunch"));
                    entry->m_cboType->setCurrentIndex(1);
                    QVERIFY(!entry->m_gbDays->isEnabled());
                    entry->m_cboFromDay->setCurrentIndex(0);
                    entry->m_tedFrom->setTime(QTime(12, 0));
                    entry->m_cboToDay->setCurrentIndex(4);
                    entry->m_tedTo->setTime(QTime(13, 0, 30));
                    clickOk(entry);
                }));
                QVERIFY(findEntry(page, "Lunch", "Weekly from Monday 12:00:00 to Friday 13:00:30",
                                  1));
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Apply)->click();
                QCOMPARE(serverRows(kTimeQuery + " where Name='Lunch'").size(), 1);
                dialog->reject(); // nothing left to save: no question
            }));
    QVERIFY(changed);
    QCOMPARE(serverRows(kTimeQuery + " where Name='Lunch'"),
             QStringList{"Lunch|1|43200|392430|||1"});
}

void TestDefinitionsPage::viewerChangesNothing_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("query");
    QTest::newRow("ip groups") << SectionId::AddressGroups << kIpQuery;
    QTest::newRow("time ranges") << SectionId::TimeRanges << kTimeQuery;
}

void TestDefinitionsPage::viewerChangesNothing()
{
    QFETCH(int, section);
    QFETCH(QString, query);
    const QStringList before = serverRows(query);
    QVERIFY(startConsole("viewer"));
    auto *page = openPage<GDefinitionWnd>(section);
    QVERIFY(page);
    QVERIFY(page->listView()->topLevelItemCount() > 0);
    BListViewItem *node = page->listView()->topLevelItem(0);
    page->openNode(static_cast<GNameNode *>(node));
    BListViewItem *entry = node->child(0);
    page->listView()->setCurrentItem(entry);
    for (QPushButton *button : {page->addButton(), page->removeButton()})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    // An entry opens to be read.
    QVERIFY(page->editButton()->isEnabled());
    const QStringList changeable = changeableInRowDialog(page->listView(), entry);
    QVERIFY2(changeable.isEmpty(), qPrintable(changeable.join(", ")));
    QVERIFY(!(entry->flags() & Qt::ItemIsUserCheckable));
    entry->setCheckState(0, Qt::Unchecked);
    page->add();
    page->remove();
    page->listView()->setCurrentItem(node);
    page->remove();
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(query), before);
}

QTEST_MAIN(TestDefinitionsPage)
#include "test_definitions.moc"

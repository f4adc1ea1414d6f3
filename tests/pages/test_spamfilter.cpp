// The "Spam Filter" section in the real console against the development
// server: the rating, blacklist, custom rule and statistics tabs, their
// dialogs and refusals, the ordered rules, "Remove unused..." and a read-only
// session.
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blineedit.h"
#include "forms/blistview.h"
#include "forms/btabpage.h"
#include "forms/sectionids.h"
#include "pages/spamfilter/spamfilterdialogs.h"
#include "pages/spamfilter/spamfilterwnd.h"
#include "pagetest.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

const QString kRulesQuery = QStringLiteral(
        "select Header, Type, Content, Action, Score, ScoreNegative, Description from "
        "HeaderFilter");

BListViewItem *findItem(BListView *list, const QString &first)
{
    const auto found = list->findItems(first, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
}

void clickOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestSpamFilterPage : public PageTest
{
    Q_OBJECT

private slots:
    void init() { setUpPages(); }
    void cleanup() { tearDownPages(); }

    void ratingLoadsValidatesAndApplies();
    void onlyShownTabsAreSaved();
    void blacklistDialog_data();
    void blacklistDialog();
    void customBlacklistGroups_data();
    void customBlacklistGroups();
    void ruleDialogStoresWhatItShows_data();
    void ruleDialogStoresWhatItShows();
    void hexContentQuestion_data();
    void hexContentQuestion();
    void unknownActionIsKept();
    void editsShowInTheLists();
    void rulesKeepTheirOrder();
    void removeUnusedRules();
    void resetLeavesTheServerAlone();
    void bayesStatistics();
    void viewerChangesNothing();

private:
    SpamFilterWnd *openSpamFilter();
    // Shows tab index and waits until it has loaded.
    bool showTab(SpamFilterWnd *page, int index);
};

SpamFilterWnd *TestSpamFilterPage::openSpamFilter()
{
    auto *page = dynamic_cast<SpamFilterWnd *>(openSection(SectionId::SpamFilter));
    if (page)
        (void)QTest::qWaitFor([page] { return page->ratingPage()->isEnabled(); }, kTimeout);
    return page;
}

bool TestSpamFilterPage::showTab(SpamFilterWnd *page, int index)
{
    page->tab()->setCurrentIndex(index);
    auto *tabPage = dynamic_cast<BTabPage *>(page->tab()->widget(index));
    return tabPage
            && QTest::qWaitFor(
                    [tabPage] {
                        return tabPage->pageState() == BTabPage::Loaded
                                && tabPage->pageForm()->isEnabled();
                    },
                    kTimeout);
}

void TestSpamFilterPage::ratingLoadsValidatesAndApplies()
{
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QCOMPARE(page->metaObject()->className(), "SpamFilterWnd");
    QCOMPARE(page->tab()->tabText(0), QString("Spam Filter configuration"));
    SpamFilterRatingWnd *rating = page->ratingPage();
    QVERIFY(rating->m_chkEnabled->isChecked());
    QCOMPARE(rating->m_edThreshold->text(), QString("5"));
    QCOMPARE(rating->m_edBlock->text(), QString("8"));
    QCOMPARE(rating->m_edPrefix->text(), QString("[SPAM]"));
    QCOMPARE(rating->m_edQuarantine->text(), QString("quarantine@example.com"));
    QVERIFY(!rating->m_chkBounce->isChecked());

    // A block score out of range stops Apply with its message.
    rating->m_edBlock->setText("");
    QTest::keyClicks(rating->m_edBlock, "11");
    QCOMPARE(rating->m_edBlock->text(), QString("1")); // the validator refuses the second 1
    rating->m_edBlock->setText("");
    {
        BoxAnswers boxes(QMessageBox::Ok);
        apply();
        QCOMPARE(boxes.texts,
                 QStringList{"Set correct block score value before applying "
                             "changes, please."});
    }
    QCOMPARE(serverRows("select ScoreBlock from SpamFilter"), QStringList{"8"});

    // Bounce switched on warns once, then applies; the stored value is the
    // new reference, so the next Apply does not warn again.
    rating->m_edBlock->setText("10");
    rating->m_chkBounce->click();
    rating->m_chkPrefix->click();
    {
        BoxAnswers boxes(QMessageBox::Ok);
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
        QCOMPARE(boxes.texts,
                 QStringList{"<nobr>The 'Send bounce message to sender' option might slow down "
                             "mailserver traffic<br>by sending big volume of answers to "
                             "non-existent addresses.</nobr>"});
    }
    QCOMPARE(serverRows("select ScoreBlock, BounceIfBlocked, InsertSubjectPrefix from "
                        "SpamFilter"),
             QStringList{"10|1|0"});
    QVERIFY(!rating->m_edPrefix->isEnabled());
    rating->m_edThreshold->setText("6");
    {
        BoxAnswers boxes(QMessageBox::Ok);
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
        QVERIFY(boxes.texts.isEmpty());
    }
    QCOMPARE(serverRows("select ScoreThreshold from SpamFilter"), QStringList{"6"});
}

void TestSpamFilterPage::onlyShownTabsAreSaved()
{
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    // Another session changes the rules while this console shows only the
    // rating tab: its Apply must not write the rules tab it never loaded.
    QVERIFY(serverExec("update SpamFilter set BounceIfDenied='1'"));
    page->ratingPage()->m_edThreshold->setText("4");
    TraceCapture trace;
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    const QString sent = trace.text();
    QVERIFY(sent.contains("update SpamFilter set ScoreThreshold='4'"));
    QVERIFY(!sent.contains("BounceIfDenied"));
    QCOMPARE(serverRows("select ScoreThreshold, BounceIfDenied from SpamFilter"),
             QStringList{"4|1"});
    QCOMPARE(dynamic_cast<BTabPage *>(page->customRulesPage())->pageState(),
             int(BTabPage::NeverShown));
}

void TestSpamFilterPage::blacklistDialog_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<bool>("score");
    QTest::addColumn<QString>("scoreText");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("stored");
    QTest::newRow("negative score")
            << "bl.new.example" << true << "-3" << QString() << "bl.new.example|1|3|1|1";
    QTest::newRow("positive score")
            << "bl.new.example" << true << "7" << QString() << "bl.new.example|1|7|0|1";
    QTest::newRow("block") << "bl.new.example" << false << "-3" << QString()
                           << "bl.new.example|0|0|0|1";
    QTest::newRow("empty suffix") << "" << false << "0"
                                  << "DNS suffix field cannot be empty." << QString();
    QTest::newRow("no score") << "bl.new.example" << true << ""
                              << "Set correct spam score value, please." << QString();
}

void TestSpamFilterPage::blacklistDialog()
{
    QFETCH(QString, domain);
    QFETCH(bool, score);
    QFETCH(QString, scoreText);
    QFETCH(QString, refusal);
    QFETCH(QString, stored);
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 1));
    SpamFilterBlacklistWnd *blacklists = page->blacklistPage();
    QCOMPARE(blacklists->listView()->topLevelItemCount(), 2);
    QCOMPARE(findItem(blacklists->listView(), "bl.spamlist.example")->text(2),
             QString("Add score 4"));
    BoxAnswers boxes(QMessageBox::Ok);
    bool stayedOpen = false;
    QVERIFY(withModal([&] { blacklists->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterBlacklistDlg *>(modal);
                          QVERIFY(dialog);
                          QTest::keyClicks(dialog->m_edDomain, domain);
                          (score ? dialog->m_rbScore : dialog->m_rbBlock)->click();
                          dialog->m_edScore->setText(scoreText);
                          dialog->m_chkAskDirectly->click();
                          clickOk(dialog);
                          stayedOpen = dialog->isVisible();
                      }));
    QCOMPARE(stayedOpen, !refusal.isEmpty());
    QCOMPARE(boxes.texts, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    if (refusal.isEmpty()) {
        apply();
        QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    }
    QCOMPARE(serverRows("select Domain, Action, Score, ScoreNegative, AskDirectly from "
                        "DnsBlacklists where Domain='bl.new.example'"),
             stored.isEmpty() ? QStringList() : QStringList{stored});
}

void TestSpamFilterPage::customBlacklistGroups_data()
{
    QTest::addColumn<QString>("blacklist");
    QTest::addColumn<QString>("whitelist");
    QTest::addColumn<bool>("refused");
    QTest::newRow("same group") << "Trusted"
                                << "Trusted" << true;
    QTest::newRow("no group on either side") << ""
                                             << "" << false;
    QTest::newRow("blacklist only") << "Trusted"
                                    << "" << false;
    QTest::newRow("two groups") << "Blocked"
                                << "Trusted" << false;
}

void TestSpamFilterPage::customBlacklistGroups()
{
    QFETCH(QString, blacklist);
    QFETCH(QString, whitelist);
    QFETCH(bool, refused);
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 1));
    SpamFilterBlacklistWnd *tab = page->blacklistPage();
    QCOMPARE(tab->m_cboBlacklist->currentText(), QString("Blocked"));
    QCOMPARE(tab->m_cboWhitelist->currentText(), QString("Trusted"));
    QCOMPARE(tab->m_cboBlacklist->itemText(0), QString()); // "no group" comes first
    QCOMPARE(tab->m_edScore->text(), QString("5"));
    tab->m_cboBlacklist->setCurrentIndex(tab->m_cboBlacklist->findText(blacklist));
    tab->m_cboWhitelist->setCurrentIndex(tab->m_cboWhitelist->findText(whitelist));
    tab->m_edScore->setText("-2");
    BoxAnswers boxes(QMessageBox::Ok);
    apply();
    if (refused) {
        QCOMPARE(boxes.texts,
                 QStringList{"The same IP address group shouldn't be used for "
                             "custom whitelist and blacklist."});
        QVERIFY(pendingOperations() > 0);
        QCOMPARE(serverRows("select BlacklistAcl, WhitelistAcl from SpamFilter"),
                 QStringList{"Blocked|Trusted"});
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(serverRows("select BlacklistAcl, WhitelistAcl, BlacklistAction, BlacklistScore, "
                        "BlacklistScoreNegative from SpamFilter"),
             QStringList{blacklist + "|" + whitelist + "|1|2|1"});
}

void TestSpamFilterPage::ruleDialogStoresWhatItShows_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("stored");
    QTest::newRow("score -3") << 4 << "lottery"
                              << "m_rbScore"
                              << "X-Test|4|lottery|2|3|1|new rule";
    QTest::newRow("is empty stores no content") << 0 << "left over"
                                                << "m_rbSpam"
                                                << "X-Test|0||0|0|0|new rule";
    QTest::newRow("is missing stores no content") << 1 << "left over"
                                                  << "m_rbNonSpam"
                                                  << "X-Test|1||1|0|0|new rule";
    QTest::newRow("hex") << 5 << "0aFF"
                         << "m_rbSpam"
                         << "X-Test|5|0aFF|0|0|0|new rule";
}

void TestSpamFilterPage::ruleDialogStoresWhatItShows()
{
    QFETCH(int, type);
    QFETCH(QString, content);
    QFETCH(QString, action);
    QFETCH(QString, stored);
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    QCOMPARE(rules->listView()->topLevelItemCount(), 3);
    BListViewItem *scored = findItem(rules->listView(), "Message-ID");
    QCOMPARE(scored->text(3), QString("Add score 3"));
    QVERIFY(scored->text(5).startsWith("40 days"));
    QCOMPARE(findItem(rules->listView(), "Subject")->text(5), QString("Unused"));
    QVERIFY(withModal([&] { rules->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_cboHeader->setCurrentText("X-Test");
                          // Content typed while the type still takes it.
                          dialog->m_cboType->setCurrentIndex(4);
                          QTest::keyClicks(dialog->m_edContent, content);
                          dialog->m_cboType->setCurrentIndex(type);
                          QCOMPARE(dialog->m_edContent->isEnabled(), type >= 2);
                          if (type == 5)
                              QTest::keyClicks(dialog->m_edContent, "g"); // not a hex digit
                          dialog->findChild<QRadioButton *>(action)->click();
                          dialog->m_edScore->setText("-3");
                          QTest::keyClicks(dialog->m_edDescription, "new rule");
                          clickOk(dialog);
                      }));
    BListViewItem *added = findItem(rules->listView(), "X-Test");
    QVERIFY(added);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows(kRulesQuery + " where Header='X-Test'"), QStringList{stored});
    // A new rule goes below the others.
    QCOMPARE(serverRows("select Order from HeaderFilter where Header='X-Test'"), QStringList{"4"});
}

void TestSpamFilterPage::hexContentQuestion_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("three digits, correct") << "abc" << int(QMessageBox::Yes) << true << false;
    QTest::newRow("three digits, let stand") << "abc" << int(QMessageBox::No) << true << true;
    QTest::newRow("four digits") << "abcd" << int(QMessageBox::Yes) << false << true;
    QTest::newRow("empty") << "" << int(QMessageBox::Yes) << false << false;
}

void TestSpamFilterPage::hexContentQuestion()
{
    QFETCH(QString, content);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, accepted);
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    BoxAnswers boxes{QMessageBox::StandardButton(answer)};
    bool stayedOpen = false;
    bool contentFocused = false;
    QVERIFY(withModal([&] { rules->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_cboHeader->setCurrentText("X-Hex");
                          dialog->m_cboType->setCurrentIndex(5);
                          QTest::keyClicks(dialog->m_edContent, content);
                          dialog->m_rbSpam->click();
                          clickOk(dialog);
                          stayedOpen = dialog->isVisible();
                          contentFocused = dialog->focusWidget() == dialog->m_edContent;
                      }));
    QCOMPARE(stayedOpen, !accepted);
    if (stayedOpen)
        QVERIFY(contentFocused);
    const QString question("Hexadecimal string is not complete. One character is missing."
                           "<nobr><br><br>Do you want to correct the problem?</nobr>");
    QCOMPARE(boxes.texts.contains(question), asked);
    if (content.isEmpty())
        QCOMPARE(boxes.texts, QStringList{"Content field cannot be empty."});
    QCOMPARE(findItem(rules->listView(), "X-Hex") != nullptr, accepted);
}

void TestSpamFilterPage::unknownActionIsKept()
{
    QVERIFY(serverExec("update HeaderFilter set Action='7', Score='2' where Header='From'"));
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    BListViewItem *from = findItem(rules->listView(), "From");
    QCOMPARE(from->text(3), QString("7"));
    rules->listView()->setCurrentItem(from);
    QVERIFY(withModal([&] { rules->editButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          QVERIFY(!dialog->m_rbSpam->isChecked());
                          QVERIFY(!dialog->m_rbNonSpam->isChecked());
                          QVERIFY(!dialog->m_rbScore->isChecked());
                          dialog->m_edDescription->setText("edited");
                          clickOk(dialog);
                      }));
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Action, Score, Description from HeaderFilter where "
                        "Header='From'"),
             QStringList{"7|2|edited"});
}

void TestSpamFilterPage::editsShowInTheLists()
{
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 1));
    SpamFilterBlacklistWnd *blacklists = page->blacklistPage();
    BListView *dnsLists = blacklists->listView();
    BListViewItem *relays = findItem(dnsLists, "dnsbl.blocklist.example");
    QVERIFY(relays);
    QCOMPARE(relays->text(2), QString("Block"));
    QCOMPARE(relays->text(3), QString("Yes"));
    dnsLists->setCurrentItem(relays);
    QVERIFY(withModal([&] { blacklists->editButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterBlacklistDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_rbScore->click();
                          dialog->m_edScore->setText("-2");
                          dialog->m_chkAskDirectly->click();
                          dialog->m_edDescription->setText("Open relays, scored");
                          clickOk(dialog);
                      }));
    QCOMPARE(dnsLists->indexFromItem(relays, 1).data().toString(), QString("Open relays, scored"));
    QCOMPARE(dnsLists->indexFromItem(relays, 2).data().toString(), QString("Add score -2"));
    QCOMPARE(dnsLists->indexFromItem(relays, 3).data().toString(), QString("No"));
    QVERIFY(!relays->icon(0).isNull());

    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    BListView *list = rules->listView();
    BListViewItem *scored = findItem(list, "Message-ID");
    QVERIFY(scored);
    QCOMPARE(scored->checkState(0), Qt::Checked);
    list->setCurrentItem(scored);
    QVERIFY(withModal([&] { rules->editButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_rbSpam->click();
                          dialog->m_edDescription->setText("No id: spam");
                          clickOk(dialog);
                      }));
    QCOMPARE(list->indexFromItem(scored, 3).data().toString(), QString("Reject as spam"));
    QCOMPARE(list->indexFromItem(scored, 4).data().toString(), QString("No id: spam"));
    // What the dialog leaves alone stays: last use, check box, place.
    QVERIFY(scored->text(5).startsWith("40 days"));
    QCOMPARE(scored->checkState(0), Qt::Checked);
    list->ensureSorted();
    QCOMPARE(list->topLevelItem(2), scored);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Action, Score, ScoreNegative, AskDirectly, Description from "
                        "DnsBlacklists where Domain='dnsbl.blocklist.example'"),
             QStringList{"1|2|1|0|Open relays, scored"});
    QCOMPARE(serverRows("select Action, Description, Order from HeaderFilter where "
                        "Header='Message-ID'"),
             QStringList{"0|No id: spam|3"});
}

void TestSpamFilterPage::rulesKeepTheirOrder()
{
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    BListView *list = rules->listView();
    const auto order
            = [this] { return serverRows("select Header, Order from HeaderFilter").join(' '); };
    // Down moves Subject below From.
    list->setCurrentItem(findItem(list, "Subject"));
    rules->downButton()->click();
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(order(), QString("Subject|2 From|1 Message-ID|3"));
    // Up moves it back.
    list->setCurrentItem(findItem(list, "Subject"));
    rules->upButton()->click();
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(order(), QString("Subject|1 From|2 Message-ID|3"));
    // Dragging Message-ID to the top renumbers all.
    emit list->signalDragStarted();
    emit list->signalItemDropped(findItem(list, "Message-ID"), nullptr, false);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(order(), QString("Subject|2 From|3 Message-ID|1"));
    // Duplicate asks for a rule that differs and puts it below its source.
    list->setCurrentItem(findItem(list, "Message-ID"));
    BoxAnswers boxes(QMessageBox::Ok);
    QVERIFY(withModal([&] { emit list->signalCommand(bformlistorder::CommandDuplicate); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->m_cboHeader->currentText(), QString("Message-ID"));
                          clickOk(dialog); // the same rule twice is refused
                          QVERIFY(dialog->isVisible());
                          dialog->m_cboHeader->setCurrentText("In-Reply-To");
                          clickOk(dialog);
                      }));
    QCOMPARE(boxes.texts, QStringList{"This rule is already defined."});
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(order(), QString("Subject|3 From|4 Message-ID|1 In-Reply-To|2"));
    QCOMPARE(serverRows("select Action, Score, LastHitTimeStamp from HeaderFilter where "
                        "Header='In-Reply-To'"),
             QStringList{"2|3|0"});
}

void TestSpamFilterPage::removeUnusedRules()
{
    // The server's clock is ten days behind the console's: ages count from
    // the server's time, which stamped the rules.
    constexpr qint64 kOffset = -10 * 86400;
    QVERIFY(startServer({"--clock-offset", std::to_string(kOffset)}));
    const qint64 now = QDateTime::currentSecsSinceEpoch() + kOffset;
    QVERIFY(serverExec(QString("update HeaderFilter set LastHitTimeStamp='%1' where "
                               "Header='Subject'")
                               .arg(now - 49 * 3600)));
    QVERIFY(serverExec(QString("update HeaderFilter set LastHitTimeStamp='%1' where "
                               "Header='From'")
                               .arg(now - 47 * 3600)));
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    // A rule added in the page, never stored, has never been used either.
    QVERIFY(withModal([&] { rules->addButton()->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesDlg *>(modal);
                          QVERIFY(dialog);
                          dialog->m_cboHeader->setCurrentText("X-Fresh");
                          QTest::keyClicks(dialog->m_edContent, "fresh");
                          clickOk(dialog);
                      }));
    BoxAnswers boxes(QMessageBox::Yes);
    QVERIFY(withModal([&] { rules->m_btnRemoveUnused->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesRemoveDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->m_spinCount->value(), 1);
                          QCOMPARE(dialog->m_cboUnit->currentIndex(), 0);
                          dialog->m_spinCount->setValue(2);
                          dialog->m_cboUnit->setCurrentIndex(1);
                          clickOk(dialog);
                      }));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, kTimeout);
    // The rules to go are shown first, in list order.
    QCOMPARE(boxes.texts.first(),
             QString("<nobr>These rules will be removed:<br>Subject contains substring viagra "
                     "Pharmacy spam<br>Message-ID is missing No message id<br><br>Do you want "
                     "to remove them?</nobr>"));
    QCOMPARE(UtKontainer::getInt("/Other/srrd/count"), 2);
    QCOMPARE(UtKontainer::getInt("/Other/srrd/time"), 1);
    BListView *list = rules->listView();
    QCOMPARE(list->topLevelItemCount(), 2);
    QVERIFY(findItem(list, "From"));
    QVERIFY(findItem(list, "X-Fresh"));
    // Nothing left the console yet.
    QCOMPARE(serverRows("select Header from HeaderFilter").size(), 3);
    apply();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QCOMPARE(serverRows("select Header, Order from HeaderFilter"),
             (QStringList{"From|2", "X-Fresh|3"}));

    // The dialog starts with the last choice; No keeps every rule.
    boxes.setAnswer(QMessageBox::No);
    boxes.texts.clear();
    QVERIFY(withModal([&] { rules->m_btnRemoveUnused->click(); },
                      [&](QWidget *modal) {
                          auto *dialog = dynamic_cast<SpamFilterCustomRulesRemoveDlg *>(modal);
                          QVERIFY(dialog);
                          QCOMPARE(dialog->m_spinCount->value(), 2);
                          QCOMPARE(dialog->m_cboUnit->currentIndex(), 1);
                          dialog->m_spinCount->setValue(1);
                          dialog->m_cboUnit->setCurrentIndex(0);
                          clickOk(dialog);
                      }));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 1, kTimeout);
    QVERIFY(boxes.texts.first().contains("From is empty") == false);
    QVERIFY(boxes.texts.first().contains("From contains domain partner.example"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(pendingOperations(), 0);
}

void TestSpamFilterPage::resetLeavesTheServerAlone()
{
    const QStringList before = serverRows(kRulesQuery);
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    rules->listView()->setCurrentItem(findItem(rules->listView(), "From"));
    BoxAnswers boxes(QMessageBox::Yes);
    rules->removeButton()->click();
    rules->m_chkBounce->click();
    QVERIFY(pendingOperations() > 0);
    pageArea()->bottomBar()->resetButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(pendingOperations(), 0, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(findItem(rules->listView(), "From"), kTimeout);
    QVERIFY(!rules->m_chkBounce->isChecked());
    QCOMPARE(serverRows(kRulesQuery), before);
    QCOMPARE(serverRows("select BounceIfDenied from SpamFilter"), QStringList{"0"});
}

void TestSpamFilterPage::bayesStatistics()
{
    QVERIFY(startConsole());
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    const QStringList counts = serverRows("select SpamFilter::GetBayesStatistics()");
    QCOMPARE(counts.size(), 1);
    const QStringList cells = counts.first().split('|');
    QVERIFY(cells.at(0).toLongLong() > 0);
    QVERIFY(showTab(page, 3));
    const auto spaced = [](const QString &digits) {
        QString text;
        for (int i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                text += ' ';
            text += digits.at(i);
        }
        return text;
    };
    QCOMPARE(page->assassinPage()->m_lblSpam->text(), spaced(cells.at(0)));
    QCOMPARE(page->assassinPage()->m_lblHam->text(), spaced(cells.at(1)));
}

void TestSpamFilterPage::viewerChangesNothing()
{
    const QStringList rulesBefore = serverRows(kRulesQuery);
    const QStringList settingsBefore = serverRows("select * from SpamFilter");
    QVERIFY(startConsole("viewer"));
    SpamFilterWnd *page = openSpamFilter();
    QVERIFY(page);
    QVERIFY(page->ratingPage()->m_chkEnabled->isChecked());
    QVERIFY(!page->ratingPage()->m_chkEnabled->isEnabled());
    QVERIFY(page->ratingPage()->m_edBlock->isReadOnly());
    QVERIFY(showTab(page, 1));
    QVERIFY(!page->blacklistPage()->addButton()->isEnabled());
    QVERIFY(!page->blacklistPage()->m_cboBlacklist->isEnabled());
    QVERIFY(showTab(page, 2));
    SpamFilterCustomRulesWnd *rules = page->customRulesPage();
    rules->listView()->setCurrentItem(findItem(rules->listView(), "From"));
    for (QPushButton *button : {rules->addButton(), rules->removeButton(), rules->upButton(),
                                rules->downButton(), rules->m_btnRemoveUnused})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    BListViewItem *from = findItem(rules->listView(), "From");
    // A rule opens to be read.
    QVERIFY(rules->editButton()->isEnabled());
    QCOMPARE(changeableInRowDialog(rules->listView(), from), QStringList());
    QVERIFY(!(from->flags() & Qt::ItemIsUserCheckable));
    // Commands called behind the buttons' backs change nothing either.
    rules->add();
    rules->remove();
    rules->duplicate();
    rules->slotRemoveUnused();
    emit rules->listView()->signalItemDropped(findItem(rules->listView(), "Message-ID"), nullptr,
                                              false);
    QCOMPARE(pendingOperations(), 0);
    QCOMPARE(serverRows(kRulesQuery), rulesBefore);
    QCOMPARE(serverRows("select * from SpamFilter"), settingsBefore);
}

QTEST_MAIN(TestSpamFilterPage)
#include "test_spamfilter.moc"

#pragma once

#include "consoletest.h"
#include "support/modalwatcher.h"

#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <mutex>

class BListView;
class BListViewItem;
class BPwdLineEdit;
class QAbstractButton;
class QModelIndex;
class QSignalSpy;
class TBFormList;
class QWidget;

// Base of the page tests: the real console against a development server, the
// pages registered as the application registers them, a second session that
// reads what the server holds and an answerer for the boxes a page shows.
class PageTest : public ConsoleTest
{
protected:
    void setUpPages();
    void tearDownPages();

    // Starts the console logged in as user (password = user name) and waits
    // until the tree is there.
    bool startConsole(const QString &user = QStringLiteral("admin"));
    int pendingOperations() const;
    void apply();

    // Rows of a query run by a session of its own: each row's cells joined by "|".
    QStringList serverRows(const QString &query);
    // Runs a statement in a session of its own before the console reads it.
    bool serverExec(const QString &statement);
    // The last lines of the server's mail log.
    QStringList mailLogTail(int lines = 40);

    // Removes the row whose first cell reads firstCell through the list's
    // Remove button, resets (the row comes back and the server keeps it),
    // removes it again and applies; rowQuery selects that row on the server.
    void removeResetApply(TBFormList *page, const QString &firstCell, const QString &rowQuery);

    // Steps into a password field as the administrator does and types text.
    static bool typePassword(BPwdLineEdit *edit, const QString &text);

    // The visible inputs, lists and unlabelled buttons under root that a
    // screen reader could not name: no accessible name, no text and no
    // label that is their buddy. Each is given by its object name.
    static QStringList unnamedControls(const QWidget *root);

    // Runs handler on the next modal window and waits until it was handled;
    // trigger opens the window.
    bool withModal(const std::function<void()> &trigger,
                   const std::function<void(QWidget *)> &handler);

    // Double-clicks a row of a list and closes the dialog that opens; in a
    // session that may not modify it must offer nothing to change. Returns
    // the inputs of the dialog that could be changed (by object name, or
    // class and text), "no dialog" when none opened, "no Close" when it
    // offers no way out but OK.
    QStringList changeableInRowDialog(BListView *list, BListViewItem *item);
};

// Whether a list's view was told that the item's cells changed (an item tells
// of its own row only), wherever the item was sorted to since; changes spies
// on the list model's dataChanged.
bool viewToldOf(const QSignalSpy &changes, const BListView *list, const BListViewItem *item);
// Whether the view heard that the cell at index changed.
bool viewTold(const QSignalSpy &changes, const QModelIndex &index);

// Collects the console's debug output while it lives (lines come from the
// connection's thread too).
class TraceCapture
{
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture &) = delete;
    TraceCapture &operator=(const TraceCapture &) = delete;
    QString text() const;

private:
    int m_sink;
    mutable std::mutex m_mutex;
    QStringList m_lines;
};

// Answers message boxes with one button while it lives and records them.
class BoxAnswers : public QObject
{
public:
    explicit BoxAnswers(QMessageBox::StandardButton answer);
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    QStringList texts;

private:
    void poll();
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

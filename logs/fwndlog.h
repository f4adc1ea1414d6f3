#pragma once

#include "logs/fdlglogsearch.h"
#include "logs/flink.h"
#include "logs/flogfind.h"
#include "logs/flogrules.h"
#include "logs/flogtable.h"
#include "logs/fselect.h"
#include "logs/fwndlogbase.h"

#include <QMenu>
#include <QPointer>

#include <optional>

class BViewMenu;
class QAction;
class QActionGroup;

// The log view of a tree's log item: FWndLogBase's paging and following, with
// the text drawn line by line, web links underlined and opened in the
// browser, lines coloured by the shared highlighting rules, selection with
// the mouse and keys, copying as text and HTML, a font and an encoding per
// log, and the context menu.
class FWndLog : public FWndLogBase
{
    Q_OBJECT

public:
    // The property the page area and the tour read once the first page shows.
    static constexpr const char *kLoadedProperty = "postdeskPageLoaded";
    // Copies up to this many lines; more are offered to be saved instead.
    static constexpr int kMaxCopyLines = 300;
    // The encodings of the Encoding menu: menu id and codec name ("" = none).
    struct Encoding
    {
        int id;
        const char *label;
        const char *codec;
    };
    static const QList<Encoding> &encodings();
    static constexpr int kDefaultEncoding = 15;

    FWndLog(const QString &logName, DBConn *conn, QWidget *parent = nullptr);
    ~FWndLog() override;

    const fwndlog::FLink &linkFinder() const { return m_link; }
    const fwndlog::FLogRules &rules() const { return m_rules; }
    bool rulesLoaded() const { return m_rulesLoaded; }
    // Replaces the rules (after they were edited) and repaints.
    void setRules(const QList<fwndlog::FLogRule> &rules);
    fwndlog::FSelect *selection() const { return m_select; }
    QMenu *contextMenu() const { return m_menu; }
    QAction *clearAction() const { return m_actClear; }
    QAction *copyAction() const { return m_actCopy; }
    QAction *highlightingAction() const { return m_actRegExp; }
    QAction *settingsAction() const { return m_actSettings; }
    QAction *messagesAction() const { return m_actMessages; }
    FLogTable *logTable() const { return m_logTable; }
    fwndlog::FLogFind *finder() const { return m_find; }
    FDlgLogSearch *findDialog() const { return m_findDialog; }
    int encodingId() const { return m_encodingId; }

    // The link under a viewport point, if any.
    std::optional<fwndlog::fdata::Link> linkAt(const QPoint &viewportPos);
    // The column of a pixel x within a line's text: the last boundary whose
    // prefix is not wider than x; found by halving, so very long lines stay quick.
    int columnAt(const QString &text, int x) const;
    // Line of a viewport point, and its place in the text.
    qint64 lineAt(const QPoint &viewportPos) const;
    fwndlog::FTextPos positionAt(const QPoint &viewportPos);
    // Scrolls so that pos shows, with 50-pixel margins.
    void ensureVisible(fwndlog::FTextPos pos);

    // The selected text, line by line (read from the server when the
    // selection reaches beyond the buffer); false when it could not be read.
    bool selectedLines(QStringList *lines);
    // Plain text and HTML document of lines as copied and saved.
    static QString plainText(const QStringList &lines);
    QString htmlDocument(const QStringList &lines);
    // One line as the HTML of a copy or a save.
    QString htmlLine(const QString &text);
    static QString htmlTitle();

public slots:
    void slotCopy();
    // Opens "Save Log", preset to the selection when asked.
    void slotSave(bool selectionOnly = false);
    // Opens the find dialog (kept open beside the log).
    void slotFindMenu();
    void slotFound(const QString &text, fwndlog::FLogFind::Direction direction, qint64 line,
                   int column);
    void slotChangeWidgetAppearance(bool enabled);
    void slotChangeCursorAppearance(bool busy);
    // Opens "Highlighting" over the shared rules; saves them when accepted.
    void slotRegExp();
    // Opens the log's settings; saves the "Log" table when accepted.
    void slotLogSettings();
    void slotLogReady();
    // The debug log's message groups.
    void slotMessages();
    void slotFont();
    void slotEncoding(int id);
    void slotSelectionChanged(bool selected);

protected:
    void drawLine(QPainter &painter, qint64 line, fwndlog::FData &data, const QRect &rect) override;
    void drawOverlay(QPainter &painter, qint64 line, fwndlog::FData &data,
                     const QRect &rect) override;
    QColor lineColor(const QString &text) override;
    void replyArrived(fwndlog::FLogReply &reply) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void loadRules();
    void readSettings();
    void updateCursor(const QPoint &viewportPos);
    void autoScroll(int direction);
    void mousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseDoubleClick(QMouseEvent *event);
    void findAgain(fwndlog::FLogFind::Direction direction);
    int xOfColumn(const QString &text, int column) const;
    const QList<fwndlog::fdata::Link> &linksOf(qint64 line, fwndlog::FData &data);
    QString settingsKey(const char *what) const;

    fwndlog::FLink m_link;
    fwndlog::FLogRules m_rules;
    fwndlog::FSelect *m_select = nullptr;
    fwndlog::FLogFind *m_find = nullptr;
    QPointer<FDlgLogSearch> m_findDialog;
    bool m_rulesLoaded = false;
    bool m_wordSelection = false;
    fwndlog::FTextPos m_wordStart;
    fwndlog::FTextPos m_wordEnd;
    QPoint m_lastPointer;
    int m_encodingId = kDefaultEncoding;
    QMenu *m_menu = nullptr;
    BViewMenu *m_viewMenu = nullptr; // the context menu, published as "Edit"
    bool m_menuShown = false;
    QMenu *m_encodingMenu = nullptr;
    QActionGroup *m_encodingGroup = nullptr;
    QAction *m_actCopy = nullptr;
    QAction *m_actClear = nullptr;
    QAction *m_actRegExp = nullptr;
    QAction *m_actSettings = nullptr;
    QAction *m_actMessages = nullptr;
    FLogTable *m_logTable = nullptr;
    FLogDict m_logDict;
    bool m_overLink = false;
};

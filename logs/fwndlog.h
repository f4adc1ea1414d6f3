#pragma once

#include "logs/flink.h"
#include "logs/flogrules.h"
#include "logs/fwndlogbase.h"

#include <QMenu>
#include <QPointer>

class QAction;

// The log view of a tree's log item: FWndLogBase's paging and following, with
// the text drawn line by line, web links underlined and opened in the
// browser, lines coloured by the shared highlighting rules, and the view's
// context menu.
class FWndLog : public FWndLogBase
{
    Q_OBJECT

public:
    // The property the page area and the tour read once the first page shows.
    static constexpr const char *kLoadedProperty = "postdeskPageLoaded";

    FWndLog(const QString &logName, DBConn *conn, QWidget *parent = nullptr);
    ~FWndLog() override;

    const fwndlog::FLink &linkFinder() const { return m_link; }
    const fwndlog::FLogRules &rules() const { return m_rules; }
    bool rulesLoaded() const { return m_rulesLoaded; }
    // Replaces the rules (after they were edited) and repaints.
    void setRules(const QList<fwndlog::FLogRule> &rules);
    QMenu *contextMenu() const { return m_menu; }
    QAction *clearAction() const { return m_actClear; }

    // The link under a viewport point, if any.
    std::optional<fwndlog::fdata::Link> linkAt(const QPoint &viewportPos);
    // The column of a pixel x within a line's text: the boundary nearest
    // below x; found by halving, so very long lines stay quick.
    int columnAt(const QString &text, int x) const;
    // Line and viewport row of a viewport point.
    qint64 lineAt(const QPoint &viewportPos) const;

protected:
    void drawLine(QPainter &painter, qint64 line, fwndlog::FData &data, const QRect &rect) override;
    QColor lineColor(const QString &text) override;
    void replyArrived(fwndlog::FLogReply &reply) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildMenus();
    void loadRules();
    void updateCursor(const QPoint &viewportPos);
    const QList<fwndlog::fdata::Link> &linksOf(qint64 line, fwndlog::FData &data);

    fwndlog::FLink m_link;
    fwndlog::FLogRules m_rules;
    bool m_rulesLoaded = false;
    QMenu *m_menu = nullptr;
    QAction *m_actClear = nullptr;
    bool m_overLink = false;
};

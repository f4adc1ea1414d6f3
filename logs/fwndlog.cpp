#include "logs/fwndlog.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "forms/bviewmenu.h"
#include "forms/uthtml.h"
#include "logs/fdlglogevent.h"
#include "logs/fdlglogsave.h"
#include "logs/fdlglogsearch.h"
#include "logs/fdlglogsettings.h"
#include "logs/flogaccessible.h"
#include "logs/flogevent.h"
#include "logs/fwndlogregexp.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QUrl>

using namespace fwndlog;

namespace {
// Lines longer than this are drawn from the first visible column only.
constexpr int kSliceFrom = 512;
constexpr int kVisibleMargin = 50;
} // namespace

const QList<FWndLog::Encoding> &FWndLog::encodings()
{
    static const QList<Encoding> list = {
            {10, QT_TR_NOOP("&Unicode"), ""},
            {15, QT_TR_NOOP("U&TF-8"), "utf8"},
            {11, QT_TR_NOOP("Western (ISO 8859-&1)"), "iso8859-1"},
            {12, QT_TR_NOOP("Western (ISO 8859-15)"), "iso8859-15"},
            {13, QT_TR_NOOP("Central European (ISO 8859-&2)"), "iso8859-2"},
            {14, QT_TR_NOOP("Central European (&CP 1250)"), "cp1250"},
            {16, QT_TR_NOOP("Cyrillic (ISO 8859-5)"), "iso8859-5"},
            {17, QT_TR_NOOP("Cyrillic (CP 1251)"), "cp1251"},
    };
    return list;
}

FWndLog::FWndLog(const QString &logName, DBConn *conn, QWidget *parent)
    : FWndLogBase(logName, conn, parent)
    , m_select(new FSelect(this))
    , m_find(new FLogFind(this))
{
    FLogAccessible::install();
    setAccessibleName(tr("Log %1").arg(logName));
    setViewportMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(m_select, &FSelect::signalSelectionChanged, this, &FWndLog::slotSelectionChanged);
    connect(m_select, &FSelect::signalScroll, this, &FWndLog::autoScroll);
    connect(m_find, &FLogFind::signalFound, this, &FWndLog::slotFound);
    connect(m_find, &FLogFind::signalChangeWidgetAppearance, this,
            &FWndLog::slotChangeWidgetAppearance);
    connect(m_find, &FLogFind::signalChangeCursorAppearance, this,
            &FWndLog::slotChangeCursorAppearance);
    readSettings();
    buildMenus();
    loadRules();
    // Read when the settings open: a table's select that is still out when
    // the view closes would finish into a deleted table.
    if (conn)
        m_logTable = new FLogTable(conn, this);
    connect(this, &FWndLogBase::signalDataReady, this,
            [this] { setProperty(kLoadedProperty, true); });
    connect(this, &FWndLogBase::signalInfoReady, this, [this] {
        if (count() <= 0)
            setProperty(kLoadedProperty, true);
    });
    connect(this, &FWndLogBase::signalCountChanged, this, [this](qint64 count) {
        if (count <= 0) {
            m_select->clear();
            setProperty(kLoadedProperty, true);
        }
    });
}

FWndLog::~FWndLog() = default;

QString FWndLog::settingsKey(const char *what) const
{
    return QStringLiteral("/Logs/%1/%2").arg(logName(), QLatin1String(what));
}

void FWndLog::readSettings()
{
    const QString fontKey = settingsKey("font");
    const QString fontText = UtKontainer::getText(fontKey, {}, fontKey);
    QFont stored;
    if (!fontText.isEmpty() && stored.fromString(fontText))
        setFont(stored);
    const QString encodingKey = settingsKey("encoding");
    const int id = UtKontainer::getInt(encodingKey, kDefaultEncoding, encodingKey);
    for (const Encoding &encoding : encodings()) {
        if (encoding.id == id) {
            m_encodingId = id;
            setEncoding(QString::fromLatin1(encoding.codec));
        }
    }
}

void FWndLog::buildMenus()
{
    m_menu = new QMenu(tr("&Edit"), this);
    m_menu->setObjectName(QStringLiteral("logMenu"));
    m_actCopy = m_menu->addAction(tr("&Copy"), this, &FWndLog::slotCopy);
    m_actCopy->setObjectName(QStringLiteral("actCopy"));
    m_actCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_actCopy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_actCopy->setEnabled(false);
    addAction(m_actCopy);
    QAction *save = m_menu->addAction(tr("Save Log..."), this, [this] { slotSave(false); });
    save->setObjectName(QStringLiteral("actSave"));
    QAction *find = m_menu->addAction(tr("&Find..."), this, &FWndLog::slotFindMenu);
    find->setObjectName(QStringLiteral("actFind"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(find);
    m_menu->addSeparator();
    m_actRegExp = m_menu->addAction(tr("&Highlighting..."), this, &FWndLog::slotRegExp);
    m_actRegExp->setObjectName(QStringLiteral("actHighlighting"));
    m_actRegExp->setEnabled(false); // once the rules have arrived
    QAction *font = m_menu->addAction(tr("&Select Font..."), this, &FWndLog::slotFont);
    font->setObjectName(QStringLiteral("actFont"));
    m_encodingMenu = m_menu->addMenu(tr("&Encoding"));
    m_encodingMenu->setObjectName(QStringLiteral("encodingMenu"));
    m_encodingGroup = new QActionGroup(this);
    for (const Encoding &encoding : encodings()) {
        // Separators between Unicode, Western, Central European and Cyrillic.
        if (encoding.id == 11 || encoding.id == 13 || encoding.id == 16)
            m_encodingMenu->addSeparator();
        QAction *action = m_encodingMenu->addAction(tr(encoding.label));
        action->setCheckable(true);
        action->setChecked(encoding.id == m_encodingId);
        action->setData(encoding.id);
        m_encodingGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, id = encoding.id] { slotEncoding(id); });
    }
    m_menu->addSeparator();
    m_actSettings = m_menu->addAction(tr("&Log Settings..."), this, &FWndLog::slotLogSettings);
    m_actSettings->setObjectName(QStringLiteral("actLogSettings"));
    m_actSettings->setEnabled(connection() != nullptr);
    if (logName().compare(QLatin1String("debug"), Qt::CaseInsensitive) == 0) {
        m_actMessages = m_menu->addAction(tr("Messages..."), this, &FWndLog::slotMessages);
        m_actMessages->setObjectName(QStringLiteral("actMessages"));
    }
    DBConn *conn = connection();
    if (conn && conn->mayModify()) {
        m_menu->addSeparator();
        m_actClear = m_menu->addAction(tr("Clear Log"));
        m_actClear->setObjectName(QStringLiteral("actClearLog"));
        connect(m_actClear, &QAction::triggered, this, [this] { slotClearLog(true); });
    }
}

void FWndLog::loadRules()
{
    if (UtKontainer::getInt(UtKey::AdminHasLogRegExp) != 1)
        return;
    send(ReadKind::Rules,
         QStringLiteral("select Id, Enabled, Order, Description, Condition, "
                        "IsRegularExpression, Color from LogHighlighting"));
}

void FWndLog::replyArrived(FLogReply &reply)
{
    if (reply.kind != ReadKind::Rules || !reply.ok())
        return;
    m_rules.setRows(reply.columns, reply.rows);
    m_rulesLoaded = true;
    m_actRegExp->setEnabled(true);
    bumpColorGeneration();
    viewport()->update();
}

void FWndLog::slotRegExp()
{
    DBConn *conn = connection();
    if (!conn || !m_rulesLoaded)
        return;
    const QString caption = UtKontainer::getText(UtKey::Caption);
    DBTable table(conn, QStringLiteral("LogHighlighting"), logHighlightingColumns());
    if (!table.selectSync()) {
        QMessageBox::warning(this, caption, table.errorText());
        return;
    }
    FDlgLogRegExp dialog(&table, this);
    if (dialog.exec() != QDialog::Accepted)
        return; // the local changes go with the table
    if (!table.isModified())
        return;
    if (!table.save()) {
        QMessageBox::warning(this, caption, table.errorText());
        return;
    }
    bumpTextGeneration();
    setRules(rulesOfTable(table));
}

void FWndLog::setRules(const QList<FLogRule> &rules)
{
    m_rules.setRules(rules);
    m_rulesLoaded = true;
    bumpColorGeneration();
    viewport()->update();
}

QColor FWndLog::lineColor(const QString &text)
{
    return m_rules.colorOf(text, palette().color(QPalette::Base));
}

const QList<fdata::Link> &FWndLog::linksOf(qint64 line, FData &data)
{
    if (!data.links)
        data.links = m_link.find(line, textOf(data));
    return *data.links;
}

// --- geometry of text ---

int FWndLog::columnAt(const QString &text, int x) const
{
    if (x <= 0 || text.isEmpty())
        return 0;
    const QFontMetrics metrics = fontMetrics();
    int high = int(text.size());
    if (metrics.horizontalAdvance(text) <= x)
        return high;
    int low = 0;
    --high;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= x)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

int FWndLog::xOfColumn(const QString &text, int column) const
{
    return column <= 0 ? 0 : fontMetrics().horizontalAdvance(text.left(column));
}

qint64 FWndLog::lineAt(const QPoint &viewportPos) const
{
    return topLine() + qMax(0, viewportPos.y()) / lineHeight();
}

FTextPos FWndLog::positionAt(const QPoint &viewportPos)
{
    if (count() <= 0)
        return {};
    qint64 line = lineAt(viewportPos);
    if (viewportPos.y() < 0)
        line = qMax<qint64>(0, topLine() - 1);
    if (line >= count()) // beyond the last line: the end of the last line
        return {count() - 1, FTextPos::kLineEnd};
    const QString text = lineText(line);
    return {line, columnAt(text, viewportPos.x() + textOffsetX())};
}

void FWndLog::ensureVisible(FTextPos pos)
{
    const int lh = lineHeight();
    const int margin = qMax(1, kVisibleMargin / lh);
    if (pos.line < topLine() + margin || pos.line >= topLine() + visibleLines() - margin)
        scrollToLine(pos.line - visibleLines() / 2);
    if (FData *data = const_cast<FBuffer &>(buffer()).at(pos.line)) {
        const QString &text = textOf(*data);
        const int x = xOfColumn(text, qMin(pos.column, int(text.size())));
        QScrollBar *bar = horizontalScrollBar();
        const int left = bar->value() - kLeftMargin;
        if (x < left + kVisibleMargin || x > left + viewport()->width() - kVisibleMargin)
            bar->setValue(qMax(0, x - viewport()->width() / 2));
    }
}

// --- drawing ---

void FWndLog::drawLine(QPainter &painter, qint64 line, FData &data, const QRect &rect)
{
    const QString &text = textOf(data);
    const int offset = textOffsetX();
    int firstColumn = 0;
    int lastColumn = int(text.size());
    if (text.size() > kSliceFrom) {
        // Only the slice the viewport shows is laid out.
        firstColumn = qMax(0, columnAt(text, offset) - 1);
        lastColumn = qMin(int(text.size()), columnAt(text, offset + rect.width()) + 2);
    }
    const QFontMetrics metrics = fontMetrics();
    const int baseline = rect.top() + metrics.ascent() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QPoint(xOfColumn(text, firstColumn) - offset, baseline),
                     text.mid(firstColumn, lastColumn - firstColumn));

    const QList<fdata::Link> &links = linksOf(line, data);
    if (links.isEmpty())
        return;
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.save();
    painter.setFont(underlined);
    for (const fdata::Link &link : links) {
        if (link.start + link.length < firstColumn || link.start > lastColumn)
            continue;
        painter.drawText(QPoint(xOfColumn(text, link.start) - offset, baseline),
                         text.mid(link.start, link.length));
    }
    painter.restore();
}

void FWndLog::drawOverlay(QPainter &painter, qint64 line, FData &data, const QRect &rect)
{
    const QString &text = textOf(data);
    int from = 0;
    int to = 0;
    if (!m_select->columnsOf(line, int(text.size()), &from, &to))
        return;
    const int offset = textOffsetX();
    const int left = xOfColumn(text, from) - offset;
    // A selection through the line's end reaches the viewport's edge.
    const bool throughEnd = line < m_select->end().line;
    const int right = throughEnd ? rect.right() + 1 : xOfColumn(text, to) - offset;
    const QRect band(left, rect.top(), qMax(2, right - left), rect.height());
    painter.fillRect(band, palette().color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(band);
    painter.setPen(palette().color(QPalette::HighlightedText));
    drawLine(painter, line, data, rect);
    painter.restore();
}

// --- pointer ---

std::optional<fdata::Link> FWndLog::linkAt(const QPoint &viewportPos)
{
    const qint64 line = lineAt(viewportPos);
    FData *data = const_cast<FBuffer &>(buffer()).at(line);
    if (!data)
        return std::nullopt;
    const QString &text = textOf(*data);
    const int x = viewportPos.x() + textOffsetX();
    for (const fdata::Link &link : linksOf(line, *data)) {
        if (x >= xOfColumn(text, link.start) && x < xOfColumn(text, link.start + link.length))
            return link;
    }
    return std::nullopt;
}

void FWndLog::updateCursor(const QPoint &viewportPos)
{
    const bool over = !m_select->isDragging() && linkAt(viewportPos).has_value();
    if (over == m_overLink)
        return;
    m_overLink = over;
    viewport()->setCursor(over ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

bool FWndLog::event(QEvent *event)
{
    if (event->type() == QEvent::Type(FLogEvent::ContentsMoved)) {
        updateCursor(viewport()->mapFromGlobal(QCursor::pos()));
        return true;
    }
    return FWndLogBase::event(event);
}

bool FWndLog::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        mousePress(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseButtonRelease:
        mouseRelease(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseButtonDblClick:
        mouseDoubleClick(static_cast<QMouseEvent *>(event));
        return true;
    default:
        return FWndLogBase::viewportEvent(event);
    }
}

void FWndLog::mousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_select->isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const FTextPos pos = positionAt(at);
    m_wordSelection = false;
    if (!pos.isValid())
        return;
    if (event->modifiers() & Qt::ShiftModifier)
        m_select->extendTo(pos);
    else
        m_select->select(pos, pos);
    m_select->setDragging(true);
    m_lastPointer = at;
}

void FWndLog::mouseMove(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_lastPointer = at;
    if (!(event->buttons() & Qt::LeftButton) || !m_select->isDragging()) {
        updateCursor(at);
        return;
    }
    const QRect area = viewport()->rect();
    FSelect::Direction direction = FSelect::None;
    if (at.y() < area.top())
        direction = FSelect::Up;
    else if (at.y() > area.bottom())
        direction = FSelect::Down;
    else if (at.x() > area.right())
        direction = FSelect::Right;
    else if (at.x() < area.left())
        direction = FSelect::Left;
    m_select->setAutoScroll(direction);
    const FTextPos pos = positionAt(at);
    if (!pos.isValid())
        return;
    if (m_wordSelection) {
        // Dragging after a double click extends by whole words from it.
        if (pos < m_wordStart)
            m_select->select(m_wordEnd, pos);
        else
            m_select->select(m_wordStart, qMax(pos, m_wordEnd));
    } else {
        m_select->extendTo(pos);
    }
    viewport()->update();
}

void FWndLog::mouseRelease(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const bool wasDragging = m_select->isDragging();
    m_select->setDragging(false);
    m_wordSelection = false;
    if (event->button() != Qt::LeftButton)
        return;
    // A click on a link (no text dragged over) opens it.
    if (wasDragging && !m_select->hasSelection()) {
        if (const auto link = linkAt(at)) {
            if (FData *data = const_cast<FBuffer &>(buffer()).at(link->line))
                QDesktopServices::openUrl(QUrl(textOf(*data).mid(link->start, link->length)));
        }
    }
    updateCursor(at);
}

void FWndLog::mouseDoubleClick(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_select->isEnabled())
        return;
    const FTextPos pos = positionAt(event->position().toPoint());
    if (!pos.isValid())
        return;
    const QString text = lineText(pos.line);
    static const QRegularExpression space(QStringLiteral("[\\s]"));
    const int column = qMin(pos.column, int(text.size()));
    const qsizetype before = column > 0 ? text.lastIndexOf(space, column - 1) : -1;
    qsizetype after = text.indexOf(space, column);
    if (after < 0)
        after = text.size();
    m_wordStart = {pos.line, int(before + 1)};
    m_wordEnd = {pos.line, int(after)};
    m_select->select(m_wordStart, m_wordEnd);
    m_select->setDragging(true);
    m_wordSelection = true;
    viewport()->update();
}

void FWndLog::autoScroll(int direction)
{
    const int lh = lineHeight();
    switch (direction) {
    case FSelect::Up:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
        break;
    case FSelect::Down:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
        break;
    case FSelect::Right:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + lh);
        break;
    case FSelect::Left:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - lh);
        break;
    default:
        return;
    }
    const FTextPos pos = positionAt(m_lastPointer);
    if (pos.isValid())
        m_select->extendTo(pos);
    viewport()->update();
}

// --- keys ---

void FWndLog::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    QScrollBar *vbar = verticalScrollBar();
    QScrollBar *hbar = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Home:
        vbar->setValue(0);
        break;
    case Qt::Key_End:
        scrollToBottom();
        break;
    case Qt::Key_Up:
        vbar->setValue(vbar->value() - 1);
        break;
    case Qt::Key_Down:
        vbar->setValue(vbar->value() + 1);
        break;
    case Qt::Key_Left:
        hbar->setValue(hbar->value() - lineHeight());
        break;
    case Qt::Key_Right:
        hbar->setValue(hbar->value() + lineHeight());
        break;
    case Qt::Key_PageUp:
        vbar->setValue(vbar->value() - vbar->pageStep());
        break;
    case Qt::Key_PageDown:
        vbar->setValue(vbar->value() + vbar->pageStep());
        break;
    case Qt::Key_A:
        if (!ctrl)
            return FWndLogBase::keyPressEvent(event);
        if (count() > 0 && m_select->isEnabled())
            m_select->select({0, 0}, {count() - 1, FTextPos::kLineEnd});
        viewport()->update();
        break;
    case Qt::Key_Insert:
        if (!ctrl)
            return FWndLogBase::keyPressEvent(event);
        slotCopy();
        break;
    case Qt::Key_F16:
        slotCopy();
        break;
    case Qt::Key_F3:
        findAgain(event->modifiers() & Qt::ShiftModifier ? FLogFind::Up : FLogFind::Down);
        break;
    default:
        FWndLogBase::keyPressEvent(event);
        return;
    }
    event->accept();
}

// --- copy ---

QString FWndLog::htmlTitle()
{
    return QStringLiteral("Brantel Administration Console Log");
}

bool FWndLog::selectedLines(QStringList *lines)
{
    lines->clear();
    if (!m_select->hasSelection())
        return true;
    const FTextPos first = m_select->start();
    const FTextPos last = m_select->end();
    QStringList texts;
    if (buffer().contains(first.line) && buffer().contains(last.line)) {
        for (qint64 line = first.line; line <= last.line; ++line)
            texts.append(lineText(line));
    } else {
        DBConn *conn = connection();
        if (!conn)
            return false;
        DBReq req(QStringLiteral("select LogData(\"%1\", %2, %3)")
                          .arg(dbEscape(logName()), QString::number(first.line),
                               QString::number(last.line - first.line + 1)));
        if (!conn->execSync(&req) || req.rowCount() != last.line - first.line + 1)
            return false;
        QStringDecoder decoder = encoding().isEmpty()
                ? QStringDecoder(QStringConverter::Utf8)
                : QStringDecoder(encoding().toLatin1().constData());
        for (int row = 0; row < req.rowCount(); ++row) {
            QByteArrayView cell = req.cellBytes(row, 0);
            while (cell.endsWith('\0'))
                cell.chop(1);
            texts.append(decoder.decode(cell));
            decoder.resetState();
        }
    }
    for (int i = 0; i < texts.size(); ++i) {
        const qint64 line = first.line + i;
        const QString &text = texts.at(i);
        const int from = line == first.line ? qMin(first.column, int(text.size())) : 0;
        const int to = line == last.line ? qMin(last.column, int(text.size())) : int(text.size());
        lines->append(text.mid(from, qMax(0, to - from)));
    }
    return true;
}

QString FWndLog::plainText(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QString FWndLog::htmlLine(const QString &text)
{
    return QStringLiteral("<div style=\"background-color:%1;\">%2</div>")
            .arg(colorName(lineColor(text)), UtHtml::escape(text));
}

QString FWndLog::htmlDocument(const QStringList &lines)
{
    QString html = UtHtml::documentHead(htmlTitle()) + QStringLiteral("<body>\n");
    for (const QString &line : lines)
        html += htmlLine(line) + QStringLiteral("\r\n");
    html += QStringLiteral("</body>\n</html>\n");
    return html;
}

void FWndLog::slotCopy()
{
    if (!m_select->hasSelection())
        return;
    if (m_select->lineCount() > kMaxCopyLines) {
        QMessageBox box(QMessageBox::Question, UtKontainer::getText(UtKey::Caption),
                        tr("<nobr>The selection is too big to fit into memory.<br>"
                           "Do you want to save it to disk?</nobr>"),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        if (box.exec() == QMessageBox::Yes)
            slotSave(true);
        return;
    }
    QStringList lines;
    if (!selectedLines(&lines)) {
        QMessageBox::warning(this, UtKontainer::getText(UtKey::Caption),
                             tr("The selected lines could not be read from the server."));
        return;
    }
    auto *data = new QMimeData;
    data->setText(plainText(lines));
    data->setHtml(htmlDocument(lines));
    QApplication::clipboard()->setMimeData(data);
}

void FWndLog::slotSave(bool selectionOnly)
{
    FDlgLogSave dialog(this, selectionOnly);
    dialog.exec();
}

void FWndLog::slotSelectionChanged(bool selected)
{
    m_actCopy->setEnabled(selected);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent event(this, 0, 0);
        if (QAccessibleInterface *face = QAccessible::queryAccessibleInterface(this)) {
            if (QAccessibleTextInterface *text = face->textInterface()) {
                int start = 0;
                int end = 0;
                text->selection(0, &start, &end);
                event.setSelection(start, end);
            }
        }
        QAccessible::updateAccessibility(&event);
    }
}

// --- find ---

void FWndLog::slotFindMenu()
{
    if (!m_findDialog) {
        m_findDialog = new FDlgLogSearch(m_find, this);
        m_findDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void FWndLog::findAgain(FLogFind::Direction direction)
{
    // The dialog's text when it is open, else the last one searched for.
    if (m_findDialog && m_findDialog->isVisible() && !m_findDialog->text().isEmpty()
        && m_findDialog->text() != m_find->text()) {
        m_find->slotFindFirst(direction, m_findDialog->text(), FLogFind::LastFound);
        return;
    }
    if (m_find->text().isEmpty()) {
        slotFindMenu();
        return;
    }
    m_find->slotFindNext(direction);
}

void FWndLog::slotFound(const QString &text, FLogFind::Direction, qint64 line, int column)
{
    if (column < 0) {
        // Found by the server where the text here cannot place it: the whole line.
        m_select->select({line, 0}, {line, FTextPos::kLineEnd});
    } else {
        m_select->select({line, column}, {line, column + int(text.size())});
    }
    ensureVisible({line, qMax(0, column)});
    viewport()->update();
}

void FWndLog::slotChangeWidgetAppearance(bool enabled)
{
    m_select->setEnabled(enabled);
    viewport()->update();
}

void FWndLog::slotChangeCursorAppearance(bool busy)
{
    if (busy)
        viewport()->setCursor(Qt::BusyCursor);
    else
        viewport()->setCursor(m_overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

// --- log settings ---

void FWndLog::slotLogReady()
{
    m_logDict.rebuild(*m_logTable);
    m_actSettings->setEnabled(true);
}

void FWndLog::slotLogSettings()
{
    DBConn *conn = connection();
    if (!conn || !m_logTable)
        return;
    if (!m_logTable->selectSync()) {
        QMessageBox::warning(this, UtKontainer::getText(UtKey::Caption),
                             m_logTable->errorText().toHtmlEscaped());
        return;
    }
    slotLogReady();
    const FLogStreams streams = m_logDict.streams(logName());
    // What the streams were, to put back one the server removed but refused to add.
    QList<QHash<QString, QString>> before;
    for (DBRow *row : {streams.file, streams.syslog}) {
        if (row)
            before.append(FLogTable::valuesOf(*row));
    }
    FDlgLogSettings dialog(m_logTable, streams, logName(), conn->mayModify(), this);
    if (dialog.exec() != QDialog::Accepted) {
        m_logTable->revert();
        m_logDict.rebuild(*m_logTable);
        return;
    }
    if (!m_logTable->isModified())
        return;
    if (m_logTable->save()) {
        m_logDict.rebuild(*m_logTable);
        return;
    }
    QString text = tr("The log settings could not be saved.") + QStringLiteral("<br>")
            + m_logTable->errorText().toHtmlEscaped();
    // Reread, and restore a stream that a changed address removed.
    FLogTable current(conn);
    if (current.selectSync()) {
        for (const auto &values : std::as_const(before)) {
            bool present = false;
            for (int i = 0; i < current.rowCount(); ++i)
                present = present
                        || current.row(i)->text("StreamURL")
                                == values.value(QStringLiteral("StreamURL"));
            if (present)
                continue;
            DBReq restore(FLogTable::addStatement(values));
            if (conn->execSync(&restore))
                text += QStringLiteral("<br>") + tr("The previous stream was restored.");
        }
    }
    QMessageBox::warning(this, UtKontainer::getText(UtKey::Caption),
                         QStringLiteral("<nobr>%1</nobr>").arg(text));
    m_logTable->revert(); // read again when the settings open next
}

void FWndLog::slotMessages()
{
    FDlgLogEvent dialog(connection(), logName(), this);
    dialog.exec();
}

// --- font and encoding ---

void FWndLog::slotFont()
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font(), this, tr("Select Font"));
    if (!ok)
        return;
    const QString key = settingsKey("font");
    UtKontainer::setText(key, chosen.toString(), key);
    setFont(chosen); // the selection is kept in lines and columns
}

void FWndLog::slotEncoding(int id)
{
    for (const Encoding &encoding : encodings()) {
        if (encoding.id != id)
            continue;
        m_encodingId = id;
        const QString key = settingsKey("encoding");
        UtKontainer::setInt(key, id, key);
        for (QAction *action : m_encodingGroup->actions())
            action->setChecked(action->data().toInt() == id);
        setEncoding(QString::fromLatin1(encoding.codec));
        m_select->clear();
        reload();
        return;
    }
}

void FWndLog::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->exec(event->globalPos());
}

void FWndLog::showEvent(QShowEvent *event)
{
    FWndLogBase::showEvent(event);
    if (m_menuShown)
        return;
    // The main window's menu bar offers the context menu as "Edit".
    m_menuShown = true;
    m_viewMenu = new BViewMenu(this);
    m_viewMenu->setTitle(m_menu->title());
    for (QAction *action : m_menu->actions())
        m_viewMenu->addAction(action);
    m_viewMenu->showMenu();
}

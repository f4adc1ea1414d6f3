#include "status/statisticwnd.h"

#include "db/dbconn.h"
#include "db/dbreq.h"
#include "db/dbrow.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "forms/uthtml.h"
#include "registry/utkontainer.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kMode = QStringLiteral("/Statistics/mode");
const QString kVersion = QStringLiteral("/Statistics/ver");
const QString kShown = QStringLiteral("/Statistics/disp");
const QString kOrderAdvanced = QStringLiteral("/Statistics/orda");
const QString kOrderBasic = QStringLiteral("/Statistics/ordb");
const QString kFileDir = QStringLiteral("/Statistics/filedlg");

const QSize kChartSize(250, 175);

QImage markImage(const QColor &color, qreal ratio)
{
    QImage image(QSize(10, 10) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    {
        QPainter painter(&image);
        painter.setPen(color.darker(150));
        painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QList<int> storedList(const QString &key, const QList<int> &fallback, bool versionOk)
{
    if (!versionOk)
        return fallback;
    const QString text = UtKontainer::getText(key, QString(), key);
    if (text.isEmpty())
        return fallback;
    return statsections::decodeList(text).value_or(fallback); // damaged: the defaults
}

} // namespace

StatisticTextBrowser::StatisticTextBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("m_tbStatistics"));
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        bool ok = false;
        const int id = url.toString().toInt(&ok);
        if (ok)
            emit signalSectionClicked(id);
    });
}

void StatisticTextBrowser::setDocumentHtml(const QString &html)
{
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    setHtml(html);
    document()->documentLayout()->documentSize(); // lays out now, so the range is known
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

StatisticWnd::StatisticWnd(QWidget *parent)
    : BForm(parent)
    , m_stats(bobject::connection(), QStringLiteral("Stats"))
    , m_info(bobject::connection(), QStringLiteral("Info"))
    , m_spam(bobject::connection(), QStringLiteral("SpamFilter"))
    , m_trans(bobject::connection())
    , m_lblSince(new QLabel(this))
    , m_browser(new StatisticTextBrowser(this))
    , m_btnRefresh(new QPushButton(tr("&Refresh"), this))
    , m_btnReset(new QPushButton(tr("Re&set Statistics..."), this))
    , m_btnExport(new QPushButton(tr("&Export..."), this))
{
    setObjectName(QStringLiteral("StatisticWnd"));
    m_trans.addTable(&m_stats);
    m_trans.addTable(&m_info);
    m_trans.addTable(&m_spam);

    m_lblSince->setObjectName(QStringLiteral("m_lblSince"));
    m_browser->setAccessibleName(tr("Statistics"));
    m_btnRefresh->setObjectName(QStringLiteral("m_btnRefresh"));
    m_btnReset->setObjectName(QStringLiteral("m_btnReset"));
    m_btnExport->setObjectName(QStringLiteral("m_btnExport"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblSince);
    layout->addWidget(m_browser, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnRefresh);
    buttons->addWidget(m_btnReset);
    buttons->addWidget(m_btnExport);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_btnRefresh, &QPushButton::clicked, this, &StatisticWnd::slotRefresh);
    connect(m_btnReset, &QPushButton::clicked, this, &StatisticWnd::slotReset);
    connect(m_btnExport, &QPushButton::clicked, this, &StatisticWnd::slotExport);
    connect(m_browser, &StatisticTextBrowser::signalSectionClicked, this,
            &StatisticWnd::selectSection);

    // The page's menu.
    m_viewMenu->setTitle(tr("&Statistics"));
    m_actAdvanced = new QAction(tr("Switch to &Advanced Mode"), this);
    m_actBasic = new QAction(tr("Switch to &Basic Mode"), this);
    connect(m_actAdvanced, &QAction::triggered, this, &StatisticWnd::slotSwitchMode);
    connect(m_actBasic, &QAction::triggered, this, &StatisticWnd::slotSwitchMode);
    auto *refresh = new QAction(tr("&Refresh"), this);
    connect(refresh, &QAction::triggered, this, &StatisticWnd::slotRefresh);
    auto *reset = new QAction(tr("Re&set Statistics..."), this);
    connect(reset, &QAction::triggered, this, &StatisticWnd::slotReset);
    auto *exportHtml = new QAction(tr("&Export..."), this);
    connect(exportHtml, &QAction::triggered, this, &StatisticWnd::slotExport);
    for (QAction *action : {m_actAdvanced, m_actBasic, refresh, reset, exportHtml})
        m_viewMenu->addAction(action);
    m_resetAction = reset;

    auto sectionAction = [this](int id, QObject *parent) {
        auto *action = new QAction(statsections::menuName(id), parent);
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, id](bool on) { setSectionShown(id, on); });
        m_sectionActions.insert(id, action);
        return action;
    };
    auto addSeparator = [this] {
        auto *separator = new QAction(this);
        separator->setSeparator(true);
        m_viewMenu->addAction(separator);
        m_advancedOnly << separator;
    };
    addSeparator();
    auto *up = new QAction(tr("Move Section &Up"), this);
    connect(up, &QAction::triggered, this, [this] { moveSelected(-1); });
    auto *down = new QAction(tr("Move Section &Down"), this);
    connect(down, &QAction::triggered, this, [this] { moveSelected(1); });
    for (QAction *action : {up, down}) {
        m_viewMenu->addAction(action);
        m_advancedOnly << action;
    }
    addSeparator();
    const struct
    {
        const char *title;
        QList<int> ids;
    } groups[] = {{QT_TR_NOOP("Message Statistics"), {2, 3, 4, 5, 6, 7, 12}},
                  {QT_TR_NOOP("Server Statistics"), {13, 15, 17, 18, 19}}};
    for (const auto &group : groups) {
        auto *menu = new QMenu(tr(group.title), this);
        for (int id : group.ids)
            menu->addAction(sectionAction(id, menu));
        m_viewMenu->addAction(menu->menuAction());
        m_advancedOnly << menu->menuAction();
    }
    for (int id : {1, 8, 9, 10, 11, 14, 16, 20, 21}) {
        QAction *action = sectionAction(id, this);
        m_viewMenu->addAction(action);
        m_advancedOnly << action;
    }

    readSettings();
    updateActions();
}

QAction *StatisticWnd::modeAction() const
{
    return m_mode == Basic ? m_actAdvanced : m_actBasic;
}

void StatisticWnd::readSettings()
{
    const bool versionOk = UtKontainer::getInt(kVersion, statsections::kFormatVersion, kVersion)
            == statsections::kFormatVersion;
    m_mode = UtKontainer::getInt(kMode, Basic, kMode) == Advanced ? Advanced : Basic;
    m_orderBasic = storedList(kOrderBasic, statsections::defaultBasicOrder(), versionOk);
    m_orderAdvanced = storedList(kOrderAdvanced, statsections::defaultAdvancedOrder(), versionOk);
    m_shown = storedList(kShown, statsections::defaultAdvancedOrder(), versionOk);
    // Every section has a place in the advanced order, also one a damaged or
    // older list left out.
    for (int id = 0; id < statsections::kCount; ++id) {
        if (!m_orderAdvanced.contains(id))
            m_orderAdvanced << id;
    }
}

void StatisticWnd::storeSettings() const
{
    UtKontainer::setInt(kVersion, statsections::kFormatVersion, kVersion);
    UtKontainer::setInt(kMode, m_mode, kMode);
    UtKontainer::setText(kOrderBasic, statsections::encodeList(m_orderBasic), kOrderBasic);
    UtKontainer::setText(kOrderAdvanced, statsections::encodeList(m_orderAdvanced), kOrderAdvanced);
    UtKontainer::setText(kShown, statsections::encodeList(m_shown), kShown);
}

void StatisticWnd::updateActions()
{
    m_actAdvanced->setVisible(m_mode == Basic);
    m_actBasic->setVisible(m_mode == Advanced);
    for (QAction *action : std::as_const(m_advancedOnly))
        action->setVisible(m_mode == Advanced);
    for (auto it = m_sectionActions.cbegin(); it != m_sectionActions.cend(); ++it) {
        const QSignalBlocker blocker(it.value());
        it.value()->setChecked(m_shown.contains(it.key()));
    }
    const bool modify = bview::sessionMayModify();
    m_btnReset->setEnabled(modify);
    m_resetAction->setEnabled(modify);
}

QList<int> &StatisticWnd::order()
{
    return m_mode == Basic ? m_orderBasic : m_orderAdvanced;
}

QList<int> StatisticWnd::visibleSections() const
{
    if (m_mode == Basic)
        return m_orderBasic;
    QList<int> visible;
    for (int id : m_orderAdvanced) {
        if (m_shown.contains(id))
            visible << id;
    }
    return visible;
}

void StatisticWnd::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    storeSettings();
    updateActions();
    if (isInitialised())
        fillView();
    m_viewMenu->showMenu();
}

void StatisticWnd::slotSwitchMode()
{
    setMode(m_mode == Basic ? Advanced : Basic);
}

void StatisticWnd::setSectionShown(int id, bool shown)
{
    if (id < 0 || id >= statsections::kCount || shown == m_shown.contains(id))
        return;
    if (shown)
        m_shown << id;
    else
        m_shown.removeAll(id);
    storeSettings();
    updateActions();
    if (isInitialised())
        fillView();
}

void StatisticWnd::selectSection(int id)
{
    m_selected = id;
    if (isInitialised())
        fillView();
}

void StatisticWnd::moveSelected(int step)
{
    QList<int> &list = order();
    const int from = int(list.indexOf(m_selected));
    // The neighbour among the shown sections.
    const QList<int> visible = visibleSections();
    const int at = int(visible.indexOf(m_selected));
    if (from < 0 || at < 0 || at + step < 0 || at + step >= visible.size())
        return;
    const int to = int(list.indexOf(visible.at(at + step)));
    list.swapItemsAt(from, to);
    storeSettings();
    if (isInitialised())
        fillView();
}

void StatisticWnd::load(bool first)
{
    loadTables(&m_trans, first);
}

void StatisticWnd::slotRefresh()
{
    loadTables(&m_trans, false);
}

void StatisticWnd::readValues()
{
    statsections::Values values;
    if (DBRow *row = m_stats.rows().value(0)) {
        const DBKols *columns = row->columns();
        for (int i = 0; i < columns->count(); ++i)
            values.stats.insert(columns->at(i).name, row->text(i).toLongLong());
    }
    if (DBRow *row = m_info.rows().value(0)) {
        values.hasInfo = true;
        values.startTime = row->text(QStringLiteral("StartTime")).toLongLong();
        values.currentTime = row->text(QStringLiteral("CurrentTime")).toLongLong();
        values.storageTotal = row->text(QStringLiteral("StorageTotal")).toLongLong();
        values.storageOccupied = row->text(QStringLiteral("StorageOccupied")).toLongLong();
    }
    if (DBRow *row = m_spam.rows().value(0))
        values.spamFilterOn = row->text(QStringLiteral("AssassinEnabled")).toLongLong() != 0;
    m_values = values;
}

void StatisticWnd::addImages()
{
    const qreal ratio = devicePixelRatioF();
    QTextDocument *document = m_browser->document();
    for (int id : visibleSections()) {
        QList<statsections::Mark> marks;
        QString name;
        const std::optional<CPieGraph> graph = statsections::chart(id, m_values, &marks, &name);
        if (!graph)
            continue;
        document->addResource(QTextDocument::ImageResource, QUrl(name),
                              graph->render(kChartSize, ratio));
        for (const statsections::Mark &mark : marks)
            document->addResource(QTextDocument::ImageResource, QUrl(mark.name),
                                  markImage(mark.color, ratio));
    }
}

QString StatisticWnd::pageHtml() const
{
    statsections::DocumentOptions options;
    options.selected = m_selected;
    return statsections::document(visibleSections(), m_values, options);
}

bool StatisticWnd::fillView()
{
    readValues();
    const qint64 since = m_values.stats.value(QStringLiteral("TimeStamp"));
    m_lblSince->setText(
            m_values.stats.isEmpty()
                    ? QString()
                    : tr("The statistics are counted since %1")
                              .arg(QLocale().toString(QDateTime::fromSecsSinceEpoch(since),
                                                      QLocale::ShortFormat)));
    m_browser->setDocumentHtml(pageHtml());
    addImages(); // after setHtml, which drops the document's resources
    m_browser->document()->markContentsDirty(0, m_browser->document()->characterCount());
    updateActions();
    return true;
}

void StatisticWnd::slotReset()
{
    if (!bview::sessionMayModify() || !m_btnReset->isEnabled())
        return;
    const auto answer = QMessageBox::question(
            this, bmessagebox::caption(),
            tr("This action will reset all statistics. Do you want to proceed?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    DBConn *conn = bobject::connection();
    if (!conn)
        return;
    DBReq req(QStringLiteral("select ") + QStringLiteral("Statistics::Reset()"));
    if (!conn->execSync(&req) || req.resultCode() != 0) {
        bobject::showServerError(this, req.errorText());
        return;
    }
    slotRefresh();
}

void StatisticWnd::slotExport()
{
    const QString start = UtKontainer::getText(kFileDir, QDir::homePath(), kFileDir);
    QString path
            = QFileDialog::getSaveFileName(this, tr("Save As"), start, tr("Web pages (*.htm)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
        path += QStringLiteral(".htm");
    UtKontainer::setText(kFileDir, QFileInfo(path).absolutePath(), kFileDir);
    exportTo(path);
}

bool StatisticWnd::exportTo(const QString &path, QString *error)
{
    auto fail = [this, error](const QString &message) {
        if (error)
            *error = message;
        bmessagebox::warning(this, message.toHtmlEscaped());
        return false;
    };
    const QFileInfo file(path);
    const QString folderName = file.completeBaseName() + QStringLiteral("_graphs");
    const QDir folder(file.absoluteDir().filePath(folderName));

    // The images first: the page must not point at files that are missing.
    QStringList written;
    for (int id : visibleSections()) {
        QList<statsections::Mark> marks;
        QString name;
        const std::optional<CPieGraph> graph = statsections::chart(id, m_values, &marks, &name);
        if (!graph)
            continue;
        if (!folder.exists() && !QDir().mkpath(folder.absolutePath()))
            return fail(tr("Cannot create the folder '%1'").arg(folder.absolutePath()));
        QList<QPair<QString, QImage>> images = {{name, graph->render(kChartSize, 1.0)}};
        for (const statsections::Mark &mark : marks)
            images.append({mark.name, markImage(mark.color, 1.0)});
        for (const auto &[imageName, image] : images) {
            const QString target = folder.filePath(imageName + QStringLiteral(".png"));
            if (!image.save(target, "PNG"))
                return fail(tr("Cannot write the chart image '%1'").arg(target));
            written << target;
        }
    }

    statsections::DocumentOptions options;
    options.anchors = false;
    options.imageSource = [&folderName](const QString &name) {
        // Quoted and percent-encoded, so a file "My Stats.htm" finds its images.
        return QString::fromLatin1(QUrl::toPercentEncoding(
                folderName + QLatin1Char('/') + name + QStringLiteral(".png"), "/"));
    };
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return fail(tr("Cannot open file '%1' for writing").arg(path));
    const QString html = UtHtml::documentHead(tr("Postvane Statistics"))
            + QStringLiteral("<body>\n<table border=1 cellspacing=0 width = 530>\n")
            + statsections::sectionRows(visibleSections(), m_values, options)
            + QStringLiteral("</table>\n</body>\n</html>\n");
    out.write(html.toUtf8());
    if (!out.commit())
        return fail(tr("Cannot open file '%1' for writing").arg(path));
    return true;
}

#include "status/timegraphwnd.h"

#include "db/dbquote.h"
#include "db/dbrow.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "forms/uthtml.h"
#include "registry/utkontainer.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString askPngPath(QWidget *parent, const QString &caption)
{
    QString path = QFileDialog::getSaveFileName(
            parent, caption, QString(),
            QCoreApplication::translate("TimeGraphWnd", "PNG Image (*.png)"));
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    return path;
}

} // namespace

// --- one chart ---------------------------------------------------------------

GWndTimeGraphInner::GWndTimeGraphInner(const timegraph::Chart &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setObjectName(QStringLiteral("GWndTimeGraphInner"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(220);
    setAccessibleName(chart.title());
}

void GWndTimeGraphInner::setSamples(const QList<timegraph::Sample> &samples)
{
    m_chart.samples = samples;
    m_loaded = true;
    update();
}

void GWndTimeGraphInner::setSettings(const timegraph::Settings &settings)
{
    m_chart.settings = settings;
    update();
}

void GWndTimeGraphInner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    timegraph::draw(painter, rect(), m_chart);
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void GWndTimeGraphInner::slotRedraw()
{
    update();
}

bool GWndTimeGraphInner::saveImage(const QString &path)
{
    const QImage image = timegraph::render(m_chart, size(), 1.0);
    if (image.save(path, "PNG"))
        return true;
    bmessagebox::warning(this, tr("Cannot write the file '%1'").arg(path).toHtmlEscaped());
    return false;
}

void GWndTimeGraphInner::slotCopyToFile()
{
    const QString path = askPngPath(this, tr("Save as..."));
    if (!path.isEmpty())
        saveImage(path);
}

void GWndTimeGraphInner::contextMenuEvent(QContextMenuEvent *event)
{
    emit signalActivated(this);
    QMenu menu(this);
    menu.addAction(tr("&Redraw"), this, &GWndTimeGraphInner::slotRedraw);
    menu.addAction(tr("&Copy to file..."), this, &GWndTimeGraphInner::slotCopyToFile);
    menu.exec(event->globalPos());
}

void GWndTimeGraphInner::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    emit signalActivated(this);
    update();
}

void GWndTimeGraphInner::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

// --- the charts' column --------------------------------------------------------

TimeGraphBrowser::TimeGraphBrowser(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content))
{
    setObjectName(QStringLiteral("m_tgBrowser"));
    setWidgetResizable(true);
    m_layout->addStretch();
    setWidget(m_content);
}

void TimeGraphBrowser::clear()
{
    for (GWndTimeGraphInner *chart : std::as_const(m_charts))
        delete chart;
    m_charts.clear();
}

void TimeGraphBrowser::addChart(GWndTimeGraphInner *chart)
{
    chart->setParent(m_content);
    m_layout->insertWidget(m_layout->count() - 1, chart);
    m_charts.append(chart);
}

// --- settings --------------------------------------------------------------------

TimeGraphDlg::TimeGraphDlg(const timegraph::Settings &settings, QWidget *parent)
    : QDialog(parent)
    , m_spMin(new QSpinBox(this))
    , m_spMax(new QSpinBox(this))
    , m_btnColor(new QPushButton(tr("&Color of a line in the graph"), this))
    , m_chkGrid(new QCheckBox(tr("Show &grid"), this))
    , m_rbServer(new QRadioButton(tr("Show local time of &Server"), this))
    , m_rbConsole(new QRadioButton(tr("Show local time of &Administration Console"), this))
    , m_color(settings.lineColor)
{
    setObjectName(QStringLiteral("TimeGraphDlg"));
    setWindowTitle(tr("Chart Settings"));
    m_spMin->setObjectName(QStringLiteral("m_spMin"));
    m_spMax->setObjectName(QStringLiteral("m_spMax"));
    for (QSpinBox *spin : {m_spMin, m_spMax})
        spin->setRange(0, std::numeric_limits<int>::max());
    m_spMin->setValue(int(std::clamp<qint64>(settings.yMin, 0, std::numeric_limits<int>::max())));
    m_spMax->setValue(int(std::clamp<qint64>(settings.yMax, 0, std::numeric_limits<int>::max())));
    m_chkGrid->setChecked(settings.grid);
    (settings.serverTime ? m_rbServer : m_rbConsole)->setChecked(true);

    auto *axis = new QGroupBox(tr("Y Axis"), this);
    auto *form = new QFormLayout(axis);
    auto *lblMin = new QLabel(tr("M&inimal Y-value:"), axis);
    lblMin->setBuddy(m_spMin);
    auto *lblMax = new QLabel(tr("Ma&ximal Y-value:"), axis);
    lblMax->setBuddy(m_spMax);
    form->addRow(lblMin, m_spMin);
    form->addRow(lblMax, m_spMax);
    form->addRow(new QLabel(tr("Values 0, 0 mean that the program computes the best values "
                               "itself."),
                            axis));
    auto *design = new QGroupBox(tr("Design"), this);
    auto *designLayout = new QVBoxLayout(design);
    designLayout->addWidget(m_btnColor);
    designLayout->addWidget(m_chkGrid);
    auto *time = new QGroupBox(tr("Time"), this);
    auto *timeLayout = new QVBoxLayout(time);
    timeLayout->addWidget(m_rbServer);
    timeLayout->addWidget(m_rbConsole);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(axis);
    layout->addWidget(design);
    layout->addWidget(time);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TimeGraphDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnColor, &QPushButton::clicked, this, &TimeGraphDlg::showColor);
}

void TimeGraphDlg::showColor()
{
    const QColor color = QColorDialog::getColor(m_color, this, tr("Color of a line in the graph"));
    if (color.isValid())
        m_color = color;
}

timegraph::Settings TimeGraphDlg::settings() const
{
    timegraph::Settings settings;
    settings.yMin = m_spMin->value();
    settings.yMax = m_spMax->value();
    settings.lineColor = m_color;
    settings.grid = m_chkGrid->isChecked();
    settings.serverTime = m_rbServer->isChecked();
    return settings;
}

void TimeGraphDlg::accept()
{
    const int min = m_spMin->value();
    const int max = m_spMax->value();
    if (!(min == 0 && max == 0) && max <= min) {
        bmessagebox::warning(this, tr("Maximal value must be greater than minimal value!"));
        m_spMax->setFocus();
        return;
    }
    QDialog::accept();
}

// --- the page --------------------------------------------------------------------

TimeGraphWnd::TimeGraphWnd(QWidget *parent)
    : BForm(parent)
    , m_list(bobject::connection(), QStringLiteral("ChartList()"))
    , m_info(bobject::connection(), QStringLiteral("Info"))
    , m_data(bobject::connection(), QString())
    , m_trans(bobject::connection())
    , m_browser(new TimeGraphBrowser(this))
    , m_btnRefresh(new QPushButton(tr("&Refresh"), this))
    , m_btnSave(new QPushButton(tr("&Save..."), this))
    , m_btnSettings(new QPushButton(tr("Se&ttings..."), this))
{
    setObjectName(QStringLiteral("TimeGraphWnd"));
    m_trans.addTable(&m_list);
    m_trans.addTable(&m_info);
    m_browser->setAccessibleName(tr("Traffic Charts"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_btnRefresh, m_btnSave, m_btnSettings})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_btnRefresh->setObjectName(QStringLiteral("m_btnRefresh"));
    m_btnSave->setObjectName(QStringLiteral("m_btnSave"));
    m_btnSettings->setObjectName(QStringLiteral("m_btnSettings"));
    connect(m_btnRefresh, &QPushButton::clicked, this, &TimeGraphWnd::slotRefresh);
    connect(m_btnSave, &QPushButton::clicked, this, &TimeGraphWnd::slotSave);
    connect(m_btnSettings, &QPushButton::clicked, this, &TimeGraphWnd::slotSettings);

    m_viewMenu->setTitle(tr("&Charts"));
    const struct
    {
        QString text;
        void (TimeGraphWnd::*slot)();
    } entries[] = {{tr("&Refresh"), &TimeGraphWnd::slotRefresh},
                   {tr("&Save..."), &TimeGraphWnd::slotSave},
                   {tr("Settings..."), &TimeGraphWnd::slotSettings},
                   {tr("&Export..."), &TimeGraphWnd::slotExport}};
    for (const auto &entry : entries) {
        auto *action = new QAction(entry.text, this);
        connect(action, &QAction::triggered, this, entry.slot);
        m_viewMenu->addAction(action);
    }
}

void TimeGraphWnd::load(bool first)
{
    loadTables(&m_trans, first);
}

void TimeGraphWnd::slotRefresh()
{
    if (isLoadingCharts())
        return; // the samples of this load are still arriving
    loadTables(&m_trans, false);
}

timegraph::Settings TimeGraphWnd::storedSettings(const timegraph::Chart &chart)
{
    const QString base = chart.settingsKey() + QLatin1Char('/');
    auto key = [&base](const char *name) { return base + QLatin1String(name); };
    timegraph::Settings settings;
    settings.yMin = UtKontainer::getInt(key("ymin"), 0, key("ymin"));
    settings.yMax = UtKontainer::getInt(key("ymax"), 0, key("ymax"));
    const QColor color(UtKontainer::getText(key("linecolor"), QString(), key("linecolor")));
    if (color.isValid())
        settings.lineColor = color;
    settings.grid = UtKontainer::getBool(key("grid"), true, key("grid"));
    settings.serverTime
            = UtKontainer::getBool(key("localtimeserver"), false, key("localtimeserver"));
    if (settings.yMin < 0 || settings.yMax < 0)
        settings.yMin = settings.yMax = 0;
    return settings;
}

void TimeGraphWnd::storeSettings(const timegraph::Chart &chart, const timegraph::Settings &settings)
{
    const QString base = chart.settingsKey() + QLatin1Char('/');
    auto key = [&base](const char *name) { return base + QLatin1String(name); };
    UtKontainer::setInt(key("ymin"), int(settings.yMin), key("ymin"));
    UtKontainer::setInt(key("ymax"), int(settings.yMax), key("ymax"));
    UtKontainer::setText(key("linecolor"), settings.lineColor.name(), key("linecolor"));
    UtKontainer::setBool(key("grid"), settings.grid, key("grid"));
    UtKontainer::setBool(key("localtimeserver"), settings.serverTime, key("localtimeserver"));
}

bool TimeGraphWnd::fillView()
{
    qint64 now = 0;
    int offset = 0;
    if (DBRow *info = m_info.rows().value(0)) {
        now = info->text(QStringLiteral("CurrentTime")).toLongLong();
        offset = timegraph::parseTimeZone(info->text(QStringLiteral("TimeZone")));
    }
    int current = -1;
    if (m_current)
        current = int(m_browser->charts().indexOf(m_current));
    m_current = nullptr;
    m_browser->clear();
    for (DBRow *row : m_list.rows()) {
        timegraph::Chart chart;
        chart.chartClass = row->text(QStringLiteral("Class"));
        chart.name = row->text(QStringLiteral("Name"));
        chart.scale = row->text(QStringLiteral("Scale")).toLongLong();
        chart.scaleTime = row->text(QStringLiteral("ScaleTime")).toLongLong();
        chart.sampleTime = row->text(QStringLiteral("SampleTime")).toLongLong();
        chart.suggestedMax = row->text(QStringLiteral("YMax")).toLongLong();
        chart.serverNow = now;
        chart.serverOffset = offset;
        chart.settings = storedSettings(chart);
        auto *widget = new GWndTimeGraphInner(chart);
        connect(widget, &GWndTimeGraphInner::signalActivated, this, &TimeGraphWnd::setCurrentChart);
        m_browser->addChart(widget);
    }
    const QList<GWndTimeGraphInner *> charts = m_browser->charts();
    m_current = charts.value(current >= 0 ? current : 0);
    m_next = charts.isEmpty() ? -1 : 0;
    m_btnRefresh->setEnabled(m_next < 0);
    if (m_next >= 0)
        loadNextChart();
    return true;
}

void TimeGraphWnd::loadNextChart()
{
    const GWndTimeGraphInner *widget = m_browser->charts().value(m_next);
    if (!widget) {
        m_next = -1;
        m_btnRefresh->setEnabled(true);
        if (m_readyPending) {
            m_readyPending = false;
            emit viewSlot()->signalPageReady();
        }
        return;
    }
    const timegraph::Chart &chart = widget->chart();
    m_data.setTableName(
            dbFunctionCall(QStringLiteral("ChartData"),
                           {chart.chartClass, chart.name, QString::number(chart.scale)}));
    m_data.select(this, SLOT(slotChartLoaded()), this, SLOT(slotChartError(QString)));
}

void TimeGraphWnd::slotChartLoaded()
{
    GWndTimeGraphInner *widget = m_browser->charts().value(m_next);
    if (widget) {
        const QString column = widget->chart().valueColumn();
        QList<timegraph::Sample> samples;
        samples.reserve(m_data.rowCount());
        for (DBRow *row : m_data.rows())
            samples.append({row->text(QStringLiteral("Time")).toLongLong(),
                            row->text(column).toLongLong()});
        widget->setSamples(samples);
    }
    m_data.clearRows();
    ++m_next;
    loadNextChart();
}

void TimeGraphWnd::slotChartError(const QString &message)
{
    Q_UNUSED(message); // a chart whose samples fail is skipped
    m_data.clearRows();
    if (GWndTimeGraphInner *widget = m_browser->charts().value(m_next))
        widget->hide();
    ++m_next;
    loadNextChart();
}

void TimeGraphWnd::pageReady()
{
    if (isLoadingCharts())
        m_readyPending = true;
    else
        emit viewSlot()->signalPageReady();
}

GWndTimeGraphInner *TimeGraphWnd::currentChart() const
{
    return m_current;
}

void TimeGraphWnd::setCurrentChart(GWndTimeGraphInner *chart)
{
    m_current = chart;
}

void TimeGraphWnd::slotSave()
{
    if (!m_current)
        return;
    const QString path = askPngPath(this, tr("Save As..."));
    if (!path.isEmpty())
        m_current->saveImage(path);
}

void TimeGraphWnd::applySettings(const timegraph::Settings &settings)
{
    if (!m_current)
        return;
    storeSettings(m_current->chart(), settings);
    // Every span of the same series shares the settings.
    for (GWndTimeGraphInner *chart : m_browser->charts()) {
        if (chart->chart().settingsKey() == m_current->chart().settingsKey())
            chart->setSettings(settings);
    }
}

void TimeGraphWnd::slotSettings()
{
    if (!m_current)
        return;
    TimeGraphDlg dlg(m_current->chart().settings, this);
    if (dlg.exec() == QDialog::Accepted)
        applySettings(dlg.settings());
}

void TimeGraphWnd::slotExport()
{
    QString path = QFileDialog::getSaveFileName(this, tr("Save As..."), QString(),
                                                tr("Web pages (*.htm)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
        path += QStringLiteral(".htm");
    exportTo(path);
}

bool TimeGraphWnd::exportTo(const QString &path, QString *error)
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
    if (!folder.exists() && !QDir().mkpath(folder.absolutePath()))
        return fail(tr("Cannot create the folder '%1'").arg(folder.absolutePath()));
    QString body;
    int number = 0;
    for (GWndTimeGraphInner *chart : m_browser->charts()) {
        if (!chart->isLoaded())
            continue; // a chart whose samples failed is not shown either
        const QString name = QStringLiteral("chart%1.png").arg(++number);
        const QSize size = chart->size().isEmpty() ? chart->sizeHint() : chart->size();
        const QString target = folder.filePath(name);
        if (!timegraph::render(chart->chart(), size, 1.0).save(target, "PNG"))
            return fail(tr("Cannot write the file '%1'").arg(target));
        // Quoted and percent-encoded, so a page named with spaces finds its images.
        const QString source = QString::fromLatin1(
                QUrl::toPercentEncoding(folderName + QLatin1Char('/') + name, "/"));
        body += QStringLiteral("<p>%1<br>\n<img border=0 width=%2 height=%3 src=\"%4\"></p>\n")
                        .arg(UtHtml::escape(chart->chart().title()))
                        .arg(size.width())
                        .arg(size.height())
                        .arg(source);
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return fail(tr("Cannot open file '%1' for writing").arg(path));
    out.write((UtHtml::documentHead(tr("Postvane Statistics")) + QStringLiteral("<body>\n") + body
               + QStringLiteral("</body>\n</html>\n"))
                      .toUtf8());
    if (!out.commit())
        return fail(tr("Cannot open file '%1' for writing").arg(path));
    return true;
}

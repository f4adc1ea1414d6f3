#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "status/timegraph.h"

#include <QDialog>
#include <QScrollArea>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

// Draws one traffic chart; its context menu redraws it or copies it to a
// PNG file.
class GWndTimeGraphInner : public QWidget
{
    Q_OBJECT
public:
    explicit GWndTimeGraphInner(const timegraph::Chart &chart, QWidget *parent = nullptr);

    const timegraph::Chart &chart() const { return m_chart; }
    void setSamples(const QList<timegraph::Sample> &samples);
    void setSettings(const timegraph::Settings &settings);
    bool isLoaded() const { return m_loaded; }
    // Writes the chart as it is shown to a PNG file; false with the message shown.
    bool saveImage(const QString &path);
    QSize sizeHint() const override { return QSize(640, 260); }

public slots:
    void slotRedraw();
    void slotCopyToFile();

signals:
    void signalActivated(GWndTimeGraphInner *chart);

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    timegraph::Chart m_chart;
    bool m_loaded = false;
};

// The charts of the page, one below the other.
class TimeGraphBrowser : public QScrollArea
{
    Q_OBJECT
public:
    explicit TimeGraphBrowser(QWidget *parent = nullptr);
    void clear();
    void addChart(GWndTimeGraphInner *chart);
    QList<GWndTimeGraphInner *> charts() const { return m_charts; }

private:
    QWidget *m_content;
    QVBoxLayout *m_layout;
    QList<GWndTimeGraphInner *> m_charts;
};

// "Chart Settings": value range, line colour, grid and time zone of a chart.
class TimeGraphDlg : public QDialog
{
    Q_OBJECT
public:
    TimeGraphDlg(const timegraph::Settings &settings, QWidget *parent = nullptr);
    timegraph::Settings settings() const;
    void accept() override;

    QSpinBox *minEdit() const { return m_spMin; }
    QSpinBox *maxEdit() const { return m_spMax; }
    QCheckBox *gridCheck() const { return m_chkGrid; }
    QRadioButton *serverTimeButton() const { return m_rbServer; }

private:
    void showColor();

    QSpinBox *m_spMin;
    QSpinBox *m_spMax;
    QPushButton *m_btnColor;
    QCheckBox *m_chkGrid;
    QRadioButton *m_rbServer;
    QRadioButton *m_rbConsole;
    QColor m_color;
};

// The traffic charts page: every chart the server offers, each over its own
// time span.
class TimeGraphWnd : public BForm
{
    Q_OBJECT
public:
    explicit TimeGraphWnd(QWidget *parent = nullptr);

    void load(bool first) override;
    bool save() override { return true; }
    void discard() override { }
    void registerChanges() override { }
    bool fillView() override;
    bool hasApplyReset() const override { return false; }
    QString name() const override { return QStringLiteral("TimeGraphWnd"); }
    // The page counts as shown once the samples of its charts are in.
    void pageReady() override;

    TimeGraphBrowser *browser() const { return m_browser; }
    GWndTimeGraphInner *currentChart() const;
    void setCurrentChart(GWndTimeGraphInner *chart);
    // True while chart samples are still on their way.
    bool isLoadingCharts() const { return m_next >= 0; }
    QPushButton *refreshButton() const { return m_btnRefresh; }

    // Stored per chart class and name.
    static timegraph::Settings storedSettings(const timegraph::Chart &chart);
    static void storeSettings(const timegraph::Chart &chart, const timegraph::Settings &settings);
    // Writes the shown charts as an HTML page with PNG images in a folder
    // beside it; false with the message shown when it failed.
    bool exportTo(const QString &path, QString *error = nullptr);
    // Applies new settings to the current chart and stores them.
    void applySettings(const timegraph::Settings &settings);

public slots:
    void slotRefresh();
    void slotSave();
    void slotSettings();
    void slotExport();

private slots:
    void slotChartLoaded();
    void slotChartError(const QString &message);

private:
    void loadNextChart();

    DBTable m_list;
    DBTable m_info;
    DBTable m_data;
    DBTransTab m_trans;
    TimeGraphBrowser *m_browser;
    QPushButton *m_btnRefresh;
    QPushButton *m_btnSave;
    QPushButton *m_btnSettings;
    GWndTimeGraphInner *m_current = nullptr;
    int m_next = -1; // the chart whose samples are loading, -1 when none
    bool m_readyPending = false;
};

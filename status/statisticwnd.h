#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "status/statsections.h"

#include <QHash>
#include <QTextBrowser>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The rich-text view of the statistics: a click on a section's heading
// selects the section; reloading keeps the scroll position.
class StatisticTextBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit StatisticTextBrowser(QWidget *parent = nullptr);
    // Replaces the document, keeping the scroll position.
    void setDocumentHtml(const QString &html);

signals:
    void signalSectionClicked(int id);
};

// The statistics page: the server's counters in titled sections with pie
// charts, basic and advanced mode, Reset and export as HTML.
class StatisticWnd : public BForm
{
    Q_OBJECT
public:
    enum Mode { Basic = 0, Advanced = 1 };

    explicit StatisticWnd(QWidget *parent = nullptr);

    void load(bool first) override;
    bool save() override { return true; }
    void discard() override { }
    void registerChanges() override { }
    bool fillView() override;
    bool hasApplyReset() const override { return false; }
    QString name() const override { return QStringLiteral("StatisticWnd"); }

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // The sections shown now, in order.
    QList<int> visibleSections() const;
    bool isSectionShown(int id) const { return m_shown.contains(id); }
    void setSectionShown(int id, bool shown);
    int selectedSection() const { return m_selected; }
    void selectSection(int id);
    void moveSelected(int step);
    const statsections::Values &values() const { return m_values; }

    StatisticTextBrowser *browser() const { return m_browser; }
    QLabel *sinceLabel() const { return m_lblSince; }
    QPushButton *resetButton() const { return m_btnReset; }
    QPushButton *exportButton() const { return m_btnExport; }
    QPushButton *refreshButton() const { return m_btnRefresh; }
    QAction *sectionAction(int id) const { return m_sectionActions.value(id); }
    QAction *modeAction() const;

    // Writes the visible sections to an HTML file with the charts as PNG
    // files beside it; false with the message shown when it failed.
    bool exportTo(const QString &path, QString *error = nullptr);
    // The document as the page shows it.
    QString pageHtml() const;

public slots:
    void slotRefresh();
    void slotReset();
    void slotExport();
    void slotSwitchMode();

private:
    void readSettings();
    void storeSettings() const;
    void readValues();
    void updateActions();
    QList<int> &order();
    // The chart and legend images of the document, at the screen's ratio.
    void addImages();

    DBTable m_stats;
    DBTable m_info;
    DBTable m_spam;
    DBTransTab m_trans;
    statsections::Values m_values;
    Mode m_mode = Basic;
    QList<int> m_orderBasic;
    QList<int> m_orderAdvanced;
    QList<int> m_shown;
    int m_selected = -1;

    QLabel *m_lblSince;
    StatisticTextBrowser *m_browser;
    QPushButton *m_btnRefresh;
    QPushButton *m_btnReset;
    QPushButton *m_btnExport;
    QAction *m_actAdvanced;
    QAction *m_actBasic;
    QAction *m_resetAction;
    QList<QAction *> m_advancedOnly;
    QHash<int, QAction *> m_sectionActions;
};

// The shell's own widgets as a screen reader and an eye meet them: accessible
// names of the tree, page, header, Apply/Reset buttons and status cells, and
// a page header without seams or cut-off pictures at several widths.
#include "app/fimages.h"
#include "app/fmaintree.h"
#include "app/fwidgetbottom.h"
#include "app/fwidgetstatus.h"
#include "app/fwidgettop.h"
#include "app/mailwindow.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The largest difference of one colour channel between two pixels.
int channelDistance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qAbs(qBlue(a) - qBlue(b)));
}

} // namespace

class TestShellWidgets : public QObject
{
    Q_OBJECT

private slots:
    void shellWidgetsHaveDistinctAccessibleNames();
    void headerReadsAsOnePiece_data();
    void headerReadsAsOnePiece();
    void narrowHeaderDropsTheBannerAndElides();
};

void TestShellWidgets::shellWidgetsHaveDistinctAccessibleNames()
{
    QTemporaryDir settings;
    UtKontainer::clear();
    UtKontainer::setStoreFile(settings.filePath(QStringLiteral("settings.ini")));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
    MailWindow window;
    window.initialize();
    QStatusBar bar;
    FWidgetStatus status(&bar);

    QList<QWidget *> widgets{window.tree(), window.pageStack(), window.header(),
                             window.bottomBar()->applyButton(), window.bottomBar()->resetButton()};
    // The four status cells, left to right.
    for (QWidget *child : bar.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->findChild<QLabel *>())
            widgets.append(child);
    }
    QCOMPARE(widgets.size(), 9);

    const QStringList expected{QStringLiteral("Navigation"),    QStringLiteral("Page"),
                               QStringLiteral("Page header"),   QStringLiteral("Apply changes"),
                               QStringLiteral("Reset changes"), QStringLiteral("Section"),
                               QStringLiteral("Server"),        QStringLiteral("User"),
                               QStringLiteral("Status")};
    QStringList names;
    for (QWidget *widget : widgets)
        names.append(accessibleName(widget));
    QStringList cells = names.mid(5);
    std::sort(cells.begin(), cells.end());
    QStringList expectedCells = expected.mid(5);
    std::sort(expectedCells.begin(), expectedCells.end());
    QCOMPARE(names.mid(0, 5), expected.mid(0, 5));
    QCOMPARE(cells, expectedCells);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());

    // The header tells which section is shown; the server picture its state.
    window.selectSection(1);
    QAccessibleInterface *header = QAccessible::queryAccessibleInterface(window.header());
    QCOMPARE(header->text(QAccessible::Description), QStringLiteral("Services"));
    status.setServer(QStringLiteral("host:1"), true);
    const QList<QLabel *> labels = bar.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel *label) {
        return accessibleName(label) == QStringLiteral("Connected");
    }));
    UtKontainer::clear();
}

void TestShellWidgets::headerReadsAsOnePiece_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("narrow window") << 620;
    QTest::newRow("wide window") << 1600;
}

void TestShellWidgets::headerReadsAsOnePiece()
{
    QFETCH(int, width);
    FWidgetTop header;
    header.setSection(FImages::pixmap(QStringLiteral("services_tree32.png")),
                      QStringLiteral("Services"));
    header.resize(width, FWidgetTop::kHeight);
    QVERIFY(header.showsBanner());
    const int bannerWidth = FImages::pixmap(QStringLiteral("f_topbrantel.png")).width();
    const int endWidth = FImages::pixmap(QStringLiteral("f_topempty.png")).width();
    QCOMPARE(header.bannerLeft(), width - bannerWidth - endWidth);
    const QImage image = header.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.width(), width);

    // Above the icon and the text, neighbouring pixels differ only by the
    // gentle gradient: no seam between strip, banner and end piece.
    for (int y : {0, 1, FWidgetTop::kHeight - 1}) {
        for (int x = 0; x + 1 < width; ++x) {
            const int step = channelDistance(image.pixel(x, y), image.pixel(x + 1, y));
            QVERIFY2(step <= 4,
                     qPrintable(QStringLiteral("seam of %1 at x=%2 y=%3").arg(step).arg(x).arg(y)));
        }
    }
    // Nothing of the banner's rings reaches the right edge: the last columns
    // look like the end piece everywhere.
    for (int y = 0; y < image.height(); ++y) {
        const QRgb endPiece = image.pixel(width - endWidth / 2, y);
        QVERIFY(channelDistance(image.pixel(width - 1, y), endPiece) <= 1);
        QVERIFY(channelDistance(image.pixel(header.bannerLeft() + bannerWidth, y), endPiece) <= 1);
    }
}

void TestShellWidgets::narrowHeaderDropsTheBannerAndElides()
{
    FWidgetTop header;
    const QString text = QStringLiteral("A section with a rather long name for a narrow page");
    header.setSection(QPixmap(), text);
    header.resize(260, FWidgetTop::kHeight);
    QVERIFY(!header.showsBanner());
    QCOMPARE(header.bannerLeft(), 260);
    QVERIFY(header.shownText() != text);
    QVERIFY(header.shownText().endsWith(QChar(0x2026)));
    QCOMPARE(header.sectionText(), text);
    header.resize(1600, FWidgetTop::kHeight);
    QCOMPARE(header.shownText(), text);
}

QTEST_MAIN(TestShellWidgets)
#include "test_shellwidgets.moc"

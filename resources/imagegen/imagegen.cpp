// Draws every picture the console uses into one folder, in one style: a rounded
// badge in a category colour with a white line glyph, designed on a 16-unit grid
// and rendered at 16 and 32 pixels. Run once after changing a glyph and commit
// the output together with this program:
//     postdesk-imagegen resources/images resources/icons
// The second folder receives the desktop's application icon as a hicolor theme
// tree ("hicolor/<N>x<N>/apps/<name>.png").
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QtMath>

#include <functional>

namespace {

using Glyph = std::function<void(QPainter &)>;

// Must match the Icon key of the desktop entry.
const QString kDesktopIconName = QStringLiteral("org.postdesk.Postdesk");

const QColor kBlue(0x2f, 0x6f, 0xb7);
const QColor kTeal(0x1f, 0x8a, 0x88);
const QColor kGreen(0x3c, 0x8d, 0x3f);
const QColor kOrange(0xd9, 0x7a, 0x1c);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kPurple(0x7b, 0x4f, 0xa8);
const QColor kGrey(0x6b, 0x73, 0x7c);
const QColor kSlate(0x34, 0x49, 0x5e);

QPen glyphPen(qreal width = 1.4)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void envelope(QPainter &p)
{
    p.setPen(glyphPen());
    p.drawRect(QRectF(3.5, 5, 9, 6.5));
    p.drawPolyline(QPolygonF({QPointF(3.5, 5), QPointF(8, 8.8), QPointF(12.5, 5)}));
}

void gear(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        p.drawLine(QPointF(8 + 3.2 * qCos(a), 8 + 3.2 * qSin(a)),
                   QPointF(8 + 5.0 * qCos(a), 8 + 5.0 * qSin(a)));
    }
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
    p.drawEllipse(QPointF(8, 8), 1.1, 1.1);
}

void globe(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    p.drawEllipse(QPointF(8, 8), 4.8, 4.8);
    p.drawEllipse(QPointF(8, 8), 2.0, 4.8);
    p.drawLine(QPointF(3.2, 8), QPointF(12.8, 8));
}

void server(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(4, 3.5, 8, 4));
    p.drawRect(QRectF(4, 8.5, 8, 4));
    p.drawPoint(QPointF(6, 5.5));
    p.drawPoint(QPointF(6, 10.5));
}

void funnel(QPainter &p)
{
    p.setPen(glyphPen());
    p.drawPolygon(QPolygonF({QPointF(3.5, 4), QPointF(12.5, 4), QPointF(9, 8.5), QPointF(9, 12.5),
                             QPointF(7, 11.5), QPointF(7, 8.5)}));
}

void shield(QPainter &p)
{
    p.setPen(glyphPen());
    QPainterPath path;
    path.moveTo(8, 3);
    path.lineTo(12.5, 4.8);
    path.cubicTo(12.5, 9, 10.5, 11.5, 8, 13);
    path.cubicTo(5.5, 11.5, 3.5, 9, 3.5, 4.8);
    path.closeSubpath();
    p.drawPath(path);
}

void paperclip(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    QPainterPath path;
    path.moveTo(10, 5.5);
    path.lineTo(10, 11);
    path.arcTo(QRectF(6, 9, 4, 4), 0, -180);
    path.lineTo(6, 4.5);
    path.arcTo(QRectF(6, 2.5, 3, 3), 180, -180);
    path.lineTo(9, 10.5);
    p.drawPath(path);
}

void nodes(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawLine(QPointF(8, 5), QPointF(4.5, 11));
    p.drawLine(QPointF(8, 5), QPointF(11.5, 11));
    p.drawLine(QPointF(4.5, 11), QPointF(11.5, 11));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 5), 1.5, 1.5);
    p.drawEllipse(QPointF(4.5, 11), 1.5, 1.5);
    p.drawEllipse(QPointF(11.5, 11), 1.5, 1.5);
}

void archive(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(3.5, 4, 9, 2.5));
    p.drawRect(QRectF(4.5, 6.5, 7, 6));
    p.drawLine(QPointF(6.8, 8.8), QPointF(9.2, 8.8));
}

void plug(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawLine(QPointF(6.5, 3), QPointF(6.5, 5.5));
    p.drawLine(QPointF(9.5, 3), QPointF(9.5, 5.5));
    p.drawRoundedRect(QRectF(4.5, 5.5, 7, 4), 1.5, 1.5);
    p.drawLine(QPointF(8, 9.5), QPointF(8, 13));
}

void clockFace(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawEllipse(QPointF(8, 8), 4.8, 4.8);
    p.drawPolyline(QPolygonF({QPointF(8, 5), QPointF(8, 8), QPointF(10.5, 9.5)}));
}

void download(QPainter &p)
{
    p.setPen(glyphPen());
    p.drawLine(QPointF(8, 3), QPointF(8, 10));
    p.drawPolyline(QPolygonF({QPointF(5, 7.5), QPointF(8, 10.5), QPointF(11, 7.5)}));
    p.drawLine(QPointF(4, 12.8), QPointF(12, 12.8));
}

void monitor(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(3.5, 4, 9, 6.5));
    p.drawLine(QPointF(8, 10.5), QPointF(8, 12.5));
    p.drawLine(QPointF(5.5, 12.8), QPointF(10.5, 12.8));
}

void lock(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(4.5, 7.5, 7, 5.5));
    p.drawArc(QRectF(5.8, 3.5, 4.4, 7), 0, 180 * 16);
}

void sliders(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    for (qreal y : {5.0, 8.0, 11.0})
        p.drawLine(QPointF(3.5, y), QPointF(12.5, y));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(6, 5), 1.2, 1.2);
    p.drawEllipse(QPointF(10, 8), 1.2, 1.2);
    p.drawEllipse(QPointF(7, 11), 1.2, 1.2);
}

void fax(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(3.5, 7, 9, 5.5));
    p.drawRect(QRectF(5.5, 3.5, 5, 3.5));
    p.drawLine(QPointF(6, 9.5), QPointF(10, 9.5));
}

void book(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(4.5, 3.5, 7, 9));
    p.drawLine(QPointF(6.5, 6), QPointF(9.5, 6));
    p.drawLine(QPointF(6.5, 8.5), QPointF(9.5, 8.5));
}

void addressGroup(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    for (qreal y : {4.5, 8.0, 11.5}) {
        p.drawRect(QRectF(3.5, y - 1, 2, 2));
        p.drawLine(QPointF(7, y), QPointF(12.5, y));
    }
}

void documentStack(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawRect(QRectF(5.5, 3, 6.5, 8));
    p.drawPolyline(QPolygonF({QPointF(4, 5), QPointF(4, 13), QPointF(10, 13)}));
}

void person(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawEllipse(QPointF(8, 5.8), 2.2, 2.2);
    p.drawArc(QRectF(4, 9, 8, 7), 0, 180 * 16);
}

void people(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    p.drawEllipse(QPointF(6, 6), 1.8, 1.8);
    p.drawArc(QRectF(3, 9, 6, 6), 0, 180 * 16);
    p.drawEllipse(QPointF(10.5, 6.5), 1.6, 1.6);
    p.drawArc(QRectF(8.5, 9.5, 5, 5), 0, 180 * 16);
}

void atSign(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
    p.drawArc(QRectF(3.5, 3.5, 9, 9), -30 * 16, 300 * 16);
    p.drawLine(QPointF(9.8, 8), QPointF(9.8, 9.5));
    p.drawArc(QRectF(9.8, 7.5, 2.5, 4), 180 * 16, 150 * 16);
}

void envelopes(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    p.drawRect(QRectF(5, 3.5, 8, 5.5));
    p.drawRect(QRectF(3, 7, 8, 5.5));
    p.drawPolyline(QPolygonF({QPointF(3, 7), QPointF(7, 10), QPointF(11, 7)}));
}

void pulse(QPainter &p)
{
    p.setPen(glyphPen());
    p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(5.5, 8.5), QPointF(7, 4.5), QPointF(9, 12),
                              QPointF(10.5, 8.5), QPointF(13, 8.5)}));
}

void queue(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    for (qreal y : {4.0, 7.0, 10.0})
        p.drawRect(QRectF(4, y, 8, 2.2));
}

void lineChart(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawPolyline(QPolygonF({QPointF(3.5, 3.5), QPointF(3.5, 12.5), QPointF(12.5, 12.5)}));
    p.drawPolyline(QPolygonF({QPointF(5, 10.5), QPointF(7.5, 7), QPointF(9.5, 9), QPointF(12, 5)}));
}

void barChart(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 8, 2, 4.5));
    p.drawRect(QRectF(7, 4, 2, 8.5));
    p.drawRect(QRectF(10.5, 6, 2, 6.5));
}

void arrows(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawLine(QPointF(3.5, 6), QPointF(12, 6));
    p.drawPolyline(QPolygonF({QPointF(10, 4), QPointF(12, 6), QPointF(10, 8)}));
    p.drawLine(QPointF(12.5, 10.5), QPointF(4, 10.5));
    p.drawPolyline(QPolygonF({QPointF(6, 8.5), QPointF(4, 10.5), QPointF(6, 12.5)}));
}

void folderShape(QPainter &p, bool open)
{
    p.setPen(glyphPen(1.2));
    p.drawPolyline(
            QPolygonF({QPointF(3.5, 12), QPointF(3.5, 4.5), QPointF(6.5, 4.5), QPointF(7.5, 5.8),
                       QPointF(12.5, 5.8), QPointF(12.5, open ? 7.5 : 12), QPointF(3.5, 12)}));
    if (open)
        p.drawPolyline(QPolygonF(
                {QPointF(3.5, 12), QPointF(5.5, 7.5), QPointF(13.5, 7.5), QPointF(11.5, 12)}));
}

void textLines(QPainter &p)
{
    p.setPen(glyphPen(1.2));
    p.drawLine(QPointF(4, 5), QPointF(12, 5));
    p.drawLine(QPointF(4, 8), QPointF(10.5, 8));
    p.drawLine(QPointF(4, 11), QPointF(11.5, 11));
}

void bug(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    p.drawEllipse(QPointF(8, 9), 2.6, 3.4);
    p.drawLine(QPointF(8, 5.6), QPointF(8, 12.4));
    for (qreal y : {7.5, 10.0}) {
        p.drawLine(QPointF(5.4, y), QPointF(3.5, y - 1));
        p.drawLine(QPointF(10.6, y), QPointF(12.5, y - 1));
    }
}

void cross(QPainter &p)
{
    p.setPen(glyphPen(1.8));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void exclamation(QPainter &p)
{
    p.setPen(glyphPen(1.8));
    p.drawLine(QPointF(8, 4), QPointF(8, 9));
    p.drawPoint(QPointF(8, 12));
}

void check(QPainter &p)
{
    p.setPen(glyphPen(1.8));
    p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
}

void question(QPainter &p)
{
    p.setPen(glyphPen(1.5));
    p.drawArc(QRectF(5.5, 3.5, 5, 5), 160 * 16, -250 * 16);
    p.drawLine(QPointF(8, 8.6), QPointF(8, 9.6));
    p.drawPoint(QPointF(8, 12));
}

void plus(QPainter &p)
{
    p.setPen(glyphPen(1.8));
    p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
    p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
}

void tree(QPainter &p)
{
    p.setPen(glyphPen(1.1));
    p.drawRect(QRectF(3.5, 3.5, 3, 2.5));
    p.drawRect(QRectF(8.5, 7, 4, 2.5));
    p.drawRect(QRectF(8.5, 11, 4, 2.5));
    p.drawPolyline(QPolygonF({QPointF(5, 6), QPointF(5, 12.2), QPointF(8.5, 12.2)}));
    p.drawLine(QPointF(5, 8.2), QPointF(8.5, 8.2));
}

// A badge: rounded square, vertical gradient of the category colour, glyph on top.
QImage badge(int size, const QColor &colour, const Glyph &glyph)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    QLinearGradient fill(0, 0, 0, 16);
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(140), 0.6));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3.2, 3.2);
    p.setBrush(Qt::NoBrush);
    glyph(p);
    return image;
}

class Writer
{
public:
    explicit Writer(const QString &folder)
        : m_dir(folder)
    { }

    bool save(const QString &name, const QImage &image)
    {
        const bool ok = image.save(m_dir.filePath(name), "PNG");
        if (!ok)
            QTextStream(stderr) << "cannot write " << m_dir.filePath(name) << "\n";
        m_ok = m_ok && ok;
        return ok;
    }

    // Tree icon "<base>.png" (16 px) and header picture "<base><suffix32>.png" (32 px).
    void treeIcon(const QString &base, const QColor &colour, const Glyph &glyph,
                  const QString &suffix32 = "32")
    {
        save(base + ".png", badge(16, colour, glyph));
        save(base + suffix32 + ".png", badge(32, colour, glyph));
    }

    // Folders also get the open variant used while they are expanded.
    void folderIcon(const QString &base, const QColor &colour)
    {
        treeIcon(base, colour, [](QPainter &p) { folderShape(p, false); });
        save(base + "_open.png", badge(16, colour, [](QPainter &p) { folderShape(p, true); }));
    }

    bool ok() const { return m_ok; }

private:
    QDir m_dir;
    bool m_ok = true;
};

QImage banner(int width, int height, int part)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, width * 3, 0);
    fill.setColorAt(0, kSlate);
    fill.setColorAt(1, kBlue);
    p.translate(-width * part, 0);
    p.fillRect(QRect(0, 0, width * 3, height), fill);
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(width * 2.4, height * 0.5), 20.0 + i * 22, 20.0 + i * 22);
    return image;
}

// The header's tint at its right end: the banner ends in it, the end piece is made of it.
QColor headerTint()
{
    QColor tint = kBlue;
    tint.setAlpha(170);
    return tint;
}

// The banner at the right end of the page header, drawn over the strip: the
// tint fades in from a transparent left edge, so no edge shows wherever it
// stands, and the rings lie wholly inside the picture.
QImage headerBanner(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int fadeEnd = width * 5 / 8;
    QLinearGradient fill(0, 0, fadeEnd, 0);
    QColor clear = headerTint();
    clear.setAlpha(0);
    fill.setColorAt(0, clear);
    fill.setColorAt(1, headerTint());
    p.fillRect(image.rect(), fill);
    const QPointF centre(width - height / 2.0 - 12, height / 2.0);
    p.setPen(QPen(QColor(255, 255, 255, 80), 1.5));
    for (int ring = 0; ring < 3; ++ring) {
        const qreal radius = height / 2.0 - 4 - ring * 5.5;
        p.drawEllipse(centre, radius, radius);
    }
    return image;
}

// The piece between the banner and the header's right edge, stretched to fit.
QImage headerEnd(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(headerTint());
    return image;
}

// The header's background strip, stretched across the page width.
QImage headerStrip(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, kSlate.lighter(115));
    fill.setColorAt(1, kSlate);
    p.fillRect(image.rect(), fill);
    return image;
}

QImage splash()
{
    QImage image(420, 240, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 240);
    fill.setColorAt(0, kBlue.lighter(110));
    fill.setColorAt(1, kSlate);
    p.fillRect(image.rect(), fill);
    p.setPen(QPen(QColor(255, 255, 255, 50), 3));
    for (int i = 0; i < 8; ++i)
        p.drawEllipse(QPointF(360, 200), 30.0 + i * 30, 30.0 + i * 30);
    p.drawImage(QRect(40, 70, 96, 96), badge(96, kBlue, envelope));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        QTextStream(stderr) << "usage: postdesk-imagegen IMAGES_FOLDER [DESKTOP_ICONS_FOLDER]\n";
        return 2;
    }
    if (!QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot create " << argv[1] << "\n";
        return 1;
    }
    Writer out(QString::fromLocal8Bit(argv[1]));

    // Application icons and splash.
    out.treeIcon("iconapp", kBlue, envelope);
    out.save("splashscreen.png", splash());

    // Navigation tree sections.
    out.folderIcon("configuration_tree", kSlate);
    out.treeIcon("services_tree", kBlue, server);
    out.treeIcon("domains_tree", kBlue, globe);
    out.treeIcon("smtpserver_tree", kBlue, envelope);
    out.folderIcon("contentfilter_tree", kOrange);
    out.treeIcon("spamfilter_tree", kOrange, funnel);
    out.treeIcon("antivirus_tree", kOrange, shield);
    out.treeIcon("attachmentfilter_tree", kOrange, paperclip);
    out.treeIcon("clustering_tree", kBlue, nodes);
    out.treeIcon("backup_tree", kBlue, archive);
    out.treeIcon("internetconnection_tree", kBlue, plug);
    out.treeIcon("scheduling_tree", kBlue, clockFace);
    out.treeIcon("pop3download_tree", kBlue, download);
    out.treeIcon("etrndownload_tree", kBlue, arrows);
    out.treeIcon("remoteadministration_tree", kBlue, monitor);
    out.treeIcon("sslcertificates_tree", kBlue, lock);
    out.treeIcon("advancedoptions_tree", kBlue, sliders);
    out.treeIcon("faxplugin_tree", kBlue, fax);
    out.folderIcon("definitions_tree", kPurple);
    out.treeIcon("timeranges_tree", kPurple, clockFace);
    out.treeIcon("addressgroups_tree", kPurple, addressGroup);
    out.treeIcon("usertemplates_tree", kPurple, documentStack);
    out.folderIcon("domainsettings_tree", kGreen);
    out.treeIcon("users_tree", kGreen, person);
    out.treeIcon("groups_tree", kGreen, people);
    out.treeIcon("aliases_tree", kGreen, atSign);
    out.treeIcon("mailinglists_tree", kGreen, envelopes);
    out.folderIcon("status_tree", kTeal);
    out.treeIcon("messagequeue_tree", kTeal, queue);
    out.treeIcon("trafficcharts_tree", kTeal, lineChart);
    out.treeIcon("statistics_tree", kTeal, barChart);
    out.treeIcon("activeconnections_tree", kTeal, pulse);
    out.treeIcon("openedfolders_tree", kTeal, book);
    out.treeIcon("faxplugincalls_tree", kTeal, fax);
    out.treeIcon("xsan_tree", kTeal, nodes);

    // Rows of the download lists.
    out.save("pop3accounts_list.png", badge(16, kBlue, download));
    out.save("pop3rules_list.png", badge(16, kBlue, funnel));
    out.save("directory.png", badge(16, kBlue, [](QPainter &p) { folderShape(p, false); }));
    out.save("updirectory.png", badge(16, kSlate, [](QPainter &p) { folderShape(p, true); }));
    out.save("permit.png", badge(16, kGreen, check));
    out.save("deny.png", badge(16, kRed, cross));

    // Rows of the services list and the restart dialog.
    out.save("servicerun_list.png", badge(16, kGreen, check));
    out.save("servicestop_list.png", badge(16, kRed, cross));
    out.save("circlestatus.png", badge(32, kOrange, arrows));

    // Logs folder and log files.
    out.folderIcon("logs", kGrey);
    out.save("logs_32.png", badge(32, kGrey, [](QPainter &p) { folderShape(p, false); }));
    out.treeIcon("logdebug", kGrey, bug, "_32");
    out.treeIcon("logerror", kRed, exclamation, "_32");
    out.treeIcon("logsecurity", kGrey, lock, "_32");
    out.treeIcon("logwarning", kOrange, exclamation, "_32");
    out.treeIcon("logmail", kGrey, envelope, "_32");
    out.treeIcon("logconfig", kGrey, gear, "_32");
    out.treeIcon("logspam", kGrey, funnel, "_32");

    // Status bar cells and animations.
    out.save("f_statustree.png", badge(16, kSlate, tree));
    out.save("f_statususer.png", badge(16, kGreen, person));
    out.save("f_statususerreadonly.png", badge(16, kGrey, person));
    out.save("f_statusconnected.png", badge(16, kGreen, check));
    out.save("f_statusnotconnected.png", badge(16, kRed, cross));
    out.save("f_statusloaded.png", badge(16, kGreen, textLines));
    out.save("f_statusnotloaded.png", badge(16, kGrey, textLines));
    for (int frame = 0; frame < 6; ++frame) {
        out.save(QString("f_statusloading%1.png").arg(frame + 1),
                 badge(16, kBlue, [frame](QPainter &p) {
                     for (int i = 0; i < 6; ++i) {
                         const qreal a = (i - frame) * M_PI / 3;
                         p.setPen(Qt::NoPen);
                         p.setBrush(QColor(255, 255, 255, i == 0 ? 255 : 90));
                         p.drawEllipse(QPointF(8 + 4 * qCos(a), 8 + 4 * qSin(a)), 1.3, 1.3);
                     }
                 }));
    }
    for (int frame = 0; frame < 4; ++frame) {
        out.save(QString("f_statusconnecting%1.png").arg(frame + 1),
                 badge(16, kOrange, [frame](QPainter &p) {
                     p.setPen(glyphPen(1.2));
                     p.drawLine(QPointF(3, 8), QPointF(13, 8));
                     p.setPen(Qt::NoPen);
                     p.setBrush(Qt::white);
                     p.drawEllipse(QPointF(4 + frame * 2.7, 8), 1.7, 1.7);
                 }));
    }

    // Page header.
    out.save("f_topbrantel.png", headerBanner(160, 40));
    out.save("f_topline.png", headerStrip(8, 40));
    out.save("f_topempty.png", headerEnd(40, 40));

    // Connection dialog.
    out.save("f_dlgconnecttop1.png", banner(140, 60, 0));
    out.save("f_dlgconnecttop2.png", banner(140, 60, 1));
    out.save("f_dlgconnecttop3.png", banner(140, 60, 2));
    out.save("f_dlgconnecterror.png", badge(32, kRed, exclamation));

    // Menus.
    out.save("f_menunewconnection.png", badge(16, kBlue, plus));
    out.save("f_menuhelp.png", badge(16, kBlue, question));

    bool iconsOk = true;
    if (argc == 3) {
        const QDir icons(QString::fromLocal8Bit(argv[2]));
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QString("hicolor/%1x%1/apps").arg(size);
            Writer iconOut(icons.filePath(folder));
            iconsOk = QDir().mkpath(icons.filePath(folder))
                    && iconOut.save(kDesktopIconName + ".png", badge(size, kBlue, envelope))
                    && iconsOk;
        }
    }
    return out.ok() && iconsOk ? 0 : 1;
}

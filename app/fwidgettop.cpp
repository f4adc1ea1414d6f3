#include "app/fwidgettop.h"

#include "app/fimages.h"

#include <QPainter>

namespace {

constexpr int kMargin = 4;
constexpr int kIconSize = 32;
constexpr int kGap = 8;
// The banner gives way to the text below this much room for it.
constexpr int kMinimumTextWidth = 160;

// Width of a picture in device-independent pixels.
int logicalWidth(const QPixmap &pixmap)
{
    return qRound(pixmap.deviceIndependentSize().width());
}

} // namespace

FWidgetTop::FWidgetTop(QWidget *parent)
    : QWidget(parent)
    , m_strip(FImages::pixmap(QStringLiteral("f_topline.png")))
    , m_banner(FImages::pixmap(QStringLiteral("f_topbrantel.png")))
    , m_end(FImages::pixmap(QStringLiteral("f_topempty.png")))
    , m_textFont(font())
{
    setObjectName(QStringLiteral("FWidgetTop"));
    setAccessibleName(tr("Page header"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_textFont.setBold(true);
    m_textFont.setPointSizeF(m_textFont.pointSizeF() * 1.3);
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void FWidgetTop::setSection(const QPixmap &pixmap, const QString &text)
{
    m_icon = pixmap;
    m_text = text;
    setAccessibleDescription(text);
    update();
}

QSize FWidgetTop::sizeHint() const
{
    return {kMargin + kIconSize + kGap + kMinimumTextWidth + logicalWidth(m_banner)
                    + logicalWidth(m_end),
            kHeight};
}

QSize FWidgetTop::minimumSizeHint() const
{
    return {kMargin + kIconSize + kGap, kHeight};
}

bool FWidgetTop::showsBanner() const
{
    const int bannerWidth = logicalWidth(m_banner) + logicalWidth(m_end);
    return !m_banner.isNull()
            && width() >= kMargin + kIconSize + kGap + kMinimumTextWidth + bannerWidth;
}

int FWidgetTop::bannerLeft() const
{
    return showsBanner() ? width() - logicalWidth(m_end) - logicalWidth(m_banner) : width();
}

QRect FWidgetTop::iconRect() const
{
    return {kMargin, (height() - kIconSize) / 2, kIconSize, kIconSize};
}

QRect FWidgetTop::textRect() const
{
    const int left = iconRect().right() + 1 + kGap;
    return {left, 0, qMax(0, bannerLeft() - kGap - left), height()};
}

QString FWidgetTop::shownText() const
{
    return QFontMetrics(m_textFont).elidedText(m_text, Qt::ElideRight, textRect().width());
}

void FWidgetTop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The strip is a vertical gradient: stretched sideways it stays seamless.
    if (m_strip.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Dark));
    else
        painter.drawPixmap(rect(), m_strip);

    if (showsBanner()) {
        // The banner fades in over the strip; the end piece carries its last
        // colour to the edge, so the two join without a line.
        const int left = bannerLeft();
        const int bannerWidth = logicalWidth(m_banner);
        painter.drawPixmap(QRect(left, 0, bannerWidth, height()), m_banner);
        painter.drawPixmap(QRect(left + bannerWidth, 0, width() - left - bannerWidth, height()),
                           m_end);
    }

    if (!m_icon.isNull())
        painter.drawPixmap(iconRect(), m_icon);
    painter.setFont(m_textFont);
    painter.setPen(Qt::white);
    painter.drawText(textRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

#pragma once

#include <QPixmap>
#include <QWidget>

// The header above a page: the section's picture and text on the header strip,
// with the product banner at the right end. Painted in one piece so that it
// reads the same at every width: the strip stretches, the banner and its end
// piece stay together at the right edge (left out when the header is too
// narrow for them and the text), and the text is elided before it could run
// into the banner.
class FWidgetTop : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 40;

    explicit FWidgetTop(QWidget *parent = nullptr);

    void setSection(const QPixmap &pixmap, const QString &text);
    QString sectionText() const { return m_text; }
    QPixmap sectionPixmap() const { return m_icon; }

    // Whether the banner fits beside the section text at the current width.
    bool showsBanner() const;
    // Where the banner begins (its left edge), or the width when it is left out.
    int bannerLeft() const;
    // The section text as painted at the current width (elided when needed).
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect iconRect() const;
    QRect textRect() const;

    QPixmap m_strip;
    QPixmap m_banner;
    QPixmap m_end;
    QPixmap m_icon;
    QString m_text;
    QFont m_textFont;
};

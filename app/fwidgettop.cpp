#include "app/fwidgettop.h"

#include "app/fimages.h"

#include <QHBoxLayout>
#include <QLabel>

FWidgetTop::FWidgetTop(QWidget *parent)
    : QWidget(parent)
    , m_application(new QLabel(this))
    , m_icon(new QLabel(this))
    , m_text(new QLabel(this))
    , m_trailing(new QLabel(this))
{
    setObjectName(QStringLiteral("FWidgetTop"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setBrush(QPalette::Window, QBrush(FImages::pixmap(QStringLiteral("f_topline.png"))));
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    m_application->setPixmap(FImages::pixmap(QStringLiteral("f_topbrantel.png")));
    m_trailing->setPixmap(FImages::pixmap(QStringLiteral("f_topempty.png")));
    m_icon->setFixedSize(32, 32);
    QFont font = m_text->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    m_text->setFont(font);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_application);
    layout->addWidget(m_trailing);
    setFixedHeight(40);
}

void FWidgetTop::setSection(const QPixmap &pixmap, const QString &text)
{
    m_icon->setPixmap(pixmap);
    m_text->setText(text);
}

QString FWidgetTop::sectionText() const
{
    return m_text->text();
}

QPixmap FWidgetTop::sectionPixmap() const
{
    return m_icon->pixmap();
}

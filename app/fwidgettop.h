#pragma once

#include <QWidget>

class QLabel;

// The header above a page: the product banner, the section's picture and text.
class FWidgetTop : public QWidget
{
    Q_OBJECT

public:
    explicit FWidgetTop(QWidget *parent = nullptr);

    void setSection(const QPixmap &pixmap, const QString &text);
    QString sectionText() const;
    QPixmap sectionPixmap() const;

private:
    QLabel *m_application;
    QLabel *m_icon;
    QLabel *m_text;
    QLabel *m_trailing;
};

#include "forms/uthtml.h"

#include <algorithm>

namespace UtHtml {

QString colorText(int red, int green, int blue)
{
    const auto part = [](int value) {
        return QStringLiteral("%1").arg(std::clamp(value, 0, 255), 2, 16, QLatin1Char('0'));
    };
    return QLatin1Char('#') + part(red) + part(green) + part(blue);
}

QString escape(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '\'':
            escaped += QLatin1String("&#39;");
            break;
        default:
            escaped += c;
            break;
        }
    }
    return escaped;
}

QString documentHead(const QString &title)
{
    return QStringLiteral(
                   "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                   "\"http://www.w3.org/TR/html4/strict.dtd\">\n"
                   "<html>\n<head>\n"
                   "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                   "<title>%1</title>\n"
                   "</head>\n")
            .arg(escape(title));
}

} // namespace UtHtml

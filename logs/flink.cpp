#include "logs/flink.h"

namespace fwndlog {

FLink::FLink()
{
    m_types.append({QRegularExpression(QStringLiteral("((http|https)://[^ ]*)")), 0});
}

QList<fdata::Link> FLink::find(qint64 line, const QString &text) const
{
    QList<fdata::Link> links;
    for (const UrlType &kind : m_types) {
        auto matches = kind.pattern.globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            const QString captured = match.captured(1);
            int length = int(match.capturedLength(0));
            // A link quoted in the line stops before the closing quote, unless
            // the quote itself is escaped.
            if (kind.type == 0 && captured.endsWith(QLatin1Char('"'))
                && !captured.endsWith(QLatin1String("\\\"")))
                --length;
            if (length <= 0)
                continue;
            links.append({this, line, int(match.capturedStart(1)), length, kind.type});
        }
    }
    return links;
}

} // namespace fwndlog

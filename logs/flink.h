#pragma once

#include "logs/fdata.h"

#include <QList>
#include <QRegularExpression>

namespace fwndlog {

// Finds web links in log lines. Each kind of link is a pattern and a type;
// the view underlines what is found and opens it in the browser on click.
class FLink
{
public:
    struct UrlType
    {
        QRegularExpression pattern;
        int type = 0;
    };

    FLink();

    const QList<UrlType> &types() const { return m_types; }
    // The links of one line's text, in order.
    QList<fdata::Link> find(qint64 line, const QString &text) const;

private:
    QList<UrlType> m_types;
};

} // namespace fwndlog

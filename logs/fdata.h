#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

#include <optional>

namespace fwndlog {

class FLink;

namespace fdata {
// One web link found in a line: columns in characters of the decoded text.
struct Link
{
    const FLink *owner = nullptr;
    qint64 line = -1;
    int start = 0;
    int length = 0;
    int type = 0;
};
} // namespace fdata

// One buffered line with the caches drawn from it. A cache is valid while its
// generation is not older than the view's current one, so changing the font,
// encoding or rules invalidates every line by bumping one counter.
struct FData
{
    struct HighlightColor
    {
        QColor color;
        quint64 generation = 0;
        bool known = false;
    };

    // Keeps its own copy: the delivered line may be a view into a reply.
    explicit FData(const QByteArray &delivered = {})
        : raw(delivered.constData(), delivered.size())
    { }

    QByteArray raw;
    QString text; // decoded with the view's encoding
    quint64 textGeneration = 0;
    bool textKnown = false;
    std::optional<QList<fdata::Link>> links;
    HighlightColor highlight;
    int width = -1; // pixels, measured with the text
};

} // namespace fwndlog

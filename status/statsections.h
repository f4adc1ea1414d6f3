#pragma once

#include "status/cpiegraph.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The 22 counter sections of the statistics page and the rich-text document
// made of them.
namespace statsections {

inline constexpr int kCount = 22;
inline constexpr int kFormatVersion = 3;

// What the server reported ("Stats", "Info" and "SpamFilter", first rows).
struct Values
{
    QHash<QString, qint64> stats; // empty: no "Stats" row
    bool hasInfo = false;
    qint64 startTime = 0;
    qint64 currentTime = 0;
    qint64 storageTotal = 0;
    qint64 storageOccupied = 0;
    bool spamFilterOn = false;

    qint64 stat(const char *name) const;
};

enum class Format { Count, Volume };

struct Row
{
    const char *label;
    const char *counter;
    Format format;
};

struct Section
{
    int id;
    const char *menuName; // null: no menu entry
    const char *heading;
    QList<Row> rows;
};

const QList<Section> &sections();
const Section *section(int id);
QString menuName(int id);
QString heading(int id);

// The charts, by image name: "storagechart", "avirchart", "spamchart".
struct Mark
{
    QString name; // legend image, e.g. "markoccup"
    QColor color;
};
// The chart of a section (1, 10 or 11), or nothing. Derived slices are
// clamped at 0.
std::optional<CPieGraph> chart(int sectionId, const Values &values, QList<Mark> *marks = nullptr,
                               QString *imageName = nullptr);

// Section lists: "%04d" of the count, then "%04d" of each id. Damaged lists
// (wrong length, not digits, ids out of range or twice) give nothing.
QString encodeList(const QList<int> &ids);
std::optional<QList<int>> decodeList(const QString &text);
QList<int> defaultBasicOrder(); // 0, 1, 10, 11
QList<int> defaultAdvancedOrder(); // every section in id order

struct DocumentOptions
{
    int selected = -1;
    bool anchors = true; // false for the exported file
    // The src of a chart or legend image, by image name (unquoted).
    std::function<QString(const QString &)> imageSource;
};

// The rows of the visible sections, without the surrounding table.
QString sectionRows(const QList<int> &visible, const Values &values,
                    const DocumentOptions &options);
// The page's document: "<qt bgcolor=...><table ...>" + rows + "</table></qt>".
QString document(const QList<int> &visible, const Values &values, const DocumentOptions &options);

} // namespace statsections

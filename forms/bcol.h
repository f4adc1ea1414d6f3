#pragma once

#include "forms/bsortkey.h"

#include <QString>

#include <functional>

class DBRow;

// One column definition of a list view: its key, the data column it shows,
// header text, display position, width and flags.
class BCol
{
public:
    enum Flag : unsigned {
        Visible = 0x001,
        AlwaysVisible = 0x002,
        Hidden = 0x004, // hidden, offered in the columns dialog
        AlignLeft = 0x010,
        AlignCenter = 0x020,
        AlignRight = 0x040,
        DefaultSort = 0x100,
        DefaultSortDescending = 0x200, // only together with DefaultSort
    };

    BCol() = default;
    BCol(const QString &title, const QString &name, unsigned flags, int width, int definitionIndex);

    QString name; // untranslated key, for example "Protocol"
    int index = -1; // data column shown; -1 when not bound
    QString title; // translated header text
    int position = 0;
    int defaultPosition = 0;
    int editPosition = 0; // kept by the columns dialog while editing
    int width = -1; // pixels; -1 = automatic
    unsigned flags = Visible;
    int sortOrder = -1; // 0 ascending, 1 descending, -1 not a default sort column
    // What the column shows of a table row and, when it is not its text, what
    // it sorts by. A list whose columns say so needs no row class of its own
    // (BDeclaredItem asks them).
    std::function<QString(const DBRow &)> cellText;
    std::function<BSortKey(const DBRow &)> sortKey;

    bool isVisible() const { return flags & (Visible | AlwaysVisible); }
    bool isAlwaysVisible() const { return flags & AlwaysVisible; }
    // Always-visible columns ignore both directions.
    void setVisible(bool visible);
    // Qt alignment from the flags (left when none is given).
    int alignment() const;
};

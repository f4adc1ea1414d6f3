#include "forms/bcol.h"

BCol::BCol(const QString &title, const QString &name, unsigned flags, int width,
           int definitionIndex)
    : name(name)
    , index(definitionIndex)
    , title(title)
    , position(definitionIndex)
    , defaultPosition(definitionIndex)
    , editPosition(definitionIndex)
    , width(width)
    , flags(flags)
{
    if (flags & DefaultSort)
        sortOrder = (flags & DefaultSortDescending) ? 1 : 0;
}

void BCol::setVisible(bool visible)
{
    if (isAlwaysVisible() || visible == bool(flags & Visible))
        return;
    if (visible)
        flags = (flags & ~Hidden) | Visible;
    else
        flags = (flags & ~Visible) | Hidden;
}

int BCol::alignment() const
{
    // Values of Qt::AlignmentFlag, kept as int so this header needs no Qt GUI.
    constexpr int left = 0x0001, right = 0x0002, hcenter = 0x0004, vcenter = 0x0080;
    if (flags & AlignCenter)
        return hcenter | vcenter;
    if (flags & AlignRight)
        return right | vcenter;
    return left | vcenter;
}

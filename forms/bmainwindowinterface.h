#pragma once

class BViewMenu;
class QString;

// What the form framework needs from the console's main window. The shell's
// main window implements it and registers itself under "utKontFMainWnd"; the
// framework reaches it only through this interface.
//
// Apply and Reset themselves are not part of it: the main window follows the
// connection's transaction controller (DBCtrl::signalEmpty) for their enabled
// state, and its page area (a BFrameWindow registered as "utKontFWindow")
// emits signalApply(bool*) and signalReset(), which every view connects to.
class BMainWindowInterface
{
public:
    virtual ~BMainWindowInterface() = default;

    // The status text shown while the current page works ("Saving...").
    virtual void setAnimationText(const QString &text) = 0;
    // A view offers its own menu: the main window shows it in its menu bar in
    // place of the menu of the page shown before. An empty menu removes it.
    virtual void showViewMenu(const BViewMenu *menu) = 0;
    // The page changes: the per-section menu entries of the page that is left
    // go.
    virtual void refreshSectionMenus() = 0;
};

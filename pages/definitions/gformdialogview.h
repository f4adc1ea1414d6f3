#pragma once

#include <functional>

class QWidget;

// What a definition page offers the wrapper dialog GFormDialog: its widget,
// and its edits kept apart from the console's pending operations, so that
// the page that opened the dialog keeps its own.
class GFormDialogView
{
public:
    virtual ~GFormDialogView() = default;

    virtual QWidget *dialogWidget() = 0;
    // From now on edits call changed() instead of registering with the
    // connection's transaction controller.
    virtual void enterDialogMode(std::function<void()> changed) = 0;
    virtual bool hasDialogChanges() const = 0;
    // Sends the edits as one transaction; false (after the error was shown)
    // when the server refused them.
    virtual bool applyDialogChanges() = 0;
    virtual void discardDialogChanges() = 0;
    // A session without the modify right only looks.
    virtual bool isDialogReadOnly() const = 0;
};

#include "forms/blineedit.h"

#include "forms/formslog.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

BLineEdit::BLineEdit(QWidget *parent)
    : QLineEdit(parent)
{ }

BLineEdit::BLineEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{ }

QString BLineEdit::cutAtLineBreak(const QString &text, bool *cut)
{
    qsizetype end = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n')) {
            end = i;
            break;
        }
    }
    if (cut)
        *cut = end < text.size();
    if (end < text.size()) {
        qCDebug(lcForms) << "BLineEdit: the attempt to paste a text containing the character "
                            "'CR' or 'LF'. Text will be cut.";
    }
    return text.left(end);
}

void BLineEdit::insert(const QString &text)
{
    QLineEdit::insert(cutAtLineBreak(text));
}

void BLineEdit::paste()
{
    if (isReadOnly())
        return;
    insert(QGuiApplication::clipboard()->text());
}

void BLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste) {
        paste();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void BLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard Paste entry would insert line breaks; route it through ours.
    if (QAction *pasteAction = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &BLineEdit::paste);
    }
    menu->popup(event->globalPos());
}

void BLineEdit::dropEvent(QDropEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (!mime || !mime->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    bool cut = false;
    const QString text = cutAtLineBreak(mime->text(), &cut);
    if (!cut) {
        QLineEdit::dropEvent(event);
        return;
    }
    QMimeData cleaned;
    cleaned.setText(text);
    QDropEvent replacement(event->position(), event->possibleActions(), &cleaned, event->buttons(),
                           event->modifiers(), event->type());
    QLineEdit::dropEvent(&replacement);
    event->setAccepted(replacement.isAccepted());
}

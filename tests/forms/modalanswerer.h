#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the modal boxes and dialogs a test provokes: polls for the active
// modal widget, records a message box's text and presses the chosen button,
// or hands any other dialog to a callback.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start(20);
    }

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    // Called with every modal dialog that is not a message box.
    void setDialogHandler(std::function<void(QDialog *)> handler)
    {
        m_handler = std::move(handler);
    }

    QStringList texts;
    QStringList captions;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            m_last = box;
            texts << box->text();
            captions << box->windowTitle();
            QAbstractButton *button = box->button(m_answer);
            if (!button)
                button = box->buttons().value(0);
            QTimer::singleShot(0, button, &QAbstractButton::click);
        } else if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && m_handler) {
            m_last = dialog;
            m_handler(dialog);
        }
    }

    QTimer m_timer;
    QMessageBox::StandardButton m_answer;
    std::function<void(QDialog *)> m_handler;
    QPointer<QWidget> m_last;
};

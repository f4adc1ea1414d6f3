#pragma once

#include <QLineEdit>
#include <QTimer>

#include <utility>

// The search of a list page: finds the layout's "m_edSearch" edit; every
// change of its text restarts a 250 ms single shot, whose timeout calls the
// page's slotSearchExecute(). Typing therefore refreshes the list once, after
// the administrator pauses.
template<class Layout>
class PvnSearch : public Layout
{
public:
    static constexpr int kSearchDelayMs = 250;

    template<class... Args>
    explicit PvnSearch(Args &&...args)
        : Layout(std::forward<Args>(args)...)
        , m_searchTimer(new QTimer(this))
        , m_searchEdit(this->template findChild<QLineEdit *>(QStringLiteral("m_edSearch")))
    {
        m_searchTimer->setSingleShot(true);
        m_searchTimer->setInterval(kSearchDelayMs);
        QObject::connect(m_searchTimer, &QTimer::timeout, this, &Layout::slotSearchExecute);
        if (m_searchEdit)
            QObject::connect(m_searchEdit, &QLineEdit::textChanged, this,
                             &Layout::slotSearchChanged);
    }

    void slotSearchChanged() override { m_searchTimer->start(); }

    // The text the list is to be filtered by, without surrounding spaces.
    QString searchText() const { return m_searchEdit ? m_searchEdit->text().trimmed() : QString(); }
    QTimer *searchTimer() const { return m_searchTimer; }

private:
    QTimer *m_searchTimer;
    QLineEdit *m_searchEdit;
};

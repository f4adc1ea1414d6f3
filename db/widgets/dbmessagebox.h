// Warning boxes that may be requested from any thread: the request is posted
// to the interface thread, where the box is shown.
#ifndef DB_WIDGETS_DBMESSAGEBOX_H
#define DB_WIDGETS_DBMESSAGEBOX_H

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

class DBMessageBox : public QObject
{
    Q_OBJECT

public:
    explicit DBMessageBox(const QString &caption = QString(), QObject *parent = nullptr);
    ~DBMessageBox() override;

    QString caption() const { return m_caption; }

    // Post a warning to the process-wide instance; ignored for an empty text.
    static void postWarning(QWidget *parent, const QString &caption, const QString &text);
    // The process-wide instance (created on first use, destroyed at exit).
    static DBMessageBox *instance();

    // Replaces the modal box (tests); receives parent, caption and text.
    using Presenter = void (*)(QWidget *, const QString &, const QString &);
    static void setPresenter(Presenter presenter);

public slots:
    void slotError(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void show(QWidget *parent, const QString &caption, const QString &text);
    QString m_caption;
};

#endif // DB_WIDGETS_DBMESSAGEBOX_H

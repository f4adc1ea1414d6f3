#pragma once

#include "logs/flogevent.h"
#include "logs/fselect.h"

#include <QDialog>
#include <QFile>
#include <QPointer>

#include <memory>

class FWndLog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace fwndlog {
class FLogMailbox;
}

// "Save Log": writes the whole log or the selected lines to a local file as
// plain text or HTML, reading them in chunks of 10 000 lines, with progress
// and Cancel. Memory stays at one chunk whatever the log's length.
class FDlgLogSave : public QDialog
{
    Q_OBJECT

public:
    static constexpr qint64 kChunkLines = 10000;
    enum class Outcome { None, Saved, Cancelled, Failed };

    explicit FDlgLogSave(FWndLog *view, bool selectionOnly = false, QWidget *parent = nullptr);
    ~FDlgLogSave() override;

    QLineEdit *fileEdit() const { return m_edFile; }
    QRadioButton *htmlButton() const { return m_rbHtml; }
    QRadioButton *textButton() const { return m_rbText; }
    QRadioButton *selectionButton() const { return m_rbSelection; }
    QPushButton *okButton() const { return m_btnOk; }
    QPushButton *cancelButton() const { return m_btnCancel; }
    QLabel *stateLabel() const { return m_lblState; }
    QProgressBar *progressBar() const { return m_progress; }
    bool isSaving() const { return m_saving; }
    Outcome outcome() const { return m_outcome; }
    // Chunks read so far in this save.
    int chunksRead() const { return m_chunks; }
    // A file name with the extension of the chosen format.
    static QString withFormatExtension(const QString &name, bool html);

public slots:
    void accept() override;
    void reject() override;

protected:
    bool event(QEvent *event) override;

private:
    void slotBrowse();
    void slotFormatChanged();
    bool start();
    void requestChunk();
    void takeNextChunk();
    void chunkArrived(fwndlog::FLogReply &reply);
    void writeLines();
    void finish(Outcome outcome, const QString &detail = QString());

    QPointer<FWndLog> m_view;
    std::shared_ptr<fwndlog::FLogMailbox> m_mailbox;
    QStackedWidget *m_pages = nullptr;
    QLineEdit *m_edFile = nullptr;
    QRadioButton *m_rbHtml = nullptr;
    QRadioButton *m_rbText = nullptr;
    QRadioButton *m_rbFull = nullptr;
    QRadioButton *m_rbSelection = nullptr;
    QLabel *m_lblState = nullptr;
    QLabel *m_lblPath = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnCancel = nullptr;

    QFile m_file;
    bool m_html = false;
    bool m_saving = false;
    bool m_cancelRequested = false;
    Outcome m_outcome = Outcome::None;
    fwndlog::FTextPos m_first;
    fwndlog::FTextPos m_last;
    qint64 m_position = 0; // the first line not asked for yet
    qint64 m_written = 0;
    int m_chunks = 0;
    QList<fwndlog::FLogReply> m_arrived; // read, not yet being written
    QList<QByteArray> m_pending; // lines of the chunk being written
    QByteArray m_pendingBlock; // the text they point into
    qint64 m_pendingFirst = 0;
    int m_pendingIndex = 0;
};

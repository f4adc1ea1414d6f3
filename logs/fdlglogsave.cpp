#include "logs/fdlglogsave.h"

#include "db/dbconn.h"
#include "db/dbevent.h"
#include "db/dbquote.h"
#include "forms/uthtml.h"
#include "logs/flogrequest.h"
#include "logs/fwndlog.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStringDecoder>
#include <QTimer>
#include <QVBoxLayout>

using namespace fwndlog;

namespace {
// Lines written between two looks at Cancel.
constexpr int kSlice = 1000;
} // namespace

FDlgLogSave::FDlgLogSave(FWndLog *view, bool selectionOnly, QWidget *parent)
    : QDialog(parent ? parent : view)
    , m_view(view)
    , m_mailbox(std::make_shared<FLogMailbox>(this))
{
    setObjectName(QStringLiteral("FDlgLogSave"));
    setWindowTitle(tr("Save Log"));
    auto *layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages);

    auto *input = new QWidget(m_pages);
    auto *inputLayout = new QVBoxLayout(input);
    auto *fileRow = new QHBoxLayout;
    auto *lblFile = new QLabel(tr("&Target file:"), input);
    m_edFile = new QLineEdit(QStringLiteral("log-%1.txt").arg(view ? view->logName() : QString()),
                             input);
    m_edFile->setObjectName(QStringLiteral("m_edFile"));
    lblFile->setBuddy(m_edFile);
    auto *btnBrowse = new QPushButton(tr("&Browse..."), input);
    btnBrowse->setObjectName(QStringLiteral("m_btnBrowse"));
    fileRow->addWidget(lblFile);
    fileRow->addWidget(m_edFile, 1);
    fileRow->addWidget(btnBrowse);
    inputLayout->addLayout(fileRow);

    auto *format = new QGroupBox(tr("Format"), input);
    auto *formatLayout = new QVBoxLayout(format);
    m_rbHtml = new QRadioButton(tr("&HTML"), format);
    m_rbText = new QRadioButton(tr("&Plain text"), format);
    m_rbHtml->setObjectName(QStringLiteral("m_rbHtml"));
    m_rbText->setObjectName(QStringLiteral("m_rbText"));
    m_rbText->setChecked(true);
    formatLayout->addWidget(m_rbHtml);
    formatLayout->addWidget(m_rbText);
    inputLayout->addWidget(format);

    auto *source = new QGroupBox(tr("Source"), input);
    auto *sourceLayout = new QVBoxLayout(source);
    m_rbFull = new QRadioButton(tr("&Full file"), source);
    m_rbSelection = new QRadioButton(tr("&Only selection"), source);
    m_rbFull->setObjectName(QStringLiteral("m_rbFull"));
    m_rbSelection->setObjectName(QStringLiteral("m_rbSelection"));
    const bool hasSelection = view && view->selection()->hasSelection();
    m_rbSelection->setEnabled(hasSelection);
    (selectionOnly && hasSelection ? m_rbSelection : m_rbFull)->setChecked(true);
    sourceLayout->addWidget(m_rbFull);
    sourceLayout->addWidget(m_rbSelection);
    inputLayout->addWidget(source);
    m_pages->addWidget(input);

    auto *progressPage = new QWidget(m_pages);
    auto *progressLayout = new QVBoxLayout(progressPage);
    m_lblState = new QLabel(tr("Saving:"), progressPage);
    m_lblState->setObjectName(QStringLiteral("m_lblState"));
    m_lblPath = new QLabel(progressPage);
    m_lblPath->setObjectName(QStringLiteral("m_lblPath"));
    m_progress = new QProgressBar(progressPage);
    m_progress->setObjectName(QStringLiteral("m_progress"));
    m_progress->setAccessibleName(tr("Saving progress"));
    progressLayout->addWidget(m_lblState);
    progressLayout->addWidget(m_lblPath);
    progressLayout->addWidget(m_progress);
    progressLayout->addStretch();
    m_pages->addWidget(progressPage);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = buttons->button(QDialogButtonBox::Ok);
    m_btnCancel = buttons->button(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FDlgLogSave::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FDlgLogSave::reject);
    connect(btnBrowse, &QPushButton::clicked, this, &FDlgLogSave::slotBrowse);
    connect(m_rbHtml, &QRadioButton::toggled, this, &FDlgLogSave::slotFormatChanged);
}

FDlgLogSave::~FDlgLogSave()
{
    m_mailbox->detach();
}

QString FDlgLogSave::withFormatExtension(const QString &name, bool html)
{
    const auto endsWith = [&name](const char *suffix) {
        return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
    };
    if (html) {
        if (endsWith(".txt"))
            return name.left(name.size() - 4) + QStringLiteral(".htm");
        return endsWith(".htm") ? name : name + QStringLiteral(".htm");
    }
    if (endsWith(".htm"))
        return name.left(name.size() - 4) + QStringLiteral(".txt");
    return endsWith(".txt") ? name : name + QStringLiteral(".txt");
}

void FDlgLogSave::slotFormatChanged()
{
    m_edFile->setText(withFormatExtension(m_edFile->text(), m_rbHtml->isChecked()));
}

void FDlgLogSave::slotBrowse()
{
    const QString name = QFileDialog::getSaveFileName(this, tr("Choose a File To Save Log"),
                                                      m_edFile->text(), tr("All files (*.*)"));
    if (!name.isEmpty())
        m_edFile->setText(name);
}

void FDlgLogSave::accept()
{
    if (m_pages->currentIndex() == 1) {
        if (!m_saving)
            QDialog::accept();
        return;
    }
    start();
}

void FDlgLogSave::reject()
{
    if (m_saving) {
        m_cancelRequested = true; // stops after the line being written
        return;
    }
    QDialog::reject();
}

bool FDlgLogSave::start()
{
    const QString caption = UtKontainer::getText(UtKey::Caption);
    const QString name = m_edFile->text().trimmed();
    if (name.isEmpty()) {
        QMessageBox::warning(this, caption, tr("Please specify file name."));
        m_edFile->setFocus();
        return false;
    }
    if (!m_view || !m_view->connection()) {
        QMessageBox::warning(this, caption, tr("Log file is empty and cannot be saved."));
        return false;
    }
    if (m_rbSelection->isChecked() && m_view->selection()->hasSelection()) {
        m_first = m_view->selection()->start();
        m_last = m_view->selection()->end();
    } else {
        m_first = {0, 0};
        m_last = {m_view->count() - 1, FTextPos::kLineEnd};
    }
    if (m_last.line < m_first.line || m_last.line < 0) {
        QMessageBox::warning(this, caption, tr("Log file is empty and cannot be saved."));
        return false;
    }
    m_file.setFileName(name);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QMessageBox::warning(this, caption,
                             tr("Please specify another file name, because this file cannot "
                                "be open."));
        m_edFile->setFocus();
        return false;
    }
    m_html = QFileInfo(name).suffix().toLower() == QLatin1String("htm");
    m_lblPath->setText(QFileInfo(name).absoluteFilePath());
    m_progress->setRange(0, int(qMin<qint64>(m_last.line - m_first.line + 1, INT_MAX)));
    m_progress->setValue(0);
    m_pages->setCurrentIndex(1);
    m_btnOk->setEnabled(false);
    m_saving = true;
    m_cancelRequested = false;
    m_written = 0;
    m_chunks = 0;
    if (m_html)
        m_file.write(UtHtml::documentHead(FWndLog::htmlTitle()).toUtf8() + "<body>\n");
    m_position = m_first.line;
    m_arrived.clear();
    requestChunk();
    return true;
}

void FDlgLogSave::requestChunk()
{
    if (m_position > m_last.line)
        return;
    const qint64 last = qMin(m_position + kChunkLines - 1, m_last.line);
    FLogReply meta;
    meta.kind = ReadKind::Page;
    meta.first = m_position;
    meta.last = last;
    FLogRequest::send(m_view->connection(),
                      QStringLiteral("select LogData(\"%1\", %2, %3)")
                              .arg(dbEscape(m_view->logName()), QString::number(m_position),
                                   QString::number(last - m_position + 1)),
                      m_mailbox, meta, false);
    m_position = last + 1;
}

bool FDlgLogSave::event(QEvent *event)
{
    if (!FLogEvent::isLogEvent(event))
        return QDialog::event(event);
    DBEvent::afterReceive();
    chunkArrived(static_cast<FLogEvent *>(event)->reply());
    return true;
}

void FDlgLogSave::chunkArrived(FLogReply &reply)
{
    if (!m_saving)
        return;
    ++m_chunks;
    if (!reply.ok() || reply.lines.size() != reply.last - reply.first + 1) {
        finish(Outcome::Failed,
               reply.ok() ? tr("The server sent %1 of %2 lines.")
                                    .arg(reply.lines.size())
                                    .arg(reply.last - reply.first + 1)
                          : reply.errorText);
        return;
    }
    m_arrived.append(std::move(reply));
    if (m_pending.isEmpty())
        takeNextChunk();
}

// The next chunk is read while this one is written: two chunks at most.
void FDlgLogSave::takeNextChunk()
{
    if (m_arrived.isEmpty()) {
        if (m_written >= m_last.line - m_first.line + 1)
            finish(Outcome::Saved);
        return; // the next chunk is on its way
    }
    FLogReply reply = m_arrived.takeFirst();
    m_pendingBlock = std::move(reply.block); // the lines are views into it
    m_pending = std::move(reply.lines);
    m_pendingFirst = reply.first;
    m_pendingIndex = 0;
    requestChunk();
    writeLines();
}

void FDlgLogSave::writeLines()
{
    if (!m_view) {
        finish(Outcome::Failed);
        return;
    }
    const QString encoding = m_view->encoding();
    QStringDecoder decoder = encoding.isEmpty() ? QStringDecoder(QStringConverter::Utf8)
                                                : QStringDecoder(encoding.toLatin1().constData());
    // Text delivered as UTF-8 is written as it is, lines cut by the selection apart.
    const bool asDelivered = !m_html
            && (encoding.isEmpty()
                || encoding.compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0);
    const int end = qMin(int(m_pending.size()), m_pendingIndex + kSlice);
    QByteArray out;
    for (; m_pendingIndex < end; ++m_pendingIndex) {
        if (m_cancelRequested) {
            m_file.write(out);
            finish(Outcome::Cancelled);
            return;
        }
        const qint64 line = m_pendingFirst + m_pendingIndex;
        if (asDelivered && line != m_first.line && line != m_last.line) {
            out += m_pending.at(m_pendingIndex);
            out += "\r\n";
            ++m_written;
            continue;
        }
        QString text = decoder.decode(m_pending.at(m_pendingIndex));
        decoder.resetState();
        if (line == m_last.line && m_last.column < text.size())
            text.truncate(m_last.column);
        if (line == m_first.line)
            text.remove(0, qMin(m_first.column, int(text.size())));
        out += (m_html ? m_view->htmlLine(text) : text).toUtf8();
        if (line != m_last.line)
            out += "\r\n";
        ++m_written;
    }
    if (m_file.write(out) != out.size()) {
        finish(Outcome::Failed, m_file.errorString());
        return;
    }
    m_progress->setValue(int(qMin<qint64>(m_written, INT_MAX)));
    if (m_pendingIndex < m_pending.size()) {
        // The rest of the chunk after the event loop had its turn (Cancel, painting).
        QTimer::singleShot(0, this, &FDlgLogSave::writeLines);
        return;
    }
    m_pending.clear();
    m_pendingBlock.clear();
    if (m_cancelRequested) {
        finish(Outcome::Cancelled);
        return;
    }
    takeNextChunk();
}

void FDlgLogSave::finish(Outcome outcome, const QString &detail)
{
    m_saving = false;
    m_outcome = outcome;
    m_pending.clear();
    m_pendingBlock.clear();
    m_arrived.clear();
    if (outcome == Outcome::Saved && m_html)
        m_file.write("\r\n</body>\n</html>\n");
    m_file.close();
    switch (outcome) {
    case Outcome::Saved:
        m_lblState->setText(tr("Saved:"));
        break;
    case Outcome::Cancelled:
        m_lblState->setText(tr("Saving was cancelled after %n line(s):", nullptr, int(m_written)));
        break;
    default:
        m_lblState->setText(detail.isEmpty() ? tr("Saving failed:")
                                             : tr("Saving failed (%1):").arg(detail));
        break;
    }
    m_btnOk->setEnabled(true);
    m_btnCancel->setEnabled(false);
}

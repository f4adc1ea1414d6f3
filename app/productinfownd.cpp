#include "app/productinfownd.h"

#include "app/fpage.h"
#include "app/fserverquery.h"
#include "db/dbconn.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

ProductInfoWnd::ProductInfoWnd(QWidget *parent)
    : QWidget(parent)
    , m_form(new QFormLayout)
{
    setObjectName(QStringLiteral("ProductInfoWnd"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(
            QStringLiteral("<h2>%1</h2>").arg(UtKontainer::getText(UtKey::AppName).toHtmlEscaped()),
            this);
    layout->addWidget(title);
    layout->addLayout(m_form);
    layout->addStretch(1);
    m_version = addRow(QStringLiteral("version"), tr("Server version:"));
    m_os = addRow(QStringLiteral("os"), tr("Operating system:"));
    m_uptime = addRow(QStringLiteral("uptime"), tr("Server uptime:"));
    m_user = addRow(QStringLiteral("user"), tr("Connected user:"));
    m_rights = addRow(QStringLiteral("rights"), tr("Rights:"));
    m_storage = addRow(QStringLiteral("storage"), tr("Free storage:"));
    m_domains = addRow(QStringLiteral("domains"), tr("Domains:"));
    m_users = addRow(QStringLiteral("users"), tr("Users:"));
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("m_lbl_error"));
    m_error->setTextFormat(Qt::PlainText);
    m_error->setWordWrap(true);
    m_error->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_error->hide();
    layout->insertWidget(layout->indexOf(m_form) + 1, m_error);
    if (auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn)) {
        m_sessionLost = !connection->isConnected();
        connect(connection, &DBConn::signalStateChanged, this,
                [this](DBConn::StateEnum state) { slotConnectionStateChanged(state); });
    }
}

void ProductInfoWnd::slotConnectionStateChanged(int state)
{
    // Only a session that comes back counts, not the end of every request.
    if (state == DBConn::Disconnected)
        m_sessionLost = true;
    if (state != DBConn::Connected || !m_sessionLost)
        return;
    m_sessionLost = false;
    if (m_pending > 0)
        m_reloadWhenAnswered = true;
    else if (m_stale)
        load();
}

QLabel *ProductInfoWnd::addRow(const QString &field, const QString &label)
{
    auto *value = new QLabel(tr("Loading..."), this);
    value->setObjectName(QStringLiteral("m_lbl_") + field);
    // Values come from the server: shown as they are, never as rich text.
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(label, value);
    return value;
}

QString ProductInfoWnd::valueText(const QString &field) const
{
    const auto *label = findChild<QLabel *>(QStringLiteral("m_lbl_") + field);
    return label ? label->text() : QString();
}

QString ProductInfoWnd::uptimeText(qint64 seconds)
{
    if (seconds < 0)
        return tr("unknown");
    const qint64 days = seconds / 86400;
    const QString clock = QStringLiteral("%1:%2:%3")
                                  .arg((seconds / 3600) % 24, 2, 10, QLatin1Char('0'))
                                  .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                                  .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return tr("%n day(s), %1", nullptr, int(qMin<qint64>(days, INT_MAX))).arg(clock);
}

QString ProductInfoWnd::osText(qint64 osCode)
{
    if (osCode >= 0 && osCode < 65536)
        return tr("Windows");
    if (osCode == 65536)
        return tr("Linux");
    if (osCode == 131072)
        return tr("Mac OS X");
    return tr("Unknown (code %1)").arg(osCode);
}

void ProductInfoWnd::load()
{
    auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
    m_user->setText(UtKontainer::getText(UtKey::User));
    m_error->clear();
    m_error->hide();
    m_stale = false;
    m_reloadWhenAnswered = false;
    m_pending = 3;
    const auto run = [this, connection](const QString &query, auto handler) {
        if (!FServerQuery::run(connection, query, this, [this, handler](const FQueryResult &r) {
                handler(r);
                answerArrived();
            }))
            answerArrived();
    };
    run(QStringLiteral("select Version, OsCode, StartTime, CurrentTime, StorageTotal, "
                       "StorageOccupied from Info"),
        [this](const FQueryResult &r) { showInfo(r); });
    run(QStringLiteral("select count() from Domain"),
        [this](const FQueryResult &r) { showCount(m_domains, r); });
    run(QStringLiteral("select count() from User"),
        [this](const FQueryResult &r) { showCount(m_users, r); });
}

void ProductInfoWnd::showFailure(const QString &error)
{
    m_stale = true;
    if (m_error->text().isEmpty()) {
        m_error->setText(error);
        m_error->show();
    }
    // Without a session nobody is logged in and no rights are known.
    const auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
    if (!connection || !connection->isConnected()) {
        m_user->setText(tr("not connected"));
        m_rights->setText(tr("unknown"));
    }
}

void ProductInfoWnd::showInfo(const FQueryResult &result)
{
    if (!result.ok())
        showFailure(result.errorText);
    if (!result.ok() || result.rows.isEmpty()) {
        for (QLabel *label : {m_version, m_os, m_uptime, m_storage})
            label->setText(tr("not available"));
        return;
    }
    // The rights word is known once the login has succeeded, which the answer proves.
    if (auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn))
        m_rights->setText(connection->mayModify() ? tr("Read and write") : tr("Read only"));
    m_version->setText(result.firstValue(QStringLiteral("Version")));
    m_os->setText(osText(result.firstValue(QStringLiteral("OsCode")).toLongLong()));
    bool startOk = false;
    bool nowOk = false;
    const qint64 start = result.firstValue(QStringLiteral("StartTime")).toLongLong(&startOk);
    const qint64 now = result.firstValue(QStringLiteral("CurrentTime")).toLongLong(&nowOk);
    m_uptime->setText(startOk && nowOk ? uptimeText(now - start) : tr("unknown"));
    bool totalOk = false;
    bool usedOk = false;
    const qint64 total = result.firstValue(QStringLiteral("StorageTotal")).toLongLong(&totalOk);
    const qint64 used = result.firstValue(QStringLiteral("StorageOccupied")).toLongLong(&usedOk);
    const QLocale locale;
    m_storage->setText(
            totalOk && usedOk && total > 0
                    ? tr("%1 of %2")
                              .arg(locale.formattedDataSize(qMax<qint64>(0, total - used)),
                                   locale.formattedDataSize(total))
                    : tr("unknown"));
}

void ProductInfoWnd::showCount(QLabel *label, const FQueryResult &result)
{
    if (!result.ok()) {
        showFailure(result.errorText);
        label->setText(tr("not available"));
        return;
    }
    const int column = result.column(QStringLiteral("count")) >= 0
            ? result.column(QStringLiteral("count"))
            : result.column(QStringLiteral("count()"));
    label->setText(column >= 0 && !result.rows.isEmpty() ? result.rows.first().value(column)
                                                         : tr("unknown"));
}

void ProductInfoWnd::answerArrived()
{
    if (--m_pending > 0)
        return;
    FPage::setLoaded(this);
    const auto *connection = UtKontainer::objectAs<DBConn>(UtKey::DBConn);
    if (m_reloadWhenAnswered && m_stale && connection && connection->isConnected())
        load();
}

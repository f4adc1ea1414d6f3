#include "status/statsections.h"

#include "forms/uthtml.h"
#include "status/statformat.h"

#include <QCoreApplication>
#include <QSet>

namespace statsections {

namespace {

const char *const kContext = "StatisticWnd";

QString tr(const char *text)
{
    return QCoreApplication::translate(kContext, text);
}

QList<Row> threeRows(const char *prefix)
{
    static QHash<QString, QByteArray> names; // keeps the counter names alive
    auto name = [](const char *prefix, const char *suffix) {
        const QString key = QLatin1String(prefix) + QLatin1String(suffix);
        auto it = names.find(key);
        if (it == names.end())
            it = names.insert(key, key.toLatin1());
        return it->constData();
    };
    return {{QT_TRANSLATE_NOOP("StatisticWnd", "Message count"), name(prefix, "Messages"),
             Format::Count},
            {QT_TRANSLATE_NOOP("StatisticWnd", "Message volume"), name(prefix, "Volume"),
             Format::Volume},
            {QT_TRANSLATE_NOOP("StatisticWnd", "Total recipient count"), name(prefix, "Recipients"),
             Format::Count}};
}

} // namespace

qint64 Values::stat(const char *name) const
{
    return stats.value(QLatin1String(name));
}

const QList<Section> &sections()
{
    static const QList<Section> all = [] {
        const auto C = Format::Count;
        QList<Section> list = {
                {0, nullptr, QT_TRANSLATE_NOOP("StatisticWnd", "Server Status"), {}},
                {1,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Storage Occupied"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Total Storage"),
                 {}},
                {2, QT_TRANSLATE_NOOP("StatisticWnd", "Received By Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages received by server"),
                 threeRows("mtaReceived")},
                {3, QT_TRANSLATE_NOOP("StatisticWnd", "Stored In Queue"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages stored in queue"),
                 threeRows("mtaStored")},
                {4, QT_TRANSLATE_NOOP("StatisticWnd", "Transmitted By Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages transmitted by server"),
                 threeRows("mtaTransmitted")},
                {5, QT_TRANSLATE_NOOP("StatisticWnd", "Delivered To Local Domains"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages delivered to local domains"),
                 threeRows("mtaLocal")},
                {6, QT_TRANSLATE_NOOP("StatisticWnd", "Sent To Remote MX Servers"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages sent to remote MX servers"),
                 threeRows("mtaMX")},
                {7, QT_TRANSLATE_NOOP("StatisticWnd", "Sent To Relay Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Messages sent to relay server"),
                 threeRows("mtaRelay")},
                {8,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Failure And Bounce Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Failure and bounce statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd",
                                     "Transient delivery failures (messages delayed)"),
                   "mtaFailedSoft", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd",
                                     "Permanent delivery failures (messages bounced)"),
                   "mtaFailedHard", C}}},
                {9,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Delivery Status Notifications"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Delivery Status Notifications"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Success notifications sent"),
                   "mtaDsnSentSuccess", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Delay notifications sent"), "mtaDsnSentDelay",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Failure notifications sent"),
                   "mtaDsnSentFailure", C}}},
                {10,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Antivirus Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Antivirus statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Attachments checked"), "mtaAntivirChecked",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Viruses found"), "mtaAntivirVirusFound", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Prohibited filenames/MIME types found"),
                   "mtaAntivirAttachFound", C}}},
                {11,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Spam Filter Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Spam filter statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Messages checked"), "mtaSpamChecked", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Spams detected (tagged)"), "mtaSpamTagged",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Spams detected (rejected)"), "mtaSpamBlocked",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Messages marked by users as spam"),
                   "MarkedAsJunk", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Messages marked by users as not spam"),
                   "MarkedAsNotJunk", C}}},
                {12,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Other Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Other message statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Largest message size received by server"),
                   "mtaLargestSize", Format::Volume},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Message loops detected"), "mtaLoopsDetected",
                   C}}},
                {13,
                 QT_TRANSLATE_NOOP("StatisticWnd", "SMTP Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "SMTP server statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total incoming connections"),
                   "SMTPConnections", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Lost connections"), "SMTPConnLost", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Connections rejected by blacklist"),
                   "SMTPRejectedRBL", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "SMTP authentication attempts"),
                   "SMTPAuthReceived", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "SMTP authentication failures"),
                   "SMTPAuthFailed", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Relay attempts rejected by antispam"),
                   "SMTPRelaysDenied", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Accepted messages count"), "SMTPMsgsAccepted",
                   C}}},
                {14,
                 QT_TRANSLATE_NOOP("StatisticWnd", "SMTP Client Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "SMTP client statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Connection attempts by SMTP client"),
                   "SMTPClientAttempts", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "DNS lookup failures"), "SMTPClientDnsFailed",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Connections failed"), "SMTPClientConnFailed",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Connections lost"), "SMTPClientConnLost",
                   C}}},
                {15,
                 QT_TRANSLATE_NOOP("StatisticWnd", "POP3 Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "POP3 server statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total incoming connections"),
                   "POP3Connections", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Authentication failures"), "POP3AuthFailed",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total count of messages sent to client"),
                   "POP3MessagesSent", C}}},
                {16,
                 QT_TRANSLATE_NOOP("StatisticWnd", "POP3 Client Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "POP3 client statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Connection attempts by POP3 client"),
                   "POP3ClientAttempts", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Connections failed"), "POP3ClientConnsFailed",
                   C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Authentication failures"),
                   "POP3ClientAuthFailed", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd",
                                     "Total count of messages downloaded from remote POP3 servers"),
                   "POP3ClientMsgsDownloaded", C}}},
                {17,
                 QT_TRANSLATE_NOOP("StatisticWnd", "IMAP Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "IMAP server statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total incoming connections"),
                   "IMAPConnections", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Authentication failures"), "IMAPAuthFailed",
                   C}}},
                {18,
                 QT_TRANSLATE_NOOP("StatisticWnd", "WWW Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "WWW (WebMail) server statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total incoming HTTP connections"),
                   "HTTPConnections", C}}},
                {19,
                 QT_TRANSLATE_NOOP("StatisticWnd", "LDAP Server"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "LDAP server statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total incoming connections"),
                   "LDAPServerConnections", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Authentication failures"),
                   "LDAPServerAuthFailed", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total search requests received"),
                   "LDAPServerMessagesSent", C}}},
                {20,
                 QT_TRANSLATE_NOOP("StatisticWnd", "DNS Resolver Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "DNS resolver statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd",
                                     "Total number of A record queries (hostnames)"),
                   "DNSQueriesHost", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total number of A record queries cached"),
                   "DNSQueriesHostCached", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total number of MX record queries"),
                   "DNSQueriesMx", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total number of MX record queries cached"),
                   "DNSQueriesMxCached", C}}},
                {21,
                 QT_TRANSLATE_NOOP("StatisticWnd", "Antibombing Statistics"),
                 QT_TRANSLATE_NOOP("StatisticWnd", "Antibombing statistics"),
                 {{QT_TRANSLATE_NOOP("StatisticWnd", "Total number of connections rejected"),
                   "AbombConnectionsRejected", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total number of mail messages rejected"),
                   "AbombMessagesRejected", C},
                  {QT_TRANSLATE_NOOP("StatisticWnd", "Total number of harvest attacks detected"),
                   "AbombHarvestDetected", C}}},
        };
        return list;
    }();
    return all;
}

const Section *section(int id)
{
    const QList<Section> &all = sections();
    return id >= 0 && id < all.size() ? &all.at(id) : nullptr;
}

QString menuName(int id)
{
    const Section *s = section(id);
    return s && s->menuName ? tr(s->menuName) : QString();
}

QString heading(int id)
{
    const Section *s = section(id);
    return s ? tr(s->heading) : QString();
}

std::optional<CPieGraph> chart(int sectionId, const Values &values, QList<Mark> *marks,
                               QString *imageName)
{
    const QColor red(233, 0, 4);
    const QColor sand(193, 181, 167);
    CPieGraph graph;
    QList<Mark> legend;
    QString name;
    auto positive = [](qint64 value) { return value > 0 ? value : 0; };
    switch (sectionId) {
    case 1: {
        if (!values.hasInfo)
            return std::nullopt;
        graph.addSlice(positive(values.storageOccupied), red, tr("Storage Occupied"));
        graph.addSlice(positive(values.storageTotal - values.storageOccupied), sand,
                       tr("Storage Free"));
        legend = {{QStringLiteral("markoccup"), red}, {QStringLiteral("markfree"), sand}};
        name = QStringLiteral("storagechart");
        break;
    }
    case 10: {
        if (values.stats.isEmpty())
            return std::nullopt;
        const qint64 checked = values.stat("mtaAntivirChecked");
        const qint64 found = values.stat("mtaAntivirVirusFound");
        graph.addSlice(positive(found), red, tr("Viruses found"));
        graph.addSlice(positive(checked - found), sand, tr("Attachments without viruses"));
        legend = {{QStringLiteral("markafound"), red}, {QStringLiteral("markanormal"), sand}};
        name = QStringLiteral("avirchart");
        break;
    }
    case 11: {
        if (values.stats.isEmpty() || !values.spamFilterOn)
            return std::nullopt;
        const qint64 checked = values.stat("mtaSpamChecked");
        const qint64 notSpam = values.stat("MarkedAsNotJunk");
        const qint64 tagged = values.stat("mtaSpamTagged");
        const qint64 rejected = values.stat("mtaSpamBlocked");
        const qint64 spam = values.stat("MarkedAsJunk");
        const __int128 normal = __int128(checked) - notSpam - tagged - rejected - spam;
        graph.addSlice(normal > 0 ? qint64(normal) : 0, sand, tr("Normal messages"));
        graph.addSlice(positive(notSpam), QColor(0, 191, 255),
                       tr("Messages marked by users as not spam"));
        graph.addSlice(positive(tagged), red, tr("Spams detected (tagged)"));
        graph.addSlice(positive(rejected), QColor(0, 165, 0), tr("Spams detected (rejected)"));
        graph.addSlice(positive(spam), QColor(255, 255, 0), tr("Messages marked by users as spam"));
        legend = {{QStringLiteral("marksnormal"), sand},
                  {QStringLiteral("marksfalsepositive"), QColor(0, 191, 255)},
                  {QStringLiteral("marksfoundt"), red},
                  {QStringLiteral("marksfoundr"), QColor(0, 165, 0)},
                  {QStringLiteral("marksunrecognized"), QColor(255, 255, 0)}};
        name = QStringLiteral("spamchart");
        break;
    }
    default:
        return std::nullopt;
    }
    graph.setStatisticsStyle();
    if (marks)
        *marks = legend;
    if (imageName)
        *imageName = name;
    return graph;
}

QString encodeList(const QList<int> &ids)
{
    QString text = QString::asprintf("%04d", int(ids.size()));
    for (int id : ids)
        text += QString::asprintf("%04d", id);
    return text;
}

std::optional<QList<int>> decodeList(const QString &text)
{
    if (text.size() < 4 || text.size() % 4 != 0)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int count = text.left(4).toInt();
    if (count != text.size() / 4 - 1)
        return std::nullopt;
    QList<int> ids;
    QSet<int> seen;
    for (int i = 1; i <= count; ++i) {
        const int id = text.mid(i * 4, 4).toInt();
        if (id >= kCount || seen.contains(id))
            return std::nullopt;
        seen.insert(id);
        ids << id;
    }
    return ids;
}

QList<int> defaultBasicOrder()
{
    return *decodeList(QStringLiteral("00040000000100100011"));
}

QList<int> defaultAdvancedOrder()
{
    QList<int> ids;
    for (int id = 0; id < kCount; ++id)
        ids << id;
    return ids;
}

namespace {

QString valueCell(const Row &row, const Values &values)
{
    if (values.stats.isEmpty())
        return QString(); // a missing row shows no values
    const qint64 value = values.stat(row.counter);
    return row.format == Format::Volume ? statformat::volume(value) : statformat::count(value);
}

void appendRow(QString &html, bool first, const QString &label, const QString &value)
{
    if (!first)
        html += QStringLiteral("<tr><td>");
    html += UtHtml::escape(label) + QStringLiteral("</td><td align=right>") + value
            + QStringLiteral("</td></tr>");
}

QString chartCell(int id, const Values &values, const DocumentOptions &options)
{
    QList<Mark> marks;
    QString image;
    const std::optional<CPieGraph> graph = chart(id, values, &marks, &image);
    if (!graph)
        return QString();
    auto source = [&](const QString &name) {
        return QLatin1Char('"') + (options.imageSource ? options.imageSource(name) : name)
                + QLatin1Char('"');
    };
    QList<qint64> slices;
    qint64 total = 0;
    for (const CPieGraph::Slice &slice : graph->slices()) {
        slices << slice.value;
        total += slice.value;
    }
    QString legend;
    for (int i = 0; i < marks.size() && i < graph->slices().size(); ++i) {
        const int share = statformat::percent(graph->slices().at(i).value, total);
        legend += QStringLiteral("<img border=0 width=10 height=10 src=%1> ")
                          .arg(source(marks.at(i).name))
                + UtHtml::escape(graph->slices().at(i).label);
        if (share >= 0)
            legend += QStringLiteral(" ") + QStringLiteral("%1%").arg(share);
        legend += QStringLiteral("<br>");
    }
    return QStringLiteral("<tr><td align=center width=255><img border=0 width=250 height=175 "
                          "src=%1></td><td>%2</td></tr>")
            .arg(source(image), legend);
}

} // namespace

QString sectionRows(const QList<int> &visible, const Values &values, const DocumentOptions &options)
{
    QString html;
    for (int id : visible) {
        const Section *s = section(id);
        if (!s)
            continue;
        const bool selected = id == options.selected;
        html += QStringLiteral("<tr><td colspan=2 bgcolor=")
                + (selected ? QStringLiteral("#000080") : QStringLiteral("#dddddd"))
                + QStringLiteral("><b>");
        if (options.anchors)
            html += QStringLiteral("<a name=\"b%1\" href=\"%1\">").arg(id);
        html += QStringLiteral("<font color=")
                + (selected ? QStringLiteral("#ffffff") : QStringLiteral("#000000"))
                + QStringLiteral(">") + UtHtml::escape(tr(s->heading)) + QStringLiteral("</font>");
        if (options.anchors)
            html += QStringLiteral("</a>");
        html += QStringLiteral("</b></td></tr><tr><td>");
        bool first = true;
        auto add = [&](const QString &label, const QString &value) {
            appendRow(html, first, label, value);
            first = false;
        };
        if (id == 0) {
            add(tr("Server Uptime"),
                values.hasInfo ? UtHtml::escape(
                        statformat::duration(values.currentTime - values.startTime))
                               : QString());
        } else if (id == 1) {
            const qint64 free = std::max<qint64>(values.storageTotal - values.storageOccupied, 0);
            const int share = statformat::percent(values.storageOccupied, values.storageTotal);
            add(tr("Storage Occupied"),
                values.hasInfo ? statformat::volume(values.storageOccupied) : QString());
            add(tr("Storage Free"), values.hasInfo ? statformat::volume(free) : QString());
            add(tr("Percent"), share >= 0 ? QStringLiteral("%1 %").arg(share) : QString());
        } else {
            for (const Row &row : s->rows)
                add(tr(row.label), valueCell(row, values));
        }
        html += chartCell(id, values, options);
    }
    return html;
}

QString document(const QList<int> &visible, const Values &values, const DocumentOptions &options)
{
    return QStringLiteral("<qt bgcolor=\"#ffffff\"><table border=1 cellspacing=0 width=530>")
            + sectionRows(visible, values, options) + QStringLiteral("</table></qt>");
}

} // namespace statsections

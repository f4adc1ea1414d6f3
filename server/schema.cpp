#include "schema.h"

#include <cctype>
#include <stdexcept>

namespace postvane::devserver {

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string toLower(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

const ColumnDef *TableDef::column(std::string_view wanted) const
{
    for (const auto &def : columns) {
        if (equalsIgnoreCase(def.name, wanted))
            return &def;
    }
    return nullptr;
}

bool TableDef::hasKeys() const
{
    for (const auto &def : columns) {
        if (def.key)
            return true;
    }
    return false;
}

TableDef Schema::define(std::string name, TableKind kind, std::string_view columns,
                        bool keysIgnoreCase, bool directoryAware)
{
    TableDef table;
    table.name = std::move(name);
    table.kind = kind;
    table.keysIgnoreCase = keysIgnoreCase;
    table.directoryAware = directoryAware;
    size_t pos = 0;
    while (pos < columns.size()) {
        while (pos < columns.size() && columns[pos] == ' ')
            ++pos;
        size_t end = columns.find(' ', pos);
        if (end == std::string_view::npos)
            end = columns.size();
        if (end == pos)
            break;
        std::string_view columnText = columns.substr(pos, end - pos);
        pos = end;

        ColumnDef column;
        if (size_t eq = columnText.find('='); eq != std::string_view::npos) {
            column.defaultText = std::string(columnText.substr(eq + 1));
            columnText = columnText.substr(0, eq);
        }
        size_t colon = columnText.find(':');
        column.name = std::string(columnText.substr(0, colon));
        while (colon != std::string_view::npos) {
            size_t nextColon = columnText.find(':', colon + 1);
            std::string_view part
                    = columnText.substr(colon + 1,
                                  nextColon == std::string_view::npos ? std::string_view::npos
                                                                      : nextColon - colon - 1);
            if (part == "key") {
                column.key = true;
            } else if (auto type = columnTypeFromName(part)) {
                column.type = *type;
            } else {
                throw std::logic_error("bad column description: " + std::string(columnText));
            }
            colon = nextColon;
        }
        if (column.defaultText.empty() && isNumericType(column.type)
            && column.type != ColumnType::IPv4)
            column.defaultText.assign(1, '0');
        table.columns.push_back(std::move(column));
    }
    return table;
}

const std::vector<std::string> &serviceNames()
{
    static const std::vector<std::string> names
            = {"smtp", "smtps", "pop3", "pop3s", "imap", "imaps",
               "nntp", "nntps", "ldap", "ldaps", "http", "https"};
    return names;
}

const Schema &Schema::instance()
{
    static const Schema schema;
    return schema;
}

const TableDef *Schema::table(std::string_view name) const
{
    for (const auto &def : m_tables) {
        if (equalsIgnoreCase(def.name, name))
            return &def;
    }
    return nullptr;
}

Schema::Schema()
{
    using K = TableKind;
    const char *userLike = "MailAddress ForwardMode:int ForwardAddress Groups Rights:int "
                           "Authorization Qstorage:int64 Qmessage:int64 "
                           "MaxOutgoingMessageSize:int64";
    m_tables = {
            define("Info", K::ReadOnly,
                   "Version OsCode:int StartTime:int CurrentTime:int StorageTotal:int64 "
                   "StorageOccupied:int64 TimeZone dummy:int"),
            define("User", K::Rows,
                   "Name:key Domain:key Fullname Description Auth_type:int Account_enabled:int=1 "
                   "HomeServer Password Rights:int=3 Groups Qstorage:int64 Qmessage:int64 "
                   "MaxOutgoingMessageSize:int64 MailAddress ForwardMode:int ForwardAddress "
                   "Authorization DefSpamFilter:int MailboxLocation $RowSource:int",
                   true, true),
            define("Domain", K::Rows,
                   "ID:int Domain:key Type:int=1 Alias Description MaxUserCount:int "
                   "MaxOutgoingMessageSize:int64 DeletedMsgExpiration:int Footer "
                   "localDomainInsertFooter:int NtAuthDomain PamService KerberosRealm "
                   "BindIp:ip=0.0.0.0 InternetHostname Logo FwMode:int FwOffline:int FwHost "
                   "FwPort:port=25 FwAliasMode:int",
                   true),
            define("Template", K::Rows,
                   std::string("Tempname:key Description Auth_type:int Domain DefSpamFilter:int ")
                           + userLike,
                   true),
            define("ServerNodes", K::ReadOnly, "Name"),
            define("PublicFolders", K::Settings, "PublicAdmin PublicFoldersPerDomain:int"),
            define("ServicePorts", K::Rows, "Service:key IPAddress:ip:key Port:port:key"),
            define("IpAccessList", K::Rows, "Name:key Value:key Desc Enabled:int=1"),
            define("Nntp", K::Settings, "AnonymousAccess:int"),
            define("TimeIntervals", K::Rows,
                   "Name:key Type:int:key Start:int64:key End:int64:key Days:key Desc "
                   "Enabled:int=1"),
            define("Smtp", K::Settings,
                   "MaxMessageSize:int EtrnTimeout:int VerifySenderDomain:int MaxRecipients:int "
                   "MaxBadCommands:int MaxHops:int"),
            define("DirectoryService", K::Rows,
                   "Domain:key ServerName ServerPort:port=389 SecureConnection:int BindDN "
                   "BindPassword UserBaseDN GroupBaseDN MapFile",
                   true),
            define("SpamFilter", K::Settings,
                   "AssassinEnabled:int CheckRelayedMessages:int ScoreThreshold:int "
                   "ScoreBlock:int InsertSubjectPrefix:int SubjectPrefix BounceIfBlocked:int "
                   "AdminNotify BlacklistAcl WhitelistAcl BlacklistAction:int BlacklistScore:int "
                   "BlacklistScoreNegative:int BounceIfDenied:int AdminNotifyDenied"),
            define("DnsBlacklists", K::Rows,
                   "Domain:key Description Action:int Score:int ScoreNegative:int "
                   "AskDirectly:int",
                   true),
            define("HeaderFilter", K::Rows,
                   "Order:int Enabled:int=1 Header:key Type:int:key Content:key Action:int "
                   "Score:int ScoreNegative:int Description LastHitTimeStamp:int64"),
            define("Alias", K::Rows, "Lhs:key Domain:key Rhs:key Description", true),
            define("MailingList", K::Rows,
                   "Name:key Description Language Comment Footer ModeLogin:int "
                   "ModeratorSubscribeRequestNotify:int SubscribeNotify:int ModeMemberPost:int "
                   "ModeNonmemPost:int ModeModeratorPost:int ModeratorPostRequestNotify:int "
                   "ErrorsToModerator:int ReplyToType:int ReplyToEmail SubjectPrefix "
                   "SenderHide:int EmptySubject:int Domain:key Archive:int User",
                   true),
            define("SmtpRelay", K::Settings,
                   "Enabled:int AllowAcl AllowAuth:int AllowPop3BeforeSmtp:int "
                   "Pop3BeforeSmtpTimeout:int"),
            define("SmtpSecurity", K::Settings,
                   "MaxMessagesIP:int MaxConnectionsIP:int MaxFailedRCPTIP:int NoLimitAcl"),
            define("Backup", K::Settings,
                   "Enabled:int BackupDir AdminNotify RemoteUser Password MaxFileSize:int "
                   "RotationLimit:int LastBackupStatus:int"),
            define("BackupSchedule", K::Rows,
                   "Enabled:int=1 Type:int Date:key Time:int:key Format:int Description"),
            define("Archive", K::Settings, "ArchiveDir"),
            define("Group", K::Rows,
                   "Name:key Domain:key Description MailAddress Rights:int Authorization "
                   "$RowSource:int",
                   true, true),
            define("Pop3", K::Rows,
                   "Server:key User:key Password Description Mbox DropDuplicates:int "
                   "SslMode:int Port:port=110 Auth_type:int Max_msgcount:int Max_msgsize:int64 "
                   "Enabled:int=1"),
            define("Sort", K::Rows, "To:key Account:key Description"),
            define("Scheduler", K::Rows,
                   "TimeType:int:key Time:int:key TimeInt:key Action:int:key AllowDial:int:key "
                   "Desc:key"),
            define("Odmr", K::Rows,
                   "Server:key Domain:key Auth:int User Password Description Enabled:int=1"),
            define("Administration", K::Settings,
                   "NetEnabled:int AdminAcl WebNetEnabled:int WebAdminAcl"),
            define("Log", K::FunctionOnly,
                   "LogName:key StreamURL:key StreamFlags:int RotateCount:int RotateFlags:int "
                   "MaxSize:int64 NextRotate:int"),
            define("LogHighlighting", K::Rows,
                   "Id:key Enabled:int=1 Order:int Description Condition IsRegularExpression:int "
                   "Color"),
    };
    // Statistics counters: all 64-bit, in the order the statistics page reads them.
    std::string counters;
    for (const char *name : {"mtaReceivedMessages",
                             "mtaReceivedVolume",
                             "mtaReceivedRecipients",
                             "mtaStoredMessages",
                             "mtaStoredVolume",
                             "mtaStoredRecipients",
                             "mtaTransmittedMessages",
                             "mtaTransmittedVolume",
                             "mtaTransmittedRecipients",
                             "mtaLocalMessages",
                             "mtaLocalVolume",
                             "mtaLocalRecipients",
                             "mtaMXMessages",
                             "mtaMXVolume",
                             "mtaMXRecipients",
                             "mtaRelayMessages",
                             "mtaRelayVolume",
                             "mtaRelayRecipients",
                             "mtaFailedSoft",
                             "mtaFailedHard",
                             "mtaDsnSentSuccess",
                             "mtaDsnSentDelay",
                             "mtaDsnSentFailure",
                             "mtaAntivirChecked",
                             "mtaAntivirVirusFound",
                             "mtaAntivirAttachFound",
                             "mtaSpamChecked",
                             "mtaSpamTagged",
                             "mtaSpamBlocked",
                             "mtaLargestSize",
                             "mtaLoopsDetected",
                             "SMTPConnections",
                             "SMTPConnLost",
                             "SMTPRejectedRBL",
                             "SMTPAuthReceived",
                             "SMTPAuthFailed",
                             "SMTPRelaysDenied",
                             "SMTPMsgsAccepted",
                             "SMTPClientAttempts",
                             "SMTPClientDnsFailed",
                             "SMTPClientConnFailed",
                             "SMTPClientConnLost",
                             "POP3Connections",
                             "POP3AuthFailed",
                             "POP3MessagesSent",
                             "POP3ClientAttempts",
                             "POP3ClientConnsFailed",
                             "POP3ClientAuthFailed",
                             "POP3ClientMsgsDownloaded",
                             "IMAPConnections",
                             "IMAPAuthFailed",
                             "HTTPConnections",
                             "LDAPServerConnections",
                             "LDAPServerAuthFailed",
                             "LDAPServerMessagesSent",
                             "DNSQueriesHost",
                             "DNSQueriesHostCached",
                             "DNSQueriesMx",
                             "DNSQueriesMxCached",
                             "AbombConnectionsRejected",
                             "AbombMessagesRejected",
                             "AbombHarvestDetected",
                             "MarkedAsJunk",
                             "MarkedAsNotJunk",
                             "TimeStamp"}) {
        counters += std::string(name) + ":int64 ";
    }
    m_tables.push_back(define("Stats", K::ReadOnly, counters));
    for (const auto &service : serviceNames()) {
        m_tables.push_back(define("service-" + service, K::Settings,
                                  "Name FullName DefaultPort:port Running:int AutoStart:int=1 Acl "
                                  "MaxConnections:int"));
    }
}

} // namespace postvane::devserver

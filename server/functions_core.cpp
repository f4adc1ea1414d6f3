// Server information, services, domains and the fault-injection switch.
#include "function_args.h"
#include "server_context.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

namespace postvane::devserver {

namespace {

Reply getCapabilities(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Capability", ColumnType::Text, false}};
    for (const auto &capability : call.server.options.capabilities)
        result.rows.push_back({Cell{capability}});
    return rowSetReply(call, result);
}

Reply getInterfaceAddresses(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Address", ColumnType::IPv4, false}};
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs *entry = list; entry; entry = entry->ifa_next) {
            if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET) {
                const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
                result.rows.push_back({Cell{int64_t(ntohl(address->sin_addr.s_addr))}});
            }
        }
        ::freeifaddrs(list);
    }
    return rowSetReply(call, result);
}

// Whether a service can listen: it has at least one address in
// "ServicePorts", and no other running service holds one of them (the same
// port on the same address, or on all addresses, 0).
bool listenAddressesFree(Database &db, const std::string &service)
{
    struct Endpoint
    {
        int64_t address;
        int64_t port;
    };
    std::vector<Endpoint> own;
    db.query("SELECT IPAddress, Port FROM ServicePorts WHERE lower(Service) = ?", {Cell{service}},
             [&](const std::vector<Cell> &row) {
                 own.push_back({cellInteger(row.at(0)), cellInteger(row.at(1))});
                 return true;
             });
    if (own.empty())
        return false;
    for (const auto &other : serviceNames()) {
        if (other == service
            || db.queryInteger("SELECT Running FROM " + quoteIdentifier("service-" + other)) == 0)
            continue;
        bool clash = false;
        db.query("SELECT IPAddress, Port FROM ServicePorts WHERE lower(Service) = ?", {Cell{other}},
                 [&](const std::vector<Cell> &row) {
                     const int64_t address = cellInteger(row.at(0));
                     const int64_t port = cellInteger(row.at(1));
                     for (const Endpoint &endpoint : own) {
                         clash = clash
                                 || (endpoint.port == port
                                     && (endpoint.address == address || endpoint.address == 0
                                         || address == 0));
                     }
                     return !clash;
                 });
        if (clash)
            return false;
    }
    return true;
}

// start_service("smtp") / stop_service("smtp"): "Result" 1 on success; a
// start gives 0 when the service cannot listen (see above), as a real server
// does when another program holds its port.
Reply setServiceRunning(const FunctionCall &call, bool running)
{
    const std::string &name = argText(call, 0);
    bool known = false;
    for (const auto &service : serviceNames())
        known = known || equalsIgnoreCase(service, name);
    if (!known)
        return Reply::failure(status::FunctionParameters);
    const std::string table = "service-" + toLower(name);
    if (running && !listenAddressesFree(call.server.db, toLower(name)))
        return integerReply(call, "Result", 0);
    call.server.db.write("UPDATE " + quoteIdentifier(table) + " SET Running = ?",
                         {Cell{int64_t(running ? 1 : 0)}});
    std::vector<std::string> line
            = {std::string(running ? "SERVICE: started " : "SERVICE: stopped ") + toLower(name)
               + " on request of " + call.session.user + "@" + call.session.domain};
    call.server.appendLog(call.server.logs.id("config"), line);
    return integerReply(call, "Result", 1);
}

Reply getAuthTypes(const FunctionCall &call)
{
    // PAM service and Kerberos realm are offered; NT domains are not.
    return integerReply(call, "AuthTypes", 2 | 4);
}

Reply webmailLogoGet(const FunctionCall &call)
{
    const std::string &domain = argText(call, 0);
    if (!call.server.db.queryInteger("SELECT count(*) FROM Domain WHERE Domain = ?",
                                     {Cell{domain}}))
        return Reply::failure(status::FunctionParameters);
    std::string logo;
    call.server.db.query("SELECT Logo FROM Domain WHERE Domain = ?", {Cell{domain}},
                         [&](const std::vector<Cell> &row) {
                             logo = cellText(row[0]);
                             return false;
                         });
    ResultSet result;
    result.columns = {{"Logo", ColumnType::Binary, false}};
    result.rows = {{Cell{logo}}};
    return rowSetReply(call, result);
}

// Tests the directory connection described by the arguments (server, port,
// secure, bind DN, password, user base, group base, map file).
Reply ldapTest(const FunctionCall &call)
{
    const std::string &server = argText(call, 0);
    if (server.empty() || server.find("unreachable") != std::string::npos)
        return Reply::failure(status::LdapUnavailable);
    const std::string port = argText(call, 1).empty() ? "389" : argText(call, 1);
    ResultSet result;
    result.columns = {{"Result", ColumnType::Int32, false}, {"Message", ColumnType::Text, false}};
    result.rows
            = {{Cell{int64_t(0)},
                Cell{"Connected to " + server + ":" + port + ", directory extensions present"}}};
    return rowSetReply(call, result);
}

Reply bayesStatistics(const FunctionCall &call)
{
    int64_t spam = 0;
    int64_t ham = 0;
    call.server.db.query("SELECT MarkedAsJunk, MarkedAsNotJunk FROM Stats", {},
                         [&](const std::vector<Cell> &row) {
                             spam = cellInteger(row[0]) * 25;
                             ham = cellInteger(row[1]) * 90;
                             return false;
                         });
    ResultSet result;
    result.columns = {{"Number of spam", ColumnType::Int64, false},
                      {"Number of ham", ColumnType::Int64, false}};
    result.rows = {{Cell{spam}, Cell{ham}}};
    return rowSetReply(call, result);
}

Reply mailPlugins(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Name", ColumnType::Text, false}};
    for (const char *plugin : {"spamlearn", "autoreply", "virusscan"})
        result.rows.push_back({Cell{std::string(plugin)}});
    return rowSetReply(call, result);
}

// DevServerFault(name, value[, pattern]): switches fault injection at run time.
// Reads lower- or upper-case hex digits; false for anything else.
bool fromHexText(std::string_view hex, std::string &bytes)
{
    if (hex.size() % 2)
        return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        for (char c : hex.substr(i, 2)) {
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        bytes += static_cast<char>(value);
    }
    return true;
}

Reply devServerFault(const FunctionCall &call)
{
    // DevServerFault('datagram', HEX): these exact bytes to every notification
    // endpoint, from the server's own port (tests of the console's channel).
    if (equalsIgnoreCase(argText(call, 0), "datagram")) {
        std::string datagram;
        if (!fromHexText(argText(call, 1), datagram) || datagram.empty() || datagram.size() > 1500)
            return Reply::failure(status::FunctionParameters);
        call.server.notifier.broadcastRaw(datagram);
        return acknowledge();
    }
    if (!call.server.faults.apply(argText(call, 0), argText(call, 1), argText(call, 2)))
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

} // namespace

void registerCoreFunctions(FunctionRegistry &registry)
{
    registry.add("GetCapabilities", {getCapabilities, false, 0, 0});
    registry.add("GetInterfaceAddresses", {getInterfaceAddresses, false, 0, 0});
    registry.add(
            "start_service",
            {[](const FunctionCall &call) { return setServiceRunning(call, true); }, true, 1, 1});
    registry.add(
            "stop_service",
            {[](const FunctionCall &call) { return setServiceRunning(call, false); }, true, 1, 1});
    registry.add("get_auth_types", {getAuthTypes, false, 0, 0});
    registry.add("WebmailLogoGet", {webmailLogoGet, false, 1, 1});
    registry.add("LdapTestPvnExtensions", {ldapTest, false, 1, 8});
    registry.add("SpamFilter::GetBayesStatistics", {bayesStatistics, false, 0, 0});
    registry.add("GetMailPlugins", {mailPlugins, false, 0, 0});
    registry.add("DevServerFault", {devServerFault, true, 1, 3});
}

} // namespace postvane::devserver

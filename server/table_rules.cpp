#include "table_rules.h"

#include "cell.h"
#include "database.h"
#include "password.h"
#include "reply.h"
#include "server_context.h"

namespace postvane::devserver::TableRules {

namespace {

constexpr std::string_view kDirectoryOff = "LDAP.$$$DEL$$$.^^.D";
constexpr std::string_view kDirectoryIgnore = "LDAP.$$$IGN$$$.^^.I";

bool holdsDialogMarker(const RowValues &values)
{
    for (const auto &[name, value] : values) {
        const std::string text = cellText(value);
        if (text.find(".$$$ADD$$$.") != std::string::npos
            || text.find(".$$$DEL$$$.") != std::string::npos)
            return true;
    }
    return false;
}

std::string textOf(const RowValues &values, const std::string &column)
{
    auto found = values.find(column);
    return found == values.end() ? std::string() : cellText(found->second);
}

} // namespace

bool secret(const ColumnDef &column)
{
    return equalsIgnoreCase(column.name, "Password")
            || equalsIgnoreCase(column.name, "BindPassword");
}

// The login password of an account is only ever stored as a hash.
static void hashUserPassword(const TableDef &table, RowValues &values)
{
    if (table.name != "User")
        return;
    const auto password = values.find("Password");
    if (password != values.end())
        password->second = Cell{storedPasswordForm(cellText(password->second))};
}

bool writable(const TableDef &table, const ColumnDef &column)
{
    // A service runs or stops only through start_service()/stop_service().
    return !(table.name.starts_with("service-") && column.name == "Running");
}

std::string withoutGroup(const std::string &groups, const std::string &group)
{
    std::string result;
    size_t pos = 0;
    while (pos <= groups.size()) {
        size_t end = groups.find(',', pos);
        if (end == std::string::npos)
            end = groups.size();
        const std::string section = groups.substr(pos, end - pos);
        if (!section.empty() && section != group)
            result += (result.empty() ? "" : ",") + section;
        pos = end + 1;
    }
    return result;
}

uint32_t beforeInsert(ServerContext &server, const TableDef &table, RowValues &values)
{
    hashUserPassword(table, values);
    if (table.name == "Domain") {
        if (holdsDialogMarker(values))
            return status::WrongRequest;
        if (!values.count("ID"))
            values["ID"] = Cell{
                    server.db.queryInteger("SELECT coalesce(max(\"ID\"), 0) + 1 FROM Domain")};
    } else if (table.name == "DirectoryService") {
        if (textOf(values, "Domain") == kDirectoryIgnore)
            return Skip;
    } else if (table.name == "User") {
        const std::string domain = textOf(values, "Domain");
        const int64_t limit = server.db.queryInteger(
                "SELECT MaxUserCount FROM Domain WHERE Domain = ? COLLATE NOCASE", {Cell{domain}});
        if (limit > 0
            && server.db.queryInteger("SELECT count(*) FROM \"User\" WHERE Domain = ?",
                                      {Cell{domain}})
                    >= limit)
            return status::SizeLimit;
    }
    return status::Ok;
}

uint32_t beforeUpdate(ServerContext &server, const TableDef &table, RowValues &values,
                      const std::string &where, const std::vector<Cell> &whereBinds)
{
    hashUserPassword(table, values);
    if (table.name == "Domain" && holdsDialogMarker(values))
        return status::WrongRequest;
    if (table.name == "DirectoryService" && textOf(values, "Domain") == kDirectoryOff) {
        // Switching the directory service off removes the binding.
        server.db.write("DELETE FROM DirectoryService" + where, whereBinds);
        return Skip;
    }
    return status::Ok;
}

uint32_t beforeDelete(ServerContext &server, const TableDef &table, const std::string &where,
                      const std::vector<Cell> &whereBinds)
{
    if (table.name != "Group")
        return status::Ok;
    // Members refer to groups by name in their "Groups" list.
    std::vector<std::pair<std::string, std::string>> groups;
    server.db.query("SELECT Name, Domain FROM \"Group\"" + where, whereBinds,
                    [&](const std::vector<Cell> &row) {
                        groups.emplace_back(cellText(row[0]), cellText(row[1]));
                        return true;
                    });
    for (const auto &[name, domain] : groups) {
        std::vector<std::pair<int64_t, std::string>> members;
        server.db.query("SELECT rowid, Groups FROM \"User\" WHERE Domain = ? AND Groups <> ''",
                        {Cell{domain}}, [&](const std::vector<Cell> &row) {
                            members.emplace_back(cellInteger(row[0]), cellText(row[1]));
                            return true;
                        });
        for (const auto &[rowid, list] : members) {
            const std::string updated = withoutGroup(list, name);
            if (updated != list)
                server.db.write("UPDATE \"User\" SET Groups = ? WHERE rowid = ?",
                                {Cell{updated}, Cell{rowid}});
        }
    }
    return status::Ok;
}

} // namespace postvane::devserver::TableRules

// Mail stores, folders, aliases, mailing lists, address books, directories on
// the server (inside the data folder's sandbox), backups and downloads.
#include "function_args.h"
#include "server_context.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace postvane::devserver {

namespace {

namespace fs = std::filesystem;

// ",a,b," so that ",x," finds a whole section of a comma-separated list.
std::string fenced(std::string_view list)
{
    std::string out;
    out.reserve(list.size() + 2);
    out.push_back(',');
    out.append(list);
    out.push_back(',');
    return out;
}

std::pair<std::string, std::string> splitAddress(ServerContext &server, const std::string &address)
{
    const size_t at = address.rfind('@');
    if (at != std::string::npos)
        return {address.substr(0, at), address.substr(at + 1)};
    std::string primary;
    server.db.query("SELECT Domain FROM Domain WHERE Type = 0 ORDER BY rowid LIMIT 1", {},
                    [&](const std::vector<Cell> &row) {
                        primary = cellText(row[0]);
                        return false;
                    });
    return {address, primary};
}

bool userExists(ServerContext &server, const std::string &address)
{
    auto [name, domain] = splitAddress(server, address);
    return server.db.queryInteger("SELECT count(*) FROM \"User\" WHERE Name = ? AND Domain = ?",
                                  {Cell{name}, Cell{domain}})
            != 0;
}

std::string canonicalAccount(ServerContext &server, const std::string &address)
{
    auto [name, domain] = splitAddress(server, address);
    return toLower(name + "@" + domain);
}

Reply showUserStats(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Name", ColumnType::Text, false},
                      {"QuotaStorage", ColumnType::Int64, false},
                      {"QuotaMessage", ColumnType::Int64, false},
                      {"LastLogin", ColumnType::Int64, false}};
    call.server.db.query(
            "SELECT u.Name, coalesce(m.storage, 0), coalesce(m.messages, 0), "
            "coalesce(m.lastlogin, 0) FROM \"User\" u LEFT JOIN _MailStore m ON m.account = "
            "u.Name || '@' || u.Domain WHERE u.Domain = ? AND u.\"_active\" <> 0 ORDER BY u.rowid",
            {Cell{argText(call, 0)}}, [&](const std::vector<Cell> &row) {
                result.rows.push_back(row);
                return true;
            });
    return rowSetReply(call, result);
}

Reply moveUserToFolder(const FunctionCall &call)
{
    const std::string from = canonicalAccount(call.server, argText(call, 0));
    const std::string to = canonicalAccount(call.server, argText(call, 1));
    if (from == to || !userExists(call.server, argText(call, 1)))
        return Reply::failure(status::FunctionParameters);
    call.server.db.transaction([&] {
        call.server.db.write("INSERT OR IGNORE INTO _MailStore VALUES (?, 0, 0, 0, 0)", {Cell{to}});
        call.server.db.write(
                "UPDATE _MailStore SET storage = storage + coalesce((SELECT storage FROM "
                "_MailStore WHERE account = ?1), 0), messages = messages + coalesce((SELECT "
                "messages FROM _MailStore WHERE account = ?1), 0) WHERE account = ?2",
                {Cell{from}, Cell{to}});
        call.server.db.write("DELETE FROM _MailStore WHERE account = ?", {Cell{from}});
        return true;
    });
    return acknowledge();
}

Reply deleteUserFolder(const FunctionCall &call)
{
    call.server.db.write("DELETE FROM _MailStore WHERE account = ?",
                         {Cell{canonicalAccount(call.server, argText(call, 0))}});
    return acknowledge();
}

Reply restoreMessages(const FunctionCall &call)
{
    const std::string account = canonicalAccount(call.server, argText(call, 0));
    if (!userExists(call.server, argText(call, 0)))
        return Reply::failure(status::FunctionParameters);
    const int64_t restored = call.server.db.queryInteger(
            "SELECT deleted FROM _MailStore WHERE account = ?", {Cell{account}});
    call.server.db.write(
            "UPDATE _MailStore SET messages = messages + deleted, deleted = 0 WHERE account = ?",
            {Cell{account}});
    ResultSet result;
    result.columns = {{"Result", ColumnType::Int32, false}, {"Count", ColumnType::Int64, false}};
    result.rows = {{Cell{int64_t(0)}, Cell{restored}}};
    return rowSetReply(call, result);
}

Reply folderGetAcl(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Name", ColumnType::Text, false}, {"Rights", ColumnType::Text, false}};
    call.server.db.query("SELECT account, rights FROM _FolderAcl WHERE folder = ? ORDER BY rowid",
                         {Cell{argText(call, 0)}}, [&](const std::vector<Cell> &row) {
                             result.rows.push_back(row);
                             return true;
                         });
    return rowSetReply(call, result);
}

// FolderSetAcl(folder, account, rights, recursive): empty rights remove the entry.
Reply folderSetAcl(const FunctionCall &call)
{
    const std::string &folder = argText(call, 0);
    const std::string &account = argText(call, 1);
    const std::string &rights = argText(call, 2);
    if (!folder.starts_with("#") || account.empty())
        return Reply::failure(status::FunctionParameters);
    call.server.db.transaction([&] {
        if (rights.empty())
            call.server.db.write("DELETE FROM _FolderAcl WHERE folder = ? AND account = ?",
                                 {Cell{folder}, Cell{account}});
        else
            call.server.db.write("INSERT OR REPLACE INTO _FolderAcl VALUES (?, ?, ?)",
                                 {Cell{folder}, Cell{account}, Cell{rights}});
        if (folder == "#public") {
            // The holder of the administration right is the public-folder admin.
            if (rights.find('a') != std::string::npos)
                call.server.db.write("UPDATE PublicFolders SET PublicAdmin = ?", {Cell{account}});
            else
                call.server.db.write("UPDATE PublicFolders SET PublicAdmin = '' WHERE "
                                     "PublicAdmin = ? COLLATE NOCASE",
                                     {Cell{account}});
        }
        return true;
    });
    return acknowledge();
}

// Resolves an address the way delivery would; depth limits alias loops.
void resolve(ServerContext &server, const std::string &address, int depth,
             std::vector<std::string> &out)
{
    auto push = [&](const std::string &recipient) {
        for (const auto &existing : out) {
            if (equalsIgnoreCase(existing, recipient))
                return;
        }
        out.push_back(recipient);
    };
    if (depth > 8)
        return;
    const auto parts = splitAddress(server, address);
    const std::string local = parts.first;
    std::string domain = parts.second;
    std::string target;
    server.db.query("SELECT Alias FROM Domain WHERE Domain = ? AND Type = 2", {Cell{domain}},
                    [&](const std::vector<Cell> &row) {
                        target = cellText(row[0]);
                        return false;
                    });
    if (!target.empty())
        domain = target;
    auto groupMembers = [&](const std::string &group) {
        server.db.query("SELECT Name, Groups FROM \"User\" WHERE Domain = ? AND \"_active\" <> 0",
                        {Cell{domain}}, [&](const std::vector<Cell> &row) {
                            const std::string groups = fenced(cellText(row[1]));
                            if (groups.find(fenced(group)) != std::string::npos)
                                push(cellText(row[0]) + "@" + domain);
                            return true;
                        });
    };
    // Aliases: exact names first, wildcards only when no exact alias exists.
    std::vector<std::pair<std::string, std::string>> aliases;
    server.db.query("SELECT Lhs, Rhs FROM Alias WHERE Domain = ? ORDER BY rowid", {Cell{domain}},
                    [&](const std::vector<Cell> &row) {
                        aliases.emplace_back(cellText(row[0]), cellText(row[1]));
                        return true;
                    });
    std::vector<std::string> targets;
    for (const auto &[lhs, rhs] : aliases) {
        if (equalsIgnoreCase(lhs, local))
            targets.push_back(rhs);
    }
    bool isUser = false;
    server.db.query("SELECT Name, MailAddress FROM \"User\" WHERE Domain = ? AND \"_active\" <> 0",
                    {Cell{domain}}, [&](const std::vector<Cell> &row) {
                        const std::string addresses = fenced(toLower(cellText(row[1])));
                        if (equalsIgnoreCase(cellText(row[0]), local)
                            || addresses.find(fenced(toLower(local))) != std::string::npos) {
                            push(cellText(row[0]) + "@" + domain);
                            isUser = true;
                        }
                        return !isUser;
                    });
    if (targets.empty() && !isUser) {
        for (const auto &[lhs, rhs] : aliases) {
            if (lhs.find('*') != std::string::npos) {
                const std::string prefix = lhs.substr(0, lhs.find('*'));
                const std::string suffix = lhs.substr(lhs.find('*') + 1);
                if (local.size() >= prefix.size() + suffix.size()
                    && equalsIgnoreCase(local.substr(0, prefix.size()), prefix)
                    && equalsIgnoreCase(local.substr(local.size() - suffix.size()), suffix))
                    targets.push_back(rhs);
            }
        }
    }
    for (const auto &rhs : targets) {
        if (rhs.starts_with("#") || rhs.starts_with("|"))
            push(rhs);
        else if (rhs.size() > 2 && rhs.front() == '[' && rhs.back() == ']')
            groupMembers(rhs.substr(1, rhs.size() - 2));
        else
            resolve(server, rhs.find('@') == std::string::npos ? rhs + "@" + domain : rhs,
                    depth + 1, out);
    }
    if (!targets.empty() || isUser)
        return;
    // Groups by their own addresses, then mailing lists by name.
    std::vector<std::string> groups;
    server.db.query("SELECT Name, MailAddress FROM \"Group\" WHERE Domain = ? AND \"_active\" <> 0",
                    {Cell{domain}}, [&](const std::vector<Cell> &row) {
                        const std::string addresses = fenced(toLower(cellText(row[1])));
                        if (addresses.find(fenced(toLower(local))) != std::string::npos)
                            groups.push_back(cellText(row[0]));
                        return true;
                    });
    for (const auto &group : groups)
        groupMembers(group);
    if (!groups.empty())
        return;
    server.db.query("SELECT email FROM _MListMember WHERE list = ? AND domain = ? AND kind = "
                    "'members' ORDER BY rowid",
                    {Cell{local}, Cell{domain}}, [&](const std::vector<Cell> &row) {
                        push(cellText(row[0]));
                        return true;
                    });
    // An address outside the local domains is delivered as it stands.
    if (out.empty()
        && !server.db.queryInteger("SELECT count(*) FROM Domain WHERE Domain = ?", {Cell{domain}}))
        push(local + "@" + domain);
}

Reply checkAlias(const FunctionCall &call)
{
    std::vector<std::string> recipients;
    if (!argText(call, 0).empty())
        resolve(call.server, argText(call, 0), 0, recipients);
    ResultSet result;
    result.columns = {{"Recipient", ColumnType::Text, false}};
    for (const auto &recipient : recipients)
        result.rows.push_back({Cell{recipient}});
    return rowSetReply(call, result);
}

Reply folderList(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Name", ColumnType::Text, false},
                      {"Type", ColumnType::Int32, false},
                      {"Listable", ColumnType::Int32, false}};
    call.server.db.query("SELECT name, type, listable FROM _PublicFolder WHERE domain = ? ORDER "
                         "BY rowid",
                         {Cell{argText(call, 0)}}, [&](const std::vector<Cell> &row) {
                             result.rows.push_back(row);
                             return true;
                         });
    return rowSetReply(call, result);
}

// Checks list name, domain and roster kind of the MList* calls.
bool validList(const FunctionCall &call, size_t kindIndex)
{
    const std::string &kind = argText(call, kindIndex);
    if (kind != "members" && kind != "moderators")
        return false;
    return call.server.db.queryInteger(
                   "SELECT count(*) FROM MailingList WHERE Name = ? AND Domain = ?",
                   {Cell{argText(call, 0)}, Cell{argText(call, 1)}})
            != 0;
}

Reply mlistList(const FunctionCall &call)
{
    if (!validList(call, 2))
        return Reply::failure(status::FunctionParameters);
    ResultSet result;
    result.columns = {{"Email", ColumnType::Text, false}, {"FullName", ColumnType::Text, false}};
    call.server.db.query("SELECT email, fullname FROM _MListMember WHERE list = ? AND domain = ? "
                         "AND kind = ? ORDER BY rowid",
                         {Cell{argText(call, 0)}, Cell{argText(call, 1)}, Cell{argText(call, 2)}},
                         [&](const std::vector<Cell> &row) {
                             result.rows.push_back(row);
                             return true;
                         });
    return rowSetReply(call, result);
}

Reply mlistAdd(const FunctionCall &call)
{
    if (!validList(call, 3) || argText(call, 2).empty())
        return Reply::failure(status::FunctionParameters);
    const WriteOutcome outcome = call.server.db.write(
            "INSERT INTO _MListMember VALUES (?, ?, ?, ?, ?)",
            {Cell{argText(call, 0)}, Cell{argText(call, 1)}, Cell{argText(call, 3)},
             Cell{argText(call, 2)}, Cell{argText(call, 4)}});
    if (!outcome.ok())
        return Reply::failure(outcome.constraintViolation() ? status::DuplicateKey
                                                            : status::FunctionParameters);
    return acknowledge();
}

// MListChange(list, domain, old email, old name, new email, new name, kind)
Reply mlistChange(const FunctionCall &call)
{
    if (!validList(call, 6) || argText(call, 4).empty())
        return Reply::failure(status::FunctionParameters);
    const WriteOutcome outcome = call.server.db.write(
            "UPDATE _MListMember SET email = ?, fullname = ? WHERE list = ? AND domain = ? AND "
            "kind = ? AND email = ?",
            {Cell{argText(call, 4)}, Cell{argText(call, 5)}, Cell{argText(call, 0)},
             Cell{argText(call, 1)}, Cell{argText(call, 6)}, Cell{argText(call, 2)}});
    if (!outcome.ok())
        return Reply::failure(outcome.constraintViolation() ? status::DuplicateKey
                                                            : status::FunctionParameters);
    if (outcome.changes == 0)
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

Reply mlistDel(const FunctionCall &call)
{
    if (!validList(call, 3))
        return Reply::failure(status::FunctionParameters);
    const WriteOutcome outcome = call.server.db.write(
            "DELETE FROM _MListMember WHERE list = ? AND domain = ? AND kind = ? AND email = ?",
            {Cell{argText(call, 0)}, Cell{argText(call, 1)}, Cell{argText(call, 3)},
             Cell{argText(call, 2)}});
    if (outcome.changes == 0)
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

// Maps a server path ("C:\backup", "/backup") into the sandbox folder inside the
// data folder; nullopt for a path that tries to leave it, by ".." or through a
// symbolic link that points outside.
std::optional<fs::path> sandboxPath(const FunctionCall &call, std::string path)
{
    if (path.size() >= 2 && path[1] == ':')
        path = path.substr(2); // drive letters mean nothing here
    for (char &c : path) {
        if (c == '\\')
            c = '/';
    }
    fs::path resolved = fs::path(call.server.options.dataDir) / "files";
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(pos, end - pos);
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".")
            resolved /= part;
        pos = end + 1;
    }
    std::error_code error;
    const fs::path root
            = fs::weakly_canonical(fs::path(call.server.options.dataDir) / "files", error);
    if (error)
        return std::nullopt;
    const fs::path real = fs::weakly_canonical(resolved, error);
    if (error)
        return std::nullopt;
    // Component by component: "files-other" is not inside "files".
    auto inside = real.begin();
    for (auto part = root.begin(); part != root.end(); ++part, ++inside) {
        if (inside == real.end() || *inside != *part)
            return std::nullopt;
    }
    return real;
}

void ensureSandbox(const FunctionCall &call)
{
    std::error_code ignored;
    const fs::path root = fs::path(call.server.options.dataDir) / "files";
    for (const char *folder : {"backup/postvane", "archive/postvane", "store/mail", "temp"})
        fs::create_directories(root / folder, ignored);
}

Reply listDir(const FunctionCall &call)
{
    ensureSandbox(call);
    auto path = sandboxPath(call, argText(call, 0));
    std::error_code error;
    if (!path || !fs::is_directory(*path, error))
        return Reply::failure(status::FunctionParameters);
    ResultSet result;
    result.columns = {{"Name", ColumnType::Text, false}};
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(*path, error)) {
        std::error_code typeError;
        if (entry.is_directory(typeError) && !entry.is_symlink(typeError))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const auto &name : names)
        result.rows.push_back({Cell{name}});
    return rowSetReply(call, result);
}

// AccessDir(path, mode[, user[, password]]): "Result" 0 ok, 1 missing or not
// created, 2 permissions missing, 3 internal error.
Reply accessDir(const FunctionCall &call)
{
    ensureSandbox(call);
    auto path = sandboxPath(call, argText(call, 0));
    const auto mode = argInteger(call, 1);
    if (!mode)
        return Reply::failure(status::FunctionParameters);
    if (!path)
        return integerReply(call, "Result", 2);
    std::error_code error;
    if (*mode == 1 && !fs::exists(*path, error)) {
        // Creating a folder changes the server: only with the write right.
        if (!call.session.canWrite)
            return Reply::failure(status::FunctionAccessDenied);
        fs::create_directories(*path, error);
    }
    if (!fs::is_directory(*path, error))
        return integerReply(call, "Result", 1);
    if (::access(path->c_str(), R_OK | W_OK | X_OK) != 0)
        return integerReply(call, "Result", 2);
    return integerReply(call, "Result", 0);
}

Reply storeBackupCreate(const FunctionCall &call)
{
    int64_t idle = 0;
    call.server.backupStarted.compare_exchange_strong(idle, ServerContext::now());
    call.server.appendLog(call.server.logs.id("mail"), {"BACKUP: backup started on request"});
    return acknowledge();
}

// Progress grows ten percent a second; a finished backup records its status.
Reply getCurrentBackup(const FunctionCall &call)
{
    const int64_t started = call.server.backupStarted.load();
    int64_t progress = -1;
    if (started) {
        progress = (ServerContext::now() - started) * 10;
        if (progress >= 100) {
            int64_t expected = started;
            if (call.server.backupStarted.compare_exchange_strong(expected, 0)) {
                call.server.db.write("UPDATE Backup SET LastBackupStatus = 0");
                call.server.appendLog(call.server.logs.id("mail"),
                                      {"BACKUP: backup finished successfully"});
            }
            progress = -1;
        }
    }
    ResultSet result;
    result.columns
            = {{"Progress", ColumnType::Int32, false}, {"BackupStarted", ColumnType::Int32, false}};
    result.rows = {{Cell{progress}, Cell{progress < 0 ? int64_t(0) : started}}};
    return rowSetReply(call, result);
}

// AddressBookAdd(folder, display name, address...)
Reply addressBookAdd(const FunctionCall &call)
{
    const std::string &folder = argText(call, 0);
    if (!folder.starts_with("#public") || argText(call, 1).empty())
        return Reply::failure(status::FunctionParameters);
    std::string addresses;
    for (size_t i = 2; i < call.args.size(); ++i)
        addresses += (i > 2 ? "," : "") + call.args[i].text;
    call.server.db.write("INSERT INTO _Contact VALUES (?, ?, ?)",
                         {Cell{folder}, Cell{argText(call, 1)}, Cell{addresses}});
    return acknowledge();
}

// run_pop3() / run_odmr(): log one line per enabled account and report "started".
Reply runDownloads(const FunctionCall &call, const char *table, const char *what)
{
    std::vector<std::string> lines;
    const std::string sql = std::string("SELECT Server, ")
            + (std::string(table) == "Pop3" ? "User" : "Domain") + " FROM " + table
            + " WHERE Enabled <> 0 ORDER BY rowid";
    call.server.db.query(sql, {}, [&](const std::vector<Cell> &row) {
        lines.push_back(std::string(what) + ": connecting to " + cellText(row[0]) + " for "
                        + cellText(row[1]) + ", 0 new messages");
        return true;
    });
    if (lines.empty())
        lines.push_back(std::string(what) + ": no enabled accounts");
    call.server.appendLog(call.server.logs.id("mail"), lines);
    return integerReply(call, "result", 1);
}

} // namespace

void registerMailFunctions(FunctionRegistry &registry)
{
    registry.add("ShowUserStats", {showUserStats, false, 1, 1});
    registry.add("MoveUserToFld", {moveUserToFolder, true, 2, 2});
    registry.add("DeleteUserFld", {deleteUserFolder, true, 1, 1});
    registry.add("RestoreMsgs", {restoreMessages, true, 1, 1});
    registry.add("FolderGetAcl", {folderGetAcl, false, 1, 2});
    registry.add("FolderSetAcl", {folderSetAcl, true, 4, 4});
    registry.add("check_alias", {checkAlias, false, 1, 1});
    registry.add("FolderList", {folderList, false, 1, 2});
    registry.add("MListList", {mlistList, false, 3, 3});
    registry.add("MListAdd", {mlistAdd, true, 5, 5});
    registry.add("MListChange", {mlistChange, true, 7, 7});
    registry.add("MListDel", {mlistDel, true, 4, 4});
    registry.add("ListDir", {listDir, false, 1, 3});
    registry.add("AccessDir", {accessDir, false, 2, 4});
    registry.add("StoreBackupCreate", {storeBackupCreate, true, 0, 0});
    registry.add("GetCurrentBackup", {getCurrentBackup, false, 0, 0});
    registry.add("AddressBookAdd", {addressBookAdd, true, 2, 64});
    registry.add("run_pop3",
                 {[](const FunctionCall &call) { return runDownloads(call, "Pop3", "POP3"); }, true,
                  0, 0});
    registry.add("run_odmr",
                 {[](const FunctionCall &call) { return runDownloads(call, "Odmr", "ETRN"); }, true,
                  0, 0});
}

} // namespace postvane::devserver

#include "statement_executor.h"

#include "function_registry.h"
#include "result_block.h"
#include "server_context.h"
#include "statement_parser.h"
#include "table_rules.h"

namespace postvane::devserver {

namespace {

constexpr std::string_view kRowSource = "$RowSource";

// The answer to a write: a rule that skipped the statement still succeeded.
Reply writeReply(uint32_t outcome)
{
    if (outcome == TableRules::Skip || outcome == status::Ok)
        return Reply{status::Ok, 0, encodeAcknowledgement()};
    return Reply::failure(outcome);
}

// Converts a statement literal into the value stored for a column.
std::optional<Cell> literalCell(const ColumnDef &column, const Literal &literal)
{
    if (literal.form == Literal::Form::List) {
        if (column.type == ColumnType::List)
            return Cell{literal.items};
        return cellFromText(column.type, literal.text);
    }
    return cellFromText(column.type, literal.text);
}

// " WHERE ..." over the conditions with bound values; a failing status otherwise.
uint32_t buildConditions(const TableDef &table, const std::vector<Condition> &conditions,
                         std::string &sql, std::vector<Cell> &binds)
{
    for (size_t i = 0; i < conditions.size(); ++i) {
        const Condition &condition = conditions[i];
        const ColumnDef *column = table.column(condition.column);
        if (!column)
            return status::ColumnNotFound;
        auto value = literalCell(*column, condition.value);
        if (!value)
            return status::WrongRequest;
        sql += i == 0 ? " WHERE " : " AND ";
        sql += quoteIdentifier(column->name) + " " + condition.op + " ?";
        binds.push_back(std::move(*value));
    }
    return status::Ok;
}

void addActiveFilter(std::string &sql, const std::string &filter)
{
    sql += sql.find(" WHERE ") == std::string::npos ? " WHERE " : " AND ";
    sql += filter;
}

struct Controls
{
    bool listInactive = false;
    bool activate = false;
    bool deactivate = false;
    std::optional<int64_t> providerId;
};

uint32_t readControls(const std::vector<Control> &controls, Controls &out)
{
    for (const auto &control : controls) {
        auto value = parseInteger(control.value.text);
        if (!value)
            return status::WrongRequest;
        if (equalsIgnoreCase(control.name, "LDAPListInactive"))
            out.listInactive = *value != 0;
        else if (equalsIgnoreCase(control.name, "LdapActiveSet"))
            out.activate = *value != 0;
        else if (equalsIgnoreCase(control.name, "LdapActiveReSet"))
            out.deactivate = *value != 0;
        else if (equalsIgnoreCase(control.name, "ProviderID"))
            out.providerId = *value;
        else
            return status::ParseError;
    }
    return status::Ok;
}

} // namespace

StatementExecutor::StatementExecutor(ServerContext &server)
    : m_server(server)
{ }

Reply StatementExecutor::execute(std::string_view text, const SessionInfo &session)
{
    ParseResult parsed = parseStatement(text);
    if (!parsed.ok)
        return Reply::failure(status::ParseError, static_cast<uint32_t>(parsed.errorOffset));
    // A write the storage refused is answered as such, whatever the statement
    // or function made of the failure.
    const StorageFailureWatch storage;
    Reply reply = execute(parsed.statement, session);
    if (storage.failureCode() != 0)
        return Reply::failure(status::StorageFailure, static_cast<uint32_t>(storage.failureCode()));
    return reply;
}

Reply StatementExecutor::execute(const Statement &statement, const SessionInfo &session)
{
    if (statement.kind == Statement::Kind::Call) {
        const FunctionEntry *entry = m_server.functions.find(statement.function);
        if (!entry)
            return Reply::failure(status::FunctionNotFound);
        if (entry->changesData && !session.canWrite)
            return Reply::failure(status::FunctionAccessDenied);
        if (statement.arguments.size() < entry->minArgs
            || statement.arguments.size() > entry->maxArgs)
            return Reply::failure(status::FunctionParameters);
        return entry->handler(FunctionCall{m_server, session, statement.arguments});
    }
    const TableDef *table = Schema::instance().table(statement.table);
    if (!table)
        return Reply::failure(status::TableNotFound);
    switch (statement.kind) {
    case Statement::Kind::Select:
        return select(*table, statement, session);
    case Statement::Kind::Insert:
    case Statement::Kind::Update:
    case Statement::Kind::Delete:
        if (!session.canWrite)
            return Reply::failure(status::FunctionAccessDenied);
        if (statement.kind == Statement::Kind::Insert)
            return insert(*table, statement, session);
        if (statement.kind == Statement::Kind::Update)
            return update(*table, statement, session);
        return remove(*table, statement, session);
    case Statement::Kind::Call:
        break;
    }
    return Reply::failure(status::ParseError);
}

Reply StatementExecutor::select(const TableDef &table, const Statement &statement,
                                const SessionInfo &session)
{
    std::vector<const ColumnDef *> columns;
    bool count = false;
    if (statement.allColumns) {
        for (const auto &column : table.columns)
            columns.push_back(&column);
    } else {
        for (const auto &name : statement.columns) {
            if (name == "count()") {
                count = true;
                continue;
            }
            const ColumnDef *column = table.column(name);
            if (!column)
                return Reply::failure(status::ColumnNotFound);
            columns.push_back(column);
        }
        if (count && !columns.empty())
            return Reply::failure(status::ParseError);
    }
    // Without the write right a password can neither be read nor probed.
    if (!session.canWrite) {
        for (const Condition &condition : statement.conditions) {
            const ColumnDef *column = table.column(condition.column);
            if (column && TableRules::secret(*column))
                return Reply::failure(status::AccessDenied);
        }
    }
    Controls controls;
    if (uint32_t code = readControls(statement.controls, controls))
        return Reply::failure(code);

    std::string sql = "SELECT ";
    if (count) {
        sql += "count(*)";
    } else {
        for (size_t i = 0; i < columns.size(); ++i)
            sql += (i ? ", " : "") + quoteIdentifier(columns[i]->name);
    }
    sql += " FROM " + quoteIdentifier(table.name);
    std::vector<Cell> binds;
    if (uint32_t code = buildConditions(table, statement.conditions, sql, binds))
        return Reply::failure(code);
    if (table.directoryAware)
        addActiveFilter(sql,
                        controls.listInactive ? "\"_active\" = 0 AND \"$RowSource\" <> 0"
                                              : "\"_active\" <> 0");
    if (!count)
        sql += " ORDER BY rowid";

    std::vector<ResultColumn> resultColumns;
    if (count) {
        resultColumns.push_back({"count", ColumnType::Int32, false});
    } else {
        for (const ColumnDef *column : columns)
            resultColumns.push_back({column->name, column->type, column->key});
    }
    // Info's clock columns are live values rather than stored ones.
    std::vector<std::optional<int64_t>> live(resultColumns.size());
    std::vector<bool> hidden(resultColumns.size(), false);
    for (size_t i = 0; !count && !session.canWrite && i < columns.size(); ++i)
        hidden[i] = TableRules::secret(*columns[i]);
    if (equalsIgnoreCase(table.name, "Info")) {
        for (size_t i = 0; i < resultColumns.size(); ++i) {
            if (resultColumns[i].name == "CurrentTime")
                live[i] = ServerContext::now();
        }
    }
    RowSetEncoder encoder(session.maxResultBytes);
    encoder.setColumns(resultColumns);
    const int rc = m_server.db.query(sql, binds, [&](const std::vector<Cell> &row) {
        for (size_t i = 0; i < row.size(); ++i)
            encoder.appendCell(live[i] ? Cell{*live[i]} : hidden[i] ? Cell{std::string()} : row[i]);
        return !encoder.overflow();
    });
    if (rc != 0)
        return Reply::failure(status::WrongRequest, static_cast<uint32_t>(rc));
    if (encoder.overflow())
        return Reply::failure(status::SizeLimit);
    return Reply{status::Ok, 0, encoder.finish()};
}

Reply StatementExecutor::insert(const TableDef &table, const Statement &statement,
                                const SessionInfo &)
{
    if (table.kind != TableKind::Rows)
        return Reply::failure(status::Illegal);
    Controls controls;
    if (uint32_t code = readControls(statement.controls, controls))
        return Reply::failure(code);
    RowValues values;
    for (const auto &assignment : statement.assignments) {
        const ColumnDef *column = table.column(assignment.column);
        if (!column)
            return Reply::failure(status::ColumnNotFound);
        if (equalsIgnoreCase(column->name, kRowSource))
            continue; // the server decides where a row comes from
        auto value = literalCell(*column, assignment.value);
        if (!value)
            return Reply::failure(status::WrongRequest);
        values[column->name] = std::move(*value);
    }
    if (table.directoryAware && controls.providerId && *controls.providerId != 0)
        values[std::string(kRowSource)] = Cell{*controls.providerId};

    uint32_t outcome = status::Ok;
    m_server.db.transaction([&] {
        outcome = TableRules::beforeInsert(m_server, table, values);
        if (outcome != status::Ok)
            return false;
        if (values.empty()) {
            outcome = TableRules::Skip;
            return true;
        }
        std::string names;
        std::string marks;
        std::vector<Cell> binds;
        for (auto &[name, value] : values) {
            names += (names.empty() ? "" : ", ") + quoteIdentifier(name);
            marks += marks.empty() ? "?" : ", ?";
            binds.push_back(value);
        }
        const WriteOutcome written
                = m_server.db.write("INSERT INTO " + quoteIdentifier(table.name) + " (" + names
                                            + ") VALUES (" + marks + ")",
                                    binds);
        if (!written.ok()) {
            outcome = written.constraintViolation() ? status::DuplicateKey : status::WrongRequest;
            return false;
        }
        return true;
    });
    return writeReply(outcome);
}

Reply StatementExecutor::update(const TableDef &table, const Statement &statement,
                                const SessionInfo &)
{
    if (table.kind != TableKind::Rows && table.kind != TableKind::Settings)
        return Reply::failure(status::Illegal);
    Controls controls;
    if (uint32_t code = readControls(statement.controls, controls))
        return Reply::failure(code);
    RowValues values;
    for (const auto &assignment : statement.assignments) {
        const ColumnDef *column = table.column(assignment.column);
        if (!column)
            return Reply::failure(status::ColumnNotFound);
        if (equalsIgnoreCase(column->name, kRowSource))
            continue;
        if (!TableRules::writable(table, *column))
            return Reply::failure(status::Illegal);
        auto value = literalCell(*column, assignment.value);
        if (!value)
            return Reply::failure(status::WrongRequest);
        values[column->name] = std::move(*value);
    }
    std::string where;
    std::vector<Cell> conditionBinds;
    if (uint32_t code = buildConditions(table, statement.conditions, where, conditionBinds))
        return Reply::failure(code);
    const bool activation = table.directoryAware && (controls.activate || controls.deactivate);
    if (values.empty() && !activation) {
        // Nothing to change: a set clause of only ignored columns is accepted.
        if (statement.assignments.empty())
            return Reply::failure(status::ParseError);
        return Reply{status::Ok, 0, encodeAcknowledgement()};
    }

    uint32_t outcome = status::Ok;
    m_server.db.transaction([&] {
        outcome = TableRules::beforeUpdate(m_server, table, values, where, conditionBinds);
        if (outcome == TableRules::Skip)
            return true;
        if (outcome != status::Ok)
            return false;
        std::string assignments;
        std::vector<Cell> binds;
        for (auto &[name, value] : values) {
            assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(name) + " = ?";
            binds.push_back(value);
        }
        if (activation)
            assignments += std::string(assignments.empty() ? "" : ", ")
                    + "\"_active\" = " + (controls.activate ? "1" : "0");
        binds.insert(binds.end(), conditionBinds.begin(), conditionBinds.end());
        const WriteOutcome written = m_server.db.write(
                "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments + where, binds);
        if (!written.ok()) {
            outcome = written.constraintViolation() ? status::DuplicateKey : status::WrongRequest;
            return false;
        }
        return true;
    });
    return writeReply(outcome);
}

Reply StatementExecutor::remove(const TableDef &table, const Statement &statement,
                                const SessionInfo &)
{
    if (table.kind != TableKind::Rows)
        return Reply::failure(status::Illegal);
    Controls controls;
    if (uint32_t code = readControls(statement.controls, controls))
        return Reply::failure(code);
    std::string where;
    std::vector<Cell> binds;
    if (uint32_t code = buildConditions(table, statement.conditions, where, binds))
        return Reply::failure(code);
    uint32_t outcome = status::Ok;
    m_server.db.transaction([&] {
        outcome = TableRules::beforeDelete(m_server, table, where, binds);
        if (outcome != status::Ok)
            return false;
        const WriteOutcome written
                = m_server.db.write("DELETE FROM " + quoteIdentifier(table.name) + where, binds);
        if (!written.ok()) {
            outcome = status::WrongRequest;
            return false;
        }
        return true;
    });
    if (outcome != status::Ok)
        return Reply::failure(outcome);
    return Reply{status::Ok, 0, encodeAcknowledgement()};
}

} // namespace postvane::devserver

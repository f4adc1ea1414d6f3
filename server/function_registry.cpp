#include "function_registry.h"

#include "result_block.h"
#include "schema.h"

namespace postvane::devserver {

const FunctionRegistry &FunctionRegistry::instance()
{
    static const FunctionRegistry registry;
    return registry;
}

FunctionRegistry::FunctionRegistry()
{
    registerCoreFunctions(*this);
    registerLogFunctions(*this);
    registerStatusFunctions(*this);
    registerMailFunctions(*this);
}

void FunctionRegistry::add(std::string name, FunctionEntry entry)
{
    m_entries[toLower(name)] = std::move(entry);
}

const FunctionEntry *FunctionRegistry::find(std::string_view name) const
{
    auto found = m_entries.find(toLower(name));
    return found == m_entries.end() ? nullptr : &found->second;
}

Reply rowSetReply(const FunctionCall &call, const ResultSet &result)
{
    bool overflow = false;
    std::string block = encodeResultSet(result, call.session.maxResultBytes, &overflow);
    if (overflow)
        return Reply::failure(status::SizeLimit);
    return Reply{status::Ok, 0, std::move(block)};
}

Reply acknowledge()
{
    return Reply{status::Ok, 0, encodeAcknowledgement()};
}

} // namespace postvane::devserver

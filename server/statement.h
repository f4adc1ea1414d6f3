// The parsed form of one query text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace postvane::devserver {

struct Literal
{
    enum class Form { Bare, SingleQuoted, DoubleQuoted, List };
    Form form = Form::Bare;
    std::string text; // unescaped
    std::vector<std::string> items; // Form::List only
};

struct Condition
{
    std::string column;
    std::string op; // "=", "<>", "<", ">", "<=", ">="
    Literal value;
};

struct Assignment
{
    std::string column;
    Literal value;
};

struct Control
{
    std::string name;
    Literal value;
};

struct Statement
{
    enum class Kind { Select, Insert, Update, Delete, Call };
    Kind kind = Kind::Select;

    std::string table;
    bool allColumns = false;
    std::vector<std::string> columns; // "count()" stands for the row count
    std::vector<Condition> conditions; // joined by "and"
    std::vector<Assignment> assignments;
    std::vector<Control> controls;

    // Kind::Call
    std::string function;
    std::vector<Literal> arguments;
};

struct ParseResult
{
    bool ok = false;
    Statement statement;
    std::string error;
    size_t errorOffset = 0;
};

} // namespace postvane::devserver

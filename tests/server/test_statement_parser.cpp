// The statement language as the console writes it: forms, quoting, names
// that look like keywords, and texts that must be refused.
#include "statement_parser.h"

#include <gtest/gtest.h>

using namespace postvane::devserver;

namespace {

// A compact rendering of a parsed statement, so each case is one line.
std::string render(const Statement &s)
{
    static const char *kinds[] = {"select", "insert", "update", "delete", "call"};
    std::string out = kinds[static_cast<int>(s.kind)];
    auto literal = [](const Literal &l) {
        static const char *forms[] = {"bare", "sq", "dq", "list"};
        return std::string(forms[static_cast<int>(l.form)]) + "<" + l.text + ">";
    };
    if (s.kind == Statement::Kind::Call) {
        out += " " + s.function + "(";
        for (size_t i = 0; i < s.arguments.size(); ++i)
            out += (i ? "," : "") + literal(s.arguments[i]);
        return out + ")";
    }
    out += " [" + s.table + "]";
    if (s.allColumns)
        out += " *";
    for (const auto &c : s.columns)
        out += " col:" + c;
    for (const auto &a : s.assignments)
        out += " set:" + a.column + "=" + literal(a.value);
    for (const auto &c : s.conditions)
        out += " where:" + c.column + c.op + literal(c.value);
    for (const auto &c : s.controls)
        out += " ctl:" + c.name + "=" + literal(c.value);
    return out;
}

struct Case
{
    const char *text;
    const char *expected;
};

TEST(StatementParser, ParsesEveryFormTheConsoleSends)
{
    const Case cases[] = {
            {"select Id, Name from users where Domain='x'",
             "select [users] col:Id col:Name where:Domain=sq<x>"},
            {"select * from Sort", "select [Sort] *"},
            {"select running FROM service-smtp", "select [service-smtp] col:running"},
            {"select dummy from info", "select [info] col:dummy"},
            {"select count() from User", "select [User] col:count()"},
            {"select count() from User where Domain=example.com",
             "select [User] col:count() where:Domain=bare<example.com>"},
            {"select Name from Group where Domain = my-domain.co.uk",
             "select [Group] col:Name where:Domain=bare<my-domain.co.uk>"},
            {"select Name from Group where Domain=\"example.com\" controls LDAPListInactive = 1",
             "select [Group] col:Name where:Domain=dq<example.com> ctl:LDAPListInactive=bare<1>"},
            {"select Name, Value from IpAccessList where name=\"Trusted\"",
             "select [IpAccessList] col:Name col:Value where:name=dq<Trusted>"},
            {"select Name, $RowSource from User", "select [User] col:Name col:$RowSource"},
            // Column names that look like keywords.
            {"select Order, To, From, Desc, Time, User from Sort where From='a' and To='b'",
             "select [Sort] col:Order col:To col:From col:Desc col:Time col:User where:From=sq<a> "
             "where:To=sq<b>"},
            {"insert User set Name='O\\'Neil\\\\', Domain='d'",
             "insert [User] set:Name=sq<O'Neil\\> set:Domain=sq<d>"},
            {"insert Group set Name='g', Domain='d' controls ProviderID=0",
             "insert [Group] set:Name=sq<g> set:Domain=sq<d> ctl:ProviderID=bare<0>"},
            {"update Smtp set EtrnTimeout='30'", "update [Smtp] set:EtrnTimeout=sq<30>"},
            {"update HeaderFilter set Order='2' where Header='Subject' and Type='4' and "
             "Content='x'",
             "update [HeaderFilter] set:Order=sq<2> where:Header=sq<Subject> where:Type=sq<4> "
             "where:Content=sq<x>"},
            {"update Group where Name='g' and Domain='d' controls LdapActiveSet=1",
             "update [Group] where:Name=sq<g> where:Domain=sq<d> ctl:LdapActiveSet=bare<1>"},
            {"update User set Account_enabled='1' where Name='u' and Domain='d' controls "
             "ProviderID=2",
             "update [User] set:Account_enabled=sq<1> where:Name=sq<u> where:Domain=sq<d> "
             "ctl:ProviderID=bare<2>"},
            {"delete from T", "delete [T]"},
            {"delete from Group where Name='g' controls ProviderID=0",
             "delete [Group] where:Name=sq<g> ctl:ProviderID=bare<0>"},
            {"update T set L={\"a\",\"b\\\"c\"}", "update [T] set:L=list<a,b\"c>"},
            {"update T set L={}", "update [T] set:L=list<>"},
            {"update T set V='a\\nb\\tc\\rd'", "update [T] set:V=sq<a\nb\tc\rd>"},
            // Functions, with and without "select ".
            {"select GetCapabilities()", "call GetCapabilities()"},
            {"select LogList(\"mail\")", "call LogList(dq<mail>)"},
            {"select LogData(\"mail\", 150, 100)", "call LogData(dq<mail>,bare<150>,bare<100>)"},
            {"select LogCtrl('debug','3','12')", "call LogCtrl(sq<debug>,sq<3>,sq<12>)"},
            {"select LogCtrl(\"mail\", 1)", "call LogCtrl(dq<mail>,bare<1>)"},
            {"RestoreMsgs(\"u@d\")", "call RestoreMsgs(dq<u@d>)"},
            {"ListDir(\"C:\\\\temp\")", "call ListDir(dq<C:\\temp>)"},
            {"select LogSearch(\"mail\", \"a\\\"b\", 0, 0)",
             "call LogSearch(dq<mail>,dq<a\"b>,bare<0>,bare<0>)"},
            {"select SpamFilter::GetBayesStatistics()", "call SpamFilter::GetBayesStatistics()"},
            {"Statistics::Reset()", "call Statistics::Reset()"},
            {"KillLogSearch(7)", "call KillLogSearch(bare<7>)"},
            {"QueueRemovePattern(\"*@spam.example\",\"*\")",
             "call QueueRemovePattern(dq<*@spam.example>,dq<*>)"},
            {"  select   dummy\tfrom\ninfo ; ", "select [info] col:dummy"},
    };
    for (const auto &c : cases) {
        const ParseResult parsed = parseStatement(c.text);
        ASSERT_TRUE(parsed.ok) << c.text << ": " << parsed.error;
        EXPECT_EQ(render(parsed.statement), c.expected) << c.text;
    }
}

TEST(StatementParser, RefusesMalformedAndHostileTexts)
{
    const char *cases[] = {
            "",
            "   ",
            "selec x from y",
            "select from User",
            "select Name User",
            "select Name from",
            "select Name from User where",
            "select Name from User where Name",
            "select Name from User where Name=",
            "select Name from User where Name='unterminated",
            "select Name from User where Name='ends in backslash\\",
            "select Name from User where Name='a' or 1=1",
            "select Name from User where Name='a'; drop table User",
            "select Name from User where Name='a' -- comment",
            "insert User Name='a'",
            "insert User set Name",
            "update User set Name='a',",
            "delete User where Name='a'",
            "LogList(\"mail\"",
            "LogList(\"mail\",)",
            "select count(Name) from User",
            "update T set L={\"a\" \"b\"}",
            "select Name from User controls",
            "\"quoted\" from nothing",
    };
    for (const char *text : cases) {
        const ParseResult parsed = parseStatement(text);
        EXPECT_FALSE(parsed.ok) << "accepted: " << text << " as " << render(parsed.statement);
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

TEST(StatementParser, KeepsQuotedKeywordsAndSeparatorsAsData)
{
    // Quote characters, keywords and separators inside literals never leak into
    // the statement structure.
    const ParseResult parsed = parseStatement(
            "update User set Description='x\\' where Name=\\'y, and controls' where Name='a'");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.statement.assignments.size(), 1u);
    EXPECT_EQ(parsed.statement.assignments[0].value.text, "x' where Name='y, and controls");
    ASSERT_EQ(parsed.statement.conditions.size(), 1u);
    EXPECT_EQ(parsed.statement.conditions[0].value.text, "a");
}

} // namespace

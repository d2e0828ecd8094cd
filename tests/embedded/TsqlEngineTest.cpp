// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include "Builtins.h"
#include "EngineConnection.h"

namespace twk::embedded::test {

namespace {

/// A batch run on a fresh connection after its setup batches, and what it
/// gives; when after is set, what that batch gives next is appended after " / ".
struct EngineCase {
  const char* sConstruct;
  const char* sSetup;
  const char* sBatch;
  const char* sExpected;
  const char* sAfter = nullptr;
};

void PrintTo(const EngineCase& engineCase, std::ostream* pOut) {
  *pOut << engineCase.sConstruct << ": " << engineCase.sBatch;
}

class TsqlEngineCases : public testing::TestWithParam<EngineCase> {};

TEST_P(TsqlEngineCases, GiveTheServersFirstResultOrError) {
  const EngineCase& engineCase = GetParam();
  EngineConnection connection;
  if (*engineCase.sSetup) {
    ASSERT_FALSE(connection.Run(QString::fromUtf8(engineCase.sSetup)).startsWith(u"error"));
  }
  QString sOutcome = connection.Run(QString::fromUtf8(engineCase.sBatch));
  if (engineCase.sAfter) sOutcome += " / " + connection.Run(QString::fromUtf8(engineCase.sAfter));
  EXPECT_EQ(sOutcome.toStdString(), engineCase.sExpected);
}

const EngineCase kControlFlow[] = {
    {"while", "",
     "declare @i int = 0\nwhile @i < 9 begin\n set @i += 1\n if @i = 3 continue\n"
     " if @i = 4 break\nend\nselect @i",
     "4"},
    {"if", "", "if (select count(*) from Name) > 2 select 'many' else select 'few'", "many"},
    {"else", "", "if 1 = 2 select 'yes' else begin print 'no'; select 'no' end", "no"},
    {"null condition", "", "declare @n int\nif @n = 1 select 1 else select 2", "2"},
    {"return", "", "return\nselect 2", "none"},
    {"return in block", "", "if 1 = 1 begin select 10 return end select 2", "10"},
    {"syntax error runs nothing", "", "insert into Log (NOTE) values ('a')\nselect from",
     "error 156 line 2 / 0", "select count(*) from Log"},
};

const EngineCase kVariables[] = {
    {"varchar cut", "", "declare @s varchar(5) = 'abcdefgh'; select @s", "abcde"},
    {"set varchar cut", "", "declare @s varchar(3); set @s = 'abcdef'; select @s", "abc"},
    {"decimal scale", "", "declare @d decimal(5,2) = 1.235; select @d", "1.24"},
    {"text to int", "", "declare @n int = '12'; set @n = @n + 1; select @n", "13"},
    {"int declared from real", "", "declare @n int = 2.7; select @n", "2"},
    {"failed conversion", "", "declare @n int\n\nset @n = 'x'", "error 245 line 3"},
    {"compound text", "", "declare @s varchar(10) = 'ab'; set @s += 'cd'; select @s", "abcd"},
    {"compound number", "", "declare @n int = 7; set @n *= 3; select @n", "21"},
    {"select assigns", "",
     "declare @v varchar(30); select @v = LAST_NAME from Name where ID = 2; "
     "select @v",
     "Jones"},
    {"select reading what it assigns", "",
     "declare @s varchar(99) = ''; select @s = @s + left(LAST_NAME, 1) from Name order by ID desc; "
     "select @s",
     "BJS"},
    {"aggregate reading what its select assigns", "",
     "declare @n int = 0\nselect @n = max(@n + ID) from Name", "error 49990 line 2"},
    {"undeclared", "", "select 1\nselect @nope", "error 137 line 2"},
};

const EngineCase kFirstResult[] = {
    {"count first", "", "update Name set CITY = 'X' where ID < 3; select LAST_NAME from Name",
     "(2 rows)"},
    {"nocount", "", "set nocount on; update Name set CITY = 'X'; select ID from Name where ID = 1",
     "1"},
    {"nocount kept", "set nocount on", "delete from Name where ID = 3", "none"},
    {"noexec compiles without running", "",
     "set noexec on; insert into Log (NOTE) values ('a'); select 1/0\nset noexec off", "none / 0",
     "select count(*) from Log"},
    {"noexec still finds a wrong column", "", "set noexec on\nselect NOPE from Name",
     "error 207 line 2"},
    {"noexec defers a table the batch makes", "",
     "set noexec on; create table #t (a int); select a from #t; set noexec off; select 5", "5"},
    {"empty rows first", "", "select ID from Name where ID = 99; select 2", ""},
    {"declare gives none", "", "declare @x int; select 2 as b", "2"},
    {"error after result", "", "select 1\nselect 1/0\ninsert into Log (NOTE) values ('a')",
     "1 stopped / 0", "select count(*) from Log"},
    {"error before result", "", "select 1/0; select 1", "error 8134 line 1"},
    {"later results run", "", "select 1; insert into Log (NOTE) values ('a')", "1 / 1",
     "select count(*) from Log"},
    {"duplicate key keeps line", "", "declare @a int\ninsert into Name (ID) values (1)",
     "error 2627 line 2"},
};

const EngineCase kSystemValues[] = {
    {"@@spid", "", "select @@spid", "4242"},
    {"@@rowcount of update", "", "set nocount on; update Name set CITY = CITY; select @@rowcount",
     "3"},
    {"@@rowcount of select", "",
     "select ID from Name; insert into Log (NOTE) select cast(@@rowcount as varchar(9))",
     "1;2;3 / 3", "select NOTE from Log"},
    {"@@rowcount of set", "", "declare @x int; set @x = 4; select @@rowcount", "1"},
    {"@@identity", "set nocount on",
     "insert into Log (NOTE) values ('a'), ('b'); insert into Name (ID) values (9); "
     "select @@identity",
     "2"},
    {"@@error", "", "begin try select 1/0 end try begin catch select @@error end catch", "8134"},
    {"@@error cleared", "",
     "begin try select 1/0 end try begin catch print 1 end catch\n"
     "select @@error",
     "0"},
    {"@@trancount", "", "begin tran; begin tran; commit; select @@trancount", "1"},
};

const EngineCase kTryCatch[] = {
    {"catch", "",
     "begin try select 1/0 end try begin catch select error_number(), error_message() end catch",
     "8134|Divide by zero error encountered."},
    {"error line", "",
     "begin try\n declare @i int = 'x'\nend try begin catch select error_line() "
     "end catch",
     "2"},
    {"throw caught", "",
     "begin try throw 50001, 'mine', 1 end try begin catch select "
     "error_number(), error_message() end catch",
     "50001|mine"},
    {"throw", "", "select 0 where 1 = 0\nthrow 50002, 'boom', 1", " stopped"},
    {"throw first", "", "declare @a int\nthrow 50002, 'boom', 1", "error 50002 line 2"},
    {"rethrow", "", "begin try select 1/0 end try begin catch throw end catch",
     "error 8134 line 1"},
    {"outside catch", "", "select error_number()", "NULL"},
    {"raiserror", "", "raiserror('bad %s', 16, 1, 'thing')", "error 50000 line 1"},
    {"raiserror message", "",
     "begin try raiserror('bad %s', 16, 1, 'thing') end try begin catch "
     "select error_message() end catch",
     "bad thing"},
    {"raiserror informational", "", "raiserror('info', 10, 1); select 5", "5"},
    {"null into a not null column", "",
     "create table #t (x int not null)\nbegin try insert #t values (null) end try "
     "begin catch select error_number(), error_message() end catch",
     "515|Cannot insert the value NULL into column 'x', table 'tempdb.dbo.#t'; column does not "
     "allow nulls. INSERT fails."},
    {"duplicate key", "",
     "create table #t (x int primary key)\nbegin try insert #t values (1), (1) end try "
     "begin catch select error_number(), error_message() end catch",
     "2627|Violation of PRIMARY KEY constraint 'PK__#t'. Cannot insert duplicate key in object "
     "'dbo.#t'."},
    {"a #table made twice", "",
     "create table #t (x int)\nbegin try create table #t (y int) end try "
     "begin catch select error_number(), error_message(), error_line() end catch",
     "2714|There is already an object named '#t' in the database.|2"},
};

const EngineCase kTemporaryTables[] = {
    {"#table", "set nocount on",
     "create table #t (a int, b varchar(3)); insert into #t values (1, 'abc'); select a, b from #t",
     "1|abc"},
    {"#table in a declare", "set nocount on",
     "create table #t (a int); insert into #t values (5); declare @n int = (select max(a) from "
     "#t); select @n",
     "5"},
    {"table made later", "set nocount on",
     "exec ('create table Later (a int)'); insert into Later values (3); if exists (select * "
     "from Later where a = 3) select 'yes'",
     "yes"},
    {"#table kept", "create table #p (a int); insert into #p values (4)", "select a from #p", "4"},
    {"#table truncation", "", "create table #t (b varchar(3))\ninsert into #t values ('abcd')",
     "error 2628 line 2"},
    {"select into", "", "select ID into #x from Name; select count(*) from #x", "(3 rows) / 3",
     "select count(*) from #x"},
    {"table variable", "set nocount on",
     "declare @t table (a int); insert into @t values (1), (2); select count(*) from @t", "2 / 1",
     "declare @t table (a int); insert into @t values (3); select count(*) from @t"},
};

const EngineCase kTransactions[] = {
    {"rollback", "", "begin tran; insert into Log (NOTE) values ('a'); rollback", "(1 rows) / 0",
     "select count(*) from Log"},
    {"commit", "", "begin tran; insert into Log (NOTE) values ('a'); commit", "(1 rows) / 1",
     "select count(*) from Log"},
    {"commit without begin", "", "commit", "error 3902 line 1"},
    {"@@trancount after a failed batch",
     "begin tran; insert into Log (NOTE) values ('a'); select 1/0", "select @@trancount", "0"},
    {"failed batch rolled back", "", "begin tran; insert into Log (NOTE) values ('a'); select 1/0",
     "(1 rows) stopped / 0", "select count(*) from Log"},
};

const EngineCase kProcedures[] = {
    {"exec", "", "exec Twice 21", "42"},
    {"exec by name", "", "exec Twice @n = '4'", "8"},
    {"return value", "", "declare @r int; exec @r = RetFive; select @r", "5"},
    {"sp_server_info", "", "exec sp_server_info 1", "1|DBMS_NAME|Microsoft SQL Server"},
    {"missing", "", "select 0 where 1 = 0\nexec Missing", " stopped"},
    {"missing first", "", "exec Missing", "error 2812 line 1"},
    {"too many", "", "exec Twice 1, 2", "error 8144 line 1"},
    {"sysobjects", "", "select type from sysobjects where name = 'log'", "U"},
    {"sysobjects procedures", "", "select count(*) from sysobjects where type = 'P'", "2"},
};

// A call of the function with a value of each argument's class, in the
// clause its class needs.
QString CallOf(const tsql::Builtins::Function& function) {
  const QString sName = QString::fromLatin1(function.sName);
  if (function.iMaxArguments == 0 && sName.startsWith(u"current_")) return sName;
  if (sName == u"session_user" || sName == u"system_user") return sName;
  // Text, number, date (twice: read as datetime2 and as datetime), date part.
  const QString sClasses = QStringLiteral("tndDp");
  const QStringList values{QStringLiteral("'abc'"), QStringLiteral("2.5"),
                           QStringLiteral("'20240102'"), QStringLiteral("'20240102'"),
                           QStringLiteral("day")};
  QStringList arguments;
  for (int i = 0; i < function.iMinArguments; ++i) {
    const qsizetype iClass = sClasses.indexOf(tsql::Builtins::ParameterClass(function, i));
    arguments << (iClass < 0 ? QStringLiteral("2") : values[iClass]);
  }
  QString sCall = sName + u'(' + arguments.join(QStringLiteral(", ")) + u')';
  if (function.functionClass == tsql::Builtins::Class::Window) {
    sCall += QStringLiteral(" over (order by (select 1))");
  }
  return sCall;
}

// A function the binder accepts but that reached SQLite unregistered failed
// with SQLite's own words about a name the author never wrote.
TEST(TsqlEngineBuiltins, EveryFunctionTheBinderKnowsRunsOrIsRefusedByName) {
  EngineConnection connection;
  for (const tsql::Builtins::Function& function : tsql::Builtins::All()) {
    const QString sBatch = QStringLiteral("select ") + CallOf(function);
    const QString sOutcome = connection.Run(sBatch);
    EXPECT_FALSE(sOutcome.startsWith(u"sqlite"))
        << sBatch.toStdString() << ": " << sOutcome.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(ControlFlow, TsqlEngineCases, testing::ValuesIn(kControlFlow));
INSTANTIATE_TEST_SUITE_P(Variables, TsqlEngineCases, testing::ValuesIn(kVariables));
INSTANTIATE_TEST_SUITE_P(FirstResult, TsqlEngineCases, testing::ValuesIn(kFirstResult));
INSTANTIATE_TEST_SUITE_P(SystemValues, TsqlEngineCases, testing::ValuesIn(kSystemValues));
INSTANTIATE_TEST_SUITE_P(TryCatch, TsqlEngineCases, testing::ValuesIn(kTryCatch));
INSTANTIATE_TEST_SUITE_P(TemporaryTables, TsqlEngineCases, testing::ValuesIn(kTemporaryTables));
INSTANTIATE_TEST_SUITE_P(Transactions, TsqlEngineCases, testing::ValuesIn(kTransactions));
INSTANTIATE_TEST_SUITE_P(Procedures, TsqlEngineCases, testing::ValuesIn(kProcedures));

}  // namespace

}  // namespace twk::embedded::test

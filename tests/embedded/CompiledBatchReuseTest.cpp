// SPDX-License-Identifier: MIT
// Batches run one after another on one connection, where the later ones
// find the compiled form of an earlier one: each must still give what a
// fresh compilation gives.
#include <gtest/gtest.h>

#include "EngineConnection.h"

namespace twk::embedded::test {

namespace {

/// Steps on one connection: a batch run by the engine and what it gives, or
/// (with "raw: ") SQL run by a second connection to the same file.
struct ReuseCase {
  const char* sFault;
  std::vector<std::pair<const char*, const char*>> steps;
};

void PrintTo(const ReuseCase& reuseCase, std::ostream* pOut) {
  *pOut << reuseCase.sFault;
}

class CompiledBatchReuse : public testing::TestWithParam<ReuseCase> {};

TEST_P(CompiledBatchReuse, GivesWhatAFreshCompilationGives) {
  EngineConnection connection;
  sqlite3* pOther = nullptr;
  ASSERT_EQ(sqlite3_open(connection.Path().toUtf8().constData(), &pOther), SQLITE_OK);
  for (const auto& [sStep, sExpected] : GetParam().steps) {
    const QString sText = QString::fromUtf8(sStep);
    if (sText.startsWith(u"raw: ")) {
      EXPECT_EQ(sqlite3_exec(pOther, sStep + 5, nullptr, nullptr, nullptr), SQLITE_OK) << sStep;
      continue;
    }
    EXPECT_EQ(connection.Run(sText).toStdString(), sExpected) << sStep;
  }
  sqlite3_close(pOther);
}

const ReuseCase kCases[] = {
    {"a string literal of the same length takes its new value",
     {{"select ID from Name where LAST_NAME = 'Smith'", "1"},
      {"select ID from Name where LAST_NAME = 'Jones'", "2"}}},
    {"a number of as many digits past int's range is decimal",
     {{"select 1147483649 / 2", "573741824"}, {"select 2147483649 / 2", "1073741824.5"}}},
    {"an order by position is written into the statement",
     {{"select LAST_NAME from Name where CITY is not null order by 1", "Jones;Smith"},
      {"select LAST_NAME from Name where CITY is not null order by 2 desc", "error 108 line 1"},
      {"select ID, LAST_NAME from Name where CITY is not null order by 1", "1|Smith;2|Jones"},
      {"select ID, LAST_NAME from Name where CITY is not null order by 2", "2|Jones;1|Smith"}}},
    {"a table dropped and made again with other columns by another connection",
     {{"raw: create table T (A int); insert into T values (7);", ""},
      {"select * from T", "7"},
      {"raw: drop table T; create table T (B varchar(5), C int); insert into T values ('x', 8);",
       ""},
      {"select * from T", "x|8"}}},
    {"a #table of an earlier batch made again with other column types",
     {{"create table #t (A int); insert into #t values (5)", "(1 rows)"},
      {"select A + A from #t", "10"},
      {"drop table #t", "none"},
      {"create table #t (A varchar(3)); insert into #t values ('5')", "(1 rows)"},
      {"select A + A from #t", "55"}}},
    {"a statement naming a #table an earlier statement of the batch makes",
     {{"select LAST_NAME into #n from Name where ID = 1; select LAST_NAME from #n; drop table #n",
       "(1 rows)"},
      {"select LAST_NAME into #n from Name where ID = 2; select * from #n; drop table #n",
       "(1 rows)"},
      {"set nocount on; select CITY into #n from Name where ID = 1; select * from #n; drop table "
       "#n",
       "Evanston"},
      {"set nocount on; select CITY into #n from Name where ID = 2; select * from #n; drop table "
       "#n",
       "Chicago"}}},
    {"a #table the batch makes with other column types in another run",
     {{"set nocount on; declare @x int = 3; if @x < 5 create table #n (A int) else create table "
       "#n (A varchar(5)); insert into #n values ('5'); select A + A from #n; drop table #n",
       "10"},
      {"set nocount on; declare @x int = 7; if @x < 5 create table #n (A int) else create table "
       "#n (A varchar(5)); insert into #n values ('5'); select A + A from #n; drop table #n",
       "55"}}},
    {"a procedure called again with other arguments, or changed by another connection",
     {{"exec Twice 21", "42"},
      {"exec Twice 4", "8"},
      {"raw: update twk_procedures set body = 'select @n * 3 as v' where name = 'Twice'", ""},
      {"exec Twice 4", "12"}}},
    {"a procedure's compound assignment, and one that calls itself",
     {{"raw: insert into twk_procedures values ('Inc', '@n int', 'set @n += 1; select @n'), "
       "('Down', '@n int', 'declare @m int = @n - 1; if @n > 0 exec Down @m else select @n')",
       ""},
      {"exec Inc 1", "2"},
      {"exec Inc 5", "6"},
      {"exec Down 3", "0"},
      {"exec Down 2", "0"}}},
    {"a statement no run reached yet, with other literals or an order by position",
     {{"declare @x int = 3 if @x > 4 select LAST_NAME from Name where ID = 1", "none"},
      {"declare @x int = 7 if @x > 4 select LAST_NAME from Name where ID = 2", "Jones"},
      {"declare @x int = 3 if @x > 4 select LAST_NAME from Name order by 1", "none"},
      {"declare @x int = 7 if @x > 4 select LAST_NAME from Name order by 2", "error 108 line 1"}}},
    {"a convert style, which is written into the statement",
     {{"select convert(varchar(10), convert(date, '20200102'), 101)", "01/02/2020"},
      {"select convert(varchar(10), convert(date, '20200102'), 103)", "02/01/2020"}}},
    {"a scalar subquery's top count, which decides whether it gives one row",
     {{"select (select top 1 LAST_NAME from Name order by ID)", "Smith"},
      {"select (select top 2 LAST_NAME from Name order by ID)", "error 512 line 1"}}},
    {"dynamic SQL of the same shape with another literal",
     {{"exec ('select ''a''')", "a"}, {"exec ('select ''b''')", "b"}}},
};

INSTANTIATE_TEST_SUITE_P(Faults, CompiledBatchReuse, testing::ValuesIn(kCases));

}  // namespace

}  // namespace twk::embedded::test

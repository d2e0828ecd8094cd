// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "EmitterRunner.h"
#include "FunctionCases.h"

namespace twk::embedded::test {

namespace {

/// A T-SQL batch and the rows of its last select when run on SQLite through
/// the emitter ("a|b;c|d"), or "error <number>".
struct EmitterCase {
  const char* sBatch;
  const char* sExpected;
};

void CheckCases(const std::vector<EmitterCase>& cases) {
  for (const EmitterCase& row : cases) {
    EmitterRunner runner;
    EXPECT_EQ(runner.Run(QString::fromUtf8(row.sBatch)), QString::fromUtf8(row.sExpected))
        << row.sBatch;
  }
}

}  // namespace

TEST(Emitter, TextComparesAsTheServerDefaultCollation) {
  CheckCases({
      {"select ID from Name where CITY = 'evanston' order by ID", "1;2"},
      {"select count(*) from Name where CITY <> 'EVANSTON'", "1"},
      {"select ID from Name where CITY in ('chicago', 'x')", "3"},
      {"select ID from Name where LAST_NAME between 'B' and 'C'", "3"},
      {"select n.ID from Name n join Activity a on a.ID = n.ID and a.ACTIVITY_TYPE = 'Dues' "
       "order by n.ID",
       "1;2"},
      {"select case CITY when 'chicago' then 'C' else 'O' end from Name order by ID", "O;O;C"},
      {"select count(*) from (select distinct CITY from Name) d", "2"},
      {"select count(*) from Activity group by ACTIVITY_TYPE order by 1", "2;2"},
      {"select count(*) from (select CITY from Name where ID = 1 union "
       "select CITY from Name where ID = 2) u",
       "1"},
      {"select LAST_NAME from Name order by LAST_NAME", "brown;Jones;Smith"},
      {"select max(LAST_NAME), min(LAST_NAME) from Name", "Smith|brown"},
      {"select ID from Name where EMAIL like 'BOB%'", "2"},
      {"select count(*) from Activity where NOTE like '[b]oard%'", "2"},
      {"select charindex('board', NOTE), replace(NOTE, 'BOARD', 'x') from Activity where SEQN = 1",
       "1|x member"},
      {"select nullif(CITY, 'evanston') from Name where ID = 1", "NULL"},
  });
}

TEST(Emitter, OperatorsFollowTheOperandTypes) {
  CheckCases({
      {"select 7 / 2, 7 % 3, -7 / 2", "3|1|-3"},
      {"select 1 / 0", "error 8134"},
      {"select BALANCE / 4 from Name where ID = 1", "18.75"},
      {"select 'x' + LAST_NAME from Name where ID = 1", "xSmith"},
      {"select 'x' + case when ID = 1 then 'a' end + '!' from Name where ID = 1", "xa!"},
      {"select UNITS + 1.5 from Activity where SEQN = 1", "4.5"},
      {"select JOIN_DATE + 1, JOIN_DATE - 1 from Name where ID = 1",
       "2014-01-02 00:00:00.000|2013-12-31 00:00:00.000"},
      {"select avg(UNITS), avg(AMOUNT) from Activity", "3|46.25"},
      {"select 5 & 3, 5 | 3, 5 ^ 3", "1|7|6"},
  });
}

TEST(Emitter, ConversionsAreTheServers) {
  CheckCases({
      {"select cast(ID as varchar(5)) + 'x' from Name where ID = 1", "1x"},
      {"select convert(varchar(10), JOIN_DATE, 101) from Name where ID = 1", "01/01/2014"},
      {"select try_convert(int, 'abc'), try_cast('12' as int)", "NULL|12"},
      {"select convert(int, 'abc')", "error 245"},
      {"select ID from Name where JOIN_DATE >= '20150101' order by ID", "2;3"},
      {"select count(*) from Name where ID = '2'", "1"},
      {"select 'n' + 1", "error 245"},
  });
}

TEST(Emitter, FunctionsTakeTheirSqliteOrEngineForm) {
  CheckCases({
      {"select isnull(FIRST_NAME, 'none'), coalesce(FIRST_NAME, EMAIL, '-') from Name where ID = 3",
       "none|-"},
      {"select iif(ID > 1, 'big', 'small') from Name order by ID", "small;big;big"},
      {"select choose(2, 'a', 'b', 'c'), choose(4, 'a', 'b', 'c')", "b|NULL"},
      {"select left(LAST_NAME, 2), len(CITY) from Name where ID = 2", "Jo|8"},
      {"select year(JOIN_DATE), month(JOIN_DATE), datediff(day, '20131231', JOIN_DATE) "
       "from Name where ID = 1",
       "2014|1|1"},
      {"select dateadd(month, 1, JOIN_DATE) from Name where ID = 3", "2016-03-29 00:00:00.000"},
      {"select string_agg(ACTIVITY_TYPE, ',') from Activity where ID = 1", "DUES,GIFT"},
      {"select row_number() over (order by LAST_NAME) from Name order by ID", "3;2;1"},
  });
}

TEST(Emitter, TopAndOffsetLimitTheirOwnLevel) {
  CheckCases({
      {"select top 1 LAST_NAME from Name order by ID", "Smith"},
      {"select top 1 ID from Name union all select SEQN from Activity", "1;1;2;3;4"},
      {"select distinct top 1 CITY from Name order by CITY", "Chicago"},
      {"select top (2) ID from Name order by ID desc", "3;2"},
      {"select ID from Name order by ID offset 1 rows fetch next 1 rows only", "2"},
      {"select ID from Name order by ID offset 2 rows", "3"},
      {"select top 1 with ties ID from Name order by ID", "error 49990"},
  });
}

TEST(Emitter, ForXmlPathConcatenatesAsTheServer) {
  CheckCases({
      {"select stuff((select ',' + ACTIVITY_TYPE from Activity where ID = 1 order by SEQN "
       "for xml path('')), 1, 1, '')",
       "DUES,GIFT"},
      {"select (select NOTE from Activity where SEQN = 4 for xml path(''))",
       "<NOTE>x&amp;y&lt;z&gt;</NOTE>"},
      {"select stuff((select ',' + NOTE from Activity where SEQN = 4 for xml path(''), type)"
       ".value('.', 'nvarchar(max)'), 1, 1, '')",
       "x&y<z>"},
      {"select (select ',' + NOTE from Activity where SEQN = 4 for xml path(''), type)"
       ".value('.', 'varchar(3)')",
       ",x&"},
      {"select (select '042' for xml path(''), type).value('.', 'int')", "42"},
      {"select (select ID from Name where ID < 3 order by ID for xml path('r'))",
       "<r><ID>1</ID></r><r><ID>2</ID></r>"},
      {"select (select ',' + NOTE from Activity where SEQN = 99 for xml path(''))", "NULL"},
  });
}

TEST(Emitter, DataChangesReachTheRowsTheServerChanges) {
  CheckCases({
      {"create table #f (ID int, FLAG varchar(5)); insert into #f values (1, 'a'), (2, 'b');"
       "select count(*) from #f where FLAG = 'A'",
       "1"},
      {"create table #f (C varchar(3)); insert into #f values ('abcd')", "error 2628"},
      {"create table #f (C varchar(3)); insert into #f select LAST_NAME from Name", "error 2628"},
      {"create table #f (C varchar(3)); insert into #f values ('ab  '); select C + '|' from #f",
       "ab |"},
      {"create table #f (ID int, FLAG varchar(10)); insert into #f (ID) select ID from Name;"
       "update f set FLAG = a.ACTIVITY_TYPE from #f f join Activity a on a.ID = f.ID "
       "where a.UNITS = 5; select ID, FLAG from #f order by ID",
       "1|NULL;2|dues;3|NULL"},
      {"create table #f (ID int, N int); insert into #f values (1, 1), (2, 2);"
       "update #f set N += 10 where ID = 2; update #f set N = N * 2; select N from #f order by ID",
       "2;24"},
      {"create table #f (ID int); insert into #f select ID from Name;"
       "delete f from #f f join Name n on n.ID = f.ID where n.CITY = 'CHICAGO';"
       "select count(*) from #f",
       "2"},
      {"create table #f (ID int); insert into #f select ID from Name; delete from #f where ID > 1;"
       "select ID from #f",
       "1"},
      {"create table #f (V varchar(3)); insert into #f values ('abc'); update #f set V = V + 'd'",
       "error 2628"},
  });
}

TEST(Emitter, TablesAreMadeWithTheirTsqlTypes) {
  CheckCases({
      {"select ID, LAST_NAME into #n from Name where ID < 3;"
       "select LAST_NAME from #n where LAST_NAME = 'SMITH'",
       "Smith"},
      {"select ID, BALANCE * 2 as B into #n from Name; select B / 4 from #n where ID = 1", "37.5"},
      {"create table #i (N int identity(1,1), V varchar(5)); insert into #i (V) values ('a'), "
       "('b');"
       "select N from #i order by N",
       "1;2"},
      {"create table #i (N int identity(10,1), V varchar(5)); insert into #i (V) values ('a');"
       "select N from #i",
       "10"},
      {"create table #i (N int identity, V varchar(5)); insert into #i (V) values ('a');"
       "truncate table #i; insert into #i (V) values ('b'); select N, V from #i",
       "1|b"},
      {"create table #k (K varchar(5) primary key); insert into #k values ('a');"
       "insert into #k values ('A ')",
       "sqlite: UNIQUE constraint failed: #k.K"},
      {"declare @t table (ID int, V varchar(5)); insert into @t values (1, 'x');"
       "select t.V from @t t where t.ID = 1",
       "x"},
      {"create table #d (A int); drop table #d; create table #d (B int); select count(*) from #d",
       "0"},
  });
}

TEST(Emitter, LiteralsBecomeParametersSoThatOneTextServesEveryRecord) {
  EmitterRunner runner;
  const std::vector<EmittedSql> smith =
      runner.Emit(QStringLiteral("select ID from Name where LAST_NAME = 'Smith' and ID > 0"));
  const std::vector<EmittedSql> jones =
      runner.Emit(QStringLiteral("select ID from Name where LAST_NAME = 'Jones' and ID > 1"));
  ASSERT_EQ(smith.size(), 1u);
  EXPECT_EQ(smith[0].sSql, jones[0].sSql);
  ASSERT_EQ(smith[0].parameters.size(), 2u);
  EXPECT_EQ(smith[0].parameters[0].value, QVariant(QStringLiteral("Smith")));
  EXPECT_EQ(jones[0].parameters[1].value, QVariant(qlonglong(1)));
  ASSERT_EQ(smith[0].columns.size(), 1u);
  EXPECT_EQ(smith[0].columns[0].sName, QStringLiteral("ID"));
}

TEST(Emitter, VariablesAreBoundAndColumnPositionsStayInTheText) {
  EmitterRunner runner;
  const std::vector<EmittedSql> emitted = runner.Emit(
      QStringLiteral("declare @n int; select @@spid, @n, LAST_NAME from Name order by 3"));
  ASSERT_EQ(emitted[0].parameters.size(), 2u);
  EXPECT_EQ(emitted[0].parameters[0].kind, EmittedParameter::Kind::SystemVariable);
  EXPECT_EQ(emitted[0].parameters[1].sName, QStringLiteral("@n"));
  EXPECT_TRUE(emitted[0].sSql.endsWith(u"ORDER BY 3")) << emitted[0].sSql.toStdString();
  EXPECT_EQ(
      runner.Run(QStringLiteral("declare @c varchar(20); select ID from Name where CITY = @c"),
                 {{QStringLiteral("@c"), QStringLiteral("CHICAGO")}}),
      QStringLiteral("3"));
}

}  // namespace twk::embedded::test

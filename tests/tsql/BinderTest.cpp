// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include "Binder.h"
#include "Parser.h"
#include "QStringPrinter.h"
#include "TsqlError.h"

using namespace twk::tsql;

namespace {

CatalogColumn Column(const char* sName, const char* sType, bool bIdentity = false) {
  return {QString::fromLatin1(sName), *SqlType::Parse(QString::fromLatin1(sType)), !bIdentity,
          bIdentity};
}

/// A few tables of a membership database, with the server's types.
class MemoryCatalog : public Catalog {
 public:
  MemoryCatalog() {
    tables_.push_back({"Name",
                       {Column("ID", "int", true), Column("LAST_NAME", "varchar(30)"),
                        Column("CITY", "varchar(20)"), Column("NICK", "nvarchar(40)"),
                        Column("BALANCE", "decimal(12,2)"), Column("JOIN_DATE", "datetime"),
                        Column("PAID_THRU", "date"), Column("STATUS", "char(1)"),
                        Column("NOTES", "varchar(max)"), Column("GUID", "uniqueidentifier")}});
    tables_.push_back(
        {"Activity",
         {Column("SEQN", "int", true), Column("ID", "int"), Column("ACTIVITY_TYPE", "varchar(10)"),
          Column("AMOUNT", "money"), Column("UNITS", "smallint"), Column("RATE", "decimal(5,3)"),
          Column("WEIGHT", "float"), Column("STAMP", "datetime2"), Column("ACTIVE", "bit"),
          Column("BIG", "bigint")}});
  }

  std::optional<CatalogTable> FindTable(const ObjectName& name) const override {
    for (const CatalogTable& table : tables_) {
      if (table.sName.compare(name.Last(), Qt::CaseInsensitive) == 0) return table;
    }
    return std::nullopt;
  }

  std::vector<CatalogTable> tables_;
};

// The outcome of binding a batch: the type of the first column of the last
// select that sends a result ("deferred" for a select left to run time),
// or "error <number> line <line>".
QString Outcome(const char* sBatch, MemoryCatalog catalog = MemoryCatalog()) {
  try {
    Batch batch = Parse(QString::fromUtf8(sBatch));
    Binder binder(catalog);
    binder.BindBatch(batch);
    QString sOutcome = QStringLiteral("no result");
    for (const StatementPtr& statement : batch.statements) {
      const StatementBinding* binding = binder.Find(*statement);
      if (statement->kind != Statement::Kind::Select) continue;
      if (binding->bDeferred) sOutcome = QStringLiteral("deferred");
      if (!binding->result.empty()) sOutcome = binding->result.front().type.Name();
    }
    return sOutcome;
  } catch (const TsqlError& error) {
    return QStringLiteral("error %1 line %2").arg(error.Number()).arg(error.Line());
  }
}

struct Case {
  const char* sBatch;
  const char* sExpected;
};

void ExpectOutcomes(const std::vector<Case>& cases) {
  for (const Case& row : cases) {
    EXPECT_EQ(Outcome(row.sBatch), QString::fromUtf8(row.sExpected)) << row.sBatch;
  }
}

QString Label(const Expr& expr) {
  switch (expr.kind) {
    case Expr::Kind::Case:
      return QStringLiteral("case");
    case Expr::Kind::Between:
      return QStringLiteral("between");
    case Expr::Kind::InList:
      return QStringLiteral("in");
    case Expr::Kind::Like:
      return QStringLiteral("like");
    default:
      return expr.sOperator.isEmpty() ? expr.sName : expr.sOperator;
  }
}

// An expression with its type and the conversions the binder put in:
// "(< PAID_THRU:date (implicit:date '20140101'))".
QString Typed(const Expr& expr) {
  QString sText;
  switch (expr.kind) {
    case Expr::Kind::Column:
      sText = expr.name.Last();
      break;
    case Expr::Kind::Literal:
      sText = expr.literalKind == Token::Kind::String ? u'\'' + expr.sValue + u'\'' : expr.sValue;
      break;
    case Expr::Kind::Cast:
      sText = QStringLiteral("(") + expr.sName + u':' + expr.type.Name() + u' ' +
              Typed(*expr.args[0]) + u')';
      return sText;
    default:
      sText = u'(' + Label(expr);
      for (const ExprPtr& arg : expr.args) sText += u' ' + Typed(*arg);
      for (const auto& [when, then] : expr.whens)
        sText += u' ' + Typed(*when) + u' ' + Typed(*then);
      if (expr.elseExpr) sText += u' ' + Typed(*expr.elseExpr);
      return sText + u')';
  }
  return expr.type.kind == SqlType::Kind::Null ? sText : sText + u':' + expr.type.Name();
}

// The typed tree of the first select item of a one-statement batch.
QString FirstItem(const char* sBatch) {
  MemoryCatalog catalog;
  Batch batch = Parse(QString::fromUtf8(sBatch));
  Binder binder(catalog);
  binder.BindBatch(batch);
  return Typed(*batch.statements.back()->query->core->items.front().expr);
}

}  // namespace

TEST(BindTypes, LiteralsAndColumnsHaveTheServersTypes) {
  ExpectOutcomes({
      {"select 'abc'", "varchar(3)"},
      {"select N'abc'", "nvarchar(3)"},
      {"select 12", "int"},
      {"select 3000000000", "decimal(10,0)"},
      {"select 1.50", "decimal(3,2)"},
      {"select .5", "decimal(1,1)"},
      {"select 1e3", "float"},
      {"select $2.50", "money"},
      {"select BALANCE from Name", "decimal(12,2)"},
      {"select n.PAID_THRU from dbo.Name n", "date"},
      {"select null", "null"},
  });
}

TEST(BindTypes, ArithmeticFollowsPrecedenceAndTheDecimalRules) {
  ExpectOutcomes({
      {"select 7 / 2", "int"},
      {"select UNITS + 1 from Activity", "int"},
      {"select UNITS + BIG from Activity", "bigint"},
      {"select 'x' + 1", "int"},
      {"select 'ab' + 'cde'", "varchar(5)"},
      {"select LAST_NAME + CITY from Name", "varchar(50)"},
      {"select LAST_NAME + NICK from Name", "nvarchar(70)"},
      {"select LAST_NAME + NOTES from Name", "varchar(max)"},
      {"select BALANCE + RATE from Name, Activity", "decimal(14,3)"},
      {"select BALANCE * RATE from Name, Activity", "decimal(18,5)"},
      {"select BALANCE / RATE from Name, Activity", "decimal(21,8)"},
      {"select BALANCE + 1 from Name", "decimal(13,2)"},
      {"select UNITS / 2.0 from Activity", "decimal(12,6)"},
      {"select cast(1 as decimal(38,10)) * cast(1 as decimal(38,10))", "decimal(38,6)"},
      {"select cast(1 as decimal(18,2)) / cast(1 as decimal(18,2))", "decimal(38,20)"},
      {"select AMOUNT * 2 from Activity", "money"},
      {"select AMOUNT + RATE from Activity", "decimal(20,4)"},
      {"select WEIGHT + 1 from Activity", "float"},
      {"select JOIN_DATE + 30 from Name", "datetime"},
      {"select JOIN_DATE - JOIN_DATE from Name", "datetime"},
      {"select UNITS & 3 from Activity", "int"},
      {"select -BALANCE from Name", "decimal(12,2)"},
  });
}

TEST(BindTypes, OperatorsTheServerRefusesFailWithItsNumber) {
  ExpectOutcomes({
      {"select PAID_THRU + 1 from Name", "error 206 line 1"},
      {"select PAID_THRU + PAID_THRU from Name", "error 8117 line 1"},
      {"select PAID_THRU + JOIN_DATE from Name", "error 402 line 1"},
      {"select 'a' - 'b'", "error 8117 line 1"},
      {"select\n GUID + 1 from Name", "error 206 line 2"},
      {"select JOIN_DATE * 2 from Name", "error 8117 line 1"},
      {"select WEIGHT % 2 from Activity", "error 402 line 1"},
      {"select BALANCE & 1 from Name", "error 402 line 1"},
      {"select -'a'", "error 8117 line 1"},
      {"select 1 from Name where PAID_THRU = 5", "error 206 line 1"},
      {"select 1 where cast('10:00' as time) = cast('2020-01-01' as date)", "error 402 line 1"},
      {"select cast(PAID_THRU as int) from Name", "error 529 line 1"},
  });
}

TEST(BindConversions, TheOperandOfLowerPrecedenceIsConvertedInTheTree) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"select iif(PAID_THRU < '20140101', 1, 0) from Name",
       "(iif (< PAID_THRU:date (implicit:date '20140101':varchar(8))) 1:int 0:int)"},
      {"select 'x' + 1", "(+ (implicit:int 'x':varchar(1)) 1:int)"},
      {"select 'a' + 'b'", "(+ 'a':varchar(1) 'b':varchar(1))"},
      {"select JOIN_DATE + 1 from Name", "(+ JOIN_DATE:datetime (implicit:datetime 1:int))"},
      {"select UNITS * BALANCE from Name, Activity",
       "(* (implicit:decimal(5,0) UNITS:smallint) BALANCE:decimal(12,2))"},
      {"select case when 1 = 1 then 1 else 'x' end",
       "(case (= 1:int 1:int) 1:int (implicit:int 'x':varchar(1)))"},
      {"select coalesce(UNITS, 2.5) from Activity",
       "(coalesce (implicit:decimal(5,0) UNITS:smallint) 2.5:decimal(2,1))"},
      {"select left(UNITS, 1) from Activity", "(left (implicit:varchar(6) UNITS:smallint) 1:int)"},
      {"select datediff(day, 0, JOIN_DATE) from Name",
       "(datediff day (implicit:datetime 0:int) JOIN_DATE:datetime)"},
  };
  for (const auto& [sBatch, sTyped] : cases) {
    EXPECT_EQ(FirstItem(sBatch), QString::fromUtf8(sTyped)) << sBatch;
  }
}

TEST(BindFunctions, BuiltinsGiveTheirDocumentedResultTypes) {
  ExpectOutcomes({
      {"select len(LAST_NAME) from Name", "int"},
      {"select len(NOTES) from Name", "bigint"},
      {"select left(LAST_NAME, 3) from Name", "varchar(30)"},
      {"select left(NICK, 3) from Name", "nvarchar(40)"},
      {"select upper(STATUS) from Name", "varchar(1)"},
      {"select charindex('a', NOTES) from Name", "bigint"},
      {"select replace(LAST_NAME, 'a', 'b') from Name", "varchar(8000)"},
      {"select isnull(BALANCE, 0) from Name", "decimal(12,2)"},
      {"select coalesce(UNITS, BIG, 1) from Activity", "bigint"},
      {"select iif(UNITS > 1, 'a', 'bcd') from Activity", "varchar(3)"},
      {"select nullif(CITY, '') from Name", "varchar(20)"},
      {"select dateadd(day, 1, PAID_THRU) from Name", "date"},
      {"select dateadd(day, 1, '20200101')", "datetime"},
      {"select datediff(day, JOIN_DATE, getdate()) from Name", "int"},
      {"select getdate()", "datetime"},
      {"select sysdatetime()", "datetime2"},
      {"select eomonth(JOIN_DATE) from Name", "date"},
      {"select convert(varchar, JOIN_DATE, 101) from Name", "varchar(30)"},
      {"select cast(BALANCE as int) from Name", "int"},
      {"select round(BALANCE, 0) from Name", "decimal(12,2)"},
      {"select floor(BALANCE) from Name", "decimal(12,0)"},
      {"select ceiling(UNITS) from Activity", "int"},
      {"select abs(WEIGHT) from Activity", "float"},
      {"select object_id('tempdb..#t')", "int"},
      {"select db_name()", "nvarchar(128)"},
      {"select newid()", "uniqueidentifier"},
      {"select concat(LAST_NAME, ID) from Name", "varchar(41)"},
      {"select @@rowcount", "int"},
  });
}

TEST(BindFunctions, UnknownNamesAndWrongArgumentsFailAsTheServerWords) {
  ExpectOutcomes({
      {"select ifnull(1, 2)", "error 195 line 1"},
      {"select\n\n substr('abc', 1, 1)", "error 195 line 3"},
      {"select len('a', 'b')", "error 174 line 1"},
      {"select charindex('a')", "error 189 line 1"},
      {"select dateadd(dayz, 1, getdate())", "error 155 line 1"},
      {"select left('abc', JOIN_DATE) from Name", "error 8116 line 1"},
      {"select row_number()", "error 10753 line 1"},
      {"select coalesce(null, null)", "error 4127 line 1"},
      {"select case when 1 = 1 then null end", "error 8133 line 1"},
  });
}

TEST(BindAggregates, AggregatesTypeAndPlaceAsTheServerRequires) {
  ExpectOutcomes({
      {"select count(*) from Name", "int"},
      {"select sum(UNITS) from Activity", "int"},
      {"select sum(BIG) from Activity", "bigint"},
      {"select sum(BALANCE) from Name", "decimal(38,2)"},
      {"select avg(UNITS) from Activity", "int"},
      {"select avg(RATE) from Activity", "decimal(38,6)"},
      {"select avg(AMOUNT) from Activity", "money"},
      {"select max(LAST_NAME) from Name", "varchar(30)"},
      {"select string_agg(LAST_NAME, ',') from Name", "varchar(8000)"},
      {"select ID, count(*) from Activity group by ID", "int"},
      {"select ID + 1, count(*) from Activity group by ID + 1", "int"},
      {"select row_number() over (order by ID) from Name", "bigint"},
      {"select sum(CITY) from Name", "error 8117 line 1"},
      {"select max(ACTIVE) from Activity", "error 8117 line 1"},
      {"select ID, count(*) from Activity", "error 8120 line 1"},
      {"select ID, count(*) from Activity group by SEQN", "error 8120 line 1"},
      {"select ID from Activity group by ID having UNITS > 1", "error 8121 line 1"},
      {"select 1 from Activity where sum(UNITS) > 1", "error 147 line 1"},
      {"select sum(count(*)) from Activity", "error 130 line 1"},
      {"select ID from Activity where row_number() over (order by ID) = 1", "error 4108 line 1"},
  });
}

TEST(BindNames, NamesResolveOrFailWithTheServersErrors) {
  ExpectOutcomes({
      {"select NOPE from Name", "error 207 line 1"},
      {"select 1\nfrom Name\nwhere x.ID = 1", "error 4104 line 3"},
      {"select ID from Name, Activity", "error 209 line 1"},
      {"select Name.ID from Name, Activity", "int"},
      {"select n.ID from Name n join Activity a on a.ID = n.ID", "int"},
      {"select Name.ID from Name n", "error 4104 line 1"},
      {"select 1 from Name, Name", "error 1013 line 1"},
      {"select @x", "error 137 line 1"},
      {"declare @x int\nselect @x", "int"},
      {"declare @x int\ndeclare @X varchar(2)", "error 134 line 2"},
      {"if 1 = 1 begin declare @x date end\nselect @x", "date"},
      {"select * from @t", "error 1087 line 1"},
      {"select x.* from Name", "error 107 line 1"},
      {"select *", "error 263 line 1"},
      {"select (select ID from Activity a where a.ID = n.ID and CITY = 'x') from Name n", "int"},
      {"select LAST_NAME from Name where ID in (select ID, SEQN from Activity)",
       "error 116 line 1"},
      {"select dbo.nope(1)", "error 4121 line 1"},
  });
}

TEST(BindNames, ScopesOfTheBatchHoldTableVariablesCommonAndDerivedTables) {
  ExpectOutcomes({
      {"declare @t table (a int, b varchar(5))\nselect b from @t", "varchar(5)"},
      {"with c as (select ID, BALANCE * 2 as dbl from Name) select dbl from c", "decimal(23,2)"},
      {"with c (x) as (select LAST_NAME from Name) select x from c", "varchar(30)"},
      {"select d.total from (select sum(UNITS) total from Activity) d", "int"},
      {"select * from (select 1) d", "error 8155 line 1"},
      {"select * from (select ID from Name order by ID) d", "error 1033 line 1"},
      {"select LAST_NAME from Name order by 3", "error 108 line 1"},
      {"select LAST_NAME as n from Name order by n", "varchar(30)"},
      {"select distinct LAST_NAME from Name order by CITY", "error 145 line 1"},
  });
}

TEST(BindResults, ResultColumnsAreNamedAndStarExpandsInTheCataloguesOrder) {
  MemoryCatalog catalog;
  Batch batch = Parse(QStringLiteral("select a.*, LAST_NAME x, seqn, 1 + 1 from Activity a, Name"));
  Binder binder(catalog);
  binder.BindBatch(batch);
  QStringList names;
  for (const ResultColumn& column : binder.Find(*batch.statements[0])->result)
    names << column.sName;
  EXPECT_EQ(names.join(u','),
            "SEQN,ID,ACTIVITY_TYPE,AMOUNT,UNITS,RATE,WEIGHT,STAMP,ACTIVE,BIG,x,seqn,");
}

TEST(BindResults, UnionsTakeTheHigherTypeAndTheFirstQuerysNames) {
  ExpectOutcomes({
      {"select UNITS from Activity union all select BIG from Activity", "bigint"},
      {"select 'a' union select 'abc'", "varchar(3)"},
      {"select 1 union select 'x'", "int"},
      {"select 1 union select 1, 2", "error 205 line 1"},
      {"select PAID_THRU from Name union select 1", "error 206 line 1"},
  });
}

TEST(BindStatements, InsertsUpdatesAndAssignmentsConvertToTheirTargets) {
  ExpectOutcomes({
      {"insert into Activity (ID, UNITS) values (1, 2, 3)", "error 110 line 1"},
      {"insert into Activity (ID, UNITS) values (1)", "error 109 line 1"},
      {"insert into Activity (ID) select ID, CITY from Name", "error 121 line 1"},
      {"insert into Activity (NOPE) values (1)", "error 207 line 1"},
      {"insert into Name (PAID_THRU) values (1)", "error 206 line 1"},
      {"update Activity set SEQN = 1", "error 8102 line 1"},
      {"update a set UNITS = n.ID from Activity a join Name n on n.ID = a.ID", "no result"},
      {"declare @d date\nset @d = getdate()\nset @d += 1", "error 206 line 3"},
      {"declare @i int\nset @i = JOIN_DATE", "error 207 line 2"},
      {"declare @i int = getdate()", "error 257 line 1"},
      {"declare @s varchar(10)\nselect @s = LAST_NAME, CITY from Name", "error 141 line 2"},
  });
}

TEST(BindDeferred, AStatementNamingATableMadeLaterInTheBatchIsBoundWhenItRuns) {
  MemoryCatalog catalog;
  Batch batch = Parse(QStringLiteral(
      "create table #t (a int)\nselect 1 from Name where NOPE = 1 and 1 = 0\nselect a from #t"));
  Binder binder(catalog);
  // The second select names only existing tables: it fails the whole batch.
  EXPECT_THROW(binder.BindBatch(batch), TsqlError);
  batch = Parse(QStringLiteral("create table #t (a int)\nselect a + 1 from #t\nselect 2"));
  Binder deferring(catalog);
  deferring.BindBatch(batch);
  const StatementBinding* select = deferring.Find(*batch.statements[1]);
  ASSERT_TRUE(select->bDeferred);
  EXPECT_EQ(select->sUnresolvedObject, "#t");
  try {
    deferring.BindDeferred(*batch.statements[1]);
    ADD_FAILURE() << "a table still missing at run time must fail";
  } catch (const TsqlError& error) {
    EXPECT_EQ(error.Number(), 208);
    EXPECT_EQ(error.Line(), 2);
  }
  // Once the create has run, the backend's catalogue knows the table.
  catalog.tables_.push_back({"#t", {Column("a", "decimal(5,1)")}});
  EXPECT_EQ(deferring.BindDeferred(*batch.statements[1]).result.at(0).type.Name(), "decimal(12,1)");
}

TEST(BindConversions, PredicatesConvertTheirOperandsToOneType) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"select iif(UNITS between '1' and 2.5, 1, 0) from Activity",
       "(iif (between (implicit:decimal(5,0) UNITS:smallint) (implicit:decimal(6,1) "
       "'1':varchar(1)) 2.5:decimal(2,1)) 1:int 0:int)"},
      {"select iif(ID in ('1', 2), 1, 0) from Name",
       "(iif (in ID:int (implicit:int '1':varchar(1)) 2:int) 1:int 0:int)"},
      {"select iif(ID like '1%', 1, 0) from Name",
       "(iif (like (implicit:varchar(11) ID:int) '1%':varchar(2)) 1:int 0:int)"},
      {"select iif(JOIN_DATE > PAID_THRU, 1, 0) from Name",
       "(iif (> JOIN_DATE:datetime (implicit:datetime PAID_THRU:date)) 1:int 0:int)"},
      {"select case UNITS when '3' then 'a' end from Activity",
       "(case UNITS:smallint (implicit:smallint '3':varchar(1)) 'a':varchar(1))"},
      {"select abs('-1')", "(abs (implicit:float '-1':varchar(2)))"},
      {"select year('20200101')", "(year (implicit:datetime2 '20200101':varchar(8)))"},
  };
  for (const auto& [sBatch, sTyped] : cases) {
    EXPECT_EQ(FirstItem(sBatch), QString::fromUtf8(sTyped)) << sBatch;
  }
}

TEST(BindFunctions, MoreBuiltinsFollowTheirArguments) {
  ExpectOutcomes({
      {"select substring(NICK, 1, 2) from Name", "nvarchar(40)"},
      {"select right(NOTES, 2) from Name", "varchar(max)"},
      {"select replace(NICK, 'a', 'b') from Name", "nvarchar(4000)"},
      {"select stuff(NOTES, 1, 1, '') from Name", "varchar(max)"},
      {"select concat_ws(',', 'ab', 'cde')", "varchar(6)"},
      {"select concat(N'a', 'b')", "nvarchar(2)"},
      {"select string_agg(NICK, ',') from Name", "nvarchar(4000)"},
      {"select string_agg(ID, ',') from Name", "nvarchar(4000)"},
      {"select datename(month, JOIN_DATE) from Name", "nvarchar(30)"},
      {"select datepart(dw, JOIN_DATE) from Name", "int"},
      {"select datefromparts(2020, 1, 1)", "date"},
      {"select power(UNITS, 2) from Activity", "int"},
      {"select power(RATE, 2) from Activity", "decimal(38,3)"},
      {"select sign(BALANCE) from Name", "decimal(12,0)"},
      {"select round(UNITS, 0) from Activity", "int"},
      {"select sqrt(4)", "float"},
      {"select choose(2, 'a', 'bc')", "varchar(2)"},
      {"select isnull(null, UNITS) from Activity", "smallint"},
      {"select count_big(ID) from Name", "bigint"},
      {"select dense_rank() over (partition by CITY order by ID) from Name", "bigint"},
      {"select try_convert(int, CITY) from Name", "int"},
      {"select cast(CITY as varchar) from Name", "varchar(30)"},
      {"select len(@@spid)", "int"},
      {"select @@identity", "decimal(38,0)"},
      {"select @@nope", "error 137 line 1"},
      {"select current_timestamp", "datetime"},
      {"select isnumeric(CITY) from Name", "int"},
      {"select abs(JOIN_DATE) from Name", "error 8116 line 1"},
      {"select dateadd(day, 1, GUID) from Name", "error 8116 line 1"},
  });
}

TEST(BindNames, QueriesSeeTheColumnsOfTheirOuterQueriesAndApplies) {
  ExpectOutcomes({
      {"select x.n from Name cross apply (select count(*) n from Activity a where a.ID = Name.ID) "
       "x",
       "int"},
      {"select 1 from Name n where exists (select 1 from Activity where ID = n.ID)", "int"},
      {"select 1 from Name n where exists (select 1 from Activity where NOPE = n.ID)",
       "error 207 line 1"},
      {"select (select max(UNITS) from Activity a where a.ID = Name.ID) from Name", "smallint"},
      {"select ID from (select ID from Name) d join Activity a on a.ID = d.ID", "error 209 line 1"},
      {"select x from (select 1 a) d (x, y)", "error 8159 line 1"},
      {"select 1 from (select 1 a, 2 a) d", "error 8156 line 1"},
      {"with r as (select 1 n union all select n + 1 from r where n < 3) select n from r", "int"},
      {"with a as (select 1 x), b as (select x from a) select x from b", "int"},
      {"select @x\ndeclare @x int", "error 137 line 1"},
      {"declare @t table (a int)\ninsert into @t (a) values ('1')\nselect a from @t", "int"},
      {"insert into @nope values (1)", "error 1087 line 1"},
      {"select LAST_NAME from [dbo].[Name] where Name.CITY = 'x'", "varchar(30)"},
      {"select dbo.Name.CITY from dbo.Name", "varchar(20)"},
  });
}

TEST(BindResults, SelectShapesFollowUnionsAssignmentsAndInto) {
  ExpectOutcomes({
      {"select CITY from Name union select NICK from Name", "nvarchar(40)"},
      {"select LAST_NAME from Name union select CITY from Name order by LAST_NAME", "varchar(30)"},
      {"select LAST_NAME from Name union select CITY from Name order by 2", "error 108 line 1"},
      {"select BALANCE from Name union all select AMOUNT from Activity", "decimal(19,4)"},
      {"declare @n int\nselect @n = count(*) from Name", "no result"},
      {"declare @s varchar(5)\nselect @s += CITY from Name", "no result"},
      {"select ID, LAST_NAME + CITY into #t from Name", "error 1038 line 1"},
      {"select ID, LAST_NAME + CITY as full_name into #t from Name", "int"},
      {"select top (@n) ID from Name", "error 137 line 1"},
  });
}

TEST(BindStatements, EveryStatementKindChecksWhatItNames) {
  ExpectOutcomes({
      {"update Name set CITY = 1 where NOPE = 2", "error 207 line 1"},
      {"update Name set NOPE = 1", "error 207 line 1"},
      {"update Name set PAID_THRU = 5", "error 206 line 1"},
      {"delete from Name where x.ID = 1", "error 4104 line 1"},
      {"delete n from Name n join Activity a on a.ID = n.ID where a.UNITS > 1", "no result"},
      {"truncate table Nope", "no result"},
      {"declare @i int\nset @i += 'x'", "no result"},
      {"declare @s varchar(9)\nset @s += 1", "no result"},
      {"declare @d datetime\nset @d += 1", "no result"},
      {"set @nope = 1", "error 137 line 1"},
      {"if exists (select 1 from Name where NOPE = 1) print 'x'", "error 207 line 1"},
      {"while (select count(*) from Name) > @n break", "error 137 line 1"},
      {"print @nope", "error 137 line 1"},
      {"begin try\n select 1\nend try\nbegin catch\n select NOPE from Name\nend catch",
       "error 207 line 5"},
      {"exec sp_x @p = @nope", "error 137 line 1"},
      {"declare @a int, @a int", "error 134 line 1"},
      {"insert into Name (CITY) select LAST_NAME from Name union select NICK from Name",
       "no result"},
  });
}

TEST(BindDeferred, DeferredStatementsKeepTheirVariablesAndNestedStatements) {
  MemoryCatalog catalog;
  Batch batch = Parse(QStringLiteral(
      "declare @n int = (select count(*) from #t)\nif @n > 0 select @n\nselect @n + 1"));
  Binder binder(catalog);
  binder.BindBatch(batch);
  // The declare waits for #t, yet its variable is known to the statements after it.
  EXPECT_TRUE(binder.Find(*batch.statements[0])->bDeferred);
  EXPECT_FALSE(binder.Find(*batch.statements[1]->body)->bDeferred);
  EXPECT_EQ(binder.Find(*batch.statements[2])->result.at(0).type.Name(), "int");
  catalog.tables_.push_back({"#t", {Column("a", "int")}});
  // Bound again at run time, the declare finds its own variable, not a second one.
  EXPECT_FALSE(binder.BindDeferred(*batch.statements[0]).bDeferred);
  EXPECT_EQ(binder.Variables().size(), 1u);
}

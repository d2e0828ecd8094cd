// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QStringList>

#include "AstDump.h"
#include "Parser.h"
#include "QStringPrinter.h"
#include "TsqlError.h"

using twk::tsql::AstDump;
using twk::tsql::Parse;
using twk::tsql::TsqlError;

namespace {

struct DumpCase {
  const char* sBatch;
  const char* sDump;
};

void ExpectDumps(const std::vector<DumpCase>& rows) {
  for (const DumpCase& row : rows) {
    const QString sBatch = QString::fromUtf8(row.sBatch);
    try {
      EXPECT_EQ(AstDump::Of(Parse(sBatch)), QString::fromUtf8(row.sDump)) << row.sBatch;
    } catch (const TsqlError& error) {
      ADD_FAILURE() << row.sBatch << "\n  threw " << error.Number() << ": "
                    << error.Message().toStdString();
    }
  }
}

TEST(ParseExpressions, OperatorsBindAtTheServersPrecedence) {
  ExpectDumps({
      {"select 1 + 2 * 3 - 4", "(select ((- (+ 1 (* 2 3)) 4)))"},
      {"select -a * b, 2 * -3, ~a * b, - - 1",
       "(select ((- (* a b)) (* 2 (- 3)) (* (~ a) b) (- (- 1))))"},
      {"select a & b | c ^ d + e", "(select ((+ (^ (| (& a b) c) d) e)))"},
      {"select 1 where a = 1 or b = 2 and not c <> 3",
       "(select (1) (where (or (= a 1) (and (= b 2) (not (<> c 3))))))"},
      {"select 1 where a != 1 and b !< 2 and c !> 3",
       "(select (1) (where (and (and (<> a 1) (>= b 2)) (<= c 3))))"},
      {"select 1 where a between 1 and 2 and b not between 3 and 4",
       "(select (1) (where (and (between a 1 2) (not-between b 3 4))))"},
      {"select 1 where a like 'x%' escape '!' or a not like '[a-c]_'",
       "(select (1) (where (or (like a 'x%' '!') (not-like a '[a-c]_'))))"},
      {"select 1 where a in (1, 2) and b not in (select c from t)",
       "(select (1) (where (and (in a 1 2) (not-in b (select (c) (from t))))))"},
      {"select 1 where a is null or b is not null",
       "(select (1) (where (or (is-null a) (not-is-null b))))"},
      {"select 1 where exists (select * from t) and not exists (select 1)",
       "(select (1) (where (and (exists (select (*) (from t))) (not (exists (select (1)))))))"},
      {"select (1 + 2) * 3, ((a))", "(select ((* (+ 1 2) 3) a))"},
  });
}

TEST(ParseExpressions, LiteralsNamesAndVariablesKeepWhatWasWritten) {
  ExpectDumps({
      {"select 'it''s', N'ü', 12, 1.5, .5, 1e3, 0x1F, $2.50, null",
       "(select ('it''s' N'ü' 12 1.5 .5 1e3 0x1F $2.50 null))"},
      {"select @v, @@ROWCOUNT, [a b].[c]]d], dbo..t, s.d.o.c",
       "(select (@v @@rowcount a b.c]d dbo..t s.d.o.c))"},
      {"select a collate Latin1_General_CS_AS", "(select ((collate a Latin1_General_CS_AS)))"},
  });
}

TEST(ParseExpressions, FunctionsCaseAndConversions) {
  ExpectDumps({
      {"select left(a, 3), right(a, 2), dbo.f(1), getdate()",
       "(select ((call left a 3) (call right a 2) (call dbo.f 1) (call getdate)))"},
      {"select count(*), count(distinct a), sum(all b)",
       "(select ((call count *) (call count distinct a) (call sum b)))"},
      {"select row_number() over (partition by a, b order by c desc, d)",
       "(select ((call row_number (over (partition a b) (order (desc c) d)))))"},
      {"select sum(x) over ()", "(select ((call sum x (over))))"},
      {"select dateadd(day, 1, d), datediff(dd, a, b)",
       "(select ((call dateadd day 1 d) (call datediff dd a b)))"},
      {"select current_timestamp, user", "(select ((call current_timestamp) (call user)))"},
      {"select case a when 1 then 'x' when 2 then 'y' else 'z' end",
       "(select ((case a (when 1 'x') (when 2 'y') (else 'z'))))"},
      {"select case when a > 1 then 1 end", "(select ((case (when (> a 1) 1))))"},
      {"select 'x' + case when a = 1 then 'y' end + '!'",
       "(select ((+ (+ 'x' (case (when (= a 1) 'y'))) '!')))"},
      {"select cast(a as varchar(10)), try_cast(b as decimal(12, 2)), cast(c as varchar)",
       "(select ((cast varchar(10) a) (try_cast decimal(12,2) b) (cast varchar c)))"},
      {"select convert(varchar(30), d, 101), try_convert(int, 'x'), convert(nvarchar(max), n)",
       "(select ((convert varchar(30) d 101) (try_convert int 'x') (convert nvarchar(max) n)))"},
      {"select iif(a > 1, 'y', 'n'), coalesce(a, b), nullif(a, 0)",
       "(select ((call iif (> a 1) 'y' 'n') (call coalesce a b) (call nullif a 0)))"},
      {"select (select max(a) from t) + 1",
       "(select ((+ (subquery (select ((call max a)) (from t))) 1)))"},
      {"select stuff((select ',' + n from t for xml path(''), type).value('.', 'nvarchar(max)'), "
       "1, 1, '')",
       "(select ((call stuff (xml-value (subquery (query (select ((+ ',' n)) (from t)) "
       "(for-xml-path '' type))) '.' 'nvarchar(max)') 1 1 '')))"},
  });
}

TEST(ParseQueries, SelectClausesJoinsAndSetOperators) {
  ExpectDumps({
      {"select distinct top 3 a from t order by a desc",
       "(query (select distinct (top 3) (a) (from t)) (order (desc a)))"},
      {"select top (10) percent with ties a into #x from t",
       "(select (top 10 percent ties) (a) (into #x) (from t))"},
      {"select a as x, b y, c 'z', KEYWORD = d, 'w' = e, t.*, *",
       "(select ((as a x) (as b y) (as c z) (as d KEYWORD) (as e w) t.* *))"},
      {"select @v = a, @w += 1 from t", "(select ((= @v a) (+= @w 1)) (from t))"},
      {"select a from t join u on t.i = u.i left outer join v on 1 = 1 cross join w",
       "(select (a) (from (cross-join (left-join (join t u (= t.i u.i)) v (= 1 1)) w)))"},
      {"select a from t f inner join u as g with (nolock) on f.i = g.i, x (nolock)",
       "(select (a) (from (join (t f) (u g (hints nolock)) (= f.i g.i)) (x (hints nolock))))"},
      {"select a from t right join u on 1=1 full join v on 1=1",
       "(select (a) (from (full-join (right-join t u (= 1 1)) v (= 1 1))))"},
      {"select a from t cross apply (select 1 b) x outer apply (select 2 c) y",
       "(select (a) (from (outer-apply (cross-apply t (derived (select ((as 1 b))) x)) "
       "(derived (select ((as 2 c))) y))))"},
      {"select d.a from (select 1, 2) as d (a, b)",
       "(select (d.a) (from (derived (select (1 2)) d (columns a b))))"},
      {"select a, count(*) from t where b > 1 group by a having count(*) > 2",
       "(select (a (call count *)) (from t) (where (> b 1)) (group a) (having (> (call count *) "
       "2)))"},
      {"select top 1 a from t union all select b from u union select c from v order by 1",
       "(query (union (union-all (select (top 1) (a) (from t)) (select (b) (from u))) (select (c) "
       "(from v))) (order 1))"},
      {"select 1 union select 2 intersect select 3 except select 4",
       "(except (union (select (1)) (intersect (select (2)) (select (3)))) (select (4)))"},
      {"(select 1) union (select 2)", "(union (select (1)) (select (2)))"},
      {"(select 1 union select 2 order by 1) union select 3 union all select 4",
       "(union-all (union (query (union (select (1)) (select (2))) (order 1)) (select (3))) "
       "(select (4)))"},
      {"select n from (values (1, 'a'), (2 + 3, null)) v (n, s)",
       "(select (n) (from (derived (union-all (select (1 'a')) (select ((+ 2 3) null))) v "
       "(columns n s))))"},
      {"select a from t order by a offset 5 rows fetch next 10 rows only",
       "(query (select (a) (from t)) (order a) (offset 5) (fetch 10))"},
      {"with c (x) as (select 1), d as (select 2) select * from c",
       "(query (select (*) (from c)) (with c (x) (select (1))) (with d (select (2))))"},
      {"select a from @t t2 where a in (select a from #t)",
       "(select (a) (from (@t t2)) (where (in a (select (a) (from #t)))))"},
  });
}

TEST(ParseStatements, DataChanges) {
  ExpectDumps({
      {"insert into #t (a, b) values (1, 'x'), (2, default)",
       "(insert #t (columns a b) (values (1 'x') (2 default)))"},
      {"insert @t select a from u", "(insert @t (select (a) (from u)))"},
      {"insert t exec p 1", "(insert t (exec p 1))"},
      {"insert t default values", "(insert t default-values)"},
      {"update f set a = 1, b += 2, @v = c, @w = d = 3 from #flags f join x on f.i = x.i where a > "
       "0",
       "(update f (set (= a 1) (+= b 2) (= @v c) (= @w d 3)) (from (join (#flags f) x (= f.i "
       "x.i))) "
       "(where (> a 0)))"},
      {"update top (5) t set a = default", "(update t (top 5) (set (= a default)))"},
      {"delete from t where a = 1", "(delete t (where (= a 1)))"},
      {"delete top (10) percent t from t join u on 1=1",
       "(delete t (top 10 percent) (from (join t u (= 1 1))))"},
      {"truncate table dbo.t", "(truncate dbo.t)"},
      {"with c as (select 1 a) delete from c", "(delete c (with c (select ((as 1 a)))))"},
  });
}

TEST(ParseStatements, VariablesOptionsAndControlFlow) {
  ExpectDumps({
      {"declare @a int = 5, @b varchar(10), @c varchar, @d as decimal(12,2)",
       "(declare (var @a int 5) (var @b varchar(10)) (var @c varchar) (var @d decimal(12,2)))"},
      {"declare @t table (a int primary key, b nvarchar(20) not null)",
       "(declare (@t table (column a int primary-key) (column b nvarchar(20) not-null)))"},
      {"set @a = 1 set @a += 2; set @s = (select 1)",
       "(set @a = 1)\n(set @a += 2)\n(set @s = (subquery (select (1))))"},
      {"set nocount on set ansi_nulls, quoted_identifier off set datefirst 7 set dateformat mdy "
       "set rowcount @n set transaction isolation level read uncommitted set identity_insert #t on",
       "(set-option nocount on)\n(set-option ansi_nulls quoted_identifier off)\n(set-option "
       "datefirst 7)\n(set-option dateformat mdy)\n(set-option rowcount @n)\n(set-option "
       "transaction isolation level read uncommitted)\n(set-option identity_insert #t on)"},
      {"if @a > 1 select 1; else begin print 'x' end",
       "(if (> @a 1) (select (1)) (else (begin (print 'x'))))"},
      {"while @i < 3 begin set @i += 1 if @i = 2 continue break end",
       "(while (< @i 3) (begin (set @i += 1) (if (= @i 2) (continue)) (break)))"},
      {"begin try select 1/0 end try begin catch select error_message() end catch",
       "(try (select ((/ 1 0))) (catch (select ((call error_message)))))"},
      {"return\nselect 1", "(return)\n(select (1))"},
      {"return @x + 1", "(return (+ @x 1))"},
      {";;select 1;", "(empty)\n(empty)\n(select (1))"},
      {"select 1 select 2\nselect 3", "(select (1))\n(select (2))\n(select (3))"},
  });
}

TEST(ParseStatements, ExecTransactionsTablesAndErrors) {
  ExpectDumps({
      {"exec p 1, -2, 'x', @a, @b = 2, @c output, default, word, null",
       "(exec p 1 (- 2) 'x' @a (= @b 2) (output @c) default 'word' null)"},
      {"execute @r = dbo.p @x out", "(exec @r = dbo.p (output @x))"},
      {"exec (@sql) exec ('select ' + @c)", "(exec-sql @sql)\n(exec-sql (+ 'select ' @c))"},
      {"exec sp_executesql @sql, N'@a int', @a = 1",
       "(exec sp_executesql @sql N'@a int' (= @a 1))"},
      {"create table #t (id int identity(1, 1) primary key, n varchar(10) collate "
       "Latin1_General_CS_AS "
       "null default 'x', c int unique, constraint pk primary key (id, n))",
       "(create-table #t (column id int identity(1,1) primary-key) (column n varchar(10) null "
       "(default 'x') (collate Latin1_General_CS_AS)) (column c int unique) "
       "(primary-key id n))"},
      {"drop table if exists #a, #b drop table c", "(drop-table if-exists #a #b)\n(drop-table c)"},
      {"begin tran; begin transaction t1 commit commit tran t1 rollback transaction save tran s",
       "(begin-tran)\n(begin-tran t1)\n(commit)\n(commit t1)\n(rollback)\n(save-tran s)"},
      {"raiserror('m %d', 16, 1, @a) with nowait", "(raiserror 'm %d' 16 1 @a (with nowait))"},
      {"throw 50001, 'bad', 1; throw", "(throw 50001 'bad' 1)\n(throw)"},
  });
}

struct ErrorCase {
  const char* sBatch;
  long lNumber;
  int iLine;
  const char* sMessage;
};

void ExpectErrors(const std::vector<ErrorCase>& rows) {
  for (const ErrorCase& row : rows) {
    try {
      const QString sDump = AstDump::Of(Parse(QString::fromUtf8(row.sBatch)));
      ADD_FAILURE() << row.sBatch << "\n  parsed as " << sDump.toStdString();
    } catch (const TsqlError& error) {
      EXPECT_EQ(error.Number(), row.lNumber) << row.sBatch;
      EXPECT_EQ(error.Line(), row.iLine) << row.sBatch;
      EXPECT_EQ(error.Message(), QString::fromUtf8(row.sMessage)) << row.sBatch;
    }
  }
}

TEST(ParseErrors, SyntaxErrorsNameTheTokenAndLineAsTheServerDoes) {
  ExpectErrors({
      {"select a from t where", 156, 1, "Incorrect syntax near the keyword 'where'."},
      {"SELECT a FROM t WHERE", 156, 1, "Incorrect syntax near the keyword 'WHERE'."},
      {"select 1 +\n\n", 102, 1, "Incorrect syntax near '+'."},
      {"select a\nfrom t\nwhere a == 1", 102, 3, "Incorrect syntax near '='."},
      {"select a || b", 102, 1, "Incorrect syntax near '|'."},
      {"select [x\ny] from", 156, 2, "Incorrect syntax near the keyword 'from'."},
      {"select 'a' 'b' 'c'", 102, 1, "Incorrect syntax near 'c'."},
      {"select 1 = 1", 102, 1, "Incorrect syntax near '='."},
      {"select (a = 1) + 1", 102, 1, "Incorrect syntax near '+'."},
      {"select 1 from t where a", 4145, 1,
       "An expression of non-boolean type specified in a context where a condition is expected, "
       "near 'a'."},
      {"if 1 and a = 1 print 1", 4145, 1,
       "An expression of non-boolean type specified in a context where a condition is expected, "
       "near 'and'."},
      {"select a from t limit 1", 102, 1, "Incorrect syntax near '1'."},
      {"else select 1", 156, 1, "Incorrect syntax near the keyword 'else'."},
      {"begin select 1", 102, 1, "Incorrect syntax near '1'."},
      {"select 'abc\ndef", 105, 1,
       "Unclosed quotation mark after the character string 'abc\ndef'."},
      {"select N'x", 105, 1, "Unclosed quotation mark after the character string 'x'."},
      {"select [abc", 105, 1, "Unclosed quotation mark after the character string 'abc'."},
      {"select 1 /* a /* b */", 113, 1, "Missing end comment mark '*/'."},
      {"select cast(a as blob)", 243, 1, "Type blob is not a defined system type."},
      {"declare @a varchar(9000)", 131, 1,
       "The size (9000) given to the type 'varchar' exceeds the maximum allowed for any data type "
       "(8000)."},
      {"select a = b = c", 102, 1, "Incorrect syntax near '='."},
      {"select a from t where a between 1", 102, 1, "Incorrect syntax near '1'."},
      {"insert t values (1", 102, 1, "Incorrect syntax near '1'."},
      {"select ! 1", 102, 1, "Incorrect syntax near '!'."},
      {"select a from (select a from t option (maxrecursion 0)) x", 156, 1,
       "Incorrect syntax near the keyword 'option'."},
      {"select * from (values (1), (2, 3)) v (a)", 10709, 1,
       "The number of columns for each row in a table value constructor must be the same."},
  });
}

TEST(ParseErrors, ValidTsqlTheEngineDoesNotRunIsRefusedByName) {
  const auto refusal = [](const char* sWhat) {
    return std::string(sWhat) + " is valid T-SQL, but the embedded engine does not run it.";
  };
  const std::vector<std::pair<const char*, std::string>> rows{
      {"merge t using u on 1=1 when matched then delete;", refusal("MERGE")},
      {"declare c cursor for select 1",
       refusal("A cursor (DECLARE CURSOR, OPEN, FETCH, CLOSE, DEALLOCATE)")},
      {"fetch next from c", refusal("A cursor (DECLARE CURSOR, OPEN, FETCH, CLOSE, DEALLOCATE)")},
      {"goto done", refusal("GOTO")},
      {"select 1;\ndone:", refusal("A statement label")},
      {"waitfor delay '00:00:01'", refusal("WAITFOR")},
      {"select * from t pivot (sum(a) for b in ([x])) p", refusal("PIVOT or UNPIVOT")},
      {"select * from openquery(s, 'x')",
       refusal("OPENQUERY, OPENROWSET, OPENDATASOURCE or OPENXML")},
      {"bulk insert t from 'f'", refusal("BULK INSERT")},
      {"create procedure p as select 1", refusal("CREATE PROCEDURE, FUNCTION, VIEW or TRIGGER")},
      {"create index i on t (a)",
       refusal("CREATE or DROP of anything but a table (index, schema, type, ...)")},
      {"alter table t add a int", refusal("ALTER")},
      {"use master", refusal("USE")},
      {"delete t output deleted.a", refusal("The OUTPUT clause")},
      {"select a from t for json auto", refusal("FOR JSON or FOR BROWSE")},
      {"select a from t for xml raw", refusal("FOR XML other than PATH")},
      {"select a from t option (recompile)", refusal("A query hint (OPTION (...))")},
      {"select a from t option (maxrecursion 5)", refusal("A query hint (OPTION (...))")},
      {"select 1 where a > all (select b from t)", refusal("A comparison with ALL, ANY or SOME")},
      {"select sum(a) over (order by b rows unbounded preceding) from t",
       refusal("A window frame (ROWS or RANGE in OVER)")},
      {"declare @x xml",
       refusal("The text, ntext, image, xml, sql_variant, binary, timestamp, "
               "rowversion, datetimeoffset, hierarchyid, geography or geometry data type")},
      {"create table #t (a int references u (a))",
       refusal("A FOREIGN KEY or REFERENCES constraint")},
      {"select * from string_split('a,b', ',')",
       refusal("A table-valued function in a from clause (string_split, ...)")},
  };
  for (const auto& [sBatch, sMessage] : rows) {
    try {
      Parse(QString::fromUtf8(sBatch));
      ADD_FAILURE() << sBatch << " parsed";
    } catch (const TsqlError& error) {
      EXPECT_EQ(error.Number(), twk::tsql::NotRunByEngine) << sBatch;
      EXPECT_EQ(error.Message().toStdString(), sMessage) << sBatch;
    }
  }
}

TEST(ParseLimits, LongChainsParseWithoutDeepRecursionAndDeepNestingIsRefused) {
  QString sChain = QStringLiteral("select 1");
  for (int i = 0; i < 100000; ++i) sChain += QStringLiteral(" + a");
  sChain += QStringLiteral(" where x = 1");
  for (int i = 0; i < 10000; ++i) sChain += QStringLiteral(" and not not x = 1");
  EXPECT_EQ(Parse(sChain).statements.size(), 1u);
  // Left-deep chains are as deep as they are long: the dump and the tree's
  // destructors walk them in a loop too.
  const std::vector<std::pair<QString, QString>> chains{
      {QStringLiteral("select 1 from t"), QStringLiteral(" union all select 1")},
      {QStringLiteral("select 1 from t"), QStringLiteral(" cross join t")},
      {QStringLiteral("select 1 from t where 1 = 1"), QStringLiteral(" or 1 = 1")},
  };
  for (const auto& [sHead, sLink] : chains) {
    EXPECT_GT(AstDump::Of(Parse(sHead + sLink.repeated(100000))).size(), 1000000)
        << sLink.toStdString();
  }
  EXPECT_GT(AstDump::Of(Parse(sChain)).size(), 400000);

  const auto nested = [](int iDepth) {
    return QStringLiteral("select ") + QString(iDepth, u'(') + u'1' + QString(iDepth, u')');
  };
  EXPECT_EQ(Parse(nested(200)).statements.size(), 1u);
  EXPECT_EQ(Parse(QStringLiteral("select ") + QStringLiteral("- ").repeated(5000) + u'1')
                .statements.size(),
            1u);
  for (const QString& sDeep :
       {nested(5000), QString(3000, u'(') + QStringLiteral("select 1"),
        QStringLiteral("select 1") + QStringLiteral(" * -1").repeated(5000),
        QStringLiteral("if 1=1 ").repeated(3000) + QStringLiteral("print 1"),
        QStringLiteral("select ") + QStringLiteral("(select ").repeated(2000) + u'1'}) {
    try {
      Parse(sDeep);
      ADD_FAILURE() << "parsed " << sDeep.size() << " characters of nesting";
    } catch (const TsqlError& error) {
      EXPECT_EQ(error.Number(), 191) << error.Message().toStdString();
    }
  }
}

}  // namespace

namespace {

// Fragments of T-SQL put together at random: every batch either parses or
// raises a TsqlError, never anything else.
TEST(ParseLimits, RandomFragmentsParseOrRaiseTheServersError) {
  const QStringList fragments =
      QStringLiteral(
          "select|from|where|t|a|1|'x'|(|)|,|+|=|and|or|not|in|between|like|is|null|case|when|then|"
          "else|end|begin|if|while|set|@v|declare|int|varchar(10)|insert|into|values|update|delete|"
          "exec|join|on|left|cross|apply|union|all|order|by|group|top|as|cast|convert|over|*|.|;|"
          "[n]|N'y'|exists|with|for|xml|path|create|table|drop|try|catch|return|print|-|/*|'|[|--")
          .split(u'|');
  quint32 iSeed = 17;
  for (int iCase = 0; iCase < 3000; ++iCase) {
    QString sBatch;
    for (int i = 0; i < 12; ++i) {
      iSeed = iSeed * 1103515245u + 12345u;
      sBatch += fragments[static_cast<int>((iSeed >> 16) % fragments.size())] + u' ';
    }
    try {
      Parse(sBatch);
    } catch (const TsqlError& error) {
      EXPECT_GT(error.Line(), 0) << sBatch.toStdString();
    } catch (...) {
      ADD_FAILURE() << "unexpected exception for " << sBatch.toStdString();
    }
  }
}

}  // namespace

namespace {

// Each statement and expression keeps where the author wrote it, so that
// later errors can name the line.
TEST(ParseSpans, StatementsAndExpressionsPointIntoTheAuthorsText) {
  const QString sBatch =
      QStringLiteral("declare @a int\n\nselect top 1 [a b]\n  from t -- x\nwhere a = 'q'\nprint 1");
  const twk::tsql::Batch batch = Parse(sBatch);
  ASSERT_EQ(batch.statements.size(), 3u);
  const auto text = [&](const twk::tsql::SourceSpan& span) {
    return sBatch.mid(span.iStart, span.iEnd - span.iStart);
  };
  EXPECT_EQ(text(batch.statements[0]->span), QStringLiteral("declare @a int"));
  EXPECT_EQ(batch.statements[1]->span.iLine, 3);
  EXPECT_EQ(text(batch.statements[1]->span),
            QStringLiteral("select top 1 [a b]\n  from t -- x\nwhere a = 'q'"));
  const twk::tsql::SelectCore& core = *batch.statements[1]->query->core;
  EXPECT_EQ(text(core.items[0].expr->span), QStringLiteral("[a b]"));
  EXPECT_EQ(core.from[0]->span.iLine, 4);
  EXPECT_EQ(core.where->span.iLine, 5);
  EXPECT_EQ(text(core.where->span), QStringLiteral("a = 'q'"));
  EXPECT_EQ(batch.statements[2]->span.iLine, 6);
}

// SQLite would read a NUL as the text's end, so a batch holding one is refused
// wherever it stands, at the NUL's line, even inside a literal or comment.
TEST(ParseErrors, ABatchWithANulCharacterIsRefusedWhereverTheNulStands) {
  const QString sNul(QChar(u'\0'));
  const std::vector<std::pair<QString, int>> rows{
      {QStringLiteral("select 'a") + sNul + QStringLiteral("b'"), 1},
      {QStringLiteral("select 1 -- ") + sNul, 1},
      {QStringLiteral("print 1\n/* ") + sNul + QStringLiteral(" */"), 2},
      {QStringLiteral("select 1\n\nselect [") + sNul + u']', 3},
      {sNul, 1},
  };
  for (const auto& [sBatch, iLine] : rows) {
    try {
      Parse(sBatch);
      ADD_FAILURE() << sBatch.size() << " characters with a NUL parsed";
    } catch (const TsqlError& error) {
      EXPECT_EQ(error.Number(), 102);
      EXPECT_EQ(error.Line(), iLine);
      EXPECT_EQ(error.Message(),
                QStringLiteral("Incorrect syntax: the batch contains a NUL character."));
    }
  }
}

TEST(ParseErrors, MoreShapesTheServerRejects) {
  ExpectErrors({
      {"select", 156, 1, "Incorrect syntax near the keyword 'select'."},
      {"select a from", 156, 1, "Incorrect syntax near the keyword 'from'."},
      {"select a,", 102, 1, "Incorrect syntax near ','."},
      {"select a from t where (a = 1", 102, 1, "Incorrect syntax near '1'."},
      {"select case end", 156, 1, "Incorrect syntax near the keyword 'end'."},
      {"select cast(a varchar)", 102, 1, "Incorrect syntax near 'varchar'."},
      {"update t a = 1", 102, 1, "Incorrect syntax near 'a'."},
      {"delete", 156, 1, "Incorrect syntax near the keyword 'delete'."},
      {"insert t (a) 1", 102, 1, "Incorrect syntax near '1'."},
      {"declare a int", 102, 1, "Incorrect syntax near 'a'."},
      {"set @a == 1", 102, 1, "Incorrect syntax near '='."},
      {"if 1 = 1", 102, 1, "Incorrect syntax near '1'."},
      {"begin try select 1 end catch", 102, 1, "Incorrect syntax near 'catch'."},
      {"while @i < 3\nbegin\nset @i += 1", 102, 3, "Incorrect syntax near '1'."},
      {"select a from t join u", 102, 1, "Incorrect syntax near 'u'."},
      {"select top @n a from t", 102, 1, "Incorrect syntax near '@n'."},
      {"exec p (1)", 102, 1, "Incorrect syntax near '('."},
      {"create table #t (a int) (", 102, 1, "Incorrect syntax near '('."},
      {"select 1 union", 156, 1, "Incorrect syntax near the keyword 'union'."},
      {"select a from t order by", 156, 1, "Incorrect syntax near the keyword 'by'."},
      {"select a.* + 1", 102, 1, "Incorrect syntax near '+'."},
      {"select 1\n\n/* open", 113, 3, "Missing end comment mark '*/'."},
      {"print 'x'\nselect 'it''s", 105, 2,
       "Unclosed quotation mark after the character string 'it''s'."},
  });
}

}  // namespace

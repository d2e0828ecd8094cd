// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "Connection.h"
#include "RawSqliteFile.h"
#include "SqliteStatementCache.h"
#include "TwkError.h"

namespace twk::testing {
namespace {

// A connection keeps the prepared statements of the batches it ran, with
// their literals as parameters; the same definition for the next record must
// never run what an earlier batch left.
class SqliteStatementReuse : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    file.Create();
    file.Exec(
        "create table items (ID integer primary key autoincrement, NAME varchar(20), QTY int);"
        "insert into items (NAME, QTY) values ('a', 1), ('b', 2), ('it''s', 3);");
    connection = Open();
  }

  std::unique_ptr<Connection> Open() { return file.OpenConnection(); }

  // Every row's fields joined by '|', rows by ';'.
  QString Rows(const QString& sSql) {
    Recordset rs = connection->Execute(sSql);
    if (!rs.IsOpen()) return QStringLiteral("<closed>");
    QStringList rows;
    for (; !rs.IsEof(); rs.MoveNext()) {
      QStringList fields;
      for (int i = 0; i < rs.FieldCount(); ++i) fields.append(rs.Field(i).toString());
      rows.append(fields.join(u'|'));
    }
    return rows.join(u';');
  }

  QTemporaryDir scratch;
  QString sDatabaseFile = QDir(scratch.path()).filePath(QStringLiteral("reuse.db"));
  RawSqliteFile file{sDatabaseFile};
  std::unique_ptr<Connection> connection;
};

TEST_F(SqliteStatementReuse, TheSameStatementWithOtherLiteralsFindsItsOwnRows) {
  const QString sTemplate = QStringLiteral("select ID, QTY from items where NAME = '%1'");
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral("a"))), QStringLiteral("1|1"));
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral("b"))), QStringLiteral("2|2"));
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral("it''s"))), QStringLiteral("3|3"));
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral("nobody"))), QString());
  // Literals joined by + and put into convert's text keep their own values.
  EXPECT_EQ(Rows(QStringLiteral("select 'x' + NAME + '!' from items where ID = 1")),
            QStringLiteral("xa!"));
  EXPECT_EQ(Rows(QStringLiteral("select 'y' + NAME + '?' from items where ID = 2")),
            QStringLiteral("yb?"));
  EXPECT_EQ(Rows(QStringLiteral("select convert(varchar(10), cast('2026-03-04' as date), 103)")),
            QStringLiteral("04/03/2026"));
  EXPECT_EQ(Rows(QStringLiteral("select convert(varchar(10), cast('2027-05-06' as date), 103)")),
            QStringLiteral("06/05/2027"));
}

TEST_F(SqliteStatementReuse, LiteralsThatNameThingsOrCaptionColumnsStayAsWritten) {
  // A column without a name has none, whatever its literal.
  EXPECT_EQ(connection->Execute(QStringLiteral("select 'a'")).FieldName(0), QString());
  Recordset second = connection->Execute(QStringLiteral("select 'b' where 'c' = 'c'"));
  EXPECT_EQ(second.FieldName(0), QString());
  EXPECT_EQ(second.Field(0).toString(), QStringLiteral("b"));
  EXPECT_EQ(connection->Execute(QStringLiteral("select 1 as 'one'")).FieldName(0),
            QStringLiteral("one"));
  EXPECT_EQ(connection->Execute(QStringLiteral("select 1 as 'two'")).FieldName(0),
            QStringLiteral("two"));
  // Bytes written as 0x.. stay bytes.
  EXPECT_EQ(connection->Execute(QStringLiteral("select 0x41")).Field(0), QVariant(QByteArray("A")));
}

TEST_F(SqliteStatementReuse, ATableThatChangedShapeIsReadAsItIsNow) {
  const QString sSelect = QStringLiteral("select * from items where ID = 1");
  EXPECT_EQ(Rows(sSelect), QStringLiteral("1|a|1"));
  // The table made again by this connection with a column more.
  connection->Execute(
      QStringLiteral("drop table items create table items (ID int, NAME varchar(20), QTY int, "
                     "NOTE varchar(10))"));
  connection->Execute(QStringLiteral("insert items values (1, 'a', 1, 'n')"));
  EXPECT_EQ(Rows(sSelect), QStringLiteral("1|a|1|n"));
  // Changed by another connection, which this one learns of only on the file.
  file.Exec("alter table items add column MORE varchar(10) default 'm'");
  {
    Recordset rs = connection->Execute(sSelect);
    ASSERT_EQ(rs.FieldCount(), 5);
    EXPECT_EQ(rs.FieldName(4), QStringLiteral("MORE"));
    EXPECT_EQ(rs.Field(4).toString(), QStringLiteral("m"));
  }
  // A temporary table made again with other columns under the same name.
  const QString sTemp = QStringLiteral("select * from #t");
  connection->Execute(QStringLiteral("create table #t (A int) insert #t values (1)"));
  EXPECT_EQ(Rows(sTemp), QStringLiteral("1"));
  connection->Execute(
      QStringLiteral("drop table #t create table #t (B varchar(10), C varchar(10))"));
  connection->Execute(QStringLiteral("insert #t values ('b', 'c')"));
  EXPECT_EQ(Rows(sTemp), QStringLiteral("b|c"));
}

TEST_F(SqliteStatementReuse, AColumnGoneFromATableThisConnectionMadeAgainIsACompileError) {
  EXPECT_EQ(Rows(QStringLiteral("select QTY from items where ID = 1")), QStringLiteral("1"));
  connection->Execute(
      QStringLiteral("drop table items create table items (ID int identity, NAME varchar(20))"));
  EXPECT_THROW(connection->Execute(QStringLiteral(
                   "insert items (NAME) values ('ran') select QTY from items where ID = 1")),
               TwkError);
  EXPECT_EQ(Rows(QStringLiteral("select count(*) from items where NAME = 'ran'")),
            QStringLiteral("0"));
}

TEST_F(SqliteStatementReuse, VariablesAndTheSpidAreEachBatchsAndEachConnectionsOwn) {
  const QString sTemplate =
      QStringLiteral("declare @n int = %1 select NAME from items where QTY = @n");
  EXPECT_EQ(Rows(sTemplate.arg(1)), QStringLiteral("a"));
  EXPECT_EQ(Rows(sTemplate.arg(2)), QStringLiteral("b"));
  const QString sText = QStringLiteral(
      "declare @s varchar(10) = '%1' if @s = 'b' select 'then ' + @s else select 'else ' + @s");
  EXPECT_EQ(Rows(sText.arg(QStringLiteral("a"))), QStringLiteral("else a"));
  EXPECT_EQ(Rows(sText.arg(QStringLiteral("b"))), QStringLiteral("then b"));
  auto other = Open();
  const QString sSpid = QStringLiteral("select @@spid where 'x' = 'x'");
  const QString sMine = Rows(sSpid);
  Recordset theirs = other->Execute(sSpid);
  EXPECT_NE(theirs.Field(0).toString(), sMine);
  EXPECT_EQ(Rows(sSpid), sMine);
}

TEST_F(SqliteStatementReuse, ATemporaryTableIsItsConnectionsAloneAndLeavesNoTrace) {
  connection->Execute(QStringLiteral("create table #t (A int) insert #t values (1)"));
  auto other = Open();
  EXPECT_THROW(other->Execute(QStringLiteral("select * from #t")), TwkError);
  other->Execute(QStringLiteral("create table #t (B varchar(10)) insert #t values ('other')"));
  EXPECT_EQ(Rows(QStringLiteral("select * from #t")), QStringLiteral("1"));
  EXPECT_EQ(other->Execute(QStringLiteral("select * from #t")).Field(0).toString(),
            QStringLiteral("other"));
  EXPECT_EQ(file.Number("select count(*) from sqlite_master where name like '%#t%'"), 0);
  connection = Open();
  EXPECT_THROW(connection->Execute(QStringLiteral("select * from #t")), TwkError);
}

TEST_F(SqliteStatementReuse, AResultStillBeingReadIsNotDisturbedByTheSameStatementAgain) {
  const QString sSelect = QStringLiteral("select NAME from items where QTY > 0 order by ID");
  Recordset first = connection->Execute(sSelect);
  EXPECT_EQ(first.Field(0).toString(), QStringLiteral("a"));
  EXPECT_EQ(Rows(sSelect), QStringLiteral("a;b;it's"));
  first.MoveNext();
  EXPECT_EQ(first.Field(0).toString(), QStringLiteral("b"));
  first.MoveNext();
  EXPECT_EQ(first.Field(0).toString(), QStringLiteral("it's"));
  first.MoveNext();
  EXPECT_TRUE(first.IsEof());
}

// A select that assigns a variable from its own value row by row has no
// order the engine could promise: it is refused. Without a reference to
// itself the last row decides.
// The steps of a select that assigns row by row are kept with the batch:
// a literal of a step takes its new value as those of the query do.
TEST_F(SqliteStatementReuse, AnAssignmentSelectThatReadsItsVariableTakesNewLiterals) {
  const QString sTemplate = QStringLiteral(
      "declare @s varchar(100) = '' select @s = @s + NAME + '%1' from items where QTY > %2 "
      "order by ID desc select @s");
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral(",")).arg(0)), QStringLiteral("it's,b,a,"));
  EXPECT_EQ(Rows(sTemplate.arg(QStringLiteral(";")).arg(1)), QStringLiteral("it's;b;"));
  EXPECT_EQ(Rows(QStringLiteral("declare @n int = 0, @last varchar(10) select @n += QTY, "
                                "@last = NAME from items order by ID select @n, @last")),
            QStringLiteral("6|it's"));
}

// When full, the statement used longest ago goes, whether or not it was
// used again in between: a cycle through one more text than fits must not
// cost every text its preparation.
TEST(SqliteStatementCache, KeepsTheStatementsUsedLast) {
  sqlite3* pDb = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &pDb), SQLITE_OK);
  {
    SqliteStatementCache cache(pDb, 2);
    const auto run = [&](const QString& sSql) {
      StatementHandle statement = cache.Take(sSql);
      const bool bKept = bool(statement);
      int iResult = SQLITE_OK;
      if (!statement) statement = cache.Prepare(sSql, iResult);
      cache.Give(sSql, std::move(statement));
      return bKept;
    };
    const QString a = QStringLiteral("select 1"), b = QStringLiteral("select 2"),
                  c = QStringLiteral("select 3");
    const std::vector<std::pair<QString, bool>> steps = {
        {a, false}, {b, false}, {a, true}, {c, false}, {a, true}, {b, false}, {c, false}};
    for (const auto& [sSql, bKept] : steps) EXPECT_EQ(run(sSql), bKept) << sSql.toStdString();
    StatementHandle taken = cache.Take(c);
    EXPECT_TRUE(taken);
    EXPECT_FALSE(cache.Take(c));  // never handed out twice
    cache.Give(c, std::move(taken));
  }
  sqlite3_close(pDb);
}

}  // namespace
}  // namespace twk::testing

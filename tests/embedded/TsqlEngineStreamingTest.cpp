// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstring>

#include "EngineConnection.h"
#include "SqliteStatementCache.h"

namespace twk::embedded::test {

namespace {

long CountRows(Recordset& rows) {
  long lCount = 0;
  for (; !rows.IsEof(); rows.MoveNext()) ++lCount;
  return lCount;
}

TEST(TsqlEngineStreaming, StatementsAfterALargeFirstResultRunOnceItIsRead) {
  EngineConnection connection;
  BatchResult result =
      connection.RunBatch(QStringLiteral("select I from Big; insert into Log (NOTE) values ('x')"));
  EXPECT_EQ(connection.Raw("select count(*) from Log").toStdString(), "0");
  EXPECT_EQ(CountRows(*result.first), 2500);
  EXPECT_EQ(connection.Raw("select count(*) from Log").toStdString(), "1");
}

TEST(TsqlEngineStreaming, StatementsAfterASmallFirstResultRunBeforeItIsSeen) {
  EngineConnection connection;
  BatchResult result = connection.RunBatch(
      QStringLiteral("select I from Big where I <= 1000; insert into Log (NOTE) values ('x')"));
  EXPECT_EQ(connection.Raw("select count(*) from Log").toStdString(), "1");
  EXPECT_EQ(CountRows(*result.first), 1000);
}

TEST(TsqlEngineStreaming, TheNextBatchWaitsForTheRestOfTheLastAndItsRowsStayReadable) {
  EngineConnection connection;
  BatchResult result =
      connection.RunBatch(QStringLiteral("select I from Big; insert into Log (NOTE) values ('x')"));
  EXPECT_EQ(connection.Run(QStringLiteral("select count(*) from Log")).toStdString(), "1");
  EXPECT_EQ(CountRows(*result.first), 2500);
}

TEST(TsqlEngineStreaming, ATableVariableOutlivesTheBatchUntilItsRowsAreRead) {
  EngineConnection connection;
  const QString sBatch = QStringLiteral(
      "set nocount on; declare @t table (i int); insert into @t select I from Big; "
      "select i from @t");
  BatchResult result = connection.RunBatch(sBatch);
  EXPECT_EQ(CountRows(*result.first), 2500);
  EXPECT_EQ(connection.Run(sBatch + QStringLiteral(" where i = 7")).toStdString(), "7");
}

TEST(TsqlEngineTransactions, BeginTakesTheWriteLockAtOnce) {
  EngineConnection connection;
  EXPECT_EQ(connection.Run(QStringLiteral("begin tran")).toStdString(), "none");
  sqlite3* pOther = nullptr;
  ASSERT_EQ(sqlite3_open(connection.Path().toUtf8().constData(), &pOther), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(pOther, "begin immediate", nullptr, nullptr, nullptr), SQLITE_BUSY);
  sqlite3_close_v2(pOther);
}

// Whether the batch's read of Big starts inside the transaction that
// checked the schema, seen by a trace of the engine's own connection.
TEST(TsqlEngineTransactions, TheFirstReadSharesTheChecksLockPastAFewTableFreeStatements) {
  const struct {
    const char* sWhy;
    const char* sBatch;
    int iAutocommitAtRead;
  } cases[] = {
      {"declarations before it",
       "declare @a int = 1; declare @b varchar(5) = 'x'; "
       "select count(*) from Big where I > @a",
       0},
      {"a loop of table-free statements before it",
       "declare @i int = 0; "
       "while @i < 20 set @i += 1; select count(*) from Big where I > @i",
       1},
  };
  for (const auto& c : cases) {
    EngineConnection connection;
    int iAutocommit = -1;
    const auto trace = [](unsigned, void* pContext, void* pStatement, void*) {
      auto* pStmt = static_cast<sqlite3_stmt*>(pStatement);
      if (std::strstr(sqlite3_sql(pStmt), "FROM \"Big\"")) {
        *static_cast<int*>(pContext) = sqlite3_get_autocommit(sqlite3_db_handle(pStmt));
      }
      return 0;
    };
    sqlite3_trace_v2(connection.Handle(), SQLITE_TRACE_STMT, trace, &iAutocommit);
    connection.Run(QString::fromUtf8(c.sBatch));
    EXPECT_EQ(iAutocommit, c.iAutocommitAtRead) << c.sWhy;
  }
}

TEST(SqliteStatementCache, AFullCacheLetsTheLeastRecentlyUsedStatementGoOnly) {
  EngineConnection connection;
  SqliteStatementCache cache(connection.Handle(), 2);
  int iResult = 0;
  for (const char* sSql : {"select 1", "select 2"}) {
    cache.Give(QString::fromUtf8(sSql), cache.Prepare(QString::fromUtf8(sSql), iResult));
  }
  cache.Give(QStringLiteral("select 1"), cache.Take(QStringLiteral("select 1")));
  cache.Give(QStringLiteral("select 3"), cache.Prepare(QStringLiteral("select 3"), iResult));
  EXPECT_FALSE(cache.Take(QStringLiteral("select 2")));
  EXPECT_TRUE(cache.Take(QStringLiteral("select 1")));
  EXPECT_TRUE(cache.Take(QStringLiteral("select 3")));
}

}  // namespace

}  // namespace twk::embedded::test

// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

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

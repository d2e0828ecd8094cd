// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <memory>

#include "Connection.h"
#include "RawSqliteFile.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk::testing {
namespace {

// What the engine must survive: bad bytes, huge batches, runaway queries and
// other processes on the same file. Every case ends in a result or a
// TwkError, never a hang.
class SqliteEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    file.Create();
    file.Exec(
        "create table items (ID integer primary key autoincrement, NAME varchar(20));"
        "create table ttwk_AlertOutput (OWNER_SPID int, TITLE varchar(100));");
  }
  // numbers holds 1 to iCount, in the order of its key.
  void FillNumbers(int iCount) {
    file.Exec(QStringLiteral("create table numbers (i int primary key) without rowid;"
                             "with recursive n(i) as (select 1 union all select i + 1 from n "
                             "where i < %1) insert into numbers select i from n")
                  .arg(iCount)
                  .toUtf8()
                  .constData());
  }
  void TearDown() override { TimeLimit::SetBatchSeconds(TimeLimit::iDefaultSeconds); }

  std::unique_ptr<Connection> Open() { return file.OpenConnection(); }

  // The first column of the batch's first row as text; "error" when it fails.
  QString Answer(Connection& connection, const QString& sSql) {
    try {
      Recordset rs = connection.Execute(sSql);
      if (!rs.IsOpen()) return QStringLiteral("closed");
      return rs.IsEof() ? QStringLiteral("no rows") : rs.Field(0).toString();
    } catch (const TwkError&) {
      return QStringLiteral("error");
    }
  }

  // Starts a process that holds the file's write lock for dSeconds; returns
  // once the lock is taken.
  pid_t HoldWriteLock(int iSeconds) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      sqlite3* pDb = nullptr;
      sqlite3_open_v2(sDatabaseFile.toUtf8().constData(), &pDb, SQLITE_OPEN_READWRITE, nullptr);
      sqlite3_exec(pDb, "begin immediate; insert into items (NAME) values ('writer')", nullptr,
                   nullptr, nullptr);
      [[maybe_unused]] auto written = write(ready[1], "x", 1);
      sleep(unsigned(iSeconds));
      sqlite3_exec(pDb, "commit", nullptr, nullptr, nullptr);
      sqlite3_close(pDb);
      _exit(0);
    }
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    close(ready[1]);
    return child;
  }

  QTemporaryDir scratch;
  QString sDatabaseFile = QDir(scratch.path()).filePath(QStringLiteral("engine.db"));
  RawSqliteFile file{sDatabaseFile};
};

TEST_F(SqliteEngine, NulBytesFailTheBatchInsteadOfLoopingForever) {
  auto connection = Open();
  const QChar nul(u'\0');
  for (const QString& sBatch :
       {QStringLiteral("select 1;") + nul, QString(3, nul), QStringLiteral("select 1") + nul,
        QStringLiteral("select '") + nul + QStringLiteral("'"),
        QStringLiteral("select 1; -- ") + nul + QStringLiteral("\nselect 2")}) {
    EXPECT_EQ(Answer(*connection, sBatch), QStringLiteral("error")) << sBatch.size();
  }
  EXPECT_EQ(Answer(*connection, QStringLiteral("select 'still here'")),
            QStringLiteral("still here"));
}

TEST_F(SqliteEngine, InvalidUtf8AndStrayCharactersEndInAnAnswer) {
  auto connection = Open();
  const QString sInvalid = QString::fromUtf8(QByteArray("select '\xff\xfe\xc3' as x"));
  EXPECT_NE(Answer(*connection, sInvalid), QStringLiteral("error"));
  for (const char* sBatch : {"\x01\x02", "select 1 \x7f", "@", "#", "]", "'unterminated",
                             "/* open comment", "select (((", "exec", "exec 'a' 'b'"}) {
    EXPECT_EQ(Answer(*connection, QString::fromLatin1(sBatch)), QStringLiteral("error")) << sBatch;
  }
}

TEST_F(SqliteEngine, HugeBatchesRunToTheirEnd) {
  auto connection = Open();
  QString sMany;
  for (int i = 0; i < 10000; ++i)
    sMany += QStringLiteral("insert items (NAME) values ('n%1')\n").arg(i);
  sMany += QStringLiteral("commit\nselect count(*) from items");
  // One transaction: ten thousand commits would time the disk, not the batch.
  EXPECT_EQ(Answer(*connection, QStringLiteral("set nocount on begin tran\n") + sMany),
            QStringLiteral("10000"));

  const QString sLong = QStringLiteral("select '") + QString(1 << 20, u'x') + QStringLiteral("'");
  EXPECT_EQ(Answer(*connection,
                   QStringLiteral("select len(x) from (") + sLong + QStringLiteral(" as x) as t")),
            QString::number(1 << 20));
}

TEST_F(SqliteEngine, ARunawayQueryIsStoppedAtTheTimeLimitAndTheConnectionGoesOn) {
  TimeLimit::SetBatchSeconds(1);
  FillNumbers(1000);
  auto connection = Open();
  QElapsedTimer clock;
  clock.start();
  try {
    connection->Execute(QStringLiteral(
        "select count(*) from numbers a cross join numbers b cross join numbers c "
        "cross join numbers d"));
    FAIL() << "an endless query ended";
  } catch (const TwkError& error) {
    EXPECT_TRUE(error.Description().contains(QStringLiteral("time limit of 1 seconds")))
        << error.Description().toStdString();
  }
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(Answer(*connection, QStringLiteral("select 'next'")), QStringLiteral("next"));
}

TEST_F(SqliteEngine, ATimeoutOfZeroLetsABatchRunAsLongAsItNeeds) {
  ASSERT_TRUE(TimeLimit::SetFromText(QStringLiteral("0")));
  auto connection = Open();
  const pid_t writer = HoldWriteLock(2);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(
      Answer(*connection, QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'waited')")),
      QStringLiteral("closed"));
  EXPECT_GE(clock.elapsed(), 1500);  // it did wait for the other process
  waitpid(writer, nullptr, 0);
  EXPECT_EQ(file.Number("select count(*) from ttwk_AlertOutput"), 1);
}

TEST_F(SqliteEngine, SpidNeverWaitsForAnotherProcessHoldingTheWriteLock) {
  auto connection = Open();
  const pid_t writer = HoldWriteLock(20);
  QElapsedTimer clock;
  clock.start();
  EXPECT_NE(Answer(*connection, QStringLiteral("select @@spid")), QStringLiteral("error"));
  EXPECT_LT(clock.elapsed(), 2000);
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
}

TEST_F(SqliteEngine, AHeldWriteLockCostsOneWaitAndNothingIsLostOnceItIsReleased) {
  TimeLimit::SetBatchSeconds(2);
  auto connection = Open();
  const pid_t writer = HoldWriteLock(4);
  const QString sWrite = QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'alert')");
  QElapsedTimer clock;
  clock.start();
  // The first write waits up to the limit; the ones right after it fail at
  // once instead of each waiting again.
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Answer(*connection, sWrite), QStringLiteral("error"));
  EXPECT_LT(clock.elapsed(), 3500);
  waitpid(writer, nullptr, 0);
  EXPECT_EQ(Answer(*connection, sWrite), QStringLiteral("closed"));
  EXPECT_EQ(file.Number("select count(*) from ttwk_AlertOutput"), 1);
}

TEST_F(SqliteEngine, AFolderMadeReadOnlyWhileOpenFailsWritesWithAnError) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes regardless of permissions";
  auto connection = Open();
  ASSERT_EQ(chmod(scratch.path().toUtf8().constData(), 0555), 0);
  EXPECT_EQ(Answer(*connection, QStringLiteral("insert items (NAME) values ('x')")),
            QStringLiteral("error"));
  EXPECT_EQ(Answer(*connection, QStringLiteral("select count(*) from items")), QStringLiteral("0"));
  chmod(scratch.path().toUtf8().constData(), 0755);
}

}  // namespace
}  // namespace twk::testing

namespace twk::testing {
namespace {

TEST_F(SqliteEngine, AMillionRowResultIsReadAsItIsWalkedAndOutlivesItsConnection) {
  FillNumbers(1000000);
  auto connection = Open();
  Recordset rows = connection->Execute(QStringLiteral("select i from numbers order by i"));
  long lSeen = 0;
  while (!rows.IsEof() && lSeen < 101) {
    ++lSeen;
    rows.MoveNext();
  }
  EXPECT_EQ(rows.Field(0).toLongLong(), 102);
  EXPECT_THROW(rows.MoveFirst(), TwkError);  // forward only once rows were passed
  connection.reset();
  EXPECT_EQ(rows.RecordCount(), 1000000);
}

// Behind a first result larger than a server's network buffer, the
// statements after it run only once the client has read on, and memory
// stays flat however many rows come first.
class SqliteEngineRest : public SqliteEngine {
 protected:
  void SetUp() override {
    SqliteEngine::SetUp();
    FillNumbers(1000000);
  }
  static QString Rows(int iCount) {
    return QStringLiteral("select i from numbers where i <= %1 order by i\n").arg(iCount);
  }
  qint64 OutputRows() const { return file.Number("select count(*) from ttwk_AlertOutput"); }
};

TEST_F(SqliteEngineRest, StatementsAfterAMillionRowsRunOnceTheRowsAreRead) {
  auto connection = Open();
  Recordset rows = connection->Execute(
      Rows(1000000) + QStringLiteral("insert ttwk_AlertOutput values (1, 'after')"));
  EXPECT_EQ(OutputRows(), 0);
  long lSeen = 0;
  for (; !rows.IsEof(); rows.MoveNext()) ++lSeen;
  EXPECT_EQ(lSeen, 1000000);
  EXPECT_EQ(OutputRows(), 1);
  // A small result is read at once and what follows it has run already.
  Recordset small =
      connection->Execute(Rows(10) + QStringLiteral("insert ttwk_AlertOutput values (2, 'small')"));
  EXPECT_EQ(OutputRows(), 2);
  EXPECT_EQ(small.RecordCount(), 10);
}

TEST_F(SqliteEngineRest, AResultPutAwayEarlyStillRunsTheRestAndAFailureThereKeepsIt) {
  auto connection = Open();
  {
    Recordset rows = connection->Execute(
        Rows(5000) + QStringLiteral("insert ttwk_AlertOutput values (1, 'after')"));
    rows.MoveNext();
  }
  EXPECT_EQ(OutputRows(), 1);
  Recordset rows = connection->Execute(
      Rows(5000) + QStringLiteral("begin tran insert ttwk_AlertOutput values (2, 'undone')\n"
                                  "select * from nowhere\ncommit"));
  rows.Close();
  // The failure rolled back what its batch began and holds no lock.
  EXPECT_EQ(OutputRows(), 1);
  file.Exec("insert into ttwk_AlertOutput values (3, 'other process')");
  EXPECT_EQ(OutputRows(), 2);
}

TEST_F(SqliteEngineRest, AFailureAmongTheUnreadRowsHeldForTheNextBatchReachesTheReader) {
  auto connection = Open();
  Recordset rows = connection->Execute(QStringLiteral(
      "select case when i = 1500 then 1 / (i - i) else i end from numbers where i <= 3000 "
      "order by i\n"
      "insert ttwk_AlertOutput values (1, 'after')"));
  rows.MoveNext();
  // The next batch first reads the unread rows into memory, to run the insert
  // behind them, and meets the overflow there.
  EXPECT_EQ(Answer(*connection, QStringLiteral("select 'next'")), QStringLiteral("next"));
  qint64 lLast = 0;
  const auto readToTheEnd = [&] {
    for (; !rows.IsEof(); rows.MoveNext()) lLast = rows.Field(0).toLongLong();
  };
  EXPECT_THROW(readToTheEnd(), TwkError);
  EXPECT_EQ(lLast, 1499);
}

TEST_F(SqliteEngineRest, TheNextBatchWaitsForTheRestAndTheUnreadRowsStay) {
  auto connection = Open();
  Recordset rows = connection->Execute(
      Rows(5000) + QStringLiteral("insert ttwk_AlertOutput values (1, 'after')"));
  rows.MoveNext();
  EXPECT_EQ(Answer(*connection, QStringLiteral("select count(*) from ttwk_AlertOutput")),
            QStringLiteral("1"));
  EXPECT_EQ(rows.Field(0).toLongLong(), 2);
  long lSeen = 0;
  for (; !rows.IsEof(); rows.MoveNext()) ++lSeen;
  EXPECT_EQ(lSeen, 4999);
  // A connection closed while its result is read drops the rest, as a
  // server drops it with the session.
  Recordset dropped = connection->Execute(
      Rows(5000) + QStringLiteral("insert ttwk_AlertOutput values (2, 'never')"));
  connection.reset();
  EXPECT_EQ(dropped.RecordCount(), 5000);
  EXPECT_EQ(OutputRows(), 1);
}

}  // namespace
}  // namespace twk::testing

// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "Connection.h"
#include "RawSqliteFile.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk::testing {
namespace {

// T-SQL batches as definitions are written for the server, run unchanged.
class SqliteDialect : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    file.Create();
    file.Exec(
        "create table items (ID integer primary key autoincrement, NAME varchar(20), QTY int);"
        "create table params (NAME varchar(20) primary key, VALUE varchar(50));"
        "create table ttwk_AlertOutput (OWNER_SPID int, TITLE varchar(100));"
        "insert into items (NAME, QTY) values ('a', 1), ('b', 2), ('c', 3);");
    connection = Open();
  }

  std::unique_ptr<Connection> Open() { return file.OpenConnection(); }

  QString First(const QString& sSql) {
    Recordset rs = connection->Execute(sSql);
    if (!rs.IsOpen() || rs.IsEof()) return QStringLiteral("<none>");
    return rs.Field(0).toString();
  }

  QTemporaryDir scratch;
  QString sDatabaseFile = QDir(scratch.path()).filePath(QStringLiteral("dialect.db"));
  RawSqliteFile file{sDatabaseFile};
  std::unique_ptr<Connection> connection;
};

TEST_F(SqliteDialect, StatementsSeparatedByLineBreaksOrNothingRunInOrder) {
  EXPECT_EQ(First(QStringLiteral("set nocount on\ninsert items (NAME) values ('d')\n"
                                 "update items set QTY = 9 where NAME = 'd' delete items where "
                                 "NAME = 'a'\nexec sp_server_info 1 select count(*) from items")),
            QStringLiteral("1"));  // the procedure's row came first
  EXPECT_EQ(file.Number("select QTY from items where NAME = 'd'"), 9);
  EXPECT_EQ(file.Number("select count(*) from items"), 3);
  EXPECT_EQ(First(QStringLiteral("select 'x' select 'y'")), QStringLiteral("x"));
  EXPECT_EQ(First(QStringLiteral("insert items (NAME) select NAME from items where QTY = 9\n"
                                 "select count(*) from items")),
            QStringLiteral("4"));  // "set nocount on" lasts for the connection
}

TEST_F(SqliteDialect, ACommonTableExpressionKeepsTheStatementItLeads) {
  connection->Execute(QStringLiteral(
      "with n(i) as (select 1 union all select i + 1 from n where i < 5) "
      "insert into items (NAME, QTY) select 'n' + cast(i as varchar(10)), i from n"));
  EXPECT_EQ(file.Number("select count(*) from items where NAME like 'n%'"), 5);
  connection->Execute(
      QStringLiteral("with big as (select ID from items where QTY >= 3) update items set QTY = 0 "
                     "where ID in (select ID from big) select 1"));
  EXPECT_EQ(file.Number("select count(*) from items where QTY = 0"), 4);
}

TEST_F(SqliteDialect, ASyntaxErrorAnywhereRunsNothingButAMissingTableFailsOnlyWhenReached) {
  EXPECT_THROW(connection->Execute(
                   QStringLiteral("insert items (NAME) values ('early')\nselect from where")),
               TwkError);
  EXPECT_EQ(file.Number("select count(*) from items where NAME = 'early'"), 0);
  EXPECT_THROW(connection->Execute(QStringLiteral(
                   "insert items (NAME) values ('early')\nexec sp_server_info 'a' 'b'")),
               TwkError);
  EXPECT_EQ(file.Number("select count(*) from items where NAME = 'early'"), 0);
  EXPECT_THROW(connection->Execute(QStringLiteral(
                   "set nocount on insert items (NAME) values ('ran')\nselect * from nowhere")),
               TwkError);
  EXPECT_EQ(file.Number("select count(*) from items where NAME = 'ran'"), 1);
}

TEST_F(SqliteDialect, IdentityFollowsOnlyTablesWithAnIdentityColumn) {
  connection->Execute(QStringLiteral("insert items (NAME) values ('new')"));
  connection->Execute(QStringLiteral("insert params values ('p', 'v')"));
  EXPECT_EQ(First(QStringLiteral("select @@identity")), QStringLiteral("4"));
  auto other = Open();
  EXPECT_EQ(other->Execute(QStringLiteral("select @@identity")).Field(0).isNull(), true);
}

TEST_F(SqliteDialect, AdjacentLiteralsStayTwo) {
  Recordset rs = connection->Execute(QStringLiteral("select 'a' 'b', 'c''d'"));
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("a"));
  EXPECT_EQ(rs.FieldName(0), QStringLiteral("b"));
  EXPECT_EQ(rs.Field(1).toString(), QStringLiteral("c'd"));
}

TEST_F(SqliteDialect, VariablesIfElseAndBlocks) {
  EXPECT_EQ(First(QStringLiteral("declare @n int = 2, @s varchar(10)\n"
                                 "set @n = @n + 1\n"
                                 "select @s = NAME from items where QTY = @n\n"
                                 "if @s = 'c' begin select 'found ' + @s end else select 'no'")),
            QStringLiteral("found c"));
  EXPECT_EQ(First(QStringLiteral("if not exists (select 1 from items where QTY > 5) select 'none'"
                                 " else select 'some'")),
            QStringLiteral("none"));
  EXPECT_THROW(connection->Execute(QStringLiteral("select @undeclared")), TwkError);
  EXPECT_THROW(connection->Execute(QStringLiteral("if 1 = 1 begin select 1")), TwkError);
}

TEST_F(SqliteDialect, PlusJoinsTextsAddsNumbersAndRefusesTextThatIsNoNumber) {
  EXPECT_EQ(First(QStringLiteral("select 'Qty: ' + NAME + '!' from items where ID = 1")),
            QStringLiteral("Qty: a!"));
  EXPECT_EQ(First(QStringLiteral("select QTY + 10 * 2 - 1 + '5' from items where ID = 1")),
            QStringLiteral("25"));
  EXPECT_THROW(connection->Execute(QStringLiteral("select NAME + QTY from items")), TwkError);
  EXPECT_TRUE(connection->Execute(QStringLiteral("select 'x' + null")).Field(0).isNull());
  // A line comment after the last term must not swallow the end of the join.
  EXPECT_EQ(First(QStringLiteral("select 'a' + NAME -- the name\n  + '!' -- and a mark\n"
                                 "  as S from items where ID = 1")),
            QStringLiteral("aa!"));
}

TEST_F(SqliteDialect, TopConvertCastAndDateArithmetic) {
  EXPECT_EQ(
      First(QStringLiteral("select count(*) from (select top 2 * from items order by QTY) as t")),
      QStringLiteral("2"));
  EXPECT_EQ(First(QStringLiteral("select top (1) NAME from items order by QTY desc")),
            QStringLiteral("c"));
  EXPECT_EQ(First(QStringLiteral(
                "select convert(varchar(10), cast('2026-03-04 10:11:12' as datetime), 103)")),
            QStringLiteral("04/03/2026"));
  EXPECT_EQ(First(QStringLiteral("select cast('42' as int) + 1")), QStringLiteral("43"));
  // A decimal keeps its scale when written as text, as money amounts need.
  EXPECT_EQ(First(QStringLiteral("select convert(varchar(20), convert(decimal(12, 2), 185))")),
            QStringLiteral("185.00"));
  EXPECT_EQ(First(QStringLiteral("select '$' + cast(cast(-2.5 as numeric(8, 3)) as varchar)")),
            QStringLiteral("$-2.500"));
  EXPECT_THROW(connection->Execute(QStringLiteral("select cast('abc' as int)")), TwkError);
  EXPECT_EQ(First(QStringLiteral("select datediff(year, '2025-12-31', '2026-01-01')")),
            QStringLiteral("1"));
  EXPECT_EQ(First(QStringLiteral("select datediff(day, '2026-01-30', '2026-03-01')")),
            QStringLiteral("30"));
  // Text read as a date comes back as a datetime.
  EXPECT_EQ(First(QStringLiteral("select dateadd(month, 1, '2026-01-31')")),
            QStringLiteral("2026-02-28 00:00:00.000"));
}

// distinct comes before top; a varchar without a length keeps 30
// characters; datediff counts the hour boundaries crossed, not whole hours.
TEST_F(SqliteDialect, DistinctBeforeTopThirtyCharacterVarcharsAndHourBoundaries) {
  struct Case {
    const char* sSql;
    const char* sExpected;
  };
  const std::vector<Case> cases = {
      {"select count(*) from (select distinct top 2 NAME from (select NAME from items union all "
       "select NAME from items) as u order by NAME) as d",
       "2"},
      {"select cast('123456789012345678901234567890XYZ' as varchar)",
       "123456789012345678901234567890"},
      {"select convert(varchar, '123456789012345678901234567890XYZ')",
       "123456789012345678901234567890"},
      {"select datediff(hour, '2026-03-04 10:59:00', '2026-03-04 11:01:00')", "1"},
      {"select datediff(hour, '2026-03-04 10:00:00', '2026-03-04 10:59:00')", "0"},
      {"select datediff(hour, '2026-03-04 23:59:00', '2026-03-05 00:01:00')", "1"},
  };
  for (const Case& c : cases) {
    QString sAnswer;
    try {
      sAnswer = First(QString::fromLatin1(c.sSql));
    } catch (const TwkError& error) {
      sAnswer = error.Description();
    }
    EXPECT_EQ(sAnswer.toStdString(), c.sExpected) << c.sSql;
  }
}

TEST_F(SqliteDialect, TemporaryTablesBelongToTheirConnection) {
  EXPECT_EQ(First(QStringLiteral("create table #t (N int)\ninsert #t select QTY from items\n"
                                 "select sum(N) from #t")),
            QStringLiteral("<none>"));
  EXPECT_EQ(First(QStringLiteral("select sum(N) from #t")), QStringLiteral("6"));
  auto other = Open();
  EXPECT_THROW(other->Execute(QStringLiteral("select * from #t")), TwkError);
  EXPECT_EQ(file.Number("select count(*) from sqlite_master where name like '%#t%'"), 0);
}

// Another connection holds the file's write lock at the moment a definition
// that reads before it writes opens its own transaction, or writes first in
// the transaction that checked the schema. A read lock taken first would be
// refused at once on the upgrade (SQLite does not wait there, to avoid a
// deadlock), losing the alert; the write must wait for the writer instead.
TEST_F(SqliteDialect, ADefinitionsOwnTransactionWaitsForAWriterInsteadOfLosingItsAlert) {
  file.Exec("create table defs (N int)");
  const QString sOwn = QStringLiteral(
      " select count(*) from defs; insert ttwk_AlertOutput values (@@spid, 'mine'); commit");
  const QStringList batches = {QStringLiteral("begin transaction\n") + sOwn,
                               QStringLiteral("begin tran;") + sOwn,
                               QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'mine')")};
  for (const QString& sBatch : batches) {
    SCOPED_TRACE(sBatch.toStdString());
    connection->Execute(QStringLiteral("delete ttwk_AlertOutput where OWNER_SPID = @@spid"));
    sqlite3* pWriter = nullptr;
    ASSERT_EQ(sqlite3_open(sDatabaseFile.toUtf8().constData(), &pWriter), SQLITE_OK);
    sqlite3_busy_timeout(pWriter, 10000);
    ASSERT_EQ(sqlite3_exec(pWriter, "begin immediate; insert into defs values (1)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    // Held long enough that the definition surely reaches its write while
    // the lock is taken, and far below the 30-second busy timeout.
    int iCommit = SQLITE_ERROR;
    std::thread writer([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(800));
      iCommit = sqlite3_exec(pWriter, "commit", nullptr, nullptr, nullptr);
    });
    QString sFailure;
    try {
      connection->Execute(sBatch);
    } catch (const TwkError& error) {
      sFailure = error.Description();
    }
    writer.join();
    sqlite3_close(pWriter);
    EXPECT_EQ(iCommit, SQLITE_OK);
    EXPECT_EQ(sFailure, QString()) << sFailure.toStdString();
    EXPECT_EQ(First(QStringLiteral("select count(*) from ttwk_AlertOutput where OWNER_SPID = "
                                   "@@spid")),
              QStringLiteral("1"));
  }
  EXPECT_EQ(file.Number("select count(*) from defs"), 3);
}

// A reader keeps the file past the time limit while a definition writes
// first: the write cannot be committed, and that must be its failure, not a
// success whose row was quietly rolled back.
TEST_F(SqliteDialect, AWriteWhoseCommitAReaderBlocksFailsAndKeepsNothing) {
  ASSERT_NE(First(QStringLiteral("select @@spid")), QStringLiteral("<none>"));  // taken once
  sqlite3* pReader = nullptr;
  ASSERT_EQ(sqlite3_open(sDatabaseFile.toUtf8().constData(), &pReader), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(pReader, "begin; select count(*) from items", nullptr, nullptr, nullptr),
            SQLITE_OK);
  TimeLimit::SetBatchSeconds(1);
  EXPECT_THROW(connection->Execute(QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'x')")),
               TwkError);
  TimeLimit::SetBatchSeconds(TimeLimit::iDefaultSeconds);
  sqlite3_exec(pReader, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(pReader);
  EXPECT_EQ(file.Number("select count(*) from ttwk_AlertOutput"), 0);
  EXPECT_EQ(First(QStringLiteral("select count(*) from items")), QStringLiteral("3"));
}

// Eight processes evaluate a definition with its own transaction while a
// ninth keeps writing definitions; not one alert may go missing.
TEST_F(SqliteDialect, DefinitionsWithTheirOwnTransactionsLoseNoAlertUnderConcurrency) {
  file.Exec("create table defs (N int)");
  connection.reset();
  constexpr int iProcesses = 8;
  constexpr int iRounds = 15;
  std::vector<pid_t> children;
  const pid_t writer = fork();
  if (writer == 0) {
    try {
      auto own = Open();
      for (int i = 0; i < 200; ++i) {
        own->Execute(QStringLiteral("begin transaction\nselect count(*) from defs\n"
                                    "insert defs values (%1)\ncommit")
                         .arg(i));
      }
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  for (int p = 0; p < iProcesses; ++p) {
    const pid_t child = fork();
    if (child == 0) {
      int iLost = 0;
      try {
        auto own = Open();
        for (int i = 0; i < iRounds; ++i) {
          try {
            own->Execute(
                QStringLiteral("delete ttwk_AlertOutput where OWNER_SPID = @@spid;"
                               "begin tran; select count(*) from defs;"
                               "insert ttwk_AlertOutput values (@@spid, 'mine'); commit"));
          } catch (...) {
          }
          Recordset rs = own->Execute(
              QStringLiteral("select count(*) from ttwk_AlertOutput where OWNER_SPID = @@spid"));
          if (rs.Field(0).toLongLong() != 1) ++iLost;
        }
      } catch (...) {
        _exit(100);
      }
      _exit(iLost);
    }
    children.push_back(child);
  }
  int iLost = 0;
  for (pid_t child : children) {
    int iStatus = 0;
    waitpid(child, &iStatus, 0);
    ASSERT_TRUE(WIFEXITED(iStatus));
    iLost += WEXITSTATUS(iStatus);
  }
  int iWriter = 0;
  waitpid(writer, &iWriter, 0);
  EXPECT_EQ(WEXITSTATUS(iWriter), 0);
  EXPECT_EQ(iLost, 0) << "of " << iProcesses * iRounds << " evaluations";
  EXPECT_EQ(file.Number("select count(*) from defs"), 200);
}

}  // namespace
}  // namespace twk::testing

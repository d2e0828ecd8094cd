// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "Connection.h"
#include "RawSqliteFile.h"
#include "TwkError.h"

namespace twk::testing {
namespace {

// A database file with a table, a view and a few stored procedures.
class SqliteBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    file.Create();
    file.Exec(
        "create table items (ID integer primary key autoincrement, NAME varchar(20));"
        "create table kv (NAME varchar(20), VALUE varchar(50));"
        "create view item_names as select NAME from items;"
        "create table twk_procedures (name nvarchar(128) primary key collate nocase, "
        "  parameters nvarchar(4000) not null default '', body nvarchar(4000) not null);"
        "insert into twk_procedures values ('ptwk_Save', '@Name, @Value', "
        "  'insert kv (NAME, VALUE) values (@Name, @Value)');"
        "insert into twk_procedures values ('ptwk_Find', '@Name', "
        "  'select NAME, VALUE from kv where NAME = @name order by VALUE');"
        "insert into twk_procedures values ('ptwk_SaveAndCount', '@Name', "
        "  'set nocount on; insert kv values (@Name, ''x''); select count(*) as N from kv');");
  }

  std::unique_ptr<Connection> Open(const QString& sPath = {}) {
    auto connection = std::make_unique<Connection>();
    ConnectionSettings settings;
    settings.sDataSource = sPath.isEmpty() ? sDatabaseFile : sPath;
    connection->SetSettings(settings);
    connection->Open();
    return connection;
  }

  long Spid(Connection& connection) {
    return long(connection.Execute(QStringLiteral("select @@spid")).Field(0).toLongLong());
  }

  QTemporaryDir scratch;
  QString sDatabaseFile = QDir(scratch.path()).filePath(QStringLiteral("embedded.db"));
  RawSqliteFile file{sDatabaseFile};
};

TEST_F(SqliteBackend, AMissingFileFailsWithADiagnosticAndIsNotCreated) {
  const QString sMissing = QDir(scratch.path()).filePath(QStringLiteral("missing.db"));
  Connection connection;
  ConnectionSettings settings;
  settings.sDataSource = sMissing;
  connection.SetSettings(settings);
  try {
    connection.Open();
    FAIL() << "opened a missing file";
  } catch (const TwkError& error) {
    EXPECT_GT(error.Number(), 0);
    EXPECT_TRUE(error.Description().contains(sMissing));
  }
  EXPECT_FALSE(connection.IsOpen());
  ASSERT_EQ(connection.Diagnostics().size(), 1u);
  EXPECT_GT(connection.Diagnostics().front().lNumber, 0);
  EXPECT_EQ(connection.Diagnostics().front().sSqlState, QStringLiteral("08001"));
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files), QStringList{"embedded.db"});
}

TEST_F(SqliteBackend, AFileThatIsNotADatabaseFailsAndStaysUnchanged) {
  const QString sText = QDir(scratch.path()).filePath(QStringLiteral("notes.db"));
  const QByteArray content = QByteArray("These are notes, not a database.\n").repeated(40);
  {
    QFile notes(sText);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(content);
  }
  EXPECT_THROW(Open(sText), TwkError);
  QFile notes(sText);
  ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
  EXPECT_EQ(notes.readAll(), content);
  EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(SqliteBackend, OpeningAndReadingNeverWriteTheFile) {
  QFile before(sDatabaseFile);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray content = before.readAll();
  {
    auto connection = Open();
    connection->Execute(QStringLiteral("select count(*) from sysobjects where type = 'P'"));
  }
  QFile after(sDatabaseFile);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), content);
}

TEST_F(SqliteBackend, SpidIsUniquePerOpenConnectionAndNeverWritesTheFile) {
  auto first = Open();
  auto second = Open();
  const long lFirst = Spid(*first);
  EXPECT_GE(lFirst, 51);
  EXPECT_EQ(Spid(*first), lFirst);
  const long lSecond = Spid(*second);
  EXPECT_NE(lSecond, lFirst);
  EXPECT_EQ(file.Number("select count(*) from sqlite_master where name = 'twk_connections'"), 0);

  first->Close();
  first->Open();
  const long lReopened = Spid(*first);
  EXPECT_NE(lReopened, lFirst);
  EXPECT_NE(lReopened, lSecond);
}

TEST_F(SqliteBackend, RowsOfClosedConnectionsLeaveTheOutputTableWhenANumberIsHandedOut) {
  file.Exec("create table ttwk_AlertOutput (OWNER_SPID int, TITLE varchar(100))");
  auto live = Open();
  auto closing = Open();
  live->Execute(QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'live')"));
  closing->Execute(QStringLiteral("insert ttwk_AlertOutput values (@@spid, 'closed')"));
  // A number from the old scheme, and one of a process that has ended.
  file.Exec("insert into ttwk_AlertOutput values (51, 'old'), (2147483000, 'gone')");
  closing->Close();

  auto fresh = Open();
  EXPECT_EQ(file.Number("select count(*) from ttwk_AlertOutput"), 4);  // not before it has a number
  Spid(*fresh);
  EXPECT_EQ(file.Text("select group_concat(TITLE) from ttwk_AlertOutput"), QStringLiteral("live"));

  // The same when the number is first asked for by a statement that reads a table.
  file.Exec("insert into ttwk_AlertOutput values (2147483000, 'gone')");
  auto reading = Open();
  reading->Execute(
      QStringLiteral("select count(*) from ttwk_AlertOutput where OWNER_SPID <> @@spid"));
  EXPECT_EQ(file.Text("select group_concat(TITLE) from ttwk_AlertOutput"), QStringLiteral("live"));
}

TEST_F(SqliteBackend, SpidIsUniqueAmongProcessesSharingTheFile) {
  auto connection = Open();
  const long lHere = Spid(*connection);
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    long lThere = 0;
    try {
      auto other = Open();
      lThere = Spid(*other);
    } catch (...) {
    }
    [[maybe_unused]] auto written = write(pipeEnds[1], &lThere, sizeof lThere);
    _exit(0);
  }
  long lThere = 0;
  ASSERT_EQ(read(pipeEnds[0], &lThere, sizeof lThere), ssize_t(sizeof lThere));
  waitpid(child, nullptr, 0);
  close(pipeEnds[0]);
  close(pipeEnds[1]);
  EXPECT_GE(lThere, 51);
  EXPECT_NE(lThere, lHere);
}

TEST_F(SqliteBackend, InsertWithoutIntoDeleteWithoutFromAndIdentity) {
  auto connection = Open();
  connection->Execute(
      QStringLiteral("insert items (NAME) values ('a'); insert items (NAME) values ('b')"));
  connection->Execute(QStringLiteral("INSERT items(NAME) select 'c'"));
  EXPECT_EQ(connection->Execute(QStringLiteral("select @@IDENTITY")).Field(0).toLongLong(), 3);
  Recordset deleted = connection->Execute(QStringLiteral("delete items where NAME = 'a'"));
  EXPECT_EQ(deleted.RowsAffected(), 1);
  EXPECT_EQ(connection->Execute(QStringLiteral("delete items; select @@rowcount")).RowsAffected(),
            2);
  EXPECT_EQ(file.Number("select count(*) from items"), 0);
}

TEST_F(SqliteBackend, NothingIsReplacedInsideStringsCommentsOrQuotedNames) {
  auto connection = Open();
  Recordset rs = connection->Execute(QStringLiteral(
      "select '@@spid insert items' as \"@@identity\", [@@spid] /* @@spid */ -- @@spid\n"
      "from (select 1 as [@@spid]) as t"));
  EXPECT_EQ(rs.FieldName(0), QStringLiteral("@@identity"));
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("@@spid insert items"));
  EXPECT_EQ(rs.Field(1).toLongLong(), 1);
  EXPECT_EQ(file.Number("select count(*) from sqlite_master where name = 'twk_connections'"), 0);
}

TEST_F(SqliteBackend, ExecBindsItsArgumentsInsteadOfPastingThem) {
  auto connection = Open();
  connection->Execute(QStringLiteral("exec ptwk_Save 'O''Brien', N'it''s; drop table kv'"));
  connection->Execute(QStringLiteral("EXECUTE dbo.PTWK_SAVE @Value = 2.5, @Name = 'named'"));
  connection->Execute(QStringLiteral("exec ptwk_Save 'only'"));
  EXPECT_EQ(file.Text("select VALUE from kv where NAME = 'O''Brien'"),
            QStringLiteral("it's; drop table kv"));
  EXPECT_EQ(file.Text("select VALUE from kv where NAME = 'named'"), QStringLiteral("2.5"));
  EXPECT_EQ(file.Number("select count(*) from kv where NAME = 'only' and VALUE is null"), 1);

  Recordset rows = connection->Execute(QStringLiteral("exec ptwk_Find 'O''Brien'"));
  ASSERT_TRUE(rows.IsOpen());
  ASSERT_EQ(rows.RecordCount(), 1);
  EXPECT_EQ(rows.Field(QStringLiteral("value")).toString(), QStringLiteral("it's; drop table kv"));
}

TEST_F(SqliteBackend, ExecOfAMissingProcedureOrWithTooManyArgumentsFails) {
  auto connection = Open();
  try {
    connection->Execute(QStringLiteral("exec ptwk_Nowhere 1"));
    FAIL() << "ran a missing procedure";
  } catch (const TwkError& error) {
    EXPECT_TRUE(error.Description().endsWith(
        QStringLiteral("Could not find stored procedure 'ptwk_Nowhere'.")))
        << error.Description().toStdString();
    EXPECT_EQ(error.Number(), 2812);
  }
  EXPECT_THROW(connection->Execute(QStringLiteral("exec ptwk_Find 'a', 'b'")), TwkError);
  EXPECT_THROW(connection->Execute(QStringLiteral("exec ptwk_Find @Other = 'a'")), TwkError);
  file.Exec("drop table twk_procedures");
  EXPECT_THROW(connection->Execute(QStringLiteral("exec ptwk_Find 'a'")), TwkError);
}

TEST_F(SqliteBackend, AProcedureThatCallsItselfStopsAtTheNestingLimit) {
  file.Exec(
      "insert into twk_procedures values ('ptwk_Loop', '@Depth', "
      "  'insert kv values (''depth'', @Depth); exec ptwk_Loop @Depth')");
  auto connection = Open();
  EXPECT_THROW(connection->Execute(QStringLiteral("set nocount on; exec ptwk_Loop 1")), TwkError);
  EXPECT_EQ(file.Number("select count(*) from kv"), 32);
}

TEST_F(SqliteBackend, ExecRunsAmongOtherStatementsAndKeepsItsOwnNocount) {
  auto connection = Open();
  Recordset counted = connection->Execute(QStringLiteral("exec ptwk_SaveAndCount 'a'"));
  ASSERT_TRUE(counted.IsOpen());
  EXPECT_EQ(counted.Field(QStringLiteral("n")).toLongLong(), 1);
  // The procedure's "set nocount on" ended with it.
  EXPECT_EQ(connection->Execute(QStringLiteral("insert kv values ('b', 'y')")).RowsAffected(), 1);
  Recordset rows =
      connection->Execute(QStringLiteral("select 'first'\nexec ptwk_Save 'c', 'z'\nselect 'last'"));
  EXPECT_EQ(rows.Field(0).toString(), QStringLiteral("first"));
  EXPECT_EQ(file.Number("select count(*) from kv"), 3);
}

TEST_F(SqliteBackend, ServerInfoAnswersForTheServerDialect) {
  auto connection = Open();
  Recordset name = connection->Execute(QStringLiteral("exec sp_server_info 1"));
  ASSERT_EQ(name.RecordCount(), 1);
  EXPECT_EQ(name.Field(QStringLiteral("attribute_id")).toLongLong(), 1);
  EXPECT_EQ(name.Field(1).toString(), QStringLiteral("DBMS_NAME"));
  EXPECT_EQ(name.Field(2).toString(), QStringLiteral("Microsoft SQL Server"));
  Recordset version = connection->Execute(QStringLiteral("exec sp_server_info 2"));
  ASSERT_EQ(version.RecordCount(), 1);
  EXPECT_TRUE(version.Field(2).toString().startsWith(QStringLiteral("SQLite 3.")));
  EXPECT_EQ(connection->Execute(QStringLiteral("exec sp_server_info")).RecordCount(), 2);
}

TEST_F(SqliteBackend, SysobjectsListsTablesViewsAndProceduresOfTheOwner) {
  auto connection = Open();
  Spid(*connection);  // creates twk_connections, which must stay out of the list
  Recordset rs = connection->Execute(QStringLiteral(
      "select rtrim(type) + ':' + name from sysobjects where uid = 1 order by type, lower(name)"));
  QStringList objects;
  for (; !rs.IsEof(); rs.MoveNext()) objects << rs.Field(0).toString();
  EXPECT_EQ(objects.join(u' '),
            QStringLiteral("P:ptwk_Find P:ptwk_Save P:ptwk_SaveAndCount U:items U:kv "
                           "V:item_names"));
  EXPECT_EQ(connection
                ->Execute(QStringLiteral("select count(*) from sysobjects where uid = 1 and type "
                                         "= 'P' and lower(name) = 'ptwk_save'"))
                .Field(0)
                .toLongLong(),
            1);
}

TEST_F(SqliteBackend, SysobjectsFollowsProceduresTableCreatedLaterAndNeverBlocksSchemaChanges) {
  file.Exec("drop table twk_procedures");
  auto connection = Open();
  const QString sCount = QStringLiteral("select count(*) from sysobjects where type = 'P'");
  EXPECT_EQ(connection->Execute(sCount).Field(0).toLongLong(), 0);
  connection->Execute(QStringLiteral(
      "create table twk_procedures (name nvarchar(128) primary key, parameters nvarchar(4000) "
      "not null default '', body nvarchar(4000) not null); insert twk_procedures (name, body) "
      "values ('p', 'select 1')"));
  EXPECT_EQ(connection->Execute(sCount).Field(0).toLongLong(), 1);
  connection->Execute(QStringLiteral("drop table twk_procedures"));
  EXPECT_EQ(connection->Execute(sCount).Field(0).toLongLong(), 0);
  // No view of the catalogue is left behind to stand in the way of a
  // schema change on the file.
  file.Exec("alter table kv rename to kv2");
}

TEST_F(SqliteBackend, NocountOnLetsTheFollowingSelectDecideAndPersists) {
  auto connection = Open();
  Recordset rows = connection->Execute(
      QStringLiteral("SET NOCOUNT ON\ninsert kv values ('a', 'b'); select count(*) from kv"));
  ASSERT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.Field(0).toLongLong(), 1);
  EXPECT_EQ(connection->Execute(QStringLiteral("insert kv values ('c', 'd')")).RowsAffected(), -1);
  EXPECT_EQ(connection->Execute(QStringLiteral("set nocount off; update kv set VALUE = 'e'"))
                .RowsAffected(),
            2);
  EXPECT_EQ(
      connection->Execute(QStringLiteral("update kv set VALUE = 'f' where 1 = 0")).RowsAffected(),
      0);
}

TEST_F(SqliteBackend, TheFirstResultDecidesAndLaterStatementsStillRun) {
  auto connection = Open();
  Recordset closed =
      connection->Execute(QStringLiteral("insert kv values ('a', 'b'); select * from kv"));
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_EQ(closed.RowsAffected(), 1);
  Recordset rows =
      connection->Execute(QStringLiteral("select * from kv; insert kv values ('c', 'd')"));
  EXPECT_EQ(rows.RecordCount(), 1);
  EXPECT_EQ(file.Number("select count(*) from kv"), 2);
  Recordset nothing = connection->Execute(QStringLiteral("create table t (a int); -- only DDL"));
  EXPECT_FALSE(nothing.IsOpen());
  EXPECT_EQ(nothing.RowsAffected(), -1);
}

TEST_F(SqliteBackend, AnErrorAfterTheFirstResultEndsTheBatchButKeepsTheResult) {
  auto connection = Open();
  Recordset rows = connection->Execute(QStringLiteral(
      "select 'kept'; select * from missing_table; insert kv values ('never', 'run')"));
  EXPECT_EQ(rows.Field(0).toString(), QStringLiteral("kept"));
  EXPECT_EQ(file.Number("select count(*) from kv"), 0);
  EXPECT_THROW(connection->Execute(QStringLiteral("select * from missing_table; select 1")),
               TwkError);
}

TEST_F(SqliteBackend, AFailedBatchLeavesNoTransactionOpen) {
  auto connection = Open();
  EXPECT_THROW(
      connection->Execute(QStringLiteral("set nocount on; begin tran; insert kv values "
                                         "('a', 'b'); insert into missing_table values (1)")),
      TwkError);
  Recordset counted = connection->Execute(QStringLiteral(
      "set nocount off; begin tran; insert kv values ('c', 'd'); insert into missing_table values "
      "(1)"));
  EXPECT_EQ(counted.RowsAffected(), 1);
  EXPECT_EQ(file.Number("select count(*) from kv"), 0);
  file.Exec("insert into kv values ('other', 'writer')");  // would fail on a lock left held
  EXPECT_EQ(connection->Execute(QStringLiteral("select count(*) from kv")).Field(0).toInt(), 1);
}

TEST_F(SqliteBackend, TsqlScalarFunctions) {
  auto connection = Open();
  Recordset rs = connection->Execute(QStringLiteral(
      "select len('ab  '), len(N'\u2603x'), len(null), isnull(null, 'b'), isnull('a', 'b'), "
      "charindex('c', 'abcabc'), charindex('z', 'abc'), charindex('c', 'abcabc', 4), getdate()"));
  EXPECT_EQ(rs.Field(0).toLongLong(), 2);
  EXPECT_EQ(rs.Field(1).toLongLong(), 2);
  EXPECT_TRUE(rs.Field(2).isNull());
  EXPECT_EQ(rs.Field(3).toString(), QStringLiteral("b"));
  EXPECT_EQ(rs.Field(4).toString(), QStringLiteral("a"));
  EXPECT_EQ(rs.Field(5).toLongLong(), 3);
  EXPECT_EQ(rs.Field(6).toLongLong(), 0);
  EXPECT_EQ(rs.Field(7).toLongLong(), 6);
  // A datetime reaches the caller as text with its milliseconds.
  const QDateTime now =
      QDateTime::fromString(rs.Field(8).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  ASSERT_TRUE(now.isValid()) << rs.Field(8).toString().toStdString();
  EXPECT_LT(qAbs(now.secsTo(QDateTime::currentDateTime())), 60);
}

TEST_F(SqliteBackend, AWriterWaitsForAnotherConnectionsTransactionInsteadOfFailing) {
  auto holder = Open();
  holder->Execute(QStringLiteral("begin tran; insert kv values ('holder', '1')"));
  bool bWriterFailed = false;
  std::thread writer([this, &bWriterFailed] {
    try {
      auto connection = Open();
      connection->Execute(QStringLiteral("insert kv values ('writer', '2')"));
    } catch (const TwkError& error) {
      bWriterFailed = true;
      ADD_FAILURE() << error.what();
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(file.Number("select count(*) from kv"), 0);  // neither row is committed yet
  holder->Execute(QStringLiteral("commit"));
  writer.join();
  EXPECT_FALSE(bWriterFailed);
  EXPECT_EQ(file.Number("select count(*) from kv"), 2);
}

}  // namespace
}  // namespace twk::testing

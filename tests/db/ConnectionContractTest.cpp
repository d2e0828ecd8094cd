// SPDX-License-Identifier: MIT
#include <QDir>

#include "ConnectionContract.h"
#include "RawSqliteFile.h"
#include "TwkError.h"

namespace twk::testing {

namespace {

const QString sAnnName = QStringLiteral("Ann \u00c9mile \u2603");

}  // namespace

void ConnectionContract::SetUp() {
  ASSERT_TRUE(scratch.isValid());
  if (GetParam().whyNotHere) {
    const QString sWhy = GetParam().whyNotHere();
    if (!sWhy.isEmpty()) GTEST_SKIP() << sWhy.toStdString();
  }
  sDatabaseFile = QDir(scratch.path()).filePath(QStringLiteral("contract.db"));
  RawSqliteFile(sDatabaseFile).Create();
  if (GetParam().reset) GetParam().reset();
  Seed(
      "create table contacts (ID text primary key, FULL_NAME text, BALANCE real, "
      "VISITS integer, NOTE text)");
  Seed(
      "insert into contacts values ('101', 'Ann \xc3\x89mile \xe2\x98\x83', 12.5, 3, NULL), "
      "('102', 'Bob', -2.5, 0, 'note')");
}

void ConnectionContract::Seed(const char* sSql) const {
  if (GetParam().direct) {
    const QString sAnswer = GetParam().direct(sSql);
    ASSERT_FALSE(sAnswer.contains(QStringLiteral("ERROR"))) << sAnswer.toStdString();
  } else {
    RawSqliteFile(sDatabaseFile).Exec(sSql);
  }
}

QString ConnectionContract::DirectText(const char* sSql) const {
  if (GetParam().direct) return GetParam().direct(sSql);
  return RawSqliteFile(sDatabaseFile).Text(sSql);
}

void ConnectionContract::OpenConnection() {
  connection.SetSettings(GetParam().settingsFor(sDatabaseFile, scratch.path()));
  connection.Open();
}

namespace {

bool AnyErrorDiagnostic(const std::vector<Diagnostic>& diagnostics) {
  for (const auto& diagnostic : diagnostics) {
    if (diagnostic.lNumber > 0) return true;
  }
  return false;
}

TEST_P(ConnectionContract, OpensClosesAndReopens) {
  EXPECT_FALSE(connection.IsOpen());
  OpenConnection();
  EXPECT_TRUE(connection.IsOpen());
  EXPECT_FALSE(AnyErrorDiagnostic(connection.Diagnostics()));

  connection.Close();
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_THROW(connection.Execute(QStringLiteral("select 1")), TwkError);

  connection.Open();
  ASSERT_TRUE(connection.IsOpen());
  Recordset rs = connection.Execute(QStringLiteral("select count(*) from contacts"));
  EXPECT_EQ(rs.Field(0).toLongLong(), 2);
}

TEST_P(ConnectionContract, QueryRowsAreFullyFetchedAndWalkedForward) {
  OpenConnection();
  Recordset rs = connection.Execute(QStringLiteral("select ID from contacts order by ID"));
  ASSERT_TRUE(rs.IsOpen());
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_FALSE(rs.IsEof());
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("101"));
  rs.MoveNext();
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("102"));
  rs.MoveNext();
  EXPECT_TRUE(rs.IsEof());
  rs.MoveFirst();
  EXPECT_EQ(rs.Field(0).toString(), QStringLiteral("101"));

  Recordset empty = connection.Execute(QStringLiteral("select ID from contacts where 1 = 0"));
  ASSERT_TRUE(empty.IsOpen());
  EXPECT_EQ(empty.RecordCount(), 0);
  EXPECT_EQ(empty.FieldCount(), 1);
  EXPECT_TRUE(empty.IsEof());
}

TEST_P(ConnectionContract, FieldsAreFoundByPositionAndByNameInAnyCase) {
  OpenConnection();
  Recordset rs = connection.Execute(
      QStringLiteral("select ID, FULL_NAME, VISITS as Seqn from contacts where ID = '102'"));
  ASSERT_EQ(rs.FieldCount(), 3);
  EXPECT_EQ(rs.FieldName(1).toUpper(), QStringLiteral("FULL_NAME"));
  EXPECT_EQ(rs.Field(1).toString(), QStringLiteral("Bob"));
  EXPECT_EQ(rs.Field(QStringLiteral("full_name")).toString(), QStringLiteral("Bob"));
  EXPECT_EQ(rs.Field(QStringLiteral("SEQN")).toLongLong(), 0);
  EXPECT_THROW(rs.Field(QStringLiteral("missing")), TwkError);
}

TEST_P(ConnectionContract, ValuesKeepNullsNumbersAndNonAsciiText) {
  OpenConnection();
  Recordset rs = connection.Execute(
      QStringLiteral("select FULL_NAME, BALANCE, VISITS, NOTE from contacts where ID = '101'"));
  ASSERT_EQ(rs.RecordCount(), 1);
  EXPECT_EQ(rs.Field(0).toString(), sAnnName);
  EXPECT_DOUBLE_EQ(rs.Field(1).toDouble(), 12.5);
  EXPECT_EQ(rs.Field(2).toLongLong(), 3);
  EXPECT_FALSE(rs.Field(2).isNull());
  EXPECT_TRUE(rs.Field(3).isNull());
}

TEST_P(ConnectionContract, NonAsciiTextWrittenThroughTheConnectionReachesTheFileIntact) {
  if (!GetParam().bPassesNonAsciiSqlText) GTEST_SKIP() << "the driver narrows SQL text";
  OpenConnection();
  const QString sName = QStringLiteral("Zo\u00eb \u5317\u4eac ") + QString::fromUcs4(U"\U0001D11E");
  connection.Execute(QStringLiteral("update contacts set NOTE = '%1' where ID = '102'").arg(sName));
  EXPECT_EQ(DirectText("select NOTE from contacts where ID = '102'"), sName);
  Recordset rs = connection.Execute(QStringLiteral("select NOTE from contacts where ID = '102'"));
  EXPECT_EQ(rs.Field(0).toString(), sName);
}

TEST_P(ConnectionContract, AStatementThatChangesRowsGivesAClosedRecordset) {
  OpenConnection();
  Recordset rs = connection.Execute(QStringLiteral("update contacts set VISITS = VISITS + 1"));
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(rs.FieldCount(), 0);
  EXPECT_EQ(DirectText("select sum(VISITS) from contacts"), QStringLiteral("5"));
}

TEST_P(ConnectionContract, BadSqlThrowsAnErrorWithAPositiveNumberAndTheConnectionLivesOn) {
  OpenConnection();
  try {
    connection.Execute(QStringLiteral("select * from no_such_table"));
    FAIL() << "no error";
  } catch (const TwkError& error) {
    EXPECT_GT(error.Number(), 0);
    EXPECT_FALSE(error.Description().isEmpty());
    EXPECT_FALSE(error.Source().isEmpty());
  }
  EXPECT_TRUE(connection.IsOpen());
  EXPECT_EQ(connection.Execute(QStringLiteral("select count(*) from contacts")).Field(0).toInt(),
            2);
}

TEST_P(ConnectionContract, TheFirstResultOfABatchDecides) {
  if (!GetParam().bRunsBatches) GTEST_SKIP() << "the backend takes one statement per call";
  OpenConnection();
  Recordset changed = connection.Execute(
      QStringLiteral("update contacts set VISITS = 9 where ID = '102'; select * from contacts"));
  EXPECT_FALSE(changed.IsOpen());

  Recordset rows = connection.Execute(QStringLiteral(
      "select ID from contacts order by ID; update contacts set VISITS = 7 where ID = '101'"));
  ASSERT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.RecordCount(), 2);
  EXPECT_EQ(DirectText("select VISITS from contacts where ID = '101'"), QStringLiteral("7"));
  EXPECT_EQ(DirectText("select VISITS from contacts where ID = '102'"), QStringLiteral("9"));
}

TEST_P(ConnectionContract, AFailureAfterTheFirstResultOfABatchKeepsThatResult) {
  if (!GetParam().bRunsBatches) GTEST_SKIP() << "the backend takes one statement per call";
  OpenConnection();
  const QString sBatch = QStringLiteral(
      "select ID from contacts order by ID; select * from no_such_table; "
      "update contacts set VISITS = 5 where ID = '101'");
  if (!GetParam().bKeepsFirstResultPastAnError) {
    // PostgreSQL runs a text of several statements as one transaction and
    // rejects all of it on any error: the call fails and nothing changed.
    EXPECT_THROW(connection.Execute(sBatch), TwkError);
    EXPECT_EQ(DirectText("select VISITS from contacts where ID = '101'"), QStringLiteral("3"));
    return;
  }
  Recordset rows = connection.Execute(sBatch);
  ASSERT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.RecordCount(), 2);
  EXPECT_EQ(rows.Field(0).toString(), QStringLiteral("101"));
}

// Rows may still be coming from the database while the caller runs
// something else on the same connection, or closes it.
TEST_P(ConnectionContract, ABatchRunWhileRowsAreStillBeingReadLeavesThoseRowsWhole) {
  OpenConnection();
  Recordset first = connection.Execute(QStringLiteral("select ID from contacts order by ID"));
  ASSERT_EQ(first.Field(0).toString(), QStringLiteral("101"));
  connection.Execute(QStringLiteral("update contacts set VISITS = 8 where ID = '102'"));
  EXPECT_EQ(connection.Execute(QStringLiteral("select count(*) from contacts")).Field(0).toInt(),
            2);
  first.MoveNext();
  ASSERT_FALSE(first.IsEof());
  EXPECT_EQ(first.Field(0).toString(), QStringLiteral("102"));
  first.MoveNext();
  EXPECT_TRUE(first.IsEof());
  EXPECT_EQ(DirectText("select VISITS from contacts where ID = '102'"), QStringLiteral("8"));

  Recordset last = connection.Execute(QStringLiteral("select ID from contacts order by ID"));
  connection.Close();
  QStringList ids;
  for (; !last.IsEof(); last.MoveNext()) ids.append(last.Field(0).toString());
  EXPECT_EQ(ids, (QStringList{QStringLiteral("101"), QStringLiteral("102")}));
}

BackendUnderTest Embedded() {
  BackendUnderTest backend;
  backend.sName = "Sqlite";
  backend.settingsFor = [](const QString& sDatabaseFile, const QString&) {
    ConnectionSettings settings;
    settings.sDataSource = sDatabaseFile;
    return settings;
  };
  return backend;
}

INSTANTIATE_TEST_SUITE_P(Embedded, ConnectionContract, ::testing::Values(Embedded()), BackendName);

}  // namespace
}  // namespace twk::testing

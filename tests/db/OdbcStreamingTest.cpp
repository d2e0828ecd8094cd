// SPDX-License-Identifier: MIT
// Rows read as they come through FreeTDS's driver, against the scripted TDS
// responder that stands in for SQL Server (no database: it answers each batch
// from the test's script, paced as the script says, and logs what arrived).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "Connection.h"
#include "PostgresServer.h"
#include "TdsResponder.h"
#include "TimeLimit.h"
#include "TwkError.h"

namespace twk {
namespace {

using testing::Answer;
using testing::Paced;
using testing::Rows;
using testing::TdsResponder;

QJsonArray Numbers(int iFirst, int iLast) {
  QJsonArray rows;
  for (int i = iFirst; i <= iLast; ++i) rows.append(QJsonArray{i});
  return rows;
}

QJsonObject NumberRows(int iFirst, int iLast) {
  return Rows({{"n", "int"}}, Numbers(iFirst, iLast));
}

class OdbcStreaming : public ::testing::Test {
 protected:
  void TearDown() override { TimeLimit::SetBatchSeconds(TimeLimit::iDefaultSeconds); }

  void Start(const QJsonArray& batches, QJsonObject script = {}) {
    script.insert(QStringLiteral("batches"), batches);
    script.insert(QStringLiteral("gate"), sGate);
    responder = std::make_unique<TdsResponder>(script);
    if (!responder->IsRunning()) return;
    ConnectionSettings settings;
    settings.sDataSource = responder->DefineDataSource(scratch.path(), QStringLiteral("TwkStream"));
    settings.sUserId = QStringLiteral("sa");
    connection.SetSettings(settings);
    connection.Open();
  }

  void OpenGate() const {
    QFile gate(sGate);
    ASSERT_TRUE(gate.open(QIODevice::WriteOnly));
  }

  QTemporaryDir scratch;
  QString sGate = scratch.filePath(QStringLiteral("gate"));
  std::unique_ptr<TdsResponder> responder;
  Connection connection;
};

TEST_F(OdbcStreaming, TheFirstRowsArriveBeforeTheServerHasSentTheRest) {
  const QString sBatch = QStringLiteral("select n from numbers; select 99");
  Start({Answer(sBatch, {Paced(NumberRows(1, 5), {{"gate_after", 2}}), NumberRows(99, 99)})});
  TWK_REQUIRE_RESPONDER(*responder);
  Recordset rows = connection.Execute(sBatch);
  ASSERT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.Field(0).toInt(), 1);
  OpenGate();
  QList<int> seen;
  for (; !rows.IsEof(); rows.MoveNext()) seen.append(rows.Field(0).toInt());
  EXPECT_EQ(seen, (QList<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(responder->GateOpenings(), QList<bool>{true})
      << "the call waited for the whole result instead of handing out the first row";
  EXPECT_EQ(responder->Attentions(), 0);
}

TEST_F(OdbcStreaming, ASecondBatchWhileRowsAreStillToComeLosesNoneOfThem) {
  const QString sFirst = QStringLiteral("select n from numbers; update log set seen = 1");
  Start({Answer(sFirst, {NumberRows(1, 3000), QJsonObject{{"done", 1}}}),
         Answer("select 7", {NumberRows(7, 7)})});
  TWK_REQUIRE_RESPONDER(*responder);
  Recordset first = connection.Execute(sFirst);
  ASSERT_EQ(first.Field(0).toInt(), 1);
  first.MoveNext();
  // Without multiple active result sets the driver would refuse this
  // ("Connection is busy with results for another command").
  Recordset second = connection.Execute(QStringLiteral("select 7"));
  EXPECT_EQ(second.Field(0).toInt(), 7);
  int iExpected = 2;
  for (; !first.IsEof(); first.MoveNext()) {
    if (first.Field(0).toInt() != iExpected) break;
    ++iExpected;
  }
  EXPECT_EQ(iExpected, 3001) << "rows of the first result were lost";
  EXPECT_EQ(responder->Batches(), (QStringList{sFirst, QStringLiteral("select 7")}));
  EXPECT_EQ(responder->Attentions(), 0) << "the rest of the first batch was cancelled";
}

TEST_F(OdbcStreaming, ClosingPartWayLetsTheBatchRunToItsEndWithoutACancel) {
  const QString sBatch = QStringLiteral("select n from numbers; insert log values (1); select 8");
  Start({Answer(sBatch, {Paced(NumberRows(1, 5), {{"gate_after", 1}}), QJsonObject{{"done", 1}},
                         NumberRows(8, 8)}),
         Answer("select 7", {NumberRows(7, 7)})});
  TWK_REQUIRE_RESPONDER(*responder);
  {
    Recordset rows = connection.Execute(sBatch);
    EXPECT_EQ(rows.Field(0).toInt(), 1);
    OpenGate();
    rows.Close();
  }
  EXPECT_EQ(responder->GateOpenings(), QList<bool>{true});
  EXPECT_EQ(responder->Attentions(), 0);
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);
}

// The server fails a statement halfway through its rows (a division by zero
// in a later row): the rows before it are the caller's, the failure comes
// where the rows stop, and the rest of the batch still runs.
TEST_F(OdbcStreaming, AFailureHalfwayThroughTheRowsComesWhereTheyStop) {
  const QString sBatch = QStringLiteral("select 10 / (3 - n) from numbers; select 8");
  QJsonObject failing = Paced(NumberRows(1, 5), {{"fail_after", 2}});
  QJsonObject shape = failing[QStringLiteral("rows")].toObject();
  shape.insert(QStringLiteral("error"),
               testing::ErrorToken(8134, "Divide by zero error encountered.")["error"]);
  failing.insert(QStringLiteral("rows"), shape);
  Start({Answer(sBatch, {failing, NumberRows(8, 8)}), Answer("select 7", {NumberRows(7, 7)})});
  TWK_REQUIRE_RESPONDER(*responder);
  QList<int> seen;
  long lNumber = 0;
  try {
    Recordset rows = connection.Execute(sBatch);
    for (; !rows.IsEof(); rows.MoveNext()) seen.append(rows.Field(0).toInt());
  } catch (const TwkError& error) {
    lNumber = error.Number();
  }
  EXPECT_EQ(seen, (QList<int>{1, 2}));
  EXPECT_EQ(lNumber, 8134);
  EXPECT_EQ(responder->Attentions(), 0);
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);
}

TEST_F(OdbcStreaming, AConnectionLostHalfwayThroughTheRowsFailsTheReadWithoutHanging) {
  const QString sBatch = QStringLiteral("select n from numbers; select 8");
  Start({Answer(sBatch, {Paced(NumberRows(1, 5000), {{"hang_up_after", 2}}), NumberRows(8, 8)})});
  TWK_REQUIRE_RESPONDER(*responder);
  QElapsedTimer timer;
  timer.start();
  long lRead = 0;
  bool bFailed = false;
  try {
    Recordset rows = connection.Execute(sBatch);
    for (; !rows.IsEof(); rows.MoveNext()) ++lRead;
  } catch (const TwkError&) {
    bFailed = true;
  }
  EXPECT_TRUE(bFailed);
  EXPECT_EQ(lRead, 2);
  EXPECT_LT(timer.elapsed(), 10000);
  EXPECT_THROW(connection.Execute(QStringLiteral("select 7")), TwkError);
}

// Rows that keep coming never outrun the driver's timeout, which covers one
// wait for the server; the time limit still ends the batch.
TEST_F(OdbcStreaming, RowsThatKeepComingAreStoppedAtTheTimeLimit) {
  const QString sBatch = QStringLiteral("select n from endless");
  const QJsonObject slow{{"repeat", 2000}, {"pause_every", 10}, {"pause", 0.05}};
  Start({Answer(sBatch, {Paced(NumberRows(1, 1), slow)}), Answer("select 7", {NumberRows(7, 7)})});
  TWK_REQUIRE_RESPONDER(*responder);
  TimeLimit::SetBatchSeconds(1);
  QElapsedTimer timer;
  timer.start();
  long lRead = 0;
  QString sError;
  try {
    Recordset rows = connection.Execute(sBatch);
    for (; !rows.IsEof(); rows.MoveNext()) ++lRead;
  } catch (const TwkError& error) {
    sError = error.Description();
  }
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_GT(lRead, 0);
  EXPECT_LT(lRead, 2000);
  EXPECT_TRUE(sError.contains(QStringLiteral("time limit of 1 seconds"))) << sError.toStdString();
  EXPECT_EQ(responder->Attentions(), 1);
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);

  // Left after its first row, the rest is still held to the limit.
  timer.restart();
  {
    Recordset rows = connection.Execute(sBatch);
    EXPECT_EQ(rows.Field(0).toInt(), 1);
  }
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_EQ(responder->Attentions(), 2);
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);
}

// A server that stops sending halfway through its rows is waited for no
// longer than the limit: the driver's own timeout covers that wait.
TEST_F(OdbcStreaming, AServerStallingHalfwayThroughItsRowsIsGivenUpAtTheTimeLimit) {
  const QString sBatch = QStringLiteral("select n from stalled");
  Start({Answer(sBatch, {Paced(NumberRows(1, 5), {{"gate_after", 2}})}),
         Answer("select 7", {NumberRows(7, 7)})},
        {{"gate_seconds", 20}});
  TWK_REQUIRE_RESPONDER(*responder);
  TimeLimit::SetBatchSeconds(1);
  QElapsedTimer timer;
  timer.start();
  QList<int> seen;
  bool bFailed = false;
  try {
    Recordset rows = connection.Execute(sBatch);
    for (; !rows.IsEof(); rows.MoveNext()) seen.append(rows.Field(0).toInt());
  } catch (const TwkError&) {
    bFailed = true;
  }
  EXPECT_LT(timer.elapsed(), 10000);
  EXPECT_TRUE(bFailed);
  EXPECT_EQ(seen, (QList<int>{1, 2}));
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);
}

// Peak resident memory of this process, in kB, since the last reset.
long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string sLine; std::getline(status, sLine);) {
    if (sLine.rfind("VmHWM:", 0) == 0) return std::stol(sLine.substr(6));
  }
  return -1;
}

// AddressSanitizer keeps freed memory in quarantine, so the peak grows
// with every row read whether or not the rows are held.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool bPeakMeansHeld = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool bPeakMeansHeld = false;
#else
constexpr bool bPeakMeansHeld = true;
#endif
#else
constexpr bool bPeakMeansHeld = true;
#endif

bool ResetPeak() {
  if (!bPeakMeansHeld) return false;
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return bool(clear.flush());
}

TEST_F(OdbcStreaming, MemoryStaysFlatHoweverManyRowsTheFirstResultHas) {
  // 200,000 rows of 1,000 characters: some 400 MB as text held at once.
  const QString sBatch = QStringLiteral("select note from history");
  const QString sNote(1000, QLatin1Char('n'));
  Start({Answer(sBatch, {Paced(Rows({{"note", "nvarchar(1000)"}}, testing::OneRow({sNote})),
                               {{"repeat", 200000}})})});
  TWK_REQUIRE_RESPONDER(*responder);
  if (!ResetPeak()) GTEST_SKIP() << "the peak memory figure cannot be reset or means nothing here";
  const long lBefore = PeakKilobytes();
  long lRows = 0;
  {
    Recordset rows = connection.Execute(sBatch);
    for (; !rows.IsEof(); rows.MoveNext()) {
      if (rows.Field(0).toString().size() == 1000) ++lRows;
    }
  }
  const long lGrowth = PeakKilobytes() - lBefore;
  EXPECT_EQ(lRows, 200000);
  EXPECT_LT(lGrowth, 50 * 1024) << "peak grew by " << lGrowth << " kB";
}

// A real server's million rows. psqlODBC holds a whole result itself unless
// its data source asks for a cursor, which a data source for Tellwick on
// PostgreSQL should therefore do.
TEST(OdbcStreamingPostgres, AMillionRowsThroughACursorSourceKeepMemoryFlat) {
  testing::PostgresServer& server = testing::PostgresServer::Shared();
  if (!server.MissingPackage().isEmpty()) GTEST_SKIP() << server.MissingPackage().toStdString();
  ASSERT_TRUE(server.IsRunning()) << server.StartFailure().toStdString();
  QTemporaryDir scratch;
  Connection connection;
  connection.SetSettings(
      server.Settings(scratch.path(), {{QStringLiteral("UseDeclareFetch"), QStringLiteral("1")},
                                       {QStringLiteral("Fetch"), QStringLiteral("1000")}}));
  connection.Open();
  if (!ResetPeak()) GTEST_SKIP() << "the peak memory figure cannot be reset or means nothing here";
  const long lBefore = PeakKilobytes();
  qint64 lSum = 0;
  long lRows = 0;
  {
    Recordset rows = connection.Execute(
        QStringLiteral("select g, repeat('x', 100) as note from generate_series(1, 1000000) as g"));
    for (; !rows.IsEof(); rows.MoveNext()) {
      lSum += rows.Field(0).toLongLong();
      if (rows.Field(1).toString().size() == 100) ++lRows;
    }
  }
  const long lGrowth = PeakKilobytes() - lBefore;
  EXPECT_EQ(lRows, 1000000);
  EXPECT_EQ(lSum, 500000500000LL);
  EXPECT_LT(lGrowth, 50 * 1024) << "peak grew by " << lGrowth << " kB";
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7")).Field(0).toInt(), 7);
}

}  // namespace
}  // namespace twk

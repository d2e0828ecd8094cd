// SPDX-License-Identifier: MIT
// The ODBC backend through FreeTDS's driver against the scripted TDS
// responder, which stands in for SQL Server (it is no database: each batch
// is answered from the test's script, and the responder logs what arrived).
#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>

#include "Connection.h"
#include "OdbcBackend.h"
#include "TdsResponder.h"
#include "TwkError.h"

namespace twk {
namespace {

using testing::Answer;
using testing::ErrorToken;
using testing::Paced;
using testing::Rows;
using testing::TdsResponder;

QJsonObject Script(const QJsonArray& batches, const QJsonObject& extra = {}) {
  QJsonObject script = extra;
  script.insert(QStringLiteral("batches"), batches);
  return script;
}

QJsonArray IntRow(int iValue) {
  return testing::OneRow({iValue});
}

class OdbcFreeTds : public ::testing::Test {
 protected:
  // Opens a connection to a responder running the script, as the user.
  void Start(const QJsonObject& script) {
    responder = std::make_unique<TdsResponder>(script);
    if (responder->IsRunning()) {
      sDataSource = responder->DefineDataSource(scratch.path(), QStringLiteral("TwkTds"));
    }
  }

  ConnectionSettings Settings(const QString& sUser = QStringLiteral("STAFF1_ASSOC_i"),
                              const QString& sPassword = QStringLiteral("Tds;pw}1=x"),
                              const QString& sDatabase = QStringLiteral("ASSOC")) const {
    ConnectionSettings settings;
    settings.sDataSource = sDataSource;
    settings.sUserId = sUser;
    settings.sPassword = sPassword;
    settings.sInitialCatalog = sDatabase;
    return settings;
  }

  void Open(const ConnectionSettings& settings) {
    connection.SetSettings(settings);
    connection.Open();
  }

  QTemporaryDir scratch;
  std::unique_ptr<TdsResponder> responder;
  QString sDataSource;
  Connection connection;
};

TEST_F(OdbcFreeTds, LoginValuesReachTheServerExactlyAsGiven) {
  Start(Script({}));
  TWK_REQUIRE_RESPONDER(*responder);
  struct Login {
    QString sUser, sPassword, sDatabase;
  };
  const QList<Login> logins = {
      {QStringLiteral("STAFF1_ASSOC_i"), QStringLiteral("Tds;pw}1=x"), QStringLiteral("ASSOC")},
      {QStringLiteral("a=b;c"), QStringLiteral("{brace}"), QStringLiteral("Db;{x}=1")},
      {QStringLiteral(" spaced "), QStringLiteral(" pw ends in }"), QStringLiteral(" ASSOC ")},
      {QStringLiteral("Zo\u00eb"), QStringLiteral("p\u00e4ss\u2603"), QStringLiteral("\u00c9cole")},
      // FreeTDS cannot read "};" back from a connection text at all.
      {QStringLiteral("u};v"), QStringLiteral("pw};x"), QStringLiteral("d};b")},
  };
  for (const Login& login : logins) {
    Open(Settings(login.sUser, login.sPassword, login.sDatabase));
    connection.Close();
  }
  const QList<QJsonObject> logged = responder->Logins();
  ASSERT_EQ(logged.size(), logins.size());
  for (qsizetype i = 0; i < logins.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "login " << i);
    EXPECT_EQ(logged[i]["user"].toString(), logins[i].sUser);
    EXPECT_EQ(logged[i]["password"].toString(), logins[i].sPassword);
    EXPECT_EQ(logged[i]["database"].toString(), logins[i].sDatabase);
  }
  // Only the login that needed separate arguments loses the name.
  for (qsizetype i = 0; i + 1 < logins.size(); ++i) {
    EXPECT_EQ(logged[i]["app"].toString(), QStringLiteral("TWK")) << i;
  }
}

TEST_F(OdbcFreeTds, ABatchWhoseLaterStatementFailsKeepsItsFirstResultAndRunsToItsEnd) {
  const QString sBatch = QStringLiteral("select 6; select 1/0; select 7");
  Start(Script({Answer(sBatch, {Rows({{"", "int"}}, IntRow(6)),
                                ErrorToken(8134, "Divide by zero error encountered."),
                                Rows({{"", "int"}}, IntRow(7))})}));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  Recordset result = connection.Execute(sBatch);
  ASSERT_TRUE(result.IsOpen());
  ASSERT_EQ(result.RecordCount(), 1);
  EXPECT_EQ(result.Field(0).toInt(), 6);
  connection.Close();
  EXPECT_EQ(responder->Batches(), QStringList{sBatch});
  EXPECT_EQ(responder->Attentions(), 0) << "the driver cancelled the rest of the batch";
}

// FreeTDS 1.3 answers SQLMoreResults after a failed SQLExecDirect with
// SQL_NO_DATA and cancels what the server still sends, so only the failure
// itself is held here.
TEST_F(OdbcFreeTds, AnErrorBeforeAnyResultFailsTheCall) {
  const QString sBatch = QStringLiteral("select 1/0; select 7; select 8");
  Start(Script({Answer(sBatch, {ErrorToken(8134, "Divide by zero error encountered."),
                                Rows({{"", "int"}}, IntRow(7)), Rows({{"", "int"}}, IntRow(8))}),
                Answer("select 7; select 8",
                       {Rows({{"", "int"}}, IntRow(7)), Rows({{"", "int"}}, IntRow(8))})}));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  try {
    connection.Execute(sBatch);
    FAIL() << "the error before the first result was lost";
  } catch (const TwkError& error) {
    EXPECT_EQ(error.Number(), 8134);
    EXPECT_TRUE(error.Description().contains(QStringLiteral("Divide by zero")));
  }
  EXPECT_TRUE(connection.IsOpen());
  EXPECT_EQ(connection.Execute(QStringLiteral("select 7; select 8")).Field(0).toInt(), 7);
}

TEST_F(OdbcFreeTds, InformationalMessagesNeverFailAQuery) {
  const QJsonObject print{{"print", "checking record 1009"}};
  const QJsonObject changed{
      {"info", QJsonObject{{"number", 5701}, {"message", "Changed database context to 'ASSOC'."}}}};
  Start(Script(
      {Answer("use ASSOC; print 'x'; select 5", {changed, QJsonObject{{"done", QJsonValue()}},
                                                 print, Rows({{"n", "int"}}, IntRow(5))}),
       Answer("print 'only'", {print}),
       Answer("select 9 -- warns", {Rows({{"n", "int"}}, IntRow(9)), print})}));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  Recordset rows = connection.Execute(QStringLiteral("use ASSOC; print 'x'; select 5"));
  ASSERT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.Field(0).toInt(), 5);
  EXPECT_FALSE(connection.Execute(QStringLiteral("print 'only'")).IsOpen());
  EXPECT_EQ(connection.Execute(QStringLiteral("select 9 -- warns")).Field(0).toInt(), 9);
}

TEST_F(OdbcFreeTds, ValuesOfTheServersTypesComeBackWhole) {
  const QString sQuery = QStringLiteral("select * from typed");
  Start(Script({Answer(
      sQuery,
      {Rows(
          {{"i", "int"},
           {"b", "bigint"},
           {"flag", "bit"},
           {"f", "float"},
           {"d", "decimal(38,10)"},
           {"n", "numeric(5,2)"},
           {"dt", "datetime"},
           {"t", "time(7)"},
           {"nv", "nvarchar(40)"},
           {"v", "varchar(40)"}},
          {QJsonArray{-7, QJsonValue(qint64(9007199254740993)), true, 2.5,
                      "1234567890123456789012345678.0123456789", "-0.50", "2024-01-31 13:45:12.347",
                      "13:45:12.1234567", QStringLiteral("Zo\u00eb \u5317\u4eac \u2603"),
                      QStringLiteral("caf\u00e9 \u20ac")},
           QJsonArray{QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                      QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()}})})}));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  Recordset rs = connection.Execute(sQuery);
  ASSERT_EQ(rs.RecordCount(), 2);
  EXPECT_EQ(rs.Field(QStringLiteral("i")).toLongLong(), -7);
  EXPECT_EQ(rs.Field(QStringLiteral("b")).toLongLong(), 9007199254740993LL);
  EXPECT_EQ(rs.Field(QStringLiteral("flag")).toInt(), 1);
  EXPECT_EQ(rs.Field(QStringLiteral("f")).toDouble(), 2.5);
  EXPECT_EQ(rs.Field(QStringLiteral("d")).toString(),
            QStringLiteral("1234567890123456789012345678.0123456789"));
  EXPECT_EQ(rs.Field(QStringLiteral("n")).toString(), QStringLiteral("-0.50"));
  EXPECT_EQ(rs.Field(QStringLiteral("dt")).toDateTime(),
            QDateTime(QDate(2024, 1, 31), QTime(13, 45, 12, 347)));
  EXPECT_EQ(rs.Field(QStringLiteral("t")).toTime(), QTime(13, 45, 12, 123));
  EXPECT_EQ(rs.Field(QStringLiteral("nv")).toString(),
            QStringLiteral("Zo\u00eb \u5317\u4eac \u2603"));
  EXPECT_EQ(rs.Field(QStringLiteral("v")).toString(), QStringLiteral("caf\u00e9 \u20ac"));
  rs.MoveNext();
  for (int i = 0; i < rs.FieldCount(); ++i) EXPECT_TRUE(rs.Field(i).isNull()) << i;
}

// Not only a failed login: an error of a running batch may quote a value
// that happens to be the password.
TEST_F(OdbcFreeTds, AnErrorWhileSqlRunsShowsThePasswordMasked) {
  const QString sMessage = QStringLiteral("Invalid column name 'Tds;pw}1=x'.");
  const QString sConversion = QStringLiteral(
      "Conversion failed when converting the varchar value 'Tds;pw}1=x' to data type int.");
  const QJsonArray failsAfterRows = {
      Paced(Rows({{"n", "int"}}, QJsonArray{QJsonArray{1}, QJsonArray{2}, QJsonArray{3}}),
            {{"fail_after", 2}, {"error", ErrorToken(245, sConversion)["error"]}})};
  const struct {
    const char* sBatch;
    QJsonArray reply;
    bool bPutAway;  // another batch runs before the rows are walked
  } cases[] = {
      {"select [Tds;pw}1=x]", {ErrorToken(207, sMessage)}, false},
      {"select 1 where 'Tds;pw}1=x' = 0", {ErrorToken(245, sConversion)}, false},
      {"select convert(int, v) from t", failsAfterRows, false},
      {"select convert(int, v) from u", failsAfterRows, true},
  };
  QJsonArray answers = {Answer(QStringLiteral("select 7"), {Rows({{"", "int"}}, IntRow(7))})};
  for (const auto& row : cases) answers.append(Answer(QString::fromUtf8(row.sBatch), row.reply));
  Start(Script(answers));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  for (const auto& row : cases) {
    QString sShown;
    try {
      Recordset rows = connection.Execute(QString::fromUtf8(row.sBatch));
      if (row.bPutAway) connection.Execute(QStringLiteral("select 7"));
      for (; !rows.IsEof(); rows.MoveNext()) {
      }
    } catch (const TwkError& error) {
      sShown = error.Description();
    }
    EXPECT_TRUE(sShown.contains(QStringLiteral("'********'"))) << sShown.toStdString();
    EXPECT_FALSE(sShown.contains(QStringLiteral("pw}1"))) << sShown.toStdString();
  }
}

TEST_F(OdbcFreeTds, AnEmptySqlTextGivesAClosedResultWithoutReachingTheServer) {
  Start(Script({}));
  TWK_REQUIRE_RESPONDER(*responder);
  Open(Settings());
  EXPECT_FALSE(connection.Execute(QString()).IsOpen());
  EXPECT_FALSE(connection.Execute(QStringLiteral("  \r\n")).IsOpen());
  EXPECT_TRUE(responder->Batches().isEmpty());
}

// What a failed open leaves: an error, a closed connection, and the
// server's first error record (its number, its text) for the message box.
struct FailedOpen {
  bool bThrew = false;
  long lFirstNumber = 0;
  QString sFirstText;
  QString sAllText;
  qint64 lMilliseconds = 0;
};

FailedOpen TryOpen(Connection& connection, const ConnectionSettings& settings) {
  FailedOpen outcome;
  QElapsedTimer timer;
  timer.start();
  connection.SetSettings(settings);
  try {
    connection.Open();
  } catch (const TwkError& error) {
    outcome.bThrew = true;
    outcome.sAllText = error.Description();
  }
  outcome.lMilliseconds = timer.elapsed();
  EXPECT_FALSE(connection.IsOpen());
  if (!connection.Diagnostics().empty()) {
    outcome.lFirstNumber = connection.Diagnostics().front().lNumber;
    outcome.sFirstText = connection.Diagnostics().front().sDescription;
  }
  for (const Diagnostic& diagnostic : connection.Diagnostics()) {
    outcome.sAllText += QLatin1Char('\n') + diagnostic.sDescription;
  }
  return outcome;
}

TEST_F(OdbcFreeTds, AWrongPasswordEndsInTheLoginFailureThatShowsTheUserButNotThePassword) {
  Start(Script({}, {{"logins",
                     QJsonArray{QJsonObject{{"user", "STAFF1_ASSOC_i"}, {"password", "right"}}}}}));
  TWK_REQUIRE_RESPONDER(*responder);
  const FailedOpen failed =
      TryOpen(connection, Settings(QStringLiteral("STAFF1_ASSOC_i"), QStringLiteral("ASSOC")));
  EXPECT_TRUE(failed.bThrew);
  EXPECT_EQ(failed.lFirstNumber, 18456);
  EXPECT_TRUE(failed.sFirstText.contains(QStringLiteral("Login failed for user 'STAFF1_ASSOC_i'.")))
      << failed.sFirstText.toStdString();
  EXPECT_EQ(responder->Logins().size(), 1);
}

TEST_F(OdbcFreeTds, AnUnknownDatabaseEndsInTheServersCannotOpenDatabase) {
  Start(Script({}, {{"databases", QJsonArray{"master"}}}));
  TWK_REQUIRE_RESPONDER(*responder);
  const FailedOpen failed = TryOpen(connection, Settings());
  EXPECT_TRUE(failed.bThrew);
  // FreeTDS lists the login failure before the reason the server gave first.
  EXPECT_GT(failed.lFirstNumber, 0);
  EXPECT_TRUE(failed.sAllText.contains(QStringLiteral("Cannot open database \"ASSOC\"")));
  EXPECT_FALSE(failed.sAllText.contains(QStringLiteral("Tds;pw}1=x")));
}

TEST_F(OdbcFreeTds, AServerThatNeverAnswersFailsWhenTheLoginTimeoutRunsOut) {
  Start(Script({}, {{"silent", true}}));
  TWK_REQUIRE_RESPONDER(*responder);
  ConnectionSettings settings = Settings();
  settings.iLoginTimeoutSeconds = 2;  // 30 in use; the rule is the same
  const FailedOpen failed = TryOpen(connection, settings);
  EXPECT_TRUE(failed.bThrew);
  EXPECT_GT(failed.lFirstNumber, 0);
  EXPECT_GE(failed.lMilliseconds, 1500);
  EXPECT_LT(failed.lMilliseconds, 10000);
  EXPECT_FALSE(failed.sAllText.contains(QStringLiteral("Tds;pw}1=x")));
}

TEST_F(OdbcFreeTds, AMissingDriverEndsInTheDriverManagersMessage) {
  Start(Script({}));
  TWK_REQUIRE_RESPONDER(*responder);
  ConnectionSettings settings = Settings();
  settings.sDataSource = testing::DefineDataSource(
      scratch.path(), QStringLiteral("TwkGone"), scratch.filePath(QStringLiteral("libgone.so")),
      {{QStringLiteral("Server"), QStringLiteral("127.0.0.1")}});
  const FailedOpen failed = TryOpen(connection, settings);
  EXPECT_TRUE(failed.bThrew);
  EXPECT_GT(failed.lFirstNumber, 0);
  EXPECT_TRUE(failed.sFirstText.contains(QStringLiteral("libgone.so")))
      << failed.sAllText.toStdString();
  EXPECT_FALSE(failed.sAllText.contains(QStringLiteral("Tds;pw}1=x")));
}

}  // namespace
}  // namespace twk

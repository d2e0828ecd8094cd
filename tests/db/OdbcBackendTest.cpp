// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <vector>

#include "Connection.h"
#include "OdbcBackend.h"
#include "OdbcDiagnostics.h"
#include "OdbcTestEnvironment.h"
#include "TwkError.h"

namespace twk {
namespace {

using testing::DefineDataSource;
using testing::QueryTextDirectly;
using testing::RunDirectly;
using testing::SqliteOdbcSettings;

ConnectionSettings ServerSettings(QString sDataSource,
                                  QString sPassword = QStringLiteral("secret")) {
  ConnectionSettings settings;
  settings.sDataSource = std::move(sDataSource);
  settings.sInitialCatalog = QStringLiteral("ASSOC");
  settings.sUserId = QStringLiteral("STAFF1_ASSOC_i");
  settings.sPassword = std::move(sPassword);
  return settings;
}

// Whether any description in the list, or the error, shows the password.
bool ShowsPassword(const std::vector<Diagnostic>& diagnostics, const TwkError& error,
                   const QString& sPassword) {
  if (error.Description().contains(sPassword)) return true;
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.sDescription.contains(sPassword)) return true;
  }
  return false;
}

TEST(OdbcDriverConnectionText, MapsTheSettingsOntoOdbcKeywordsAndLeavesOutEmptyOnes) {
  EXPECT_EQ(OdbcBackend::DriverConnectionText(ServerSettings(QStringLiteral("Imis"))),
            QStringLiteral("DSN=Imis;DATABASE=ASSOC;UID=STAFF1_ASSOC_i;PWD=secret;APP=TWK;"));

  ConnectionSettings bare;
  bare.sDataSource = QStringLiteral("Imis");
  EXPECT_EQ(OdbcBackend::DriverConnectionText(bare), QStringLiteral("DSN=Imis;APP=TWK;"));
  bare.sDataSource.clear();
  EXPECT_EQ(OdbcBackend::DriverConnectionText(bare), QStringLiteral("DSN=;APP=TWK;"));
}

TEST(OdbcDriverConnectionText, BraceQuotesValuesHoldingSeparatorsBracesOrOuterSpaces) {
  ConnectionSettings settings;
  settings.sDataSource = QStringLiteral("Imis;Live");
  settings.sInitialCatalog = QStringLiteral("{ASSOC}");
  settings.sUserId = QStringLiteral("staff=1;x");
  settings.sPassword = QStringLiteral("pa;ss}word");
  EXPECT_EQ(OdbcBackend::DriverConnectionText(settings),
            QStringLiteral("DSN={Imis;Live};DATABASE={{ASSOC}}};UID={staff=1;x};"
                           "PWD={pa;ss}}word};APP=TWK;"));
  // FreeTDS reads a braced value up to the first "};" and keeps "}}" as it is.
  EXPECT_EQ(OdbcBackend::DriverConnectionText(settings, OdbcQuoting::FreeTds),
            QStringLiteral("DSN={Imis;Live};DATABASE={{ASSOC}};UID={staff=1;x};"
                           "PWD={pa;ss}word};APP=TWK;"));

  settings = ServerSettings(QStringLiteral("Imis"), QStringLiteral(" padded "));
  settings.sUserId = QStringLiteral("a=b");
  EXPECT_EQ(OdbcBackend::DriverConnectionText(settings),
            QStringLiteral("DSN=Imis;DATABASE=ASSOC;UID=a=b;PWD={ padded };APP=TWK;"));
}

TEST(OdbcDriverConnectionText, ALoginHoldingBraceSemicolonCannotTravelInFreeTdsText) {
  ConnectionSettings settings = ServerSettings(QStringLiteral("Imis"), QStringLiteral("pw};x"));
  EXPECT_TRUE(OdbcBackend::CanCarryLogin(settings, OdbcQuoting::Standard));
  EXPECT_FALSE(OdbcBackend::CanCarryLogin(settings, OdbcQuoting::FreeTds));
  settings.sPassword = QStringLiteral("pw}x;");
  EXPECT_TRUE(OdbcBackend::CanCarryLogin(settings, OdbcQuoting::FreeTds));
  settings.sInitialCatalog = QStringLiteral("d};b");
  EXPECT_FALSE(OdbcBackend::DriverConnectionText(settings, OdbcQuoting::FreeTds)
                   .contains(QStringLiteral("DATABASE")));
}

TEST(OdbcDiagnosticNumbers, InformationalRecordsAreZeroOrLessAndErrorsAboveZero) {
  EXPECT_LE(OdbcDiagnostics::Number(QStringLiteral("01000"), 5701), 0);
  EXPECT_LE(OdbcDiagnostics::Number(QStringLiteral("01000"), 5703), 0);
  EXPECT_LE(OdbcDiagnostics::Number(QStringLiteral("01S02"), 0), 0);
  EXPECT_EQ(OdbcDiagnostics::Number(QStringLiteral("42000"), 102), 102);
  EXPECT_EQ(OdbcDiagnostics::Number(QStringLiteral("28000"), 18456), 18456);
  EXPECT_GT(OdbcDiagnostics::Number(QStringLiteral("IM002"), 0), 0);
  EXPECT_GT(OdbcDiagnostics::Number(QStringLiteral("08001"), -1), 0);
}

TEST(OdbcOpen, AMissingDataSourceFailsWithAnErrorRecordThatHidesThePassword) {
  QTemporaryDir scratch;
  DefineDataSource(scratch.path(), QStringLiteral("SomethingElse"), testing::SqliteOdbcDriverPath(),
                   {});
  const QString sPassword = QStringLiteral("Hush;{1}");
  std::vector<Diagnostic> diagnostics;
  try {
    OdbcBackend::Open(ServerSettings(QStringLiteral("TwkNoSuchSource"), sPassword), diagnostics);
    FAIL() << "a data source that does not exist was opened";
  } catch (const TwkError& error) {
    EXPECT_GT(error.Number(), 0);
    EXPECT_EQ(error.Source(), QStringLiteral("ODBC"));
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_GT(diagnostics.front().lNumber, 0);
    EXPECT_EQ(diagnostics.front().sSqlState, QStringLiteral("IM002"));
    EXPECT_EQ(error.Description(), diagnostics.front().sDescription);
    EXPECT_TRUE(error.Description().contains(
        QStringLiteral("The ODBC data source \"TwkNoSuchSource\" is not defined.")));
    EXPECT_TRUE(error.Description().contains(QStringLiteral("TDS_Version = 7.4")));
    EXPECT_FALSE(ShowsPassword(diagnostics, error, sPassword));
  }
}

// A FreeTDS data source for a server on a loopback port where nothing listens.
QString DefineUnreachableServer(const QString& sDirectory, const QString& sBaseName) {
  const QString sDriver = testing::FreeTdsDriverPath();
  EXPECT_FALSE(sDriver.isEmpty()) << "FreeTDS's ODBC driver (Debian package tdsodbc) is missing";
  return DefineDataSource(sDirectory, sBaseName, sDriver,
                          {{QStringLiteral("Server"), QStringLiteral("127.0.0.1")},
                           {QStringLiteral("Port"), QString::number(testing::UnusedLoopbackPort())},
                           {QStringLiteral("TDS_Version"), QStringLiteral("7.4")}});
}

bool HasConnectionFailure(const std::vector<Diagnostic>& diagnostics) {
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.sSqlState.startsWith(QStringLiteral("08"))) return true;
  }
  return false;
}

TEST(OdbcOpen, AnUnreachableFreeTdsServerFailsQuicklyWithoutShowingThePassword) {
  QTemporaryDir scratch;
  const QString sDataSource = DefineUnreachableServer(scratch.path(), QStringLiteral("TwkServer"));
  const QString sPassword = QStringLiteral("Tds;Pass}word");
  std::vector<Diagnostic> diagnostics;
  QElapsedTimer timer;
  timer.start();
  try {
    OdbcBackend::Open(ServerSettings(sDataSource, sPassword), diagnostics);
    FAIL() << "connected to a port where nothing listens";
  } catch (const TwkError& error) {
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_GT(error.Number(), 0);
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_GT(diagnostics.front().lNumber, 0);
    EXPECT_EQ(error.Description(), diagnostics.front().sDescription);
    EXPECT_TRUE(HasConnectionFailure(diagnostics));
    EXPECT_FALSE(ShowsPassword(diagnostics, error, sPassword));
  }
}

TEST(OdbcOpen, ADataSourceNameHoldingASemicolonReachesItsDriver) {
  QTemporaryDir scratch;
  ConnectionSettings settings =
      ServerSettings(DefineUnreachableServer(scratch.path(), QStringLiteral("Twk;Server")));
  settings.sUserId = QStringLiteral("staff;{1}");
  std::vector<Diagnostic> diagnostics;
  EXPECT_THROW(OdbcBackend::Open(settings, diagnostics), TwkError);
  // The driver itself tried the server: the name was neither cut short nor
  // left unknown to the driver manager (IM002).
  EXPECT_TRUE(HasConnectionFailure(diagnostics));
  for (const Diagnostic& diagnostic : diagnostics) EXPECT_NE(diagnostic.sSqlState, "IM002");
}

// A database file reached through the SQLite ODBC driver.
class OdbcSqliteDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch.isValid());
    sDatabaseFile = scratch.filePath(QStringLiteral("odbc.sqlite"));
    RunDirectly(sDatabaseFile,
                QStringLiteral("create table notes (ID integer primary key, BODY text, "
                               "PRICE real, AMOUNT numeric(10,2), PICTURE blob)"));
  }

  void Open() {
    connection.SetSettings(SqliteOdbcSettings(sDatabaseFile, scratch.path()));
    connection.Open();
  }

  QVariant FirstValue(const QString& sSql) {
    Recordset result = connection.Execute(sSql);
    EXPECT_TRUE(result.IsOpen());
    EXPECT_FALSE(result.IsEof());
    return result.IsEof() ? QVariant() : result.Field(0);
  }

  QTemporaryDir scratch;
  QString sDatabaseFile;
  Connection connection;
};

TEST_F(OdbcSqliteDriver, ValuesComeBackAsNumbersTextBytesAndNull) {
  RunDirectly(sDatabaseFile, QStringLiteral("insert into notes values (7, 'seven', 2.25, 12.5, "
                                            "x'00ff41'), (8, NULL, NULL, NULL, NULL)"));
  Open();
  Recordset result = connection.Execute(
      QStringLiteral("select ID, BODY, PRICE, AMOUNT, PICTURE from notes order by ID"));
  ASSERT_EQ(result.RecordCount(), 2);
  EXPECT_EQ(result.FieldName(3), QStringLiteral("AMOUNT"));
  EXPECT_EQ(result.Field(0), QVariant(qint64(7)));
  EXPECT_EQ(result.Field(1), QVariant(QStringLiteral("seven")));
  EXPECT_EQ(result.Field(2), QVariant(2.25));
  EXPECT_DOUBLE_EQ(result.Field(3).toDouble(), 12.5);
  EXPECT_EQ(result.Field(4), QVariant(QByteArray("\x00\xff\x41", 3)));
  result.MoveNext();
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(result.Field(i).isNull()) << i;
}

TEST_F(OdbcSqliteDriver, AnEmptyTextIsNotNull) {
  RunDirectly(sDatabaseFile, QStringLiteral("insert into notes (ID, BODY) values (1, '')"));
  Open();
  const QVariant body = FirstValue(QStringLiteral("select BODY from notes"));
  EXPECT_FALSE(body.isNull());
  EXPECT_EQ(body.toString(), QString());
}

TEST_F(OdbcSqliteDriver, ALongTextComesBackWhole) {
  // Mixed widths so that pieces of the read end inside multi-byte characters.
  QString sLong;
  for (int i = 0; sLong.size() < 20000; ++i) {
    sLong += QStringLiteral("line %1 é☃ ").arg(i);
  }
  RunDirectly(sDatabaseFile,
              QStringLiteral("insert into notes (ID, BODY) values (1, '%1')").arg(sLong));
  Open();
  const QString sRead = FirstValue(QStringLiteral("select BODY from notes")).toString();
  EXPECT_EQ(sRead.size(), sLong.size());
  EXPECT_TRUE(sRead == sLong);
}

TEST_F(OdbcSqliteDriver, UnicodeTextRoundTripsThroughTheDriver) {
  // Within the Basic Multilingual Plane: unixODBC hands text to a driver
  // without wide calls (as this one is) through UCS-2.
  const QString sText = QStringLiteral("Ann Émile ☃ Ωmega 東京");
  Open();
  connection.Execute(QStringLiteral("insert into notes (ID, BODY) values (1, '%1')").arg(sText));
  EXPECT_EQ(FirstValue(QStringLiteral("select BODY from notes where BODY = '%1'").arg(sText)),
            QVariant(sText));
  // Stored as the text itself, not as some other encoding of it.
  EXPECT_EQ(QueryTextDirectly(sDatabaseFile, QStringLiteral("select BODY from notes")), sText);
}

TEST_F(OdbcSqliteDriver, StatementsThatChangeRowsReturnAClosedResultWithTheirCount) {
  Open();
  Recordset inserted = connection.Execute(
      QStringLiteral("insert into notes (ID, BODY) values (1, 'a'), (2, 'b'), (3, 'c')"));
  EXPECT_FALSE(inserted.IsOpen());
  EXPECT_EQ(inserted.RowsAffected(), 3);
  EXPECT_EQ(
      connection.Execute(QStringLiteral("update notes set BODY = 'z' where ID > 1")).RowsAffected(),
      2);
  Recordset untouched = connection.Execute(QStringLiteral("delete from notes where ID = 99"));
  EXPECT_FALSE(untouched.IsOpen());
  EXPECT_EQ(untouched.RowsAffected(), 0);
}

TEST_F(OdbcSqliteDriver, APasswordHoldingSeparatorsAndBracesStillConnects) {
  ConnectionSettings settings = SqliteOdbcSettings(sDatabaseFile, scratch.path());
  settings.sUserId = QStringLiteral("user;{1}");
  settings.sPassword = QStringLiteral("pw;}{=x");
  connection.SetSettings(settings);
  connection.Open();
  EXPECT_EQ(FirstValue(QStringLiteral("select count(*) from notes")).toInt(), 0);
}

}  // namespace
}  // namespace twk

// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "ModuleFixture.h"
#include "OdbcDiagnostics.h"
#include "modSubroutines.h"

namespace twk {
namespace {

using namespace modSubroutines;
using testing::ModuleFixture;

const QString sMissingObjectsText = QStringLiteral(
    "TWK is missing some required SQL objects and cannot operate.\r\n\r\n"
    "To correct this problem, please execute TWK_Tables.sql in your iMIS database.  This script "
    "can be found in the directory where you installed TWK.\r\n\r\n"
    "You may also need to create the procedure ptwk_calculate_fixed_text.  The file "
    "TWK_fixed_text.sql in the install directory has an example.\r\n\r\n"
    "TWK will now terminate.");

class StartupChecks : public ModuleFixture {
 protected:
  /// An iMIS whose version and checksum were already reviewed.
  void Reviewed() {
    Raw(QStringLiteral(
        "insert into System_Params values ('System_Control.Version', '20.2.65'), "
        "('System_Control.Checksum', 'C0FFEE'), ('QUOR.TWK.Imis_Version', '20.2.65'), "
        "('QUOR.TWK.Imis_Checksum', 'C0FFEE')"));
  }
  QString Param(const char* sName) const {
    return RawValue(QStringLiteral("select ShortValue from System_Params where ParameterName = '") +
                    QString::fromLatin1(sName) + QStringLiteral("'"));
  }
  bool IsOpen() { return moduleState.State().SharedConnection().IsOpen(); }
};

TEST_F(StartupChecks, AReviewedDatabaseStartsSilentlyAndRecordsTheOwnVersion) {
  Reviewed();
  EXPECT_TRUE(Start(9));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_TRUE(IsOpen());
  EXPECT_EQ(Param("QUOR.TWK.Version"), TwkVersionText());
}

TEST_F(StartupChecks, AnAdministratorIsAskedAndYesClearsTheReminder) {
  platform.AnswerNext(MessageAnswer::Yes);
  EXPECT_TRUE(Start(9));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Sanity Check")});
  const auto& question = platform.messages[0];
  EXPECT_EQ(question.buttons, MessageButtons::YesNo);
  EXPECT_EQ(question.icon, MessageIcon::None);
  EXPECT_TRUE(question.sText.startsWith(QStringLiteral(
      "TWK has detected a change in iMIS version or Checksum.\r\n\r\nNew versions")));
  EXPECT_TRUE(question.sText.contains(
      QStringLiteral("could\r\n cause your alerts to fail or function incorrectly.  This")));
  EXPECT_TRUE(question.sText.endsWith(
      QStringLiteral("tested your alerts.\r\n\r\nDo you want to clear this reminder now?")));
  EXPECT_EQ(Param("QUOR.TWK.Imis_Version"), QStringLiteral("missing-imis"));
  EXPECT_EQ(Param("QUOR.TWK.Imis_Checksum"), QStringLiteral("missing-imis"));

  platform.messages.clear();
  EXPECT_TRUE(Start(9));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartupChecks, YesRecordsTheVersionAndTheChecksumEachInItsOwnParameter) {
  // Values that differ, so that a swapped or repeated write shows.
  Raw(
      QStringLiteral("insert into System_Params values ('System_Control.Version', '20.3.1'), "
                     "('System_Control.Checksum', 'BADA55')"));
  platform.AnswerNext(MessageAnswer::Yes);
  EXPECT_TRUE(Start(9));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Sanity Check")});
  EXPECT_EQ(Param("QUOR.TWK.Imis_Version"), QStringLiteral("20.3.1"));
  EXPECT_EQ(Param("QUOR.TWK.Imis_Checksum"), QStringLiteral("BADA55"));
}

TEST_F(StartupChecks, AnsweringNoAsksAgainAtTheNextStart) {
  EXPECT_TRUE(Start(8));
  EXPECT_TRUE(Start(8));
  EXPECT_EQ(platform.MessageTitles(),
            (QStringList{QStringLiteral("Sanity Check"), QStringLiteral("Sanity Check")}));
  EXPECT_EQ(Param("QUOR.TWK.Imis_Version"), QStringLiteral("<none>"));
}

TEST_F(StartupChecks, BelowLevelEightOnlyAWarningAndOnlyTheVersionIsWritten) {
  EXPECT_TRUE(Start(7));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Non-critical warning")});
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("A system change requires review by your System Manager.  Please log "
                           "in to iMIS as MANAGER!sa and open TWK to clear this warning.  TWK "
                           "will operate normally, even though you are receiving this warning."));
  EXPECT_EQ(RawValue(QStringLiteral("select group_concat(ParameterName) from System_Params")),
            QStringLiteral("QUOR.TWK.Version"));
}

TEST_F(StartupChecks, AChecksumThatChangedOnlyInCaseCountsAsAChange) {
  Reviewed();
  Raw(
      QStringLiteral("update System_Params set ShortValue = 'c0ffee' "
                     "where ParameterName = 'System_Control.Checksum'"));
  EXPECT_TRUE(Start(1));
  EXPECT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Non-critical warning")});
}

TEST_F(StartupChecks, ANewerRecordedVersionStopsTheStartWithoutTheSchemaMessage) {
  Reviewed();
  Raw(QStringLiteral("insert into System_Params values ('QUOR.TWK.Version', '10.00.000')"));
  EXPECT_FALSE(Start(9));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Newer version in use")});
  EXPECT_EQ(platform.messages[0].sText,
            QStringLiteral("This version of Tellwick is ") + TwkVersionText() +
                QStringLiteral(".\r\nThe iMIS database indicates that version 10.00.000 is also "
                               "in use.\r\n\r\nBecause that version is newer, this copy of "
                               "Tellwick will not operate,\r\non the assumption that the newer "
                               "version fixes bugs or adds important features.\r\nPlease contact "
                               "your System Manager for an upgrade."));
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Param("QUOR.TWK.Version"), QStringLiteral("10.00.000"));
}

TEST_F(StartupChecks, AnOlderOrUnreadableRecordedVersionIsRaisedAndAnEqualOneLeftAlone) {
  Reviewed();
  Raw(QStringLiteral("insert into System_Params values ('QUOR.TWK.Version', 'garbage')"));
  EXPECT_TRUE(Start(1));
  EXPECT_EQ(Param("QUOR.TWK.Version"), TwkVersionText());

  // Numerically equal though written differently: nothing is written.
  const QString sSameNumbers = TwkVersionText().replace(QStringLiteral(".0"), QStringLiteral("."));
  Raw(QStringLiteral("update System_Params set ShortValue = '") + sSameNumbers +
      QStringLiteral("' where ParameterName = 'QUOR.TWK.Version'"));
  EXPECT_TRUE(Start(1));
  EXPECT_EQ(Param("QUOR.TWK.Version"), sSameNumbers);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(VersionTexts, CompareByNumbersNotByCharacters) {
  EXPECT_GT(CompareVersionTexts(QStringLiteral("10.00.000"), QStringLiteral("9.00.000")), 0);
  EXPECT_LT(CompareVersionTexts(QStringLiteral("2.00.004"), QStringLiteral("2.01.000")), 0);
  EXPECT_EQ(CompareVersionTexts(QStringLiteral("2.0.4"), QStringLiteral("2.00.004")), 0);
  EXPECT_EQ(CompareVersionTexts(QStringLiteral("x.y"), QStringLiteral("0.00.000")), 0);
  EXPECT_EQ(CompareVersionTexts(QString(), QStringLiteral("0.00.000")), 0);
  EXPECT_TRUE(
      TwkVersionText().contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d\\.\\d\\d\\d$"))));
}

TEST_F(StartupChecks, AMissingObjectStopsTheStartWithTheCriticalMessage) {
  Reviewed();
  Raw(QStringLiteral("drop table ttwk_AlertOutput"));
  EXPECT_FALSE(Start(1));
  ASSERT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Critical: missing objects")});
  EXPECT_EQ(platform.messages[0].sText, sMissingObjectsText);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Critical);
  EXPECT_FALSE(IsOpen());
}

TEST_F(StartupChecks, AMissingProcedureCountsAsMissingToo) {
  Reviewed();
  Raw(QStringLiteral("delete from twk_procedures where name = 'ptwk_calculate_fixed_text'"));
  EXPECT_FALSE(Start(1));
  EXPECT_EQ(platform.MessageTitles(), QStringList{QStringLiteral("Critical: missing objects")});
}

TEST_F(StartupChecks, ObjectNamesInCapitalsStillCount) {
  Reviewed();
  // SQLite will not rename a table to a case variant of its own name directly.
  Raw(
      QStringLiteral("alter table ttwk_AlertOutput rename to twk_moving; "
                     "alter table twk_moving rename to TTWK_ALERTOUTPUT"));
  EXPECT_TRUE(Start(1));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
}

TEST_F(StartupChecks, ALevelTooLargeForSixteenBitsIsReportedAndTheStartGoesOn) {
  Reviewed();
  EXPECT_TRUE(Start(70000));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].sText.startsWith(
      QStringLiteral("Overflow\r\nin TWK.modSubroutines.InitializeConnection at line 130")));
}

TEST_F(StartupChecks, StartingTwiceReopensTheConnection) {
  Reviewed();
  ASSERT_TRUE(Start(1));
  const qint32 lFirstSpid = NumericQuery(QStringLiteral("select @@spid"));
  ASSERT_TRUE(Start(1));
  EXPECT_NE(NumericQuery(QStringLiteral("select @@spid")), lFirstSpid);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartupChecks, AMissingFileFailsWithItsDiagnosticAndCreatesNothing) {
  const QString sMissing = scratch.filePath(QStringLiteral("absent.db"));
  EXPECT_FALSE(InitializeConnection(sMissing, QStringLiteral("DEMO"), QStringLiteral("MANAGER"),
                                    QStringLiteral("pw-Secret9"), 1));
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[0].sText.contains(
      QStringLiteral("in TWK.modSubroutines.InitializeConnection at line 110")));
  bool bNumericTitle = false;
  EXPECT_GT(platform.messages[1].sTitle.toLong(&bNumericTitle), 0);
  EXPECT_TRUE(bNumericTitle);
  EXPECT_FALSE(QFileInfo::exists(sMissing));
  EXPECT_FALSE(IsOpen());
  EXPECT_FALSE(AllMessageText().contains(QStringLiteral("pw-Secret9")));
}

TEST_F(StartupChecks, AFileThatIsNotADatabaseFailsAndStaysUnchanged) {
  const QString sText = scratch.filePath(QStringLiteral("notes.db"));
  QFile file(sText);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("just some notes, not a database\n");
  file.close();
  EXPECT_FALSE(InitializeConnection(sText, QString(), QStringLiteral("MANAGER"), QString(), 1));
  EXPECT_EQ(platform.messages.size(), 2u);
  QFile reread(sText);
  ASSERT_TRUE(reread.open(QIODevice::ReadOnly));
  EXPECT_EQ(reread.readAll(), QByteArray("just some notes, not a database\n"));
}

TEST_F(StartupChecks, AnUnknownDataSourceFailsAndNoMessageShowsThePassword) {
  const QString sIni = scratch.filePath(QStringLiteral("odbc.ini"));
  QFile ini(sIni);
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.close();
  qputenv("ODBCINI", sIni.toLocal8Bit());
  qputenv("ODBCSYSINI", scratch.path().toLocal8Bit());
  const bool bStarted =
      InitializeConnection(QStringLiteral("NoSuchTellwickSource"), QStringLiteral("DEMO"),
                           QStringLiteral("sa"), QStringLiteral("Pa;ss}w0rd"), 1);
  qunsetenv("ODBCINI");
  qunsetenv("ODBCSYSINI");
  EXPECT_FALSE(bStarted);
  EXPECT_FALSE(IsOpen());
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_FALSE(AllMessageText().contains(QStringLiteral("Pa;ss}w0rd")));
}

// What SQL Server says after every login, as Microsoft's driver passes it on,
// numbered as the ODBC backend numbers a driver's records.
std::vector<Diagnostic> SqlServerLoginMessages() {
  const QString sDriver = QStringLiteral("[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]");
  return {
      {OdbcDiagnostics::Number(QStringLiteral("01000"), 5701),
       sDriver + QStringLiteral("Changed database context to 'DEMO'."), QStringLiteral("01000")},
      {OdbcDiagnostics::Number(QStringLiteral("01000"), 5703),
       sDriver + QStringLiteral("Changed language setting to us_english."),
       QStringLiteral("01000")}};
}

TEST_F(StartupChecks, SqlServersLoginMessagesAreClearedAndTheStartGoesOn) {
  Reviewed();
  Connection& connection = moduleState.State().SharedConnection();
  connection.AddToEveryOpen(SqlServerLoginMessages());
  EXPECT_TRUE(Start(1));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_TRUE(IsOpen());
  EXPECT_TRUE(connection.Diagnostics().empty());
  // The checks ran after the messages were cleared.
  EXPECT_EQ(Param("QUOR.TWK.Version"), TwkVersionText());
}

TEST_F(StartupChecks, TheFirstRecordAloneDecides) {
  Reviewed();
  Connection& connection = moduleState.State().SharedConnection();
  // A first record numbered 0 is informational; what follows it is not looked at.
  connection.AddToEveryOpen({{0, QStringLiteral("Option value changed."), QStringLiteral("01S02")},
                             {2601, QStringLiteral("Later error."), QStringLiteral("23000")}});
  EXPECT_TRUE(Start(1));
  EXPECT_TRUE(platform.messages.empty()) << AllMessageText().toStdString();
  EXPECT_TRUE(IsOpen());

  // An error first stops the start with its own text and number, whatever follows.
  connection.AddToEveryOpen(
      {{50000, QStringLiteral("This login may not run Tellwick."), QStringLiteral("42000")},
       SqlServerLoginMessages().front()});
  EXPECT_FALSE(Start(1));
  ASSERT_EQ(platform.messages.size(), 1u) << AllMessageText().toStdString();
  EXPECT_EQ(platform.messages[0].sText, QStringLiteral("This login may not run Tellwick."));
  EXPECT_EQ(platform.messages[0].sTitle, QStringLiteral("50000"));
  EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
  EXPECT_FALSE(IsOpen());
}

}  // namespace
}  // namespace twk

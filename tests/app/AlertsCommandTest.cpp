#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

struct Outcome {
  int iExitCode = -1;
  QString sOutput;
  QString sErrors;
};

/// Runs the installed command as a person would, with its data directory
/// and ODBC configuration pointed into the test's own directory.
class AlertsCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch.isValid()); }

  Outcome Run(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("HOME"), scratch.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TELLWICK_ALERTS), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

  QString File(const char* sName) const { return scratch.filePath(QString::fromLatin1(sName)); }

  void Sql(const QString& sFile, const char* sSql) const {
    sqlite3* pDatabase = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(pDatabase, sSql, nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(pDatabase);
    sqlite3_close_v2(pDatabase);
  }

  QTemporaryDir scratch;
};

TEST_F(AlertsCommand, HelpAndVersionAnswerAndExitZero) {
  const Outcome help = Run({QStringLiteral("--help")});
  EXPECT_EQ(help.iExitCode, 0);
  for (const char* sOption : {"--init", "--demo", "--check", "--server", "--database", "--user",
                              "--password", "--level", "--yes"}) {
    EXPECT_TRUE(help.sOutput.contains(QString::fromLatin1(sOption))) << sOption;
  }
  const Outcome version = Run({QStringLiteral("--version")});
  EXPECT_EQ(version.iExitCode, 0);
  EXPECT_TRUE(
      version.sOutput.contains(QRegularExpression(QStringLiteral("\\d+\\.\\d\\d\\.\\d\\d\\d"))));
}

TEST_F(AlertsCommand, UnknownOptionsAndNothingToDoAreUsageErrors) {
  EXPECT_EQ(Run({QStringLiteral("--frobnicate")}).iExitCode, 2);
  EXPECT_EQ(Run({}).iExitCode, 2);
  EXPECT_EQ(Run({QStringLiteral("--demo")}).iExitCode, 2);
}

TEST_F(AlertsCommand, InitCreatesADatabaseAndRefusesToOverwriteOne) {
  const QString sFile = File("assoc.db");
  EXPECT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  ASSERT_TRUE(QFileInfo::exists(sFile));
  const qint64 lSize = QFileInfo(sFile).size();

  const Outcome again = Run({QStringLiteral("--init"), sFile, QStringLiteral("--demo")});
  EXPECT_EQ(again.iExitCode, 1);
  EXPECT_FALSE(again.sErrors.isEmpty());
  EXPECT_EQ(QFileInfo(sFile).size(), lSize);
}

TEST_F(AlertsCommand, CheckOnAFreshDatabaseWarnsOnceAndPasses) {
  const QString sFile = File("fresh.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  const Outcome first = Run({QStringLiteral("--server"), sFile, QStringLiteral("--check")});
  EXPECT_EQ(first.iExitCode, 0) << first.sErrors.toStdString();
  EXPECT_TRUE(first.sErrors.contains(QStringLiteral("Non-critical warning")));
}

TEST_F(AlertsCommand, AnAdministratorsQuestionIsAnsweredByTheYesFlag) {
  const QString sFile = File("admin.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  const QStringList check = {QStringLiteral("--server"), sFile, QStringLiteral("--level"),
                             QStringLiteral("9 (sysadmin)"), QStringLiteral("--check")};
  const Outcome no = Run(check);
  EXPECT_EQ(no.iExitCode, 0);
  EXPECT_TRUE(no.sErrors.contains(QStringLiteral("Sanity Check")));
  EXPECT_TRUE(no.sErrors.contains(QStringLiteral("(answered No)")));

  const Outcome yes = Run(check + QStringList{QStringLiteral("--yes")});
  EXPECT_TRUE(yes.sErrors.contains(QStringLiteral("(answered Yes)")));
  const Outcome quiet = Run(check);
  EXPECT_EQ(quiet.iExitCode, 0);
  EXPECT_FALSE(quiet.sErrors.contains(QStringLiteral("Sanity Check")));
}

TEST_F(AlertsCommand, CheckFailsOnAMissingFileWithoutCreatingIt) {
  const QString sFile = File("nowhere.db");
  const Outcome outcome = Run({QStringLiteral("--server"), sFile, QStringLiteral("--check")});
  EXPECT_EQ(outcome.iExitCode, 1);
  EXPECT_FALSE(QFileInfo::exists(sFile));
}

TEST_F(AlertsCommand, CheckFailsWhenObjectsAreMissing) {
  const QString sFile = File("partial.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  Sql(sFile, "drop table ttwk_AlertDefinitions");
  const Outcome outcome = Run({QStringLiteral("--server"), sFile, QStringLiteral("--check")});
  EXPECT_EQ(outcome.iExitCode, 1);
  EXPECT_TRUE(outcome.sErrors.contains(QStringLiteral("Critical: missing objects")));
  EXPECT_TRUE(outcome.sErrors.contains(QStringLiteral("TWK will now terminate.")));
}

TEST_F(AlertsCommand, WithoutAServerTheDemoDatabaseIsCreatedAndStartsSilently) {
  const Outcome outcome = Run({QStringLiteral("--check")});
  EXPECT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  EXPECT_TRUE(QFileInfo::exists(File("data/Tellwick/demo.db")));
  EXPECT_EQ(outcome.sErrors, QString());
}

TEST_F(AlertsCommand, IdPrintsTheRecordsAlertsInRankOrderAsJson) {
  const QString sFile = File("demo.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile, QStringLiteral("--demo")}).iExitCode, 0);
  const Outcome outcome = Run({QStringLiteral("--server"), sFile, QStringLiteral("--id"),
                               QStringLiteral("1008"), QStringLiteral("--json")});
  ASSERT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  QJsonParseError error;
  const QJsonObject report = QJsonDocument::fromJson(outcome.sOutput.toUtf8(), &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << outcome.sOutput.toStdString();
  EXPECT_EQ(report.value(QStringLiteral("id")).toString(), QStringLiteral("1008"));
  EXPECT_EQ(report.value(QStringLiteral("user")).toString(), QStringLiteral("MANAGER"));
  const QJsonArray alerts = report.value(QStringLiteral("alerts")).toArray();
  EXPECT_EQ(report.value(QStringLiteral("count")).toInt(), alerts.size());
  ASSERT_GE(alerts.size(), 2);
  int iPreviousRank = -32768;
  for (const auto& entry : alerts) {
    const QJsonObject alert = entry.toObject();
    EXPECT_EQ(alert.size(), 18);
    for (const char* sField :
         {"seqn", "eventType", "keyValue", "rank", "icon", "keyword", "description", "tooltipText",
          "titleText", "clipboardText", "clipboardDescription", "actionText", "actionDescription",
          "logText", "playSound", "autoPopup", "autoClipboard", "autoAction"}) {
      EXPECT_TRUE(alert.contains(QString::fromLatin1(sField))) << sField;
    }
    EXPECT_GE(alert.value(QStringLiteral("rank")).toInt(), iPreviousRank);
    iPreviousRank = alert.value(QStringLiteral("rank")).toInt();
    EXPECT_TRUE(alert.value(QStringLiteral("autoAction")).isBool());
  }
  EXPECT_FALSE(report.value(QStringLiteral("fixedText")).toString().isEmpty());
}

TEST_F(AlertsCommand, OnlyRunsOneDefinitionEvenWhenItIsDisabled) {
  const QString sFile = File("only.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  Sql(sFile,
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "values ('select ''Draft'' as KEYWORD, ''Seen for '' || @id as DESCRIPTION', 0, 'd', 'SQL', "
      "'DRAFT')");
  const QStringList base = {QStringLiteral("--server"), sFile, QStringLiteral("--id"),
                            QStringLiteral("O'Hara"), QStringLiteral("--json")};
  const Outcome all = Run(base);
  ASSERT_EQ(all.iExitCode, 0) << all.sErrors.toStdString();
  EXPECT_EQ(
      QJsonDocument::fromJson(all.sOutput.toUtf8()).object().value(QStringLiteral("count")).toInt(),
      0);

  const Outcome one = Run(base + QStringList{QStringLiteral("--only"), QStringLiteral("1")});
  ASSERT_EQ(one.iExitCode, 0) << one.sErrors.toStdString();
  const QJsonArray alerts = QJsonDocument::fromJson(one.sOutput.toUtf8())
                                .object()
                                .value(QStringLiteral("alerts"))
                                .toArray();
  ASSERT_EQ(alerts.size(), 1);
  EXPECT_EQ(alerts[0].toObject().value(QStringLiteral("description")).toString(),
            QStringLiteral("Seen for O'Hara"));
  EXPECT_EQ(alerts[0].toObject().value(QStringLiteral("seqn")).toInt(), 1);

  const Outcome missing = Run(base + QStringList{QStringLiteral("--only"), QStringLiteral("99")});
  EXPECT_EQ(missing.iExitCode, 0);
  EXPECT_TRUE(missing.sErrors.contains(QStringLiteral("no definition 99")));
}

TEST_F(AlertsCommand, TheTableShowsControlCharactersOfDatabaseTextEscaped) {
  const QString sFile = File("steer.db");
  ASSERT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
  Sql(sFile,
      "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
      "values ('select ''Red'' || char(27) || ''[31m%6'' as KEYWORD, ''ring'' || char(7) || "
      "char(9) || char(155) || char(8238) || ''end'' as DESCRIPTION', 1, 'd', 'SQL', 'STEER')");
  const QString sId = QStringLiteral("7%1\x1b]0;title\x07");
  const Outcome table = Run({QStringLiteral("--server"), sFile, QStringLiteral("--id"), sId});
  ASSERT_EQ(table.iExitCode, 0) << table.sErrors.toStdString();
  for (const QChar c : table.sOutput) {
    EXPECT_TRUE(c == u'\n' || (c >= u' ' && c != QChar(0x7f) &&
                               (c < QChar(0x80) || c >= QChar(0xa0)) && c != QChar(0x202e)))
        << "raw U+" << QString::number(c.unicode(), 16).toStdString();
  }
  EXPECT_TRUE(table.sOutput.contains(QStringLiteral("Alerts for ID 7%1\\e]0;title\\x07 as ")))
      << table.sOutput.toStdString();
  EXPECT_TRUE(table.sOutput.contains(QStringLiteral("Red\\e[31m%6")));
  EXPECT_TRUE(table.sOutput.contains(QStringLiteral("ring\\x07\\t\\x9b\\u202eend")));

  const Outcome json = Run(
      {QStringLiteral("--server"), sFile, QStringLiteral("--id"), sId, QStringLiteral("--json")});
  const QJsonObject report = QJsonDocument::fromJson(json.sOutput.toUtf8()).object();
  EXPECT_EQ(report.value(QStringLiteral("id")).toString(), sId);
  const QJsonObject alert = report.value(QStringLiteral("alerts")).toArray().at(0).toObject();
  EXPECT_EQ(alert.value(QStringLiteral("keyword")).toString(), QStringLiteral("Red\x1b[31m%6"));
}

TEST_F(AlertsCommand, IdRefusesBadArgumentsAndFailsWhenTheStartFails) {
  EXPECT_EQ(Run({QStringLiteral("--id"), QString()}).iExitCode, 2);
  EXPECT_EQ(Run({QStringLiteral("--id"), QStringLiteral("1"), QStringLiteral("--only"),
                 QStringLiteral("x")})
                .iExitCode,
            2);
  EXPECT_EQ(Run({QStringLiteral("--json")}).iExitCode, 2);
  EXPECT_EQ(Run({QStringLiteral("--server"), File("gone.db"), QStringLiteral("--id"),
                 QStringLiteral("1")})
                .iExitCode,
            1);
}

}  // namespace

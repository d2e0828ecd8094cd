// SPDX-License-Identifier: MIT
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

  // A new embedded database whose definitions are the given value lists of
  // (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID).
  QString DefinitionsFile(const char* sName, const char* sValues) {
    const QString sFile = File(sName);
    EXPECT_EQ(Run({QStringLiteral("--init"), sFile}).iExitCode, 0);
    const QByteArray sInsert =
        QByteArray(
            "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, "
            "ALERT_ID) ") +
        sValues;
    Sql(sFile, sInsert.constData());
    return sFile;
  }

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
                              "--password", "--level", "--yes", "--survey", "--sample", "--ids"}) {
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
  const QString sFile = DefinitionsFile(
      "only.db",
      "values ('select ''Draft'' as KEYWORD, ''Seen for '' + @id as DESCRIPTION', 0, 'd', 'SQL', "
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

TEST_F(AlertsCommand, ExplainTellsWhyEachDefinitionGaveWhatItGave) {
  const QString sFile = DefinitionsFile(
      "explain.db",
      "values ('select 1 +', 1, 'd', 'SQL', 'BROKEN'),"
      " ('select ''Kept'' as KEYWORD, ''yes'' as DESCRIPTION union all "
      "   select ''No text'', '''' union all select '''', ''no keyword''', 1, 'd', 'SQL', 'MIXED'),"
      " ('select 1', 1, 'd', 'Note', 'NOTE'),"
      " ('insert into ttwk_AlertOutput (OWNER_SPID, KEYWORD, DESCRIPTION) values (@@spid, "
      "   ''From table'', ''t'')', 1, 'd', 'SQL', 'WRITER')");
  const QStringList base = {QStringLiteral("--server"), sFile, QStringLiteral("--id"),
                            QStringLiteral("1001"), QStringLiteral("--explain")};
  const Outcome text = Run(base);
  ASSERT_EQ(text.iExitCode, 0) << text.sErrors.toStdString();
  EXPECT_TRUE(text.sOutput.contains(QStringLiteral("SEQN 1 \"BROKEN\", type \"SQL\": failed")))
      << text.sOutput.toStdString();
  // The place in the definition's own text, column included.
  EXPECT_TRUE(
      text.sOutput.contains(QStringLiteral("Line 1, column 10: Incorrect syntax near '+'.")))
      << text.sOutput.toStdString();
  EXPECT_TRUE(text.sOutput.contains(QStringLiteral("not run"))) << text.sOutput.toStdString();

  const Outcome json = Run(base + QStringList{QStringLiteral("--json")});
  ASSERT_EQ(json.iExitCode, 0) << json.sErrors.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(json.sOutput.toUtf8()).object();
  const QJsonArray definitions = report.value(QStringLiteral("definitions")).toArray();
  ASSERT_EQ(definitions.size(), 4) << json.sOutput.toStdString();
  EXPECT_FALSE(definitions[0].toObject().value(QStringLiteral("ran")).toBool());
  EXPECT_EQ(definitions[0].toObject().value(QStringLiteral("error_column")).toInt(), 10);
  const QJsonObject mixed = definitions[1].toObject();
  EXPECT_EQ(mixed.value(QStringLiteral("rows_returned")).toInt(), 3);
  const QJsonArray rows = mixed.value(QStringLiteral("rows")).toArray();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_TRUE(rows[0].toObject().value(QStringLiteral("accepted")).toBool());
  EXPECT_EQ(rows[1].toObject().value(QStringLiteral("dropped_because")).toArray(),
            QJsonArray{QStringLiteral("empty DESCRIPTION")});
  EXPECT_EQ(rows[2].toObject().value(QStringLiteral("dropped_because")).toArray(),
            QJsonArray{QStringLiteral("empty KEYWORD")});
  EXPECT_EQ(definitions[2].toObject().value(QStringLiteral("type")).toString(),
            QStringLiteral("Note"));
  const QJsonArray table = report.value(QStringLiteral("output_table_rows")).toArray();
  ASSERT_EQ(table.size(), 1);
  EXPECT_EQ(table[0].toObject().value(QStringLiteral("keyword")).toString(),
            QStringLiteral("From table"));

  const Outcome one = Run(base + QStringList{QStringLiteral("--only"), QStringLiteral("1")});
  EXPECT_EQ(one.iExitCode, 0);
  EXPECT_TRUE(one.sOutput.contains(QStringLiteral("Incorrect syntax near")))
      << one.sOutput.toStdString();
  EXPECT_FALSE(one.sOutput.contains(QStringLiteral("MIXED")));
}

TEST_F(AlertsCommand, TheTableShowsControlCharactersOfDatabaseTextEscaped) {
  const QString sFile = DefinitionsFile(
      "steer.db",
      "values ('select ''Red'' + char(27) + ''[31m%6'' as KEYWORD, ''ring'' + char(7) + "
      "char(9) + nchar(155) + nchar(8238) + ''end'' as DESCRIPTION', 1, 'd', 'SQL', 'STEER')");
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

namespace {

TEST_F(AlertsCommand, ARunawayDefinitionIsStoppedAtTheTimeoutAndTheOthersStillShow) {
  const QString sFile = DefinitionsFile(
      "runaway.db",
      "values ('declare @i int = 0 while 1 = 1 set @i = @i + 1 "
      "select ''Never'' as KEYWORD, ''d'' as DESCRIPTION', "
      "1, 'runaway', 'SQL', 'RUNAWAY'), "
      "('select ''Quick'' as KEYWORD, ''d'' as DESCRIPTION', 1, 'quick', 'SQL', 'QUICK')");
  const Outcome outcome =
      Run({QStringLiteral("--server"), sFile, QStringLiteral("--id"), QStringLiteral("1"),
           QStringLiteral("--json"), QStringLiteral("--timeout"), QStringLiteral("1")});
  ASSERT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  const QJsonArray alerts = QJsonDocument::fromJson(outcome.sOutput.toUtf8())
                                .object()
                                .value(QStringLiteral("alerts"))
                                .toArray();
  ASSERT_EQ(alerts.size(), 1);
  EXPECT_EQ(alerts[0].toObject().value(QStringLiteral("keyword")).toString(),
            QStringLiteral("Quick"));
  EXPECT_EQ(
      Run({QStringLiteral("--check"), QStringLiteral("--timeout"), QStringLiteral("-1")}).iExitCode,
      2);
}

}  // namespace

namespace {

// The first character a terminal would act on rather than show, or null.
QChar RawControl(const QString& sText) {
  for (const QChar c : sText) {
    const char16_t u = c.unicode();
    if ((u < 0x20 && u != u'\n') || (u >= 0x7f && u < 0xa0) || (u >= 0x202a && u <= 0x202e) ||
        (u >= 0x2066 && u <= 0x2069) || u == 0x200e || u == 0x200f || u == 0x2028 || u == 0x2029)
      return c;
  }
  return QChar();
}

TEST_F(AlertsCommand, NoTextFromTheDatabaseOrTheCommandLineReachesTheTerminalRaw) {
  const QString sFile = DefinitionsFile(
      "hostile.db",
      "values ('select ''Own'' + char(27) + '']0;owned'' + char(7) + char(27) + ''[2J'' as "
      "KEYWORD, "
      "''d'' + nchar(8232) + nchar(155) + nchar(8238) + char(127) as DESCRIPTION', 1, 'd', 'SQL', "
      "'HOSTILE'), ('select convert(int, ''x'' + char(27) + ''[2J'')', 1, 'd', 'SQL', 'FAILS')");
  const QString sId = QStringLiteral("1\n -99    0     1  FAKE");
  const QStringList base = {QStringLiteral("--server"), sFile, QStringLiteral("--id"), sId};
  struct Case {
    QStringList arguments;
    bool bErrors;  // the text is on standard error rather than output
    const char* sShown;
  };
  const std::vector<Case> cases = {
      {base, false, "Fixed text: No iMIS record with the ID 1\\n -99"},
      {base + QStringList{QStringLiteral("--explain")}, false, "record 1\\n -99"},
      {base + QStringList{QStringLiteral("--explain")}, false, "keyword \"Own\\e]0;owned\\x07"},
      {base + QStringList{QStringLiteral("--explain")}, false, "x\\e[2J"},
      {base + QStringList{QStringLiteral("--json")}, false, "d\\u2028\\u009b\\u202e\\u007f"},
      {base + QStringList{QStringLiteral("--explain"), QStringLiteral("--json")}, false,
       "Own\\u001b]0;owned\\u0007"},
      {{QStringLiteral("--bogus\x1b[31m")}, true, "bogus\\e[31m"},
      {{QStringLiteral("--check"), QStringLiteral("stray\x1b[31m\nline")},
       true,
       "stray\\e[31m\\nline"},
      {{QStringLiteral("--check"), QStringLiteral("--password-file"),
        QStringLiteral("gone\n -99\x1b[31m")},
       true,
       "password file gone\\n -99\\e[31m"},
  };
  for (const Case& row : cases) {
    const Outcome outcome = Run(row.arguments);
    const QString& sText = row.bErrors ? outcome.sErrors : outcome.sOutput;
    SCOPED_TRACE(sText.toStdString());
    EXPECT_EQ(uint(RawControl(sText).unicode()), 0u) << "a raw control character";
    EXPECT_TRUE(sText.contains(QString::fromUtf8(row.sShown))) << row.sShown;
    if (row.arguments.contains(QStringLiteral("--json"))) {
      QJsonParseError error;
      QJsonDocument::fromJson(sText.toUtf8(), &error);
      EXPECT_EQ(error.error, QJsonParseError::NoError);
    }
  }
}

}  // namespace

namespace {

TEST_F(AlertsCommand, ExplainListsEveryOutputTableRowAlsoOnceTheSlotsAreFull) {
  const QString sFile = DefinitionsFile(
      "full.db",
      "values ('with n(i) as (select 1 union all select i + 1 from n where i < 105) "
      "insert into ttwk_AlertOutput (OWNER_SPID, KEY_VALUE, KEYWORD, DESCRIPTION) "
      "select @@spid, ''1'', ''k'' + cast(i as varchar(3)), ''t'' from n', 1, 'd', 'SQL', 'MANY')");
  const QStringList base = {QStringLiteral("--server"), sFile, QStringLiteral("--id"),
                            QStringLiteral("1"), QStringLiteral("--explain")};
  const Outcome json = Run(base + QStringList{QStringLiteral("--json")});
  ASSERT_EQ(json.iExitCode, 0) << json.sErrors.toStdString();
  const QJsonArray rows = QJsonDocument::fromJson(json.sOutput.toUtf8())
                              .object()
                              .value(QStringLiteral("output_table_rows"))
                              .toArray();
  ASSERT_EQ(rows.size(), 105) << json.sOutput.toStdString();
  const struct {
    int iRow;
    bool bAccepted;
  } cases[] = {{0, true}, {100, true}, {101, false}, {104, false}};
  for (const auto& row : cases) {
    const QJsonObject entry = rows[row.iRow].toObject();
    EXPECT_EQ(entry.value(QStringLiteral("accepted")).toBool(), row.bAccepted) << row.iRow;
    EXPECT_EQ(entry.value(QStringLiteral("dropped_because")).toArray().size(),
              row.bAccepted ? 0 : 1)
        << row.iRow;
  }
  const Outcome text = Run(base);
  EXPECT_TRUE(
      text.sOutput.contains(QStringLiteral("Rows of ttwk_AlertOutput for this connection: 105")));
  EXPECT_TRUE(
      text.sOutput.contains(QStringLiteral("row 105: dropped: no slot left: all 101 are taken")))
      << text.sOutput.toStdString();
}

}  // namespace

namespace {

// A demo database with a definition that fails for one record after its
// first alert was taken (past the rows read at once), one that never
// alerts, one slower than the rest and a disabled runaway.
class AlertsSurvey : public AlertsCommand {
 protected:
  QString SurveyFile() {
    const QString sFile = File("survey.db");
    EXPECT_EQ(Run({QStringLiteral("--init"), sFile, QStringLiteral("--demo")}).iExitCode, 0);
    Sql(sFile,
        "insert into ttwk_AlertDefinitions (CRITERIA, ENABLED, DESCRIPTION, ALERT_TYPE, ALERT_ID) "
        "values ('with n(i) as (select 1 union all select i + 1 from n where i < 1500) select "
        "case when i = 10 then ''Div'' else '''' end as KEYWORD, case when i = 1500 and @id = "
        "''1003'' then convert(varchar(9), 1 / (1500 - i)) else ''d'' end as DESCRIPTION from n "
        "option (maxrecursion 0)', 1, 'd', 'SQL', 'DIV'),"
        " ('select ''Never'' as KEYWORD, ''d'' as DESCRIPTION where 1 = 0', 1, 'd', 'SQL', "
        "'NEVER'),"
        " ('with n(i) as (select 1 union all select i + 1 from n where i < 60000) "
        "select ''Slow'' as KEYWORD, ''d'' as DESCRIPTION from n where i <= 2', 1, 'd', 'SQL', "
        "'SLOW'),"
        " ('with n(i) as (select 1 union all select i + 1 from n) select ''Never'' "
        "as KEYWORD, ''d'' as DESCRIPTION where (select count(*) from n) = 0', 0, 'd', 'SQL', "
        "'RUNAWAY')");
    return sFile;
  }

  static QString SeqnOf(const QString& sFile, const char* sAlertId) {
    sqlite3* pDatabase = nullptr;
    sqlite3_open_v2(sFile.toUtf8().constData(), &pDatabase, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* pStatement = nullptr;
    sqlite3_prepare_v2(pDatabase, "select SEQN from ttwk_AlertDefinitions where ALERT_ID = ?", -1,
                       &pStatement, nullptr);
    sqlite3_bind_text(pStatement, 1, sAlertId, -1, SQLITE_STATIC);
    const QString sSeqn = sqlite3_step(pStatement) == SQLITE_ROW
                              ? QString::number(sqlite3_column_int(pStatement, 0))
                              : QString();
    sqlite3_finalize(pStatement);
    sqlite3_close_v2(pDatabase);
    return sSeqn;
  }
};

QJsonObject Named(const QJsonArray& definitions, const QString& sName) {
  for (const auto& entry : definitions) {
    if (entry.toObject().value(QStringLiteral("name")).toString() == sName) return entry.toObject();
  }
  return {};
}

TEST_F(AlertsSurvey, EachDefinitionsAlertsFailuresAndTimesAreCountedSlowestFirst) {
  const QString sFile = SurveyFile();
  const QString sIds = File("ids.txt");
  QFile ids(sIds);
  ASSERT_TRUE(ids.open(QIODevice::WriteOnly));
  ids.write("# two people\n\n 1003 \n1001\n");
  ids.close();
  struct Case {
    QStringList arguments;
    const char* sName;
    int iRecords, iWithAlerts, iAlerts, iFailures;
    const char* sError;
    const char* sFailingId;
  };
  const QStringList all;
  const QStringList listed = {QStringLiteral("--ids"), sIds};
  const QStringList runaway = {QStringLiteral("--only"),    QStringLiteral("%1"),
                               QStringLiteral("--sample"),  QStringLiteral("2"),
                               QStringLiteral("--timeout"), QStringLiteral("1")};
  const Case cases[] = {
      {all, "DIV", 32, 31, 31, 1, "Divide by zero", "1003"},
      {all, "NEVER", 32, 0, 0, 0, "", ""},
      {all, "SLOW", 32, 32, 64, 0, "", ""},
      {listed, "DIV", 2, 1, 1, 1, "Divide by zero", "1003"},
      {{QStringLiteral("--sample"), QStringLiteral("3")}, "SLOW", 3, 3, 6, 0, "", ""},
      {runaway, "RUNAWAY", 2, 0, 0, 2, "longer than the time limit of 1 seconds", ""},
  };
  for (const Case& test : cases) {
    QStringList arguments = {QStringLiteral("--server"), sFile, QStringLiteral("--survey"),
                             QStringLiteral("--json")};
    arguments << test.arguments;
    arguments.replaceInStrings(QStringLiteral("%1"), SeqnOf(sFile, "RUNAWAY"));
    const Outcome outcome = Run(arguments);
    ASSERT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
    EXPECT_EQ(outcome.sErrors, QString()) << "no progress bar when not a terminal";
    const QJsonObject report = QJsonDocument::fromJson(outcome.sOutput.toUtf8()).object();
    EXPECT_EQ(report.value(QStringLiteral("records")).toInt(), test.iRecords) << test.sName;
    const QJsonArray definitions = report.value(QStringLiteral("definitions")).toArray();
    const QJsonObject definition = Named(definitions, QString::fromLatin1(test.sName));
    ASSERT_FALSE(definition.isEmpty()) << test.sName << outcome.sOutput.toStdString();
    EXPECT_EQ(definition.value(QStringLiteral("records_with_alerts")).toInt(), test.iWithAlerts);
    EXPECT_EQ(definition.value(QStringLiteral("alerts")).toInt(), test.iAlerts) << test.sName;
    EXPECT_EQ(definition.value(QStringLiteral("failures")).toInt(), test.iFailures) << test.sName;
    EXPECT_TRUE(definition.value(QStringLiteral("first_error"))
                    .toString()
                    .contains(QString::fromLatin1(test.sError)))
        << test.sName;
    if (*test.sFailingId) {
      EXPECT_EQ(definition.value(QStringLiteral("first_failing_id")).toString(),
                QString::fromLatin1(test.sFailingId));
    }
    const double dMedian = definition.value(QStringLiteral("median_ms")).toDouble();
    EXPECT_LE(dMedian, definition.value(QStringLiteral("p95_ms")).toDouble());
    EXPECT_LE(definition.value(QStringLiteral("p95_ms")).toDouble(),
              definition.value(QStringLiteral("max_ms")).toDouble());
    EXPECT_FALSE(definition.value(QStringLiteral("slowest_id")).toString().isEmpty());
    for (qsizetype i = 1; i < definitions.size(); ++i) {
      EXPECT_GE(definitions[i - 1].toObject().value(QStringLiteral("total_ms")).toDouble(),
                definitions[i].toObject().value(QStringLiteral("total_ms")).toDouble());
    }
    if (test.arguments.isEmpty()) {
      EXPECT_EQ(definitions[0].toObject().value(QStringLiteral("name")).toString(),
                QStringLiteral("SLOW"));
      EXPECT_EQ(Named(definitions, QStringLiteral("RUNAWAY")), QJsonObject());
    }
  }
  const Outcome table = Run({QStringLiteral("--server"), sFile, QStringLiteral("--survey")});
  EXPECT_TRUE(table.sOutput.contains(QRegularExpression(QStringLiteral(
      "SEQN \\d+ \"DIV\" failed for 1 of 32 records, first for ID 1003: .*Divide by zero"))))
      << table.sOutput.toStdString();
}

TEST_F(AlertsSurvey, ConflictingOrMalformedOptionsAreUsageErrors) {
  const struct {
    QStringList arguments;
    const char* sMessage;
  } cases[] = {
      {{QStringLiteral("--sample"), QStringLiteral("2"), QStringLiteral("--ids"),
        QStringLiteral("ids.txt")},
       "exclude each other"},
      {{QStringLiteral("--sample"), QStringLiteral("0")}, "positive whole number"},
      {{QStringLiteral("--sample"), QStringLiteral("two")}, "positive whole number"},
      {{QStringLiteral("--ids"), QStringLiteral("/nowhere/ids.txt")}, "/nowhere/ids.txt"},
      {{QStringLiteral("--id"), QStringLiteral("1001")}, "without --id"},
      {{QStringLiteral("--explain")}, "without --id, --explain"},
      {{QStringLiteral("--only"), QStringLiteral("x")}, "definition number"},
  };
  for (const auto& test : cases) {
    const Outcome outcome = Run(QStringList{QStringLiteral("--survey")} + test.arguments);
    EXPECT_EQ(outcome.iExitCode, 2) << test.sMessage;
    EXPECT_TRUE(outcome.sErrors.contains(QString::fromLatin1(test.sMessage)))
        << outcome.sErrors.toStdString();
  }
  const Outcome alone = Run({QStringLiteral("--sample"), QStringLiteral("3")});
  EXPECT_EQ(alone.iExitCode, 2);
  EXPECT_TRUE(alone.sErrors.contains(QStringLiteral("go with --survey")));
}

}  // namespace

// SPDX-License-Identifier: MIT
// tellwick-alerts as documented, through FreeTDS against the scripted TDS
// responder that stands in for SQL Server.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include "ImisScript.h"
#include "TdsResponder.h"

namespace twk::testing {
namespace {

std::string Lines(const QStringList& statements) {
  return statements.join(QLatin1Char('\n')).toStdString();
}

struct Outcome {
  int iExitCode = -1;
  QString sOutput;
  QString sErrors;
};

class AlertsCommandThroughFreeTds : public ::testing::Test {
 protected:
  void Start(const QJsonObject& script) {
    responder = std::make_unique<TdsResponder>(script);
    if (responder->IsRunning()) {
      sDataSource = responder->DefineDataSource(scratch.path(), QStringLiteral("Imis"));
    }
  }

  // The command as the README shows it, the password from the environment
  // unless the case says otherwise.
  Outcome Run(QStringList arguments,
              const QString& sEnvironmentPassword = QStringLiteral("Tds;pw}1=x")) {
    arguments = QStringList{QStringLiteral("--server"),   sDataSource,
                            QStringLiteral("--database"), QStringLiteral("ASSOC"),
                            QStringLiteral("--user"),     QStringLiteral("STAFF1_ASSOC_i")} +
                arguments;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), scratch.path());
    environment.remove(QStringLiteral("TWK_PASSWORD"));
    if (!sEnvironmentPassword.isNull()) {
      environment.insert(QStringLiteral("TWK_PASSWORD"), sEnvironmentPassword);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TELLWICK_ALERTS), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

  QTemporaryDir scratch;
  std::unique_ptr<TdsResponder> responder;
  QString sDataSource;
};

TEST_F(AlertsCommandThroughFreeTds, CheckRunsTheStartUpStatementsOnTheServer) {
  Start(ImisScript({}, {}, QString()));
  TWK_REQUIRE_RESPONDER(*responder);
  const Outcome outcome = Run({QStringLiteral("--check")});
  EXPECT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  EXPECT_TRUE(outcome.sOutput.contains(QStringLiteral("Start-up checks passed")))
      << outcome.sOutput.toStdString();
  EXPECT_EQ(Lines(responder->Batches()), Lines(StartupStatements()));
  ASSERT_EQ(responder->Logins().size(), 1);
  const QJsonObject login = responder->Logins().front();
  EXPECT_EQ(login["password"].toString(), QStringLiteral("Tds;pw}1=x"));
  EXPECT_EQ(login["database"].toString(), QStringLiteral("ASSOC"));
  EXPECT_EQ(login["app"].toString(), QStringLiteral("TWK"));
}

TEST_F(AlertsCommandThroughFreeTds, IdEvaluatesEveryDefinitionAndKeepsRowsBeforeAFailure) {
  const QString sDues = QStringLiteral(
      "select 'Dues unpaid' as KEYWORD, 'Dues are unpaid' as DESCRIPTION, 10 as RANK "
      "from Name where ID = @id");
  const QString sFailing = QStringLiteral(
      "select 'Check address' as KEYWORD, 'Mail came back' as DESCRIPTION, 5 as RANK; "
      "select 1/0");
  const QJsonArray definitions = {QJsonArray{1, sDues, "Dues", "SQL"},
                                  QJsonArray{2, sFailing, "Address", "SQL"}};
  const QList<QPair<QString, QString>> alertColumns = {
      {"KEYWORD", "nvarchar(50)"}, {"DESCRIPTION", "nvarchar(255)"}, {"RANK", "int"}};
  const QString sDuesForRecord =
      QString(sDues).replace(QStringLiteral("@id"), QStringLiteral("'1009'"));
  const QJsonArray batches = {
      Answer(sDuesForRecord, {Rows(alertColumns, OneRow({"Dues unpaid", "Dues are unpaid", 10}))}),
      Answer(sFailing, {Rows(alertColumns, OneRow({"Check address", "Mail came back", 5})),
                        ErrorToken(8134, "Divide by zero error encountered.")})};
  Start(ImisScript(definitions, batches, QStringLiteral("Member since 2001")));
  TWK_REQUIRE_RESPONDER(*responder);

  const Outcome outcome =
      Run({QStringLiteral("--id"), QStringLiteral("1009"), QStringLiteral("--json")});
  EXPECT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(outcome.sOutput.toUtf8()).object();
  EXPECT_EQ(report["fixedText"].toString(), QStringLiteral("Member since 2001"))
      << outcome.sOutput.toStdString();
  QStringList keywords;
  for (const QJsonValue& alert : report["alerts"].toArray()) {
    keywords << alert.toObject()["keyword"].toString();
  }
  EXPECT_EQ(keywords.join(QLatin1Char(',')).toStdString(),
            "Check address,Dues unpaid")  // rank order
      << outcome.sOutput.toStdString();

  const QStringList expected =
      StartupStatements() + EvaluationStatementsBefore() + QStringList{sDuesForRecord, sFailing} +
      EvaluationStatementsAfter(QStringLiteral("1009"), QStringLiteral("STAFF1"));
  EXPECT_EQ(Lines(responder->Batches()), Lines(expected));
  EXPECT_EQ(responder->Attentions(), 0);
}

TEST_F(AlertsCommandThroughFreeTds, SurveyCountsEachDefinitionOverTheRecordsOnTheServer) {
  const QString sDues = QStringLiteral(
      "select 'Dues unpaid' as KEYWORD, 'Dues are unpaid' as DESCRIPTION, 10 as RANK "
      "from Name where ID = @id");
  const QString sFailing = QStringLiteral("select 1/0");
  const QList<QPair<QString, QString>> alertColumns = {
      {"KEYWORD", "nvarchar(50)"}, {"DESCRIPTION", "nvarchar(255)"}, {"RANK", "int"}};
  const auto For = [&](const char* sId) {
    return QString(sDues).replace(u"@id"_qs, QStringLiteral("'%1'").arg(QLatin1String(sId)));
  };
  // Record 1010's dues query is not in the script: the responder refuses it.
  const QJsonArray batches = {
      Answer(For("1009"), {Rows(alertColumns, OneRow({"Dues unpaid", "Dues are unpaid", 10}))}),
      Answer(sFailing, {ErrorToken(8134, "Divide by zero error encountered.")})};
  Start(ImisScript({QJsonArray{1, sDues, "Dues", "SQL"}, QJsonArray{2, sFailing, "Zero", "SQL"}},
                   batches, QString()));
  TWK_REQUIRE_RESPONDER(*responder);
  QFile ids(scratch.filePath(QStringLiteral("ids")));
  ASSERT_TRUE(ids.open(QIODevice::WriteOnly));
  ids.write("1009\n1010\n");
  ids.close();

  const Outcome outcome = Run({QStringLiteral("--survey"), QStringLiteral("--ids"), ids.fileName(),
                               QStringLiteral("--json")});
  ASSERT_EQ(outcome.iExitCode, 0) << outcome.sErrors.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(outcome.sOutput.toUtf8()).object();
  EXPECT_EQ(report["records"].toInt(), 2) << outcome.sOutput.toStdString();
  QMap<int, QJsonObject> bySeqn;
  for (const QJsonValue& definition : report["definitions"].toArray()) {
    bySeqn.insert(definition.toObject()["seqn"].toInt(), definition.toObject());
  }
  EXPECT_EQ(bySeqn[1]["records_with_alerts"].toInt(), 1) << outcome.sOutput.toStdString();
  EXPECT_EQ(bySeqn[1]["failures"].toInt(), 1);
  EXPECT_EQ(bySeqn[1]["first_failing_id"].toString(), QStringLiteral("1010"));
  EXPECT_EQ(bySeqn[2]["failures"].toInt(), 2);
  EXPECT_TRUE(bySeqn[2]["first_error"].toString().contains(u"Divide by zero"_qs))
      << outcome.sOutput.toStdString();
  // Each record's own statement reached the server, nothing automatic after.
  EXPECT_EQ(responder->Batches().count(For("1009")), 1);
  EXPECT_EQ(responder->Batches().count(For("1010")), 1);
  EXPECT_EQ(responder->Batches().count(sFailing), 2);
}

TEST_F(AlertsCommandThroughFreeTds, ThePasswordComesFromTheOptionTheFileOrTheEnvironment) {
  Start(ImisScript({}, {}, QString()));
  TWK_REQUIRE_RESPONDER(*responder);
  QFile file(scratch.filePath(QStringLiteral("password")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(" from file };\nsecond line\n");
  file.close();

  EXPECT_EQ(Run({QStringLiteral("--check"), QStringLiteral("--password-file"), file.fileName()},
                QStringLiteral("from environment"))
                .iExitCode,
            0);
  EXPECT_EQ(Run({QStringLiteral("--check"), QStringLiteral("--password"), QStringLiteral("typed")},
                QStringLiteral("from environment"))
                .iExitCode,
            0);
  EXPECT_EQ(Run({QStringLiteral("--check")}, QStringLiteral("from environment")).iExitCode, 0);
  QStringList passwords;
  for (const QJsonObject& login : responder->Logins()) passwords << login["password"].toString();
  EXPECT_EQ(passwords.join(QLatin1Char('|')).toStdString(), " from file };|typed|from environment");

  const Outcome unreadable = Run({QStringLiteral("--check"), QStringLiteral("--password-file"),
                                  scratch.filePath(QStringLiteral("missing"))});
  EXPECT_EQ(unreadable.iExitCode, 2);
  EXPECT_TRUE(unreadable.sErrors.contains(QStringLiteral("cannot read the password file")));
  EXPECT_EQ(responder->Logins().size(), 3);
}

TEST_F(AlertsCommandThroughFreeTds, AServerThatIsNoDefinedDataSourceIsNamedWithHowToDefineIt) {
  Start(ImisScript({}, {}, QString()));
  TWK_REQUIRE_RESPONDER(*responder);
  sDataSource = QStringLiteral("ImisLive");
  const Outcome outcome = Run({QStringLiteral("--check")});
  EXPECT_NE(outcome.iExitCode, 0);
  const QString sShown = outcome.sOutput + outcome.sErrors;
  EXPECT_TRUE(sShown.contains(QStringLiteral("The ODBC data source \"ImisLive\" is not defined.")))
      << sShown.toStdString();
  EXPECT_TRUE(sShown.contains(QStringLiteral("[ImisLive]")));
  EXPECT_FALSE(sShown.contains(QStringLiteral("Tds;pw}1=x")));
}

}  // namespace
}  // namespace twk::testing

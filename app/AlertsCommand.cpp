// SPDX-License-Identifier: MIT
#include "AlertsCommand.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cmath>

#include "AlertEvaluation.h"
#include "AlertExplanation.h"
#include "AlertReport.h"
#include "AlertSurvey.h"
#include "Connection.h"
#include "ConsolePlatform.h"
#include "Conversions.h"
#include "EmbeddedDatabase.h"
#include "ModuleState.h"
#include "PasswordSource.h"
#include "ProductNotices.h"
#include "RecordIds.h"
#include "RecordQueries.h"
#include "TextRules.h"
#include "TimeLimit.h"
#include "TwkError.h"
#include "modSubroutines.h"

namespace twk {

namespace {

const QString sDemoUser = QStringLiteral("MANAGER");
const QString sDemoDatabase = QStringLiteral("DEMO");

QCommandLineOption Option(const char* sName, const char* sDescription,
                          const char* sValueName = nullptr, const QString& sDefault = {}) {
  QCommandLineOption option(QString::fromLatin1(sName), QString::fromUtf8(sDescription));
  if (sValueName) {
    option.setValueName(QString::fromLatin1(sValueName));
    if (!sDefault.isEmpty()) option.setDefaultValue(sDefault);
  }
  return option;
}

}  // namespace

AlertsCommand::AlertsCommand(ConsolePlatform& console, std::FILE* pOutput, std::FILE* pErrors)
    : console_(console), pOutput_(pOutput), pErrors_(pErrors) {}

int AlertsCommand::Run(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Creates Tellwick databases and runs the alert libraries' start-up checks.\n"
      "Without --server the embedded demo database in the user's data directory is used\n"
      "(created on first use) with the demo login. The password is read from --password,\n"
      "--password-file or the environment variable TWK_PASSWORD, in that order."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const auto init =
      Option("init", "Create an embedded database FILE with the Tellwick objects.", "FILE");
  const auto demo = Option("demo", "With --init: add the demo data set.");
  const auto check = Option("check", "Open the connection and run the start-up checks.");
  const auto server =
      Option("server", "SQL server: an ODBC data source, or a database file.", "NAME");
  const auto database = Option("database", "Database name.", "NAME", sDemoDatabase);
  const auto user = Option("user", "SQL login.", "LOGIN", sDemoUser);
  const auto password = PasswordSource::PasswordOption();
  const auto passwordFile = PasswordSource::FileOption();
  const auto level = Option("level", "The user's system level, as the host gives it.", "LEVEL",
                            QStringLiteral("1"));
  const auto yes = Option("yes", "Answer Yes to questions (otherwise No).");
  const auto id =
      Option("id", "Evaluate the alerts of the record ID and print them in rank order.", "ID");
  const auto json = Option("json", "With --id or --survey: print one JSON object.");
  const auto only = Option(
      "only", "With --id or --survey: run just the definition SEQN, enabled or not.", "SEQN");
  const auto survey =
      Option("survey",
             "Evaluate the enabled definitions for every record of the contact table, as the panel "
             "does but without automatic actions, and tell per definition, slowest first, for how "
             "many records it alerts, how often and for which record it fails, and its time per "
             "record (median, 95th percentile, maximum, slowest record).");
  const auto sample = Option(
      "sample",
      "With --survey: only the first N records in the record list's order (by name, then id).",
      "N");
  const auto ids =
      Option("ids",
             "With --survey: the records whose ids FILE lists, one a line (blank lines and lines "
             "starting with # are skipped).",
             "FILE");
  const auto explain =
      Option("explain",
             "With --id: tell for each definition whether it ran, its error, its rows and "
             "why each was dropped, its time, and the output table's rows.");
  const auto timeout =
      Option("timeout", TimeLimit::OptionDescription(), "SECONDS", QStringLiteral("30"));
  parser.addOptions({init, demo, check, id, survey, sample, ids, json, only, explain, server,
                     database, user, password, passwordFile, level, yes, timeout});

  if (!parser.parse(arguments)) {
    // The parser's message quotes the argument: one line, all of it escaped.
    PrintError(TerminalText(parser.errorText()));
    return UsageError;
  }
  if (parser.isSet(help)) {
    std::fputs(qUtf8Printable(parser.helpText()), pOutput_);
    return Success;
  }
  if (parser.isSet(version)) {
    std::fputs(qUtf8Printable(ProductNotices::VersionText(QStringLiteral("tellwick-alerts"),
                                                          modSubroutines::TwkVersionText())),
               pOutput_);
    return Success;
  }
  if (!parser.positionalArguments().isEmpty()) {
    PrintError(QStringLiteral("unexpected argument \"%1\"; see --help")
                   .arg(TerminalText(parser.positionalArguments().first())));
    return UsageError;
  }
  if (!TimeLimit::SetFromText(parser.value(timeout))) {
    PrintError(QStringLiteral("--timeout takes whole seconds, not \"%1\"")
                   .arg(TerminalText(parser.value(timeout))));
    return UsageError;
  }
  console_.SetAnswerYes(parser.isSet(yes));
  if (parser.isSet(init)) return Init(parser.value(init), parser.isSet(demo));
  if (parser.isSet(demo)) {
    PrintError(QStringLiteral("--demo goes with --init"));
    return UsageError;
  }
  QString sPassword, sPasswordError;
  if (!PasswordSource::Resolve(parser, password, passwordFile, sPassword, sPasswordError)) {
    // It names the file as given: one line, all of it escaped.
    PrintError(TerminalText(sPasswordError));
    return UsageError;
  }
  const ConnectionValues values{parser.value(server), parser.value(database), parser.value(user),
                                sPassword, parser.value(level)};
  if (parser.isSet(survey)) {
    if (parser.isSet(id) || parser.isSet(explain) || parser.isSet(check)) {
      PrintError(QStringLiteral("--survey goes without --id, --explain and --check"));
      return UsageError;
    }
    SurveyOptions options;
    options.bJson = parser.isSet(json);
    options.sOnly = parser.isSet(only) ? parser.value(only) : QString();
    options.sSample = parser.isSet(sample) ? parser.value(sample) : QString();
    options.sIdsFile = parser.isSet(ids) ? parser.value(ids) : QString();
    options.bSample = parser.isSet(sample);
    options.bIdsFile = parser.isSet(ids);
    return Survey(values, options);
  }
  if (parser.isSet(sample) || parser.isSet(ids)) {
    PrintError(QStringLiteral("--sample and --ids go with --survey"));
    return UsageError;
  }
  if ((parser.isSet(json) || parser.isSet(only) || parser.isSet(explain)) && !parser.isSet(id)) {
    PrintError(QStringLiteral("--json, --only and --explain go with --id (or --survey)"));
    return UsageError;
  }
  if (parser.isSet(id)) {
    return Evaluate(values, parser.value(id), parser.isSet(json),
                    parser.isSet(only) ? parser.value(only) : QString(), parser.isSet(explain));
  }
  if (parser.isSet(check)) return Check(values);
  PrintError(
      QStringLiteral("nothing to do: give --init FILE, --check, --id ID or --survey; see --help"));
  return UsageError;
}

int AlertsCommand::Init(const QString& sFile, bool bDemo) {
  try {
    EmbeddedDatabase::Create(sFile, bDemo);
  } catch (const TwkError& error) {
    PrintError(error.Description());
    return Failure;
  }
  std::fprintf(pOutput_, "Created %s%s.\n",
               qUtf8Printable(TerminalText(QFileInfo(sFile).absoluteFilePath())),
               bDemo ? " with the demo data" : "");
  return Success;
}

bool AlertsCommand::Connect(const ConnectionValues& values, QString& sServer) {
  sServer = values.sServer;
  if (sServer.isEmpty()) {
    try {
      sServer = EmbeddedDatabase::EnsureDemoDatabase();
    } catch (const TwkError& error) {
      PrintError(error.Description());
      return false;
    }
  }
  const double dLevel = std::nearbyint(Conversions::LeadingNumber(values.sLevel));
  const qint32 lLevel = std::fabs(dLevel) < 2147483647.0 ? qint32(dLevel) : 2147483647;
  modSubroutines::CalculateAuthID(values.sUser, values.sDatabase);
  if (!modSubroutines::InitializeConnection(sServer, values.sDatabase, values.sUser,
                                            values.sPassword, lLevel)) {
    PrintError(QStringLiteral("the start-up checks failed; the libraries may not operate"));
    return false;
  }
  return true;
}

int AlertsCommand::Check(const ConnectionValues& values) {
  QString sServer;
  if (!Connect(values, sServer)) return Failure;
  std::fprintf(pOutput_, "Start-up checks passed for %s as %s.\n",
               qUtf8Printable(TerminalText(sServer)),
               qUtf8Printable(TerminalText(ModuleState::ForThisThread().AuthID)));
  modSubroutines::ReleaseConnection();
  return Success;
}

int AlertsCommand::Evaluate(const ConnectionValues& values, const QString& sId, bool bJson,
                            const QString& sOnly, bool bExplain) {
  if (sId.isEmpty()) {
    PrintError(QStringLiteral("--id needs a record id"));
    return UsageError;
  }
  qint32 lOnly = 0;
  if (!OnlyNumber(sOnly, lOnly)) return UsageError;
  QString sServer;
  if (!Connect(values, sServer)) return Failure;

  AlertEvaluation evaluation;
  const std::vector<AlertRule> rules = ReadRules(evaluation, sOnly, lOnly);
  if (bExplain) {
    const AlertExplanation explanation = AlertExplanation::Explain(evaluation, rules, sId);
    const QString sText =
        bJson ? JsonForTerminal(QString::fromUtf8(QJsonDocument(explanation.ToJson()).toJson()))
              : explanation.ToText();
    std::fputs(sText.toUtf8().constData(), pOutput_);
    modSubroutines::ReleaseConnection();
    return Success;
  }
  evaluation.RunAlertRules(rules, sId);
  evaluation.SortAlerts();

  AlertReport report;
  report.sId = sId;
  report.sUser = ModuleState::ForThisThread().AuthID;
  report.alerts.assign(evaluation.aoAlerts.begin(),
                       evaluation.aoAlerts.begin() + evaluation.iAlertCount);
  report.ReadFixedText();
  const QString sText = bJson ? JsonForTerminal(report.ToJson()) : report.ToTable();
  std::fputs(sText.toUtf8().constData(), pOutput_);
  modSubroutines::ReleaseConnection();
  return Success;
}

int AlertsCommand::Survey(const ConnectionValues& values, const SurveyOptions& options) {
  if (options.bSample && options.bIdsFile) {
    PrintError(QStringLiteral("--sample and --ids exclude each other"));
    return UsageError;
  }
  bool bNumber = true;
  const int iSample = options.bSample ? options.sSample.trimmed().toInt(&bNumber) : 0;
  if (options.bSample && (!bNumber || iSample < 1)) {
    PrintError(QStringLiteral("--sample takes a positive whole number, not \"%1\"")
                   .arg(TerminalText(options.sSample)));
    return UsageError;
  }
  qint32 lOnly = 0;
  if (!OnlyNumber(options.sOnly, lOnly)) return UsageError;
  QStringList ids;
  // A file that cannot be read is the caller's mistake, found before connecting.
  if (options.bIdsFile && !SurveyIds(options, 0, ids)) return UsageError;
  QString sServer;
  if (!Connect(values, sServer)) return Failure;
  if (!options.bIdsFile && !SurveyIds(options, iSample, ids)) {
    modSubroutines::ReleaseConnection();
    return Failure;
  }

  AlertEvaluation evaluation;
  const std::vector<AlertRule> rules =
      AlertSurvey::Surveyed(ReadRules(evaluation, options.sOnly, lOnly));
  const AlertSurvey survey =
      AlertSurvey::Survey(evaluation, rules, ids, [this](int iDone, int iTotal) {
        ShowProgress(iDone, iTotal);
        return true;
      });
  const QString sText =
      options.bJson ? JsonForTerminal(QString::fromUtf8(QJsonDocument(survey.ToJson()).toJson()))
                    : survey.ToText();
  std::fputs(sText.toUtf8().constData(), pOutput_);
  modSubroutines::ReleaseConnection();
  return Success;
}

bool AlertsCommand::SurveyIds(const SurveyOptions& options, int iCount, QStringList& ids) {
  if (options.bIdsFile) {
    QFile file(options.sIdsFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
      PrintError(QStringLiteral("cannot read the ids file \"%1\": %2")
                     .arg(TerminalText(options.sIdsFile), TerminalText(file.errorString())));
      return false;
    }
    for (const QString& sLine : QString::fromUtf8(file.readAll()).split(u'\n')) {
      const QString sId = sLine.trimmed();
      if (!sId.isEmpty() && !sId.startsWith(u'#')) ids << sId;
    }
    return true;
  }
  try {
    ids = ReadRecordIds(ModuleState::ForThisThread().SharedConnection(), iCount);
  } catch (const TwkError& error) {
    PrintError(QStringLiteral("cannot read the records of the contact table Name: ") +
               error.Description());
    return false;
  }
  return true;
}

void AlertsCommand::ShowProgress(int iDone, int iTotal) const {
  // Pipes and tests get the report alone.
  if (!isatty(fileno(pErrors_)) || iTotal <= 0) return;
  constexpr int iWidth = 30;
  const int iFilled = int(qint64(iDone) * iWidth / iTotal);
  // Redrawing each record would cost more than many a record's evaluation.
  if (iDone != iTotal && iFilled == int(qint64(iDone - 1) * iWidth / iTotal) && iDone % 50 != 0) {
    return;
  }
  std::fprintf(pErrors_, "\r[%s%s] %d/%d", QByteArray(iFilled, '#').constData(),
               QByteArray(iWidth - iFilled, ' ').constData(), iDone, iTotal);
  if (iDone == iTotal) std::fputc('\n', pErrors_);
  std::fflush(pErrors_);
}

bool AlertsCommand::OnlyNumber(const QString& sOnly, qint32& lOnly) {
  bool bNumber = true;
  lOnly = sOnly.isEmpty() ? 0 : sOnly.trimmed().toInt(&bNumber);
  if (!bNumber) {
    PrintError(QStringLiteral("--only takes a definition number (SEQN), not \"%1\"")
                   .arg(TerminalText(sOnly)));
  }
  return bNumber;
}

std::vector<AlertRule> AlertsCommand::ReadRules(AlertEvaluation& evaluation, const QString& sOnly,
                                                qint32 lOnly) {
  const std::vector<AlertRule> rules =
      sOnly.isEmpty() ? evaluation.ReadAlertRules() : evaluation.ReadAlertRule(lOnly);
  if (!sOnly.isEmpty()) {
    // An author trying one definition should hear why nothing came of it.
    if (rules.empty()) {
      PrintError(QStringLiteral("note: there is no definition %1").arg(lOnly));
    } else if (rules.front().ALERT_TYPE != QStringLiteral("SQL") &&
               rules.front().ALERT_TYPE != QStringLiteral("SQLSilent")) {
      PrintError(QStringLiteral("note: definition %1 is of type \"%2\", which is never run")
                     .arg(lOnly)
                     .arg(TerminalText(rules.front().ALERT_TYPE)));
    }
  }
  return rules;
}

void AlertsCommand::PrintError(const QString& sMessage) const {
  // Messages echo arguments and database text; a message may span lines.
  std::fprintf(pErrors_, "tellwick-alerts: %s\n", qUtf8Printable(TerminalText(sMessage, true)));
}

}  // namespace twk
